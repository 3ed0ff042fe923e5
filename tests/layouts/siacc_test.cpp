// The SIACC commands. "SIACC - Arquivo Remessa": one broken field at a time
// against the clean example's report (the lines that go and come, nothing
// else; the examples test holds that report byte for byte).
#include "layouts/siacc.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "cli/cli.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/allowed_values.hpp"

namespace verilote {
namespace {

using testing::Put;
using Lines = std::vector<std::string>;
using S = std::string;

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/siacc/";

// The clean example, every digit, count and total right: 1 file header; lote
// 2-10: A (a CAIXA account), its B, A (an OP), K, O, N (GPS), N (DARF); lote
// 11-14: J (a CAIXA boleto due 10/12/2026, factor 1656), J-52; 15 trailer.
Lines CleanSiaccFile() { return testing::ExampleRecords("siacc/remessa_siacc_ok.rem"); }

testing::Validation Validate(const Lines& lines, CivilDate today = {2026, 12, 6}) {
  return testing::Validate(CaixaProgramado1Click, lines, today);
}

// The lines that breaking the clean file with the edits removes and adds.
struct Edit {
  std::size_t record, pos;
  S value;
};
struct Broken : testing::ReportChanges {
  Outcome::Status status;
};
Broken Break(const std::vector<Edit>& edits, CivilDate today = {2026, 12, 6}) {
  Lines lines = CleanSiaccFile();
  for (const Edit& e : edits) Put(lines[e.record - 1], e.pos, e.value);
  const testing::Validation run = Validate(lines, today);
  return {testing::Changes(Validate(CleanSiaccFile(), today).report, run.report), run.status};
}

const S kJose = "JOSE DA SILVA 1234.001.00004321-8";
S Reg(int n, std::string_view text) { return Cat("Reg:", n, text); }
S Reg_(int n, std::string_view text) { return Cat("Reg: ", n, text); }
S Fim(std::string_view count, std::string_view total) {
  return Cat("==> Fim do lote com ", count, " registros. Totalizando: R$ ", total);
}
S Values(int reg, std::string_view computed, std::string_view found = "000000000000180000") {
  return Reg(reg, Cat(" Total de valores no lote inválido !! Encontrado:"_cp, found, " Calculado:", computed));
}

struct Case {
  std::vector<Edit> edits;
  Lines removed, added;
  bool faulty = true;
};

TEST(SiaccRemessa, EachBrokenFieldWritesItsLine) {
  const S conta = "Conta corrente: 1234.003.", param{"      Parâmetro de transmissão:01"_cp};
  const S early = "10498100000000123451122339000100000000000073", late = "10492999900000123451122339000100000000000073";
  // clang-format off
  const std::vector<Case> cases = {
      // Every record: characters, length, type, bank, lote number.
      {{{6, 75, "\xE7"}}, {}, {Reg(6, " Advertência: Registro contém caracter que não será reconhecido pelo sistema."_cp)}},
      {{{3, 241, "X"}}, {}, {Reg(3, " Tamanho de registro inválido (241)"_cp)}},
      {{{15, 8, "2"}}, {}, {Reg(15, " Tipo de registro inválido. Esperado 0, 1, 3, 5 ou 9"_cp),
                            Reg(15, " Sequencial de lote errado."), S("Erro grave: Falta registro código 9"_cp)}},
      {{{3, 4, "0002"}}, {}, {Reg(3, " Número de lote inválido campo A.02"_cp), Reg(3, " Sequencial de lote errado.")}},
      {{{4, 14, "C"}}, {}, {Reg(4, " Código do segmento C inválido ou não esperado nesta versão."_cp)}},
      // File header.
      {{{1, 41, "X"}}, {S("Ambiente:Produção        Parâmetro de transm:01"_cp)},
       {Reg(1, " Ambiente de cliente não é P ou T"_cp), S("Ambiente:        Parâmetro de transm:01"_cp)}},
      {{{1, 103, "BANCO"}}, {}, {Reg(1, " HEADER - Nome do banco esperado CAIXA, encontrado:BANCO")}},
      // Lote header.
      {{{11, 54, "12A4"}}, {Cat(conta, "00001234-3", param)}, {Reg(11, " HEADER - Dígito da agência inválido na posição 58."_cp),
       Cat("Conta corrente: 12A4.003.00001234-3", param), Reg(11, " DV da conta inválido no HEADER de LOTE"_cp)}},
      {{{2, 39, "0X"}}, {"Tipo compromisso:Pagamento a fornecedor", S("Código Convênio:123456-01-0001 Nome Convênio:EMPRESA TESTE LTDA            "_cp)},
       {Reg(2, " Tipo de compromisso não numérico."_cp), "Tipo compromisso:", S("Código Convênio:123456-0X-0001 Nome Convênio:EMPRESA TESTE LTDA            "_cp)}},
      // Segment A.
      {{{3, 18, "8,7"}}, {}, {Reg(3, Cat(" Tipo de documento inválido. Esperado 018,700,000,888. Campo A.08 ->"_cp, kJose))}},
      {{{3, 42, "9"}}, {}, {S("a conta encontrada na linha=3 não foi identificada como SIDEC nem NSGD.->JOSE DA SILVA 1234.001.00004321-9"_cp)}},
      {{{3, 147, "00"}}, {}, {Reg(3, " Número de parcelas não pode ser zero."_cp), Reg(3, " Erro na posição 151, dia inválido."_cp)}},
      // An amount its own row rejects is not added to the total.
      {{{3, 120, "00000000000150X"}}, {}, {Reg(3, Cat(" Valor lançamento não numérico.->"_cp, kJose)), Values(10, "30000")}},
      // Segment B.
      {{{4, 32, "6"}}, {}, {Reg(4, Cat(" CPF inválido de "_cp, kJose))}},
      // Segment J: digits, factor and amount of the barcode; totals.
      {{{12, 22, "4"}}, {}, {Reg_(12, " Dígito verificador do código de barras está errado. Calculado 5 encontrado 4"_cp)}},
      {{{12, 92, "11122026"}}, {}, {Reg_(12, " Fator de vencimento incorreto. Calculado 1657 encontrado 1656")}},
      {{{12, 92, "32122026"}}, {}, {Reg(12, " Data de vencimento inválida !!"_cp)}},
      {{{12, 153, "000000000012346"}}, {}, {Values(14, "12346", "000000000000012345")}},
      {{{12, 189, "X"}}, {}, {Reg(12, " Advertência: Posição 189,14 deveria ser branco. Mas a CAIXA aceita preechido. Encontrado:X"_cp)}, false},
      // Segment J-52.
      {{{13, 35, "6"}}, {}, {Reg(13, " CPF inválido na posição 25."_cp)}},
      // Segments K, O and N.
      {{{6, 19, "8"}}, {}, {Reg(6, " Código segmento da empresa inválido. Campo K.09"_cp), Values(10, "175000")}},
      {{{8, 111, "2100  "}}, {}, {Reg(8, " Código da receita na posição 111 não obedece as regras de deslocamento no campo."_cp)}},
      {{{8, 117, "05"}}, {}, {Reg(8, " Tipo de Identificação do contribuinte inválido. Esperado de 01 a 09, exceto 05 encontrado 05"_cp)}},
      {{{6, 19, "3"}}, {}, {}, false},
      {{{6, 20, "5"}}, {}, {Reg(6, " Identificador de valor inválido. Esperado 6 ou 7"_cp)}},
      {{{6, 20, "9"}}, {}, {}, false},
      // Trailers.
      {{{10, 18, "000008"}}, {}, {Reg(10, " Total de registros no lote inválido !! Encontrado:000008 Calculado:9"_cp)}},
      {{{10, 24, "00000000000018000X"}}, {Fim("9", "1.800,00")}, {Reg(10, " campo 5.06 do trailler deveria ser numérico !!"_cp), Fim("9", "180,00")}},
      // The factor restarts at 1000 on 22/02/2025: factors are compared through
      // the dates they stand for (barcodes of factor 1000 and of 9999).
      {{{12, 18, early}, {12, 92, "22022025"}}, {}, {}, false},
      {{{12, 18, early}, {12, 92, "21022025"}}, {}, {Reg_(12, " Fator de vencimento diverge da data de vencimento. Calculado 9999 encontrado 1000. Possível pagamento antecipado previsto."_cp)}},
      {{{12, 18, late}, {12, 92, "22022025"}}, {}, {Reg_(12, " Fator de vencimento incorreto. Calculado 1000 encontrado 9999")}},
      // Amounts beyond 32 bits are summed exactly.
      {{{3, 120, "999999999999999"}, {10, 24, "001000000000029999"}}, {Fim("9", "1.800,00")}, {Fim("9", "10.000.000.000.299,99")}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(Cat("record ", c.edits[0].record, " position ", c.edits[0].pos, " value ", c.edits[0].value));
    Broken broken = Break(c.edits);
    EXPECT_EQ(broken.status, c.faulty ? Outcome::Status::Faulty : Outcome::Status::Clean);
    EXPECT_EQ(broken.removed, c.removed);
    EXPECT_EQ(broken.added, c.added);
  }
}

// The paid amount of a J has no row of its own: converted as it stands.
TEST(SiaccRemessa, UntestedConversionsEndTheRun) {
  Lines lines = CleanSiaccFile();
  Put(lines[11], 153, "00000000001234X");
  const testing::Validation run = Validate(lines);
  EXPECT_EQ(run.status, Outcome::Status::Aborted);
  EXPECT_EQ(run.error, "'00000000001234X' is not a valid integer value");
}

TEST(SiaccRemessa, SeventyThousandRecordsAreNumberedRight) {
  const Lines clean = CleanSiaccFile();
  Lines lines(clean.begin(), clean.begin() + 3);  // headers and the A
  for (std::size_t seq = 2; lines.size() < 69998; ++seq) {
    lines.push_back(clean[3]);
    Put(lines.back(), 9, PadZeroLeft(Cat(seq), 5));
  }
  Put(lines[69997], 32, "6");  // record 69998's CPF
  lines.push_back(clean[9]);
  Put(lines.back(), 18, "069998000000000000150000");
  lines.push_back(clean[14]);
  Put(lines.back(), 18, "000001070000");
  const testing::Validation run = Validate(lines);
  EXPECT_EQ(run.status, Outcome::Status::Faulty);
  const Lines tail(run.report.end() - 6, run.report.end());
  EXPECT_EQ(tail, (Lines{Reg(69998, Cat(" CPF inválido de "_cp, kJose)), " ", Fim("69998", "1.500,00"), " ", " ",
                         "==== Fim da leitura do arquivo ===="}));
}

// ---- "Gera arquivo para Importação a partir de remessa": the exact bytes of
// the import file, and a failure at any point leaving the previous file whole.

namespace fs = std::filesystem;
using testing::ReadBytes;
const Lines kCleanFile = CleanSiaccFile();  // records 3 and 5 are A segments, 4 is a B
const fs::path kDir = fs::temp_directory_path() / Cat("verilote-siacc-import-", platform::ProcessId());
const S kOutput = (kDir / kSiaccImportName).string();

S Write(std::string_view name, const Lines& lines) {
  fs::create_directories(kDir);
  std::ofstream((kDir / name).string(), std::ios::binary) << testing::CrLfFile(lines);
  return (kDir / name).string();
}

testing::Validation ImportFrom(const S& file, Lines answers = {}) {
  testing::Validation run{};
  run.host.files.push_back(file);
  run.host.answers.assign(answers.begin(), answers.end());
  const Outcome outcome = RunCommand(GeraarquivoparaImportaoapartirderemessa1Click, run.host);
  run.status = outcome.status;
  run.error = testing::FirstLine(outcome.message);
  return run;
}

// A line as the layout lists it; `b` holds CEP, street, number, 15 blanks,
// city, district, 5 blanks and state; `a` bank, agency, its digit, account.
S Line(std::string_view code, std::string_view phone, std::string_view name, std::string_view b, std::string_view cpf,
       std::string_view a) {
  return Cat(code, PadSpaceRight(name, 30), PadSpaceRight(name, 30), PadSpaceRight(phone, 15), b, "F000", cpf, "0000E",
             S(20, ' '), "1,00", S(10, ' '), a, " BRL\r\n");
}
const S kB =
    Cat("70000000RUA DAS ACACIAS", S(15, ' '), "00010", S(15, ' '), "BRASILIA", S(12, ' '), "CENTRO", S(14, ' '), "DF");
const S kName = "JOSE DA SILVA", kJoseA = "1040123450001000043218", kCpf = "52998224725";

TEST(SiaccImport, OneLinePerBWithTheLastA) {
  S b2 = kCleanFile[3];
  testing::Put(b2, 22, "11144477735");
  // A B before any A, cut short after its CPF; two Bs of the first A; one of the second A.
  const S file = Write("remessa.rem", {kCleanFile[0], kCleanFile[3].substr(0, 32), kCleanFile[2], kCleanFile[3], b2,
                                       kCleanFile[4], kCleanFile[3], kCleanFile[9]});
  const testing::Validation run = ImportFrom(file, {"1a23", "(61) 3333-4444"});
  ASSERT_EQ(run.status, Outcome::Status::Clean) << run.error;
  EXPECT_EQ(run.host.dialogs[0].title, "Selecione o arquivo remessa SIACC");
  const auto& p = run.host.prompts;
  EXPECT_EQ(Cat(p[0].caption, '|', p[0].prompt, '|', p[0].defaultText),
            "Código Inicial|Digite o código inicial|000001"_cp);
  EXPECT_EQ(Cat(p[1].caption, '|', p[1].prompt, '|', p[1].defaultText),
            "Número Telefone da Empresa|Digite o número do telefone sem DDD|"_cp);
  const S phone = "6133334444";
  EXPECT_EQ(ReadBytes(kOutput), Line("000123", phone, "", S(100, ' '), kCpf, S(22, ' ')) +
                                    Line("000124", phone, kName, kB, kCpf, kJoseA) +
                                    Line("000125", phone, kName, kB, "11144477735", kJoseA) +
                                    Line("000126", phone, "MARIA SOUZA", kB, kCpf, "1040123450000000000000"));
  fs::remove_all(kDir);
}

// A refusal leaves the previous import file whole, and no work file beside it.
void ExpectRefused(const testing::Validation& run, std::size_t files, const S& before) {
  EXPECT_EQ(run.status, Outcome::Status::Aborted);
  EXPECT_NE(run.error.find(kOutput), S::npos) << run.error;
  EXPECT_EQ(run.host.messages, Lines{});
  EXPECT_EQ(std::distance(fs::directory_iterator(kDir), {}), static_cast<std::ptrdiff_t>(files));
  EXPECT_EQ(ReadBytes(kOutput), before);
}

TEST(SiaccImport, RefusalsKeepThePreviousFile) {
  // A remittance bearing the import file's name, itself or through a link.
  const S own = Write(kSiaccImportName, kCleanFile), bytes = ReadBytes(own);
  ExpectRefused(ImportFrom(own), 1, bytes);
#ifndef _WIN32
  fs::create_symlink(own, kDir / "link.rem");
  ExpectRefused(ImportFrom((kDir / "link.rem").string()), 2, bytes);
#endif
  fs::remove_all(kDir);
  // Codes stop at 999999 rather than wrap to 100000.
  const S two = Write("remessa.rem", {kCleanFile[2], kCleanFile[3], kCleanFile[3]});
  ASSERT_EQ(ImportFrom(two, {"999998"}).status, Outcome::Status::Clean);
  const S before = ReadBytes(kOutput);
  EXPECT_EQ(before.substr(263, 6), "999999");
  ExpectRefused(ImportFrom(two, {"999999"}), 2, before);
  fs::remove_all(kDir);
}

// An earlier import file is replaced; Cancel at the prompts (no --answer)
// gives code 000001 and no telephone.
TEST(SiaccImport, ThroughTheCli) {
  const S file = Write("r.rem", kCleanFile);
  std::ofstream(kOutput) << "earlier";
  std::ostringstream out, err;
  const std::string_view args[] = {"run", "GeraarquivoparaImportaoapartirderemessa1Click", "--file", file};
  EXPECT_EQ(CliMain(args, out, err), kExitClean);
  EXPECT_EQ(err.str(), "Criado arquivo: Importa_SIACC_Empregados.TXT\nNa mesma pasta do arquivo original.\n");
  EXPECT_EQ(ReadBytes(kOutput), Line("000001", "", kName, kB, kCpf, kJoseA));
  fs::remove_all(kDir);
}

}  // namespace
}  // namespace verilote
