// "Gera arquivo para Importação a partir de remessa": the exact bytes of the
// import file, and a failure at any point leaving the previous file whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "layouts/siacc.hpp"
#include "layouts/siacc_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Lines = std::vector<std::string>;
using S = std::string;

struct TempDir {
  fs::path path = fs::temp_directory_path() / Cat("verilote-siacc-", getpid(), "-", counter++);
  TempDir() { fs::create_directories(path); }
  ~TempDir() {
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(path);
  }
  S Write(std::string_view name, const Lines& lines) const {
    const S file = (path / name).string();
    std::ofstream(file, std::ios::binary) << testing::CrLfFile(lines);
    return file;
  }
  std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), {})); }
  S Output() const { return (path / kSiaccImportName).string(); }
  static inline int counter = 0;
};

struct Import {
  Outcome outcome;
  testing::FakeHost host;
};
Import ImportFrom(const S& file, Lines answers) {
  Import run{{}, {}};
  run.host.files.push_back(file);
  run.host.answers.assign(answers.begin(), answers.end());
  run.host.report.push_back("old");
  run.outcome = RunCommand(GeraarquivoparaImportaoapartirderemessa1Click, run.host);
  return run;
}

// The B segment's part of a line of the builder's B (or of none): CEP, street,
// number, 15 blanks, city, district, 5 blanks, state.
const S kAddress = Cat("70000000", PadSpaceRight("RUA DAS ACACIAS", 30), "00010", S(15, ' '),
                       PadSpaceRight("BRASILIA", 20), PadSpaceRight("CENTRO", 15), S(5, ' '), "DF");
const S kTail = Cat("0000E", S(20, ' '), "1,00", S(10, ' '));

S Expected(std::string_view code, std::string_view phone, std::string_view name, std::string_view address,
           std::string_view cpf, std::string_view account) {
  return Cat(code, PadSpaceRight(name, 30), PadSpaceRight(name, 30), PadSpaceRight(phone, 15), address, "F000", cpf,
             kTail, account, " BRL\r\n");
}

TEST(SiaccImport, OneLinePerBWithTheLastA) {
  const Lines clean = testing::CleanSiaccFile();
  S b2 = clean[3];
  testing::Put(b2, 22, "11144477735");
  const TempDir dir;
  // A B before any A and cut short after its CPF; two Bs of the first A; a B of the second.
  const S file = dir.Write("remessa.rem",
                           {clean[0], clean[3].substr(0, 32), clean[2], clean[3], b2, clean[4], clean[3], clean[9]});
  Import run = ImportFrom(file, {"1a23", "(61) 3333-4444"});
  ASSERT_EQ(run.outcome.status, Outcome::Status::Clean) << run.outcome.message;
  EXPECT_EQ(run.host.dialogs[0].title, "Selecione o arquivo remessa SIACC");
  ASSERT_EQ(run.host.prompts.size(), 2u);
  EXPECT_EQ(run.host.prompts[0].caption, "Código Inicial"_cp);
  EXPECT_EQ(run.host.prompts[0].prompt, "Digite o código inicial"_cp);
  EXPECT_EQ(run.host.prompts[0].defaultText, "000001");
  EXPECT_EQ(run.host.prompts[1].caption, "Número Telefone da Empresa"_cp);
  EXPECT_EQ(run.host.prompts[1].prompt, "Digite o número do telefone sem DDD"_cp);
  EXPECT_EQ(run.host.prompts[1].defaultText, "");
  EXPECT_EQ(run.host.report, Lines{});
  EXPECT_EQ(run.host.messages,
            Lines{"Criado arquivo: Importa_SIACC_Empregados.TXT\rNa mesma pasta do arquivo original."});
  const S jose = "JOSE DA SILVA", maria = "MARIA SOUZA", phone = "6133334444";
  const S noA = Cat(S(3 + 5 + 1 + 13, ' ')),
          joseAccount =
              "104012345"
              "0001000043218",
          mariaAccount =
              "104012345"
              "0000000000000";
  const S blanks = Cat(S(8 + 30 + 5 + 15 + 20 + 15 + 5 + 2, ' '));
  EXPECT_EQ(ReadBytes(dir.Output()), Expected("000123", phone, "", blanks, "52998224725", noA) +
                                         Expected("000124", phone, jose, kAddress, "52998224725", joseAccount) +
                                         Expected("000125", phone, jose, kAddress, "11144477735", joseAccount) +
                                         Expected("000126", phone, maria, kAddress, "52998224725", mariaAccount));

  // A second run replaces the file; Cancel gives code 000001 and no telephone.
  run = ImportFrom(dir.Write("remessa.rem", {clean[2], clean[3]}), {});
  EXPECT_EQ(ReadBytes(dir.Output()), Expected("000001", "", jose, kAddress, "52998224725", joseAccount));
  EXPECT_EQ(dir.Entries(), 2u);
}

// Every refusal leaves the previous import file whole, writes no work file
// and shows no success message.
void ExpectRefused(const TempDir& dir, const Import& run, std::size_t entries, const S& before) {
  EXPECT_EQ(run.outcome.status, Outcome::Status::Aborted);
  EXPECT_FALSE(run.outcome.internalError) << run.outcome.message;
  EXPECT_NE(run.outcome.message.find(kSiaccImportName), S::npos) << run.outcome.message;
  EXPECT_EQ(run.host.messages, Lines{});
  EXPECT_EQ(dir.Entries(), entries);
  if (!before.empty()) {
    EXPECT_EQ(ReadBytes(dir.Output()), before);
  }
}

TEST(SiaccImport, RefusesToOverwriteTheRemittanceItReads) {
  const Lines clean = testing::CleanSiaccFile();
  const TempDir dir;
  const S file = dir.Write(kSiaccImportName, clean);
  const S bytes = ReadBytes(file);
  ExpectRefused(dir, ImportFrom(file, {}), 1, bytes);
  fs::create_symlink(file, dir.path / "remessa.rem");  // the same file through a link
  ExpectRefused(dir, ImportFrom((dir.path / "remessa.rem").string(), {}), 2, bytes);
}

TEST(SiaccImport, FailuresKeepThePreviousFile) {
  const Lines clean = testing::CleanSiaccFile();
  const TempDir dir;
  const S file = dir.Write("remessa.rem", clean);
  ASSERT_EQ(ImportFrom(file, {"999999"}).outcome.status, Outcome::Status::Clean);
  const S before = ReadBytes(dir.Output());
  // Codes stop at 999999 rather than wrapping to 100000.
  const S twoPayees = dir.Write("remessa.rem", {clean[2], clean[3], clean[3]});
  ExpectRefused(dir, ImportFrom(twoPayees, {"999999"}), 2, before);
  ASSERT_EQ(ImportFrom(twoPayees, {"999998"}).outcome.status, Outcome::Status::Clean);
  EXPECT_EQ(ReadBytes(dir.Output()).substr(263, 6), "999999");
  const S last = ReadBytes(dir.Output());
  if (geteuid() != 0) {  // root writes in a read-only folder
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    ExpectRefused(dir, ImportFrom(file, {}), 2, last);
    fs::permissions(dir.path, fs::perms::owner_all);
  }
  fs::remove(dir.Output());
  fs::create_directory(dir.Output());
  ExpectRefused(dir, ImportFrom(file, {}), 2, "");
}

}  // namespace
}  // namespace verilote
