#include "remittance/sigcb240_builder.hpp"

#include <algorithm>
#include <string>

namespace verilote::testing {

namespace {

std::string Blank() { return std::string(240, ' '); }

std::string Zeros(std::size_t n) { return std::string(n, '0'); }

std::string Digits(std::size_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(width - text.size(), '0') + text;
}

// Cedente code: six digits in layout 101, seven in layout 107.
std::string Cedente(std::string_view layout) { return layout == "107" ? "1234567" : "123456"; }

// Agency 1234: weights 5,4,3,2 give 1x5+2x4+3x3+4x2 = 30; 30 mod 11 = 8, 11 - 8 = 3.
constexpr std::string_view kAgency = "1234";
constexpr std::string_view kAgencyDv = "3";

}  // namespace

void Put(std::string& rec, std::size_t pos, std::string_view value) {
  if (rec.size() < pos - 1 + value.size()) rec.resize(pos - 1 + value.size(), ' ');
  rec.replace(pos - 1, value.size(), value);
}

std::string SigcbFileHeader(std::string_view layout) {
  std::string r = Blank();
  Put(r, 1, "10400000");
  Put(r, 18, "2");
  Put(r, 19, kCedenteCnpj);
  Put(r, 33, Zeros(20));
  Put(r, 53, "0");
  Put(r, 54, kAgency);
  Put(r, 58, kAgencyDv);
  Put(r, 59, Cedente(layout));
  Put(r, 59 + Cedente(layout).size(), Zeros(14 - Cedente(layout).size()));
  Put(r, 73, "EMPRESA CENTRALIZADORA LTDA");
  Put(r, 103, "CAIXA ECONOMICA FEDERAL");
  Put(r, 143, "1");
  Put(r, 144, "06122026");
  Put(r, 152, "120000");
  Put(r, 158, "000123");
  Put(r, 164, layout);
  Put(r, 167, "00000");
  Put(r, 192, "REMESSA-PRODUCAO");
  return r;
}

std::string SigcbLoteHeader(std::string_view layout, std::string_view cnpj) {
  std::string r = Blank();
  Put(r, 1, "10400001R0100");
  Put(r, 14, layout == "107" ? "067" : "060");
  Put(r, 18, "2");
  Put(r, 19, "0");
  Put(r, 20, cnpj);
  if (layout == "107") {
    Put(r, 34, Cedente(layout));
    Put(r, 41, Zeros(13));
    Put(r, 54, "0");
    Put(r, 55, kAgency);
    Put(r, 59, kAgencyDv);
    Put(r, 60, Zeros(6));
  } else {
    Put(r, 34, Cedente(layout));
    Put(r, 40, Zeros(14));
    Put(r, 54, "0");
    Put(r, 55, kAgency);
    Put(r, 59, kAgencyDv);
    Put(r, 60, Cedente(layout));
  }
  Put(r, 66, Zeros(8));  // fields 15.1 (66-72) and 16.1 (73)
  Put(r, 74, "EMPRESA CEDENTE LTDA");
  Put(r, 184, "00000123");
  Put(r, 192, "06122026");
  Put(r, 200, "00000000");
  return r;
}

std::string SigcbLoteTrailer() {
  std::string r = Blank();
  Put(r, 1, "10400005");
  Put(r, 24, Zeros(69));
  return r;
}

std::string SigcbFileTrailer() {
  std::string r = Blank();
  Put(r, 1, "10499999");
  return r;
}

std::string SigcbP(std::string_view layout) {
  std::string r = Blank();
  Put(r, 1, "10400003");
  Put(r, 14, "P 01");
  // Agency 01234: the same sum as 1234 with a leading zero, so check digit 3.
  Put(r, 18, "01234");
  Put(r, 23, "3");
  Put(r, 24, Cedente(layout));
  Put(r, 24 + Cedente(layout).size(), Zeros(16 - Cedente(layout).size()));  // up to position 39
  Put(r, 40, "0");
  Put(r, 41, "14");
  Put(r, 43, "000000000000001");
  Put(r, 58, "11220");                   // carteira 1, registered, 2, cedente prints, cedente posts
  Put(r, 63, "DOC00000001");             // Seu Número, 63-73
  Put(r, 78, "15012027");                // due date
  Put(r, 86, "000000000010000");         // 100,00
  Put(r, 101, "000000");                 // 22.3P, 23.3P
  Put(r, 107, "02N");                    // kind, acceptance
  Put(r, 110, "01122026");               // date of issue
  Put(r, 118, "3");                      // no interest
  Put(r, 119, Zeros(8 + 15));            // interest date and amount
  Put(r, 142, "0");                      // no discount
  Put(r, 143, Zeros(8 + 15 + 15 + 15));  // discount date, amount, IOF, rebate
  Put(r, 196, "DOC00000001");            // 35.3P repeats 63-77
  Put(r, 221, "3001090");                // no protest, 00 days, return after 090 days
  Put(r, 228, "09");
  Put(r, 230, Zeros(10));
  return r;
}

std::string SigcbQ() {
  std::string r = Blank();
  Put(r, 1, "10400003");
  Put(r, 14, "Q 0110000");  // kind 1 (CPF): positions 20-22 zeros before the CPF
  Put(r, 23, kPayerCpf);
  Put(r, 34, "JOSE DA SILVA");
  Put(r, 74, "RUA DAS FLORES 100");
  Put(r, 114, "CENTRO");
  Put(r, 129, "70000000");
  Put(r, 137, "BRASILIA");
  Put(r, 152, "DF");
  Put(r, 154, Zeros(16));  // no guarantor
  Put(r, 210, "000");
  return r;
}

std::string SigcbR() {
  std::string r = Blank();
  Put(r, 1, "10400003");
  Put(r, 14, "R 01");
  Put(r, 18, Zeros(48));  // second and third discounts: codes, dates and amounts
  Put(r, 66, "2");
  Put(r, 67, "16012027");
  Put(r, 75, "000000000000200");
  return r;
}

std::string SigcbS() {
  std::string r = Blank();
  Put(r, 1, "10400003");
  Put(r, 14, "S 013");
  Put(r, 19, "PAGAVEL EM QUALQUER AGENCIA ATE O VENCIMENTO");
  return r;
}

std::string SigcbY53() {
  std::string r = Blank();
  Put(r, 1, "10400003");
  Put(r, 14, "Y 0153");
  Put(r, 20, "0200");  // 09.3Y, 10.3Y
  Put(r, 24, "1");
  Put(r, 25, "000000000010000");
  Put(r, 40, "1");
  Put(r, 41, "000000000010000");
  return r;
}

std::vector<std::string> SigcbFile::Lines() const {
  std::vector<std::string> lines{SigcbFileHeader(layout)};
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    std::string header = SigcbLoteHeader(layout, i == 1 ? kAlphanumericCnpj : kCedenteCnpj);
    Put(header, 4, lote);
    lines.push_back(header);
    std::size_t sequence = 0;
    for (std::string detail : lotes[i]) {
      Put(detail, 4, lote);
      Put(detail, 9, Digits(++sequence, 5));
      lines.push_back(detail);
    }
    std::string trailer = SigcbLoteTrailer();
    Put(trailer, 4, lote);
    Put(trailer, 18, Digits(lotes[i].size() + 2, 6));
    lines.push_back(trailer);
  }
  std::string trailer = SigcbFileTrailer();
  Put(trailer, 18, Digits(lotes.size(), 6));
  Put(trailer, 24, Digits(lines.size() + 1, 6));
  lines.push_back(trailer);
  return lines;
}

SigcbFile CleanSigcbFile(std::string_view layout) {
  SigcbFile file;
  file.layout = std::string(layout);

  const std::string a = SigcbP(layout);

  std::string b = SigcbP(layout);
  Put(b, 41, "11");  // registered, CAIXA prints
  Put(b, 43, "000000000000002");
  Put(b, 61, "11");  // CAIXA prints and posts
  Put(b, 63, "DOC00000002");
  Put(b, 107, "31");  // card title, payment option 1
  Put(b, 118, "1");   // interest from the day after the due date
  Put(b, 119, "16012027");
  Put(b, 127, "000000000000033");
  Put(b, 142, "1");  // fixed discount of 5,00 up to 10/01/2027
  Put(b, 143, "10012027");
  Put(b, 151, "000000000000500");
  Put(b, 196, "DOC00000002");
  Put(b, 221, "105");  // protest after 5 days
  Put(b, 224, "2");
  Put(b, 240, "1");
  std::string qb = SigcbQ();
  Put(qb, 34, "MARIA SOUZA");

  std::string c = SigcbP(layout);
  Put(c, 41, "21");  // without registration, CAIXA prints
  Put(c, 43, "000000000000003");
  Put(c, 59, "2");
  Put(c, 61, "12");
  Put(c, 63, "DOC00000003");
  Put(c, 142, "2");  // 5 % discount up to the due date
  Put(c, 143, "15012027");
  Put(c, 151, "000000000000500");
  Put(c, 196, "DOC00000003");
  std::string qc = SigcbQ();
  Put(qc, 18, "2");
  Put(qc, 20, kCedenteCnpj);
  Put(qc, 34, "COMERCIO DE PECAS LTDA");
  Put(qc, 154, "1");
  Put(qc, 155, "0000");
  Put(qc, 159, kGuarantorCpf);
  Put(qc, 170, "ANTONIO AVALISTA");
  std::string rc = SigcbR();
  Put(rc, 66, "0");  // no fine
  Put(rc, 67, Zeros(8 + 15));

  std::string d = SigcbP(layout);
  Put(d, 41, Zeros(17));  // no Nosso Número: CAIXA numbers the title
  Put(d, 63, "DOC00000004");
  Put(d, 196, "DOC00000004");
  std::string qd = SigcbQ();
  Put(qd, 18, "2");
  Put(qd, 20, kAlphanumericCnpj);
  Put(qd, 34, "NOVA EMPRESA SA");
  Put(qd, 154, "20");
  Put(qd, 156, kAlphanumericCnpj);
  Put(qd, 170, "HOLDING AVALISTA SA");

  file.lotes = {{a, SigcbQ(), SigcbR(), SigcbS(), b, qb, SigcbY53()}, {c, qc, rc, d, qd}};
  return file;
}

Validation Validate(Handler handler, const std::vector<std::string>& lines) {
  const TempFile file(CrLfFile(lines), ".rem");
  Validation v{};
  v.host.files.push_back(file.path());
  const Outcome outcome = RunCommand(handler, v.host);
  v.status = outcome.status;
  v.error = outcome.message;
  v.report = v.host.report;
  const std::string named = "Validando arquivo: " + file.path();
  for (std::string& line : v.report)
    if (line == named) line = "Validando arquivo: FILE";
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
