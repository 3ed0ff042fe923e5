#include "app/report_output.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/errors.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::ReadBytes;
using testing::TempFile;

// A fresh directory standing for the program's directory, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    static int counter = 0;
    path_ = (fs::temp_directory_path() / ("verilote-out-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
                .string();
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Files in a directory other than the given ones (left-over work files).
std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::string> kAccentedReport = {
    std::string("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp),
    "",
    std::string("Registro numero 1 Código inválido "_cp) + "\xA0\x80\x81\x9B\xFF",
    std::string("tab\tand NUL\0inside", 18),
};

std::string CrLfOf(const std::vector<std::string>& lines) { return testing::CrLfFile(lines); }

TEST(CopyToNewFile, WritesEveryLineByteForByteWithCrLf) {
  ScratchDir dir;
  FakeHost host;
  host.programDirectory = dir.path();
  host.report = kAccentedReport;
  host.answers = {"relatorio.txt"};

  EXPECT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Clean);

  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "Entre com o nome do arquivo");
  EXPECT_EQ(host.prompts[0].prompt, "Nome do arquivo");
  EXPECT_EQ(host.prompts[0].defaultText, "");
  EXPECT_EQ(ReadBytes(dir / "relatorio.txt"), CrLfOf(kAccentedReport));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Copiado com sucesso !!\r" + dir.path() + "/relatorio.txt"});
  EXPECT_EQ(host.report, kAccentedReport) << "the report itself is not changed";
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"relatorio.txt"}) << "no work file left";
}

TEST(CopyToNewFile, SecondCopyReplacesTheFirst) {
  ScratchDir dir;
  FakeHost host;
  host.programDirectory = dir.path();
  host.report = {"first copy, line 1", "first copy, line 2"};
  host.answers = {"r.txt"};
  ASSERT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Clean);
  host.report = {"second"};
  host.answers = {"r.txt"};
  ASSERT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(ReadBytes(dir / "r.txt"), "second\r\n");
  EXPECT_EQ(host.messages.size(), 2u);
}

TEST(CopyToNewFile, EmptyReportMakesAnEmptyFile) {
  ScratchDir dir;
  FakeHost host;
  host.programDirectory = dir.path();
  host.answers = {"vazio.txt"};
  ASSERT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Clean);
  EXPECT_TRUE(fs::exists(dir / "vazio.txt"));
  EXPECT_EQ(ReadBytes(dir / "vazio.txt"), "");
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST(CopyToNewFile, LinesLongerThan4096BytesAreKeptWhole) {
  ScratchDir dir;
  FakeHost host;
  host.programDirectory = dir.path();
  host.report = {std::string(70000, 'x') + "END", "next"};
  host.answers = {"long.txt"};
  ASSERT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(ReadBytes(dir / "long.txt"), std::string(70000, 'x') + "END\r\nnext\r\n");
}

// Names that leave no file to write: the command fails with the file error,
// shows no success message and leaves the directory as it was.
TEST(CopyToNewFile, UnusableNamesFailWithoutSuccessMessage) {
  for (const char* name : {"", "existing-dir", "missing-dir/r.txt", "sub/"}) {
    ScratchDir dir;
    fs::create_directory(dir / "existing-dir");
    FakeHost host;
    host.programDirectory = dir.path();
    host.report = {"line"};
    host.answers = {name};
    const Outcome outcome = RunCommand(Copiaparaarquivonovo1Click, host);
    EXPECT_EQ(outcome.status, Outcome::Status::Aborted) << "name '" << name << "'";
    EXPECT_TRUE(outcome.message.starts_with("I/O error")) << outcome.message;
    EXPECT_TRUE(host.messages.empty()) << "name '" << name << "'";
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"existing-dir"}) << "name '" << name << "'";
    EXPECT_TRUE(fs::is_empty(dir / "existing-dir"));
  }
}

TEST(CopyToNewFile, CancelKeepsTheEmptyDefaultAndFails) {
  ScratchDir dir;
  FakeHost host;  // no scripted answer: the input box returns its default, as on Cancel
  host.programDirectory = dir.path();
  EXPECT_EQ(RunCommand(Copiaparaarquivonovo1Click, host).status, Outcome::Status::Aborted);
  EXPECT_TRUE(host.messages.empty());
}

// An installed program's directory is not writable: the copy goes to the
// user's data directory and the message says so.
TEST(CopyToNewFile, UnwritableProgramDirectoryFallsBackToUserData) {
  ScratchDir dataHome;
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old != nullptr ? old : "";
  setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);

  ScratchDir program;
  FakeHost host;
  host.programDirectory = program / "not-there";  // as unwritable as it gets, even for root
  host.report = {"linha"};
  host.answers = {"r.txt"};
  const Outcome outcome = RunCommand(Copiaparaarquivonovo1Click, host);

  if (old != nullptr)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
  ASSERT_EQ(outcome.status, Outcome::Status::Clean) << outcome.message;
  const std::string written = dataHome / "verilote/r.txt";
  EXPECT_EQ(ReadBytes(written), "linha\r\n");
  EXPECT_EQ(
      host.messages,
      std::vector<std::string>{
          "Copiado com sucesso !!\r" + written + "\r" +
          std::string(
              "A pasta do programa não permite gravação: o arquivo foi gravado na pasta de dados do usuário."_cp)});
}

TEST(CopyToNewFile, ReadOnlyProgramDirectoryFallsBackToUserData) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  ScratchDir program;
  fs::permissions(program.path(), fs::perms::owner_read | fs::perms::owner_exec);
  FakeHost host;
  host.programDirectory = program.path();
  const OutputDirectory dir = ChooseOutputDirectory(host);
  EXPECT_TRUE(dir.userData);
  EXPECT_NE(dir.path, program.path());
}

TEST(ReplacingFile, TargetUntouchedUntilCommit) {
  ScratchDir dir;
  std::ofstream(dir / "t.txt", std::ios::binary) << "original";
  {
    ReplacingFile file(dir / "t.txt");
    file.Write(std::string(200000, 'n'));  // beyond the write buffer
    EXPECT_EQ(ReadBytes(dir / "t.txt"), "original");
    // dropped without Commit, as when an exception passes
  }
  EXPECT_EQ(ReadBytes(dir / "t.txt"), "original");
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"t.txt"}) << "the work file is removed";

  ReplacingFile file(dir / "t.txt");
  file.WriteLines({"a", "b"});
  file.Commit();
  EXPECT_EQ(ReadBytes(dir / "t.txt"), "a\r\nb\r\n");
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"t.txt"});
}

TEST(AppendToExistingFile, ContinuesAfterTheLastByte) {
  TempFile target("header line\r\nno line end");
  FakeHost host;
  host.files = {target.path()};
  host.report = kAccentedReport;

  EXPECT_EQ(RunCommand(Copiaparaarquivojexistente1Click, host).status, Outcome::Status::Clean);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo para incluir");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Remessa);
  EXPECT_EQ(ReadBytes(target.path()), "header line\r\nno line end" + CrLfOf(kAccentedReport));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Incluido no arquivo " + target.path() + " com sucesso !!"});
}

TEST(AppendToExistingFile, EmptyReportAppendsNothingButReportsSuccess) {
  TempFile target("abc\r\n");
  FakeHost host;
  host.files = {target.path()};
  ASSERT_EQ(RunCommand(Copiaparaarquivojexistente1Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(ReadBytes(target.path()), "abc\r\n");
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST(AppendToExistingFile, CancelEndsSilently) {
  FakeHost host;
  host.report = {"x"};
  EXPECT_EQ(RunCommand(Copiaparaarquivojexistente1Click, host).status, Outcome::Status::Clean);
  EXPECT_EQ(host.dialogs.size(), 1u);
  EXPECT_TRUE(host.messages.empty());
}

TEST(AppendToExistingFile, MissingFileOrDirectoryFails) {
  ScratchDir dir;
  for (const std::string& path : {dir / "missing.txt", dir.path()}) {
    FakeHost host;
    host.files = {path};
    host.report = {"x"};
    const Outcome outcome = RunCommand(Copiaparaarquivojexistente1Click, host);
    EXPECT_EQ(outcome.status, Outcome::Status::Aborted) << path;
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fs::is_empty(dir.path())) << "nothing created for " << path;
  }
}

TEST(AppendToExistingFile, KeepsPermissionsAndSymbolicLinks) {
  ScratchDir dir;
  std::ofstream(dir / "real.txt", std::ios::binary) << "old\r\n";
  fs::permissions(dir / "real.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(dir / "real.txt", dir / "link.txt");
  FakeHost host;
  host.files = {dir / "link.txt"};
  host.report = {"new"};
  ASSERT_EQ(RunCommand(Copiaparaarquivojexistente1Click, host).status, Outcome::Status::Clean);
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(ReadBytes(dir / "real.txt"), "old\r\nnew\r\n");
  EXPECT_EQ(fs::status(dir / "real.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace verilote
