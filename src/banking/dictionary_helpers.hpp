// What the field dictionaries of the layouts (app/fields.hpp) and the
// validators that name their fields share: kinds put together from runs of
// fields, the fields a character check or a record's length names, and the
// check digits of a CPF or CNPJ in words.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/fields.hpp"
#include "app/report.hpp"

namespace verilote {

// The codes of the fields of `kind` that hold a byte outside Set, each once,
// separated by blanks: what a character check's line names. Positions no
// field covers add nothing.
template <typename Set>
std::string FieldsOfInvalidBytes(const RecordKind* kind, std::string_view rec) {
  std::string codes;
  if (kind == nullptr) return codes;
  for (const FieldSpec& field : kind->fields) {
    if (field.code.empty() || field.from > rec.size()) continue;
    const std::string_view bytes = rec.substr(field.from - 1, field.to - field.from + 1);
    if (Set::AnyOutside(bytes)) codes += Cat(' ', field.code);
  }
  return codes;
}

// A dictionary's kind put together from runs of fields, in order.
template <std::size_t... N>
constexpr std::array<FieldSpec, (N + ...)> JoinFields(const FieldSpec (&... runs)[N]) {
  std::array<FieldSpec, (N + ...)> fields{};
  std::size_t at = 0;
  ((std::copy(runs, runs + N, fields.begin() + at), at += N), ...);
  return fields;
}

// The code of the last field of `kind`: what a line on the record's length
// names, the field the record's end should close.
std::string_view LastField(const RecordKind* kind);

// The byte at position pos (1-based), or '\0' past the record's end.
inline char ByteAt(std::string_view rec, std::size_t pos) {
  return pos >= 1 && pos <= rec.size() ? rec[pos - 1] : '\0';
}

// The kinds of a CNAB 240 layout's records, told as its frame tells them: by
// the record type at 8 and, for a detail (type "3"), the segment at 14.
struct Cnab240Kinds {
  const RecordKind* fileHeader;
  const RecordKind* loteHeader;
  const RecordKind* p;
  const RecordKind* q;
  const RecordKind* r;
  const RecordKind* s;
  const RecordKind* otherSegment;
  const RecordKind* loteTrailer;
  const RecordKind* fileTrailer;
  const RecordKind* otherType;
};

const RecordKind* Cnab240KindOf(std::string_view rec, const Cnab240Kinds& kinds);

// The check digits a CPF (kind '1', positions From+3 to From+13) or a CNPJ
// (kind '2', From to From+13) should end with, in words for a dictionary:
// "CPF com dígitos 35"; empty for another kind.
std::string InscriptionDigits(std::string_view rec, std::size_t from, char kind);

}  // namespace verilote
