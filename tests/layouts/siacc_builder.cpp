#include "layouts/siacc_builder.hpp"

#include <initializer_list>
#include <utility>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

namespace {

using Fields = std::initializer_list<std::pair<std::size_t, std::string_view>>;

std::string Record(Fields fields) {
  std::string r(240, ' ');
  for (const auto& [pos, value] : fields) Put(r, pos, value);
  return r;
}

std::string Z(std::size_t n) { return std::string(n, '0'); }

std::string Digits(std::size_t value, std::size_t width) {
  const std::string text = std::to_string(value);
  return std::string(width - text.size(), '0') + text;
}

constexpr std::string_view kCnpj = "11222333000181", kCpf = "52998224725";

// Agency 1234 (digit 3: (10 x 30) mod 11), operation 003, account 00001234:
// weights 8,7,6,5,4,3,2,9,... give 250, (10 x 250) mod 11 = 3.
// clang-format off
std::string LoteHeader(std::string_view lote, std::string_view service, std::string_view form) {
  return Record({{1, "104"}, {4, lote}, {8, "1C"}, {10, service}, {12, form}, {14, "041"}, {18, "2"}, {19, kCnpj},
                 {33, "123456010001"}, {45, "01"}, {54, "12343"}, {60, "003000012343"}, {73, "EMPRESA TESTE LTDA"},
                 {143, "RUA DAS FLORES"}, {173, "00100SALA 1"}, {193, "BRASILIA"}, {213, "70000000DF"}});
}

std::string LoteTrailer(std::string_view lote, std::string_view count, std::string_view total) {
  return Record({{1, "104"}, {4, lote}, {8, "5"}, {18, count}, {24, total}, {42, Z(24)}});
}
// clang-format on

}  // namespace

std::string Renumbered(std::string rec, std::size_t lote, std::size_t sequence) {
  Put(rec, 4, Digits(lote, 4));
  Put(rec, 9, Digits(sequence, 5));
  return rec;
}

std::vector<std::string> CleanSiaccFile() {
  // A to a CAIXA account: agency 1234, operation 001, account 00004321, SIDEC
  // digit 8. The J boleto: factor 1656 (10/12/2026), R$ 123,45, cedente
  // 112233 (digit 9), free-field digit 3, general digit 5.
  // clang-format off
  return {
      Record({{1, "104"}, {4, "0000"}, {8, "0"}, {18, "2"}, {19, kCnpj}, {33, "12345601P"}, {46, "0000"},
              {54, "12343"}, {60, "003000012343"}, {73, "EMPRESA TESTE LTDA"}, {103, "CAIXA"},
              {143, "10612202612000000000108001600"}, {226, "000"}}),
      LoteHeader("0001", "20", "01"),
      Record({{1, "1040001300001A0000181040123450001000043218"}, {44, "JOSE DA SILVA"}, {74, "000001"}, {93, "0"},
              {94, "10122026BRL"}, {105, Z(15)}, {120, "000000000150000"}, {135, Z(9)}, {147, "01N1000000000000"},
              {163, Z(15)}, {218, "00"}, {230, "0"}}),
      Record({{1, "1040001300002B"}, {18, "1000"}, {22, kCpf}, {33, "RUA DAS ACACIAS"}, {63, "00010"},
              {83, "CENTRO"}, {98, "BRASILIA"}, {118, "70000000DF10122026"}, {136, Z(75)}}),
      Record({{1, "1040001300003A0007001040123450000000000000"}, {43, " MARIA SOUZA"}, {74, "000002"},
              {94, "10122026BRL"}, {105, Z(15)}, {120, "000000000020000"}, {135, Z(9)}, {147, "01N1000000000000"},
              {163, Z(15)}, {218, "05"}, {230, "0"}}),
      Record({{1, "1040001300004K0"}, {18, "816" + Z(36)}, {94, "06122026BRL"}, {105, Z(15)},
              {120, "000000000005000"}, {135, Z(9)}, {155, Z(23)}, {230, "0"}}),
      Record({{1, "1040001300005O000"}, {18, "8" + Z(43)}, {62, "CIA DE ENERGIA"}, {92, "1012202610122026"},
              {108, "000000000003000DOC123"}}),
      Record({{1, "1040001300006N000GPS0001"}, {58, "EMPRESA TESTE LTDA"}, {88, "10122026000000000001000"},
              {111, "  210001"}, {119, kCnpj}, {133, "17112026"}, {141, Z(45)}}),
      Record({{1, "1040001300007N000DARF0001"}, {58, "EMPRESA TESTE LTDA"}, {88, "10122026000000000001000"},
              {111, "  022001"}, {119, kCnpj}, {133, "1630112026"}, {143, Z(62)}, {205, "10122026"}}),
      LoteTrailer("0001", "000009", "000000000000180000"),
      LoteHeader("0002", "98", "30"),
      Record({{1, "1040002300001J000"}, {18, "10495165600000123451122339000100000000000073"},
              {62, "CEDENTE TESTE"}, {92, "10122026000000000012345"}, {115, Z(30)},
              {145, "10122026000000000012345"}, {168, Z(15)}, {203, "000000001"}, {223, "09"}}),
      Record({{1, "1040002300002J"}, {18, "5210000"}, {25, kCpf}, {36, "PAGADOR"}, {76, "20"}, {78, kCnpj},
              {92, "BENEFICIARIO"}, {132, "10000"}, {137, kCpf}, {148, "SACADOR"}}),
      LoteTrailer("0002", "000004", "000000000000012345"),
      Record({{1, "10499999"}, {18, "000002000015000000"}}),
  };
  // clang-format on
}

std::vector<std::string> CleanSiaccReport(std::string_view file) {
  const std::string equals(79, '='), name = "EMPRESA TESTE LTDA" + std::string(12, ' ');
  const auto lote = [&](int n, std::string_view service, std::string_view form) {
    return std::vector<std::string>{
        " ",
        Cat("HEADER DO LOTE (", n, "):"),
        equals,
        "Tipo compromisso:Pagamento a fornecedor",
        std::string("Código compromisso:0001"_cp),
        Cat("Tipo de serviço: "_cp, service),
        Cat("Forma de lançam: "_cp, form),
        Cat("Código Convênio:123456-01-0001 Nome Convênio:"_cp, name),
        std::string("Conta corrente: 1234.003.00001234-3      Parâmetro de transmissão:01"_cp),
        Cat("Logradouro: RUA DAS FLORES", std::string(16, ' '), " Número local: 00100 Complemento: SALA 1"_cp,
            std::string(9, ' ')),
        Cat("Cidade: BRASILIA", std::string(12, ' '), " CEP: 70000000 Estado: DF"),
        equals,
        std::string("PROCURANDO OCORRÊNCIAS NOS REGISTROS DE MOVIMENTOS... "_cp),
        " "};
  };
  std::vector<std::string> r = {Cat("Arquivo:", file),
                                Cat("SIACC - Validação do arquivo remessa "_cp, file),
                                " ",
                                "HEADER DE ARQUIVO:",
                                std::string(17, '='),
                                Cat("Código Convênio:123456 Nome Convênio:"_cp, name),
                                std::string("Ambiente:Produção        Parâmetro de transm:01"_cp),
                                "Conta corrente: 1234.003.00001234-3",
                                std::string("Gerado em:06/12/2026 às 12:00:00 NSA: 000001"_cp)};
  for (const std::string& line : lote(1, "Pagamento fornecedor", "Crédito em C/C"_cp)) r.push_back(line);
  r.insert(r.end(), {" ", "==> Fim do lote com 9 registros. Totalizando: R$ 1.800,00"});
  for (const std::string& line : lote(2, "Pagamento diversos", "Liq tit próprio banco"_cp)) r.push_back(line);
  r.insert(r.end(), {" ", "==> Fim do lote com 4 registros. Totalizando: R$ 123,45", " ",
                     Cat("Existem 1 informações de pagamento por OP neste arquivo. Se isso não for verdade, "_cp,
                         "então existem 1 DOC faltando número da conta."_cp),
                     " ", "==== Fim da leitura do arquivo ===="});
  return r;
}

}  // namespace verilote::testing
