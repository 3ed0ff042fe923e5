// Every field of every record of the SIGCB CNAB 240 remittance, numbered and
// named as the bank's CNAB 240 manual (67.118 v010, June 2018, section 3.5)
// prints them, for reading the field codes of a pre-validation return.
//
// Where the manual gives one number to several adjacent fields (13.3P for
// the modality and the title's identification, 19.3P for Seu Número and a
// filler, 11.1 for the beneficiary code and a reserved stretch, 22.3Q for two
// fillers) the number names the first, meaningful stretch, or the whole run
// when it is one thing (13.3P). The personalised-boleto Y segments (models 10
// to 30) give fields 09 onwards a different meaning per model; only their
// common fields are mapped. The 2015 manual numbers the same fields alike,
// but for P 40, then part of the filler 12.3P (38-40). The lote trailer's
// 11.5 is named "Quantidade..." in the manual's table though it holds the
// total value (9(017), like 07.5 and 09.5): it is named for what it holds.
#include "returns/w_field_map.hpp"

#include <algorithm>
#include <vector>

#include "app/cp1252.hpp"

namespace verilote::returns {
namespace {

constexpr WFieldRef kFileHeader[] = {
    {"01.0", '0', ' ', 1, 3, "Código do Banco"_cp},
    {"02.0", '0', ' ', 4, 7, "Código do Lote"_cp},
    {"03.0", '0', ' ', 8, 8, "Tipo de Registro"},
    {"04.0", '0', ' ', 9, 17, "Filler"},
    {"05.0", '0', ' ', 18, 18, "Tipo de Inscrição do Beneficiário"_cp},
    {"06.0", '0', ' ', 19, 32, "Número de Inscrição do Beneficiário"_cp},
    {"07.0", '0', ' ', 33, 52, "Uso Exclusivo CAIXA"},
    {"08.0", '0', ' ', 53, 57, "Agência Mantenedora da Conta"_cp},
    {"09.0", '0', ' ', 58, 58, "Dígito Verificador da Agência"_cp},
    {"10.0", '0', ' ', 59, 64, "Código do Beneficiário"_cp},
    {"11.0", '0', ' ', 65, 71, "Uso Exclusivo CAIXA"},
    {"12.0", '0', ' ', 72, 72, "Uso Exclusivo CAIXA"},
    {"13.0", '0', ' ', 73, 102, "Nome da Empresa"},
    {"14.0", '0', ' ', 103, 132, "Nome do Banco"},
    {"15.0", '0', ' ', 133, 142, "Filler"},
    {"16.0", '0', ' ', 143, 143, "Código Remessa / Retorno"_cp},
    {"17.0", '0', ' ', 144, 151, "Data de Geração do Arquivo"_cp},
    {"18.0", '0', ' ', 152, 157, "Hora de Geração do Arquivo"_cp},
    // The table names it "NSA"; the words are those of its note, G018.
    {"19.0", '0', ' ', 158, 163, "Número Sequencial do Arquivo"_cp},
    {"20.0", '0', ' ', 164, 166, "Nº da Versão do Layout do Arquivo"_cp},
    {"21.0", '0', ' ', 167, 171, "Densidade de Gravação do Arquivo"_cp},
    {"22.0", '0', ' ', 172, 191, "Filler"},
    {"23.0", '0', ' ', 192, 211, "Situação do Arquivo"_cp},
    {"24.0", '0', ' ', 212, 215, "Uso Interno"},
    {"25.0", '0', ' ', 216, 240, "Filler"},
};

constexpr WFieldRef kLoteHeader[] = {
    {"01.1", '1', ' ', 1, 3, "Código do Banco"_cp},
    {"02.1", '1', ' ', 4, 7, "Lote de Serviço"_cp},
    {"03.1", '1', ' ', 8, 8, "Tipo de Registro"},
    {"04.1", '1', ' ', 9, 9, "Tipo de Operação"_cp},
    {"05.1", '1', ' ', 10, 11, "Tipo de Serviço"_cp},
    {"06.1", '1', ' ', 12, 13, "Filler"},
    {"07.1", '1', ' ', 14, 16, "Nº da Versão do Layout do Lote"_cp},
    {"08.1", '1', ' ', 17, 17, "Filler"},
    {"09.1", '1', ' ', 18, 18, "Tipo de Inscrição do Beneficiário"_cp},
    {"10.1", '1', ' ', 19, 33, "Número de Inscrição do Beneficiário"_cp},
    {"11.1", '1', ' ', 34, 39, "Código do Beneficiário"_cp},
    {"12.1", '1', ' ', 54, 58, "Agência Mantenedora da Conta"_cp},
    {"13.1", '1', ' ', 59, 59, "Dígito Verificador da Agência"_cp},
    {"14.1", '1', ' ', 60, 65, "Código do Beneficiário"_cp},
    {"15.1", '1', ' ', 66, 72, "Código do Modelo de Boleto Personalizado"_cp},
    {"16.1", '1', ' ', 73, 73, "Uso Exclusivo CAIXA"},
    {"17.1", '1', ' ', 74, 103, "Nome da Empresa"},
    {"18.1", '1', ' ', 104, 143, "Mensagem 1"},
    {"19.1", '1', ' ', 144, 183, "Mensagem 2"},
    {"20.1", '1', ' ', 184, 191, "Número da Remessa"_cp},
    {"21.1", '1', ' ', 192, 199, "Data de Gravação Remessa"_cp},
    {"22.1", '1', ' ', 200, 207, "Filler"},
    {"23.1", '1', ' ', 208, 240, "Filler"},
};

constexpr WFieldRef kP[] = {
    {"01.3P", '3', 'P', 1, 3, "Código do Banco"_cp},
    {"02.3P", '3', 'P', 4, 7, "Lote de Serviço"_cp},
    {"03.3P", '3', 'P', 8, 8, "Tipo de Registro"},
    {"04.3P", '3', 'P', 9, 13, "Nº Sequencial do Registro no Lote"_cp},
    {"05.3P", '3', 'P', 14, 14, "Cód. Segmento do Registro Detalhe"_cp},
    {"06.3P", '3', 'P', 15, 15, "Filler"},
    {"07.3P", '3', 'P', 16, 17, "Código de Movimento Remessa"_cp},
    {"08.3P", '3', 'P', 18, 22, "Agência Mantenedora da Conta"_cp},
    {"09.3P", '3', 'P', 23, 23, "Dígito Verificador da Agência"_cp},
    {"10.3P", '3', 'P', 24, 29, "Código do Beneficiário"_cp},
    {"11.3P", '3', 'P', 30, 37, "Uso Exclusivo CAIXA"},
    {"12.3P", '3', 'P', 38, 39, "Filler"},
    {"13.3P", '3', 'P', 40, 57, "Nosso Número (modalidade da carteira e identificação do título no banco)"_cp},
    {"14.3P", '3', 'P', 58, 58, "Código da Carteira"_cp},
    {"15.3P", '3', 'P', 59, 59, "Forma de Cadastramento do Título no Banco"_cp},
    {"16.3P", '3', 'P', 60, 60, "Tipo de Documento"},
    {"17.3P", '3', 'P', 61, 61, "Identificação da Emissão do Boleto"_cp},
    {"18.3P", '3', 'P', 62, 62, "Identificação da Entrega do Boleto"_cp},
    {"19.3P", '3', 'P', 63, 73, "Número do Documento de Cobrança (Seu Nº)"_cp},
    {"20.3P", '3', 'P', 78, 85, "Data de Vencimento do Título"_cp},
    {"21.3P", '3', 'P', 86, 100, "Valor Nominal do Título"_cp},
    {"22.3P", '3', 'P', 101, 105, "Agência Encarregada da Cobrança"_cp},
    {"23.3P", '3', 'P', 106, 106, "Dígito Verificador da Agência"_cp},
    {"24.3P", '3', 'P', 107, 108, "Espécie do Título"_cp},
    {"25.3P", '3', 'P', 109, 109, "Identificação de Título Aceito/Não Aceito"_cp},
    {"26.3P", '3', 'P', 110, 117, "Data da Emissão do Título"_cp},
    {"27.3P", '3', 'P', 118, 118, "Código do Juros de Mora"_cp},
    {"28.3P", '3', 'P', 119, 126, "Data do Juros de Mora"},
    {"29.3P", '3', 'P', 127, 141, "Juros de Mora por Dia/Taxa"},
    {"30.3P", '3', 'P', 142, 142, "Código do Desconto 1"_cp},
    {"31.3P", '3', 'P', 143, 150, "Data do Desconto 1"},
    {"32.3P", '3', 'P', 151, 165, "Valor/Percentual a ser Concedido"},
    {"33.3P", '3', 'P', 166, 180, "Valor do IOF a ser Recolhido"},
    {"34.3P", '3', 'P', 181, 195, "Valor do Abatimento"},
    {"35.3P", '3', 'P', 196, 220, "Identificação do Título na Empresa"_cp},
    {"36.3P", '3', 'P', 221, 221, "Código para Protesto"_cp},
    {"37.3P", '3', 'P', 222, 223, "Número de Dias para Protesto"_cp},
    {"38.3P", '3', 'P', 224, 224, "Código para Baixa/Devolução"_cp},
    {"39.3P", '3', 'P', 225, 227, "Número de Dias para Baixa/Devolução"_cp},
    {"40.3P", '3', 'P', 228, 229, "Código da Moeda"_cp},
    {"41.3P", '3', 'P', 230, 239, "Filler"},
    {"42.3P", '3', 'P', 240, 240, "Autorização de pagamento parcial e/ou divergente"_cp},
};

constexpr WFieldRef kQ[] = {
    {"01.3Q", '3', 'Q', 1, 3, "Código do Banco"_cp},
    {"02.3Q", '3', 'Q', 4, 7, "Lote de Serviço"_cp},
    {"03.3Q", '3', 'Q', 8, 8, "Tipo de Registro"},
    {"04.3Q", '3', 'Q', 9, 13, "Nº Sequencial do Registro no Lote"_cp},
    {"05.3Q", '3', 'Q', 14, 14, "Cód. Segmento do Registro Detalhe"_cp},
    {"06.3Q", '3', 'Q', 15, 15, "Filler"},
    {"07.3Q", '3', 'Q', 16, 17, "Código de Movimento Remessa"_cp},
    {"08.3Q", '3', 'Q', 18, 18, "Tipo de Inscrição do Pagador"_cp},
    {"09.3Q", '3', 'Q', 19, 33, "Número de Inscrição do Pagador"_cp},
    {"10.3Q", '3', 'Q', 34, 73, "Nome do Pagador"},
    {"11.3Q", '3', 'Q', 74, 113, "Endereço do Pagador"_cp},
    {"12.3Q", '3', 'Q', 114, 128, "Bairro do Pagador"},
    {"13.3Q", '3', 'Q', 129, 133, "CEP do Pagador"},
    {"14.3Q", '3', 'Q', 134, 136, "Sufixo do CEP do Pagador"},
    {"15.3Q", '3', 'Q', 137, 151, "Cidade do Pagador"},
    {"16.3Q", '3', 'Q', 152, 153, "Unidade da Federação do Pagador"_cp},
};

constexpr WFieldRef kQPayer[] = {
    {"17.3Q", '3', 'Q', 154, 154, "Tipo de Inscrição do Sacador/Avalista"_cp},
    {"18.3Q", '3', 'Q', 155, 169, "Número de Inscrição do Sacador/Avalista"_cp},
    {"19.3Q", '3', 'Q', 170, 209, "Nome do Sacador/Avalista"},
    {"20.3Q", '3', 'Q', 210, 212, "Cód. Bco. Corresp. na Compensação"_cp},
    {"21.3Q", '3', 'Q', 213, 232, "Nosso Nº no Banco Correspondente"_cp},
    {"22.3Q", '3', 'Q', 233, 240, "Filler"},
};

constexpr WFieldRef kQPayerBank[] = {
    {"17.3Q", '3', 'Q', 154, 156, "Número do Banco de Pagadores"_cp},
    {"18.3Q", '3', 'Q', 157, 176, "Nome do Banco de Pagadores"},
    {"19.3Q", '3', 'Q', 177, 191, "Código do Pagador no Banco"_cp},
    {"20.3Q", '3', 'Q', 192, 192, "Identificação Manutenção"_cp},
    {"21.3Q", '3', 'Q', 193, 207, "Valor do Título"_cp},
    {"22.3Q", '3', 'Q', 208, 209, "Filler"},
};

constexpr WFieldRef kR[] = {
    {"01.3R", '3', 'R', 1, 3, "Código do Banco"_cp},
    {"02.3R", '3', 'R', 4, 7, "Lote de Serviço"_cp},
    {"03.3R", '3', 'R', 8, 8, "Tipo de Registro"},
    {"04.3R", '3', 'R', 9, 13, "Nº Sequencial do Registro no Lote"_cp},
    {"05.3R", '3', 'R', 14, 14, "Cód. Segmento do Registro Detalhe"_cp},
    {"06.3R", '3', 'R', 15, 15, "Filler"},
    {"07.3R", '3', 'R', 16, 17, "Código de Movimento Remessa"_cp},
    {"08.3R", '3', 'R', 18, 18, "Código do Desconto 2"_cp},
    {"09.3R", '3', 'R', 19, 26, "Data do Desconto 2"},
    {"10.3R", '3', 'R', 27, 41, "Valor/Percentual a ser Concedido"},
    {"11.3R", '3', 'R', 42, 42, "Código do Desconto 3"_cp},
    {"12.3R", '3', 'R', 43, 50, "Data do Desconto 3"},
    {"13.3R", '3', 'R', 51, 65, "Valor/Percentual a Ser Concedido"},
    {"14.3R", '3', 'R', 66, 66, "Código da Multa"_cp},
    {"15.3R", '3', 'R', 67, 74, "Data da Multa"},
    {"16.3R", '3', 'R', 75, 89, "Valor/Percentual a Ser Aplicado"},
    {"17.3R", '3', 'R', 90, 99, "Informação ao Pagador"_cp},
    {"18.3R", '3', 'R', 100, 139, "Mensagem 3"},
    {"19.3R", '3', 'R', 140, 179, "Mensagem 4"},
    {"20.3R", '3', 'R', 180, 229, "Filler"},
    {"21.3R", '3', 'R', 230, 240, "Filler"},
};

constexpr WFieldRef kS[] = {
    {"01.3S", '3', 'S', 1, 3, "Código do Banco"_cp},
    {"02.3S", '3', 'S', 4, 7, "Lote de Serviço"_cp},
    {"03.3S", '3', 'S', 8, 8, "Tipo de Registro"},
    {"04.3S", '3', 'S', 9, 13, "Nº Sequencial do Registro no Lote"_cp},
    {"05.3S", '3', 'S', 14, 14, "Cód. Segmento do Registro Detalhe"_cp},
    {"06.3S", '3', 'S', 15, 15, "Filler"},
    {"07.3S", '3', 'S', 16, 17, "Código de Movimento Remessa"_cp},
};

constexpr WFieldRef kSLines[] = {
    {"08.3S", '3', 'S', 18, 18, "Identificação da Impressão"_cp},
    {"09.3S", '3', 'S', 19, 20, "Filler"},
    {"10.3S", '3', 'S', 21, 160, "Mensagem a ser Impressa"},
    {"11.3S", '3', 'S', 161, 162, "Filler"},
    {"12.3S", '3', 'S', 163, 240, "Filler"},
};

constexpr WFieldRef kSReceipt[] = {
    {"08.3S", '3', 'S', 18, 18, "Identificação da Impressão"_cp},
    {"09.3S", '3', 'S', 19, 58, "Mensagem 5"},
    {"10.3S", '3', 'S', 59, 98, "Mensagem 6"},
    {"11.3S", '3', 'S', 99, 138, "Mensagem 7"},
    {"12.3S", '3', 'S', 139, 178, "Mensagem 8"},
    {"13.3S", '3', 'S', 179, 218, "Filler"},
    {"14.3S", '3', 'S', 219, 240, "Filler"},
};

constexpr WFieldRef kY[] = {
    {"01.3Y", '3', 'Y', 1, 3, "Código do Banco"_cp},
    {"02.3Y", '3', 'Y', 4, 7, "Lote de Serviço"_cp},
    {"03.3Y", '3', 'Y', 8, 8, "Tipo de Registro"},
    {"04.3Y", '3', 'Y', 9, 13, "Nº Sequencial do Registro no Lote"_cp},
    {"05.3Y", '3', 'Y', 14, 14, "Cód. Segmento do Registro Detalhe"_cp},
    {"06.3Y", '3', 'Y', 15, 15, "Filler"},
    {"07.3Y", '3', 'Y', 16, 17, "Código de Movimento Remessa"_cp},
    {"08.3Y", '3', 'Y', 18, 19, "Identificação Registro Opcional"_cp},
};

constexpr WFieldRef kY04[] = {
    {"09.4Y", '3', 'Y', 20, 69, "E-mail para envio da informação"_cp},
    {"10.4Y", '3', 'Y', 70, 71, "Código DDD"_cp},
    {"11.4Y", '3', 'Y', 72, 80, "Número do celular (Envio de SMS)"_cp},
    {"12.4Y", '3', 'Y', 81, 240, "Uso Exclusivo FEBRABAN/CNAB"},
};

constexpr WFieldRef kY08[] = {
    {"09.3Y", '3', 'Y', 20, 21, "Código de Identificação da Solicitação"_cp},
    {"10.3Y", '3', 'Y', 22, 22, "ID Número Identificador"_cp},
    {"11.3Y", '3', 'Y', 23, 40, "Número Identificador da Solicitação"_cp},
    {"12.3Y", '3', 'Y', 41, 200, "Descrição da Solicitação"_cp},
    {"13.3Y", '3', 'Y', 201, 204, "Quantidade Solicitada"},
    {"14.3Y", '3', 'Y', 205, 207, "Código do Erro"_cp},
    {"15.3Y", '3', 'Y', 208, 240, "Filler"},
};

constexpr WFieldRef kY50[] = {
    {"09.3Y", '3', 'Y', 20, 24, "Agência Mantenedora da Conta"_cp},
    {"10.3Y", '3', 'Y', 25, 25, "Dígito Verificador da Agência"_cp},
    {"11.3Y", '3', 'Y', 26, 37, "Número da Conta Corrente"_cp},
    {"12.3Y", '3', 'Y', 38, 38, "Dígito Verificador da Conta"_cp},
    {"13.3Y", '3', 'Y', 39, 39, "Dígito Verificador da Ag/Conta"_cp},
    {"14.3Y", '3', 'Y', 40, 56, "Nosso Número (modalidade e identificação do título no banco)"_cp},
    {"15.3Y", '3', 'Y', 60, 60, "Cód. Cálc. Rateio p/ Beneficiário"_cp},
    {"16.3Y", '3', 'Y', 61, 61, "Tipo de Valor Informado"},
    {"17.3Y", '3', 'Y', 62, 76, "Valor ou % (Percentual)"},
    {"18.3Y", '3', 'Y', 77, 79, "Código do Banco p/ Créd. Benef."_cp},
    {"19.3Y", '3', 'Y', 80, 84, "Código da Agência p/ Créd. Benef."_cp},
    {"20.3Y", '3', 'Y', 85, 85, "Dígito Ag. p/ Cred. Benef"_cp},
    {"21.3Y", '3', 'Y', 86, 97, "C/C p/ Créd. Beneficiário"_cp},
    {"22.3Y", '3', 'Y', 98, 98, "Dígito C/C p/ Cred Beneficiário"_cp},
    {"23.3Y", '3', 'Y', 99, 99, "Dígito Ag/Conta Beneficiário"_cp},
    {"24.3Y", '3', 'Y', 100, 139, "Nome do Beneficiário (01)"_cp},
    {"25.3Y", '3', 'Y', 140, 145, "Ident. Parcela do Rateio"},
    {"26.3Y", '3', 'Y', 146, 148, "Qtde. Dias p/ Créd. Beneficiário"_cp},
    {"27.3Y", '3', 'Y', 149, 156, "Data Crédito Beneficiário (01)"_cp},
    {"28.3Y", '3', 'Y', 157, 166, "Identificação das Rejeições"_cp},
    {"29.3Y", '3', 'Y', 167, 240, "Filler"},
};

constexpr WFieldRef kY53[] = {
    {"09.3Y", '3', 'Y', 20, 21, "Identificação do tipo de pagamento"_cp},
    {"10.3Y", '3', 'Y', 22, 23, "Quantidades de Pagamentos Possíveis"_cp},
    {"11.3Y", '3', 'Y', 24, 24, "Tipo de Valor Informado"},
    {"12.3Y", '3', 'Y', 25, 39, "Valor Máximo/Percentual"_cp},
    {"14.3Y", '3', 'Y', 40, 40, "Tipo de Valor Informado"},
    {"15.3Y", '3', 'Y', 41, 55, "Valor Mínimo/Percentual"_cp},
    {"17.3Y", '3', 'Y', 56, 240, "Uso Exclusivo FEBRABAN/CNAB"},
};

constexpr WFieldRef kLoteTrailer[] = {
    {"01.5", '5', ' ', 1, 3, "Código do Banco"_cp},
    {"02.5", '5', ' ', 4, 7, "Lote de Serviço"_cp},
    {"03.5", '5', ' ', 8, 8, "Tipo de Registro"},
    {"04.5", '5', ' ', 9, 17, "Filler"},
    {"05.5", '5', ' ', 18, 23, "Quantidade de Registros no Lote"},
    {"06.5", '5', ' ', 24, 29, "Quantidade de Títulos em Cobrança Simples"_cp},
    {"07.5", '5', ' ', 30, 46, "Valor Total dos Títulos em Carteiras de Cobrança Simples"_cp},
    {"08.5", '5', ' ', 47, 52, "Quantidade de Títulos em Cobranças Caucionadas"_cp},
    {"09.5", '5', ' ', 53, 69, "Valor Total dos Títulos em Carteiras Caucionadas"_cp},
    {"10.5", '5', ' ', 70, 75, "Quantidade de Títulos em Cobrança Descontada"_cp},
    {"11.5", '5', ' ', 76, 92, "Valor Total dos Títulos em Carteiras Descontadas"_cp},
    {"12.5", '5', ' ', 93, 123, "Filler"},
    {"13.5", '5', ' ', 124, 240, "Filler"},
};

constexpr WFieldRef kFileTrailer[] = {
    {"01.9", '9', ' ', 1, 3, "Código do Banco"_cp},
    {"02.9", '9', ' ', 4, 7, "Lote de Serviço"_cp},
    {"03.9", '9', ' ', 8, 8, "Tipo de Registro"},
    {"04.9", '9', ' ', 9, 17, "Filler"},
    {"05.9", '9', ' ', 18, 23, "Quantidade de Lotes do Arquivo"},
    {"06.9", '9', ' ', 24, 29, "Quantidade de Registros do Arquivo"},
    {"07.9", '9', ' ', 30, 35, "Filler"},
    {"08.9", '9', ' ', 36, 240, "Filler"},
};

constexpr WFieldGroup kGroups[] = {
    {'0', ' ', "", kFileHeader},  {'1', ' ', "", kLoteHeader},    {'3', 'P', "", kP},      {'3', 'Q', "", kQ},
    {'3', 'Q', "Q", kQPayer},     {'3', 'Q', "Q36", kQPayerBank}, {'3', 'R', "", kR},      {'3', 'S', "", kS},
    {'3', 'S', "S12", kSLines},   {'3', 'S', "S3", kSReceipt},    {'3', 'Y', "", kY},      {'3', 'Y', "Y04", kY04},
    {'3', 'Y', "Y08", kY08},      {'3', 'Y', "Y50", kY50},        {'3', 'Y', "Y53", kY53}, {'5', ' ', "", kLoteTrailer},
    {'9', ' ', "", kFileTrailer},
};

// A field code split into its parts: number "13", record type '3', segment
// 'P' (' ' for headers and trailers).
struct CodeParts {
  std::string_view number;
  char type = 0;
  char segment = ' ';
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "133P", "19.0", "190 ", "13.3P"; anything else (and "0000") gives no parts.
bool Split(std::string_view code, CodeParts& parts) {
  if (code.size() == 5 && code[2] == '.') {  // the manual's own form, "13.3P"
    parts = {code.substr(0, 2), code[3], code[4]};
  } else if (code.size() == 4 && code[2] == '.') {  // "19.0"
    parts = {code.substr(0, 2), code[3], ' '};
  } else if (code.size() == 4) {  // "133P", "190 "
    parts = {code.substr(0, 2), code[2], code[3]};
  } else {
    return false;
  }
  if (!IsDigit(parts.number[0]) || !IsDigit(parts.number[1]) || !IsDigit(parts.type)) return false;
  if (parts.number == "00") return false;
  return parts.segment == ' ' || (parts.segment >= 'A' && parts.segment <= 'Z');
}

// The variant of an S, Q or Y record, read from its content.
std::string_view VariantOf(std::string_view record, char segment) {
  if (record.size() < 19) return {};
  if (segment == 'S') return record[17] == '3' ? "S3" : "S12";
  if (segment == 'Q') {
    const auto movement = record.substr(15, 2);
    return movement == "36" || movement == "37" || movement == "38" ? "Q36" : "Q";
  }
  if (segment == 'Y') {
    const auto id = record.substr(17, 2);
    if (id == "04") return "Y04";
    if (id == "08") return "Y08";
    if (id == "50") return "Y50";
    if (id == "53") return "Y53";
  }
  return {};
}

// The variant taken when no record tells: the one the manual lists first.
std::string_view DefaultVariant(char segment) {
  if (segment == 'S') return "S12";
  if (segment == 'Q') return "Q";
  return {};
}

const WFieldRef* FindIn(std::span<const WFieldRef> fields, const CodeParts& parts) {
  for (const auto& field : fields) {
    // The manual numbers Y-04's fields "NN.4Y" though the record is of type
    // 3: both the printed type and the record's own type are accepted.
    const bool typeMatches = field.code[3] == parts.type || field.recordType == parts.type;
    if (field.code.substr(0, 2) == parts.number && typeMatches && field.segment == parts.segment) return &field;
  }
  return nullptr;
}

}  // namespace

const WFieldRef* FindWField240(std::string_view code, std::string_view remittanceRecord) {
  CodeParts parts;
  if (!Split(code, parts)) return nullptr;
  std::string_view variant = VariantOf(remittanceRecord, parts.segment);
  if (variant.empty() && remittanceRecord.empty()) variant = DefaultVariant(parts.segment);
  for (const auto& group : kGroups) {
    if (group.segment != parts.segment || !(group.variant.empty() || group.variant == variant)) continue;
    if (const auto* field = FindIn(group.fields, parts)) return field;
  }
  return nullptr;
}

WFieldMatch ResolveWField240(std::string_view code, std::string_view error, std::string_view remittanceRecord) {
  // A real pre-validation file named the NSA "18.0" (the generation time in
  // the manual) when it refused the remittance's number: an error about the
  // file's number can only mean the NSA.
  const bool aboutNsa = error == "79" || error == "87" || error == "88";
  if (aboutNsa && (code == "18.0" || code == "180 ")) return {FindWField240("19.0"), true};
  return {FindWField240(code, remittanceRecord), false};
}

std::span<const WFieldGroup> WFieldGroups240() { return kGroups; }

std::span<const WFieldRef> WFields240() {
  static const std::vector<WFieldRef> all = [] {
    std::vector<WFieldRef> fields;
    for (const auto& group : kGroups) fields.insert(fields.end(), group.fields.begin(), group.fields.end());
    return fields;
  }();
  return all;
}

}  // namespace verilote::returns
