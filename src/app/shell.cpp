#include "app/shell.hpp"

#include "app/host.hpp"

namespace verilote {

Verdict LimparTela1Click(Host& host) {
  host.ReportClear();
  host.ReportAppend(kNoticeLine);
  return Verdict::Clean;
}

}  // namespace verilote
