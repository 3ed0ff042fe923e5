#include "barcodes/sicap.hpp"

#include <cstdint>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"
#include "barcodes/collection.hpp"

namespace verilote {

std::string FourBlockDisplay(std::string_view barcode) {
  std::string out;
  for (std::size_t from = 1; from <= 34; from += 11) {
    const std::string_view block = Copy(barcode, from, 11);
    if (from > 1) out += "   ";
    out += Cat(block, '-', CollectionBlockDv(barcode, block));
  }
  return out;
}

namespace {

constexpr std::string_view kNotSoleSource =
    "Esta validação não pode ser utilizada como única fonte para conferência"_cp;
constexpr std::string_view kCheckAgainstDocument = "Verifique os dados, conferindo com o Documento.";
constexpr std::string_view kHyphens = "--------------------------------------------";
constexpr std::string_view kBadGeneralDv = "Atenção: O dígito geral da barra está inválida"_cp;

// Segment texts by position 2; 0, 8 and anything else are invalid.
constexpr std::string_view kSegments[10] = {
    {},
    "1-Segmento PREFEITURA",
    "2-Segmento SANEAMENTO",
    "3-Segmento ENERGIA ELÉTRICA E GÁS"_cp,
    "4-Segmento TELECOMUNICAÇÕES"_cp,
    "5-Segmento ÓRGÃOS GOVERNAMENTAIS"_cp,
    "6-Segmento CARNÊS E ASSEMELHADOS"_cp,
    "7-Segmento MULTAS DE TRÂNSITO"_cp,
    {},
    "9-Segmento CONVÊNIO PARA RECEBIMENTO EXCLUSIVO CAIXA"_cp,
};

// Value-identifier texts by position 3, one document at a time and in the
// several-document listing.
constexpr std::string_view kCurrencies[10] = {
    {}, {}, {}, {}, {}, {}, "6-Moeda fixa", "7-Moeda variável"_cp, "8-Moeda fixa", "9-Moeda variável"_cp,
};
constexpr std::string_view kListedCurrencies[10] = {
    {},
    {},
    {},
    {},
    {},
    {},
    "6-Moeda em Reais R$",
    "7-Moeda variável   "_cp,
    "8-Moeda em Reais R$",
    "9-Moeda variável   "_cp,
};
constexpr std::string_view kInvalidCurrency = "0-Moeda inválida"_cp;

// Positions 2 and 3 as the layout converts them: a non-digit fails.
struct Document {
  std::string_view barcode;
  std::int64_t segment;
  std::int64_t currency;

  explicit Document(std::string_view b)
      : barcode(b), segment(StrToInt(Field(b, 2, 2))), currency(StrToInt(Field(b, 3, 3))) {}

  bool ValidSegment() const { return segment >= 0 && segment <= 9 && !kSegments[segment].empty(); }
  bool ValidCurrency() const { return currency >= 6 && currency <= 9; }
  // Segments whose company code stands at 16-19.
  bool HasFebrabanCode() const { return (segment >= 1 && segment <= 5) || segment == 7; }
  bool BankIsCaixa() const { return Field(barcode, 16, 19) == "0104"; }

  std::string SegmentText() const {
    return ValidSegment() ? std::string(kSegments[segment]) : Cat(segment, "-Segmento inválido"_cp);
  }
  std::string_view CurrencyText(const std::string_view (&texts)[10]) const {
    return ValidCurrency() ? texts[currency] : kInvalidCurrency;
  }
  std::string Value() const { return FormatMoney(Field(barcode, 5, 15)); }
  std::string WrongBank() const {
    return Cat("Erro, o banco não é 0104, nesta posição tem "_cp, Field(barcode, 16, 19));
  }
};

// Steps shared by the one-document and the typed-data commands.
Verdict CheckOneDocument(Host& host, std::string_view b) {
  bool faulty = false;
  host.ReportAppend(kNotSoleSource);
  host.ReportAppend(kCheckAgainstDocument);
  host.ReportAppend(kHyphens);
  if (Field(b, 1, 1) != "8") {
    host.ReportAppend(
        Cat("Atenção: O primeiro algarismo da barra está errado, deveria ser 8 e contém "_cp, Field(b, 1, 1)));
    faulty = true;
  }
  const Document doc(b);
  host.ReportAppend(doc.SegmentText());
  host.ReportAppend(doc.CurrencyText(kCurrencies));
  host.ReportAppend(Cat("Valor R$ ", doc.Value()));
  faulty = faulty || !doc.ValidSegment() || !doc.ValidCurrency();
  if (doc.HasFebrabanCode()) {
    host.ReportAppend(Cat("Código FEBRABAN: "_cp, Field(b, 2, 2), " 0 ", Field(b, 16, 19)));
    host.ReportAppend(Cat("Campo Livre: ", Field(b, 20, 44)));
  } else if (doc.segment == 6) {
    host.ReportAppend(Cat("CNPJ: ", Field(b, 16, 23)));
    host.ReportAppend(Cat("Campo Livre: ", Field(b, 24, 44)));
  } else if (doc.segment == 9) {
    host.ReportAppend(doc.BankIsCaixa() ? std::string("Banco OK") : doc.WrongBank());
    faulty = faulty || !doc.BankIsCaixa();
    host.ReportAppend(Cat("Código gerado pelo SICAP "_cp, Field(b, 20, 23)));
    host.ReportAppend(Cat("Campo Livre: ", Field(b, 24, 44)));
  }
  if (HasValidCollectionDv(b)) {
    host.ReportAppend("Dígito geral OK"_cp);
  } else {
    host.ReportAppend(kBadGeneralDv);
    faulty = true;
  }
  host.ReportAppend("Verifique os dígitos de cada seguimento abaixo: "_cp);
  host.ReportAppend(FourBlockDisplay(b));
  return faulty ? Verdict::Faulty : Verdict::Clean;
}

// The confirmation line of one document in the several-document listing.
std::string DataLine(Host& host, const Document& doc) {
  const std::string_view b = doc.barcode;
  std::string line = Cat(doc.SegmentText(), ' ', doc.CurrencyText(kListedCurrencies));
  if (doc.HasFebrabanCode()) {
    line += Cat(" Código FEBRABAN: "_cp, Field(b, 2, 2), " 0 ", Field(b, 16, 19));
  } else if (doc.segment == 6) {
    line += Cat(" CNPJ: ", Field(b, 16, 23), " Campo Livre: ", Field(b, 24, 44));
  } else if (doc.segment == 9) {
    if (doc.BankIsCaixa())
      line += " Banco OK";
    else
      host.ReportAppend(doc.WrongBank());
    line += Cat(" Código gerado pelo SICAP "_cp, Field(b, 20, 23), " Campo Livre: ", Field(b, 24, 44));
  }
  return line;
}

// Positions 20-23 as a year of the due date yyyymmdd at 20-27, shown when it
// is a real date; then the value, or for other segments the date alone.
std::string RestLine(const Document& doc) {
  const std::string_view b = doc.barcode;
  std::string line;
  const std::int64_t year = StrToInt(Field(b, 20, 23));
  if (year >= 2011 && year <= 2024) {
    const std::string date = Cat(Field(b, 26, 27), '/', Field(b, 24, 25), '/', Field(b, 20, 23));
    if (IsValidDate(date)) line = Cat(date, ' ');
  }
  if (doc.HasFebrabanCode()) return Cat(line, " Valor R$ ", doc.Value());
  if (doc.segment == 6 || doc.segment == 9) return Cat("Valor R$ ", doc.Value());
  return line;
}

}  // namespace

Verdict Umdocumento1Click(Host& host) { return CheckOneDocument(host, ReadBarcode(host)); }

Verdict Digitandoosdados1Click(Host& host) {
  const std::string typed = ReadBarcode(host);
  if (typed.size() != 48) {
    host.ShowMessage(Cat("Erro: Digite 48 algarismos. Foi digitado ", typed.size(), " algarismos."));
    return Verdict::Faulty;
  }
  // The block check digits typed at 12, 24, 36 and 48 are left out; the
  // four-block display shows the computed ones to compare with the form.
  const std::string barcode =
      Cat(Field(typed, 1, 11), Field(typed, 13, 23), Field(typed, 25, 35), Field(typed, 37, 47));
  return CheckOneDocument(host, barcode);
}

Verdict VriosDocumentos1Click(Host& host) {
  const std::int64_t count = ReadQuantity(host, "Entre com a quantidade de Documentos");
  const std::string febraban = host.InputBox("Código Febraban"_cp, "Digite o código com 4 algarismos"_cp, "XXXX");
  if (count == 0) {
    host.ShowMessage("Tente novamente e digite a quantidade correta");
    return Verdict::Clean;
  }
  std::vector<std::string> barcodes;
  for (std::int64_t i = 0; i < count; ++i) barcodes.push_back(ReadBarcode(host));
  host.ReportAppend(kNotSoleSource);
  host.ReportAppend(kCheckAgainstDocument);

  bool faulty = false;
  std::vector<Document> docs;
  std::string dataLine;
  for (const std::string& b : barcodes) {
    docs.emplace_back(b);
    dataLine = DataLine(host, docs.back());
    faulty = faulty || (docs.back().segment == 9 && !docs.back().BankIsCaixa());
  }
  host.ReportAppend("Confira no SICAP os seguintes dados:");
  host.ReportAppend(dataLine);
  host.ReportAppend(kHyphens);
  host.ReportAppend(Cat("Conteúdo lido nas barras:"_cp));
  for (const std::string& b : barcodes) host.ReportAppend(b);
  host.ReportAppend(kHyphens);
  host.ReportAppend("Verificando erros:");

  for (std::size_t k = 0; k < docs.size(); ++k) {
    const Document& doc = docs[k];
    const std::string_view b = doc.barcode;
    const std::string d = Cat("Documento:", PadZeroLeft(Cat(k + 1), 2));
    const auto finding = [&](std::string line) {
      host.ReportAppend(line);
      faulty = true;
    };
    if (Field(b, 1, 1) != "8")
      finding(
          Cat(d, " Atenção: O primeiro algarismo da barra está errado, deveria ser 8 e contém "_cp, Field(b, 1, 1)));
    if (!doc.ValidCurrency()) finding(Cat(d, " Com moeda inválida !!!"_cp));
    // Variable value (7, 9) is legal, only worth a second look.
    if (doc.currency != 6 && doc.currency != 8) host.ReportAppend(Cat(d, " com moeda diferente de Real R$, confirme."));
    if (!doc.ValidSegment()) finding(Cat(d, " Com Segmento inválido !!!"_cp));
    if (Field(b, 16, 19) != febraban)
      finding(Cat(d, " Com código febraban divergente. No documento tem "_cp, Field(b, 16, 19)));
    if (!HasValidCollectionDv(b)) finding(Cat(d, ' ', kBadGeneralDv));
  }

  host.ReportAppend(kHyphens);
  host.ReportAppend("Listando Representação para conferência"_cp);
  for (const Document& doc : docs) host.ReportAppend(FourBlockDisplay(doc.barcode));
  host.ReportAppend(kHyphens);
  host.ReportAppend("Listando restante para conferencia");
  for (const Document& doc : docs) host.ReportAppend(RestLine(doc));
  return faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
