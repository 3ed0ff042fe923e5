#include "win/settings.hpp"

#include <windows.h>

#include "app/platform.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

constexpr DWORD kMostBytes = 32768;

}  // namespace

std::string DefaultSettingsFile() { return platform::UserDataDirectory() + "\\pasta.txt"; }

std::string DefaultReportFolderFile() { return platform::UserDataDirectory() + "\\pasta-relatorio.txt"; }

std::string ReadSetting(const std::string& file) {
  const HANDLE h = CreateFileW(WidePath(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string text(kMostBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(h, text.data(), kMostBytes, &read, nullptr)) read = 0;
  CloseHandle(h);
  text.resize(read);
  return text;
}

void WriteSetting(const std::string& file, const std::string& text) {
  const std::wstring path = WidePath(file);
  const std::size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos) CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace verilote::win
