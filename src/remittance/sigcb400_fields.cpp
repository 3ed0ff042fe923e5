// The field dictionary of the SIGCB CNAB 400 remittance, in the bank's
// numbering (app/fields.hpp): ".0" the header, ".1" the title, ".2" its second
// record, ".9" the trailer.
#include "remittance/sigcb400_fields.hpp"

#include "app/cp1252.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"
#include "remittance/cnab400.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNumericNotZero = "numérico, diferente de zeros"_cp;
constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kBlank = "em branco";
constexpr std::string_view kFilled = "preenchido";
constexpr std::string_view kDate = "data ddmmaa válida"_cp;
constexpr std::string_view kZerosOrDate = "000000 ou data ddmmaa válida"_cp;
constexpr std::string_view kMonth = "01 a 12";

// ---- Header: the fields of every version, then each version's own.

constexpr FieldSpec kHeaderStart[] = {
    {"01.0", 1, 1, "Tipo de registro", "0"},
    {"02.0", 2, 2, "Identificação da remessa"_cp, "1"},
    {"03.0", 3, 9, "Literal de remessa", "REM.TST ou REMESSA"},
    {"04.0", 10, 11, "Código do serviço"_cp, "01"},
    {"05.0", 12, 26, "Literal de serviço"_cp, "COBRANCA"},
    {"6.0", 27, 30, "Agência"_cp, kNumericNotZero},
};

constexpr FieldSpec kHeaderEnd[] = {
    {"14.0", 390, 394, "Número sequencial do arquivo"_cp, kNumericNotZero},
    {"15.0", 395, 400, "Número sequencial do registro"_cp, "número da linha no arquivo: 000001"_cp},
};

constexpr FieldSpec kHeaderBank[] = {
    {"09.0", 47, 76, "Nome da empresa", kFilled},
    {"10.0", 77, 79, "Código do banco"_cp, "104"},
    {"11.0", 80, 94, "Nome do banco", "C ECON FEDERAL (com um branco ao fim)"},
    {"12.0", 95, 100, "Data de gravação"_cp, kDate},
};

constexpr FieldSpec kBlankCedente[] = {
    {"7.0", 31, 36, "Código do cedente"_cp, kNumericNotZero},
    {"08.0", 37, 46, "Uso exclusivo CAIXA", kBlank},
};
constexpr FieldSpec kBlankVersion[] = {
    {"13.0", 101, 389, "Versão do layout (em branco) e uso exclusivo CAIXA"_cp, kBlank},
};
constexpr FieldSpec k007Cedente[] = {
    {"7.0", 31, 37, "Código do cedente"_cp, kNumericNotZero},
    {"08.0", 38, 46, "Uso exclusivo CAIXA", kBlank},
};
constexpr FieldSpec kVersion[] = {{"12A.0", 101, 103, "Versão do layout"_cp, "em branco ou 007"}};
// A version the layout does not have: where its cedente code ends, and so
// what 31-46 holds, cannot be told.
constexpr FieldSpec kOtherCedente[] = {
    {"7.0", 31, 46, "Código do cedente e uso exclusivo CAIXA"_cp},
};
constexpr FieldSpec kOtherVersion[] = {
    kVersion[0],
    {"13.0", 104, 389, "Uso exclusivo CAIXA"},
};
constexpr FieldSpec k007Version[] = {
    kVersion[0],
    {"13.0", 104, 389, "Uso exclusivo CAIXA", kBlank},
};

constexpr auto kHeaderBlankFields = JoinFields(kHeaderStart, kBlankCedente, kHeaderBank, kBlankVersion, kHeaderEnd);
constexpr auto kHeader007Fields = JoinFields(kHeaderStart, k007Cedente, kHeaderBank, k007Version, kHeaderEnd);
// Any other version: the cedente code and the version's fields go unread.
constexpr auto kHeaderOtherFields = JoinFields(kHeaderStart, kOtherCedente, kHeaderBank, kOtherVersion, kHeaderEnd);

// ---- Title (type "1").

std::string CompanyDigits(std::string_view rec) {
  return InscriptionDigits(rec, kCompanyInscription, At(rec, 2, '0') ? ByteAt(rec, 3) : ' ');
}
std::string PayerDigits(std::string_view rec) {
  return InscriptionDigits(rec, kPayerInscription, At(rec, 219, '0') ? ByteAt(rec, 220) : ' ');
}

constexpr std::string_view kCedente = "numérico, diferente de zeros, igual ao código do cedente do header"_cp;

constexpr FieldSpec kTitleStart[] = {
    {"01.1", 1, 1, "Tipo de registro", "1"},
    {"02.1", 2, 3, "Tipo de inscrição da empresa"_cp, "01 ou 02"},
    {"03.1", 4, 17, "Inscrição da empresa"_cp, "", CompanyDigits},
};

constexpr FieldSpec kTitleAccount[] = {
    {"06.1", 28, 28, "Identificação da emissão"_cp, "1 ou 2"},
    {"07.1", 29, 29, "Identificação da entrega"_cp, "0, 1, 2 ou 3"},
    {"09.1", 30, 31, "Comissão de permanência"_cp, "00 ou 51"},
    {"10.1", 32, 56, "Uso da empresa (identificação do título)"_cp},
    {"11.1", 57, 73, "Tipo (57-58) e valor (59-73)", "00 ou 14; com 14, valor numérico diferente de zeros"_cp},
    {"12.1", 74, 76, "Uso exclusivo CAIXA", kBlank},
};

constexpr FieldSpec kTitleEnd[] = {
    {"14.1", 107, 108, "Carteira", "01 ou 02"},
    {"15.1", 109, 110, "Código de ocorrência"_cp, kMonth},
    {"16.1", 111, 120, "Seu número"_cp, kFilled},
    {"17.1", 121, 126, "Data de vencimento", kDate},
    {"18.1", 127, 139, "Valor do título"_cp, kNumericNotZero},
    {"19.1", 140, 142, "Código do banco"_cp, "104"},
    {"20.1", 143, 147, "Agência cobradora"_cp, kNumeric},
    {"21.1", 148, 149, "Espécie do título"_cp, "01, 02, 03, 05, 06 ou 09"},
    {"22.1", 150, 150, "Aceite", "A ou N"},
    {"23.1", 151, 156, "Data de emissão"_cp, kDate},
    {"24.1", 157, 158, "Instrução"_cp, "01 ou 02"},
    {"25.1", 159, 160, "Segunda instrução"_cp, "00"},
    {"26.1", 161, 173, "Juros de mora por dia", kNumeric},
    {"27.1", 174, 179, "Data do desconto", kZerosOrDate},
    {"28.1", 180, 192, "Valor do desconto", kNumeric},
    {"29.1", 193, 205, "Valor do IOF", kNumeric},
    {"30.1", 206, 218, "Valor do abatimento", kNumeric},
    {"31.1", 219, 220, "Tipo de inscrição do sacado"_cp, "01 ou 02"},
    {"32.1", 221, 234, "Inscrição do sacado"_cp, "", PayerDigits},
    {"33.1", 235, 274, "Nome do sacado", kFilled},
    {"34.1", 275, 314, "Endereço do sacado"_cp, kFilled},
    {"35.1", 315, 326, "Bairro do sacado", kFilled},
    {"36.1", 327, 334, "CEP do sacado", kNumericNotZero},
    {"37.1", 335, 349, "Cidade do sacado", kFilled},
    {"38.1", 350, 351, "UF do sacado", kFilled},
    {"39.1", 352, 357, "Data da multa", kZerosOrDate},
    {"40.1", 358, 367, "Valor da multa", kNumeric},
    {"41.1", 368, 389, "Sacador/avalista"},
    {"42.1", 390, 391, "Campo 42.1", "00 ou 02"},
    {"43.1", 392, 393, "Número de dias"_cp, "de 02 a 90"},
    {"44.1", 394, 394, "Campo 44.1", "1, 2, 3, 4 ou 7"},
    {"45.1", 395, 400, "Número sequencial do registro"_cp},
};

constexpr FieldSpec kBlankAgency[] = {
    {"04.1", 18, 21, "Agência"_cp, kNumericNotZero},
    {"05.1", 22, 27, "Código do cedente"_cp, kCedente},
};
constexpr FieldSpec k007Agency[] = {
    {"04.1", 18, 20, "Zeros", "000"},
    {"05.1", 21, 27, "Código do cedente"_cp, kCedente},
};
constexpr FieldSpec k007Interest[] = {
    {"13.1", 77, 77, "Uso exclusivo CAIXA", kBlank},
    {"13A.1", 78, 83, "Data (ddmmaa)", "data ddmmaa válida quando 13B.1 é 1 ou 2"_cp},
    {"13B.1", 84, 84, "Código da data de 13A.1"_cp, "0 a 6"},
    {"13C.1", 85, 106, "Uso exclusivo CAIXA", kBlank},
};

// The blank version's bill message, where version "007" has the interest date.
constexpr FieldSpec kBlankMessage[] = {{"13.1", 77, 106, "Mensagem a imprimir no bloqueto"}};

constexpr auto kTitleBlankFields = JoinFields(kTitleStart, kBlankAgency, kTitleAccount, kBlankMessage, kTitleEnd);
constexpr auto kTitle007Fields = JoinFields(kTitleStart, k007Agency, kTitleAccount, k007Interest, kTitleEnd);

// ---- Second record (type "2") and trailer.

constexpr FieldSpec kSecondFields[] = {
    {"01.2", 1, 1, "Tipo de registro", "2"},
    {"02.2", 2, 3, "Tipo de inscrição da empresa"_cp, "01 ou 02"},
    {"03.2", 4, 17, "Inscrição da empresa"_cp, "", CompanyDigits},
    {"04.2", 18, 21, "Agência"_cp, kNumericNotZero},
    {"05.2", 22, 27, "Código do cedente"_cp, kNumericNotZero},
    {"06.2", 28, 31, "Uso exclusivo CAIXA", kBlank},
    {"07.2", 32, 56, "Uso exclusivo CAIXA", kBlank},
    {"8.2", 57, 73, "Tipo (57-58) e valor (59-73)", "com 14 em 57-58, valor numérico diferente de zeros"_cp},
    {"09.2", 74, 106, "Uso exclusivo CAIXA", kBlank},
    {"10.2", 107, 108, "Carteira", "01 ou 02"},
    {"11.2", 109, 110, "Código de ocorrência"_cp, kMonth},
    {"12.2", 111, 139, "Uso exclusivo CAIXA"},
    {"13.2", 140, 142, "Código do banco"_cp, "104"},
    {"14.2", 143, 182, "Mensagem", kFilled},
    {"15.2", 183, 222, "Mensagem 2"},
    {"16.2", 223, 262, "Mensagem 3"},
    {"17.2", 263, 302, "Mensagem 4"},
    {"18.2", 303, 342, "Mensagem 5"},
    {"19.2", 343, 382, "Mensagem 6"},
    {"20.2", 383, 394, "Uso exclusivo CAIXA", kBlank},
    {"21.2", 395, 400, "Número sequencial do registro"_cp},
};

constexpr FieldSpec kTrailerFields[] = {
    {"01.9", 1, 1, "Tipo de registro", "9"},
    {"02.9", 2, 394, "Uso exclusivo CAIXA", kBlank},
    {"03.9", 395, 400, "Número sequencial do registro"_cp},
};

constexpr FieldSpec kOtherTypeFields[] = {
    {"01", 1, 1, "Tipo de registro", "0, 1, 2 ou 9"},
    {"02", 2, 400, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr RecordKind kHeaderBlank{"Header de arquivo (versão em branco)"_cp, kHeaderBlankFields};
constexpr RecordKind kHeader007{"Header de arquivo (versão 007)"_cp, kHeader007Fields};
constexpr RecordKind kHeaderOther{"Header de arquivo (versão desconhecida)"_cp, kHeaderOtherFields};
constexpr RecordKind kTitleBlank{"Detalhe tipo 1 (versão em branco)"_cp, kTitleBlankFields};
constexpr RecordKind kTitle007{"Detalhe tipo 1 (versão 007)"_cp, kTitle007Fields};
constexpr RecordKind kSecond{"Detalhe tipo 2", kSecondFields};
constexpr RecordKind kTrailer{"Trailer de arquivo", kTrailerFields};
constexpr RecordKind kOtherType{"Registro de tipo desconhecido", kOtherTypeFields};

constexpr const RecordKind* kKinds[] = {&kHeaderBlank, &kHeader007, &kHeaderOther, &kTitleBlank,
                                        &kTitle007,    &kSecond,    &kTrailer,     &kOtherType};

// A record alone: a title of version "007" carries zeros at 18-20 (field
// 04.1), one of the blank version its agency there.
const RecordKind* KindOfRecord(std::string_view rec) {
  return Sigcb400KindOf(rec, At(rec, 1, '1') && Field(rec, 18, 20) == "000" ? "007" : "   ");
}

}  // namespace

const RecordKind* Sigcb400KindOf(std::string_view rec, std::string_view version) {
  switch (rec.empty() ? '\0' : rec[0]) {
    case '0': {
      const std::string_view own = Field(rec, 101, 103);
      return own == "   " ? &kHeaderBlank : own == "007" ? &kHeader007 : &kHeaderOther;
    }
    case '1':
      return version == "007" ? &kTitle007 : &kTitleBlank;
    case '2':
      return &kSecond;
    case '9':
      return &kTrailer;
    default:
      return &kOtherType;
  }
}

const LayoutFields kSigcb400Fields{"sigcb400", kKinds, KindOfRecord};

}  // namespace verilote
