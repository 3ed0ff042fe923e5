#include "app/report_store.hpp"

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

ReportStore::ReportStore() {
  platform::SystemError error;
  segments_.emplace_back(platform::TemporaryFile(folder_, error));
  if (!segments_.back()) throw platform::Failure(folder_, "cannot make a temporary file in", error);
  tail_.reserve(kTail);
}

ReportStore::~ReportStore() = default;

void ReportStore::Fail(const char* action) const { throw platform::Failure(folder_, action, platform::LastError()); }

void ReportStore::Clear() {
  const std::lock_guard lock(mutex_);
  // The files go with their handles; new ones are made as lines come.
  segments_.resize(1);
  if (written_ > 0) {
    platform::SystemError error;
    segments_[0].reset(platform::TemporaryFile(folder_, error));
    if (!segments_[0]) throw platform::Failure(folder_, "cannot make a temporary file in", error);
  }
  written_ = 0;
  tail_.clear();
  index_.clear();
  size_ = 0;
  longest_ = 0;
  ++generation_;
}

ReportStore::Placed ReportStore::Append(std::string_view line) {
  const std::lock_guard lock(mutex_);
  if (size_ % kBlockLines == 0) index_.push_back(std::make_unique<std::uint64_t[]>(kBlockLines));
  index_.back()[size_ % kBlockLines] = written_ + tail_.size();
  ++size_;
  longest_ = std::max<std::uint64_t>(longest_, line.size());
  tail_ += line;
  tail_ += kLineEnd;
  if (tail_.size() >= kTail) WriteTail();
  return {size_ - 1, generation_};
}

// Writes the tail to the files, a segment at a time.
void ReportStore::WriteTail() {
  std::size_t done = 0;
  while (done < tail_.size()) {
    const std::uint64_t segment = written_ / kSegment, offset = written_ % kSegment;
    if (segment >= segments_.size()) {
      platform::SystemError error;
      segments_.emplace_back(platform::TemporaryFile(folder_, error));
      if (!segments_.back()) {
        segments_.pop_back();
        throw platform::Failure(folder_, "cannot make a temporary file in", error);
      }
    }
    std::FILE* file = segments_[segment].get();
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(tail_.size() - done, kSegment - offset));
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fwrite(tail_.data() + done, 1, count, file) != count)
      Fail("cannot write a temporary file in");
    done += count;
    written_ += count;
  }
  tail_.clear();
}

void ReportStore::ReadBytes(std::uint64_t at, std::size_t size, char* out) const {
  while (size > 0 && at < written_) {
    std::FILE* file = segments_[at / kSegment].get();
    const std::uint64_t offset = at % kSegment;
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>({size, kSegment - offset, written_ - at}));
    // A read after a write needs a flush or a seek between them; the seek does.
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0 || std::fread(out, 1, count, file) != count)
      Fail("cannot read a temporary file in");
    at += count;
    out += count;
    size -= count;
  }
  if (size > 0) std::memcpy(out, tail_.data() + (at - written_), size);
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

std::string ReportStore::Read(std::uint64_t index, std::uint64_t from, std::uint64_t most) const {
  const std::lock_guard lock(mutex_);
  std::string text;
  if (index >= size_) return text;
  const std::uint64_t start = StartOf(index), end = EndOf(index);
  if (from >= end - start) return text;
  text.resize(static_cast<std::size_t>(std::min(most, end - start - from)));
  ReadBytes(start + from, text.size(), text.data());
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
      ReadBytes(begin, block.size(), block.data());
    }
    for (std::size_t i = 0; i + 1 < starts.size(); ++i, ++next) {
      const std::size_t from = static_cast<std::size_t>(starts[i] - begin);
      const std::size_t to = static_cast<std::size_t>(starts[i + 1] - begin) - kLineEnd.size();
      if (!line(next, std::string_view(block).substr(from, to - from))) return;
    }
  }
}

}  // namespace verilote
