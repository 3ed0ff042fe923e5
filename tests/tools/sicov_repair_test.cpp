// The SICOV repairs and the in-place rewrite under them.
#include "tools/sicov_repair.hpp"

#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"
#include "tools/rewrite_scratch.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::CrLfFile;
using testing::ReadBytes;
using L = std::vector<std::string>;

using testing::Scratch;

// A header around its NSA (positions 74-79), Windows-1252 bytes in it, and a clean detail.
const std::string kHead = "A" + std::string(72, 'h'), kRest = std::string(70, '\xE9') + "9",
                  kA = kHead + "000001" + kRest;
const std::string kE = PadSpaceRight("E" + std::string(128, 'e'), 149) + "0";

TEST(SicovRepair, RepairedBytes) {
  const std::string a1to98 = Cat(kA.substr(0, 8), std::string(14, ' '), kA.substr(22, 76));
  const Handler nsa = AlteraNSA1Click, blanks = AcertacamposBrancos1Click;
  const struct {
    Handler command;
    L answers, in, out;
  } cases[] = {
      // clang-format off
      {nsa, {"12"}, {kA, kE, "Z1"}, {kHead + "000012" + kRest, kE, "Z1"}},
      {nsa, {"1234567"}, {kA + "++"}, {kHead + "123456" + kRest + "++"}},
      {nsa, {"7"}, {"A short"}, {PadSpaceRight("A short", 73) + "000007"}},
      {nsa, {}, {kA, kA}, {kA, kA}},
      {blanks, {}, {kA, "B", "E" + std::string(148, 'e') + "0", "E" + std::string(138, 'e'), "Z00009   ", kE + "++"},
       {PadSpaceRight(a1to98, 150), kE, PadSpaceRight("E" + std::string(128, 'e'), 150),
        PadSpaceRight("Z00009" + std::string(35, '0'), 150), kE + "++"}},
      {blanks, {}, {kA.substr(0, 100)}, {PadSpaceRight(a1to98, 150)}},
      // clang-format on
  };
  // CR LF ends and a final Ctrl+Z, or CR alone and no end on the last line: each kept.
  const auto file = [](const L& lines, bool crLf) {
    return crLf ? CrLfFile(lines) + "\x1a"
                : std::accumulate(lines.begin(), lines.end(), std::string(),
                                  [](auto a, auto b) { return a.empty() ? b : a + "\r" + b; });
  };
  for (const auto& c : cases)
    for (const bool crLf : {true, false}) {
      Scratch host(file(c.in, crLf));
      host.answers.assign(c.answers.begin(), c.answers.end());
      EXPECT_EQ(RunCommand(c.command, host).status, Outcome::Status::Clean) << c.in[0];
      EXPECT_EQ(ReadBytes(host.file), file(c.out, crLf)) << c.in[0];
      EXPECT_EQ(host.messages, L{"Fim Do Acerto !!!"});
      EXPECT_EQ(host.Entries(), 1u) << "no work file left";
      for (const auto& p : host.prompts) EXPECT_EQ(p.caption + "|" + p.prompt, "Número do NSA|Digite o NSA"_cp);
    }
}

// Each refusal and each failure leaves the file as it was (the safety checks,
// each alone, in rewrite_safety_test.cpp).
TEST(SicovRepair, FailuresLeaveTheFileAsItWas) {
  L records(2000, kE);  // more than one read buffer, of a valid file
  records[0] = kA;
  const std::string big = CrLfFile(records);
  const Handler blanks = AcertacamposBrancos1Click;
  const testing::RewriteFailure cases[] = {
      // clang-format off
      {"a SIGCB file, no A, E or Z record", CrLfFile({"10400000", "3"}), {}, blanks},
      {"Altera NSA on a SIGCB file", CrLfFile({"10400000" + std::string(232, ' '), kA}), {}, AlteraNSA1Click},
      {"an empty file", "", {}, AlteraNSA1Click},
      {"a control byte in the NSA", CrLfFile({kA}), {}, AlteraNSA1Click, {"12\r\n"}},
      {"Stop half way", big, [](Scratch& h) { return h.onProgress = [n = 0]() mutable { if (n++ == 1) throw CommandStopped(); }, true; }, blanks},
      {"the file replaced by a directory", big, [](Scratch& h) { return h.onProgress = [&h] {
         if (!fs::exists(h.file + ".kept")) fs::rename(h.file, h.file + ".kept"), fs::create_directory(h.file); }, true; }, blanks},
#ifndef _WIN32  // mounts, permissions, FIFOs and devices
      {"a full disk (a small tmpfs)", big, [&big](Scratch& h) {
         return mount("tmpfs", h.dir.c_str(), "tmpfs", 0, "size=400k") == 0 && std::ofstream(h.file) << big; }, blanks},
      {"a read-only directory (not as root)", big, [](Scratch& h) {
         return fs::permissions(h.dir, fs::perms::owner_read | fs::perms::owner_exec), geteuid() != 0; }, blanks},
#endif
      // clang-format on
  };
  for (const auto& c : cases) testing::ExpectFileLeftAsItWas(c);
}

#ifndef _WIN32  // fork, exec, SIGKILL
// verilote-cli killed at random moments while it repairs a 70,000-record
// file: the file is always the old or the new content, whole.
// VERILOTE_KILL_ROUNDS=n makes a longer run.
TEST(SicovRepair, KilledAtRandomMomentsLeavesOldOrNewContent) {
  L records(70000, kE);
  records[0] = records[2000] = records[69999] = kA;
  const std::string before = CrLfFile(records);
  records[0] = records[2000] = records[69999] = kHead + "000042" + kRest;
  const std::string after = CrLfFile(records);
  Scratch host(before);
  testing::ExpectKillsLeaveOldOrNew(
      host, {"run", "AlteraNSA1Click", "--file", host.file, "--answer", "42", "--answer", "42", "--answer", "42"},
      before, after);
}
#endif

// The faulty example repaired through verilote-cli, on a copy: the repaired
// example's bytes, and nothing on stdout. (Its read-only file commands are
// FileUtilities' cases.)
TEST(ToolsCli, RepairsTheExample) {
  const std::string dir = VERILOTE_SOURCE_DIR "/examples/sicov/";
  Scratch host(ReadBytes(dir + "remessa_sicov_com_erros.rem"));
  const std::string_view args[] = {"run", "AcertacamposBrancos1Click", "--file", host.file};
  std::ostringstream out, err;
  EXPECT_EQ(CliMain(args, out, err), kExitClean) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(ReadBytes(host.file), ReadBytes(dir + "remessa_sicov_com_erros_acertada.rem"));
}

}  // namespace
}  // namespace verilote
