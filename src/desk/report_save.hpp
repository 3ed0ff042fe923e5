// "Salvar relatório como…": the whole report written to a file the user chose
// in the system's save dialog. Both windows call this one function, so that
// the file is the same bytes "Copia tela para arquivo novo" writes: the
// report's Windows-1252 lines, each ended by CR LF.
#pragma once

#include <string>

namespace verilote {

class ReportStore;

// Writes every line of `store` to `path` (UTF-8, as the dialog gives it): the
// bytes go to a work file beside it, which then replaces it atomically
// (ReplacingFile), so that an existing file stays whole when anything fails
// on the way. Returns empty when the file is in place, or the failure's text
// naming the file. Streams the store: memory stays flat whatever its size.
std::string SaveReport(const ReportStore& store, const std::string& path);

}  // namespace verilote
