// Every name a --report file may not take, each refused before anything is
// written: the files a command reads or writes by itself and the program's
// own files, in any case, as Windows compares names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/platform.hpp"
#include "support/cli_run.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::Cli;
using testing::CliRun;

// Every run answers "copia.txt" to the copy command's input box.
TEST(ReportClash, EveryNameTheReportMayNotTake) {
  const std::string program = platform::ProgramDirectory();
  const testing::ScratchDir dir;  // the remittance each run is handed, never read
  const std::string uses = "a file the command reads or writes ", own = "one of the program's own files";
  const struct {
    std::string handler, report, what;
  } cases[] = {
      {"ValidaBDcobcaixacolistageCAIXA1Click", program + "/Titu.TXT", uses + "('titu.txt' beside the program)"},
      {"ValidaBDcobcaixacolistageCAIXA1Click", program + "/TBTITULOS.txt",
       uses + "('tbTitulos.txt' beside the program)"},
      {"ValidaBDcobcaixacolistageCAIXA1Click", program + "/titulos.TXT", uses + "('Titulos.txt' beside the program)"},
      {"Sacados2Click", program + "/Sacados.txt", uses + "('sacados.txt' beside the program)"},
      {"Ttulos2Click", program + "/TITULOS.txt", uses + "('titulos.txt' beside the program)"},
      {"GeraarquivoparaImportaoapartirderemessa1Click", dir / "IMPORTA_siacc_EMPREGADOS.txt",
       uses + "('Importa_SIACC_Empregados.TXT' beside '" + dir / "r.rem" + "')"},
      {"Copiaparaarquivonovo1Click", program + "/COPIA.txt", uses + "('copia.txt' beside the program)"},
      {"SadSicob1Click", program + "/Verilote", own},
      {"SadSicob1Click", program + "/VERILOTE-CLI", own},
      {"SadSicob1Click", program + "/verilote-Ajuda.HTML", own},
      {"SadSicob1Click", program + "/relatorio.EXE", own},
      {"SadSicob1Click", program + "/Qt6Core.dll", own},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli({"run", c.handler, "--file", dir / "r.rem", "--answer", "copia.txt", "--report", c.report});
    EXPECT_EQ(run.status, kExitUsage) << c.report;
    EXPECT_EQ(run.err, "verilote-cli: the report file '" + c.report + "' is " + c.what +
                           ": refused, nothing written\n(see verilote-cli --help)\n");
    EXPECT_FALSE(std::filesystem::exists(c.report)) << c.report;
  }
}

}  // namespace
}  // namespace verilote
