// Every modal question the window asks the user, behind one interface: the
// window uses the system's dialogs (MakeDialogAsker), the tests a scripted
// hand that answers without anyone there. Called on the window's thread.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/host.hpp"

namespace verilote::win {

class Asker {
 public:
  virtual ~Asker() = default;
  // The input box: the edited text on OK, `defaultText` on Cancel.
  virtual std::wstring AskText(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                               const std::wstring& defaultText) = 0;
  // The file-open dialog, opening in `folder`; nothing on Cancel.
  virtual std::optional<std::wstring> AskFile(HWND owner, const std::wstring& title, FileFilter filter,
                                              const std::wstring& folder) = 0;
  // The save dialog, opening in `folder` on the name `name`; nothing on Cancel.
  virtual std::optional<std::wstring> AskSaveFile(HWND owner, const std::wstring& title, const std::wstring& folder,
                                                  const std::wstring& name) = 0;
  // A list to choose from: the chosen index, nothing on Cancel.
  virtual std::optional<int> AskItem(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                                     const std::vector<std::wstring>& items) = 0;
  // A message box with OK; `error` shows it as a failure.
  virtual void Tell(HWND owner, const std::wstring& text, bool error) = 0;
  // "Sim" / "Não"; true for "Sim".
  virtual bool Confirm(HWND owner, const std::wstring& text) = 0;
  // The colour dialog opening on `initial`; nothing on Cancel.
  virtual std::optional<COLORREF> AskColor(HWND owner, COLORREF initial) = 0;
};

// The system's dialogs (input box and list built in memory, GetOpenFileNameW,
// GetSaveFileNameW, MessageBoxW, ChooseColorW), titled `programName`, each
// opening over its owner and carrying the program's icon.
std::unique_ptr<Asker> MakeDialogAsker(HINSTANCE instance, std::wstring programName);

}  // namespace verilote::win
