// Every name a --report file may not take, each refused before anything is
// written: the files a command reads or writes by itself and the program's
// own files, in any case, as Windows compares names.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/platform.hpp"
#include "cli/cli.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

struct CliRun {
  int status;
  std::string err;
};

CliRun Cli(const std::vector<std::string>& args) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  const int status = CliMain(views, out, err);
  return {status, err.str()};
}

TEST(ReportClash, EveryNameTheReportMayNotTake) {
  const std::string program = platform::ProgramDirectory(), ok = VERILOTE_SOURCE_DIR "/examples/sad/remessa_sad_ok.txt";
  const testing::ScratchDir dir;
  const std::string uses = "a file the command reads or writes ", own = "one of the program's own files";
  const struct {
    std::vector<std::string> args;  // the report file last
    std::string what;
  } cases[] = {
      {{"run", "ValidaBDcobcaixacolistageCAIXA1Click", "--report", program + "/Titu.TXT"},
       uses + "('titu.txt' beside the program)"},
      {{"run", "ValidaBDcobcaixacolistageCAIXA1Click", "--report", program + "/TBTITULOS.txt"},
       uses + "('tbTitulos.txt' beside the program)"},
      {{"run", "ValidaBDcobcaixacolistageCAIXA1Click", "--report", program + "/titulos.TXT"},
       uses + "('Titulos.txt' beside the program)"},
      {{"run", "Sacados2Click", "--report", program + "/Sacados.txt"}, uses + "('sacados.txt' beside the program)"},
      {{"run", "Ttulos2Click", "--report", program + "/TITULOS.txt"}, uses + "('titulos.txt' beside the program)"},
      {{"run", "GeraarquivoparaImportaoapartirderemessa1Click", "--file", dir / "r.rem", "--report",
        dir / "IMPORTA_siacc_EMPREGADOS.txt"},
       uses + "('Importa_SIACC_Empregados.TXT' beside '" + dir / "r.rem" + "')"},
      {{"run", "Copiaparaarquivonovo1Click", "--answer", "copia.txt", "--report", program + "/COPIA.txt"},
       uses + "('copia.txt' beside the program)"},
      {{"run", "SadSicob1Click", "--file", ok, "--report", program + "/Verilote"}, own},
      {{"run", "SadSicob1Click", "--file", ok, "--report", program + "/VERILOTE-CLI"}, own},
      {{"run", "SadSicob1Click", "--file", ok, "--report", program + "/verilote-Ajuda.HTML"}, own},
      {{"run", "SadSicob1Click", "--file", ok, "--report", program + "/relatorio.EXE"}, own},
      {{"run", "SadSicob1Click", "--file", ok, "--report", program + "/Qt6Core.dll"}, own},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, kExitUsage) << c.args.back();
    EXPECT_EQ(run.err, "verilote-cli: the report file '" + c.args.back() + "' is " + c.what +
                           ": refused, nothing written\n(see verilote-cli --help)\n");
    EXPECT_FALSE(std::filesystem::exists(c.args.back())) << c.args.back();
  }
}

}  // namespace
}  // namespace verilote
