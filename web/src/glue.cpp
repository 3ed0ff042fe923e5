// What the JavaScript API (web/verilote.js) calls in verilote-core.wasm: the
// command line's own check, show and run, their output streamed to JavaScript
// in blocks, and the command table. The files are paths in Emscripten's file
// system, mounted by the API where they lie (a File in a worker, a folder in
// Node), so that the core reads them in blocks as it reads any file.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "cli/check.hpp"
#include "cli/cli.hpp"
#include "web/src/finding_shapes.hpp"

// Hands a block of output to JavaScript: channel 1 stdout, 2 stderr.
EM_JS(void, vl_emit, (int channel, const char* bytes, int size),
      { Module.vlEmit(channel, HEAPU8.subarray(bytes, bytes + size)); });
// Hands a batch of report lines to JavaScript: their bytes, each line followed
// by a line feed, the end of each line, and the record of each (0: none).
// `text`: 0 when the lines are UTF-8, 1 when they are Windows-1252 with no
// byte in 0x80-0x9F (what Latin-1 reads the same), 2 for Windows-1252.
EM_JS(void, vl_lines,
      (const char* bytes, int size, const std::uint32_t* ends, const double* records, const std::uint32_t* shapes,
       int count, int text),
      {
        Module.vlLines(HEAPU8.subarray(bytes, bytes + size), HEAPU32.subarray(ends >> 2, (ends >> 2) + count),
                       HEAPF64.subarray(records >> 3, (records >> 3) + count),
                       HEAPU32.subarray(shapes >> 2, (shapes >> 2) + count), text);
      });
// The reading's progress; false when the caller stops the run.
EM_JS(int, vl_progress, (double bytesRead, double bytesTotal),
      { return Module.vlProgress(bytesRead, bytesTotal) ? 1 : 0; });

namespace {

// An output stream's bytes, to JavaScript some 64 KiB at a time.
class EmitBuffer final : public std::streambuf {
 public:
  explicit EmitBuffer(int channel) : channel_(channel) { setp(buffer_, buffer_ + sizeof buffer_); }
  ~EmitBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    sync();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    if (pptr() != pbase()) vl_emit(channel_, pbase(), static_cast<int>(pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
    return 0;
  }

 private:
  int channel_;
  char buffer_[1 << 16];
};

// Report lines to JavaScript in batches: one call per line would cost more
// than the validator's work on it.
class LineBatch {
 public:
  ~LineBatch() { Flush(); }
  // `line` in Windows-1252: JavaScript decodes the batch as the JSON
  // document's TerminalText would (the five bytes Windows-1252 leaves
  // undefined as U+0081..., as ToUtf8 gives them), unless a file name it may
  // quote is not ASCII: the lines are then made UTF-8 here, the name's bytes
  // kept.
  void Add(std::string_view line, std::span<const std::string> names, const verilote::Finding* finding) {
    const bool asciiNames = std::all_of(names.begin(), names.end(), [](const std::string& name) {
      return std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
    });
    if (!ends_.empty() && asciiNames != cp1252_) Flush();
    cp1252_ = asciiNames;
    if (asciiNames) {
      unsigned char high = 0;  // 0x80-0x9F seen: bits 0x80 set and 0x60 clear
      for (const char c : line) high |= (static_cast<unsigned char>(c) & 0xE0) == 0x80 ? 1 : 0;
      c1_ = c1_ || high != 0;
      bytes_ += line;
    } else {
      bytes_ += verilote::TerminalText(line, names);
    }
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    bytes_ += '\n';
    records_.push_back(finding != nullptr ? static_cast<double>(finding->record) : 0);
    shapes_.push_back(finding != nullptr ? verilote::web::FindingShapes::Of(finding->kind, finding->fields) : 0);
    if (bytes_.size() >= kBatchBytes || ends_.size() >= kBatchLines) Flush();
  }
  void Flush() {
    if (!ends_.empty())
      vl_lines(bytes_.data(), static_cast<int>(bytes_.size()), ends_.data(), records_.data(), shapes_.data(),
               static_cast<int>(ends_.size()),
               !cp1252_ ? 0
               : c1_    ? 2
                        : 1);
    c1_ = false;
    bytes_.clear();
    ends_.clear();
    records_.clear();
    shapes_.clear();
  }

 private:
  static constexpr std::size_t kBatchBytes = 1 << 18;
  static constexpr std::size_t kBatchLines = 4096;
  std::string bytes_;
  std::vector<std::uint32_t> ends_;
  std::vector<double> records_;
  std::vector<std::uint32_t> shapes_;
  bool cp1252_ = true;  // the batch's lines are Windows-1252 (else UTF-8)
  bool c1_ = false;     // and hold a byte in 0x80-0x9F
};

}  // namespace

namespace verilote::web {

std::vector<std::string_view> Arguments(const char* packed, int size) {
  std::vector<std::string_view> args;
  const std::string_view all(packed, static_cast<std::size_t>(size));
  for (std::size_t at = 0; at < all.size();) {
    const std::size_t end = all.find('\0', at);
    if (end == std::string_view::npos) break;
    args.push_back(all.substr(at, end - at));
    at = end + 1;
  }
  return args;
}

}  // namespace verilote::web

namespace {

using verilote::web::Arguments;

std::string ShortcutText(int code) {
  if (code == 0) return {};
  std::string text;
  if (code & 16384) text += "Ctrl+";
  if (code & 8192) text += "Shift+";
  if (code & 32768) text += "Alt+";
  const int key = code & 0xFF;
  if (key >= 112 && key <= 123) return text + "F" + std::to_string(key - 111);
  if (key == 46) return text + "Del";
  if (key == 45) return text + "Ins";
  return text + static_cast<char>(key);
}

}  // namespace

extern "C" {

// The command line `args` as verilote-cli takes them; its stdout and stderr
// go to JavaScript (vl_emit). Returns the exit status.
EMSCRIPTEN_KEEPALIVE int vl_cli(const char* packed, int size) {
  const std::vector<std::string_view> args = Arguments(packed, size);
  EmitBuffer outBuffer(1), errBuffer(2);
  std::ostream out(&outBuffer), err(&errBuffer);
  const int status = verilote::CliMain(args, out, err);
  out.flush();
  err.flush();
  return status;
}

// check with the arguments after "check", its progress asked of vl_progress
// and, with `streamLines`, its report lines streamed to vl_lines (the JSON
// document's "report" and "issues" then empty); the document to vl_emit.
EMSCRIPTEN_KEEPALIVE int vl_check(const char* packed, int size, int streamLines) {
  const std::vector<std::string_view> args = Arguments(packed, size);
  EmitBuffer outBuffer(1), errBuffer(2);
  std::ostream out(&outBuffer), err(&errBuffer);
  LineBatch batch;
  verilote::CheckStream stream;
  if (streamLines != 0)
    stream.line = [&batch](std::string_view line, std::span<const std::string> names,
                           const verilote::Finding* finding) { batch.Add(line, names, finding); };
  stream.progress = [&batch](std::uint64_t read, std::uint64_t total) {
    batch.Flush();  // the lines before the progress they belong to
    return vl_progress(static_cast<double>(read), static_cast<double>(total)) != 0;
  };
  const int status = verilote::CheckStreamed(args, stream, out, err);
  batch.Flush();
  out.flush();
  err.flush();
  return status;
}

// The command table as a JSON array (UTF-8) to vl_emit's stdout.
EMSCRIPTEN_KEEPALIVE void vl_commands() {
  using namespace verilote;
  EmitBuffer buffer(1);
  std::ostream out(&buffer);
  out << '[';
  bool first = true;
  for (const MenuRow& row : MenuRows()) {
    if (row.IsSeparator()) continue;
    out << (first ? "\n" : ",\n") << "{\"path\": [";
    first = false;
    bool firstPart = true;
    for (std::string_view path = row.path; !path.empty();) {
      const std::size_t cut = path.find(kPathSeparator);
      out << (firstPart ? "" : ", ") << JsonString(ToUtf8(path.substr(0, cut)));
      firstPart = false;
      path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + kPathSeparator.size());
    }
    const bool window = row.scope == Scope::Window;
    const bool built = FindHandler(row.handler) != nullptr;
    out << "], \"caption\": " << JsonString(ToUtf8(row.caption)) << ", \"handler\": " << JsonString(row.handler)
        << ", \"ready\": " << (!window && built ? "true" : "false") << ", \"state\": "
        << JsonString(window  ? "window only"
                      : built ? "ready"
                              : "not built yet");
    if (row.shortcut != 0) out << ", \"shortcut\": " << JsonString(ShortcutText(row.shortcut));
    out << '}';
  }
  out << "\n]\n";
  out.flush();
}

}  // extern "C"
