#include "barcodes/union_homologation.hpp"

#include "app/cp1252.hpp"
#include "barcodes/homologation_form.hpp"

namespace verilote {

namespace {

constexpr std::string_view kItems[] = {
    "(   ) O dígito verificador do Nosso Número confere e possui dígito de 0 a 9"_cp,
    "(   ) O código do sindicato              e o campo agência/código do cedente conferem"_cp,
    "(   ) A representação numérica confere"_cp,
    "(   ) A data de vencimento está correta"_cp,
    "(   ) FICHA DE COMPENSAÇÃO e RECIBO DO CONTRIBUINTE têm os mesmos dados: ...Nome do Contribuinte"_cp,
    "      Vencimento, agencia, CODSIND, NN, valor, Nome do SINDICATO",
};

}  // namespace

Verdict RelatoriodeHomologao1Click(Host& host) {
  WriteHomologationForm(host, {"TCSSB001", "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS     CÓDIGO SINDICAL: "_cp, kItems,
                               "(   ) Conferido Instruções, contribuitne, endereço"_cp});
  return Verdict::Clean;
}

}  // namespace verilote
