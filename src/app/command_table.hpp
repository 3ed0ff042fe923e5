// The command table: every item of the main window's menu, as data. The window
// builds its menus from MenuRows(), verilote-cli lists and runs commands from
// it, and the tests check it. A command not built yet has no handler: the
// window greys it out and the CLI refuses it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace verilote {

class Host;

// What a command concludes about its input: Faulty when a validator wrote
// findings or a barcode was invalid.
enum class Verdict { Clean, Faulty };

using Handler = Verdict (*)(Host&);

// Core commands run through the host interface; Window commands (printing,
// the about box, web pages, closing) exist only in the window.
enum class Scope { Core, Window };

struct MenuRow {
  std::string_view path;     // submenu captions joined by kPathSeparator; empty at top level
  std::string_view caption;  // with its "&" accelerator; "-" for a separator
  int shortcut;              // toolkit code: key in the low byte, +8192 Shift, +16384 Ctrl; 0 none
  std::string_view handler;  // empty for a separator
  Scope scope;

  bool IsSeparator() const { return caption == "-"; }
};

inline constexpr std::string_view kPathSeparator = " \x9B ";

// Shift+F1 on the top-level menu "&Validar", which opens no command of its own.
inline constexpr int kValidarMenuShortcut = 8192 + 112;

std::span<const MenuRow> MenuRows();

// The row of a handler name, or nullptr.
const MenuRow* FindRow(std::string_view handler);

// The handler built for a name, or nullptr while it is not built yet.
Handler FindHandler(std::string_view name);

struct HandlerBinding {
  std::string_view name;
  Handler handler;
};

// Each subsystem lists the commands it has built (see the handlers.cpp of
// each source folder).
std::span<const HandlerBinding> AppHandlers();
std::span<const HandlerBinding> BankingHandlers();
std::span<const HandlerBinding> BarcodeHandlers();
std::span<const HandlerBinding> RemittanceHandlers();
std::span<const HandlerBinding> LayoutHandlers();
std::span<const HandlerBinding> ToolHandlers();
std::span<const HandlerBinding> ReturnHandlers();
std::span<const HandlerBinding> DetectHandlers();

// Runs one command to its end and catches, at this one boundary, the failures
// that abort it (conversion and file errors, a stop by the user).
struct Outcome {
  enum class Status { Clean, Faulty, Aborted };
  Status status;
  std::string message;         // the error text when Aborted (Windows-1252)
  bool internalError = false;  // aborted by a fault of the program, not of the input
};
Outcome RunCommand(Handler handler, Host& host);

}  // namespace verilote
