// SIGCB CNAB 240 segments Q (payer and guarantor), R (second and third
// discounts, the fine), S (printing messages) and Y53 (payment options).
#include <optional>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"
#include "remittance/sigcb240.hpp"

namespace verilote {

namespace {

// ---- Tests used by the rule tables below.

// Fields 17.3Q and 18.3Q (guarantor's kind and number, 154-169) are digits,
// except that a guarantor of kind "2" may carry an alphanumeric CNPJ, whose
// first twelve characters may be capital letters.
bool GuarantorNumeric(std::string_view rec) {
  if (Numeric<154, 169>(rec)) return true;
  return Is<"20">(Field(rec, 154, 155)) && IsValidCnpj(Field(rec, 156, 169));
}

bool GuarantorInformed(std::string_view rec) { return !AllOf<155, 169, '0'>(rec); }

// The guarantor's CPF (kind "1") or CNPJ (kind "2"), when one is informed.
template <char Kind, std::size_t From, DocumentTest Valid>
bool GuarantorDocument(std::string_view rec) {
  return !GuarantorInformed(rec) || ValidIfKind<154, Kind, From, 169, Valid>(rec);
}

bool GuarantorName(std::string_view rec) { return At(rec, 154, '0') || TrimmedAtLeast<170, 209, 3>(rec); }

// ---- Segment Q.

constexpr FieldRule kQRules[] = {
    {OneOf<1, 3, "104">, " 01.3Q"},
    {Blank<15, 15>, " 06.3Q"},
    {Numeric<16, 17>, " 07.3Q"},
    {OneOf<18, 18, "1", "2">, " 08.3Q"},
    {NotAllOf<20, 33, '0'>, " CPF/CNPJ Zerado 09.3Q", " 09.3Q"},
    {CpfIfKind<18, '1', 23, 33>, " CPF do sacado invalido", " 09.3Q 08.3Q"},
    {CnpjIfKind<18, '2', 20, 33>, " CNPJ do sacado invalido", " 09.3Q 08.3Q"},
    {TrimmedAtLeast<34, 73, 3>, " Falta nome", " 10.3Q"},
    {TrimmedAtLeast<74, 113, 3>, " Falta Endereço"_cp, " 11.3Q"},
    {TrimmedAtLeast<114, 128, 3>, " Falta o Bairro", " 12.3Q"},
    {TrimmedExactly<129, 136, 8>, " C.E.P inválido"_cp, " 13.3Q 14.3Q"},
    {Numeric<129, 133>, " 13.3Q"},
    {Numeric<134, 136>, " 14.3Q"},
    {TrimmedAtLeast<137, 151, 3>, " Falta Cidade", " 15.3Q"},
    {TrimmedExactly<152, 153, 2>, " Falta UF", " 16.3Q"},
    {GuarantorNumeric, " 17.3Q/18.3Q", " 17.3Q 18.3Q"},
    {OneOf<154, 154, "1", "2", "0">, " 17.3Q"},
    {GuarantorDocument<'1', 159, IsValidCpf>, " CPF do avalista invalido", " 18.3Q 17.3Q"},
    {GuarantorDocument<'2', 156, IsValidCnpj>, " CNPJ do avalista invalido", " 18.3Q 17.3Q"},
    {GuarantorName, " 19.3Q", " 19.3Q 17.3Q"},
    {OneOf<210, 212, "000", "   ">, " 20.3Q"},
    {AllOf<213, 232, ' '>, " 21.3Q"},
    {AllOf<233, 240, ' '>, " 22.3Q"},
};

// ---- Segment R: the second and third discounts (fields 08.3R-13.3R), each
// a code, a date and an amount.

struct ExtraDiscount {
  std::size_t code, date, amount;  // first positions: code 1, date 8, amount 15 characters
  std::string_view badCode, dateWithoutDiscount, amountWithoutDiscount, discountWithoutDate, discountWithoutAmount;
  // The fields of the code, and of the date and the amount with the code
  // that decides what they must hold.
  std::string_view codeFields, dateFields, amountFields;
};

constexpr ExtraDiscount kExtraDiscounts[] = {
    {18, 19, 27, " 08.3R Na posição 18,1 tem um código não esperado para o desconto !!!"_cp,
     " 09.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp,
     " 10.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp, " 09.3R Tem desconto, mas não tem data !!!"_cp,
     " 10.3R Tem desconto, mas não tem valor !!!"_cp, " 08.3R", " 09.3R 08.3R", " 10.3R 08.3R"},
    {42, 43, 51, " 11.3R Na posição 42,1 tem um código não esperado para o desconto !!!"_cp,
     " 12.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp,
     " 13.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp, " 12.3R Tem desconto, mas não tem data !!!"_cp,
     " 13.3R Tem desconto, mas não tem valor !!!"_cp, " 11.3R", " 12.3R 11.3R", " 13.3R 11.3R"},
};

// ---- Segment Y53 (payment options). Lines, each after "Registro numero n".

// Field 07.3Y: a remittance movement code, or "47" or "48".
bool Y53Movement(std::string_view rec) {
  const std::string_view movement = Field(rec, 16, 17);
  return IsMovementCode(movement) || Is<"47">(movement) || Is<"48">(movement);
}

struct LineRule {
  RecordTest passes;
  std::string_view text, fields;
};

constexpr LineRule kY53MovementRules[] = {
    {Y53Movement, " 07.3Y Não encontrado no layout da CAIXA!!!"_cp, " 07.3Y"},
    {OneOf<20, 21, "02", "04">, " 09.3Y Deveria ser 02 ou 04!!!", " 09.3Y"},
};

constexpr LineRule kY53PaymentRules[] = {
    {OneOf<24, 24, "1", "2">, " 11.3Y Deveria ser 1 ou 2!!!", " 11.3Y"},
    {Numeric<25, 39>, " 12.3Y Deveria ser numérico!!!"_cp, " 12.3Y"},
    {OneOf<40, 40, "1", "2">, " 14.3Y Deveria ser 1 ou 2!!!", " 14.3Y"},
    {Numeric<41, 55>, " 15.3Y Deveria ser numérico!!!"_cp, " 15.3Y"},
    {Blank<56, 240>, " 17.3Y Deveria ser branco!!!", " 17.3Y"},
};

void ApplyLineRules(std::span<const LineRule> rules, Cnab240Run& run, std::string_view rec) {
  for (const LineRule& rule : rules)
    if (!rule.passes(rec)) run.RecordFinding(rule.text, rule.fields);
}

}  // namespace

// ---- Segment Q: the payer and the guarantor.

void SigcbRules::SegmentQ(Cnab240Run& run, std::string_view rec) {
  ApplyFieldRules<kQRules>(run, rec);
  if (!run.codes.empty()) {
    // The title's label: the payer's name (field 10.3Q) when it has three
    // characters or more.
    const std::string_view name = Trim(Field(rec, 34, 73));
    if (name.size() < 3) {
      run.LineFinding(run.Text(" SEGMENTO Q. Codigos de erro:", run.codes), run.codeFields);
    } else {
      run.LineFinding(run.Text(" SEGMENTO Q. Codigos de erro:", run.codes, " Para -> ", name), run.codeFields);
    }
  }
  if (run.p != run.q) run.LineFinding(" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp, " 05.3Q");
}

// ---- Segment R: second and third discounts and the fine ("multa").

void SigcbRules::SegmentR(Cnab240Run& run, std::string_view rec) {
  if (!Blank<15, 15>(rec)) run.Code(" 06.3R");
  for (const ExtraDiscount& d : kExtraDiscounts) {
    const std::string_view code = Field(rec, d.code, d.code);
    if (!Is<"0">(code) && !Is<"1">(code) && !Is<"2">(code)) run.RecordFinding(d.badCode, d.codeFields);
    const bool dateZeros = IsAll(Copy(rec, d.date, 8), 8, '0'), amountZeros = IsAll(Copy(rec, d.amount, 15), 15, '0');
    if (Is<"0">(code)) {
      if (!dateZeros) run.RecordFinding(d.dateWithoutDiscount, d.dateFields);
      if (!amountZeros) run.RecordFinding(d.amountWithoutDiscount, d.amountFields);
    } else {
      if (dateZeros) run.RecordFinding(d.discountWithoutDate, d.dateFields);
      if (amountZeros) run.RecordFinding(d.discountWithoutAmount, d.amountFields);
    }
  }
  if (!OneOf<66, 66, "0", "1", "2">(rec)) run.Code(" 14.3R");
  // A title without fine (code "0") leaves its fine date zeroed.
  const bool noFine = At(rec, 66, '0') && Is<"00000000">(Field(rec, 67, 74));
  if (!noFine) {
    const std::optional<std::int64_t> fine = DdmmyyyyOrder(Field(rec, 67, 74));
    if (!fine) {
      run.Code(" 15.3R", " 15.3R 14.3R");
    } else if (run.dueOrder && *fine <= *run.dueOrder) {
      run.Code(" Data da Multa não pode ser anterior ou igual a data do vencimento."_cp, " 15.3R");
    }
  }
  if (!Numeric<75, 89>(rec)) run.Code(" 16.3R");
  if (!Blank<90, 99>(rec)) run.Code(" 17.3R");
  if (!Blank<230, 239>(rec)) run.Code(" 21.3R");
  // The codes of an R segment are written as those of a Q.
  if (!run.codes.empty()) run.LineFinding(run.Text(" SEGMENTO R. Codigos de erro:", run.codes), run.codeFields);
}

// ---- Segment S: printing messages.

void SigcbRules::SegmentS(Cnab240Run& run, std::string_view rec) {
  if (partial_) return;  // counted by the frame, not checked
  const std::string_view kind = Field(rec, 18, 18);
  if (!Is<"3">(kind)) run.LineFinding(" Tipo de impressão não esperado por este aplicativo !!"_cp, " 08.3S");
  if (!Is<" ">(Field(rec, 15, 15))) run.LineFinding(" Campo 06.3S preenchido e deveria ser branco !!", " 06.3S");
  // Fields 09.3S to 14.3S lie where the kind of printing (08.3S) puts them.
  if (Is<"1">(kind) || Is<"2">(kind)) {
    if (Blank<21, 160>(rec)) run.RecordFinding(" 10.3S deveria ser preenchido!!!", " 10.3S 08.3S");
    if (!Is<"00">(Field(rec, 19, 20))) run.LineFinding(" Campo 09.3S deveria ter zeros !!", " 09.3S 08.3S");
    if (!Is<"00">(Field(rec, 161, 162))) run.LineFinding(" Campo 11.3S deveria ter zeros !!", " 11.3S 08.3S");
    if (!Blank<163, 240>(rec)) run.RecordFinding(" 12.3S deveria ser branco!!!", " 12.3S 08.3S");
  } else if (Is<"3">(kind)) {
    if (Blank<19, 178>(rec))
      run.RecordFinding(" Pelo menos um dos campos deve ser preenchido (09.3S,10.3S,11.3S,12.3S)!!!", " 09.3S 08.3S");
    if (!Blank<179, 240>(rec)) run.RecordFinding(" 13.3S e 14.3S deveriam ser brancos!!!", " 13.3S 08.3S");
  } else {
    run.RecordFinding(" 08.3S deveria ser 1, 2 ou 3!!!", " 08.3S");
  }
}

// ---- Segment Y53: payment options of card and proposal titles.

void SigcbRules::SegmentY53(Cnab240Run& run, std::string_view rec) {
  ApplyLineRules(kY53MovementRules, run, rec);
  // Field 10.3Y follows field 42.3P of the title's P segment.
  const std::string_view installments = Field(rec, 22, 23);
  if (run.option42 == 1) {
    if (!Is<"00">(installments)) run.RecordFinding(" 10.3Y Deveria ser 00 porque 42.3P é igual a 1!!!"_cp, " 10.3Y");
  } else if (run.option42 == 2) {
    if (!IsNumeric(installments)) {
      run.RecordFinding(" 10.3Y Deveria ser numérico!!!"_cp, " 10.3Y");
    } else if (Is<"00">(installments)) {
      run.RecordFinding(" 10.3Y Deveria não pode ser 00 porque semento 42.3P é igual a 2!!!"_cp, " 10.3Y");
    }
  } else {
    run.RecordFinding(" 10.3Y Não pode ser validado porque o segmento 42.3P não tem 1 ou 2!!!"_cp, " 10.3Y");
  }
  ApplyLineRules(kY53PaymentRules, run, rec);
}

}  // namespace verilote
