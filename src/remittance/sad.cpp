#include "remittance/sad.hpp"

#include <cstdint>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "remittance/sad_fields.hpp"

namespace verilote {

namespace {

constexpr std::size_t kRecordLength = 162;

// A field of a payer record and its finding, followed by the record number.
struct FieldMessage {
  std::size_t from, to;
  std::string_view message;
  std::string_view field;  // its code in the dictionary: the positions
};

// Payer record numeric fields, checked in this order after position 148.
constexpr FieldMessage kNumericFields[] = {
    {1, 9, "Erro não é número da pos=1 até 9. registro="_cp, "1-9"},
    {10, 14, "Erro não é número da pos=10 até 14. registro="_cp, "10-14"},
    {126, 133, "Erro não é número da pos=126 até 133. registro="_cp, "126-133"},
    {134, 142, "Erro não é número da pos=134 até 142. registro="_cp, "134-142"},
    {143, 147, "Erro não é número da pos=143 até 147. registro="_cp, "143-147"},
    {149, 157, "Erro não é número da pos=149 até 157. registro="_cp, "149-157"},
    {158, 162, "Erro não é número da pos=158 até 162. registro="_cp, "158-162"},
};

// Payer name and address, checked after the movement code.
constexpr FieldMessage kRequiredFields[] = {
    {16, 55, "Erro falta nome (pos=16,40). registro=", "16-55"},
    {56, 95, "Erro falta endereco (pos=56,40). registro=", "56-95"},
    {96, 109, "Erro falta bairro (pos=96,14). registro=", "96-109"},
    {110, 123, "Erro falta cidade (pos=110,14). registro=", "110-123"},
    {124, 125, "Erro falta UF (pos=124,2). registro=", "124-125"},
};

struct Run {
  Host& host;
  std::uint64_t record = 0;
  std::int64_t announced = 0;
  bool faulty = false;
  std::string header = {};  // record 1, whose count the end of the file is held to

  void Finding(const std::string& line, std::string_view rec, std::string_view field) {
    host.ReportFinding({line, record, rec, record == 1 ? &kSadHeaderKind : &kSadPayerKind, field});
    faulty = true;
  }

  void Header(std::string_view rec) {
    header = rec.substr(0, kRecordLength);  // all its fields, whatever its length
    const std::string_view quantity = Field(rec, 6, 11);
    announced = IsNumeric(quantity) ? StrToInt(quantity) : 0;
    host.ReportAppend(Cat("Cód="_cp, Field(rec, 1, 5), "    Qtde de regs=", quantity));
    host.ReportAppend(Cat("Gerado em: ", Field(rec, 12, 13), "/", Field(rec, 14, 15), "/", Field(rec, 16, 19)));
    if (!Trim(Field(rec, 18, 162)).empty())
      Finding(std::string("Erro HEADER não é branco (pos=18 até 145)."_cp), rec, "18-162");
  }

  void Payer(std::string_view rec) {
    if (!Trim(Field(rec, 148, 148)).empty())
      Finding(Cat("Erro não é branco (pos=148). registro="_cp, record), rec, "148");
    for (const FieldMessage& f : kNumericFields)
      if (!IsNumeric(Field(rec, f.from, f.to))) Finding(Cat(f.message, record), rec, f.field);
    const std::string_view movement = Field(rec, 15, 15);
    if (movement != "I" && movement != "A" && movement != "E")
      Finding(Cat("Erro encontrado ", movement, " na pos=15 e deveria ser I ou A ou E.  reg=", record), rec, "15");
    for (const FieldMessage& f : kRequiredFields)
      if (Trim(Field(rec, f.from, f.to)).empty()) Finding(Cat(f.message, record), rec, f.field);
  }
};

}  // namespace

Verdict SadSicob1Click(Host& host) {
  host.ReportClear();
  const auto path = host.OpenFile("Selecione o arquivo remessa SAD", FileFilter::Texto);
  if (!path) return Verdict::Clean;
  RecordReader reader(*path, &host);
  Run run{host};
  std::string rec;
  while (reader.Next(rec)) {
    ++run.record;
    if (run.record == 1)
      run.Header(rec);
    else
      run.Payer(rec);
    // The record ends short of position 162 or runs past it: its last field says so.
    if (rec.size() != kRecordLength)
      run.Finding(
          Cat("Erro reg nr. ", run.record, " tamanho esperado 162, encontrado ", rec.size(), " no reg=", run.record),
          rec, run.record == 1 ? "18-162" : "158-162");
  }
  if (run.announced >= 0 && static_cast<std::uint64_t>(run.announced) == run.record) {
    host.ReportAppend(Cat("Fim do arquivo. Lidos ", run.record, " registros."));
  } else {
    // The file as a whole, against the count its header announces.
    const std::string line =
        Cat("Erro na quantidade de registros. Lidos ", run.record, " registros. Informados ", run.announced);
    run.record = 1;
    run.Finding(line, run.header, "6-11");
  }
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
