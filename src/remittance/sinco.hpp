// SINCO collection remittance in the CNAB 240 layout ("SINCO - Remessa"): the
// field rules of the file header, the lote header and segments P, Q, R and S,
// on the CNAB 240 frame. Text fields are checked for characters the bank's
// system does not print, one field at a time.
#pragma once

#include <string_view>

#include "app/command_table.hpp"
#include "remittance/cnab240.hpp"

namespace verilote {

class SincoRules final : public Cnab240Rules {
 public:
  void FileHeader(Cnab240Run& run, std::string_view rec) override;
  void LoteHeader(Cnab240Run& run, std::string_view rec) override;
  void SegmentP(Cnab240Run& run, std::string_view rec) override;
  void SegmentQ(Cnab240Run& run, std::string_view rec) override;
  void SegmentR(Cnab240Run& run, std::string_view rec) override;
  void SegmentS(Cnab240Run& run, std::string_view rec) override;
};

// "SINCO - Remessa"
Verdict SINCO1Click(Host& host);

}  // namespace verilote
