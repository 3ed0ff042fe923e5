#include "returns/return_files.hpp"

#include "app/cp1252.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

std::string Record(std::size_t length, std::initializer_list<Field> fields) {
  std::string rec(length, ' ');
  for (const Field& field : fields) rec.replace(field.from - 1, field.text.size(), field.text);
  return rec;
}

std::string Header240(char code, std::string_view version, std::string_view situation) {
  const std::string c(1, code);
  return Record(240, {{1, "1040000"},
                      {8, "0"},
                      {18, "212345678000199"},
                      {33, "00000000000000000000"},
                      {53, "012345123456"},
                      {65, "00000000"},
                      {73, "EMPRESA TESTE LTDA"},
                      {103, "C ECON FEDERAL"},
                      {143, c},
                      {144, "06012014101500000123"},
                      {164, version},
                      {167, "00000"},
                      {192, situation},
                      {226, "000"}});
}

std::string LoteHeader240(std::string_view lote) {
  return Record(240, {{1, "104"},
                      {4, lote},
                      {8, "1T0100030"},
                      {18, "2012345678000199"},
                      {54, "012345123456"},
                      {74, "EMPRESA TESTE LTDA"},
                      {184, "000000010601201400000000"}});
}

std::string T(std::string_view movement, std::string_view nossoNumero, std::string_view seuNumero,
              std::string_view value, std::string_view tariff, std::string_view motives) {
  return Record(240, {{1, "10400013"},
                      {9, "00001T "},
                      {16, movement},
                      {18, "000000123456000000"},
                      {40, nossoNumero},
                      {58, "1"},
                      {59, seuNumero},
                      {74, "31012014"},
                      {82, value},
                      {97, "104001234"},
                      {131, "090000000000000000"},
                      {149, "PAGADOR DA SILVA"},
                      {199, tariff},
                      {214, motives}});
}

std::string U(std::string_view movement, std::string_view paid, std::string_view net, std::string_view occurrence,
              std::string_view credit) {
  const std::string zeros(15, '0');
  return Record(240, {{1, "10400013"},
                      {9, "00002U "},
                      {16, movement},
                      {18, zeros},
                      {33, zeros},
                      {48, zeros},
                      {63, zeros},
                      {78, paid},
                      {93, net},
                      {108, zeros},
                      {123, zeros},
                      {138, occurrence},
                      {146, credit},
                      {154, "000000000000"}});
}

std::string Trailer240(char type, std::string_view count) {
  if (type == '9') return Record(240, {{1, "10499999"}, {18, "000001"}, {24, count}});
  return Record(240, {{1, "10400015"}, {18, count}});
}

void Reading::Title(const returns::ReturnTitle& t) {
  KeptTitle& kept = titles.emplace_back();
  static_cast<returns::ReturnTitle&>(kept) = t;
  kept.nn = t.nossoNumero;
  kept.seu = t.seuNumero;
  kept.mov = t.movimento;
  kept.nossoNumero = kept.nn;
  kept.seuNumero = kept.seu;
  kept.movimento = kept.mov;
  kept.bancoRecebedor = kept.agenciaRecebedora = kept.agenciaDv = kept.bytes = {};
}

void Reading::Remark(std::uint64_t record, std::string_view, std::string_view text) {
  remarks.emplace_back(record, ToUtf8(text));
}

Reading Read(std::string_view bytes, returns::ReturnKind kind) {
  TempFile file(bytes, ".ret");
  Reading reading;
  returns::ReadReturn(file.path(), kind, reading);
  return reading;
}

}  // namespace verilote::testing
