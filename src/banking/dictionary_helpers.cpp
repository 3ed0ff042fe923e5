#include "banking/dictionary_helpers.hpp"

#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"

namespace verilote {

std::string_view LastField(const RecordKind* kind) {
  return kind == nullptr || kind->fields.empty() ? std::string_view{} : kind->fields.back().code;
}

const RecordKind* Cnab240KindOf(std::string_view rec, const Cnab240Kinds& kinds) {
  switch (ByteAt(rec, 8)) {
    case '0':
      return kinds.fileHeader;
    case '1':
      return kinds.loteHeader;
    case '3':
      switch (ByteAt(rec, 14)) {
        case 'P':
          return kinds.p;
        case 'Q':
          return kinds.q;
        case 'R':
          return kinds.r;
        case 'S':
          return kinds.s;
        default:
          return kinds.otherSegment;
      }
    case '5':
      return kinds.loteTrailer;
    case '9':
      return kinds.fileTrailer;
    default:
      return kinds.otherType;
  }
}

std::string InscriptionDigits(std::string_view rec, std::size_t from, char kind) {
  if (kind == '1') return Cat("CPF com dígitos "_cp, CpfDvPair(Field(rec, from + 3, from + 11)));
  if (kind == '2') return Cat("CNPJ com dígitos "_cp, CnpjDvPair(Field(rec, from, from + 11)));
  return {};
}

}  // namespace verilote
