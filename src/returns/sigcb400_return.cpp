// The SIGCB CNAB 400 return (header "02RETORNO", a detail per title, the
// trailer) and its pre-validation return (the remittance's header answered
// at 12-26 and 101-386, each faulty detail with its error codes at 30-31 and
// 74-75 and its place in the remittance at 395-400).
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_codes.hpp"
#include "returns/return_readers.hpp"
#include "returns/w_field_map.hpp"

namespace verilote::returns {

namespace {

class Run {
 public:
  Run(LineReader& reader, ReturnVisitor& visitor, bool precritica)
      : reader_(reader), visitor_(visitor), precritica_(precritica) {}

  void Read() {
    std::string_view rec;
    bool trailer = false;
    while (NextRecord(reader_, visitor_, rec, 400)) {
      if (rec.size() < 110) {
        Remark(rec, "registro ilegível: curto demais para o leiaute de 400 posições; ignorado"_cp);
        continue;
      }
      switch (rec[0]) {
        case '0':
          Header(rec);
          break;
        case '1':
          if (precritica_)
            PrecriticaDetail(rec);
          else
            Detail(rec);
          break;
        case '9':
          trailer = true;
          break;
        default:
          Remark(rec, Cat("tipo de registro '", rec[0], "' (posição 1) desconhecido: ignorado"_cp));
      }
    }
    if (!trailer) RemarkMissingTrailer(visitor_, reader_);
  }

 private:
  void Remark(std::string_view rec, std::string_view text) { visitor_.Remark(reader_.Number(), rec, text); }

  void Header(std::string_view rec) {
    ReturnHeader header;
    header.kind = precritica_ ? ReturnKind::Sigcb400Precritica : ReturnKind::Sigcb400Retorno;
    header.agencia = TextAt(rec, 27, 30);
    header.beneficiario = TextAt(rec, 31, 37);
    header.empresa = TextAt(rec, 47, 76);
    bool bad = false;
    header.geracao = DateAt(rec, 95, 6, bad);
    header.nsa = TextAt(rec, 390, 394);
    // Field 13.0V: the return writes its version at 159-161, the
    // pre-validation at 387-389; blank in the files before the 7-digit codes.
    header.versao = precritica_ ? TextAt(rec, 387, 389) : TextAt(rec, 159, 161);
    if (!header.versao.empty() && header.versao != "007")
      Remark(rec, Cat("versão do leiaute \""_cp, header.versao, "\" (posições "_cp, precritica_ ? "387-389" : "159-161",
                      "; o manual traz branco ou 007): aceita"));
    if (precritica_) {
      header.situacao = TextAt(rec, 12, 26);
      visitor_.Header(header);
      HeaderErrors(rec);
    } else {
      visitor_.Header(header);
    }
  }

  // The header's own faults are in its message, "Reg.tipo 0 - 99.99":
  // at most two codes.
  void HeaderErrors(std::string_view rec) {
    std::string message(TextAt(rec, 101, 386));
    for (char& c : message)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::size_t at = message.find("TIPO 0 - ");
    if (at == std::string::npos) return;
    at += 9;
    for (int n = 0; n < 2 && at + 2 <= message.size(); ++n, at += 3) {
      const std::string code = message.substr(at, 2);
      if (!(code[0] >= '0' && code[0] <= '9' && code[1] >= '0' && code[1] <= '9')) break;
      Error(rec, '0', 1, code);
      if (at + 2 >= message.size() || message[at + 2] != '.') break;
    }
  }

  // `recordType`: the remittance record's type the error is about, header
  // '0' or title '1'.
  void Error(std::string_view rec, char recordType, std::uint64_t remessaRecord, std::string_view code) {
    PrecriticaError error;
    error.bytes = rec;
    error.record = reader_.Number();
    error.remessaRecord = remessaRecord;
    error.erro = code;
    error.texto = DescribeCode(CodeTable::Erro400, code);
    if (const Error400FieldRef* field = FindErrorField400(code, recordType)) {
      error.recordType = field->recordType;
      error.from = field->from;
      error.to = field->to;
      error.fieldName = field->name;
    }
    visitor_.Error(error);
  }

  void PrecriticaDetail(std::string_view rec) {
    const auto position = NumberAt(rec, 395, 400, false);
    if (!position)
      Remark(rec, Cat("sequencial do registro na remessa (posições 395-400) \""_cp, TextAt(rec, 395, 400),
                      "\": o registro da remessa não é conhecido"_cp));
    bool any = false;
    for (const std::size_t from : {std::size_t{30}, std::size_t{74}}) {
      const std::string_view code = TextAt(rec, from, from + 1);
      if (code.empty() || code == "00") continue;
      any = true;
      Error(rec, '1', position ? static_cast<std::uint64_t>(*position) : 0, code);
    }
    if (!any) Remark(rec, "detalhe de pré-crítica sem código de erro (posições 30-31 e 74-75)"_cp);
  }

  Cents Amount(std::string_view rec, std::size_t from, std::size_t to, std::string_view name) {
    if (to > rec.size()) return std::nullopt;
    const Cents value = NumberAt(rec, from, to, true);
    if (!value)
      Remark(rec, Cat(name, " (posições "_cp, from, '-', to, ") não numérico: \""_cp,
                      rec.substr(from - 1, to - from + 1), "\""));
    return value;
  }

  std::optional<CivilDate> Date(std::string_view rec, std::size_t from, std::string_view name) {
    bool bad = false;
    const auto date = DateAt(rec, from, 6, bad);
    if (bad)
      Remark(rec, Cat(name, " (posições "_cp, from, '-', from + 5, ") não é uma data: \""_cp, rec.substr(from - 1, 6),
                      "\""));
    return date;
  }

  void Detail(std::string_view rec) {
    ReturnTitle& t = title_;
    t.motiveCount = 0;
    t.record = reader_.Number();
    t.bytes = rec;
    t.nossoNumero = TextAt(rec, 57, 73);
    t.seuNumero = TextAt(rec, 117, 126);
    t.movimento = TextAt(rec, 109, 110);
    t.movimentoTexto.assign(Words(CodeTable::Ocorrencia400, t.movimento, scratch_));
    t.rejected = t.movimento == "99";
    // 80-82: the rejection (NE032) of occurrence 99, otherwise an error
    // that did not stop the entry (NE038).
    const std::string_view rejection = TextAt(rec, 80, 82);
    if (!rejection.empty() && rejection.find_first_not_of('0') != std::string_view::npos)
      t.AddMotive(rejection, Words(t.rejected ? CodeTable::Rejeicao400 : CodeTable::Erro400, rejection, scratch_));
    if (TextAt(rec, 83, 84) == "A4") t.AddMotive("A4", DescribeCode(CodeTable::Ocorrencia400, "A4"));
    const std::string_view canal = TextAt(rec, 189, 191);
    if (!canal.empty() && canal.find_first_not_of('0') != std::string_view::npos)
      t.AddMotive(canal, Words(CodeTable::Canal400, canal, scratch_));
    const std::string_view forma = TextAt(rec, 192, 192);
    if (!forma.empty() && forma != "0") t.AddMotive(forma, Words(CodeTable::FormaPagamento400, forma, scratch_));
    t.dataOcorrencia = Date(rec, 111, "data da ocorrência"_cp);
    t.vencimento = Date(rec, 147, "vencimento");
    t.valorTitulo = Amount(rec, 153, 165, "valor do título"_cp);
    t.bancoRecebedor = TextAt(rec, 166, 168);
    t.agenciaRecebedora = TextAt(rec, 169, 173);
    t.tarifa = Amount(rec, 176, 188, "valor da tarifa");
    t.iof = Amount(rec, 215, 227, "IOF");
    t.abatimento = Amount(rec, 228, 240, "abatimento");
    t.desconto = Amount(rec, 241, 253, "desconto");
    t.valorPago = Amount(rec, 254, 266, "valor principal pago");
    const Cents juros = Amount(rec, 267, 279, "juros");
    t.multa = Amount(rec, 280, 292, "multa");
    t.juros = juros && t.multa ? Cents(*juros + *t.multa) : std::nullopt;
    // The CNAB 400 return writes no net amount.
    t.valorLiquido = std::nullopt;
    t.dataCredito = Date(rec, 294, "data do crédito"_cp);
    visitor_.Title(t);
  }

  LineReader& reader_;
  ReturnVisitor& visitor_;
  bool precritica_;
  ReturnTitle title_;
  CodeWords scratch_;
};

}  // namespace

void ReadSigcb400Retorno(LineReader& reader, ReturnVisitor& visitor) { Run(reader, visitor, false).Read(); }
void ReadSigcb400Precritica(LineReader& reader, ReturnVisitor& visitor) { Run(reader, visitor, true).Read(); }

}  // namespace verilote::returns
