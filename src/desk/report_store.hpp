// The report's lines kept out of memory: every line goes to temporary files,
// followed by CR LF as a copy of the report writes it, and only an index of
// where each line starts stays in memory (8 bytes a line). A window shows a
// report of millions of lines by reading back the few lines on its screen, and
// copies, prints or saves any range of it by streaming.
//
// When the temporary folder fills up, the store keeps every line it took (the
// ones not yet written stay in memory), says why it could not go on, and
// takes no more lines until its bytes can be written again: a report is never
// cut silently, and every reader stays within what the store holds.
//
// One command thread writes while the window's thread reads: every member may
// be called from any thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform.hpp"

namespace verilote {

// Makes the temporary files a store keeps its bytes in: the system's
// temporary folder (platform::TemporaryFile) but where a test puts them in a
// place that fills up.
using TemporaryFileMaker = std::function<std::FILE*(std::string& folder, platform::SystemError& error)>;

class ReportStore {
 public:
  // Throws FileError when no temporary file can be made.
  explicit ReportStore(TemporaryFileMaker makeFile = platform::TemporaryFile);
  ~ReportStore();
  ReportStore(const ReportStore&) = delete;
  ReportStore& operator=(const ReportStore&) = delete;

  // Writer side. Clear throws FileError, the report left as it was, when no
  // new temporary file can be made.
  void Clear();
  // Where an appended line went: its index in the report of that generation.
  struct Placed {
    std::uint64_t line = 0, generation = 0;
  };
  // Throws FileError when the files cannot be written: the line is kept all
  // the same (the store has failed, Failure() says why). A store that has
  // failed tries its files again first and, while they still fail, throws
  // without taking the line, so that memory stays flat.
  Placed Append(std::string_view line);
  // Appends `line` in memory whatever the files' state: the one line that
  // says a report was cut must reach it.
  Placed AppendKept(std::string_view line);
  // Why the files could not be written since the last Clear (a FileError's
  // text); empty while the report is whole.
  std::string Failure() const;
  // The maker of this store's files, for the stores kept beside it.
  const TemporaryFileMaker& FileMaker() const { return makeFile_; }

  // Reader side. The generation changes on every Clear, so that a view and a
  // run tell a cleared report from one that only grew.
  std::uint64_t Size() const;
  std::uint64_t Generation() const;
  // The length of the longest line appended since the last Clear.
  std::uint64_t LongestLine() const;
  std::uint64_t LineLength(std::uint64_t index) const;
  // The size of lines `first` to `last` (clipped to the report) joined by
  // `separator` bytes: the text a copy of them makes, known without reading.
  std::uint64_t JoinedSize(std::uint64_t first, std::uint64_t last, std::uint64_t separator) const;

  // At most `most` bytes of line `index` from byte `from` on (empty past its
  // end or past the report's end, or when the files cannot be read: a window
  // paints what it can and never fails).
  std::string Read(std::uint64_t index, std::uint64_t from = 0, std::uint64_t most = UINT64_MAX) const;

  // Hands the lines first .. first + count - 1 (clipped to the report) to
  // `line` in order, reading a block at a time: memory stays flat whatever
  // the range. `line` returns false to stop early. The store may grow
  // meanwhile; the lines handed out are those there when the call began.
  // Throws FileError when the files cannot be read: a copy is whole or fails.
  using LineSink = std::function<bool(std::uint64_t index, std::string_view line)>;
  void ForEach(std::uint64_t first, std::uint64_t count, const LineSink& line) const;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  using FilePtr = std::unique_ptr<std::FILE, Closer>;

  std::uint64_t StartOf(std::uint64_t index) const;  // with the lock held
  std::uint64_t EndOf(std::uint64_t index) const;    // the line's end, before its CR LF
  bool ReadBytes(std::uint64_t at, std::size_t size, char* out) const;
  FilePtr MakeFile();
  Placed Place(std::string_view line);
  void WriteTail();

  mutable std::mutex mutex_;
  TemporaryFileMaker makeFile_;
  std::string folder_;
  std::string failure_;
  // The bytes go to files of kSegment bytes each, so that every seek stays
  // within what a long holds on every system.
  mutable std::vector<FilePtr> segments_;
  std::uint64_t written_ = 0;  // bytes in the files; tail_ holds the bytes after them
  std::string tail_;
  // Where each line starts, in blocks that never move once made.
  std::vector<std::unique_ptr<std::uint64_t[]>> index_;
  std::uint64_t size_ = 0;
  std::uint64_t generation_ = 0;
  std::uint64_t longest_ = 0;
};

}  // namespace verilote
