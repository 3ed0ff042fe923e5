// The field dictionary of the Construgiro remittance (app/fields.hpp). Its
// findings name fields by their positions ("Posição 23 dígito inválido"_cp,
// "na posição 154,8"_cp), so a field's code is its positions, "154-161", or the
// one position, "23". Stretches no rule reads are named as the CNAB 240
// frame names them, or as reserved.
#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "banking/dictionary_helpers.hpp"
#include "banking/record_rules.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kNumericNotZero = "numérico, diferente de zeros"_cp;
constexpr std::string_view kBlank = "em branco";
constexpr std::string_view kDate = "data ddmmaaaa válida"_cp;
constexpr std::string_view kZerosOrDate = "zeros ou data ddmmaaaa válida"_cp;
constexpr std::string_view kAtLeast3 = "ao menos 3 caracteres";

std::string Digit(char dv) { return Cat("dígito "_cp, dv); }

// Header 48: Mod11DvFrom8 of agency 33-36, operation 37-39 and account 40-47.
std::string HeaderAccountDigit(std::string_view rec) {
  const std::string_view account = Field(rec, 33, 47);
  if (account.size() != 15 || !IsAllDigits(account)) return std::string("agência, operação e conta numéricas"_cp);
  return Digit(Mod11DvFrom8(account)[0]);
}
// Header 19-32: a CPF at 22-32 when 18 is "1", else a CNPJ.
std::string CedenteDigits(std::string_view rec) { return InscriptionDigits(rec, 19, At(rec, 18, '1') ? '1' : '2'); }
std::string DevelopmentDigits(std::string_view rec) { return InscriptionDigits(rec, 20, ByteAt(rec, 18)); }
std::string BuyerDigits(std::string_view rec) { return InscriptionDigits(rec, 106, ByteAt(rec, 104)); }
std::string PayerDigits(std::string_view rec) { return InscriptionDigits(rec, 20, ByteAt(rec, 18)); }
std::string DrawerDigits(std::string_view rec) { return InscriptionDigits(rec, 156, ByteAt(rec, 154)); }
// P 23 and 37: Mod11Dv of the agency 18-22, and of it with the account 24-35.
std::string AgencyDigit(std::string_view rec) { return Digit(Mod11Dv(Field(rec, 18, 22))); }
std::string PAccountDigit(std::string_view rec) { return Digit(Mod11Dv(Cat(Field(rec, 18, 22), Field(rec, 24, 35)))); }

constexpr FieldSpec kBank[] = {{"1-3", 1, 3, "Código do banco"_cp, "104"}};
constexpr FieldSpec kDetailFrame[] = {
    {"4-7", 4, 7, "Lote", "número do lote no arquivo"_cp},
    {"8", 8, 8, "Tipo de registro", "3"},
    {"9-13", 9, 13, "Sequencial no lote", "número do registro no lote"_cp},
};

constexpr FieldSpec kFileHeaderFields[] = {
    kBank[0],
    {"4-7", 4, 7, "Lote", "0000"},
    {"8", 8, 8, "Tipo de registro", "0"},
    {"9-17", 9, 17, "Uso exclusivo", kBlank},
    {"18", 18, 18, "Tipo de inscrição do cedente"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"19-32", 19, 32, "Inscrição do cedente"_cp, "", CedenteDigits},
    {"33-36", 33, 36, "Agência do centralizador"_cp, kNumeric},
    {"37-39", 37, 39, "Operação"_cp, kNumeric},
    {"40-47", 40, 47, "Conta", kNumeric},
    {"48", 48, 48, "Dígito da conta"_cp, "", HeaderAccountDigit},
    {"49-52", 49, 52, "Uso exclusivo", kBlank},
    {"53", 53, 53, "Agência: primeira posição (não examinada)"_cp},
    {"54-57", 54, 57, "Agência"_cp, "igual à agência em 33-36"_cp},
    {"58", 58, 58, "Dígito"_cp, "0"},
    {"59-70", 59, 70, "Código do cedente (não examinado)"_cp},
    {"71", 71, 71, "Dígito"_cp, "0"},
    {"72", 72, 72, "Dígito"_cp, "0"},
    {"73-102", 73, 102, "Cedente centralizador"},
    {"103-132", 103, 132, "Nome do banco"},
    {"133-142", 133, 142, "Uso exclusivo", kBlank},
    {"143", 143, 143, "Código remessa"_cp, "1"},
    {"144-151", 144, 151, "Data do arquivo", "data ddmmaaaa válida, não anterior à data da informação"_cp},
    {"152-157", 152, 157, "Hora do arquivo"},
    {"158-163", 158, 163, "NSA do arquivo", kNumeric},
    {"164-166", 164, 166, "Versão do layout"_cp, "040"},
    {"167-171", 167, 171, "Densidade", "00000"},
    {"172-191", 172, 191, "Uso exclusivo", kBlank},
    {"192-205", 192, 205, "Tipo de remessa", "INCLUSAO ou INCLUSAO-TESTE"},
    {"206-211", 206, 211, "Tipo de remessa: fim (não examinado)"_cp},
    {"212-215", 212, 215, "Total de unidades",
     "numérico, diferente de zeros, PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE"_cp},
    {"216-219", 216, 219, "Unidades permutadas, vendidas e quitadas", kNumericNotZero},
    {"220-223", 220, 223, "Unidades vendidas com saldo devedor", kNumericNotZero},
    {"224-227", 224, 227, "Unidades em estoque", kNumeric},
    {"228-231", 228, 231, "Unidades pendentes", kNumeric},
    {"232-239", 232, 239, "Data da informação"_cp, kDate},
    {"240", 240, 240, "Uso exclusivo (não examinado)"_cp},
};

constexpr FieldSpec kLoteHeaderFields[] = {
    kBank[0],
    {"4-7", 4, 7, "Lote"},
    {"8", 8, 8, "Tipo de registro", "1"},
    {"9", 9, 9, "Tipo de operação"_cp, "R"},
    {"10-11", 10, 11, "Tipo de serviço"_cp, "01"},
    {"12-13", 12, 13, "Uso exclusivo (não examinado)"_cp},
    {"14-16", 14, 16, "Versão do layout"_cp, "040"},
    {"17", 17, 17, "Uso exclusivo", kBlank},
    {"18", 18, 18, "Tipo de inscrição do empreendimento"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"19", 19, 19, "Inscrição do empreendimento: primeira posição (não examinada)"_cp},
    {"20-33", 20, 33, "Inscrição do empreendimento"_cp, "", DevelopmentDigits},
    {"34-37", 34, 37, "Agência"_cp, kNumeric},
    {"38-40", 38, 40, "Operação"_cp, kNumeric},
    {"41-48", 41, 48, "Conta", kNumeric},
    {"49", 49, 49, "Dígito da conta (não examinado)"_cp},
    {"50-53", 50, 53, "Uso exclusivo", kBlank},
    {"54", 54, 54, "Agência: primeira posição (não examinada)"_cp},
    {"55-58", 55, 58, "Agência"_cp, "igual à agência em 34-37"_cp},
    {"59-63", 59, 63, "Reservado (não examinado)"_cp},
    {"64-71", 64, 71, "Conta", "igual à conta em 41-48"_cp},
    {"72-73", 72, 73, "Dígitos (não examinados)"_cp},
    {"74-103", 74, 103, "Empreendimento"},
    {"104", 104, 104, "Tipo de inscrição do comprador"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"105", 105, 105, "Inscrição do comprador: primeira posição (não examinada)"_cp},
    {"106-119", 106, 119, "Inscrição do comprador"_cp, "", BuyerDigits},
    {"120-129", 120, 129, "Bloco"},
    {"130-139", 130, 139, "Unidade"},
    {"140", 140, 140, "Tipo", "1, 2, 3, 4 ou 5"},
    {"141", 141, 141, "Tipo", "1, 2, 3, 4 ou 5"},
    {"142-147", 142, 147, "Área útil do imóvel"_cp, "numérico, diferente de zeros, até a área total"_cp},
    {"148-153", 148, 153, "Área total do imóvel"_cp, kNumericNotZero},
    {"154-161", 154, 161, "Data da assinatura do contrato",
     "data ddmmaaaa válida, até a data do arquivo e a da informação"_cp},
    {"162", 162, 162, "Contrato subrogado", "1 ou 2"},
    {"163-170", 163, 170, "Data da última subrogação"_cp, "data válida (subrogado 1) ou zeros (2)"_cp},
    {"171-173", 171, 173, "Prazo de financiamento", kNumericNotZero},
    {"174-175", 174, 175, "Tipo de atualização"_cp, "07"},
    {"176-183", 176, 183, "Reservado (não examinado)"_cp},
    {"184-185", 184, 185, "Número da remessa"_cp},
    {"186-191", 186, 191, "NSA", "igual ao NSA do header de arquivo"},
    {"192-199", 192, 199, "Data de gravação"_cp, kDate},
    {"200-207", 200, 207, "Data do crédito"_cp, kDate},
    {"208-222", 208, 222, "Valor da compra", kNumericNotZero},
    {"223-237", 223, 237, "Saldo devedor", "numérico, diferente de zeros, até o valor da compra"_cp},
    {"238-240", 238, 240, "Uso exclusivo (não examinado)"_cp},
};

constexpr FieldSpec kPFields[] = {
    kBank[0],
    kDetailFrame[0],
    kDetailFrame[1],
    kDetailFrame[2],
    {"14", 14, 14, "Segmento", "P"},
    {"15", 15, 15, "Uso exclusivo (não examinado)"_cp},
    {"16-17", 16, 17, "Código de movimento"_cp, kNumeric},
    {"18-22", 18, 22, "Agência"_cp},
    {"23", 23, 23, "Dígito da agência"_cp, "", AgencyDigit},
    {"24-35", 24, 35, "Conta"},
    {"36", 36, 36, "Zero", "0"},
    {"37", 37, 37, "Dígito da conta"_cp, "", PAccountDigit},
    {"38-46", 38, 46, "Uso exclusivo", kBlank},
    {"47-57", 47, 57, "Nosso Número"_cp, "11 algarismos: zeros na entrada (01), senão iniciado por 3"_cp},
    {"58", 58, 58, "Carteira", "1"},
    {"59", 59, 59, "Forma de cadastramento", "1"},
    {"60", 60, 60, "Tipo de documento", "2"},
    {"61", 61, 61, "Emissão do bloqueto"_cp, "1"},
    {"62", 62, 62, "Distribuição do bloqueto"_cp, "1"},
    {"63-76", 63, 76, "Seu número"_cp, "até 11 caracteres"_cp},
    {"77", 77, 77, "Antecipação"_cp, "1 para parcela a vencer"},
    {"78-85", 78, 85, "Data de vencimento", "data ddmmaaaa válida, não anterior à emissão"_cp},
    {"86-100", 86, 100, "Valor da parcela", "numérico, não menor que juros e desconto"_cp},
    {"101-102", 101, 102, "Agência cobradora"_cp, "00"},
    {"103-106", 103, 106, "Agência cobradora"_cp, "0000"},
    {"107-108", 107, 108, "Espécie do título"_cp, "99"},
    {"109", 109, 109, "Aceite", "A ou N"},
    {"110-117", 110, 117, "Data de emissão"_cp, kDate},
    {"118", 118, 118, "Código de juros de mora"_cp, "1, 2, 3 ou 4"},
    {"119-126", 119, 126, "Data dos juros", "zeros ou data válida, não anterior ao vencimento"_cp},
    {"127-141", 127, 141, "Juros", kNumeric},
    {"142", 142, 142, "Código do desconto"_cp, "0, 1 ou 2"},
    {"143-150", 143, 150, "Data do desconto", kZerosOrDate},
    {"151-165", 151, 165, "Valor do desconto", kNumeric},
    {"166-180", 166, 180, "Valor pago", kNumeric},
    {"181-195", 181, 195, "Valor do abatimento", kNumeric},
    {"196-220", 196, 220, "Identificação do título na empresa"_cp, "preenchido"},
    {"221", 221, 221, "Protesto", "1 ou 3; 1 em protesto ou devolução, não nos dois"_cp},
    {"222-223", 222, 223, "Prazo de protesto", "numérico; de 2 a 90 com protesto 1"_cp},
    {"224", 224, 224, "Devolução"_cp, "1 ou 2"},
    {"225-227", 225, 227, "Prazo de devolução"_cp, "numérico; de 5 a 90 com devolução 1"_cp},
    {"228-229", 228, 229, "Moeda", "09"},
    {"230-237", 230, 237, "Data de pagamento", kZerosOrDate},
    {"238", 238, 238, "Tipo de prestação"_cp, "1 a 6"},
    {"239", 239, 239, "Reservado (não examinado)"_cp},
    {"240", 240, 240, "Tipo de prestação"_cp, "1 ou 2"},
};

constexpr FieldSpec kQFields[] = {
    kBank[0],
    kDetailFrame[0],
    kDetailFrame[1],
    kDetailFrame[2],
    {"14", 14, 14, "Segmento", "Q"},
    {"15", 15, 15, "Uso exclusivo", kBlank},
    {"16-17", 16, 17, "Código de movimento"_cp, kNumeric},
    {"18", 18, 18, "Tipo de inscrição do sacado"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"19", 19, 19, "Inscrição do sacado: primeira posição (não examinada)"_cp},
    {"20-33", 20, 33, "Inscrição do sacado"_cp, "", PayerDigits},
    {"34-73", 34, 73, "Nome", kAtLeast3},
    {"74-113", 74, 113, "Endereço"_cp, kAtLeast3},
    {"114-128", 114, 128, "Bairro", kAtLeast3},
    {"129-136", 129, 136, "CEP", "8 caracteres"},
    {"137-151", 137, 151, "Cidade", kAtLeast3},
    {"152-153", 152, 153, "UF", "2 caracteres"},
    {"154", 154, 154, "Tipo de inscrição do avalista"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"155-169", 155, 169, "Inscrição do avalista"_cp, "", DrawerDigits},
    {"170-209", 170, 209, "Nome do avalista", "ao menos 3 caracteres, com avalista"},
    {"210-224", 210, 224, "Profissão"_cp, kAtLeast3},
    {"225-226", 225, 226, "DDD", kNumericNotZero},
    {"227-234", 227, 234, "Telefone", kNumericNotZero},
    {"235-240", 235, 240, "Data de nascimento", "data ddmmaa válida"_cp},
};

constexpr FieldSpec kRFields[] = {
    kBank[0],
    kDetailFrame[0],
    kDetailFrame[1],
    kDetailFrame[2],
    {"14", 14, 14, "Segmento", "R"},
    {"15-17", 15, 17, "Uso exclusivo e código de movimento (não examinados)"_cp},
    {"18-65", 18, 65, "Uso exclusivo", kBlank},
    {"66", 66, 66, "Código da multa"_cp, "0, 1 ou 2"},
    {"67-74", 67, 74, "Data da multa", "data ddmmaaaa válida, não anterior ao vencimento"_cp},
    {"75-240", 75, 240, "Valor da multa, mensagens e uso exclusivo (não examinados)"_cp},
};

constexpr FieldSpec kSFields[] = {
    kBank[0],
    kDetailFrame[0],
    kDetailFrame[1],
    kDetailFrame[2],
    {"14", 14, 14, "Segmento", "S"},
    {"15-17", 15, 17, "Uso exclusivo e código de movimento (não examinados)"_cp},
    {"18", 18, 18, "Tipo de impressão"_cp, "3"},
    {"19-240", 19, 240, "Mensagens e uso exclusivo (não examinados)"_cp},
};

constexpr FieldSpec kOtherSegmentFields[] = {
    kBank[0],
    kDetailFrame[0],
    kDetailFrame[1],
    kDetailFrame[2],
    {"14", 14, 14, "Segmento", "P, Q, R ou S"},
    {"15-240", 15, 240, "Dados do segmento (não examinados)"_cp},
};

constexpr FieldSpec kLoteTrailerFields[] = {
    kBank[0],
    {"4-7", 4, 7, "Lote"},
    {"8", 8, 8, "Tipo de registro", "5"},
    {"9-17", 9, 17, "Uso exclusivo (não examinado)"_cp},
    {"18-23", 18, 23, "Quantidade de registros do lote", "registros do lote, header e trailer incluídos"_cp},
    {"24-240", 24, 240, "Totais e uso exclusivo (não examinados)"_cp},
};

constexpr FieldSpec kFileTrailerFields[] = {
    kBank[0],
    {"4-8", 4, 8, "Lote e tipo de registro", "99999"},
    {"9-17", 9, 17, "Uso exclusivo (não examinado)"_cp},
    {"18-23", 18, 23, "Quantidade de lotes", "lotes do arquivo"},
    {"24-29", 24, 29, "Quantidade de registros", "linhas do arquivo"},
    {"30-240", 30, 240, "Uso exclusivo (não examinado)"_cp},
};

constexpr FieldSpec kOtherTypeFields[] = {
    kBank[0],
    {"4-7", 4, 7, "Lote"},
    {"8", 8, 8, "Tipo de registro", "0, 1, 3, 5 ou 9"},
    {"9-240", 9, 240, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr RecordKind kFileHeader{"Header de arquivo", kFileHeaderFields};
constexpr RecordKind kLoteHeader{"Header de lote", kLoteHeaderFields};
constexpr RecordKind kP{"Segmento P", kPFields};
constexpr RecordKind kQ{"Segmento Q", kQFields};
constexpr RecordKind kR{"Segmento R", kRFields};
constexpr RecordKind kS{"Segmento S", kSFields};
constexpr RecordKind kOtherSegment{"Detalhe de segmento desconhecido", kOtherSegmentFields};
constexpr RecordKind kLoteTrailer{"Trailer de lote", kLoteTrailerFields};
constexpr RecordKind kFileTrailer{"Trailer de arquivo", kFileTrailerFields};
constexpr RecordKind kOtherType{"Registro de tipo desconhecido", kOtherTypeFields};

constexpr const RecordKind* kKinds[] = {&kFileHeader, &kLoteHeader,   &kP,           &kQ,           &kR,
                                        &kS,          &kOtherSegment, &kLoteTrailer, &kFileTrailer, &kOtherType};

constexpr Cnab240Kinds kByType{&kFileHeader, &kLoteHeader,   &kP,           &kQ,           &kR,
                               &kS,          &kOtherSegment, &kLoteTrailer, &kFileTrailer, &kOtherType};

const RecordKind* KindOf(std::string_view rec) { return Cnab240KindOf(rec, kByType); }

}  // namespace

const LayoutFields kConstrugiroFields{"construgiro", kKinds, KindOf};

}  // namespace verilote
