#include "remittance/sigcb240_builder.hpp"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/cp1252.hpp"
#include "app/report.hpp"

namespace verilote::testing {

namespace {

constexpr std::string_view kCedenteCnpj = "11222333000181";

using Fields = std::initializer_list<std::pair<std::size_t, std::string_view>>;

// A record of 240 blanks with `fields` put in, then `more` over them.
std::string Record(Fields fields, Fields more = {}) {
  std::string r(240, ' ');
  for (const auto& [pos, value] : fields) Put(r, pos, value);
  for (const auto& [pos, value] : more) Put(r, pos, value);
  return r;
}

std::string Zeros(std::size_t n) { return std::string(n, '0'); }

std::string Digits(std::size_t value, std::size_t width) {
  const std::string text = std::to_string(value);
  return std::string(width - text.size(), '0') + text;
}

// Cedente code: six digits in layout 101, seven in layout 107, then zeros.
std::string_view Cedente(std::string_view layout) { return layout == "107" ? "1234567" : "123456"; }
std::string CedenteAndZeros(std::string_view layout, std::size_t width) {
  return std::string(Cedente(layout)) + Zeros(width - Cedente(layout).size());
}

// Agency 1234: weights 5,4,3,2 give 1x5+2x4+3x3+4x2 = 30; 30 mod 11 = 8, 11 - 8 = 3.
// clang-format off
std::string SigcbFileHeader(std::string_view layout) {
  return Record({{1, "10400000"}, {18, "2"}, {19, kCedenteCnpj}, {33, Zeros(21)}, {54, "12343"},
                 {59, CedenteAndZeros(layout, 14)}, {73, "EMPRESA CENTRALIZADORA LTDA"},
                 {103, "CAIXA ECONOMICA FEDERAL"}, {143, "106122026120000000123"}, {164, layout}, {167, "00000"},
                 {192, "REMESSA-PRODUCAO"}});
}

std::string SigcbLoteHeader(std::string_view layout, std::string_view cnpj) {
  // Layout 107: cedente 34-40 and zeros 41-53, field 14.1 zeros; 101:
  // cedente 34-39, zeros 40-53, field 14.1 repeats the cedente.
  const std::string field14 = layout == "107" ? Zeros(6) : std::string(Cedente(layout));
  return Record({{1, "10400001R0100"}, {14, layout == "107" ? "067" : "060"}, {18, "20"}, {20, cnpj},
                 {34, CedenteAndZeros(layout, 20)}, {54, "012343"}, {60, field14}, {66, Zeros(8)},
                 {74, "EMPRESA CEDENTE LTDA"}, {184, "0000012306122026"}, {200, Zeros(8)}});
}

std::string PWith(std::string_view layout, Fields more) {
  // Agency 01234: the same sum as 1234 with a leading zero, so check digit 3.
  // 58-62: carteira 1, registered, 2, cedente prints and posts; 107-117: kind,
  // acceptance, date of issue; 118-195: no interest, no discount.
  return Record({{1, "10400003"}, {14, "P 01012343"}, {24, CedenteAndZeros(layout, 16)}, {40, "014"},
                 {43, "000000000000001"}, {58, "11220"}, {63, "DOC00000001"}, {78, "15012027"},
                 {86, "000000000010000"}, {101, "000000"}, {107, "02N01122026"}, {118, "3"}, {119, Zeros(23)},
                 {142, "0"}, {143, Zeros(53)}, {196, "DOC00000001"}, {221, "3001090"}, {228, "09"}, {230, Zeros(10)}},
                more);
}

std::string QWith(Fields more) {
  return Record({{1, "10400003"}, {14, "Q 0110000"}, {23, kPayerCpf}, {34, "JOSE DA SILVA"}, {74, "RUA DAS FLORES 100"},
                 {114, "CENTRO"}, {129, "70000000"}, {137, "BRASILIA"}, {152, "DF"}, {154, Zeros(16)}, {210, "000"}},
                more);
}
// clang-format on

}  // namespace

void Put(std::string& rec, std::size_t pos, std::string_view value) {
  if (rec.size() < pos - 1 + value.size()) rec.resize(pos - 1 + value.size(), ' ');
  rec.replace(pos - 1, value.size(), value);
}

std::string SigcbP(std::string_view layout) { return PWith(layout, {}); }

std::string SigcbQ() { return QWith({}); }

std::vector<std::string> SigcbFile::Lines() const {
  std::vector<std::string> lines{SigcbFileHeader(layout)};
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    lines.push_back(SigcbLoteHeader(layout, i == 1 ? kAlphanumericCnpj : kCedenteCnpj));
    Put(lines.back(), 4, lote);
    std::size_t sequence = 0;
    for (std::string detail : lotes[i]) {
      Put(detail, 4, lote);
      Put(detail, 9, Digits(++sequence, 5));
      lines.push_back(detail);
    }
    lines.push_back(Record({{1, "104"}, {4, lote}, {8, "5"}, {18, Digits(lotes[i].size() + 2, 6)}, {24, Zeros(69)}}));
  }
  lines.push_back(Record({{1, "10499999"}, {18, Digits(lotes.size(), 6)}, {24, Digits(lines.size() + 1, 6)}}));
  return lines;
}

SigcbFile CleanSigcbFile(std::string_view layout) {
  // clang-format off
  const std::string r = Record({{1, "10400003"}, {14, "R 01"}, {18, Zeros(48)}, {66, "216012027000000000000200"}});
  const std::string s = Record({{1, "10400003"}, {14, "S 013"}, {19, "PAGAVEL EM QUALQUER AGENCIA ATE O VENCIMENTO"}});
  const std::string y53 =
      Record({{1, "10400003"}, {14, "Y 0153"}, {20, "02001000000000010000"}, {40, "1000000000010000"}});
  // B: registered, CAIXA prints and posts, card title with payment option 1,
  // interest from 16/01/2027, a discount of 5,00 up to 10/01/2027, protest after 5 days.
  const std::string b = PWith(layout, {{41, "11000000000000002"}, {61, "11DOC00000002"}, {107, "31"},
                                       {118, "116012027000000000000033"}, {142, "110012027000000000000500"},
                                       {196, "DOC00000002"}, {221, "1052"}, {240, "1"}});
  // C: without registration, CAIXA prints, 5 % discount up to the due date.
  const std::string c = PWith(layout, {{41, "21000000000000003"}, {59, "2"}, {61, "12DOC00000003"},
                                       {142, "215012027000000000000500"}, {196, "DOC00000003"}});
  // D: no Nosso Número: CAIXA numbers the title.
  const std::string d = PWith(layout, {{41, Zeros(17)}, {63, "DOC00000004"}, {196, "DOC00000004"}});
  // Payer CNPJ and guarantor CPF 111.444.777-35; then alphanumeric CNPJs.
  const std::string qc = QWith({{18, "2"}, {20, kCedenteCnpj}, {34, "COMERCIO DE PECAS LTDA"},
                                {154, "1000011144477735"}, {170, "ANTONIO AVALISTA"}});
  const std::string qd = QWith({{18, "2"}, {20, kAlphanumericCnpj}, {34, "NOVA EMPRESA SA"}, {154, "20"},
                                {156, kAlphanumericCnpj}, {170, "HOLDING AVALISTA SA"}});
  // clang-format on
  std::string rc = r;
  Put(rc, 66, Zeros(24));  // no fine
  SigcbFile file{std::string(layout), {}};
  file.lotes = {{SigcbP(layout), SigcbQ(), r, s, b, QWith({{34, "MARIA SOUZA"}}), y53}, {c, qc, rc, d, qd}};
  return file;
}

std::vector<std::string> CleanSigcbReport(std::string_view layout, std::string_view file) {
  const std::string cedente(Cedente(layout)), equals(40, '=');
  const std::string lote = equals.substr(2) + " CAPA DE LOTE " + equals.substr(4),
                    remessa = "Num remessa: 00000123 Gravacao: 06/12/2026";
  const std::string loteOk = equals.substr(3) + " CAPA DE LOTE OK " + equals.substr(6);
  // clang-format off
  return {std::string("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp),
          Cat("Validando arquivo: ", file), equals + " HEADER " + equals,
          "Cedente centralizador: EMPRESA CENTRALIZADORA LTDA   ", "Tipo de remessa: REMESSA-PRODUCAO",
          "Banco: CAIXA ECONOMICA FEDERAL        Geracao: 06/12/2026 as 12:00:00 seq 000123",
          "Convenio: " + cedente + " Inscricao: 11.222.333/0001-81", equals + " HEADER OK " + equals.substr(3),
          lote, remessa, "Convenio: " + cedente.substr(0, 6) + " Inscricao: 11.222.333/0001-81", loteOk,
          "Total de registros do lote = 9", equals.substr(3) + " FIM DE UM LOTE " + equals.substr(6),
          lote, remessa, "Convenio: " + cedente.substr(0, 6) + " Inscricao: 12.ABC.345/01DE-35", loteOk,
          "Total de registros do lote = 7", "REGISTROS DOS TITULOS TODOS OK !!!"};
  // clang-format on
}

Validation Validate(Handler handler, const std::vector<std::string>& lines) {
  const TempFile file(CrLfFile(lines), ".rem");
  Validation v{};
  v.host.files.push_back(file.path());
  const Outcome outcome = RunCommand(handler, v.host);
  v.status = outcome.status;
  v.error = FirstLine(outcome.message);
  v.report = v.host.report;
  for (std::string& line : v.report)
    if (line == "Validando arquivo: " + file.path()) line = "Validando arquivo: FILE";
  return v;
}

ReportChanges Changes(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  const std::size_t n = before.size(), m = after.size();
  // common[i][j]: length of the longest common subsequence of before[i..] and after[j..].
  std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      common[i][j] = before[i] == after[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  ReportChanges changes;
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && before[i] == after[j]) {
      ++i;
      ++j;
    } else if (j == m || (i < n && common[i + 1][j] >= common[i][j + 1])) {
      changes.removed.push_back(before[i++]);
    } else {
      changes.added.push_back(after[j++]);
    }
  }
  return changes;
}

}  // namespace verilote::testing
