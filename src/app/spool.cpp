#include "app/spool.hpp"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "app/errors.hpp"
#include "app/platform.hpp"

namespace verilote {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

Spool::Spool() {
  platform::SystemError error;
  file_.reset(platform::TemporaryFile(folder_, error));
  if (!file_) throw platform::Failure(folder_, "cannot make a temporary file in", error);
}

void Spool::Fail(const char* action) const { throw platform::Failure(folder_, action, platform::LastError()); }

void Spool::WriteBuffer() {
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size())
    Fail("cannot write a temporary file in");
  buffer_.clear();
}

// Each text as its length (8 bytes, native order) and its bytes.
void Spool::Append(std::string_view text) {
  const std::uint64_t size = text.size();
  buffer_.append(reinterpret_cast<const char*>(&size), sizeof size);
  buffer_ += text;
  if (buffer_.size() >= kBlock) WriteBuffer();
}

void Spool::Rewind() {
  if (!reading_) WriteBuffer();
  if (std::fflush(file_.get()) != 0) Fail("cannot write a temporary file in");
  std::rewind(file_.get());
  buffer_.clear();
  position_ = 0;
  reading_ = true;
}

// Makes `count` bytes from position_ on available in buffer_; false when the
// file ends before.
bool Spool::Fill(std::size_t count) {
  if (buffer_.size() - position_ >= count) return true;
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t held = buffer_.size(), wanted = std::max(count - held, kBlock);
  buffer_.resize(held + wanted);
  const std::size_t got = std::fread(buffer_.data() + held, 1, wanted, file_.get());
  buffer_.resize(held + got);
  if (got < wanted && std::ferror(file_.get())) Fail("cannot read a temporary file in");
  return buffer_.size() >= count;
}

bool Spool::Next(std::string& text) {
  std::uint64_t size = 0;
  if (!Fill(sizeof size)) return false;
  std::copy_n(buffer_.data() + position_, sizeof size, reinterpret_cast<char*>(&size));
  if (!Fill(sizeof size + size)) Fail("cannot read a temporary file in");
  text.assign(buffer_, position_ + sizeof size, size);
  position_ += sizeof size + size;
  return true;
}

}  // namespace verilote

// ---- SortedSpool. An entry is stored as its key's and value's sizes (4
// bytes each), its sequence number (8 bytes), all in native order, then its
// key and value.

namespace verilote {

namespace {

constexpr std::size_t kHeader = 16;
// The entries gathered in memory before they are sorted and written as a run.
constexpr std::size_t kRunBudget = std::size_t{8} << 20;
// What the merge's readers hold between them, and the bounds of each one's share.
constexpr std::size_t kMergeBudget = std::size_t{8} << 20;
constexpr std::size_t kMinChunk = 4096, kMaxChunk = std::size_t{1} << 20;
// The index of the sorted file: at most this many blocks (the blocks grow with
// the file), each known by this many first bytes of its first key.
constexpr std::uint64_t kMaxBlocks = 65536;
constexpr std::size_t kIndexKey = 64;

bool Before(const SortedSpool::Entry& a, const SortedSpool::Entry& b) {
  const int order = a.key.compare(b.key);
  return order < 0 || (order == 0 && a.sequence < b.sequence);
}

void Encode(std::string& out, const SortedSpool::Entry& entry) {
  const auto keySize = static_cast<std::uint32_t>(entry.key.size());
  const auto valueSize = static_cast<std::uint32_t>(entry.value.size());
  out.append(reinterpret_cast<const char*>(&keySize), 4);
  out.append(reinterpret_cast<const char*>(&valueSize), 4);
  out.append(reinterpret_cast<const char*>(&entry.sequence), 8);
  out += entry.key;
  out += entry.value;
}

}  // namespace

SortedSpool::SortedSpool() : runs_(MakeFile()) {}
SortedSpool::~SortedSpool() = default;

void SortedSpool::Fail(const char* action) const { throw platform::Failure(folder_, action, platform::LastError()); }

SortedSpool::FilePtr SortedSpool::MakeFile() {
  platform::SystemError error;
  FilePtr file(platform::TemporaryFile(folder_, error));
  if (!file) throw platform::Failure(folder_, "cannot make a temporary file in", error);
  return file;
}

std::fpos_t SortedSpool::Where(std::FILE* file) const {
  std::fpos_t at;
  if (std::fgetpos(file, &at) != 0) Fail("cannot write a temporary file in");
  return at;
}

void SortedSpool::Add(std::string_view key, std::string_view value) {
  if (sealed_) throw std::logic_error("SortedSpool::Add after Seal");
  // Records are at most 32 MiB, far below the 4 GiB a size may tell.
  if (key.size() > UINT32_MAX || value.size() > UINT32_MAX) throw std::length_error("SortedSpool entry");
  if (pending_.capacity() < kRunBudget) pending_.reserve(kRunBudget);
  pendingList_.push_back(
      {pending_.size(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(value.size()), count_});
  pending_ += key;
  pending_ += value;
  ++count_;
  bytes_ += kHeader + key.size() + value.size();
  if (pending_.size() + pendingList_.size() * sizeof(Pending) >= kRunBudget) WriteRun();
}

// The gathered entries, sorted, appended to the runs file as one run.
void SortedSpool::WriteRun() {
  if (pendingList_.empty()) return;
  const auto entry = [this](const Pending& p) {
    const std::string_view all(pending_);
    return Entry{all.substr(p.at, p.keySize), p.sequence, all.substr(p.at + p.keySize, p.valueSize)};
  };
  std::sort(pendingList_.begin(), pendingList_.end(),
            [&entry](const Pending& a, const Pending& b) { return Before(entry(a), entry(b)); });
  runList_.push_back({Where(runs_.get()), pendingList_.size()});
  std::string out;
  for (const Pending& p : pendingList_) {
    Encode(out, entry(p));
    if (out.size() >= kBlock || &p == &pendingList_.back()) {
      if (std::fwrite(out.data(), 1, out.size(), runs_.get()) != out.size()) Fail("cannot write a temporary file in");
      out.clear();
    }
  }
  pending_.clear();
  pendingList_.clear();
}

void SortedSpool::Seal() {
  if (sealed_) throw std::logic_error("SortedSpool::Seal twice");
  sealed_ = true;
  WriteRun();
  std::string().swap(pending_);
  std::vector<Pending>().swap(pendingList_);
  if (std::fflush(runs_.get()) != 0) Fail("cannot write a temporary file in");
  sorted_ = MakeFile();
  blockSize_ = static_cast<std::size_t>(std::max<std::uint64_t>(kMinChunk, bytes_ / kMaxBlocks));

  // The runs merged: each run's reader holds its next entry; the smallest goes.
  const std::size_t share = std::clamp(kMergeBudget / std::max<std::size_t>(runList_.size(), 1), kMinChunk, kMaxChunk);
  std::vector<Cursor> readers;
  readers.reserve(runList_.size());
  std::vector<Entry> heads(runList_.size());
  std::vector<std::size_t> heap;
  for (const Run& run : runList_) {
    readers.push_back(Cursor(*this, runs_.get(), run.at, run.count, share));
    if (readers.back().Next(heads[readers.size() - 1])) heap.push_back(readers.size() - 1);
  }
  const auto later = [&heads](std::size_t a, std::size_t b) { return Before(heads[b], heads[a]); };
  std::make_heap(heap.begin(), heap.end(), later);

  std::string out;
  std::uint64_t ordinal = 0;
  std::size_t inBlock = 0;
  const auto flush = [this, &out] {
    if (std::fwrite(out.data(), 1, out.size(), sorted_.get()) != out.size()) Fail("cannot write a temporary file in");
    out.clear();
  };
  while (!heap.empty()) {
    std::pop_heap(heap.begin(), heap.end(), later);
    const std::size_t from = heap.back();
    const Entry& entry = heads[from];
    if (ordinal == 0 || inBlock >= blockSize_) {
      flush();
      const std::string_view indexed = entry.key.substr(0, kIndexKey);
      blocks_.push_back({Where(sorted_.get()), ordinal, indexKeys_.size(), indexed.size()});
      indexKeys_ += indexed;
      inBlock = 0;
    }
    blocks_.back().latest = std::max(blocks_.back().latest, entry.sequence);
    Encode(out, entry);
    inBlock += kHeader + entry.key.size() + entry.value.size();
    ++ordinal;
    if (out.size() >= kBlock) flush();
    if (readers[from].Next(heads[from])) {
      std::push_heap(heap.begin(), heap.end(), later);
    } else {
      heap.pop_back();
    }
  }
  flush();
  if (std::fflush(sorted_.get()) != 0) Fail("cannot write a temporary file in");
  runs_.reset();
}

SortedSpool::Cursor SortedSpool::Begin() const {
  if (blocks_.empty()) return Cursor(*this, nullptr, {}, 0, kMinChunk);
  return Cursor(*this, sorted_.get(), blocks_.front().at, count_, kBlock);
}

// The block before the first whose indexed key is not below the key's first
// bytes: every entry of an earlier block is below the key (an entry is at most
// the first key of the next block, whose indexed bytes are below the key's, so
// it is below the key), and the entries wanted follow.
SortedSpool::Cursor SortedSpool::From(std::string_view key) const {
  if (blocks_.empty()) return Begin();
  const std::string_view indexed = key.substr(0, kIndexKey);
  const auto first = std::lower_bound(blocks_.begin(), blocks_.end(), indexed,
                                      [this](const Block& b, std::string_view k) { return BlockKey(b) < k; });
  const Block& block = first == blocks_.begin() ? *first : *(first - 1);
  Cursor cursor(*this, sorted_.get(), block.at, count_ - block.ordinal, kMinChunk);
  for (Entry entry; cursor.Next(entry);) {
    if (entry.key >= key) {  // handed out again by the next call
      cursor.position_ -= kHeader + entry.key.size() + entry.value.size();
      ++cursor.left_;
      break;
    }
  }
  return cursor;
}

SortedSpool::Cursor SortedSpool::BlockStart(std::size_t b) const {
  return Cursor(*this, sorted_.get(), blocks_[b].at, count_ - blocks_[b].ordinal, kMinChunk);
}

// Its first key and the next block's begin with the prefix, and so does every
// key between them. The indexed bytes tell only for a prefix they hold whole.
bool SortedSpool::WhollyIn(std::size_t b, std::string_view prefix) const {
  const auto begins = [this, prefix](const Block& block) {
    return prefix.size() <= block.keySize && BlockKey(block).starts_with(prefix);
  };
  return b + 1 < blocks_.size() && begins(blocks_[b]) && begins(blocks_[b + 1]);
}

std::optional<std::string> SortedSpool::LastWithPrefix(std::string_view prefix) const {
  std::optional<std::string> value;
  std::uint64_t latest = 0;
  std::optional<std::size_t> latestBlock;  // the latest lies in this block, not yet read
  Cursor cursor = From(prefix);
  const auto blockOf = [this](std::uint64_t ordinal) {
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), ordinal,
                                        [](std::uint64_t n, const Block& block) { return n < block.ordinal; });
    return after == blocks_.begin() ? 0 : static_cast<std::size_t>(after - blocks_.begin() - 1);
  };
  std::size_t b = blockOf(count_ - cursor.left_);
  for (Entry entry;;) {
    const std::uint64_t ordinal = count_ - cursor.left_;
    while (b + 1 < blocks_.size() && blocks_[b + 1].ordinal <= ordinal) ++b;
    if (!blocks_.empty() && blocks_[b].ordinal == ordinal && WhollyIn(b, prefix)) {
      if ((!value && !latestBlock) || blocks_[b].latest > latest) {
        latest = blocks_[b].latest;
        latestBlock = b;
      }
      cursor = BlockStart(b + 1);
      continue;
    }
    if (!cursor.Next(entry) || !entry.key.starts_with(prefix)) break;
    if ((!value && !latestBlock) || entry.sequence > latest) {
      latest = entry.sequence;
      value = entry.value;
      latestBlock.reset();
    }
  }
  if (latestBlock) {
    cursor = BlockStart(*latestBlock);
    for (Entry entry; cursor.Next(entry);)
      if (entry.sequence == latest) return std::string(entry.value);
    throw std::logic_error("SortedSpool: the index names an entry the file lacks");
  }
  return value;
}

SortedSpool::Cursor::Cursor(const SortedSpool& table, std::FILE* file, std::fpos_t at, std::uint64_t left,
                            std::size_t chunk)
    : table_(&table), file_(file), at_(at), left_(left), chunk_(chunk) {}

bool SortedSpool::Cursor::Fill(std::size_t count) {
  if (buffer_.size() - position_ >= count) return true;
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t held = buffer_.size(), wanted = std::max(count - held, chunk_);
  buffer_.resize(held + wanted);
  if (std::fsetpos(file_, &at_) != 0) table_->Fail("cannot read a temporary file in");
  const std::size_t got = std::fread(buffer_.data() + held, 1, wanted, file_);
  buffer_.resize(held + got);
  if (got < wanted && std::ferror(file_)) table_->Fail("cannot read a temporary file in");
  if (std::fgetpos(file_, &at_) != 0) table_->Fail("cannot read a temporary file in");
  return buffer_.size() >= count;
}

bool SortedSpool::Cursor::Next(Entry& entry) {
  if (left_ == 0) return false;
  if (!Fill(kHeader)) table_->Fail("cannot read a temporary file in");
  std::uint32_t keySize = 0, valueSize = 0;
  std::memcpy(&keySize, buffer_.data() + position_, 4);
  std::memcpy(&valueSize, buffer_.data() + position_ + 4, 4);
  std::memcpy(&entry.sequence, buffer_.data() + position_ + 8, 8);
  if (!Fill(kHeader + keySize + valueSize)) table_->Fail("cannot read a temporary file in");
  const std::string_view all(buffer_);
  entry.key = all.substr(position_ + kHeader, keySize);
  entry.value = all.substr(position_ + kHeader + keySize, valueSize);
  position_ += kHeader + keySize + valueSize;
  --left_;
  return true;
}

}  // namespace verilote
