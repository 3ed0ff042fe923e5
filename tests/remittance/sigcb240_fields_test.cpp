// The SIGCB 240 validator, one field at a time: each case breaks fields of the
// valid file of CleanSigcbFile() and states exactly which report lines go and
// which come; every other line must stay as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::Put;
using testing::Validate;
using testing::Validation;

// A report line as a case writes it: a std::string, a _cp literal or a plain literal.
struct Line {
  Line(std::string_view t) : text(t) {}
  Line(const std::string& t) : text(t) {}
  Line(const char* t) : text(t) {}
  std::string text;
};
using Lines = std::vector<Line>;

std::vector<std::string> Texts(const Lines& lines) {
  std::vector<std::string> texts;
  for (const Line& line : lines) texts.push_back(line.text);
  return texts;
}

struct Edit {
  std::size_t record;  // 1-based record of the clean file
  std::size_t pos;
  std::string value;
};

struct Break {
  std::string name;
  std::vector<Edit> edits;
  Lines removed;
  Lines added;
  std::string layout = "101";
  bool info = false;  // the added lines only inform: the verdict stays clean
};

std::string PrintBreakName(const ::testing::TestParamInfo<Break>& info) { return info.param.name; }
void PrintTo(const Break& c, std::ostream* os) { *os << c.name; }

// ---- Expected lines, in the layout's words.

const std::string kOk = "REGISTROS DOS TITULOS TODOS OK !!!";
const std::string kFim{"FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp};
const std::string kHeaderOk = std::string(40, '=') + " HEADER OK " + std::string(37, '=');
const std::string kLoteOk = std::string(37, '=') + " CAPA DE LOTE OK " + std::string(34, '=');
const std::string kBanco = "Banco: CAIXA ECONOMICA FEDERAL        Geracao: 06/12/2026 as 12:00:00 seq 000123";
const std::string kConvenio = "Convenio: 123456 Inscricao: 11.222.333/0001-81";
const std::string kNumRemessa = "Num remessa: 00000123 Gravacao: 06/12/2026";

// Title labels of the four titles of the clean file.
const std::string kLabelA = " NN: 14/000000000000001 SeuN: DOC00000001";
const std::string kLabelB = " NN: 11/000000000000002 SeuN: DOC00000002";
const std::string kLabelC = " NN: 21/000000000000003 SeuN: DOC00000003";
const std::string kLabelD = " SeuN: DOC00000004";

std::string N(std::size_t record) { return std::to_string(record); }
std::string Rec(std::size_t record, std::string_view text) {
  return "Registro numero " + N(record) + std::string(text);
}
std::string Linha(std::size_t record, std::string_view text) { return "Linha " + N(record) + std::string(text); }
std::string HeaderCodes(std::string_view codes) { return "Erro no HEADER. Codigos de erro:" + std::string(codes); }
std::string LoteCodes(std::string_view codes) {
  return "====================== Erro na capa de lote. Codigos de erro:" + std::string(codes) + " ==================";
}
std::string PCodes(std::size_t record, std::string_view codes, std::string_view label) {
  return Linha(record, " SEGMENTO P. Codigos de erro:") + std::string(codes) + " Para -> " + std::string(label);
}
std::string QCodes(std::size_t record, std::string_view codes, std::string_view name) {
  std::string line = Linha(record, " SEGMENTO Q. Codigos de erro:") + std::string(codes);
  if (!name.empty()) line += " Para -> " + std::string(name);
  return line;
}
std::string RCodes(std::size_t record, std::string_view codes) {
  return Linha(record, " SEGMENTO R. Codigos de erro:") + std::string(codes);
}

// A segment code list: the titles are no longer all OK.
Break TitleCase(std::string name, std::vector<Edit> edits, Lines lines) {
  lines.push_back(kFim);
  return {std::move(name), std::move(edits), {kOk}, std::move(lines)};
}
Break PCase(std::string name, std::size_t record, std::size_t pos, std::string value, std::string_view codes,
            std::string_view label = kLabelA) {
  return TitleCase(std::move(name), {{record, pos, std::move(value)}}, {PCodes(record, codes, label)});
}
Break QCase(std::string name, std::size_t record, std::size_t pos, std::string value, std::string_view codes,
            std::string_view payer = "JOSE DA SILVA") {
  return TitleCase(std::move(name), {{record, pos, std::move(value)}}, {QCodes(record, codes, payer)});
}
Break HeaderCase(std::string name, std::size_t pos, std::string value, std::string_view codes) {
  return {std::move(name), {{1, pos, std::move(value)}}, {kHeaderOk}, {HeaderCodes(codes)}};
}
Break LoteCase(std::string name, std::size_t pos, std::string value, std::string_view codes) {
  return {std::move(name), {{2, pos, std::move(value)}}, {kLoteOk}, {LoteCodes(codes)}};
}
// Information lines only.
Break InfoCase(std::string name, std::vector<Edit> edits, Lines removed, Lines added) {
  Break c{std::move(name), std::move(edits), std::move(removed), std::move(added)};
  c.info = true;
  return c;
}
// Lines written at once that leave the titles' verdict alone.
Break LineCase(std::string name, std::vector<Edit> edits, Lines added) {
  return {std::move(name), std::move(edits), {}, std::move(added)};
}

std::string Blanks(std::size_t n) { return std::string(n, ' '); }
std::string Zeros(std::size_t n) { return std::string(n, '0'); }

class SigcbBreak : public ::testing::TestWithParam<Break> {};

TEST_P(SigcbBreak, WritesExactlyItsLines) {
  const Break& c = GetParam();
  const std::vector<std::string> clean = CleanSigcbFile(c.layout).Lines();
  std::vector<std::string> broken = clean;
  for (const Edit& e : c.edits) Put(broken[e.record - 1], e.pos, e.value);
  ASSERT_EQ(broken[0].size(), 240u);
  const Validation before = Validate(SIGCBRemessa1Click, clean);
  const Validation after = Validate(SIGCBRemessa1Click, broken);
  const bool expectClean = c.added.empty() || c.info;
  ASSERT_EQ(after.status, expectClean ? Outcome::Status::Clean : Outcome::Status::Faulty) << after.error;
  const testing::ReportChanges changes = testing::Changes(before.report, after.report);
  EXPECT_EQ(changes.removed, Texts(c.removed));
  EXPECT_EQ(changes.added, Texts(c.added));
}

// ---- File header (record 1).

std::string BancoLine(std::string_view bank30, std::string_view date = "06/12/2026", std::string_view nsa = "000123") {
  return Cat("Banco: ", bank30, " Geracao: ", date, " as 12:00:00 seq ", nsa);
}
const std::string kCaixaName = "CAIXA ECONOMICA FEDERAL" + std::string(7, ' ');
std::string Fatal(std::string_view version) {
  return std::string("#####Erro FATAL#####: Versão "_cp) + std::string(version) +
         std::string(" do Header de arquivo não é esperada, portanto o restante da validação está incorreta."_cp);
}

INSTANTIATE_TEST_SUITE_P(
    FileHeader, SigcbBreak,
    ::testing::Values(
        Break{"GenerationDate17_0",
              {{1, 144, "32122026"}},
              {kBanco, kHeaderOk},
              {BancoLine(kCaixaName, "32/12/2026"), HeaderCodes(" Erro na data: campo 17.0")}},
        HeaderCase("ReservedZeros", 33, "1", " Não tem zeros na posição 33,20"_cp),
        HeaderCase("AgencyCheckDigit", 58, "4", " DV AGENCIA inválido na posição 58"_cp),
        HeaderCase("Field04_0", 9, "X", " 04.0"), HeaderCase("Field22_0", 172, "X", " 22.0"),
        HeaderCase("Fields23To25_0", 240, "X", " 23.0 24.0 25.0"), HeaderCase("Field14_0", 133, "X", " 14.0"),
        Break{"Bank01_0", {{1, 1, "105"}}, {kHeaderOk}, {Rec(1, " com inicio diferente de 104"), HeaderCodes(" 01.0")}},
        HeaderCase("Lote02_0", 4, "0001", " 02.0"), HeaderCase("Field21_0", 167, "00001", " 21.0"),
        HeaderCase("KindOfInscription05_0", 18, "3", " 05.0"),
        Break{"CpfOfTheCedente",
              {{1, 18, "1"}},
              {kConvenio, kHeaderOk},
              {"Convenio: 123456 Inscricao: 223.330.001-81", HeaderCodes(" cpf do cedente inválido"_cp)}},
        InfoCase("ValidCpfOfTheCedente", {{1, 18, "1000" + std::string(testing::kPayerCpf)}}, {kConvenio},
                 {"Convenio: 123456 Inscricao: 529.982.247-25"}),
        Break{"CnpjOfTheCedente",
              {{1, 31, "82"}},
              {kConvenio, kHeaderOk},
              {"Convenio: 123456 Inscricao: 11.222.333/0001-82", HeaderCodes(" CNPJ do cedente inválido"_cp)}},
        Break{"CpfCnpjNotInformed",
              {{1, 19, Zeros(14)}},
              {kConvenio, kHeaderOk},
              {"Convenio: 123456 Inscricao: 00.000.000/0000-00",
               HeaderCodes(" Campo CPF/CNPJ não informado HEADER (19,14)"_cp)}},
        InfoCase("AlphanumericCnpjIsValid", {{1, 19, std::string(testing::kAlphanumericCnpj)}}, {kConvenio},
                 {"Convenio: 123456 Inscricao: 12.ABC.345/01DE-35"}),
        HeaderCase("Field15_0", 143, "2", " 15.0"),
        // Version 050 passes field 20.0 but not the version test; the rules of
        // layout 101 still apply to the lotes and titles.
        Break{"Version050", {{1, 164, "050"}}, {}, {Fatal("050")}},
        Break{"Version102", {{1, 164, "102"}}, {kHeaderOk}, {Fatal("102"), HeaderCodes(" 20.0")}},
        Break{"BankName",
              {{1, 103, "BANCO DO BRASIL" + Blanks(15)}},
              {kBanco},
              {"HEADER DE ARQUIVO deveria ter string CAIXA ECONOMICA FEDERAL ",
               BancoLine("BANCO DO BRASIL" + Blanks(15))}},
        InfoCase("BankNameCefIsTrimmed", {{1, 103, "CEF" + Blanks(27)}}, {kBanco}, {BancoLine("CEF" + Blanks(27))}),
        InfoCase("TestRemittance", {{1, 192, "REMESSA-TESTE   "}}, {"Tipo de remessa: REMESSA-PRODUCAO"},
                 {"Tipo de remessa: REMESSA-TESTE   "}),
        Break{"KindOfRemittance",
              {{1, 192, "REMESSA-PRODUCAX"}},
              {"Tipo de remessa: REMESSA-PRODUCAO"},
              {"Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp}},
        Break{"NsaNotNumeric",
              {{1, 158, "00012A"}},
              {kBanco},
              {BancoLine(kCaixaName, "06/12/2026", "00012A"),
               "Erro no número do nsa do arquivo. Nao é um número válido"_cp,
               "Erro no número do nsa no lote, esperado 0000012A encontrado 00000123"_cp,
               "Erro no número do nsa no lote, esperado 0000012A encontrado 00000123"_cp}}),
    PrintBreakName);

// ---- Lote header (record 2, lote 1).

const std::string kCedenteDiverge{"O código do cedente no Header de lote é diferente do Header de arquivo: ERRO"_cp};

INSTANTIATE_TEST_SUITE_P(
    LoteHeader, SigcbBreak,
    ::testing::Values(
        Break{"Cedente11_1",
              {{2, 34, "654321"}},
              {kConvenio, kLoteOk},
              {kCedenteDiverge, "Convenio: 654321 Inscricao: 11.222.333/0001-81", LoteCodes(" 11.1")}},
        LoteCase("Zeros12_1", 40, "1", " 12.1"),
        LoteCase("Cedente14_1", 60, "999999", " Campo 14.1 deve ser igual ao 11.1"),
        Break{"LoteLayoutVersion",
              {{2, 14, "045"}},
              {kLoteOk},
              {"Versão do Header de Lote deveria ser 060 e está com 045"_cp, LoteCodes(" (06.1 ou 07.1)")}},
        Break{"Bank01_1", {{2, 1, "105"}}, {kLoteOk}, {Rec(2, " com inicio diferente de 104"), LoteCodes(" 01.1")}},
        LoteCase("Operation04_1", 9, "X", " 04.1"), LoteCase("Service05_1", 10, "03", " (05.1)"),
        LoteCase("Fields06And07_1", 12, "01", " (06.1 ou 07.1)"), LoteCase("Field08_1", 17, "X", " 08.1"),
        LoteCase("KindOfInscription09_1", 18, "3", " 09.1"),
        Break{"CnpjOfTheCedente",
              {{2, 33, "2"}},
              {kConvenio, kLoteOk},
              {"Convenio: 123456 Inscricao: 11.222.333/0001-82", LoteCodes(" CNPJ do cedente inválido"_cp)}},
        Break{"CpfCnpjNotInformed",
              {{2, 20, Zeros(14)}},
              {kConvenio, kLoteOk},
              {"Convenio: 123456 Inscricao: 00.000.000/0000-00",
               LoteCodes(" Campo CPF/CNPJ não informado na capa de lote (20,14)"_cp)}},
        InfoCase("ValidCpfOfTheCedente", {{2, 18, "10000" + std::string(testing::kPayerCpf)}}, {kConvenio},
                 {"Convenio: 123456 Inscricao: 529.982.247-25"}),
        LoteCase("AgencyCheckDigit", 59, "5", " DV AGENCIA inválido na posição 59"_cp),
        Break{"Length15_1",
              {{2, 66, " 000000"}},
              {kLoteOk},
              {"Erro no campo 15.1, esperado tamanho 7 encontrado tamanho 6", LoteCodes(" 15.1")}},
        LoteCase("Field16_1", 73, "1", " 16.1"), LoteCase("Name17_1", 74, Blanks(30), " 17.1"),
        InfoCase("Message1", {{2, 104, "PAGAR EM DIA"}}, {}, {"Mensagem 1: PAGAR EM DIA"}),
        InfoCase("Message2", {{2, 144, "NAO RECEBER APOS"}}, {}, {"Mensagem 2: NAO RECEBER APOS"}),
        Break{"NsaNotNumeric",
              {{2, 184, "0000012X"}},
              {kNumRemessa},
              {"Num remessa: 0000012X Gravacao: 06/12/2026",
               "Erro no número do nsa no header de lote -> não é numérico"_cp}},
        Break{"NsaOfAnotherFile",
              {{2, 184, "00000124"}},
              {kNumRemessa},
              {"Num remessa: 00000124 Gravacao: 06/12/2026",
               "Erro no número do nsa no lote, esperado 00000123 encontrado 00000124"_cp}},
        Break{"DateOfRecording21_1",
              {{2, 192, "32122026"}},
              {kNumRemessa, kLoteOk},
              {"Num remessa: 00000123 Gravacao: DATA DA GRAVAÇÃO INVÁLIDA !!!"_cp, LoteCodes(" 21.1")}},
        LoteCase("DateOfCreditNotNumeric", 200, "0000000A", " 22.1 22.1"),
        LoteCase("DateOfCreditNotADate", 200, "31022026", " 22.1"),
        Break{"DateOfCreditValid", {{2, 200, "28022026"}}, {}, {}}, LoteCase("Field23_1", 208, "X", " 23.1")),
    PrintBreakName);

Break Layout107(Break c) {
  c.layout = "107";
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    LoteHeaderOfLayout107, SigcbBreak,
    ::testing::Values(
        Layout107(Break{"Cedente11_1",
                        {{2, 34, "7654321"}},
                        {kConvenio, kLoteOk},
                        {kCedenteDiverge, "Convenio: 765432 Inscricao: 11.222.333/0001-81", LoteCodes(" 11.1")}}),
        Layout107(LoteCase("Zeros12_1", 41, "1", " 12.1")),
        Layout107(Break{
            "LoteLayoutVersion", {{2, 14, "060"}}, {}, {"Versão do Header de Lote deveria ser 067 e está com 060"_cp}}),
        Layout107(Break{"NoField14_1", {{2, 60, "999999"}}, {}, {}})),
    PrintBreakName);

// ---- Segment P (title A is record 3, B record 7, C record 12, D record 15).

const std::string kCedentePrints61{
    " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 61 como CAIXA imprime."_cp};
const std::string kCedentePrints62{
    " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 62 como postagem da CAIXA."_cp};
const std::string kCaixaPrints61{
    " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 61 como cedente imprime."_cp};
const std::string kCaixaPrints62{
    " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 62 como postagem do cedente."_cp};
const std::string kMarcado{" Este Título tem que estar marcado para protestar ou devolver ou cancelar protesto."_cp};
const std::string kBaixaEProtesto{" Título não pode ter instrução de Baixa e Protesto ao mesmo tempo."_cp};
const std::string kSeuNumDivergente{" Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp};

INSTANTIATE_TEST_SUITE_P(
    SegmentP, SigcbBreak,
    ::testing::Values(
        TitleCase("Bank01_3P", {{3, 1, "105"}}, {Rec(3, " com inicio diferente de 104"), PCodes(3, " 01.3P", kLabelA)}),
        TitleCase("Field06_3P", {{3, 15, "X"}},
                  {Rec(3, " não é branco na posição 15,1 !!!"_cp), PCodes(3, " 06.3P", kLabelA)}),
        PCase("AgencyCheckDigit09_3P", 3, 23, "4", " (09.3P)"),
        PCase("Cedente10_3P", 3, 24, "654321", " (10.3P) - Cod ced diverge do lote"),
        PCase("Zeros11And12_3P", 3, 30, "1", " (11.3P ou 12.3P)"),
        PCase("Modality", 3, 41, "15", " 13.3P, deveria ser 14 ou 11 ou 21",
              " NN: 15/000000000000001 SeuN: DOC00000001"),
        PCase("RegisteredWithdrawAndProtest", 3, 221, "1", kMarcado + kBaixaEProtesto),
        PCase("RegisteredProtestDays", 3, 222, "0A",
              " Dias Para Protesto deve ser numérico. 37.3P Este campo deve ser numérico."_cp),
        PCase("RegisteredReturnCode", 3, 224, "3", Cat(kMarcado, " Cód Devolução Deveria ser 1 ou 2 38.3P"_cp)),
        PCase("RegisteredPosition59", 3, 59, "2", " Posição 59 deveria ser 1"_cp),
        PCase("CedentePrintsPosition61", 3, 61, "1", kCedentePrints61),
        PCase("CedentePrintsPosition62", 3, 62, "1", kCedentePrints62),
        PCase("CaixaPrintsPosition61", 7, 61, "2", kCaixaPrints61, kLabelB),
        PCase("CaixaPrintsPosition62", 7, 62, "0", kCaixaPrints62, kLabelB),
        PCase("UnregisteredPosition59", 12, 59, "1", " Posição 59 deveria ser 2"_cp, kLabelC),
        PCase("UnregisteredPosition61", 12, 61, "2", kCaixaPrints61, kLabelC),
        PCase("UnregisteredPosition62", 12, 62, "0", kCaixaPrints62, kLabelC),
        PCase("UnregisteredReturnDays", 12, 225, "0X0", " Dias Para Devolução deve ser numérico."_cp, kLabelC),
        PCase("UnregisteredProtest", 12, 221, "1", " Titulo sem registro marcado para Protesto.", kLabelC),
        PCase("UnregisteredReturnCode", 12, 224, "3", " Código de devolução deveria ser 1 ou 2. 38.3P"_cp, kLabelC),
        PCase("UnregisteredProtestDays", 12, 222, "X0",
              " Dias Para Protesto deve ser numérico. 37.3P Este campo deve ser numérico."_cp, kLabelC),
        PCase("NoNossoNumeroWithdrawAndProtest", 15, 221, "1", kBaixaEProtesto, kLabelD),
        PCase("NossoNumeroShort", 3, 43, "00000000000001 ",
              " Nosso Número menor que 15 algarismos Nosso Número não numérico."_cp,
              " NN: 14/00000000000001  SeuN: DOC00000001"),
        PCase("NossoNumeroNotNumeric", 3, 43, "00000000000000A", " Nosso Número não numérico."_cp,
              " NN: 14/00000000000000A SeuN: DOC00000001"),
        PCase("Carteira14_3P", 3, 58, "2", " 14.3P - Carteira inválida deve ser = 1"_cp),
        PCase("Field15_3P", 3, 59, "3", " Posição 59 deveria ser 1 15.3P"_cp),
        PCase("Field16_3P", 3, 60, "1", " 16.3P - Deve ser igual a 2"),
        PCase("Field17_3P", 3, 61, "3", kCedentePrints61 + " 17.3P"),
        PCase("Field18_3P", 3, 62, "5", kCedentePrints62 + " 18.3P"),
        PCase("SeuNumeroMissing", 3, 63, Blanks(11), Cat(" 19.3P - Falta num doc na posição"_cp, kSeuNumDivergente),
              " NN: 14/000000000000001 SeuN: " + Blanks(11)),
        PCase("SeuNumeroTooLong", 3, 74, "X", Cat(" 19.3P - Seu número > 11 posiçoes"_cp, kSeuNumDivergente)),
        PCase("DueDate20_3P", 3, 78, "32012027", " 20.3P"),
        PCase("Field22_3P", 3, 101, "00001", " 22.3P Deveria ser 00000"), PCase("Field23_3P", 3, 106, "1", " 23.3P"),
        PCase("Kind24_3P", 3, 107, "0X", " 24.3P"), PCase("Acceptance25_3P", 3, 109, "S", " 25.3"),
        PCase("DateOfIssue26_3P", 3, 110, "00002026", " 26.3P"),
        PCase("InterestCode27_3P", 3, 118, "4", " 27.3P deveria ter 1,2 ou 3"),
        PCase("InterestWithoutAmountOrDate", 3, 118, "1",
              " 29.3P sem valor e no campo 27.3P diz que tem valor 28.3P sem data  e no campo 27.3P diz que tem data"),
        PCase("ExemptWithAmount", 3, 127, "000000000000001",
              " 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp),
        PCase("ExemptWithDate", 3, 119, "16012027", " 28.3P tem data e no campo 27.3P diz que é isento"_cp),
        PCase("InterestAmountNotNumeric", 3, 127, "00000000000000X",
              " 29.3P não deveria ter valor, o campo 27.3P diz que é isento 29.3P Este campo deve ser numérico."_cp),
        PCase("InterestBeforeDueDate", 7, 119, "14012027",
              " Data Juros do título não pode ser anterior a data vencimento."_cp, kLabelB),
        PCase("DiscountCode30_3P", 3, 142, "3", " 30.3P valor informado não permitido"_cp),
        PCase("DiscountNotNumeric", 3, 151, "00000000000000X", " 32.3P Este campo deve ser numérico."_cp),
        PCase("TitleAmountNotNumeric", 3, 86, "00000000001000X", " 21.3P  Este campo deve ser numérico"_cp),
        PCase("NoDiscountWithAmount", 3, 151, "000000000000001",
              " 32.3P não deveria ter valor, o campo 30.3P diz que não tem desconto"_cp),
        PCase("NoDiscountWithDate", 3, 143, "10012027",
              " 31.3P tem data e no campo 30.3P  diz que não tem desconto"_cp),
        PCase("DiscountDateInvalid", 7, 143, "32012027", " 31.3P Data de desconto inválida."_cp, kLabelB),
        PCase("DiscountWithoutAmount", 7, 151, Zeros(15), " 32.3P deveria ter valor porque 30.3P é 1"_cp, kLabelB),
        PCase("DiscountNotBelowTheAmount", 7, 151, "000000000010000",
              " Desconto não pode ser maior ou igual ao valor do título. "_cp, kLabelB),
        PCase("DiscountOfAHundredPercent", 12, 151, "000000000010000", " Desconto não pode ser maior 100% "_cp,
              kLabelC),
        Break{"DiscountOf99_99Percent", {{12, 151, "000000000009999"}}, {}, {}},
        PCase("DiscountAfterDueDate", 7, 143, "16012027", " Data Desconto não pode ser posterior a data vencimento."_cp,
              kLabelB),
        PCase("IssueOnDueDate", 3, 110, "15012027",
              " Data Emissão do título não pode ser igual ou posterior a data vencimento."_cp),
        // With an invalid due date no date is compared with it.
        TitleCase("NoDateOrderWithoutDueDate", {{7, 78, "32012027"}, {7, 119, "01012027"}, {7, 143, "20012027"}},
                  {PCodes(7, " 20.3P", kLabelB)}),
        PCase("Field33_3P", 3, 166, "X", " 33.3P Este campo deve ser numérico."_cp),
        PCase("Field34_3P", 3, 181, "X", " 34.3P Este campo deve ser numérico."_cp),
        PCase("Field35_3P", 3, 196, "DOC00000009", kSeuNumDivergente),
        PCase("ProtestCode36_3P", 3, 221, "2", kMarcado + " 36.3P"), PCase("Field40_3P", 3, 228, "08", " 40.3P"),
        PCase("Field41_3P", 3, 230, "1", " 41.3P"), PCase("Option42_3PNotBlank", 3, 240, "1", " 42.3P"),
        PCase("CardTitleWithoutOption", 3, 107, "31", " 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp),
        // The Y53 of title B follows a P without option: it cannot be checked.
        TitleCase("Option42_3PMissing", {{7, 240, " "}},
                  {PCodes(7, " 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp, kLabelB),
                   Rec(9, " 10.3Y Não pode ser validado porque o segmento 42.3P não tem 1 ou 2!!!"_cp)}),
        // The due date kept for the R segment is that of the last valid P:
        // title C's is invalid, so the fine of its R is compared with title B's.
        TitleCase("FineComparedWithTheLastValidDueDate",
                  {{12, 78, "32012027"}, {14, 66, "2"}, {14, 67, "15012027"}, {14, 75, "000000000000200"}},
                  {PCodes(12, " 20.3P", kLabelC),
                   RCodes(14, " Data da Multa não pode ser anterior ou igual a data do vencimento."_cp)})),
    PrintBreakName);

INSTANTIATE_TEST_SUITE_P(
    SegmentPOfLayout107, SigcbBreak,
    ::testing::Values(Layout107(PCase("Cedente10_3P", 3, 24, "7654321", " (10.3P) - Cod ced diverge do lote")),
                      Layout107(PCase("SeventhDigitOfTheCedente", 3, 30, "8", " (10.3P) - Cod ced diverge do lote")),
                      Layout107(PCase("Zeros11And12_3P", 3, 31, "1", " (11.3P ou 12.3P)")),
                      Layout107(Break{"NoField42_3P", {{3, 240, "1"}}, {}, {}})),
    PrintBreakName);

// ---- Segment Q (records 4, 8, 13 and 16).

INSTANTIATE_TEST_SUITE_P(
    SegmentQ, SigcbBreak,
    ::testing::Values(TitleCase("Bank01_3Q", {{4, 1, "105"}},
                                {Rec(4, " com inicio diferente de 104"), QCodes(4, " 01.3Q", "JOSE DA SILVA")}),
                      TitleCase("Field06_3Q", {{4, 15, "X"}},
                                {Rec(4, " não é branco na posição 15,1 !!!"_cp), QCodes(4, " 06.3Q", "JOSE DA SILVA")}),
                      TitleCase("Movement07_3Q", {{4, 16, "0X"}},
                                {Rec(4, " Na posição 16,2 tem um código não esperado para remessa !!!"_cp),
                                 QCodes(4, " 07.3Q", "JOSE DA SILVA")}),
                      QCase("KindOfInscription08_3Q", 4, 18, "3", " 08.3Q"),
                      QCase("CpfCnpjZeros", 4, 20, Zeros(14), " CPF/CNPJ Zerado 09.3Q"),
                      QCase("PayerCpf", 4, 33, "6", " CPF do sacado invalido"),
                      QCase("PayerCnpj", 13, 33, "2", " CNPJ do sacado invalido", "COMERCIO DE PECAS LTDA"),
                      QCase("PayerAlphanumericCnpj", 16, 33, "6", " CNPJ do sacado invalido", "NOVA EMPRESA SA"),
                      QCase("NameMissing", 4, 34, "JO" + Blanks(38), " Falta nome", ""),
                      QCase("AddressMissing", 4, 74, "RU" + Blanks(38), " Falta Endereço"_cp),
                      QCase("DistrictMissing", 4, 114, "CE" + Blanks(13), " Falta o Bairro"),
                      QCase("CepShort", 4, 129, "7000000 ", " C.E.P inválido 14.3Q"_cp),
                      QCase("Cep13_3Q", 4, 129, "7000A", " 13.3Q"), QCase("CepSuffix14_3Q", 4, 134, "00A", " 14.3Q"),
                      QCase("CityMissing", 4, 137, "BR" + Blanks(13), " Falta Cidade"),
                      QCase("StateMissing", 4, 152, "D ", " Falta UF"),
                      QCase("GuarantorNotNumeric", 4, 155, "X", " 17.3Q/18.3Q"),
                      QCase("GuarantorKind17_3Q", 4, 154, "3", " 17.3Q 19.3Q"),
                      QCase("GuarantorCpf", 13, 169, "6", " CPF do avalista invalido", "COMERCIO DE PECAS LTDA"),
                      QCase("GuarantorName19_3Q", 13, 170, Blanks(40), " 19.3Q", "COMERCIO DE PECAS LTDA"),
                      QCase("GuarantorAlphanumericCnpj", 16, 169, "6", " 17.3Q/18.3Q CNPJ do avalista invalido",
                            "NOVA EMPRESA SA"),
                      QCase("Field20_3Q", 4, 210, "001", " 20.3Q"), Break{"Field20_3QBlank", {{4, 210, "   "}}, {}, {}},
                      QCase("Field21_3Q", 4, 213, "X", " 21.3Q"), QCase("Field22_3Q", 4, 240, "X", " 22.3Q")),
    PrintBreakName);

// ---- Segment R (record 5 follows title A, due 15/01/2027; record 14 has no fine).

INSTANTIATE_TEST_SUITE_P(
    SegmentR, SigcbBreak,
    ::testing::Values(TitleCase("Field06_3R", {{5, 15, "X"}},
                                {Rec(5, " não é branco na posição 15,1 !!!"_cp), RCodes(5, " 06.3R")}),
                      LineCase("SecondDiscountCode", {{5, 18, "3"}},
                               {Rec(5, " 08.3R Na posição 18,1 tem um código não esperado para o desconto !!!"_cp),
                                Rec(5, " 09.3R Tem desconto, mas não tem data !!!"_cp),
                                Rec(5, " 10.3R Tem desconto, mas não tem valor !!!"_cp)}),
                      LineCase("SecondDiscountWithoutDateOrAmount", {{5, 18, "1"}},
                               {Rec(5, " 09.3R Tem desconto, mas não tem data !!!"_cp),
                                Rec(5, " 10.3R Tem desconto, mas não tem valor !!!"_cp)}),
                      LineCase("NoSecondDiscountWithDate", {{5, 19, "10012027"}},
                               {Rec(5, " 09.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp)}),
                      LineCase("NoSecondDiscountWithAmount", {{5, 27, "000000000000001"}},
                               {Rec(5, " 10.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp)}),
                      Break{"SecondDiscountValid", {{5, 18, "110012027000000000000100"}}, {}, {}},
                      LineCase("ThirdDiscountCode", {{5, 42, "5"}},
                               {Rec(5, " 11.3R Na posição 42,1 tem um código não esperado para o desconto !!!"_cp),
                                Rec(5, " 12.3R Tem desconto, mas não tem data !!!"_cp),
                                Rec(5, " 13.3R Tem desconto, mas não tem valor !!!"_cp)}),
                      LineCase("NoThirdDiscountWithDate", {{5, 43, "10012027"}},
                               {Rec(5, " 12.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp)}),
                      LineCase("NoThirdDiscountWithAmount", {{5, 51, "000000000000001"}},
                               {Rec(5, " 13.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp)}),
                      TitleCase("FineCode14_3R", {{5, 66, "3"}}, {RCodes(5, " 14.3R")}),
                      TitleCase("FineDate15_3R", {{5, 67, "32012027"}}, {RCodes(5, " 15.3R")}),
                      TitleCase("FineOnTheDueDate", {{5, 67, "15012027"}},
                                {RCodes(5, " Data da Multa não pode ser anterior ou igual a data do vencimento."_cp)}),
                      TitleCase("FineAmount16_3R", {{5, 75, "X"}}, {RCodes(5, " 16.3R")}),
                      TitleCase("Field17_3R", {{5, 90, "X"}}, {RCodes(5, " 17.3R")}),
                      TitleCase("Field21_3R", {{5, 230, "X"}}, {RCodes(5, " 21.3R")}),
                      TitleCase("FineWithoutDate", {{14, 66, "1"}}, {RCodes(14, " 15.3R")})),
    PrintBreakName);

// ---- Segment S (record 6).

const std::string kTipoImpressao{" Tipo de impressão não esperado por este aplicativo !!"_cp};

INSTANTIATE_TEST_SUITE_P(
    SegmentS, SigcbBreak,
    ::testing::Values(LineCase("PrintKind08_3S", {{6, 18, "7"}},
                               {Linha(6, kTipoImpressao), Rec(6, " 08.3S deveria ser 1, 2 ou 3!!!")}),
                      LineCase("Field06_3S", {{6, 15, "X"}},
                               {Rec(6, " não é branco na posição 15,1 !!!"_cp),
                                Linha(6, " Campo 06.3S preenchido e deveria ser branco !!")}),
                      LineCase("NoMessage", {{6, 19, Blanks(160)}},
                               {Rec(6, " Pelo menos um dos campos deve ser preenchido (09.3S,10.3S,11.3S,12.3S)!!!")}),
                      LineCase("Fields13And14_3S", {{6, 179, "X"}}, {Rec(6, " 13.3S e 14.3S deveriam ser brancos!!!")}),
                      LineCase("PrintKind1", {{6, 18, "100"}, {6, 161, "00"}}, {Linha(6, kTipoImpressao)}),
                      LineCase("PrintKind1Field09_3S", {{6, 18, "101"}, {6, 161, "00"}},
                               {Linha(6, kTipoImpressao), Linha(6, " Campo 09.3S deveria ter zeros !!")}),
                      LineCase("PrintKind2WithoutMessage", {{6, 18, "200"}, {6, 21, Blanks(140)}, {6, 161, "00"}},
                               {Linha(6, kTipoImpressao), Rec(6, " 10.3S deveria ser preenchido!!!")}),
                      LineCase("PrintKind1Field11_3S", {{6, 18, "100"}, {6, 161, "01"}},
                               {Linha(6, kTipoImpressao), Linha(6, " Campo 11.3S deveria ter zeros !!")}),
                      LineCase("PrintKind1Field12_3S", {{6, 18, "100"}, {6, 161, "00X"}},
                               {Linha(6, kTipoImpressao), Rec(6, " 12.3S deveria ser branco!!!")})),
    PrintBreakName);

// ---- Segment Y53 (record 9, after title B whose field 42.3P is 1).

INSTANTIATE_TEST_SUITE_P(
    SegmentY53, SigcbBreak,
    ::testing::Values(LineCase("Movement07_3Y", {{9, 16, "03"}},
                               {Rec(9, " Na posição 16,2 tem um código não esperado para remessa !!!"_cp),
                                Rec(9, " 07.3Y Não encontrado no layout da CAIXA!!!"_cp)}),
                      LineCase("Movement47IsOnlyInTheYList", {{9, 16, "47"}},
                               {Rec(9, " Na posição 16,2 tem um código não esperado para remessa !!!"_cp)}),
                      LineCase("Field09_3Y", {{9, 20, "03"}}, {Rec(9, " 09.3Y Deveria ser 02 ou 04!!!")}),
                      LineCase("Option1Installments", {{9, 22, "01"}},
                               {Rec(9, " 10.3Y Deveria ser 00 porque 42.3P é igual a 1!!!"_cp)}),
                      LineCase("Option2InstallmentsZero", {{7, 240, "2"}},
                               {Rec(9, " 10.3Y Deveria não pode ser 00 porque semento 42.3P é igual a 2!!!"_cp)}),
                      LineCase("Option2InstallmentsNotNumeric", {{7, 240, "2"}, {9, 22, "0X"}},
                               {Rec(9, " 10.3Y Deveria ser numérico!!!"_cp)}),
                      Break{"Option2Installments", {{7, 240, "2"}, {9, 22, "03"}}, {}, {}},
                      LineCase("Field11_3Y", {{9, 24, "3"}}, {Rec(9, " 11.3Y Deveria ser 1 ou 2!!!")}),
                      LineCase("Field12_3Y", {{9, 25, "X"}}, {Rec(9, " 12.3Y Deveria ser numérico!!!"_cp)}),
                      LineCase("Field14_3Y", {{9, 40, "3"}}, {Rec(9, " 14.3Y Deveria ser 1 ou 2!!!")}),
                      LineCase("Field15_3Y", {{9, 41, "X"}}, {Rec(9, " 15.3Y Deveria ser numérico!!!"_cp)}),
                      LineCase("Field17_3Y", {{9, 56, "X"}}, {Rec(9, " 17.3Y Deveria ser branco!!!")}),
                      LineCase("OtherYKind", {{9, 18, "54"}},
                               {Rec(9, " com tipo inválido ou não validado por este aplicativo !!!"_cp),
                                "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 12 encontrado 11"})),
    PrintBreakName);

// ---- The frame: characters, length, numbering and the trailers.

INSTANTIATE_TEST_SUITE_P(
    Frame, SigcbBreak,
    ::testing::Values(
        LineCase("AccentedLetter", {{4, 34, "JOS\xC9"}}, {Rec(4, " com Caracter inválido nas posições: 37,"_cp)}),
        LineCase("TwoAccentedLetters", {{4, 34, "\xC7\xC3O"}},
                 {Rec(4, " com Caracter inválido nas posições: 34,35,"_cp)}),
        LineCase("ControlCharacter", {{6, 100, "\t"}}, {Rec(6, " com Caracter inválido nas posições: 100,"_cp)}),
        LineCase("LoteNumber", {{3, 4, "0002"}}, {Rec(3, " Esperado lote 0001 Encontrado Lote 0002")}),
        LineCase("LoteNotNumeric", {{3, 4, "00X1"}}, {Rec(3, " lote não numérico na posição 4 tamanho 4 "_cp)}),
        LineCase("Sequence", {{4, 9, "00005"}},
                 {Rec(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp)}),
        TitleCase("SequenceAndPosition15", {{4, 9, "00005"}, {4, 15, "X"}},
                  {Rec(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp),
                   Rec(4, " não é branco na posição 15,1 !!!"_cp), Rec(4, " sequencial do lote inválido."_cp),
                   QCodes(4, " 06.3Q", "JOSE DA SILVA")}),
        LineCase("MovementCode", {{3, 16, "03"}},
                 {Rec(3, " Na posição 16,2 tem um código não esperado para remessa !!!"_cp)}),
        Break{"LoteCount",
              {{10, 18, "000008"}},
              {"Total de registros do lote = 9"},
              {Linha(10, " Total de registros do lote não confere !! informado 8 calculado 9"_cp)}},
        Break{"LoteCountNotNumeric",
              {{10, 18, "00000X"}},
              {"Total de registros do lote = 9"},
              {Rec(10, " 05.5 deveria ser numérico!!!"_cp)}},
        LineCase("LoteTrailerFields06To11", {{10, 24, "X"}},
                 {Rec(10, "  Os campos 06.5, 07.5, 08.5, 09.5, 10.5, 11.5 devem ser numéricos !!!"_cp)}),
        LineCase("LoteTrailerFields12And13", {{10, 93, "X"}}, {Rec(10, " Os campos 12.5 e 13.5 devem ser brancos")}),
        LineCase("FileTrailer02_9", {{18, 4, "9899"}}, {Linha(18, " Campo 02.9 deveria ter 99999")}),
        LineCase("FileTrailer04_9", {{18, 9, "X"}}, {Rec(18, " O campo 04.9 deve ser branco")}),
        LineCase("FileTrailer05_9", {{18, 18, "00000X"}}, {Rec(18, " Campo 05.9 deveria ser numérico!!!"_cp)}),
        LineCase("FileTrailer06_9", {{18, 24, "00001X"}}, {Rec(18, " Campo 06.9 deveria ser numérico!!!"_cp)}),
        LineCase("FileRecordCount", {{18, 24, "000017"}},
                 {Linha(18, " Total de registros do arquivo não confere !!"_cp)}),
        Break{"LoteCountOfTheFileIsNotCompared", {{18, 18, "000005"}}, {}, {}}),
    PrintBreakName);

// ---- Changes of structure.

std::vector<std::string> CleanLines() { return CleanSigcbFile().Lines(); }

testing::ReportChanges ChangesFrom(const std::vector<std::string>& lines, Outcome::Status status) {
  const Validation before = Validate(SIGCBRemessa1Click, CleanLines());
  const Validation after = Validate(SIGCBRemessa1Click, lines);
  EXPECT_EQ(after.status, status) << after.error;
  return testing::Changes(before.report, after.report);
}

TEST(SigcbRemessa240Frame, LineOf239CharactersGetsEveryFieldCheck) {
  std::vector<std::string> lines = CleanLines();
  lines[2].pop_back();  // title A's P loses position 240
  const testing::ReportChanges changes = ChangesFrom(lines, Outcome::Status::Faulty);
  EXPECT_EQ(changes.removed, Texts({kOk}));
  EXPECT_EQ(changes.added, Texts({Rec(3, " com tamanho 239"), PCodes(3, " 42.3P", kLabelA), kFim}));
}

TEST(SigcbRemessa240Frame, RecordOfAnotherTypeBeforeTheTrailer) {
  std::vector<std::string> lines = CleanLines();
  std::string other = lines[16];
  Put(other, 8, "7");
  lines.insert(lines.end() - 1, other);
  const testing::ReportChanges changes = ChangesFrom(lines, Outcome::Status::Faulty);
  EXPECT_TRUE(changes.removed.empty());
  EXPECT_EQ(changes.added, Texts(Lines{Rec(18, " com tipo inválido !!!"_cp),
                                       Linha(19, " Total de registros do arquivo não confere !!"_cp)}));
}

TEST(SigcbRemessa240Frame, MissingFileTrailerLeavesTheLastLoteUncounted) {
  std::vector<std::string> lines = CleanLines();
  lines.pop_back();
  const testing::ReportChanges changes = ChangesFrom(lines, Outcome::Status::Faulty);
  EXPECT_TRUE(changes.removed.empty());
  EXPECT_EQ(changes.added,
            Texts(Lines{"Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 7 encontrado 11",
                        "Existem mais ou menos de um TRAILER FINAL, as informações aqui podem estar incorretas."_cp}));
}

TEST(SigcbRemessa240Frame, TwoFileHeaders) {
  std::vector<std::string> lines = CleanLines();
  lines.insert(lines.begin() + 1, lines[0]);
  const testing::ReportChanges changes = ChangesFrom(lines, Outcome::Status::Faulty);
  EXPECT_TRUE(changes.removed.empty());
  EXPECT_EQ(changes.added,
            Texts(Lines{std::string(40, '=') + " HEADER " + std::string(40, '='),
                        "Cedente centralizador: EMPRESA CENTRALIZADORA LTDA   ", "Tipo de remessa: REMESSA-PRODUCAO",
                        kBanco, kConvenio, kHeaderOk, Linha(19, " Total de registros do arquivo não confere !!"_cp),
                        "Existem mais ou menos de um HEADER, as informações aqui podem estar incorretas."_cp}));
}

TEST(SigcbRemessa240Frame, TwoPsInARowThenAQ) {
  testing::SigcbFile file;
  file.lotes = {{testing::SigcbP("101"), testing::SigcbP("101"), testing::SigcbQ()}};
  const Validation v = Validate(SIGCBRemessa1Click, file.Lines());
  EXPECT_EQ(v.status, Outcome::Status::Faulty);
  EXPECT_EQ(v.report[v.report.size() - 4], Linha(5, " Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp));
  EXPECT_EQ(v.report[v.report.size() - 3], "Total de registros do lote = 5");
  EXPECT_EQ(v.report[v.report.size() - 2], Linha(6, " Total de registros P não é igual aos de Q !!"_cp));
  EXPECT_EQ(v.report.back(), kOk);
}

TEST(SigcbRemessa240Frame, PQQPQ) {
  testing::SigcbFile file;
  file.lotes = {
      {testing::SigcbP("101"), testing::SigcbQ(), testing::SigcbQ(), testing::SigcbP("101"), testing::SigcbQ()}};
  const Validation v = Validate(SIGCBRemessa1Click, file.Lines());
  const std::string divergent{" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp};
  const std::vector<std::string> tail(v.report.end() - 6, v.report.end());
  EXPECT_EQ(tail,
            Texts(Lines{Linha(5, divergent), Linha(6, divergent), Linha(7, divergent), "Total de registros do lote = 7",
                        Linha(8, " Total de registros P não é igual aos de Q !!"_cp), kOk}));
}

TEST(SigcbRemessa240Frame, EmptyFile) {
  const Validation v = Validate(SIGCBRemessa1Click, {});
  EXPECT_EQ(v.status, Outcome::Status::Faulty);
  EXPECT_EQ(
      v.report,
      Texts(Lines{"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp,
                  "Validando arquivo: FILE",
                  "Existem mais ou menos de um HEADER, as informações aqui podem estar incorretas."_cp,
                  "Existem mais ou menos de um TRAILER FINAL, as informações aqui podem estar incorretas."_cp, kOk}));
}

TEST(SigcbRemessa240Frame, NonDigitRecordTypeEndsTheRunWithoutSummary) {
  std::vector<std::string> lines = CleanLines();
  Put(lines[2], 8, "X");
  const Validation v = Validate(SIGCBRemessa1Click, lines);
  EXPECT_EQ(v.status, Outcome::Status::Aborted);
  EXPECT_EQ(v.error, "'X' is not a valid integer value");
  EXPECT_EQ(v.report.back(), kLoteOk) << "the lines of records 1 and 2 stay; no summary";
}

TEST(SigcbRemessa240Frame, NonNumericSequenceEndsTheRun) {
  std::vector<std::string> lines = CleanLines();
  Put(lines[3], 9, "0000A");
  const Validation v = Validate(SIGCBRemessa1Click, lines);
  EXPECT_EQ(v.status, Outcome::Status::Aborted);
  EXPECT_EQ(v.error, "'0000A' is not a valid integer value");
}

// ---- "Valida Parcial" beside "Valida Tudo" on the same records.

struct SideBySide {
  std::string name;
  std::vector<Edit> edits;
  Lines fullRemoved, fullAdded;
  Lines partialRemoved, partialAdded;
};

void PrintTo(const SideBySide& c, std::ostream* os) { *os << c.name; }

class SigcbPartial : public ::testing::TestWithParam<SideBySide> {};

TEST_P(SigcbPartial, DiffersFromFullValidationOnlyWhereItShould) {
  const SideBySide& c = GetParam();
  const std::vector<std::string> clean = CleanLines();
  std::vector<std::string> broken = clean;
  for (const Edit& e : c.edits) Put(broken[e.record - 1], e.pos, e.value);
  const auto changes = [&](Handler handler) {
    return testing::Changes(Validate(handler, clean).report, Validate(handler, broken).report);
  };
  const testing::ReportChanges full = changes(SIGCBRemessa1Click);
  const testing::ReportChanges partial = changes(SIGCBRemessaValidaserros1Click);
  EXPECT_EQ(full.removed, Texts(c.fullRemoved));
  EXPECT_EQ(full.added, Texts(c.fullAdded));
  EXPECT_EQ(partial.removed, Texts(c.partialRemoved));
  EXPECT_EQ(partial.added, Texts(c.partialAdded));
}

INSTANTIATE_TEST_SUITE_P(
    Differences, SigcbPartial,
    ::testing::Values(
        SideBySide{"LoteLayoutVersion",
                   {{2, 14, "045"}},
                   {kLoteOk},
                   {"Versão do Header de Lote deveria ser 060 e está com 045"_cp, LoteCodes(" (06.1 ou 07.1)")},
                   {kLoteOk},
                   {LoteCodes(" (06.1 ou 07.1)")}},
        SideBySide{"InterestDateInvalid",
                   {{7, 119, "32012027"}},
                   {kOk},
                   {PCodes(7, " 28.3P sem data  e no campo 27.3P diz que tem data", kLabelB), kFim},
                   {kOk},
                   {PCodes(7, " 28.3P sem data  e no campo 27.3P diz que tem data 28.3P", kLabelB), kFim}},
        SideBySide{"ExemptWithAmount",
                   {{3, 127, "000000000000001"}},
                   {kOk},
                   {PCodes(3, " 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp, kLabelA), kFim},
                   {},
                   {}},
        SideBySide{"ExemptWithValidDate",
                   {{3, 119, "16012027"}},
                   {kOk},
                   {PCodes(3, " 28.3P tem data e no campo 27.3P diz que é isento"_cp, kLabelA), kFim},
                   {},
                   {}},
        SideBySide{"ExemptWithInvalidDate",
                   {{3, 119, "32012027"}},
                   {kOk},
                   {PCodes(3, " 28.3P tem data e no campo 27.3P diz que é isento"_cp, kLabelA), kFim},
                   {kOk},
                   {PCodes(3, " 28.3P", kLabelA), kFim}},
        SideBySide{"TitleAmountNotNumeric",
                   {{3, 86, "00000000001000X"}},
                   {kOk},
                   {PCodes(3, " 21.3P  Este campo deve ser numérico"_cp, kLabelA), kFim},
                   {kOk},
                   {PCodes(3, " 21.3P 21.3P  Este campo deve ser numérico"_cp, kLabelA), kFim}},
        SideBySide{
            "Field35_3P", {{3, 196, "DOC00000009"}}, {kOk}, {PCodes(3, kSeuNumDivergente, kLabelA), kFim}, {}, {}},
        SideBySide{"PrintKind",
                   {{6, 18, "7"}},
                   {},
                   {Linha(6, kTipoImpressao), Rec(6, " 08.3S deveria ser 1, 2 ou 3!!!")},
                   {},
                   {}}),
    [](const ::testing::TestParamInfo<SideBySide>& info) { return info.param.name; });

TEST(SigcbPartial, SummaryCountsEachSegmentKind) {
  std::vector<std::string> lines = CleanLines();
  lines.pop_back();  // no file trailer: the last lote is never added to the total
  const Validation full = Validate(SIGCBRemessa1Click, lines);
  const Validation partial = Validate(SIGCBRemessaValidaserros1Click, lines);
  ASSERT_GE(full.report.size(), 3u);
  ASSERT_GE(partial.report.size(), 3u);
  EXPECT_EQ(full.report[full.report.size() - 3],
            "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 7 encontrado 11");
  EXPECT_EQ(partial.report[partial.report.size() - 3],
            "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 7 encontrado tipo P -> 4 tipo Q -> 4 "
            "tipo R -> 2 tipo S -> 1");
}

}  // namespace
}  // namespace verilote
