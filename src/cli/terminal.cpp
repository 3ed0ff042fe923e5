#include "cli/terminal.hpp"

namespace verilote {

namespace {

constexpr unsigned char kC1Lead = 0xC2;  // U+0080-U+009F are C2 80 - C2 9F

bool IsMarked(unsigned char byte) { return (byte < 0x20 && byte != '\n') || byte == 0x7F; }

}  // namespace

ControlMarks::~ControlMarks() {
  if (leadHeld_) Raw("\xC2", 1);
}

bool ControlMarks::Raw(const char* s, std::size_t n) {
  return to_->sputn(s, static_cast<std::streamsize>(n)) == static_cast<std::streamsize>(n);
}

bool ControlMarks::Put(const char* s, std::size_t n) {
  std::size_t start = 0;  // the first byte not yet written
  for (std::size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if (leadHeld_) {
      leadHeld_ = false;
      if (byte >= 0x80 && byte <= 0x9F) {
        const char mark[] = {'M', '-', '^', static_cast<char>((byte & 0x7F) ^ 0x40)};
        if (!Raw(mark, sizeof mark)) return false;
        start = i + 1;
        continue;
      }
      if (!Raw("\xC2", 1)) return false;
    }
    if (IsMarked(byte)) {
      const char mark[] = {'^', static_cast<char>(byte ^ 0x40)};
      if (!Raw(s + start, i - start) || !Raw(mark, sizeof mark)) return false;
      start = i + 1;
    } else if (utf8_ && byte == kC1Lead) {
      if (!Raw(s + start, i - start)) return false;
      leadHeld_ = true;
      start = i + 1;
    }
  }
  return Raw(s + start, n - start);
}

int ControlMarks::overflow(int c) {
  if (c == traits_type::eof()) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return Put(&byte, 1) ? c : traits_type::eof();
}

std::streamsize ControlMarks::xsputn(const char* s, std::streamsize n) {
  return Put(s, static_cast<std::size_t>(n)) ? n : 0;
}

int ControlMarks::sync() {
  // A held lead byte waits for its second byte, which the next write brings.
  return to_->pubsync();
}

}  // namespace verilote
