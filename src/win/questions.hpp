// The Win32 window's side of a run (see desk/command_runner.hpp): each
// question of the worker thread travels to the window's thread as a private
// message, and the worker waits until the window has asked the user; texts cross from Windows-1252 to UTF-16 and back
// here.
#pragma once

#include <windows.h>

#include <functional>

#include "desk/command_runner.hpp"

namespace verilote::win {

class MainWindow;

// Posted to the window with a Question* to run on its thread; the window
// sets `answered` when it has.
inline constexpr UINT kQuestionMessage = WM_APP + 1;
struct Question {
  std::function<void()> ask;
  HANDLE answered;
};
// Posted to the window with a new Outcome* when the command has ended.
inline constexpr UINT kFinishedMessage = WM_APP + 2;

class WinQuestions final : public WindowQuestions {
 public:
  explicit WinQuestions(MainWindow& window) : window_(window) {}
  void SetWindow(HWND handle) { handle_ = handle; }

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override;
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override;
  void ShowMessage(std::string_view text) override;
  void Finished(const Outcome& outcome) override;

 private:
  void OnWindowThread(std::function<void()> ask);

  MainWindow& window_;
  HWND handle_ = nullptr;
};

}  // namespace verilote::win
