#include "banking/calculators.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::FakeHost;
using Status = Outcome::Status;
using Lines = std::vector<std::string>;

struct Prompt {
  std::string_view caption, prompt, defaultText;
};

constexpr Prompt kCpf{"Entre com o cpf", "Digite o cpf", ""};
constexpr Prompt kCnpj{"Entre com o CGC", "Digite o CGC", ""};
constexpr Prompt kNossoNumero{"Entre com o nosso número"_cp, "Digite o Nosso Número sem dígito"_cp, ""};
constexpr Prompt kNossoNumero18{"Nosso número 18 Pos"_cp, "Digite o Nosso Número sem dígito"_cp, ""};
constexpr Prompt kKind{"1=Registrada 2=Sem Registro", "Digite opção 1 ou 2"_cp, "1"};
constexpr Prompt kIssuer{"1=CAIXA Imprime 4=Cliente Imprime", "Digite opção 1 ou 4"_cp, "4"};
constexpr Prompt kSigcbNumber{"Digite o Nosso Número sem dígito"_cp, "Digite com tamanho de 1 a 15", ""};
constexpr Prompt kAccount{"Entre com o número da conta"_cp, "Digite no formato", "AAAAOOOCCCCCCCC"};
constexpr Prompt kDate{"Entre com a data", "Digite a data no formato:", "06/12/2026"};
constexpr Prompt kFactor{"Entre com o fator", "Digite fator no formato:", "1652"};
constexpr Prompt kFirst10{"Entre com o NN inicial", "Digite NN sem dígito com 10 posições"_cp, ""};
constexpr Prompt kFirst15{"Entre com o NN inicial", "Digite NN sem dígito com 15 posições"_cp, ""};
constexpr Prompt kFirst18{"Entre com o NN inicial", "Digite NN sem dígito"_cp, ""};
constexpr Prompt kFirstSigcb{"Entre com o NN inicial", "Digite NN sem dígito de 1 a 15 posições"_cp, ""};
constexpr Prompt kQuantity{"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 9999)"_cp, "10"};
constexpr Prompt kQuantity999{"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 999)"_cp, "10"};

constexpr std::string_view kClosing = "Para utilizar em outro editor, selecione, copie e cole no destino.";

struct Case {
  Handler handler;
  Lines answers;  // fewer than the prompts: the rest take their default, as on Cancel
  std::vector<Prompt> prompts;
  Status status;
  std::string_view message;  // the message box; the error when Aborted
  Lines report = {"kept"};   // the report afterwards; it holds "kept" before
};

// clang-format off
const Case kCases[] = {
    {ValidaCPF1Click, {"123.456.789-09"}, {kCpf}, Status::Clean, "12345678909\rcpf CORRETO !!!"},
    {ValidaCPF1Click, {"123.456.789-00"}, {kCpf}, Status::Faulty,
     "12345678900\rcpf INVÁLIDO !!!\rO cpf correto seria 123456789-09"_cp},
    {ValidaCGC1Click, {"11.222.333/0001-81"}, {kCnpj}, Status::Clean, "11222333000181\rCGC CORRETO !!!"},
    {ValidaCGC1Click, {"11.222.333/0001-18"}, {kCnpj}, Status::Faulty,
     "11222333000118\rCGC INVÁLIDO !!!\rO CGC correto seria 112223330001-81"_cp},
    {ValidaCGC1Click, {"12.abc.345/01de-35"}, {kCnpj}, Status::Clean, "12ABC34501DE35\rCGC CORRETO !!!"},
    {ValidaCGC1Click, {"12.ABC.345/01DE-36"}, {kCnpj}, Status::Faulty,
     "12ABC34501DE36\rCGC INVÁLIDO !!!\rO CGC correto seria 12ABC34501DE-35"_cp},
    {NossoNmero1Click, {"1234500001"}, {kNossoNumero}, Status::Clean, "1234500001-7"},
    {NossoNmero1Click, {"12345X7890"}, {kNossoNumero}, Status::Aborted, "'X' is not a valid integer value"},
    {NossoNmero16Pos1Click, {"123456789000001"}, {kNossoNumero}, Status::Clean, "123456789000001-6"},
    {NossoNmero18Posdv1Click, {"1"}, {kNossoNumero18}, Status::Clean, "1-9"},
    // Eighteen ones add up every weight: 93, 93 mod 11 = 5, 11 - 5 = 6.
    {NossoNmero18Posdv1Click, {"111111111111111111"}, {kNossoNumero18}, Status::Clean, "111111111111111111-6"},
    {NossoNmero18Posdv1Click, {"12.3"}, {kNossoNumero18}, Status::Aborted, "'.' is not a valid integer value"},
    // 1 x 2 + 4 x 9 = 38, r = 5; 3 x 2 + 2 x 3 + 1 x 4 + 1 x 9 + 2 x 2 = 29, r = 7.
    {NossoNmeroSIGCB1Click, {}, {kKind, kIssuer, kSigcbNumber}, Status::Clean, "14000000000000000-6"},
    {NossoNmeroSIGCB1Click, {"2", "1", "123"}, {kKind, kIssuer, kSigcbNumber}, Status::Clean, "21000000000000123-4"},
    {NossoNmeroSIGCB1Click, {"3"}, {kKind}, Status::Faulty, "Tipo Inválido !!"_cp},
    {NossoNmeroSIGCB1Click, {"1", "2"}, {kKind, kIssuer}, Status::Faulty, "Opção Inválida !!"_cp},
    {MostrarDVdeumaconta1Click, {"000100100000001"}, {kAccount}, Status::Clean, "000100100000001-2"},
    {MostrarDVdeumaconta1Click, {}, {kAccount}, Status::Aborted, "'A' is not a valid integer value"},
    {Gerarfatordevencimento1Click, {}, {kDate}, Status::Clean, "Data: 06/12/2026\rFator: 1652"},
    {Gerarfatordevencimento1Click, {"22/02/2025"}, {kDate}, Status::Clean, "Data: 22/02/2025\rFator: 1000"},
    {Gerarfatordevencimento1Click, {"31/02/2025"}, {kDate}, Status::Aborted, "'31/02/2025' is not a valid date"},
    {Gerarfatordevencimento1Click, {"01/01/1990"}, {kDate}, Status::Aborted,
     "A data '01/01/1990' é anterior a 07/10/1997 e não tem fator de vencimento"_cp},
    {Validarumfatordevencimento1Click, {}, {kFactor}, Status::Clean, "Fator: 1652\rData: 06/12/2026"},
    {Validarumfatordevencimento1Click, {"9999"}, {kFactor}, Status::Clean, "Fator: 9999\rData: 21/02/2025"},
    {Validarumfatordevencimento1Click, {"abc"}, {kFactor}, Status::Aborted, "'abc' is not a valid integer value"},
    // Lists: 1234500001 sums 103 (r = 4), each step adds 2; 123456789000001 sums 258.
    {GerarrelaodeNNcom10Posies1Click, {"1234500001", "3"}, {kFirst10, kQuantity}, Status::Clean, "",
     {"1234500001-7", "1234500002-5", "1234500003-3", std::string(kClosing)}},
    {GerarrelaodeNNcom16Posies1Click, {"123456789000001", "2"}, {kFirst15, kQuantity}, Status::Clean, "",
     {"123456789000001-6", "123456789000002-4", std::string(kClosing)}},
    {GerarrelaodeNNcom18Posies1Click, {"1", "2"}, {kFirst18, kQuantity999}, Status::Clean, "",
     {"000000000000000001-9", "000000000000000002-7", std::string(kClosing)}},
    // The "/" only shows; the digit sums all 17: 1 x 2 + 4 x 9 + 1 x 2 = 40, r = 7.
    {GerarrelaodeNNdoSIGCB1Click, {"1", "4", "1", "2"}, {kKind, kIssuer, kFirstSigcb, kQuantity}, Status::Clean, "",
     {"14/000000000000001-4", "14/000000000000002-2", std::string(kClosing)}},
    {GerarrelaodeNNdoSIGCB1Click, {"2", "44"}, {kKind, kIssuer}, Status::Faulty, "Opção Inválida !!"_cp},
    {GerarrelaodeNNcom10Posies1Click, {"1234500001", "65536"}, {kFirst10, kQuantity}, Status::Faulty,
     "Quantidade Inválida !!\rDigite de 0 a 65535."_cp, {}},
    // 1234599998 sums 279 (r = 4); past 99999 the counter no longer fits.
    {GerarrelaodeNNcom10Posies1Click, {"1234599998", "5"}, {kFirst10, kQuantity}, Status::Faulty, "",
     {"1234599998-7", "1234599999-5", std::string("Sequência do NN passou de 99999, relação interrompida !!!"_cp),
      std::string(kClosing)}},
    // A counter that is not a number fails before the report is cleared, a quantity after.
    {GerarrelaodeNNcom10Posies1Click, {"12345ABCDE"}, {kFirst10}, Status::Aborted,
     "'ABCDE' is not a valid integer value"},
    {GerarrelaodeNNcom10Posies1Click, {"1234500001", "dez"}, {kFirst10, kQuantity}, Status::Aborted,
     "'dez' is not a valid integer value", {}},
};
// clang-format on

TEST(Calculators, PromptsMessagesAndReports) {
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const Case& c = kCases[i];
    SCOPED_TRACE(::testing::Message() << "case " << i);
    FakeHost host;
    host.report = {"kept"};
    host.answers.assign(c.answers.begin(), c.answers.end());
    const Outcome outcome = RunCommand(c.handler, host);
    EXPECT_EQ(outcome.status, c.status) << outcome.message;
    Lines asked, expected;
    for (const auto& p : host.prompts) asked.push_back(Cat(p.caption, '|', p.prompt, '|', p.defaultText));
    for (const Prompt& p : c.prompts) expected.push_back(Cat(p.caption, '|', p.prompt, '|', p.defaultText));
    EXPECT_EQ(asked, expected);
    const bool aborted = c.status == Status::Aborted;
    EXPECT_EQ(host.messages.size(), aborted || c.message.empty() ? 0u : 1u);
    EXPECT_EQ(aborted                 ? testing::FirstLine(outcome.message)
              : host.messages.empty() ? ""
                                      : host.messages.front(),
              c.message);
    EXPECT_EQ(host.report, c.report);
  }
}

}  // namespace
}  // namespace verilote
