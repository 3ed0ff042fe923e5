// A return as data: one JSON document (docs/retorno.schema.json) or a CSV
// table for a Brazilian spreadsheet (";" between fields, decimal comma,
// UTF-8 with a BOM, a header row in Portuguese). Both stream: titles go out
// as they are read; remarks and the other lists wait in temporary files.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "returns/return_file.hpp"
#include "returns/return_report.hpp"

namespace verilote::returns {

// A UTF-8 text as a JSON string, quotes included.
std::string JsonText(std::string_view utf8);

// Writes the document of the return at `path`, named `fileName` (UTF-8)
// in it; returns the totals. Throws FileError when the file cannot be read.
Totals WriteJson(const std::string& path, ReturnKind kind, std::string_view fileName, std::ostream& out);

// Writes one row per title (or per error of a pre-validation), remarks to
// `remarks` as "registro N: text" lines (UTF-8).
Totals WriteCsv(const std::string& path, ReturnKind kind, std::ostream& out, std::ostream& remarks);

}  // namespace verilote::returns
