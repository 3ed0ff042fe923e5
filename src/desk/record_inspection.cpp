#include "desk/record_inspection.hpp"

#include <algorithm>
#include <exception>

#include "app/cp1252.hpp"
#include "app/report.hpp"

namespace verilote {

namespace {

// Bytes as the screen shows them: a control byte takes one blank cell, so
// that positions stay aligned.
std::string Blanked(std::string_view bytes) {
  std::string out(bytes.substr(0, RecordInspection::kShownBytes));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

// A field resolved against the record; a check digit whose routine cannot
// read a short or odd record shows no expected value rather than failing.
ResolvedField Resolve(const FieldSpec& field, std::string_view rec) {
  try {
    return ResolveField(field, rec);
  } catch (const std::exception&) {
    return ResolveField(FieldSpec{field.code, field.from, field.to, field.name}, rec);
  }
}

InspectionRow Row(const ResolvedField& field, bool named) {
  InspectionRow row{field.code, {}, field.name, Blanked(field.found), field.expected, 0, 0, named};
  if (field.known) {
    row.positions = field.from == field.to ? Cat(field.from) : Cat(field.from, "-", field.to);
    row.from = field.from;
    row.to = field.to;
  }
  return row;
}

// The file's name after its last folder separator (either kind: a report
// made on one system names its files that system's way).
std::string BaseName(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// The record of `entry`, or why it cannot be shown (into `out`).
std::string ReadRecord(const FindingIndex::Entry& entry, RecordLocator& locator, RecordInspection& out) {
  const auto about = [&](std::string_view before, std::string_view after) {
    out.message = Cat(before, after);
    out.fileAt = before.size();
  };
  if (entry.record == 0) {
    out.message = "Este achado é sobre o arquivo como um todo."_cp;
    return {};
  }
  if (entry.file.empty()) {
    out.message = "O comando não leu arquivo: não há registro a mostrar."_cp;
    return {};
  }
  RecordLocator::Result read = locator.Read(entry.file, entry.record);
  const std::string number = Cat(entry.record);
  if (read.status == RecordLocator::Status::Missing) {
    about("O arquivo ",
          Cat(" não foi encontrado ou não pode ser aberto: o registro "_cp, number, " não pode ser mostrado."_cp));
  } else if (read.status == RecordLocator::Status::TooLong) {
    out.message = Cat("O registro ", number, " é longo demais para ser mostrado."_cp);
  } else if (read.status == RecordLocator::Status::TooShort ||
             (entry.recordHash != 0 && RecordHash(read.record) != entry.recordHash)) {
    about("O arquivo ", Cat(" mudou desde a validação: o registro "_cp, number, " não é mais o que foi validado."_cp));
  } else {
    return std::move(read.record);
  }
  return {};
}

}  // namespace

RecordInspection Inspect(const FindingIndex::Entry& entry, std::string_view line, RecordLocator& locator) {
  RecordInspection out;
  out.heading = entry.record == 0 ? std::string("Arquivo") : Cat("Registro ", entry.record);
  if (entry.kind != nullptr && !entry.kind->name.empty()) out.heading += Cat(" (", entry.kind->name, ")");
  out.fileName = BaseName(entry.file);
  out.findingLine = Blanked(line);
  const std::string rec = ReadRecord(entry, locator, out);
  const bool shown = out.Shown();

  // Every field of the kind in order, with the stretches no field names by
  // their positions alone. Without the record, only the named fields, with
  // what the layout expects: where to look, still.
  const std::vector<std::string_view> named = FieldCodes(entry.fields);
  const auto isNamed = [&named](std::string_view code) {
    return !code.empty() && std::find(named.begin(), named.end(), code) != named.end();
  };
  const std::size_t length = std::min(rec.size(), RecordInspection::kShownBytes);
  std::size_t next = 1;
  const auto gap = [&](std::size_t to) {
    if (!shown || to < next) return;
    ResolvedField stretch;
    stretch.from = next;
    stretch.to = to;
    stretch.found = rec.substr(next - 1, to - next + 1);
    stretch.known = true;
    out.rows.push_back(Row(stretch, false));
  };
  if (entry.kind != nullptr) {
    for (const FieldSpec& field : entry.kind->fields) {
      const bool flagged = isNamed(field.code);
      if (!flagged && (!shown || field.from > length)) continue;
      gap(std::min(field.from - 1, length));
      out.rows.push_back(Row(Resolve(field, rec), flagged));
      if (!shown && field.computed != nullptr) out.rows.back().expected.clear();
      next = std::max(next, field.to + 1);
    }
  }
  gap(length);
  for (std::string_view code : named)
    if (entry.kind == nullptr || entry.kind->Find(code) == nullptr) {
      ResolvedField unknown;
      unknown.code = std::string(code);
      unknown.name = "(campo fora do dicionário do layout)"_cp;
      out.rows.push_back(Row(unknown, true));
    }

  for (std::size_t i = 0; i < out.rows.size(); ++i) {
    const InspectionRow& row = out.rows[i];
    if (!row.named) continue;
    if (out.firstNamed < 0) out.firstNamed = static_cast<int>(i);
    if (shown && row.from >= 1 && row.from <= length) out.marks.emplace_back(row.from, std::min(row.to, length));
  }

  if (!shown) return out;
  out.record = Blanked(rec);
  // The tens, each number ending above its position, and the units.
  out.rulerTens.assign(length, ' ');
  for (std::size_t p = 1; p <= length; ++p) {
    out.rulerUnits += static_cast<char>('0' + p % 10);
    if (p % 10 == 0) {
      const std::string number = Cat(p);
      out.rulerTens.replace(p - number.size(), number.size(), number);
    }
  }
  return out;
}

}  // namespace verilote
