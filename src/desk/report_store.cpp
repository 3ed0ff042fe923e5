#include "desk/report_store.hpp"

#include <algorithm>
#include <cstring>

#include "app/errors.hpp"
#include "app/platform.hpp"

namespace verilote {

namespace {

constexpr std::uint64_t kSegment = std::uint64_t{1} << 30;  // below 2^31: a 32-bit long seeks it
constexpr std::uint64_t kBlockLines = std::uint64_t{1} << 16;
constexpr std::size_t kTail = std::size_t{1} << 20;
constexpr std::uint64_t kReadBlock = std::uint64_t{1} << 20;
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

ReportStore::ReportStore(TemporaryFileMaker makeFile) : makeFile_(std::move(makeFile)) {
  segments_.push_back(MakeFile());
  tail_.reserve(kTail);
}

ReportStore::~ReportStore() = default;

// Unbuffered: a write that fails leaves no bytes behind in a buffer, to fail
// again at the next seek of a reader; the store writes and reads in blocks.
ReportStore::FilePtr ReportStore::MakeFile() {
  platform::SystemError error;
  FilePtr file(makeFile_(folder_, error));
  if (!file) throw platform::Failure(folder_, "cannot make a temporary file in", error);
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

void ReportStore::Clear() {
  const std::lock_guard lock(mutex_);
  // The files go with their handles; the new first one is made before, so
  // that a folder where none can be made leaves the report as it was.
  if (written_ > 0) {
    FilePtr first = MakeFile();
    segments_.resize(1);
    segments_[0] = std::move(first);
  }
  written_ = 0;
  tail_.clear();
  index_.clear();
  size_ = 0;
  longest_ = 0;
  failure_.clear();
  ++generation_;
}

ReportStore::Placed ReportStore::Place(std::string_view line) {
  if (size_ % kBlockLines == 0) index_.push_back(std::make_unique<std::uint64_t[]>(kBlockLines));
  index_.back()[size_ % kBlockLines] = written_ + tail_.size();
  ++size_;
  longest_ = std::max<std::uint64_t>(longest_, line.size());
  tail_ += line;
  tail_ += kLineEnd;
  return {size_ - 1, generation_};
}

ReportStore::Placed ReportStore::Append(std::string_view line) {
  const std::lock_guard lock(mutex_);
  if (!failure_.empty()) WriteTail();  // the files first: while they fail, no line more
  const Placed placed = Place(line);
  if (tail_.size() >= kTail) WriteTail();
  return placed;
}

ReportStore::Placed ReportStore::AppendKept(std::string_view line) {
  const std::lock_guard lock(mutex_);
  return Place(line);
}

std::string ReportStore::Failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

// Writes the tail to the files, a segment at a time. What could not be
// written stays in the tail, where the readers find it.
void ReportStore::WriteTail() {
  std::size_t done = 0;
  try {
    while (done < tail_.size()) {
      const std::uint64_t segment = written_ / kSegment, offset = written_ % kSegment;
      if (segment >= segments_.size()) segments_.push_back(MakeFile());
      std::FILE* file = segments_[segment].get();
      const std::size_t count =
          static_cast<std::size_t>(std::min<std::uint64_t>(tail_.size() - done, kSegment - offset));
      if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0 ||
          std::fwrite(tail_.data() + done, 1, count, file) != count)
        throw platform::Failure(folder_, "cannot write a temporary file in", platform::LastError());
      done += count;
      written_ += count;
    }
  } catch (const FileError& e) {
    tail_.erase(0, done);  // the tail starts where the files end
    failure_ = e.what();
    throw;
  }
  tail_.clear();
}

bool ReportStore::ReadBytes(std::uint64_t at, std::size_t size, char* out) const {
  while (size > 0 && at < written_) {
    std::FILE* file = segments_[at / kSegment].get();
    const std::uint64_t offset = at % kSegment;
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>({size, kSegment - offset, written_ - at}));
    // A read after a write needs a flush or a seek between them; the seek does.
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0 || std::fread(out, 1, count, file) != count)
      return false;
    at += count;
    out += count;
    size -= count;
  }
  if (size > 0) std::memcpy(out, tail_.data() + (at - written_), size);
  return true;
}

std::uint64_t ReportStore::StartOf(std::uint64_t index) const {
  return index_[index / kBlockLines][index % kBlockLines];
}

std::uint64_t ReportStore::EndOf(std::uint64_t index) const {
  const std::uint64_t next = index + 1 < size_ ? StartOf(index + 1) : written_ + tail_.size();
  return next - kLineEnd.size();
}

std::uint64_t ReportStore::Size() const {
  const std::lock_guard lock(mutex_);
  return size_;
}

std::uint64_t ReportStore::Generation() const {
  const std::lock_guard lock(mutex_);
  return generation_;
}

std::uint64_t ReportStore::LongestLine() const {
  const std::lock_guard lock(mutex_);
  return longest_;
}

std::uint64_t ReportStore::LineLength(std::uint64_t index) const {
  const std::lock_guard lock(mutex_);
  return index < size_ ? EndOf(index) - StartOf(index) : 0;
}

std::uint64_t ReportStore::JoinedSize(std::uint64_t first, std::uint64_t last, std::uint64_t separator) const {
  const std::lock_guard lock(mutex_);
  if (size_ == 0 || first > last || first >= size_) return 0;
  last = std::min(last, size_ - 1);
  // The lines lie one after the other in the file, each with its own end.
  const std::uint64_t ends = last - first;
  return EndOf(last) - StartOf(first) - ends * kLineEnd.size() + ends * separator;
}

std::string ReportStore::Read(std::uint64_t index, std::uint64_t from, std::uint64_t most) const {
  const std::lock_guard lock(mutex_);
  std::string text;
  if (index >= size_) return text;
  const std::uint64_t start = StartOf(index), end = EndOf(index);
  if (from >= end - start) return text;
  text.resize(static_cast<std::size_t>(std::min(most, end - start - from)));
  if (!ReadBytes(start + from, text.size(), text.data())) text.clear();
  return text;
}

void ReportStore::ForEach(std::uint64_t first, std::uint64_t count, const LineSink& line) const {
  std::string block;
  std::vector<std::uint64_t> starts;  // of the block's lines, and the end of its last line
  std::uint64_t generation = 0, last = 0;
  {
    const std::lock_guard lock(mutex_);
    generation = generation_;
    last = first + std::min(count, size_ > first ? size_ - first : 0);
  }
  for (std::uint64_t next = first; next < last;) {
    std::uint64_t begin = 0;
    {
      // As many lines as fit in a block (at least one), read under the lock;
      // the sink runs without it, so that the writer is never held up.
      const std::lock_guard lock(mutex_);
      if (generation != generation_) return;  // cleared meanwhile: those lines are gone
      begin = StartOf(next);
      starts.clear();
      starts.push_back(begin);
      std::uint64_t end = EndOf(next);
      for (std::uint64_t i = next + 1; i < last && StartOf(i) - begin < kReadBlock; ++i) {
        starts.push_back(StartOf(i));
        end = EndOf(i);
      }
      starts.push_back(end + kLineEnd.size());
      block.resize(static_cast<std::size_t>(end - begin));
      if (!ReadBytes(begin, block.size(), block.data()))
        throw platform::Failure(folder_, "cannot read a temporary file in", platform::LastError());
    }
    for (std::size_t i = 0; i + 1 < starts.size(); ++i, ++next) {
      const std::size_t from = static_cast<std::size_t>(starts[i] - begin);
      const std::size_t to = static_cast<std::size_t>(starts[i + 1] - begin) - kLineEnd.size();
      if (!line(next, std::string_view(block).substr(from, to - from))) return;
    }
  }
}

}  // namespace verilote
