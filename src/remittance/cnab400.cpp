#include "remittance/cnab400.hpp"

#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"

namespace verilote {

namespace {

// Nonzero for a byte the CNAB 400 systems refuse. The ranges (which do not
// overlap) are added as bytes, not or-ed, so that the compiler turns the
// record's scan into vector instructions: every byte of every record goes
// through here.
constexpr unsigned char IsRefused(unsigned char c) {
  const auto in = [c](unsigned char first, unsigned char count) -> unsigned char {
    return static_cast<unsigned char>(c - first) < count;
  };
  const unsigned char allowed =
      static_cast<unsigned char>(in('a', 26) + in('A', 26) + in('0', 11) /* digits and : */ + in('$', 3) /* $ % & */ +
                                 in('(', 2) + in(',', 4) /* , - . / */ + in(' ', 1) + in('@', 1));
  return static_cast<unsigned char>(allowed ^ 1);
}

}  // namespace

void Cnab400Run::Info(std::string_view text) { host.ReportAppend(text); }

void Cnab400Run::Finding(std::string_view text) {
  host.ReportAppend(text);
  faulty = true;
}

std::optional<RecordReader> StartCnab400(Host& host, const Cnab400Start& start) {
  const std::optional<std::string> path = host.OpenFile(start.dialogTitle, FileFilter::Remessa);
  if (!path) return std::nullopt;
  if (!start.notice.empty()) host.ShowMessage(start.notice);
  RecordReader reader(*path, &host);
  host.ReportClear();
  host.ReportAppend(start.warning);
  if (!start.fileLine.empty()) host.ReportAppend(Cat(start.fileLine, *path));
  return reader;
}

std::string InvalidPositions(std::string_view rec) {
  std::string positions;
  if (!AnyByte(rec, [](unsigned char c) { return IsRefused(c); })) return positions;
  for (std::size_t i = 0; i < rec.size(); ++i)
    if (IsRefused(static_cast<unsigned char>(rec[i])) != 0) positions += Cat(i + 1, ',');
  return positions;
}

bool IsValidDdmmyy(std::string_view field) {
  // ddmm, "20", yy: a field cut short by the record's end gives a shorter,
  // invalid text.
  char text[8];
  std::size_t n = 0;
  for (const char c : field.substr(0, 4)) text[n++] = c;
  text[n++] = '2';
  text[n++] = '0';
  for (const char c : field.substr(field.size() < 4 ? field.size() : 4, 2)) text[n++] = c;
  return IsValidDate(std::string_view(text, n));
}

std::optional<std::uint64_t> WholeNumber(std::string_view field) {
  if (field.empty() || field.size() > 18 || !IsAllDigits(field)) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : field) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

}  // namespace verilote
