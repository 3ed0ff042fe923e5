// Texts a command writes in one pass and reads back in a later one (the
// barcodes and summary rows of the barcode batches), kept in a temporary file
// instead of memory, so that memory stays flat whatever the input's size. The
// file is made in the system's temporary folder and goes with its last handle:
// nothing is left behind, whatever ends the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

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

}  // namespace verilote
