#include "win/questions.hpp"

#include "win/main_window.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

void WinQuestions::OnWindowThread(std::function<void()> ask) {
  // Returns at once, unanswered, when the window is gone.
  SendMessageW(handle_, kQuestionMessage, 0, reinterpret_cast<LPARAM>(&ask));
}

std::string WinQuestions::InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) {
  std::string answer(defaultText);
  OnWindowThread(
      [&] { answer = ToCp1252(window_.AskText(FromCp1252(caption), FromCp1252(prompt), FromCp1252(defaultText))); });
  return answer;
}

std::optional<std::string> WinQuestions::OpenFile(std::string_view title, FileFilter filter) {
  std::optional<std::wstring> path;
  OnWindowThread([&] { path = window_.AskFile(FromCp1252(title), filter); });
  // A path names a file of the file system: it goes in the bytes the core's
  // platform layer takes, not in Windows-1252.
  if (!path) return std::nullopt;
  return PathBytes(*path);
}

std::optional<std::size_t> WinQuestions::ChooseItem(std::string_view caption, std::string_view prompt,
                                                    const std::vector<std::string>& items) {
  std::vector<std::wstring> shown;
  for (const std::string& item : items) shown.push_back(FromCp1252(item));
  std::optional<int> chosen;
  OnWindowThread([&] { chosen = window_.AskItem(FromCp1252(caption), FromCp1252(prompt), shown); });
  if (!chosen) return std::nullopt;
  return static_cast<std::size_t>(*chosen);
}

void WinQuestions::ShowMessage(std::string_view text) {
  OnWindowThread([&] { window_.Tell(FromCp1252(text)); });
}

void WinQuestions::Finished(const Outcome& outcome) {
  // The window joins the worker when it takes the message; the window is
  // alive until then (its destructor waits for this run).
  PostMessageW(handle_, kFinishedMessage, 0, reinterpret_cast<LPARAM>(new Outcome(outcome)));
}

}  // namespace verilote::win
