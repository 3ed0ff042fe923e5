#include "tools/sicob_reconciliation.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
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

// The bank's listing, held whole: its lines unmatched are listed at the end.
// Lines of one Nosso Número (positions 5-14 and 16) share one group, matched
// together; a database item takes the group's last line.
class BankList {
 public:
  explicit BankList(const std::string& path, Host& host) {
    RecordReader reader(path, &host);
    std::string_view rec;
    while (reader.Next(rec)) {
      const auto [it, added] = byNossoNumero_.try_emplace(Cat(Field(rec, 5, 14), Field(rec, 16, 16)), groups_.size());
      if (added) groups_.push_back({});
      groups_[it->second].last = lines_.size();
      lines_.push_back({text_.size(), rec.size(), it->second});
      text_.append(rec);
    }
  }

  // The line of a Nosso Número, its group then matched; nothing when none (an
  // empty Nosso Número matches nothing).
  std::optional<std::string_view> Match(std::string_view nn) {
    if (nn.empty()) return std::nullopt;
    const auto it = byNossoNumero_.find(std::string(nn));
    if (it == byNossoNumero_.end()) return std::nullopt;
    Group& group = groups_[it->second];
    group.matched = true;
    return Text(lines_[group.last]);
  }

  template <typename Visit>
  void ForEachUnmatched(Visit visit) const {
    for (const Line& line : lines_)
      if (!groups_[line.group].matched) visit(Text(line));
  }

 private:
  // The lines are kept one after another in one text.
  struct Line {
    std::size_t at, size, group;
  };
  struct Group {
    std::size_t last = 0;  // its last line
    bool matched = false;
  };
  std::string_view Text(const Line& line) const { return std::string_view(text_).substr(line.at, line.size); }

  std::string text_;
  std::vector<Line> lines_;
  std::vector<Group> groups_;
  std::unordered_map<std::string, std::size_t> byNossoNumero_;
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
    const std::optional<std::string_view> match = bank.Match(nn);
    const std::string_view amount = Trim(Field(rec, 112, 123));
    // The amount is blank-filled to ten but never cut.
    const std::string head =
        Cat("NN:", nn, " VALOR:", amount, std::string(amount.size() < 10 ? 10 - amount.size() : 0, ' '),
            " SEU N:", PadSpaceRight(Trim(Field(rec, 27, 41)), 16), " ", DatabaseStatus(Field(rec, 313, 314)), " ",
            Field(rec, 299, 299) == "1" ? "REM OK" : "REM NO", " ", Field(rec, 301, 301) == "1" ? "RET OK" : "RET NO");
    if (match) {
      out.WriteLine(Cat(head, " ", Field(*match, 42, 52), Field(*match, 53, 80), BankStatus(Field(*match, 38, 39))));
    } else {
      out.WriteLine(Cat(head, " Não existe mais no cadastro da CAIXA."_cp));
      missingAtBank = true;
    }
  }
  const std::string rule(59, '=');
  out.WriteLine(rule);
  out.WriteLine("Relação de títulos na CAIXA que não estão no banco de dados"_cp);
  out.WriteLine(rule);
  bank.ForEachUnmatched([&out](std::string_view line) { out.WriteLine(line); });
  out.Commit();
  host.ShowMessage(Cat("Criado arquivo titulos.txt", out.Where()));
  return missingAtBank ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
