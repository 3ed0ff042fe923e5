// SIGCB CNAB 240 collection remittance: the field rules of the file header,
// the lote header and segments P, Q, R, S and Y53, on the CNAB 240 frame.
// "Valida Parcial" leaves out the rules the bank's system does not enforce yet
// (the lote header version, the exempt-interest zeros, field 35.3P, segment S)
// and adds two it does (21.3P numeric, any informed interest date valid).
#pragma once

#include <string_view>

#include "app/command_table.hpp"
#include "remittance/cnab240.hpp"

namespace verilote {

class SigcbRules final : public Cnab240Rules {
 public:
  explicit SigcbRules(bool partial) : partial_(partial) {}

  void FileHeader(Cnab240Run& run, std::string_view rec) override;
  void LoteHeader(Cnab240Run& run, std::string_view rec) override;
  void SegmentP(Cnab240Run& run, std::string_view rec) override;
  void SegmentQ(Cnab240Run& run, std::string_view rec) override;
  void SegmentR(Cnab240Run& run, std::string_view rec) override;
  void SegmentS(Cnab240Run& run, std::string_view rec) override;
  void SegmentY53(Cnab240Run& run, std::string_view rec) override;

 private:
  bool partial_;
};

// "SIGCB - Remessa 240 ( Valida Tudo )"
Verdict SIGCBRemessa1Click(Host& host);
// "SIGCB - Remessa 240 ( Valida Parcial )"
Verdict SIGCBRemessaValidaserros1Click(Host& host);

}  // namespace verilote
