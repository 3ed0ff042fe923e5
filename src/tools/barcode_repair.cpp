#include "tools/barcode_repair.hpp"

#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "barcodes/collection.hpp"

namespace verilote {

namespace {

// Shows the typed barcode and the same barcode with position 4 recomputed;
// Faulty when the two differ (the typed digit was wrong).
Verdict RepairBarcodeDigit(Host& host) {
  const std::string typed = host.InputBox("Entre com a barra", "Digite a barra com 44 posições:"_cp, "");
  const std::string computed = SetCollectionDv(typed);
  host.ShowMessage(Cat("Barra digitada: ", '\r', typed, '\r', "Barra Calculada", '\r', computed));
  return computed == typed ? Verdict::Clean : Verdict::Faulty;
}

}  // namespace

Verdict Acertardigitodeumcdigodebarras1Click(Host& host) { return RepairBarcodeDigit(host); }
Verdict Acertadgitodocodbarradacobrana1Click(Host& host) { return RepairBarcodeDigit(host); }

}  // namespace verilote
