// Which of the bank's layouts a file follows, told from its first records.
// The layouts are recognised by one table (LayoutTable), read as data: the
// record length of each layout and the fields of its first records that set
// it apart (bank code, record types, the versions of the file header and the
// lote header, the literals of the CNAB 400 header, the first character of a
// CapCaixa file). Detection never guesses silently: it names one layout with
// the evidence, a short list of candidates, or no layout with what it saw.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace verilote {

// Which sampled record a probe reads.
enum class Pick {
  First,   // the first record of the file
  Second,  // the record after it
  OfType,  // the first record holding `type` at position `typeAt`
  Every,   // every sampled record (blank lines left out)
};

enum class Expect {
  OneOf,   // `values`, alternatives joined by '|'
  Digits,  // every position a digit
  Blank,   // every position a blank
};

// One field that a layout's records must hold.
struct Probe {
  Pick pick;
  std::size_t typeAt;  // for Pick::OfType
  char type;
  std::size_t from, to;  // 1-based, inclusive
  Expect expect;
  std::string_view values;
  std::string_view label;  // evidence, Windows-1252; "{}" stands for the field's content
};

inline constexpr std::size_t kMaxProbes = 6;

struct LayoutRow {
  std::string_view name;     // as --layout takes it
  std::string_view title;    // as the evidence names it (Windows-1252)
  std::string_view handler;  // the validator it leads to; empty when the program has none
  std::size_t length;        // record length
  bool orLonger;             // records of at least `length` positions
  std::array<Probe, kMaxProbes> probes;
  std::size_t probeCount;
};

std::span<const LayoutRow> LayoutTable();

// The row of a --layout name, or nullptr.
const LayoutRow* FindLayout(std::string_view name);

struct Detection {
  enum class Kind { Recognised, Candidates, NotRecognised };
  Kind kind = Kind::NotRecognised;
  std::vector<const LayoutRow*> layouts;  // the one layout, or the candidates
  std::string evidence;                   // Windows-1252

  // The report's first line: "Layout detectado: SIGCB CNAB 240: registros de
  // 240 posições, banco 104, ...", "Layouts possíveis: ..." or "Layout não
  // reconhecido: ...".
  std::string Line() const;
};

// How much of a file the detection reads: enough for a dozen records of the
// longest layout.
inline constexpr std::size_t kDetectionHead = std::size_t{1} << 16;

// Detects the layout of the bytes of a file's beginning; `wholeFile` says
// whether they are all of it.
Detection DetectLayoutOfHead(std::string_view head, bool wholeFile);

// Reads the head of a regular file and detects its layout. Throws FileError
// when the file cannot be opened or read.
Detection DetectLayout(const std::string& path);

// The line for a layout chosen by the user or forced by --layout, with the
// detection it overrides.
std::string ChosenLine(const LayoutRow& chosen, const Detection& detection);

}  // namespace verilote
