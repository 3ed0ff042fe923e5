#include "app/host.hpp"

#include "app/report.hpp"
#include "banking/text.hpp"

namespace verilote {

std::optional<std::size_t> Host::ChooseItem(std::string_view caption, std::string_view prompt,
                                            const std::vector<std::string>& items) {
  std::string numbered(prompt);
  for (std::size_t i = 0; i < items.size(); ++i) numbered += Cat("\r", i + 1, " - ", items[i]);
  const std::string answer(Trim(InputBox(caption, numbered, "")));
  if (answer.empty() || answer.size() > 4 || !IsAllDigits(answer)) return std::nullopt;
  const std::size_t chosen = static_cast<std::size_t>(std::stoul(answer));
  if (chosen < 1 || chosen > items.size()) return std::nullopt;
  return chosen - 1;
}

void Host::ForEachReportLine(const std::function<void(std::string_view)>& line) {
  for (const std::string& text : ReportLines()) line(text);
}

}  // namespace verilote
