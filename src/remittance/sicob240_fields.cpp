// The field dictionary of the SICOB CNAB 240 remittance, in the bank's
// numbering (app/fields.hpp): ".0" the file header, ".1" the lote header,
// ".3P" and ".3Q" the segments, ".5" and ".9" the trailers. Segments R and S
// are only counted: their kinds name the positions the frame reads.
#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "banking/dictionary_helpers.hpp"
#include "banking/record_rules.hpp"
#include "detect/field_registry.hpp"
#include "remittance/sicob240_trailer_fields.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kBlank = "em branco";
constexpr std::string_view kDate = "data ddmmaaaa válida"_cp;
constexpr std::string_view kAtLeast3 = "ao menos 3 caracteres";

std::string Digit(char dv) { return Cat("dígito "_cp, dv); }

// ---- File header.

std::string CentralAccountDigit(std::string_view rec) {
  const std::string_view account = Field(rec, 33, 47);
  if (account.size() != 15 || !IsAllDigits(account))
    return std::string("agência, operação e conta numéricas em 33-47"_cp);
  return Cat("em 48, "_cp, Digit(Mod11DvFrom8(account)[0]));
}
std::string HeaderAgencyDigit(std::string_view rec) { return Digit(Mod11DvTimesTen(Field(rec, 54, 57))); }
std::string HeaderAccountDigit(std::string_view rec) { return Digit(Mod11DvTimesTen(Field(rec, 63, 70))); }
std::string HeaderAgencyAccountDigit(std::string_view rec) {
  return Cat(Digit(Mod11DvTimesTen(Cat(Field(rec, 54, 57), Field(rec, 63, 70)))), " (conta de 8 posições)"_cp);
}
std::string CedenteDigits(std::string_view rec) { return InscriptionDigits(rec, 19, At(rec, 18, '1') ? '1' : '2'); }

constexpr FieldSpec kFileHeaderFields[] = {
    {"01.0", 1, 3, "Código do banco"_cp, "104"},
    {"02.0", 4, 7, "Lote", "0000"},
    {"03.0", 8, 8, "Tipo de registro", "0"},
    {"04.0", 9, 17, "Uso exclusivo FEBRABAN", kBlank},
    {"05.0", 18, 18, "Tipo de inscrição da empresa"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"06.0", 19, 32, "Inscrição da empresa"_cp, "", CedenteDigits},
    {"07.0", 33, 52, "Convênio: agência, operação, conta e dígito (33-48), brancos (49-52)"_cp, "",
     CentralAccountDigit},
    {"08.0", 53, 57, "Agência"_cp, "igual à agência em 33-36"_cp},
    {"09.0", 58, 58, "Dígito da agência"_cp, "", HeaderAgencyDigit},
    {"10.0", 59, 70, "Conta", "igual à conta em 40-47 (63-70)"_cp},
    {"11.0", 71, 71, "Dígito da conta"_cp, "", HeaderAccountDigit},
    {"12.0", 72, 72, "Dígito da agência/conta"_cp, "", HeaderAgencyAccountDigit},
    {"13.0", 73, 102, "Nome da empresa"},
    {"14.0", 103, 132, "Nome do banco"},
    {"15.0", 133, 142, "Uso exclusivo FEBRABAN", kBlank},
    {"16.0", 143, 143, "Código remessa"_cp, "1"},
    {"17.0", 144, 151, "Data de geração"_cp},
    {"18.0", 152, 157, "Hora de geração"_cp},
    {"19.0", 158, 163, "NSA", kNumeric},
    {"20.0", 164, 166, "Versão do layout"_cp, "030"},
    {"21.0", 167, 171, "Densidade", "00000"},
    {"22.0", 172, 191, "Uso reservado do banco", kBlank},
    {"23.0", 192, 211, "Tipo de remessa", "REMESSA-PRODUCAO ou REMESSA-TESTE"},
    {"24.0", 212, 240, "Uso exclusivo FEBRABAN", kBlank},
};

// ---- Lote header.

constexpr FieldSpec kLoteHeaderFields[] = {
    {"01.1", 1, 3, "Código do banco"_cp, "104"},
    {"02.1", 4, 7, "Lote"},
    {"03.1", 8, 8, "Tipo de registro", "1"},
    {"04.1", 9, 9, "Tipo de operação"_cp, "R"},
    {"05.1", 10, 11, "Tipo de serviço"_cp, "01"},
    {"06.1", 12, 13, "Uso exclusivo FEBRABAN"},
    {"07.1", 14, 16, "Versão do layout do lote"_cp, "020"},
    {"08.1", 17, 17, "Uso exclusivo FEBRABAN", kBlank},
    {"09.1", 18, 18, "Tipo de inscrição da empresa"_cp, "1 ou 2"},
    {"10.1", 19, 33, "Inscrição da empresa"_cp},
    {"11.1", 34, 53, "Convênio: agência, operação, conta e dígito (34-49), brancos (50-53)"_cp},
    {"12.1", 54, 58, "Agência"_cp, "igual à agência em 34-37"_cp},
    {"13.1", 59, 59, "Dígito da agência"_cp},
    {"14.1", 60, 71, "Conta", "igual à conta em 41-48 (64-71)"_cp},
    {"15.1", 72, 72, "Dígito da conta"_cp},
    {"16.1", 73, 73, "Dígito da agência/conta"_cp},
    {"17.1", 74, 103, "Nome da empresa"},
    {"18.1", 104, 143, "Mensagem 1"},
    {"19.1", 144, 183, "Mensagem 2"},
    {"20.1", 184, 191, "Número da remessa (NSA em 186-191)"_cp, "NSA igual ao do header de arquivo"},
    {"21.1", 192, 199, "Data de gravação"_cp},
    {"22.1", 200, 207, "Data do crédito"_cp},
    {"23.1", 208, 240, "Uso exclusivo FEBRABAN", kBlank},
};

// ---- Segment P.

std::string PAgencyDigit(std::string_view rec) { return Digit(Mod11Dv(Field(rec, 18, 22))); }
std::string PAccountDigit(std::string_view rec) { return Digit(Mod11Dv(Field(rec, 24, 35))); }
std::string PAgencyAccountDigit(std::string_view rec) {
  return Digit(Mod11Dv(Cat(Field(rec, 18, 22), Field(rec, 24, 35))));
}
// 47-57: ten digits and their digit at 57, or eleven zeros.
std::string NossoNumeroDigit(std::string_view rec) {
  const std::string_view ten = Field(rec, 47, 56);
  if (ten.size() != 10 || !IsAllDigits(ten)) return std::string("em 47-57, 11 algarismos com o dígito ou zeros"_cp);
  return Cat("em 47-57, 11 algarismos; em 57, "_cp, Digit(NossoNumero10Dv(ten)[0]));
}

constexpr FieldSpec kPFields[] = {
    {"01.3P", 1, 3, "Código do banco"_cp, "104"},
    {"02.3P", 4, 7, "Lote"},
    {"03.3P", 8, 8, "Tipo de registro", "3"},
    {"04.3P", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
    {"05.3P", 14, 14, "Segmento", "P"},
    {"06.3P", 15, 15, "Uso exclusivo FEBRABAN", kBlank},
    {"07.3P", 16, 17, "Código de movimento"_cp, "de 01 a 10"},
    {"08.3P", 18, 22, "Agência"_cp},
    {"09.3P", 23, 23, "Dígito da agência"_cp, "", PAgencyDigit},
    {"10.3P", 24, 35, "Conta"},
    {"11.3P", 36, 36, "Dígito da conta"_cp, "", PAccountDigit},
    {"12.3P", 37, 37, "Dígito da agência/conta"_cp, "", PAgencyAccountDigit},
    {"13.3P", 38, 57, "Nosso Número (47-57), brancos em 38-46"_cp, "", NossoNumeroDigit},
    {"14.3P", 58, 58, "Carteira", "1 ou 3"},
    {"15.3P", 59, 59, "Forma de cadastramento", "1 ou 2"},
    {"16.3P", 60, 60, "Tipo de documento", "1 ou 2"},
    {"17.3P", 61, 61, "Emissão do bloqueto"_cp, "1, 2, 4 ou 5"},
    {"18.3P", 62, 62, "Distribuição do bloqueto"_cp, "1 ou 2"},
    {"19.3P", 63, 77, "Número do documento"_cp, "até 10 caracteres"_cp},
    {"20.3P", 78, 85, "Data de vencimento", kDate},
    {"21.3P", 86, 100, "Valor do título"_cp, kNumeric},
    {"22.3P", 101, 105, "Agência cobradora"_cp, kNumeric},
    {"23.3P", 106, 106, "Dígito da agência cobradora"_cp},
    {"24.3P", 107, 108, "Espécie do título"_cp, kNumeric},
    {"25.3P", 109, 109, "Aceite", "A ou N"},
    {"26.3P", 110, 117, "Data de emissão"_cp, kDate},
    {"27.3P", 118, 118, "Código dos juros de mora"_cp, "1, 2 ou 3"},
    {"28.3P", 119, 126, "Data dos juros de mora",
     "zeros ou data ddmmaaaa válida; com juros (27.3P não 3), uma data"_cp},
    {"29.3P", 127, 141, "Juros de mora", "numérico; com juros (27.3P não 3), diferente de zeros"_cp},
    {"30.3P", 142, 142, "Código do desconto"_cp, "0, 1 ou 2"},
    {"31.3P", 143, 150, "Data do desconto", "zeros ou data ddmmaaaa válida; com desconto (30.3P não 0), uma data"_cp},
    {"32.3P", 151, 165, "Valor do desconto", "numérico; com desconto (30.3P não 0), diferente de zeros"_cp},
    {"33.3P", 166, 180, "Valor do IOF", kNumeric},
    {"34.3P", 181, 195, "Valor do abatimento", kNumeric},
    {"35.3P", 196, 220, "Identificação do título na empresa"_cp},
    {"36.3P", 221, 221, "Código para protesto"_cp, "1 ou 3; não 1 com baixa 1"_cp},
    {"37.3P", 222, 223, "Prazo para protesto", "numérico; de 2 a 90 com protesto 1"_cp},
    {"38.3P", 224, 224, "Código para baixa/devolução"_cp, "1 ou 2"},
    {"39.3P", 225, 227, "Prazo para baixa/devolução"_cp, "numérico; de 5 a 90 com baixa 1"_cp},
    {"40.3P", 228, 229, "Código da moeda"_cp, "09"},
    {"41.3P", 230, 240, "Uso exclusivo", kBlank},
};

// ---- Segment Q.

std::string PayerDigits(std::string_view rec) { return InscriptionDigits(rec, 20, ByteAt(rec, 18)); }
std::string GuarantorDigits(std::string_view rec) { return InscriptionDigits(rec, 156, ByteAt(rec, 154)); }

constexpr FieldSpec kQFields[] = {
    {"01.3Q", 1, 3, "Código do banco"_cp, "104"},
    {"02.3Q", 4, 7, "Lote"},
    {"03.3Q", 8, 8, "Tipo de registro", "3"},
    {"04.3Q", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
    {"05.3Q", 14, 14, "Segmento", "Q"},
    {"06.3Q", 15, 15, "Uso exclusivo FEBRABAN", kBlank},
    {"07.3Q", 16, 17, "Código de movimento"_cp, kNumeric},
    {"08.3Q", 18, 18, "Tipo de inscrição do sacado"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"09.3Q", 19, 33, "Inscrição do sacado"_cp, "numérico, CPF ou CNPJ válido"_cp, PayerDigits},
    {"10.3Q", 34, 73, "Nome do sacado", kAtLeast3},
    {"11.3Q", 74, 113, "Endereço do sacado"_cp, kAtLeast3},
    {"12.3Q", 114, 128, "Bairro do sacado", kAtLeast3},
    {"13.3Q", 129, 133, "CEP do sacado", "CEP de 8 caracteres (13.3Q e 14.3Q)"},
    {"14.3Q", 134, 136, "Sufixo do CEP", "CEP de 8 caracteres (13.3Q e 14.3Q)"},
    {"15.3Q", 137, 151, "Cidade do sacado", kAtLeast3},
    {"16.3Q", 152, 153, "UF do sacado", "2 caracteres"},
    {"17.3Q", 154, 154, "Tipo de inscrição do avalista"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"18.3Q", 155, 169, "Inscrição do avalista"_cp, "numérico; zeros ou CPF ou CNPJ válido"_cp, GuarantorDigits},
    {"19.3Q", 170, 209, "Nome do avalista"},
    {"20.3Q", 210, 212, "Banco correspondente", kBlank},
    {"21.3Q", 213, 232, "Nosso Número no banco correspondente"_cp, kBlank},
    {"22.3Q", 233, 240, "Uso exclusivo FEBRABAN", kBlank},
};

// ---- Segments only counted (their fields named as the bank numbers them), the
// trailers.

constexpr FieldSpec kRFields[] = {
    {"01.3R", 1, 3, "Código do banco"_cp, "104"},
    {"02.3R", 4, 7, "Lote"},
    {"03.3R", 8, 8, "Tipo de registro", "3"},
    {"04.3R", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
    {"05.3R", 14, 14, "Segmento", "R"},
    {"06.3R", 15, 15, "Uso exclusivo FEBRABAN"},
    {"07.3R", 16, 17, "Código de movimento"_cp},
    {"08.3R", 18, 65, "Uso exclusivo FEBRABAN"},
    {"14.3R", 66, 66, "Código da multa"_cp},
    {"15.3R", 67, 74, "Data da multa"},
    {"16.3R", 75, 89, "Valor ou percentual da multa"},
    {"17.3R", 90, 99, "Informação ao sacado"_cp},
    {"18.3R", 100, 139, "Mensagem 3"},
    {"19.3R", 140, 179, "Mensagem 4"},
    {"29.3R", 180, 240, "Uso exclusivo FEBRABAN"},
};
constexpr FieldSpec kSFields[] = {
    {"01.3S", 1, 3, "Código do banco"_cp, "104"},
    {"02.3S", 4, 7, "Lote"},
    {"03.3S", 8, 8, "Tipo de registro", "3"},
    {"04.3S", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
    {"05.3S", 14, 14, "Segmento", "S"},
    {"06.3S", 15, 15, "Uso exclusivo FEBRABAN"},
    {"07.3S", 16, 17, "Código de movimento"_cp},
    {"08.3S", 18, 18, "Identificação da impressão"_cp},
    {"09.3S", 19, 58, "Mensagem 5"},
    {"10.3S", 59, 98, "Mensagem 6"},
    {"11.3S", 99, 138, "Mensagem 7"},
    {"12.3S", 139, 178, "Mensagem 8"},
    {"13.3S", 179, 218, "Uso exclusivo FEBRABAN"},
    {"14.3S", 219, 240, "Uso exclusivo FEBRABAN"},
};
constexpr FieldSpec kOtherDetailFields[] = {
    {"01.3", 1, 3, "Código do banco"_cp, "104"},
    {"02.3", 4, 7, "Lote"},
    {"03.3", 8, 8, "Tipo de registro", "3"},
    {"04.3", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
    {"05.3", 14, 14, "Segmento", "P, Q, R ou S"},
    {"06.3", 15, 240, "Dados do segmento (não validados)"_cp},
};

using namespace sicob240_trailers;

constexpr RecordKind kFileHeader{"Header de arquivo", kFileHeaderFields};
constexpr RecordKind kLoteHeader{"Header de lote", kLoteHeaderFields};
constexpr RecordKind kP{"Segmento P", kPFields};
constexpr RecordKind kQ{"Segmento Q", kQFields};
constexpr RecordKind kR{"Segmento R", kRFields};
constexpr RecordKind kS{"Segmento S", kSFields};
constexpr RecordKind kOtherDetail{"Detalhe de outro segmento", kOtherDetailFields};
constexpr RecordKind kLoteTrailer{"Trailer de lote", kLoteTrailerFields};
constexpr RecordKind kFileTrailer{"Trailer de arquivo", kFileTrailerFields};
constexpr RecordKind kOtherType{"Registro de tipo desconhecido", kOtherTypeFields};

constexpr const RecordKind* kKinds[] = {&kFileHeader, &kLoteHeader,  &kP,           &kQ,           &kR,
                                        &kS,          &kOtherDetail, &kLoteTrailer, &kFileTrailer, &kOtherType};

constexpr Cnab240Kinds kByType{&kFileHeader, &kLoteHeader,  &kP,           &kQ,           &kR,
                               &kS,          &kOtherDetail, &kLoteTrailer, &kFileTrailer, &kOtherType};

const RecordKind* KindOf(std::string_view rec) { return Cnab240KindOf(rec, kByType); }

}  // namespace

const LayoutFields kSicob240Fields{"sicob240", kKinds, KindOf};

}  // namespace verilote
