// The field dictionary of the SIACC 240 remittance (app/fields.hpp), in the
// layout's numbering: record type or segment, then field ("0.17" is field 17
// of the file header, "5.05" field 5 of the lote trailer, "A.08" field 8 of
// segment A). The detail segments are in siacc_segments_fields.cpp.
#include "layouts/siacc_fields.hpp"

#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace siacc {

namespace {

// The account digit at 71 of both headers: Mod11DvFrom8 of agency 54-57,
// operation 60-62 and account 63-70.
std::string AccountDv(std::string_view rec) {
  const std::optional<char> dv = AccountDvDigit(Field(rec, 54, 57), Field(rec, 60, 62), Field(rec, 63, 70));
  if (!dv) return std::string("dígito de agência, operação e conta numéricas"_cp);
  return Cat("dígito "_cp, *dv);
}

// Field 1.16: Mod11Dv4 of the agency 54-57.
std::string AgencyDv(std::string_view rec) {
  const std::string_view agency = Field(rec, 54, 57);
  if (agency.size() != 4 || !IsAllDigits(agency)) return std::string("dígito de agência numérica"_cp);
  return Cat("dígito "_cp, Mod11Dv4(agency));
}

constexpr FieldSpec kFileHeader[] = {
    {"0.01", 1, 3, "Código do banco"_cp, "104"},
    {"0.02", 4, 7, "Lote de serviço"_cp, "0000"},
    {"0.03", 8, 8, "Tipo de registro", "0"},
    {"0.04", 9, 17, "Filler", "em branco"},
    {"0.05", 18, 18, "Tipo de inscrição"_cp, "1 ou 2"},
    {"0.06", 19, 32, "CPF ou CNPJ da empresa", "CPF válido em 22-32 (tipo 1) ou CNPJ válido (tipo 2)"_cp},
    {"0.07", 33, 38, "Código do convênio"_cp},
    {"0.08", 39, 40, "Parâmetro de transmissão"_cp, "diferente de 00, brancos, \" 0\" e \"0 \""_cp},
    {"0.09", 41, 41, "Ambiente do cliente", "P ou T"},
    {"0.10", 42, 42, "Reservado", "em branco"},
    {"0.11", 43, 45, "Reservado", "em branco"},
    {"0.12", 46, 49, "Reservado", "0000"},
    {"0.13", 50, 52, "Reservado", "em branco"},
    {"0.14", 53, 57, "Agência"_cp},
    {"0.14A", 58, 58, "Dígito da agência (não examinado)"_cp},
    {"0.15", 59, 62, "Operação"_cp},
    {"0.16", 63, 70, "Conta"},
    {"0.17", 71, 71, "Dígito da conta"_cp, {}, AccountDv},
    {"0.18", 72, 72, "Reservado", "em branco"},
    {"0.19", 73, 102, "Nome da empresa"},
    {"0.20", 103, 132, "Nome do banco", "CAIXA"},
    {"0.21", 133, 142, "Reservado", "em branco"},
    {"0.22", 143, 143, "Código de remessa"_cp, "1"},
    {"0.23", 144, 151, "Data de geração"_cp},
    {"0.24", 152, 157, "Hora de geração"_cp},
    {"0.25", 158, 163, "Número sequencial do arquivo (NSA)"_cp},
    {"0.26", 164, 166, "Versão do layout"_cp, "080 ou 050"_cp},
    {"0.27", 167, 171, "Densidade de gravação"_cp, "01600"},
    {"0.28", 172, 191, "Reservado", "em branco"},
    {"0.28A", 192, 211, "Reservado da empresa"},
    {"0.29", 212, 225, "Reservado", "em branco"},
    {"0.30", 226, 228, "Uso exclusivo das VAN", "000"},
    {"0.31", 229, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kLoteHeader[] = {
    {"1.01", 1, 3, "Código do banco"_cp, "104"},
    {"1.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"1.03", 8, 8, "Tipo de registro", "1"},
    {"1.04", 9, 9, "Tipo de operação"_cp, "C ou D"},
    {"1.05", 10, 11, "Tipo de serviço"_cp, "numérico"_cp},
    {"1.06", 12, 13, "Forma de lançamento"_cp, "numérico"_cp},
    {"1.07", 14, 16, "Versão do layout do lote"_cp, "030 (arquivo 050) ou 041 (arquivo 080)"_cp},
    {"1.07A", 17, 17, "Filler"},
    {"1.08", 18, 18, "Tipo de inscrição"_cp, "1 ou 2"},
    {"1.09", 19, 32, "CPF ou CNPJ da empresa", "CPF válido em 22-32 (tipo 1) ou CNPJ válido (tipo 2)"_cp},
    {"1.10", 33, 38, "Código do convênio"_cp},
    {"1.11", 39, 40, "Tipo de compromisso", "numérico"_cp},
    {"1.12", 41, 44, "Código do compromisso"_cp},
    {"1.13", 45, 46, "Parâmetro de transmissão"_cp},
    {"1.14", 47, 52, "Reservado", "em branco"},
    {"1.15", 53, 57, "Agência"_cp},
    {"1.16", 58, 58, "Dígito da agência"_cp, {}, AgencyDv},
    {"1.17", 59, 62, "Operação"_cp},
    {"1.18", 63, 70, "Conta"},
    {"1.19", 71, 71, "Dígito da conta"_cp, {}, AccountDv},
    {"1.20", 72, 72, "Reservado", "em branco"},
    {"1.21", 73, 102, "Nome da empresa"},
    {"1.22", 103, 142, "Mensagem de aviso"},
    {"1.23", 143, 172, "Logradouro"},
    {"1.24", 173, 177, "Número do local"_cp},
    {"1.25", 178, 192, "Complemento"},
    {"1.26", 193, 212, "Cidade"},
    {"1.27", 213, 220, "CEP"},
    {"1.28", 221, 222, "Estado"},
    {"1.29", 223, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kLoteTrailer[] = {
    {"5.01", 1, 3, "Código do banco"_cp, "104"},
    {"5.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"5.03", 8, 8, "Tipo de registro", "5"},
    {"5.04", 9, 17, "Reservado", "em branco"},
    {"5.05", 18, 23, "Quantidade de registros do lote", "numérico, igual aos detalhes do lote mais 2"_cp},
    {"5.06", 24, 41, "Somatória dos valores"_cp, "numérico, igual à soma dos valores do lote"_cp},
    {"5.07", 42, 59, "Somatória das quantidades de moeda"_cp, "numérico, igual à soma das quantidades de moeda"_cp},
    {"5.08", 60, 65, "Reservado", "000000"},
    {"5.09", 66, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kFileTrailer[] = {
    {"9.01", 1, 3, "Código do banco"_cp, "104"},
    {"9.02", 4, 7, "Lote de serviço"_cp, "9999"},
    {"9.03", 8, 8, "Tipo de registro", "9"},
    {"9.04", 9, 17, "Reservado", "em branco"},
    {"9.05", 18, 23, "Quantidade de lotes", "igual aos headers de lote do arquivo"},
    {"9.06", 24, 29, "Quantidade de registros do arquivo", "igual aos registros do arquivo"},
    {"9.07", 30, 35, "Reservado", "000000"},
    {"9.08", 36, 240, "Reservado", "em branco"},
};

// A record whose type the layout does not have: only its frame is checked.
constexpr FieldSpec kUnknown[] = {
    {"R.01", 1, 3, "Código do banco"_cp, "104"},
    {"R.02", 4, 7, "Lote de serviço"_cp, "numérico"_cp},
    {"R.03", 8, 8, "Tipo de registro", "0, 1, 3, 5 ou 9"},
    {"R.04", 9, 240, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr RecordKind kFileHeaderKind{"Header de arquivo", kFileHeader};
constexpr RecordKind kLoteHeaderKind{"Header de lote", kLoteHeader};
constexpr RecordKind kLoteTrailerKind{"Trailer de lote", kLoteTrailer};
constexpr RecordKind kFileTrailerKind{"Trailer de arquivo", kFileTrailer};
constexpr RecordKind kUnknownKind{"Registro de tipo desconhecido", kUnknown};

const RecordKind* const kKinds[] = {&kFileHeaderKind,  &kLoteHeaderKind,   &kSegmentAKind,     &kSegmentBKind,
                                    &kSegmentJKind,    &kSegmentJ52Kind,   &kSegmentKKind,     &kSegmentOKind,
                                    &kSegmentNGpsKind, &kSegmentNDarfKind, &kOtherSegmentKind, &kLoteTrailerKind,
                                    &kFileTrailerKind, &kUnknownKind};

}  // namespace

const RecordKind* KindOf(std::string_view rec) {
  switch (rec.size() < 8 ? ' ' : rec[7]) {
    case '0':
      return &kFileHeaderKind;
    case '1':
      return &kLoteHeaderKind;
    case '3':
      return DetailKindOf(rec);
    case '5':
      return &kLoteTrailerKind;
    case '9':
      return &kFileTrailerKind;
    default:
      return &kUnknownKind;
  }
}

}  // namespace siacc

const LayoutFields kSiaccFields{"siacc", siacc::kKinds, siacc::KindOf};

}  // namespace verilote
