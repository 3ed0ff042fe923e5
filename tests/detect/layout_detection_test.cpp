#include "detect/layout_detection.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/detect_command.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/allowed_values.hpp"

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

// The detection's lines as the report shows them, for a failure's message.
std::string Shown(const Detection& d) { return testing::Joined(d.Lines(), "\n"); }

// Whether a reason line starts with `start`.
bool HasReason(const Detection& d, std::string_view start) {
  return std::ranges::any_of(d.reasons, [start](const std::string& line) { return line.starts_with(start); });
}

// The examples' layouts are in the examples test; here the evidence lines:
// the verdict alone on the first, then one layout a line, the one chosen with
// the fields that fit and do not, then each one ruled out with its reasons.
TEST(LayoutDetection, EvidenceNamesWhatTheChosenLayoutExpects) {
  using testing::Put;
  std::vector<std::string> sigcb107 = testing::CleanSigcbFile("107").Lines();
  const Detection clean = Detect(sigcb107);
  const std::vector<std::string> lines = clean.Lines();
  ASSERT_GE(lines.size(), 4u) << Shown(clean);
  EXPECT_EQ(lines[0], "Layout detectado: SIGCB CNAB 240");
  EXPECT_EQ(
      lines[1],
      Cat("SIGCB CNAB 240: registros de 240 posições, banco 104, "_cp,
          "header de arquivo (tipo 0) no primeiro registro, operação e serviço R01 no header de lote, "_cp,
          "posições 33-52 do header de arquivo zeradas, posições 41-53 do header de lote zeradas, "_cp,
          "código do cedente 000000 nas posições 60-65 do header de lote, posições 31-39 do segmento P zeradas, "_cp,
          "modalidade 14 do Nosso Número no segmento P, Nosso Número 000000000000001 nas posições 43-57 do segmento P, "_cp,
          "posições 230-239 do segmento P zeradas, "_cp,
          "versão 107 no header de arquivo, versão 067 no header de lote, REMESSA- na posição 192 do header de arquivo"_cp));
  EXPECT_TRUE(lines[2].starts_with("descartado SICOB CNAB 240: ")) << lines[2];
  EXPECT_TRUE(
      HasReason(clean, "descartado SINCO CNAB 240: posições 36-38 do segmento P \"000\" (esperado em branco)"_cp))
      << Shown(clean);
  for (const std::string& line : std::vector(lines.begin() + 2, lines.end()))
    EXPECT_TRUE(line.starts_with("descartado ")) << "one ruled-out layout a line: " << line;
  EXPECT_EQ(NamesOf(Detect(testing::CleanSigcb400("007"))), Names{"sigcb400"});

  // Versions of no layout and a lote operation of neither kind: still SIGCB by
  // its structure, and the line says what SIGCB expects in each.
  Put(sigcb107[0], 164, "102");
  Put(sigcb107[1], 14, "999");
  Put(sigcb107[1], 9, "X");
  const Detection broken = Detect(sigcb107);
  EXPECT_EQ(NamesOf(broken), Names{"sigcb240"});
  ASSERT_GE(broken.reasons.size(), 2u);
  EXPECT_TRUE(broken.reasons[0].ends_with(
      Cat("; não confere: operação e serviço X01 no header de lote (esperado R01 ou R02), "_cp,
          "versão 102 no header de arquivo (esperado 050 ou 101 ou 107), "_cp,
          "versão 999 no header de lote (esperado 030 ou 060 ou 067)"_cp)))
      << Shown(broken);
  EXPECT_TRUE(broken.reasons[1].starts_with("descartado ")) << Shown(broken);
}

// SIGCB CNAB 240 files as other programs write them: header version 050, 101
// or 107, lote version 030 or 060, positions 192-211 with the literal, zeros
// or blanks, with and without R and Y segments, CR LF or LF alone, the last
// line unterminated, made-up agency check digits and trailer counts off by
// one. Each is SIGCB, and checked exactly as "Valida Tudo" checks it.
TEST(LayoutDetection, SigcbFilesAsOtherProducersWriteThem) {
  using testing::Put;
  int files = 0;
  for (const std::string_view version : {"050", "101", "107"})
    for (const std::string_view lote : {"030", "060"})
      for (const std::string& literal :
           {std::string("REMESSA-PRODUCAO    "), std::string(20, '0'), std::string(20, ' ')})
        for (const char keep : {'R', 'Y', '-'})
          for (const std::string_view end : {"\r\n", "\n", "unterminated"}) {
            testing::SigcbFile file = testing::CleanSigcbFile(version == "107" ? "107" : "101");
            Put(file.header, 164, version);
            Put(file.header, 192, literal);
            for (std::string& header : file.loteHeaders) Put(header, 14, lote);
            for (auto& details : file.lotes)
              std::erase_if(details,
                            [&](const std::string& d) { return (d[13] == 'R' || d[13] == 'Y') && d[13] != keep; });
            std::vector<std::string> lines = file.Lines();
            if (++files % 2 == 0) {
              Put(lines[0], 58, lines[0][57] == '9' ? "0" : "9");
              Put(lines.back(), 24, "999999");
            }
            std::string bytes = testing::Joined(lines, end == "unterminated" ? "\r\n" : end);
            if (end == "unterminated") bytes.resize(bytes.size() - 2);
            const std::string label = Cat(version, "/", lote, " [", literal, "] ", keep, " ", end.size());

            TempFile remessa(bytes, ".rem");
            const Detection detection = DetectLayout(remessa.path());
            EXPECT_EQ(NamesOf(detection), Names{"sigcb240"}) << label << "\n" << Shown(detection);
            FakeHost own, detected;
            own.files = {remessa.path()};
            detected.files = {remessa.path()};
            const Outcome ownRun = RunCommand(FindHandler("SIGCBRemessa1Click"), own);
            const Outcome detectedRun = RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), detected);
            EXPECT_EQ(detectedRun.status, ownRun.status) << label;
            const std::vector<std::string> head = detection.Lines();
            ASSERT_GE(detected.report.size(), head.size());
            EXPECT_EQ(std::vector(detected.report.begin(), detected.report.begin() + head.size()), head);
            EXPECT_EQ(std::vector(detected.report.begin() + head.size(), detected.report.end()), own.report) << label;
          }
}

// An older version of a popular generator writes blanks at 41-53 of the lote
// header, where SIGCB keeps zeros (field 12.1, which the bank rejects); its
// files agree with SIGCB everywhere else, with Construgiro only on its
// headers. They are SIGCB and are checked with the finding for 12.1.
TEST(LayoutDetection, SigcbWithBlanksInTheLoteHeaderStaysSigcb) {
  using testing::Put;
  const std::string kLoteFault =
      "====================== Erro na capa de lote. Codigos de erro: 12.1 ==================";
  for (const std::string_view version : {"101", "107", "050"}) {
    testing::SigcbFile file = testing::CleanSigcbFile(version == "107" ? "107" : "101");
    Put(file.header, 164, version);
    for (std::string& header : file.loteHeaders) {
      Put(header, 41, std::string(13, ' '));
      if (version == "050") Put(header, 14, "030");
    }
    TempFile remessa(CrLfFile(file.Lines()), ".rem");
    const Detection detection = DetectLayout(remessa.path());
    ASSERT_EQ(NamesOf(detection), Names{"sigcb240"}) << version << "\n" << Shown(detection);
    EXPECT_NE(detection.reasons[0].find(
                  "; não confere: posições 41-53 do header de lote \"             \" (esperado zeros)"_cp),
              std::string::npos)
        << Shown(detection);

    FakeHost own, detected;
    own.files = {remessa.path()};
    detected.files = {remessa.path()};
    const Outcome ownRun = RunCommand(FindHandler("SIGCBRemessa1Click"), own);
    EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), detected).status, ownRun.status);
    ASSERT_FALSE(detected.report.empty());
    EXPECT_EQ(std::vector(detected.report.begin() + detection.Lines().size(), detected.report.end()), own.report)
        << version;
    EXPECT_EQ(std::ranges::count(own.report, kLoteFault), 2) << version << ": one for each lote header";
  }
}

// What the bank answers is no remittance: a return writes "2" at 143 of its
// file header and segments T and U, a pre-validation return "3", "4" or "5"
// (or "2", as the bank's files of 2023 do) and segments W, a CNAB 400 return
// "02RETORNO". Either tell alone rules every remittance layout out.
TEST(LayoutDetection, ReturnsAreNeverTakenForRemittances) {
  using testing::Put;
  const auto answer = [](std::vector<std::string> lines, char code, std::string_view segments) {
    Put(lines[0], 143, std::string(1, code));
    std::size_t detail = 0;
    for (std::string& line : lines)
      if (line[7] == '3') Put(line, 14, segments.substr(detail++ % segments.size(), 1));
    return lines;
  };
  const std::vector<std::string> sigcb = testing::CleanSigcbFile().Lines();
  std::vector<std::string> sigcbReturn = answer(sigcb, '2', "TU");
  Put(sigcbReturn[0], 164, "040");
  for (std::string& line : sigcbReturn)
    if (line[7] == '1') Put(line, 9, "T");
  const struct {
    std::string_view what;
    std::vector<std::string> lines;
  } answers[] = {
      {"SIGCB return", sigcbReturn},
      {"pre-validation 3", answer(sigcb, '3', "W")},
      {"pre-validation 4", answer(sigcb, '4', "W")},
      {"pre-validation 5", answer(sigcb, '5', "W")},
      {"pre-validation 2 (2023)", answer(sigcb, '2', "W")},
      {"143 alone", answer(sigcb, '2', "PQ")},
      {"segments alone", answer(sigcb, '1', "TU")},
      {"SICOB return", answer(testing::ExampleRecords("sicob240/remessa_sicob240_ok.rem"), '2', "TU")},
      {"SINCO 143", answer(testing::ExampleRecords("sinco/remessa_sinco_ok.rem"), '2', "PQ")},
      {"Construgiro 143", answer(testing::ExampleRecords("construgiro/remessa_construgiro_ok.rem"), '3', "PQRS")},
  };
  for (const auto& [what, lines] : answers)
    EXPECT_EQ(Detect(lines).kind, Detection::Kind::NotRecognised) << what << "\n" << Shown(Detect(lines));
  // The verdict says what was read; the nearest layout, on its own line, what
  // ruled it out.
  const Detection nearest = Detect(answer(sigcb, '5', "PQ"));
  EXPECT_EQ(nearest.Lines()[0], "Layout não reconhecido: 18 registros lidos, registros de 240 posições"_cp);
  EXPECT_TRUE(nearest.reasons[0].starts_with("o primeiro começa com \"104"_cp)) << Shown(nearest);
  EXPECT_TRUE(nearest.reasons[1].starts_with("o mais próximo, SIGCB CNAB 240, confere em "_cp)) << Shown(nearest);
  EXPECT_TRUE(nearest.reasons[1].ends_with(
      "(não confere: código de remessa 5 na posição 143 do header de arquivo (esperado 1))"_cp))
      << Shown(nearest);

  for (std::vector<std::string> cnab400 : {testing::CleanSigcb400("007"), testing::CleanSicob400()}) {
    Put(cnab400[0], 1, "01REM.TST");
    EXPECT_EQ(Detect(cnab400).kind, Detection::Kind::Recognised) << "a test remittance";
    Put(cnab400[0], 1, "02RETORNO");
    EXPECT_EQ(Detect(cnab400).kind, Detection::Kind::NotRecognised) << cnab400[0].substr(0, 30);
  }
}

// Collection and payment files are never taken for each other; layouts that
// fit as well are settled by the table's order and named.
TEST(LayoutDetection, KindsApartAndTiesSettledByTheOrder) {
  using testing::Put;
  std::vector<std::string> siacc = testing::ExampleRecords("siacc/remessa_siacc_ok.rem");
  Put(siacc[0], 164, "040");  // SINCO's versions
  Put(siacc[1], 14, "030");
  EXPECT_EQ(NamesOf(Detect(siacc)), Names{"siacc"});
  Put(siacc[1], 9, "R");
  EXPECT_EQ(std::ranges::count(NamesOf(Detect(siacc)), "siacc"), 0);
  // Construgiro's account fields are SICOB's: its units, adjustment kind and
  // P's 58-62 keep each itself under the other's versions and literal.
  std::vector<std::string> construgiro = testing::ExampleRecords("construgiro/remessa_construgiro_ok.rem");
  std::vector<std::string> sicob = testing::ExampleRecords("sicob240/remessa_sicob240_ok.rem");
  Put(construgiro[0], 164, "030");
  Put(construgiro[0], 192, "REMESSA-PRODUCAO");
  Put(construgiro[1], 14, "020");
  Put(sicob[0], 164, "040");
  Put(sicob[0], 192, "INCLUSAO        ");
  Put(sicob[1], 14, "040");
  EXPECT_EQ(NamesOf(Detect(construgiro)), Names{"construgiro"});
  EXPECT_EQ(NamesOf(Detect(sicob)), Names{"sicob240"});

  // No P segment and versions of neither: SIGCB's and SINCO's headers alike.
  testing::SigcbFile bare = testing::CleanSigcbFile();
  bare.lotes = {{}, {}};
  Put(bare.header, 164, "999");
  for (std::string& header : bare.loteHeaders) Put(header, 14, "999");
  const Detection tie = Detect(bare.Lines());
  EXPECT_EQ(NamesOf(tie), (Names{"sigcb240", "sinco"}));
  EXPECT_TRUE(
      HasReason(tie, "também confere: SINCO CNAB 240 (escolhido SIGCB CNAB 240, o primeiro na ordem dos layouts)"_cp))
      << Shown(tie);
  EXPECT_EQ(NamesOf(Detect(testing::Lines({std::string(449, ' ')}))).size(), 0u);
}

TEST(LayoutDetection, LineEndsOtherThanCrLfAreNamed) {
  std::string lf = CrLfFile(testing::CleanSicob400());
  std::erase(lf, '\r');
  const Detection d = DetectLayoutOfHead(lf, true);
  EXPECT_EQ(NamesOf(d), Names{"sicob400"});
  EXPECT_EQ(d.reasons.back(),
            "linhas terminadas só por LF (o banco espera CR LF: o validador lê o arquivo todo como um registro só)"_cp);
  const std::string mixed = CrLfFile(testing::CleanSigcb400("007")) + std::string(400, ' ') + "\n";
  EXPECT_EQ(DetectLayoutOfHead(mixed, true).reasons.back(),
            "fins de linha misturados: 5 CR LF, 1 só LF, 0 só CR (o banco espera CR LF)"_cp);
  EXPECT_EQ(Shown(Detect(testing::CleanSicob400())).find("CR LF"), std::string::npos);
}

TEST(LayoutDetection, EmptyBlankAndRandomFilesAreNotRecognised) {
  EXPECT_EQ(DetectLayoutOfHead("", true).Lines(), testing::Lines({"Layout não reconhecido: arquivo vazio"_cp}));
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
  const std::vector<std::string> head = DetectLayout(sad).Lines();
  ASSERT_EQ(detected.report.size(), own.report.size() + head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), detected.report.begin()));
  EXPECT_TRUE(std::equal(own.report.begin(), own.report.end(), detected.report.begin() + head.size()));
  EXPECT_EQ(detected.dialogs.size(), 1u) << "the file is chosen once";
}

TEST(ValidarArquivoDetectarLayout, NothingIsCheckedWithoutALayout) {
  TempFile empty("");
  FakeHost nothing;
  nothing.files = {empty.path()};
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), nothing).status, Outcome::Status::Faulty);
  EXPECT_EQ(nothing.report,
            testing::Lines({"Layout não reconhecido: arquivo vazio"_cp, "Nenhum validador foi executado."}));
}

// SICOV has no validator, only repairs: the report names them as the menu does.
TEST(ValidarArquivoDetectarLayout, ALayoutWithoutValidatorNamesTheCommandsThatTakeIt) {
  const std::string sicov = kExamples + "sicov/remessa_sicov_ok.rem";
  FakeHost host;
  host.files = {sicov};
  EXPECT_EQ(RunCommand(FindHandler("ValidarArquivoDetectarLayout1Click"), host).status, Outcome::Status::Faulty);
  std::vector<std::string> expected = DetectLayout(sicov).Lines();
  ASSERT_EQ(expected[0], "Layout detectado: SICOV folha de pagamento e débito/crédito"_cp);
  for (const std::string_view line :
       {"Nenhum validador foi executado: este programa não valida esse layout."_cp,
        "Comandos que aceitam arquivos desse layout:"_cp,
        "  Acertos › SICOV - Folha de pagamento e Débito/Crédito › Altera NSA"_cp,
        "  Acertos › SICOV - Folha de pagamento e Débito/Crédito › Acerta campos Brancos"_cp})
    expected.emplace_back(line);
  EXPECT_EQ(host.report, expected);
}

}  // namespace
}  // namespace verilote
