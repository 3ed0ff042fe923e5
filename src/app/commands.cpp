#include <array>
#include <exception>
#include <new>

#include "app/command_table.hpp"
#include "app/errors.hpp"

namespace verilote {

const MenuRow* FindRow(std::string_view handler) {
  if (handler.empty()) return nullptr;
  for (const MenuRow& row : MenuRows())
    if (row.handler == handler) return &row;
  return nullptr;
}

Handler FindHandler(std::string_view name) {
  using Bindings = std::span<const HandlerBinding> (*)();
  static constexpr std::array<Bindings, 6> kSubsystems = {AppHandlers,        BankingHandlers, BarcodeHandlers,
                                                          RemittanceHandlers, LayoutHandlers,  ToolHandlers};
  for (const Bindings bindings : kSubsystems)
    for (const HandlerBinding& binding : bindings())
      if (binding.name == name) return binding.handler;
  return nullptr;
}

Outcome RunCommand(Handler handler, Host& host) {
  try {
    const Verdict verdict = handler(host);
    return {verdict == Verdict::Clean ? Outcome::Status::Clean : Outcome::Status::Faulty, {}};
  } catch (const ConversionError& e) {
    return {Outcome::Status::Aborted, e.what()};
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
