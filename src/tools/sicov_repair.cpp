#include "tools/sicov_repair.hpp"

#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "tools/rewrite.hpp"

namespace verilote {

namespace {

constexpr std::size_t kRecordLength = 150;

std::optional<std::string> ChooseSicovFile(Host& host) {
  host.ReportClear();
  return host.OpenFile("Selecione o arquivo remessa SICOV", FileFilter::Remessa);
}

void Finish(Host& host, RecordRewrite& file) {
  file.Commit();
  host.ShowMessage("Fim Do Acerto !!!");
}

// What lies beyond the layout's 150 positions is kept, never cut.
std::string_view Tail(std::string_view rec) { return rec.size() > kRecordLength ? rec.substr(kRecordLength) : ""; }

// A SICOV remittance opens with its header, record type "A" at position 1.
void ExpectSicovHeader(RecordRewrite& file) {
  file.ExpectHeader([](std::string_view rec) { return Field(rec, 1, 1) == "A"; },
                    "a SICOV header (record type \"A\" at position 1)");
}

bool HasControlByte(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

Verdict AlteraNSA1Click(Host& host) {
  const auto path = ChooseSicovFile(host);
  if (!path) return Verdict::Clean;
  RecordRewrite file(*path, host);
  ExpectSicovHeader(file);
  std::string_view rec;
  while (file.Next(rec)) {
    if (Field(rec, 1, 1) != "A") {
      file.Write(rec);
      continue;
    }
    const std::string answer = host.InputBox("Número do NSA"_cp, "Digite o NSA", Field(rec, 74, 79));
    // A carriage return or line feed typed into the NSA would split the header.
    if (HasControlByte(answer))
      file.Refuse(Cat("the NSA typed for record ", file.Records(), " holds a control character"));
    // A header shorter than 73 positions is blank-filled so that the NSA
    // still lands at positions 74-79.
    file.Write(Cat(PadSpaceRight(Field(rec, 1, 73), 73), PadZeroLeft(answer, 6), Field(rec, 80, rec.size())));
  }
  Finish(host, file);
  return Verdict::Clean;
}

Verdict AcertacamposBrancos1Click(Host& host) {
  const auto path = ChooseSicovFile(host);
  if (!path) return Verdict::Clean;
  RecordRewrite file(*path, host);
  ExpectSicovHeader(file);
  std::string_view rec;
  while (file.Next(rec)) {
    const std::string_view type = Field(rec, 1, 1);
    if (type == "A") {
      // Positions 1-8 and 23-98 kept, 9-22 and 99-150 blank.
      file.Write(Cat(PadSpaceRight(Field(rec, 1, 8), 22), PadSpaceRight(Field(rec, 23, 98), 128), Tail(rec)));
    } else if (type == "E") {
      // Positions 1-129 and 150 kept, 130-149 blank; a detail too short to
      // reach position 150 gets a blank there, so that it has 150 positions.
      const std::string_view last = rec.size() >= kRecordLength ? rec.substr(kRecordLength - 1) : " ";
      file.Write(Cat(PadSpaceRight(Field(rec, 1, 129), 149), last));
    } else if (type == "Z") {
      // Positions 1-41 trimmed and zero-filled on the right, 42-150 blank.
      file.Write(Cat(PadSpaceRight(PadZeroRight(Trim(Field(rec, 1, 41)), 41), kRecordLength), Tail(rec)));
    }
  }
  Finish(host, file);
  return Verdict::Clean;
}

}  // namespace verilote
