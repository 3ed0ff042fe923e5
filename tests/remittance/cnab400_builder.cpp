#include "remittance/cnab400_builder.hpp"

#include <filesystem>

namespace verilote::testing {

namespace {

const std::string kZeros(58, '0'), kBlank(400, ' ');
std::string_view Z(std::size_t n) { return std::string_view(kZeros).substr(0, n); }
constexpr std::string_view kCpf = "11144477735", kCnpj = "11222333000181";

std::string With(std::string rec, std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
  for (const auto& [pos, value] : fields) Put(rec, pos, value);
  return rec;
}

// clang-format off
// Positions 109-400 of a title, alike in both layouts: due 15/01/2027, 100,00,
// bank 104, issued 01/12/2026, protest after 2 days, fine date 16/01/2027.
const std::string kTitle = With(kBlank, {{1, "1"}, {109, "01DOC0000001150127000000001000010400000"},
    {148, "01N0112260100"}, {161, Z(58)}, {219, "01000"}, {224, kPayerCpf}, {235, "JOSE DA SILVA"},
    {275, "RUA DAS FLORES 100"}, {315, "CENTRO"}, {327, "70000000BRASILIA"}, {350, "DF160127"}, {358, Z(10)},
    {390, "00021000002"}});

// Title B from A: discount date 10/01/2027, return after 90 days.
std::string TitleB(const std::string& a) {
  return With(a, {{2, "02"}, {4, kCnpj}, {157, "02"}, {174, "100127"}, {219, "02"}, {221, kAlphanumericCnpj},
                  {392, "90"}, {395, "000004"}});
}

std::vector<std::string> File(std::string header, const std::string& a, std::string second, std::string b) {
  return {With(header, {{1, "01REMESSA01COBRANCA"}, {47, "EMPRESA CEDENTE LTDA"}, {77, "104C ECON FEDERAL"},
                        {95, "061226"}, {390, "00001000001"}}),
          a, With(second, {{1, "2"}, {395, "000003"}}), b, With(kBlank, {{1, "9"}, {395, "000005"}})};
}

}  // namespace

std::vector<std::string> CleanSigcb400(std::string_view version) {
  const bool v007 = version == "007";
  // Title A: 04.1 and 05.1 (18-27), 06.1-09.1 "1000", 11.1 "00", 13B.1 "0", carteira 01.
  const std::string a = With(kTitle, {{2, "01000"}, {7, kCpf}, {18, v007 ? "0001234567" : "1234123456"},
                                      {28, "1000TITULO A"}, {57, Z(17)}, {84, "0"}, {107, "01"}});
  // B: a value of kind "14" (57-73), 13B.1 "1" with its date 05/01/2027.
  return File(With(kBlank, {{27, v007 ? "12341234567" : "1234123456"}, {101, version}}), a,
              With(kBlank, {{2, "01000"}, {7, kCpf}, {18, "1234123456"}, {57, Z(17)}, {107, "0101"},
                            {140, "104PAGAVEL EM QUALQUER AGENCIA"}}),
              TitleB(With(a, {{57, "14000000000000100"}, {78, "0501271"}})));
}

std::vector<std::string> CleanSicob400() {
  // Account 1234 870 00012345: weights 8,7,6,5,4,3,2,9,8,... give 163, 1630
  // mod 11 = 2. Nosso Número 9000000001: 9x3 + 1x2 = 29, 29 mod 11 = 7, 11 -
  // 7 = 4 (carteira 12); 3000000002: 3x3 + 2x2 = 13, 11 - 2 = 9 (carteira 11).
  const std::string account = "1234870000123452";
  const std::string a =
      With(kTitle, {{2, "01000"}, {7, kCpf}, {18, account}, {36, "00TITULO A"}, {63, "90000000014"}, {107, "12"}});
  return File(With(kBlank, {{27, account}}), a,
              With(kBlank, {{2, "PAGAVEL EM QUALQUER AGENCIA (ATE 15/01/2027): 5% DE DESCONTO"}}),
              TitleB(With(a, {{63, "30000000029"}, {107, "11"}})));
}
// clang-format on

Validation Validate400(Handler handler, const std::vector<std::string>& lines) {
  Validation v = Validate(handler, lines);
  for (std::string& line : v.report)
    if (line.starts_with("Validando arquivo ") && std::filesystem::path(line.substr(18)).is_absolute())
      line = "Validando arquivo FILE";
  return v;
}

}  // namespace verilote::testing
