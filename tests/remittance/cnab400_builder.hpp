// Valid CNAB 400 remittances of SIGCB and SICOB: header, title A (CPF company and payer), a type 2 record,
// title B (CNPJ company, alphanumeric CNPJ payer), trailer. Every check digit is right.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

// Layout version "   " (cedente 123456) or "007" (cedente 1234567).
std::vector<std::string> CleanSigcb400(std::string_view version);
std::vector<std::string> CleanSicob400();

// The command run on these lines, the file's name shown as "FILE".
Validation Validate400(Handler handler, const std::vector<std::string>& lines);

}  // namespace verilote::testing
