#include "banking/calculators.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::FakeHost;
using Status = Outcome::Status;

struct Prompt {
  std::string_view caption, prompt, defaultText;
};

void ExpectPrompts(const FakeHost& host, const std::vector<Prompt>& expected) {
  ASSERT_EQ(host.prompts.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(host.prompts[i].caption, expected[i].caption) << "prompt " << i;
    EXPECT_EQ(host.prompts[i].prompt, expected[i].prompt) << "prompt " << i;
    EXPECT_EQ(host.prompts[i].defaultText, expected[i].defaultText) << "prompt " << i;
  }
}

Outcome RunWith(Handler handler, FakeHost& host, std::vector<std::string> answers = {}) {
  host.answers.assign(answers.begin(), answers.end());
  return RunCommand(handler, host);
}

using Lines = std::vector<std::string>;

// ---- Commands that answer in a message box.

struct MessageCase {
  const char* name;
  Handler handler;
  std::vector<std::string> answers;  // fewer than the prompts: the rest take their default
  std::string_view message;
  Status status;
};

class MessageCommand : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageCommand, AnswersInAMessageBoxAndLeavesTheReport) {
  const MessageCase& c = GetParam();
  FakeHost host;
  host.report = {"kept"};
  const Outcome outcome = RunWith(c.handler, host, c.answers);
  EXPECT_EQ(outcome.status, c.status) << outcome.message;
  EXPECT_EQ(host.messages, Lines{std::string(c.message)});
  EXPECT_EQ(host.report, Lines{"kept"});
  EXPECT_EQ(host.clears, 0);
}

const MessageCase kMessageCases[] = {
    {"CpfFormatted", ValidaCPF1Click, {"123.456.789-09"}, "12345678909\rcpf CORRETO !!!", Status::Clean},
    {"CpfCancel", ValidaCPF1Click, {}, "00000000000\rcpf CORRETO !!!", Status::Clean},
    {"CpfShort", ValidaCPF1Click, {"191"}, "00000000191\rcpf CORRETO !!!", Status::Clean},
    {"CpfLongKeepsFirst11", ValidaCPF1Click, {"1234567890999"}, "12345678909\rcpf CORRETO !!!", Status::Clean},
    {"CpfInvalid",
     ValidaCPF1Click,
     {"123.456.789-00"},
     "12345678900\rcpf INVÁLIDO !!!\rO cpf correto seria 123456789-09"_cp,
     Status::Faulty},
    {"CnpjFormatted", ValidaCGC1Click, {"11.222.333/0001-81"}, "11222333000181\rCGC CORRETO !!!", Status::Clean},
    {"CnpjCancel", ValidaCGC1Click, {}, "00000000000000\rCGC CORRETO !!!", Status::Clean},
    {"CnpjInvalid",
     ValidaCGC1Click,
     {"11.222.333/0001-18"},
     "11222333000118\rCGC INVÁLIDO !!!\rO CGC correto seria 112223330001-81"_cp,
     Status::Faulty},
    {"CnpjAlphanumeric", ValidaCGC1Click, {"12.ABC.345/01DE-35"}, "12ABC34501DE35\rCGC CORRETO !!!", Status::Clean},
    {"CnpjAlphanumericLowerCase",
     ValidaCGC1Click,
     {"12.abc.345/01de-35"},
     "12ABC34501DE35\rCGC CORRETO !!!",
     Status::Clean},
    {"CnpjAlphanumericInvalid",
     ValidaCGC1Click,
     {"12.ABC.345/01DE-36"},
     "12ABC34501DE36\rCGC INVÁLIDO !!!\rO CGC correto seria 12ABC34501DE-35"_cp,
     Status::Faulty},
    {"NossoNumero10", NossoNmero1Click, {"1234500001"}, "1234500001-7", Status::Clean},
    {"NossoNumero10ShowsTheTextAsTyped", NossoNmero1Click, {"0000000001XY"}, "0000000001XY-9", Status::Clean},
    {"NossoNumero15", NossoNmero16Pos1Click, {"123456789000001"}, "123456789000001-6", Status::Clean},
    {"NossoNumero18ZeroFills", NossoNmero18Posdv1Click, {"1"}, "1-9", Status::Clean},
    {"NossoNumero18Cancel", NossoNmero18Posdv1Click, {}, "-0", Status::Clean},
    // 1 x 2 + 4 x 9 = 38, r = 5.
    {"SigcbCancel", NossoNmeroSIGCB1Click, {}, "14000000000000000-6", Status::Clean},
    // 3 x 2 + 2 x 3 + 1 x 4 + 1 x 9 + 2 x 2 = 29, r = 7.
    {"SigcbTyped", NossoNmeroSIGCB1Click, {"2", "1", "123"}, "21000000000000123-4", Status::Clean},
    {"SigcbKeepsFirst15", NossoNmeroSIGCB1Click, {"1", "4", "0000000000000019"}, "14000000000000001-4", Status::Clean},
    {"SigcbBadKind", NossoNmeroSIGCB1Click, {"3"}, "Tipo Inválido !!"_cp, Status::Faulty},
    {"SigcbKindWithBlank", NossoNmeroSIGCB1Click, {" 1"}, "Tipo Inválido !!"_cp, Status::Faulty},
    {"SigcbBadIssuer", NossoNmeroSIGCB1Click, {"1", "2"}, "Opção Inválida !!"_cp, Status::Faulty},
    {"Account", MostrarDVdeumaconta1Click, {"000100100000001"}, "000100100000001-2", Status::Clean},
    {"FactorCancel", Gerarfatordevencimento1Click, {}, "Data: 06/12/2026\rFator: 1652", Status::Clean},
    {"FactorNewCycle", Gerarfatordevencimento1Click, {"22/02/2025"}, "Data: 22/02/2025\rFator: 1000", Status::Clean},
    {"FactorAsTyped", Gerarfatordevencimento1Click, {"3/7/2000"}, "Data: 3/7/2000\rFator: 1000", Status::Clean},
    {"DateCancel", Validarumfatordevencimento1Click, {}, "Fator: 1652\rData: 06/12/2026", Status::Clean},
    {"DateOfOldFactor", Validarumfatordevencimento1Click, {"9999"}, "Fator: 9999\rData: 21/02/2025", Status::Clean},
    {"DateOfNewFactor", Validarumfatordevencimento1Click, {"1000"}, "Fator: 1000\rData: 22/02/2025", Status::Clean},
};

INSTANTIATE_TEST_SUITE_P(Calculators, MessageCommand, ::testing::ValuesIn(kMessageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Calculators, PromptsOfTheMessageCommands) {
  struct Case {
    Handler handler;
    std::vector<Prompt> prompts;
  };
  const Case cases[] = {
      {ValidaCPF1Click, {{"Entre com o cpf", "Digite o cpf", ""}}},
      {ValidaCGC1Click, {{"Entre com o CGC", "Digite o CGC", ""}}},
      {NossoNmero1Click, {{"Entre com o nosso número"_cp, "Digite o Nosso Número sem dígito"_cp, ""}}},
      {NossoNmero16Pos1Click, {{"Entre com o nosso número"_cp, "Digite o Nosso Número sem dígito"_cp, ""}}},
      {NossoNmero18Posdv1Click, {{"Nosso número 18 Pos"_cp, "Digite o Nosso Número sem dígito"_cp, ""}}},
      {NossoNmeroSIGCB1Click,
       {{"1=Registrada 2=Sem Registro", "Digite opção 1 ou 2"_cp, "1"},
        {"1=CAIXA Imprime 4=Cliente Imprime", "Digite opção 1 ou 4"_cp, "4"},
        {"Digite o Nosso Número sem dígito"_cp, "Digite com tamanho de 1 a 15", ""}}},
      {MostrarDVdeumaconta1Click, {{"Entre com o número da conta"_cp, "Digite no formato", "AAAAOOOCCCCCCCC"}}},
      {Gerarfatordevencimento1Click, {{"Entre com a data", "Digite a data no formato:", "06/12/2026"}}},
      {Validarumfatordevencimento1Click, {{"Entre com o fator", "Digite fator no formato:", "1652"}}},
  };
  for (const Case& c : cases) {
    FakeHost host;
    host.answers = {"1", "4", "0000000001", "000000000000001"};
    RunCommand(c.handler, host);
    ExpectPrompts(host, c.prompts);
  }
}

TEST(Calculators, SigcbOptionsEndEarly) {
  FakeHost host;
  RunWith(NossoNmeroSIGCB1Click, host, {"3"});
  EXPECT_EQ(host.prompts.size(), 1u) << "nothing more is asked after a bad kind";
  FakeHost other;
  RunWith(NossoNmeroSIGCB1Click, other, {"2", "2"});
  EXPECT_EQ(other.prompts.size(), 2u) << "nothing more is asked after a bad issuer";
}

TEST(Calculators, ConversionFailuresAbortTheCommand) {
  struct Case {
    Handler handler;
    std::vector<std::string> answers;
    std::string_view error;
  };
  const Case cases[] = {
      {NossoNmero1Click, {"123456789"}, "'' is not a valid integer value"},
      {NossoNmero1Click, {"12345X7890"}, "'X' is not a valid integer value"},
      {NossoNmero16Pos1Click, {"1234567890"}, "'' is not a valid integer value"},
      {NossoNmero18Posdv1Click, {"12.3"}, "'.' is not a valid integer value"},
      {MostrarDVdeumaconta1Click, {}, "'A' is not a valid integer value"},
      {Gerarfatordevencimento1Click, {"31/02/2025"}, "'31/02/2025' is not a valid date"},
      {Gerarfatordevencimento1Click,
       {"01/01/1990"},
       "A data '01/01/1990' é anterior a 07/10/1997 e não tem fator de vencimento"_cp},
      {Validarumfatordevencimento1Click, {"abc"}, "'abc' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    FakeHost host;
    const Outcome outcome = RunWith(c.handler, host, c.answers);
    EXPECT_EQ(outcome.status, Status::Aborted);
    EXPECT_EQ(outcome.message, c.error);
    EXPECT_TRUE(host.messages.empty());
  }
}

// ---- List commands.

constexpr std::string_view kClosing = "Para utilizar em outro editor, selecione, copie e cole no destino.";

TEST(Calculators, TenPositionList) {
  FakeHost host;
  host.report = {"old"};
  EXPECT_EQ(RunWith(GerarrelaodeNNcom10Posies1Click, host, {"1234500001", "3"}).status, Status::Clean);
  ExpectPrompts(host, {{"Entre com o NN inicial", "Digite NN sem dígito com 10 posições"_cp, ""},
                       {"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 9999)"_cp, "10"}});
  // 1234500001: 3 + 4 + 27 + 32 + 35 + 2 = 103, r = 4; each step adds 2 to S.
  EXPECT_EQ(host.report, (Lines{"1234500001-7", "1234500002-5", "1234500003-3", std::string(kClosing)}));
  EXPECT_EQ(host.clears, 1);
  EXPECT_TRUE(host.messages.empty());
}

TEST(Calculators, FifteenPositionList) {
  FakeHost host;
  RunWith(GerarrelaodeNNcom16Posies1Click, host, {"123456789000001", "2"});
  ExpectPrompts(host, {{"Entre com o NN inicial", "Digite NN sem dígito com 15 posições"_cp, ""},
                       {"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 9999)"_cp, "10"}});
  // S = 258 (r = 5), then 260 (r = 7).
  EXPECT_EQ(host.report, (Lines{"123456789000001-6", "123456789000002-4", std::string(kClosing)}));
}

TEST(Calculators, EighteenPositionListZeroFills) {
  FakeHost host;
  RunWith(GerarrelaodeNNcom18Posies1Click, host, {"1", "2"});
  ExpectPrompts(host, {{"Entre com o NN inicial", "Digite NN sem dígito"_cp, ""},
                       {"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 999)"_cp, "10"}});
  EXPECT_EQ(host.report, (Lines{"000000000000000001-9", "000000000000000002-7", std::string(kClosing)}));
}

TEST(Calculators, SigcbListShowsASlashButSumsAllSeventeen) {
  FakeHost host;
  RunWith(GerarrelaodeNNdoSIGCB1Click, host, {"1", "4", "1", "2"});
  ExpectPrompts(host, {{"1=Registrada 2=Sem Registro", "Digite opção 1 ou 2"_cp, "1"},
                       {"1=CAIXA Imprime 4=Cliente Imprime", "Digite opção 1 ou 4"_cp, "4"},
                       {"Entre com o NN inicial", "Digite NN sem dígito de 1 a 15 posições"_cp, ""},
                       {"Quantos NN para gerar ?", "Digite a quantidade (Máximo de 9999)"_cp, "10"}});
  // 14000000000000001: 1 x 2 + 4 x 9 + 1 x 2 = 40, r = 7; then 42, r = 9.
  EXPECT_EQ(host.report, (Lines{"14/000000000000001-4", "14/000000000000002-2", std::string(kClosing)}));
}

TEST(Calculators, SigcbListEndsEarlyOnABadOption) {
  for (const auto& [answers, message] : {std::pair{std::vector<std::string>{"0"}, "Tipo Inválido !!"_cp},
                                         std::pair{std::vector<std::string>{"2", "44"}, "Opção Inválida !!"_cp}}) {
    FakeHost host;
    host.report = {"kept"};
    EXPECT_EQ(RunWith(GerarrelaodeNNdoSIGCB1Click, host, answers).status, Status::Faulty);
    EXPECT_EQ(host.messages, Lines{std::string(message)});
    EXPECT_EQ(host.prompts.size(), answers.size());
    EXPECT_EQ(host.report, Lines{"kept"});
    EXPECT_EQ(host.clears, 0);
  }
}

TEST(Calculators, ListWithQuantityZeroWritesOnlyTheClosingLine) {
  for (const Handler handler :
       {GerarrelaodeNNcom10Posies1Click, GerarrelaodeNNcom16Posies1Click, GerarrelaodeNNcom18Posies1Click}) {
    FakeHost host;
    host.report = {"old"};
    RunWith(handler, host, {"123456789012345", "0"});
    EXPECT_EQ(host.report, Lines{std::string(kClosing)});
    EXPECT_EQ(host.clears, 1);
  }
}

TEST(Calculators, ListQuantityDefaultsToTen) {
  FakeHost host;
  RunWith(GerarrelaodeNNcom18Posies1Click, host, {"5"});
  ASSERT_EQ(host.report.size(), 11u);
  EXPECT_EQ(host.report[9].substr(0, 18), "000000000000000014");
}

TEST(Calculators, ListQuantityOutsideZeroTo65535IsRefused) {
  for (const std::string quantity : {"65536", "-1", "9999999999"}) {
    FakeHost host;
    host.report = {"old"};
    EXPECT_EQ(RunWith(GerarrelaodeNNcom10Posies1Click, host, {"1234500001", quantity}).status, Status::Faulty);
    EXPECT_EQ(host.messages, Lines{std::string("Quantidade Inválida !!\rDigite de 0 a 65535."_cp)}) << quantity;
    EXPECT_TRUE(host.report.empty()) << quantity;
  }
  FakeHost host;
  RunWith(GerarrelaodeNNcom18Posies1Click, host, {"0", "65535"});
  ASSERT_EQ(host.report.size(), 65536u);
  EXPECT_EQ(host.report[65534].substr(0, 18), "000000000000065534");
  EXPECT_TRUE(host.messages.empty());
}

TEST(Calculators, ListStopsWhenTheCounterPasses99999) {
  FakeHost host;
  EXPECT_EQ(RunWith(GerarrelaodeNNcom10Posies1Click, host, {"1234599998", "5"}).status, Status::Faulty);
  ASSERT_EQ(host.report.size(), 4u);
  EXPECT_EQ(host.report[0].substr(0, 11), "1234599998-");
  EXPECT_EQ(host.report[1].substr(0, 11), "1234599999-");
  EXPECT_EQ(host.report[2], "Sequência do NN passou de 99999, relação interrompida !!!"_cp);
  EXPECT_EQ(host.report[3], kClosing);
}

TEST(Calculators, ListConversionFailures) {
  // A counter that is not a number fails before the report is cleared.
  FakeHost counter;
  counter.report = {"old"};
  EXPECT_EQ(RunWith(GerarrelaodeNNcom10Posies1Click, counter, {"12345ABCDE"}).status, Status::Aborted);
  EXPECT_EQ(counter.report, Lines{"old"});
  EXPECT_EQ(counter.prompts.size(), 1u);
  // An empty first number has no counter either.
  FakeHost empty;
  const Outcome noCounter = RunWith(GerarrelaodeNNcom16Posies1Click, empty, {});
  EXPECT_EQ(noCounter.status, Status::Aborted);
  EXPECT_EQ(noCounter.message, "'' is not a valid integer value");
  EXPECT_EQ(empty.clears, 0);
  // A quantity that is not a number fails after the report is cleared.
  FakeHost quantity;
  quantity.report = {"old"};
  const Outcome badQuantity = RunWith(GerarrelaodeNNcom10Posies1Click, quantity, {"1234500001", "dez"});
  EXPECT_EQ(badQuantity.status, Status::Aborted);
  EXPECT_EQ(badQuantity.message, "'dez' is not a valid integer value");
  EXPECT_TRUE(quantity.report.empty());
  EXPECT_EQ(quantity.clears, 1);
}

// ---- Through verilote-cli.

int RunCli(std::vector<std::string_view> args, std::string& out, std::string& err) {
  std::ostringstream o, e;
  const int status = CliMain(args, o, e);
  out = o.str();
  err = e.str();
  return status;
}

TEST(Calculators, CnpjThroughTheCli) {
  std::string out, err;
  EXPECT_EQ(RunCli({"run", "ValidaCGC1Click", "--answer", "12.ABC.345/01DE-36"}, out, err), kExitFaulty);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, ToUtf8("12ABC34501DE36\nCGC INVÁLIDO !!!\nO CGC correto seria 12ABC34501DE-35\n"_cp));
}

TEST(Calculators, ListAndFactorThroughTheCli) {
  std::string out, err;
  EXPECT_EQ(RunCli({"run", "GerarrelaodeNNcom10Posies1Click", "--answer", "1234500001", "--answer", "2"}, out, err),
            kExitClean);
  EXPECT_EQ(out, "1234500001-7\n1234500002-5\nPara utilizar em outro editor, selecione, copie e cole no destino.\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(RunCli({"run", "Validarumfatordevencimento1Click", "--today", "01/01/2005", "--answer", "1000"}, out, err),
            kExitClean);
  EXPECT_EQ(err, "Fator: 1000\nData: 03/07/2000\n");
}

}  // namespace
}  // namespace verilote
