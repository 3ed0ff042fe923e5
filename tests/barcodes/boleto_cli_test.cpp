// The boleto file commands run end to end through verilote-cli on the sample
// files of examples/boletos.
#include <sstream>

#include "barcodes/boleto_builder.hpp"
#include "cli/cli.hpp"

namespace verilote {
namespace {

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/boletos/";

struct CliRun {
  int status;
  Lines lines;
  std::string err;
};

CliRun Cli(Lines args) {
  args.insert(args.end(), {"--today", "06/12/2026", "--encoding", "cp1252"});
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  CliRun run{CliMain(views, out, err), {}, err.str()};
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  return run;
}

TEST(BoletoCli, SincoFileReportByteForByte) {
  const CliRun run = Cli({"run", "CdigodebarrasSINCOViaarquivo1Click", "--file", kExamples + "sinco_barras.txt"});
  EXPECT_EQ(run.status, kExitClean) << run.err;
  const std::string rule(52, '=');
  // Per barcode: general digit, typeable fields 3 and 5, due date line, value, Nosso Número end.
  const struct {
    char dv;
    std::string_view field3, field5, due, value, nn;
  } rows[] = {{'4', "00000.007898", "16580000045678", "Data do vencimento: 12/12/2026", "456,78", "789"},
              {'1', "00000.007906", "17370000001999", "Data do vencimento: 01/03/2027", "19,99", "790"},
              {'2', "00000.007914", "00000000120000", "Barra sem FATOR DE VENCIMENTO.", "1.200,00", "791"}};
  Lines expected;
  int seq = 0;
  for (const auto& r : rows) {
    const std::string nn = Cat("000000000000000", r.nn);
    const std::string barcode = Cat("1049", r.dv, r.field5.substr(0, 4), r.field5.substr(4), "1654321", nn);
    expected.insert(expected.end(), {std::string("COBRANÇA SINCO"_cp),
                                     Cat("Representação Numérica: 10491.65432  21000.000006  "_cp, r.field3, "  ", r.dv,
                                         "  ", r.field5),
                                     Cat(r.due, " CODCED = 654321 NN = ", nn, " Valor: ", r.value),
                                     Cat("Seq ", ++seq, " Tam barra = 44 Conteúdo "_cp, barcode),
                                     Cat("Barra lida formatada 104.9.", r.dv, ".", r.field5.substr(0, 4), ".",
                                         r.field5.substr(4), ".1.654321.", nn),
                                     rule, "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA", rule});
  }
  EXPECT_EQ(run.lines, expected);
}

TEST(BoletoCli, ExitStatusesOfTheSampleFiles) {
  EXPECT_EQ(
      Cli({"run", "CdigodebarrasSIGCBviaarquivo1Click", "--file", kExamples + "sigcb_barras.txt", "--answer", "123456"})
          .status,
      kExitClean);
  EXPECT_EQ(Cli({"run", "CdigodebarrasSICOBViaarquivo1Click", "--file", kExamples + "sicob_barras.txt"}).status,
            kExitClean);
  // The cedente left at its placeholder "XXXXXX" is not a number.
  const CliRun placeholder =
      Cli({"run", "CdigodebarrasSIGCBviaarquivo1Click", "--file", kExamples + "sigcb_barras.txt"});
  EXPECT_EQ(placeholder.status, kExitAborted);
  EXPECT_NE(placeholder.err.find("'XXXXXX' is not a valid integer value"), std::string::npos) << placeholder.err;
}

}  // namespace
}  // namespace verilote
