#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/platform.hpp"
#include "app/report_output.hpp"
#include "cli/check.hpp"
#include "support/cli_run.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::ReadBytes;
using testing::TempFile;

using testing::Cli;
using testing::CliRun;

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/sad/";

TEST(Cli, ListShowsEveryCommandAndItsState) {
  const CliRun run = Cli({"list"});
  EXPECT_EQ(run.status, kExitClean);
  std::istringstream lines(run.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) ++count;
  EXPECT_EQ(count, 89);
  EXPECT_NE(run.out.find("ready         SadSicob1Click"), std::string::npos);
  EXPECT_NE(run.out.find("&Validar \u203A Arrecada\u00E7\u00E3o \u203A Antigos \u203A S&adSicob Lay-Out Antigo"),
            std::string::npos)
      << "paths and captions in UTF-8";
  EXPECT_NE(run.out.find("window only   Sobre1Click"), std::string::npos);
}

// The clean and faulty exits are the examples test's.
TEST(Cli, AbortAndUsageExitStatuses) {
  const CliRun missing = Cli({"run", "SadSicob1Click", "--file", "/nonexistent/remessa.txt"});
  EXPECT_EQ(missing.status, kExitAborted);
  EXPECT_NE(missing.err.find("/nonexistent/remessa.txt"), std::string::npos) << missing.err;
  for (const auto& usage : std::vector<std::vector<std::string>>{{},
                                                                 {"frobnicate"},
                                                                 {"run"},
                                                                 {"run", "NoSuchCommand1Click"},
                                                                 {"run", "Sobre1Click"},
                                                                 {"run", "SadSicob1Click", "--file"},
                                                                 {"run", "SadSicob1Click", "--colour", "red"},
                                                                 {"run", "SadSicob1Click", "--encoding", "latin1"},
                                                                 {"run", "SadSicob1Click", "--today", "31/13/2026"},
                                                                 {"run", "SadSicob1Click", "--today=31/02/2026"},
                                                                 {"run", "SadSicob1Click", "--report", ""},
                                                                 {"list", "extra"}}) {
    const CliRun run = Cli(usage);
    EXPECT_EQ(run.status, kExitUsage) << (usage.empty() ? "" : usage.back());
    EXPECT_FALSE(run.err.empty());
  }
}

// Runs that would check nothing, or destroy an input or the program, while
// looking fine.
TEST(Cli, NothingCheckedIsNeverSuccess) {
  const std::string ok = kExamples + "remessa_sad_ok.txt";
  TempFile empty("");
  TempFile onlyCtrlZ("\x1A");
  const std::string program = platform::ProgramDirectory();
  const testing::ScratchDir dir;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"run", "SadSicob1Click"},
       kExitUsage,
       "verilote-cli: no --file left for the dialog 'Selecione o arquivo remessa SAD'\n(see verilote-cli --help)\n"},
      {{"run", "SadSicob1Click", "--file", ok, "--file", ok},
       kExitUsage,
       "verilote-cli: --file '" + ok + "' was not asked for: that file was not checked\n(see verilote-cli --help)\n"},
      {{"run", "SadSicob1Click", "--file", ok, "--answer", "x"},
       kExitClean,
       "verilote-cli: warning: --answer 'x' was not asked for\n"},
      {{"run", "SadSicob1Click", "--file", ok, "--report", ok},
       kExitUsage,
       "verilote-cli: the report file '" + ok + "' is the input file '" + ok +
           "': refused, nothing written\n(see verilote-cli --help)\n"},
      {{"run", "SadSicob1Click", "--file=" + empty.path()},
       kExitFaulty,
       "verilote-cli: '" + empty.path() + "' holds no record: nothing was checked\n"},
      {{"run", "SadSicob1Click", "--file", onlyCtrlZ.path()},
       kExitFaulty,
       "verilote-cli: '" + onlyCtrlZ.path() + "' holds no record: nothing was checked\n"},
      {{"run", "Copiaparaarquivonovo1Click", "--answer", "verilote-cli"},
       kExitAborted,
       "I/O error: '" + program + "/verilote-cli': is one of the program's own files: refused, nothing written\n"},
      // An input that cannot be read ends the run with its error alone.
      {{"run", "VerificarsedoisarquivossoiguaisAt2000registros1Click", "--file", dir.path.string(), "--file", ok},
       kExitAborted,
       "I/O error: '" + dir.path.string() + "': is a directory, not a file\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, c.status) << c.args.back();
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_TRUE(IsProgramFile(platform::ExecutablePath(), dir.path.string())) << "the running program, wherever it is";
}

// A file name goes out as the system gave it, in report lines and errors.
TEST(Cli, FileNamesAreShownAsGiven) {
  const testing::ScratchDir dir;
  const std::string name = dir / "mar\u00E7o.rem";
  std::ofstream(platform::PathOf(name)) << "x";
  EXPECT_NE(Cli({"run", "SIGCBRemessa1Click", "--file", name}).out.find("Validando arquivo: " + name + "\n"),
            std::string::npos);
  const std::string missing = dir / "n\u00E3o.rem";
  EXPECT_NE(Cli({"run", "SadSicob1Click", "--file", missing}).err.find("'" + missing + "'"), std::string::npos);
  const std::string error = JsonString("I/O error: '" + missing + "'");
  EXPECT_NE(Cli({"check", "--format", "json", missing}).out.find(error.substr(0, error.size() - 1)), std::string::npos);
}

TEST(Cli, EncodingsOfTheReport) {
  const std::string file = kExamples + "remessa_sad_ok.txt";
  const CliRun utf8 = Cli({"run", "SadSicob1Click", "--file", file});
  EXPECT_EQ(utf8.out.substr(0, 7),
            "C\xC3\xB3"
            "d=SA");
  const CliRun raw = Cli({"run", "SadSicob1Click", "--file", file, "--encoding", "cp1252"});
  EXPECT_EQ(raw.out.substr(0, 6),
            "C\xF3"
            "d=SA");
}

// A record's ESC, BEL or C1 control would retitle, clear or reset a terminal:
// there they show as `cat -v` marks; files and pipes get them unchanged.
TEST(Cli, ControlBytesReachATerminalAsMarks) {
  std::string sad = ReadBytes(kExamples + "remessa_sad_com_erros.txt");
  const std::size_t record3 = sad.find("\r\n", sad.find("\r\n") + 2) + 2;
  ASSERT_EQ(sad[record3 + 14], 'X') << "record 3, position 15";
  sad[record3 + 14] = '\x1B';
  std::string sigcb = ReadBytes(VERILOTE_SOURCE_DIR "/examples/sigcb240/remessa_sigcb240_gerador.rem");
  sigcb.replace(232, 8,
                "\x1B[2J\x9D\x07\x1B"
                "c");  // the end of the header's reserved field 23.0, 233-240
  const TempFile sadFile(sad), sigcbFile(sigcb);
  const struct {
    std::vector<std::string> args;
    std::string raw, marked;
  } cases[] = {
      {{"check", sadFile.path()}, "Erro encontrado \x1B na pos=15", "Erro encontrado ^[ na pos=15"},
      {{"run", "SadSicob1Click", "--file", sadFile.path()},
       "Erro encontrado \x1B na pos=15",
       "Erro encontrado ^[ na pos=15"},
      {{"run", "SadSicob1Click", "--encoding", "cp1252", "--file", sadFile.path()},
       "Erro encontrado \x1B na pos=15",
       "Erro encontrado ^[ na pos=15"},
      {{"show", sigcbFile.path(), "--record", "1", "--layout", "sigcb240"},
       " \x1B[2J\xC2\x9D\x07\x1B"
       "c\"",
       " ^[[2JM-^]^G^[c\""},
  };
  for (const auto& c : cases) {
    const CliRun piped = Cli(c.args);
    EXPECT_NE(piped.out.find(c.raw), std::string::npos) << c.args[1] << piped.out;
    const CliRun terminal = Cli(c.args, {.out = true, .err = true});
    EXPECT_NE(terminal.out.find(c.marked), std::string::npos) << c.args[1] << terminal.out;
    EXPECT_EQ(terminal.out.find_first_of("\x07\x1B"), std::string::npos) << c.args[1];
    EXPECT_EQ(terminal.out.find("\xC2\x9D"), std::string::npos) << c.args[1];
    EXPECT_EQ(terminal.status, piped.status) << c.args[1];
  }
}

// Each kind of control byte and its mark, whatever pieces the text comes in;
// letters of UTF-8 and of Windows-1252 pass.
TEST(Cli, ControlMarksOfEachKindOfByte) {
  const struct {
    std::vector<std::string> pieces;
    bool utf8;
    std::string shown;
  } cases[] = {
      {{"a\x1B[2Jb\n"}, true, "a^[[2Jb\n"},
      {{std::string("\x07\t\r\x7F") + '\0'}, true, "^G^I^M^?^@"},
      {{"x\xC2",
        "\x9B"
        "y"},
       true,
       "xM-^[y"},
      {{"\xC2\x80\xC2\x9F\xC2\xA0\xC3\xA7"}, true, "M-^@M-^_\xC2\xA0\xC3\xA7"},
      {{"\xC2\x9B\x1B"}, false, "\xC2\x9B^["},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    {
      ControlMarks marks(out.rdbuf(), c.utf8);
      std::ostream marked(&marks);
      for (const std::string& piece : c.pieces) marked << piece;
      marked.flush();
    }
    EXPECT_EQ(out.str(), c.shown) << c.pieces[0];
  }
}

TEST(Cli, AbortedCommandKeepsItsLinesAndReport) {
  std::string header = "SAD010001E1011226";
  header.resize(162, ' ');
  TempFile input(header + "\r\n");
  TempFile report("");
  const CliRun run = Cli({"run", "SadSicob1Click", "--file", input.path(), "--report", report.path()});
  EXPECT_EQ(run.status, kExitAborted);
  EXPECT_EQ(run.err, "'0001E1' is not a valid integer value\nFile '" + input.path() + "', record 1.\n");
  EXPECT_EQ(run.out, "");  // the header line comes after the quantity is read
}

TEST(Cli, ReportFileIsTheWindowsCopyByteForByte) {
  TempFile report("stale content that must go");
  const CliRun run =
      Cli({"run", "SadSicob1Click", "--file", kExamples + "remessa_sad_com_erros.txt", "--report", report.path()});
  EXPECT_EQ(run.status, kExitFaulty);
  const std::string bytes = ReadBytes(report.path());
  EXPECT_EQ(bytes.substr(0, 43),
            "C\xF3"
            "d=SAD01    Qtde de regs=000006\r\nGerado em");
  EXPECT_EQ(bytes.substr(bytes.size() - 66), "Erro na quantidade de registros. Lidos 5 registros. Informados 6\r\n");
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
}

#ifndef _WIN32  // popen, /dev/full: scripts/windows-e2e.sh runs the .exe
TEST(Cli, RealBinaryExitsWithTheVerdict) {
  const std::string command =
      std::string(VERILOTE_CLI_PATH) + " run SadSicob1Click --file " + kExamples + "remessa_sad_com_erros.txt";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  const int status = pclose(pipe);
  EXPECT_EQ(WEXITSTATUS(status), kExitFaulty);
  EXPECT_NE(out.find("Erro encontrado X na pos=15 e deveria ser I ou A ou E.  reg=3\n"),
            std::string::npos);  // A report that cannot reach stdout is a failure, not a silent success.
  EXPECT_EQ(WEXITSTATUS(std::system((command + " > /dev/full 2> /dev/null").c_str())), kExitAborted);
  // A closed stdout fails the same way, and never becomes the report file.
  EXPECT_EQ(WEXITSTATUS(std::system((command + " >&- 2> /dev/null").c_str())), kExitAborted);
  TempFile report("");
  EXPECT_EQ(WEXITSTATUS(std::system((command + " --report " + report.path() + " >&- 2> /dev/null").c_str())),
            kExitAborted);
  const std::string copy = ReadBytes(report.path());
  EXPECT_EQ(std::count(copy.begin(), copy.end(), '\n'), std::count(out.begin(), out.end(), '\n'));
}
#endif

}  // namespace
}  // namespace verilote
