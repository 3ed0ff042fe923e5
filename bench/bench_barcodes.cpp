// Writes a file of valid barcodes for the barcode file commands, built with the
// tests' barcode builder (every check digit right), for bench/run.sh to run
// through verilote-cli and bench/peer_boleto_utils.sh to give to a Node.js
// validator:
//   sigcb  cedente 123456, registered, for "Código de barras SIGCB via arquivo"
//          (answer 123456);
//   sicob  Nosso Número 9 + 9 digits, cedente 0123.870.00012345, for "Código de
//          barras SICOB Via arquivo";
//   sinco  cedente 654321, for "Código de barras SINCO Via arquivo";
//   sitcs  union 12345 (type 1), for "SITCS - Código de Barras - Via arquivo"
//          (answers 12345 and 0035).
// Each barcode has its own Nosso Número, value and due-date factor. Barcodes
// whose modulo-11 remainder (the general digit's sum mod 11) is 0 or 1 are left
// out: the peer library computes their digit wrongly.
//
//   bench_barcodes KIND COUNT PATH
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "barcodes/boleto_builder.hpp"

namespace {

using namespace verilote::testing;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text.substr(text.size() - width) : std::string(width - text.size(), '0') + text;
}

std::string Make(const std::string& kind, std::uint64_t i) {
  const BarcodeHead head{"104", "9", Digits(1000 + i % 9000, 4), Digits(100 + i % 99999900, 10)};
  if (kind == "sigcb") return SigcbBarcode("123456", '1', '4', Digits(i, 15), head);
  if (kind == "sicob") return SicobBarcode11("9" + Digits(i, 9), "012387000012345", head);
  if (kind == "sinco") return SincoBarcode("654321", Digits(i, 18), head);
  SitcsBoleto b;
  b.factor = head.factor;
  b.value = head.value;
  b.nossoNumero = Digits(i, 12);
  return b.Barcode();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_barcodes sigcb|sicob|sinco|sitcs COUNT PATH\n");
    return 2;
  }
  const std::string kind = argv[1];
  const std::uint64_t count = std::strtoull(argv[2], nullptr, 10);
  std::ofstream out(argv[3], std::ios::binary);
  std::uint64_t written = 0;
  for (std::uint64_t i = 1; written < count; ++i) {
    const std::string b = Make(kind, i);
    if (WeightedSum2To9(b.substr(0, 4) + b.substr(5)) % 11 <= 1) continue;
    out << b << "\r\n";
    ++written;
  }
  std::printf("%s\n", argv[3]);
}
