#include "remittance/sinco.hpp"

#include <initializer_list>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

// A text field named by its first position and length, as its finding names it.
struct TextField {
  std::size_t from, length;
};

// Each text field that holds a character other than a letter, a digit or
// . - $ % & @ , / ( ) : and the blank gets its own line.
void CheckText(Cnab240Run& run, std::string_view rec, std::initializer_list<TextField> fields) {
  for (const TextField f : fields)
    if (!IsPlainText(Copy(rec, f.from, f.length)))
      run.RecordFinding(run.Text(" Posição "_cp, f.from, ',', f.length, " com caracter não esperado !!!"_cp),
                        run.FieldsAt({{f.from, f.from + f.length - 1}}));
}

// ---- File header (record type "0").

// The time of generation (152-157), hhmmss.
bool TimeNotZeros(std::string_view rec) { return Field(rec, 152, 157) != "000000"; }
bool TimeDigits(std::string_view rec) { return IsAllDigits(Field(rec, 152, 157)); }
// The digits of positions From-To, zero-filled to two, at most Max.
template <std::size_t From, std::int64_t Max>
bool TimePartAtMost(std::string_view rec) {
  return StrToInt(PadZeroLeft(KeepDigits(Field(rec, From, From + 1)), 2)) <= Max;
}

constexpr FieldRule kFileHeaderRules[] = {
    {AllOf<33, 52, '0'>, " Não tem zeros na posição 33,20"_cp, "07.0"},
    {AgencyDv<58, 54, 57>, " DV AGENCIA inválido na posição 58"_cp, "09.0 08.0"},
    {Blank<9, 17>, " 04.0"},
    {Blank<172, 191>, " 21.0"},
    {Blank<212, 228>, " 23.0 24.0 25.0", "23.0"},
    {Blank<133, 142>, " 14.0"},
    {OneOf<1, 3, "104">, " 01.0"},
    {OneOf<4, 7, "0000">, " 02.0"},
    {OneOf<167, 171, "00000">, " 21.0", "20.0"},
    {TimeNotZeros, " Hora inválida na posição 152"_cp, "17.0"},
    {TimeDigits, " Hora inválida na posição 152"_cp, "17.0"},
    {TimePartAtMost<152, 23>, " Hora inválida na posição 152, maior que 23"_cp, "17.0"},
    {TimePartAtMost<154, 59>, " Minuto inválido na posição 154, maior que 59"_cp, "17.0"},
    {TimePartAtMost<156, 59>, " Segundos da Hora inválido na posição 156, maior que 59"_cp, "17.0"},
    {OneOf<18, 18, "1", "2">, " 05.0"},
    {CpfIfKind<18, '1', 22, 32>, " cpf do cedente inválido"_cp, "06.0 05.0"},
    {CnpjUnlessCpf<18, 19, 32>, " CNPJ do cedente inválido"_cp, "06.0 05.0"},
    {OneOf<143, 143, "1">, " 15.0"},
    {OneOf<164, 166, "040">, " 19.0"},
};

// "Convenio: " cedente code and the inscription, always in the CNPJ form,
// whose fourteen positions start at `at`.
std::string ConvenioLine(std::string_view convenio, std::string_view rec, std::size_t at) {
  const auto part = [&](std::size_t from, std::size_t to) { return Field(rec, at + from, at + to); };
  return Cat("Convenio: ", convenio, " Inscricao: ", part(0, 1), '.', part(2, 4), '.', part(5, 7), '/', part(8, 11),
             '-', part(12, 13));
}

// ---- Lote header (record type "1"). Field 23.1 is checked twice, the second
// time without position 240.

constexpr FieldRule kLoteHeaderRules[] = {
    {Blank<17, 17>, " 08.1"},
    {Blank<208, 240>, " 23.1"},
    {OneOf<1, 3, "104">, " 01.1"},
    {OneOf<9, 9, "R">, " 04.1"},
    {OneOf<10, 11, "01">, " (05.1)"},
    {OneOf<12, 13, "00", "  ">, " (06.1)"},
    {OneOf<14, 16, "030">, " (07.1)"},
    {OneOf<18, 18, "1", "2">, " 09.1"},
    {CpfIfKind<18, '1', 23, 33>, " cpf do cedente inválido"_cp, "10.1 09.1"},
    {CnpjUnlessCpf<18, 20, 33>, " CNPJ do cedente inválido"_cp, "10.1 09.1"},
    {AllOf<40, 53, '0'>, " 12.1"},
    {OneOf<66, 73, "00000000">, " 16.1"},
    {NotBlank<74, 103>, " 17.1"},
    {Blank<208, 239>, " 23.1"},
    {ValidDate<192, 199>, " 21.1"},
    {ValidDate<200, 207>, " 22.1"},
    {AgencyDv<59, 55, 58>, " DV AGENCIA inválido na posição 59"_cp, "14.1 13.1"},
};

// ---- Segment P.

constexpr FieldRule kPBankRules[] = {
    {OneOf<30, 30, "0">, " 11.3P - Não é zero"_cp, "11.3P"},
    {OneOf<101, 106, "000000">, " 22.3P/23.3 - Não está com zeros"_cp, "22.3P 23.3P"},
    {Blank<15, 15>, " 06.3P"},
    {OneOf<1, 3, "104">, " 01.3P"},
    {WholeNumberIn<16, 17, 1, 10>, " 07.3P"},
    {AgencyDv<23, 18, 22, Mod11Dv>, " (09.3P)", "09.3P 08.3P"},
};

// Field 35.3P (196-210) repeats the document number (63-77).
bool SameDocument(std::string_view rec) { return Field(rec, 196, 210) == Field(rec, 63, 77); }

bool ZerosOrDate119(std::string_view rec) { return OneOf<119, 126, "00000000">(rec) || ValidDate<119, 126>(rec); }

constexpr FieldRule kPTitleRules[] = {
    {Blank<36, 38>, " 12.3P"},
    {NotBlank<63, 77>, " 19.3P - Falta num doc na posição"_cp, "19.3P"},
    {OneOf<58, 58, "1">, " 14.3P"},
    {OneOf<59, 59, "1", "2", "3">, " 15.3P"},
    {OneOf<60, 60, "2">, " 16.3P"},
    {OneOf<62, 62, "1", "2">, " 18.3P"},
    {OneOf<61, 61, "1", "2", "4", "5">, " 17.3P"},
    {ValidDate<78, 85>, " 20.3P"},
    {Numeric<86, 100>, " 21.3P"},
    {Numeric<107, 108>, " 24.3P"},
    {Numeric<101, 105>, " 22.3P"},
    {OneOf<118, 118, "1", "2", "3", "4">, " 27.3P"},
    {OneOf<142, 142, "0", "1", "2">, " 30.3P"},
    {Numeric<127, 141>, " 29.3P"},
    {Numeric<151, 165>, " 32.3P"},
    {Numeric<166, 180>, " 33.3P"},
    {Numeric<181, 195>, " 34.3P"},
    {Numeric<222, 223>, " 37.3P"},
    {Numeric<225, 227>, " 39.3P"},
    {Blank<230, 240>, " 41.3P/42.3P", "41.3P 42.3P"},
    {SameDocument, " 35.3P - Seu Num divergente", "35.3P 19.3P"},
    {Blank<211, 220>, " 35.3P - Não é branco na pos 211,10"_cp, "35.3P"},
    {OneOf<109, 109, "A", "N">, " 25.3", "25.3P"},
    {ValidDate<110, 117>, " 26.3P"},
    {ZerosOrDate119, " 28.3P"},
    {ValidDate<143, 150>, " 31.3P"},  // the discount date is required, also without discount
    {OneOf<221, 221, "0">, " 36.3", "36.3P"},
    {OneOf<224, 224, "1">, " 38.3 - Deveria ser 1", "38.3P"},
    {OneOf<228, 229, "09">, " 40.3P"},
};

// ---- Segment Q.

constexpr FieldRule kQRules[] = {
    {OneOf<1, 3, "104">, " 01.3Q"},
    {Numeric<16, 17>, " 07.3Q"},
    {Blank<15, 15>, " 06.3Q"},
    {OneOf<18, 18, "1", "2">, " 08.3Q"},
    {UnlessZeros<20, 33, CpfIfKind<18, '1', 23, 33>>, " CPF do sacado invalido", "09.3Q 08.3Q"},
    {UnlessZeros<20, 33, CnpjIfKind<18, '2', 20, 33>>, " CNPJ do sacado invalido", "09.3Q 08.3Q"},
    {Numeric<129, 133>, " 13.3Q"},
    {Numeric<134, 136>, " 14.3Q"},
    {Numeric<154, 169>, " 17.3Q/18.3Q", "17.3Q 18.3Q"},
    {TrimmedAtLeast<34, 73, 3>, " 10.3Q"},
    {TrimmedAtLeast<74, 113, 3>, " 11.3Q"},
    {TrimmedAtLeast<114, 128, 3>, " Falta o Bairro", "12.3Q"},
    {TrimmedExactly<129, 136, 8>, " C.E.P inválido"_cp, "13.3Q 14.3Q"},
    {TrimmedAtLeast<137, 151, 3>, " 15.3Q"},
    {TrimmedExactly<152, 153, 2>, " 16.3Q"},
    {OneOf<154, 154, "1", "2", "0">, " 17.3Q"},
    {UnlessZeros<155, 169, CpfIfKind<154, '1', 159, 169>>, " CPF do avalista invalido", "18.3Q 17.3Q"},
    {UnlessZeros<155, 169, CnpjIfKind<154, '2', 156, 169>>, " CNPJ do avalista invalido", "18.3Q 17.3Q"},
    {Blank<210, 240>, " (20.3Q,21.3Q,22.3Q)"},
};

// ---- Segment R: the fine ("multa"); second and third discounts are not expected.

constexpr FieldRule kRRules[] = {
    {OneOf<66, 66, "0", "1", "2">, " 14.3R"},
    {ValidDate<67, 74>, " 15.3R"},
    {Numeric<75, 89>, " 16.3R"},
    {Blank<90, 99>, " 17.3R"},
    {Blank<230, 239>, " 21.3R"},
};

// Writes the record's code list, when it has codes, as the line of its segment.
void WriteCodes(Cnab240Run& run, char segment) {
  if (!run.codes.empty())
    run.LineFinding(run.Text(" SEGMENTO ", segment, ". Codigos de erro:", run.codes), run.codeFields);
}

}  // namespace

// ---- File header.

void SincoRules::FileHeader(Cnab240Run& run, std::string_view rec) {
  CheckText(run, rec, {{73, 30}, {103, 30}});
  run.cedente = Field(rec, 59, 64);
  run.Info(Banner(40, " HEADER ", 40));
  run.Info(Cat("Cedente centralizador: ", Field(rec, 73, 102)));
  if (IsRemittanceKind(rec)) {
    run.Info(Cat("Tipo de remessa: ", Field(rec, 192, 207)));
  } else {
    run.Finding("Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp, "22.0");
  }
  run.Info(ConvenioLine(run.cedente, rec, 19));
  run.Info(BancoLine(rec));

  ApplyFieldRules<kFileHeaderRules>(run, rec);
  if (!run.codes.empty()) {
    run.Finding(run.Text("Erro no HEADER. Codigos de erro:", run.codes), run.codeFields);
  } else {
    run.Info(Banner(40, " HEADER OK ", 37));
  }
}

// ---- Lote header.

void SincoRules::LoteHeader(Cnab240Run& run, std::string_view rec) {
  run.cedente = Field(rec, 34, 39);
  run.Info(Banner(38, " CAPA DE LOTE ", 36));
  run.Info(Cat("Num remessa: ", Field(rec, 184, 191), " Gravacao: ", Field(rec, 192, 193), '/', Field(rec, 194, 195),
               '/', Field(rec, 196, 199)));
  run.Info(ConvenioLine(run.cedente, rec, 20));
  CheckText(run, rec, {{74, 30}, {104, 40}, {144, 40}});

  ApplyFieldRules<kLoteHeaderRules>(run, rec);
  if (!run.codes.empty()) {
    run.Finding(
        run.Text("====================== Erro na capa de lote. Codigos de erro:", run.codes, " =================="),
        run.codeFields);
  } else {
    run.Info(Banner(37, " CAPA DE LOTE OK ", 34));
  }
}

// ---- Segment P: the title.

void SincoRules::SegmentP(Cnab240Run& run, std::string_view rec) {
  CheckText(run, rec, {{63, 15}});
  ApplyFieldRules<kPBankRules>(run, rec);
  if (Field(rec, 24, 29) != run.cedente) run.Code(" (11.3P) - Cod ced diverge do lote", "11.3P");
  // Field 13.3P: the Nosso Número (39-56) and its digit (57), which weighs
  // only the first ten positions.
  if (!TrimmedExactly<39, 57, 19>(rec)) run.Code(" Nosso Número menor que 19 algarismos"_cp, "13.3P");
  if (!Numeric<39, 57>(rec)) {
    run.Code(" Nosso Número não numérico."_cp, "13.3P");
  } else if (Field(rec, 39, 57) != "0000000000000000000") {
    const std::optional<char> dv = NossoNumeroDvOf(Field(rec, 39, 48));
    const std::string_view found = Field(rec, 57, 57);
    if (!dv || found.size() != 1 || found[0] != *dv)
      run.Code(Cat(" 13.3P(dv(", dv ? std::string(1, *dv) : std::string("?"), '/', found, "))"), "13.3P");
  }
  ApplyFieldRules<kPTitleRules>(run, rec);
  WriteCodes(run, 'P');
}

// ---- Segment Q: the payer and the guarantor.

void SincoRules::SegmentQ(Cnab240Run& run, std::string_view rec) {
  CheckText(run, rec, {{34, 40}, {74, 40}, {114, 15}, {137, 15}, {152, 2}, {170, 40}});
  ApplyFieldRules<kQRules>(run, rec);
  WriteCodes(run, 'Q');
}

// ---- Segment R and segment S: their codes are written as those of P and Q.

void SincoRules::SegmentR(Cnab240Run& run, std::string_view rec) {
  CheckText(run, rec, {{100, 40}, {140, 40}});
  if (!Blank<18, 65>(rec))
    run.LineFinding(" Tem desconto, mas este aplicativo não espera !!"_cp, "08.3R 09.3R 10.3R 11.3R 12.3R 13.3R");
  ApplyFieldRules<kRRules>(run, rec);
  WriteCodes(run, 'R');
}

void SincoRules::SegmentS(Cnab240Run& run, std::string_view rec) {
  if (!At(rec, 18, '3')) run.LineFinding(" Tipo de impressão não esperado por este aplicativo !!"_cp, "08.3S");
  CheckText(run, rec, {{19, 40}, {59, 40}, {99, 40}, {139, 40}});
  if (!Blank<179, 240>(rec)) run.Code(" 13.3S/14.3S", "13.3S 14.3S");
  WriteCodes(run, 'S');
}

Verdict SINCO1Click(Host& host) {
  SincoRules rules;
  return RunCnab240(host, kSinco, rules);
}

}  // namespace verilote
