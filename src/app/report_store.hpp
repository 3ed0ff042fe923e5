// The report's lines kept out of memory: every line goes to temporary files,
// followed by CR LF as a copy of the report writes it, and only an index of
// where each line starts stays in memory (8 bytes a line). A window shows a
// report of millions of lines by reading back the few lines on its screen, and
// copies, prints or saves any range of it by streaming.
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

namespace verilote {

class ReportStore {
 public:
  // Throws FileError when no temporary file can be made.
  ReportStore();
  ~ReportStore();
  ReportStore(const ReportStore&) = delete;
  ReportStore& operator=(const ReportStore&) = delete;

  // Writer side.
  void Clear();
  // Where an appended line went: its index in the report of that generation.
  struct Placed {
    std::uint64_t line = 0, generation = 0;
  };
  Placed Append(std::string_view line);

  // Reader side. The generation changes on every Clear, so that a view and a
  // run tell a cleared report from one that only grew.
  std::uint64_t Size() const;
  std::uint64_t Generation() const;
  // The length of the longest line appended since the last Clear.
  std::uint64_t LongestLine() const;
  std::uint64_t LineLength(std::uint64_t index) const;

  // At most `most` bytes of line `index` from byte `from` on (empty past its
  // end or past the report's end).
  std::string Read(std::uint64_t index, std::uint64_t from = 0, std::uint64_t most = UINT64_MAX) const;

  // Hands the lines first .. first + count - 1 (clipped to the report) to
  // `line` in order, reading a block at a time: memory stays flat whatever
  // the range. `line` returns false to stop early. The store may grow
  // meanwhile; the lines handed out are those there when the call began.
  using LineSink = std::function<bool(std::uint64_t index, std::string_view line)>;
  void ForEach(std::uint64_t first, std::uint64_t count, const LineSink& line) const;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  using FilePtr = std::unique_ptr<std::FILE, Closer>;

  std::uint64_t StartOf(std::uint64_t index) const;  // with the lock held
  std::uint64_t EndOf(std::uint64_t index) const;    // the line's end, before its CR LF
  void ReadBytes(std::uint64_t at, std::size_t size, char* out) const;
  void WriteTail();
  [[noreturn]] void Fail(const char* action) const;

  mutable std::mutex mutex_;
  std::string folder_;
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
