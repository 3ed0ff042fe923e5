// The bank's SICAP collection documents: product-8 barcodes checked one at a
// time, from the typed printed form, or in a batch of one agreement, with
// their findings written into the report.
#pragma once

#include <string>
#include <string_view>

#include "app/command_table.hpp"

namespace verilote {

// The printed form for checking by eye: positions 1-11, 12-22, 23-33 and
// 34-44, each followed by "-" and its block check digit, three blanks apart.
std::string FourBlockDisplay(std::string_view barcode);

// "Um documento" (F5): one barcode.
Verdict Umdocumento1Click(Host& host);

// "Vários Documentos": up to 99 barcodes of one FEBRABAN code.
Verdict VriosDocumentos1Click(Host& host);

// "Digitando os dados" (F6): the 48 digits of the printed form.
Verdict Digitandoosdados1Click(Host& host);

}  // namespace verilote
