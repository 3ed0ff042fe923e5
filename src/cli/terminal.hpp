// What verilote-cli writes to a terminal: the bytes of records and file names
// with their control bytes shown as marks, so that an ESC in a record cannot
// retitle, clear or recolour the user's terminal.
#pragma once

#include <cstddef>
#include <streambuf>

namespace verilote {

// Which standard streams are terminals (platform::IsTerminal); files and
// pipes get the bytes exactly.
struct Terminals {
  bool out = false;
  bool err = false;
};

// Passes bytes on to `to`, each control byte as `cat -v` shows it: ^[ for ESC,
// ^G for BEL, ^I for a tab, ^? for DEL, and, in UTF-8 text, M-^[ for the C1
// control U+009B. Only the line feed passes: it ends our own lines.
class ControlMarks final : public std::streambuf {
 public:
  ControlMarks(std::streambuf* to, bool utf8) : to_(to), utf8_(utf8) {}
  ~ControlMarks() override;
  ControlMarks(const ControlMarks&) = delete;
  ControlMarks& operator=(const ControlMarks&) = delete;

  // Text in Windows-1252 (run --encoding cp1252) has no C1 controls to mark:
  // its bytes 0x80-0x9F are letters and signs.
  void SetUtf8(bool utf8) { utf8_ = utf8; }

 protected:
  int overflow(int c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool Put(const char* s, std::size_t n);
  bool Raw(const char* s, std::size_t n);

  std::streambuf* to_;
  bool utf8_;
  bool leadHeld_ = false;  // a 0xC2 that may begin a C1 control, not written yet
};

}  // namespace verilote
