// What the field tests of the layouts share:
// an example's bytes, and the fields of a run's findings resolved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/report.hpp"
#include "support/field_checks.hpp"

namespace verilote::testing {

inline std::string Example(std::string_view name) { return ReadBytes(Cat(VERILOTE_SOURCE_DIR "/examples/", name)); }

// "record code found=expected" for each field each finding of `handler` on `bytes` names.
inline std::vector<std::string> Resolved(Handler handler, const std::string& bytes) {
  std::vector<std::string> out;
  for (const SeenFinding& f : FindingsOf(handler, bytes))
    for (const ResolvedField& field : ResolveFields({f.line, f.record, f.rec, f.kind, f.fields}))
      out.push_back(Cat(f.record, " ", field.code, " ", field.found, "=", field.expected));
  return out;
}

}  // namespace verilote::testing
