// The SIGCB 240 validator, one field at a time: each case breaks fields of the
// valid file of CleanSigcbFile() and states exactly which report lines go and
// which come; every other line must stay as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::Put;
using testing::Validate;
using Lines = std::vector<std::string>;

// An expected line as a case writes it: a std::string, a _cp literal or a plain literal.
struct Text : std::string {
  Text(std::string_view t) : std::string(t) {}
  Text(const std::string& t) : std::string(t) {}
  Text(const char* t) : std::string(t) {}
};
using Texts = std::vector<Text>;
Lines L(const Texts& texts) { return Lines(texts.begin(), texts.end()); }

struct Edit {
  std::size_t record, pos;  // record of the clean file, 1-based
  std::string value;
};

// The report changes that the edits make, against the clean file's report,
// and the verdict on the broken file.
struct Changes : testing::ReportChanges {
  Outcome::Status status;
};
Changes Broken(const std::vector<Edit>& edits, Handler handler = SIGCBRemessa1Click, std::string_view layout = "101") {
  const Lines clean = CleanSigcbFile(layout).Lines();
  Lines broken = clean;
  for (const Edit& e : edits) Put(broken[e.record - 1], e.pos, e.value);
  const testing::Validation after = Validate(handler, broken);
  return {testing::Changes(Validate(handler, clean).report, after.report), after.status};
}

const std::string kOk = "REGISTROS DOS TITULOS TODOS OK !!!", kFim{"FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp};
const std::string kHeaderOk = std::string(40, '=') + " HEADER OK " + std::string(37, '=');
const std::string kLoteOk = std::string(37, '=') + " CAPA DE LOTE OK " + std::string(34, '=');
const std::string kConvenio = "Convenio: 123456 Inscricao: 11.222.333/0001-81";
std::string Rec(std::size_t n, std::string_view text) { return Cat("Registro numero ", n, text); }
std::string Linha(std::size_t n, std::string_view text) { return Cat("Linha ", n, text); }
std::string LoteCodes(std::string_view codes) {
  return Cat("====================== Erro na capa de lote. Codigos de erro:", codes, " ==================");
}
std::string HeaderCodes(std::string_view codes) { return Cat("Erro no HEADER. Codigos de erro:", codes); }

// The code-list line of a record of the clean file, with the title label of
// a P or the payer name of a Q.
std::string CodeLine(std::size_t record, std::string_view codes, std::string_view label = "") {
  switch (record) {
    case 1:
      return HeaderCodes(codes);
    case 2:
      return LoteCodes(codes);
    case 3:
    case 7:
    case 12:
    case 15: {
      static const char* const kLabels[] = {" NN: 14/000000000000001 SeuN: DOC00000001",
                                            " NN: 11/000000000000002 SeuN: DOC00000002",
                                            " NN: 21/000000000000003 SeuN: DOC00000003", " SeuN: DOC00000004"};
      const std::string_view own = kLabels[record == 3 ? 0 : record == 7 ? 1 : record == 12 ? 2 : 3];
      return Cat(Linha(record, " SEGMENTO P. Codigos de erro:"), codes, " Para -> ", label.empty() ? own : label);
    }
    case 4:
    case 8:
    case 13:
    case 16: {
      static const char* const kPayers[] = {"JOSE DA SILVA", "MARIA SOUZAVA", "COMERCIO DE PECAS LTDA",
                                            "NOVA EMPRESA SA"};
      const std::string_view payer = kPayers[record == 4 ? 0 : record == 8 ? 1 : record == 13 ? 2 : 3];
      return Cat(Linha(record, " SEGMENTO Q. Codigos de erro:"), codes, " Para -> ", payer);
    }
    default:
      return Cat(Linha(record, " SEGMENTO R. Codigos de erro:"), codes);
  }
}

// ---- One field, one code list: the header's, the lote header's or a title's.

struct CodeCase {
  std::size_t record, pos;
  std::string value;
  Text codes, label = "";  // label: a P's title label when the edit changes it
};

TEST(SigcbRemessa240Fields, EachBrokenFieldAddsItsCodes) {
  const std::string kMarcado{" Este Título tem que estar marcado para protestar ou devolver ou cancelar protesto."_cp};
  const std::string kBaixa{" Título não pode ter instrução de Baixa e Protesto ao mesmo tempo."_cp};
  const std::string kCedente61{
      " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 61 como CAIXA imprime."_cp};
  const std::string kCedente62{
      " Titulo com Nosso Numero indicando impressão CEDENTE, mas marcado na posição 62 como postagem da CAIXA."_cp};
  const std::string kCaixa61{
      " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 61 como cedente imprime."_cp};
  const std::string kCaixa62{
      " Titulo com Nosso Numero indicando impressão CAIXA, mas marcado na posição 62 como postagem do cedente."_cp};
  const std::string kDias{" Dias Para Protesto deve ser numérico. 37.3P Este campo deve ser numérico."_cp};
  const std::string kSeuNum{" Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp};
  const std::string kFine{" Data da Multa não pode ser anterior ou igual a data do vencimento."_cp};
  const std::vector<CodeCase> cases = {
      // File header: blank, fixed and check-digit fields.
      {1, 33, "1", " Não tem zeros na posição 33,20"_cp},
      {1, 58, "4", " DV AGENCIA inválido na posição 58"_cp},
      {1, 9, "X", " 04.0"},
      {1, 240, "X", " 23.0 24.0 25.0"},
      {1, 4, "0001", " 02.0"},
      {1, 18, "3", " 05.0"},
      {1, 143, "2", " 15.0"},
      // Lote header.
      {2, 40, "1", " 12.1"},
      {2, 60, "999999", " Campo 14.1 deve ser igual ao 11.1"},
      {2, 10, "03", " (05.1)"},
      {2, 17, "X", " 08.1"},
      {2, 59, "5", " DV AGENCIA inválido na posição 59"_cp},
      {2, 74, std::string(30, ' '), " 17.1"},
      {2, 200, "0000000A", " 22.1 22.1"},
      {2, 200, "31022026", " 22.1"},
      {2, 208, "X", " 23.1"},
      // Segment P: bank fields, modality and what it implies.
      {3, 23, "4", " (09.3P)"},
      {3, 24, "654321", " (10.3P) - Cod ced diverge do lote"},
      {3, 30, "1", " (11.3P ou 12.3P)"},
      {3, 41, "15", " 13.3P, deveria ser 14 ou 11 ou 21", " NN: 15/000000000000001 SeuN: DOC00000001"},
      {3, 221, "1", kMarcado + kBaixa},
      {3, 222, "0A", kDias},
      {3, 224, "3", Cat(kMarcado, " Cód Devolução Deveria ser 1 ou 2 38.3P"_cp)},
      {3, 59, "2", " Posição 59 deveria ser 1"_cp},
      {3, 61, "1", kCedente61},
      {3, 62, "1", kCedente62},
      {7, 61, "2", kCaixa61},
      {7, 62, "0", kCaixa62},
      {12, 59, "1", " Posição 59 deveria ser 2"_cp},
      {12, 61, "2", kCaixa61},
      {12, 225, "0X0", " Dias Para Devolução deve ser numérico."_cp},
      {12, 221, "1", " Titulo sem registro marcado para Protesto."},
      {12, 224, "3", " Código de devolução deveria ser 1 ou 2. 38.3P"_cp},
      {12, 222, "X0", kDias},
      {15, 221, "1", kBaixa},
      // Segment P: the title's own fields.
      {3, 43, "00000000000001 ", " Nosso Número menor que 15 algarismos Nosso Número não numérico."_cp,
       " NN: 14/00000000000001  SeuN: DOC00000001"},
      {3, 43, "00000000000000A", " Nosso Número não numérico."_cp, " NN: 14/00000000000000A SeuN: DOC00000001"},
      {3, 58, "2", " 14.3P - Carteira inválida deve ser = 1"_cp},
      {3, 62, "5", kCedente62 + " 18.3P"},
      {3, 63, std::string(11, ' '), Cat(" 19.3P - Falta num doc na posição"_cp, kSeuNum),
       " NN: 14/000000000000001 SeuN:            "},
      {3, 74, "X", Cat(" 19.3P - Seu número > 11 posiçoes"_cp, kSeuNum)},
      {3, 78, "32012027", " 20.3P"},
      {3, 101, "00001", " 22.3P Deveria ser 00000"},
      {3, 110, "00002026", " 26.3P"},
      {3, 118, "4", " 27.3P deveria ter 1,2 ou 3"},
      {3, 118, "1",
       " 29.3P sem valor e no campo 27.3P diz que tem valor 28.3P sem data  e no campo 27.3P diz que tem data"},
      {3, 127, "00000000000000X",
       " 29.3P não deveria ter valor, o campo 27.3P diz que é isento 29.3P Este campo deve ser numérico."_cp},
      {3, 142, "3", " 30.3P valor informado não permitido"_cp},
      {3, 151, "00000000000000X", " 32.3P Este campo deve ser numérico."_cp},
      {3, 151, "000000000000001", " 32.3P não deveria ter valor, o campo 30.3P diz que não tem desconto"_cp},
      {3, 143, "10012027", " 31.3P tem data e no campo 30.3P  diz que não tem desconto"_cp},
      {7, 143, "32012027", " 31.3P Data de desconto inválida."_cp},
      {7, 151, std::string(15, '0'), " 32.3P deveria ter valor porque 30.3P é 1"_cp},
      {7, 151, "000000000010000", " Desconto não pode ser maior ou igual ao valor do título. "_cp},
      {12, 151, "000000000010000", " Desconto não pode ser maior 100% "_cp},
      // Dates against the due date 15/01/2027.
      {7, 119, "14012027", " Data Juros do título não pode ser anterior a data vencimento."_cp},
      {7, 143, "16012027", " Data Desconto não pode ser posterior a data vencimento."_cp},
      {3, 110, "15012027", " Data Emissão do título não pode ser igual ou posterior a data vencimento."_cp},
      {3, 181, "X", " 34.3P Este campo deve ser numérico."_cp},
      {3, 221, "2", kMarcado + " 36.3P"},
      {3, 230, "1", " 41.3P"},
      {3, 240, "1", " 42.3P"},
      {3, 107, "31", " 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp},
      // Segment Q.
      {4, 18, "3", " 08.3Q"},
      {4, 20, std::string(14, '0'), " CPF/CNPJ Zerado 09.3Q"},
      {4, 33, "6", " CPF do sacado invalido"},
      {13, 33, "2", " CNPJ do sacado invalido"},
      {16, 33, "6", " CNPJ do sacado invalido"},
      {4, 74, "RU" + std::string(38, ' '), " Falta Endereço"_cp},
      {4, 129, "7000000 ", " C.E.P inválido 14.3Q"_cp},
      {4, 134, "00A", " 14.3Q"},
      {4, 152, "D ", " Falta UF"},
      {4, 155, "X", " 17.3Q/18.3Q"},
      {4, 154, "3", " 17.3Q 19.3Q"},
      {13, 169, "6", " CPF do avalista invalido"},
      {13, 170, std::string(40, ' '), " 19.3Q"},
      {16, 169, "6", " 17.3Q/18.3Q CNPJ do avalista invalido"},
      {4, 210, "001", " 20.3Q"},
      {4, 240, "X", " 22.3Q"},
      // Segment R: the fine (record 5 follows title A; record 14 has no fine).
      {5, 66, "3", " 14.3R"},
      {5, 67, "32012027", " 15.3R"},
      {5, 67, "15012027", kFine},
      {5, 75, "X", " 16.3R"},
      {5, 230, "X", " 21.3R"},
      {14, 66, "1", " 15.3R"},
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(Cat("record ", c.record, " position ", c.pos, " value '", c.value, "'"));
    const Changes changes = Broken({{c.record, c.pos, c.value}});
    EXPECT_EQ(changes.status, Outcome::Status::Faulty);
    const std::string& ok = c.record == 1 ? kHeaderOk : c.record == 2 ? kLoteOk : kOk;
    Lines added{CodeLine(c.record, c.codes, c.label)};
    if (c.record > 2) added.push_back(kFim);
    EXPECT_EQ(changes.removed, Lines{ok});
    EXPECT_EQ(changes.added, added);
  }
}

// ---- Whole lines: information, findings, and cases with more than one edit.

struct LineCase {
  std::string name;
  std::vector<Edit> edits;
  Texts removed, added;
  std::string layout = "101";
};

std::string Banco(std::string_view bank, std::string_view date = "06/12/2026", std::string_view nsa = "000123") {
  return Cat("Banco: ", bank, " Geracao: ", date, " as 12:00:00 seq ", nsa);
}
std::string Fatal(std::string_view version) {
  return Cat("#####Erro FATAL#####: Versão "_cp, version,
             " do Header de arquivo não é esperada, portanto o restante da validação está incorreta."_cp);
}

TEST(SigcbRemessa240Fields, LinesOfEachRule) {
  const std::string caixa = "CAIXA ECONOMICA FEDERAL       ", remessa = "Num remessa: 00000123 Gravacao: 06/12/2026";
  const std::string diverge{"O código do cedente no Header de lote é diferente do Header de arquivo: ERRO"_cp};
  const std::string kind{" Tipo de impressão não esperado por este aplicativo !!"_cp};
  const std::string unexpectedMovement{" Na posição 16,2 tem um código não esperado para remessa !!!"_cp};
  const std::vector<LineCase> cases = {
      // File header.
      {"GenerationDate",
       {{1, 144, "32122026"}},
       {Banco(caixa), kHeaderOk},
       {Banco(caixa, "32/12/2026"), HeaderCodes(" Erro na data: campo 17.0")}},
      {"Bank01_0", {{1, 1, "105"}}, {kHeaderOk}, {Rec(1, " com inicio diferente de 104"), HeaderCodes(" 01.0")}},
      {"CedenteCpf",
       {{1, 18, "1"}},
       {kConvenio, kHeaderOk},
       {"Convenio: 123456 Inscricao: 223.330.001-81", HeaderCodes(" cpf do cedente inválido"_cp)}},
      {"CedenteValidCpf",
       {{1, 18, "1000" + std::string(testing::kPayerCpf)}},
       {kConvenio},
       {"Convenio: 123456 Inscricao: 529.982.247-25"}},
      {"CedenteCnpj",
       {{1, 31, "82"}},
       {kConvenio, kHeaderOk},
       {"Convenio: 123456 Inscricao: 11.222.333/0001-82", HeaderCodes(" CNPJ do cedente inválido"_cp)}},
      {"CpfCnpjNotInformed",
       {{1, 19, std::string(14, '0')}},
       {kConvenio, kHeaderOk},
       {"Convenio: 123456 Inscricao: 00.000.000/0000-00",
        HeaderCodes(" Campo CPF/CNPJ não informado HEADER (19,14)"_cp)}},
      {"AlphanumericCnpj",
       {{1, 19, std::string(testing::kAlphanumericCnpj)}},
       {kConvenio},
       {"Convenio: 123456 Inscricao: 12.ABC.345/01DE-35"}},
      // Version 050 passes field 20.0 but not the version test.
      {"Version050", {{1, 164, "050"}}, {}, {Fatal("050")}},
      {"Version102", {{1, 164, "102"}}, {kHeaderOk}, {Fatal("102"), HeaderCodes(" 20.0")}},
      {"BankName",
       {{1, 103, "BANCO DO BRASIL" + std::string(15, ' ')}},
       {Banco(caixa)},
       {"HEADER DE ARQUIVO deveria ter string CAIXA ECONOMICA FEDERAL ",
        Banco("BANCO DO BRASIL" + std::string(15, ' '))}},
      {"BankNameCef", {{1, 103, "CEF" + std::string(27, ' ')}}, {Banco(caixa)}, {Banco("CEF" + std::string(27, ' '))}},
      {"TestRemittance",
       {{1, 192, "REMESSA-TESTE   "}},
       {"Tipo de remessa: REMESSA-PRODUCAO"},
       {"Tipo de remessa: REMESSA-TESTE   "}},
      {"KindOfRemittance",
       {{1, 192, "REMESSA-PRODUCAX"}},
       {"Tipo de remessa: REMESSA-PRODUCAO"},
       {"Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp}},
      {"NsaNotNumeric",
       {{1, 158, "00012A"}},
       {Banco(caixa)},
       {Banco(caixa, "06/12/2026", "00012A"), "Erro no número do nsa do arquivo. Nao é um número válido"_cp,
        "Erro no número do nsa no lote, esperado 0000012A encontrado 00000123"_cp,
        "Erro no número do nsa no lote, esperado 0000012A encontrado 00000123"_cp}},
      // Lote header.
      {"Cedente11_1",
       {{2, 34, "654321"}},
       {kConvenio, kLoteOk},
       {diverge, "Convenio: 654321 Inscricao: 11.222.333/0001-81", LoteCodes(" 11.1")}},
      {"LoteCnpj",
       {{2, 33, "2"}},
       {kConvenio, kLoteOk},
       {"Convenio: 123456 Inscricao: 11.222.333/0001-82", LoteCodes(" CNPJ do cedente inválido"_cp)}},
      {"LoteCpfCnpjNotInformed",
       {{2, 20, std::string(14, '0')}},
       {kConvenio, kLoteOk},
       {"Convenio: 123456 Inscricao: 00.000.000/0000-00",
        LoteCodes(" Campo CPF/CNPJ não informado na capa de lote (20,14)"_cp)}},
      {"LoteValidCpf",
       {{2, 18, "10000" + std::string(testing::kPayerCpf)}},
       {kConvenio},
       {"Convenio: 123456 Inscricao: 529.982.247-25"}},
      {"Length15_1",
       {{2, 66, " 000000"}},
       {kLoteOk},
       {"Erro no campo 15.1, esperado tamanho 7 encontrado tamanho 6", LoteCodes(" 15.1")}},
      {"Messages",
       {{2, 104, "PAGAR EM DIA"}, {2, 144, "NAO RECEBER APOS"}},
       {},
       {"Mensagem 1: PAGAR EM DIA", "Mensagem 2: NAO RECEBER APOS"}},
      {"LoteNsaNotNumeric",
       {{2, 184, "0000012X"}},
       {remessa},
       {"Num remessa: 0000012X Gravacao: 06/12/2026", "Erro no número do nsa no header de lote -> não é numérico"_cp}},
      {"NsaOfAnotherFile",
       {{2, 184, "00000124"}},
       {remessa},
       {"Num remessa: 00000124 Gravacao: 06/12/2026",
        "Erro no número do nsa no lote, esperado 00000123 encontrado 00000124"_cp}},
      {"DateOfRecording21_1",
       {{2, 192, "32122026"}},
       {remessa, kLoteOk},
       {"Num remessa: 00000123 Gravacao: DATA DA GRAVAÇÃO INVÁLIDA !!!"_cp, LoteCodes(" 21.1")}},
      {"DateOfCreditValid", {{2, 200, "28022026"}}, {}, {}},
      // Layout 107: a seven-digit cedente, no field 14.1, version 067, no field 42.3P.
      {"Cedente11_1Of107",
       {{2, 34, "7654321"}},
       {kConvenio, kLoteOk},
       {diverge, "Convenio: 765432 Inscricao: 11.222.333/0001-81", LoteCodes(" 11.1")},
       "107"},
      {"Zeros12_1Of107", {{2, 41, "1"}}, {kLoteOk}, {LoteCodes(" 12.1")}, "107"},
      {"VersionOf107", {{2, 14, "060"}}, {}, {"Versão do Header de Lote deveria ser 067 e está com 060"_cp}, "107"},
      {"NoField14_1Of107", {{2, 60, "999999"}}, {}, {}, "107"},
      {"SeventhCedenteDigitOf107",
       {{3, 30, "8"}},
       {kOk},
       {CodeLine(3, " (10.3P) - Cod ced diverge do lote"), kFim},
       "107"},
      {"Zeros11And12_3POf107", {{3, 31, "1"}}, {kOk}, {CodeLine(3, " (11.3P ou 12.3P)"), kFim}, "107"},
      {"NoField42_3POf107", {{3, 240, "1"}}, {}, {}, "107"},
      // Segment P.
      {"Field06_3P",
       {{3, 15, "X"}},
       {kOk},
       {Rec(3, " não é branco na posição 15,1 !!!"_cp), CodeLine(3, " 06.3P"), kFim}},
      {"DiscountOf99_99Percent", {{12, 151, "000000000009999"}}, {}, {}},
      // With an invalid due date no date is compared with it.
      {"NoDateOrderWithoutDueDate",
       {{7, 78, "32012027"}, {7, 119, "01012027"}, {7, 143, "20012027"}},
       {kOk},
       {CodeLine(7, " 20.3P"), kFim}},
      // The Y53 of title B follows a P without option: it cannot be checked.
      {"Option42_3PMissing",
       {{7, 240, " "}},
       {kOk},
       {CodeLine(7, " 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp),
        Rec(9, " 10.3Y Não pode ser validado porque o segmento 42.3P não tem 1 ou 2!!!"_cp), kFim}},
      // The due date kept for R is that of the last valid P: title C's is
      // invalid, so the fine of its R is compared with title B's.
      {"FineAgainstTheLastValidDueDate",
       {{12, 78, "32012027"}, {14, 66, "215012027000000000000200"}},
       {kOk},
       {CodeLine(12, " 20.3P"), CodeLine(14, " Data da Multa não pode ser anterior ou igual a data do vencimento."_cp),
        kFim}},
      // Segment Q.
      {"Movement07_3Q", {{4, 16, "0X"}}, {kOk}, {Rec(4, unexpectedMovement), CodeLine(4, " 07.3Q"), kFim}},
      {"NameMissing",
       {{4, 34, "JO" + std::string(38, ' ')}},
       {kOk},
       {Linha(4, " SEGMENTO Q. Codigos de erro: Falta nome"), kFim}},
      {"Field20_3QBlank", {{4, 210, "   "}}, {}, {}},
      // Segment R: position 15, second and third discounts.
      {"Field06_3R",
       {{5, 15, "X"}},
       {kOk},
       {Rec(5, " não é branco na posição 15,1 !!!"_cp), CodeLine(5, " 06.3R"), kFim}},
      {"SecondDiscountCode",
       {{5, 18, "3"}},
       {},
       {Rec(5, " 08.3R Na posição 18,1 tem um código não esperado para o desconto !!!"_cp),
        Rec(5, " 09.3R Tem desconto, mas não tem data !!!"_cp),
        Rec(5, " 10.3R Tem desconto, mas não tem valor !!!"_cp)}},
      {"NoSecondDiscountWithDate",
       {{5, 19, "10012027"}},
       {},
       {Rec(5, " 09.3R Não tem desconto, mas tem data, deveria ter zeros !!!"_cp)}},
      {"NoSecondDiscountWithAmount",
       {{5, 27, "000000000000001"}},
       {},
       {Rec(5, " 10.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp)}},
      {"SecondDiscountValid", {{5, 18, "110012027000000000000100"}}, {}, {}},
      {"ThirdDiscountCode",
       {{5, 42, "5"}},
       {},
       {Rec(5, " 11.3R Na posição 42,1 tem um código não esperado para o desconto !!!"_cp),
        Rec(5, " 12.3R Tem desconto, mas não tem data !!!"_cp),
        Rec(5, " 13.3R Tem desconto, mas não tem valor !!!"_cp)}},
      {"NoThirdDiscountWithAmount",
       {{5, 51, "000000000000001"}},
       {},
       {Rec(5, " 13.3R Não tem desconto, mas tem valor, deveria ter zeros !!!"_cp)}},
      // Segment S (record 6, print kind 3).
      {"Field06_3S",
       {{6, 15, "X"}},
       {},
       {Rec(6, " não é branco na posição 15,1 !!!"_cp), Linha(6, " Campo 06.3S preenchido e deveria ser branco !!")}},
      {"NoMessage",
       {{6, 19, std::string(160, ' ')}},
       {},
       {Rec(6, " Pelo menos um dos campos deve ser preenchido (09.3S,10.3S,11.3S,12.3S)!!!")}},
      {"Fields13And14_3S", {{6, 179, "X"}}, {}, {Rec(6, " 13.3S e 14.3S deveriam ser brancos!!!")}},
      {"PrintKind1", {{6, 18, "100"}, {6, 161, "00"}}, {}, {Linha(6, kind)}},
      {"Kind1Field09_3S",
       {{6, 18, "101"}, {6, 161, "00"}},
       {},
       {Linha(6, kind), Linha(6, " Campo 09.3S deveria ter zeros !!")}},
      {"Kind2WithoutMessage",
       {{6, 18, "200"}, {6, 21, std::string(140, ' ')}, {6, 161, "00"}},
       {},
       {Linha(6, kind), Rec(6, " 10.3S deveria ser preenchido!!!")}},
      {"Kind1Field11_3S",
       {{6, 18, "100"}, {6, 161, "01"}},
       {},
       {Linha(6, kind), Linha(6, " Campo 11.3S deveria ter zeros !!")}},
      {"Kind1Field12_3S",
       {{6, 18, "100"}, {6, 161, "00X"}},
       {},
       {Linha(6, kind), Rec(6, " 12.3S deveria ser branco!!!")}},
      // Segment Y53 (record 9, after title B whose field 42.3P is 1).
      {"Movement07_3Y",
       {{9, 16, "03"}},
       {},
       {Rec(9, unexpectedMovement), Rec(9, " 07.3Y Não encontrado no layout da CAIXA!!!"_cp)}},
      {"Movement47IsOnlyInTheYList", {{9, 16, "47"}}, {}, {Rec(9, unexpectedMovement)}},
      {"Field09_3Y", {{9, 20, "03"}}, {}, {Rec(9, " 09.3Y Deveria ser 02 ou 04!!!")}},
      {"Option1Installments", {{9, 22, "01"}}, {}, {Rec(9, " 10.3Y Deveria ser 00 porque 42.3P é igual a 1!!!"_cp)}},
      {"Option2InstallmentsZero",
       {{7, 240, "2"}},
       {},
       {Rec(9, " 10.3Y Deveria não pode ser 00 porque semento 42.3P é igual a 2!!!"_cp)}},
      {"Option2InstallmentsNotNumeric",
       {{7, 240, "2"}, {9, 22, "0X"}},
       {},
       {Rec(9, " 10.3Y Deveria ser numérico!!!"_cp)}},
      {"Option2Installments", {{7, 240, "2"}, {9, 22, "03"}}, {}, {}},
      {"Field11_3Y", {{9, 24, "3"}}, {}, {Rec(9, " 11.3Y Deveria ser 1 ou 2!!!")}},
      {"Field15_3Y", {{9, 41, "X"}}, {}, {Rec(9, " 15.3Y Deveria ser numérico!!!"_cp)}},
      {"Field17_3Y", {{9, 56, "X"}}, {}, {Rec(9, " 17.3Y Deveria ser branco!!!")}},
      {"OtherYKind",
       {{9, 18, "54"}},
       {},
       {Rec(9, " com tipo inválido ou não validado por este aplicativo !!!"_cp),
        "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 12 encontrado 11"}},
      // The frame: characters, numbering, trailers.
      {"AccentedLetter", {{4, 34, "JOS\xC9"}}, {}, {Rec(4, " com Caracter inválido nas posições: 37,"_cp)}},
      {"TwoAccentedLetters", {{4, 34, "\xC7\xC3O"}}, {}, {Rec(4, " com Caracter inválido nas posições: 34,35,"_cp)}},
      {"ControlCharacter", {{6, 100, "\t"}}, {}, {Rec(6, " com Caracter inválido nas posições: 100,"_cp)}},
      {"LoteNotNumeric", {{3, 4, "00X1"}}, {}, {Rec(3, " lote não numérico na posição 4 tamanho 4 "_cp)}},
      {"SequenceAndPosition15",
       {{4, 9, "00005"}, {4, 15, "X"}},
       {kOk},
       {Rec(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp),
        Rec(4, " não é branco na posição 15,1 !!!"_cp), Rec(4, " sequencial do lote inválido."_cp),
        CodeLine(4, " 06.3Q"), kFim}},
      {"LoteCount",
       {{10, 18, "000008"}},
       {"Total de registros do lote = 9"},
       {Linha(10, " Total de registros do lote não confere !! informado 8 calculado 9"_cp)}},
      {"LoteCountNotNumeric",
       {{10, 18, "00000X"}},
       {"Total de registros do lote = 9"},
       {Rec(10, " 05.5 deveria ser numérico!!!"_cp)}},
      {"LoteTrailer12And13", {{10, 93, "X"}}, {}, {Rec(10, " Os campos 12.5 e 13.5 devem ser brancos")}},
      {"FileTrailer05_9", {{18, 18, "00000X"}}, {}, {Rec(18, " Campo 05.9 deveria ser numérico!!!"_cp)}},
      {"FileTrailer06_9", {{18, 24, "00001X"}}, {}, {Rec(18, " Campo 06.9 deveria ser numérico!!!"_cp)}},
      {"FileRecordCount", {{18, 24, "000017"}}, {}, {Linha(18, " Total de registros do arquivo não confere !!"_cp)}},
      {"LoteCountOfTheFileIsNotCompared", {{18, 18, "000005"}}, {}, {}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Changes changes = Broken(c.edits, SIGCBRemessa1Click, c.layout);
    // Lines that only inform leave the verdict clean.
    const auto informs = [](std::string_view line) {
      for (const std::string_view start : {"Convenio: ", "Banco: ", "Tipo de remessa: ", "Mensagem "})
        if (line.starts_with(start)) return true;
      return false;
    };
    const bool clean = std::all_of(c.added.begin(), c.added.end(), informs);
    EXPECT_EQ(changes.status, clean ? Outcome::Status::Clean : Outcome::Status::Faulty);
    EXPECT_EQ(changes.removed, L(c.removed));
    EXPECT_EQ(changes.added, L(c.added));
  }
}

// ---- Changes of structure.

Lines CleanLines() { return CleanSigcbFile().Lines(); }
const std::string kDivergent{" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp};
const std::string kPNotQ{" Total de registros P não é igual aos de Q !!"_cp};
const std::string kFileCount{" Total de registros do arquivo não confere !!"_cp};

struct Structure {
  std::string name;
  Lines lines;
  Texts removed, added;
};

TEST(SigcbRemessa240Frame, StructureChanges) {
  const Lines clean = CleanLines();
  Lines short239 = clean, otherType = clean, noTrailer = clean, twoHeaders = clean;
  short239[2].pop_back();  // title A's P loses position 240
  otherType.insert(otherType.end() - 1, clean[16]);
  Put(otherType[17], 8, "7");
  noTrailer.pop_back();
  twoHeaders.insert(twoHeaders.begin() + 1, clean[0]);
  const std::vector<Structure> cases = {
      {"LineOf239Characters", short239, {kOk}, {Rec(3, " com tamanho 239"), CodeLine(3, " 42.3P"), kFim}},
      {"RecordOfAnotherType", otherType, {}, {Rec(18, " com tipo inválido !!!"_cp), Linha(19, kFileCount)}},
      {"MissingFileTrailerLeavesTheLastLoteUncounted",
       noTrailer,
       {},
       {"Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 7 encontrado 11",
        "Existem mais ou menos de um TRAILER FINAL, as informações aqui podem estar incorretas."_cp}},
      {"TwoFileHeaders",
       twoHeaders,
       {},
       {std::string(40, '=') + " HEADER " + std::string(40, '='),
        "Cedente centralizador: EMPRESA CENTRALIZADORA LTDA   ", "Tipo de remessa: REMESSA-PRODUCAO",
        Banco("CAIXA ECONOMICA FEDERAL       "), kConvenio, kHeaderOk, Linha(19, kFileCount),
        "Existem mais ou menos de um HEADER, as informações aqui podem estar incorretas."_cp}},
  };
  for (const Structure& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::Validation v = Validate(SIGCBRemessa1Click, c.lines);
    EXPECT_EQ(v.status, Outcome::Status::Faulty);
    const testing::ReportChanges changes = testing::Changes(Validate(SIGCBRemessa1Click, clean).report, v.report);
    EXPECT_EQ(changes.removed, L(c.removed));
    EXPECT_EQ(changes.added, L(c.added));
  }
  // "Valida Parcial" shows the found segments per kind.
  const testing::Validation partial = Validate(SIGCBRemessaValidaserros1Click, noTrailer);
  EXPECT_EQ(partial.report.end()[-3],
            "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 7 encontrado tipo P -> 4 tipo Q -> 4 "
            "tipo R -> 2 tipo S -> 1");
}

TEST(SigcbRemessa240Frame, OrderOfPAndQ) {
  const std::string p = testing::SigcbP("101"), q = testing::SigcbQ();
  testing::SigcbFile ppq, pqqpq;
  ppq.lotes = {{p, p, q}};
  pqqpq.lotes = {{p, q, q, p, q}};
  const testing::Validation v1 = Validate(SIGCBRemessa1Click, ppq.Lines()),
                            v2 = Validate(SIGCBRemessa1Click, pqqpq.Lines());
  EXPECT_EQ(Lines(v1.report.end() - 4, v1.report.end()),
            (Lines{Linha(5, kDivergent), "Total de registros do lote = 5", Linha(6, kPNotQ), kOk}));
  EXPECT_EQ(Lines(v2.report.end() - 6, v2.report.end()),
            (Lines{Linha(5, kDivergent), Linha(6, kDivergent), Linha(7, kDivergent), "Total de registros do lote = 7",
                   Linha(8, kPNotQ), kOk}));
}

TEST(SigcbRemessa240Frame, EmptyFileAndAbortedRuns) {
  const testing::Validation empty = Validate(SIGCBRemessa1Click, {});
  EXPECT_EQ(empty.status, Outcome::Status::Faulty);
  EXPECT_EQ(empty.report,
            (L({"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp,
                "Validando arquivo: FILE",
                "Existem mais ou menos de um HEADER, as informações aqui podem estar incorretas."_cp,
                "Existem mais ou menos de um TRAILER FINAL, as informações aqui podem estar incorretas."_cp, kOk})));
  // A non-digit record type or sequence is converted as an integer: the run
  // ends there, without summary.
  for (const auto& [pos, value] : {std::pair<std::size_t, std::string>{8, "X"}, {9, "0000A"}}) {
    Lines lines = CleanLines();
    Put(lines[2], pos, value);
    const testing::Validation v = Validate(SIGCBRemessa1Click, lines);
    EXPECT_EQ(v.status, Outcome::Status::Aborted);
    EXPECT_EQ(v.error, "'" + value + "' is not a valid integer value");
    EXPECT_EQ(v.report.back(), kLoteOk);
  }
}

// ---- "Valida Parcial" beside "Valida Tudo" on the same records.

struct SideBySide {
  std::string name;
  std::vector<Edit> edits;
  Texts fullAdded, partialAdded;
};

TEST(SigcbPartial, DiffersFromFullValidationOnlyWhereItShould) {
  const std::string lote{"Versão do Header de Lote deveria ser 060 e está com 045"_cp};
  const std::string exempt{" 28.3P tem data e no campo 27.3P diz que é isento"_cp};
  const std::vector<SideBySide> cases = {
      {"LoteLayoutVersion", {{2, 14, "045"}}, {lote, LoteCodes(" (06.1 ou 07.1)")}, {LoteCodes(" (06.1 ou 07.1)")}},
      {"InterestDateInvalid",
       {{7, 119, "32012027"}},
       {CodeLine(7, " 28.3P sem data  e no campo 27.3P diz que tem data"), kFim},
       {CodeLine(7, " 28.3P sem data  e no campo 27.3P diz que tem data 28.3P"), kFim}},
      {"ExemptWithAmount",
       {{3, 127, "000000000000001"}},
       {CodeLine(3, " 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp), kFim},
       {}},
      {"ExemptWithValidDate", {{3, 119, "16012027"}}, {CodeLine(3, exempt), kFim}, {}},
      {"ExemptWithInvalidDate", {{3, 119, "32012027"}}, {CodeLine(3, exempt), kFim}, {CodeLine(3, " 28.3P"), kFim}},
      {"TitleAmountNotNumeric",
       {{3, 86, "00000000001000X"}},
       {CodeLine(3, " 21.3P  Este campo deve ser numérico"_cp), kFim},
       {CodeLine(3, " 21.3P 21.3P  Este campo deve ser numérico"_cp), kFim}},
      {"Field35_3P",
       {{3, 196, "DOC00000009"}},
       {CodeLine(3, " Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp), kFim},
       {}},
      {"PrintKind",
       {{6, 18, "7"}},
       {Linha(6, " Tipo de impressão não esperado por este aplicativo !!"_cp),
        Rec(6, " 08.3S deveria ser 1, 2 ou 3!!!")},
       {}},
  };
  for (const SideBySide& c : cases) {
    SCOPED_TRACE(c.name);
    // A code list replaces the OK line of its kind; S findings replace nothing.
    const std::size_t record = c.edits[0].record;
    const Lines ok = record == 2 ? Lines{kLoteOk} : record == 6 ? Lines{} : Lines{kOk};
    const Changes full = Broken(c.edits), partial = Broken(c.edits, SIGCBRemessaValidaserros1Click);
    EXPECT_EQ(full.removed, ok);
    EXPECT_EQ(full.added, L(c.fullAdded));
    EXPECT_EQ(partial.removed, c.partialAdded.empty() ? Lines{} : ok);
    EXPECT_EQ(partial.added, L(c.partialAdded));
  }
}

}  // namespace
}  // namespace verilote
