// The field dictionaries of the SIEMD payslip remittance, layouts 01 and 03
// (app/fields.hpp), in the layout's numbering: record type, then field
// ("0.07" is field 7 of the file header). Layout 03 keeps the numbering of
// layout 01 where its records keep the fields, and numbers its statement line
// in the same way by the positions its rules look at.
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

// Digit fields a check digit is weighed over; nothing when a byte is no digit.
std::string Digit(std::string_view base, std::string (*dv)(std::string_view)) {
  if (base.empty() || !IsAllDigits(base)) return std::string("dígito calculado sobre campos numéricos"_cp);
  return Cat("dígito "_cp, dv(base));
}

// Field 1.06: Mod11Dv4 of the agency 24-27.
std::string AgencyDv(std::string_view rec) { return Digit(Field(rec, 24, 27), Mod11Dv4); }

// Field 1.08, account and its digit at 40: the digit is Mod11DvFrom8 of the
// agency 24-27 and operation and account 29-39.
std::string AccountDv(std::string_view rec) {
  return Cat("numérico, "_cp, Digit(Cat(Field(rec, 24, 27), Field(rec, 29, 39)), Mod11DvFrom8));
}

constexpr FieldSpec kUnknown[] = {
    {"R.01", 1, 1, "Tipo do registro", "0, 1, 2, 3, 4 ou 9"},
    {"R.02", 2, 150, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr FieldSpec kHeader01[] = {
    {"0.01", 1, 1, "Tipo do registro", "0"},
    {"0.02", 2, 2, "Código de remessa"_cp, "0, 1 ou 2"},
    {"0.03", 3, 4, "Código do serviço"_cp, "01, 02, 03, 04 ou 05"},
    {"0.04", 5, 10, "Código do convênio"_cp},
    {"0.05", 11, 12, "Tipo de compromisso"},
    {"0.06", 13, 16, "Código do compromisso"_cp},
    {"0.07", 17, 24, "Data de geração"_cp, "data aaaammdd válida"_cp},
    {"0.08", 25, 30, "Número do arquivo"_cp},
    {"0.09", 31, 38, "Data de referência"_cp, "data aaaammdd válida"_cp},
    {"0.10", 39, 42, "Ano de referência"_cp, "ano de 2010 ao próximo ano"_cp},
    {"0.11", 43, 44, "Mês de referência"_cp, "01 a 12"},
    {"0.12", 45, 46, "Sequencial do mês"_cp, "numérico"_cp},
    {"0.13", 47, 94, "Campo 0.13 (não examinado)"_cp},
    {"0.14", 95, 124, "Reservado", "em branco"},
    {"0.15", 125, 141, "Literal", "EMISSAO DOCUMENTO"},
    {"0.16", 142, 150, "Sequencial do registro", "000000000"},
};

constexpr FieldSpec kHeader03[] = {
    {"0.01", 1, 1, "Tipo do registro", "0"},
    {"0.02", 2, 2, "Código de remessa"_cp, "0, 1 ou 2"},
    {"0.03", 3, 4, "Código do serviço"_cp, "01, 02, 03, 04 ou 05"},
    {"0.04", 5, 10, "Código do convênio"_cp},
    {"0.05", 11, 12, "Tipo de compromisso"},
    {"0.06", 13, 16, "Código do compromisso"_cp},
    {"0.07", 17, 24, "Data de geração"_cp, "data aaaammdd válida"_cp},
    {"0.08", 25, 30, "Número do arquivo"_cp},
    {"0.09", 31, 38, "Data de referência"_cp, "data aaaammdd válida"_cp},
    {"0.10", 39, 42, "Ano de referência"_cp, "ano de 2010 ao próximo ano"_cp},
    {"0.11", 43, 44, "Mês de referência"_cp, "01 a 12"},
    {"0.12", 45, 46, "Sequencial do mês"_cp, "numérico"_cp},
    {"0.13", 47, 94, "Campo 0.13 (não examinado)"_cp},
    {"0.14", 95, 124, "Reservado", "em branco"},
    {"0.15", 125, 141, "Literal", "EMISSAO DOCTOL001"},
    {"0.16", 142, 150, "Sequencial do registro", "000000000"},
};

constexpr FieldSpec kLoteHeader01[] = {
    {"1.01", 1, 1, "Tipo do registro", "1"},
    {"1.02", 2, 2, "Código de remessa"_cp, "0 ou 9"},
    {"1.03", 3, 3, "Tipo de documento", "T ou D"},
    {"1.04", 4, 23, "Campo 1.04 (não examinado)"_cp},
    {"1.05", 24, 27, "Agência"_cp, "numérico, primeiro dígito até 4"_cp},
    {"1.06", 28, 28, "Dígito da agência"_cp, {}, AgencyDv},
    {"1.07", 29, 31, "Operação"_cp, "001, 002, 003, 006 ou 037"_cp},
    {"1.08", 32, 40, "Conta e dígito"_cp, {}, AccountDv},
    {"1.09", 41, 54, "CPF ou CNPJ da empresa", "CPF válido em 44-54 ou CNPJ válido"_cp},
    {"1.10", 55, 102, "Campos 1.10 e 1.11 (não examinados)"_cp},
    {"1.12", 103, 141, "Reservado", "em branco"},
    {"1.13", 142, 150, "Sequencial do registro", "000000001"},
};

constexpr FieldSpec kLoteHeader03[] = {
    {"1.01", 1, 1, "Tipo do registro", "1"},
    {"1.02", 2, 2, "Código de remessa"_cp, "0 ou 9"},
    {"1.03", 3, 3, "Reservado", "em branco"},
    {"1.04", 4, 23, "Campo 1.04 (não examinado)"_cp},
    {"1.05", 24, 27, "Agência"_cp, "numérico, primeiro dígito até 4"_cp},
    {"1.06", 28, 28, "Dígito da agência"_cp, {}, AgencyDv},
    {"1.07", 29, 31, "Operação"_cp, "000, 001, 002, 003, 006 ou 037"_cp},
    {"1.08", 32, 40, "Conta e dígito"_cp, {}, AccountDv},
    {"1.09", 41, 54, "CPF ou CNPJ da empresa", "CPF válido em 44-54 ou CNPJ válido"_cp},
    {"1.10", 55, 102, "Campos 1.10 e 1.11 (não examinados)"_cp},
    {"1.12", 103, 141, "Reservado", "em branco"},
    {"1.13", 142, 150, "Sequencial do registro", "000000001"},
};

constexpr FieldSpec kEmployee[] = {
    {"2.01", 1, 1, "Tipo do registro", "2"},
    {"2.02", 2, 2, "Tipo do empregado", "1, 2, 3 ou 4"},
    {"2.03", 3, 92, "Identificação do empregado"_cp, "preenchido"},
    {"2.04", 93, 94, "Campo 2.04", "numérico"_cp},
    {"2.05", 95, 96, "Campo 2.05", "numérico"_cp},
    {"2.06", 97, 131, "Campo 2.06", "preenchido"},
    {"2.07", 132, 133, "Campo 2.07", "numérico"_cp},
    {"2.08", 134, 135, "Campo 2.08", "numérico"_cp},
    {"2.09", 136, 137, "Campo 2.09", "numérico"_cp},
    {"2.10", 138, 138, "Campo 2.10", "A ou N"},
    {"2.11", 139, 139, "Campo 2.11", "numérico"_cp},
    {"2.12", 140, 141, "Reservado", "em branco"},
    {"2.13", 142, 150, "Sequencial do registro", "numérico, igual à contagem dos registros do lote"_cp},
};

constexpr FieldSpec kStatement01[] = {
    {"3.01", 1, 1, "Tipo do registro", "3"},
    {"3.02", 2, 3, "Código do grupo"_cp, "numérico, maior ou igual ao maior anterior"_cp},
    {"3.03", 4, 5, "Campo 3.03", "numérico"_cp},
    {"3.04", 6, 95, "Descrição"_cp, "preenchido"},
    {"3.05", 96, 130, "Valor ou texto", "preenchido"},
    {"3.06", 131, 131, "Sinal", "+ ou -"},
    {"3.07", 132, 132, "Campo 3.07", "0 ou 1"},
    {"3.08", 133, 141, "Reservado", "em branco"},
    {"3.09", 142, 150, "Sequencial do registro", "numérico, igual à contagem dos registros do lote"_cp},
};

constexpr FieldSpec kStatement03[] = {
    {"3.01", 1, 1, "Tipo do registro", "3"},
    {"3.02", 2, 2, "Tipo da linha", "1, 2, 3 ou 4"},
    {"3.02A", 3, 140, "Texto da linha (não examinado)"_cp},
    {"3.03", 141, 141, "Campo da posição 141"_cp, "numérico"_cp},
    {"3.04", 142, 150, "Sequencial do registro", "igual à contagem dos registros do lote"_cp},
};

constexpr FieldSpec kLoteTrailer[] = {
    {"4.01", 1, 1, "Tipo do registro", "4"},
    {"4.02", 2, 7, "Quantidade de registros do lote", "numérico, igual aos registros do lote, header e trailer"_cp},
    {"4.03", 8, 141, "Reservado", "em branco"},
    {"4.04", 142, 150, "Sequencial do registro", "numérico, igual à contagem dos registros do lote"_cp},
};

constexpr FieldSpec kFileTrailer[] = {
    {"9.01", 1, 1, "Tipo do registro", "9"},
    {"9.02", 2, 7, "Quantidade de lotes", "000001"},
    {"9.03", 8, 13, "Quantidade de registros do arquivo", "numérico, igual aos registros do arquivo"_cp},
    {"9.04", 14, 141, "Reservado", "em branco"},
    {"9.05", 142, 150, "Sequencial do registro", "999999999"},
};

constexpr RecordKind kUnknownKind{"Registro de tipo desconhecido", kUnknown};
constexpr RecordKind kHeader01Kind{"Header de arquivo", kHeader01};
constexpr RecordKind kHeader03Kind{"Header de arquivo", kHeader03};
constexpr RecordKind kLoteHeader01Kind{"Header de lote", kLoteHeader01};
constexpr RecordKind kLoteHeader03Kind{"Header de lote", kLoteHeader03};
constexpr RecordKind kEmployeeKind{"Registro do empregado", kEmployee};
constexpr RecordKind kStatement01Kind{"Linha do contra-cheque", kStatement01};
constexpr RecordKind kStatement03Kind{"Linha do contra-cheque", kStatement03};
constexpr RecordKind kLoteTrailerKind{"Trailer de lote", kLoteTrailer};
constexpr RecordKind kFileTrailerKind{"Trailer de arquivo", kFileTrailer};

constexpr const RecordKind* kKinds01[] = {&kHeader01Kind,    &kLoteHeader01Kind, &kEmployeeKind, &kStatement01Kind,
                                          &kLoteTrailerKind, &kFileTrailerKind,  &kUnknownKind};
constexpr const RecordKind* kKinds03[] = {&kHeader03Kind,    &kLoteHeader03Kind, &kStatement03Kind,
                                          &kLoteTrailerKind, &kFileTrailerKind,  &kUnknownKind};

// The record type at position 1, as the validators read it: a type the
// layout does not check (5 to 8, a non-digit, an employee record in layout
// 03) has only its type.
const RecordKind* KindOf01(std::string_view rec) {
  switch (rec.empty() ? ' ' : rec[0]) {
    case '0':
      return &kHeader01Kind;
    case '1':
      return &kLoteHeader01Kind;
    case '2':
      return &kEmployeeKind;
    case '3':
      return &kStatement01Kind;
    case '4':
      return &kLoteTrailerKind;
    case '9':
      return &kFileTrailerKind;
    default:
      return &kUnknownKind;
  }
}

const RecordKind* KindOf03(std::string_view rec) {
  switch (rec.empty() ? ' ' : rec[0]) {
    case '0':
      return &kHeader03Kind;
    case '1':
      return &kLoteHeader03Kind;
    case '3':
      return &kStatement03Kind;
    case '4':
      return &kLoteTrailerKind;
    case '9':
      return &kFileTrailerKind;
    default:
      return &kUnknownKind;
  }
}

}  // namespace

const LayoutFields kSiemd01Fields{"siemd01", kKinds01, KindOf01};
const LayoutFields kSiemd03Fields{"siemd03", kKinds03, KindOf03};

}  // namespace verilote
