#include "tools/generated_file.hpp"

#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"

namespace verilote {

namespace {

const std::string& Distinct(const std::string& path, std::initializer_list<std::string_view> inputs) {
  for (const std::string_view input : inputs) {
    if (platform::SameFile(path, std::string(input)))
      throw FileError(path, Cat("is the input file '", input, "': refused, nothing written"));
  }
  return path;
}

}  // namespace

GeneratedFile::GeneratedFile(const OutputDirectory& directory, std::string_view name,
                             std::initializer_list<std::string_view> inputs)
    : path_(Cat(directory.path, '/', name)), userData_(directory.userData), out_(Distinct(path_, inputs)) {}

void GeneratedFile::WriteLine(std::string_view line) { out_.WriteLine(line); }

std::string GeneratedFile::Where() const {
  return userData_ ? Cat('\r', path_, '\r', kUserDataNotice) : Cat('\r', path_);
}

}  // namespace verilote
