#include "layouts/construgiro_builder.hpp"

#include "app/cp1252.hpp"
#include "app/record_reader.hpp"
#include "banking/text.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {

namespace {

std::string Digits(std::size_t value, std::size_t width) { return PadZeroLeft(std::to_string(value), width); }

// The example remessa_construgiro_ok.rem. Account 1234.870.00004321 has digit
// 1: weights 8,7,6,5,4,3,2,9,... give 145, (10 x 145) mod 11 = 1. The
// development is bought for 250.000,00 with a debt of 200.000,00, signed on
// 15/03/2025, useful area 65 of 80. In P, agency 01234 has digit 3 and, with
// account 870000012346, digit 8 at 37.
const std::vector<std::string>& Example() {
  static const std::vector<std::string> records = [] {
    RecordReader reader(VERILOTE_SOURCE_DIR "/examples/construgiro/remessa_construgiro_ok.rem");
    std::vector<std::string> all;
    for (std::string rec; reader.Next(rec);) all.push_back(rec);
    return all;
  }();
  return records;
}

std::string With(std::string rec, Fields more) {
  for (const auto& [pos, value] : more) Put(rec, pos, value);
  return rec;
}

}  // namespace

std::string ConstrugiroP(Fields more) { return With(Example()[2], more); }

std::string ConstrugiroQ(Fields more) { return With(Example()[3], more); }

std::vector<std::string> ConstrugiroFile::Lines() const {
  std::vector<std::string> lines{Example()[0]};
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    lines.push_back(With(Example()[i == 0 ? 1 : 9], {{4, lote}}));  // BLOCO A APTO 101, BLOCO B APTO 202
    for (std::size_t d = 0; d < lotes[i].size(); ++d)
      lines.push_back(With(lotes[i][d], {{4, lote}, {9, Digits(d + 1, 5)}}));
    lines.push_back(With(Example()[8], {{4, lote}, {18, Digits(lotes[i].size() + 2, 6)}}));
  }
  lines.push_back(With(Example()[13], {{18, Digits(lotes.size(), 6)}, {24, Digits(lines.size() + 1, 6)}}));
  return lines;
}

ConstrugiroFile CleanConstrugiroFile() {
  const std::vector<std::string>& e = Example();
  return {{{e.begin() + 2, e.begin() + 8}, {e[10], e[11]}}};
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
