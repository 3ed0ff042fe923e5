// The bank's code tables for return files, in the bank's words: movements and
// motives of the SIGCB 240 return (notes C044 and C047 of the CNAB 240
// manual) and occurrences, rejections, errors, channels and payment forms of
// the SIGCB 400 return (notes NE033, NE032, NE038, NE035, NE036 of the CNAB
// 400 manual). Readers and reconciliation show every code through these, so
// that a user never has to look a code up in a PDF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace verilote::returns {

enum class CodeTable {
  Movimento240,         // C044, T/U 16-17
  MotivoRejeicao240,    // C047-A, with movimentos 02, 03, 26, 30 (numeric and the alphanumeric AA..ZZ codes)
  MotivoTarifa240,      // C047-B, with movimento 28
  MotivoLiquidacao240,  // C047-C, with 06, 09, 17 (T 214-215)
  FormaPagamento240,    // C047-D (T 216-217)
  Ocorrencia400,        // NE033, 109-110
  Rejeicao400,          // NE032, 80-82
  Erro400,              // NE038 (pre-validation and non-blocking rejections)
  Canal400,             // NE035, 189-191
  FormaPagamento400,    // NE036, 192
};

// The words of a code as the bank's manual gives them (Windows-1252 bytes),
// or an empty view when the table has no such code. Codes are matched as
// written; the three-digit fields of the 400 return (80-82, 189-191) are also
// found by their two-digit form ("002" and "02" are the same channel).
std::string_view CodeText(CodeTable table, std::string_view code);

// The words, or "código NN não consta da tabela" (NN the code as written)
// when the table lacks it.
std::string DescribeCode(CodeTable table, std::string_view code);

// Which motive table a 240 movimento's T 214-223 codes are read from (note
// C044), or nullopt when the manual gives that movement no motives.
std::optional<CodeTable> MotiveTableOf240(std::string_view movimento);

}  // namespace verilote::returns
