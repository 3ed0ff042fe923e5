// verilote-cli show: a record laid out by its layout's dictionary, the fields
// of its findings marked with what the layout expects, and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_run.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using ShowRun = testing::CliRun;
ShowRun Show(std::vector<std::string> args) {
  args.insert(args.begin(), "show");
  return testing::Cli(args);
}

const std::string kGerador = VERILOTE_SOURCE_DIR "/examples/sigcb240/remessa_sigcb240_gerador.rem";

// The example's header carries agency 01234 with digit 5 (weights 2-5 from
// the right give 30: digit 3) and version 050; its R a fine date equal to
// title A's due date.
TEST(CliShow, MarksTheFieldsOfTheRecordsFindings) {
  const ShowRun header = Show({kGerador, "--record", "1", "--today", "06/12/2026"});
  EXPECT_EQ(header.status, kExitFaulty);
  EXPECT_NE(header.out.find("Record 1: Header de arquivo, 240 positions"), std::string::npos) << header.out;
  EXPECT_NE(
      header.out.find("58         DV da ag\u00EAncia                            \"5\"  <-- esperado d\u00EDgito 3"),
      std::string::npos);
  EXPECT_NE(header.out.find("\"050\"  <-- esperado 101 ou 107"), std::string::npos);
  EXPECT_NE(header.out.find("22C.0  212-215    Uso interno CAIXA"), std::string::npos) << "a range no rule reads";
  EXPECT_NE(header.out.find("  Erro no HEADER. Codigos de erro: DV AGENCIA inv\u00E1lido na posi\u00E7\u00E3o 58"),
            std::string::npos);
  const ShowRun lote = Show({kGerador, "--record=2", "--format", "json"});
  EXPECT_EQ(lote.status, kExitFaulty);
  EXPECT_NE(lote.out.find("\"findings\": [],"), std::string::npos) << "record 2 has none";
  EXPECT_EQ(lote.out.find("\"finding\": true"), std::string::npos);
  const ShowRun fine = Show({kGerador, "--record", "5", "--format", "json", "--layout", "sigcb240"});
  EXPECT_NE(fine.out.find("{\"code\": \"15.3R\", \"from\": 67, \"to\": 74, \"name\": \"Data da multa\", "
                          "\"value\": \"15012027\", \"finding\": true"),
            std::string::npos)
      << fine.out;
}

// A value shows its first 400 bytes, the longest record of the bank's
// layouts, and counts the others; a record of the reader's 32 MiB is shown
// so, and one byte more is refused.
TEST(CliShow, LongRecordsShowAScreenfulAndCountTheRest) {
  const std::size_t cap = std::size_t{32} << 20;
  const testing::TempFile file(std::string(400, 'A') + "\r\n" + std::string(401, 'B') + "\r\n" + std::string(cap, 'C'));
  const struct {
    std::string record, format, value;
  } cases[] = {
      {"1", "json",
       "\"value\": \"" + std::string(400, 'A') + "\", \"finding\": false, \"expected\": null, \"omitted\": 0}"},
      {"2", "json",
       "\"value\": \"" + std::string(400, 'B') + "\", \"finding\": false, \"expected\": null, \"omitted\": 1}"},
      {"2", "text", "\"" + std::string(400, 'B') + "\" (1 more byte not shown)\n"},
      {"3", "text", "\"" + std::string(400, 'C') + "\" (33554032 more bytes not shown)\n"},
  };
  for (const auto& c : cases) {
    const ShowRun run = Show({file.path(), "--record", c.record, "--layout", "sigcb240", "--format", c.format});
    EXPECT_NE(run.out.find(c.value), std::string::npos) << c.record << " " << c.format;
    EXPECT_LT(run.out.size(), 4000u) << c.record << " " << c.format;
  }
  const testing::TempFile over("first\r\n" + std::string(cap + 1, 'C'));
  const ShowRun refused = Show({over.path(), "--record", "2", "--layout", "sigcb240"});
  EXPECT_EQ(refused.status, kExitAborted);
  EXPECT_NE(refused.err.find("record 2 is longer than 32 MiB"), std::string::npos) << refused.err;
}

TEST(CliShow, RefusesWhatItCannotShow) {
  // SICOV files are repaired, not validated: no dictionary.
  const std::string sicov = VERILOTE_SOURCE_DIR "/examples/sicov/remessa_sicov_ok.rem";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{kGerador}, kExitUsage, "show needs --record N"},
      {{kGerador, "--record", "0"}, kExitUsage, "--record needs a record number from 1, not '0'"},
      {{kGerador, "--record", "3x"}, kExitUsage, "not '3x'"},
      {{kGerador, kGerador, "--record", "1"}, kExitUsage, "show needs one FILE"},
      {{kGerador, "--record", "1", "--format", "xml"}, kExitUsage, "--format must be text or json"},
      {{kGerador, "--record", "19"}, kExitAborted, "has 18 records: there is no record 19"},
      {{"/nonexistent/remessa.rem", "--record", "1"}, kExitAborted, "/nonexistent/remessa.rem"},
      {{sicov, "--record", "1"}, kExitAborted, "the layout sicov has no field dictionary yet"},
  };
  for (const auto& c : cases) {
    const ShowRun run = Show(c.args);
    EXPECT_EQ(run.status, c.status) << c.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace verilote
