// Reads a text file record by record under the bank files' reading rule:
//  - a record is every byte up to, not including, the next carriage return;
//    the carriage return and one line feed right after it are skipped;
//  - a line feed without a carriage return before it is an ordinary byte;
//  - a Ctrl+Z (byte 26) ends the file; nothing after it is read;
//  - a last record without terminator is read; an empty line is a record;
//  - bytes are never converted.
// Memory is bounded by the longest record, never by the file; only regular
// files are read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace verilote {

class Host;
namespace platform {
class File;
}

class RecordReader {
 public:
  // Opens the file; throws FileError when it cannot. The host, when given,
  // hears the reading progress (and may stop the command from there).
  explicit RecordReader(std::string path, Host* host = nullptr);
  // Reads `file`, already open (through a hold, say), from its first byte:
  // what is read is the file that was opened, whatever its name leads to now.
  // `path` names it in messages.
  RecordReader(std::string path, platform::File file, Host* host = nullptr);

  // The next record; false at end of file. The view stays valid until the
  // next call: it points into the read buffer, or into a spill string when
  // the record spans buffer refills.
  bool Next(std::string_view& record);

  // The same, copied into `record`.
  bool Next(std::string& record);

  const std::string& Path() const { return path_; }

  // Records handed out so far.
  std::uint64_t RecordCount() const { return record_; }

  // No real layout comes near it: a longer record is refused (FileError naming
  // the file and the record) rather than held in memory. A record that spans
  // reads grows by doubling, so that one of up to 32 MiB keeps a command under
  // 64 MB whatever its bytes.
  static constexpr std::size_t kMaxRecord = std::size_t{32} << 20;

  // What the reading rule keeps out of the records, for the commands that
  // rewrite a file from them: whether a Ctrl+Z ended the file, and whether
  // bytes followed it (they would be lost). Known once Next() returned false.
  bool EndedAtCtrlZ() const { return ctrlZ_; }
  bool BytesAfterCtrlZ() const { return bytesAfterCtrlZ_; }

  // For the commands that write a file from what they read: throws FileError
  // naming the file when its size now, or the bytes read before the end (no
  // Ctrl+Z ending it), differ from its size when it was opened: another
  // program cut or extended it meanwhile, and what was read is not the file.
  // Call it once Next() returned false.
  void RequireWhole() const;

  // The line end that followed the record handed out before the last one
  // ("\r\n", "\r", or "" for a record that the file's end or a Ctrl+Z ended);
  // once Next() has returned false, that of the last record.
  std::string_view PreviousLineEnd() const { return std::string_view("\r\n").substr(0, previousLineEnd_); }

  // A line feed inside a record, one not right after a carriage return: a
  // file of LF-ended lines reads as one record holding them all.
  static bool HoldsLineFeed(std::string_view record) { return record.find('\n') != std::string_view::npos; }

 private:
  void Start();
  bool NextRecord(std::string_view& record);
  bool Fill();
  void Counted();
  void Spill(const char* begin, std::size_t size);

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::string path_;
  Host* host_;
  std::unique_ptr<std::FILE, Closer> file_;
  std::vector<char> buffer_;
  std::string spill_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::size_t ctrlZAt_ = 0;  // the buffer's first Ctrl+Z, or end_
  std::uint64_t bytesRead_ = 0;
  std::uint64_t bytesTotal_ = 0;
  std::uint64_t record_ = 0;
  bool skipLineFeed_ = false;
  bool done_ = false;
  bool ctrlZ_ = false;
  bool bytesAfterCtrlZ_ = false;
  bool ended_ = false;  // Next() has returned false
  // Line ends as their length in "\r\n": 0 none, 1 CR, 2 CR LF; in what
  // the bools above leave of the last word.
  std::uint8_t lineEnd_ = 0;          // of the record last handed out, so far
  std::uint8_t foundLineEnd_ = 0;     // of the record NextRecord() found
  std::uint8_t previousLineEnd_ = 0;  // of the one before it
};

}  // namespace verilote
