#include "layouts/construgiro_builder.hpp"

#include "app/cp1252.hpp"
#include "banking/text.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

namespace {

std::string Record(Fields fields, Fields more = {}) {
  std::string r(240, ' ');
  for (const Fields& list : {fields, more})
    for (const auto& [pos, value] : list) Put(r, pos, value);
  return r;
}

std::string Digits(std::size_t value, std::size_t width) { return PadZeroLeft(std::to_string(value), width); }

const std::string kZeros(15, '0');

// Account 1234.870.00004321 has digit 1: weights 8,7,6,5,4,3,2,9,... give 145,
// (10 x 145) mod 11 = 1. The development is bought for 250.000,00 with a debt
// of 200.000,00, signed on 15/03/2025, useful area 65 of 80.
// clang-format off
std::string LoteHeader(std::string_view unit, std::string_view buyer) {
  return Record({{1, "10400011R0100040"}, {18, "2"}, {20, "11222333000181"}, {34, "1234870000043211"},
                 {55, "1234"}, {64, "00004321"}, {74, "RESIDENCIAL JARDIM DAS FLORES"}, {104, "1"}, {109, buyer},
                 {120, "BLOCO "}, {126, unit}, {140, "120000650000801503202520000000024007"},
                 {184, "000000010112202620032025000000025000000000000020000000"}});
}

}  // namespace

// Agency 01234 has digit 3 and, with account 870000012346, digit 8 at 37.
std::string ConstrugiroP(Fields more) {
  return Record({{1, "10400003"}, {14, "P 01012343870000012346"}, {36, "08"}, {47, "00000000000"}, {58, "11211"},
                 {63, "PARC0001"}, {77, "110012027000000000100000"}, {101, "000000"}, {107, "99N01122026"},
                 {118, "300000000"}, {127, kZeros}, {142, "000000000"}, {151, kZeros}, {166, kZeros}, {181, kZeros},
                 {196, "CONTRATO 0001"}, {221, "1302000"}, {228, "0900000000"}, {238, "1 1"}}, more);
}

std::string ConstrugiroQ(Fields more) {
  return Record({{1, "10400003"}, {14, "Q 0110000"}, {23, "52998224725"}, {34, "JOSE DA SILVA"},
                 {74, "RUA DAS FLORES 100"}, {114, "CENTRO"}, {129, "70000000BRASILIA"}, {152, "DF1"},
                 {155, kZeros}, {210, "ENGENHEIRO"}, {225, "6132345678150580"}}, more);
}

std::vector<std::string> ConstrugiroFile::Lines() const {
  std::vector<std::string> lines{Record({{1, "10400000"}, {18, "211222333000181"}, {33, "1234870000043211"},
      {54, "12340"}, {71, "00CONSTRUTORA EXEMPLO LTDA"}, {103, "CAIXA ECONOMICA FEDERAL"},
      {143, "101122026120000000001040"}, {167, "00000"}, {192, "INCLUSAO"}, {212, "0010000600020003000130112026"}})};
  // clang-format on
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    lines.push_back(i == 0 ? LoteHeader("A   APTO 101", "52998224725") : LoteHeader("B   APTO 202", "11144477735"));
    Put(lines.back(), 4, lote);
    for (std::size_t d = 0; d < lotes[i].size(); ++d)
      lines.push_back(Record({{1, lotes[i][d]}}, {{4, lote}, {9, Digits(d + 1, 5)}}));
    lines.push_back(Record({{1, "104"}, {4, lote}, {8, "5"}, {18, Digits(lotes[i].size() + 2, 6)}}));
  }
  lines.push_back(Record({{1, "10499999"}, {18, Digits(lotes.size(), 6)}, {24, Digits(lines.size() + 1, 6)}}));
  return lines;
}

ConstrugiroFile CleanConstrugiroFile() {
  const std::string r = Record({{1, "10400003"}, {14, "R 01"}, {66, "215012027"}});
  return {{{ConstrugiroP(), ConstrugiroQ(), r, Record({{1, "10400003"}, {14, "S 013"}}),
            ConstrugiroP({{78, "10022027"}}), ConstrugiroQ()},
           {ConstrugiroP({{221, "3001060"}}), ConstrugiroQ({{23, "11144477735"}, {34, "MARIA SOUZA  "}})}}};
}

std::vector<std::string> CleanConstrugiroReport() {
  const std::string eq(40, '='), convenio = "Convenio: 1234.870.00004321-1 Inscricao: 11.222.333/0001-81";
  const std::string ok = "CAPA DE LOTE OK Bloco:BLOCO A Unidade:APTO 101 Total de registros no lote de ";
  // clang-format off
  return {std::string("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp),
          eq + " HEADER " + eq, "Cedente centralizador: CONSTRUTORA EXEMPLO LTDA      ",
          "Tipo de remessa: INCLUSAO      ", convenio,
          "Banco: CAIXA ECONOMICA FEDERAL        Geracao: 01/12/2026 as 12:00:00 seq 000001",
          eq + " FIM DO HEADER DE ARQUIVO " + eq.substr(3), eq.substr(2) + " CAPA DE LOTE " + eq.substr(4),
          "Num remessa: 00000001 Gravacao: 01/12/2026", "Empreendimento do lote: RESIDENCIAL JARDIM DAS FLORES ",
          convenio, eq.substr(2) + " FIM DA CAPA DE LOTE " + eq.substr(4), ok + "JOSE DA SILVA = 8",
          "CAPA DE LOTE OK Bloco:BLOCO B Unidade:APTO 202 Total de registros no lote de MARIA SOUZA = 4",
          std::string("FIM DA VALIDAÇÃO !!!"_cp), " ", std::string("Estatísticas do arquivo:"_cp),
          "0002 Parcelas para protesto em 00 dias.", std::string("0001 Parcelas para devolução em 060 dias."_cp),
          "0003 Parcelas no arquivo todo", "0002 Parcelas com dias diferentes de protesto",
          std::string("0002 Parcelas com dias diferentes de devolução"_cp),
          "0 Parcelas vencidas no valor total de R$ 0,00 e 3 a vencer no valor total de R$ 3.000,00."};
  // clang-format on
}

}  // namespace verilote::testing
