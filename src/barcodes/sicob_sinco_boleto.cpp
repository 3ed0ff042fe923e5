// SICOB and SINCO boleto checks: several SICOB barcodes, a SICOB typeable
// line, a file of SICOB barcodes; one SINCO barcode, a SINCO typeable line, a
// file of SINCO barcodes.
//
// SICOB free field, by case (chosen from the barcode in this order):
//   1. positions 29-30 "87": 20-24 cedente code, 25-28 agency, 29-30 "87",
//      31-44 Nosso Número (14 digits, shown behind an "8");
//   2. position 35 "7" and position 20 "9", 3. position 20 "9",
//   4. position 20 "3" (not in the file command), 5. position 20 "8",
//   6. anything else (invalid carteira): 20-29 Nosso Número, 30-33 agency,
//      34-36 operation, 37-44 cedente code.
// SINCO free field: 20 system marker "1", 21-26 cedente code, 27-44 Nosso
// Número.
#include <optional>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/boleto_report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kBarcodeCaption = "Código de Barras"_cp;
constexpr std::string_view kScanPrompt = "Passe o leitor no Código de Barras"_cp;

// The lines that close the SICOB file command.
constexpr std::string_view kSicobFileClosing[] = {
    "Verifique os seguintes itens nos boletos:",
    "=========================================",
    "1) Verifique comparando FICHA e RECIBO se são os mesmos: "_cp,
    "   Vencimento, agencia, CODcedente, NN, valor, Nome do cedente",
    "  ",
    "2) Verifique na FICHA:",
    "   95 a 108mm de altura e 210 a 216mm comprimento",
    "   Local de pagamento, Data doc, Data proc, carteira, Espécie"_cp,
    "   (=) valor doc; (-) Desc/Abat, (-) outras deduções "_cp,
    "   (+) Mora/Multa; (+) Outros Acréscimos; (=) Valor cobrado"_cp,
    "    Instruções, sacado, endereço"_cp,
    "    Autenticação mecânica/ficha de compensação 2mm altura (à direita)"_cp,
    "    Representação Num com 3,5 a 4mm de altura, ver a separação com ponto"_cp,
    "    logotipo da CAIXA e 104",
    "  ",
    "3) No recibo do sacado deve conter:",
    "   Nome ced, agência, codced, val tit, venc, NN, nome sac"_cp,
    "  ",
    "4) No código de barras, verifique:"_cp,
    "   13mm X 103mm, deve ter 5mm a esquerda",
    "   12mm do final até o centro do codbar"_cp,
    "  ",
    "5) Fundo branco, impressão azul ou preta"_cp,
    "  ",
    "6) Verificar se tem dígitos geral de 1 a 9"_cp,
    "  ",
    "7) Para código 870 codced=20,5 codpv=25,4 fixo(87)=29,2 NN=31,14"_cp,
    "8) Para código 003 NN=20,10 e codced=30,15"_cp,
    "9) NCO Fixo(1)=20,1 codced=21,6 NN=27,18",
    "  ",
};

enum class SicobCommand { Several, TypeableLine, File };

struct SicobCase {
  std::string_view shortType;  // the several-barcode command's summary
  std::string_view longType;   // the typeable-line and file commands
};

constexpr SicobCase kSicobCases[] = {
    {"SR NN 16P", "TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp},
    {"CR NN 11P", "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp},
    {"CR NN 11P", "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp},
    {"CR NN 11P", "TÍTULO COM REGISTRO - SIMPLES E NN COM 11 POSIÇÕES"_cp},
    {"SR NN 11P", "TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp},
    {"NN COM CARTEIRA INVÁLIDA !!!"_cp, "NN COM CARTEIRA INVÁLIDA !!!"_cp},
};

constexpr int kSixteenPositionCase = 1;
constexpr int kRapidaWithSevenCase = 2;
constexpr int kInvalidCarteiraCase = 6;

int SicobCaseOf(std::string_view barcode, SicobCommand command) {
  const std::string_view first = Field(barcode, 20, 20);
  if (Field(barcode, 29, 30) == "87") return kSixteenPositionCase;
  if (Field(barcode, 35, 35) == "7" && first == "9") return kRapidaWithSevenCase;
  if (first == "9") return 3;
  if (first == "3" && command != SicobCommand::File) return 4;
  if (first == "8") return 5;
  return kInvalidCarteiraCase;
}

// A SICOB barcode's free field decoded.
struct Sicob {
  int layoutCase;
  std::string_view type;
  std::string cedente;      // agency.operation.code-DV
  std::string nossoNumero;  // case 1: "8" + 31-44; else 20-29 "-" DV
};

// Throws ConversionError when the digits the check digits need are not
// there (a short or non-numeric free field).
Sicob DecodeSicob(std::string_view barcode, SicobCommand command) {
  Sicob s;
  s.layoutCase = SicobCaseOf(barcode, command);
  const SicobCase& c = kSicobCases[s.layoutCase - 1];
  s.type = command == SicobCommand::Several ? c.shortType : c.longType;
  if (s.layoutCase == kSixteenPositionCase) {
    const std::string_view code = Field(barcode, 20, 24), agency = Field(barcode, 25, 28);
    s.cedente = Cat(agency, ".870.000", code, "-", Mod11DvFrom8(Cat(agency, "870000", code)));
    s.nossoNumero = Cat("8", Field(barcode, 31, 44));
    if (command == SicobCommand::File) s.nossoNumero += Cat("-", NossoNumero15Dv(s.nossoNumero));
  } else {
    s.cedente = Cat(Field(barcode, 30, 33), ".", Field(barcode, 34, 36), ".", Field(barcode, 37, 44), "-",
                    Mod11DvFrom8(Field(barcode, 30, 44)));
    s.nossoNumero = Cat(Field(barcode, 20, 29), "-", NossoNumero10Dv(Field(barcode, 20, 29)));
  }
  return s;
}

// Writes report lines built in memory reused from line to line: the file
// commands write several lines for each of millions of barcodes.
struct LineWriter {
  Host& host;
  std::string line{};

  template <typename... Pieces>
  void operator()(const Pieces&... pieces) {
    CatInto(line, pieces...);
    host.ReportAppend(line);
  }

  // The barcode's typeable line with its label.
  void TypeableLine(std::string_view barcode) {
    CatInto(line, kTypeableLineLabel);
    AppendPrintedTypeableLine(line, barcode);
    host.ReportAppend(line);
  }

  // "Seq n Tam barra = len Conteúdo text", as both file commands echo a line.
  void Sequence(std::uint64_t n, std::string_view text) {
    (*this)("Seq ", n, " Tam barra = ", text.size(), " Conteúdo "_cp, text);
  }
};

// The due date, cedente, Nosso Número and value lines of one boleto, then the
// common tests of positions 1-5.
void WriteBoletoData(BoletoTally& tally, LineWriter& write, std::string_view barcode, std::string_view cedenteLine,
                     std::string_view nossoNumeroLine) {
  if (HasNoDueFactor(barcode))
    write.host.ReportAppend(kNoDueFactor);
  else
    write("Data do vencimento: ", BarcodeDueDate(barcode, write.host.Today()));
  write.host.ReportAppend(cedenteLine);
  write.host.ReportAppend(nossoNumeroLine);
  write("Valor do título:  R$ "_cp, BarcodeValue(barcode));
  tally.CommonTests(barcode, kDvWrongShort);
}

// The cedente the user typed (agency 4, operation 3, account 8, without
// check digit), formatted as the decoded one: AAAA.OOO.CCCCCCCC-D. A code
// left with letters (the prompt's pattern "AAAA870CCCCCCCC") cannot be
// converted digit by digit; its digit is then read character by character
// with the same weights, so the command goes on and every barcode is reported
// as not matching it.
std::string TypedCedente(std::string_view typed) {
  const std::string_view code = Copy(typed, 1, 15);
  const std::string dv = IsAllDigits(code) ? Mod11DvFrom8(code) : std::string(1, Mod11DvTimesTen(code));
  return Cat(Field(code, 1, 4), ".", Field(code, 5, 7), ".", Field(code, 8, 15), "-", dv);
}

// Runs `check` (true when the barcode is correct) on each line of the file
// the user picks, with its running number; nullopt when the dialog was
// cancelled, else whether any barcode was invalid.
template <typename Check>
std::optional<bool> CheckFileLines(Host& host, std::string_view title, Check check) {
  const auto path = host.OpenFile(title, FileFilter::Retorno);
  if (!path) return std::nullopt;
  RecordReader reader(*path, &host);
  std::string_view barcode;
  std::uint64_t n = 0;
  bool anyInvalid = false;
  while (reader.Next(barcode)) anyInvalid |= !check(barcode, ++n);
  return anyInvalid;
}

struct SincoTexts {
  std::string type, cedente, nossoNumero;
};

}  // namespace

Verdict CdigodebarrasCobCaixa1Click(Host& host) {
  const std::string quantity = host.InputBox("Quantidade", "Entre com a quantidade de boletos", "1");
  const std::int64_t count = StrToInt(PadZeroLeft(KeepDigits(quantity), 2));
  const std::string typed =
      host.InputBox("Digite o código do cedente"_cp, "Digite sem o DV e sem separador", "AAAA870CCCCCCCC");
  const std::string expected = TypedCedente(typed);
  std::vector<std::string> summary;
  std::string_view lastType;
  bool anyInvalid = false;
  for (std::int64_t n = 1; n <= count; ++n) {
    const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
    BoletoTally tally{host};
    const Sicob s = DecodeSicob(barcode, SicobCommand::Several);
    if (s.layoutCase == kInvalidCarteiraCase) ++tally.errors;
    lastType = s.type;
    const std::string_view nnLabel = s.layoutCase == kRapidaWithSevenCase ? "NN=" : "NN= ";
    summary.push_back(Cat(
        PrintedTypeableLine(barcode), " ", s.type,
        HasNoDueFactor(barcode) ? Cat(" ", kNoFactorNotice) : Cat(" DTVenc: ", BarcodeDueDate(barcode, host.Today())),
        " ", s.cedente, " ", nnLabel, s.nossoNumero, " ", "Valor R$ ", BarcodeValue(barcode)));
    tally.CommonTests(barcode, kDvWrongShort);
    if (s.cedente != expected)
      tally.Error(Cat("Código do cedente inválido: Informado:"_cp, expected, " Lido:", s.cedente));
    if (tally.errors == 0) {
      host.ReportAppend(Cat("BARRA ", n, " CORRETA"));
    } else {
      anyInvalid = true;
      host.ReportAppend(Cat("BARRA  ", n, " INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp));
    }
  }
  host.ReportAppend(kSicobRule);
  for (const std::string& row : summary) host.ReportAppend(row);
  WriteChecklistTail(host, ChecklistSystem::Sicob, lastType == "CR NN 11P");
  return anyInvalid ? Verdict::Faulty : Verdict::Clean;
}

Verdict Representaonumricacobcaixacobranacaixa1Click(Host& host) {
  const std::string digits = KeepDigits(host.InputBox(kBarcodeCaption, "Digite a representação numérica"_cp, ""));
  const std::string barcode = TypeableLineToBarcodeNewDv(digits);
  BoletoTally tally{host};
  LineWriter write{host};
  const Sicob s = DecodeSicob(barcode, SicobCommand::TypeableLine);
  if (s.layoutCase == kInvalidCarteiraCase) ++tally.errors;
  host.ReportAppend(s.type);
  host.ReportAppend(Cat("Representação Numérica Calculada: "_cp, PrintedTypeableLine(barcode)));
  host.ReportAppend(Cat("Representação Numérica Digitada: "_cp, digits));
  WriteBoletoData(tally, write, barcode, Cat("CÓDIGO DO CEDENTE = "_cp, s.cedente),
                  Cat("Nosso Número      = "_cp, s.nossoNumero));
  tally.InputEcho(digits);
  return tally.Verdict() ? Verdict::Clean : Verdict::Faulty;
}

Verdict CdigodebarrasSICOBViaarquivo1Click(Host& host) {
  LineWriter write{host};
  std::string cedenteLine, nossoNumeroLine;  // their memory reused from barcode to barcode
  const std::optional<bool> anyInvalid =
      CheckFileLines(host, "Selecione o arquivo com as barras lidas", [&](std::string_view barcode, std::uint64_t n) {
        BoletoTally tally{host};
        const Sicob s = DecodeSicob(barcode, SicobCommand::File);
        if (s.layoutCase == kInvalidCarteiraCase) ++tally.errors;
        host.ReportAppend(s.type);
        write.TypeableLine(barcode);
        CatInto(cedenteLine, "CÓDIGO DO CEDENTE = "_cp, s.cedente);
        CatInto(nossoNumeroLine, "Nosso Número = "_cp, s.nossoNumero);
        WriteBoletoData(tally, write, barcode, cedenteLine, nossoNumeroLine);
        write.Sequence(n, barcode);
        write("Barra com separação:"_cp, Field(barcode, 1, 5), ".", Field(barcode, 6, 10), ".", Field(barcode, 11, 15),
              ".", Field(barcode, 16, 20), ".", Field(barcode, 21, 25), ".", Field(barcode, 26, 30), ".",
              Field(barcode, 31, 35), ".", Field(barcode, 36, 40), ".", Field(barcode, 41, 44));
        return tally.Verdict();
      });
  if (!anyInvalid.has_value()) return Verdict::Clean;  // cancelled
  for (const std::string_view line : kSicobFileClosing) host.ReportAppend(line);
  return *anyInvalid ? Verdict::Faulty : Verdict::Clean;
}

namespace {

// One SINCO barcode in the single-boleto frame; `echo` is the text as read.
Verdict CheckOneSinco(Host& host, std::string_view barcode, std::string_view echo) {
  SincoTexts t{std::string("Tipo inválido"_cp), std::string("Código do cedente inválido"_cp),
               std::string("Nosso Número inválido"_cp)};
  if (Field(barcode, 20, 20) == "1") {
    t.type = "COBRANÇA SINCO"_cp;
    t.nossoNumero = Cat("Nosso Número      = "_cp, Field(barcode, 27, 44));
    t.cedente = Cat("CÓDIGO DO CEDENTE = "_cp, Field(barcode, 21, 26));
  }
  BoletoTally tally{host};
  LineWriter write{host};
  host.ReportAppend(t.type);
  write.TypeableLine(barcode);
  WriteBoletoData(tally, write, barcode, t.cedente, t.nossoNumero);
  tally.InputEcho(echo);
  return tally.Verdict() ? Verdict::Clean : Verdict::Faulty;
}

}  // namespace

Verdict CdigodebarrasSINCO1Click(Host& host) {
  const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  return CheckOneSinco(host, barcode, barcode);
}

// The line is cut as typed: 47 digits without separators are expected.
Verdict RepresentaoNumricadocdigodebarrasSINCO1Click(Host& host) {
  const std::string typed = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  return CheckOneSinco(host, TypeableLineToBarcodeNewDv(typed), typed);
}

Verdict CdigodebarrasSINCOViaarquivo1Click(Host& host) {
  LineWriter write{host};
  std::string details;  // its memory reused from barcode to barcode
  const auto anyInvalid =
      CheckFileLines(host, "Selecione o arquivo com as barras", [&](std::string_view barcode, std::uint64_t n) {
        const std::string_view marker = Field(barcode, 20, 20);
        if (marker == "1")
          host.ReportAppend("COBRANÇA SINCO"_cp);
        else
          write("Tipo inválido na posição 20,1 conteúdo = "_cp, marker, " Deveria ser 1");
        write.TypeableLine(barcode);
        CatInto(details, "CODCED = ", Field(barcode, 21, 26), " NN = ", Field(barcode, 27, 44),
                " Valor: ", BarcodeValue(barcode));
        if (HasNoDueFactor(barcode))
          write(kNoDueFactor, " ", details);
        else
          write("Data do vencimento: ", BarcodeDueDate(barcode, host.Today()), " ", details);
        BoletoTally tally{host};
        if (!IsCaixaBank(barcode)) tally.Error(Cat(kBankNotCaixa, " o conteúdo é "_cp, Field(barcode, 1, 3)));
        if (!IsRealCurrency(barcode)) tally.Error(Cat(kCurrencyNotReal, " deveria ser 9 e tem ", Field(barcode, 4, 4)));
        if (!HasValidGeneralDv(barcode))
          tally.Error(Cat(kDvWrongShort, BarcodeGeneralDv(barcode), " encontrado ", Field(barcode, 5, 5)));
        write.Sequence(n, barcode);
        write("Barra lida formatada ", Field(barcode, 1, 3), ".", Field(barcode, 4, 4), ".", Field(barcode, 5, 5), ".",
              Field(barcode, 6, 9), ".", Field(barcode, 10, 19), ".", Field(barcode, 20, 20), ".",
              Field(barcode, 21, 26), ".", Field(barcode, 27, 44));
        return tally.Verdict();
      });
  return anyInvalid.value_or(false) ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
