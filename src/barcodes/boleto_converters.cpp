// The "Cobrança" menu's barcode converters and the generic 44-position check.
#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/collection.hpp"

namespace verilote {

namespace {

constexpr std::string_view kBarcodeCaption = "Código de Barras"_cp;
constexpr std::string_view kScanPrompt = "Passe o leitor no Código de Barras"_cp;

}  // namespace

Verdict ConverteCdBarraRepresentao1Click(Host& host) {
  const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  host.ReportAppend(Cat(kBarcodeLabel, barcode));
  host.ReportAppend(LabelledTypeableLine(barcode));
  return Verdict::Clean;
}

Verdict ConverteRepresentaoCdBarra1Click(Host& host) {
  const std::string typed = host.InputBox("Representação Numérica"_cp, "Digite a representação numérica"_cp, "");
  host.ReportAppend(Cat(kBarcodeLabel, TypeableLineToBarcode(typed)));
  host.ReportAppend(Cat(kTypeableLineLabel, KeepDigits(typed)));
  return Verdict::Clean;
}

// The digit at position 4, as collection barcodes carry it: modulo 10, or
// modulo 11 for a product-8 barcode whose value identifier (position 3) is 8
// or 9. The boleto's general digit at position 5 is not looked at.
Verdict Cdigodebarras1Click(Host& host) {
  const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  if (HasValidCollectionDv(barcode)) {
    host.ShowMessage("DV Geral correto.");
    return Verdict::Clean;
  }
  host.ShowMessage("Dígito geral verificador INVÁLIDO !!!!!"_cp);
  return Verdict::Faulty;
}

}  // namespace verilote
