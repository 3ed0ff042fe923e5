#include "returns/return_formats.hpp"

#include <ostream>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "app/spool.hpp"
#include "returns/return_lines.hpp"

namespace verilote::returns {

std::string JsonText(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

namespace {

std::string J(std::string_view cp1252) { return JsonText(ToUtf8(cp1252)); }
std::string JOrNull(std::string_view cp1252) { return cp1252.empty() ? std::string("null") : J(cp1252); }
std::string JMoney(const Cents& value) { return value ? Cat('"', CentsText(*value), '"') : std::string("null"); }
std::string JDate(const std::optional<CivilDate>& date) {
  return date ? Cat('"', IsoDate(*date), '"') : std::string("null");
}

std::string JsonTitle(const ReturnTitle& t) {
  std::string motives = "[";
  for (std::size_t i = 0; i < t.motiveCount; ++i)
    motives +=
        Cat(i == 0 ? "" : ", ", "{\"codigo\": ", J(t.motives[i].code), ", \"texto\": ", J(t.motives[i].text), "}");
  motives += "]";
  return Cat("{\"record\": ", t.record, ", \"nosso_numero\": ", JOrNull(t.nossoNumero),
             ", \"seu_numero\": ", JOrNull(t.seuNumero), ", \"movimento\": ", J(t.movimento),
             ", \"movimento_texto\": ", J(t.movimentoTexto), ", \"rejeitado\": ", t.rejected ? "true" : "false",
             ", \"motivos\": ", motives, ", \"valor_titulo\": ", JMoney(t.valorTitulo),
             ", \"valor_pago\": ", JMoney(t.valorPago), ", \"tarifa\": ", JMoney(t.tarifa),
             ", \"juros\": ", JMoney(t.juros), ", \"multa\": ", JMoney(t.multa), ", \"desconto\": ", JMoney(t.desconto),
             ", \"abatimento\": ", JMoney(t.abatimento), ", \"iof\": ", JMoney(t.iof),
             ", \"valor_liquido\": ", JMoney(t.valorLiquido), ", \"vencimento\": ", JDate(t.vencimento),
             ", \"data_ocorrencia\": ", JDate(t.dataOcorrencia), ", \"data_credito\": ", JDate(t.dataCredito),
             ", \"banco_recebedor\": ", JOrNull(t.bancoRecebedor),
             ", \"agencia_recebedora\": ", JOrNull(t.agenciaRecebedora),
             ", \"agencia_recebedora_dv\": ", JOrNull(t.agenciaDv),
             ", \"registro_u\": ", t.uRecord == 0 ? "null" : std::to_string(t.uRecord), "}");
}

std::string JsonError(const PrecriticaError& e) {
  return Cat("{\"record\": ", e.record,
             ", \"registro_da_remessa\": ", e.remessaRecord == 0 ? "null" : std::to_string(e.remessaRecord),
             ", \"campo\": ", JOrNull(e.campo), ", \"campo_manual\": ", JOrNull(e.fieldCode),
             ", \"posicoes\": ", e.from == 0 ? std::string("null") : Cat("\"", e.from, '-', e.to, "\""),
             ", \"campo_nome\": ", JOrNull(e.fieldName), ", \"erro\": ", J(e.erro), ", \"texto\": ", J(e.texto), "}");
}

std::string JsonService(const ServiceAnswer& a) {
  return Cat("{\"record\": ", a.record, ", \"movimento\": ", J(a.movimento), ", \"solicitacao\": ", J(a.solicitacao),
             ", \"identificador\": ", J(a.identificador), ", \"descricao\": ", J(a.descricao),
             ", \"quantidade\": ", J(a.quantidade), ", \"erro\": ", JOrNull(a.erro),
             ", \"erro_texto\": ", JOrNull(a.erroTexto), "}");
}

class JsonVisitor final : public ReturnVisitor {
 public:
  explicit JsonVisitor(std::ostream& out) : out_(out) {}

  Totals totals;
  std::string header = "null";
  Spool errors, services, remarks;
  std::uint64_t errorCount = 0, serviceCount = 0, remarkCount = 0;
  bool firstTitle = true;

  void Header(const ReturnHeader& h) override {
    header = Cat("{\"beneficiario\": ", J(h.beneficiario), ", \"agencia\": ", J(h.agencia),
                 ", \"empresa\": ", J(h.empresa), ", \"inscricao\": ", JOrNull(h.inscricao),
                 ", \"data_geracao\": ", JDate(h.geracao), ", \"nsa\": ", JOrNull(h.nsa),
                 ", \"versao\": ", JOrNull(h.versao), ", \"situacao\": ", JOrNull(h.situacao), "}");
  }
  void Title(const ReturnTitle& title) override {
    totals.Add(title);
    out_ << (firstTitle ? "\n    " : ",\n    ") << JsonTitle(title);
    firstTitle = false;
  }
  void Error(const PrecriticaError& error) override {
    totals.AddError();
    errors.Append(JsonError(error));
    ++errorCount;
  }
  void Service(const ServiceAnswer& answer) override {
    services.Append(JsonService(answer));
    ++serviceCount;
  }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override {
    remarks.Append(Cat("{\"record\": ", record == 0 ? std::string("null") : std::to_string(record),
                       ", \"texto\": ", J(text), "}"));
    ++remarkCount;
  }

 private:
  std::ostream& out_;
};

void WriteList(std::ostream& out, std::string_view name, Spool& spool, std::uint64_t count, bool last = false) {
  out << "  \"" << name << "\": [";
  spool.Rewind();
  std::string item;
  for (std::uint64_t i = 0; spool.Next(item); ++i) out << (i == 0 ? "\n    " : ",\n    ") << item;
  out << (count == 0 ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

std::string JsonTotals(const Totals& totals) {
  std::string list = "[";
  bool first = true;
  for (const auto& [code, t] : totals.PerMovement()) {
    list +=
        Cat(first ? "\n      " : ",\n      ", "{\"movimento\": ", J(t.code), ", \"movimento_texto\": ", J(t.text),
            ", \"quantidade\": ", t.count, ", \"valor_titulo\": \"", CentsText(t.valorTitulo), "\", \"valor_pago\": \"",
            CentsText(t.valorPago), "\", \"tarifa\": \"", CentsText(t.tarifa), "\", \"juros\": \"", CentsText(t.juros),
            "\", \"desconto\": \"", CentsText(t.desconto), "\", \"abatimento\": \"", CentsText(t.abatimento),
            "\", \"valor_liquido\": \"", CentsText(t.valorLiquido), "\"}");
    first = false;
  }
  list += first ? "]" : "\n    ]";
  return Cat("{\n    \"titulos\": ", totals.Titles(), ",\n    \"rejeitados\": ", totals.Rejected(),
             ",\n    \"erros\": ", totals.Errors(), ",\n    \"tarifas\": \"", CentsText(totals.Tarifas()),
             "\",\n    \"movimentos\": ", list, "\n  }");
}

}  // namespace

Totals WriteJson(const std::string& path, ReturnKind kind, std::string_view fileName, std::ostream& out) {
  JsonVisitor visitor(out);
  out << "{\n  \"tool\": \"verilote-cli retorno\",\n  \"file\": " << JsonText(fileName) << ",\n  \"layout\": \""
      << LayoutName(kind) << "\",\n  \"titles\": [";
  ReadReturn(path, kind, visitor);
  out << (visitor.firstTitle ? "],\n" : "\n  ],\n");
  out << "  \"header\": " << visitor.header << ",\n";
  WriteList(out, "errors", visitor.errors, visitor.errorCount);
  WriteList(out, "servicos", visitor.services, visitor.serviceCount);
  out << "  \"totals\": " << JsonTotals(visitor.totals) << ",\n";
  WriteList(out, "remarks", visitor.remarks, visitor.remarkCount);
  const bool faulty = visitor.totals.Rejected() != 0 || visitor.totals.Errors() != 0;
  out << "  \"status\": " << (faulty ? 1 : 0) << "\n}\n";
  return visitor.totals;
}

namespace {

// A field for the spreadsheet: quoted when it holds a separator, a quote
// or a line break.
std::string CsvField(std::string_view cp1252) {
  std::string utf8 = ToUtf8(cp1252);
  if (utf8.find_first_of(";\"\r\n") == std::string::npos) return utf8;
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}
std::string CsvMoney(const Cents& value) {
  if (!value) return {};
  std::string text = CentsText(*value);
  text[text.size() - 3] = ',';
  return text;
}
std::string CsvDate(const std::optional<CivilDate>& date) { return date ? BrDate(*date) : std::string(); }

class CsvVisitor final : public ReturnVisitor {
 public:
  CsvVisitor(std::ostream& out, std::ostream& remarks) : out_(out), remarks_(remarks) {}
  Totals totals;

  void Title(const ReturnTitle& t) override {
    totals.Add(t);
    std::string motives;
    for (std::size_t i = 0; i < t.motiveCount; ++i)
      motives += Cat(i == 0 ? "" : " / ", t.motives[i].code, ' ', t.motives[i].text);
    // The nosso número is quoted as text would be lost: a spreadsheet
    // takes 17 digits for a number and rounds them.
    out_ << t.record << ';' << (t.nossoNumero.empty() ? "" : Cat("=\"", t.nossoNumero, "\"")) << ';'
         << CsvField(t.seuNumero) << ';' << CsvField(t.movimento) << ';' << CsvField(t.movimentoTexto) << ';'
         << CsvField(motives) << ';' << CsvMoney(t.valorTitulo) << ';' << CsvMoney(t.valorPago) << ';'
         << CsvMoney(t.tarifa) << ';' << CsvMoney(t.juros) << ';' << CsvMoney(t.desconto) << ';'
         << CsvMoney(t.abatimento) << ';' << CsvMoney(t.valorLiquido) << ';' << CsvDate(t.vencimento) << ';'
         << CsvDate(t.dataOcorrencia) << ';' << CsvDate(t.dataCredito) << ';' << CsvField(t.bancoRecebedor) << ';'
         << CsvField(t.agenciaRecebedora) << "\r\n";
  }
  void Error(const PrecriticaError& e) override {
    totals.AddError();
    out_ << e.record << ';' << (e.remessaRecord == 0 ? std::string() : std::to_string(e.remessaRecord)) << ';'
         << CsvField(!e.fieldCode.empty() ? e.fieldCode : std::string_view(e.campo)) << ';'
         << (e.from == 0 ? std::string() : Cat(e.from, '-', e.to)) << ';' << CsvField(e.fieldName) << ';'
         << CsvField(e.erro) << ';' << CsvField(e.texto) << "\r\n";
  }
  void Remark(std::uint64_t record, std::string_view, std::string_view text) override {
    remarks_ << ToUtf8(RemarkLine(record, text)) << '\n';
  }

 private:
  std::ostream& out_;
  std::ostream& remarks_;
};

}  // namespace

Totals WriteCsv(const std::string& path, ReturnKind kind, std::ostream& out, std::ostream& remarks) {
  out << "\xEF\xBB\xBF";
  if (IsPrecritica(kind))
    out << ToUtf8("Registro;Registro da remessa;Campo;Posições;Nome do campo;Erro;Descrição do erro\r\n"_cp);
  else
    out << ToUtf8(
        "Registro;Nosso número;Seu número;Movimento;Descrição do movimento;Motivos;Valor do título;Valor pago;"_cp
        "Tarifa;Juros/multa;Desconto;Abatimento;Valor líquido;Vencimento;Data da ocorrência;Data do crédito;"_cp
        "Banco recebedor;Agência recebedora\r\n"_cp);
  CsvVisitor visitor(out, remarks);
  ReadReturn(path, kind, visitor);
  return visitor.totals;
}

}  // namespace verilote::returns
