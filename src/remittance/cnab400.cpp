#include "remittance/cnab400.hpp"

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"

namespace verilote {

void Cnab400Run::Info(std::string_view text) { host.ReportAppend(text); }

void Cnab400Run::Finding(std::string_view text, std::string_view fields) {
  host.ReportFinding(verilote::Finding{text, line, rec, kind, fields});
  faulty = true;
}

void Cnab400Run::FileFinding(std::string_view text) {
  host.ReportFinding(verilote::Finding{text, 0});
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
  if (!PlainBytes::AnyOutside(rec)) return positions;
  ListInvalidPositions<PlainBytes>(positions, rec);
  return positions;
}

bool IsValidDdmmyy(std::string_view field) {
  // ddmm, "20", yy, as IsValidDate reads "ddmm20yy": six digits naming a real
  // day. A field cut short by the record's end is invalid.
  const std::string_view digits = field.substr(0, 6);
  if (digits.size() != 6 || !IsAllDigits(digits)) return false;
  const auto number = [&digits](std::size_t at) { return (digits[at] - '0') * 10 + (digits[at + 1] - '0'); };
  return detail::IsRealDdmmyyyy({2000 + number(4), number(2), number(0)});
}

std::optional<std::uint64_t> WholeNumber(std::string_view field) {
  if (field.empty() || field.size() > 18 || !IsAllDigits(field)) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : field) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

}  // namespace verilote
