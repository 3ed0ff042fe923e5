#include "win/win_text.hpp"

#include "app/cp1252.hpp"

namespace verilote::win {

namespace {

bool IsKey(int code) {
  return (code >= 112 && code <= 135) || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

}  // namespace

std::wstring FromCp1252(std::string_view bytes) {
  std::wstring text(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    text[i] = static_cast<wchar_t>(cp1252::ToCodePoint(static_cast<unsigned char>(bytes[i])));
  return text;
}

std::string ToCp1252(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const wchar_t c : text) {
    const int byte = cp1252::FromCodePoint(static_cast<char32_t>(c));
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

std::string PathBytes(std::wstring_view path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.data(), size, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::wstring WidePath(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

std::wstring MessageText(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L'\n';
    } else {
      out += text[i];
    }
  }
  return out;
}

std::optional<ACCEL> AcceleratorOf(int shortcut, WORD command) {
  const int code = shortcut & 0xFF;
  if (shortcut == 0 || !IsKey(code)) return std::nullopt;
  BYTE flags = FVIRTKEY;
  if (shortcut & 8192) flags |= FSHIFT;
  if (shortcut & 16384) flags |= FCONTROL;
  if (shortcut & 32768) flags |= FALT;
  return ACCEL{flags, static_cast<WORD>(code), command};
}

std::wstring ShortcutText(int shortcut) {
  const int code = shortcut & 0xFF;
  if (shortcut == 0 || !IsKey(code)) return {};
  std::wstring text;
  if (shortcut & 16384) text += L"Ctrl+";
  if (shortcut & 8192) text += L"Shift+";
  if (shortcut & 32768) text += L"Alt+";
  if (code >= 112)
    text += L"F" + std::to_wstring(code - 111);
  else
    text += static_cast<wchar_t>(code);
  return text;
}

}  // namespace verilote::win
