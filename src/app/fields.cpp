#include "app/fields.hpp"

#include <algorithm>

namespace verilote {

const FieldSpec* RecordKind::Find(std::string_view code) const {
  for (const FieldSpec& field : fields)
    if (field.code == code) return &field;
  return nullptr;
}

std::vector<std::string_view> FieldCodes(std::string_view fields) {
  std::vector<std::string_view> codes;
  constexpr std::string_view kSeparators = " ,()";
  for (std::size_t i = fields.find_first_not_of(kSeparators); i != std::string_view::npos;) {
    const std::size_t end = std::min(fields.find_first_of(kSeparators, i), fields.size());
    const std::string_view code = fields.substr(i, end - i);
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    i = fields.find_first_not_of(kSeparators, end);
  }
  return codes;
}

ResolvedField ResolveField(const FieldSpec& field, std::string_view rec) {
  ResolvedField out{std::string(field.code), field.from, field.to, std::string(field.name), {}, {}, true};
  if (field.from >= 1 && field.from <= rec.size())
    out.found = std::string(rec.substr(field.from - 1, std::min(field.to, rec.size()) - field.from + 1));
  out.expected = field.computed != nullptr ? field.computed(rec) : std::string(field.expected);
  return out;
}

std::vector<ResolvedField> ResolveFields(const Finding& finding) {
  std::vector<ResolvedField> resolved;
  for (std::string_view code : FieldCodes(finding.fields)) {
    const FieldSpec* field = finding.kind != nullptr ? finding.kind->Find(code) : nullptr;
    if (field != nullptr) {
      resolved.push_back(ResolveField(*field, finding.rec));
    } else {
      ResolvedField unknown;
      unknown.code = std::string(code);
      resolved.push_back(std::move(unknown));
    }
  }
  return resolved;
}

}  // namespace verilote
