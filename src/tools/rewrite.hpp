// The in-place rewrite of a user's file, record by record, that every repair
// command goes through. The new content is written beside the file and put in
// its place only when whole (ReplacingFile): the file keeps its name, its
// owner, group and permission bits, its directory and each record's line end;
// a symbolic link is followed to its target once, and that one file is read,
// checked and replaced; nothing is written in the program's directory. The file is held against other writers for the
// whole run (a second run on it fails at once). Until Commit() has returned the file is byte for byte what it was; any
// failure (a refusal, a full disk, a Stop) throws FileError or CommandStopped
// and leaves no work file behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/platform.hpp"
#include "app/record_reader.hpp"
#include "app/report_output.hpp"

namespace verilote {

class Host;

// Throws FileError naming the file unless it is a regular file (after
// following symbolic links): a FIFO would block the reader, a device such as
// /dev/zero never ends, and neither can be replaced by a rename.
void RequireRegularFile(const std::string& path);

class RecordRewrite {
 public:
  // Checks and opens the file and creates the work file beside it. The host
  // hears the reading progress and may stop the command from there.
  RecordRewrite(const std::string& path, Host& host);

  // Refuses the file unless its first record passes `isHeader` (`what` names
  // that record in the message), and refuses an empty file: a repair run on a
  // file of another layout would change bytes that mean something else there,
  // or nothing, and say it was done.
  void ExpectHeader(bool (*isHeader)(std::string_view), std::string_view what);

  // The next record of the file; false at its end. A record holding a line
  // feed is refused: the lines of such a file do not end in CR LF, and writing
  // its records back would cut them.
  bool Next(std::string_view& record);

  // Records read so far, the current one included.
  std::uint64_t Records() const { return records_; }

  // Appends a record of the new content in place of the current one,
  // followed by the current record's own line end (CR LF, CR alone, or none
  // for a last line without one), so that the file keeps its line ends.
  void Write(std::string_view record);

  // Puts the new content in place of the file, once Next() has returned
  // false. Refused when bytes follow the Ctrl+Z that ended the reading (they
  // would be lost), or when another program changed the file meanwhile
  // (ReplacingFile::Commit); a Ctrl+Z that was the file's last byte is
  // written back after the last record.
  void Commit();

  // Ends the rewrite with FileError naming the file and `cause`; the file is
  // left as it was.
  [[noreturn]] void Refuse(std::string_view cause) const;

  const std::string& Path() const { return path_; }

 private:
  void EndWritten();

  std::string path_;
  ReplacingFile out_;                   // holds the file from before the first read
  std::optional<RecordReader> reader_;  // closed before the file is replaced
  std::uint64_t records_ = 0;
  bool endPending_ = false;  // the last record written awaits its line end
  bool (*isHeader_)(std::string_view) = nullptr;
  std::string header_;
};

}  // namespace verilote
