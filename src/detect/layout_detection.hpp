// Which of the bank's layouts a file follows, told from its first records.
// The layouts are recognised by one table (LayoutTable), read as data: the
// record length of each layout and the fields of its first records that set
// it apart. Structure weighs more than version numbers: producers vary the
// versions and literals of the headers, but where a layout writes its
// cedente code, its Nosso Número and the fields it keeps blank or zero is what
// its validator reads. Detection never guesses silently: it names the layout
// with the fields that fit and those that do not, the other layouts that fit
// as well and why they were not taken, or no layout with what it saw.
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
  First,        // the first record of the file
  Second,       // the record after it
  OfType,       // the first record holding `type` at `typeAt` (and `segment` at `segmentAt`, when set)
  Every,        // every sampled record (blank lines left out)
  EveryOfType,  // every sampled record holding `type` at `typeAt`
};

enum class Expect {
  OneOf,   // `values`, alternatives joined by '|'
  NoneOf,  // none of `values`
  Digits,  // every position a digit
  Blank,   // every position a blank
  Zeros,   // every position a zero
};

// What a field weighs in the choice between layouts of the same record length.
enum class Weight {
  Kind,       // the kind of file (collection or payment, remittance or return): a miss rules the layout out
  Structure,  // where the layout writes its codes, what it keeps blank or zero: the most agreeing wins
  Version,    // versions and literals that producers vary: they only break a tie of structure
};

// One field that a layout's records must hold.
struct Probe {
  Pick pick;
  std::size_t typeAt;  // for Pick::OfType
  char type;
  std::size_t segmentAt;  // for Pick::OfType; 0: any segment
  char segment;
  std::size_t from, to;  // 1-based, inclusive
  Expect expect;
  std::string_view values;
  // Evidence, Windows-1252: "{}" stands for the field's content; a label
  // without it names the positions, and the evidence adds what they hold.
  std::string_view label;
  Weight weight;
};

inline constexpr std::size_t kMaxProbes = 16;

struct LayoutRow {
  std::string_view name;     // as --layout takes it
  std::string_view title;    // as the evidence names it (Windows-1252)
  std::string_view handler;  // the validator it leads to; empty when the program has none
  std::size_t length;        // record length
  bool orLonger;             // records of at least `length` positions
  std::array<Probe, kMaxProbes> probes;
  std::size_t probeCount;
  // Where no validator reads the layout: the handlers of the commands that do
  // take its files (repairs), joined by '|'.
  std::string_view repairs = {};
};

std::span<const LayoutRow> LayoutTable();

// The row of a --layout name, or nullptr.
const LayoutRow* FindLayout(std::string_view name);

// The report's lines for a layout the program has no validator for:
// "Nenhum validador foi executado: ...", then the commands that take its
// files, each by its menu path and caption ("Acertos › SICOV - ... › Altera
// NSA"), as the user finds them in the menu.
std::vector<std::string> NoValidatorLines(const LayoutRow& layout);

struct Detection {
  enum class Kind { Recognised, NotRecognised };
  Kind kind = Kind::NotRecognised;
  // The layout chosen, then the others that fit its fields as well (a tie
  // that the table's order settles: the layout the bank issues today first).
  std::vector<const LayoutRow*> layouts;
  // What the verdict line says after "Layout detectado: " (the layout's
  // title) or "Layout não reconhecido: " (what was read). Windows-1252.
  std::string verdict;
  // The reasons, one layout a line: the chosen layout with the fields that
  // fit and those that do not, the layouts that fit as well, each layout
  // ruled out with the fields that ruled it out; or the nearest layout of a
  // file not recognised. Then the line ends, when they are not CR LF.
  std::vector<std::string> reasons;

  // The report's first lines: the verdict, short enough to read at a glance
  // ("Layout detectado: SIGCB CNAB 240"), then the reasons.
  std::vector<std::string> Lines() const;
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

// The lines for a layout chosen by the user or forced by --layout, with the
// detection it overrides: "Layout escolhido: X (Layout detectado: Y)", then
// the detection's reasons.
std::vector<std::string> ChosenLines(const LayoutRow& chosen, const Detection& detection);

}  // namespace verilote
