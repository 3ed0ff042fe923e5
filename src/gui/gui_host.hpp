// The window's side of a run (see desk/command_runner.hpp): the command's modal
// questions, asked on its worker thread, are handed to the window's thread,
// which the worker waits for; texts cross from Windows-1252 to the screen and
// back here.
#pragma once

#include "desk/command_runner.hpp"

namespace verilote::gui {

class MainWindow;

class GuiQuestions final : public WindowQuestions {
 public:
  explicit GuiQuestions(MainWindow& window) : window_(window) {}

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override;
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override;
  void ShowMessage(std::string_view text) override;
  void Finished(const Outcome& outcome) override;

 private:
  MainWindow& window_;
};

}  // namespace verilote::gui
