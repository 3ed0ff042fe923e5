// "SIACC - Arquivo Remessa": one pass over a SIACC 240 payment remittance.
// The layout is 240 positions like CNAB 240 collection, but its frame differs
// at nearly every step (numbering, trailers, totals, descriptions), so it has
// its own loop on the record-rule vocabulary. Rows that are a test and a line
// are tables; rows that skip others or read the run state are code, in the
// layout's order.
#include "layouts/siacc.hpp"

#include "layouts/siacc_run.hpp"

namespace verilote {

namespace siacc {

namespace {

// ---- File header (type 0), before and after its description lines.

constexpr Row kFileHeaderIdentity[] = {
    {OneOf<4, 8, "00000">, " HEADER não tem zeros no número do lote."_cp, "0.02 0.03"},
    {AllOf<9, 17, ' '>, " HEADER não tem filler na posição 9 tamanho 9."_cp, "0.04"},
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp, "0.05"},
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido."_cp, "0.06 0.05"},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido."_cp, "0.06 0.05"},
};

constexpr Row kFileHeaderFields[] = {
    {Blank<42, 42>, " HEADER Posição 42,1 deveria ser branco. Encontrado:"_cp, "0.10", FieldText<42, 42>},
    {AllOf<43, 45, ' '>, " HEADER Posição 43,3 esperado branco. Encontrado:"_cp, "0.11", FieldText<43, 45>},
    {Blank<50, 52>, " HEADER Posição 50,3 deveria ser branco. Encontrado:"_cp, "0.13", FieldText<50, 52>},
    {OneOf<46, 49, "0000">, " HEADER - esperado 0000 na 46,4 encontrada:", "0.12", FieldText<46, 49>},
    {AccountDv<71>, " DV da conta inválido no HEADER"_cp, "0.17 0.14 0.15 0.16"},
    {AllOf<72, 72, ' '>, " HEADER Posição 72,1 deveria ser branco. Encontrado:"_cp, "0.18", FieldText<72, 72>},
    {BankNameCaixa, " HEADER - Nome do banco esperado CAIXA, encontrado:", "0.20", TrimmedText<103, 132>},
    {Blank<133, 142>, " HEADER Posição 133,10 deveria ser branco. Encontrado:"_cp, "0.21", FieldText<133, 142>},
    {OneOf<143, 143, "1">, " HEADER - Código de remessa não é 1"_cp, "0.22"},
    {OneOf<164, 171, "08001600", "05001600">, " Versão do LayOut não esperado nesta homologação."_cp, "0.26 0.27"},
    {Blank<172, 191>, " HEADER Posição 172,20 deveria ser branco. Encontrado:"_cp, "0.28", FieldText<172, 191>},
    {Blank<212, 225>, " HEADER Posição 212,14 deveria ser branco. Encontrado:"_cp, "0.29", FieldText<212, 225>},
    {OneOf<226, 228, "000">, " HEADER - Uso exclusivo das VAN não é 000"_cp, "0.30"},
    {Blank<229, 240>, " HEADER Posição 229,12 deveria ser branco. Encontrado:"_cp, "0.31", FieldText<229, 240>},
};

// ---- Lote header (type 1).

struct Described {
  std::int64_t value;
  std::string_view text;
};

constexpr Described kCommitments[] = {{1, "Pagamento a fornecedor"},
                                      {2, "Pagamento de salários"_cp},
                                      {3, "AutoPagamento"},
                                      {6, "Salário CAIXA/Trabalhador"_cp},
                                      {11, "Débito em conta"_cp}};

constexpr Described kServices[] = {
    {0, "Tipo de serviço: Optantes"_cp},
    {5, "Tipo de serviço: Déb/Rec"_cp},
    {10, "Tipo de serviço: Pagamento Dividendos"_cp},
    {20, "Tipo de serviço: Pagamento fornecedor"_cp},
    {30, "Tipo de serviço: Pagamento salários"_cp},
    {50, "Tipo de serviço: Pagamento sin seg"_cp},
    {60, "Tipo de serviço: Pagamento desp viaj trans"_cp},
    {70, "Tipo de serviço: Pagamento autor"_cp},
    {75, "Tipo de serviço: Pagamento credenciados"_cp},
    {80, "Tipo de serviço: Pagamento repres."_cp},
    {90, "Tipo de serviço: Pagamento beneficios"_cp},
    {98, "Tipo de serviço: Pagamento diversos"_cp},
};

constexpr Described kPaymentForms[] = {
    {1, "Forma de lançam: Crédito em C/C"_cp},
    {2, "Forma de lançam: CH pag/adm"_cp},
    {3, "Forma de lançam: DOC"_cp},
    {5, "Forma de lançam: Crédito poupança"_cp},
    {10, "Forma de lançam: OP à disp"_cp},
    {11, "Forma de lançam: Pag de Cta e Trib com Cód Barras"_cp},
    {16, "Forma de lançam: Pag DARF sem Cód Barras"_cp},
    {17, "Forma de lançam: Pag GPS sem Cód Barras"_cp},
    {30, "Forma de lançam: Liq tit próprio banco"_cp},
    {31, "Forma de lançam: Pag tit outro banco"_cp},
    {41, "Forma de lançam: TED"_cp},
    {43, "Forma de lançam: TED MTitularidade"_cp},
    {50, "Forma de lançam: Déb C/C - Rec"_cp},
};

template <std::size_t N>
std::string_view Describe(const Described (&table)[N], std::string_view field, std::string_view other) {
  if (const std::optional<std::int64_t> value = WholeNumber(field))
    for (const Described& d : table)
      if (d.value == *value) return d.text;
  return other;
}

constexpr Row kLoteHeaderTail[] = {
    {OneOf<9, 9, "C", "D">, " Tipo de operação não é C ou D"_cp, "1.04"},
};

constexpr Row kLoteHeaderParties[] = {
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp, "1.08"},
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido."_cp, "1.09 1.08"},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido."_cp, "1.09 1.08"},
    {Blank<47, 52>, " HEADER LOTE Posição 47,6 deveria ser branco. Encontrado:"_cp, "1.14", FieldText<47, 52>},
    {Blank<223, 240>, " HEADER LOTE Posição 223,18 deveria ser branco. Encontrado:"_cp, "1.29", FieldText<223, 240>},
    {AccountDv<71>, " DV da conta inválido no HEADER de LOTE"_cp, "1.19 1.15 1.17 1.18"},
};

// ---- Lote and file trailers (types 5 and 9).

constexpr Row kLoteTrailerReserved[] = {
    {Blank<9, 17>, " TRAILLER LOTE Posição 9,9 deveria ser branco. Encontrado:"_cp, "5.04", FieldText<9, 17>},
    {Blank<66, 240>, " TRAILLER LOTE Posição 66,175 deveria ser branco. Encontrado:"_cp, "5.09", TrimmedText<66, 240>},
};

constexpr Row kFileTrailerReserved[] = {
    {Blank<9, 17>, " TRAILLER LOTE Posição 9,9 deveria ser branco. Encontrado:"_cp, "9.04", FieldText<9, 17>},
    {Blank<36, 240>, " TRAILLER LOTE Posição 36,205 deveria ser branco. Encontrado:"_cp, "9.08", TrimmedText<36, 240>},
};

const std::string kRule79(79, '=');

}  // namespace

std::string SiaccRun::UnreadableFields(std::string_view rec) const {
  std::string codes;
  for (const FieldSpec& field : kind->fields)
    if (!IsPlainText(Field(rec, field.from, field.to))) codes += Cat(field.code, ' ');
  return codes;
}

void SiaccRun::Record(std::string_view rec) {
  ++record;
  current = rec;
  kind = KindOf(rec);
  if (!IsPlainText(rec))
    Finding(UnreadableFields(rec), " Advertência: Registro contém caracter que não será reconhecido pelo sistema."_cp);
  // The length names no field: the record as a whole is short or long.
  if (rec.size() != 240) Finding({}, " Tamanho de registro inválido ("_cp, rec.size(), ")");
  const std::string_view type = Field(rec, 8, 8);
  constexpr std::string_view kTypes = "01359";
  const std::size_t typeIndex = type.empty() ? std::string_view::npos : IndexIn(kTypes, type[0]);
  if (typeIndex == std::string_view::npos)
    Finding(Frame(kTypeField), " Tipo de registro inválido. Esperado 0, 1, 3, 5 ou 9"_cp);
  if (!OneOf<1, 3, "104">(rec))
    Finding(Frame(kBankField), " Código do banco não é 104. Encontrado:"_cp, Field(rec, 1, 3));
  if (typeIndex != std::string_view::npos) {
    seen[typeIndex] = true;
    switch (type[0]) {
      case '0':
        FileHeader(rec);
        break;
      case '1':
        LoteHeader(rec);
        break;
      case '3':
        Detail(rec);
        break;
      case '5':
        LoteTrailer(rec);
        break;
      default:
        FileTrailer(rec);
        break;
    }
  }
  const std::string_view lote = Field(rec, 4, 7);
  if (!IsNumeric(lote)) {
    Finding(Frame(kLoteField), " Número do lote não numérico."_cp);
  } else if (!Is<"9">(type)) {
    const std::optional<std::int64_t> value = WholeNumber(lote);
    if (!value || Differs(*value, lotes)) Finding(Frame(kLoteField), " Sequencial de lote errado.");
  }
}

void SiaccRun::FileHeader(std::string_view rec) {
  Info("HEADER DE ARQUIVO:");
  Info(std::string(17, '='));
  Apply<kFileHeaderIdentity>(rec);
  const std::string_view environment = Field(rec, 41, 41);
  if (environment != "P" && environment != "T") Finding("0.09", " Ambiente de cliente não é P ou T"_cp);
  Info(Cat("Código Convênio:"_cp, Field(rec, 33, 38), " Nome Convênio:"_cp, Field(rec, 73, 102)));
  const std::string_view word = environment == "P" ? "Produção"_cp : environment == "T" ? "Teste" : "";
  const std::string_view parameter = Field(rec, 39, 40);
  if (InvalidParameter(parameter)) {
    Info(Cat("Ambiente:", word, "        Parâmetro de transmissão inválido !!!!"_cp));
  } else {
    Info(Cat("Ambiente:", word, "        Parâmetro de transm:"_cp, parameter));
  }
  Info(Cat("Conta corrente: ", Field(rec, 54, 57), '.', Field(rec, 60, 62), '.', Field(rec, 63, 70), '-',
           Field(rec, 71, 71)));
  Info(Cat("Gerado em:", Field(rec, 144, 145), '/', Field(rec, 146, 147), '/', Field(rec, 148, 151), " às "_cp,
           Field(rec, 152, 153), ':', Field(rec, 154, 155), ':', Field(rec, 156, 157), " NSA: ", Field(rec, 158, 163)));
  Apply<kFileHeaderFields>(rec);
  version = Field(rec, 164, 166);
}

void SiaccRun::LoteHeader(std::string_view rec) {
  ++lotes;
  Info(" ");
  Info(Cat("HEADER DO LOTE (", lotes, "):"));
  Info(kRule79);
  paymentForm = Field(rec, 12, 13);
  commitment = Field(rec, 39, 40);

  std::string_view description;
  if (!IsNumeric(commitment)) {
    Finding("1.11", " Tipo de compromisso não numérico."_cp);
  } else {
    description = Describe(kCommitments, commitment, "Inválido !!"_cp);
  }
  Info(Cat("Tipo compromisso:", description));
  Info(Cat("Código compromisso:"_cp, Field(rec, 41, 44)));
  if (!AllOf<72, 72, ' '>(rec))
    Finding("1.20", " HEADER Posição 72,1 deveria ser branco. Encontrado:"_cp, Field(rec, 72, 72));
  const std::string_view service = Field(rec, 10, 11);
  if (!IsNumeric(service)) {
    Finding("1.05", " Tipo de serviço não numérico."_cp);
  } else {
    Info(Describe(kServices, service, "Tipo de serviço: Inválido"_cp));
  }
  if (!LoteAgencyDv(rec)) Finding("1.16 1.15", " HEADER - Dígito da agência inválido na posição 58."_cp);
  if (!IsNumeric(paymentForm)) {
    Finding("1.06", " Forma de lançamento não numérico."_cp);
  } else {
    Info(Describe(kPaymentForms, paymentForm, "Forma de lançam: Inválida"_cp));
  }
  Info(Cat("Código Convênio:"_cp, Field(rec, 33, 38), '-', Field(rec, 39, 40), '-', Field(rec, 41, 44),
           " Nome Convênio:"_cp, Field(rec, 73, 102)));
  const std::string account = Cat("Conta corrente: ", Field(rec, 54, 57), '.', Field(rec, 60, 62), '.',
                                  Field(rec, 63, 70), '-', Field(rec, 71, 71));
  if (InvalidParameter(Field(rec, 45, 46))) {
    Info(Cat(account, "      Parâmetro de transmissão inválido"_cp));
  } else {
    Info(Cat(account, "      Parâmetro de transmissão:"_cp, Field(rec, 45, 46)));
  }
  if (!Blank<103, 142>(rec)) Info(Cat("Mensagem de Aviso 1: ", Field(rec, 103, 142)));
  Info(Cat("Logradouro: ", Field(rec, 143, 172), " Número local: "_cp, Field(rec, 173, 177),
           " Complemento: ", Field(rec, 178, 192)));
  Info(Cat("Cidade: ", Field(rec, 193, 212), " CEP: ", Field(rec, 213, 220), " Estado: ", Field(rec, 221, 222)));
  Apply<kLoteHeaderTail>(rec);
  const std::string_view loteVersion = Field(rec, 14, 16);
  const std::string_view expected = version == "050" ? "030" : version == "080" ? "041" : "";
  if (!expected.empty() && loteVersion != expected)
    Finding("1.07", " Versão do layout inválida esperado: "_cp, expected, " encontrado: ", loteVersion);
  Apply<kLoteHeaderParties>(rec);
  Info(kRule79);
  Info("PROCURANDO OCORRÊNCIAS NOS REGISTROS DE MOVIMENTOS... "_cp);
  Info(" ");
}

void SiaccRun::Detail(std::string_view rec) {
  ++loteRecords;
  const std::string_view segment = Field(rec, 14, 14);
  if (Is<"A">(segment)) {
    const std::string_view from = Field(rec, 25, 73);
    payeeSize = from.size();
    if (payeeSize == sizeof payee) {
      std::memcpy(payee, from.data(), sizeof payee);  // a size the compiler knows: a few moves
    } else if (payeeSize != 0) {                      // a record cut short before position 25 names no payee
      std::memcpy(payee, from.data(), payeeSize);
    }
    labelDue = true;
  }
  constexpr std::string_view kSegments = "ABJKON";
  if (segment.empty() || IndexIn(kSegments, segment[0]) == std::string_view::npos)
    Finding(Frame(kSegmentField), " Código do segmento "_cp, segment, " inválido ou não esperado nesta versão."_cp);
  // The lote number and sequence are converted untested, as the layout's
  // own program does: a non-integer ends the run.
  if (Differs(StrToInt(Field(rec, 4, 7)), lotes)) Finding(Frame(kLoteField), " Número de lote inválido campo A.02"_cp);
  if (Differs(StrToInt(Field(rec, 9, 13)), loteRecords))
    Finding(Frame(kSequenceField), " Sequencial de lote inválido campo A.04"_cp);
  if (segment.empty()) return;
  switch (segment[0]) {
    case 'A':
      SegmentA(rec);
      break;
    case 'B':
      SegmentB(rec);
      break;
    case 'J':
      if (Is<"52">(Field(rec, 18, 19))) {
        SegmentJ52(rec);
      } else {
        SegmentJ(rec);
      }
      break;
    case 'K':
      SegmentK(rec);
      break;
    case 'O':
      SegmentO(rec);
      break;
    case 'N':
      SegmentN(rec);
      break;
    default:
      break;
  }
}

void CompareTotal(SiaccRun& run, std::string_view rec, std::size_t from, Cents total, std::string_view field,
                  std::string_view differs) {
  const std::string_view text = Field(rec, from, from + 17);
  if (!IsNumeric(text)) {
    run.Finding(field, " campo ", field, " do trailler deveria ser numérico !!"_cp);
    return;
  }
  const std::optional<std::int64_t> value = WholeNumber(text);
  if (!value || Cents{*value} != total) run.Finding(field, differs, text, " Calculado:", CentsText(total));
}

void SiaccRun::LoteTrailer(std::string_view rec) {
  Apply<kLoteTrailerReserved>(rec);
  loteRecords += 2;
  const std::string_view count = Field(rec, 18, 23);
  if (!IsNumeric(count)) {
    Finding("5.05", " campo 5.05 do trailler deveria ser numérico !!"_cp);
  } else if (const std::optional<std::int64_t> value = WholeNumber(count); !value || Differs(*value, loteRecords)) {
    Finding("5.05", " Total de registros no lote inválido !! Encontrado:"_cp, count, " Calculado:", loteRecords);
  }
  CompareTotal(*this, rec, 24, loteValue, "5.06", " Total de valores no lote inválido !! Encontrado:"_cp);
  CompareTotal(*this, rec, 42, loteCurrency, "5.07", " Total de moeda no lote inválido !! Encontrado:"_cp);
  const std::string_view reserved = Field(rec, 60, 65);
  if (!IsNumeric(reserved)) {
    Finding("5.08", " Da posição 60 até a 65 não é numérica."_cp);
  } else if (reserved != "000000") {
    Finding("5.08", " Da posição 60 até a 65 deveriam ser zeros."_cp);
  }
  Info(" ");
  Info(Cat("==> Fim do lote com ", loteRecords, " registros. Totalizando: R$ ", FormatMoney(Field(rec, 24, 41))));
  loteRecords = 0;
  loteValue = loteCurrency = 0;
}

void SiaccRun::FileTrailer(std::string_view rec) {
  Apply<kFileTrailerReserved>(rec);
  // Converted untested, as the layout's own program does.
  if (Differs(StrToInt(Field(rec, 18, 23)), lotes)) Finding("9.05", " Quantidade de lotes inválida !!"_cp);
  if (Differs(StrToInt(Field(rec, 24, 29)), record))
    Finding("9.06", " Quantidade de Registros no arquivo, inválida !!"_cp);
  if (Field(rec, 30, 35) != "000000")
    Finding("9.07", " Erro no TRAILLER de arquivo, era esperado zeros da posição 30 até a 35 !!"_cp);
}

void SiaccRun::Summary() {
  constexpr char kTypes[] = {'0', '1', '3', '5', '9'};
  for (std::size_t i = 0; i < 5; ++i)
    if (!seen[i]) {  // the file as a whole: no record to name
      host.ReportFinding({.line = Cat("Erro grave: Falta registro código "_cp, kTypes[i])});
      faulty = true;
    }
  Info(" ");
  if (opPayments > 0)
    Info(Cat("Existem ", opPayments, " informações de pagamento por OP neste arquivo. Se isso não for verdade, "_cp,
             "então existem "_cp, opPayments, " DOC faltando número da conta."_cp));
  Info(" ");
  Info("==== Fim da leitura do arquivo ====");
}

}  // namespace siacc

Verdict CaixaProgramado1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo remessa SIACC 240", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi selecionado !!");
    return Verdict::Clean;
  }
  host.ReportClear();
  RecordReader reader(*path, &host);
  host.ReportAppend(Cat("Arquivo:", *path));
  host.ReportAppend(Cat("SIACC - Validação do arquivo remessa "_cp, *path));
  host.ReportAppend(" ");
  siacc::SiaccRun run(host, host.Today());
  std::string_view rec;
  while (reader.Next(rec)) run.Record(rec);
  run.Summary();
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
