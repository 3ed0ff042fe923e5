#include "app/report_output.hpp"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/platform.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::ReadBytes;
using Lines = std::vector<std::string>;
constexpr auto kClean = Outcome::Status::Clean;
constexpr auto kAborted = Outcome::Status::Aborted;

using testing::ScratchDir;

// Accents, bytes the code page leaves undefined, a tab, a NUL, and a line far
// longer than the old 4,096-byte read buffer: all copied as they stand.
const Lines kReport = {std::string("Registro numero 1 Código inválido "_cp) + "\xA0\x80\x81\x9B\xFF", "",
                       std::string("tab\tand NUL\0inside", 18), std::string(70000, 'x') + "END"};

TEST(CopyToNewFile, WritesEveryLineByteForByteAndReplacesAnEarlierCopy) {
  ScratchDir dir;
  FakeHost host;
  host.programDirectory = dir.path.string();
  host.report = kReport;
  // A typed name is text in the code page; the file gets it in the system's encoding.
  host.answers = {std::string("relatório.txt"_cp)};
  EXPECT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, kClean);
  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption + '|' + host.prompts[0].prompt + '|' + host.prompts[0].defaultText,
            "Entre com o nome do arquivo|Nome do arquivo|");
  EXPECT_EQ(ReadBytes(dir / "relat\xC3\xB3rio.txt"), testing::CrLfFile(kReport));
  EXPECT_EQ(host.messages, Lines{"Copiado com sucesso !!\r" + dir.path.string() + std::string("/relatório.txt"_cp)});
  EXPECT_EQ(host.report, kReport) << "the report itself is not changed";
  // An empty report makes an empty file, replacing the first copy.
  host.report.clear();
  host.answers = {std::string("relatório.txt"_cp)};
  EXPECT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, kClean);
  EXPECT_EQ(ReadBytes(dir / "relat\xC3\xB3rio.txt"), "");
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(dir.Entries(), Lines{"relat\xC3\xB3rio.txt"}) << "no work file left";
}

// Appending continues after the last byte; an empty report appends nothing but
// succeeds; a missing file or a directory fails; Cancel ends without a message.
TEST(AppendToExistingFile, ContinuesAfterTheLastByte) {
  testing::TempFile target("header line\r\nno line end");
  const std::string missing = target.path() + ".missing", directory = fs::temp_directory_path().string();
  FakeHost host;
  host.files = {target.path(), target.path(), missing, directory};
  host.report = kReport;
  const auto run = [&host] { return RunCommand(Copiaparaarquivojexistente1Click, host).status; };
  EXPECT_EQ(run(), kClean);
  host.report.clear();
  EXPECT_EQ(run(), kClean);
  EXPECT_EQ(run(), kAborted);
  EXPECT_EQ(run(), kAborted);
  EXPECT_EQ(run(), kClean);  // cancelled
  ASSERT_EQ(host.dialogs.size(), 5u);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo para incluir");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Remessa);
  EXPECT_EQ(ReadBytes(target.path()), "header line\r\nno line end" + testing::CrLfFile(kReport));
  EXPECT_FALSE(fs::exists(missing));
  const std::string done = "Incluido no arquivo " + target.path() + " com sucesso !!";
  EXPECT_EQ(host.messages, (Lines{done, done}));
}

#ifndef _WIN32  // POSIX: devices, FIFOs, fork
// Only a regular file is replaced: a device or a FIFO is refused and left as
// it is, even for root; a symbolic link is written through and stays a link;
// the work file a killed run left beside the target goes at the next write.
TEST(ReplacingFile, RefusesDevicesAndRemovesStaleWorkFiles) {
  ScratchDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const std::string& target : {std::string("/dev/null"), dir / "fifo"}) {
    try {
      ReplacingFile file(target);
      ADD_FAILURE() << target << " accepted";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()),
                "I/O error: '" + target + "': is not a regular file (a device, FIFO or socket): refused");
    }
  }
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const pid_t gone = fork();  // a pid that no process holds any more
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = dir / (".~vl" + std::to_string(gone) + "-0.tmp");
  std::ofstream(stale) << "half a report";
  // Names it could not have made stay, however alike.
  const std::string mine = "report.txt.~vl" + std::to_string(gone) + "-minha copia",
                    padded = ".~vl0" + std::to_string(gone) + "-0.tmp";
  for (const std::string& kept : {mine, padded}) std::ofstream(dir / kept) << "the user's";
  fs::create_symlink(dir / "report.txt", dir / "link.txt");  // dangling until written
  ReplacingFile file(dir / "link.txt");
  file.Write("new");
  file.Commit();
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(ReadBytes(dir / "report.txt"), "new");
  EXPECT_EQ(dir.Entries(), (Lines{padded, "fifo", "link.txt", "report.txt", mine}));
}

// Appending writes in place: the file keeps its inode, so its owner and hard
// links; a write that fails half way (here the file-size limit) is cut back to
// the old length and reported.
TEST(AppendToExistingFile, AppendsInPlaceAndUndoesAFailedWrite) {
  ScratchDir dir;
  std::ofstream(dir / "a.txt", std::ios::binary) << "old";
  fs::create_hard_link(dir / "a.txt", dir / "b.txt");
  AppendLines(dir / "b.txt", {"x"});
  EXPECT_EQ(ReadBytes(dir / "a.txt"),
            "old"
            "x\r\n");
  EXPECT_EQ(fs::hard_link_count(dir / "a.txt"), 2u);

  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      AppendLines(dir / "a.txt", {std::string(5000, 'y')});
    } catch (const FileError&) {
      _exit(fs::file_size(dir / "a.txt") == 6 ? 0 : 2);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write did not fail; 2: the file was not cut back";
  EXPECT_EQ(ReadBytes(dir / "a.txt"),
            "old"
            "x\r\n");
}
#endif

}  // namespace
}  // namespace verilote
