// The W field map: codes as a pre-validation return writes them point at
// the positions and names of the CNAB 240 manual's remittance records; each
// record's fields lie inside its 240 positions without overlapping.
#include "returns/w_field_map.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/cp1252.hpp"

namespace verilote::returns {
namespace {

// A remittance record of the given segment with `content` from position 16.
std::string Record(char segment, std::string_view content) {
  std::string record = "1040001300001";
  record += segment;
  record += ' ';
  record += content;
  record.resize(240, ' ');
  return record;
}

TEST(WFieldMap, CodesPointAtTheManualsFields) {
  struct Case {
    std::string_view code;
    std::string_view record;
    std::size_t from, to;
    std::string_view name;
  };
  const std::string receiptS = Record('S', "013"), linesS = Record('S', "011");
  const std::string payerBankQ = Record('Q', "36"), y08 = Record('Y', "0108"), y50 = Record('Y', "0150");
  const std::string personalisedY = Record('Y', "0112");
  // clang-format off
  const Case cases[] = {
      {"19.0", "", 158, 163, "Número Sequencial do Arquivo"_cp},
      {"18.0", "", 152, 157, "Hora de Geração do Arquivo"_cp},
      {"180 ", "", 152, 157, "Hora de Geração do Arquivo"_cp},
      {"14.0", "", 103, 132, "Nome do Banco"},
      {"20.1", "", 184, 191, "Número da Remessa"_cp},
      {"11.1", "", 34, 39, "Código do Beneficiário"_cp},
      {"013P", "", 1, 3, "Código do Banco"_cp},
      {"133P", "", 40, 57, "Nosso Número (modalidade da carteira e identificação do título no banco)"_cp},
      {"13.3P", "", 40, 57, "Nosso Número (modalidade da carteira e identificação do título no banco)"_cp},
      {"203P", "", 78, 85, "Data de Vencimento do Título"_cp},
      {"423P", "", 240, 240, "Autorização de pagamento parcial e/ou divergente"_cp},
      {"133Q", "", 129, 133, "CEP do Pagador"},
      {"183Q", "", 155, 169, "Número de Inscrição do Sacador/Avalista"_cp},
      {"183Q", payerBankQ, 157, 176, "Nome do Banco de Pagadores"},
      {"163R", "", 75, 89, "Valor/Percentual a Ser Aplicado"},
      {"103S", linesS, 21, 160, "Mensagem a ser Impressa"},
      {"103S", receiptS, 59, 98, "Mensagem 6"},
      {"083Y", personalisedY, 18, 19, "Identificação Registro Opcional"_cp},
      {"143Y", y08, 205, 207, "Código do Erro"_cp},
      {"143Y", y50, 40, 56, "Nosso Número (modalidade e identificação do título no banco)"_cp},
      {"05.5", "", 18, 23, "Quantidade de Registros no Lote"},
      {"06.9", "", 24, 29, "Quantidade de Registros do Arquivo"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const WFieldRef* field = FindWField240(c.code, c.record);
    ASSERT_NE(field, nullptr) << c.code;
    EXPECT_EQ(field->from, c.from) << c.code;
    EXPECT_EQ(field->to, c.to) << c.code;
    EXPECT_EQ(field->name, c.name) << c.code;
  }
  // Grave errors name no field; nor do numbers the manual lacks, a
  // personalised Y's model fields, or bytes that are no code.
  for (const std::string_view code : {"0000", "26.0", "433P", "093Y", "13.3", "1P", "", "\xFF\xFF\xFF\xFF", "AB.0"})
    EXPECT_EQ(FindWField240(code, code == "093Y" ? std::string_view(personalisedY) : ""), nullptr) << code;
}

// A real pre-validation file named the NSA "18.0" when refusing its number;
// by the manual 18.0 is the generation time, which stays so for other errors.
TEST(WFieldMap, TheBanksRenumberedNsaIsResolvedByItsError) {
  for (const std::string_view error : {"79", "87", "88"}) {
    const WFieldMatch match = ResolveWField240("18.0", error);
    ASSERT_NE(match.field, nullptr);
    EXPECT_EQ(match.field->from, 158u);
    EXPECT_TRUE(match.renumbered);
  }
  const WFieldMatch time = ResolveWField240("18.0", "78");
  ASSERT_NE(time.field, nullptr);
  EXPECT_EQ(time.field->from, 152u);
  EXPECT_FALSE(time.renumbered);
  EXPECT_EQ(ResolveWField240("19.0", "88").field->from, 158u);
  EXPECT_EQ(ResolveWField240("0000", "74").field, nullptr);
}

// Each record (each variant with its common fields) numbers its fields once,
// inside 1..240, in ascending order of position, without overlapping.
TEST(WFieldMap, EveryRecordsFieldsFitItsPositions) {
  const auto groups = WFieldGroups240();
  ASSERT_FALSE(groups.empty());
  std::size_t fields = 0;
  for (const WFieldGroup& group : groups) {
    std::vector<const WFieldRef*> record;
    for (const WFieldGroup& other : groups)
      if (other.recordType == group.recordType && other.segment == group.segment && other.variant.empty())
        for (const WFieldRef& field : other.fields) record.push_back(&field);
    if (!group.variant.empty())
      for (const WFieldRef& field : group.fields) record.push_back(&field);
    std::set<std::string_view> codes;
    std::size_t end = 0;
    for (const WFieldRef* field : record) {
      const std::string where = std::string(field->code) + " " + std::string(group.variant);
      EXPECT_TRUE(codes.insert(field->code).second) << where;
      EXPECT_GE(field->from, 1u) << where;
      EXPECT_LE(field->from, field->to) << where;
      EXPECT_LE(field->to, 240u) << where;
      EXPECT_GT(field->from, end) << where << " overlaps or precedes the field before it";
      end = field->to;
      EXPECT_EQ(field->recordType, group.recordType) << where;
      EXPECT_EQ(field->segment, group.segment) << where;
      EXPECT_FALSE(field->name.empty()) << where;
    }
    fields += group.fields.size();
  }
  EXPECT_GT(fields, 200u);
}

TEST(WFieldMap, Cnab400ErrorsNameTheirField) {
  struct Case {
    std::string_view error;
    char recordType;
    std::size_t from, to;
    std::string_view name;
  };
  const Case cases[] = {
      {"12", '0', 390, 394, "Número Sequencial do Arquivo Remessa"_cp},
      {"09", '0', 77, 79, "Código do Banco na Compensação"_cp},
      {"26", '1', 121, 126, "Data de Vencimento do Título"_cp},
      {"44", '1', 327, 334, "CEP do Pagador"},
      {"19", '9', 395, 400, "Número Sequencial do Registro no Arquivo"_cp},
  };
  for (const Case& c : cases) {
    const Error400FieldRef* field = FindErrorField400(c.error, c.recordType);
    ASSERT_NE(field, nullptr) << c.error;
    EXPECT_EQ(field->from, c.from) << c.error;
    EXPECT_EQ(field->to, c.to) << c.error;
    EXPECT_EQ(field->name, c.name) << c.error;
  }
  EXPECT_EQ(FindErrorField400("01", '0'), nullptr);  // no header at all: no field
  EXPECT_EQ(FindErrorField400("26", '0'), nullptr);  // a due date is no header field
}

}  // namespace
}  // namespace verilote::returns
