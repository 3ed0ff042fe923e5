// The report commands that need no window ("Copia tela para arquivo novo",
// "Copia tela para arquivo já existente"), and the file helpers that every
// command writing a file uses: where files "beside the program" go, and how a
// file is replaced without ever leaving it half written.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/platform.hpp"

namespace verilote {

// "Copia tela para arquivo novo": writes the report, one line per CR LF, to a
// typed name in the program's directory (or the user data directory, see
// ChooseOutputDirectory), replacing a file of that name.
Verdict Copiaparaarquivonovo1Click(Host& host);

// Whether `path` names the file `name` in `directory`: the same file, or a
// name there that differs from `name` only in the case of its letters (one
// file on Windows).
bool IsFileBeside(const std::string& path, const std::string& directory, std::string_view name);

// Whether `path` is one of the program's own files: the running program,
// wherever it is, or in `programDirectory` a file that ships with it (the
// window, verilote-cli, the help page, a program or library of Windows).
// Names compare as Windows compares them, whatever the case.
bool IsProgramFile(const std::string& path, const std::string& programDirectory);

// "Copia tela para arquivo já existente": appends the report, one line per
// CR LF, to a chosen file.
Verdict Copiaparaarquivojexistente1Click(Host& host);

// Appends each line and CR LF to a regular file in place (open for append,
// write, fsync); on a failed write the file is cut back to its old length.
// Throws FileError naming the file.
void AppendLines(const std::string& path, const std::vector<std::string>& lines);
// The same with the lines streamed: `lines` hands each one to its sink.
using LineSink = std::function<void(std::string_view)>;
void AppendLinesFrom(const std::string& path, const std::function<void(const LineSink&)>& lines);

// Where the files that go "beside the program" are written. An installed
// program usually sits in a directory its users cannot write to; then the
// files go to the per-user data directory instead, and the command says so.
struct OutputDirectory {
  std::string path;       // no trailing separator
  bool userData = false;  // true when the program's directory refused writing
};
OutputDirectory ChooseOutputDirectory(Host& host);

// The per-user data directory: $XDG_DATA_HOME/verilote, or
// ~/.local/share/verilote when XDG_DATA_HOME is unset; %LOCALAPPDATA%\Verilote
// on Windows. Created when missing; throws FileError when it cannot be.
std::string UserDataDirectory();

// Added to a success message when the file went to the user data directory.
inline constexpr std::string_view kUserDataNotice =
    "A pasta do programa não permite gravação: o arquivo foi gravado na pasta de dados do usuário."_cp;

// A file written whole and then put in place of its target: the bytes go to a
// work file beside the target, are flushed to the disk, and the work file is
// renamed over the target. Until Commit() returns the target is untouched; a
// writer dropped without Commit() (an exception on the way) removes its work
// file. A target that is a symbolic link is replaced through the link (the
// file it names is replaced; the link stays); a target that is a device, FIFO
// or socket is refused. An existing target is held from the start
// (platform::File::Hold: a second run on it fails at once instead of undoing
// this one), keeps its owner, group and permission bits, and is refused when
// it is read-only or has more than one name (hard links); Commit() refuses it
// when another program changed it meanwhile. Work files are named
// ".~vl<pid>-<n>.tmp" in the target's folder: one left behind by a killed run
// is removed by the next write in that folder. Every failure throws FileError
// naming the target.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string target);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  void Write(std::string_view bytes);
  // Discards everything written so far.
  void Clear();
  // Hands each CR LF ended line written so far to `line`, reading the work
  // file back (so that a spooled report costs no memory).
  void ReadLines(const std::function<void(std::string_view)>& line);
  // A line followed by CR LF, as every text file the program writes.
  void WriteLine(std::string_view line);
  void Commit();

  const std::string& Target() const { return target_; }
  // The existing target as it was held: the file that was checked and that
  // Commit() replaces, whatever its name leads to meanwhile. Not open when
  // the target did not exist.
  const platform::File& Held() const { return held_; }

 private:
  void Hold();
  void Flush();
  void WriteOut(std::string_view bytes);
  [[noreturn]] void Fail(std::string_view action, platform::SystemError error);

  std::string target_;
  std::string work_;
  platform::File file_;
  platform::File held_;              // the existing target, held for the run
  platform::FileIdentity identity_;  // of the held target when it was taken
  int slot_ = -1;                    // in the list of work files a signal handler removes
  std::string buffer_;
};

// Removes the work files of every ReplacingFile alive in this process. Safe
// to call from a signal handler (SIGINT, SIGTERM) or a console interrupt,
// which then ends the process.
void RemoveActiveWorkFiles();

}  // namespace verilote
