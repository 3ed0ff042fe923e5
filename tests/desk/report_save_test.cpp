// "Salvar relatório como…" in the core: the saved file is the report's bytes
// with CR LF, and a save that fails anywhere leaves the chosen file as it was
// and no work file beside it.
#include "desk/report_save.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/cp1252.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "desk/report_store.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;

void Put(const std::string& path, std::string_view bytes) {
  std::ofstream(platform::PathOf(path), std::ios::binary) << bytes;  // a UTF-8 name, wide on Windows
}

TEST(ReportSaveTest, ReplacesTheTargetWithTheReportInCrLf) {
  ScratchDir dir;
  const std::string target = dir / "relat\xC3\xB3rio.txt";
  Put(target, "old content, longer than the report that replaces it\r\n");
  ReportStore store;
  store.Append("Layout detectado: SIGCB CNAB 240");
  store.Append("");
  store.Append("Registro numero 3 campo 20.3P inválido"_cp);  // a Windows-1252 byte stays one byte
  EXPECT_EQ(SaveReport(store, target), "");
  EXPECT_EQ(ReadBytes(target), "Layout detectado: SIGCB CNAB 240\r\n\r\nRegistro numero 3 campo 20.3P inv\xE1lido\r\n");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"relat\xC3\xB3rio.txt"});

  ReportStore empty;
  EXPECT_EQ(SaveReport(empty, target), "");
  EXPECT_EQ(ReadBytes(target), "");
}

TEST(ReportSaveTest, AFailedSaveKeepsTheTargetWhole) {
  ScratchDir dir;
  ReportStore store;
  store.Append("Registro numero 1");
  const std::string kept = "the user's file\r\n";
  std::filesystem::create_directory(dir.path / "pasta");
  struct Case {
    std::string target;
    std::string_view cause;
  } const cases[] = {
      {dir / "missing/relatorio.txt", "relatorio.txt"},
      {dir / "pasta", "pasta"},
      {dir / "readonly.txt", "readonly.txt"},
  };
  Put(dir / "readonly.txt", kept);
  std::filesystem::permissions(dir / "readonly.txt", std::filesystem::perms::owner_read);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const std::string error = SaveReport(store, c.target);
    EXPECT_NE(error.find(c.cause), std::string::npos) << error;
  }
  EXPECT_EQ(ReadBytes(dir / "readonly.txt"), kept);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path / "pasta"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"pasta", "readonly.txt"}));
}

#if defined(__GLIBC__)
// A store whose temporary files stop reading back half way through the save:
// the part already written must never reach the target.
TEST(ReportSaveTest, AStoreThatCannotBeReadBackKeepsTheTargetWhole) {
  auto broken = std::make_shared<bool>(false);
  const TemporaryFileMaker breaking = [broken](std::string& folder, platform::SystemError& error) -> std::FILE* {
    std::FILE* real = platform::TemporaryFile(folder, error);
    if (real == nullptr) return nullptr;
    struct Cookie {
      std::FILE* real;
      std::shared_ptr<bool> broken;
    };
    const cookie_io_functions_t io = {
        [](void* c, char* buffer, size_t size) -> ssize_t {
          auto* cookie = static_cast<Cookie*>(c);
          if (*cookie->broken) return -1;
          return static_cast<ssize_t>(std::fread(buffer, 1, size, cookie->real));
        },
        [](void* c, const char* buffer, size_t size) -> ssize_t {
          return static_cast<ssize_t>(std::fwrite(buffer, 1, size, static_cast<Cookie*>(c)->real));
        },
        [](void* c, off64_t* offset, int whence) {
          auto* cookie = static_cast<Cookie*>(c);
          if (fseeko64(cookie->real, *offset, whence) != 0) return -1;
          *offset = ftello64(cookie->real);
          return 0;
        },
        [](void* c) {
          auto* cookie = static_cast<Cookie*>(c);
          const int result = std::fclose(cookie->real);
          delete cookie;
          return result;
        }};
    return fopencookie(new Cookie{real, broken}, "w+b", io);
  };
  ReportStore store(breaking);
  for (int n = 1; n <= 200000; ++n) store.Append(Cat("Registro numero ", n));
  ScratchDir dir;
  const std::string target = dir / "relatorio.txt";
  Put(target, "the user's file\r\n");
  *broken = true;
  EXPECT_NE(SaveReport(store, target), "");
  EXPECT_EQ(ReadBytes(target), "the user's file\r\n");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"relatorio.txt"});
}
#endif

}  // namespace
}  // namespace verilote
