#include "remittance/sicob240.hpp"

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

// ---- File header (record type "0").

// Field 08.0 (54-57) repeats the agency of the centralising account (33-36),
// field 10.0 (63-70) its account (40-47).
bool SameAgency0(std::string_view rec) { return Field(rec, 54, 57) == Field(rec, 33, 36); }
bool SameAccount0(std::string_view rec) { return Field(rec, 63, 70) == Field(rec, 40, 47); }

// The check digit of the centralising account (48) over agency, operation
// and account (33-47). The routine converts each digit, so a letter or a
// blank among them makes the digit wrong rather than ending the run.
bool CentralAccountDv(std::string_view rec) {
  const std::string_view account = Field(rec, 33, 47);
  return IsAllDigits(account) && Field(rec, 48, 48) == Mod11DvFrom8(account);
}

// Position 72: the digit of agency and account together, over the account
// of eight (63-70) or of twelve positions (59-70).
bool AgencyAccountDv(std::string_view rec) {
  const std::string_view agency = Field(rec, 54, 57), dv = Field(rec, 72, 72);
  return dv.size() == 1 && (dv[0] == Mod11DvTimesTen(Cat(agency, Field(rec, 63, 70))) ||
                            dv[0] == Mod11DvTimesTen(Cat(agency, Field(rec, 59, 70))));
}

constexpr FieldRule kFileHeaderRules[] = {
    {AgencyDv<58, 54, 57>, " DV AGENCIA inválido na posição 58"_cp, "09.0 08.0"},
    {Blank<9, 17>, " 04.0"},
    {Blank<172, 191>, " 22.0"},
    {Blank<212, 240>, " 24.0"},
    {Blank<133, 142>, " 15.0"},
    {Blank<49, 52>, " 07.0"},
    {SameAgency0, " 08.0", "08.0 07.0"},
    {SameAccount0, " 10.0", "10.0 07.0"},
    {OneOf<1, 3, "104">, " 01.0"},
    {OneOf<4, 7, "0000">, " 02.0"},
    {OneOf<167, 171, "00000">, " 21.0"},
    {OneOf<18, 18, "1", "2">, " 05.0"},
    {CpfIfKind<18, '1', 22, 32>, " cpf do cedente inválido"_cp, "06.0 05.0"},
    {CnpjUnlessCpf<18, 19, 32>, " CNPJ do cedente inválido"_cp, "06.0 05.0"},
    {OneOf<143, 143, "1">, " 16.0"},
    {OneOf<164, 166, "030">, " 20.0"},
};

// ---- Lote header (record type "1"): the same account one position on.

bool SameAgency1(std::string_view rec) { return Field(rec, 55, 58) == Field(rec, 34, 37); }
bool SameAccount1(std::string_view rec) { return Field(rec, 64, 71) == Field(rec, 41, 48); }

constexpr FieldRule kLoteHeaderRules[] = {
    {Blank<17, 17>, " 08.1"},
    {Blank<50, 53>, " 11.1"},
    {Blank<208, 240>, " 23.1"},
    {OneOf<1, 3, "104">, " 01.1"},
    {OneOf<9, 9, "R">, " 04.1"},
    {OneOf<10, 11, "01">, " (05.1)"},
    {OneOf<14, 16, "020">, " (07.1)"},
    {OneOf<18, 18, "1", "2">, " 09.1"},
    {SameAgency1, " 12.1", "12.1 11.1"},
    {SameAccount1, " 14.1", "14.1 11.1"},
};

// "Convenio: " agency.operation.account-digit and the cedente's inscription,
// a CNPJ when position 18 is "2", else a CPF; the header's fields start at
// 33 and 19, the lote header's one position on.
std::string ConvenioLine(std::string_view rec, std::size_t shift) {
  const auto at = [&](std::size_t from, std::size_t to) { return Field(rec, from + shift, to + shift); };
  const std::string convenio = Cat("Convenio: ", at(33, 36), '.', at(37, 39), '.', at(40, 47), '-', at(48, 48));
  if (At(rec, 18, '2'))
    return Cat(convenio, " Inscricao: ", at(19, 20), '.', at(21, 23), '.', at(24, 26), '/', at(27, 30), '-',
               at(31, 32));
  return Cat(convenio, " Inscricao: ", at(22, 24), '.', at(25, 27), '.', at(28, 30), '-', at(31, 32));
}

// ---- Segment P.

constexpr FieldRule kPBankRules[] = {
    {OneOf<1, 3, "104">, " 01.3P"},
    {WholeNumberIn<16, 17, 1, 10>, " 07.3P"},
};

constexpr FieldRule kPTitleRules[] = {
    {Blank<38, 46>, " 13.3P"},
    {[](std::string_view rec) { return Trim(Field(rec, 63, 77)).size() <= 10; }, " 19.3P"},
    {OneOf<58, 58, "1", "3">, " 14.3P"},
    {OneOf<59, 59, "1", "2">, " 15.3P"},
    {OneOf<60, 60, "1", "2">, " 16.3P"},
    {OneOf<62, 62, "1", "2">, " 18.3P"},
    {OneOf<61, 61, "1", "2", "4", "5">, " 17.3P"},
    {ValidDate<78, 85>, " 20.3P"},
    {Numeric<86, 100>, " 21.3P"},
    {Numeric<107, 108>, " 24.3P"},
    {Numeric<101, 105>, " 22.3P"},
};

constexpr FieldRule kPAmountRules[] = {
    {Numeric<127, 141>, " 29.3P"},
    {Numeric<151, 165>, " 32.3P"},
    {Numeric<166, 180>, " 33.3P"},
    {Numeric<181, 195>, " 34.3P"},
};

// A date field of eight zeros (no date) or a valid date.
template <std::size_t From>
bool ZerosOrDate(std::string_view rec) {
  return AllOf<From, From + 7, '0'>(rec) || ValidDate<From, From + 7>(rec);
}

constexpr FieldRule kPLastRules[] = {
    {Blank<230, 240>, " 41.3P"},     {OneOf<109, 109, "A", "N">, " 25.3", "25.3P"},
    {ValidDate<110, 117>, " 26.3P"}, {ZerosOrDate<119>, " 28.3P"},
    {ZerosOrDate<143>, " 31.3P"},    {OneOf<228, 229, "09">, " 40.3P"},
};

// A check digit at `pos` against `dv` computed over other fields: the code
// names what was expected and what was found.
// `fields` names the digit's field and those it is computed from.
void CheckDv(Cnab240Run& run, std::string_view rec, std::size_t pos, char dv, std::string_view field,
             std::string_view fields) {
  const std::string_view found = Field(rec, pos, pos);
  if (found.size() != 1 || found[0] != dv) run.Code(Cat(field, " Esperado ", dv, " encontrado ", found), fields);
}

// Field 13.3P: the Nosso Número with its digit (47-57).
void CheckNossoNumero(Cnab240Run& run, std::string_view rec) {
  if (!TrimmedExactly<47, 57, 11>(rec)) run.Code(" Nosso Número menor que 11 algarismos"_cp, "13.3P");
  if (!Numeric<47, 57>(rec)) {
    run.Code(" Nosso Número não numérico."_cp, "13.3P");
    return;
  }
  if (Field(rec, 47, 57) == "00000000000") return;
  const std::optional<char> dv = NossoNumeroDvOf(Field(rec, 47, 56));
  const std::string_view found = Field(rec, 57, 57);
  if (!dv || found.size() != 1 || found[0] != *dv)
    run.Code(Cat(" 13.3P(dv(", dv ? std::string(1, *dv) : std::string("?"), '/', found, "))"), "13.3P");
}

// Interest (27.3P at 118, date 28.3P, amount 29.3P) and discount (30.3P at
// 142, date 31.3P, amount 32.3P): a charged interest or a discount needs its
// date and its amount.
void CheckInterestAndDiscount(Cnab240Run& run, std::string_view rec) {
  if (!OneOf<118, 118, "1", "2", "3">(rec)) {
    run.Code(" 27.3P");
  } else if (!At(rec, 118, '3')) {
    if (AllOf<119, 126, '0'>(rec)) run.Code(" 28.3P deveria ter uma data por conta do campo 27.3P", "28.3P 27.3P");
    if (AllOf<127, 141, '0'>(rec)) run.Code(" 29.3P deveria ter um Valor por conta do campo 27.3P", "29.3P 27.3P");
  }
  if (!OneOf<142, 142, "0", "1", "2">(rec)) {
    run.Code(" 30.3P");
  } else if (!At(rec, 142, '0')) {
    if (AllOf<143, 150, '0'>(rec)) run.Code(" 31.3P deveria ter uma data por conta do campo 30.3P", "31.3P 30.3P");
    if (AllOf<151, 165, '0'>(rec)) run.Code(" 32.3P deveria ter um Valor por conta do campo 30.3P", "32.3P 30.3P");
  }
}

// Protest (36.3P at 221, days 37.3P) and return (38.3P at 224, days 39.3P).
void CheckProtestAndReturn(Cnab240Run& run, std::string_view rec) {
  if (!Numeric<222, 223>(rec)) {
    run.Code(" 37.3P");
  } else if (!OneOf<221, 221, "1", "3">(rec)) {
    run.Code(" 36.3P");
  } else if (At(rec, 221, '1') && !WholeNumberIn<222, 223, 2, 90>(rec)) {
    run.Code(" 37.3P está marcado para protesto mas a quantidade de dias é inválida."_cp, "37.3P 36.3P");
  }
  if (At(rec, 224, '1') && At(rec, 221, '1'))
    run.Code(" Título não pode ter instrução de Baixa e Protesto ao mesmo tempo."_cp, "38.3P 36.3P");
  if (!OneOf<224, 224, "1", "2">(rec)) run.Code(" Cód Devolução Deveria ser 1 ou 2"_cp, "38.3P");
  if (!Numeric<225, 227>(rec)) {
    run.Code(" Dias Para Devolução deve ser numérico."_cp, "39.3P");
  } else if (At(rec, 224, '1') && !WholeNumberIn<225, 227, 5, 90>(rec)) {
    run.Code(" Dias para Devolução deve ser de 5 a 90"_cp, "39.3P 38.3P");
  }
}

// ---- Segment Q.

constexpr FieldRule kQRules[] = {
    {OneOf<1, 3, "104">, " 01.3Q"},
    {Numeric<16, 17>, " 07.3Q"},
    {Blank<15, 15>, " 06.3Q"},
    {OneOf<18, 18, "1", "2">, " 08.3Q"},
    {UnlessZeros<20, 33, CpfIfKind<18, '1', 23, 33>>, " CPF do sacado invalido", "09.3Q 08.3Q"},
    {UnlessZeros<20, 33, CnpjIfKind<18, '2', 20, 33>>, " CNPJ do sacado invalido", "09.3Q 08.3Q"},
    {Numeric<19, 23>, " 09.3Q"},
    {Numeric<24, 28>, " 09.3Q"},
    {Numeric<29, 33>, " 09.3Q"},
    {TrimmedAtLeast<34, 73, 3>, " 10.3Q"},
    {TrimmedAtLeast<74, 113, 3>, " 11.3Q"},
    {TrimmedAtLeast<114, 128, 3>, " Falta o Bairro", "12.3Q"},
    {TrimmedExactly<129, 136, 8>, " C.E.P inválido"_cp, "13.3Q 14.3Q"},
    {TrimmedAtLeast<137, 151, 3>, " 15.3Q"},
    {TrimmedExactly<152, 153, 2>, " 16.3Q"},
    {OneOf<154, 154, "1", "2">, " 17.3Q"},
    {UnlessZeros<155, 169, CpfIfKind<154, '1', 159, 169>>, " CPF do avalista invalido", "18.3Q 17.3Q"},
    {UnlessZeros<155, 169, CnpjIfKind<154, '2', 156, 169>>, " CNPJ do avalista invalido", "18.3Q 17.3Q"},
    {Numeric<155, 169>, " Não é numérico (155,15)"_cp, "18.3Q"},
    {Blank<210, 240>, " (20.3Q,21.3Q,22.3Q)"},
};

}  // namespace

// ---- File header.

void SicobRules::FileHeader(Cnab240Run& run, std::string_view rec) {
  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 73, 102)));
  if (IsRemittanceKind(rec)) {
    run.Info(Cat("Tipo de remessa: ", Field(rec, 192, 207)));
  } else {
    run.Code(" Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp, "23.0");
  }
  run.Info(ConvenioLine(rec, 0));
  run.Info(BancoLine(rec));

  if (!CentralAccountDv(rec)) run.Code(" digito da conta do centralizador inválido"_cp, "07.0");
  if (!AgencyAccountDv(rec)) run.Code(" DV AGENCIA/CONTA inválido na posição 72"_cp, "12.0 08.0 10.0");
  const char accountDv = Mod11DvTimesTen(Field(rec, 63, 70));
  if (Field(rec, 71, 71) != std::string_view(&accountDv, 1))
    run.Code(Cat(" DV CONTA inválido na posição 71 esperado "_cp, accountDv, " encontrado ", Field(rec, 71, 71)),
             "11.0 10.0");
  ApplyFieldRules<kFileHeaderRules>(run, rec);

  run.nsa = Field(rec, 158, 163);
  if (!IsNumeric(run.nsa)) run.Finding("Erro no número do nsa do arquivo. Nao é um número válido"_cp, "19.0");
  if (!run.codes.empty()) {
    run.Finding(run.Text("Erro no HEADER. Codigos de erro:", run.codes), run.codeFields);
  } else {
    run.Info(Banner(40, " HEADER OK ", 37));
  }
}

// ---- Lote header.

void SicobRules::LoteHeader(Cnab240Run& run, std::string_view rec) {
  if (Field(rec, 186, 191) != run.nsa)
    run.Finding(run.Text("Erro no número do nsa no lote, esperado "_cp, run.nsa, " encontrado ", Field(rec, 186, 191)),
                "20.1");
  const std::string recorded = Cat(Field(rec, 192, 193), '/', Field(rec, 194, 195), '/', Field(rec, 196, 199));
  run.Info(Banner(38, " CAPA DE LOTE ", 36));
  run.Info(Cat("Num remessa: ", Field(rec, 184, 191), " Gravacao: ", recorded));
  run.Info(Cat("Cedente do lote: ", Field(rec, 74, 103)));
  run.Info(ConvenioLine(rec, 1));
  run.Info(Cat("Geracao: ", recorded));

  ApplyFieldRules<kLoteHeaderRules>(run, rec);
  if (!run.codes.empty()) {
    run.Finding(run.Text("Erro na capa de lote. Codigos de erro:", run.codes), run.codeFields);
  } else {
    run.Info(Banner(37, " CAPA DE LOTE OK ", 34));
  }
}

// ---- Segment P: the title.

void SicobRules::SegmentP(Cnab240Run& run, std::string_view rec) {
  ApplyFieldRules<kPBankRules>(run, rec);
  // Fields 09.3P, 11.3P and 12.3P: the digits of the agency (18-22), of the
  // account (24-35) and of both.
  CheckDv(run, rec, 23, Mod11Dv(Field(rec, 18, 22)), " (09.3P)", "09.3P 08.3P");
  if (!AgencyDv<36, 24, 35, Mod11Dv>(rec)) run.Code(" (11.3P)", "11.3P 10.3P");
  CheckDv(run, rec, 37, Mod11Dv(Cat(Field(rec, 18, 22), Field(rec, 24, 35))), " (12.3P)", "12.3P 08.3P 10.3P");
  CheckNossoNumero(run, rec);
  ApplyFieldRules<kPTitleRules>(run, rec);
  CheckInterestAndDiscount(run, rec);
  ApplyFieldRules<kPAmountRules>(run, rec);
  CheckProtestAndReturn(run, rec);
  ApplyFieldRules<kPLastRules>(run, rec);
  if (!run.codes.empty()) run.LineFinding(run.Text(" SEGMENTO P. Codigos de erro:", run.codes), run.codeFields);
}

// ---- Segment Q: the payer and the guarantor.

void SicobRules::SegmentQ(Cnab240Run& run, std::string_view rec) {
  ApplyFieldRules<kQRules>(run, rec);
  if (!run.codes.empty()) run.LineFinding(run.Text(" SEGMENTO Q. Codigos de erro:", run.codes), run.codeFields);
}

Verdict CobranaRemessapadro2401Click(Host& host) {
  SicobRules rules;
  return RunCnab240(host, kSicob240, rules);
}

}  // namespace verilote
