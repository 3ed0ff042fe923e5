// "Gera arquivo para Importação a partir de remessa": the payee import file of
// the bank's client program rebuilt from a SIACC 240 remittance, one line of
// 261 characters per B segment, paired with the A segment before it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/report_output.hpp"
#include "banking/text.hpp"
#include "layouts/siacc.hpp"

namespace verilote {

namespace {

constexpr std::int64_t kLastCode = 999999;

// Positions from-to of a record, blank-filled to their width: a B before any
// A, or a short record, keeps every later field in its column.
std::string Column(std::string_view rec, std::size_t from, std::size_t to) {
  return PadSpaceRight(Field(rec, from, to), to - from + 1);
}

std::string ImportLine(std::string_view code, std::string_view phone, std::string_view a, std::string_view b) {
  return Cat(code, Column(a, 44, 73), Column(a, 44, 73), phone, Column(b, 118, 125), Column(b, 33, 62),
             Column(b, 63, 67), std::string(15, ' '), Column(b, 98, 117), Column(b, 83, 97), std::string(5, ' '),
             Column(b, 126, 127), "F000", Column(b, 22, 32), "0000E", std::string(20, ' '), "1,00",
             std::string(10, ' '), Column(a, 21, 23), Column(a, 24, 28), Column(a, 29, 29), Column(a, 30, 42), " BRL");
}

}  // namespace

Verdict GeraarquivoparaImportaoapartirderemessa1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo remessa SIACC", FileFilter::Remessa);
  if (!path) return Verdict::Clean;
  host.ReportClear();
  std::string code =
      PadZeroLeft(KeepDigits(host.InputBox("Código Inicial"_cp, "Digite o código inicial"_cp, "000001")), 6);
  const std::string phone = PadSpaceRight(
      KeepDigits(host.InputBox("Número Telefone da Empresa"_cp, "Digite o número do telefone sem DDD"_cp, "")), 15);

  const std::filesystem::path folder = platform::PathOf(*path).parent_path();
  const std::string target = platform::Utf8Of(folder / kSiaccImportName);
  // The import file is named after no remittance: a remittance that bears its
  // name in its own folder would be replaced by what is read from it.
  if (platform::SameFile(*path, target))
    throw FileError(target, "is the remittance being read: move or rename the remittance first");

  RecordReader reader(*path, &host);
  ReplacingFile out(target);
  std::string a;  // the last A segment
  bool codesLeft = true;
  std::string_view rec;
  while (reader.Next(rec)) {
    const std::string_view segment = Field(rec, 14, 14);
    if (segment == "A") {
      a.assign(rec);
    } else if (segment == "B") {
      // Codes have six digits: past 999999 they would wrap and repeat.
      if (!codesLeft)
        throw FileError(target, "more payees than codes up to 999999: start from a lower code; nothing was written");
      out.WriteLine(ImportLine(code, phone, a, rec));
      const std::int64_t next = StrToInt(code) + 1;
      codesLeft = next <= kLastCode;
      code = PadZeroLeft(Cat(next), 6);
    }
  }
  reader.RequireWhole();
  out.Commit();
  host.ShowMessage(Cat("Criado arquivo: ", kSiaccImportName, "\rNa mesma pasta do arquivo original."));
  return Verdict::Clean;
}

}  // namespace verilote
