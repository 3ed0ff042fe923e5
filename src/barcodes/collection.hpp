// FEBRABAN collection ("arrecadação") barcodes of product 8: 44 digits, shown
// on the document as four blocks of 11 digits and a block check digit.
//
// Positions: 1 product "8"; 2 segment (1 municipal taxes, 2 sanitation,
// 3 energy and gas, 4 telecommunications, 5 government bodies, 6 booklets,
// 7 traffic fines, 9 agreement exclusive to CAIXA); 3 value identifier;
// 4 general check digit; 5-15 value in centavos; 16-19 FEBRABAN company code
// (16-23 for some segments); 20-44 free field.
//
// The value identifier chooses the module of every check digit of the
// barcode: 6 and 7 modulo 10, 8 and 9 modulo 11 (weights 2-9 from the right,
// remainders 0 and 1 give 0, 10 gives 1), for the general digit and for the
// four block digits alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/command_table.hpp"

namespace verilote {

// The barcode prompt of the collection commands: InputBox "Código de Barras",
// "Passe o leitor no Código de Barras", empty default.
std::string ReadBarcode(Host& host);

// A batch size typed at the prompt "Quantidade": its digits, zero-filled to
// two (a longer answer keeps its first two), so 0 to 99.
std::int64_t ReadQuantity(Host& host, std::string_view prompt);

// Position 1 is "8" and position 3 is "8" or "9": the barcode's check digits
// are modulo 11.
bool UsesModulo11(std::string_view barcode);

// The barcode with the general check digit its value identifier asks for put
// at position 4 (anything after position 44 dropped). Positions 1-3 and 5-44
// are converted as integers: a non-digit or a barcode shorter than 44 throws
// ConversionError, as SetBarcodeDvMod10 does.
std::string SetCollectionDv(std::string_view barcode);

// Position 4 holds the digit SetCollectionDv computes. Fails like it, and on a
// non-digit at position 4.
bool HasValidCollectionDv(std::string_view barcode);

// The check digit of one 11-digit block of `barcode` in its printed form
// (character routine: never fails).
char CollectionBlockDv(std::string_view barcode, std::string_view block);

// The payer identification of the free field's digits, already stripped of
// their leading zeros: up to 8 digits "OUTROS " and the digits; 9 a CPF base
// shown with its two check digits after "CPF "; 12 a CNPJ base shown with its
// two check digits after "CGC "; any other length an empty text.
std::string PayerIdentification(std::string_view digits);

// The one-barcode commands of menu "Arrecadação" > "Antigos": each decodes the
// barcode for its segment and shows the result in a message box.
Verdict CdigodebarrasCapCaixaTipo21Click(Host& host);                           // 1 municipal taxes
Verdict CdigoBarrasconcessionriassaneamento1Click(Host& host);                  // 2 sanitation
Verdict CdigoBarrasconcessionriasEnergiaeGs1Click(Host& host);                  // 3 energy and gas
Verdict CdigoBarrasconcessionriastelecomunicaes1Click(Host& host);              // 4 telecommunications
Verdict CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click(Host& host);  // 5 government bodies
Verdict CdigodebarrasCapCaixaTipo31Click(Host& host);                           // 6 booklets
Verdict CdigodebarrasCapCaixaTipo3Caixa1Click(Host& host);                      // 9 exclusive to CAIXA
Verdict ValidaCdigodebarrasCapCaixa1Click(Host& host);                          // union dues

// "Código de barras 12 posições ( Apenas um segmento )": one printed block.
Verdict Cdigodebarras12posies1Click(Host& host);

}  // namespace verilote
