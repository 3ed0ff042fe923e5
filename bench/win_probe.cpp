// Looks at verilote.exe from another process under the same Wine, as
// bench/windows_window.sh needs: what the report list shows while the
// progress bar moves, and what a paste of the clipboard costs.
//
//   probe.exe watch     every 20 ms while a run goes on: "epoch_ms bar top
//                       rows count" (bar in thousandths, -1 when hidden; the
//                       list's top line, rows on screen, lines so far); ends
//                       when the bar has shown and hidden again
//   probe.exe paste     opens the clipboard as a program that pastes does:
//                       "seconds characters"
// Both on the desktop "verilote" (wine explorer /desktop=verilote,...).
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {

long long EpochMilliseconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const long long ticks = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return ticks / 10000 - 11644473600000LL;
}

int Watch() {
  HWND main = nullptr;
  for (int i = 0; i < 3000 && main == nullptr; ++i, Sleep(20)) main = FindWindowW(L"TForm1", nullptr);
  if (main == nullptr) return 1;
  HWND list = GetDlgItem(main, 10), bar = GetDlgItem(main, 13);
  bool seen = false;
  for (long long until = EpochMilliseconds() + 1800000; EpochMilliseconds() < until; Sleep(20)) {
    const bool shown = IsWindowVisible(bar) != FALSE;
    const long long pos = shown ? static_cast<long long>(SendMessageW(bar, PBM_GETPOS, 0, 0)) : -1;
    const long long top = SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
    const long long rows = SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0);
    const long long count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::printf("%lld %lld %lld %lld %lld\n", EpochMilliseconds(), pos, top, rows, count);
    std::fflush(stdout);
    if (shown) seen = true;
    if (seen && !shown) return 0;
  }
  return 1;
}

int Paste() {
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!OpenClipboard(nullptr)) return 1;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* text = static_cast<const wchar_t*>(data != nullptr ? GlobalLock(data) : nullptr);
  const std::size_t characters = text != nullptr ? std::wcslen(text) : 0;
  if (text != nullptr) GlobalUnlock(data);
  CloseClipboard();
  QueryPerformanceCounter(&end);
  std::printf("%.2f %zu\n",
              static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart), characters);
  return text != nullptr ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The window lives on the virtual desktop the bench starts it on.
  if (HDESK desktop = OpenDesktopW(L"verilote", 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
  if (argc == 2 && std::wcscmp(argv[1], L"watch") == 0) return Watch();
  if (argc == 2 && std::wcscmp(argv[1], L"paste") == 0) return Paste();
  std::fprintf(stderr, "usage: probe.exe watch | paste\n");
  return 2;
}
