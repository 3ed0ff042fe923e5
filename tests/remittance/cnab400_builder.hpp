// Valid CNAB 400 remittances of SIGCB and SICOB, the examples remessa_sigcb400_ok.rem and
// remessa_sicob400_ok.rem: header, title A (CPF company and payer; due 15/01/2027, 100,00,
// issued 01/12/2026, protest after 2 days, fine date 16/01/2027), a type 2 record, title B
// (CNPJ company, alphanumeric CNPJ payer, discount date 10/01/2027, return after 90 days),
// trailer. Every check digit is right: SICOB account 1234 870 00012345-2, Nosso Números
// 9000000001-4 (carteira 12) and 3000000002-9 (carteira 11).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

// Layout version "   " (cedente 123456) or "007" (cedente 1234567).
std::vector<std::string> CleanSigcb400(std::string_view version);
std::vector<std::string> CleanSicob400();

}  // namespace verilote::testing
