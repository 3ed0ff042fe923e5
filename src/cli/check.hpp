// verilote-cli check: the layout of each file detected and its validator run,
// with a per-file report as text, JSON or JUnit XML for pipelines.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/fields.hpp"

namespace verilote {

// `args` are the arguments after "check". Returns the exit status.
int CheckMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// For a caller that shows the run as it goes (the JavaScript API): the
// reading's progress (false stops the run, as Stop does in the window) and,
// when `line` is set, each report line as it comes (Windows-1252, with the
// file names it may quote: TerminalText makes it the JSON document's UTF-8)
// and the finding it is (nullptr for a line that is not one). The JSON
// document's "report" and "issues" then stay empty, so that nothing of a
// report of millions of lines is held.
struct CheckStream {
  std::function<void(std::string_view line, std::span<const std::string> names, const Finding* finding)> line;
  std::function<bool(std::uint64_t bytesRead, std::uint64_t bytesTotal)> progress;
};
// check with `args` as CheckMain takes them, the run shown to `stream`.
int CheckStreamed(std::span<const std::string_view> args, const CheckStream& stream, std::ostream& out,
                  std::ostream& err);

// A report line the summary counts as a finding: "Registro numero", "Linha"
// and "Reg:" name a record; "Erro" begins the code lists and the old layout's
// findings.
bool IsFindingLine(std::string_view line);

// Decodes one UTF-8 character at text[i] and advances i; nothing for a
// malformed sequence, an overlong form, a surrogate or a value past U+10FFFF
// (i then moves past its first byte).
std::optional<char32_t> DecodeStrictUtf8(std::string_view text, std::size_t& i);

// A UTF-8 text as a JSON string, quotes included: quotes, backslashes and
// control characters escaped, malformed UTF-8 as U+FFFD.
std::string JsonString(std::string_view utf8);

// A UTF-8 text for XML content or attributes: markup characters as entities;
// malformed UTF-8, and the characters XML 1.0 cannot carry (control
// characters, U+FFFE, U+FFFF), as U+FFFD.
std::string XmlText(std::string_view utf8);

// A finding's field in words (Windows-1252), as the JUnit failure text and
// `show` give it: "registro 3, campo 09.3P (posição 23, DV da agência):
// encontrado "4", esperado dígito 3".
std::string FieldFindingText(std::uint64_t record, const ResolvedField& field);

// A finding as a JSON object (UTF-8): its record, its line, the kind of its
// record and each field it names with positions, name, the bytes found and
// the value expected (null where the dictionary says nothing).
std::string JsonIssue(const Finding& finding, std::span<const std::string> names);

}  // namespace verilote
