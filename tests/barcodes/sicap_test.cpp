#include "barcodes/sicap.hpp"

#include "barcodes/boleto_builder.hpp"

namespace verilote {
namespace {

const std::string kHyphens(44, '-');
const Lines kHeader = L({"Esta validação não pode ser utilizada como única fonte para conferência"_cp,
                         "Verifique os dados, conferindo com o Documento.", kHyphens});

// Value 123,45, FEBRABAN code 0123, due date 30/06/2015 at 20-27, then 17
// digits of the agreement's own.
std::string Document(char segment = '1', char id = '6', std::string_view at16 = "0123",
                     std::string_view date = "20150630") {
  return Collection(segment, id, Cat("00000012345", at16, date, "12345678901234567"));
}

// The report but its last line, the four-block display (its digits are
// checked against typed ones with the other collection commands).
Lines OneDocument(const std::string& b, Outcome::Status expected) {
  const FakeHost host = Execute(Umdocumento1Click, {b}, expected);
  EXPECT_TRUE(host.messages.empty());
  return Slice(host.report, 0, -1);
}

Lines Expected(const Lines& middle, std::string_view dvLine) {
  Lines lines = kHeader;
  lines.insert(lines.end(), middle.begin(), middle.end());
  lines.emplace_back(dvLine);
  lines.emplace_back("Verifique os dígitos de cada seguimento abaixo: "_cp);
  return lines;
}

constexpr std::string_view kDvOk = "Dígito geral OK"_cp;
constexpr std::string_view kDvBad = "Atenção: O dígito geral da barra está inválida"_cp;

TEST(SicapOneDocument, ValidDocumentOfEachKind) {
  const std::string_view value = "Valor R$ 123,45", free = "Campo Livre: 2015063012345678901234567";
  // clang-format off
  // middle: the lines between the header and the digit line.
  const struct { std::string barcode; Lines middle; } cases[] = {
      {Document('1', '6'), L({"1-Segmento PREFEITURA", "6-Moeda fixa", value, "Código FEBRABAN: 1 0 0123"_cp, free})},
      // Value identifiers 8 and 9 carry a modulo-11 digit (8 in the collection tests).
      {Document('2', '9'), L({"2-Segmento SANEAMENTO", "9-Moeda variável"_cp, value, "Código FEBRABAN: 2 0 0123"_cp,
                              free})},
      {Document('6', '6', "1234"), L({"6-Segmento CARNÊS E ASSEMELHADOS"_cp, "6-Moeda fixa", value, "CNPJ: 12342015",
                                      "Campo Livre: 063012345678901234567"})},
      {Document('9', '6', "0104"), L({"9-Segmento CONVÊNIO PARA RECEBIMENTO EXCLUSIVO CAIXA"_cp, "6-Moeda fixa", value,
                                      "Banco OK", "Código gerado pelo SICAP 2015"_cp,
                                      "Campo Livre: 063012345678901234567"})}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(OneDocument(c.barcode, kRunClean), Expected(c.middle, kDvOk));
}

TEST(SicapOneDocument, Findings) {
  const std::string segment8 = Document('8', '6');
  EXPECT_EQ(OneDocument(segment8, kRunFaulty),
            Expected(L({"8-Segmento inválido"_cp, "6-Moeda fixa", "Valor R$ 123,45"}), kDvOk));
  const struct {
    std::string barcode;
    std::size_t at;
    std::string_view line;
  } cases[] = {{Redigit(With(Document(), 1, "7")), 3,
                "Atenção: O primeiro algarismo da barra está errado, deveria ser 8 e contém 7"_cp},
               {Document('9', '6', "0237"), 6, "Erro, o banco não é 0104, nesta posição tem 0237"_cp},
               {Document('1', '5'), 4, "0-Moeda inválida"_cp},
               {With(Document(), 4, Other(Document()[3])), 8, kDvBad}};
  for (const auto& c : cases) EXPECT_EQ(OneDocument(c.barcode, kRunFaulty).at(c.at), c.line) << c.barcode;
}

// ---- Typed data.

TEST(SicapTypedData, FortyEightDigitsAreTheFourBlocks) {
  // Each block of 11 followed by its digit.
  const std::string typed = "856900000006250000673120345200805009001234567897";
  const std::string b = "85690000000250000673123452008050000123456789";
  // The typed block digits (12, 24, 36, 48) are not checked.
  for (const std::string& t : {typed, With(With(typed, 12, '0'), 48, '0')})
    EXPECT_EQ(Execute(Digitandoosdados1Click, {t}, kRunClean).report,
              Execute(Umdocumento1Click, {b}, kRunClean).report);
  for (const std::string& t : {typed.substr(0, 47), typed + "1"}) {
    const FakeHost host = Execute(Digitandoosdados1Click, {t}, kRunFaulty);
    EXPECT_TRUE(host.report.empty());
    EXPECT_EQ(host.messages, Lines{Cat("Erro: Digite 48 algarismos. Foi digitado ", t.size(), " algarismos.")});
  }
}

// ---- Several documents.

// The fixed lines of the report: the count, the first and the last; the lines
// drawn from the documents in full.
TEST(SicapSeveral, TwoDocuments) {
  const std::string first = Document('1', '6');
  const std::string second = Document('1', '7');
  const Lines r = Execute(VriosDocumentos1Click, {"2", "0123", first, second}, kRunClean).report;
  ASSERT_EQ(r.size(), 19u);
  EXPECT_EQ(r[0], kHeader[0]);
  EXPECT_EQ(r[3], "1-Segmento PREFEITURA 7-Moeda variável    Código FEBRABAN: 1 0 0123"_cp);
  EXPECT_EQ(Slice(r, 6, 8), L({first, second}));
  EXPECT_EQ(r[10], "Documento:02 com moeda diferente de Real R$, confirme.");
  EXPECT_EQ(Slice(r, 17, 19), L({"30/06/2015  Valor R$ 123,45", "30/06/2015  Valor R$ 123,45"}));
}

}  // namespace
}  // namespace verilote
