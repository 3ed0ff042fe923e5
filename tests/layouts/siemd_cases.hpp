// Field cases for the SIEMD and CobCaixa validators: a valid file, one field
// broken, and the exact report lines that must come (and nothing else go);
// and the commands run through verilote-cli.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/cli.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

using Texts = std::vector<std::string>;

// The report of `handler` on the lines, the temporary file's path read as "FILE".
inline Validation Check(Handler handler, const Texts& lines) {
  Validation v = Validate(handler, lines);
  for (std::string& line : v.report)
    if (const auto at = line.find(std::filesystem::temp_directory_path().string()); at != std::string::npos)
      line.replace(at, std::string::npos, "FILE");
  return v;
}

struct FieldCase {
  std::size_t line, pos;                   // of the clean file, 1-based
  std::string value;                       // written at pos; empty: the record is cut before pos
  std::vector<std::string_view> messages;  // each comes as "Linha " + line + message
};

// The clean file must give `cleanReport`; each case then adds its lines to
// it and takes none away, except that `cleanEnd`, when given, is the closing
// line of a clean report that a faulty one writes as `faultyEnd` after the findings.
inline void BreakOneField(Handler handler, const Texts& clean, const Texts& cleanReport,
                          const std::vector<FieldCase>& cases, std::string_view cleanEnd = {},
                          std::string_view faultyEnd = {}) {
  const Validation valid = Check(handler, clean);
  EXPECT_EQ(valid.status, Outcome::Status::Clean);
  EXPECT_EQ(valid.report, cleanReport);
  for (const FieldCase& c : cases) {
    Texts broken = clean, added, removed;
    if (c.value.empty())
      broken[c.line - 1].resize(c.pos - 1);
    else
      Put(broken[c.line - 1], c.pos, c.value);
    const Validation after = Check(handler, broken);
    for (const std::string_view m : c.messages) added.push_back(Cat("Linha ", c.line, m));
    if (!added.empty() && !cleanEnd.empty()) {
      removed.emplace_back(cleanEnd);
      added.emplace_back(faultyEnd);
    }
    const ReportChanges changes = Changes(cleanReport, after.report);
    const std::string trace = Cat("line ", c.line, " pos ", c.pos, " '", c.value, "'");
    EXPECT_EQ(changes.added, added) << trace;
    EXPECT_EQ(changes.removed, removed) << trace;
    EXPECT_EQ(after.status, added.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty) << trace;
  }
}

// verilote-cli runs `handler` on the faulty example examples/`example`: exit
// status 1 and `report` printed (UTF-8, a line each; the path as "FILE").
inline void ExpectCliReport(std::string_view handler, const std::string& example, const Texts& report) {
  std::ostringstream out, err;
  const std::string file = std::string(VERILOTE_SOURCE_DIR) + "/examples/" + example;
  const std::string_view args[] = {"run", handler, "--file", file, "--today", "06/12/2026"};
  EXPECT_EQ(CliMain(args, out, err), kExitFaulty) << err.str();
  std::string expected;
  for (const std::string& line : report) expected += ToUtf8(line) + "\n";
  std::string printed = out.str();
  if (const auto at = printed.find(file); at != std::string::npos) printed.replace(at, file.size(), "FILE");
  EXPECT_EQ(printed, expected);
}

}  // namespace verilote::testing
