#include "app/finding_index.hpp"

#include <cstring>
#include <functional>

namespace verilote {

std::uint32_t RecordHash(std::string_view rec) {
  if (rec.empty()) return 0;
  // FNV-1a over eight bytes at a time: a record of 240 bytes costs 30 steps.
  std::uint64_t hash = 14695981039346656037ull ^ rec.size();
  std::size_t at = 0;
  for (; at + 8 <= rec.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, rec.data() + at, 8);
    hash = (hash ^ word) * 1099511628211ull;
    hash ^= hash >> 29;
  }
  for (; at < rec.size(); ++at) hash = (hash ^ static_cast<unsigned char>(rec[at])) * 1099511628211ull;
  const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
  return folded != 0 ? folded : 1;
}

std::size_t FindingIndex::ShapeHash::operator()(const ShapeKey& key) const {
  return std::hash<std::string_view>()(key.fields) ^ (std::hash<const void*>()(key.kind) * 31) ^ key.file;
}

FindingIndex::FindingIndex() = default;
FindingIndex::~FindingIndex() = default;

void FindingIndex::Clear(std::uint64_t generation) {
  const std::lock_guard lock(mutex_);
  generation_ = generation;
  slots_.clear();
  slots_.shrink_to_fit();
  shapeNumbers_.clear();
  shapes_.clear();
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
  // Findings come in runs of one shape: the last one first.
  if (!shapes_.empty()) {
    const Shape& last = shapes_[lastShape_];
    if (last.kind == kind && last.file == file && last.fields == fields) return lastShape_;
  }
  if (const auto it = shapeNumbers_.find(ShapeKey{kind, fields, file}); it != shapeNumbers_.end())
    return lastShape_ = it->second;
  shapes_.push_back(Shape{kind, std::string(fields), file});
  lastShape_ = static_cast<std::uint32_t>(shapes_.size() - 1);
  shapeNumbers_.emplace(ShapeKey{kind, shapes_.back().fields, file}, lastShape_);
  return lastShape_;
}

void FindingIndex::Add(std::uint64_t generation, std::uint64_t line, const Finding& finding, std::uint32_t file) {
  const std::uint32_t hash = RecordHash(finding.rec);
  const std::lock_guard lock(mutex_);
  if (generation != generation_) {
    generation_ = generation;
    slots_.clear();
    shapeNumbers_.clear();
    shapes_.clear();
  }
  if (!slots_.empty() && line <= slots_.back().line) return;  // not a new line: kept as it was
  slots_.push_back(Slot{line, finding.record, ShapeOf(finding.kind, finding.fields, file), hash});
}

std::uint64_t FindingIndex::Below(std::uint64_t line) const {
  std::uint64_t low = 0, high = slots_.size();
  while (low < high) {
    const std::uint64_t middle = low + (high - low) / 2;
    if (slots_[middle].line < line)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

std::optional<FindingIndex::Entry> FindingIndex::Of(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_) return std::nullopt;
  const std::uint64_t at = Below(line);
  if (at == slots_.size() || slots_[at].line != line) return std::nullopt;
  const Slot& slot = slots_[at];
  const Shape& shape = shapes_[slot.shape];
  return Entry{slot.line, slot.record, shape.kind, shape.fields, files_[shape.file], slot.hash};
}

std::optional<std::uint64_t> FindingIndex::NextLine(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_ || line == UINT64_MAX) return std::nullopt;
  const std::uint64_t at = Below(line + 1);
  if (at == slots_.size()) return std::nullopt;
  return slots_[at].line;
}

std::optional<std::uint64_t> FindingIndex::PreviousLine(std::uint64_t generation, std::uint64_t line) const {
  const std::lock_guard lock(mutex_);
  if (generation != generation_) return std::nullopt;
  const std::uint64_t at = Below(line);
  if (at == 0) return std::nullopt;
  return slots_[at - 1].line;
}

std::uint64_t FindingIndex::Size() const {
  const std::lock_guard lock(mutex_);
  return slots_.size();
}

}  // namespace verilote
