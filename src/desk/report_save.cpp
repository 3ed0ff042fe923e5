#include "desk/report_save.hpp"

#include "app/errors.hpp"
#include "app/report_output.hpp"
#include "desk/report_store.hpp"

namespace verilote {

std::string SaveReport(const ReportStore& store, const std::string& path) {
  try {
    ReplacingFile file(path);
    store.ForEach(0, store.Size(), [&file](std::uint64_t, std::string_view line) {
      file.WriteLine(line);
      return true;
    });
    file.Commit();
    return {};
  } catch (const FileError& e) {
    // The work file went with `file`; the target was never touched.
    return e.what();
  }
}

}  // namespace verilote
