// "Gera arquivo para Importação a partir de remessa": the exact bytes of the
// import file, and a failure at any point leaving the previous file whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/cp1252.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "cli/cli.hpp"
#include "layouts/siacc.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Lines = std::vector<std::string>;
using S = std::string;

// The clean example: records 3 and 5 are A segments, 4 is a B.
const Lines kClean = [] {
  RecordReader reader(std::string(VERILOTE_SOURCE_DIR) + "/examples/siacc/remessa_siacc_ok.rem");
  Lines lines;
  for (std::string rec; reader.Next(rec);) lines.push_back(rec);
  return lines;
}();
const fs::path kDir = fs::temp_directory_path() / Cat("verilote-siacc-import-", getpid());
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
  run.error = outcome.message;
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
const S kJose = "JOSE DA SILVA", kJoseA = "1040123450001000043218", kCpf = "52998224725";

TEST(SiaccImport, OneLinePerBWithTheLastA) {
  S b2 = kClean[3];
  testing::Put(b2, 22, "11144477735");
  // A B before any A, cut short after its CPF; two Bs of the first A; one of the second A.
  const S file = Write("remessa.rem",
                       {kClean[0], kClean[3].substr(0, 32), kClean[2], kClean[3], b2, kClean[4], kClean[3], kClean[9]});
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
                                    Line("000124", phone, kJose, kB, kCpf, kJoseA) +
                                    Line("000125", phone, kJose, kB, "11144477735", kJoseA) +
                                    Line("000126", phone, "MARIA SOUZA", kB, kCpf, "1040123450000000000000"));
  fs::remove_all(kDir);
}

// A refusal leaves the previous import file whole, and no work file beside it.
void ExpectRefused(const testing::Validation& run, std::size_t files, const S& before) {
  EXPECT_EQ(run.status, Outcome::Status::Aborted);
  EXPECT_NE(run.error.find(kOutput), S::npos) << run.error;
  EXPECT_EQ(run.host.messages, Lines{});
  EXPECT_EQ(std::distance(fs::directory_iterator(kDir), {}), static_cast<std::ptrdiff_t>(files));
  if (fs::is_regular_file(kOutput)) {
    EXPECT_EQ(ReadBytes(kOutput), before);
  }
}

TEST(SiaccImport, RefusalsKeepThePreviousFile) {
  // A remittance bearing the import file's name, itself or through a link.
  const S own = Write(kSiaccImportName, kClean), bytes = ReadBytes(own);
  ExpectRefused(ImportFrom(own), 1, bytes);
  fs::create_symlink(own, kDir / "link.rem");
  ExpectRefused(ImportFrom((kDir / "link.rem").string()), 2, bytes);
  fs::remove_all(kDir);
  // Codes stop at 999999 rather than wrap to 100000.
  const S two = Write("remessa.rem", {kClean[2], kClean[3], kClean[3]});
  ASSERT_EQ(ImportFrom(two, {"999998"}).status, Outcome::Status::Clean);
  const S before = ReadBytes(kOutput);
  EXPECT_EQ(before.substr(263, 6), "999999");
  ExpectRefused(ImportFrom(two, {"999999"}), 2, before);
  if (geteuid() != 0) {  // root may write in a read-only folder
    fs::permissions(kDir, fs::perms::owner_read | fs::perms::owner_exec);
    ExpectRefused(ImportFrom(two), 2, before);
    fs::permissions(kDir, fs::perms::owner_all);
  }
  fs::remove(kOutput);
  fs::create_directory(kOutput);  // the name taken by a folder
  ExpectRefused(ImportFrom(two), 2, "");
  fs::remove_all(kDir);
}

// An earlier import file is replaced; Cancel at the prompts (no --answer)
// gives code 000001 and no telephone.
TEST(SiaccImport, ThroughTheCli) {
  const S file = Write("r.rem", kClean);
  std::ofstream(kOutput) << "earlier";
  std::ostringstream out, err;
  const std::string_view args[] = {"run", "GeraarquivoparaImportaoapartirderemessa1Click", "--file", file};
  EXPECT_EQ(CliMain(args, out, err), kExitClean);
  EXPECT_EQ(err.str(), "Criado arquivo: Importa_SIACC_Empregados.TXT\nNa mesma pasta do arquivo original.\n");
  EXPECT_EQ(ReadBytes(kOutput), Line("000001", "", kJose, kB, kCpf, kJoseA));
  fs::remove_all(kDir);
}

}  // namespace
}  // namespace verilote
