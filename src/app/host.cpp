#include "app/host.hpp"

#include <algorithm>

#include "app/report.hpp"

namespace verilote {

namespace {

// The answer without the blanks and control bytes around it.
std::string_view Stripped(std::string_view text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  const auto first = std::find_if(text.begin(), text.end(), kept);
  const auto last = std::find_if(text.rbegin(), text.rend(), kept).base();
  return first < last
             ? text.substr(static_cast<std::size_t>(first - text.begin()), static_cast<std::size_t>(last - first))
             : std::string_view();
}

}  // namespace

std::optional<std::size_t> Host::ChooseItem(std::string_view caption, std::string_view prompt,
                                            const std::vector<std::string>& items) {
  std::string numbered(prompt);
  for (std::size_t i = 0; i < items.size(); ++i) numbered += Cat("\r", i + 1, " - ", items[i]);
  const std::string answer(Stripped(InputBox(caption, numbered, "")));
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (answer.empty() || answer.size() > 4 || !std::all_of(answer.begin(), answer.end(), isDigit)) return std::nullopt;
  const std::size_t chosen = static_cast<std::size_t>(std::stoul(answer));
  if (chosen < 1 || chosen > items.size()) return std::nullopt;
  return chosen - 1;
}

void Host::ForEachReportLine(const std::function<void(std::string_view)>& line) {
  for (const std::string& text : ReportLines()) line(text);
}

}  // namespace verilote
