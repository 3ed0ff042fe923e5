// The readers of each kind of return, behind ReadReturn (return_file.hpp).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "returns/return_codes.hpp"
#include "returns/return_file.hpp"
#include "returns/return_lines.hpp"
#include "returns/w_field_map.hpp"

namespace verilote::returns {

void ReadSigcb240Retorno(LineReader& reader, ReturnVisitor& visitor);
void ReadSigcb240Precritica(LineReader& reader, ReturnVisitor& visitor);
void ReadSigcb400Retorno(LineReader& reader, ReturnVisitor& visitor);
void ReadSigcb400Precritica(LineReader& reader, ReturnVisitor& visitor);

// The remarks every reader makes on a record's length: `length` the
// layout's; a record one or a few bytes longer (edited by hand) is read,
// a shorter one is read as far as it goes.
void RemarkLength(ReturnVisitor& visitor, const LineReader& reader, std::string_view rec, std::size_t length);
// The next record that holds anything, its length remarked against the
// layout's `length`; a blank record is remarked and passed over. False at the
// end of the file.
bool NextRecord(LineReader& reader, ReturnVisitor& visitor, std::string_view& rec, std::size_t length);

// The file ended without its trailer (record type 9): cut short on the way
// or by hand. What was read is kept; the user is told the file may be whole
// no longer.
void RemarkMissingTrailer(ReturnVisitor& visitor, const LineReader& reader);

// The 240 file header's fields, shared by the return and the pre-validation.
ReturnHeader Sigcb240Header(std::string_view rec, ReturnKind kind);

// The words of codes (return_codes.hpp), the last few found kept: a return
// repeats the same handful of codes over millions of titles.
class CodeWords {
 public:
  // The words, without a copy when the table has the code; otherwise the
  // "não consta da tabela" text, valid until the next call.
  std::string_view Of(CodeTable table, std::string_view code);

 private:
  // A code of up to three bytes and its table packed in one word, so that a
  // look-up compares words, not strings.
  static std::uint32_t Key(CodeTable table, std::string_view code);
  struct Slot {
    std::uint32_t key = 0;
    std::string_view text;
  };
  std::array<Slot, 16> slots_{};
  std::size_t used_ = 0, next_ = 0;
  std::string scratch_;
};
inline std::string_view Words(CodeTable table, std::string_view code, CodeWords& words) {
  return words.Of(table, code);
}

// The remittance field a W pair names, into `error` (unknown: zeros).
void SetField(PrecriticaError& error, const WFieldMatch& match);

}  // namespace verilote::returns
