// The field dictionary of the old SAD/SICOB remittance (app/fields.hpp). The
// bank's layout names these fields by their positions alone, so their codes
// are the positions: "1-9", "15", "124-125".
#include "remittance/sad_fields.hpp"

#include "app/cp1252.hpp"
#include "banking/record_rules.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kRequired = "obrigatório"_cp;
constexpr std::string_view kNumber = "Campo numérico"_cp;

// The date of generation is shown from positions 12-19, but the year is of two
// digits: positions 18-19 belong to the stretch that must be blank.
constexpr FieldSpec kHeaderFields[] = {
    {"1-5", 1, 5, "Código"_cp},
    {"6-11", 6, 11, "Quantidade de registros", "numérico, igual ao número de registros do arquivo"_cp},
    {"12-13", 12, 13, "Dia da geração"_cp},
    {"14-15", 14, 15, "Mês da geração"_cp},
    {"16-17", 16, 17, "Ano da geração"_cp},
    {"18-162", 18, 162, "Reservado", "em branco"},
};

constexpr FieldSpec kPayerFields[] = {
    {"1-9", 1, 9, kNumber, kNumeric},
    {"10-14", 10, 14, kNumber, kNumeric},
    {"15", 15, 15, "Código de movimento"_cp, "I, A ou E"},
    {"16-55", 16, 55, "Nome", kRequired},
    {"56-95", 56, 95, "Endereço"_cp, kRequired},
    {"96-109", 96, 109, "Bairro", kRequired},
    {"110-123", 110, 123, "Cidade", kRequired},
    {"124-125", 124, 125, "UF", kRequired},
    {"126-133", 126, 133, kNumber, kNumeric},
    {"134-142", 134, 142, kNumber, kNumeric},
    {"143-147", 143, 147, kNumber, kNumeric},
    {"148", 148, 148, "Separador", "em branco"},
    {"149-157", 149, 157, kNumber, kNumeric},
    {"158-162", 158, 162, kNumber, kNumeric},
};

// Only the first record is a header; told apart by its bytes, a header is
// blank after its date, where a payer has its name and address.
const RecordKind* KindOf(std::string_view rec) { return Blank<20, 162>(rec) ? &kSadHeaderKind : &kSadPayerKind; }

constexpr const RecordKind* kKinds[] = {&kSadHeaderKind, &kSadPayerKind};

}  // namespace

const RecordKind kSadHeaderKind{"Header", kHeaderFields};
const RecordKind kSadPayerKind{"Sacado", kPayerFields};

const LayoutFields kSadFields{"sad", kKinds, KindOf};

}  // namespace verilote
