// The SIGCB repairs, the files rebuilt from the bank's listings and the SICOB
// reconciliation: the failures and sizes they must stand, then each through
// verilote-cli on the examples.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/cp1252.hpp"
#include "banking/text.hpp"
#include "layouts/siacc.hpp"
#include "tools/database_rebuild.hpp"
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

const Handler kNsa = AlteraNmerodaRemessa1Click, kRetiraY = RemessaComRegistroCarnRetirasegmentoY1Click;
const std::string kHeaders[] = {"10400000" + std::string(232, 'h'), "10400011" + std::string(232, 'l')};
std::string Detail(std::string_view segment, std::string_view sequence = "xxxxx") {
  return Cat("10400013", sequence, segment, std::string(226, 'd'));
}
[[maybe_unused]] std::string Trailer(std::string_view start, std::size_t countAt, std::string_view count) {
  return Cat(start, std::string(countAt - 9, 't'), count, std::string(235 - countAt, 't'));
}

// (A Stop half way and an empty file: the SICOV repairs' cases, on the same
// rewrite.)
TEST(SigcbRepair, FailuresLeaveTheFileAsItWas) {
  const std::string kHeader = CrLfFile({kHeaders[0]}),
                    sicov = CrLfFile({"A1000300" + std::string(142, 'a'), "Z0000020"});
  const testing::RewriteFailure cases[] = {
      // clang-format off
      {"a control byte in the NSA", CrLfFile({kHeaders[0]}), {}, kNsa, {"1\r\n"}},
      {"a lote of 100,000 details", kHeader + CrLfFile(L(100000, "10400013xxxxxP")), {}, kRetiraY},
      {"Altera Numero on a SICOV file", sicov, {}, kNsa},
      {"Retira Y on a SICOV file", sicov, {}, kRetiraY},
      {"a header cut short", CrLfFile({kHeaders[0].substr(0, 239)}), {}, kNsa},
      // clang-format on
  };
  for (const auto& c : cases) testing::ExpectFileLeftAsItWas(c);
}

#ifndef _WIN32  // fork, exec, SIGKILL: scripts/windows-e2e.sh runs the .exe on the examples
// One lote of 140,004 records, 70,000 of them Y segments, through
// verilote-cli: whole, or killed at random moments, the file is the old or
// the new one. The lote trailer counts header, details and itself; the file
// trailer every record.
TEST(SigcbRepair, RetiraYOn140004Records) {
  L in(kHeaders, kHeaders + 2), out = in;
  for (int i = 1; i <= 70000; ++i) {
    in.insert(in.end(), {Detail("P"), Detail("Y")});
    out.push_back(Detail("P", PadZeroLeft(Cat(i), 5)));
  }
  in.insert(in.end(), {Trailer("10400015", 18, "999999"), Trailer("10499999", 24, "999999")});
  out.insert(out.end(), {Trailer("10400015", 18, "070002"), Trailer("10499999", 24, "070004")});
  Scratch host("");
  testing::ExpectKillsLeaveOldOrNew(host, {"run", "RemessaComRegistroCarnRetirasegmentoY1Click", "--file", host.file},
                                    CrLfFile(in), CrLfFile(out), 3);
}

// Each record keeps its own line end (CR LF, CR, none on the last line); a
// name of 250 bytes is no trouble.
TEST(SigcbRepair, KeepsLineEnds) {
  const std::string name(250, 'r');
  Scratch host(Cat(kHeaders[0], "\r", kHeaders[1], "\r\n", Detail("P"), "\r", Detail("Y"), "\r\n", Detail("P"), "\r\n",
                   Trailer("10400015", 18, "999999"), "\r"));
  const std::string path = (host.dir / name).string();
  fs::rename(host.file, path);
  host.files = {path};
  EXPECT_EQ(RunCommand(kRetiraY, host).status, Outcome::Status::Clean);
  EXPECT_EQ(ReadBytes(path), Cat(kHeaders[0], "\r", kHeaders[1], "\r\n", Detail("P", "00001"), "\r",
                                 Detail("P", "00002"), "\r\n", Trailer("10400015", 18, "000004"), "\r"));
}

// The payer and item import records as the client program's layouts lay them out.
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

// Each command through a copy of verilote-cli, whose own directory is the
// program directory the files go to. remessa_sigcb240_carne.rem is the
// builder's clean file of two lotes with a Y53 in each: repaired, it passes
// the validator.
TEST(RebuildCli, Examples) {
  Scratch program("");
  const std::string dir = program.dir.string() + "/", cli = dir + "verilote-cli", rem = program.file;
  fs::copy_file(VERILOTE_CLI_PATH, cli);
  for (const char* name : {"titu.txt", "tbTitulos.txt"})
    fs::copy_file(kExamples + "sicob_conciliacao/" + name, dir + name);
  fs::copy_file(kExamples + "sigcb240/remessa_sigcb240_carne.rem", rem, fs::copy_options::overwrite_existing);
  const std::string noY = ReadBytes(kExamples + "sigcb240/remessa_sigcb240_carne_sem_y.rem");
  std::string nsa = noY;
  for (const std::size_t at : {157, 242 + 185, 9 * 242 + 185}) nsa.replace(at, 6, "000124");  // records 1, 2 and 10
  const std::string gone(" Não existe mais no cadastro da CAIXA."_cp), nf("Nosso Número 1400000000000000"_cp);
  const std::string eq(59, '='), notIn("Relação de títulos na CAIXA que não estão no banco de dados"_cp);
  const auto notFound = [&nf](std::string_view n) { return Cat(nf, n, " não encontrado."_cp); };
  const struct {
    L args;
    int status;
    std::string message, output, expected;
  } cases[] = {
      // clang-format off
      {{"run", "RemessaComRegistroCarnRetirasegmentoY1Click", "--file", rem}, 0, Cat("Remessa pronta ", rem, " para ser enviada !!!"), rem, noY},
      {{"run", "SIGCBRemessa1Click", "--file", rem}, 0, "", rem, noY},
      {{"run", "AlteraNmerodaRemessa1Click", "--file", rem, "--answer", "124"}, 0, "NSA da Remessa alterada para 124 e pronta para ser enviada !!!\n" + rem, rem, nsa},
      {{"run", "Sacados2Click", "--file", kExamples + "recupera_bd/listagem_sacados.txt"}, 0, Cat("Arquivo concluído com sucesso  !!\n"_cp, dir, "sacados.txt"), dir + "sacados.txt",
       CrLfFile({PayerRecord("52998224725", "F", "JOSE DA SILVA", "RUA DAS FLORES 100", "CENTRO", "BRASILIA", "DF", "70000000"),
                 PayerRecord("11222333000181", "J", "Tipografia Lima, Filhos S/A", "AV PAULISTA 1000", "BELA VISTA", "SÃO PAULO"_cp, "SP", "01310100"),
                 PayerRecord("11144477735", "F", "MARIA SOUZA", "", "JARDIM GOIAS", "GOIANIA", "  ", "74000000"),
                 PayerRecord("", "", "SEM TIPO LTDA", "", "VILA NOVA", "", "D ", "")})},
      {{"run", "Ttulos2Click", "--file", dir + "sacados.txt", "--file", kExamples + "recupera_bd/listagem_titulos.txt", "--today", "06/12/2026"},
       1, Cat("Arquivo concluído  !!\n"_cp, dir, "titulos.txt"), dir + "titulos.txt",
       CrLfFile({ItemRecord("14000000000000001", "000052998224725", "15012019", "123456"),
                 ItemRecord("14000000000000003", "011222333000181", "10032019", "25000"), notFound("4"),
                 ItemRecord("14000000000000006", "000011144477735", "30062019", "750"), notFound("7")})},
      {{"run", "ValidaBDcobcaixacolistageCAIXA1Click"}, 1, Cat("Criado arquivo titulos.txt\n", dir, "Titulos.txt"), dir + "Titulos.txt",
       CrLfFile({"NN:12345678901 VALOR:100,00     SEU N:DOC001           EM ABERTO REM OK RET OK 15/01/2019 R$ 100,00 JOSE DA SILVA     EM ABERTO",
                 "NN:12345678902 VALOR:1.234.567,89 SEU N:DOC002           PAGO      REM OK RET NO 20/01/2019 R$ 1.234.567,89 EMPRESA     PAGO",
                 "NN:12345678903 VALOR:50,00      SEU N:DOC003           BAIXADO   REM OK RET NO 25/01/2019 R$ 50,00 MARIA SOUZA        BAIXADO",
                 "NN:12345678905 VALOR:20,00      SEU N:DOC005           REJEITADO REM NO RET NO" + gone,
                 "NN: VALOR:9,99       SEU N:DOC006            REM NO RET NO" + gone, eq, notIn, eq, "TITU - CONSULTA POR NOSSO NUMERO",
                 "    1234567890-4                     45  30/01/2019 R$ 75,00 ROBERTO OK"})},
      // clang-format on
  };
  for (const auto& c : cases) {
    int status = 0;
    waitpid(testing::StartCli(c.args, cli, dir + "err"), &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.args[1] << ReadBytes(dir + "err");
    EXPECT_NE(ReadBytes(dir + "err").find(ToUtf8(c.message)), std::string::npos) << ReadBytes(dir + "err");
    EXPECT_EQ(ReadBytes(c.output), c.expected) << c.args[1];
  }
}

#endif

// No limit of 200 payers or 2000 bank lines; the outputs written safely.
TEST(DatabaseRebuild, ManyPayersAndBankLinesSafely) {
  Scratch host("");
  const std::string dir = (host.programDirectory = host.dir.string()) + "/";
  std::ofstream listing(dir + "listing"), items(dir + "items"), bank(dir + "titu.txt"), db(dir + "tbTitulos.txt");
  for (int i = 1; i <= 2500; ++i) {
    const std::string n = PadZeroLeft(Cat(i), 10);
    if (i <= 250)
      listing << "Nome do Sacado: PAGADOR " << n << std::string(33, ' ') << " Tipo de Pessoa....: F\r\n"
              << "CPF/CNPJ Sacado: 529.98" << n.substr(7) << "-25\r\nBairro do Sacado: CENTRO\r\n";
    items << "14" << PadZeroLeft(n, 15) << " PAGADOR " << n << " R$ 1,00 15/01/2019\r\n";
    bank << "    " << n << "-0" << std::string(21, ' ') << "61\r\n";
    db << std::string(41, ' ') << "11" << std::string(239, ' ') << n << "0\r\n";
  }
  for (auto* file : {&listing, &items, &bank, &db}) file->close();
  host.files = {dir + "listing", dir + "sacados.txt", dir + "items"};
  EXPECT_EQ(RunCommand(Sacados2Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(RunCommand(Ttulos2Click, host).status, Outcome::Status::Faulty);  // 2,250 items of no payer
  EXPECT_EQ(ReadBytes(dir + "titulos.txt").substr(249 * 504, 30), "00000000250    000005299825025");
  EXPECT_EQ(RunCommand(ValidaBDcobcaixacolistageCAIXA1Click, host).status, Outcome::Status::Clean);
  EXPECT_NE(ReadBytes(dir + "Titulos.txt")
                .find("00000025000 VALOR:           SEU N:                  REM NO RET NO PAGO\r\n=="),
            std::string::npos);  // the last bank line matched, none left unmatched

  // An input is never replaced by an output; an old output survives a failed run.
  std::ofstream(dir + "sacados.txt") << "OLD";
  std::ofstream(dir + "titulos.txt") << "OLD";
#ifdef _WIN32
  fs::create_hard_link(dir + "sacados.txt", dir + "link");
#else
  fs::create_symlink(dir + "sacados.txt", dir + "link");
#endif
  fs::remove(dir + "titu.txt");
  host.files = {dir + "link", dir + "sacados.txt", dir + "remessa.rem"};
  EXPECT_EQ(testing::FirstLine(RunCommand(Sacados2Click, host).message),
            Cat("I/O error: '", dir, "sacados.txt': is the input file '", dir, "link': refused, nothing written"));
  // Eight files, or seven where Titulos.txt and titulos.txt are one name (Windows).
  const std::size_t entries = host.Entries();
  host.onProgress = [&host, entries] {
    if (host.Entries() > entries) throw CommandStopped();  // the work file of titulos.txt is there
  };
  EXPECT_EQ(RunCommand(Ttulos2Click, host).status, Outcome::Status::Aborted);
  EXPECT_EQ(ReadBytes(dir + "sacados.txt") + ReadBytes(dir + "titulos.txt"), "OLDOLD");
  EXPECT_EQ(host.Entries(), entries);
  EXPECT_EQ(testing::FirstLine(RunCommand(ValidaBDcobcaixacolistageCAIXA1Click, host).message),
            Cat("I/O error: '", host.dir.string(), "': Falta o arquivo titu.txt"));
}

// An input that another program cuts while it is read: the command ends with
// a file error and writes nothing, rather than a file of what it had read.
TEST(DatabaseRebuild, InputCutWhileReadWritesNothing) {
  const struct {
    Handler command;
    std::string record;
  } cases[] = {
      {GeraarquivoparaImportaoapartirderemessa1Click, Cat(std::string(13, '0'), "B", std::string(226, ' '))},
      {Sacados2Click, "Bairro do Sacado: CENTRO"},
  };
  for (const auto& c : cases) {
    Scratch host(CrLfFile(L(600000 / c.record.size(), c.record)));  // some read buffers
    host.programDirectory = host.dir.string();
    const std::uintmax_t size = fs::file_size(host.file);
    host.onProgress = [&host, cut = false]() mutable {
      if (!std::exchange(cut, true)) fs::resize_file(host.file, 300000);
    };
    const Outcome outcome = RunCommand(c.command, host);
    EXPECT_EQ(outcome.status, Outcome::Status::Aborted);
    EXPECT_EQ(testing::FirstLine(outcome.message),
              Cat("I/O error: '", host.file, "': changed while it was read (", size,
                  " bytes when opened, 300000 read, 300000 now): another program is writing it; nothing was written"));
    EXPECT_EQ(host.Entries(), 1);  // the input alone
  }
}

}  // namespace
}  // namespace verilote
