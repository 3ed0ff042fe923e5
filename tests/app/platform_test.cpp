// The platform layer where systems differ: names with accents, replacing an
// existing file, one file under two names. Run on Linux and under Wine.
#include "app/platform.hpp"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <fstream>
#include <sstream>

#include "app/record_reader.hpp"
#include "app/report_output.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using platform::PathOf;
using platform::Utf8Of;

// Names with accents, in UTF-8 as the command line gives them: "remessa_março.rem",
// "relatório.txt", "REMESSA_MARÇO.REM", "ligação.rem", "verilote-ação-".
const std::string kMarco = "remessa_mar\xC3\xA7o.rem", kReport = "relat\xC3\xB3rio.txt",
                  kMarcoUpper = "REMESSA_MAR\xC3\x87O.REM", kLink = "liga\xC3\xA7\xC3\xA3o.rem",
                  kFolder = "verilote-a\xC3\xA7\xC3\xA3o-";

// A fresh folder whose name has accents, removed afterwards.
struct AccentedDir : testing::ScratchDir {
  AccentedDir() : ScratchDir(kFolder) {}
  void Put(std::string_view name, std::string_view bytes) const {
    std::ofstream(path / PathOf(name), std::ios::binary) << bytes;
  }
  std::string Bytes(std::string_view name) const {  // opened by its wide name on Windows
    std::ostringstream bytes;
    bytes << std::ifstream(path / PathOf(name), std::ios::binary).rdbuf();
    return bytes.str();
  }
};

// UTF-8 names reach the file system as the same names: read, replaced over an
// existing file, appended to, and given to the CLI.
TEST(Platform, AccentedNamesWorkEverywhere) {
  AccentedDir dir;
  dir.Put(kMarco, "A\r\nB\x1a");
  RecordReader reader(dir / kMarco);
  std::string_view record;
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record, "A");

  dir.Put(kReport, "an older report");
  ReplacingFile file(dir / kReport);
  file.Write("new\r\n");
  file.Commit();
  AppendLines(dir / kReport, {"more"});
  EXPECT_EQ(dir.Bytes(kReport), "new\r\nmore\r\n");

  std::ifstream example(VERILOTE_SOURCE_DIR "/examples/sad/remessa_sad_ok.txt", std::ios::binary);
  std::ostringstream bytes;
  bytes << example.rdbuf();
  dir.Put(kMarco, bytes.str());
  std::ostringstream out, err;
  const std::string report = dir / kReport, input = dir / kMarco;
  const std::string_view args[] = {"run",      "SadSicob1Click", "--file",     input,
                                   "--report", report,           "--encoding", "cp1252"};
  EXPECT_EQ(CliMain(args, out, err), kExitClean) << err.str();
  EXPECT_NE(out.str().find("Lidos 5 registros"), std::string::npos) << out.str();
  std::string lines;
  for (const char c : out.str()) c == '\n' ? lines += "\r\n" : lines += c;
  EXPECT_EQ(dir.Bytes(kReport), lines);
  EXPECT_EQ(dir.Entries().size(), 2u) << "no work file left";
}

// A report file that is the input under another name is refused.
TEST(Platform, OneFileUnderTwoNames) {
  AccentedDir dir;
  dir.Put(kMarco, "A\r\n");
#ifdef _WIN32
  const std::string other = dir / kMarcoUpper;  // Windows names ignore case
#else
  const std::string other = dir / kLink;
  fs::create_hard_link(PathOf(dir / kMarco), PathOf(other));
#endif
  EXPECT_TRUE(platform::SameFile(dir / kMarco, other));
  EXPECT_FALSE(platform::SameFile(dir / kMarco, dir / "remessa_abril.rem"));
  std::ostringstream out, err;
  const std::string input = dir / kMarco;
  const std::string_view args[] = {"run", "SadSicob1Click", "--file", input, "--report", other};
  EXPECT_EQ(CliMain(args, out, err), kExitUsage);
  EXPECT_EQ(dir.Bytes(kMarco), "A\r\n");
}

// A held file read through a second handle: the file that was held, even once
// its name leads to another; letting that handle go keeps the hold.
TEST(Platform, ReadingThroughAHold) {
  AccentedDir dir;
  dir.Put(kMarco, "held\r\n");
  platform::SystemError error;
  const platform::File held = platform::File::Hold(dir / kMarco, error);
  ASSERT_FALSE(error);
  const auto firstRecord = [&] {
    platform::File copy = held.Duplicate(error);
    EXPECT_FALSE(error);
    RecordReader reader(dir / kMarco, std::move(copy));
    std::string record;
    return reader.Next(record) ? record : "no record";
  };
  EXPECT_EQ(firstRecord(), "held");
  (void)platform::File::Hold(dir / kMarco, error);
  EXPECT_TRUE(platform::IsHeldElsewhere(error));
#ifndef _WIN32  // Windows replaces no file that is open
  dir.Put(kReport, "another\r\n");
  fs::rename(dir / kReport, dir / kMarco);
  EXPECT_EQ(firstRecord(), "held");
  // The hold goes only once the new file has the name, so that a program
  // waiting for it never writes to the old one: a replacement that fails
  // keeps it.
  platform::File mine = platform::File::Hold(dir / kMarco, error);
  EXPECT_TRUE(platform::MoveIntoPlace(dir / "missing", dir / kMarco, mine));
  EXPECT_TRUE(mine.IsOpen());
#endif
}

#ifdef _WIN32
TEST(Platform, UserDataDirectoryIsLocalAppData) {
  const char* local = std::getenv("LOCALAPPDATA");
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(platform::UserDataDirectory(), std::string(local) + "\\Verilote");
}

// Windows will not replace a file another program holds open: the replacement
// fails with a clear error, the file keeps its old bytes and no work file
// stays; once the other program lets go, the replacement goes through.
TEST(Platform, ReplacingAFileHeldOpenByAnotherProcess) {
  AccentedDir dir;
  dir.Put(kReport, "original");
  const std::wstring target = PathOf(dir / kReport).wstring();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // Another process that holds the file: this program, started suspended with
  // the handle inherited.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION other{};
  ASSERT_TRUE(
      CreateProcessW(self, nullptr, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &other));
  CloseHandle(held);

  try {
    ReplacingFile file(dir / kReport);
    file.Write("new");
    file.Commit();
    ADD_FAILURE() << "a file held open was replaced";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "I/O error: '" + (dir / kReport) +
                  "': cannot replace the file (the file is open in another program; close it and try again)");
  }
  EXPECT_EQ(dir.Bytes(kReport), "original");
  EXPECT_EQ(dir.Entries().size(), 1u) << "no work file left";

  TerminateProcess(other.hProcess, 0);
  WaitForSingleObject(other.hProcess, INFINITE);
  CloseHandle(other.hThread);
  CloseHandle(other.hProcess);
  ReplacingFile file(dir / kReport);
  file.Write("new");
  file.Commit();
  EXPECT_EQ(dir.Bytes(kReport), "new");
}
#endif

}  // namespace
}  // namespace verilote
