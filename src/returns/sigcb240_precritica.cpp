// The SIGCB CNAB 240 pre-validation return: the remittance's headers
// answered, then a W segment per remittance record with faults, naming the
// record by its position in the remittance (W 18-23) and each fault as a
// pair "field code, error code" (W 25-28, 29-30, and again every seven
// positions).
#include <algorithm>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "returns/return_codes.hpp"
#include "returns/return_readers.hpp"
#include "returns/w_field_map.hpp"

namespace verilote::returns {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsErrorByte(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z'); }
// W 25-28 as the bank writes it: "183P", "18.0", "180 ", "0000"; free text
// after the pairs does not begin so.
bool IsFieldCode(std::string_view code) {
  return IsDigit(code[0]) && IsDigit(code[1]) && (IsDigit(code[2]) || code[2] == '.') &&
         (IsErrorByte(code[3]) || code[3] == '.' || code[3] == ' ');
}

class Run {
 public:
  Run(LineReader& reader, ReturnVisitor& visitor) : reader_(reader), visitor_(visitor) {}

  void Read() {
    std::string_view rec;
    bool trailer = false;
    while (NextRecord(reader_, visitor_, rec, 240)) {
      if (rec.size() < 14 || rec.substr(0, 3) != "104") {
        Remark(rec, "registro ilegível: não começa pelo código do banco 104 ou é curto demais; ignorado"_cp);
        continue;
      }
      if (rec[7] != '0' && rec.substr(3, 4) == "0000" && !loteZeroNoted_) {
        loteZeroNoted_ = true;
        Remark(rec, "lote de serviço \"0000\" (posições 4-7; o manual começa em 0001): aceito"_cp);
      }
      if (rec[7] == '0')
        FileHeader(rec);
      else if (rec[7] == '3' && rec[13] == 'W')
        W(rec);
      else if (rec[7] == '3')
        Remark(rec, Cat("segmento '", rec[13], "' (posição 14) numa pré-crítica: ignorado"_cp));
      else if (rec[7] == '9')
        trailer = true;
      else if (rec[7] != '1' && rec[7] != '5')
        Remark(rec, Cat("tipo de registro '", rec[7], "' (posição 8) desconhecido: ignorado"_cp));
    }
    if (!trailer) RemarkMissingTrailer(visitor_, reader_);
  }

 private:
  void Remark(std::string_view rec, std::string_view text) { visitor_.Remark(reader_.Number(), rec, text); }

  void FileHeader(std::string_view rec) {
    ReturnHeader header = Sigcb240Header(rec, ReturnKind::Sigcb240Precritica);
    // 172-191 says what became of the remittance; 192-211 the file's kind.
    if (!TextAt(rec, 172, 191).empty()) header.situacao = Cat(TextAt(rec, 172, 191), " / ", header.situacao);
    const char code = rec.size() > 142 ? rec[142] : ' ';
    if (code != '3' && code != '4' && code != '5')
      Remark(rec,
             Cat("código remessa/retorno '"_cp, code,
                 "' (posição 143; a pré-crítica traz 3, 4 ou 5): lido como pré-crítica pelas posições 192-211"_cp));
    if (header.versao != "050")
      Remark(
          rec,
          Cat("versão do leiaute \""_cp, header.versao,
              "\" no header de arquivo (posições 164-166; a pré-crítica traz 050, o banco ecoa às vezes a da remessa): aceita"_cp));
    visitor_.Header(header);
  }

  void W(std::string_view rec) {
    PrecriticaError error;
    error.record = reader_.Number();
    error.bytes = rec;
    const auto position = NumberAt(rec, 18, 23, false);
    error.remessaRecord = position ? static_cast<std::uint64_t>(*position) : 0;
    if (!position || *position == 0)
      Remark(rec, Cat("posição do registro na remessa (posições 18-23) \""_cp, TextAt(rec, 18, 23),
                      "\": o registro da remessa não é conhecido"_cp));
    bool any = false;
    // Pairs from 25 every seven positions, up to the record's end.
    for (std::size_t at = 25; at + 5 <= rec.size(); at += 7) {
      const std::string_view code = rec.substr(at - 1, 4);
      const std::string_view erro = rec.substr(at + 3, 2);
      const std::string_view rest = TextAt(rec, at, rec.size());
      if (rest.empty()) break;
      const bool pair = IsFieldCode(code) && std::all_of(erro.begin(), erro.end(), IsErrorByte) &&
                        (at + 6 > rec.size() || rec[at + 5] == ' ');
      if (!pair) {
        Remark(rec,
               Cat("texto após os pares campo/erro (posições "_cp, at, '-', rec.size(), "): \"", rest, "\": ignorado"));
        break;
      }
      any = true;
      error.campo = code;
      error.erro = erro;
      error.texto = DescribeCode(CodeTable::MotivoRejeicao240, erro);
      SetField(error, ResolveWField240(code, erro));
      visitor_.Error(error);
    }
    if (!any) Remark(rec, "segmento W sem nenhum par campo/erro (posições 25-31)"_cp);
  }

  LineReader& reader_;
  ReturnVisitor& visitor_;
  bool loteZeroNoted_ = false;
};

}  // namespace

void ReadSigcb240Precritica(LineReader& reader, ReturnVisitor& visitor) { Run(reader, visitor).Read(); }

}  // namespace verilote::returns
