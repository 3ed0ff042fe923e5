// Texts a command writes in one pass and reads back in a later one (the
// barcodes and summary rows of the barcode batches), kept in a temporary file
// instead of memory, so that memory stays flat whatever the input's size. The
// file is made in the system's temporary folder and goes with its last handle:
// nothing is left behind, whatever ends the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verilote {

class Spool {
 public:
  // Throws FileError when no temporary file can be made.
  Spool();

  // Adds a text (any bytes, any length) after the others; every text is
  // added before the first Rewind.
  void Append(std::string_view text);

  // Goes back to the first text; Next then hands them out in order.
  void Rewind();
  bool Next(std::string& text);

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  void Fail(const char* action) const;
  void WriteBuffer();
  bool Fill(std::size_t count);

  std::string folder_;
  std::unique_ptr<std::FILE, Closer> file_;
  // The file is written and read in blocks: while writing, the bytes not yet
  // written; while reading, the bytes read, handed out from position_ on.
  std::string buffer_;
  std::size_t position_ = 0;
  bool reading_ = false;
};

// A table of entries (a key, a value) too large for memory, kept sorted in a
// temporary file: a command adds every entry, seals the table, then reads it
// in key order or from a key on (a sorted spill: sorted runs of a few
// megabytes merged into one file, found again through a small index of its
// blocks). Memory stays at some megabytes whatever the number of entries; an
// entry itself is held whole while it is read (as a record is). Entries of one
// key keep the order they were added in. The files go as the Spool's do.
class SortedSpool {
 public:
  struct Entry {
    std::string_view key;
    std::uint64_t sequence;  // how many entries were added before it
    std::string_view value;
  };

  // The entries in order from one point on. Its views stay valid until its
  // next call; a cursor lives no longer than its table.
  class Cursor {
   public:
    bool Next(Entry& entry);

   private:
    friend class SortedSpool;
    Cursor(const SortedSpool& table, std::FILE* file, std::fpos_t at, std::uint64_t left, std::size_t chunk);
    bool Fill(std::size_t count);

    const SortedSpool* table_;
    std::FILE* file_;
    std::fpos_t at_;      // where the bytes not yet in buffer_ begin
    std::uint64_t left_;  // entries not yet handed out
    std::size_t chunk_;   // bytes read at a time
    std::string buffer_;
    std::size_t position_ = 0;
  };

  // Throws FileError when no temporary file can be made.
  SortedSpool();
  ~SortedSpool();
  SortedSpool(const SortedSpool&) = delete;
  SortedSpool& operator=(const SortedSpool&) = delete;

  // Before Seal() only.
  void Add(std::string_view key, std::string_view value = {});
  // Sorts what was added; once.
  void Seal();

  // After Seal(): from the first entry, or from the first whose key is not
  // below `key` (bytes compared as unsigned).
  Cursor Begin() const;
  Cursor From(std::string_view key) const;

  // The value of the entry added last among those whose key begins with
  // `prefix`; nothing when there is none. A block of the file that lies
  // wholly among them is judged by the index, unread, so that a prefix that
  // many keys share does not read them all.
  std::optional<std::string> LastWithPrefix(std::string_view prefix) const;

 private:
  struct Pending {
    std::size_t at;  // in pending_
    std::uint32_t keySize, valueSize;
    std::uint64_t sequence;
  };
  struct Run {
    std::fpos_t at;
    std::uint64_t count;
  };
  // The first entry of each block of the sorted file: where it stands, its
  // number, and its key's first bytes (kept in indexKeys_); and the latest
  // sequence number in the block.
  struct Block {
    std::fpos_t at;
    std::uint64_t ordinal;
    std::size_t keyAt, keySize;
    std::uint64_t latest = 0;
  };
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  using FilePtr = std::unique_ptr<std::FILE, Closer>;

  [[noreturn]] void Fail(const char* action) const;
  FilePtr MakeFile();
  void WriteRun();
  std::fpos_t Where(std::FILE* file) const;
  // Whether every key of block b begins with `prefix` (false when unsure).
  bool WhollyIn(std::size_t b, std::string_view prefix) const;
  Cursor BlockStart(std::size_t b) const;
  std::string_view BlockKey(const Block& block) const {
    return std::string_view(indexKeys_).substr(block.keyAt, block.keySize);
  }

  std::string folder_;
  FilePtr runs_, sorted_;
  std::vector<Run> runList_;
  std::string pending_;  // the keys and values of the run being gathered
  std::vector<Pending> pendingList_;
  std::vector<Block> blocks_;
  std::string indexKeys_;
  std::uint64_t count_ = 0, bytes_ = 0;
  std::size_t blockSize_ = 0;
  bool sealed_ = false;
};

}  // namespace verilote
