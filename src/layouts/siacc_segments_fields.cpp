// The SIACC 240 detail segments A, B, J, J-52, K, O and N in the field
// dictionary (app/fields.hpp). Segment A keeps the bank's numbering of its
// messages (A.08 document type, A.25 blocking flag, A.26 instalment form):
// positions 80-93 are one field there, blank in layout 050 and 80-92 blank
// with the account kind at 93 in layout 080.
#include <array>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"
#include "layouts/siacc_fields.hpp"

namespace verilote::siacc {

namespace {

// Field A.13: the account digit at 42 of a CAIXA account, in its SIDEC form
// (Mod11DvFrom8 of agency 25-28, operation 31-33 and account 34-41) or its
// NSGD form (Mod11DvText of 30-41).
std::string CaixaAccountDv(std::string_view rec) {
  if (Field(rec, 21, 23) != "104") return std::string("conferido só para o banco 104"_cp);
  const std::optional<char> sidec = AccountDvDigit(Field(rec, 25, 28), Field(rec, 31, 33), Field(rec, 34, 41));
  const std::string_view nsgd = Field(rec, 30, 41);
  if (!sidec || nsgd.size() != 12 || !IsAllDigits(nsgd)) return std::string("dígito de agência e conta numéricas"_cp);
  return Cat("dígito "_cp, *sidec, " (SIDEC) ou "_cp, Mod11DvText(nsgd), " (NSGD)");
}

// Field J.10: the barcode's general digit, over 18-21 and 23-61.
std::string BarcodeDv(std::string_view rec) {
  const std::string base = Cat(Field(rec, 18, 21), Field(rec, 23, 61));
  if (base.size() != 43 || !IsAllDigits(base)) return std::string("dígito de código de barras numérico"_cp);
  return Cat("dígito "_cp, Mod11BarcodeDv(base));
}

// A digit of a CAIXA boleto's free field: Mod11DvLowSum of From-To.
template <std::size_t From, std::size_t To>
std::string FreeFieldDv(std::string_view rec) {
  if (Field(rec, 18, 20) != "104") return std::string("conferido só em boleto CAIXA"_cp);
  const std::string_view base = Field(rec, From, To);
  if (base.size() != To - From + 1 || !IsAllDigits(base)) return std::string("dígito de campo numérico"_cp);
  return Cat("dígito "_cp, Mod11DvLowSum(base));
}

// Field J.11: the due-date factor of the due date at 92-99.
std::string DueFactor(std::string_view rec) {
  const std::string_view due = Field(rec, 92, 99);
  if (due.size() != 8 || !IsAllDigits(due) || !IsValidDate(due)) return "fator da data de vencimento (92-99)";
  return Cat("fator ", DateToFactor(Cat(Field(rec, 92, 93), '/', Field(rec, 94, 95), '/', Field(rec, 96, 99))));
}

constexpr FieldSpec kSegmentA[] = {
    {"A.01", 1, 3, "Código do banco"_cp, "104"},
    {"A.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"A.03", 8, 8, "Tipo de registro", "3"},
    {"A.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"A.05", 14, 14, "Código do segmento"_cp, "A, B, J, K, O ou N"},
    {"A.06", 15, 15, "Tipo de movimento", "0 ou 9"},
    {"A.07", 16, 17, "Código da instrução de movimento"_cp, "00"},
    {"A.08", 18, 20, "Tipo de documento", "018, 700, 000 ou 888 (000 em pagamento de salário)"_cp},
    {"A.09", 21, 23, "Banco de destino", "numérico, banco e agência não zerados"_cp},
    {"A.10", 24, 28, "Agência de destino"_cp, "numérica; no banco 104, de 0001 a 4999 em 25-28"_cp},
    {"A.11", 29, 29, "Dígito da agência"_cp, "numérico"_cp},
    {"A.12", 30, 41, "Conta de destino", "numérica, não zerada (exceto OP, documento 700)"_cp},
    {"A.13", 42, 42, "Dígito da conta"_cp, {}, CaixaAccountDv},
    {"A.14", 43, 43, "Dígito da agência/conta"_cp},
    {"A.15", 44, 73, "Nome do favorecido", "preenchido, sem caracteres especiais"},
    {"A.16", 74, 79, "Número do documento"_cp, "numérico"_cp},
    {"A.17", 80, 93, "Filler / tipo de conta", "em branco; na versão 080, 80-92 em branco e 93 0, 1 ou 2"_cp},
    {"A.18", 94, 101, "Data de vencimento", "data ddmmaaaa válida, não zerada"_cp},
    {"A.19", 102, 104, "Tipo da moeda", "BRL, USD, UFR ou TRD"},
    {"A.20", 105, 119, "Quantidade de moeda", "numérico"_cp},
    {"A.21", 120, 134, "Valor do lançamento"_cp, "numérico"_cp},
    {"A.22", 135, 143, "Número do documento no banco"_cp, "numérico"_cp},
    {"A.23", 144, 146, "Reservado", "em branco"},
    {"A.24", 147, 148, "Quantidade de parcelas", "numérico, diferente de 00"_cp},
    {"A.25", 149, 149, "Indicador de bloqueio", "S ou N"},
    {"A.26", 150, 150, "Forma de parcelamento", "1, 2 ou 3 (1 quando parcelas 01)"},
    {"A.27", 151, 152, "Dia do vencimento das parcelas", "01 a 31 quando parcelas não é 01"_cp},
    {"A.28", 153, 154, "Número da parcela"_cp, "numérico"_cp},
    {"A.29", 155, 162, "Data da efetivação"_cp, "00000000"},
    {"A.30", 163, 177, "Valor real da efetivação"_cp, "numérico"_cp},
    {"A.31", 178, 217, "Reservado", "em branco"},
    {"A.32", 218, 219, "Finalidade do DOC", "numérico; 00 a 11 no documento 700"_cp},
    {"A.33", 220, 229, "Reservado", "em branco"},
    {"A.34", 230, 230, "Aviso ao favorecido", "0, 2, 5, 6 ou 7"},
    {"A.35", 231, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kSegmentB[] = {
    {"B.01", 1, 3, "Código do banco"_cp, "104"},
    {"B.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"B.03", 8, 8, "Tipo de registro", "3"},
    {"B.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"B.05", 14, 14, "Código do segmento"_cp, "B"},
    {"B.06", 15, 17, "Reservado", "em branco"},
    {"B.07", 18, 18, "Tipo de inscrição do favorecido"_cp, "1 ou 2"},
    {"B.08", 19, 32, "CPF ou CNPJ do favorecido", "CPF válido em 22-32 (tipo 1) ou CNPJ válido (tipo 2)"_cp},
    {"B.09", 33, 62, "Logradouro", "preenchido, sem caracteres especiais"},
    {"B.10", 63, 67, "Número no endereço"_cp, "numérico"_cp},
    {"B.10A", 68, 82, "Complemento"},
    {"B.11", 83, 97, "Bairro", "preenchido"},
    {"B.12", 98, 117, "Cidade", "preenchido"},
    {"B.13", 118, 125, "CEP", "numérico"_cp},
    {"B.14", 126, 127, "Estado (UF)", "preenchido"},
    {"B.15", 128, 135, "Data de vencimento", "data ddmmaaaa válida"_cp},
    {"B.16", 136, 210, "Valores", "numérico (zeros)"_cp},
    {"B.16A", 211, 225, "Código do documento do favorecido"_cp},
    {"B.17", 226, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kSegmentJ[] = {
    {"J.01", 1, 3, "Código do banco"_cp, "104"},
    {"J.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"J.03", 8, 8, "Tipo de registro", "3"},
    {"J.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"J.05", 14, 14, "Código do segmento"_cp, "J"},
    {"J.06", 15, 15, "Tipo de movimento", "0 ou 9"},
    {"J.07", 16, 17, "Código de movimento"_cp, "00, 09, 10, 11, 23 ou 99"},
    {"J.08", 18, 20, "Código de barras: banco"_cp, "104 (forma 30) ou outro banco (forma 31)"},
    {"J.09", 21, 21, "Código de barras: moeda"_cp, "2 ou 9"},
    {"J.10", 22, 22, "Código de barras: dígito geral"_cp, {}, BarcodeDv},
    {"J.11", 23, 26, "Código de barras: fator de vencimento"_cp, {}, DueFactor},
    {"J.12", 27, 36, "Código de barras: valor"_cp, "igual ao valor do título (100-114)"_cp},
    {"J.13", 37, 42, "Campo livre: código do cedente"_cp, "numérico"_cp},
    {"J.14", 43, 43, "Campo livre: dígito do cedente"_cp, {}, FreeFieldDv<37, 42>},
    {"J.15", 44, 46, "Campo livre: nosso número, 1ª parte"_cp, "numérico"_cp},
    {"J.16", 47, 47, "Campo livre: tipo de cobrança"_cp, "1 ou 2 em boleto CAIXA"_cp},
    {"J.17", 48, 60, "Campo livre: nosso número, restante"_cp, "numérico"_cp},
    {"J.18", 61, 61, "Campo livre: dígito"_cp, {}, FreeFieldDv<37, 60>},
    {"J.19", 62, 91, "Nome do cedente", "preenchido"},
    {"J.20", 92, 99, "Data de vencimento", "data ddmmaaaa válida"_cp},
    {"J.21", 100, 114, "Valor do título"_cp, "numérico"_cp},
    {"J.22", 115, 129, "Valor do desconto", "numérico"_cp},
    {"J.23", 130, 144, "Valor da multa", "numérico"_cp},
    {"J.24", 145, 152, "Data de pagamento", "data ddmmaaaa válida"_cp},
    {"J.25", 153, 167, "Valor do pagamento", "numérico"_cp},
    {"J.26", 168, 182, "Quantidade de moeda", "numérico"_cp},
    {"J.26A", 183, 188, "Número do documento atribuído pela empresa"_cp},
    {"J.27", 189, 202, "Reservado (a CAIXA aceita preenchido)", "em branco"},
    {"J.28", 203, 211, "Número do documento"_cp, "numérico"_cp},
    {"J.29", 212, 222, "Reservado", "em branco"},
    {"J.30", 223, 224, "Código da moeda"_cp, "02, 03, 04 ou 09"},
    {"J.31", 225, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kSegmentJ52[] = {
    {"J52.01", 1, 3, "Código do banco"_cp, "104"},
    {"J52.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"J52.03", 8, 8, "Tipo de registro", "3"},
    {"J52.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"J52.05", 14, 14, "Código do segmento"_cp, "J"},
    {"J52.06", 15, 16, "Reservado", "em branco"},
    {"J52.06A", 17, 17, "Código de movimento: fim (não examinado)"_cp},
    {"J52.07", 18, 19, "Identificação do registro opcional"_cp, "52"},
    {"J52.08", 20, 20, "Tipo de inscrição do pagador"_cp, "numérico"_cp},
    {"J52.09", 21, 35, "CPF ou CNPJ do pagador", "CPF válido em 25-35 (tipo 1) ou CNPJ válido em 22-35 (tipo 2)"_cp},
    {"J52.10", 36, 75, "Nome do pagador", "preenchido"},
    {"J52.11", 76, 76, "Tipo de inscrição do beneficiário"_cp, "1 ou 2"},
    {"J52.12", 77, 91, "CPF ou CNPJ do beneficiário"_cp,
     "CPF válido em 81-91 (tipo 1) ou CNPJ válido em 78-91 (tipo 2)"_cp},
    {"J52.13", 92, 131, "Nome do beneficiário"_cp, "preenchido"},
    {"J52.14", 132, 132, "Tipo de inscrição do sacador/avalista"_cp, "1 ou 2"},
    {"J52.15", 133, 147, "CPF ou CNPJ do sacador/avalista",
     "CPF válido em 137-147 (tipo 1) ou CNPJ válido em 134-147 (tipo 2)"_cp},
    {"J52.16", 148, 187, "Nome do sacador/avalista", "preenchido"},
    {"J52.17", 188, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kSegmentK[] = {
    {"K.01", 1, 3, "Código do banco"_cp, "104"},
    {"K.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"K.03", 8, 8, "Tipo de registro", "3"},
    {"K.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"K.05", 14, 14, "Código do segmento"_cp, "K"},
    {"K.06", 15, 15, "Tipo de movimento", "0 ou 9"},
    {"K.07", 16, 17, "Código da instrução de movimento"_cp},
    {"K.08", 18, 18, "Código de barras: produto"_cp, "numérico"_cp},
    {"K.09", 19, 19, "Código de barras: segmento da empresa"_cp, "1 a 7 ou 9"},
    {"K.10", 20, 20, "Código de barras: identificador de valor"_cp, "6 ou 7 (8 ou 9 com dígitos módulo 11)"_cp},
    {"K.11", 21, 56, "Código de barras: restante"_cp, "numérico"_cp},
    {"K.12", 57, 73, "Reservado", "em branco"},
    {"K.12A", 74, 79, "Número do documento na empresa"_cp},
    {"K.13", 80, 93, "Reservado", "em branco"},
    {"K.14", 94, 101, "Data de lançamento"_cp, "data ddmmaaaa válida"_cp},
    {"K.15", 102, 104, "Tipo da moeda", "BRL, USD, UFR ou TRD"},
    {"K.16", 105, 119, "Quantidade de moeda", "numérico"_cp},
    {"K.17", 120, 134, "Valor do lançamento"_cp, "numérico"_cp},
    {"K.18", 135, 143, "Número do documento no banco"_cp, "numérico"_cp},
    {"K.19", 144, 154, "Reservado", "em branco"},
    {"K.20", 155, 162, "Data da efetivação"_cp, "00000000"},
    {"K.21", 163, 177, "Valor da efetivação"_cp, "numérico"_cp},
    {"K.21A", 178, 217, "Outras informações"_cp},
    {"K.22", 218, 229, "Reservado", "em branco"},
    {"K.23", 230, 230, "Aviso ao favorecido", "0, 2, 5, 6 ou 7"},
    {"K.24", 231, 240, "Reservado", "em branco"},
};

constexpr FieldSpec kSegmentO[] = {
    {"O.01", 1, 3, "Código do banco"_cp, "104"},
    {"O.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"O.03", 8, 8, "Tipo de registro", "3"},
    {"O.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"O.05", 14, 14, "Código do segmento"_cp, "O"},
    {"O.06", 15, 15, "Tipo de movimento", "0 ou 9"},
    {"O.07", 16, 17, "Código de movimento"_cp, "00"},
    {"O.08", 18, 61, "Código de barras"_cp, "numérico"_cp},
    {"O.09", 62, 91, "Nome da concessionária"_cp, "preenchido"},
    {"O.10", 92, 99, "Data de vencimento", "data ddmmaaaa válida"_cp},
    {"O.11", 100, 107, "Data de pagamento", "data ddmmaaaa válida"_cp},
    {"O.12", 108, 122, "Valor do pagamento", "numérico"_cp},
    {"O.13", 123, 142, "Número do documento da empresa"_cp, "preenchido"},
    {"O.14", 143, 162, "Nosso número"_cp, "em branco"},
    {"O.14A", 163, 230, "Uso FEBRABAN (não examinado)"_cp},
    {"O.15", 231, 240, "Reservado", "em branco"},
};

// Segment N up to its tax identification, common to GPS and DARF.
constexpr FieldSpec kNHead[] = {
    {"N.01", 1, 3, "Código do banco"_cp, "104"},
    {"N.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"N.03", 8, 8, "Tipo de registro", "3"},
    {"N.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"N.05", 14, 14, "Código do segmento"_cp, "N"},
    {"N.06", 15, 15, "Tipo de movimento", "0 ou 9"},
    {"N.07", 16, 17, "Código de movimento"_cp, "00"},
    {"N.08", 18, 37, "Número do documento da empresa"_cp, "preenchido"},
    {"N.09", 38, 57, "Nosso número"_cp, "em branco"},
    {"N.10", 58, 87, "Nome do contribuinte", "preenchido"},
    {"N.11", 88, 95, "Data de pagamento", "data ddmmaaaa válida"_cp},
    {"N.12", 96, 110, "Valor do pagamento", "numérico"_cp},
    {"N.13", 111, 116, "Código da receita"_cp, "alinhado à direita; não 6106 (DARF)"_cp},
    {"N.14", 117, 118, "Tipo de identificação do contribuinte"_cp, "01 a 09, exceto 05"},
    {"N.15", 119, 132, "Identificação do contribuinte"_cp,
     "CNPJ válido (tipo 01) ou CPF válido em 122-132 (tipo 02)"_cp},
    {"N.16", 133, 134, "Identificação do tributo"_cp, "16 (DARF) ou 17 (GPS)"},
};

// Segment N: its common fields, then those of its tax.
template <std::size_t N>
constexpr std::array<FieldSpec, std::size(kNHead) + N> SegmentN(const std::array<FieldSpec, N>& tax) {
  std::array<FieldSpec, std::size(kNHead) + N> fields{};
  for (std::size_t i = 0; i < std::size(kNHead); ++i) fields[i] = kNHead[i];
  for (std::size_t i = 0; i < N; ++i) fields[std::size(kNHead) + i] = tax[i];
  return fields;
}

constexpr auto kSegmentNGps = SegmentN(std::array<FieldSpec, 7>{{
    {"N.17", 135, 136, "Mês da competência"_cp, "mês 01 a 12"_cp},
    {"N.18", 137, 140, "Ano da competência"_cp, "ano de 2018 a 2030, ou até o próximo ano"_cp},
    {"N.19", 141, 155, "Valor previsto do pagamento do INSS", "numérico"_cp},
    {"N.20", 156, 170, "Valor de outras entidades", "numérico"_cp},
    {"N.21", 171, 185, "Atualização monetária"_cp, "numérico"_cp},
    {"N.21A", 186, 230, "Uso FEBRABAN (não examinado)"_cp},
    {"N.22", 231, 240, "Reservado", "em branco"},
}});

constexpr auto kSegmentNDarf = SegmentN(std::array<FieldSpec, 8>{{
    {"N.17", 135, 142, "Período de apuração"_cp, "data ddmmaaaa válida"_cp},
    {"N.18", 143, 159, "Número de referência"_cp, "numérico"_cp},
    {"N.19", 160, 174, "Valor principal", "numérico"_cp},
    {"N.20", 175, 189, "Valor da multa", "numérico"_cp},
    {"N.21", 190, 204, "Valor dos juros", "numérico"_cp},
    {"N.22", 205, 212, "Período de apuração (205-212)"_cp, "data ddmmaaaa válida"_cp},
    {"N.22A", 213, 230, "Uso FEBRABAN (não examinado)"_cp},
    {"N.23", 231, 240, "Reservado", "em branco"},
}});

// A detail whose segment code the layout does not have: only its frame.
constexpr FieldSpec kOtherSegment[] = {
    {"3.01", 1, 3, "Código do banco"_cp, "104"},
    {"3.02", 4, 7, "Lote de serviço"_cp, "igual à contagem dos headers de lote"_cp},
    {"3.03", 8, 8, "Tipo de registro", "3"},
    {"3.04", 9, 13, "Sequencial do registro no lote", "igual à contagem dos detalhes do lote"_cp},
    {"3.05", 14, 14, "Código do segmento"_cp, "A, B, J, K, O ou N"},
    {"3.06", 15, 240, "Dados do segmento (não validados)"_cp},
};

}  // namespace

constexpr RecordKind kSegmentAKind{"Segmento A", kSegmentA};
constexpr RecordKind kSegmentBKind{"Segmento B", kSegmentB};
constexpr RecordKind kSegmentJKind{"Segmento J", kSegmentJ};
constexpr RecordKind kSegmentJ52Kind{"Segmento J-52", kSegmentJ52};
constexpr RecordKind kSegmentKKind{"Segmento K", kSegmentK};
constexpr RecordKind kSegmentOKind{"Segmento O", kSegmentO};
constexpr RecordKind kSegmentNGpsKind{"Segmento N (GPS)", kSegmentNGps};
constexpr RecordKind kSegmentNDarfKind{"Segmento N (DARF)", kSegmentNDarf};
constexpr RecordKind kOtherSegmentKind{"Detalhe de segmento desconhecido", kOtherSegment};

const RecordKind* DetailKindOf(std::string_view rec) {
  switch (rec.size() < 14 ? ' ' : rec[13]) {
    case 'A':
      return &kSegmentAKind;
    case 'B':
      return &kSegmentBKind;
    case 'J':
      return Field(rec, 18, 19) == "52" ? &kSegmentJ52Kind : &kSegmentJKind;
    case 'K':
      return &kSegmentKKind;
    case 'O':
      return &kSegmentOKind;
    case 'N':
      return Field(rec, 133, 134) == "17" ? &kSegmentNGpsKind : &kSegmentNDarfKind;
    default:
      return &kOtherSegmentKind;
  }
}

}  // namespace verilote::siacc
