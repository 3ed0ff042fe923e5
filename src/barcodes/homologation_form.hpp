// The blank homologation form of printed boletos, shared by the collection
// boleto and the union-contribution boleto reports: filled in by hand after
// printing, only the date of generation varies.
#pragma once

#include <span>
#include <string_view>

namespace verilote {

class Host;

// The rows that differ between the two forms.
struct HomologationForm {
  std::string_view program;                 // "NCOSB001", "TCSSB001"
  std::string_view title;                   // the line after the dated one
  std::span<const std::string_view> items;  // the first items to tick
  std::string_view payerItem;               // "(   ) Conferido ..."
};

// Appends the form to the report: three blank lines, the dated heading, then
// the form's rows.
void WriteHomologationForm(Host& host, const HomologationForm& form);

}  // namespace verilote
