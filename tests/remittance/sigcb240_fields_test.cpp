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
using testing::kFim, testing::kOk, testing::Lin, testing::Reg;
using testing::Put;
using testing::Validate;
using Lines = std::vector<std::string>;
using S = std::string;

// An expected line as a case writes it: a std::string, a _cp literal or a plain literal.
struct Text : S {
  Text(std::string_view t) : S(t) {}
  Text(const S& t) : S(t) {}
  Text(const char* t) : S(t) {}
};
using Texts = std::vector<Text>;
Lines L(const Texts& texts) { return Lines(texts.begin(), texts.end()); }

struct Edit {
  std::size_t record, pos;  // record of the clean file, 1-based
  S value;
};
using Edits = std::vector<Edit>;
S Trace(const Edits& edits, std::string_view layout = "101") {
  S text = Cat("layout ", layout);
  for (const Edit& e : edits) text += Cat(", record ", e.record, " position ", e.pos, " value '", e.value, "'");
  return text;
}

// The report changes that the edits make, against the clean file's report,
// and the verdict on the broken file.
struct Changes : testing::ReportChanges {
  Outcome::Status status;
};
Changes Broken(const Edits& edits, Handler handler = SIGCBRemessa1Click, std::string_view layout = "101") {
  const Lines clean = CleanSigcbFile(layout).Lines();
  Lines broken = clean;
  for (const Edit& e : edits) Put(broken[e.record - 1], e.pos, e.value);
  const testing::Validation after = Validate(handler, broken);
  return {testing::Changes(Validate(handler, clean).report, after.report), after.status};
}

S Sp(std::size_t n) { return S(n, ' '); }
S Z(std::size_t n) { return S(n, '0'); }
const S kHOk = S(40, '=') + " HEADER OK " + S(37, '='), kLOk = S(37, '=') + " CAPA DE LOTE OK " + S(34, '=');
const S kConv = "Convenio: 123456 Inscricao: 11.222.333/0001-81", kTotal9 = "Total de registros do lote = 9";
const S kBlank15{" não é branco na posição 15,1 !!!"_cp}, kNum{" Este campo deve ser numérico."_cp};
const S kSeuNum{" Seu Num divergente -> 19.3P deve ser igual ao início de 35.3P"_cp};
const S kNoDate = " 28.3P sem data  e no campo 27.3P diz que tem data";
const S kIsento{" 29.3P não deveria ter valor, o campo 27.3P diz que é isento"_cp};
const S kFine{" Data da Multa não pode ser anterior ou igual a data do vencimento."_cp};
const S kKind{" Tipo de impressão não esperado por este aplicativo !!"_cp};
S Conv(std::string_view inscricao, std::string_view cedente = "123456") {
  return Cat("Convenio: ", cedente, " Inscricao: ", inscricao);
}
S LC(std::string_view codes) {
  return Cat(S(22, '='), " Erro na capa de lote. Codigos de erro:", codes, " ", S(18, '='));
}
S HC(std::string_view codes) { return Cat("Erro no HEADER. Codigos de erro:", codes); }

// The code-list line of a record of the clean file, with the title label of
// a P (or `label` when the edit changes it) or the payer name of a Q.
S CL(std::size_t record, std::string_view codes, std::string_view label = "") {
  static const char* const kP[] = {" NN: 14/000000000000001 SeuN: DOC00000001",
                                   " NN: 11/000000000000002 SeuN: DOC00000002",
                                   " NN: 21/000000000000003 SeuN: DOC00000003", " SeuN: DOC00000004"};
  static const char* const kQ[] = {"JOSE DA SILVA", "MARIA SOUZAVA", "COMERCIO DE PECAS LTDA", "NOVA EMPRESA SA"};
  if (record <= 2) return record == 1 ? HC(codes) : LC(codes);
  const std::size_t title = record < 7 ? 0 : record < 11 ? 1 : record < 15 ? 2 : 3;  // A, B, C, D
  const char segment = CleanSigcbFile().Lines()[record - 1][13];
  const S line = Cat(Lin(record, " SEGMENTO "), segment, ". Codigos de erro:", codes);
  if (segment == 'R') return line;
  return Cat(line, " Para -> ", segment == 'Q' ? kQ[title] : label.empty() ? kP[title] : label);
}

// ---- One field, one code list: the header's, the lote header's or a title's.

struct CodeCase {
  std::size_t record, pos;
  S value;
  Text codes, label = "";  // label: a P's title label when the edit changes it
};

// Fields 09.3P, the payer's CPF, the fine date equal to the due date and the
// two record counts are broken in the faulty example, checked end to end.
TEST(SigcbRemessa240Fields, EachBrokenFieldAddsItsCodes) {
  const S marcado{" Este Título tem que estar marcado para protestar ou devolver ou cancelar protesto."_cp};
  const S baixa{" Título não pode ter instrução de Baixa e Protesto ao mesmo tempo."_cp};
  const S nn{" Titulo com Nosso Numero indicando impressão "_cp}, ced = Cat(nn, "CEDENTE, mas marcado na posição 6"_cp);
  const S ced61 = ced + "1 como CAIXA imprime.", ced62 = ced + "2 como postagem da CAIXA.";
  const S caixa61 = Cat(nn, "CAIXA, mas marcado na posição 61 como cedente imprime."_cp);
  const S caixa62 = Cat(nn, "CAIXA, mas marcado na posição 62 como postagem do cedente."_cp);
  const S dias = Cat(" Dias Para Protesto deve ser numérico. 37.3P"_cp, kNum), nnNum{" Nosso Número não numérico."_cp};
  const S nnShort{" Nosso Número menor que 15 algarismos"_cp};
  // clang-format off
  const std::vector<CodeCase> cases = {
      // File header: blank, fixed and check-digit fields.
      {1, 33, "1", " Não tem zeros na posição 33,20"_cp},
      {1, 58, "4", " DV AGENCIA inválido na posição 58"_cp},
      {1, 9, "X", " 04.0"},
      {1, 4, "0001", " 02.0"},
      {1, 18, "3", " 05.0"},
      
      // Lote header.
      {2, 40, "1", " 12.1"},
      {2, 60, "999999", " Campo 14.1 deve ser igual ao 11.1"},
      {2, 10, "03", " (05.1)"},
      {2, 59, "5", " DV AGENCIA inválido na posição 59"_cp},
      {2, 74, Sp(30), " 17.1"},
      {2, 200, "0000000A", " 22.1 22.1"},
      {2, 200, "31022026", " 22.1"},
      // Segment P: bank fields, modality and what it implies.
      {3, 24, "654321", " (10.3P) - Cod ced diverge do lote"},
      {3, 30, "1", " (11.3P ou 12.3P)"},
      {3, 41, "15", " 13.3P, deveria ser 14 ou 11 ou 21", " NN: 15/000000000000001 SeuN: DOC00000001"},
      {3, 221, "1", marcado + baixa},
      {3, 222, "0A", dias},
      {3, 224, "3", Cat(marcado, " Cód Devolução Deveria ser 1 ou 2 38.3P"_cp)},
      {3, 59, "2", " Posição 59 deveria ser 1"_cp},
      {3, 61, "1", ced61},
      {3, 62, "1", ced62},
      {7, 61, "2", caixa61},
      {7, 62, "0", caixa62},
      {12, 59, "1", " Posição 59 deveria ser 2"_cp},
      {12, 225, "0X0", " Dias Para Devolução deve ser numérico."_cp},
      {12, 221, "1", " Titulo sem registro marcado para Protesto."},
      {12, 224, "3", " Código de devolução deveria ser 1 ou 2. 38.3P"_cp},
      {15, 221, "1", baixa},
      // Segment P: the title's own fields.
      {3, 43, "00000000000001 ", nnShort + nnNum, " NN: 14/00000000000001  SeuN: DOC00000001"},
      {3, 43, "00000000000000A", nnNum, " NN: 14/00000000000000A SeuN: DOC00000001"},
      {3, 58, "2", " 14.3P - Carteira inválida deve ser = 1"_cp},
      {3, 62, "5", ced62 + " 18.3P"},
      {3, 63, Sp(11), Cat(" 19.3P - Falta num doc na posição"_cp, kSeuNum), " NN: 14/000000000000001 SeuN:" + Sp(12)},
      {3, 74, "X", Cat(" 19.3P - Seu número > 11 posiçoes"_cp, kSeuNum)},
      {3, 78, "32012027", " 20.3P"},
      {3, 101, "00001", " 22.3P Deveria ser 00000"},
      {3, 110, "00002026", " 26.3P"},
      {3, 118, "4", " 27.3P deveria ter 1,2 ou 3"},
      {3, 118, "1", " 29.3P sem valor e no campo 27.3P diz que tem valor" + kNoDate},
      {3, 127, "00000000000000X", kIsento + " 29.3P" + kNum},
      {3, 142, "3", " 30.3P valor informado não permitido"_cp},
      {3, 151, "00000000000000X", " 32.3P" + kNum},
      {3, 166, "00000000000000X", " 33.3P" + kNum},
      {3, 181, "00000000000000X", " 34.3P" + kNum},
      {3, 151, "000000000000001", " 32.3P não deveria ter valor, o campo 30.3P diz que não tem desconto"_cp},
      {3, 143, "10012027", " 31.3P tem data e no campo 30.3P  diz que não tem desconto"_cp},
      {7, 143, "32012027", " 31.3P Data de desconto inválida."_cp},
      {7, 151, Z(15), " 32.3P deveria ter valor porque 30.3P é 1"_cp},
      // Dates against the due date 15/01/2027.
      {7, 119, "14012027", " Data Juros do título não pode ser anterior a data vencimento."_cp},
      {7, 143, "16012027", " Data Desconto não pode ser posterior a data vencimento."_cp},
      {3, 110, "15012027", " Data Emissão do título não pode ser igual ou posterior a data vencimento."_cp},
      {3, 221, "2", marcado + " 36.3P"},
      {3, 230, "1", " 41.3P"},
      {3, 240, "1", " 42.3P"},
      {3, 107, "31", " 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp},
      // Segment Q.
      {4, 18, "3", " 08.3Q"},
      {4, 20, Z(14), " CPF/CNPJ Zerado 09.3Q"},
      {13, 33, "2", " CNPJ do sacado invalido"},
      {4, 74, "RU" + Sp(38), " Falta Endereço"_cp},
      {4, 129, "7000000 ", " C.E.P inválido 14.3Q"_cp},
      {4, 134, "00A", " 14.3Q"},
      {4, 152, "D ", " Falta UF"},
      {4, 155, "X", " 17.3Q/18.3Q"},
      {4, 154, "3", " 17.3Q 19.3Q"},
      {13, 169, "6", " CPF do avalista invalido"},
      {13, 170, Sp(40), " 19.3Q"},
      {16, 169, "6", " 17.3Q/18.3Q CNPJ do avalista invalido"},
      {4, 210, "001", " 20.3Q"},
      // Segment R: the fine (record 5 follows title A; record 14 has no fine).
      {5, 66, "3", " 14.3R"},
      {5, 67, "32012027", " 15.3R"},
      {5, 75, "X", " 16.3R"},
      {14, 66, "1", " 15.3R"},
  };
  // clang-format on
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(Trace({{c.record, c.pos, c.value}}));
    const Changes changes = Broken({{c.record, c.pos, c.value}});
    EXPECT_EQ(changes.status, Outcome::Status::Faulty);
    // A header's code list takes the place of its OK banner; any code list
    // turns the verdict.
    Lines removed{kOk};
    if (c.record <= 2) removed.insert(removed.begin(), c.record == 1 ? kHOk : kLOk);
    EXPECT_EQ(changes.removed, removed);
    EXPECT_EQ(changes.added, (Lines{CL(c.record, c.codes, c.label), kFim}));
  }
}

// ---- Whole lines: information, findings, and cases with more than one edit.

// Any finding turns the verdict: the OK line goes and the closing line comes,
// unless a case names them already.
Lines WithVerdict(Lines lines, bool finding, const S& verdict = kOk) {
  if (finding && std::find(lines.begin(), lines.end(), verdict) == lines.end()) lines.push_back(verdict);
  return lines;
}

struct LineCase {
  Edits edits;
  Texts removed, added;
  S layout = "101";
};

S Banco(std::string_view bank, std::string_view date = "06/12/2026", std::string_view nsa = "000123") {
  return Cat("Banco: ", bank, " Geracao: ", date, " as 12:00:00 seq ", nsa);
}
S Fatal(std::string_view version) {
  return Cat("#####Erro FATAL#####: Versão "_cp, version,
             " do Header de arquivo não é esperada, portanto o restante da validação está incorreta."_cp);
}

TEST(SigcbRemessa240Fields, LinesOfEachRule) {
  const auto Remessa = [](std::string_view nsa, std::string_view date = "06/12/2026") {
    return Cat("Num remessa: ", nsa, " Gravacao: ", date);
  };
  const S caixa = "CAIXA ECONOMICA FEDERAL       ", remessa = Remessa("00000123");
  const S diverge{"O código do cedente no Header de lote é diferente do Header de arquivo: ERRO"_cp};
  const S move{" Na posição 16,2 tem um código não esperado para remessa !!!"_cp}, nsa{"Erro no número do nsa "_cp};
  const S nsaLote = nsa + "no lote, esperado ", nsa12A = nsaLote + "0000012A encontrado 00000123",
          cpf = S(testing::kPayerCpf);
  const S zeros{" Não tem desconto, mas tem "_cp}, without{" Tem desconto, mas não tem "_cp};
  const S badCode{" tem um código não esperado para o desconto !!!"_cp},
      chars{" com Caracter inválido nas posições: "_cp};
  const S option101{" 42.3P deveria ser 1 ou 2 a partir da versão 101"_cp};
  const S notInformed{" Campo CPF/CNPJ não informado"_cp}, kZeroCnpj = "00.000.000/0000-00";
  const S bb = "BANCO DO BRASIL" + Sp(15), pagar = "PAGAR EM DIA", apos = "NAO RECEBER APOS";
  const S kind192{"Header com erro na posição 192, deveria ter REMESSA-PRODUCAO ou REMESSA-TESTE"_cp};
  const S nsaFile = Cat(nsa, "do arquivo. Nao é um número válido"_cp);
  const S noOption = Reg(9, " 10.3Y Não pode ser validado porque o segmento 42.3P não tem 1 ou 2!!!"_cp);
  const S code18 = Reg(5, Cat(" 08.3R Na posição 18,1"_cp, badCode)),
          code42 = Reg(5, Cat(" 11.3R Na posição 42,1"_cp, badCode));
  const S seq5 = Reg(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp);
  const S badSeq = Reg(4, " sequencial do lote inválido."_cp);
  const S notFound = "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter 12 encontrado 11";
  // clang-format off
  const std::vector<LineCase> cases = {
      // File header.
      {{{1, 144, "32122026"}}, {Banco(caixa), kHOk}, {Banco(caixa, "32/12/2026"), HC(" Erro na data: campo 17.0")}},
      {{{1, 1, "105"}}, {kHOk}, {Reg(1, " com inicio diferente de 104"), HC(" 01.0")}},
      {{{1, 18, "1"}}, {kConv, kHOk}, {Conv("223.330.001-81"), HC(" cpf do cedente inválido"_cp)}},
      {{{1, 18, "1000" + cpf}}, {kConv}, {Conv("529.982.247-25")}},
      {{{1, 31, "82"}}, {kConv, kHOk}, {Conv("11.222.333/0001-82"), HC(" CNPJ do cedente inválido"_cp)}},
      {{{1, 19, Z(14)}}, {kConv, kHOk}, {Conv(kZeroCnpj), HC(Cat(notInformed, " HEADER (19,14)"))}},
      {{{1, 19, S(testing::kAlphanumericCnpj)}}, {kConv}, {Conv("12.ABC.345/01DE-35")}},
      {{{1, 164, "050"}}, {}, {Fatal("050")}},  // 050 passes field 20.0 but not the version test
      {{{1, 164, "102"}}, {kHOk}, {Fatal("102"), HC(" 20.0")}},
      {{{1, 103, bb}}, {Banco(caixa)}, {"HEADER DE ARQUIVO deveria ter string CAIXA ECONOMICA FEDERAL ", Banco(bb)}},
      {{{1, 192, "REMESSA-TESTE   "}}, {"Tipo de remessa: REMESSA-PRODUCAO"}, {"Tipo de remessa: REMESSA-TESTE   "}},
      {{{1, 192, "REMESSA-PRODUCAX"}}, {"Tipo de remessa: REMESSA-PRODUCAO"}, {kind192}},
      {{{1, 158, "00012A"}}, {Banco(caixa)}, {Banco(caixa, "06/12/2026", "00012A"), nsaFile, nsa12A, nsa12A}},
      // Lote header.
      {{{2, 34, "654321"}}, {kConv, kLOk}, {diverge, Conv("11.222.333/0001-81", "654321"), LC(" 11.1")}},
      {{{2, 33, "2"}}, {kConv, kLOk}, {Conv("11.222.333/0001-82"), LC(" CNPJ do cedente inválido"_cp)}},
      {{{2, 20, Z(14)}}, {kConv, kLOk}, {Conv(kZeroCnpj), LC(Cat(notInformed, " na capa de lote (20,14)"))}},
      {{{2, 18, "10000" + cpf}}, {kConv}, {Conv("529.982.247-25")}},
      {{{2, 66, " 000000"}}, {kLOk}, {"Erro no campo 15.1, esperado tamanho 7 encontrado tamanho 6", LC(" 15.1")}},
      {{{2, 104, pagar}, {2, 144, apos}}, {}, {"Mensagem 1: " + pagar, "Mensagem 2: " + apos}},
      {{{2, 184, "0000012X"}}, {remessa}, {Remessa("0000012X"), Cat(nsa, "no header de lote -> não é numérico"_cp)}},
      {{{2, 184, "00000124"}}, {remessa}, {Remessa("00000124"), nsaLote + "00000123 encontrado 00000124"}},
      {{{2, 192, "32122026"}}, {remessa, kLOk}, {Remessa("00000123", "DATA DA GRAVAÇÃO INVÁLIDA !!!"_cp), LC(" 21.1")}},
      // Layout 107: a seven-digit cedente, no field 14.1, version 067, no field 42.3P.
      {{{2, 34, "7654321"}}, {kConv, kLOk}, {diverge, Conv("11.222.333/0001-81", "765432"), LC(" 11.1")}, "107"},
      {{{2, 41, "1"}}, {kLOk}, {LC(" 12.1")}, "107"},
      {{{2, 14, "060"}}, {}, {"Versão do Header de Lote deveria ser 067 e está com 060"_cp}, "107"},
      {{{3, 30, "8"}}, {kOk}, {CL(3, " (10.3P) - Cod ced diverge do lote"), kFim}, "107"},
      {{{3, 31, "1"}}, {kOk}, {CL(3, " (11.3P ou 12.3P)"), kFim}, "107"},
      // Segment P.
      {{{3, 15, "X"}}, {kOk}, {Reg(3, kBlank15), CL(3, " 06.3P"), kFim}},
      // With an invalid due date no date is compared with it.
      {{{7, 78, "32012027"}, {7, 119, "01012027"}, {7, 143, "20012027"}}, {kOk}, {CL(7, " 20.3P"), kFim}},
      // The Y53 of title B follows a P without option: it cannot be checked.
      {{{7, 240, " "}}, {kOk}, {CL(7, option101), noOption, kFim}},
      // The due date kept for R is that of the last valid P: title C's is
      // invalid, so the fine of its R is compared with title B's.
      {{{12, 78, "32012027"}, {14, 66, "215012027000000000000200"}}, {kOk}, {CL(12, " 20.3P"), CL(14, kFine), kFim}},
      // Segment Q.
      {{{4, 16, "0X"}}, {kOk}, {Reg(4, move), CL(4, " 07.3Q"), kFim}},
      {{{4, 34, "JO" + Sp(38)}}, {kOk}, {Lin(4, " SEGMENTO Q. Codigos de erro: Falta nome"), kFim}},
      // Segment R: position 15, second and third discounts.
      {{{5, 15, "X"}}, {kOk}, {Reg(5, kBlank15), CL(5, " 06.3R"), kFim}},
      {{{5, 18, "3"}}, {}, {code18, Reg(5, " 09.3R" + without + "data !!!"), Reg(5, " 10.3R" + without + "valor !!!")}},
      {{{5, 19, "10012027"}}, {}, {Reg(5, " 09.3R" + zeros + "data, deveria ter zeros !!!")}},
      {{{5, 27, "000000000000001"}}, {}, {Reg(5, " 10.3R" + zeros + "valor, deveria ter zeros !!!")}},
      {{{5, 42, "5"}}, {}, {code42, Reg(5, " 12.3R" + without + "data !!!"), Reg(5, " 13.3R" + without + "valor !!!")}},
      // Segment S (record 6, print kind 3).
      {{{6, 15, "X"}}, {}, {Reg(6, kBlank15), Lin(6, " Campo 06.3S preenchido e deveria ser branco !!")}},
      {{{6, 19, Sp(160)}}, {}, {Reg(6, " Pelo menos um dos campos deve ser preenchido (09.3S,10.3S,11.3S,12.3S)!!!")}},
      {{{6, 179, "X"}}, {}, {Reg(6, " 13.3S e 14.3S deveriam ser brancos!!!")}},
      {{{6, 18, "100"}, {6, 161, "00"}}, {}, {Lin(6, kKind)}},
      {{{6, 18, "101"}, {6, 161, "00"}}, {}, {Lin(6, kKind), Lin(6, " Campo 09.3S deveria ter zeros !!")}},
      {{{6, 18, "200" + Sp(140) + "00"}}, {}, {Lin(6, kKind), Reg(6, " 10.3S deveria ser preenchido!!!")}},
      {{{6, 18, "100"}, {6, 161, "01"}}, {}, {Lin(6, kKind), Lin(6, " Campo 11.3S deveria ter zeros !!")}},
      {{{6, 18, "100"}, {6, 161, "00X"}}, {}, {Lin(6, kKind), Reg(6, " 12.3S deveria ser branco!!!")}},
      // Segment Y53 (record 9, after title B whose field 42.3P is 1); 47 is a movement of Y only.
      {{{9, 16, "03"}}, {}, {Reg(9, move), Reg(9, " 07.3Y Não encontrado no layout da CAIXA!!!"_cp)}},
 {{{9, 20, "03"}}, {}, {Reg(9, " 09.3Y Deveria ser 02 ou 04!!!")}},
      {{{9, 22, "01"}}, {}, {Reg(9, " 10.3Y Deveria ser 00 porque 42.3P é igual a 1!!!"_cp)}},
      {{{7, 240, "2"}}, {}, {Reg(9, " 10.3Y Deveria não pode ser 00 porque semento 42.3P é igual a 2!!!"_cp)}},
      {{{7, 240, "2"}, {9, 22, "0X"}}, {}, {Reg(9, " 10.3Y Deveria ser numérico!!!"_cp)}},
 {{{9, 24, "3"}}, {}, {Reg(9, " 11.3Y Deveria ser 1 ou 2!!!")}},
      {{{9, 41, "X"}}, {}, {Reg(9, " 15.3Y Deveria ser numérico!!!"_cp)}},
      {{{9, 56, "X"}}, {}, {Reg(9, " 17.3Y Deveria ser branco!!!")}},
      {{{9, 18, "54"}}, {}, {Reg(9, " com tipo inválido ou não validado por este aplicativo !!!"_cp), notFound}},
      // The frame: characters, numbering, trailers; the file trailer's lote count is not compared.
      {{{4, 34, "\xC7\xC3O"}}, {}, {Reg(4, chars + "34,35,")}},
      {{{3, 4, "00X1"}}, {}, {Reg(3, " lote não numérico na posição 4 tamanho 4 "_cp)}},
      {{{4, 9, "00005"}, {4, 15, "X"}}, {kOk}, {seq5, Reg(4, kBlank15), badSeq, CL(4, " 06.3Q"), kFim}},
      {{{10, 18, "00000X"}}, {kTotal9}, {Reg(10, " 05.5 deveria ser numérico!!!"_cp)}},
      {{{10, 93, "X"}}, {}, {Reg(10, " Os campos 12.5 e 13.5 devem ser brancos")}},
      {{{18, 18, "00000X"}}, {}, {Reg(18, " Campo 05.9 deveria ser numérico!!!"_cp)}},
  };
  // clang-format on
  // Lines that only inform leave the verdict clean.
  const auto informs = [](std::string_view line) {
    for (const std::string_view start : {"Convenio: ", "Banco: ", "Tipo de remessa: ", "Mensagem "})
      if (line.starts_with(start)) return true;
    return false;
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(Trace(c.edits, c.layout));
    const Changes changes = Broken(c.edits, SIGCBRemessa1Click, c.layout);
    const bool clean = std::all_of(c.added.begin(), c.added.end(), informs);
    EXPECT_EQ(changes.status, clean ? Outcome::Status::Clean : Outcome::Status::Faulty);
    EXPECT_EQ(changes.removed, WithVerdict(L(c.removed), !clean));
    EXPECT_EQ(changes.added, WithVerdict(L(c.added), !clean, kFim));
  }
}

// ---- The clean file: layout 101's report is the example's (checked byte for
// byte by the examples test); layout 107 and "Valida Parcial" differ from it
// only where they should.

TEST(SigcbRemessa240, CleanFilesOfBothLayoutsAndBothCommands) {
  const testing::Validation full = Validate(SIGCBRemessa1Click, CleanSigcbFile("101").Lines());
  EXPECT_EQ(full.status, Outcome::Status::Clean);
  ASSERT_EQ(full.host.dialogs.size(), 1u);
  EXPECT_EQ(full.host.dialogs[0].title, "Selecione o arquivo remessa SIGCB");
  EXPECT_EQ(full.host.dialogs[0].filter, FileFilter::Remessa);
  EXPECT_EQ(full.host.messages, L({"Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp}));
  const testing::Validation v107 = Validate(SIGCBRemessa1Click, CleanSigcbFile("107").Lines());
  EXPECT_EQ(v107.status, Outcome::Status::Clean);
  const testing::ReportChanges seven = testing::Changes(full.report, v107.report);
  EXPECT_EQ(seven.removed, Lines{Conv("11.222.333/0001-81")});
  EXPECT_EQ(seven.added, Lines{Conv("11.222.333/0001-81", "1234567")});
  const testing::Validation partial = Validate(SIGCBRemessaValidaserros1Click, CleanSigcbFile("101").Lines());
  EXPECT_EQ(partial.status, Outcome::Status::Clean);
  const testing::ReportChanges notice = testing::Changes(full.report, partial.report);
  EXPECT_EQ(notice.removed, Lines{});
  EXPECT_EQ(
      notice.added,
      L({"****  Esta opção não valida algumas coisas que apesar de ser obrigatório no layout, a CAIXA por enquanto não valida o campo ****"_cp}));
  EXPECT_EQ(partial.host.messages, L({"Não está validando Regsitros especiais tipo Y e valores zerados."_cp}));
}

// ---- Changes of structure.

const S kDivergent{" Quantidade de SEGMENTO P e SEGMENTO Q está divergente"_cp};
const S kPNotQ{" Total de registros P não é igual aos de Q !!"_cp};
const S kMoreOrLess = "Existem mais ou menos de um ", kIncorrect{", as informações aqui podem estar incorretas."_cp};

TEST(SigcbRemessa240Frame, StructureChanges) {
  const Lines clean = CleanSigcbFile().Lines(), cleanReport = Validate(SIGCBRemessa1Click, clean).report;
  Lines short239 = clean, otherType = clean, noTrailer = clean, twoHeaders = clean;
  short239[2].pop_back();  // title A's P loses position 240
  otherType.insert(otherType.end() - 1, clean[16]);
  Put(otherType[17], 8, "7");
  noTrailer.pop_back();
  twoHeaders.insert(twoHeaders.begin() + 1, clean[0]);
  Lines header(cleanReport.begin() + 2, cleanReport.begin() + 8);  // the header's lines, "HEADER" to "HEADER OK"
  const S noFileTrailer = kMoreOrLess + "TRAILER FINAL" + kIncorrect;
  const S found = "Existem registros diferentes de P,Q,R,S ou Y53  deveriam ter ";
  const S fileCount{" Total de registros do arquivo não confere !!"_cp};
  header.insert(header.end(), {Lin(19, fileCount), kMoreOrLess + "HEADER" + kIncorrect});
  const struct {
    const char* name;
    Lines lines, removed, added;
  } cases[] = {
      // clang-format off
      {"LineOf239Characters", short239, {kOk}, {Reg(3, " com tamanho 239"), CL(3, " 42.3P"), kFim}},
      {"RecordOfAnotherType", otherType, {}, {Reg(18, " com tipo inválido !!!"_cp), Lin(19, fileCount)}},
      {"MissingFileTrailerLeavesTheLastLoteUncounted", noTrailer, {}, {found + "7 encontrado 11", noFileTrailer}},
      {"TwoFileHeaders", twoHeaders, {}, header},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::Validation v = Validate(SIGCBRemessa1Click, c.lines);
    EXPECT_EQ(v.status, Outcome::Status::Faulty);
    const testing::ReportChanges changes = testing::Changes(cleanReport, v.report);
    EXPECT_EQ(changes.removed, WithVerdict(c.removed, true));
    EXPECT_EQ(changes.added, WithVerdict(c.added, true, kFim));
  }
  // "Valida Parcial" shows the found segments per kind.
  const testing::Validation partial = Validate(SIGCBRemessaValidaserros1Click, noTrailer);
  EXPECT_EQ(partial.report.end()[-3], found + "7 encontrado tipo P -> 4 tipo Q -> 4 tipo R -> 2 tipo S -> 1");
}

TEST(SigcbRemessa240Frame, OrderOfPAndQ) {
  const S p = testing::SigcbP("101"), q = testing::SigcbQ();
  testing::SigcbFile ppq = CleanSigcbFile(), pqqpq = ppq;
  ppq.lotes = {{p, p, q}};
  pqqpq.lotes = {{p, q, q, p, q}};
  const Lines v1 = Validate(SIGCBRemessa1Click, ppq.Lines()).report;
  const Lines v2 = Validate(SIGCBRemessa1Click, pqqpq.Lines()).report;
  EXPECT_EQ(Lines(v1.end() - 4, v1.end()),
            (Lines{Lin(5, kDivergent), "Total de registros do lote = 5", Lin(6, kPNotQ), kFim}));
  EXPECT_EQ(Lines(v2.end() - 6, v2.end()), (Lines{Lin(5, kDivergent), Lin(6, kDivergent), Lin(7, kDivergent),
                                                  "Total de registros do lote = 7", Lin(8, kPNotQ), kFim}));
}

TEST(SigcbRemessa240Frame, EmptyFileAndAbortedRuns) {
  const testing::Validation empty = Validate(SIGCBRemessa1Click, {});
  EXPECT_EQ(empty.status, Outcome::Status::Faulty);
  EXPECT_EQ(empty.report, (L({"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp,
                              "Validando arquivo: FILE", kMoreOrLess + "HEADER" + kIncorrect,
                              kMoreOrLess + "TRAILER FINAL" + kIncorrect, kFim})));
  // A non-digit record type or sequence is converted as an integer: the run
  // ends there, without summary.
  for (const Edit& e : Edits{{3, 8, "X"}, {3, 9, "0000A"}}) {
    Lines lines = CleanSigcbFile().Lines();
    Put(lines[e.record - 1], e.pos, e.value);
    const testing::Validation v = Validate(SIGCBRemessa1Click, lines);
    EXPECT_EQ(v.status, Outcome::Status::Aborted);
    EXPECT_EQ(v.error, "'" + e.value + "' is not a valid integer value");
    EXPECT_EQ(v.report.back(), kLOk);
  }
}

// ---- "Valida Parcial" beside "Valida Tudo" on the same records.

TEST(SigcbPartial, DiffersFromFullValidationOnlyWhereItShould) {
  const S exempt{" 28.3P tem data e no campo 27.3P diz que é isento"_cp},
      amount{" 21.3P  Este campo deve ser numérico"_cp};
  const S version{"Versão do Header de Lote deveria ser 060 e está com 045"_cp};
  const struct {
    Edits edits;
    Texts full, partial;  // the lines each run adds
  } cases[] = {
      // clang-format off
      {{{2, 14, "045"}}, {version, LC(" (06.1 ou 07.1)")}, {LC(" (06.1 ou 07.1)")}},
      {{{7, 119, "32012027"}}, {CL(7, kNoDate), kFim}, {CL(7, kNoDate + " 28.3P"), kFim}},
      {{{3, 127, "000000000000001"}}, {CL(3, kIsento), kFim}, {}},
      {{{3, 119, "16012027"}}, {CL(3, exempt), kFim}, {}},
      {{{3, 119, "32012027"}}, {CL(3, exempt), kFim}, {CL(3, " 28.3P"), kFim}},
      {{{3, 86, "00000000001000X"}}, {CL(3, amount), kFim}, {CL(3, " 21.3P" + amount), kFim}},
      {{{3, 196, "DOC00000009"}}, {CL(3, kSeuNum), kFim}, {}},
      {{{6, 18, "7"}}, {Lin(6, kKind), Reg(6, " 08.3S deveria ser 1, 2 ou 3!!!")}, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Trace(c.edits));
    // A lote header's code list replaces its OK banner; every finding turns the verdict.
    const Lines ok = c.edits[0].record == 2 ? Lines{kLOk, kOk} : Lines{kOk};
    const Changes full = Broken(c.edits), partial = Broken(c.edits, SIGCBRemessaValidaserros1Click);
    EXPECT_EQ(full.removed, ok);
    EXPECT_EQ(full.added, WithVerdict(L(c.full), true, kFim));
    EXPECT_EQ(partial.removed, c.partial.empty() ? Lines{} : ok);
    EXPECT_EQ(partial.added, WithVerdict(L(c.partial), !c.partial.empty(), kFim));
  }
}

}  // namespace
}  // namespace verilote
