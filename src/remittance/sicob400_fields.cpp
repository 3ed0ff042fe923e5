// The field dictionary of the SICOB CNAB 400 remittance (app/fields.hpp). Its
// findings name fields by their positions ("Deveria ser branco(34,2)"), so a
// field's code is its positions, "34-35", or the one position, "33", also for
// the ranges no rule reads, named as the bank's layout names them.
#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "banking/record_rules.hpp"
#include "detect/field_registry.hpp"
#include "remittance/cnab400.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kBlank = "em branco";
constexpr std::string_view kFilled = "preenchido";
constexpr std::string_view kDate = "data ddmmaa válida"_cp;

constexpr FieldSpec kHeaderFields[] = {
    {"1", 1, 1, "Tipo de registro", "0"},
    {"2", 2, 2, "Código da remessa"_cp},
    {"3-9", 3, 9, "Literal da remessa"},
    {"10-11", 10, 11, "Código do serviço"_cp},
    {"12-26", 12, 26, "Literal de serviço"_cp},
    {"27-30", 27, 30, "Agência do convênio"_cp},
    {"31-33", 31, 33, "Operação do convênio"_cp},
    {"34-41", 34, 41, "Conta do convênio"_cp},
    {"42", 42, 42, "Dígito da conta"_cp},
    {"43-46", 43, 46, "Uso exclusivo CAIXA", kBlank},
    {"47-76", 47, 76, "Cedente centralizador"},
    {"77-79", 77, 79, "Código do banco"_cp, "104"},
    {"80-94", 80, 94, "Nome do banco"},
    {"95-100", 95, 100, "Data de geração"_cp},
    {"101-389", 101, 389, "Uso exclusivo CAIXA", kBlank},
    {"390-394", 390, 394, "Sequencial do arquivo"},
    {"395-400", 395, 400, "Sequencial do registro"},
};

std::string CompanyDigits(std::string_view rec) { return InscriptionDigits(rec, 4, ByteAt(rec, 3)); }
std::string PayerDigits(std::string_view rec) { return InscriptionDigits(rec, 221, ByteAt(rec, 220)); }

// Position 33: Mod11DvFrom8 over agency, operation and account (18-32).
std::string AccountDigit(std::string_view rec) {
  const std::optional<char> dv = AccountDvDigit(Field(rec, 18, 21), Field(rec, 22, 24), Field(rec, 25, 32));
  return dv ? Cat("dígito "_cp, *dv) : std::string("agência, operação e conta numéricas"_cp);
}

// 63-73: a Nosso Número of CAIXA ("9" or "3" at 63) ends with its digit.
std::string NossoNumeroDigit(std::string_view rec) {
  const std::string_view ten = Field(rec, 63, 72);
  if ((At(rec, 63, '9') || At(rec, 63, '3')) && ten.size() == 10 && IsAllDigits(ten))
    return Cat("9 ou 3 e 10 algarismos, dígito "_cp, NossoNumero10Dv(ten));
  return std::string("9 ou 3 e 10 algarismos com o dígito, zeros ou em branco"_cp);
}

constexpr FieldSpec kTitleFields[] = {
    {"1", 1, 1, "Tipo de registro", "1"},
    {"2-3", 2, 3, "Tipo de inscrição da empresa"_cp, "01 (CPF) ou 02 (CNPJ)"},
    {"4-17", 4, 17, "Inscrição da empresa"_cp, "", CompanyDigits},
    {"18-21", 18, 21, "Agência"_cp, kNumeric},
    {"22-24", 22, 24, "Operação"_cp, kNumeric},
    {"25-32", 25, 32, "Conta", kNumeric},
    {"33", 33, 33, "Dígito da conta"_cp, "", AccountDigit},
    {"34-35", 34, 35, "Uso exclusivo CAIXA", kBlank},
    {"36-37", 36, 37, "Comissão de permanência"_cp, "00 ou 51"},
    {"38-62", 38, 62, "Uso da empresa"},
    {"63-73", 63, 73, "Nosso Número"_cp, "", NossoNumeroDigit},
    {"74-76", 74, 76, "Uso exclusivo CAIXA", kBlank},
    {"77-106", 77, 106, "Mensagem a imprimir no bloqueto"},
    {"107-108", 107, 108, "Carteira", "11 (Nosso Número 3 ou 0...) ou 12 (Nosso Número 9...)"_cp},
    {"109-110", 109, 110, "Código de ocorrência"_cp, kNumeric},
    {"111-120", 111, 120, "Seu número"_cp, kFilled},
    {"121-126", 121, 126, "Data de vencimento", kDate},
    {"127-139", 127, 139, "Valor do título"_cp, kNumeric},
    {"140-142", 140, 142, "Código do banco"_cp, "104"},
    {"143-147", 143, 147, "Agência cobradora"_cp, kNumeric},
    {"148-149", 148, 149, "Espécie do título"_cp, kNumeric},
    {"150", 150, 150, "Aceite", "N ou S"},
    {"151-156", 151, 156, "Data de emissão"_cp, kDate},
    {"157-158", 157, 158, "Instrução"_cp, "01 (protesto) ou 02 (devolução)"_cp},
    {"159-160", 159, 160, "Segunda instrução"_cp, kNumeric},
    {"161-173", 161, 173, "Juros de mora por dia", kNumeric},
    {"174-179", 174, 179, "Data do desconto", "000000 ou data ddmmaa válida"_cp},
    {"180-192", 180, 192, "Valor do desconto", kNumeric},
    {"193-205", 193, 205, "Valor do IOF", kNumeric},
    {"206-218", 206, 218, "Valor do abatimento", kNumeric},
    // The layout's type of inscription is 219-220 ("01" or "02"); the rules
    // read its second position.
    {"219", 219, 219, "Tipo de inscrição do sacado (primeira posição)"_cp},
    {"220", 220, 220, "Tipo de inscrição do sacado"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"221-234", 221, 234, "Inscrição do sacado"_cp, "", PayerDigits},
    {"235-274", 235, 274, "Nome do sacado", kFilled},
    {"275-314", 275, 314, "Endereço do sacado"_cp, kFilled},
    {"315-326", 315, 326, "Bairro do sacado", kFilled},
    {"327-334", 327, 334, "CEP do sacado", kNumeric},
    {"335-349", 335, 349, "Cidade do sacado", kFilled},
    {"350-351", 350, 351, "UF do sacado", kFilled},
    {"352-357", 352, 357, "Data da multa", kDate},
    {"358-367", 358, 367, "Valor da multa", kNumeric},
    {"368-389", 368, 389, "Nome do sacador avalista"},
    {"390-391", 390, 391, "Posições 390-391"_cp, kNumeric},
    {"392-393", 392, 393, "Dias de protesto ou de devolução"_cp,
     "numérico; de 2 a 30 com a instrução 01, de 5 a 90 com 02"_cp},
    {"394", 394, 394, "Posição 394"_cp, kNumeric},
    {"395-400", 395, 400, "Sequencial do registro", kNumeric},
};

constexpr FieldSpec kMessageFields[] = {
    {"1", 1, 1, "Tipo de registro", "2"},
    {"2-400", 2, 400, "Mensagem", "letras sem acento, algarismos, branco e . - $ % & @ , / ( ) :"},
};
constexpr FieldSpec kTrailerFields[] = {
    {"1", 1, 1, "Tipo de registro", "9"},
    {"2-394", 2, 394, "Brancos"},
    {"395-400", 395, 400, "Sequencial do registro"},
};
constexpr FieldSpec kOtherTypeFields[] = {
    {"1", 1, 1, "Tipo de registro", "0, 1, 2 ou 9"},
    {"2-400", 2, 400, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr RecordKind kHeader{"Header de arquivo", kHeaderFields};
constexpr RecordKind kTitle{"Título (tipo 1)"_cp, kTitleFields};
constexpr RecordKind kMessage{"Mensagem (tipo 2)", kMessageFields};
constexpr RecordKind kTrailer{"Trailer de arquivo", kTrailerFields};
constexpr RecordKind kOtherType{"Registro de tipo desconhecido", kOtherTypeFields};

constexpr const RecordKind* kKinds[] = {&kHeader, &kTitle, &kMessage, &kTrailer, &kOtherType};

const RecordKind* KindOf(std::string_view rec) {
  switch (rec.empty() ? '\0' : rec[0]) {
    case '0':
      return &kHeader;
    case '1':
      return &kTitle;
    case '2':
      return &kMessage;
    case '9':
      return &kTrailer;
    default:
      return &kOtherType;
  }
}

}  // namespace

const LayoutFields kSicob400Fields{"sicob400", kKinds, KindOf};

}  // namespace verilote
