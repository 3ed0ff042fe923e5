// The SIGCB CNAB 240 return: file header, lote header, T/U pairs (one title
// each), Y-08 answers to service requests, lote and file trailers.
#include <array>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_codes.hpp"
#include "returns/return_readers.hpp"

namespace verilote::returns {

using namespace std::string_view_literals;

ReturnHeader Sigcb240Header(std::string_view rec, ReturnKind kind) {
  ReturnHeader header;
  header.kind = kind;
  header.inscricao = TextAt(rec, 19, 32);
  header.agencia = Cat(TextAt(rec, 53, 57), TextAt(rec, 58, 58).empty() ? "" : "-", TextAt(rec, 58, 58));
  header.beneficiario = TextAt(rec, 59, 64);
  header.empresa = TextAt(rec, 73, 102);
  bool bad = false;
  header.geracao = DateAt(rec, 144, 8, bad);
  header.nsa = TextAt(rec, 158, 163);
  header.versao = TextAt(rec, 164, 166);
  header.situacao = TextAt(rec, 192, 211);
  return header;
}

namespace {

// A two-byte code as one number, for a switch; 0 for any other length.
constexpr unsigned Pair(std::string_view code) {
  return code.size() == 2 ? static_cast<unsigned char>(code[0]) << 8 | static_cast<unsigned char>(code[1]) : 0;
}

bool IsRejection(std::string_view movimento) {
  switch (Pair(movimento)) {
    case Pair("03"):
    case Pair("26"):
    case Pair("30"):
    case Pair("39"):
    case Pair("40"):
    case Pair("41"):
      return true;
    default:
      return false;
  }
}

class Run {
 public:
  Run(LineReader& reader, ReturnVisitor& visitor) : reader_(reader), visitor_(visitor) {}

  void Read() {
    std::string_view rec;
    bool trailer = false;
    while (NextRecord(reader_, visitor_, rec, 240)) {
      if (rec.size() < 14 || rec[0] != '1' || rec[1] != '0' || rec[2] != '4') {
        Flush();
        Remark(rec, "registro ilegível: não começa pelo código do banco 104 ou é curto demais; ignorado"_cp);
        continue;
      }
      ++records_;
      switch (rec[7]) {
        case '0':
          Flush();
          FileHeader(rec);
          break;
        case '1':
          Flush();
          LoteHeader(rec);
          break;
        case '3':
          ++loteRecords_;
          Detail(rec);
          break;
        case '5':
          Flush();
          LoteTrailer(rec);
          break;
        case '9':
          Flush();
          FileTrailer(rec);
          trailer = true;
          break;
        default:
          Flush();
          Remark(rec, Cat("tipo de registro '", rec[7], "' (posição 8) desconhecido: ignorado"_cp));
      }
    }
    Flush();
    if (!trailer) RemarkMissingTrailer(visitor_, reader_);
  }

 private:
  void Remark(std::string_view rec, std::string_view text) { visitor_.Remark(reader_.Number(), rec, text); }

  void FileHeader(std::string_view rec) {
    const ReturnHeader header = Sigcb240Header(rec, ReturnKind::Sigcb240Retorno);
    if (header.versao != "040" && header.versao != "047")
      Remark(rec, Cat("versão do leiaute \""_cp, header.versao,
                      "\" no header de arquivo (posições 164-166; o retorno traz 040 ou 047): lido como 040"_cp));
    visitor_.Header(header);
  }

  void LoteHeader(std::string_view rec) {
    loteRecords_ = 1;
    if (rec.substr(3, 4) == "0000" && !loteZeroNoted_) {
      loteZeroNoted_ = true;
      Remark(rec, "lote de serviço \"0000\" (posições 4-7; o manual começa em 0001): aceito"_cp);
    }
    if (TextAt(rec, 14, 16) != "030")
      Remark(rec, Cat("versão do leiaute do lote \""_cp, TextAt(rec, 14, 16),
                      "\" (posições 14-16; o retorno traz 030): aceita"_cp));
  }

  void Detail(std::string_view rec) {
    const char segment = rec[13];
    if (segment == 'T') {
      Flush();
      // The title's texts point into T until its U has been read: kept.
      t_.assign(rec);
      StartTitle(t_);
    } else if (segment == 'U') {
      if (!pending_) {
        Remark(rec, "segmento U sem o segmento T antes dele: lido como um título à parte"_cp);
        title_ = ReturnTitle{};
        lastMovimento_ = 0;
        title_.record = reader_.Number();
        title_.bytes = rec;
        title_.movimento = TextAt(rec, 16, 17);
        title_.movimentoTexto.assign(Words(CodeTable::Movimento240, title_.movimento, scratch_));
        title_.rejected = IsRejection(title_.movimento);
      } else if (TextAt(rec, 16, 17) != title_.movimento) {
        Remark(rec, Cat("movimento \"", TextAt(rec, 16, 17), "\" do segmento U difere do \"", title_.movimento,
                        "\" do segmento T"));
      }
      FinishTitle(rec);
      pending_ = false;
      visitor_.Title(title_);
    } else if (segment == 'Y' && rec.size() >= 19 && rec.substr(17, 2) == "08") {
      Flush();
      ServiceRecord(rec);
    } else {
      Flush();
      Remark(rec, Cat("segmento '", segment, "' (posição 14) não é de retorno: ignorado"_cp));
    }
  }

  // Amounts: all blanks reads as zero (the tariff records write them so),
  // anything else but digits is remarked and left unknown.
  VERILOTE_INLINE Cents Amount(std::string_view rec, std::size_t from, std::size_t to, std::string_view name) {
    if (to > rec.size()) return std::nullopt;
    const Cents value = NumberAt(rec, from, to, true);
    if (!value || (!blankNoted_ && rec[from - 1] == ' ')) AmountRemark(rec, from, to, name, value.has_value());
    return value;
  }

  // Kept out of Amount, which runs some ten times a title.
  [[gnu::noinline]] void AmountRemark(std::string_view rec, std::size_t from, std::size_t to, std::string_view name,
                                      bool blank) {
    if (!blank) {
      Remark(rec, Cat(name, " (posições "_cp, from, '-', to, ") não numérico: \""_cp,
                      rec.substr(from - 1, to - from + 1), "\""));
      return;
    }
    blankNoted_ = true;
    Remark(rec, Cat(name, " (posições "_cp, from, '-', to,
                    ") em branco, como o banco escreve nos registros de tarifa: lido como zero"));
  }

  VERILOTE_INLINE std::optional<CivilDate> Date(std::string_view rec, std::size_t from, std::string_view name) {
    bool bad = false;
    const auto date = DateAt(rec, from, 8, bad);
    if (bad)
      Remark(rec, Cat(name, " (posições "_cp, from, '-', from + 7, ") não é uma data: \""_cp, rec.substr(from - 1, 8),
                      "\""));
    return date;
  }

  void StartTitle(std::string_view rec) {
    title_.motiveCount = 0;
    title_.record = reader_.Number();
    title_.bytes = rec;
    title_.uRecord = 0;
    // Titles of one movement come in runs: its words are looked up once a run.
    title_.movimento = TextAt(rec, 16, 17);
    const unsigned movimento = Pair(title_.movimento);
    if (movimento != lastMovimento_ || movimento == 0) {
      lastMovimento_ = movimento;
      const Movement& movement = MovementOf(title_.movimento);
      title_.movimentoTexto.assign(movement.text);
      title_.rejected = movement.rejected;
      motiveTable_ = movement.motives;
    }
    // Field 13.3T: modality and number from 40; an 18-digit SINCO number
    // starts at 39 with its '9'.
    title_.nossoNumero = TextAt(rec, rec.size() > 38 && rec[38] == '9' ? 39 : 40, 56);
    const std::size_t nn = title_.nossoNumero.find_first_not_of(' ');
    title_.nossoNumero.remove_prefix(nn == std::string_view::npos ? title_.nossoNumero.size() : nn);
    title_.seuNumero = TextAt(rec, 59, 69);
    title_.vencimento = Date(rec, 74, "vencimento"sv);
    title_.valorTitulo = Amount(rec, 82, 96, "valor do título"_cp);
    title_.bancoRecebedor = TextAt(rec, 97, 99);
    title_.agenciaRecebedora = TextAt(rec, 100, 104);
    title_.agenciaDv = TextAt(rec, 105, 105);
    title_.tarifa = Amount(rec, 199, 213, "valor da tarifa"sv);
    title_.valorPago = title_.valorLiquido = title_.juros = title_.desconto = title_.abatimento = title_.iof =
        std::nullopt;
    title_.multa = std::nullopt;
    title_.dataOcorrencia = title_.dataCredito = std::nullopt;
    Motives(rec);
    pending_ = true;
  }

  // What a movement implies, kept for the last few seen: a return repeats a
  // handful of codes over millions of titles, in runs or in turn.
  struct Movement {
    unsigned key = 0;
    std::string text;
    bool rejected = false;
    std::optional<CodeTable> motives;
  };

  const Movement& MovementOf(std::string_view code) {
    const unsigned key = Pair(code);
    if (key != 0)
      for (const Movement& movement : movements_)
        if (movement.key == key) return movement;
    Movement& movement = key != 0 ? movements_[nextMovement_++ % movements_.size()] : otherMovement_;
    movement.key = key;
    movement.text.assign(Words(CodeTable::Movimento240, code, scratch_));
    movement.rejected = IsRejection(code);
    movement.motives = MotiveTableOf240(code);
    return movement;
  }

  // Field 28.3T, 214-223: up to five codes of two, read from the table
  // the movement names (note C044). A liquidation's or write-off's three
  // codes are channel, form of payment and float (C047 C, D, E).
  void Motives(std::string_view rec) {
    const std::string_view field = TextAt(rec, 214, 223);
    const std::optional<CodeTable> table = motiveTable_;
    for (std::size_t at = 0; at < field.size(); at += 2) {
      const std::string_view code = field.substr(at, 2);
      if (code == "00" || code == "  " || code == " ") continue;
      if (table == CodeTable::MotivoLiquidacao240 && at == 2) {
        title_.AddMotive(code, Words(CodeTable::FormaPagamento240, code, scratch_));
      } else if (table == CodeTable::MotivoLiquidacao240 && at == 4) {
        // Built in a buffer kept from title to title: a liquidation each.
        CatInto(motiveText_, "float de "sv, code.size() == 2 && code[0] == '0' ? code.substr(1) : code, " dia(s)"sv);
        title_.AddMotive(code, motiveText_);
      } else if (table == CodeTable::MotivoLiquidacao240 && at > 4) {
        CatInto(motiveText_, "código "_cp, code, " não consta da tabela"_cp);
        title_.AddMotive(code, motiveText_);
      } else {
        title_.AddMotive(code, Words(table.value_or(CodeTable::MotivoRejeicao240), code, scratch_));
      }
    }
  }

  void FinishTitle(std::string_view rec) {
    title_.uRecord = reader_.Number();
    title_.juros = Amount(rec, 18, 32, "juros/multa/encargos"sv);
    title_.desconto = Amount(rec, 33, 47, "desconto"sv);
    title_.abatimento = Amount(rec, 48, 62, "abatimento"sv);
    title_.iof = Amount(rec, 63, 77, "IOF"sv);
    title_.valorPago = Amount(rec, 78, 92, "valor pago"sv);
    title_.valorLiquido = Amount(rec, 93, 107, "valor líquido"_cp);
    title_.dataOcorrencia = Date(rec, 138, "data da ocorrência"_cp);
    title_.dataCredito = Date(rec, 146, "data do crédito"_cp);
  }

  void Flush() {
    if (!pending_) return;
    pending_ = false;
    visitor_.Remark(title_.record, {}, "segmento T sem o segmento U que o completa: valores pagos desconhecidos");
    visitor_.Title(title_);
  }

  void ServiceRecord(std::string_view rec) {
    ServiceAnswer answer;
    answer.record = reader_.Number();
    answer.movimento = TextAt(rec, 16, 17);
    answer.solicitacao = TextAt(rec, 20, 21);
    answer.identificador = TextAt(rec, 23, 40);
    answer.descricao = TextAt(rec, 41, 200);
    answer.quantidade = TextAt(rec, 201, 204);
    answer.erro = TextAt(rec, 205, 207);
    const std::size_t zeros = answer.erro.find_first_not_of('0');
    if (zeros != std::string::npos && !answer.erro.empty()) {
      // C047-A codes have two characters; the field has three.
      const std::string code = answer.erro.size() == 3 && answer.erro[0] == '0' ? answer.erro.substr(1) : answer.erro;
      answer.erroTexto = DescribeCode(CodeTable::MotivoRejeicao240, code);
    }
    visitor_.Service(answer);
  }

  void LoteTrailer(std::string_view rec) {
    const auto count = NumberAt(rec, 18, 23, false);
    if (count && static_cast<std::uint64_t>(*count) != loteRecords_ + 1)
      Remark(rec, Cat("o trailer de lote conta ", *count, " registros no lote (posições 18-23); o lote tem "_cp,
                      loteRecords_ + 1));
  }

  void FileTrailer(std::string_view rec) {
    const auto count = NumberAt(rec, 24, 29, false);
    if (count && static_cast<std::uint64_t>(*count) != records_)
      Remark(rec,
             Cat("o trailer de arquivo conta ", *count, " registros (posições 24-29); o arquivo tem "_cp, records_));
  }

  LineReader& reader_;
  ReturnVisitor& visitor_;
  ReturnTitle title_;
  CodeWords scratch_;
  bool pending_ = false;
  std::string t_;                         // the T segment of the pending title
  std::string motiveText_;                // a motive's words that no table holds
  std::optional<CodeTable> motiveTable_;  // that movement's motives' table
  std::array<Movement, 8> movements_;
  Movement otherMovement_;  // a code of other than two bytes, never kept
  std::size_t nextMovement_ = 0;
  unsigned lastMovimento_ = 0;  // the movement whose words title_.movimentoTexto holds (Pair); 0 none
  bool loteZeroNoted_ = false;
  bool blankNoted_ = false;
  std::uint64_t records_ = 0, loteRecords_ = 0;
};

}  // namespace

void ReadSigcb240Retorno(LineReader& reader, ReturnVisitor& visitor) { Run(reader, visitor).Read(); }

}  // namespace verilote::returns
