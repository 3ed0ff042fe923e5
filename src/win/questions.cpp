#include "win/questions.hpp"

#include "win/main_window.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

void WinQuestions::OnWindowThread(std::function<void()> ask) {
  // Posted rather than sent: the window asks from its own message loop, as
  // for any other message (Wine paints no dialog opened inside a sent
  // message). The window takes every posted question before it is
  // destroyed, so the wait ends; it returns at once, unanswered, when the
  // window is already gone.
  Question question{std::move(ask), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  if (question.answered != nullptr && PostMessageW(handle_, kQuestionMessage, 0, reinterpret_cast<LPARAM>(&question)))
    WaitForSingleObject(question.answered, INFINITE);
  if (question.answered != nullptr) CloseHandle(question.answered);
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
  auto* ended = new Outcome(outcome);
  if (!PostMessageW(handle_, kFinishedMessage, 0, reinterpret_cast<LPARAM>(ended))) delete ended;
}

}  // namespace verilote::win
