// The field dictionary of the SIGCB CNAB 240 remittance (app/fields.hpp), in
// the numbering its findings write: field NN of record type R is "NN.R", of a
// detail segment "NN.3P", "NN.3Q"... Every position belongs to a field, the
// ranges no rule reads too, coded and named as the bank's manual numbers them.
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::string_view kBlank = "em branco";
constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kDate = "data ddmmaaaa válida"_cp;
constexpr std::string_view kLote = "número do lote, em ordem a partir de 0001"_cp;
constexpr std::string_view kSequence = "1, 2, 3... dentro do lote"_cp;
constexpr std::string_view kSegment = "P, Q, R, S ou Y53";
constexpr std::string_view kMovement = "01, 02, 04 a 18, 31, 33, 34, 36 a 38 ou 40";
constexpr std::string_view kAtLeast3 = "ao menos 3 caracteres";
constexpr std::string_view kCedente = "igual ao código do cedente do header"_cp;

// The check digits, computed as the validator computes them.
std::string FileAgencyDv(std::string_view rec) { return Cat("dígito "_cp, Mod11DvTimesTen(Field(rec, 54, 57))); }
std::string LoteAgencyDv(std::string_view rec) {
  return Cat("dígito "_cp, Mod11DvTimesTen(Field(rec, 55, 58)), " na posição 59"_cp);
}
std::string TitleAgencyDv(std::string_view rec) { return Cat("dígito "_cp, Mod11Dv(Field(rec, 18, 22))); }

// ---- File header (record type "0").

constexpr FieldSpec kFileHeaderFields[] = {
    {"01.0", 1, 3, "Código do banco"_cp, "104"},
    {"02.0", 4, 7, "Lote de serviço"_cp, "0000"},
    {"03.0", 8, 8, "Tipo de registro", "0"},
    {"04.0", 9, 17, "Uso exclusivo", kBlank},
    {"05.0", 18, 18, "Tipo de inscrição do cedente"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"06.0", 19, 32, "Número de inscrição do cedente"_cp,
     "CPF válido em 22-32 se 05.0 é 1, senão CNPJ válido; não zeros"_cp},
    {"07.0", 33, 52, "Uso exclusivo", "zeros"},
    {"08.0", 53, 57, "Agência mantenedora"_cp},
    {"09.0", 58, 58, "DV da agência"_cp, {}, FileAgencyDv},
    {"10.0", 59, 64, "Código do cedente (59-65 na versão 107)"_cp},
    {"11.0", 65, 72, "Uso exclusivo CAIXA"},
    {"12.0", 73, 102, "Nome do cedente centralizador"},
    {"13.0", 103, 132, "Nome do banco", "CAIXA ECONOMICA FEDERAL, C ECON FEDERAL, CAIXA ou CEF"},
    {"14.0", 133, 142, "Uso exclusivo", kBlank},
    {"15.0", 143, 143, "Código de remessa"_cp, "1"},
    {"17.0", 144, 151, "Data de geração"_cp, kDate},
    {"18.0", 152, 157, "Hora de geração"_cp},
    {"19.0", 158, 163, "NSA (número sequencial do arquivo)"_cp, kNumeric},
    {"20.0", 164, 166, "Versão do layout"_cp, "101 ou 107"},
    {"21.0", 167, 171, "Reservado", "00000"},
    {"22.0", 172, 191, "Reservado", kBlank},
    // The bank's numbering leaves no number between 22.0 and 23.0.
    {"22A.0", 192, 207, "Tipo de remessa", "REMESSA-PRODUCAO ou REMESSA-TESTE"},
    {"22B.0", 208, 211, "Situação do arquivo (fim)"_cp},
    {"22C.0", 212, 215, "Uso interno CAIXA"},
    {"23.0", 216, 240, "Reservado (campos 23.0, 24.0 e 25.0)", kBlank},
};

// ---- Lote header (record type "1").

constexpr FieldSpec kLoteHeaderFields[] = {
    {"01.1", 1, 3, "Código do banco"_cp, "104"},
    {"02.1", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.1", 8, 8, "Tipo de registro", "1"},
    {"04.1", 9, 9, "Tipo de operação"_cp, "R"},
    {"05.1", 10, 11, "Tipo de serviço"_cp, "01 ou 02"},
    {"06.1", 12, 13, "Reservado", "00"},
    {"07.1", 14, 16, "Versão do layout do lote"_cp, "067 na versão 107 do header, 060 nas outras"_cp},
    {"08.1", 17, 17, "Uso exclusivo", kBlank},
    {"09.1", 18, 18, "Tipo de inscrição do cedente"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"10.1", 19, 33, "Número de inscrição do cedente"_cp,
     "CPF válido em 23-33 se 09.1 é 1, senão CNPJ válido; não zeros"_cp},
    {"11.1", 34, 39, "Código do cedente (34-40 na versão 107)"_cp, kCedente},
    {"12.1", 40, 53, "Uso exclusivo", "zeros"},
    {"13.1", 54, 59, "Agência mantenedora e DV"_cp, {}, LoteAgencyDv},
    {"14.1", 60, 65, "Código do convênio"_cp, "igual ao 11.1 (salvo na versão 107)"_cp},
    {"15.1", 66, 72, "Código do modelo"_cp, "7 algarismos"},
    {"16.1", 73, 73, "Uso exclusivo", "0"},
    {"17.1", 74, 103, "Nome da empresa", "preenchido"},
    {"18.1", 104, 143, "Mensagem 1"},
    {"19.1", 144, 183, "Mensagem 2"},
    {"20.1", 184, 191, "Número da remessa (NSA)"_cp, "00 seguido do NSA do header"},
    {"21.1", 192, 199, "Data de gravação"_cp, kDate},
    {"22.1", 200, 207, "Data do crédito"_cp, "00000000 ou data ddmmaaaa válida"_cp},
    {"23.1", 208, 240, "Uso exclusivo", kBlank},
};

// ---- Segment P: the title.

constexpr FieldSpec kPFields[] = {
    {"01.3P", 1, 3, "Código do banco"_cp, "104"},
    {"02.3P", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3P", 8, 8, "Tipo de registro", "3"},
    {"04.3P", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3P", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3P", 15, 15, "Uso exclusivo", kBlank},
    {"07.3P", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3P", 18, 22, "Agência mantenedora"_cp},
    {"09.3P", 23, 23, "DV da agência"_cp, {}, TitleAgencyDv},
    {"10.3P", 24, 29, "Código do cedente (24-30 na versão 107)"_cp, kCedente},
    {"11.3P", 30, 39, "Uso exclusivo (campos 11.3P e 12.3P; 31-39 na versão 107)"_cp, "zeros"},
    {"13.3P", 40, 57, "Modalidade e Nosso Número (40: reservado)"_cp,
     "modalidade 11, 14 ou 21 e 15 algarismos, ou 17 zeros, em 41-57"},
    {"14.3P", 58, 58, "Carteira", "1"},
    {"15.3P", 59, 59, "Forma de cadastramento", "1 (modalidades 11 e 14) ou 2 (modalidade 21)"},
    {"16.3P", 60, 60, "Tipo de documento", "2"},
    {"17.3P", 61, 61, "Emissão do bloqueto"_cp, "1, 2, 4 ou 5 (2 quando o cedente imprime)"},
    {"18.3P", 62, 62, "Distribuição do bloqueto"_cp, "1, 2, 3 ou 0 (0 quando o cedente imprime)"},
    {"19.3P", 63, 77, "Seu Número"_cp, "preenchido em 63-73, em branco em 74-77"},
    {"20.3P", 78, 85, "Data de vencimento", kDate},
    {"21.3P", 86, 100, "Valor do título"_cp, kNumeric},
    {"22.3P", 101, 105, "Agência cobradora"_cp, "00000"},
    {"23.3P", 106, 106, "DV da agência cobradora"_cp, "0"},
    {"24.3P", 107, 108, "Espécie do título"_cp, kNumeric},
    {"25.3P", 109, 109, "Aceite", "A ou N"},
    {"26.3P", 110, 117, "Data de emissão"_cp, "data ddmmaaaa válida, anterior ao vencimento"_cp},
    {"27.3P", 118, 118, "Código de juros"_cp, "1, 2 ou 3"},
    {"28.3P", 119, 126, "Data de juros",
     "data válida, não anterior ao vencimento (códigos 1 e 2); 00000000 se isento"_cp},
    {"29.3P", 127, 141, "Juros", "numérico; valor nos códigos 1 e 2, zeros se isento"_cp},
    {"30.3P", 142, 142, "Código de desconto"_cp, "0, 1 ou 2"},
    {"31.3P", 143, 150, "Data do desconto", "data válida até o vencimento; 00000000 sem desconto"_cp},
    {"32.3P", 151, 165, "Valor ou percentual do desconto",
     "numérico; abaixo do valor do título (1) ou de 100% (2); zeros sem desconto"_cp},
    {"33.3P", 166, 180, "Valor do IOF", kNumeric},
    {"34.3P", 181, 195, "Valor do abatimento", kNumeric},
    {"35.3P", 196, 220, "Identificação do título na empresa"_cp, "igual ao Seu Número (63-77) em 196-210"_cp},
    {"36.3P", 221, 221, "Código de protesto"_cp, "1, 3 ou 9"},
    {"37.3P", 222, 223, "Prazo para protesto", kNumeric},
    {"38.3P", 224, 224, "Código de baixa/devolução"_cp, "1 ou 2"},
    {"39.3P", 225, 227, "Prazo para baixa/devolução"_cp, kNumeric},
    {"40.3P", 228, 229, "Código da moeda"_cp, "09"},
    {"41.3P", 230, 239, "Uso exclusivo", "zeros"},
    {"42.3P", 240, 240, "Opção de pagamento"_cp, "em branco; 1 ou 2 nas espécies 31 e 32 (versão 101)"_cp},
};

// ---- Segment Q: the payer ("sacado") and the guarantor ("avalista").

constexpr FieldSpec kQFields[] = {
    {"01.3Q", 1, 3, "Código do banco"_cp, "104"},
    {"02.3Q", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3Q", 8, 8, "Tipo de registro", "3"},
    {"04.3Q", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3Q", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3Q", 15, 15, "Uso exclusivo", kBlank},
    {"07.3Q", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3Q", 18, 18, "Tipo de inscrição do sacado"_cp, "1 (CPF) ou 2 (CNPJ)"},
    {"09.3Q", 19, 33, "Número de inscrição do sacado"_cp,
     "CPF válido em 23-33 se 08.3Q é 1, CNPJ válido se 2; não zeros"_cp},
    {"10.3Q", 34, 73, "Nome do sacado", kAtLeast3},
    {"11.3Q", 74, 113, "Endereço"_cp, kAtLeast3},
    {"12.3Q", 114, 128, "Bairro", kAtLeast3},
    {"13.3Q", 129, 133, "CEP", "numérico; 8 posições com o sufixo"_cp},
    {"14.3Q", 134, 136, "Sufixo do CEP", kNumeric},
    {"15.3Q", 137, 151, "Cidade", kAtLeast3},
    {"16.3Q", 152, 153, "UF", "2 caracteres"},
    {"17.3Q", 154, 154, "Tipo de inscrição do avalista"_cp, "0 (sem avalista), 1 (CPF) ou 2 (CNPJ)"},
    {"18.3Q", 155, 169, "Número de inscrição do avalista"_cp,
     "numérico; zeros, ou CPF válido em 159-169 (17.3Q 1) ou CNPJ válido em 156-169 (17.3Q 2)"_cp},
    {"19.3Q", 170, 209, "Nome do avalista", "ao menos 3 caracteres quando há avalista"_cp},
    {"20.3Q", 210, 212, "Reservado", "000 ou em branco"},
    {"21.3Q", 213, 232, "Reservado", kBlank},
    {"22.3Q", 233, 240, "Reservado", kBlank},
};

// ---- Segment R: the second and third discounts and the fine ("multa").

constexpr std::string_view kDiscountCode = "0, 1 ou 2";
constexpr std::string_view kDiscountDate = "data quando há desconto; zeros sem desconto"_cp;
constexpr std::string_view kDiscountAmount = "valor quando há desconto; zeros sem desconto"_cp;

constexpr FieldSpec kRFields[] = {
    {"01.3R", 1, 3, "Código do banco"_cp, "104"},
    {"02.3R", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3R", 8, 8, "Tipo de registro", "3"},
    {"04.3R", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3R", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3R", 15, 15, "Uso exclusivo", kBlank},
    {"07.3R", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3R", 18, 18, "Código do 2º desconto"_cp, kDiscountCode},
    {"09.3R", 19, 26, "Data do 2º desconto"_cp, kDiscountDate},
    {"10.3R", 27, 41, "Valor do 2º desconto"_cp, kDiscountAmount},
    {"11.3R", 42, 42, "Código do 3º desconto"_cp, kDiscountCode},
    {"12.3R", 43, 50, "Data do 3º desconto"_cp, kDiscountDate},
    {"13.3R", 51, 65, "Valor do 3º desconto"_cp, kDiscountAmount},
    {"14.3R", 66, 66, "Código da multa"_cp, "0, 1 ou 2"},
    {"15.3R", 67, 74, "Data da multa", "data ddmmaaaa válida, posterior ao vencimento; 00000000 com código 0"_cp},
    {"16.3R", 75, 89, "Valor da multa", kNumeric},
    {"17.3R", 90, 99, "Reservado", kBlank},
    {"18.3R", 100, 139, "Mensagem 3"},
    {"19.3R", 140, 179, "Mensagem 4"},
    {"20.3R", 180, 229, "Uso exclusivo (e-mail do sacado na versão 050)"_cp},
    {"21.3R", 230, 240, "Reservado", "em branco em 230-239"},
};

// ---- Segment S: printing messages, laid out by the kind of printing
// (position 18).

constexpr FieldSpec kSLinesFields[] = {
    {"01.3S", 1, 3, "Código do banco"_cp, "104"},
    {"02.3S", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3S", 8, 8, "Tipo de registro", "3"},
    {"04.3S", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3S", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3S", 15, 15, "Uso exclusivo", kBlank},
    {"07.3S", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3S", 18, 18, "Tipo de impressão"_cp, "3 (1 e 2 com aviso)"},
    {"09.3S", 19, 20, "Linha a imprimir", "00"},
    {"10.3S", 21, 160, "Mensagem", "preenchida"},
    {"11.3S", 161, 162, "Tipo de caractere", "00"},
    {"12.3S", 163, 240, "Uso exclusivo", kBlank},
};

constexpr FieldSpec kSMessagesFields[] = {
    {"01.3S", 1, 3, "Código do banco"_cp, "104"},
    {"02.3S", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3S", 8, 8, "Tipo de registro", "3"},
    {"04.3S", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3S", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3S", 15, 15, "Uso exclusivo", kBlank},
    {"07.3S", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3S", 18, 18, "Tipo de impressão"_cp, "3"},
    {"09.3S", 19, 178, "Mensagens (campos 09.3S a 12.3S)", "ao menos uma preenchida"},
    {"13.3S", 179, 240, "Reservado (campos 13.3S e 14.3S)", kBlank},
};

// A kind of printing other than 1, 2 or 3 lays nothing out: the validator
// reports 08.3S alone and reads no field after it.
constexpr FieldSpec kSOtherFields[] = {
    {"01.3S", 1, 3, "Código do banco"_cp, "104"},
    {"02.3S", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3S", 8, 8, "Tipo de registro", "3"},
    {"04.3S", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3S", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3S", 15, 15, "Uso exclusivo", kBlank},
    {"07.3S", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3S", 18, 18, "Tipo de impressão"_cp, "1, 2 ou 3"},
    {"09.3S", 19, 240, "Campos 09.3S a 14.3S, dispostos conforme o tipo de impressão"_cp,
     "não verificados sem tipo de impressão 1, 2 ou 3"_cp},
};

// ---- Segment Y53: payment options.

constexpr FieldSpec kY53Fields[] = {
    {"01.3Y", 1, 3, "Código do banco"_cp, "104"},
    {"02.3Y", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3Y", 8, 8, "Tipo de registro", "3"},
    {"04.3Y", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3Y", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3Y", 15, 15, "Uso exclusivo", kBlank},
    {"07.3Y", 16, 17, "Código de movimento"_cp, "01, 02, 04 a 18, 31, 33, 34, 36 a 38, 40, 47 ou 48"},
    {"08.3Y", 18, 19, "Identificação do registro opcional"_cp, "53"},
    {"09.3Y", 20, 21, "Tipo de pagamento", "02 ou 04"},
    {"10.3Y", 22, 23, "Quantidade de pagamentos", "00 com a opção 1 em 42.3P; numérico e não 00 com a opção 2"_cp},
    {"11.3Y", 24, 24, "Tipo do valor máximo"_cp, "1 ou 2"},
    {"12.3Y", 25, 39, "Valor máximo (campo 12.3Y em percentual, 13.3Y em valor)"_cp, kNumeric},
    {"14.3Y", 40, 40, "Tipo do valor mínimo"_cp, "1 ou 2"},
    {"15.3Y", 41, 55, "Valor mínimo (campo 15.3Y em percentual, 16.3Y em valor)"_cp, kNumeric},
    {"17.3Y", 56, 240, "Uso exclusivo", kBlank},
};

// ---- Detail records the validator does not check beyond the frame: a Y
// other than Y53, and segments of no known code (numbered "NN.3").

constexpr FieldSpec kYOtherFields[] = {
    {"01.3Y", 1, 3, "Código do banco"_cp, "104"},
    {"02.3Y", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3Y", 8, 8, "Tipo de registro", "3"},
    {"04.3Y", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3Y", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3Y", 15, 15, "Uso exclusivo", kBlank},
    {"07.3Y", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3Y", 18, 19, "Identificação do registro opcional"_cp, "53"},
    {"09.3Y", 20, 240, "Dados do registro opcional (não validados)"_cp},
};

constexpr FieldSpec kOtherDetailFields[] = {
    {"01.3", 1, 3, "Código do banco"_cp, "104"},
    {"02.3", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.3", 8, 8, "Tipo de registro", "3"},
    {"04.3", 9, 13, "Número sequencial no lote"_cp, kSequence},
    {"05.3", 14, 14, "Código do segmento"_cp, kSegment},
    {"06.3", 15, 15, "Uso exclusivo", kBlank},
    {"07.3", 16, 17, "Código de movimento"_cp, kMovement},
    {"08.3", 18, 240, "Dados do segmento (não validados)"_cp},
};

// ---- Lote trailer (record type "5") and file trailer (record type "9").

constexpr FieldSpec kLoteTrailerFields[] = {
    {"01.5", 1, 3, "Código do banco"_cp, "104"},
    {"02.5", 4, 7, "Lote de serviço"_cp, kLote},
    {"03.5", 8, 8, "Tipo de registro", "5"},
    {"04.5", 9, 17, "Uso exclusivo FEBRABAN/CNAB"},
    {"05.5", 18, 23, "Quantidade de registros do lote",
     "numérico, igual aos registros do lote com header e trailer; P e Q em mesmo número"_cp},
    {"06.5", 24, 92, "Totais da cobrança (campos 06.5 a 11.5)"_cp, kNumeric},
    {"12.5", 93, 240, "Reservado (campos 12.5 e 13.5)", kBlank},
};

constexpr FieldSpec kFileTrailerFields[] = {
    {"01.9", 1, 3, "Código do banco"_cp, "104"},
    {"02.9", 4, 7, "Lote de serviço"_cp, "9999"},
    {"03.9", 8, 8, "Tipo de registro", "9"},
    {"04.9", 9, 17, "Uso exclusivo", kBlank},
    {"05.9", 18, 23, "Quantidade de lotes", kNumeric},
    {"06.9", 24, 29, "Quantidade de registros do arquivo", "numérico, igual aos registros do arquivo"_cp},
    {"07.9", 30, 35, "Uso exclusivo FEBRABAN/CNAB"},
    {"08.9", 36, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr RecordKind kFileHeader{"Header de arquivo", kFileHeaderFields};
constexpr RecordKind kLoteHeader{"Header de lote", kLoteHeaderFields};
constexpr RecordKind kP{"Segmento P", kPFields};
constexpr RecordKind kQ{"Segmento Q", kQFields};
constexpr RecordKind kR{"Segmento R", kRFields};
constexpr RecordKind kSLines{"Segmento S (impressão 1 ou 2)"_cp, kSLinesFields};
constexpr RecordKind kSMessages{"Segmento S (impressão 3)"_cp, kSMessagesFields};
constexpr RecordKind kSOther{"Segmento S (tipo de impressão inválido)"_cp, kSOtherFields};
constexpr RecordKind kY53{"Segmento Y53", kY53Fields};
constexpr RecordKind kYOther{"Segmento Y (não validado)"_cp, kYOtherFields};
constexpr RecordKind kOtherDetail{"Detalhe de segmento desconhecido", kOtherDetailFields};
constexpr RecordKind kLoteTrailer{"Trailer de lote", kLoteTrailerFields};
constexpr RecordKind kFileTrailer{"Trailer de arquivo", kFileTrailerFields};

constexpr const RecordKind* kKinds[] = {&kFileHeader,  &kLoteHeader,  &kP,          &kQ,   &kR,
                                        &kSLines,      &kSMessages,   &kSOther,     &kY53, &kYOther,
                                        &kOtherDetail, &kLoteTrailer, &kFileTrailer};

// The record type at position 8 and, for a detail, the segment at 14 (a Y
// is checked only as Y53, at 18-19; an S is laid out by its kind of printing
// at 18). A record of another type has no kind.
const RecordKind* KindOf(std::string_view rec) {
  const auto at = [&](std::size_t pos) { return pos <= rec.size() ? rec[pos - 1] : '\0'; };
  switch (at(8)) {
    case '0':
      return &kFileHeader;
    case '1':
      return &kLoteHeader;
    case '5':
      return &kLoteTrailer;
    case '9':
      return &kFileTrailer;
    case '3':
      break;
    default:
      return nullptr;
  }
  switch (at(14)) {
    case 'P':
      return &kP;
    case 'Q':
      return &kQ;
    case 'R':
      return &kR;
    case 'S':
      return at(18) == '3' ? &kSMessages : at(18) == '1' || at(18) == '2' ? &kSLines : &kSOther;
    case 'Y':
      return Field(rec, 18, 19) == "53" ? &kY53 : &kYOther;
    default:
      return &kOtherDetail;
  }
}

}  // namespace

const LayoutFields kSigcb240Fields{"sigcb240", kKinds, KindOf};

}  // namespace verilote
