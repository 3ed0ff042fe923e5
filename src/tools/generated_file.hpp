// A file that a rebuild command generates "beside the program": in the
// directory the report copies use (ChooseOutputDirectory), written whole and
// put in place only by Commit() (ReplacingFile), so that an old file of that
// name survives a failed run. It never replaces one of the run's inputs.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/report_output.hpp"

namespace verilote {

class GeneratedFile {
 public:
  // Throws FileError naming the file when it is the same file as one of
  // `inputs` (one inode, whatever names or links lead to it).
  GeneratedFile(const OutputDirectory& directory, std::string_view name,
                std::initializer_list<std::string_view> inputs);

  // The line followed by CR LF.
  void WriteLine(std::string_view line);
  void Commit() { out_.Commit(); }

  // What a success message adds: a carriage return and the file's full path,
  // and the notice when it went to the user data directory.
  std::string Where() const;

 private:
  std::string path_;
  bool userData_;
  ReplacingFile out_;
};

}  // namespace verilote
