// Feeds random bytes to the record reader: it must split them under the
// reading rule without crashing, and every byte before the first Ctrl+Z must
// come back as a record byte or a terminator.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/record_reader.hpp"
#include "support/fake_host.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  verilote::testing::TempFile file(bytes);
  verilote::RecordReader reader(file.path());
  std::string record;
  std::size_t recordBytes = 0, records = 0;
  while (reader.Next(record)) {
    if (record.find('\r') != std::string::npos || record.find('\x1a') != std::string::npos) std::abort();
    recordBytes += record.size();
    ++records;
  }
  const std::string_view read = bytes.substr(0, bytes.find('\x1a'));
  std::size_t carriageReturns = 0;
  for (const char c : read) carriageReturns += c == '\r';
  if (recordBytes > read.size() || records > carriageReturns + 1) std::abort();
  return 0;
}
