// The SIGCB CNAB 400 return's code tables, in the words of the bank's CNAB
// 400 manual (67.126 v015, notes NE032 to NE038), sorted by code.
#include "app/cp1252.hpp"
#include "returns/code_tables.hpp"

namespace verilote::returns {
namespace {

// NE033: occurrence codes, 109-110.
constexpr CodeEntry kOcorrencia[] = {
    {"01", "Entrada Confirmada"_cp},
    {"02", "Baixa Manual Confirmada"_cp},
    {"03", "Abatimento Concedido"_cp},
    {"04", "Abatimento Cancelado"_cp},
    {"05", "Vencimento Alterado"_cp},
    {"06", "Uso da Empresa Alterado"_cp},
    {"07", "Prazo de Protesto Alterado"_cp},
    {"08", "Prazo de Devolução Alterado"_cp},
    {"09", "Alteração Confirmada"_cp},
    {"10", "Alteração com reemissão de boleto confirmada"_cp},
    {"11", "Alteração da opção de Protesto para Devolução Confirmada"_cp},
    {"12", "Alteração da opção de Devolução para Protesto Confirmada"_cp},
    {"20", "Em Ser"_cp},
    {"21", "Liquidação"_cp},
    {"22", "Liquidação em Cartório"_cp},
    {"23", "Baixa por Devolução"_cp},
    {"25", "Baixa por Protesto"_cp},
    {"26", "Título enviado para Cartório"_cp},
    {"27", "Sustação de Protesto"_cp},
    {"28", "Estorno de Protesto"_cp},
    {"29", "Estorno de Sustação de Protesto"_cp},
    {"30", "Alteração de Título"_cp},
    {"31", "Tarifa sobre Título Vencido"_cp},
    {"32", "Outras Tarifas de Alteração"_cp},
    {"33", "Estorno de Baixa / Liquidação"_cp},
    {"34", "Tarifas Diversas"_cp},
    {"35", "Liquidação On-line"_cp},
    {"36", "Estorno de Liquidação On-line"_cp},
    {"37", "Transferência para a cobrança simples"_cp},
    {"38", "Transferência para a cobrança descontada"_cp},
    {"51", "Reconhecido pelo pagador DDA"_cp},
    {"52", "Não reconhecido pelo pagador DDA"_cp},
    {"53", "Recusado no DDA"_cp},
    {"99", "Rejeição do Título – Código rejeição informado nas pos 80 a 82"_cp},
    {"A4", "Pagador DDA"_cp},
};

// NE032: rejections, 80-82 with occurrence 99.
constexpr CodeEntry kRejeicao[] = {
    {"01", "Movimento sem Beneficiário Correspondente"_cp},
    {"02", "Movimento sem Título Correspondente"_cp},
    {"08", "Movimento para título já com movimentação no dia"_cp},
    {"09", "Nosso Número não pertence ao Beneficiário"_cp},
    {"10", "Inclusão de título já existente na base"_cp},
    {"12", "Movimento duplicado"_cp},
    {"13", "Entrada Inválida para Cobrança Caucionada (Beneficiário não possui conta Caução)"_cp},
    {"20", "CEP do Pagador não encontrado (não foi possível a determinação da Agência Cobradora para o título)"_cp},
    {"21", "Agência cobradora não encontrada (agência designada para cobradora não cadastrada no sistema)"_cp},
    {"22", "Agência Beneficiário não encontrada (Agência do Beneficiário não cadastrada no sistema)"_cp},
    {"26", "Data de vencimento inválida"_cp},
    {"44", "CEP do sacado inválido"_cp},
    {"45", "Data de Vencimento com prazo superior ao limite"_cp},
    {"49", "Prazo de protesto/devolução inválido"_cp},
    {"50", "Movimento inválido para título enviado a Cartório"_cp},
    {"54", "Faixa de CEP da Agência Cobradora não abrange CEP do Pagador"_cp},
    {"55", "Título já com opção de Devolução"_cp},
    {"56", "Processo de Protesto em andamento"_cp},
    {"57", "Título já com opção de Protesto"_cp},
    {"58", "Processo de devolução em andamento"_cp},
    {"59", "Novo prazo p/ Protesto/Devolução inválido"_cp},
    {"76", "Alteração do prazo de protesto inválida"_cp},
    {"77", "Alteração do prazo de devolução inválida"_cp},
    {"82", "CNPJ/CPF do Pagador inválido (dígito não confere)"_cp},
    {"83", "Número do Documento (seu número) inválido"_cp},
    {"84", "Protesto inválido para título sem Número do documento (seu número)"_cp},
};

// NE038: errors of the pre-validation, and non-blocking rejections at 80-82.
constexpr CodeEntry kErro[] = {
    {"01", "Remessa sem registro tipo 0"_cp},
    {"02", "Identificação inválida da Empresa na CAIXA"_cp},
    {"03", "Número Inválido da Remessa"_cp},
    {"04", "Beneficiário não pertence a Cobrança Eletrônica"_cp},
    {"05", "Código da Remessa Inválido"_cp},
    {"06", "Literal da Remessa Inválido"_cp},
    {"07", "Código de Serviço Inválido"_cp},
    {"08", "Literal de Serviço Inválido"_cp},
    {"09", "Código do Banco Inválido"_cp},
    {"10", "Nome do Banco Inválido"_cp},
    {"11", "Data de gravação Inválida"_cp},
    {"12", "Número de Remessa já Processada"_cp},
    {"13", "Tipo de registro esperado Inválido"_cp},
    {"14", "Tipo de Ocorrência Inválido"_cp},
    {"15", "Literal Remessa Inválida para fase de Testes"_cp},
    {"16", "Identificação da empresa no Registro tipo 0 difere da identificação no Registro Tipo 1"_cp},
    {"17", "Identificação na CAIXA inválida (Nosso Número)"_cp},
    {"18", "Código da Carteira inválido"_cp},
    {"19", "Número seqüencial do Registro Inválido"_cp},
    {"20", "Tipo de Inscrição da empresa Inválido"_cp},
    {"21", "Número de Inscrição da empresa Inválido"_cp},
    {"23", "Taxa de Comissão de Permanência Inválida"_cp},
    {"26", "Data de vencimento inválida"_cp},
    {"27", "Valor do título inválido"_cp},
    {"28", "Espécie de título Inválida"_cp},
    {"29", "Código de Aceite Inválido"_cp},
    {"30", "Data de emissão do título inválida"_cp},
    {"31", "Instrução de Cobrança 1 Inválida"_cp},
    {"32", "Instrução de Cobrança 2 Inválida"_cp},
    {"33", "Instrução de Cobrança 3 Inválida"_cp},
    {"34", "Valor de Juros Inválido"_cp},
    {"35", "Data do Desconto Inválida"_cp},
    {"36", "Valor do Desconto Inválido"_cp},
    {"37", "Valor do IOF Inválido"_cp},
    {"38", "Valor do Abatimento Inválido"_cp},
    {"39", "Tipo de Inscrição do Pagador Inválido"_cp},
    {"40", "Número de Inscrição do Pagador Inválido"_cp},
    {"42", "Nome do Pagador obrigatório"_cp},
    {"43", "Endereço do Pagador obrigatório"_cp},
    {"44", "CEP do Pagador Inválido"_cp},
    {"45", "Cidade do Pagador obrigatório"_cp},
    {"46", "Estado do Pagador obrigatório"_cp},
    {"47", "Data da multa inválida"_cp},
    {"48", "Valor da multa inválido"_cp},
    {"49", "Prazo de protesto/devolução inválido"_cp},
    {"50", "Prazo do protesto inválido"_cp},
    {"51", "Prazo de devolução inválido"_cp},
    {"52", "Moeda inválida"_cp},
    {"53", "“USO DA EMPRESA” obrigatório"_cp},
    {"54", "Remessa sem registro tipo 9"_cp},
    {"55", "Solicitacao nao permitida para titulo incluido somente para protesto"_cp},
    {"60", "Identificação da emissão do boleto inválida"_cp},
    {"61", "Tipo de entrega inválido"_cp},
    {"62", "Modalidade do título inválida"_cp},
    {"63", "Forma de entrega de bloq.inválida para emis. banco"_cp},
    {"64", "Forma de entrega de bloq.inválida para emis.beneficiário"_cp},
    {"65", "Forma de emissao de boleto inválida"_cp},
    {"66", "E-mail inválido"_cp},
    {"67", "Número do DDD do celular do sacado inválido"_cp},
    {"68", "Número do celular do sacado inválido"_cp},
    {"69", "Tipo de mensagem de envio SMS inválido"_cp},
    {"70", "Envio de sms do beneficiário inválido"_cp},
    {"72", "Movimento sem título correspondente"_cp},
    {"73", "Movimento inválido para título descontado"_cp},
    {"74", "Movimento inválido para título enviado"_cp},
    {"75", "Movimento inválido para título baixado"_cp},
    {"76", "Movimento inválido para título em garantia de crédito"_cp},
    {"77", "Processo de protesto em andamento"_cp},
    {"78", "Processo de devolução em andamento"_cp},
    {"79", "Título com endereço do pagador inconsistente"_cp},
    {"80", "Valor do abatimento maior que o valor total de rateio"_cp},
    {"81", "Bairro do pagador obrigatório"_cp},
    {"83", "Número do Documento de Cobrança (Seu Número) inválido"_cp},
    {"84", "Identificação do tipo de pagamento inválida"_cp},
    {"85", "Quantidade de pagamentos possíveis inválida"_cp},
    {"86", "Tipo de valor máximo inválido"_cp},
    {"87", "Valor máximo inválido"_cp},
    {"88", "Percentual máximo inválido"_cp},
    {"89", "Tipo de valor mínimo inválido"_cp},
    {"90", "Valor mínimo inválido"_cp},
    {"91", "Percentual mínimo inválido"_cp},
    {"92", "Tipos de valor máximo e mínimo divergentes"_cp},
    {"93", "Título autorizado para pagamentos parciais não pode ser alterado"_cp},
    {"94", "Quantidade de pagamentos possíveis menor que a quantidade de pagamentos realizados"_cp},
    {"95", "Autorização de pagamento parcial inválida"_cp},
};

// NE035: channel of a payment or cause of a write-off, 189-191.
constexpr CodeEntry kCanal[] = {
    {"002", "Unidade Lotérica"_cp},          {"003", "Agências CAIXA"_cp},
    {"004", "Compensação Eletrônica"_cp},    {"006", "Internet Banking"_cp},
    {"007", "Correspondente CAIXA Aqui"_cp}, {"008", "Em Cartório"_cp},
    {"009", "Comandada Banco"_cp},           {"010", "Comandada Cliente via Arquivo"_cp},
    {"011", "Comandada Cliente On-line"_cp},
};

// NE036: how a payment was made, 192.
constexpr CodeEntry kFormaPagamento[] = {
    {"01", "Dinheiro"_cp},
    {"02", "Cheque"_cp},
};

}  // namespace

static_assert(SortedByCode(kOcorrencia) && SortedByCode(kRejeicao) && SortedByCode(kErro) && SortedByCode(kCanal) &&
              SortedByCode(kFormaPagamento));

std::span<const CodeEntry> CodeRows400(CodeTable table) {
  switch (table) {
    case CodeTable::Ocorrencia400:
      return kOcorrencia;
    case CodeTable::Rejeicao400:
      return kRejeicao;
    case CodeTable::Erro400:
      return kErro;
    case CodeTable::Canal400:
      return kCanal;
    case CodeTable::FormaPagamento400:
      return kFormaPagamento;
    default:
      return {};
  }
}

}  // namespace verilote::returns
