#include "detect/layout_detection.hpp"

#include <gtest/gtest.h>

#include <random>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/detect_command.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CrLfFile;
using testing::FakeHost;
using testing::TempFile;
using Names = std::vector<std::string_view>;

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/";

Names NamesOf(const Detection& d) {
  Names names;
  for (const LayoutRow* row : d.layouts) names.push_back(row->name);
  return names;
}

Detection Detect(const std::vector<std::string>& lines) {
  const std::string bytes = CrLfFile(lines);
  return DetectLayoutOfHead(bytes, true);
}

// The examples' layouts are in the examples test; here the evidence line and
// a header that does not fit.
TEST(LayoutDetection, EvidenceAndABrokenHeaderField) {
  using testing::Put;
  std::vector<std::string> sigcb107 = testing::CleanSigcbFile("107").Lines();
  EXPECT_EQ(Detect(sigcb107).Line(),
            Cat("Layout detectado: SIGCB CNAB 240: registros de 240 posições, banco 104, "_cp,
                "header de arquivo (tipo 0) no primeiro registro, versão 107 no header de arquivo, "_cp,
                "REMESSA- na posição 192 do header de arquivo, operação e serviço R01 no header de lote, "_cp,
                "versão 067 no header de lote"_cp));
  EXPECT_EQ(NamesOf(Detect(testing::CleanSigcb400("007"))), Names{"sigcb400"});

  // A wrong version is still SIGCB, and the evidence says what does not fit.
  Put(sigcb107[0], 164, "102");
  const Detection broken = Detect(sigcb107);
  EXPECT_EQ(NamesOf(broken), Names{"sigcb240"});
  EXPECT_TRUE(broken.evidence.ends_with("; não confere: versão 102 no header de arquivo (esperado 101 ou 107)"_cp));
  // Versions that name no layout at all leave three that fit as far as they go.
  Put(sigcb107[1], 14, "999");
  Put(sigcb107[1], 9, "X");
  EXPECT_EQ(NamesOf(Detect(sigcb107)), (Names{"sigcb240", "sicob240", "sinco"}));
}

TEST(LayoutDetection, LineEndsOtherThanCrLfAreNamed) {
  std::string lf = CrLfFile(testing::CleanSicob400());
  std::erase(lf, '\r');
  const Detection d = DetectLayoutOfHead(lf, true);
  EXPECT_EQ(NamesOf(d), Names{"sicob400"});
  EXPECT_TRUE(d.evidence.ends_with(
      "; linhas terminadas só por LF (o banco espera CR LF: o validador lê o arquivo todo como um registro só)"_cp));
  const std::string mixed = CrLfFile(testing::CleanSigcb400("007")) + std::string(400, ' ') + "\n";
  EXPECT_TRUE(
      DetectLayoutOfHead(mixed, true)
          .evidence.ends_with("; fins de linha misturados: 5 CR LF, 1 só LF, 0 só CR (o banco espera CR LF)"_cp));
  EXPECT_EQ(Detect(testing::CleanSicob400()).evidence.find("CR LF"), std::string::npos);
}

TEST(LayoutDetection, EmptyBlankAndRandomFilesAreNotRecognised) {
  EXPECT_EQ(DetectLayoutOfHead("", true).Line(), "Layout não reconhecido: arquivo vazio"_cp);
  EXPECT_EQ(DetectLayoutOfHead("\r\n   \r\n", true).kind, Detection::Kind::NotRecognised);
  std::mt19937 random(20);
  for (const std::size_t size : {1u, 240u, 5000u, 70000u}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    EXPECT_EQ(DetectLayoutOfHead(bytes, true).kind, Detection::Kind::NotRecognised) << size;
  }
  // 240-position lines that are no layout: nothing is half right.
  const std::string text = CrLfFile(std::vector<std::string>(5, std::string(240, 'x')));
  EXPECT_EQ(DetectLayoutOfHead(text, true).kind, Detection::Kind::NotRecognised);
}

// The command: the detection line, then the validator's report as its own
// command writes it.
TEST(ValidarArquivoDetectarLayout, DetectionLineThenTheValidatorsReport) {
  const std::string sad = kExamples + "sad/remessa_sad_com_erros.txt";
  FakeHost own, detected;
  own.files = {sad};
  detected.files = {sad};
  EXPECT_EQ(RunCommand(FindHandler("SadSicob1Click"), own).status, Outcome::Status::Faulty);
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), detected).status, Outcome::Status::Faulty);
  ASSERT_EQ(detected.report.size(), own.report.size() + 1);
  EXPECT_EQ(detected.report[0], DetectLayout(sad).Line());
  EXPECT_TRUE(std::equal(own.report.begin(), own.report.end(), detected.report.begin() + 1));
  EXPECT_EQ(detected.dialogs.size(), 1u) << "the file is chosen once";
}

TEST(ValidarArquivoDetectarLayout, CandidatesAreChosenOrNothingIsChecked) {
  const std::string bills = kExamples + "cobcaixa/titulos_ok.txt";
  FakeHost chosen, cancelled;
  chosen.files = {bills};
  chosen.answers = {"2"};
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), chosen).status, Outcome::Status::Clean);
  EXPECT_TRUE(chosen.report[0].starts_with("Layout escolhido: CobCaixa 2.x Títulos V 2.2.0 (Layouts possíveis: "_cp));
  EXPECT_EQ(chosen.report.back(), "4) Se a data de emissão é anterior ou igual a de vencimento"_cp);

  cancelled.files = {bills};
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), cancelled).status, Outcome::Status::Faulty);
  EXPECT_EQ(cancelled.report, testing::Lines({DetectLayout(bills).Line(),
                                              "Nenhum layout foi escolhido: o arquivo não foi validado."_cp}));
  TempFile empty("");
  FakeHost nothing;
  nothing.files = {empty.path()};
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), nothing).status, Outcome::Status::Faulty);
  EXPECT_EQ(nothing.report,
            testing::Lines({"Layout não reconhecido: arquivo vazio"_cp, "Nenhum validador foi executado."}));
}

}  // namespace
}  // namespace verilote
