// A file's records under RecordReader's reading rule, handed out in pieces of
// at most 64 KiB instead of whole: for the commands that look at a record
// without holding it (the second file of a comparison, the records `show`
// passes on its way), so that a record of the reader's 32 MiB cap costs them
// no memory. Records longer than the cap are refused as the reader refuses
// them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace verilote {

class Host;

class RecordPieces {
 public:
  // Opens the regular file `path`; throws FileError when it cannot. The
  // host, when given, hears the reading progress.
  explicit RecordPieces(std::string path, Host* host = nullptr);

  // Moves to the next record; false when the file has no more.
  bool NextRecord();
  // The next bytes of the current record; false at its end.
  bool Next(std::string_view& piece);
  // Bytes of the current record handed out so far.
  std::uint64_t Length() const { return length_; }

 private:
  bool Fill();

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::string path_;
  Host* host_;
  std::unique_ptr<std::FILE, Closer> file_;
  std::vector<char> buffer_ = std::vector<char>(std::size_t{1} << 16);
  std::size_t pos_ = 0, end_ = 0;
  std::uint64_t read_ = 0, total_ = 0;
  std::uint64_t records_ = 0, length_ = 0;
  bool skipLineFeed_ = false;
  bool inRecord_ = false;  // NextRecord() began a record Next() has not ended
  bool done_ = false;      // a Ctrl+Z or the file's end
};

}  // namespace verilote
