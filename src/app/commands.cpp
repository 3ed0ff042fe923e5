#include <array>
#include <exception>
#include <new>

#include "app/command_table.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"

namespace verilote {

const MenuRow* FindRow(std::string_view handler) {
  if (handler.empty()) return nullptr;
  for (const MenuRow& row : MenuRows())
    if (row.handler == handler) return &row;
  return nullptr;
}

Handler FindHandler(std::string_view name) {
  using Bindings = std::span<const HandlerBinding> (*)();
  static constexpr std::array<Bindings, 8> kSubsystems = {AppHandlers,        BankingHandlers, BarcodeHandlers,
                                                          RemittanceHandlers, LayoutHandlers,  ToolHandlers,
                                                          ReturnHandlers,     DetectHandlers};
  for (const Bindings bindings : kSubsystems)
    for (const HandlerBinding& binding : bindings())
      if (binding.name == name) return binding.handler;
  return nullptr;
}

namespace {

// The host as the command sees it: every call goes through to the real host;
// an input box also notes its prompt, so that a conversion error can say
// which answer it could not read.
class PlaceNotingHost final : public Host {
 public:
  explicit PlaceNotingHost(Host& host) : host_(host) {}
  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override {
    std::string answer = host_.InputBox(caption, prompt, defaultText);
    Place& place = CurrentPlace();
    place.prompt = prompt;
    place.promptLast = true;
    return answer;
  }
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override {
    return host_.OpenFile(title, filter);
  }
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override {
    return host_.ChooseItem(caption, prompt, items);
  }
  void ShowMessage(std::string_view text) override { host_.ShowMessage(text); }
  void ReportClear() override { host_.ReportClear(); }
  void ReportAppend(std::string_view line) override { host_.ReportAppend(line); }
  void ReportFinding(const Finding& finding) override { host_.ReportFinding(finding); }
  std::vector<std::string> ReportLines() override { return host_.ReportLines(); }
  void ForEachReportLine(const std::function<void(std::string_view)>& line) override { host_.ForEachReportLine(line); }
  std::string ProgramDirectory() override { return host_.ProgramDirectory(); }
  CivilDate Today() override { return host_.Today(); }
  void Sleep(int milliseconds) override { host_.Sleep(milliseconds); }
  void Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) override { host_.Progress(bytesRead, bytesTotal); }

 private:
  Host& host_;
};

}  // namespace

Outcome RunCommand(Handler handler, Host& realHost) {
  CurrentPlace() = Place{};
  PlaceNotingHost host(realHost);
  try {
    const Verdict verdict = handler(host);
    return {verdict == Verdict::Clean ? Outcome::Status::Clean : Outcome::Status::Faulty, {}};
  } catch (const ConversionError& e) {
    // The layout's own text first, then where it happened.
    std::string message = e.what();
    if (const std::string place = DescribePlace(CurrentPlace()); !place.empty()) message += "\n" + place;
    return {Outcome::Status::Aborted, std::move(message)};
  } catch (const FileError& e) {
    return {Outcome::Status::Aborted, e.what()};
  } catch (const CommandStopped& e) {
    return {Outcome::Status::Aborted, e.what()};
  } catch (const std::bad_alloc&) {
    return {Outcome::Status::Aborted, "Out of memory"};
  } catch (const std::exception& e) {
    // A fault of the program itself: the window goes on, and the fuzzer hears of it.
    return {Outcome::Status::Aborted, std::string("Internal error: ") + e.what(), true};
  }
}

}  // namespace verilote
