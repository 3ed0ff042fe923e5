#include "tools/sicob_reconciliation.hpp"

#include <cstdint>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/spool.hpp"
#include "banking/text.hpp"
#include "tools/generated_file.hpp"

namespace verilote {

namespace {

// Status codes of the database (positions 313-314), each text nine characters.
constexpr std::string_view kDatabaseStatus[] = {
    "02EM ABERTO", "03REJEITADO", "06PAGO     ", "09BAIXADO  ", "12ABATIMENT", "13CANC ABAT",
    "14ALT VENCI", "17PAGO     ", "19PROTESTO ", "20CANC PROT", "23CARTORIO ", "24RET CARTO",
    "25PROT/BAIX", "26REJEITADO", "27ALTERADO ", "28TARIFAS  ", "30REJEITADO", "36DESCONTO ",
    "37CANC DESC", "43CANC PROT", "44CANCBX/LQ", "45ATERADO  ",
};

std::string_view DatabaseStatus(std::string_view field) {
  const std::string code = PadZeroLeft(KeepDigits(field), 2);
  for (const std::string_view entry : kDatabaseStatus)
    if (entry.substr(0, 2) == code) return entry.substr(2);
  return {};
}

// Status code of the bank's listing (positions 38-39).
std::string_view BankStatus(std::string_view field) {
  const std::int64_t code = StrToInt(PadZeroLeft(KeepDigits(field), 2));
  if (code == 10) return "EM ABERTO";
  if (code == 42) return "ALTERADO";
  if (code == 45) return "EM PROTESTO";
  if (code == 47) return "SUSTADO O PROTESTO";
  if (code >= 60 && code <= 69) return "PAGO";
  if (code >= 70 && code <= 79) return "BAIXADO";
  if (code == 99) return "ESTORNO DE PROTESTO E DE SUSTACAO";
  return {};
}

// The bank's listing, as a table of its lines by Nosso Número (positions
// 5-14 and 16) kept in temporary files, so that a listing of any size fits:
// a database item takes the last line of its Nosso Número, and every line of
// a Nosso Número no item took is listed at the end, in the listing's order.
// A line is kept as positions 38-80, all that an item's line shows of it.
class BankList {
 public:
  BankList(std::string path, Host& host) : path_(std::move(path)), host_(host), identity_(platform::IdentityOf(path_)) {
    RecordReader reader(path_, &host);
    std::string_view rec;
    while (reader.Next(rec)) lines_.Add(NossoNumero(rec), Field(rec, 38, 80));
    reader.RequireWhole();
    lineCount_ = reader.RecordCount();
    lines_.Seal();
  }

  // Positions 38-80 of the last line of a Nosso Número; nothing when none (an
  // empty Nosso Número matches nothing).
  std::optional<std::string> Match(std::string_view nn) {
    if (nn.empty()) return std::nullopt;
    std::optional<std::string> last;
    SortedSpool::Cursor cursor = lines_.From(nn);
    for (SortedSpool::Entry line; cursor.Next(line) && line.key == nn;) last = line.value;
    if (last) matched_.Add(nn);
    return last;
  }

  // The lines of the Nosso Números no item matched, in the listing's order:
  // the table and the matched numbers walked side by side give their line
  // numbers, sorted again, and the listing read once more picks them.
  template <typename Visit>
  void ForEachUnmatched(Visit visit) {
    matched_.Seal();
    SortedSpool unmatched;
    SortedSpool::Cursor lines = lines_.Begin(), matched = matched_.Begin();
    SortedSpool::Entry line, match;
    bool more = matched.Next(match);
    while (lines.Next(line)) {
      while (more && match.key < line.key) more = matched.Next(match);
      if (!more || match.key != line.key) unmatched.Add(BigEndian(line.sequence));
    }
    unmatched.Seal();
    RecordReader reader(path_, &host_);
    SortedSpool::Cursor wanted = unmatched.Begin();
    SortedSpool::Entry next;
    bool left = wanted.Next(next);
    std::string_view rec;
    for (std::uint64_t number = 0; reader.Next(rec); ++number)
      if (left && BigEndian(number) == next.key) {
        visit(rec);
        left = wanted.Next(next);
      }
    reader.RequireWhole();
    if (reader.RecordCount() != lineCount_ || platform::IdentityOf(path_) != identity_)
      throw FileError(path_, "changed while it was read: another program is writing it; nothing was written");
  }

 private:
  static std::string NossoNumero(std::string_view rec) { return Cat(Field(rec, 5, 14), Field(rec, 16, 16)); }
  // A line number whose bytes sort as the number does.
  static std::string BigEndian(std::uint64_t number) {
    std::string bytes(8, '\0');
    for (int i = 7; i >= 0; --i, number >>= 8) bytes[static_cast<std::size_t>(i)] = static_cast<char>(number & 0xFF);
    return bytes;
  }

  std::string path_;
  Host& host_;
  std::optional<platform::FileIdentity> identity_;
  std::uint64_t lineCount_ = 0;
  SortedSpool lines_;    // Nosso Número, positions 38-80; sequence: the line's number from 0
  SortedSpool matched_;  // the Nosso Números items matched
};

bool Exists(const std::string& path) { return platform::KindOf(path) != platform::Kind::Missing; }

}  // namespace

Verdict ValidaBDcobcaixacolistageCAIXA1Click(Host& host) {
  host.ShowMessage(Cat(
      "Atenção:\rEsta opção ne3cessita de dois arquivos.\rArquivo 1 - Gerado pelo funcionário CAIXA copiando as telas\r"_cp,
      "   capturadas na opção 5,22,5,TITU, CONG, Por Nosso Número\r   Este arquivo deve ter o nome de titu.txt\r"_cp,
      "Arquivo 2 - Gerado pelo access abrindo o banco de dados\r   BDCOBCAIXA.MDB, clicando em Arquivo, Exportar, \r",
      "   Salvar em: escolhe a pasta do aplicativo\r   Salvar como tipo: escolhe Arquivos de texto ( *.txt,... )\r",
      "   Largura fixa, Avançar, Avançar, Concluir.\r"_cp,
      "Este aplicativo só funciona para clientes com até 2000 títulos cadastrados na CAIXA."_cp));
  const OutputDirectory directory = ChooseOutputDirectory(host);
  const std::string bankPath = Cat(directory.path, "/titu.txt"), databasePath = Cat(directory.path, "/tbTitulos.txt");
  std::string missing;
  if (!Exists(bankPath)) missing = "Falta o arquivo titu.txt";
  if (!Exists(databasePath)) missing += " Falta o arquivo tbTitulos.txt";
  // A missing input is a file error, which names the directory looked in.
  if (!missing.empty()) throw FileError(directory.path, missing);

  BankList bank(bankPath, host);
  RecordReader database(databasePath, &host);
  GeneratedFile out(directory, "Titulos.txt", {bankPath, databasePath});
  bool missingAtBank = false;
  std::string_view rec;
  while (database.Next(rec)) {
    const std::string_view kind = Field(rec, 42, 43);
    if (kind != "11" && kind != "12") continue;
    const std::string_view nn = Trim(Field(rec, 283, 298));
    const std::optional<std::string> match = bank.Match(nn);
    const std::string_view amount = Trim(Field(rec, 112, 123));
    // The amount is blank-filled to ten but never cut.
    const std::string head =
        Cat("NN:", nn, " VALOR:", amount, std::string(amount.size() < 10 ? 10 - amount.size() : 0, ' '),
            " SEU N:", PadSpaceRight(Trim(Field(rec, 27, 41)), 16), " ", DatabaseStatus(Field(rec, 313, 314)), " ",
            Field(rec, 299, 299) == "1" ? "REM OK" : "REM NO", " ", Field(rec, 301, 301) == "1" ? "RET OK" : "RET NO");
    if (match) {  // positions 42-52, 53-80 and 38-39 of the bank's line
      out.WriteLine(Cat(head, " ", Field(*match, 5, 15), Field(*match, 16, 43), BankStatus(Field(*match, 1, 2))));
    } else {
      out.WriteLine(Cat(head, " Não existe mais no cadastro da CAIXA."_cp));
      missingAtBank = true;
    }
  }
  const std::string rule(59, '=');
  out.WriteLine(rule);
  out.WriteLine("Relação de títulos na CAIXA que não estão no banco de dados"_cp);
  out.WriteLine(rule);
  database.RequireWhole();
  bank.ForEachUnmatched([&out](std::string_view line) { out.WriteLine(line); });
  out.Commit();
  host.ShowMessage(Cat("Criado arquivo titulos.txt", out.Where()));
  return missingAtBank ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
