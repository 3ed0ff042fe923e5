// Which report lines are findings, and what each one names: a window keeps
// this beside its ReportStore while a command runs, so that the user can open
// a finding line on its record and fields, and step from finding to finding.
// Toolkit-neutral: every window uses it the same way.
//
// A faulty file of a million titles writes about a million findings, so an
// entry holds no text: its report line, its record's number, a hash of the
// record's bytes (to tell a file changed since) and the number of its "shape"
// -- the record kind, the field codes and the file, interned, since a run
// repeats the same few of them: 24 bytes a finding, kept in temporary files
// as the report's lines are, with only the last few thousand in memory.
//
// Its files fail as the report's do (a full temporary folder): the findings
// already added stay, and the index says why it could take no more.
//
// One command thread adds while the window's thread reads: every member may
// be called from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/fields.hpp"
#include "desk/report_store.hpp"

namespace verilote {

class FindingIndex {
 public:
  // A finding as the index gives it back.
  struct Entry {
    std::uint64_t line = 0;    // its line in the report
    std::uint64_t record = 0;  // 0: about the file as a whole
    const RecordKind* kind = nullptr;
    std::string fields;  // the codes, as the validator wrote them
    std::string file;    // the file the command read; empty when it read none
    // RecordHash of the record's bytes as validated; 0 when none were given.
    std::uint32_t recordHash = 0;
  };

  // Bytes each finding takes in the index's temporary files.
  static constexpr std::size_t kBytesPerFinding = 24;

  // Throws FileError when no temporary file can be made.
  explicit FindingIndex(const TemporaryFileMaker& makeFile = platform::TemporaryFile);
  ~FindingIndex();
  FindingIndex(const FindingIndex&) = delete;
  FindingIndex& operator=(const FindingIndex&) = delete;

  // Forgets every finding: the report of `generation` (ReportStore's) starts.
  void Clear(std::uint64_t generation);
  // The number `file` takes in Add (once per file a command opens).
  std::uint32_t FileNumber(std::string_view file);
  // Line `line` of the report of `generation` is `finding`, about a record of
  // file number `file`. Lines come in increasing order within a generation; a
  // new generation starts the index over. Throws FileError when the files
  // cannot be written; the finding is kept all the same, and an index that
  // has failed takes no more while they still fail.
  void Add(std::uint64_t generation, std::uint64_t line, const Finding& finding, std::uint32_t file);

  // The finding written as `line` of the report of `generation`.
  std::optional<Entry> Of(std::uint64_t generation, std::uint64_t line) const;
  // The line of the first finding after / the last finding before `line`.
  std::optional<std::uint64_t> NextLine(std::uint64_t generation, std::uint64_t line) const;
  std::optional<std::uint64_t> PreviousLine(std::uint64_t generation, std::uint64_t line) const;
  std::uint64_t Size() const;
  // Why the files could not be written since the last Clear; empty while
  // every finding was kept.
  std::string Failure() const;

 private:
  struct Slot {
    std::uint64_t line;
    std::uint64_t record;
    std::uint32_t shape;
    std::uint32_t hash;
  };
  static_assert(sizeof(Slot) == kBytesPerFinding);

  // The slots in order: the last block in memory, the ones before it in
  // temporary files. Pushing throws FileError when a file cannot be written
  // (the block stays in memory); a slot that cannot be read back is nothing.
  class Slots {
   public:
    explicit Slots(const TemporaryFileMaker& makeFile);
    std::uint64_t Size() const { return spilled_ + tail_.size(); }
    const std::string& Failure() const { return failure_; }
    void Clear();
    void Push(const Slot& slot);
    std::optional<Slot> At(std::uint64_t index) const;
    std::optional<std::uint64_t> LastLine() const;

   private:
    struct Closer {
      void operator()(std::FILE* f) const { std::fclose(f); }
    };
    using FilePtr = std::unique_ptr<std::FILE, Closer>;
    FilePtr MakeFile();
    void Spill();

    TemporaryFileMaker makeFile_;
    std::string folder_;
    std::string failure_;
    mutable std::vector<FilePtr> segments_;
    std::vector<Slot> tail_;
    std::uint64_t spilled_ = 0;
  };
  struct Shape {
    const RecordKind* kind;
    std::string fields;
    std::uint32_t file;
  };
  struct ShapeKey {
    const RecordKind* kind;
    std::string_view fields;
    std::uint32_t file;
    friend bool operator==(const ShapeKey&, const ShapeKey&) = default;
  };
  struct ShapeHash {
    std::size_t operator()(const ShapeKey& key) const;
  };

  // The number of findings whose line is below `line` (with the lock held);
  // nothing when the slots cannot be read.
  std::optional<std::uint64_t> Below(std::uint64_t line) const;
  std::uint32_t ShapeOf(const RecordKind* kind, std::string_view fields, std::uint32_t file);

  mutable std::mutex mutex_;
  std::uint64_t generation_ = 0;
  Slots slots_;
  std::deque<Shape> shapes_;  // a deque never moves them: the keys' views stay put
  std::array<std::uint32_t, 8> recent_ = {UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX,
                                          UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX};
  std::size_t nextRecent_ = 0;
  std::unordered_map<ShapeKey, std::uint32_t, ShapeHash> shapeNumbers_;
  std::vector<std::string> files_;
};

// A hash of a record's bytes, never 0 for a record that has bytes.
std::uint32_t RecordHash(std::string_view rec);

}  // namespace verilote
