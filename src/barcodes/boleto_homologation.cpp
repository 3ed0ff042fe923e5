// "Relatório de Homologação": the blank homologation report of collection
// boletos, filled in by hand after printing. Only the date is computed.
#include "app/cp1252.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/homologation_form.hpp"

namespace verilote {

namespace {

constexpr std::string_view kItems[] = {
    "(   ) Foi feita a homologação dos dados no sistema"_cp,
    "(   ) O dígito verificador do Nosso Número confere e possui dígito de 0 a 9"_cp,
    "(   ) O código do cedente              e o campo agência/código do cedente conferem"_cp,
    "(   ) A representação numérica confere"_cp,
    "(   ) A data de vencimento está correta"_cp,
    "(   ) FICHA DE COMPENSAÇÃO e RECIBO DE SACADO têm os mesmos dados: ...Nome do Sacado"_cp,
    "      Vencimento, agencia, CODcedente, NN, valor, Nome do cedente",
};

}  // namespace

Verdict RelatriodeHomologao1Click(Host& host) {
  WriteHomologationForm(host, {"NCOSB001", "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS            CEDENTE: "_cp, kItems,
                               "(   ) Conferido Instruções, sacado, endereço"_cp});
  return Verdict::Clean;
}

}  // namespace verilote
