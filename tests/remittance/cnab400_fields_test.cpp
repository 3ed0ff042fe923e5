// The field dictionaries of the CNAB 400 remittances (SIGCB and SICOB) and the
// fields their findings name.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb400.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

TEST(Cnab400Fields, EveryBrokenByteIsNamedByItsFindings) {
  const struct {
    Handler handler;
    const LayoutFields& fields;
    std::vector<std::string> file;
  } cases[] = {
      {SIGCBRemessa400ValidaTudo1Click, kSigcb400Fields, testing::CleanSigcb400("   ")},
      {SIGCBRemessa400ValidaTudo1Click, kSigcb400Fields, testing::CleanSigcb400("007")},
      {CobranaRemessapadro4001Click, kSicob400Fields, testing::CleanSicob400()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(testing::UncoveredSameKind(c.handler, c.fields, testing::CrLfFile(c.file)), std::vector<std::string>{});
}

TEST(Cnab400Fields, FindingsResolveToTheirFields) {
  std::vector<std::string> sigcb = testing::CleanSigcb400("   "), sicob = testing::CleanSicob400();
  const std::string cpfDigits = sigcb[1].substr(15, 2), accountDigit = sicob[1].substr(32, 1);
  sigcb[1][16] = sigcb[1][16] == '0' ? '1' : '0';  // the company's CPF, field 03.1
  sicob[1][32] = sicob[1][32] == '0' ? '1' : '0';  // the account's digit at 33
  const auto first = [](Handler handler, const std::vector<std::string>& file) {
    const std::vector<testing::SeenFinding> findings = testing::FindingsOf(handler, testing::CrLfFile(file));
    EXPECT_EQ(findings.size(), 1u);
    return findings.empty() ? testing::SeenFinding{} : findings[0];
  };
  const testing::SeenFinding cpf = first(SIGCBRemessa400ValidaTudo1Click, sigcb);
  const std::vector<ResolvedField> cpfFields = ResolveFields({cpf.line, cpf.record, cpf.rec, cpf.kind, cpf.fields});
  ASSERT_EQ(cpfFields.size(), 2u);
  EXPECT_EQ(cpfFields[0].code, "03.1");
  EXPECT_EQ(cpfFields[0].expected, Cat("CPF com dígitos "_cp, cpfDigits));
  EXPECT_EQ(cpfFields[1].code, "02.1");
  const testing::SeenFinding dv = first(CobranaRemessapadro4001Click, sicob);
  const std::vector<ResolvedField> dvFields = ResolveFields({dv.line, dv.record, dv.rec, dv.kind, dv.fields});
  ASSERT_EQ(dvFields.size(), 4u);
  EXPECT_EQ(dvFields[0].code, "33");
  EXPECT_EQ(dvFields[0].expected, Cat("dígito "_cp, accountDigit));
  EXPECT_EQ(dvFields[1].code, "18-21");
}

}  // namespace
}  // namespace verilote
