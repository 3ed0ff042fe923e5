// The readers on files written as the bank writes them, departures from its
// manuals included: each is read, and what departs is remarked.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "returns/return_file.hpp"
#include "returns/return_files.hpp"

namespace verilote::testing {
namespace {

using returns::ReturnKind;

const std::string kZero15(15, '0');

std::vector<std::string> Liquidation() {
  return {Header240(),
          LoteHeader240(),
          T("06", "14000000000000124", "DOC2", "000000000008000", "000000000000150", "020101"),
          U("06", "000000000008000", "000000000007850", "06012014", "07012014"),
          Trailer240('5', "000004"),
          Trailer240('9', "000006")};
}

TEST(ReturnReading, TitleOfATUPairInTheLayoutsWords) {
  const Reading r = Read(Joined(Liquidation(), "\r\n"), ReturnKind::Sigcb240Retorno);
  ASSERT_EQ(r.titles.size(), 1u);
  const returns::ReturnTitle& t = r.titles[0];
  EXPECT_EQ(t.record, 3u);
  EXPECT_EQ(t.uRecord, 4u);
  EXPECT_EQ(t.nossoNumero, "14000000000000124");
  EXPECT_EQ(t.seuNumero, "DOC2");
  EXPECT_EQ(t.movimento, "06");
  // Its amounts and dates: the same pair's in the retorno command's JSON.
  // C047 for a liquidation: channel 02 (casa lot\u00E9rica), form 01 (dinheiro), float of 1 day.
  ASSERT_EQ(t.motiveCount, 3u);
  EXPECT_EQ(t.motives[0].code, "02");
  EXPECT_EQ(t.motives[1].code, "01");
  EXPECT_EQ(ToUtf8(t.motives[2].text), "float de 1 dia(s)");
  EXPECT_FALSE(t.rejected);
  EXPECT_TRUE(r.remarks.empty());
  ASSERT_EQ(r.headers.size(), 1u);
  EXPECT_EQ(r.headers[0].beneficiario, "123456");
  EXPECT_EQ(r.headers[0].nsa, "000123");
}

// Each way the bank's real files depart from the manual: the title is still
// read, and the remark says what departed.
TEST(ReturnReading, DeparturesOfRealFilesAreReadAndRemarked) {
  struct Case {
    const char* name;
    std::vector<std::string> records;
    std::string end;
    std::string remark;  // empty: none
  };
  std::vector<std::string> lf = Liquidation();
  std::vector<std::string> wide = Liquidation();
  wide[2] += ' ';  // a 241-byte record, edited by hand
  std::vector<std::string> loteZero = Liquidation();
  loteZero[1].replace(3, 4, "0000");
  std::vector<std::string> v047 = Liquidation();
  v047[0].replace(163, 3, "047");
  const Case cases[] = {
      {"LF line ends", lf, "\n", ""},
      {"CR LF line ends", lf, "\r\n", ""},
      {"241-byte record", wide, "\r\n",
       "registro de 241 posi\u00E7\u00F5es (o leiaute tem 240): lido at\u00E9 a posi\u00E7\u00E3o 240"},
      {"lote 0000", loteZero, "\r\n",
       "lote de servi\u00E7o \"0000\" (posi\u00E7\u00F5es 4-7; o manual come\u00E7a em 0001): aceito"},
      {"version 047", v047, "\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Reading r = Read(Joined(c.records, c.end), ReturnKind::Sigcb240Retorno);
    ASSERT_EQ(r.titles.size(), 1u);
    if (c.remark.empty()) {
      EXPECT_TRUE(r.remarks.empty()) << r.remarks[0].second;
    } else {
      ASSERT_FALSE(r.remarks.empty());
      EXPECT_EQ(r.remarks[0].second, c.remark);
    }
  }
}

// The bank leaves a tariff record's amounts blank, which departs from the manual.
TEST(ReturnReading, TariffRecordHasNoNossoNumeroAndItsMotiveFromTableB) {
  std::vector<std::string> records = Liquidation();
  records[2] = T("28", "                 ", "           ", "               ", "000000000000250", "20");
  records[3] = U("28", "               ", kZero15, "06012014", "00000000");
  const Reading r = Read(Joined(records, "\r\n"), ReturnKind::Sigcb240Retorno);
  ASSERT_EQ(r.titles.size(), 1u);
  ASSERT_FALSE(r.remarks.empty());
  EXPECT_EQ(r.remarks[0].second,
            "valor do t\u00EDtulo (posi\u00E7\u00F5es 82-96) em branco, como o banco escreve nos registros de tarifa: "
            "lido como zero");
  EXPECT_EQ(r.titles[0].nossoNumero, "");
  EXPECT_EQ(r.titles[0].tarifa, 250);
  ASSERT_EQ(r.titles[0].motiveCount, 1u);
  EXPECT_EQ(ToUtf8(r.titles[0].motives[0].text), "Emiss\u00E3o de Boleto Padr\u00E3o CAIXA");
}

TEST(ReturnReading, UnknownCodesAreShownNeverDropped) {
  std::vector<std::string> records = Liquidation();
  records[2] = T("77", "14000000000000124", "DOC2", kZero15, kZero15, "");
  records[3] = U("77", kZero15, kZero15, "06012014", "00000000");
  const Reading r = Read(Joined(records, "\r\n"), ReturnKind::Sigcb240Retorno);
  ASSERT_EQ(r.titles.size(), 1u);
  EXPECT_EQ(ToUtf8(r.titles[0].movimentoTexto), "c\u00F3digo 77 n\u00E3o consta da tabela");
}

// A record cut short or garbled gets its line; the records after it are read.
TEST(ReturnReading, GarbledRecordIsRemarkedAndTheRestRead) {
  std::vector<std::string> records = Liquidation();
  records.insert(records.begin() + 2, std::string("\x01\x02garbage", 9));
  records.insert(records.begin() + 5, T("02", "14000000000000125", "DOC3", kZero15, kZero15, "").substr(0, 60));
  const Reading r = Read(Joined(records, "\r\n"), ReturnKind::Sigcb240Retorno);
  ASSERT_EQ(r.titles.size(), 2u);
  EXPECT_EQ(r.titles[0].valorPago, 8000);
  EXPECT_EQ(r.titles[1].nossoNumero, "14000000000000125");
  EXPECT_EQ(r.titles[1].valorTitulo, std::nullopt);  // its positions 82-96 are past its end
  std::vector<std::uint64_t> remarked;
  for (const auto& [record, text] : r.remarks) remarked.push_back(record);
  EXPECT_EQ(remarked.front(), 3u);
  EXPECT_NE(std::find(remarked.begin(), remarked.end(), 6u), remarked.end());
}

// A return cut short on its way (no file trailer) is read as far as it goes,
// and the user told it may not be whole; with its trailer, nothing is said.
TEST(ReturnReading, AFileCutBeforeItsTrailerIsSaidSo) {
  const std::string kCut = "o arquivo termina sem o trailer de arquivo (registro tipo 9): pode estar incompleto";
  std::vector<std::string> records = Liquidation();
  records.pop_back();
  const Reading cut = Read(Joined(records, "\r\n"), ReturnKind::Sigcb240Retorno);
  ASSERT_EQ(cut.titles.size(), 1u);
  ASSERT_EQ(cut.remarks.size(), 1u);
  EXPECT_EQ(cut.remarks[0], std::make_pair(std::uint64_t{5}, kCut));
  EXPECT_TRUE(Read(Joined(Liquidation(), "\r\n"), ReturnKind::Sigcb240Retorno).remarks.empty());
}

TEST(ReturnReading, NoMemoryForALineWithoutEnd) {
  const std::string junk(3 << 20, '\x7f');
  const Reading r = Read(junk, ReturnKind::Sigcb240Retorno);
  EXPECT_TRUE(r.titles.empty());
  ASSERT_FALSE(r.remarks.empty());
}

// The CNAB 400 return: version blank (before the 7-digit codes) or "007",
// and a record edited by hand to 405 bytes, all read alike.
TEST(ReturnReading, Cnab400ReturnOfEitherVersion) {
  const std::string liquidation = Record(400, {{1, "10212345678000199000110000110"},
                                               {57, "14000000000000124"},
                                               {107, "0121060114DOC2"},
                                               {147, "310114000000000800010401234010000000000150004106"},
                                               {215, std::string(78, '0')},
                                               {254, "0000000008000"},
                                               {267, "0000000000100"},
                                               {280, "0000000000160"},
                                               {293, "1070114"},
                                               {395, "000002"}});
  const std::string rejection = Record(400, {{1, "1021234567800019900011000011"},
                                             {57, "14000000000000125"},
                                             {80, "044"},
                                             {107, "0199060114DOC3"},
                                             {395, "000003"}});
  for (const std::string_view version : {"   ", "007"}) {
    SCOPED_TRACE(version);
    const std::string header = Record(400, {{1, "02RETORNO01COBRANCA"},
                                            {27, "12341100001"},
                                            {77, "104"},
                                            {95, "060114"},
                                            {159, version},
                                            {390, "00012000001"}});
    const Reading r = Read(Joined({header, liquidation + "     ", rejection, Record(400, {{1, "9201104"}})}, "\r\n"),
                           ReturnKind::Sigcb400Retorno);
    ASSERT_EQ(r.titles.size(), 2u);
    const returns::ReturnTitle& paid = r.titles[0];
    EXPECT_EQ(paid.nossoNumero, "14000000000000124");
    EXPECT_EQ(paid.seuNumero, "DOC2");
    EXPECT_EQ(paid.movimento, "21");
    EXPECT_EQ(paid.valorTitulo, 8000);
    EXPECT_EQ(paid.tarifa, 150);
    EXPECT_EQ(paid.valorPago, 8000);
    EXPECT_EQ(paid.juros, 260);                  // interest 1,00 and fine 1,60
    EXPECT_EQ(paid.valorLiquido, std::nullopt);  // the layout writes no net amount
    EXPECT_EQ(paid.dataCredito, (CivilDate{2014, 1, 7}));
    ASSERT_EQ(paid.motiveCount, 2u);  // channel 004 and form 1 (NE035, NE036)
    EXPECT_EQ(paid.motives[0].code, "004");
    EXPECT_EQ(paid.motives[1].code, "1");
    EXPECT_TRUE(r.titles[1].rejected);
    ASSERT_EQ(r.titles[1].motiveCount, 1u);
    EXPECT_EQ(r.titles[1].motives[0].code, "044");
    EXPECT_EQ(r.headers[0].beneficiario, "1100001");
    ASSERT_EQ(r.remarks.size(), 1u);
    EXPECT_EQ(r.remarks[0].second,
              "registro de 405 posi\u00E7\u00F5es (o leiaute tem 400): lido at\u00E9 a posi\u00E7\u00E3o 400");
  }
}

TEST(ReturnReading, Cnab400PreValidationNamesTheRemittancesRecords) {
  const std::string header =
      Record(400, {{1, "01REMESSA01REMES REJEITADA"},
                   {77, "104"},
                   {101, "REMESSA REJEITADA - 06/01/14 AS 10.15.00ERROS ENCONTRADOS: REG.TIPO 0 - 12.11"}});
  const std::string detail = Record(400, {{1, "1"}, {30, "26"}, {74, "27"}, {395, "000004"}});
  const Reading r =
      Read(Joined({header, detail, Record(400, {{1, "9"}, {395, "999999"}})}, "\n"), ReturnKind::Sigcb400Precritica);
  ASSERT_EQ(r.errors.size(), 4u);
  EXPECT_EQ(r.errors[0].remessaRecord, 1u);
  EXPECT_EQ(r.errors[0].erro, "12");
  EXPECT_EQ(r.errors[1].erro, "11");
  EXPECT_EQ(r.errors[2].remessaRecord, 4u);
  EXPECT_EQ(r.errors[2].erro, "26");
  EXPECT_EQ(r.errors[3].erro, "27");
  // NE038 26, the due date: positions 121-126 of the remittance's title record.
  EXPECT_EQ(r.errors[2].from, 121u);
  EXPECT_EQ(r.errors[2].to, 126u);
}

TEST(ReturnDetection, ReturnsAndRemittancesNeverConfused) {
  const std::string lote = LoteHeader240();
  std::string payments = lote;
  payments[8] = 'C';  // a SIACC payments lote
  std::string w = Record(240, {{1, "10400003"}, {14, "W"}});
  std::string remittance400 = Record(400, {{1, "01REMESSA01COBRANCA"}, {77, "104"}});
  std::string precritica400 = Record(400, {{1, "01REMESSA01REMES REJEITADA"}, {77, "104"}});
  std::string return400 = Record(400, {{1, "02RETORNO01COBRANCA"}, {77, "104"}});
  struct Case {
    const char* name;
    std::string first, second;
    std::optional<ReturnKind> kind;
  };
  const Case cases[] = {
      {"remittance", Header240('1', "101", ""), lote, std::nullopt},
      {"return", Header240(), lote, ReturnKind::Sigcb240Retorno},
      {"payments return", Header240(), payments, std::nullopt},
      {"pre-validation 5", Header240('5', "050", ""), lote, ReturnKind::Sigcb240Precritica},
      {"pre-validation 2 by its literal", Header240('2', "101", "RET PRE CRI-PRODUCAO"), lote,
       ReturnKind::Sigcb240Precritica},
      {"pre-validation 2 by its W segment", Header240('2', "101", ""), w, ReturnKind::Sigcb240Precritica},
      {"hand-edited 241 bytes", Header240() + " ", lote, ReturnKind::Sigcb240Retorno},
      {"400 remittance", remittance400, "", std::nullopt},
      {"400 return", return400, "", ReturnKind::Sigcb400Retorno},
      {"400 pre-validation", precritica400, "", ReturnKind::Sigcb400Precritica},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(returns::ReturnKindOf(c.first, c.second), c.kind);
  }
}

}  // namespace
}  // namespace verilote::testing
