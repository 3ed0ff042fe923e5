#include "barcodes/sitcs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "barcodes/collection_builders.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::BoletoGeneralDigit;
using testing::CrLfFile;
using testing::FakeHost;
using testing::PrintedLine;
using testing::SitcsBoleto;
using testing::TempFile;

using Lines = std::vector<std::string>;

Lines L(std::initializer_list<std::string_view> texts) { return Lines(texts.begin(), texts.end()); }

const std::string kRule(72, '-');

// The checklist with the summary rows after its second line and the last
// boleto's entity reference in the line "Nome da Entidade".
Lines Checklist(const Lines& rows, std::string_view entity) {
  Lines lines = L({"Resumo dos boletos para conferência:"_cp,
                   "COD Vencimento Nosso Numero      Valor          xxx     xx Confira nestas 5 posições o código "_cp
                   "sindical"_cp});
  lines.insert(lines.end(), rows.begin(), rows.end());
  const Lines rest = L({
      kRule,
      "Verifique os seguintes itens:",
      kRule,
      "(   ) O papel é adequado."_cp,
      "Acesse o site da CAIXA (www.caixa.gov.br), opção Contribuição Sindical Urbana, e confira com o boleto os dados "_cp
      "abaixo:"_cp,
      "(   ) Nome da entidade",
      "(   ) Código sindical"_cp,
      "(   ) Endereço"_cp,
      "(   ) CNPJ",
      "Via do contribuinte:",
      "(   ) Vencimento",
      "(   ) Exercício"_cp,
      "Dados da Entidade Sindical",
      Cat("(   ) Nome da Entidade  (   ) Código da Entidade Sindical "_cp, entity),
      "(   ) Endereço (   ) Número (   ) Complemento (   ) CNPJ Entidade"_cp,
      "(   ) Bairro   (   ) CEP    (   ) Cidade      (   ) UF",
      "Dados do contribuinte",
      "(   ) Nome     (   ) CPF/CNPJ",
      "(   ) Endereço (   ) Número (   ) Complemento"_cp,
      "(   ) CEP      (   ) Bairro (   ) Cidade      (   ) UF (   ) Código da atividade"_cp,
      "Dados da contribuição"_cp,
      "(   ) Categoria",
      "(   ) Capital Social Empresa",
      "(   ) Capital Social Estabelecimento",
      "(   ) Num de Empregados",
      "(   ) Total da remuneração - Contribuintes"_cp,
      "(   ) Total de empregados do estabelecimento",
      "(   ) Mensagem destinada ao Contribuinte",
      "(   ) Valor do documento",
      "(   ) Desconto/abatimento",
      "(   ) Outras deduções"_cp,
      "(   ) Mora/Multa",
      "(   ) Outros Acréscimos"_cp,
      "(   ) Valor Cobrado",
      "Na Ficha de compensação:"_cp,
      "(   ) Logotipo CAIXA,",
      "(   ) 104-0",
      "(   ) Local de pagamento: Preferencialmente nas Lotéricas até o valor limite"_cp,
      "(   ) Vencimento;",
      "(   ) Nome da entidade",
      "(   ) Data documento;",
      "(   ) Número do documento"_cp,
      "(   ) Espécie documento - GRCSU"_cp,
      "(   ) Aceite - Em branco",
      "(   ) Data processamento",
      "(   ) Nosso número"_cp,
      "(   ) Uso do banco - EXERC AAAA",
      "(   ) Carteira - SIND",
      "(   ) Espécie - R$"_cp,
      "(   ) Quantidade - Deixar em branco",
      "(   ) valor - Deixar em branco",
      "(   ) Instruções (texto de responsabilidade do Cedente)"_cp,
      "(   ) BLOQUETO DE CONTRIBUIÇÃO SINDICAL URBANA"_cp,
      "(   ) Até o vencimento, pagável nas Lotéricas, Agências da CAIXA e Rede Bancária"_cp,
      "(   ) Documento vencido pagável somente nas agências da CAIXA"_cp,
      "(   ) Guia Vencida - cobrar multa de 10% nos trinta primeiros dias, com adicional",
      "(   ) de 2% por mês subsequente de atraso e juros de mora de 1% ao mês e correção monetária."_cp,
      "(   ) Sacado - Nome e Endereço"_cp,
      "(   ) Sacador/Avalista - Deixar em branco",
      "(   ) (=)Valor do documento;",
      "(   ) (-)Desconto/Abatimento",
      "(   ) (-)Outras Deduções/Abatimento;"_cp,
      "(   ) (+)Mora/Multa/Juros;",
      "(   ) (+)Outros Acréscimos;"_cp,
      "(   ) (=)Valor Cobrado",
      "(   ) A ficha de compensação tem De 88 a 108 mm de altura por 166 (Papel A4) a 216 mm (Papel Carta) de "_cp
      "comprimento;"_cp,
      "(   ) O número código que identifica o Banco, utiliza caractere de 5 mm e tem o DV = 0 ou seja 104-0"_cp,
      "(   ) Código de barras, 13mm x 103mm zona de silêncio de 5 mm a esquerda."_cp,
      "(   ) Código de barras - Do fim do papel até o centro da barra tem 12mm"_cp,
      "(   ) A Representação Numérica do código de barras fica na parte superior direita do documento"_cp,
      "(   ) A Representação Numérica tem Caracteres: de 3,5 mm a 4 mm de altura"_cp,
      "(   ) A Representação Numérica está separada corretamente."_cp,
  });
  lines.insert(lines.end(), rest.begin(), rest.end());
  return lines;
}

// The summary row of a boleto: digit 27, digits 43-44, due date, Nosso
// Número, value right-aligned in ten, the typeable line with four-blank gaps.
std::string Row(const std::string& b, std::string_view due, std::string_view value) {
  return Cat(b.substr(26, 1), b.substr(42, 2), ' ', due, ' ', b.substr(30, 12), ' ',
             std::string(value.size() < 10 ? 10 - value.size() : 0, ' '), value, "  [", PrintedLine(b, "    "), ']');
}

Lines MissingDigits(std::initializer_list<int> present) {
  Lines lines;
  for (int d = 1; d <= 9; ++d)
    if (std::find(present.begin(), present.end(), d) == present.end())
      lines.push_back(Cat("Advertência: Faltou Boleto com dígito "_cp, d));
  return lines;
}

FakeHost Several(std::vector<std::string> answers, Outcome::Status expected) {
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  EXPECT_EQ(RunCommand(SITCSVriosboletos1Click, host).status, expected);
  return host;
}

// A boleto whose Nosso Número is chosen so that its general digit is `digit`.
SitcsBoleto WithGeneralDigit(int digit, SitcsBoleto boleto = {}) {
  for (int n = 1;; ++n) {
    boleto.nossoNumero = std::string(11 - std::to_string(n).size() + 1, '0') + std::to_string(n);
    if (BoletoGeneralDigit(boleto.Barcode()) == digit) return boleto;
  }
}

TEST(SitcsSeveral, OneBoletoReportInFull) {
  const std::string b = SitcsBoleto{}.Barcode();
  const FakeHost host = Several({"1", "12345", "0035", b}, Outcome::Status::Clean);
  Lines expected = L({"BARRA 1 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345"});
  const int dv = b[4] - '0';
  const Lines missing = MissingDigits({dv});
  expected.insert(expected.end(), missing.begin(), missing.end());
  // Factor 1500 of the cycle that began at 1000 on 22/02/2025.
  const Lines checklist = Checklist({Row(b, "07/07/2026", "123,45")}, "0035/S-12345");
  expected.insert(expected.end(), checklist.begin(), checklist.end());
  EXPECT_EQ(host.report, expected);
  EXPECT_EQ(host.report.size(), 1u + 8u + 75u);

  ASSERT_EQ(host.prompts.size(), 4u);
  EXPECT_EQ(host.prompts[0].caption, "Quantidade");
  EXPECT_EQ(host.prompts[0].prompt, "Entre com a quantidade de boletos");
  EXPECT_EQ(host.prompts[0].defaultText, "2");
  EXPECT_EQ(host.prompts[1].caption, "Código SINDICAL"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite o código Sindical"_cp);
  EXPECT_EQ(host.prompts[1].defaultText, "XXXXX");
  EXPECT_EQ(host.prompts[2].caption, "Agência"_cp);
  EXPECT_EQ(host.prompts[2].prompt, "Digite a agência do convênio"_cp);
  EXPECT_EQ(host.prompts[2].defaultText, "0035");
  EXPECT_EQ(host.prompts[3].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[3].prompt, "Passe o leitor no Código de Barras"_cp);
}

TEST(SitcsSeveral, EachEntityType) {
  const struct {
    char type;
    std::string_view entity;
  } cases[] = {
      {'2', " Federação   :0035/F-345"_cp},
      {'3', " Confederação:0035/C-345"_cp},
      {'4', " MTE/CEES    :0035/M-345"},
  };
  for (const auto& c : cases) {
    SitcsBoleto boleto;
    boleto.type = c.type;
    boleto.code = "345";
    const FakeHost host = Several({"1", "345", "0035", boleto.Barcode()}, Outcome::Status::Clean);
    EXPECT_EQ(host.report.at(0), Cat("BARRA 1 CORRETA !! Tamanho: 44 ", c.entity));
    EXPECT_EQ(host.report.at(host.report.size() - 59),
              Cat("(   ) Nome da Entidade  (   ) Código da Entidade Sindical "_cp, c.entity.substr(14)));
  }
}

struct Corruption {
  std::string barcode;
  Lines lines;  // what the boleto writes
};

TEST(SitcsSeveral, EachCorruptionGivesItsLines) {
  const std::string valid = SitcsBoleto{}.Barcode();
  const auto with = [&](std::size_t pos, std::string_view text, bool redigit = true) {
    std::string b = valid;
    b.replace(pos - 1, text.size(), text);
    if (redigit) b[4] = static_cast<char>('0' + BoletoGeneralDigit(b));
    return b;
  };
  const std::string invalid(Cat("BARRA 1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Sindicato   :0035/S-"_cp));
  const std::string wrongDv = with(5, valid[4] == '9' ? "8" : "9", false);
  const Corruption cases[] = {
      {with(20, "98"), L({invalid + "12345", "Posição 20 não é 97."_cp})},
      {with(29, "78"), L({invalid + "12345", " Posição 29 não é 77"_cp})},
      {with(20, "98123457178"), L({invalid + "12345", "Posição 20 não é 97. Posição 29 não é 77"_cp})},
      {with(22, "54321"),
       L({invalid + "54321", " >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado 54321"_cp})},
      // A federation code read at 24-26 against a five-digit union code.
      {with(28, "2"), L({"BARRA 1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Federação   :0035/F-345"_cp,
                         " >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado 345"_cp})},
      {with(28, "5"), L({"BARRA 1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS.Tipo Inválido !!!"_cp,
                         " >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado 345"_cp})},
      // The bank's own tests of positions 1-5 reject the boleto too.
      {with(1, "237"), L({"Banco não é 104 - CAIXA"_cp, invalid + "12345"})},
      {with(4, "0"), L({"Moeda não é REAL na posição 4"_cp, invalid + "12345"})},
      {wrongDv,
       L({Cat("Dígito Geral inválido, esperado "_cp, valid[4], " encontrado ", wrongDv[4]), invalid + "12345"})},
      // No due date is only a notice.
      {with(6, "0000"),
       L({"Barra sem FATOR DE VENCIMENTO.", "BARRA 1 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345"})},
  };
  for (const Corruption& c : cases) {
    const FakeHost host =
        Several({"1", "12345", "0035", c.barcode},
                c.lines.back().starts_with("BARRA 1 CORRETA") ? Outcome::Status::Clean : Outcome::Status::Faulty);
    ASSERT_GE(host.report.size(), c.lines.size());
    EXPECT_EQ(Lines(host.report.begin(), host.report.begin() + static_cast<std::ptrdiff_t>(c.lines.size())), c.lines)
        << c.barcode;
    EXPECT_TRUE(host.report.at(c.lines.size()).starts_with("Advert")) << c.barcode;
  }
}

TEST(SitcsSeveral, TypeThatIsNoDigitStopsTheCommand) {
  std::string b = SitcsBoleto{}.Barcode();
  b[27] = 'X';
  const FakeHost host = Several({"2", "12345", "0035", SitcsBoleto{}.Barcode(), b}, Outcome::Status::Aborted);
  ASSERT_EQ(host.report.size(), 1u);
  EXPECT_TRUE(host.report[0].starts_with("BARRA 1 CORRETA"));
}

TEST(SitcsSeveral, ZeroValueLinesAndTheirNotesOnce) {
  SitcsBoleto zero;
  zero.value = "0000000000";
  const std::string paid = SitcsBoleto{}.Barcode();
  const FakeHost host = Several({"3", "12345", "0035", paid, zero.Barcode(), zero.Barcode()}, Outcome::Status::Clean);
  const auto first = std::find(host.report.begin(), host.report.end(), "Resumo dos boletos para conferência:"_cp);
  ASSERT_NE(first, host.report.end());
  const Lines before(host.report.begin(), first);
  const Lines tail(before.end() - 5, before.end());
  EXPECT_EQ(tail, L({"Atenção: Boleto 2 está sem valor, veja observação abaixo"_cp,
                     "Atenção: Boleto 3 está sem valor, veja observação abaixo"_cp,
                     "Os boletos acima que estão sem valor, deverão ter os seguintes dizeres impressos:"_cp,
                     "Não receber este documento após o vencimento."_cp,
                     "Emita nova guia no site da CAIXA (www.caixa.gov.br), área Empresas ou Você, Contribuição "_cp
                     "Sindical Urbana, Emissão de Guias, e pague somente nas agências da CAIXA."_cp}));
  EXPECT_EQ(*(first + 3), Row(zero.Barcode(), "07/07/2026", "0,00"));
}

TEST(SitcsSeveral, QuantityZeroWritesOnlyTheNineWarnings) {
  const FakeHost host = Several({"0"}, Outcome::Status::Clean);
  EXPECT_EQ(host.report, MissingDigits({}));
  EXPECT_EQ(host.prompts.size(), 3u);
}

TEST(SitcsSeveral, EveryGeneralDigitPresentMeansNoWarning) {
  std::vector<std::string> answers = {"9", "12345", "0035"};
  for (int d = 1; d <= 9; ++d) answers.push_back(WithGeneralDigit(d).Barcode());
  const FakeHost host = Several(answers, Outcome::Status::Clean);
  EXPECT_EQ(host.report.at(9), "Resumo dos boletos para conferência:"_cp);
  for (const std::string& line : host.report) EXPECT_FALSE(line.starts_with("Advert")) << line;
}

TEST(SitcsSeveral, ValueOfMillionsKeepsAllItsDigits) {
  SitcsBoleto big;
  big.value = "1234567890";
  const FakeHost host = Several({"1", "12345", "0035", big.Barcode()}, Outcome::Status::Clean);
  const auto row = std::find(host.report.begin(), host.report.end(), Row(big.Barcode(), "07/07/2026", "12.345.678,90"));
  EXPECT_NE(row, host.report.end());
}

// ---- From a file.

FakeHost FromFile(const std::string& content, Outcome::Status expected) {
  const TempFile file(content);
  FakeHost host;
  host.files.push_back(file.path());
  host.answers = {"12345", "0035"};
  EXPECT_EQ(RunCommand(SITCSCdigodeBarrasViaarquivo1Click, host).status, expected);
  return host;
}

TEST(SitcsFile, DialogAndCancel) {
  FakeHost host;
  EXPECT_EQ(RunCommand(SITCSCdigodeBarrasViaarquivo1Click, host).status, Outcome::Status::Clean);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo com os códigos de barras"_cp);
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Texto);
  EXPECT_TRUE(host.prompts.empty());
  EXPECT_TRUE(host.report.empty());
}

TEST(SitcsFile, EmptyFileWritesTheWarningsAndTheChecklist) {
  const FakeHost host = FromFile("", Outcome::Status::Clean);
  Lines expected = MissingDigits({});
  const Lines checklist = Checklist({}, "");
  expected.insert(expected.end(), checklist.begin(), checklist.end());
  EXPECT_EQ(host.report, expected);
}

TEST(SitcsFile, FiveThousandBoletosAreCheckedWhole) {
  // General digit 1 only on the last boleto, value zero only on boleto 4500.
  std::vector<std::string> lines;
  for (int n = 1; lines.size() < 4999; ++n) {
    SitcsBoleto boleto;
    boleto.nossoNumero = Cat(std::string(12 - std::to_string(n).size(), '0'), n);
    if (lines.size() == 4499) boleto.value = "0000000000";
    if (BoletoGeneralDigit(boleto.Barcode()) != 1) lines.push_back(boleto.Barcode());
  }
  lines.push_back(WithGeneralDigit(1).Barcode());
  const FakeHost host = FromFile(CrLfFile(lines), Outcome::Status::Clean);
  const Lines& r = host.report;
  EXPECT_EQ(r.at(4999), "BARRA 5000 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345");
  EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const std::string& l) { return l.starts_with("BARRA "); }), 5000);
  for (const std::string& line : r) EXPECT_FALSE(line.starts_with("Advert")) << line;
  EXPECT_EQ(r.at(5000), "Atenção: Boleto 4500 está sem valor, veja observação abaixo"_cp);
  const auto head = std::find(r.begin(), r.end(), "Resumo dos boletos para conferência:"_cp);
  ASSERT_NE(head, r.end());
  EXPECT_EQ(*(head + 2 + 4499), Row(lines[4499], "07/07/2026", "0,00"));
  EXPECT_EQ(*(head + 2 + 4999), Row(lines[4999], "07/07/2026", "123,45"));
  EXPECT_EQ(*(head + 2 + 5000), kRule);
  EXPECT_EQ(r.size(), 5000u + 4u + 5000u + 74u);

  // Without that last boleto, digit 1 is missing.
  lines.pop_back();
  const FakeHost shorter = FromFile(CrLfFile(lines), Outcome::Status::Clean);
  EXPECT_EQ(shorter.report.at(4999), "Advertência: Faltou Boleto com dígito 1"_cp);
}

TEST(SitcsFile, BlankLineInTheMiddleStopsAtItsFactor) {
  const std::string b = SitcsBoleto{}.Barcode();
  const FakeHost host = FromFile(CrLfFile({b, "", b}), Outcome::Status::Aborted);
  EXPECT_EQ(host.report.size(), 1u);
}

// ---- The example file, through the command line.

TEST(SitcsFile, ExampleThroughTheCommandLine) {
  const std::string path = std::string(VERILOTE_SOURCE_DIR) + "/examples/arrecadacao/boletos_sitcs.txt";
  const std::vector<std::string_view> args = {"run",        "SITCSCdigodeBarrasViaarquivo1Click",
                                              "--file",     path,
                                              "--answer",   "12345",
                                              "--answer",   "0035",
                                              "--today",    "06/12/2026",
                                              "--encoding", "cp1252"};
  std::ostringstream out, err;
  EXPECT_EQ(CliMain(args, out, err), kExitFaulty);
  EXPECT_EQ(err.str(), "");
  Lines expected = L({
      "BARRA 1 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345",
      "BARRA 2 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345",
      "BARRA 3 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345",
      "BARRA 4 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Sindicato   :0035/S-54321"_cp,
      " >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado 54321"_cp,
      "Dígito Geral inválido, esperado 4 encontrado 5"_cp,
      "BARRA 5 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Sindicato   :0035/S-12345"_cp,
      "Advertência: Faltou Boleto com dígito 2"_cp,
      "Advertência: Faltou Boleto com dígito 4"_cp,
      "Advertência: Faltou Boleto com dígito 6"_cp,
      "Advertência: Faltou Boleto com dígito 9"_cp,
      "Atenção: Boleto 2 está sem valor, veja observação abaixo"_cp,
      "Os boletos acima que estão sem valor, deverão ter os seguintes dizeres impressos:"_cp,
      "Não receber este documento após o vencimento."_cp,
      "Emita nova guia no site da CAIXA (www.caixa.gov.br), área Empresas ou Você, Contribuição Sindical Urbana, "_cp
      "Emissão de Guias, e pague somente nas agências da CAIXA."_cp,
  });
  const Lines checklist = Checklist(
      {
          "743 07/07/2026 000000000101     123,45  [10499.71235    45717.700004    00000.101436    7    "
          "15000000012345]",
          "743 27/07/2026 000000000102       0,00  [10499.71235    45717.700004    00000.102434    1    "
          "15200000000000]",
          "207 06/08/2026 000000000103   2.500,00  [10499.71235    45217.700009    00000.103077    3    "
          "15300000250000]",
          "743 07/07/2026 000000000104     123,45  [10499.75434    21717.700005    00000.104430    8    "
          "15000000012345]",
          "743 07/07/2026 000000000105     999,00  [10499.71235    45717.700004    00000.105437    5    "
          "15000000099900]",
      },
      "0035/S-12345");
  expected.insert(expected.end(), checklist.begin(), checklist.end());
  std::string text;
  for (const std::string& line : expected) text += line + "\n";
  EXPECT_EQ(out.str(), text);
}

}  // namespace
}  // namespace verilote
