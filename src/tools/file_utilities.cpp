#include "tools/file_utilities.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_pieces.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "remittance/cnab240.hpp"
#include "tools/rewrite.hpp"

namespace verilote {

namespace {

// Shown in a comparison line in place of the character a shorter record lacks.
constexpr std::string_view kPastTheEnd = "(fim da linha)";

std::uint64_t CountRecords(const std::optional<std::string>& path, Host& host) {
  if (!path) return 0;  // a cancelled dialog compares as an empty file
  RequireRegularFile(*path);
  RecordPieces reader(*path, &host);  // counted without holding a record
  std::uint64_t records = 0;
  while (reader.NextRecord()) ++records;
  return records;
}

std::string_view CharacterAt(std::string_view rec, std::size_t index) {
  return index < rec.size() ? rec.substr(index, 1) : kPastTheEnd;
}

// The positions column .. column + length - 1 of the record, clipped to the
// record at both ends: a column before position 1 or a length below 1 never
// reaches outside it.
std::string_view ClippedField(std::string_view rec, std::int64_t column, std::int64_t length) {
  const auto size = static_cast<std::int64_t>(rec.size());
  const std::int64_t first = std::max<std::int64_t>(column, 1);
  if (length <= 0 || first > size) return {};
  const std::int64_t last = column > size - length + 1 ? size : column + length - 1;  // no overflow
  if (last < first) return {};
  return rec.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

}  // namespace

Verdict VerificarsedoisarquivossoiguaisAt2000registros1Click(Host& host) {
  const auto first = host.OpenFile("Selecione o primeiro arquivo.", FileFilter::Remessa);
  const std::uint64_t count1 = CountRecords(first, host);
  const auto second = host.OpenFile("Selecione o segundo arquivo.", FileFilter::Remessa);
  const std::uint64_t count2 = CountRecords(second, host);
  if (count1 != count2) {
    host.ShowMessage(Cat("O arquivo 1 tem ", count1, " registros e o arquivo 2 tem ", count2,
                         " registros e deverão ter a mesma quantidade para poder comparar."_cp));
    return Verdict::Faulty;
  }
  bool differ = false;
  if (count1 != 0) {
    // The second file in pieces: two records of 32 MiB are compared holding
    // one of them, not both.
    RecordReader reader1(*first, &host);
    RecordPieces reader2(*second, &host);
    const auto report = [&](std::uint64_t line, std::size_t i, std::string_view one, std::string_view two) {
      differ = true;
      host.ReportAppend(Cat("Linha: ", PadCounter(line, 4), " Posição: "_cp, i + 1, " Arquivo 1 tem: ", one,
                            " Arquivo 2 tem: ", two));
    };
    std::string_view a, piece;
    for (std::uint64_t line = 1; line <= count1 && reader1.Next(a); ++line) {
      std::size_t i = 0;  // the position in both records of piece's first byte
      for (reader2.NextRecord(); reader2.Next(piece); i += piece.size()) {
        if (i < a.size() && a.substr(i, piece.size()) == piece) continue;
        for (std::size_t j = 0; j < piece.size(); ++j)
          if (i + j >= a.size() || a[i + j] != piece[j]) report(line, i + j, CharacterAt(a, i + j), piece.substr(j, 1));
      }
      for (; i < a.size(); ++i) report(line, i, a.substr(i, 1), kPastTheEnd);
    }
  }
  host.ReportAppend("======= Fim da verificação ======="_cp);
  return differ ? Verdict::Faulty : Verdict::Clean;
}

Verdict Verificaroconteudodeumcampo1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo.", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi selecionado !!!");
    return Verdict::Clean;
  }
  const std::int64_t wanted = StrToInt(host.InputBox("Número da linha"_cp, "Entre com o número da linha:"_cp, "1"));
  const std::int64_t column = StrToInt(host.InputBox("Número da coluna"_cp, "Entre com o número da coluna:"_cp, "1"));
  const std::int64_t length = StrToInt(host.InputBox("Tamanho do campo", "Entre com o Tamanho do campo:", "1"));
  RequireRegularFile(*path);
  RecordReader reader(*path, &host);
  if (wanted < 1) return Verdict::Clean;
  std::uint64_t record = 0;
  std::string_view rec;
  while (reader.Next(rec)) {
    if (++record != static_cast<std::uint64_t>(wanted)) continue;
    const std::string rule(57, '=');
    host.ReportAppend(rule);
    host.ReportAppend("Conteúdo do campo porcurado:"_cp);
    host.ReportAppend("");
    host.ReportAppend(ClippedField(rec, column, length));
    host.ReportAppend("");
    host.ReportAppend(Cat("Linha:", wanted, " Coluna=", column, " Tamanho=", length));
    host.ReportAppend("");
    host.ReportAppend(rule);
    break;  // nothing after the record is shown
  }
  return Verdict::Clean;
}

Verdict Verificaseumarquivotemcaracteresinvlidos1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo remessa SIGCB", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi selecionado  !!");
    return Verdict::Clean;
  }
  host.ReportClear();
  host.ReportAppend(
      "****  Dependendo do tipo de caracter inválido, o programa para de ler e nesse caso, deve consertar e rodar novamente esta opção ****"_cp);
  RequireRegularFile(*path);
  RecordReader reader(*path, &host);
  std::uint64_t record = 0;
  bool faulty = false;
  std::string_view rec;
  while (reader.Next(rec)) {
    ++record;
    if (!CnabBytes::AnyOutside(rec)) continue;
    std::string line = Cat("linha numero ", record, " com Caracter inválido nas posições: "_cp);
    ListInvalidPositions<CnabBytes>(line, rec);
    host.ReportAppend(line);
    faulty = true;
  }
  host.ReportAppend(Cat("Foi lido até o registro de número "_cp, record));
  host.ReportAppend(Cat("Verifique se o arquivo tem ", record,
                        " registros. Se tiver mais que isso, deve ter um caracter inválido no registro "_cp, record,
                        " ou no ", record + 1));
  return faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
