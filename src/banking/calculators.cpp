#include "banking/calculators.hpp"

#include <cstdint>
#include <optional>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

constexpr std::string_view kCr = "\r";

// ---- "Nosso Número" lists.

// A list quantity is a count of report lines: 0 to 65,535.
constexpr std::int64_t kMaxQuantity = 65535;
// The counter fills the last five positions of the number.
constexpr std::int64_t kMaxCounter = 99999;

constexpr std::string_view kFirstNumberCaption = "Entre com o NN inicial";
constexpr std::string_view kQuantityCaption = "Quantos NN para gerar ?";
constexpr std::string_view kClosingLine = "Para utilizar em outro editor, selecione, copie e cole no destino.";

enum class ListForm { Ten, Fifteen, Eighteen, Sigcb };

using DvRoutine = std::string (*)(std::string_view);

// A number followed by "-" and its check digit, as every "Nosso Número"
// command shows it.
std::string WithDv(std::string_view number, DvRoutine dv) { return Cat(number, '-', dv(number)); }

struct ListLayout {
  std::string_view firstPrompt;
  std::size_t zeroFill;  // width the first number is zero-filled to; 0 keeps it as typed
  std::size_t prefixLength;
  std::string_view quantityPrompt;
  DvRoutine dv;  // none for SIGCB, whose digit also covers the two options
};

ListLayout LayoutOf(ListForm form) {
  switch (form) {
    case ListForm::Ten:
      return {"Digite NN sem dígito com 10 posições"_cp, 0, 5, "Digite a quantidade (Máximo de 9999)"_cp,
              NossoNumero10Dv};
    case ListForm::Fifteen:
      return {"Digite NN sem dígito com 15 posições"_cp, 0, 10, "Digite a quantidade (Máximo de 9999)"_cp,
              NossoNumero15Dv};
    case ListForm::Eighteen:
      return {"Digite NN sem dígito"_cp, 18, 13, "Digite a quantidade (Máximo de 999)"_cp, NossoNumero18Dv};
    case ListForm::Sigcb:
      break;
  }
  return {"Digite NN sem dígito de 1 a 15 posições"_cp, 15, 10, "Digite a quantidade (Máximo de 9999)"_cp, nullptr};
}

// The SIGCB "Nosso Número" starts with the kind of collection and who prints
// the boleto; an answer other than the listed options ends the command.
struct SigcbOptions {
  std::string kind, issuer;
};

std::optional<SigcbOptions> AskSigcbOptions(Host& host) {
  SigcbOptions options;
  options.kind = host.InputBox("1=Registrada 2=Sem Registro", "Digite opção 1 ou 2"_cp, "1");
  if (options.kind != "1" && options.kind != "2") {
    host.ShowMessage("Tipo Inválido !!"_cp);
    return std::nullopt;
  }
  options.issuer = host.InputBox("1=CAIXA Imprime 4=Cliente Imprime", "Digite opção 1 ou 4"_cp, "4");
  if (options.issuer != "1" && options.issuer != "4") {
    host.ShowMessage("Opção Inválida !!"_cp);
    return std::nullopt;
  }
  return options;
}

std::string ListLine(const ListLayout& layout, const SigcbOptions& options, const std::string& number) {
  if (layout.dv != nullptr) return WithDv(number, layout.dv);
  // The "/" only separates the options on screen; the digit covers all 17.
  return Cat(options.kind, options.issuer, '/', number, '-', Mod11Dv(Cat(options.kind, options.issuer, number)));
}

Verdict GenerateList(Host& host, ListForm form) {
  SigcbOptions options;
  if (form == ListForm::Sigcb) {
    const std::optional<SigcbOptions> asked = AskSigcbOptions(host);
    if (!asked) return Verdict::Faulty;
    options = *asked;
  }
  const ListLayout layout = LayoutOf(form);
  std::string first = host.InputBox(kFirstNumberCaption, layout.firstPrompt, "");
  if (layout.zeroFill != 0) first = PadZeroLeft(first, layout.zeroFill);
  const std::string prefix(Field(first, 1, layout.prefixLength));
  std::int64_t counter = StrToInt(Field(first, layout.prefixLength + 1, layout.prefixLength + 5));
  const std::string quantityText = host.InputBox(kQuantityCaption, layout.quantityPrompt, "10");

  host.ReportClear();
  const std::int64_t quantity = StrToInt(quantityText);
  if (quantity < 0 || quantity > kMaxQuantity) {
    host.ShowMessage(Cat("Quantidade Inválida !!"_cp, kCr, "Digite de 0 a 65535."));
    return Verdict::Faulty;
  }
  Verdict verdict = Verdict::Clean;
  for (std::int64_t i = 0; i < quantity; ++i, ++counter) {
    // Past 99999 the counter no longer fits its five positions: stop rather
    // than write numbers cut to their first five digits.
    if (counter > kMaxCounter) {
      host.ReportAppend(Cat("Sequência do NN passou de 99999, relação interrompida !!!"_cp));
      verdict = Verdict::Faulty;
      break;
    }
    host.ReportAppend(ListLine(layout, options, prefix + PadZeroLeft(Cat(counter), 5)));
  }
  host.ReportAppend(kClosingLine);
  return verdict;
}

// ---- "Nosso Número" digit of one number.

constexpr std::string_view kNossoNumeroCaption = "Entre com o nosso número"_cp;
constexpr std::string_view kNossoNumeroPrompt = "Digite o Nosso Número sem dígito"_cp;

Verdict ShowNumberDv(Host& host, std::string_view caption, DvRoutine dv) {
  host.ShowMessage(WithDv(host.InputBox(caption, kNossoNumeroPrompt, ""), dv));
  return Verdict::Clean;
}

// CPF and CNPJ ("CGC") checks: the number as read, then the verdict; a wrong
// one also shows the digits it should carry. `name` is "cpf" or "CGC".
struct Document {
  std::string_view name;
  std::size_t baseLength;  // positions before the two check digits
  bool (*isValid)(std::string_view);
  std::string (*dvPair)(std::string_view);
};

Verdict ShowDocumentCheck(Host& host, const std::string& number, const Document& document) {
  if (document.isValid(number)) {
    host.ShowMessage(Cat(number, kCr, document.name, " CORRETO !!!"));
    return Verdict::Clean;
  }
  const std::string_view base = Field(number, 1, document.baseLength);
  host.ShowMessage(Cat(number, kCr, document.name, " INVÁLIDO !!!"_cp, kCr, "O ", document.name, " correto seria ",
                       base, '-', document.dvPair(base)));
  return Verdict::Faulty;
}

}  // namespace

Verdict ValidaCPF1Click(Host& host) {
  const std::string cpf = PadZeroLeft(KeepDigits(host.InputBox("Entre com o cpf", "Digite o cpf", "")), 11);
  return ShowDocumentCheck(host, cpf, {"cpf", 9, IsValidCpf, CpfDvPair});
}

namespace {

// A CNPJ as typed: formatting (dots, slashes, hyphens, blanks) dropped; what is
// left is an alphanumeric CNPJ only when it is exactly 14 characters of 0-9 or
// A-Z (either case) ending in two digits. Anything else reads as before, by its
// digits only, so "CNPJ: 11.222.333/0001-81" is the numeric CNPJ it carries.
std::string TypedCnpj(std::string_view text) {
  std::string kept;
  for (const char c : text)
    if (c != '.' && c != '/' && c != '-' && c != ' ' && c != '\t') kept += c;
  const std::string upper = KeepCnpjCharacters(kept);
  if (kept.size() == 14 && upper.size() == 14 && IsAllDigits(std::string_view(upper).substr(12))) return upper;
  std::string digits;
  for (const char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

}  // namespace

Verdict ValidaCGC1Click(Host& host) {
  const std::string cnpj = PadZeroLeft(TypedCnpj(host.InputBox("Entre com o CGC", "Digite o CGC", "")), 14);
  return ShowDocumentCheck(host, cnpj, {"CGC", 12, IsValidCnpj, CnpjDvPair});
}

Verdict NossoNmero1Click(Host& host) { return ShowNumberDv(host, kNossoNumeroCaption, NossoNumero10Dv); }
Verdict NossoNmero16Pos1Click(Host& host) { return ShowNumberDv(host, kNossoNumeroCaption, NossoNumero15Dv); }
Verdict NossoNmero18Posdv1Click(Host& host) { return ShowNumberDv(host, "Nosso número 18 Pos"_cp, NossoNumero18Dv); }

Verdict NossoNmeroSIGCB1Click(Host& host) {
  const std::optional<SigcbOptions> options = AskSigcbOptions(host);
  if (!options) return Verdict::Faulty;
  const std::string number = PadZeroLeft(host.InputBox(kNossoNumeroPrompt, "Digite com tamanho de 1 a 15", ""), 15);
  const std::string full = Cat(options->kind, options->issuer, number);
  host.ShowMessage(Cat(full, '-', Mod11Dv(full)));
  return Verdict::Clean;
}

Verdict GerarrelaodeNNcom10Posies1Click(Host& host) { return GenerateList(host, ListForm::Ten); }
Verdict GerarrelaodeNNcom16Posies1Click(Host& host) { return GenerateList(host, ListForm::Fifteen); }
Verdict GerarrelaodeNNcom18Posies1Click(Host& host) { return GenerateList(host, ListForm::Eighteen); }
Verdict GerarrelaodeNNdoSIGCB1Click(Host& host) { return GenerateList(host, ListForm::Sigcb); }

// AAAAOOOCCCCCCCC: agency 4, operation 3, account 8. The default itself is
// not a number and fails the conversion, as any non-digit does.
Verdict MostrarDVdeumaconta1Click(Host& host) {
  const std::string account = host.InputBox("Entre com o número da conta"_cp, "Digite no formato", "AAAAOOOCCCCCCCC");
  host.ShowMessage(WithDv(account, Mod11DvFrom8));
  return Verdict::Clean;
}

Verdict Gerarfatordevencimento1Click(Host& host) {
  const std::string date = host.InputBox("Entre com a data", "Digite a data no formato:", FormatDate(host.Today()));
  const std::string factor = DateToFactor(date);
  host.ShowMessage(Cat("Data: ", date, kCr, "Fator: ", factor));
  return Verdict::Clean;
}

Verdict Validarumfatordevencimento1Click(Host& host) {
  const CivilDate today = host.Today();
  const std::string factor =
      host.InputBox("Entre com o fator", "Digite fator no formato:", DateToFactor(FormatDate(today)));
  host.ShowMessage(Cat("Fator: ", factor, kCr, "Data: ", FactorToDate(factor, today)));
  return Verdict::Clean;
}

}  // namespace verilote
