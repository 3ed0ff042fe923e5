// The SIGCB repairs: the bytes they write, the two-lote file the validator
// passes after "Retira segmento Y", and the file kept whole on every failure.
#include "tools/sigcb_repair.hpp"

#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "banking/text.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "tools/rewrite_scratch.hpp"

namespace verilote {
namespace {

using testing::CrLfFile;
using testing::Scratch;
using L = std::vector<std::string>;

const Handler kNsa = AlteraNmerodaRemessa1Click, kRetiraY = RemessaComRegistroCarnRetirasegmentoY1Click;
const std::string kReminder("Lembre-se de alterar nos parâmetros do cedente para não rejeitar a próxima remessa."_cp);

std::string With(std::string rec, std::size_t pos, std::string_view value) {
  testing::Put(rec, pos, value);
  return rec;
}

// File header, lote header, a detail of a segment, lote and file trailers:
// 240 characters, letters where the repairs must keep every byte.
const std::string kFileHeader = "10400000" + std::string(232, 'h'), kLoteHeader = "10400011" + std::string(232, 'l');
const std::string kLoteTrailer = "10400015" + std::string(232, 't'), kFileTrailer = "10499999" + std::string(232, 'f');
std::string Detail(std::string_view segment, std::string_view sequence = "xxxxx") {
  return Cat("10400013", sequence, segment, std::string(226, 'd'));
}

TEST(SigcbRepair, RepairedBytes) {
  const std::string p = Detail("P"), y = Detail("Y");
  const struct {
    Handler command;
    L answers, in, out, messages;  // "%" in a message stands for the file's path
  } cases[] = {
      {kNsa,
       {"27"},
       {kFileHeader, kLoteHeader, p, kLoteTrailer, kLoteHeader, kFileTrailer, "10400000"},
       {With(kFileHeader, 158, "000027"), With(kLoteHeader, 186, "000027"), p, kLoteTrailer,
        With(kLoteHeader, 186, "000027"), kFileTrailer, PadSpaceRight("10400000", 157) + "000027"},
       {"NSA da Remessa alterada para 27 e pronta para ser enviada !!!\r%", kReminder}},
      {kRetiraY,
       {},
       {kFileHeader, kLoteHeader, p, y, p, y, p, y, kLoteTrailer, kFileTrailer},
       {kFileHeader, kLoteHeader, Detail("P", "00001"), Detail("P", "00002"), Detail("P", "00003"),
        With(kLoteTrailer, 18, "000005"), With(kFileTrailer, 24, "000007")},
       {"Remessa pronta % para ser enviada !!!"}},
  };
  for (const auto& c : cases) {
    Scratch host(CrLfFile(c.in));
    host.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(RunCommand(c.command, host).status, Outcome::Status::Clean);
    EXPECT_EQ(testing::ReadBytes(host.file), CrLfFile(c.out));
    L messages = c.messages;
    for (auto& m : messages)
      if (const auto at = m.find('%'); at != std::string::npos) m.replace(at, 1, host.file);
    EXPECT_EQ(host.messages, messages);
    EXPECT_EQ(host.Entries(), 1u) << "no work file left";
  }
  Scratch cancelled("");
  cancelled.files.clear();
  RunCommand(kNsa, cancelled);
  EXPECT_EQ(cancelled.messages, (L{"Nenhum arquivo foi selecionado.", kReminder}));
}

// Each lote renumbered and counted on its own: the file of two lotes, a Y
// segment in each, passes the validator once the Y segments are gone.
TEST(SigcbRepair, RetiraYLeavesTwoLotesTheValidatorPasses) {
  testing::SigcbFile file = testing::CleanSigcbFile();
  file.lotes[1].insert(file.lotes[1].begin() + 3, file.lotes[0][6]);  // lote 1's Y53
  Scratch host(CrLfFile(file.Lines()));
  ASSERT_EQ(RunCommand(kRetiraY, host).status, Outcome::Status::Clean);
  host.files = {host.file};
  EXPECT_EQ(RunCommand(SIGCBRemessa1Click, host).status, Outcome::Status::Clean);
  L report = testing::CleanSigcbReport("101", host.file);
  report[12] = "Total de registros do lote = 8";  // lote 1 without its Y53
  EXPECT_EQ(host.report, report);
}

TEST(SigcbRepair, FailuresLeaveTheFileAsItWas) {
  const std::string big = CrLfFile(L(2000, Detail("Y")));  // more than one read buffer
  const testing::RewriteFailure cases[] = {
      {"LF-ended lines, read as one record", "10400000\n10400011\n", {}, kRetiraY},
      {"bytes after a Ctrl+Z", CrLfFile({kFileHeader}) + "\x1a\r\n", {}, kNsa},
      {"a control byte in the NSA", CrLfFile({kFileHeader}), {}, kNsa, {"1\r\n"}},
      {"a lote of 100,000 details", CrLfFile(L(100000, "10400013xxxxxP")), {}, kRetiraY},
      {"Stop half way", big, testing::StopHalfWay, kRetiraY},
      {"a full disk", big, [&big](Scratch& h) { return testing::SmallFullDisk(h, big); }, kNsa},
      {"a FIFO", "", testing::Fifo, kRetiraY},
  };
  for (const auto& c : cases) testing::ExpectFileLeftAsItWas(c);
}

// 140,004 records, 70,000 of them Y segments, through verilote-cli: whole,
// or killed at random moments, the file is the old or the new one.
TEST(SigcbRepair, RetiraYOn140004Records) {
  L in{kFileHeader, kLoteHeader}, out = in;
  for (int i = 1; i <= 70000; ++i) {
    in.insert(in.end(), {Detail("P"), Detail("Y")});
    out.push_back(Detail("P", PadZeroLeft(Cat(i), 5)));
  }
  in.insert(in.end(), {kLoteTrailer, kFileTrailer});
  out.insert(out.end(), {With(kLoteTrailer, 18, "070002"), With(kFileTrailer, 24, "070004")});
  Scratch host("");
  testing::ExpectKillsLeaveOldOrNew(host, {"run", "RemessaComRegistroCarnRetirasegmentoY1Click", "--file", host.file},
                                    CrLfFile(in), CrLfFile(out), 3);
}

}  // namespace
}  // namespace verilote
