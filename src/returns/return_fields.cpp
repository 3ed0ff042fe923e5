// The field dictionaries of the returns, in the numbering of the bank's
// manuals (".0" file header, ".1" lote header, ".3T" segment T, ".5" and
// ".9" trailers; the CNAB 400 ".0", ".1", ".9"), so that `show` and the
// window's inspector lay a return record out as they do a remittance's.
// A return is read, not judged: `expected` stays empty.
#include "app/cp1252.hpp"
#include "returns/return_file.hpp"

namespace verilote::returns {

namespace {

constexpr FieldSpec kFileHeader240[] = {
    {"01.0", 1, 3, "Código do banco"_cp},
    {"02.0", 4, 7, "Lote de serviço"_cp},
    {"03.0", 8, 8, "Tipo de registro"},
    {"04.0", 9, 17, "Uso exclusivo FEBRABAN/CNAB"},
    {"05.0", 18, 18, "Tipo de inscrição da empresa"_cp},
    {"06.0", 19, 32, "CPF/CNPJ da empresa"},
    {"07.0", 33, 52, "Uso exclusivo CAIXA"},
    {"08.0", 53, 57, "Agência mantenedora da conta"_cp},
    {"09.0", 58, 58, "Dígito verificador da agência"_cp},
    {"10.0", 59, 64, "Código do beneficiário"_cp},
    {"11.0", 65, 72, "Uso exclusivo CAIXA"},
    {"12.0", 73, 102, "Nome da empresa"},
    {"13.0", 103, 132, "Nome do banco"},
    {"14.0", 133, 142, "Uso exclusivo FEBRABAN/CNAB"},
    {"15.0", 143, 143, "Código remessa/retorno"_cp},
    {"16.0", 144, 151, "Data de geração do arquivo"_cp},
    {"17.0", 152, 157, "Hora de geração do arquivo"_cp},
    {"18.0", 158, 163, "Número sequencial do arquivo (NSA)"_cp},
    {"19.0", 164, 166, "Versão do leiaute do arquivo"_cp},
    {"20.0", 167, 171, "Densidade de gravação"_cp},
    {"21.0", 172, 191, "Uso reservado do banco (situação da remessa)"_cp},
    {"22.0", 192, 211, "Situação do arquivo"_cp},
    {"23.0", 212, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kLoteHeader240[] = {
    {"01.1", 1, 3, "Código do banco"_cp},
    {"02.1", 4, 7, "Lote de serviço"_cp},
    {"03.1", 8, 8, "Tipo de registro"},
    {"04.1", 9, 9, "Tipo de operação"_cp},
    {"05.1", 10, 11, "Tipo de serviço"_cp},
    {"06.1", 12, 13, "Uso exclusivo FEBRABAN/CNAB"},
    {"07.1", 14, 16, "Versão do leiaute do lote"_cp},
    {"08.1", 17, 17, "Uso exclusivo FEBRABAN/CNAB"},
    {"09.1", 18, 18, "Tipo de inscrição da empresa"_cp},
    {"10.1", 19, 33, "CPF/CNPJ da empresa"},
    {"11.1", 34, 53, "Uso exclusivo CAIXA"},
    {"12.1", 54, 58, "Agência mantenedora da conta"_cp},
    {"13.1", 59, 59, "Dígito verificador da agência"_cp},
    {"14.1", 60, 65, "Código do beneficiário"_cp},
    {"15.1", 66, 72, "Código do modelo personalizado"_cp},
    {"16.1", 73, 73, "Uso exclusivo CAIXA"},
    {"17.1", 74, 103, "Nome da empresa"},
    {"18.1", 104, 143, "Mensagem 1"},
    {"19.1", 144, 183, "Mensagem 2"},
    {"20.1", 184, 191, "Número remessa/retorno"_cp},
    {"21.1", 192, 199, "Data de gravação"_cp},
    {"22.1", 200, 207, "Data do crédito"_cp},
    {"23.1", 208, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kSegmentT[] = {
    {"01.3T", 1, 3, "Código do banco"_cp},
    {"02.3T", 4, 7, "Lote de serviço"_cp},
    {"03.3T", 8, 8, "Tipo de registro"},
    {"04.3T", 9, 13, "Número sequencial do registro no lote"_cp},
    {"05.3T", 14, 14, "Código do segmento"_cp},
    {"06.3T", 15, 15, "Uso exclusivo FEBRABAN/CNAB"},
    {"07.3T", 16, 17, "Código de movimento retorno"_cp},
    {"08.3T", 18, 22, "Uso exclusivo CAIXA (agência)"_cp},
    {"09.3T", 23, 23, "Uso exclusivo CAIXA (dígito da agência)"_cp},
    {"10.3T", 24, 29, "Código do beneficiário"_cp},
    {"11.3T", 30, 35, "Uso exclusivo CAIXA / número do banco de pagadores"_cp},
    {"12.3T", 36, 38, "Uso exclusivo CAIXA"},
    {"13.3T", 39, 57, "Modalidade e nosso número, DV"_cp},
    {"14.3T", 58, 58, "Carteira"},
    {"15.3T", 59, 69, "Número do documento (seu número)"_cp},
    {"15A.3T", 70, 73, "Uso exclusivo CAIXA"},
    {"16.3T", 74, 81, "Data de vencimento"},
    {"17.3T", 82, 96, "Valor nominal do título"_cp},
    {"18.3T", 97, 99, "Banco cobrador/recebedor"},
    {"19.3T", 100, 104, "Agência cobradora/recebedora"_cp},
    {"20.3T", 105, 105, "DV da agência cobradora/recebedora"_cp},
    {"21.3T", 106, 130, "Uso da empresa"},
    {"22.3T", 131, 132, "Código da moeda"_cp},
    {"23.3T", 133, 133, "Tipo de inscrição do pagador"_cp},
    {"24.3T", 134, 148, "Inscrição do pagador"_cp},
    {"25.3T", 149, 188, "Nome do pagador"},
    {"26.3T", 189, 198, "Uso exclusivo FEBRABAN/CNAB"},
    {"27.3T", 199, 213, "Valor da tarifa/custas"},
    {"28.3T", 214, 223, "Motivo da ocorrência"_cp},
    {"29.3T", 224, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kSegmentU[] = {
    {"01.3U", 1, 3, "Código do banco"_cp},
    {"02.3U", 4, 7, "Lote de serviço"_cp},
    {"03.3U", 8, 8, "Tipo de registro"},
    {"04.3U", 9, 13, "Número sequencial do registro no lote"_cp},
    {"05.3U", 14, 14, "Código do segmento"_cp},
    {"06.3U", 15, 15, "Uso exclusivo FEBRABAN/CNAB"},
    {"07.3U", 16, 17, "Código de movimento retorno"_cp},
    {"08.3U", 18, 32, "Juros/multa/encargos"},
    {"09.3U", 33, 47, "Valor do desconto concedido"},
    {"10.3U", 48, 62, "Valor do abatimento concedido/cancelado"},
    {"11.3U", 63, 77, "Valor do IOF recolhido"},
    {"12.3U", 78, 92, "Valor pago pelo pagador"},
    {"13.3U", 93, 107, "Valor líquido a ser creditado"_cp},
    {"14.3U", 108, 122, "Valor de outras despesas"},
    {"15.3U", 123, 137, "Valor de outros créditos"_cp},
    {"16.3U", 138, 145, "Data da ocorrência"_cp},
    {"17.3U", 146, 153, "Data do crédito"_cp},
    {"18.3U", 154, 157, "Uso exclusivo CAIXA"},
    {"19.3U", 158, 165, "Data do débito da tarifa"_cp},
    {"20.3U", 166, 180, "Código do pagador no banco"_cp},
    {"21.3U", 181, 210, "Uso exclusivo CAIXA"},
    {"22.3U", 211, 213, "Código do banco correspondente"_cp},
    {"23.3U", 214, 233, "Nosso número no banco correspondente"_cp},
    {"24.3U", 234, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kSegmentY08[] = {
    {"01.3Y", 1, 3, "Código do banco"_cp},
    {"02.3Y", 4, 7, "Lote de serviço"_cp},
    {"03.3Y", 8, 8, "Tipo de registro"},
    {"04.3Y", 9, 13, "Número sequencial do registro no lote"_cp},
    {"05.3Y", 14, 14, "Código do segmento"_cp},
    {"06.3Y", 15, 15, "Uso exclusivo FEBRABAN/CNAB"},
    {"07.3Y", 16, 17, "Código de movimento retorno"_cp},
    {"08.3Y", 18, 19, "Identificação do registro opcional (08)"_cp},
    {"09.3Y", 20, 21, "Código da solicitação"_cp},
    {"10.3Y", 22, 22, "Tipo do identificador"},
    {"11.3Y", 23, 40, "Número identificador da solicitação"_cp},
    {"12.3Y", 41, 200, "Descrição"_cp},
    {"13.3Y", 201, 204, "Quantidade"},
    {"14.3Y", 205, 207, "Código do erro"_cp},
    {"15.3Y", 208, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kSegmentW[] = {
    {"01.3W", 1, 3, "Código do banco"_cp},
    {"02.3W", 4, 7, "Lote de serviço"_cp},
    {"03.3W", 8, 8, "Tipo de registro"},
    {"04.3W", 9, 13, "Número sequencial do registro no lote"_cp},
    {"05.3W", 14, 14, "Código do segmento"_cp},
    {"06.3W", 15, 15, "Uso exclusivo FEBRABAN/CNAB"},
    {"07.3W", 16, 17, "Código de movimento retorno"_cp},
    {"08.3W", 18, 23, "Posição do registro na remessa"_cp},
    {"09.3W", 24, 24, "Uso exclusivo FEBRABAN/CNAB"},
    {"10.3W", 25, 28, "Código do campo (1º par)"_cp},
    {"11.3W", 29, 30, "Código do erro (1º par)"_cp},
    {"11A.3W", 31, 157, "Pares seguintes: campo (4), erro (2), branco (1)"},
    {"12.3W", 158, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kLoteTrailer240[] = {
    {"01.5", 1, 3, "Código do banco"_cp},
    {"02.5", 4, 7, "Lote de serviço"_cp},
    {"03.5", 8, 8, "Tipo de registro"},
    {"04.5", 9, 17, "Uso exclusivo FEBRABAN/CNAB"},
    {"05.5", 18, 23, "Quantidade de registros no lote"},
    {"06.5", 24, 29, "Quantidade de títulos em cobrança simples"_cp},
    {"07.5", 30, 46, "Valor total dos títulos em cobrança simples"_cp},
    {"08.5", 47, 52, "Quantidade de títulos em cobrança caucionada"_cp},
    {"09.5", 53, 69, "Valor total dos títulos em cobrança caucionada"_cp},
    {"10.5", 70, 75, "Quantidade de títulos em cobrança descontada"_cp},
    {"11.5", 76, 92, "Valor total dos títulos em cobrança descontada"_cp},
    {"12.5", 93, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kFileTrailer240[] = {
    {"01.9", 1, 3, "Código do banco"_cp},
    {"02.9", 4, 7, "Lote de serviço"_cp},
    {"03.9", 8, 8, "Tipo de registro"},
    {"04.9", 9, 17, "Uso exclusivo FEBRABAN/CNAB"},
    {"05.9", 18, 23, "Quantidade de lotes do arquivo"},
    {"06.9", 24, 29, "Quantidade de registros do arquivo"},
    {"07.9", 30, 240, "Uso exclusivo FEBRABAN/CNAB"},
};

constexpr FieldSpec kHeader400[] = {
    {"01.0", 1, 1, "Código do registro"_cp},
    {"02.0", 2, 2, "Código do retorno / da operação"_cp},
    {"03.0", 3, 9, "Literal do retorno / da operação"_cp},
    {"04.0", 10, 11, "Código do serviço"_cp},
    {"05.0", 12, 26, "Literal do serviço / do processamento"_cp},
    {"06.0", 27, 30, "Código da agência"_cp},
    {"07.0", 31, 37, "Código do beneficiário"_cp},
    {"08.0", 38, 46, "Uso exclusivo CAIXA"},
    {"09.0", 47, 76, "Nome da empresa"},
    {"10.0", 77, 79, "Código do banco"_cp},
    {"11.0", 80, 94, "Nome do banco"},
    {"12.0", 95, 100, "Data de geração"_cp},
    {"13.0", 101, 389, "Mensagem; versão do leiaute (retorno 159-161, pré-crítica 387-389)"_cp},
    {"14.0", 390, 394, "Número sequencial do arquivo"_cp},
    {"15.0", 395, 400, "Número sequencial do registro"_cp},
};

constexpr FieldSpec kDetail400[] = {
    {"01.1", 1, 1, "Código do registro"_cp},
    {"02.1", 2, 3, "Tipo de inscrição da empresa"_cp},
    {"03.1", 4, 17, "Número de inscrição da empresa"_cp},
    {"04.1", 18, 20, "Uso exclusivo CAIXA"},
    {"05.1", 21, 27, "Código do beneficiário"_cp},
    {"06.1", 28, 28, "ID emissão"_cp},
    {"07.1", 29, 29, "ID postagem"},
    {"08.1", 30, 31, "Uso exclusivo / código do erro da pré-crítica"_cp},
    {"09.1", 32, 56, "Uso da empresa"},
    {"10.1", 57, 73, "Modalidade e nosso número"_cp},
    {"11.1", 74, 79, "Uso exclusivo (pré-crítica: código do erro em 74-75)"_cp},
    {"12.1", 80, 82, "Código de rejeição"_cp},
    {"13.1", 83, 106, "Uso exclusivo CAIXA"},
    {"14.1", 107, 108, "Carteira"},
    {"15.1", 109, 110, "Código da ocorrência"_cp},
    {"16.1", 111, 116, "Data da ocorrência"_cp},
    {"17.1", 117, 126, "Número do documento (seu número)"_cp},
    {"18.1", 127, 146, "Uso exclusivo CAIXA"},
    {"19.1", 147, 152, "Vencimento"},
    {"20.1", 153, 165, "Valor do título"_cp},
    {"21.1", 166, 168, "Código do banco cobrador"_cp},
    {"22.1", 169, 173, "Agência cobradora"_cp},
    {"23.1", 174, 175, "Espécie do título"_cp},
    {"24.1", 176, 200, "Dados da liquidação: tarifa, canal, forma, float, débito da tarifa"_cp},
    {"25.1", 201, 214, "Uso exclusivo CAIXA"},
    {"26.1", 215, 227, "Valor do IOF"},
    {"27.1", 228, 240, "Abatimento"},
    {"28.1", 241, 253, "Desconto"},
    {"29.1", 254, 266, "Valor principal pago"},
    {"30.1", 267, 279, "Valor dos juros"},
    {"31.1", 280, 292, "Valor da multa"},
    {"32.1", 293, 293, "Código da moeda"_cp},
    {"33.1", 294, 299, "Data do crédito"_cp},
    {"34.1", 300, 394, "Uso exclusivo CAIXA"},
    {"35.1", 395, 400, "Número sequencial (na pré-crítica: o da remessa)"_cp},
};

constexpr FieldSpec kTrailer400[] = {
    {"01.9", 1, 1, "Código do registro"_cp}, {"02.9", 2, 2, "Código do retorno"_cp},
    {"03.9", 3, 4, "Código do serviço"_cp},  {"04.9", 5, 7, "Código do banco"_cp},
    {"05.9", 8, 394, "Uso exclusivo CAIXA"}, {"06.9", 395, 400, "Número sequencial"_cp},
};

constexpr RecordKind kFileHeader240Kind{"Header de arquivo", kFileHeader240};
constexpr RecordKind kLoteHeader240Kind{"Header de lote", kLoteHeader240};
constexpr RecordKind kTKind{"Segmento T", kSegmentT};
constexpr RecordKind kUKind{"Segmento U", kSegmentU};
constexpr RecordKind kY08Kind{"Segmento Y-08", kSegmentY08};
constexpr RecordKind kWKind{"Segmento W", kSegmentW};
constexpr RecordKind kLoteTrailer240Kind{"Trailer de lote", kLoteTrailer240};
constexpr RecordKind kFileTrailer240Kind{"Trailer de arquivo", kFileTrailer240};
constexpr RecordKind kHeader400Kind{"Header", kHeader400};
constexpr RecordKind kDetail400Kind{"Detalhe", kDetail400};
constexpr RecordKind kTrailer400Kind{"Trailer", kTrailer400};

const RecordKind* Kind240(std::string_view rec) {
  if (rec.size() < 14) return nullptr;
  switch (rec[7]) {
    case '0':
      return &kFileHeader240Kind;
    case '1':
      return &kLoteHeader240Kind;
    case '3':
      if (rec[13] == 'T') return &kTKind;
      if (rec[13] == 'U') return &kUKind;
      if (rec[13] == 'W') return &kWKind;
      if (rec[13] == 'Y') return &kY08Kind;
      return nullptr;
    case '5':
      return &kLoteTrailer240Kind;
    case '9':
      return &kFileTrailer240Kind;
  }
  return nullptr;
}

const RecordKind* Kind400(std::string_view rec) {
  if (rec.empty()) return nullptr;
  if (rec[0] == '0') return &kHeader400Kind;
  if (rec[0] == '1') return &kDetail400Kind;
  if (rec[0] == '9') return &kTrailer400Kind;
  return nullptr;
}

constexpr const RecordKind* kRetorno240Kinds[] = {
    &kFileHeader240Kind, &kLoteHeader240Kind, &kTKind, &kUKind, &kY08Kind, &kLoteTrailer240Kind, &kFileTrailer240Kind};
constexpr const RecordKind* kPrecritica240Kinds[] = {&kFileHeader240Kind, &kLoteHeader240Kind, &kWKind,
                                                     &kLoteTrailer240Kind, &kFileTrailer240Kind};
constexpr const RecordKind* k400Kinds[] = {&kHeader400Kind, &kDetail400Kind, &kTrailer400Kind};

}  // namespace

const LayoutFields kSigcb240RetornoFields{"sigcb240-retorno", kRetorno240Kinds, Kind240};
const LayoutFields kSigcb240PrecriticaFields{"sigcb240-precritica", kPrecritica240Kinds, Kind240};
const LayoutFields kSigcb400RetornoFields{"sigcb400-retorno", k400Kinds, Kind400};
const LayoutFields kSigcb400PrecriticaFields{"sigcb400-precritica", k400Kinds, Kind400};

const LayoutFields& ReturnFields(ReturnKind kind) {
  switch (kind) {
    case ReturnKind::Sigcb240Retorno:
      return kSigcb240RetornoFields;
    case ReturnKind::Sigcb240Precritica:
      return kSigcb240PrecriticaFields;
    case ReturnKind::Sigcb400Retorno:
      return kSigcb400RetornoFields;
    case ReturnKind::Sigcb400Precritica:
      break;
  }
  return kSigcb400PrecriticaFields;
}

const RecordKind* TitleRecordKind(ReturnKind kind) {
  switch (kind) {
    case ReturnKind::Sigcb240Retorno:
      return &kTKind;
    case ReturnKind::Sigcb240Precritica:
      return &kWKind;
    default:
      return &kDetail400Kind;
  }
}

const LayoutFields* ReturnFieldsOfLayout(std::string_view layout) {
  for (const ReturnKind kind : {ReturnKind::Sigcb240Retorno, ReturnKind::Sigcb240Precritica,
                                ReturnKind::Sigcb400Retorno, ReturnKind::Sigcb400Precritica})
    if (ReturnFields(kind).layout == layout) return &ReturnFields(kind);
  return nullptr;
}

}  // namespace verilote::returns
