// Field cases for the SIEMD and CobCaixa validators: a valid file, one field
// broken, and the exact report lines that must come; and the faulty examples
// through verilote-cli.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

using Texts = std::vector<std::string>;

// A record of `size` blanks with the fields written at their positions.
inline std::string Rec(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
  std::string rec(size, ' ');
  for (const auto& [pos, value] : fields) Put(rec, pos, value);
  return rec;
}

struct FieldCase {
  std::size_t line, pos;                   // of the clean file, 1-based
  std::string value;                       // written at pos; empty: the record is cut before pos
  std::vector<std::string_view> messages;  // each comes as "Linha " + line + message
};

// The clean file is clean (the examples test holds the whole report of each
// clean example byte for byte); each case adds its lines to its report and
// takes none away, except `cleanEnd`, a clean report's verdict line, which a
// faulty report writes as `faultyEnd` after the findings.
inline void BreakOneField(Handler handler, const Texts& clean, const std::vector<FieldCase>& cases,
                          std::string_view cleanEnd = {}, std::string_view faultyEnd = {}) {
  const Validation valid = Validate(handler, clean);
  EXPECT_EQ(valid.status, Outcome::Status::Clean);
  const Texts& cleanReport = valid.report;
  for (const FieldCase& c : cases) {
    Texts broken = clean, added, removed;
    if (c.value.empty()) broken[c.line - 1].resize(c.pos - 1);
    Put(broken[c.line - 1], c.pos, c.value);
    const Validation after = Validate(handler, broken);
    for (const std::string_view m : c.messages) added.push_back(Cat("Linha ", c.line, m));
    if (!added.empty() && !cleanEnd.empty()) {
      removed.emplace_back(cleanEnd);
      added.emplace_back(faultyEnd);
    }
    const ReportChanges changes = Changes(cleanReport, after.report);
    EXPECT_EQ(changes.added, added) << c.line << " " << c.pos << " '" << c.value << "'";
    EXPECT_EQ(changes.removed, removed) << c.line << " " << c.pos << " '" << c.value << "'";
    EXPECT_EQ(after.status, added.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty);
  }
}

}  // namespace verilote::testing
