// verilote.exe: the desktop window on Windows.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <objbase.h>

#include <exception>
#include <memory>

#include "app/errors.hpp"
#include "app/shell.hpp"
#include "desk/window_texts.hpp"
#include "win/main_window.hpp"
#include "win/win_text.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace verilote;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // for ShellExecuteW
  const std::wstring name = win::FromCp1252(kProgramName);
  std::unique_ptr<win::MainWindow> window;
  try {
    window = std::make_unique<win::MainWindow>(instance, win::WindowOptions{{}, {}, true, {}, {}},
                                               win::MakeDialogAsker(instance, name));
  } catch (const std::exception& e) {  // no temporary file for the report, no window
    MessageBoxW(nullptr, win::FromCp1252(InPortuguese(e.what())).c_str(), name.c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(window->Handle(), show);
  UpdateWindow(window->Handle());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // The inspector's keys first: Tab, its mnemonics, Escape; the main
    // window's shortcuts stay the main window's.
    if (const win::RecordInspector* inspector = window->Inspector();
        inspector != nullptr && inspector->Handle() != nullptr && IsDialogMessageW(inspector->Handle(), &msg))
      continue;
    if (window->Handle() != nullptr && TranslateAcceleratorW(window->Handle(), window->Accelerators(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window.reset();
  CoUninitialize();
  return static_cast<int>(msg.wParam);
}
