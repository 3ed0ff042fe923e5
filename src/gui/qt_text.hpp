// The one place where the window turns Windows-1252 bytes into Qt text and
// back, and the toolkit's shortcut codes into key sequences.
#pragma once

#include <QKeySequence>
#include <QString>
#include <string>
#include <string_view>

namespace verilote::gui {

// Windows-1252 bytes as text for the screen. Every byte keeps its own
// character (the five bytes the code page leaves undefined become U+0081,
// U+008D, U+008F, U+0090, U+009D), so ToCp1252(FromCp1252(b)) == b.
QString FromCp1252(std::string_view bytes);

// Text from the screen back to Windows-1252 bytes; a character the code page
// lacks (typed or pasted by the user) becomes "?".
std::string ToCp1252(QStringView text);

// A file name as the core takes it: UTF-8 on Windows (where the core's
// platform layer turns it into the system's wide names), the file system's
// own encoding elsewhere.
std::string PathBytes(const QString& path);
// And back: a file name the core holds, as text for the screen.
QString PathText(std::string_view path);

// A menu shortcut as the command table encodes it (key code in the low byte,
// +8192 Shift, +16384 Ctrl, +32768 Alt). Keys the table does not use give an
// empty sequence.
QKeySequence KeySequenceOf(int shortcut);

}  // namespace verilote::gui
