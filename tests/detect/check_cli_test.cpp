#include <gtest/gtest.h>

#include <filesystem>

#include "app/cp1252.hpp"
#include "cli/check.hpp"
#include "cli/cli.hpp"
#include "support/cli_run.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using CheckRun = testing::CliRun;
CheckRun Check(std::vector<std::string> args) {
  args.insert(args.begin(), "check");
  return testing::Cli(args);
}

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/";

TEST(CheckCli, ExitStatusIsTheHighestOfTheFiles) {
  const std::string ok = kExamples + "sinco/remessa_sinco_ok.rem",
                    bad = kExamples + "sinco/remessa_sinco_com_erros.rem";
  const std::string bills = kExamples + "cobcaixa/titulos_ok.txt";
  EXPECT_EQ(Check({ok}).status, kExitClean);
  EXPECT_EQ(Check({ok, bad}).status, kExitFaulty);
  EXPECT_EQ(Check({bills}).status, kExitClean) << "two versions fit: the newer one is checked";
  EXPECT_EQ(Check({"--layout", "cobcaixa-titulos-220", bills}).status, kExitClean);
  EXPECT_EQ(Check({kExamples + "sicov/remessa_sicov_ok.rem"}).status, kExitAborted) << "no validator";
  EXPECT_EQ(Check({"/nonexistent/file.rem"}).status, kExitAborted);
  for (const auto& usage : std::vector<std::vector<std::string>>{
           {}, {"--layout", "nosuch", ok}, {"--format", "xml", ok}, {"--layouts", ok}, {"--today", "32/01/2026", ok}})
    EXPECT_EQ(Check(usage).status, kExitUsage) << (usage.empty() ? "" : usage.front());
}

TEST(CheckCli, TextReportsThenTheSummary) {
  const std::string ok = kExamples + "sad/remessa_sad_ok.txt";
  const CheckRun run = Check({ok, kExamples + "boletos/sigcb_barras.txt"});
  EXPECT_EQ(run.status, kExitAborted);
  const std::string expected =
      "== " + ok +
      "\n"
      "Layout detectado: SAD/SICOB lay-out antigo\n"
      "SAD/SICOB lay-out antigo: registros de 162 posi\u00E7\u00F5es, quantidade de "
      "registros 000005 no header, n\u00FAmero 12300000100001 no segundo registro, movimento I no "
      "segundo registro\n"
      "C\u00F3d=SAD01    Qtde de regs=000005\n"
      "Gerado em: 01/12/26  \n"
      "Fim do arquivo. Lidos 5 registros.\n";
  EXPECT_TRUE(run.out.starts_with(expected)) << run.out;
  const std::string summary = run.out.substr(run.out.find("\nSummary:\n"));
  EXPECT_NE(summary.find("FILE"), std::string::npos);
  EXPECT_NE(summary.find("sad_ok.txt    sad     0         clean\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("sigcb_barras.txt  -       0         not recognised\n"), std::string::npos) << summary;
}

// No validator reads SICOV; the report names the commands that take it.
TEST(CheckCli, ALayoutWithoutValidatorNamesTheCommandsThatTakeIt) {
  const CheckRun run = Check({kExamples + "sicov/remessa_sicov_com_erros.rem"});
  EXPECT_EQ(run.status, kExitAborted);
  const std::string expected =
      "\nNenhum validador foi executado: este programa n\u00E3o valida esse layout.\n"
      "Comandos que aceitam arquivos desse layout:\n"
      "  Acertos \u203A SICOV - Folha de pagamento e D\u00E9bito/Cr\u00E9dito \u203A Altera NSA\n"
      "  Acertos \u203A SICOV - Folha de pagamento e D\u00E9bito/Cr\u00E9dito \u203A Acerta campos Brancos\n"
      "\nSummary:\n";
  EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
}

// The SIGCB 240 validator's notice is the same for every file: once a run.
TEST(CheckCli, ANoticeIsGivenOncePerRun) {
  const std::string sigcb = kExamples + "sigcb240/remessa_sigcb240_com_erros.rem";
  const std::string notice = "N\u00E3o est\u00E1 validando valores zerados e do segmento Y, somente valida o Y53.\n";
  const CheckRun run = Check({sigcb, sigcb, sigcb});
  EXPECT_EQ(run.status, kExitFaulty);
  EXPECT_EQ(run.err, notice);
}

TEST(CheckCli, ReportDirHoldsEachReportAsTheWindowCopiesIt) {
  const testing::ScratchDir scratch;
  const std::filesystem::path& dir = scratch.path;
  const std::string ok = kExamples + "sad/remessa_sad_ok.txt";
  EXPECT_EQ(Check({"--report-dir", dir.string(), ok, ok}).status, kExitClean);
  const std::string first = testing::ReadBytes((dir / "remessa_sad_ok.txt.txt").string());
  EXPECT_TRUE(first.starts_with(
      "Layout detectado: SAD/SICOB lay-out antigo\r\nSAD/SICOB lay-out antigo: registros de 162 posi\xE7\xF5"
      "es"));
  EXPECT_TRUE(first.ends_with("\r\nFim do arquivo. Lidos 5 registros.\r\n"));
  EXPECT_EQ(testing::ReadBytes((dir / "remessa_sad_ok.txt-2.txt").string()), first);
  // A report that would overwrite an input is refused before anything is written.
  const std::filesystem::path input = dir / "in.txt";
  std::filesystem::copy_file(ok, input);
  std::filesystem::copy_file(ok, dir / "in.txt.txt");
  EXPECT_EQ(Check({"--report-dir", dir.string(), (dir / "in.txt.txt").string(), input.string()}).status, kExitUsage);
  std::filesystem::remove_all(dir);
}

TEST(CheckCli, JsonAndXmlEscapeWhatTheyCannotCarry) {
  EXPECT_EQ(JsonString("a\"b\\c\x01\x1F\t\r\n\xC3\xA7"), "\"a\\\"b\\\\c\\u0001\\u001f\\t\\r\\n\xC3\xA7\"");
  EXPECT_EQ(XmlText("<a href='x'>&\"\x01\t\xC3\xA7"), "&lt;a href=&apos;x&apos;&gt;&amp;&quot;\xEF\xBF\xBD\t\xC3\xA7");
  // An overlong "/", a lone surrogate, a cut sequence: one U+FFFD a byte; U+FFFE
  // and U+FFFF are valid JSON but not XML.
  std::string replaced;
  for (int i = 0; i < 7; ++i) replaced += "\xEF\xBF\xBD";
  EXPECT_EQ(JsonString("\xC0\xAF\xED\xA0\x80\xE2\x82\xEF\xBF\xBE"), "\"" + replaced + "\xEF\xBF\xBE\"");
  EXPECT_EQ(XmlText("\xE2\x82\xEF\xBF\xBE\xEF\xBF\xBF"), replaced.substr(0, 4 * 3));
  // DEL and the C1 controls (U+009B acts as ESC [) escaped; the next letter not.
  EXPECT_EQ(JsonString("\x7F\xC2\x80\xC2\x9B\xC2\x9F\xC2\xA0"), "\"\\u007f\\u0080\\u009b\\u009f\xC2\xA0\"");
  EXPECT_EQ(XmlText("\x7F\xC2\x80\xC2\x9B\xC2\x9F\xC2\xA0"), "&#x7F;&#x80;&#x9B;&#x9F;\xC2\xA0");
}

}  // namespace
}  // namespace verilote
