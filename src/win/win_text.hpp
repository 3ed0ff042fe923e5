// The one place where the Win32 window turns Windows-1252 bytes into UTF-16
// for the screen and back, file names into the core's bytes, and the command
// table's shortcut codes into accelerators.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace verilote::win {

// Windows-1252 bytes as UTF-16. Every byte keeps its own character (the five
// bytes the code page leaves undefined become U+0081, U+008D, U+008F, U+0090,
// U+009D), so ToCp1252(FromCp1252(b)) == b.
std::wstring FromCp1252(std::string_view bytes);

// Text from the screen back to Windows-1252; a character the code page lacks
// (typed or pasted by the user) becomes "?".
std::string ToCp1252(std::wstring_view text);

// A file name as the core takes it on Windows: UTF-8, which its platform
// layer turns back into the system's wide name, as verilote-cli does with
// its arguments. And back.
std::string PathBytes(std::wstring_view path);
std::wstring WidePath(std::string_view bytes);

// A message box text: a carriage return breaks the line.
std::wstring MessageText(std::wstring_view text);

// A command table shortcut (key code in the low byte, +8192 Shift, +16384
// Ctrl, +32768 Alt) as an accelerator for `command`, and as the text the menu
// shows after its caption ("Ctrl+I"); nothing for a key the table does not use.
std::optional<ACCEL> AcceleratorOf(int shortcut, WORD command);
std::wstring ShortcutText(int shortcut);

}  // namespace verilote::win
