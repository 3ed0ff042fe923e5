// "SIACC - Arquivo Remessa": the detail segments A, B, J, J-52, K, O and N,
// each in the layout's order of rows.
#include "layouts/siacc_run.hpp"

namespace verilote::siacc {

namespace {

// ---- Segment A. Rows followed by the payee label are marked "label".

constexpr Row kAMovement[] = {
    // label
    {OneOf<15, 15, "0", "9">, " Tipo de movimento inválido. Esperado 0 ou 9. Campo A.06 ->"_cp, "A.06"},
    {OneOf<16, 17, "00">, " Cód instrução de movimento inválido. Esperado 00. Campo A.07 ->"_cp, "A.07"},
    {NotAllOf<21, 28, '0'>, " Banco ou agência não informado. ->"_cp, "A.09 A.10"},
    {Numeric<29, 29>, " DV da agência não numérico. ->"_cp, "A.11"},
    {Numeric<30, 41>, " Conta corrente de destino não numérico. ->"_cp, "A.12"},
};

constexpr Row kADocument[] = {
    // label
    {Numeric<74, 79>, " Número do documento não numérico na posição 74,6.->"_cp, "A.16"},
};

constexpr Row kACurrency[] = {
    // label
    {OneOf<102, 104, "BRL", "USD", "UFR", "TRD">, " Tipo de moeda inválido. Esperado BRL, USD, UFR ou TRD->"_cp,
     "A.19"},
};

constexpr Row kAQuantity[] = {
    {Numeric<105, 119>, " Quantidade de moeda não numérico."_cp, "A.20"},
};

constexpr Row kAAmount[] = {
    // label
    {Numeric<120, 134>, " Valor lançamento não numérico.->"_cp, "A.21"},
    {Numeric<135, 143>, " Número documento banco não numérico.->"_cp, "A.22"},
};

constexpr Row kAReserved[] = {
    {Blank<144, 146>, " Posição 144,3 deveria ser branco. Encontrado:"_cp, "A.23", FieldText<144, 146>},
};

constexpr Row kAInstalments[] = {
    {OneOf<149, 149, "N", "S">, " Indicador de bloqueio inválido. Esperado S ou N. Campo A.25"_cp, "A.25"},
    {OneOf<150, 150, "1", "2", "3">, " Forma de parcelamento inválido. Esperado 1, 2 ou 3. Campo A.26"_cp, "A.26"},
    {Numeric<153, 154>, " Número parcela não numérico."_cp, "A.28"},
    {OneOf<155, 162, "00000000">, " Data de efetivação não está zerada !!"_cp, "A.29"},
    {Numeric<163, 177>, " Valor Real não numérico."_cp, "A.30"},
    {Blank<178, 217>, " Posição 178,40. Encontrado:"_cp, "A.31", TrimmedText<178, 217>},
};

constexpr Row kATail[] = {
    {Blank<220, 229>, " Posição 220,10 deveria ser branco. Encontrado:"_cp, "A.33", TrimmedText<220, 229>},
    {Blank<231, 240>, " Posição 231,10 deveria ser branco. Encontrado:"_cp, "A.35", TrimmedText<231, 240>},
};

// ---- Segment B.

constexpr Row kBKind[] = {
    {Blank<15, 17>, " Posição 15,3 deveria ser branco. Encontrado:"_cp, "B.06", TrimmedText<15, 17>},
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp, "B.07"},
};

constexpr Row kBDocument[] = {
    // label
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido de "_cp, "B.08 B.07"},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido de "_cp, "B.08 B.07"},
};

constexpr Row kBAddress[] = {
    // label
    {Numeric<63, 67>, " Número no endereço não numérico ou tem espaço em branco neste campo. Para: "_cp, "B.10"},
    {NotBlank<83, 97>, " Falta Bairro de ", "B.11"},
    {NotBlank<98, 117>, " Falta Cidade de ", "B.12"},
    {NotBlank<126, 127>, " Falta Estado (UF) de ", "B.14"},
    {Numeric<118, 125>, " CEP não numérico de "_cp, "B.13"},
    {ValidDate<128, 135>, " Data de vencimento inválida de "_cp, "B.15"},
    {Numeric<136, 210>, " Da posição 136 até a 210 deveria ser zeros de "_cp, "B.16"},
};

// ---- Segment J (boleto payment).

constexpr Row kJPayment[] = {
    {OneOf<21, 21, "2", "9">, " Tipo de movimento inválido. Esperado 0 ou 9"_cp, "J.09"},
    {NotBlank<62, 91>, " Falta Nome do Cedente.", "J.19"},
    {ValidDate<92, 99>, " Data de vencimento inválida !!"_cp, "J.20"},
    {Numeric<100, 144>, " Valor do título ou desconto ou multa não numérico."_cp, "J.21 J.22 J.23"},
    {ValidDate<145, 152>, " Data de pagamento inválida !!"_cp, "J.24"},
    {Numeric<168, 182>, " Quantidade de moeda não numérico."_cp, "J.26"},
};

constexpr Row kJTail[] = {
    {Numeric<203, 211>, " Número do documento não numérico na posição 203,9."_cp, "J.28"},
    {Blank<212, 222>, " Posição 212,11 deveria ser branco. Encontrado:"_cp, "J.29", TrimmedText<212, 222>},
    {Blank<225, 240>, " Posição 225,16 deveria ser branco. Encontrado:"_cp, "J.31", TrimmedText<225, 240>},
};

// Every field of the boleto barcode at 18-61: a byte of any of them changes
// the barcode's general digit.
constexpr std::string_view kBarcodeFields = "J.10 J.08 J.09 J.11 J.12 J.13 J.14 J.15 J.16 J.17 J.18";

// ---- Segment K (collection barcode), after its company segment.

constexpr Row kK[] = {
    {OneOf<15, 15, "0", "9">, " Tipo de movimento inválido. Esperado 0 ou 9"_cp, "K.06"},
    {Numeric<18, 56>, " Código de barras não numérico."_cp, "K.08 K.09 K.10 K.11"},
    // Position 3 of the barcode: 8 and 9 are 6 and 7 with modulo-11 check
    // digits, as FEBRABAN allows; the message still names the first two.
    {OneOf<20, 20, "6", "7", "8", "9">, " Identificador de valor inválido. Esperado 6 ou 7"_cp, "K.10"},
    {Blank<57, 73>, " Posição 57,17 deveria ser branco. Encontrado:"_cp, "K.12", TrimmedText<57, 73>},
    {Blank<80, 93>, " Posição 80,14 deveria ser branco. Encontrado:"_cp, "K.13", TrimmedText<80, 93>},
    {ValidDate<94, 101>, " Data de Lançamento inválida !!"_cp, "K.14"},
    {OneOf<102, 104, "BRL", "USD", "UFR", "TRD">, " Tipo de moeda inválido. Esperado BRL, USD, UFR ou TRD"_cp, "K.15"},
    {Numeric<105, 119>, " Quantidade de moeda não numérico."_cp, "K.16"},
    {Numeric<120, 134>, " Valor de lançamento não numérico."_cp, "K.17"},
    {Numeric<135, 143>, " Número documento no banco não numérico."_cp, "K.18"},
    {Blank<144, 154>, " Posição 144,11 deveria ser branco. Encontrado:"_cp, "K.19", TrimmedText<144, 154>},
    {OneOf<155, 162, "00000000">, " Data de efetivação não está zerada !!"_cp, "K.20"},
    {Numeric<163, 177>, " Valor da efetivação não numérico."_cp, "K.21"},
    {Blank<218, 229>, " Posição 218,12 deveria ser branco. Encontrado:"_cp, "K.22", TrimmedText<218, 229>},
    {Blank<231, 240>, " Posição 231,10 deveria ser branco. Encontrado:"_cp, "K.24", TrimmedText<231, 240>},
};

// ---- Segments O (utility bill) and N (tax without barcode).

constexpr std::string_view kMovementType{" Tipo de movimento inválido. Esperado 0 ou 9 encontrado "_cp};
constexpr std::string_view kMovementCode{" Código de movimento inválido. Esperado 00 encontrado "_cp};

constexpr Row kOMovement[] = {
    {OneOf<15, 15, "0", "9">, kMovementType, "O.06", FieldText<15, 15>},
    {OneOf<16, 17, "00">, kMovementCode, "O.07", FieldText<16, 17>},
};

constexpr Row kNMovement[] = {
    {OneOf<15, 15, "0", "9">, kMovementType, "N.06", FieldText<15, 15>},
    {OneOf<16, 17, "00">, kMovementCode, "N.07", FieldText<16, 17>},
};

constexpr std::string_view kTail231{" Da posição 231 até a 240 deveria ser branco."_cp};

constexpr Row kO[] = {
    {Numeric<18, 61>, " Código de barras não numérico na posição 18, tamanho 44"_cp, "O.08"},
    {NotBlank<62, 91>, " Falta nome da concessionária."_cp, "O.09"},
    {NumericDate<92, 99>, " Data de vencimento inválida."_cp, "O.10"},
    {NumericDate<100, 107>, " Data de pagamento inválida."_cp, "O.11"},
    {Numeric<108, 122>, " Valor inválido. Não numérico."_cp, "O.12"},
    {NotBlank<123, 142>, " Falta número do documento da empresa."_cp, "O.13"},
    {Blank<143, 162>, " Nosso número não deve ser preenchido."_cp, "O.14"},
    {Blank<231, 240>, kTail231, "O.15"},
};

constexpr Row kN[] = {
    {NotBlank<18, 37>, " Falta número do documento da empresa."_cp, "N.08"},
    {Blank<38, 57>, " Nosso número não deve ser preenchido."_cp, "N.09"},
    {NotBlank<58, 87>, " Falta nome do contribuinte.", "N.10"},
    {NumericDate<88, 95>, " Data de pagamento inválida."_cp, "N.11"},
    {Numeric<96, 110>, " Valor inválido. Não numérico."_cp, "N.12"},
};

constexpr Row kNTaxpayer[] = {
    {OneOf<117, 118, "01", "02", "03", "04", "06", "07", "08", "09">,
     " Tipo de Identificação do contribuinte inválido. Esperado de 01 a 09, exceto 05 encontrado "_cp, "N.14",
     FieldText<117, 118>},
    {CnpjIfKind<118, '1', 119, 132>, " CNPJ Inválido."_cp, "N.15 N.14"},
    {CpfIfKind<118, '2', 122, 132>, " CPF Inválido."_cp, "N.15 N.14"},
};

constexpr std::string_view kRevenueAlignment{
    " Código da receita na posição 111 não obedece as regras de deslocamento no campo."_cp};

constexpr Row kNGpsValues[] = {
    {Numeric<141, 155>, " Valor previsto do Pagamento do INSS. Não numérico."_cp, "N.19"},
    {Numeric<156, 170>, " Valor de outras entidades. Não numérico."_cp, "N.20"},
    {Numeric<171, 185>, " Atualização Monetária. Não numérico."_cp, "N.21"},
};

constexpr Row kNDarf[] = {
    {RightAligned, kRevenueAlignment, "N.13"},
    {[](std::string_view rec) { return TrimmedText<111, 116>(rec) != "6106"; },
     " Código 6106 de arrecadação não permitido."_cp, "N.13"},
    {ValidDate<135, 142>, " Periodo de apuração inválido."_cp, "N.17"},
    {Numeric<143, 159>, " Número de referência. Não numérico."_cp, "N.18"},
    {Numeric<160, 174>, " Valor principal Não numérico."_cp, "N.19"},
    {Numeric<175, 189>, " valor da multa Não numérico."_cp, "N.20"},
    {Numeric<190, 204>, " Valor dos juros Não numérico."_cp, "N.21"},
    {ValidDate<205, 212>, " Periodo de apuração inválido."_cp, "N.22"},
};

}  // namespace

void SiaccRun::SegmentA(std::string_view rec) {
  const std::string_view document = Field(rec, 18, 20);
  if (OneOf<18, 20, "018", "700", "000", "888">(rec)) {
    documentType = document;
  } else {
    documentType.clear();
    Finding("A.08", " Tipo de documento inválido. Esperado 018,700,000,888. Campo A.08 ->"_cp, Label());
  }
  if (Is<"02">(commitment) && !Is<"000">(document))
    Finding("A.08", " Tipo de documento inválido. Esperado 000 para pagamento de salário. Campo A.08 ->"_cp, Label());
  Apply<kAMovement>(rec, kNamed);
  const bool noAccount = Is<"000000000000">(Field(rec, 30, 41));
  if (!Is<"700">(document) && noAccount)
    Finding("A.12 A.08", " Conta corrente de destino não informada. ->"_cp, Label());
  if (Is<"700">(document) && noAccount) {
    ++opPayments;  // an OP ("ordem de pagamento") has no destination account
  } else if (!Numeric<21, 28>(rec)) {
    Finding("A.09 A.10", " Banco ou agência de destino não numérico. ->"_cp, Label());
  } else if (Is<"104">(Field(rec, 21, 23))) {
    if (!CaixaAccountDv(rec))
      Bare("A.13 A.10 A.12",
           Cat("a conta encontrada na linha=", record, " não foi identificada como SIDEC nem NSGD.->"_cp, Label()));
    if (!WholeIn(Field(rec, 25, 28), 1, 4999))
      Bare("A.10", Cat("Agência "_cp, Field(rec, 25, 28), " inválida na linha="_cp, record));
  }
  if (Blank<44, 73>(rec)) {
    Finding("A.15", " Falta nome do favorecido.");
  } else if (!IsPlainText(Field(rec, 44, 73))) {
    Finding("A.15", " Caracter Inválido no Nome. ->"_cp, Label());
  }
  Apply<kADocument>(rec, kNamed);
  if (Is<"050">(version) && !Blank<80, 93>(rec))
    Finding("A.17", " Posição 80,14 deveria ser branco. Encontrado:"_cp, Field(rec, 80, 93));
  if (Is<"080">(version)) {
    if (!Blank<80, 92>(rec)) Finding("A.17", " Posição 80,13 deveria ser branco. Encontrado:"_cp, Field(rec, 80, 92));
    if (Is<"018">(documentType) && !OneOf<93, 93, "0", "1", "2">(rec))
      Finding("A.17 A.08", " Posição 93,1 deveria ser 0, 1 ou 2. Encontrado:"_cp, Field(rec, 93, 93));
  }
  if (Is<"00000000">(Field(rec, 94, 101))) {
    Finding("A.18", " Data de vencimento zerada !!->", Label());
  } else if (!ValidDate<94, 101>(rec)) {
    Finding("A.18", " Data de vencimento inválida !!->"_cp, Label());
  }
  Apply<kACurrency>(rec, kNamed);
  Apply<kAQuantity>(rec);
  Apply<kAAmount>(rec, kNamed);
  Add(loteValue, Field(rec, 120, 134));
  Add(loteCurrency, Field(rec, 105, 119));
  Apply<kAReserved>(rec);
  const std::string_view instalments = Field(rec, 147, 148);
  if (!IsNumeric(instalments)) {
    Finding("A.24", " Quantidade de parcelas não numérico."_cp);
  } else if (WholeNumber(instalments) == 0) {
    Finding("A.24", " Número de parcelas não pode ser zero."_cp);
  }
  if (Is<"01">(instalments)) {
    if (!At(rec, 150, '1')) Finding("A.26 A.24", " Posição 150 deve ser igual a 1 porque não é parcelado"_cp);
  } else if (!Numeric<151, 152>(rec)) {
    Finding("A.27 A.24", " Erro na posição 151 que deve ser numérico."_cp);
  } else if (!WholeIn(Field(rec, 151, 152), 1, 31)) {
    Finding("A.27 A.24", " Erro na posição 151, dia inválido."_cp);
  }
  Apply<kAInstalments>(rec);
  const std::string_view purpose = Field(rec, 218, 219);
  if (!IsNumeric(purpose)) {
    Finding("A.32", " Finalidade DOC não numérico."_cp);
  } else if (Is<"700">(documentType) && !WholeIn(purpose, 0, 11)) {
    Finding("A.32 A.08", " Finalidade DOC:", purpose, " inválido !!"_cp);
  }
  const std::string_view notice = Field(rec, 230, 230);
  if (!IsNumeric(notice)) {
    Finding("A.34", " Aviso ao favorecido não numérico.->"_cp, Label());
  } else if (!WholeOneOf(notice, kNoticeCodes)) {
    Finding("A.34", " Aviso ao favorecido inválido !!"_cp);
  }
  Apply<kATail>(rec);
}

void SiaccRun::SegmentB(std::string_view rec) {
  Apply<kBKind>(rec);
  Apply<kBDocument>(rec, kNamed);
  if (Blank<33, 62>(rec)) {
    Finding("B.09", " Falta Logradouro de ", Label());
  } else if (!IsPlainText(Field(rec, 33, 62))) {
    Finding("B.09", " Caracter Inválido no Endereço. ->"_cp, Field(rec, 33, 62));
  }
  Apply<kBAddress>(rec, kNamed);
  if (!Blank<226, 240>(rec))
    Finding("B.17", " Posição 226,15 deveria ser branco. Encontrado:"_cp, TrimmedText<226, 240>(rec), " em ", Label());
}

void SiaccRun::SegmentJ(std::string_view rec) {
  if (!OneOf<15, 15, "0", "9">(rec)) Finding("J.06", " Tipo de movimento inválido. Esperado 0 ou 9"_cp);
  const std::string_view movement = Field(rec, 16, 17);
  constexpr std::int64_t kMovements[] = {0, 9, 10, 11, 23, 99};
  if (!IsNumeric(movement)) {
    Finding("J.07", " Código de movimento não numérico."_cp);
  } else if (!WholeOneOf(movement, kMovements)) {
    Finding("J.07", " Código de movimento inválido !!"_cp);
  }
  const bool caixa = Field(rec, 18, 20) == "104";
  if (paymentForm == "30" && !caixa)
    Finding("J.08", " No Header diz que é boleto CAIXA, mas foi encontrado boleto não CAIXA."_cp);
  if (paymentForm == "31" && caixa)
    Finding("J.08", " No Header diz que é boleto não é CAIXA, mas foi encontrado boleto CAIXA."_cp);
  if (!Numeric<18, 61>(rec)) {
    Finding(kBarcodeFields, " Código de barras não numérico."_cp);
  } else {
    if (caixa) {
      const char cedenteDv = Mod11DvLowSum(Field(rec, 37, 42));
      if (At1(rec, 43) != std::string_view(&cedenteDv, 1))
        SpacedFinding("J.14 J.13", " DV do cedente inválido !! cedente "_cp, Field(rec, 37, 42), " Calculado ",
                      cedenteDv, " Encontrado ", Field(rec, 43, 43));
      if (!OneOf<47, 47, "1", "2">(rec))
        SpacedFinding("J.16", " Não está identificando se é cobrança registrada ou sem registro."_cp);
      const char freeDv = Mod11DvLowSum(Field(rec, 37, 60));
      if (At1(rec, 61) != std::string_view(&freeDv, 1))
        SpacedFinding("J.18 J.13 J.14 J.15 J.16 J.17",
                      " Dígito verificador do campo livre está errado. Campo Livre "_cp, Field(rec, 37, 60),
                      " Calculado ", freeDv, " Encontrado ", Field(rec, 61, 61));
    }
    const char barcodeDv = Mod11BarcodeDv(Cat(Field(rec, 18, 21), Field(rec, 23, 61)));
    if (At1(rec, 22) != std::string_view(&barcodeDv, 1))
      SpacedFinding(kBarcodeFields, " Dígito verificador do código de barras está errado. Calculado "_cp, barcodeDv,
                    " encontrado ", Field(rec, 22, 22));
    if (!Numeric<92, 99>(rec)) {
      Finding("J.20", " Data não numérica na posição 92,8."_cp);
    } else if (ValidDate<92, 99>(rec)) {
      // A due date that is no real day is reported by its own row below.
      // The factor restarts at 1000 on 22/02/2025, so the two factors are
      // compared through the dates they stand for.
      const std::string due = Cat(Field(rec, 92, 93), '/', Field(rec, 94, 95), '/', Field(rec, 96, 99));
      const std::int64_t computed = StrToInt(DateToFactor(due));
      const std::string_view found = Field(rec, 23, 26);
      const bool digits = found.size() == 4 && IsAllDigits(found);
      const std::optional<CivilDate> foundDate = digits ? ParseDate(FactorToDate(found, today)) : std::nullopt;
      const std::optional<CivilDate> dueDate = ParseDate(due);
      if (!foundDate || !(*foundDate == *dueDate)) {
        if (!foundDate || DaysFromCivil(*foundDate) < DaysFromCivil(*dueDate)) {
          SpacedFinding("J.11 J.20", " Fator de vencimento incorreto. Calculado ", computed, " encontrado ", found);
        } else {
          SpacedFinding("J.11 J.20", " Fator de vencimento diverge da data de vencimento. Calculado ", computed,
                        " encontrado ", found, ". Possível pagamento antecipado previsto."_cp);
        }
      }
    }
    if (Numeric<100, 114>(rec)) {
      const std::optional<std::int64_t> value = WholeNumber(Field(rec, 100, 114));
      if (!value || value != WholeNumber(Field(rec, 27, 36)))
        SpacedFinding("J.21 J.12", " Valor informado no código de barras não é o mesmo informado no registro."_cp);
    }
  }
  Apply<kJPayment>(rec);
  if (!Blank<189, 202>(rec))  // a warning: CAIXA accepts the field filled in
    Bare("J.27",
         Cat("Reg:", record,
             " Advertência: Posição 189,14 deveria ser branco. Mas a CAIXA aceita preechido. Encontrado:"_cp,
             TrimmedText<189, 202>(rec)),
         false);
  Apply<kJTail>(rec);
  const std::string_view currency = Field(rec, 223, 224);
  constexpr std::int64_t kCurrencies[] = {2, 3, 4, 9};
  if (!IsNumeric(currency)) {
    Finding("J.30", " Código da moeda inválido."_cp);
  } else if (!WholeOneOf(currency, kCurrencies)) {
    Finding("J.30", " Código da moeda inválido !!"_cp);
  }
  // The paid amount has no row of its own: converted as it stands.
  Add(loteValue, Field(rec, 153, 167), false);
}

// One party of a J-52: its kind at `kind`, its CPF or CNPJ in the 15
// positions after it, its name in the 40 after those.
struct Party {
  std::size_t kind;
  std::string_view kindMessage, numberMessage, cpfMessage, cnpjMessage, nameMessage;
  // Fields J52.08 to J52.16: its kind, its CPF or CNPJ with the kind, its
  // name.
  std::string_view kindField, numberField, documentFields, nameField;
};

void SiaccRun::SegmentJ52(std::string_view rec) {
  static constexpr Party kParties[] = {
      {20, " Posição 20 deveria ser Numérico."_cp, " Posição 21 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 25."_cp, " CNPJ inválido na posição 22."_cp, " Falta nome do pagador.", "J52.08",
       "J52.09", "J52.09 J52.08", "J52.10"},
      {76, " Posição 76 deveria ser 1 ou 2."_cp, " Posição 77 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 81."_cp, " CNPJ inválido na posição 78."_cp, " Falta nome do Bneficiário."_cp,
       "J52.11", "J52.12", "J52.12 J52.11", "J52.13"},
      {132, " Posição 132 deveria ser 1 ou 2."_cp, " Posição 133 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 137."_cp, " CNPJ inválido na posição 134."_cp, " Falta nome do Sacador/Avalista.",
       "J52.14", "J52.15", "J52.15 J52.14", "J52.16"},
  };
  if (!AllOf<15, 16, ' '>(rec)) Finding("J52.06", " Posição 15 tamanho 2 deveria ser branco."_cp);
  for (const Party& p : kParties) {
    const std::string_view type = Field(rec, p.kind, p.kind);
    if (!IsNumeric(type)) {
      Finding(p.kindField, p.kindMessage);
    } else if (!IsNumeric(Field(rec, p.kind + 1, p.kind + 15))) {
      Finding(p.numberField, p.numberMessage);
    } else {
      if (type == "1" && !IsValidCpf(Field(rec, p.kind + 5, p.kind + 15))) Finding(p.documentFields, p.cpfMessage);
      if (type == "2" && !IsValidCnpj(Field(rec, p.kind + 2, p.kind + 15))) Finding(p.documentFields, p.cnpjMessage);
    }
    if (IsBlankField(Field(rec, p.kind + 16, p.kind + 55))) Finding(p.nameField, p.nameMessage);
  }
  if (!Blank<188, 240>(rec)) Finding("J52.17", " Deveria ser branco a partir da posição 188."_cp);
}

void SiaccRun::SegmentK(std::string_view rec) {
  if (!OneOf<19, 19, "1", "2", "3", "4", "5", "6", "7", "9">(rec)) {
    Finding("K.09", " Código segmento da empresa inválido. Campo K.09"_cp);
    return;
  }
  Apply<kK>(rec);
  const std::string_view notice = Field(rec, 230, 230);
  if (!IsNumeric(notice)) {
    Finding("K.23", " Aviso ao favorecido inválido."_cp);
  } else if (!WholeOneOf(notice, kNoticeCodes)) {
    Finding("K.23", " Aviso ao favorecido inválido !!"_cp);
  }
  Add(loteValue, Field(rec, 120, 134));
}

void SiaccRun::SegmentO(std::string_view rec) {
  Apply<kOMovement>(rec);
  Apply<kO>(rec);
  Add(loteValue, Field(rec, 108, 122));
}

void SiaccRun::SegmentN(std::string_view rec) {
  Apply<kNMovement>(rec);
  Apply<kN>(rec);
  Add(loteValue, Field(rec, 96, 110));
  if (!OneOf<133, 134, "16", "17">(rec)) {
    Finding("N.16", " Identificação do tributo inválido. Esperado 16 ou 17 encontrado "_cp, Field(rec, 133, 134));
  } else {
    Apply<kNTaxpayer>(rec);
    if (Field(rec, 133, 134) == "17") {  // social security (GPS)
      if (!RightAligned(rec)) Finding("N.13", kRevenueAlignment);
      if (!Numeric<135, 140>(rec)) {
        Finding("N.17 N.18", " MêsAno. Não numérico."_cp);
      } else {
        if (!IsMonthText(Field(rec, 135, 136))) Finding("N.17", " Mês inválido no campo MêsAno."_cp);
        // Competences up to next year are filed; the window moves with the
        // calendar instead of closing in 2030.
        const std::int64_t lastYear = today.year + 1 > 2030 ? today.year + 1 : 2030;
        if (!WholeIn(Field(rec, 137, 140), 2018, lastYear)) Finding("N.18", " Ano no campo MêsAno parece errado.."_cp);
      }
      Apply<kNGpsValues>(rec);
    } else {  // federal tax (DARF)
      Apply<kNDarf>(rec);
    }
  }
  if (!Blank<231, 240>(rec)) Finding(kind == &kSegmentNGpsKind ? "N.22" : "N.23", kTail231);
}

// Compares a lote total with its trailer field. The trailer carries digits;

}  // namespace verilote::siacc
