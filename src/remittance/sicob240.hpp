// SICOB CNAB 240 collection remittance ("CobCAIXA - Remessa padrão 240"): the
// field rules of the file header, the lote header and segments P and Q, on
// the CNAB 240 frame. Segments R and S are only counted.
#pragma once

#include <string_view>

#include "app/command_table.hpp"
#include "remittance/cnab240.hpp"

namespace verilote {

class SicobRules final : public Cnab240Rules {
 public:
  void FileHeader(Cnab240Run& run, std::string_view rec) override;
  void LoteHeader(Cnab240Run& run, std::string_view rec) override;
  void SegmentP(Cnab240Run& run, std::string_view rec) override;
  void SegmentQ(Cnab240Run& run, std::string_view rec) override;
};

// "CobCAIXA - Remessa padrão 240"
Verdict CobranaRemessapadro2401Click(Host& host);

}  // namespace verilote
