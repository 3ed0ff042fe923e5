#include "remittance/sigcb240.hpp"

#include <cstdlib>
#include <optional>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

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

// Field 22.1: "00000000" (no date of credit) or a valid date.
bool ZerosOrDate(std::string_view rec) { return Is<"00000000">(Field(rec, 200, 207)) || ValidDate<200, 207>(rec); }

bool Contains(std::string_view codes, std::string_view field) { return codes.find(field) != std::string_view::npos; }

// The value of a field that passed IsNumeric (digits with an optional sign,
// decimal comma and exponent). Plain digits, the usual case, are converted as
// integers; the other forms as a double, exact for amounts of 15 digits.
double NumericValue(std::string_view text) {
  if (!text.empty() && text.size() <= 18 && IsAllDigits(text)) return static_cast<double>(StrToInt(text));
  char buffer[64];
  const std::size_t n = text.size() < sizeof buffer - 1 ? text.size() : sizeof buffer - 1;
  for (std::size_t i = 0; i < n; ++i) buffer[i] = text[i] == ',' ? '.' : text[i];
  buffer[n] = '\0';
  return std::strtod(buffer, nullptr);
}

// ---- File header (record type "0").

constexpr CodeRule kFileHeaderRules[] = {
    {ValidDate<144, 151>, " Erro na data: campo 17.0"},
    {AllOf<33, 52, '0'>, " Não tem zeros na posição 33,20"_cp},
    {AgencyDv<58, 54, 57>, " DV AGENCIA inválido na posição 58"_cp},
    {Blank<9, 17>, " 04.0"},
    {Blank<172, 191>, " 22.0"},
    {Blank<216, 240>, " 23.0 24.0 25.0"},
    {Blank<133, 142>, " 14.0"},
    {OneOf<1, 3, "104">, " 01.0"},
    {OneOf<4, 7, "0000">, " 02.0"},
    {OneOf<167, 171, "00000">, " 21.0"},
    {OneOf<18, 18, "1", "2">, " 05.0"},
    {CpfIfKind<18, '1', 22, 32>, " cpf do cedente inválido"_cp},
    {CnpjUnlessCpf<18, 19, 32>, " CNPJ do cedente inválido"_cp},
    {NotAllOf<19, 32, '0'>, " Campo CPF/CNPJ não informado HEADER (19,14)"_cp},
    {OneOf<143, 143, "1">, " 15.0"},
    {OneOf<164, 166, "050", "101", "107">, " 20.0"},
};

// ---- Lote header (record type "1"). Its lines go out as the rules run and
// its codes at the end, so the code rules run as one table.

constexpr CodeRule kLoteHeaderRules[] = {
    {OneOf<1, 3, "104">, " 01.1"},
    {OneOf<9, 9, "R">, " 04.1"},
    {OneOf<10, 11, "01", "02">, " (05.1)"},
    {OneOf<12, 16, "00030", "00060", "00067">, " (06.1 ou 07.1)"},
    {Blank<17, 17>, " 08.1"},
    {OneOf<18, 18, "1", "2">, " 09.1"},
    {CpfIfKind<18, '1', 23, 33>, " cpf do cedente inválido"_cp},
    {CnpjUnlessCpf<18, 20, 33>, " CNPJ do cedente inválido"_cp},
    {NotAllOf<20, 33, '0'>, " Campo CPF/CNPJ não informado na capa de lote (20,14)"_cp},
    {AgencyDv<59, 55, 58>, " DV AGENCIA inválido na posição 59"_cp},
    {Numeric<66, 73>, " 15.1"},
    {OneOf<73, 73, "0">, " 16.1"},
    {NotBlank<74, 103>, " 17.1"},
    {ValidDate<192, 199>, " 21.1"},
    {Numeric<200, 207>, " 22.1"},
    {ZerosOrDate, " 22.1"},
    {Blank<208, 240>, " 23.1"},
};

constexpr std::string_view kCedenteDiverge =
    "O código do cedente no Header de lote é diferente do Header de arquivo: ERRO"_cp;

// ---- Segment P.

constexpr std::string_view kBaixaEProtesto = " Título não pode ter instrução de Baixa e Protesto ao mesmo tempo."_cp;
constexpr std::string_view kCaixaPrints61 =
    " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 61 como cedente imprime."_cp;
constexpr std::string_view kCaixaPrints62 =
    " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 62 como postagem do cedente."_cp;
constexpr std::string_view kDiasProtesto = " Dias Para Protesto deve ser numérico."_cp;

constexpr CodeRule kPBankRules[] = {
    {OneOf<1, 3, "104">, " 01.3P"},
    {Blank<15, 15>, " 06.3P"},
    {AgencyDv<23, 18, 22, Mod11Dv>, " (09.3P)"},
};

// Fields 13.3P to 27.3P, up to and including the due date (20.3P).
constexpr CodeRule kPTitleRules[] = {
    {TrimmedExactly<43, 57, 15>, " Nosso Número menor que 15 algarismos"_cp},
    {Numeric<43, 57>, " Nosso Número não numérico."_cp},
    {OneOf<58, 58, "1">, " 14.3P - Carteira inválida deve ser = 1"_cp},
    {OneOf<59, 59, "1", "2">, " 15.3P"},
    {OneOf<60, 60, "2">, " 16.3P - Deve ser igual a 2"},
    {OneOf<61, 61, "1", "2", "4", "5">, " 17.3P"},
    {OneOf<62, 62, "1", "2", "3", "0">, " 18.3P"},
    {NotBlank<63, 73>, " 19.3P - Falta num doc na posição"_cp},
    {Blank<74, 77>, " 19.3P - Seu número > 11 posiçoes"_cp},
    {ValidDate<78, 85>, " 20.3P"},
};

// "Valida Parcial" checks the title amount here too.
constexpr CodeRule kPPartialAmountRules[] = {
    {Numeric<86, 100>, " 21.3P"},
};

// Fields 22.3P to 27.3P, after the due date.
constexpr CodeRule kPKindRules[] = {
    {OneOf<101, 105, "00000">, " 22.3P Deveria ser 00000"},
    {OneOf<106, 106, "0">, " 23.3P"},
    {Numeric<107, 108>, " 24.3P"},
    {OneOf<109, 109, "A", "N">, " 25.3"},
    {ValidDate<110, 117>, " 26.3P"},
    {OneOf<118, 118, "1", "2", "3">, " 27.3P deveria ter 1,2 ou 3"},
};

constexpr CodeRule kPValueRules[] = {
    {Numeric<166, 180>, " 33.3P Este campo deve ser numérico."_cp},
    {Numeric<181, 195>, " 34.3P Este campo deve ser numérico."_cp},
};

constexpr CodeRule kPReturnRules[] = {
    {OneOf<224, 224, "1", "2">, " 38.3P"},
    {OneOf<228, 229, "09">, " 40.3P"},
    {AllOf<230, 239, '0'>, " 41.3P"},
};

// ---- Segment Q.

constexpr CodeRule kQRules[] = {
    {OneOf<1, 3, "104">, " 01.3Q"},
    {Blank<15, 15>, " 06.3Q"},
    {Numeric<16, 17>, " 07.3Q"},
    {OneOf<18, 18, "1", "2">, " 08.3Q"},
    {NotAllOf<20, 33, '0'>, " CPF/CNPJ Zerado 09.3Q"},
    {CpfIfKind<18, '1', 23, 33>, " CPF do sacado invalido"},
    {CnpjIfKind<18, '2', 20, 33>, " CNPJ do sacado invalido"},
    {TrimmedAtLeast<34, 73, 3>, " Falta nome"},
    {TrimmedAtLeast<74, 113, 3>, " Falta Endereço"_cp},
    {TrimmedAtLeast<114, 128, 3>, " Falta o Bairro"},
    {TrimmedExactly<129, 136, 8>, " C.E.P inválido"_cp},
    {Numeric<129, 133>, " 13.3Q"},
    {Numeric<134, 136>, " 14.3Q"},
    {TrimmedAtLeast<137, 151, 3>, " Falta Cidade"},
    {TrimmedExactly<152, 153, 2>, " Falta UF"},
    {GuarantorNumeric, " 17.3Q/18.3Q"},
    {OneOf<154, 154, "1", "2", "0">, " 17.3Q"},
    {GuarantorDocument<'1', 159, IsValidCpf>, " CPF do avalista invalido"},
    {GuarantorDocument<'2', 156, IsValidCnpj>, " CNPJ do avalista invalido"},
    {GuarantorName, " 19.3Q"},
    {OneOf<210, 212, "000", "   ">, " 20.3Q"},
    {AllOf<213, 232, ' '>, " 21.3Q"},
    {AllOf<233, 240, ' '>, " 22.3Q"},
};

// ---- Segment R: the second and third discounts (fields 08.3R-13.3R), each
// a code, a date and an amount.

struct ExtraDiscount {
  std::size_t code, date, amount;  // first positions: code 1, date 8, amount 15 characters
  std::string_view badCode, dateWithoutDiscount, amountWithoutDiscount, discountWithoutDate, discountWithoutAmount;
};

constexpr ExtraDiscount kExtraDiscounts[] = {
    {18, 19, 27, " 08.3R Na posição 18,1 tem um código não esperado para o desconto !!!"_cp,
     " 09.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp,
     " 10.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp, " 09.3R Tem desconto, mas não tem data !!!"_cp,
     " 10.3R Tem desconto, mas não tem valor !!!"_cp},
    {42, 43, 51, " 11.3R Na posição 42,1 tem um código não esperado para o desconto !!!"_cp,
     " 12.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp,
     " 13.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp, " 12.3R Tem desconto, mas não tem data !!!"_cp,
     " 13.3R Tem desconto, mas não tem valor !!!"_cp},
};

// ---- Segment Y53 (payment options). Lines, each after "Registro numero n".

// Field 07.3Y: a remittance movement code, or "47" or "48".
bool Y53Movement(std::string_view rec) {
  const std::string_view movement = Field(rec, 16, 17);
  return IsMovementCode(movement) || Is<"47">(movement) || Is<"48">(movement);
}

struct LineRule {
  RecordTest passes;
  std::string_view text;
};

constexpr LineRule kY53MovementRules[] = {
    {Y53Movement, " 07.3Y Não encontrado no layout da CAIXA!!!"_cp},
    {OneOf<20, 21, "02", "04">, " 09.3Y Deveria ser 02 ou 04!!!"},
};

constexpr LineRule kY53PaymentRules[] = {
    {OneOf<24, 24, "1", "2">, " 11.3Y Deveria ser 1 ou 2!!!"}, {Numeric<25, 39>, " 12.3Y Deveria ser numérico!!!"_cp},
    {OneOf<40, 40, "1", "2">, " 14.3Y Deveria ser 1 ou 2!!!"}, {Numeric<41, 55>, " 15.3Y Deveria ser numérico!!!"_cp},
    {Blank<56, 240>, " 17.3Y Deveria ser branco!!!"},
};

void ApplyLineRules(std::span<const LineRule> rules, Cnab240Run& run, std::string_view rec) {
  for (const LineRule& rule : rules)
    if (!rule.passes(rec)) run.RecordFinding(rule.text);
}

// ---- Steps of segment P.

// Modality of the Nosso Número (41-42) and what it implies for printing,
// protest and return; only for a P that carries a Nosso Número.
void CheckModality(Cnab240Run& run, std::string_view rec) {
  const std::string_view modality = Field(rec, 41, 42);
  const std::string_view p61 = Field(rec, 61, 61), p62 = Field(rec, 62, 62);
  const bool caixaPrints61 = Is<"1">(p61) || Is<"4">(p61) || Is<"5">(p61);
  const bool caixaPosts62 = Is<"1">(p62) || Is<"2">(p62) || Is<"3">(p62) || Is<"4">(p62);
  const bool returnCode = At(rec, 224, '1') || At(rec, 224, '2');
  if (Is<"11">(modality) || Is<"14">(modality)) {  // title with registration
    const std::string instruction = Cat(Field(rec, 221, 221), Field(rec, 224, 224));
    if (!Is<"12">(instruction) && !Is<"31">(instruction) && !Is<"91">(instruction))
      run.Code(" Este Título tem que estar marcado para protestar ou devolver ou cancelar protesto."_cp);
    if (At(rec, 224, '1') && At(rec, 221, '1')) run.Code(kBaixaEProtesto);
    if (!Numeric<222, 223>(rec)) run.Code(kDiasProtesto);
    if (!returnCode) run.Code(" Cód Devolução Deveria ser 1 ou 2"_cp);
    if (!At(rec, 59, '1')) run.Code(" Posição 59 deveria ser 1"_cp);
    if (At(rec, 42, '1')) {  // CAIXA prints the boleto
      if (!caixaPrints61) run.Code(kCaixaPrints61);
      if (!caixaPosts62) run.Code(kCaixaPrints62);
    }
    if (At(rec, 42, '4')) {  // the cedente prints it
      if (!Is<"2">(p61))
        run.Code(
            " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 61 como CAIXA imprime."_cp);
      if (!Is<"0">(p62))
        run.Code(
            " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 62 como postagem da CAIXA."_cp);
    }
  } else if (Is<"21">(modality)) {  // title without registration
    if (!At(rec, 59, '2')) run.Code(" Posição 59 deveria ser 2"_cp);
    if (!caixaPrints61) run.Code(kCaixaPrints61);
    if (!caixaPosts62) run.Code(kCaixaPrints62);
    if (!Numeric<222, 223>(rec)) run.Code(kDiasProtesto);
    if (!Numeric<225, 227>(rec)) run.Code(" Dias Para Devolução deve ser numérico."_cp);
    if (At(rec, 221, '1')) run.Code(" Titulo sem registro marcado para Protesto.");
    if (!returnCode) run.Code(" Código de devolução deveria ser 1 ou 2."_cp);
  } else {
    run.Code(" 13.3P, deveria ser 14 ou 11 ou 21");
  }
}

// Interest: code 27.3P (118), date 28.3P (119-126), amount 29.3P (127-141).
void CheckInterest(Cnab240Run& run, std::string_view rec, bool partial) {
  const std::string_view code = Field(rec, 118, 118);
  const bool dateZeros = Is<"00000000">(Field(rec, 119, 126));
  if (Is<"1">(code) || Is<"2">(code)) {
    if (AllOf<127, 141, '0'>(rec)) run.Code(" 29.3P sem valor e no campo 27.3P diz que tem valor");
    if (!ValidDate<119, 126>(rec)) run.Code(" 28.3P sem data  e no campo 27.3P diz que tem data");
  } else if (!partial) {
    if (!AllOf<127, 141, '0'>(rec)) run.Code(" 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp);
    if (!dateZeros) run.Code(" 28.3P tem data e no campo 27.3P diz que é isento"_cp);
  }
  if (partial && !dateZeros && !ValidDate<119, 126>(rec)) run.Code(" 28.3P");
  if (!Numeric<127, 141>(rec)) run.Code(" 29.3P Este campo deve ser numérico."_cp);
}

// Discount: code 30.3P (142), date 31.3P (143-150), amount or percentage
// 32.3P (151-165), against the title amount 21.3P (86-100).
void CheckDiscount(Cnab240Run& run, std::string_view rec) {
  const std::string_view code = Field(rec, 142, 142);
  if (!Is<"0">(code) && !Is<"1">(code) && !Is<"2">(code)) {
    run.Code(" 30.3P valor informado não permitido"_cp);
    return;
  }
  if (!Numeric<151, 165>(rec)) {
    run.Code(" 32.3P Este campo deve ser numérico."_cp);
    return;
  }
  if (!Numeric<86, 100>(rec)) {
    run.Code(" 21.3P  Este campo deve ser numérico"_cp);
    return;
  }
  if (Is<"0">(code)) {
    if (!AllOf<151, 165, '0'>(rec)) run.Code(" 32.3P não deveria ter valor, o campo 30.3P diz que não tem desconto"_cp);
    if (!Is<"00000000">(Field(rec, 143, 150)))
      run.Code(" 31.3P tem data e no campo 30.3P  diz que não tem desconto"_cp);
    return;
  }
  if (!ValidDate<143, 150>(rec)) run.Code(" 31.3P Data de desconto inválida."_cp);
  if (AllOf<151, 165, '0'>(rec)) {
    run.Code(" 32.3P deveria ter valor porque 30.3P é "_cp);
    run.Code(code);
  }
  if (Is<"1">(code) && NumericValue(Field(rec, 151, 165)) >= NumericValue(Field(rec, 86, 100)))
    run.Code(" Desconto não pode ser maior ou igual ao valor do título. "_cp);
  // A percentage with two decimals: positions 151-163 are its whole part.
  if (Is<"2">(code) && NumericValue(Field(rec, 151, 163)) >= 100) run.Code(" Desconto não pode ser maior 100% "_cp);
}

// Fields 36.3P and 37.3P: the protest code, then its days when the code is known.
void CheckProtest(Cnab240Run& run, std::string_view rec) {
  if (!OneOf<221, 221, "1", "3", "9">(rec)) {
    run.Code(" 36.3P");
  } else if (!Numeric<222, 223>(rec)) {
    run.Code(" 37.3P Este campo deve ser numérico."_cp);
  }
}

// Field 42.3P (layout "101"): the payment option of card and proposal titles
// (kinds 31 and 32), blank for the others.
void CheckPaymentOption(Cnab240Run& run, std::string_view rec) {
  if (!Is<"101">(run.layoutVersion)) return;
  const std::string_view kind = Field(rec, 107, 108);
  if (Is<"31">(kind) || Is<"32">(kind)) {
    if (!OneOf<240, 240, "1", "2">(rec)) run.Code(" 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp);
  } else if (!Is<" ">(Field(rec, 240, 240))) {
    run.Code(" 42.3P");
  }
}

// The dates of the title against its due date, each only when both dates are
// valid: a date whose own rule failed is not compared.
void CheckDateOrder(Cnab240Run& run, std::string_view rec) {
  if (Contains(run.codes, "20.3P")) return;
  const std::optional<std::int64_t> due = DdmmyyyyOrder(Field(rec, 78, 85));
  if (!due) return;  // cannot happen: field 20.3P passed IsValidDate
  run.dueOrder = due;
  // The order of the date at from..from+7 unless it is zeros or its own code
  // was given.
  const auto dayOf = [&](std::string_view ownCode, std::size_t from) -> std::optional<std::int64_t> {
    const std::string_view date = Field(rec, from, from + 7);
    if (Is<"00000000">(date) || Contains(run.codes, ownCode)) return std::nullopt;
    return DdmmyyyyOrder(date);
  };
  if (const auto day = dayOf("31.3P", 143); day && *day > *due)
    run.Code(" Data Desconto não pode ser posterior a data vencimento."_cp);
  if (const auto day = dayOf("26.3P", 110); day && *day >= *due)
    run.Code(" Data Emissão do título não pode ser igual ou posterior a data vencimento."_cp);
  if (const auto day = dayOf("28.3P", 119); day && *day < *due)
    run.Code(" Data Juros do título não pode ser anterior a data vencimento."_cp);
}

// "Convenio: c Inscricao: " and the cedente's inscription of a header, whose
// 14 positions start at `at`: a CNPJ, or three zeros and a CPF when the kind
// of inscription (position 18) is "1".
std::string ConvenioLine(std::string_view convenio, std::string_view rec, std::size_t at) {
  const auto part = [&](std::size_t from, std::size_t to) { return Field(rec, at + from, at + to); };
  if (At(rec, 18, '1'))
    return Cat("Convenio: ", convenio, " Inscricao: ", part(3, 5), '.', part(6, 8), '.', part(9, 11), '-',
               part(12, 13));
  return Cat("Convenio: ", convenio, " Inscricao: ", part(0, 1), '.', part(2, 4), '.', part(5, 7), '/', part(8, 11),
             '-', part(12, 13));
}

}  // namespace

// ---- File header.

void SigcbRules::FileHeader(Cnab240Run& run, std::string_view rec) {
  run.layoutVersion = Field(rec, 164, 166);
  if (!Is<"101">(run.layoutVersion) && !Is<"107">(run.layoutVersion))
    run.Finding(Cat("#####Erro FATAL#####: Versão "_cp, run.layoutVersion,
                    " do Header de arquivo não é esperada, portanto o restante da validação está incorreta."_cp));
  run.cedente = Is<"107">(run.layoutVersion) ? Field(rec, 59, 65) : Field(rec, 59, 64);

  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 73, 102)));
  const std::string_view bank = Trim(Field(rec, 103, 132));
  if (bank != "CAIXA ECONOMICA FEDERAL" && bank != "C ECON FEDERAL" && bank != "CAIXA" && bank != "CEF")
    run.Finding("HEADER DE ARQUIVO deveria ter string CAIXA ECONOMICA FEDERAL ");
  if (IsRemittanceKind(rec)) {
    run.Info(Cat("Tipo de remessa: ", Field(rec, 192, 207)));
  } else {
    run.Finding("Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp);
  }
  run.Info(BancoLine(rec));

  ApplyCodeRules<kFileHeaderRules>(rec, run.codes);
  run.Info(ConvenioLine(run.cedente, rec, 19));

  run.nsa = Field(rec, 158, 163);
  if (!IsNumeric(run.nsa)) run.Finding("Erro no número do nsa do arquivo. Nao é um número válido"_cp);
  if (!run.codes.empty()) {
    run.Finding(Cat("Erro no HEADER. Codigos de erro:", run.codes));
  } else {
    run.Info(Banner(40, " HEADER OK ", 37));
  }
}

// ---- Lote header.

void SigcbRules::LoteHeader(Cnab240Run& run, std::string_view rec) {
  // Field 11.1 (from 34) carries the cedente code, seven positions in layout
  // 107 and six otherwise; field 12.1 zero-fills up to 53.
  const bool layout107 = Is<"107">(run.layoutVersion);
  const std::size_t width = layout107 ? 7 : 6;
  if (Copy(rec, 34, width) != run.cedente) {
    run.Finding(kCedenteDiverge);
    run.Code(" 11.1");
  }
  if (!IsAll(Copy(rec, 34 + width, 20 - width), 20 - width, '0')) run.Code(" 12.1");
  if (!layout107 && Field(rec, 60, 65) != run.cedente) run.Code(" Campo 14.1 deve ser igual ao 11.1");
  const std::string_view version = Field(rec, 14, 16), expected = layout107 ? "067" : "060";
  if (!partial_ && version != expected)
    run.Finding(Cat("Versão do Header de Lote deveria ser "_cp, expected, " e está com "_cp, version));

  run.Info(Banner(38, " CAPA DE LOTE ", 36));
  const std::string recorded = Cat(Field(rec, 192, 193), '/', Field(rec, 194, 195), '/', Field(rec, 196, 199));
  if (IsValidDate(recorded)) {
    run.Info(Cat("Num remessa: ", Field(rec, 184, 191), " Gravacao: ", recorded));
  } else {
    run.Finding(Cat("Num remessa: ", Field(rec, 184, 191), " Gravacao: DATA DA GRAVAÇÃO INVÁLIDA !!!"_cp));
  }

  ApplyCodeRules<kLoteHeaderRules>(rec, run.codes);
  run.Info(ConvenioLine(Field(rec, 34, 39), rec, 20));
  const std::size_t cedenteLength = Trim(Field(rec, 66, 72)).size();
  if (cedenteLength != 7) run.Finding(Cat("Erro no campo 15.1, esperado tamanho 7 encontrado tamanho ", cedenteLength));
  const std::string_view message1 = Trim(Field(rec, 104, 143)), message2 = Trim(Field(rec, 144, 183));
  if (!message1.empty()) run.Info(Cat("Mensagem 1: ", message1));
  if (!message2.empty()) run.Info(Cat("Mensagem 2: ", message2));
  const std::string_view nsa = Field(rec, 184, 191);
  if (!IsNumeric(nsa)) {
    run.Finding("Erro no número do nsa no header de lote -> não é numérico"_cp);
  } else if (nsa != Cat("00", run.nsa)) {
    run.Finding(Cat("Erro no número do nsa no lote, esperado 00"_cp, run.nsa, " encontrado ", nsa));
  }

  if (!run.codes.empty()) {
    run.Finding(Cat("====================== Erro na capa de lote. Codigos de erro:", run.codes, " =================="));
  } else {
    run.Info(Banner(37, " CAPA DE LOTE OK ", 34));
  }
}

// ---- Segment P: the title.

void SigcbRules::SegmentP(Cnab240Run& run, std::string_view rec) {
  run.option42 = 0;
  const bool hasNossoNumero = !AllOf<41, 57, '0'>(rec);

  ApplyCodeRules<kPBankRules>(rec, run.codes);
  // Field 10.3P carries the cedente code of the file header: six positions
  // and ten zeros in layout 101, seven and nine zeros in layout 107.
  if (Is<"101">(run.layoutVersion) || Is<"107">(run.layoutVersion)) {
    const std::size_t width = Is<"107">(run.layoutVersion) ? 7 : 6;
    if (Copy(rec, 24, width) != run.cedente) run.Code(" (10.3P) - Cod ced diverge do lote");
    if (!IsAll(Copy(rec, 24 + width, 16 - width), 16 - width, '0')) run.Code(" (11.3P ou 12.3P)");
  }
  if (hasNossoNumero) CheckModality(run, rec);
  if (Is<"00">(Field(rec, 41, 42)) && At(rec, 224, '1') && At(rec, 221, '1')) run.Code(kBaixaEProtesto);

  ApplyCodeRules<kPTitleRules>(rec, run.codes);
  if (partial_) ApplyCodeRules<kPPartialAmountRules>(rec, run.codes);
  ApplyCodeRules<kPKindRules>(rec, run.codes);
  CheckInterest(run, rec, partial_);
  CheckDiscount(run, rec);
  ApplyCodeRules<kPValueRules>(rec, run.codes);
  if (!partial_ && Field(rec, 196, 210) != Field(rec, 63, 77))
    run.Code(" Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp);
  CheckProtest(run, rec);
  ApplyCodeRules<kPReturnRules>(rec, run.codes);
  CheckPaymentOption(run, rec);
  CheckDateOrder(run, rec);

  if (!run.codes.empty()) {  // the title's label, written only here
    std::string& label = run.titleLabel;
    label.clear();
    if (hasNossoNumero) {
      label += " NN: ";
      label += Field(rec, 41, 42);
      label += '/';
      label += Field(rec, 43, 57);
    }
    label += " SeuN: ";
    label += Field(rec, 63, 73);
    run.LineFinding(Cat(" SEGMENTO P. Codigos de erro:", run.codes, " Para -> ", label));
  }
  if (Numeric<240, 240>(rec)) run.option42 = StrToInt(Field(rec, 240, 240));
  if (run.p <= run.q) run.LineFinding(" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp);
}

// ---- Segment Q: the payer and the guarantor.

void SigcbRules::SegmentQ(Cnab240Run& run, std::string_view rec) {
  ApplyCodeRules<kQRules>(rec, run.codes);
  const std::string_view name = Trim(Field(rec, 34, 73));
  run.titleLabel.assign(name.size() >= 3 ? name : std::string_view());
  if (!run.codes.empty()) {
    if (Trim(run.titleLabel).empty()) {
      run.LineFinding(Cat(" SEGMENTO Q. Codigos de erro:", run.codes));
    } else {
      run.LineFinding(Cat(" SEGMENTO Q. Codigos de erro:", run.codes, " Para -> ", run.titleLabel));
    }
  }
  if (run.p != run.q) run.LineFinding(" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp);
}

// ---- Segment R: second and third discounts and the fine ("multa").

void SigcbRules::SegmentR(Cnab240Run& run, std::string_view rec) {
  if (!Blank<15, 15>(rec)) run.Code(" 06.3R");
  for (const ExtraDiscount& d : kExtraDiscounts) {
    const std::string_view code = Field(rec, d.code, d.code);
    if (!Is<"0">(code) && !Is<"1">(code) && !Is<"2">(code)) run.RecordFinding(d.badCode);
    const bool dateZeros = IsAll(Copy(rec, d.date, 8), 8, '0'), amountZeros = IsAll(Copy(rec, d.amount, 15), 15, '0');
    if (Is<"0">(code)) {
      if (!dateZeros) run.RecordFinding(d.dateWithoutDiscount);
      if (!amountZeros) run.RecordFinding(d.amountWithoutDiscount);
    } else {
      if (dateZeros) run.RecordFinding(d.discountWithoutDate);
      if (amountZeros) run.RecordFinding(d.discountWithoutAmount);
    }
  }
  if (!OneOf<66, 66, "0", "1", "2">(rec)) run.Code(" 14.3R");
  // A title without fine (code "0") leaves its fine date zeroed.
  const bool noFine = At(rec, 66, '0') && Is<"00000000">(Field(rec, 67, 74));
  if (!noFine) {
    const std::optional<std::int64_t> fine = DdmmyyyyOrder(Field(rec, 67, 74));
    if (!fine) {
      run.Code(" 15.3R");
    } else if (run.dueOrder && *fine <= *run.dueOrder) {
      run.Code(" Data da Multa não pode ser anterior ou igual a data do vencimento."_cp);
    }
  }
  if (!Numeric<75, 89>(rec)) run.Code(" 16.3R");
  if (!Blank<90, 99>(rec)) run.Code(" 17.3R");
  if (!Blank<230, 239>(rec)) run.Code(" 21.3R");
  // The codes of an R segment are written as those of a Q.
  if (!run.codes.empty()) run.LineFinding(Cat(" SEGMENTO R. Codigos de erro:", run.codes));
}

// ---- Segment S: printing messages.

void SigcbRules::SegmentS(Cnab240Run& run, std::string_view rec) {
  if (partial_) return;  // counted by the frame, not checked
  const std::string_view kind = Field(rec, 18, 18);
  if (!Is<"3">(kind)) run.LineFinding(" Tipo de impressão não esperado por este aplicativo !!"_cp);
  if (!Is<" ">(Field(rec, 15, 15))) run.LineFinding(" Campo 06.3S preenchido e deveria ser branco !!");
  if (Is<"1">(kind) || Is<"2">(kind)) {
    if (Blank<21, 160>(rec)) run.RecordFinding(" 10.3S deveria ser preenchido!!!");
    if (!Is<"00">(Field(rec, 19, 20))) run.LineFinding(" Campo 09.3S deveria ter zeros !!");
    if (!Is<"00">(Field(rec, 161, 162))) run.LineFinding(" Campo 11.3S deveria ter zeros !!");
    if (!Blank<163, 240>(rec)) run.RecordFinding(" 12.3S deveria ser branco!!!");
  } else if (Is<"3">(kind)) {
    if (Blank<19, 178>(rec))
      run.RecordFinding(" Pelo menos um dos campos deve ser preenchido (09.3S,10.3S,11.3S,12.3S)!!!");
    if (!Blank<179, 240>(rec)) run.RecordFinding(" 13.3S e 14.3S deveriam ser brancos!!!");
  } else {
    run.RecordFinding(" 08.3S deveria ser 1, 2 ou 3!!!");
  }
}

// ---- Segment Y53: payment options of card and proposal titles.

void SigcbRules::SegmentY53(Cnab240Run& run, std::string_view rec) {
  ApplyLineRules(kY53MovementRules, run, rec);
  // Field 10.3Y follows field 42.3P of the title's P segment.
  const std::string_view installments = Field(rec, 22, 23);
  if (run.option42 == 1) {
    if (!Is<"00">(installments)) run.RecordFinding(" 10.3Y Deveria ser 00 porque 42.3P é igual a 1!!!"_cp);
  } else if (run.option42 == 2) {
    if (!IsNumeric(installments)) {
      run.RecordFinding(" 10.3Y Deveria ser numérico!!!"_cp);
    } else if (Is<"00">(installments)) {
      run.RecordFinding(" 10.3Y Deveria não pode ser 00 porque semento 42.3P é igual a 2!!!"_cp);
    }
  } else {
    run.RecordFinding(" 10.3Y Não pode ser validado porque o segmento 42.3P não tem 1 ou 2!!!"_cp);
  }
  ApplyLineRules(kY53PaymentRules, run, rec);
}

// ---- The two commands.

Verdict SIGCBRemessa1Click(Host& host) {
  SigcbRules rules(false);
  return RunCnab240(host, kSigcbFull, rules);
}

Verdict SIGCBRemessaValidaserros1Click(Host& host) {
  SigcbRules rules(true);
  return RunCnab240(host, kSigcbPartial, rules);
}

}  // namespace verilote
