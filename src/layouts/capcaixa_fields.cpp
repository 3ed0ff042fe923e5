// The field dictionary of the CapCaixa guide import file (app/fields.hpp).
// The bank's layout names these fields by their positions alone, so their
// codes are the positions: "3-16", "91", "373-432".
#include "layouts/capcaixa_fields.hpp"

#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "detect/field_registry.hpp"

namespace verilote {

namespace {

constexpr std::string_view kPlain = "sem acentos: letras, dígitos, branco e . - $ % & @ , / ( ) :"_cp;
constexpr std::string_view kNumeric = "numérico"_cp;
constexpr std::string_view kFilled = "numérico, zeros no mínimo"_cp;
constexpr std::string_view kOptional = "numérico quando preenchido, zeros no mínimo"_cp;
constexpr std::string_view kRequired = "sem acentos, obrigatório"_cp;
constexpr std::string_view kDate = "data ddmmaaaa válida"_cp;
constexpr std::string_view kYear = "numérico, de 2000 até o ano seguinte ao corrente"_cp;
constexpr std::string_view kValueKind = "6 (valor em reais) ou 7 (quantidade)";
constexpr std::string_view kValue = "numérico, zeros no mínimo; não zero quando a moeda é 6"_cp;
constexpr std::string_view kNumber = "Campo numérico"_cp;

// Type 1: the taxpayer's CPF (6-16, type 2 "1") or CNPJ (3-16, type 2 "2").
std::string Taxpayer(std::string_view rec) {
  const bool cpf = At(rec, 2, '1');
  if (!cpf && !At(rec, 2, '2')) return std::string(kNumeric);
  const std::string_view number = cpf ? Field(rec, 6, 16) : Field(rec, 3, 16);
  const std::string_view base = number.substr(0, cpf ? 9 : 12);
  if (base.size() != (cpf ? 9u : 12u) || !IsAllDigits(base))
    return std::string(cpf ? "CPF válido nas posições 6-16"_cp : "CNPJ válido nas posições 3-16"_cp);
  if (cpf) return Cat("CPF ", base, CpfDvPair(base), " nas posições 6-16"_cp);
  return Cat("CNPJ ", base, CnpjDvPair(base));
}

constexpr FieldSpec kUnionFields[] = {
    {"1", 1, 1, "Tipo de registro", "1"},
    {"2", 2, 2, "Tipo de identificação"_cp, "1 (CPF), 2 (CNPJ) ou 3"},
    {"3-16", 3, 16, "CPF ou CNPJ do contribuinte", {}, Taxpayer},
    {"17-56", 17, 56, "Nome do contribuinte", kRequired},
    {"57-76", 57, 76, "Cidade do contribuinte", kRequired},
    {"77-78", 77, 78, "Estado do contribuinte", "dois caracteres, obrigatório"_cp},
    {"79-82", 79, 82, "Exercício"_cp, kYear},
    {"83-90", 83, 90, "Data de vencimento", kDate},
    {"91", 91, 91, "Moeda", kValueKind},
    {"92-106", 92, 106, "Valor da contribuição"_cp, kValue},
    {"107-121", 107, 121, kNumber, kFilled},
    {"122-136", 122, 136, kNumber, kFilled},
    {"137-151", 137, 151, kNumber, kFilled},
    {"152-166", 152, 166, "Complemento", kPlain},
    {"167-172", 167, 172, kNumber, kOptional},
    {"173-187", 173, 187, kNumber, kOptional},
    {"188-202", 188, 202, kNumber, kOptional},
    {"203-217", 203, 217, kNumber, kOptional},
    {"218-232", 218, 232, kNumber, kOptional},
    {"233-247", 233, 247, kNumber, kOptional},
    {"248-253", 248, 253, kNumber, kOptional},
    {"254-268", 254, 268, kNumber, kOptional},
    {"269-274", 269, 274, kNumber, kOptional},
    {"275-280", 275, 280, kNumber, kOptional},
    {"281-285", 281, 285, kNumber, kOptional},
    {"286-300", 286, 300, "Atividade", kPlain},
    {"301", 301, 301, "Tipo identificador"_cp, "em branco, 1, 2, 3 ou 4"},
    {"302-309", 302, 309, "Data de início da atividade"_cp, "em branco ou data ddmmaaaa válida"_cp},
    {"310-329", 310, 329, "Bairro do contribuinte", kPlain},
    {"330-337", 330, 337, "CEP", "em branco ou numérico"_cp},
    {"338-342", 338, 342, "Reservado (não examinado)"_cp},
    {"343-372", 343, 372, "Endereço do contribuinte"_cp, kPlain},
    {"373-432", 373, 432, "Mensagem 1", kPlain},
    {"433-492", 433, 492, "Mensagem 2", kPlain},
    {"493-552", 493, 552, "Mensagem 3", kPlain},
    {"553-612", 553, 612, "Mensagem 4", kPlain},
    {"613-672", 613, 672, "Mensagem 5", kPlain},
    {"673-732", 673, 732, "Mensagem 6", kPlain},
};

constexpr FieldSpec kUtilityFields[] = {
    {"1", 1, 1, "Tipo de registro", "2"},
    {"2-41", 2, 41, "Nome do contribuinte", kRequired},
    {"42-53", 42, 53, "Código"_cp, "numérico, não só zeros"_cp},
    {"54-61", 54, 61, "Data de validade", kDate},
    {"62-73", 62, 73, "Livre 1", kPlain},
    {"74-78", 74, 78, kNumber, kNumeric},
    {"79-86", 79, 86, "Data de vencimento", kDate},
    {"87-90", 87, 90, "Exercício"_cp, kYear},
    {"91-95", 91, 95, "Código da receita ou tributo"_cp, kNumeric},
    {"96-115", 96, 115, "Receita ou tributo", kRequired},
    {"116-122", 116, 122, "Parcela", kRequired},
    {"123-132", 123, 132, "Nome da moeda", kRequired},
    {"133-162", 133, 162, "Endereço"_cp, kRequired},
    {"163-168", 163, 168, "Número no endereço"_cp, kRequired},
    {"169-183", 169, 183, "Complemento", kPlain},
    {"184-203", 184, 203, "Bairro", kRequired},
    {"204-223", 204, 223, "Cidade", kRequired},
    {"224-225", 224, 225, "Estado", kRequired},
    {"226-233", 226, 233, kNumber, kNumeric},
    {"234", 234, 234, "Tipo de moeda", kValueKind},
    {"235-249", 235, 249, "Valor", kValue},
    {"250-264", 250, 264, kNumber, kNumeric},
    {"265-279", 265, 279, kNumber, kNumeric},
    {"280-294", 280, 294, kNumber, kNumeric},
    {"295-309", 295, 309, kNumber, kNumeric},
    {"310-324", 310, 324, kNumber, kNumeric},
    {"325-384", 325, 384, "Mensagem 1", kPlain},
    {"385-444", 385, 444, "Mensagem 2", kPlain},
    {"445-504", 445, 504, "Mensagem 3", kPlain},
    {"505-564", 505, 564, "Mensagem 4", kPlain},
    {"565-624", 565, 624, "Mensagem 5", kPlain},
    {"625-684", 625, 684, "Mensagem 6", kPlain},
    {"685-744", 685, 744, "Mensagem 7", kPlain},
    {"745-804", 745, 804, "Mensagem 8", kPlain},
    {"805-864", 805, 864, "Mensagem 9", kPlain},
    {"865-924", 865, 924, "Mensagem 10", kPlain},
    {"925-984", 925, 984, "Mensagem 11", kPlain},
};

constexpr FieldSpec kBookletFields[] = {
    {"1", 1, 1, "Tipo de registro", "3"},
    {"2-41", 2, 41, "Nome do contribuinte", kRequired},
    {"42-49", 42, 49, "Código"_cp, "numérico, não só zeros"_cp},
    {"50-53", 50, 53, "Parte final do código"_cp, "0000"},
    {"54-61", 54, 61, "Data de validade", kDate},
    {"62-73", 62, 73, "Livre 1", kPlain},
    {"74-78", 74, 78, kNumber, kNumeric},
    {"79-86", 79, 86, "Data de vencimento", kDate},
    {"87-90", 87, 90, "Exercício"_cp, kYear},
    {"91-97", 91, 97, "Parcela", kRequired},
    {"98-107", 98, 107, "Nome da moeda", kRequired},
    {"108-137", 108, 137, "Endereço"_cp, kRequired},
    {"138-143", 138, 143, "Número no endereço"_cp, kRequired},
    {"144-158", 144, 158, "Complemento", kPlain},
    {"159-178", 159, 178, "Bairro", kRequired},
    {"179-198", 179, 198, "Cidade", kRequired},
    {"199-200", 199, 200, "Estado", kRequired},
    {"201-208", 201, 208, kNumber, kNumeric},
    {"209", 209, 209, "Tipo de moeda", kValueKind},
    {"210-224", 210, 224, "Valor", kValue},
    {"225-239", 225, 239, kNumber, kNumeric},
    {"240-254", 240, 254, kNumber, kNumeric},
    {"255-269", 255, 269, kNumber, kNumeric},
    {"270-284", 270, 284, kNumber, kNumeric},
    {"285-299", 285, 299, kNumber, kNumeric},
    {"300-359", 300, 359, "Mensagem 1", kPlain},
    {"360-419", 360, 419, "Mensagem 2", kPlain},
    {"420-479", 420, 479, "Mensagem 3", kPlain},
    {"480-539", 480, 539, "Mensagem 4", kPlain},
    {"540-599", 540, 599, "Mensagem 5", kPlain},
    {"600-659", 600, 659, "Mensagem 6", kPlain},
    {"660-719", 660, 719, "Mensagem 7", kPlain},
    {"720-779", 720, 779, "Mensagem 8", kPlain},
    {"780-839", 780, 839, "Mensagem 9", kPlain},
    {"840-899", 840, 899, "Mensagem 10", kPlain},
    {"900-959", 900, 959, "Mensagem 11", kPlain},
};

constexpr FieldSpec kUnknownFields[] = {
    {"1", 1, 1, "Tipo de registro", "1, 2 ou 3, o tipo da primeira linha"_cp},
    {"2-300", 2, 300, "Conteúdo de um tipo que o layout não prevê"_cp},
};

constexpr const RecordKind* kKinds[] = {&kCapcaixaUnionKind, &kCapcaixaUtilityKind, &kCapcaixaBookletKind,
                                        &kCapcaixaUnknownKind};

}  // namespace

const RecordKind kCapcaixaUnionKind{"Guia sindical (tipo 1)", kUnionFields};
const RecordKind kCapcaixaUtilityKind{"Concessionárias e serviços públicos (tipo 2)"_cp, kUtilityFields};
const RecordKind kCapcaixaBookletKind{"Carnês e assemelhados (tipo 3)"_cp, kBookletFields};
const RecordKind kCapcaixaUnknownKind{"Registro de tipo desconhecido", kUnknownFields};

const RecordKind* CapcaixaKindOf(std::string_view rec) {
  if (At(rec, 1, '1')) return &kCapcaixaUnionKind;
  if (At(rec, 1, '2')) return &kCapcaixaUtilityKind;
  if (At(rec, 1, '3')) return &kCapcaixaBookletKind;
  return &kCapcaixaUnknownKind;
}

// A line of another type than the file's still gets the checks of its own
// type, so each of the three layouts knows every kind.
const LayoutFields kCapcaixaSindicalFields{"capcaixa-sindical", kKinds, CapcaixaKindOf};
const LayoutFields kCapcaixaConcessionariasFields{"capcaixa-concessionarias", kKinds, CapcaixaKindOf};
const LayoutFields kCapcaixaCarnesFields{"capcaixa-carnes", kKinds, CapcaixaKindOf};

}  // namespace verilote
