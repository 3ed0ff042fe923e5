// The readers of each kind of return, behind ReadReturn (return_file.hpp).
#pragma once

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

// The 240 file header's fields, shared by the return and the pre-validation.
ReturnHeader Sigcb240Header(std::string_view rec, ReturnKind kind);

// The words of a code (return_codes.hpp) without a copy when the table has
// it; `scratch` holds the "não consta da tabela" text otherwise.
std::string_view Words(CodeTable table, std::string_view code, std::string& scratch);

// The remittance field a W pair names, into `error` (unknown: zeros).
void SetField(PrecriticaError& error, const WFieldMatch& match);

}  // namespace verilote::returns
