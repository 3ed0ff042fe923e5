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

constexpr FieldRule kFileHeaderRules[] = {
    {ValidDate<144, 151>, " Erro na data: campo 17.0", " 17.0"},
    {AllOf<33, 52, '0'>, " Não tem zeros na posição 33,20"_cp, " 07.0"},
    {AgencyDv<58, 54, 57>, " DV AGENCIA inválido na posição 58"_cp, " 09.0 08.0"},
    {Blank<9, 17>, " 04.0"},
    {Blank<172, 191>, " 22.0"},
    {Blank<216, 240>, " 23.0 24.0 25.0", " 23.0"},
    {Blank<133, 142>, " 14.0"},
    {OneOf<1, 3, "104">, " 01.0"},
    {OneOf<4, 7, "0000">, " 02.0"},
    {OneOf<167, 171, "00000">, " 21.0"},
    {OneOf<18, 18, "1", "2">, " 05.0"},
    {CpfIfKind<18, '1', 22, 32>, " cpf do cedente inválido"_cp, " 06.0 05.0"},
    {CnpjUnlessCpf<18, 19, 32>, " CNPJ do cedente inválido"_cp, " 06.0 05.0"},
    {NotAllOf<19, 32, '0'>, " Campo CPF/CNPJ não informado HEADER (19,14)"_cp, " 06.0"},
    {OneOf<143, 143, "1">, " 15.0"},
    {OneOf<164, 166, "050", "101", "107">, " 20.0"},
};

// ---- Lote header (record type "1"). Its lines go out as the rules run and
// its codes at the end, so the code rules run as one table.

constexpr FieldRule kLoteHeaderRules[] = {
    {OneOf<1, 3, "104">, " 01.1"},
    {OneOf<9, 9, "R">, " 04.1"},
    {OneOf<10, 11, "01", "02">, " (05.1)"},
    {OneOf<12, 16, "00030", "00060", "00067">, " (06.1 ou 07.1)", " 06.1 07.1"},
    {Blank<17, 17>, " 08.1"},
    {OneOf<18, 18, "1", "2">, " 09.1"},
    {CpfIfKind<18, '1', 23, 33>, " cpf do cedente inválido"_cp, " 10.1 09.1"},
    {CnpjUnlessCpf<18, 20, 33>, " CNPJ do cedente inválido"_cp, " 10.1 09.1"},
    {NotAllOf<20, 33, '0'>, " Campo CPF/CNPJ não informado na capa de lote (20,14)"_cp, " 10.1"},
    {AgencyDv<59, 55, 58>, " DV AGENCIA inválido na posição 59"_cp, " 13.1"},
    {Numeric<66, 73>, " 15.1", " 15.1 16.1"},
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

constexpr FieldRule kPBankRules[] = {
    {OneOf<1, 3, "104">, " 01.3P"},
    {Blank<15, 15>, " 06.3P"},
    {AgencyDv<23, 18, 22, Mod11Dv>, " (09.3P)", " 09.3P 08.3P"},
};

// Fields 13.3P to 27.3P, up to and including the due date (20.3P).
constexpr FieldRule kPTitleRules[] = {
    {TrimmedExactly<43, 57, 15>, " Nosso Número menor que 15 algarismos"_cp, " 13.3P"},
    {Numeric<43, 57>, " Nosso Número não numérico."_cp, " 13.3P"},
    {OneOf<58, 58, "1">, " 14.3P - Carteira inválida deve ser = 1"_cp, " 14.3P"},
    {OneOf<59, 59, "1", "2">, " 15.3P"},
    {OneOf<60, 60, "2">, " 16.3P - Deve ser igual a 2", " 16.3P"},
    {OneOf<61, 61, "1", "2", "4", "5">, " 17.3P"},
    {OneOf<62, 62, "1", "2", "3", "0">, " 18.3P"},
    {NotBlank<63, 73>, " 19.3P - Falta num doc na posição"_cp, " 19.3P"},
    {Blank<74, 77>, " 19.3P - Seu número > 11 posiçoes"_cp, " 19.3P"},
    {ValidDate<78, 85>, " 20.3P"},
};

// "Valida Parcial" checks the title amount here too.
constexpr FieldRule kPPartialAmountRules[] = {
    {Numeric<86, 100>, " 21.3P"},
};

// Fields 22.3P to 27.3P, after the due date.
constexpr FieldRule kPKindRules[] = {
    {OneOf<101, 105, "00000">, " 22.3P Deveria ser 00000", " 22.3P"},
    {OneOf<106, 106, "0">, " 23.3P"},
    {Numeric<107, 108>, " 24.3P"},
    {OneOf<109, 109, "A", "N">, " 25.3", " 25.3P"},
    {ValidDate<110, 117>, " 26.3P"},
    {OneOf<118, 118, "1", "2", "3">, " 27.3P deveria ter 1,2 ou 3", " 27.3P"},
};

constexpr FieldRule kPValueRules[] = {
    {Numeric<166, 180>, " 33.3P Este campo deve ser numérico."_cp, " 33.3P"},
    {Numeric<181, 195>, " 34.3P Este campo deve ser numérico."_cp, " 34.3P"},
};

constexpr FieldRule kPReturnRules[] = {
    {OneOf<224, 224, "1", "2">, " 38.3P"},
    {OneOf<228, 229, "09">, " 40.3P"},
    {AllOf<230, 239, '0'>, " 41.3P"},
};

// ---- Steps of segment P.

// Modality of the Nosso Número (41-42) and what it implies for printing,
// protest and return; only for a P that carries a Nosso Número.
void CheckModality(Cnab240Run& run, std::string_view rec) {
  const std::string_view modality = Field(rec, 41, 42);
  const std::string_view p61 = Field(rec, 61, 61), p62 = Field(rec, 62, 62);
  const bool caixaPrints61 = Is<"1">(p61) || Is<"4">(p61) || Is<"5">(p61);
  const bool caixaPosts62 = Is<"1">(p62) || Is<"2">(p62) || Is<"3">(p62) || Is<"4">(p62);
  const bool returnCode = At(rec, 224, '1') || At(rec, 224, '2');
  // Every rule here holds because of the modality: each names field 13.3P
  // beside its own.
  if (Is<"11">(modality) || Is<"14">(modality)) {  // title with registration
    const std::string instruction = Cat(Field(rec, 221, 221), Field(rec, 224, 224));
    if (!Is<"12">(instruction) && !Is<"31">(instruction) && !Is<"91">(instruction))
      run.Code(" Este Título tem que estar marcado para protestar ou devolver ou cancelar protesto."_cp,
               " 36.3P 38.3P 13.3P");
    if (At(rec, 224, '1') && At(rec, 221, '1')) run.Code(kBaixaEProtesto, " 36.3P 38.3P 13.3P");
    if (!Numeric<222, 223>(rec)) run.Code(kDiasProtesto, " 37.3P 13.3P");
    if (!returnCode) run.Code(" Cód Devolução Deveria ser 1 ou 2"_cp, " 38.3P 13.3P");
    if (!At(rec, 59, '1')) run.Code(" Posição 59 deveria ser 1"_cp, " 15.3P 13.3P");
    if (At(rec, 42, '1')) {  // CAIXA prints the boleto
      if (!caixaPrints61) run.Code(kCaixaPrints61, " 17.3P 13.3P");
      if (!caixaPosts62) run.Code(kCaixaPrints62, " 18.3P 13.3P");
    }
    if (At(rec, 42, '4')) {  // the cedente prints it
      if (!Is<"2">(p61))
        run.Code(
            " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 61 como CAIXA imprime."_cp,
            " 17.3P 13.3P");
      if (!Is<"0">(p62))
        run.Code(
            " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 62 como postagem da CAIXA."_cp,
            " 18.3P 13.3P");
    }
  } else if (Is<"21">(modality)) {  // title without registration
    if (!At(rec, 59, '2')) run.Code(" Posição 59 deveria ser 2"_cp, " 15.3P 13.3P");
    if (!caixaPrints61) run.Code(kCaixaPrints61, " 17.3P 13.3P");
    if (!caixaPosts62) run.Code(kCaixaPrints62, " 18.3P 13.3P");
    if (!Numeric<222, 223>(rec)) run.Code(kDiasProtesto, " 37.3P 13.3P");
    if (!Numeric<225, 227>(rec)) run.Code(" Dias Para Devolução deve ser numérico."_cp, " 39.3P 13.3P");
    if (At(rec, 221, '1')) run.Code(" Titulo sem registro marcado para Protesto.", " 36.3P 13.3P");
    if (!returnCode) run.Code(" Código de devolução deveria ser 1 ou 2."_cp, " 38.3P 13.3P");
  } else {
    run.Code(" 13.3P, deveria ser 14 ou 11 ou 21", " 13.3P");
  }
}

// Interest: code 27.3P (118), date 28.3P (119-126), amount 29.3P (127-141).
void CheckInterest(Cnab240Run& run, std::string_view rec, bool partial) {
  const std::string_view code = Field(rec, 118, 118);
  const bool dateZeros = Is<"00000000">(Field(rec, 119, 126));
  if (Is<"1">(code) || Is<"2">(code)) {
    if (AllOf<127, 141, '0'>(rec)) run.Code(" 29.3P sem valor e no campo 27.3P diz que tem valor", " 29.3P 27.3P");
    if (!ValidDate<119, 126>(rec)) run.Code(" 28.3P sem data  e no campo 27.3P diz que tem data", " 28.3P 27.3P");
  } else if (!partial) {
    if (!AllOf<127, 141, '0'>(rec))
      run.Code(" 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp, " 29.3P 27.3P");
    if (!dateZeros) run.Code(" 28.3P tem data e no campo 27.3P diz que é isento"_cp, " 28.3P 27.3P");
  }
  if (partial && !dateZeros && !ValidDate<119, 126>(rec)) run.Code(" 28.3P");
  if (!Numeric<127, 141>(rec)) run.Code(" 29.3P Este campo deve ser numérico."_cp, " 29.3P");
}

// Discount: code 30.3P (142), date 31.3P (143-150), amount or percentage
// 32.3P (151-165), against the title amount 21.3P (86-100).
void CheckDiscount(Cnab240Run& run, std::string_view rec) {
  const std::string_view code = Field(rec, 142, 142);
  if (!Is<"0">(code) && !Is<"1">(code) && !Is<"2">(code)) {
    run.Code(" 30.3P valor informado não permitido"_cp, " 30.3P");
    return;
  }
  if (!Numeric<151, 165>(rec)) {
    run.Code(" 32.3P Este campo deve ser numérico."_cp, " 32.3P");
    return;
  }
  if (!Numeric<86, 100>(rec)) {
    run.Code(" 21.3P  Este campo deve ser numérico"_cp, " 21.3P");
    return;
  }
  if (Is<"0">(code)) {
    if (!AllOf<151, 165, '0'>(rec))
      run.Code(" 32.3P não deveria ter valor, o campo 30.3P diz que não tem desconto"_cp, " 32.3P 30.3P");
    if (!Is<"00000000">(Field(rec, 143, 150)))
      run.Code(" 31.3P tem data e no campo 30.3P  diz que não tem desconto"_cp, " 31.3P 30.3P");
    return;
  }
  if (!ValidDate<143, 150>(rec)) run.Code(" 31.3P Data de desconto inválida."_cp, " 31.3P 30.3P");
  if (AllOf<151, 165, '0'>(rec)) {
    run.Code(" 32.3P deveria ter valor porque 30.3P é "_cp, " 32.3P 30.3P");
    run.Code(code, {});
  }
  if (Is<"1">(code) && NumericValue(Field(rec, 151, 165)) >= NumericValue(Field(rec, 86, 100)))
    run.Code(" Desconto não pode ser maior ou igual ao valor do título. "_cp, " 32.3P 21.3P 30.3P");
  // A percentage with two decimals: positions 151-163 are its whole part.
  if (Is<"2">(code) && NumericValue(Field(rec, 151, 163)) >= 100)
    run.Code(" Desconto não pode ser maior 100% "_cp, " 32.3P 30.3P");
}

// Fields 36.3P and 37.3P: the protest code, then its days when the code is known.
void CheckProtest(Cnab240Run& run, std::string_view rec) {
  if (!OneOf<221, 221, "1", "3", "9">(rec)) {
    run.Code(" 36.3P");
  } else if (!Numeric<222, 223>(rec)) {
    run.Code(" 37.3P Este campo deve ser numérico."_cp, " 37.3P");
  }
}

// Field 42.3P (layout "101"): the payment option of card and proposal titles
// (kinds 31 and 32), blank for the others.
void CheckPaymentOption(Cnab240Run& run, std::string_view rec) {
  if (!Is<"101">(run.layoutVersion)) return;
  const std::string_view kind = Field(rec, 107, 108);
  if (Is<"31">(kind) || Is<"32">(kind)) {
    if (!OneOf<240, 240, "1", "2">(rec))
      run.Code(" 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp, " 42.3P 24.3P");
  } else if (!Is<" ">(Field(rec, 240, 240))) {
    run.Code(" 42.3P", " 42.3P 24.3P");
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
    run.Code(" Data Desconto não pode ser posterior a data vencimento."_cp, " 31.3P 20.3P");
  if (const auto day = dayOf("26.3P", 110); day && *day >= *due)
    run.Code(" Data Emissão do título não pode ser igual ou posterior a data vencimento."_cp, " 26.3P 20.3P");
  if (const auto day = dayOf("28.3P", 119); day && *day < *due)
    run.Code(" Data Juros do título não pode ser anterior a data vencimento."_cp, " 28.3P 20.3P");
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
    run.Finding(run.Text("#####Erro FATAL#####: Versão "_cp, run.layoutVersion,
                         " do Header de arquivo não é esperada, portanto o restante da validação está incorreta."_cp),
                " 20.0");
  run.cedente = Is<"107">(run.layoutVersion) ? Field(rec, 59, 65) : Field(rec, 59, 64);

  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 73, 102)));
  const std::string_view bank = Trim(Field(rec, 103, 132));
  if (bank != "CAIXA ECONOMICA FEDERAL" && bank != "C ECON FEDERAL" && bank != "CAIXA" && bank != "CEF")
    run.Finding("HEADER DE ARQUIVO deveria ter string CAIXA ECONOMICA FEDERAL ", " 13.0");
  if (IsRemittanceKind(rec)) {
    run.Info(Cat("Tipo de remessa: ", Field(rec, 192, 207)));
  } else {
    run.Finding("Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp, " 22A.0");
  }
  run.Info(BancoLine(rec));

  ApplyFieldRules<kFileHeaderRules>(run, rec);
  run.Info(ConvenioLine(run.cedente, rec, 19));

  run.nsa = Field(rec, 158, 163);
  if (!IsNumeric(run.nsa)) run.Finding("Erro no número do nsa do arquivo. Nao é um número válido"_cp, " 19.0");
  if (!run.codes.empty()) {
    run.Finding(run.Text("Erro no HEADER. Codigos de erro:", run.codes), run.codeFields);
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
  // The seventh position of a layout-107 cedente code lies where field 12.1
  // begins in the other layouts.
  const std::string_view cedenteFields = layout107 ? " 11.1 12.1" : " 11.1";
  if (Copy(rec, 34, width) != run.cedente) {
    run.Finding(kCedenteDiverge, cedenteFields);
    run.Code(" 11.1", cedenteFields);
  }
  if (!IsAll(Copy(rec, 34 + width, 20 - width), 20 - width, '0')) run.Code(" 12.1");
  if (!layout107 && Field(rec, 60, 65) != run.cedente) run.Code(" Campo 14.1 deve ser igual ao 11.1", " 14.1");
  const std::string_view version = Field(rec, 14, 16), expected = layout107 ? "067" : "060";
  if (!partial_ && version != expected)
    run.Finding(run.Text("Versão do Header de Lote deveria ser "_cp, expected, " e está com "_cp, version), " 07.1");

  run.Info(Banner(38, " CAPA DE LOTE ", 36));
  const std::string recorded = Cat(Field(rec, 192, 193), '/', Field(rec, 194, 195), '/', Field(rec, 196, 199));
  if (IsValidDate(recorded)) {
    run.Info(Cat("Num remessa: ", Field(rec, 184, 191), " Gravacao: ", recorded));
  } else {
    run.Finding(run.Text("Num remessa: ", Field(rec, 184, 191), " Gravacao: DATA DA GRAVAÇÃO INVÁLIDA !!!"_cp),
                " 21.1");
  }

  ApplyFieldRules<kLoteHeaderRules>(run, rec);
  run.Info(ConvenioLine(Field(rec, 34, 39), rec, 20));
  const std::size_t cedenteLength = Trim(Field(rec, 66, 72)).size();
  if (cedenteLength != 7)
    run.Finding(run.Text("Erro no campo 15.1, esperado tamanho 7 encontrado tamanho ", cedenteLength), " 15.1");
  const std::string_view message1 = Trim(Field(rec, 104, 143)), message2 = Trim(Field(rec, 144, 183));
  if (!message1.empty()) run.Info(Cat("Mensagem 1: ", message1));
  if (!message2.empty()) run.Info(Cat("Mensagem 2: ", message2));
  const std::string_view nsa = Field(rec, 184, 191);
  if (!IsNumeric(nsa)) {
    run.Finding("Erro no número do nsa no header de lote -> não é numérico"_cp, " 20.1");
  } else if (nsa != Cat("00", run.nsa)) {
    run.Finding(run.Text("Erro no número do nsa no lote, esperado 00"_cp, run.nsa, " encontrado ", nsa), " 20.1");
  }

  if (!run.codes.empty()) {
    run.Finding(
        run.Text("====================== Erro na capa de lote. Codigos de erro:", run.codes, " =================="),
        run.codeFields);
  } else {
    run.Info(Banner(37, " CAPA DE LOTE OK ", 34));
  }
}

// ---- Segment P: the title.

void SigcbRules::SegmentP(Cnab240Run& run, std::string_view rec) {
  run.option42 = 0;
  const bool hasNossoNumero = !AllOf<41, 57, '0'>(rec);

  ApplyFieldRules<kPBankRules>(run, rec);
  // Field 10.3P carries the cedente code of the file header: six positions
  // and ten zeros in layout 101, seven and nine zeros in layout 107.
  if (Is<"101">(run.layoutVersion) || Is<"107">(run.layoutVersion)) {
    const std::size_t width = Is<"107">(run.layoutVersion) ? 7 : 6;
    // A layout-107 code's seventh position lies where field 11.3P begins in
    // layout 101.
    if (Copy(rec, 24, width) != run.cedente)
      run.Code(" (10.3P) - Cod ced diverge do lote", width == 7 ? " 10.3P 11.3P" : " 10.3P");
    if (!IsAll(Copy(rec, 24 + width, 16 - width), 16 - width, '0')) run.Code(" (11.3P ou 12.3P)", " 11.3P");
  }
  if (hasNossoNumero) CheckModality(run, rec);
  if (Is<"00">(Field(rec, 41, 42)) && At(rec, 224, '1') && At(rec, 221, '1'))
    run.Code(kBaixaEProtesto, " 36.3P 38.3P 13.3P");

  ApplyFieldRules<kPTitleRules>(run, rec);
  if (partial_) ApplyFieldRules<kPPartialAmountRules>(run, rec);
  ApplyFieldRules<kPKindRules>(run, rec);
  CheckInterest(run, rec, partial_);
  CheckDiscount(run, rec);
  ApplyFieldRules<kPValueRules>(run, rec);
  if (!partial_ && Field(rec, 196, 210) != Field(rec, 63, 77))
    run.Code(" Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp, " 35.3P 19.3P");
  CheckProtest(run, rec);
  ApplyFieldRules<kPReturnRules>(run, rec);
  CheckPaymentOption(run, rec);
  CheckDateOrder(run, rec);

  // The title's label: the Nosso Número when there is one, and the Seu Número.
  if (!run.codes.empty() && hasNossoNumero) {
    run.LineFinding(run.Text(" SEGMENTO P. Codigos de erro:", run.codes, " Para ->  NN: ", Field(rec, 41, 42), '/',
                             Field(rec, 43, 57), " SeuN: ", Field(rec, 63, 73)),
                    run.codeFields);
  } else if (!run.codes.empty()) {
    run.LineFinding(run.Text(" SEGMENTO P. Codigos de erro:", run.codes, " Para ->  SeuN: ", Field(rec, 63, 73)),
                    run.codeFields);
  }
  if (Numeric<240, 240>(rec)) run.option42 = StrToInt(Field(rec, 240, 240));
  // The counts follow the segment codes (field 05.3P and its like).
  if (run.p <= run.q) run.LineFinding(" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp, " 05.3P");
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
