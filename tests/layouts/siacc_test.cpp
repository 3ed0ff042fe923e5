// "SIACC - Arquivo Remessa": the clean file's whole report, then one broken
// field at a time against it (the lines that go and come, nothing else).
#include "layouts/siacc.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "layouts/siacc_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSiaccFile;
using testing::Put;
using Lines = std::vector<std::string>;
using S = std::string;

struct Result {
  Outcome::Status status;
  S error;
  Lines report;
};

Result Validate(const Lines& lines, CivilDate today = {2026, 12, 6}) {
  const testing::TempFile file(testing::CrLfFile(lines), ".rem");
  testing::FakeHost host;
  host.today = today;
  host.files.push_back(file.path());
  const Outcome outcome = RunCommand(CaixaProgramado1Click, host);
  Lines report = host.report;
  for (S& line : report)
    if (const std::size_t at = line.find(file.path()); at != S::npos) line.replace(at, file.path().size(), "FILE");
  return {outcome.status, outcome.message, report};
}

struct Edit {
  std::size_t record, pos;
  S value;
};

// Breaks the clean file with the edits; the report changes and the verdict.
struct Broken : testing::ReportChanges {
  Outcome::Status status;
};
Broken Break(const std::vector<Edit>& edits, CivilDate today = {2026, 12, 6}) {
  Lines lines = CleanSiaccFile();
  for (const Edit& e : edits) Put(lines[e.record - 1], e.pos, e.value);
  const Result run = Validate(lines, today);
  return {testing::Changes(Validate(CleanSiaccFile()).report, run.report), run.status};
}

const S kJose = "JOSE DA SILVA 1234.001.00004321-8";
S Reg(int n, std::string_view text) { return Cat("Reg:", n, text); }
S Reg_(int n, std::string_view text) { return Cat("Reg: ", n, text); }
S Fim(std::string_view count, std::string_view total) {
  return Cat("==> Fim do lote com ", count, " registros. Totalizando: R$ ", total);
}
const S kFim1 = Fim("9", "1.800,00");
S Values(int reg, std::string_view found, std::string_view computed) {
  return Reg(reg, Cat(" Total de valores no lote inválido !! Encontrado:"_cp, found, " Calculado:", computed));
}

TEST(SiaccRemessa, CleanFileGivesTheCleanReport) {
  const Result run = Validate(CleanSiaccFile());
  EXPECT_EQ(run.status, Outcome::Status::Clean) << run.error;
  EXPECT_EQ(run.report, testing::CleanSiaccReport());
}

TEST(SiaccRemessa, EmptyFileMissesEveryRecordType) {
  Lines expected = testing::Lines({"Arquivo:FILE", "SIACC - Validação do arquivo remessa FILE"_cp, " "});
  for (const char type : S("01359")) expected.push_back(Cat("Erro grave: Falta registro código "_cp, type));
  expected.insert(expected.end(), {" ", " ", "==== Fim da leitura do arquivo ===="});
  const Result run = Validate({});
  EXPECT_EQ(run.status, Outcome::Status::Faulty);
  EXPECT_EQ(run.report, expected);
}

// An expected line as a case writes it: a _cp literal, a plain one or a string.
struct Text : S {
  Text(std::string_view t) : S(t) {}
  Text(const S& t) : S(t) {}
  Text(const char* t) : S(t) {}
};
Lines L(const std::vector<Text>& texts) { return Lines(texts.begin(), texts.end()); }

struct Case {
  std::vector<Edit> edits;
  std::vector<Text> removed, added;
  bool faulty = true;
};

TEST(SiaccRemessa, EachBrokenFieldWritesItsLine) {
  const S conta = "Conta corrente: 1234.003.", param{"      Parâmetro de transmissão:01"_cp};
  const S lote2 = Cat("Conta corrente: 1234.003.00001234-3", param), cpf = S(" CPF inválido."_cp);
  // clang-format off
  const std::vector<Case> cases = {
      // Every record: characters, length, type, bank, lote number.
      {{{6, 75, "\xE7"}}, {}, {Reg(6, " Advertência: Registro contém caracter que não será reconhecido pelo sistema."_cp)}},
      {{{3, 241, "X"}}, {}, {Reg(3, " Tamanho de registro inválido (241)"_cp)}},
      {{{2, 1, "105"}}, {}, {Reg(2, " Código do banco não é 104. Encontrado:105"_cp)}},
      {{{15, 8, "2"}}, {}, {Reg(15, " Tipo de registro inválido. Esperado 0, 1, 3, 5 ou 9"_cp),
                            Reg(15, " Sequencial de lote errado."), "Erro grave: Falta registro código 9"_cp}},
      {{{2, 4, "000X"}}, {}, {Reg(2, " Número do lote não numérico."_cp)}},
      {{{3, 4, "0002"}}, {}, {Reg(3, " Número de lote inválido campo A.02"_cp), Reg(3, " Sequencial de lote errado.")}},
      {{{3, 9, "00002"}}, {}, {Reg(3, " Sequencial de lote inválido campo A.04"_cp)}},
      {{{4, 14, "C"}}, {}, {Reg(4, " Código do segmento C inválido ou não esperado nesta versão."_cp)}},
      // File header.
      {{{1, 9, "X"}}, {}, {Reg(1, " HEADER não tem filler na posição 9 tamanho 9."_cp)}},
      {{{1, 18, "1"}}, {}, {Reg(1, cpf)}},
      {{{1, 41, "X"}}, {"Ambiente:Produção        Parâmetro de transm:01"_cp},
       {Reg(1, " Ambiente de cliente não é P ou T"_cp), "Ambiente:        Parâmetro de transm:01"_cp}},
      {{{1, 39, "0 "}}, {"Ambiente:Produção        Parâmetro de transm:01"_cp},
       {"Ambiente:Produção        Parâmetro de transmissão inválido !!!!"_cp}, false},
      {{{1, 71, "4"}}, {conta + "00001234-3"}, {conta + "00001234-4", Reg(1, " DV da conta inválido no HEADER"_cp)}},
      {{{1, 63, "0000123A"}}, {conta + "00001234-3"}, {conta + "0000123A-3", Reg(1, " DV da conta inválido no HEADER"_cp)}},
      {{{1, 103, "BANCO"}}, {}, {Reg(1, " HEADER - Nome do banco esperado CAIXA, encontrado:BANCO")}},
      {{{1, 164, "090"}}, {}, {Reg(1, " Versão do LayOut não esperado nesta homologação."_cp)}},
      {{{1, 229, "X"}}, {}, {Reg(1, Cat(" HEADER Posição 229,12 deveria ser branco. Encontrado:X"_cp, S(11, ' ')))}},
      // Lote header.
      {{{2, 58, "4"}}, {}, {Reg(2, " HEADER - Dígito da agência inválido na posição 58."_cp)}},
      {{{11, 54, "12A4"}}, {lote2}, {Reg(11, " HEADER - Dígito da agência inválido na posição 58."_cp),
                                     Cat("Conta corrente: 12A4.003.00001234-3", param),
                                     Reg(11, " DV da conta inválido no HEADER de LOTE"_cp)}},
      {{{2, 14, "030"}}, {}, {Reg(2, " Versão do layout inválida esperado: 041 encontrado: 030"_cp)}},
      {{{2, 9, "X"}}, {}, {Reg(2, " Tipo de operação não é C ou D"_cp)}},
      {{{2, 10, "99"}}, {"Tipo de serviço: Pagamento fornecedor"_cp}, {"Tipo de serviço: Inválido"_cp}, false},
      {{{2, 39, "0X"}}, {"Tipo compromisso:Pagamento a fornecedor", "Código Convênio:123456-01-0001 Nome Convênio:EMPRESA TESTE LTDA            "_cp},
       {Reg(2, " Tipo de compromisso não numérico."_cp), "Tipo compromisso:", "Código Convênio:123456-0X-0001 Nome Convênio:EMPRESA TESTE LTDA            "_cp}},
      {{{2, 103, "AVISO"}}, {}, {"Mensagem de Aviso 1: AVISO" + S(35, ' ')}, false},
      // Segment A.
      {{{3, 18, "8,7"}}, {}, {Reg(3, Cat(" Tipo de documento inválido. Esperado 018,700,000,888. Campo A.08 ->"_cp, kJose))}},
      {{{3, 15, "1"}}, {}, {Reg(3, Cat(" Tipo de movimento inválido. Esperado 0 ou 9. Campo A.06 ->"_cp, kJose))}},
      {{{3, 42, "9"}}, {}, {"a conta encontrada na linha=3 não foi identificada como SIDEC nem NSGD.->JOSE DA SILVA 1234.001.00004321-9"_cp}},
      {{{3, 25, "5000"}}, {}, {"a conta encontrada na linha=3 não foi identificada como SIDEC nem NSGD.->JOSE DA SILVA 5000.001.00004321-8"_cp,
                               "Agência 5000 inválida na linha=3"_cp}},
      {{{3, 44, "JOS\xC9"}}, {}, {Reg(3, " Advertência: Registro contém caracter que não será reconhecido pelo sistema."_cp),
                                  Reg(3, Cat(" Caracter Inválido no Nome. ->"_cp, "JOS\xC9 DA SILVA 1234.001.00004321-8"))}},
      {{{3, 93, "3"}}, {}, {Reg(3, " Posição 93,1 deveria ser 0, 1 ou 2. Encontrado:3"_cp)}},
      {{{3, 94, "00000000"}}, {}, {Reg(3, " Data de vencimento zerada !!->" + kJose)}},
      {{{3, 147, "00"}}, {}, {Reg(3, " Número de parcelas não pode ser zero."_cp), Reg(3, " Erro na posição 151, dia inválido."_cp)}},
      {{{3, 147, "03"}, {3, 151, "32"}}, {}, {Reg(3, " Erro na posição 151, dia inválido."_cp)}},
      {{{3, 230, "1"}}, {}, {Reg(3, " Aviso ao favorecido inválido !!"_cp)}},
      {{{3, 178, " X"}}, {}, {Reg(3, " Posição 178,40. Encontrado:X"_cp)}},
      {{{5, 218, "12"}}, {}, {Reg(5, " Finalidade DOC:12 inválido !!"_cp)}},
      // An amount its own row rejects is not added to the total.
      {{{3, 120, "00000000000150X"}}, {}, {Reg(3, Cat(" Valor lançamento não numérico.->"_cp, kJose)), Values(10, "000000000000180000", "30000")}},
      // Segment B.
      {{{4, 32, "6"}}, {}, {Reg(4, Cat(" CPF inválido de "_cp, kJose))}},
      {{{4, 83, S(15, ' ')}}, {}, {Reg(4, " Falta Bairro de " + kJose)}},
      {{{4, 226, "X"}}, {}, {Reg(4, Cat(" Posição 226,15 deveria ser branco. Encontrado:X em "_cp, kJose))}},
      // Segment J: digits, factor and amount of the barcode; totals.
      {{{12, 22, "4"}}, {}, {Reg_(12, " Dígito verificador do código de barras está errado. Calculado 5 encontrado 4"_cp)}},
      {{{12, 92, "11122026"}}, {}, {Reg_(12, " Fator de vencimento incorreto. Calculado 1657 encontrado 1656")}},
      {{{12, 92, "09122026"}}, {}, {Reg_(12, " Fator de vencimento diverge da data de vencimento. Calculado 1655 encontrado 1656. Possível pagamento antecipado previsto."_cp)}},
      {{{12, 92, "32122026"}}, {}, {Reg(12, " Data de vencimento inválida !!"_cp)}},
      {{{12, 100, "000000000012346"}}, {}, {Reg_(12, " Valor informado no código de barras não é o mesmo informado no registro."_cp)}},
      {{{12, 153, "000000000012346"}}, {}, {Values(14, "000000000000012345", "12346")}},
      {{{12, 189, "X"}}, {}, {Reg(12, " Advertência: Posição 189,14 deveria ser branco. Mas a CAIXA aceita preechido. Encontrado:X"_cp)}, false},
      {{{12, 223, "05"}}, {}, {Reg(12, " Código da moeda inválido !!"_cp)}},
      {{{11, 12, "31"}}, {"Forma de lançam: Liq tit próprio banco"_cp}, {"Forma de lançam: Pag tit outro banco"_cp,
                          Reg(12, " No Header diz que é boleto não é CAIXA, mas foi encontrado boleto CAIXA."_cp)}},
      // Segment J-52.
      {{{13, 35, "6"}}, {}, {Reg(13, " CPF inválido na posição 25."_cp)}},
      {{{13, 76, "X"}}, {}, {Reg(13, " Posição 76 deveria ser 1 ou 2."_cp)}},
      {{{13, 148, S(40, ' ')}}, {}, {Reg(13, " Falta nome do Sacador/Avalista.")}},
      // Segments K, O and N.
      {{{6, 19, "8"}}, {}, {Reg(6, " Código segmento da empresa inválido. Campo K.09"_cp), Values(10, "000000000000180000", "175000")}},
      {{{7, 15, "1"}}, {}, {Reg(7, " Tipo de movimento inválido. Esperado 0 ou 9 encontrado 1"_cp)}},
      {{{7, 143, "X"}}, {}, {Reg(7, " Nosso número não deve ser preenchido."_cp)}},
      {{{8, 111, "2100  "}}, {}, {Reg(8, " Código da receita na posição 111 não obedece as regras de deslocamento no campo."_cp)}},
      {{{8, 137, "2031"}}, {}, {Reg(8, " Ano no campo MêsAno parece errado.."_cp)}},
      {{{9, 111, "  6106"}}, {}, {Reg(9, " Código 6106 de arrecadação não permitido."_cp)}},
      {{{9, 117, "05"}}, {}, {Reg(9, " Tipo de Identificação do contribuinte inválido. Esperado de 01 a 09, exceto 05 encontrado 05"_cp)}},
      {{{8, 133, "18"}}, {}, {Reg(8, " Identificação do tributo inválido. Esperado 16 ou 17 encontrado 18"_cp)}},
      // Trailers.
      {{{10, 18, "000008"}}, {}, {Reg(10, " Total de registros no lote inválido !! Encontrado:000008 Calculado:9"_cp)}},
      {{{10, 24, "00000000000018000X"}}, {kFim1}, {Reg(10, " campo 5.06 do trailler deveria ser numérico !!"_cp), Fim("9", "180,00")}},
      {{{10, 42, "000000000000000001"}}, {}, {Reg(10, " Total de moeda no lote inválido !! Encontrado:000000000000000001 Calculado:0"_cp)}},
      {{{10, 60, "00000X"}}, {}, {Reg(10, " Da posição 60 até a 65 não é numérica."_cp)}},
      {{{15, 18, "000003"}}, {}, {Reg(15, " Quantidade de lotes inválida !!"_cp)}},
      {{{15, 24, "000016"}}, {}, {Reg(15, " Quantidade de Registros no arquivo, inválida !!"_cp)}},
      // Amounts beyond 32 bits are summed exactly.
      {{{3, 120, "999999999999999"}, {10, 24, "001000000000029999"}}, {kFim1}, {Fim("9", "10.000.000.000.299,99")}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(Cat("record ", c.edits[0].record, " position ", c.edits[0].pos, " value ", c.edits[0].value));
    Broken broken = Break(c.edits);
    EXPECT_EQ(broken.status, c.faulty ? Outcome::Status::Faulty : Outcome::Status::Clean);
    EXPECT_EQ(broken.removed, L(c.removed));
    EXPECT_EQ(broken.added, L(c.added));
  }
}

// The due-date factor restarts at 1000 on 22/02/2025: factors are compared
// through the dates they stand for. Barcodes with factor 1000 (digit 8) and
// 9999 (digit 2).
TEST(SiaccRemessa, DueDateFactorAcrossTheRollover) {
  const S early = "10498100000000123451122339000100000000000073", late = "10492999900000123451122339000100000000000073";
  EXPECT_EQ(Break({{12, 18, early}, {12, 92, "22022025"}}).added, Lines{});
  EXPECT_EQ(Break({{12, 18, late}, {12, 92, "21022025"}}).added, Lines{});
  EXPECT_EQ(Break({{12, 18, early}, {12, 92, "21022025"}}).added,
            Lines{Reg_(12,
                       " Fator de vencimento diverge da data de vencimento. Calculado 9999 encontrado 1000. "
                       "Possível pagamento antecipado previsto."_cp)});
  EXPECT_EQ(Break({{12, 18, late}, {12, 92, "22022025"}}).added,
            Lines{Reg_(12, " Fator de vencimento incorreto. Calculado 1000 encontrado 9999")});
}

TEST(SiaccRemessa, GpsYearWindowFollowsToday) {
  const S wrong = Reg(8, " Ano no campo MêsAno parece errado.."_cp);
  EXPECT_EQ(Break({{8, 137, "2030"}}).added, Lines{});
  EXPECT_EQ(Break({{8, 137, "2032"}}, {2031, 1, 15}).added, Lines{});
  EXPECT_EQ(Break({{8, 137, "2033"}}, {2031, 1, 15}).added, Lines{wrong});
  EXPECT_EQ(Break({{8, 137, "2017"}}, {2031, 1, 15}).added, Lines{wrong});
}

TEST(SiaccRemessa, UntestedConversionsEndTheRun) {
  Lines lines = CleanSiaccFile();
  Put(lines[2], 4, "00X1");
  Result run = Validate(lines);
  EXPECT_EQ(run.status, Outcome::Status::Aborted);
  EXPECT_EQ(run.error, "'00X1' is not a valid integer value");
  EXPECT_EQ(run.report.back(), " ");  // the lines of records 1 and 2 stay
  lines = CleanSiaccFile();
  Put(lines[11], 153, "00000000001234X");  // the paid amount of a J has no row of its own
  run = Validate(lines);
  EXPECT_EQ(run.status, Outcome::Status::Aborted);
  EXPECT_EQ(run.error, "'00000000001234X' is not a valid integer value");
}

TEST(SiaccRemessa, SeventyThousandRecordsAreNumberedRight) {
  const Lines clean = CleanSiaccFile();
  Lines lines(clean.begin(), clean.begin() + 3);  // headers and the A
  for (std::size_t seq = 2; lines.size() < 69998; ++seq) lines.push_back(testing::Renumbered(clean[3], 1, seq));
  Put(lines[69997], 32, "6");  // record 69998's CPF
  lines.push_back(clean[9]);
  Put(lines.back(), 18, "069998000000000000150000");
  lines.push_back(clean[14]);
  Put(lines.back(), 18, "000001070000");
  const Result run = Validate(lines);
  EXPECT_EQ(run.status, Outcome::Status::Faulty);
  const Lines tail(run.report.end() - 6, run.report.end());
  EXPECT_EQ(tail, (Lines{Reg(69998, Cat(" CPF inválido de "_cp, kJose)), " ", Fim("69998", "1.500,00"), " ", " ",
                         "==== Fim da leitura do arquivo ===="}));
}

}  // namespace
}  // namespace verilote
