// Fuzz target: the host's .fxp and .fxb reader, for preset files users download. Any
// bytes are either refused with a printable message, or read into records that write
// back as exactly the same bytes (the reader keeps every stored byte).
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "tools/host/fx_preset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fxpreset::FxFile file;
  std::string error;
  if (!fxpreset::parse(data, size, file, error)) {
    FUZZ_CHECK(fuzzcheck::isPrintableMessage(error), "unprintable error: " + error);
    return 0;
  }
  const std::vector<std::uint8_t> written = fxpreset::serialize(file);
  FUZZ_CHECK(written == std::vector<std::uint8_t>(data, data + size),
             "a preset read and written again differs from the file (" + std::to_string(written.size()) + " of " +
                 std::to_string(size) + " bytes)");
  return 0;
}
