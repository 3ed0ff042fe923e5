// Field cases for the SIEMD and CobCaixa validators: a valid file, one field
// broken, and the exact report lines that must come; and the faulty examples
// through verilote-cli.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/cli.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

using Texts = std::vector<std::string>;

// A record of `size` blanks with the fields written at their positions.
inline std::string Rec(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
  std::string rec(size, ' ');
  for (const auto& [pos, value] : fields) Put(rec, pos, value);
  return rec;
}

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

// The clean file gives `cleanReport`; each case adds its lines and takes none
// away, except `cleanEnd`, a clean report's verdict line, which a faulty
// report writes as `faultyEnd` after the findings.
inline void BreakOneField(Handler handler, const Texts& clean, const Texts& cleanReport,
                          const std::vector<FieldCase>& cases, std::string_view cleanEnd = {},
                          std::string_view faultyEnd = {}) {
  const Validation valid = Check(handler, clean);
  EXPECT_EQ(valid.status, Outcome::Status::Clean);
  EXPECT_EQ(valid.report, cleanReport);
  for (const FieldCase& c : cases) {
    Texts broken = clean, added, removed;
    if (c.value.empty()) broken[c.line - 1].resize(c.pos - 1);
    Put(broken[c.line - 1], c.pos, c.value);
    const Validation after = Check(handler, broken);
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

// verilote-cli on the faulty example examples/`example`: exit status 1 and
// `report` printed, in UTF-8, the path as "FILE".
inline void ExpectCliReport(std::string_view handler, const std::string& example, const Texts& report) {
  std::ostringstream out, err, expected;
  const std::string file = std::string(VERILOTE_SOURCE_DIR) + "/examples/" + example;
  const std::string_view args[] = {"run", handler, "--file", file, "--today", "06/12/2026"};
  EXPECT_EQ(CliMain(args, out, err), kExitFaulty) << err.str();
  for (const std::string& line : report) expected << ToUtf8(line) << "\n";
  std::string printed = out.str();
  if (const auto at = printed.find(file); at != std::string::npos) printed.replace(at, file.size(), "FILE");
  EXPECT_EQ(printed, expected.str());
}

}  // namespace verilote::testing
