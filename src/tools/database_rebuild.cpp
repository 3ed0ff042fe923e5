#include "tools/database_rebuild.hpp"

#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/spool.hpp"
#include "banking/text.hpp"
#include "tools/generated_file.hpp"

namespace verilote {

namespace {

// 1-based position of the first `word` at or after position `from`, or 0.
std::size_t Pos(std::string_view line, std::string_view word, std::size_t from = 1) {
  const std::size_t at = line.find(word, from - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

// What the listing tells of one payer, gathered line by line.
struct Payer {
  std::string name, kind, document, postalCode, state, address, district, city;
};

// A line "Nome do Sacado: <name> <blanks> Tipo de Pessoa....: F". The kind
// stands 20 positions after the label "Tipo", which is looked for from the
// line's end: a name such as "Tipografia Lima" holds the word too.
void ReadName(std::string_view line, Payer& payer) {
  const std::size_t rfound = line.rfind("Tipo");
  if (rfound == std::string_view::npos || rfound + 1 < 17) {
    payer.name = Field(line, 17, line.size());
    payer.kind.clear();
    return;
  }
  const std::size_t p = rfound + 1;
  payer.name = Field(line, 17, p - 2);
  payer.kind = Field(line, p + 20, p + 20);
}

// "CPF/CNPJ Sacado: <document>  CEP do Sacado: <postal code>": the columns
// depend on the kind, a CNPJ being four characters wider than a CPF.
void ReadDocument(std::string_view line, Payer& payer) {
  if (payer.kind == "F") {
    payer.document = KeepDigits(Field(line, 18, 31));
    payer.postalCode = KeepDigits(Field(line, 48, 56));
  } else if (payer.kind == "J") {
    payer.document = KeepDigits(Field(line, 18, 35));
    payer.postalCode = KeepDigits(Field(line, 52, 60));
  }
}

// "Bairro do Sacado: <district> Município do Sacado: <city>". Without the
// label the district is the rest of the line and the city is empty.
void ReadDistrict(std::string_view line, Payer& payer) {
  const std::size_t m = Pos(line, "Munic", 19);
  if (m == 0) {
    payer.district = Field(line, 19, line.size());
    payer.city.clear();
    return;
  }
  payer.district = Field(line, 19, m - 2);
  payer.city = Field(line, m + 21, line.size());
}

// The payer import record: positions 1-205 fixed, the postal code after them.
std::string PayerRecord(const Payer& p) {
  return Cat(std::string(7, ' '), PadZeroLeft(p.document, 15), PadSpaceLeft(p.kind, 16), PadSpaceRight(p.document, 15),
             PadSpaceRight(p.name, 40), PadSpaceRight(p.name, 40), PadSpaceRight(p.address, 40),
             PadSpaceRight(p.district, 15), PadSpaceRight(p.city, 15), PadSpaceRight(p.state, 2), p.postalCode);
}

// The payers of a payer import file, found by name: the name compared with
// the record from position 54 on, for the name's length (so a name matches
// a longer one it begins), the last such record in file order taken. Sorted
// by that text, the records a name begins are one run that follows the first
// text not below the name. The table lives in a temporary file, so that a
// payer file of any size fits.
class PayerTable {
 public:
  explicit PayerTable(const std::string& path, Host& host) {
    RecordReader reader(path, &host);
    std::string_view rec;
    while (reader.Next(rec)) payers_.Add(Field(rec, 54, rec.size()), PadSpaceRight(Field(rec, 8, 22), 15));
    reader.RequireWhole();
    payers_.Seal();
  }

  // The zero-filled document (positions 8-22) of the payer, or nothing. An
  // empty name matches nobody.
  std::optional<std::string> Find(std::string_view name) const {
    if (name.empty()) return std::nullopt;
    return payers_.LastWithPrefix(name);
  }

 private:
  SortedSpool payers_;  // positions 54 to the end, and the document
};

std::string DateDigits(CivilDate date) {
  return Cat(PadZeroLeft(Cat(date.day), 2), PadZeroLeft(Cat(date.month), 2), PadZeroLeft(Cat(date.year), 4));
}

// An item line of the listing: "<Nosso Número, 17> <payer> R$ <amount> ...
// <due date dd/mm/yyyy> ...". The comma of the amount and the slash of the
// date are looked for after "R$" only, so a payer named "SILVA, JOSE" or
// "C/ ANEXO" cannot move them.
struct Item {
  std::string_view nossoNumero, payer;
  std::string cents, dueDate;
};

std::optional<Item> ReadItem(std::string_view line) {
  if (!line.starts_with("14") || !line.ends_with("19")) return std::nullopt;
  const std::size_t r = Pos(line, "R$");
  if (r == 0) return std::nullopt;
  const std::size_t c = Pos(line, ",", r + 2), s = Pos(line, "/", r + 2);
  if (c == 0 || s == 0) return std::nullopt;
  return Item{Field(line, 1, 17), Trim(Field(line, 19, r - 1)), KeepDigits(Field(line, r + 3, c + 2)),
              KeepDigits(Field(line, s - 2, s + 7))};
}

std::string ItemRecord(const Item& item, std::string_view document, std::string_view today) {
  const std::string_view n = item.nossoNumero;
  const std::string& due = item.dueDate;
  const std::string zeros(16, '0');
  const std::string_view z14 = std::string_view(zeros).substr(0, 14), z15 = std::string_view(zeros).substr(0, 15);
  return Cat(Field(n, 7, 17), "    ", document, due, today, "02N", today, "1", Field(n, 3, 17), "  ",
             PadZeroLeft(item.cents, 15), "2", z14, due, z14, due, z14, due, z15, due, z14, zeros, "30",
             std::string(270, ' '), "F", std::string(14, ' '), "U000S");
}

}  // namespace

Verdict Sacados2Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo", FileFilter::Retorno);
  if (!path) {
    host.ShowMessage("Nenhum Arquivo foi selecionado !!!");
    return Verdict::Clean;
  }
  RecordReader listing(*path, &host);
  GeneratedFile out(ChooseOutputDirectory(host), "sacados.txt", {*path});
  Payer payer;
  std::string_view line;
  while (listing.Next(line)) {
    if (line.starts_with("Nome do Sacado")) {
      ReadName(line, payer);
    } else if (line.starts_with("CPF/CNPJ Sacado")) {
      ReadDocument(line, payer);
    } else if (line.starts_with("UF do Sacado")) {
      payer.state = Field(line, 15, 16);
      payer.address = Field(line, 38, line.size());
    } else if (line.starts_with("Bairro do Sacado")) {
      ReadDistrict(line, payer);
      out.WriteLine(PayerRecord(payer));
      payer = Payer{};
    }
  }
  listing.RequireWhole();
  out.Commit();
  host.ShowMessage(Cat("Arquivo concluído com sucesso  !!"_cp, out.Where()));
  return Verdict::Clean;
}

Verdict Ttulos2Click(Host& host) {
  host.ShowMessage("Para gerar este arquivo, é necessário ter gerado o arquivo de sacados"_cp);
  const std::optional<std::string> payerPath = host.OpenFile("Selecione o arquivo de sacados", FileFilter::Retorno);
  if (!payerPath) return Verdict::Clean;
  const PayerTable payers(*payerPath, host);
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo com os títulos"_cp, FileFilter::Retorno);
  if (!path) return Verdict::Clean;
  RecordReader listing(*path, &host);
  GeneratedFile out(ChooseOutputDirectory(host), "titulos.txt", {*payerPath, *path});
  const std::string today = DateDigits(host.Today());
  bool missing = false;
  std::string_view line;
  while (listing.Next(line)) {
    const std::optional<Item> item = ReadItem(Trim(line));
    if (!item) continue;
    if (const std::optional<std::string> document = payers.Find(item->payer)) {
      out.WriteLine(ItemRecord(*item, *document, today));
    } else {
      out.WriteLine(Cat("Nosso Número "_cp, item->nossoNumero, " não encontrado."_cp));
      missing = true;
    }
  }
  listing.RequireWhole();
  out.Commit();
  host.ShowMessage(Cat("Arquivo concluído  !!"_cp, out.Where(),
                       "\rAtenção: Após A importação,usaro acgcb para executar o seguinte comando\r"_cp,
                       "Update Tabtitulos set YtituTpFent = 0, YtituImpressao = 4"));
  return missing ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
