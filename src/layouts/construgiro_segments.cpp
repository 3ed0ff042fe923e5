// The detail segments of a Construgiro remittance (record type "3"): P, the
// instalment; Q, the buyer and an optional drawer; R, the fine; S.
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "layouts/construgiro_run.hpp"

namespace verilote::construgiro {

namespace {

// Field 37: the account digit over agency 18-22 and account 24-35.
bool AccountDv(std::string_view rec) {
  char joined[17];
  const std::string_view agency = Field(rec, 18, 22), account = Field(rec, 24, 35);
  agency.copy(joined, agency.size());
  account.copy(joined + agency.size(), account.size());
  return At(rec, 37, Mod11Dv(std::string_view(joined, agency.size() + account.size())));
}

// Field 63-76, the company's number: at most 11 characters after trimming.
bool CompanyNumber(std::string_view rec) { return Trim(Field(rec, 63, 76)).size() <= 11; }

bool NotProtestAndReturn(std::string_view rec) { return !(At(rec, 221, '1') && At(rec, 224, '1')); }
bool ProtestOrReturn(std::string_view rec) { return At(rec, 221, '1') || At(rec, 224, '1'); }

constexpr MessageRule kPBankFields[] = {
    {AgencyDv<23, 18, 22, Mod11Dv>, "  Posição 23 dígito inválido"_cp, "23 18-22"},
    {OneOf<36, 36, "0">, "  Posição 36 deveria ser 0"_cp, "36"},
    {AccountDv, "  Posição 37 dígito invalido"_cp, "37 18-22 24-35"},
    {TrimmedExactly<47, 57, 11>, "  Nosso Número menor que 11 algarismos"_cp, "47-57"},
};

constexpr MessageRule kPTitleFields[] = {
    {Blank<38, 46>, "  Posição 38,9 não é branco"_cp, "38-46"},
    {CompanyNumber, "  Seu número maior que permitido"_cp, "63-76"},
    {OneOf<58, 58, "1">, "  Posição 58 deveria ter 1"_cp, "58"},
    {OneOf<59, 59, "1">, "  Posição 59 deveria ter 1"_cp, "59"},
    {OneOf<60, 60, "2">, "  Posição 60 deveria ter 2"_cp, "60"},
    {OneOf<61, 61, "1">, "  Posição 61 deveria ter 1"_cp, "61"},
    {OneOf<62, 62, "1">, "  Posição 62 deveria ter 1"_cp, "62"},
    // The bank's wording names the due date for the instalment value.
    {Numeric<86, 100>, "  Data de vencimento não numérica"_cp, "86-100"},
};

constexpr MessageRule kPChargeFields[] = {
    {OneOf<107, 108, "99">, "  Posição 107 deveria ter 99"_cp, "107-108"},
    {OneOf<101, 102, "00">, "  Posição 101 deveria ter 00"_cp, "101-102"},
    {OneOf<103, 106, "0000">, "  Posição 103 deveria ter 0000"_cp, "103-106"},
    {OneOf<118, 118, "1", "2", "3", "4">, "  Cód Juros Mora inválido na posição 118"_cp, "118"},
    {Numeric<127, 141>, "  Juros inválido"_cp, "127-141"},
    {Numeric<151, 165>, "  valor desconto invalido", "151-165"},
    {Numeric<166, 180>, "  valor pago inválido"_cp, "166-180"},
    {Numeric<181, 195>, "  valor abatimento inválido"_cp, "181-195"},
    {NotBlank<196, 220>, "  identificação do título na empresa não está preenchido"_cp, "196-220"},
    {OneOf<142, 142, "0", "1", "2">, "  Cód desconto inválido na posição 142"_cp, "142"},
    {OneOf<109, 109, "A", "N">, "  Posição 109 deveria ter A ou N"_cp, "109"},
    {ValidDate<110, 117>, "  Data de emissão do título inválida"_cp, "110-117"},
    {ZerosOrDate<119, 126>, "  Data dos juros inválida"_cp, "119-126"},
    {ZerosOrDate<143, 150>, "  Data de desconto invalida", "143-150"},
    {OneOf<221, 221, "1", "3">, "  Tipo Protesto inválido"_cp, "221"},
    {OneOf<224, 224, "1", "2">, "  Tipo Devolução inválido"_cp, "224"},
    {NotProtestAndReturn, "  Parcela marcada para protesto e devolução - Não é permitido"_cp, "221 224"},
    {ProtestOrReturn, "  Parcela NÃO marcada para protesto e nem para devolução - Não é permitido"_cp, "221 224"},
    {OneOf<228, 229, "09">, "  Posição 228 deveria ter 09"_cp, "228-229"},
};

constexpr MessageRule kPClosingFields[] = {
    {ZerosOrDate<230, 237>, "  Data de pagamento invalida", "230-237"},
    {OneOf<238, 238, "1", "2", "3", "4", "5", "6">, "  Tipo de prestação inválido na posição 238"_cp, "238"},
    {OneOf<240, 240, "1", "2">, "  Tipo de prestação inválido na posição 240"_cp, "240"},
};

// A protest (221, 222-223) or return (224, 225-227) term: numeric; when its
// flag is "1", a whole number of days within the range. A numeric text that
// is no whole number ("1,5") is an invalid term, not the end of the run.
struct Term {
  std::size_t flag, from, to;
  std::int64_t min, max;
  std::string_view notNumeric, invalid;
  std::string_view days, daysAndFlag;  // the fields each finding names
};
constexpr Term kProtest{
    221,       222,          223, 2, 90, "  Prazo de protesto não é numérico"_cp, "  Prazo de protesto inválido"_cp,
    "222-223", "222-223 221"};
constexpr Term kReturn{
    224,       225,          227, 5, 90, "  Prazo de devolução não é numérico"_cp, "  Prazo de devolução inválido"_cp,
    "225-227", "225-227 224"};

constexpr MessageRule kQBuyer[] = {
    {Numeric<16, 17>, "  Posição 16 deveria ser número"_cp, "16-17"},
    {Blank<15, 15>, "  Posição 15 deveria ser branco"_cp, "15"},
    {OneOf<18, 18, "1", "2">, "  Posição 18 deveria ter 1 ou 2"_cp, "18"},
};

constexpr MessageRule kQDocument[] = {
    {CpfIfKind<18, '1', 23, 33>, "  CPF do sacado invalido", "20-33 18"},
    {CnpjIfKind<18, '2', 20, 33>, "  CNPJ do sacado invalido", "20-33 18"},
};

constexpr MessageRule kQAddress[] = {
    {TrimmedAtLeast<34, 73, 3>, "  Falta nome", "34-73"},
    {TrimmedAtLeast<74, 113, 3>, "  Falta endeço"_cp, "74-113"},
    {TrimmedAtLeast<114, 128, 3>, "  Falta o Bairro", "114-128"},
    {TrimmedExactly<129, 136, 8>, "  C.E.P inválido"_cp, "129-136"},
    {TrimmedAtLeast<137, 151, 3>, "  Falta a cidade", "137-151"},
    {TrimmedExactly<152, 153, 2>, "  Falta a UF", "152-153"},
    {OneOf<154, 154, "1", "2">, "  Posição 154 deveria ter 1 ou 2"_cp, "154"},
};

constexpr MessageRule kQDrawer[] = {
    {TrimmedAtLeast<170, 209, 3>, "  Falta nome do avalista", "170-209 155-169"},
    {CpfIfKind<154, '1', 159, 169>, "  CPF do avalista invalido", "155-169 154"},
    {CnpjIfKind<154, '2', 156, 169>, "  CNPJ do avalista invalido", "155-169 154"},
};

}  // namespace

void Run::SegmentP(std::string_view rec) {
  ++p;
  const std::string_view movement = Field(rec, 16, 17);
  if (!IsNumeric(movement)) Finding("  Código de movimento na posição 16 não é numérico"_cp, "16-17");
  Apply(kPBankFields, rec);
  if (movement == "01") {  // an entry: the bank numbers the title
    if (Field(rec, 47, 57) != "00000000000")
      Finding("  Nosso Número deve ser zerado na entrada de título."_cp, "47-57 16-17");
  } else if (!At(rec, 47, '3')) {
    Finding("  Nosso Número inválido."_cp, "47-57 16-17");
  }
  Apply(kPTitleFields, rec);
  const std::optional<DateKey> due = DateKeyOf(Field(rec, 78, 85));
  if (!due) {
    Finding("  Data de vencimento inválida"_cp, "78-85");
  } else if (*due > today && !At(rec, 77, '1')) {
    Finding(Cat(" Tem Parcela de ", Field(rec, 78, 79), "/", Field(rec, 80, 81), "/", Field(rec, 82, 85),
                " que não será antecipada no empréstimo."_cp),
            "78-85 77");
  }
  Apply(kPChargeFields, rec);
  for (const Term& term : {kProtest, kReturn}) {
    const std::string_view days = Field(rec, term.from, term.to);
    if (!IsNumeric(days)) {
      Finding(term.notNumeric, term.days);
    } else if (At(rec, term.flag, '1')) {
      const std::optional<std::int64_t> value = WholeNumber(days);
      if (!value || *value < term.min || *value > term.max) Finding(term.invalid, term.daysAndFlag);
    }
  }
  Apply(kPClosingFields, rec);

  // Cross checks; only valid dates are compared, and money as exact cents.
  lastDue = due;
  const std::optional<DateKey> issue = DateKeyOf(Field(rec, 110, 117)), interest = DateKeyOf(Field(rec, 119, 126));
  if (due && issue && *due < *issue)
    Finding(" Data do vencimento não pode ser antes da data de emissão."_cp, "78-85 110-117");
  if (interest && due && *interest < *due)
    Finding(" Juros não pode ser cobrado antes do vencimento."_cp, "119-126 78-85");
  const std::uint64_t value = AmountOf(Field(rec, 86, 100));
  if (value < AmountOf(Field(rec, 127, 141)))
    Finding(" Juros não pode ser maior que o valor da parcela."_cp, "127-141 86-100");
  // The bank's wording speaks of interest where the discount is compared.
  if (value < AmountOf(Field(rec, 151, 165)))
    Finding(" Juros não pode ser maior que o valor do desconto"_cp, "151-165 86-100");
  if (due && *due < today) {
    ++overdue;
    overdueTotal.Add(value);
    if (movement == "01") {
      const std::string dueDate = SlashDate(Field(rec, 78, 85));
      if (Field(rec, 230, 237) == "00000000") {
        Finding(Cat(" parcela vencida em ", dueDate, " e não paga, não deve enviar."_cp), "78-85 230-237 16-17");
      } else if (FormatMoney(Field(rec, 166, 180)) == "0,00") {
        Finding(Cat(" parcela vencida em ", dueDate, " sem valor do pagamento, não deve enviar."_cp),
                "78-85 166-180 230-237 16-17");
      }
    }
  } else if (due) {
    ++toFallDue;
    toFallDueTotal.Add(value);
  }
  PStatistics(rec);
}

void Run::PStatistics(std::string_view rec) {
  if (At(rec, 221, '1')) ++protests;
  if (At(rec, 224, '1')) ++returns;
  ++instalments;
  // The first instalment counts as a change of term: a file whose terms are
  // all the same counts one and writes no line on differing terms.
  const std::string_view protestDays = Field(rec, 222, 223), returnDays = Field(rec, 225, 227);
  if (instalments == 1 || protestDays != protestTerm) ++protestTermChanges;
  if (instalments == 1 || returnDays != returnTerm) ++returnTermChanges;
  protestTerm = protestDays;
  returnTerm = returnDays;
}

void Run::SegmentQ(std::string_view rec) {
  ++q;
  payerName = Trim(Field(rec, 34, 73));
  Apply(kQBuyer, rec);
  const std::string_view document = Field(rec, 20, 33);
  if (!IsNumeric(document)) {
    Finding("  CPF/CNPJ não numérico"_cp, "20-33");
  } else if (document == "00000000000000") {
    Finding("  CPF/CNPJ não pode ser zeros"_cp, "20-33");
  } else {
    Apply(kQDocument, rec);
  }
  Apply(kQAddress, rec);
  const std::string_view drawer = Field(rec, 155, 169);
  if (!IsNumeric(drawer)) {
    Finding("  Não é numérico (155,15)"_cp, "155-169");
  } else if (drawer != "000000000000000") {  // fifteen zeros: no drawer
    Apply(kQDrawer, rec);
  }
  if (!TrimmedAtLeast<210, 224, 3>(rec)) Finding("  Falta Profissão"_cp, "210-224");
  BirthDate(rec);
  const std::string_view areaCode = Field(rec, 225, 226), phone = Field(rec, 227, 234);
  if (!IsNumeric(areaCode)) {
    Finding("  DDD inválido"_cp, "225-226");
  } else if (areaCode == "00") {
    Finding("  DDD Não pode ser zeros"_cp, "225-226");
  }
  if (!IsNumeric(phone)) {
    Finding("  Telefone inválido"_cp, "227-234");
  } else if (phone == "00000000") {
    Finding("  Telefone Não pode ser zeros"_cp, "227-234");
  }
}

void Run::BirthDate(std::string_view rec) {
  const std::string_view birth = Field(rec, 235, 240);
  if (!IsNumeric(birth)) return Finding("  Data Nascimento inválida"_cp, "235-240");
  // ddmmyy: the year is 20yy unless that lies after this year, else 19yy,
  // so that a buyer born in 2010 is not taken for one born in 1910.
  const std::string_view yy = Field(birth, 5, 6);
  const bool recent = yy.size() == 2 && IsAllDigits(yy) && 2000 + (yy[0] - '0') * 10 + (yy[1] - '0') <= todayYear;
  const std::string date = Cat(Field(birth, 1, 2), "/", Field(birth, 3, 4), "/", recent ? "20" : "19", yy);
  const std::optional<DateKey> born = DateKeyOf(date);
  if (!born) return Finding("  Data Nascimento Inválida."_cp, "235-240");
  if (!At(rec, 18, '1')) return;  // a company has no age
  // Ages in calendar years: under 18 when born after today 18 years ago;
  // over 70 when born before today 70 years ago.
  if (*born > today - 18 * 10000)
    Finding(Cat("  Advertencia: ", date, " Data Nascimento provavelmente de comprador menor de 18 anos."),
            "235-240 18");
  if (*born < today - 70 * 10000)
    Finding(Cat("  Advertencia: ", date, " Data Nascimento provavelmente de comprador maior de 70 anos."),
            "235-240 18");
}

void Run::SegmentR(std::string_view rec) {
  if (!Blank<18, 65>(rec)) Finding(" Da posição 18 até 65 deve ser branco"_cp, "18-65");
  if (!OneOf<66, 66, "0", "1", "2">(rec)) return Finding("  Cód Multa inválido na posição 66"_cp, "66");
  if (At(rec, 66, '0')) return;  // no fine
  const std::optional<DateKey> fine = DateKeyOf(Field(rec, 67, 74));
  if (!fine) return Finding("  Data da multa inválido !!!"_cp, "67-74 66");
  if (lastDue && *fine < *lastDue) Finding(" Data da multa não pode ser antes do vencimento."_cp, "67-74");
}

void Run::SegmentS(std::string_view rec) {
  if (!At(rec, 18, '3')) Finding(" Na posição 18 deve ter um 3"_cp, "18");
}

}  // namespace verilote::construgiro
