#include "banking/dictionary_helpers.hpp"

#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"

namespace verilote {

std::string_view LastField(const RecordKind* kind) {
  return kind == nullptr || kind->fields.empty() ? std::string_view{} : kind->fields.back().code;
}

std::string InscriptionDigits(std::string_view rec, std::size_t from, char kind) {
  if (kind == '1') return Cat("CPF com dígitos "_cp, CpfDvPair(Field(rec, from + 3, from + 11)));
  if (kind == '2') return Cat("CNPJ com dígitos "_cp, CnpjDvPair(Field(rec, from, from + 11)));
  return {};
}

}  // namespace verilote
