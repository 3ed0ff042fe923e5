// What the window keeps between runs: the folder the file dialog last opened
// a file in, and the one "Salvar relatório como…" last saved in, each as
// UTF-8 in a small file of the user's own.
#pragma once

#include <string>

namespace verilote::win {

// Verilote\pasta.txt in the user's application data.
std::string DefaultSettingsFile();
// Verilote\pasta-relatorio.txt beside it.
std::string DefaultReportFolderFile();
// The file's text, empty when there is none.
std::string ReadSetting(const std::string& file);
// Replaces the file's text, making its folder first; a failure is ignored
// (the dialog then opens where the system chooses).
void WriteSetting(const std::string& file, const std::string& text);

}  // namespace verilote::win
