#include "tools/sigcb_repair.hpp"

#include <cstdint>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "tools/rewrite.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNoFile = "Nenhum arquivo foi selecionado.";

// The sequence number of a detail (field 04.3, positions 9-13) has five
// digits; the record counts of the trailers (positions 18-23 and 24-29) six.
constexpr std::uint64_t kMaxDetails = 99999;
constexpr std::uint64_t kMaxRecords = 999999;

// Positions 1..from-1 of a record (blank-filled when the record is shorter,
// so that the value still lands at its positions), `value`, then the rest
// from the position after it.
std::string Replace(std::string_view rec, std::size_t from, std::string_view value) {
  return Cat(PadSpaceRight(Field(rec, 1, from - 1), from - 1), value, Field(rec, from + value.size(), rec.size()));
}

// A CNAB 240 remittance opens with its file header: positions 1-7 digits
// (bank and lote "0000"), record type "0" at position 8, 240 positions. A
// SICOV file's trailer or header may hold a "0" or "3" at position 8 too.
void ExpectFileHeader(RecordRewrite& file) {
  file.ExpectHeader(
      [](std::string_view rec) {
        return rec.size() >= 240 && IsAllDigits(Field(rec, 1, 7)) && Field(rec, 8, 8) == "0";
      },
      "a CNAB 240 file header (record type \"0\" at position 8 of 240 positions)");
}

bool HasControlByte(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

Verdict AlteraNmerodaRemessa1Click(Host& host) {
  const std::string_view reminder =
      "Lembre-se de alterar nos parâmetros do cedente para não rejeitar a próxima remessa."_cp;
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo remessa SIGCB", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage(kNoFile);
    host.ShowMessage(reminder);
    return Verdict::Clean;
  }
  const std::string answer = host.InputBox("NSA", "Digite o NSA desejado", "1");
  // A carriage return or line feed typed into the NSA would split the header.
  if (HasControlByte(answer))
    throw FileError(*path, "the NSA typed holds a control character; the file was not changed");
  const std::string nsa = PadZeroLeft(answer, 6);
  RecordRewrite file(*path, host);
  ExpectFileHeader(file);
  std::string_view rec;
  while (file.Next(rec)) {
    const std::string_view type = Field(rec, 8, 8);
    if (type == "0")
      file.Write(Replace(rec, 158, nsa));  // field 18.0, the file's NSA
    else if (type == "1")
      file.Write(Replace(rec, 186, nsa));  // the lote's remittance number; 184-185 stay
    else
      file.Write(rec);
  }
  file.Commit();
  host.ShowMessage(Cat("NSA da Remessa alterada para ", answer, " e pronta para ser enviada !!!\r", *path));
  host.ShowMessage(reminder);
  return Verdict::Clean;
}

// Each lote is renumbered on its own and each trailer counts what was written:
// the lote trailer the lote's header, details and itself, the file trailer
// every record written. A file of one lote gets the same numbers as counting
// the details through the whole file would give.
Verdict RemessaComRegistroCarnRetirasegmentoY1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage(kNoFile);
    return Verdict::Clean;
  }
  RecordRewrite file(*path, host);
  ExpectFileHeader(file);
  std::uint64_t details = 0;      // in the current lote, renumbered
  std::uint64_t loteRecords = 0;  // written since the lote header, the header included
  std::uint64_t written = 0;      // in the whole file
  std::string_view rec;
  while (file.Next(rec)) {
    const std::string_view type = Field(rec, 8, 8);
    if (type == "3" && Field(rec, 14, 14) == "Y") continue;
    if (type == "1") {
      details = loteRecords = 0;
      file.Write(rec);
    } else if (type == "3") {
      if (++details > kMaxDetails)
        file.Refuse(Cat("the lote of record ", file.Records(), " would hold more than 99999 details, ",
                        "more than positions 9-13 can number"));
      file.Write(Replace(rec, 9, PadZeroLeft(Cat(details), 5)));
    } else if (type == "5") {
      file.Write(Replace(rec, 18, PadZeroLeft(Cat(loteRecords + 1), 6)));
    } else if (type == "9") {
      if (written + 1 > kMaxRecords)
        file.Refuse("it would hold more than 999999 records, more than positions 24-29 of the file trailer can count");
      file.Write(Replace(rec, 24, PadZeroLeft(Cat(written + 1), 6)));
    } else {
      file.Write(rec);
    }
    ++loteRecords;
    ++written;
  }
  file.Commit();
  host.ShowMessage(Cat("Remessa pronta ", *path, " para ser enviada !!!"));
  return Verdict::Clean;
}

}  // namespace verilote
