// The texts check writes into its structured formats: JSON strings and XML
// content from UTF-8, and a finding's fields as JSON and as a JUnit line.
#include <cstdio>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/check.hpp"
#include "cli/cli.hpp"

namespace verilote {

namespace {

// Positions a-b, or a alone, in words.
std::string PositionsText(std::size_t from, std::size_t to) {
  return from == to ? Cat("posição "_cp, from) : Cat("posições "_cp, from, "-", to);
}

}  // namespace

std::optional<char32_t> DecodeStrictUtf8(std::string_view text, std::size_t& i) {
  const std::size_t start = i;
  const std::optional<char32_t> cp = cp1252::DecodeUtf8(text, i);
  if (!cp) return std::nullopt;
  // The shortest form only; no UTF-16 surrogate, nothing past U+10FFFF.
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (*cp < kLeast[i - start - 1] || (*cp >= 0xD800 && *cp <= 0xDFFF) || *cp > 0x10FFFF) {
    i = start + 1;
    return std::nullopt;
  }
  return cp;
}

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Hands each character of a UTF-8 text to `put` with its bytes; a malformed
// sequence comes as U+FFFD, byte by byte.
template <typename Put>
void ForEachCharacter(std::string_view utf8, Put put) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    const std::optional<char32_t> cp = DecodeStrictUtf8(utf8, i);
    if (cp)
      put(*cp, utf8.substr(start, i - start));
    else
      put(U'\uFFFD', kReplacement);
  }
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  ForEachCharacter(utf8, [&out](char32_t cp, std::string_view bytes) {
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += bytes;
    } else if (cp == '\n') {
      out += "\\n";
    } else if (cp == '\r') {
      out += "\\r";
    } else if (cp == '\t') {
      out += "\\t";
    } else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
      // The C1 controls too: a terminal would act on U+009B as on ESC [.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(cp));
      out += escaped;
    } else {
      out += bytes;
    }
  });
  return out + "\"";
}

std::string XmlText(std::string_view utf8) {
  std::string out;
  ForEachCharacter(utf8, [&out](char32_t cp, std::string_view bytes) {
    switch (cp) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // XML 1.0 has no way to carry the other control characters, escaped
        // or not, nor U+FFFE and U+FFFF.
        if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF) {
          out += kReplacement;
        } else if (cp >= 0x7F && cp <= 0x9F) {
          // Legal in XML 1.0, but a terminal showing the document would act
          // on them raw: as references they reach the parser unchanged.
          char reference[8];
          std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(cp));
          out += reference;
        } else {
          out += bytes;
        }
    }
  });
  return out;
}

std::string FieldFindingText(std::uint64_t record, const ResolvedField& field) {
  std::string text = Cat("registro ", record, ", campo ", field.code);
  if (!field.known) return text + " (desconhecido)";
  text += Cat(" (", PositionsText(field.from, field.to), ", ", field.name, "): encontrado \"", field.found, "\"");
  if (!field.expected.empty()) text += Cat(", esperado ", field.expected);
  return text;
}

std::string JsonIssue(const Finding& finding, std::span<const std::string> names) {
  const auto text = [](std::string_view cp1252) { return JsonString(ToUtf8(cp1252)); };
  std::string json =
      Cat("{\"record\": ", finding.record, ", \"line\": ", JsonString(TerminalText(finding.line, names)),
          ", \"kind\": ", finding.kind != nullptr ? text(finding.kind->name) : "null", ", \"fields\": [");
  bool first = true;
  for (const ResolvedField& field : ResolveFields(finding)) {
    json += Cat(first ? "" : ", ", "{\"code\": ", text(field.code));
    first = false;
    if (!field.known) {
      json += ", \"from\": null, \"to\": null, \"name\": null, \"found\": null, \"expected\": null}";
      continue;
    }
    json += Cat(", \"from\": ", field.from, ", \"to\": ", field.to, ", \"name\": ", text(field.name),
                ", \"found\": ", text(field.found),
                ", \"expected\": ", field.expected.empty() ? "null" : text(field.expected), "}");
  }
  return json + "]}";
}

}  // namespace verilote
