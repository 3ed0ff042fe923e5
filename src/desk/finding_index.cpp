#include "desk/finding_index.hpp"

#include <cstring>
#include <functional>

#include "app/errors.hpp"
#include "app/platform.hpp"

namespace verilote {

namespace {

constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15ull;

// Slots kept in memory before they go to a file, and slots a file holds: 768
// MiB, so that every seek stays within what a long holds on every system.
constexpr std::size_t kBlockSlots = 4096;
constexpr std::uint64_t kSegmentSlots = std::uint64_t{1} << 25;
static_assert(kSegmentSlots % kBlockSlots == 0);

std::uint64_t Mix(std::uint64_t lane, const char* bytes, std::size_t size = 8) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, size);
  lane = (lane ^ word) * kPrime;
  return lane ^ (lane >> 31);
}

}  // namespace

std::uint32_t RecordHash(std::string_view rec) {
  if (rec.empty()) return 0;
  // 32 bytes at a time into four independent lanes, so that the
  // multiplications overlap: a record of 240 bytes costs a few nanoseconds.
  std::uint64_t a = rec.size(), b = 1, c = 2, d = 3;
  const char* p = rec.data();
  std::size_t left = rec.size();
  for (; left >= 32; p += 32, left -= 32) {
    a = Mix(a, p);
    b = Mix(b, p + 8);
    c = Mix(c, p + 16);
    d = Mix(d, p + 24);
  }
  for (; left >= 8; p += 8, left -= 8) a = Mix(a, p);
  if (left > 0) b = Mix(b, p, left);
  std::uint64_t hash = a ^ (b * 3) ^ (c * 5) ^ (d * 7);
  hash ^= hash >> 29;
  const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
  return folded != 0 ? folded : 1;
}

std::size_t FindingIndex::ShapeHash::operator()(const ShapeKey& key) const {
  return std::hash<std::string_view>()(key.fields) ^ (std::hash<const void*>()(key.kind) * 31) ^ key.file;
}

FindingIndex::Slots::Slots(const TemporaryFileMaker& makeFile) : makeFile_(makeFile) {
  tail_.reserve(kBlockSlots);
  segments_.push_back(MakeFile());
}

// Unbuffered, as the report's files: a failed write leaves nothing behind.
FindingIndex::Slots::FilePtr FindingIndex::Slots::MakeFile() {
  platform::SystemError error;
  FilePtr file(makeFile_(folder_, error));
  if (!file) throw platform::Failure(folder_, "cannot make a temporary file in", error);
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

void FindingIndex::Slots::Clear() {
  // The files after the first go; the first is written over.
  segments_.resize(1);
  tail_.clear();
  spilled_ = 0;
  failure_.clear();
}

void FindingIndex::Slots::Push(const Slot& slot) {
  if (!failure_.empty() && tail_.size() >= kBlockSlots) Spill();  // while it fails, no slot more
  tail_.push_back(slot);
  if (tail_.size() >= kBlockSlots) Spill();
}

void FindingIndex::Slots::Spill() {
  try {
    const std::uint64_t segment = spilled_ / kSegmentSlots;
    if (segment >= segments_.size()) segments_.push_back(MakeFile());
    std::FILE* file = segments_[segment].get();
    const auto offset = static_cast<long>((spilled_ % kSegmentSlots) * sizeof(Slot));
    if (std::fseek(file, offset, SEEK_SET) != 0 ||
        std::fwrite(tail_.data(), sizeof(Slot), tail_.size(), file) != tail_.size())
      throw platform::Failure(folder_, "cannot write a temporary file in", platform::LastError());
  } catch (const FileError& e) {
    failure_ = e.what();
    throw;
  }
  spilled_ += tail_.size();
  tail_.clear();
}

std::optional<FindingIndex::Slot> FindingIndex::Slots::At(std::uint64_t index) const {
  if (index >= spilled_) {
    if (index - spilled_ >= tail_.size()) return std::nullopt;
    return tail_[static_cast<std::size_t>(index - spilled_)];
  }
  std::FILE* file = segments_[index / kSegmentSlots].get();
  Slot slot{};
  const auto offset = static_cast<long>((index % kSegmentSlots) * sizeof(Slot));
  if (std::fseek(file, offset, SEEK_SET) != 0 || std::fread(&slot, sizeof slot, 1, file) != 1) return std::nullopt;
  return slot;
}

std::optional<std::uint64_t> FindingIndex::Slots::LastLine() const {
  if (!tail_.empty()) return tail_.back().line;
  if (spilled_ == 0) return std::nullopt;
  const std::optional<Slot> last = At(spilled_ - 1);
  return last ? std::optional(last->line) : std::nullopt;
}

FindingIndex::FindingIndex(const TemporaryFileMaker& makeFile) : slots_(makeFile) {}
FindingIndex::~FindingIndex() = default;

void FindingIndex::Clear(std::uint64_t generation) {
  const std::lock_guard lock(mutex_);
  generation_ = generation;
  slots_.Clear();
  shapeNumbers_.clear();
  shapes_.clear();
  recent_.fill(UINT32_MAX);
  // File numbers stay: a run may clear the report after opening its file.
}

std::uint32_t FindingIndex::FileNumber(std::string_view file) {
  const std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < files_.size(); ++i)
    if (files_[i] == file) return static_cast<std::uint32_t>(i);
  files_.emplace_back(file);
  return static_cast<std::uint32_t>(files_.size() - 1);
}

std::uint32_t FindingIndex::ShapeOf(const RecordKind* kind, std::string_view fields, std::uint32_t file) {
  // A run's findings cycle through a few shapes (a title's P, Q and S): the
  // last ones used are looked at first.
  for (const std::uint32_t recent : recent_) {
    if (recent >= shapes_.size()) continue;
    const Shape& shape = shapes_[recent];
    if (shape.kind == kind && shape.file == file && shape.fields == fields) return recent;
  }
  std::uint32_t number = 0;
  if (const auto it = shapeNumbers_.find(ShapeKey{kind, fields, file}); it != shapeNumbers_.end()) {
    number = it->second;
  } else {
    shapes_.push_back(Shape{kind, std::string(fields), file});
    number = static_cast<std::uint32_t>(shapes_.size() - 1);
    shapeNumbers_.emplace(ShapeKey{kind, shapes_.back().fields, file}, number);
  }
  recent_[nextRecent_] = number;
  nextRecent_ = (nextRecent_ + 1) % recent_.size();
  return number;
}

void FindingIndex::Add(std::uint64_t generation, std::uint64_t line, const Finding& finding, std::uint32_t file) {
  const std::uint32_t hash = RecordHash(finding.rec);
  const std::lock_guard lock(mutex_);
  if (generation != generation_) {
    generation_ = generation;
    slots_.Clear();
    shapeNumbers_.clear();
    shapes_.clear();
    recent_.fill(UINT32_MAX);
  }
  if (const std::optional<std::uint64_t> last = slots_.LastLine(); last && line <= *last)
    return;  // not a new line: kept as it was
  slots_.Push(Slot{line, finding.record, ShapeOf(finding.kind, finding.fields, file), hash});
}

std::optional<std::uint64_t> FindingIndex::Below(std::uint64_t line) const {
  std::uint64_t low = 0, high = slots_.Size();
  while (low < high) {
    const std::uint64_t middle = low + (high - low) / 2;
    const std::optional<Slot> slot = slots_.At(middle);
    if (!slot) return std::nullopt;
    if (slot->line < line)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

std::optional<FindingIndex::Entry> FindingIndex::Of(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_) return std::nullopt;
  const std::optional<std::uint64_t> at = Below(line);
  if (!at || *at == slots_.Size()) return std::nullopt;
  const std::optional<Slot> slot = slots_.At(*at);
  // A slot read back wrong names a shape the index never made.
  if (!slot || slot->line != line || slot->shape >= shapes_.size()) return std::nullopt;
  const Shape& shape = shapes_[slot->shape];
  return Entry{slot->line, slot->record, shape.kind, shape.fields, files_[shape.file], slot->hash};
}

std::optional<std::uint64_t> FindingIndex::NextLine(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_ || line == UINT64_MAX) return std::nullopt;
  const std::optional<std::uint64_t> at = Below(line + 1);
  if (!at || *at == slots_.Size()) return std::nullopt;
  const std::optional<Slot> slot = slots_.At(*at);
  return slot ? std::optional(slot->line) : std::nullopt;
}

std::optional<std::uint64_t> FindingIndex::PreviousLine(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_) return std::nullopt;
  const std::optional<std::uint64_t> at = Below(line);
  if (!at || *at == 0) return std::nullopt;
  const std::optional<Slot> slot = slots_.At(*at - 1);
  return slot ? std::optional(slot->line) : std::nullopt;
}

std::uint64_t FindingIndex::Size() const {
  const std::lock_guard lock(mutex_);
  return slots_.Size();
}

std::string FindingIndex::Failure() const {
  const std::lock_guard lock(mutex_);
  return slots_.Failure();
}

}  // namespace verilote
