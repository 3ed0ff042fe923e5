// The bank's answers to a collection remittance, read record by record: the
// SIGCB CNAB 240 return (T/U pairs, Y-08 answers, trailers), its
// pre-validation return (segment W), and the SIGCB CNAB 400 return and
// pre-validation. A reader hands each title, error and remark to a visitor
// and forgets it, so that a return of millions of titles reads in flat
// memory. The bank's files are read, never refused: what departs from its
// manuals becomes a remark, a garbled record a remark of its own, and the
// records after it are read as usual.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/fields.hpp"
#include "app/host.hpp"

namespace verilote::returns {

enum class ReturnKind { Sigcb240Retorno, Sigcb240Precritica, Sigcb400Retorno, Sigcb400Precritica };

// "sigcb240-retorno", "sigcb240-precritica", "sigcb400-retorno", "sigcb400-precritica".
std::string_view LayoutName(ReturnKind kind);
// In words, Windows-1252: "SIGCB CNAB 240 - retorno".
std::string_view KindTitle(ReturnKind kind);
bool IsPrecritica(ReturnKind kind);

// The kind of return whose first record is `first` (its line end taken
// off), or nothing for a remittance or any other file. `second`, when the
// file has one, tells a payments return from a collection one.
std::optional<ReturnKind> ReturnKindOf(std::string_view first, std::string_view second);

// The same for a file, from its first two records; nothing when the file
// cannot be read or is no return.
std::optional<ReturnKind> DetectReturn(const std::string& path);

// A sum of money in cents; nothing where the record holds no number.
using Cents = std::optional<std::int64_t>;

struct ReturnHeader {
  ReturnKind kind = ReturnKind::Sigcb240Retorno;
  std::string beneficiario;  // the code as written
  std::string agencia;
  std::string empresa;
  std::string inscricao;  // CPF/CNPJ of the company, 240 only
  std::optional<CivilDate> geracao;
  std::string nsa;
  std::string versao;    // blank in a 400 return of the older version
  std::string situacao;  // 240: positions 192-211 ("RETORNO-PRODUCAO"); 400 pre-validation: 12-26
};

struct Motive {
  std::string code;
  std::string text;  // Windows-1252
};

// One title of a return: a T/U pair of the 240 return, a detail of the 400.
// The texts the record holds are views into the records read: valid during
// the visitor's call (a visitor that keeps a title copies them), so that a
// return of millions of titles is read without copying its fields.
struct ReturnTitle {
  std::uint64_t record = 0;      // the T segment or the 400 detail, counted from 1
  std::uint64_t uRecord = 0;     // the U segment; 0 when it is missing (and for the 400)
  std::string_view bytes;        // the record `record`, as read
  std::string_view nossoNumero;  // digits as written, modality included
  std::string_view seuNumero;
  std::string_view movimento;  // C044 (240) or NE033 (400) code as written
  std::string movimentoTexto;
  std::array<Motive, 6> motives;
  std::size_t motiveCount = 0;
  Cents valorTitulo, valorPago, tarifa, juros, desconto, abatimento, valorLiquido, iof;
  Cents multa;  // the 400 return keeps the fine apart from the interest; `juros` holds both
  std::optional<CivilDate> vencimento, dataOcorrencia, dataCredito;
  std::string_view bancoRecebedor, agenciaRecebedora;
  std::string_view agenciaDv;  // 240: field 20.3T, the receiving agency's check digit
  bool rejected = false;       // the bank refused what the remittance asked

  // Up to six; each kept in the strings of the last title, so that reading
  // millions of titles allocates nothing per title.
  void AddMotive(std::string_view code, std::string_view text);
};

// A pre-validation error: the remittance's record (by its position in the
// remittance file) and field it names, and the error.
struct PrecriticaError {
  std::uint64_t record = 0;         // the W record or 400 detail in the return
  std::string_view bytes;           // that record, as read
  std::uint64_t remessaRecord = 0;  // 0 when the return names none
  std::string campo;                // the field code as the return writes it ("183P", "18.0"); 400: empty
  std::string erro;                 // the error code as written
  std::string texto;                // Windows-1252
  char recordType = 0;              // the remittance record's type, 0 unknown
  std::size_t from = 0, to = 0;     // the field's positions in the remittance record, 0 unknown
  std::string_view fieldCode;       // the manual's number of the field ("18.0"); empty unknown
  std::string_view fieldName;       // Windows-1252; empty unknown
};

// A Y-08 record: the bank's answer to a service request.
struct ServiceAnswer {
  std::uint64_t record = 0;
  std::string movimento, solicitacao, identificador, descricao, quantidade, erro, erroTexto;
};

class ReturnVisitor {
 public:
  virtual ~ReturnVisitor() = default;
  virtual void Header(const ReturnHeader&) {}
  virtual void Title(const ReturnTitle&) {}
  virtual void Error(const PrecriticaError&) {}
  virtual void Service(const ServiceAnswer&) {}
  // A departure from the manual or a record that could not be read: `text`
  // in Windows-1252 about record `record` (0: the file as a whole), whose
  // bytes are `rec`.
  virtual void Remark(std::uint64_t record, std::string_view rec, std::string_view text) {
    (void)record;
    (void)rec;
    (void)text;
  }
};

// Reads the return at `path` of kind `kind`, record by record, into
// `visitor`. Throws FileError when the file cannot be read; the host hears
// the progress (and may stop the reading there).
void ReadReturn(const std::string& path, ReturnKind kind, ReturnVisitor& visitor, Host* host = nullptr);

// The field dictionary of a kind of return (`show`, the inspector).
const LayoutFields& ReturnFields(ReturnKind kind);
const LayoutFields* ReturnFieldsOfLayout(std::string_view layout);
// The record kind of a title (T segment, 400 detail) or error (W segment,
// 400 detail) of a return of kind `kind`.
const RecordKind* TitleRecordKind(ReturnKind kind);

}  // namespace verilote::returns
