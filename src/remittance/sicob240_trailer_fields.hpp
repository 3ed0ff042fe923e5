// The trailers of the SICOB CNAB 240 and SINCO remittances (".5" the lote
// trailer, ".9" the file trailer) and their record of an unknown type: the
// two layouts write them alike.
#pragma once

#include "app/cp1252.hpp"
#include "app/fields.hpp"

namespace verilote::sicob240_trailers {

inline constexpr FieldSpec kLoteTrailerFields[] = {
    {"01.5", 1, 3, "Código do banco"_cp, "104"},
    {"02.5", 4, 7, "Lote"},
    {"03.5", 8, 8, "Tipo de registro", "5"},
    {"04.5", 9, 17, "Uso exclusivo FEBRABAN"},
    {"05.5", 18, 23, "Quantidade de registros do lote", "detalhes do lote mais 2 (header e trailer)"},
    {"06.5", 24, 29, "Quantidade de títulos em cobrança simples"_cp},
    {"07.5", 30, 46, "Valor total dos títulos em cobrança simples"_cp},
    {"08.5", 47, 52, "Uso exclusivo FEBRABAN"},
    {"09.5", 53, 69, "Uso exclusivo FEBRABAN"},
    {"10.5", 70, 75, "Quantidade de títulos em cobrança caucionada"_cp},
    {"11.5", 76, 92, "Valor total dos títulos em cobrança caucionada"_cp},
    {"12.5", 93, 98, "Quantidade de títulos em cobrança descontada"_cp},
    {"13.5", 99, 115, "Valor total dos títulos em cobrança descontada"_cp},
    {"14.5", 116, 123, "Uso exclusivo FEBRABAN"},
    {"15.5", 124, 240, "Uso exclusivo FEBRABAN"},
};

inline constexpr FieldSpec kFileTrailerFields[] = {
    {"01.9", 1, 3, "Código do banco"_cp, "104"},
    {"02.9", 4, 7, "Lote", "9999"},
    {"03.9", 8, 8, "Tipo de registro", "9"},
    {"04.9", 9, 17, "Uso exclusivo FEBRABAN"},
    {"05.9", 18, 23, "Quantidade de lotes"},
    {"06.9", 24, 29, "Quantidade de registros", "número de linhas do arquivo"_cp},
    {"07.9", 30, 35, "Uso exclusivo FEBRABAN"},
    {"08.9", 36, 240, "Uso exclusivo FEBRABAN"},
};

inline constexpr FieldSpec kOtherTypeFields[] = {
    {"01", 1, 3, "Código do banco"_cp, "104"},
    {"02", 4, 7, "Lote"},
    {"03", 8, 8, "Tipo de registro", "0, 1, 3, 5 ou 9"},
    {"04", 9, 240, "Conteúdo de um tipo que o layout não prevê"_cp},
};

}  // namespace verilote::sicob240_trailers
