// The files rebuilt from the bank's listings ("Sacados", "Títulos") and the
// SICOB reconciliation, through verilote-cli on the examples and with a
// scripted host for the sizes and the failures.
#include "tools/database_rebuild.hpp"

#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report_output.hpp"
#include "banking/text.hpp"
#include "tools/rewrite_scratch.hpp"
#include "tools/sicob_reconciliation.hpp"
#include "tools/sigcb_repair.hpp"

namespace verilote {
namespace {

using testing::CrLfFile;
using testing::ReadBytes;
using testing::Scratch;
using L = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kExamples = VERILOTE_SOURCE_DIR "/examples/";

// The payer import record and the item import record, as the client
// program's layouts lay them out.
std::string PayerRecord(std::string_view doc, std::string_view kind, std::string_view name, std::string_view address,
                        std::string_view district, std::string_view city, std::string_view state,
                        std::string_view cep) {
  return Cat(std::string(7, ' '), PadZeroLeft(doc, 15), PadSpaceLeft(kind, 16), PadSpaceRight(doc, 15),
             PadSpaceRight(name, 40), PadSpaceRight(name, 40), PadSpaceRight(address, 40), PadSpaceRight(district, 15),
             PadSpaceRight(city, 15), state, cep);
}
std::string ItemRecord(std::string_view n, std::string_view doc, std::string_view due, std::string_view cents) {
  const std::string today = "06122026", z(16, '0'), z14(14, '0');
  return Cat(n.substr(6), "    ", doc, due, today, "02N", today, "1", n.substr(2), "  ", PadZeroLeft(cents, 15), "2",
             z14, due, z14, due, z14, due, z.substr(1), due, z14, z, "30", std::string(270, ' '), "F",
             std::string(14, ' '), "U000S");
}

// Every command of this folder's SIGCB menu through a copy of verilote-cli,
// whose own directory is the program directory the files go to.
TEST(RebuildCli, Examples) {
  Scratch program("");
  const std::string dir = program.dir.string() + "/", cli = dir + "verilote-cli";
  fs::copy_file(VERILOTE_CLI_PATH, cli);
  for (const char* name : {"titu.txt", "tbTitulos.txt"})
    fs::copy_file(kExamples + "sicob_conciliacao/" + name, dir + name);
  fs::copy_file(kExamples + "sigcb240/remessa_sigcb240_carne.rem", program.file, fs::copy_options::overwrite_existing);
  std::string nsa = ReadBytes(kExamples + "sigcb240/remessa_sigcb240_carne_sem_y.rem");
  for (const std::size_t at : {157, 242 + 185, 9 * 242 + 185}) nsa.replace(at, 6, "000124");  // records 1, 2 and 10
  const std::string gone(" Não existe mais no cadastro da CAIXA."_cp), nf("Nosso Número %s não encontrado."_cp);
  const auto notFound = [&nf](std::string_view n) { return std::string(nf).replace(nf.find('%'), 2, n); };
  const struct {
    L args;
    int status;
    std::string message, output, expected;
  } cases[] = {
      {{"RemessaComRegistroCarnRetirasegmentoY1Click", "--file", program.file},
       0,
       Cat("Remessa pronta ", program.file, " para ser enviada !!!"),
       program.file,
       ReadBytes(kExamples + "sigcb240/remessa_sigcb240_carne_sem_y.rem")},
      {{"AlteraNmerodaRemessa1Click", "--file", program.file, "--answer", "124"},
       0,
       "NSA da Remessa alterada para 124 e pronta para ser enviada !!!\n" + program.file,
       program.file,
       nsa},
      {{"Sacados2Click", "--file", kExamples + "recupera_bd/listagem_sacados.txt"},
       0,
       Cat("Arquivo concluído com sucesso  !!\n"_cp, dir, "sacados.txt"),
       dir + "sacados.txt",
       CrLfFile({PayerRecord("52998224725", "F", "JOSE DA SILVA", "RUA DAS FLORES 100", "CENTRO", "BRASILIA", "DF",
                             "70000000"),
                 PayerRecord("11222333000181", "J", "Tipografia Lima, Filhos S/A", "AV PAULISTA 1000", "BELA VISTA",
                             "SÃO PAULO"_cp, "SP", "01310100"),
                 PayerRecord("11144477735", "F", "MARIA SOUZA", "", "JARDIM GOIAS", "GOIANIA", "  ", "74000000"),
                 PayerRecord("", "", "SEM TIPO LTDA", "", "VILA NOVA", "", "D ", "")})},
      {{"Ttulos2Click", "--file", dir + "sacados.txt", "--file", kExamples + "recupera_bd/listagem_titulos.txt",
        "--today", "06/12/2026"},
       1,
       Cat("Arquivo concluído  !!\n"_cp, dir, "titulos.txt"),
       dir + "titulos.txt",
       CrLfFile({ItemRecord("14000000000000001", "000052998224725", "15012019", "123456"),
                 ItemRecord("14000000000000003", "011222333000181", "10032019", "25000"), notFound("14000000000000004"),
                 ItemRecord("14000000000000006", "000011144477735", "30062019", "750"),
                 notFound("14000000000000007")})},
      {{"ValidaBDcobcaixacolistageCAIXA1Click"},
       1,
       Cat("Criado arquivo titulos.txt\n", dir, "Titulos.txt"),
       dir + "Titulos.txt",
       CrLfFile({"NN:12345678901 VALOR:100,00     SEU N:DOC001           EM ABERTO REM OK RET OK 15/01/2019 R$ 100,00 "
                 "JOSE DA SILVA     EM ABERTO",
                 "NN:12345678902 VALOR:1.234.567,89 SEU N:DOC002           PAGO      REM OK RET NO 20/01/2019 R$ "
                 "1.234.567,89 EMPRESA     PAGO",
                 "NN:12345678903 VALOR:50,00      SEU N:DOC003           BAIXADO   REM OK RET NO 25/01/2019 R$ 50,00 "
                 "MARIA SOUZA        BAIXADO",
                 "NN:12345678905 VALOR:20,00      SEU N:DOC005           REJEITADO REM NO RET NO" + gone,
                 "NN: VALOR:9,99       SEU N:DOC006            REM NO RET NO" + gone, std::string(59, '='),
                 std::string("Relação de títulos na CAIXA que não estão no banco de dados"_cp), std::string(59, '='),
                 "TITU - CONSULTA POR NOSSO NUMERO",
                 "    1234567890-4                     45  30/01/2019 R$ 75,00 ROBERTO OK"})},
  };
  for (const auto& c : cases) {
    L args = {"run"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    int status = 0;
    waitpid(testing::StartCli(args, cli, dir + "err"), &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.args[0] << ReadBytes(dir + "err");
    EXPECT_NE(ReadBytes(dir + "err").find(ToUtf8(c.message)), std::string::npos) << ReadBytes(dir + "err");
    EXPECT_EQ(ReadBytes(c.output), c.expected) << c.args[0];
  }
}

// No limit of 200 payers or 2000 bank lines.
TEST(DatabaseRebuild, ManyPayersAndBankLines) {
  Scratch host("");
  host.programDirectory = host.dir;
  const std::string dir = host.programDirectory + "/";
  std::string listing, items, bank, database;
  for (int i = 1; i <= 250; ++i) {
    const std::string name = Cat("PAGADOR ", PadZeroLeft(Cat(i), 3));
    listing += Cat("Nome do Sacado: ", PadSpaceRight(name, 50), " Tipo de Pessoa....: F\r\nCPF/CNPJ Sacado: 529.982.",
                   PadZeroLeft(Cat(i), 3), "-25\r\nBairro do Sacado: CENTRO Munic\r\n");
    items += Cat("14", PadZeroLeft(Cat(i), 15), " ", name, " R$ 1,00 15/01/2019\r\n");
  }
  for (int i = 1; i <= 2500; ++i) {
    bank += Cat("    ", PadZeroLeft(Cat(i), 10), "-0", std::string(21, ' '), "61\r\n");
    database += Cat(std::string(41, ' '), "11", std::string(239, ' '), PadZeroLeft(Cat(i), 10), "0\r\n");
  }
  for (const auto& [name, bytes] :
       {std::pair{"listing", listing}, {"items", items}, {"titu.txt", bank}, {"tbTitulos.txt", database}})
    std::ofstream(dir + name, std::ios::binary) << bytes;
  host.files = {dir + "listing", dir + "sacados.txt", dir + "items"};
  EXPECT_EQ(RunCommand(Sacados2Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(RunCommand(Ttulos2Click, host).status, Outcome::Status::Clean);
  const std::string titulos = ReadBytes(dir + "titulos.txt");
  EXPECT_EQ(titulos.size(), 250u * 504);
  EXPECT_EQ(titulos.substr(249 * 504, 30), "00000000250    000052998225025");
  EXPECT_EQ(RunCommand(ValidaBDcobcaixacolistageCAIXA1Click, host).status, Outcome::Status::Clean);
  const std::string report = ReadBytes(dir + "Titulos.txt");
  EXPECT_NE(report.find("NN:00000025000 VALOR:           SEU N:                  REM NO RET NO PAGO\r\n===="),
            std::string::npos);
  EXPECT_TRUE(report.ends_with("banco de dados\r\n" + std::string(59, '=') + "\r\n"));
}

// An old output survives a failed run; an input is never replaced by an
// output; outputs go to the user data directory when the program's refuses.
TEST(DatabaseRebuild, OutputsAreSafe) {
  Scratch host("");
  host.programDirectory = host.dir;
  const std::string dir = host.programDirectory + "/";
  std::ofstream(dir + "sacados.txt") << "OLD";
  std::ofstream(dir + "titulos.txt") << "OLD";
  fs::create_symlink(dir + "sacados.txt", dir + "link");
  host.files = {dir + "link"};
  Outcome outcome = RunCommand(Sacados2Click, host);
  EXPECT_EQ(testing::FirstLine(outcome.message),
            Cat("I/O error: '", dir, "sacados.txt': is the input file '", dir, "link': refused, nothing written"));
  host.files = {dir + "sacados.txt", dir + "remessa.rem"};
  host.onProgress = [&host] {
    if (host.Entries() > 4) throw CommandStopped();  // the work file of titulos.txt is there
  };
  EXPECT_EQ(RunCommand(Ttulos2Click, host).status, Outcome::Status::Aborted);
  EXPECT_EQ(ReadBytes(dir + "sacados.txt") + ReadBytes(dir + "titulos.txt"), "OLDOLD");
  EXPECT_EQ(host.Entries(), 4u);
  outcome = RunCommand(ValidaBDcobcaixacolistageCAIXA1Click, host);
  EXPECT_EQ(testing::FirstLine(outcome.message),
            Cat("I/O error: '", host.dir.string(), "': Falta o arquivo titu.txt Falta o arquivo tbTitulos.txt"));

  host.onProgress = {};
  host.programDirectory = dir + "none";  // no directory to write to
  host.messages.clear();
  setenv("XDG_DATA_HOME", host.dir.c_str(), 1);
  host.files = {dir + "link"};
  EXPECT_EQ(RunCommand(Sacados2Click, host).status, Outcome::Status::Clean);
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(host.messages,
            L{Cat("Arquivo concluído com sucesso  !!\r"_cp, dir, "verilote/sacados.txt\r", kUserDataNotice)});
  EXPECT_EQ(ReadBytes(dir + "verilote/sacados.txt"), "");
}

}  // namespace
}  // namespace verilote
