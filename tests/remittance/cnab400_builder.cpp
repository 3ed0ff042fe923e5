#include "remittance/cnab400_builder.hpp"

#include "app/record_reader.hpp"
#include "app/report.hpp"

namespace verilote::testing {

namespace {

std::vector<std::string> Example(const char* name) {
  RecordReader reader(Cat(VERILOTE_SOURCE_DIR, "/examples/", name));
  std::vector<std::string> records;
  for (std::string rec; reader.Next(rec);) records.push_back(rec);
  return records;
}

}  // namespace

std::vector<std::string> CleanSigcb400(std::string_view version) {
  std::vector<std::string> file = Example("sigcb400/remessa_sigcb400_ok.rem");
  if (version == "007") {  // the cedente code takes seven digits: 1234567
    Put(file[0], 27, "12341234567");
    Put(file[0], 101, "007");
    Put(file[1], 18, "0001234567");
    Put(file[3], 18, "0001234567");
  }
  return file;
}

std::vector<std::string> CleanSicob400() { return Example("sicob400/remessa_sicob400_ok.rem"); }

}  // namespace verilote::testing
