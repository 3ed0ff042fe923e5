// The errors of the SIGCB CNAB 400 pre-validation (note NE038 of the bank's
// CNAB 400 manual, 67.126 v015) that point at one field of the remittance,
// with that field's positions and name in the manual's remittance records
// (section 3.6: header, title detail, trailer). Errors about the file as a
// whole (01 no header, 04 beneficiary not in electronic collection, 13 record
// type expected, 54 no trailer...) name no field and are left out.
#include <algorithm>

#include "app/cp1252.hpp"
#include "returns/w_field_map.hpp"

namespace verilote::returns {
namespace {

constexpr Error400FieldRef kErrorFields[] = {
    {"02", '0', 31, 37, "Código Identificador da Empresa na CAIXA"_cp},
    {"03", '0', 390, 394, "Número Sequencial do Arquivo Remessa"_cp},
    {"05", '0', 2, 2, "Código Identificador da Remessa para a CAIXA"_cp},
    {"06", '0', 3, 9, "Literal Correspondente ao Código da Remessa"_cp},
    {"07", '0', 10, 11, "Código Identificador do Tipo de Serviço"_cp},
    {"08", '0', 12, 26, "Literal Correspondente ao Código de Serviço"_cp},
    {"09", '0', 77, 79, "Código do Banco na Compensação"_cp},
    {"10", '0', 80, 94, "Nome do Banco"},
    {"11", '0', 95, 100, "Data de Geração do Arquivo"_cp},
    {"12", '0', 390, 394, "Número Sequencial do Arquivo Remessa"_cp},
    {"15", '0', 3, 9, "Literal Correspondente ao Código da Remessa"_cp},
    {"19", '0', 395, 400, "Número Sequencial do Registro no Arquivo"_cp},
    {"02", '1', 21, 27, "Identificação da Empresa na CAIXA"_cp},
    {"14", '1', 109, 110, "Identificação Tipo Ocorrência do arquivo remessa"_cp},
    {"16", '1', 21, 27, "Identificação da Empresa na CAIXA"_cp},
    {"17", '1', 57, 73, "Nosso Número (modalidade e identificação do título na CAIXA)"_cp},
    {"18", '1', 107, 108, "Código da Carteira"_cp},
    {"19", '1', 395, 400, "Número Sequencial do Registro no Arquivo"_cp},
    {"20", '1', 2, 3, "Tipo de Inscrição da Empresa"_cp},
    {"21", '1', 4, 17, "Número de Inscrição da Empresa"_cp},
    {"23", '1', 30, 31, "Comissão de Permanência"_cp},
    {"26", '1', 121, 126, "Data de Vencimento do Título"_cp},
    {"27", '1', 127, 139, "Valor Nominal do Título"_cp},
    {"28", '1', 148, 149, "Espécie do Título"_cp},
    {"29", '1', 150, 150, "Identificação de Título - Aceito / Não Aceito"_cp},
    {"30", '1', 151, 156, "Data da Emissão do Título"_cp},
    {"31", '1', 157, 158, "Primeira Instrução de Cobrança"_cp},
    {"32", '1', 159, 160, "Segunda Instrução de Cobrança"_cp},
    {"33", '1', 390, 391, "Terceira Instrução de Cobrança"_cp},
    {"34", '1', 161, 173, "Juros de Mora por dia/Valor"},
    {"35", '1', 174, 179, "Data limite para concessão do desconto"_cp},
    {"36", '1', 180, 192, "Valor/Percentual do Desconto a ser concedido"},
    {"37", '1', 193, 205, "Valor do IOF a ser recolhido"},
    {"38", '1', 206, 218, "Valor do abatimento a ser concedido"},
    {"39", '1', 219, 220, "Identificador do Tipo de Inscrição do Pagador"_cp},
    {"40", '1', 221, 234, "Número de Inscrição do Pagador"_cp},
    {"42", '1', 235, 274, "Nome do Pagador"},
    {"43", '1', 275, 314, "Endereço do Pagador"_cp},
    {"44", '1', 327, 334, "CEP do Pagador"},
    {"45", '1', 335, 349, "Cidade do Pagador"},
    {"46", '1', 350, 351, "Unidade da Federação do Pagador"_cp},
    {"47", '1', 352, 357, "Definição da data para pagamento de multa"_cp},
    {"48", '1', 358, 367, "Valor nominal da multa"},
    {"49", '1', 392, 393, "Número de dias para início do protesto/devolução"_cp},
    {"50", '1', 392, 393, "Número de dias para início do protesto/devolução"_cp},
    {"51", '1', 392, 393, "Número de dias para início do protesto/devolução"_cp},
    {"52", '1', 394, 394, "Código da Moeda"_cp},
    {"53", '1', 32, 56, "Identificação do Título na Empresa"_cp},
    {"60", '1', 28, 28, "Identificação da Emissão do Boleto"_cp},
    {"61", '1', 29, 29, "Identificação da Entrega/Distribuição do Boleto"_cp},
    {"62", '1', 57, 58, "Modalidade Identificação"_cp},
    {"81", '1', 315, 326, "Bairro do Pagador"},
    {"83", '1', 111, 120, "Número do Documento de Cobrança (Seu Número)"_cp},
    {"19", '9', 395, 400, "Número Sequencial do Registro no Arquivo"_cp},
};

}  // namespace

const Error400FieldRef* FindErrorField400(std::string_view error, char recordType) {
  const auto it = std::find_if(std::begin(kErrorFields), std::end(kErrorFields), [&](const Error400FieldRef& row) {
    return row.error == error && row.recordType == recordType;
  });
  return it == std::end(kErrorFields) ? nullptr : &*it;
}

}  // namespace verilote::returns
