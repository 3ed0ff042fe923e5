// What the JavaScript glue shares between its files: the arguments as
// JavaScript packs them, and the shapes of the findings the streamed report
// lines are (the record kind and the field codes a finding names), numbered
// so that a line's number can be handed back to open the inspector on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/fields.hpp"

namespace verilote::web {

// Arguments as JavaScript passes them: each one followed by a NUL byte.
std::vector<std::string_view> Arguments(const char* packed, int size);

class FindingShapes {
 public:
  struct Shape {
    const RecordKind* kind;
    std::string fields;
  };
  // The number of a kind and its field codes, from 1; 0 when the table is
  // full (a run repeats the same few: a table this size is never filled by
  // one, but a long session may).
  static std::uint32_t Of(const RecordKind* kind, std::string_view fields);
  // The shape numbered `number`, or nullptr for a number never given.
  static const Shape* At(std::uint32_t number);
};

}  // namespace verilote::web
