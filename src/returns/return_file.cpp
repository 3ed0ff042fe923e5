// Which return a file is, and the reading of each kind.
#include "returns/return_file.hpp"

#include <algorithm>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "returns/return_codes.hpp"
#include "returns/return_readers.hpp"

namespace verilote::returns {

std::string_view LayoutName(ReturnKind kind) {
  switch (kind) {
    case ReturnKind::Sigcb240Retorno:
      return "sigcb240-retorno";
    case ReturnKind::Sigcb240Precritica:
      return "sigcb240-precritica";
    case ReturnKind::Sigcb400Retorno:
      return "sigcb400-retorno";
    case ReturnKind::Sigcb400Precritica:
      return "sigcb400-precritica";
  }
  return {};
}

std::string_view KindTitle(ReturnKind kind) {
  switch (kind) {
    case ReturnKind::Sigcb240Retorno:
      return "SIGCB CNAB 240 - retorno";
    case ReturnKind::Sigcb240Precritica:
      return "SIGCB CNAB 240 - retorno de pré-crítica"_cp;
    case ReturnKind::Sigcb400Retorno:
      return "SIGCB CNAB 400 - retorno";
    case ReturnKind::Sigcb400Precritica:
      return "SIGCB CNAB 400 - retorno de pré-crítica"_cp;
  }
  return {};
}

bool IsPrecritica(ReturnKind kind) {
  return kind == ReturnKind::Sigcb240Precritica || kind == ReturnKind::Sigcb400Precritica;
}

namespace {
bool StartsNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefix[i]) return false;
  }
  return true;
}
}  // namespace

std::optional<ReturnKind> ReturnKindOf(std::string_view first, std::string_view second) {
  // A record a few bytes longer than the layout's: edited by hand, still the bank's.
  if (first.size() >= 240 && first.size() <= 243 && first.substr(0, 3) == "104" && first[7] == '0') {
    // A payments lote header (SIACC) has its operation at 9, 'C'; a collection lote 'T'.
    if (second.size() >= 9 && second[7] == '1' && second[8] != 'T') return std::nullopt;
    const char code = first[142];
    if (code == '3' || code == '4' || code == '5') return ReturnKind::Sigcb240Precritica;
    if (code != '2') return std::nullopt;
    if (StartsNoCase(first.substr(191), "RET PRE CRI")) return ReturnKind::Sigcb240Precritica;
    // A return whose header looks like a return but answers with W segments.
    if (second.size() >= 14 && second[7] == '3' && second[13] == 'W') return ReturnKind::Sigcb240Precritica;
    if (second.size() >= 14 && second[7] == '1' && second.substr(0, 3) == "104") return ReturnKind::Sigcb240Retorno;
    if (second.empty() || second[7] == '9' || second[7] == '3') return ReturnKind::Sigcb240Retorno;
    return std::nullopt;
  }
  if (first.size() >= 400 && first.size() <= 406 && first[0] == '0') {
    if (first.substr(1, 8) == "2RETORNO" && first.substr(76, 3) == "104") return ReturnKind::Sigcb400Retorno;
    if (first.substr(1, 8) == "1REMESSA" && first.substr(76, 3) == "104") {
      const std::string_view literal = first.substr(11, 15);
      for (std::string_view processed : {"CONFIRMA", "REJ", "REMES REJ"})
        if (StartsNoCase(literal, processed)) return ReturnKind::Sigcb400Precritica;
      if (StartsNoCase(first.substr(100), "REMESSA PROCESSADA") || StartsNoCase(first.substr(100), "REMESSA REJEITADA"))
        return ReturnKind::Sigcb400Precritica;
    }
  }
  return std::nullopt;
}

std::optional<ReturnKind> DetectReturn(const std::string& path) {
  try {
    LineReader reader(path);
    std::string_view line;
    if (!reader.Next(line)) return std::nullopt;
    const std::string first(line);
    std::string second;
    if (reader.Next(line)) second = line;
    return ReturnKindOf(first, second);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

void ReturnTitle::AddMotive(std::string_view code, std::string_view text) {
  if (motiveCount == motives.size()) return;
  motives[motiveCount].code.assign(code);
  motives[motiveCount].text.assign(text);
  ++motiveCount;
}

std::uint32_t CodeWords::Key(CodeTable table, std::string_view code) {
  std::uint32_t key = static_cast<std::uint32_t>(table) + 1;
  for (const char c : code) key = key << 8 | static_cast<unsigned char>(c);
  return key;
}

std::string_view CodeWords::Of(CodeTable table, std::string_view code) {
  // Codes of three bytes at most, and at most 127 tables: the key is unique.
  const std::uint32_t key = code.size() <= 3 ? Key(table, code) : 0;
  if (key != 0)
    for (std::size_t i = 0; i < used_; ++i)
      if (slots_[i].key == key) return slots_[i].text;
  const std::string_view text = CodeText(table, code);
  if (text.empty()) {
    scratch_ = DescribeCode(table, code);
    return scratch_;
  }
  if (key != 0) {
    slots_[next_] = {key, text};
    next_ = (next_ + 1) % slots_.size();
    used_ = std::max(used_, next_ == 0 ? slots_.size() : next_);
  }
  return text;
}

bool NextRecord(LineReader& reader, ReturnVisitor& visitor, std::string_view& rec, std::size_t length) {
  while (reader.Next(rec)) {
    if (rec.find_first_not_of(' ') == std::string_view::npos) {
      visitor.Remark(reader.Number(), rec, "registro vazio: ignorado");
      continue;
    }
    RemarkLength(visitor, reader, rec, length);
    return true;
  }
  return false;
}

void RemarkMissingTrailer(ReturnVisitor& visitor, const LineReader& reader) {
  visitor.Remark(reader.Number(), {},
                 "o arquivo termina sem o trailer de arquivo (registro tipo 9): pode estar incompleto"_cp);
}

void RemarkLength(ReturnVisitor& visitor, const LineReader& reader, std::string_view rec, std::size_t length) {
  if (rec.size() == length) return;
  if (reader.Cut()) {
    visitor.Remark(
        reader.Number(), rec,
        Cat("registro com mais de ", LineReader::kMaxLine, " posições: lido até a posição "_cp, LineReader::kMaxLine));
  } else if (rec.size() > length) {
    visitor.Remark(
        reader.Number(), rec,
        Cat("registro de ", rec.size(), " posições (o leiaute tem "_cp, length, "): lido até a posição "_cp, length));
  } else {
    visitor.Remark(reader.Number(), rec,
                   Cat("registro de ", rec.size(), " posições (o leiaute tem "_cp, length,
                       "): os campos que faltam ficam vazios"));
  }
}

void SetField(PrecriticaError& error, const WFieldMatch& match) {
  const WFieldRef* field = match.field;
  error.recordType = field != nullptr ? field->recordType : 0;
  error.from = field != nullptr ? field->from : 0;
  error.to = field != nullptr ? field->to : 0;
  error.fieldCode = field != nullptr ? field->code : std::string_view();
  error.fieldName = field != nullptr ? field->name : std::string_view();
}

void ReadReturn(const std::string& path, ReturnKind kind, ReturnVisitor& visitor, Host* host) {
  LineReader reader(path, host);
  switch (kind) {
    case ReturnKind::Sigcb240Retorno:
      return ReadSigcb240Retorno(reader, visitor);
    case ReturnKind::Sigcb240Precritica:
      return ReadSigcb240Precritica(reader, visitor);
    case ReturnKind::Sigcb400Retorno:
      return ReadSigcb400Retorno(reader, visitor);
    case ReturnKind::Sigcb400Precritica:
      return ReadSigcb400Precritica(reader, visitor);
  }
}

}  // namespace verilote::returns
