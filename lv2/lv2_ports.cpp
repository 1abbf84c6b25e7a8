#include "lv2/lv2_ports.h"

#include "params/program_bank.h"

namespace lv2ports {

std::string slug(const char* name, char separator) {
  std::string out;
  bool pending = false;
  for (const char* c = name; *c != '\0'; ++c) {
    const bool lower = *c >= 'a' && *c <= 'z';
    const bool upper = *c >= 'A' && *c <= 'Z';
    const bool digit = *c >= '0' && *c <= '9';
    if (!(lower || upper || digit)) {
      pending = !out.empty();
      continue;
    }
    if (pending) out += separator;
    pending = false;
    out += upper ? static_cast<char>(*c - 'A' + 'a') : *c;
  }
  return out;
}

std::string controlSymbol(std::int32_t index) { return slug(parameterName(index), '_'); }

std::string presetUri(std::int32_t program) {
  char name[kProgramNameSize + 1] = {};
  for (std::int32_t i = 0; i < kProgramNameSize; ++i) name[i] = kFactoryPrograms[program].name[i];
  return std::string(kPresetUriPrefix) + slug(name, '-');
}

}  // namespace lv2ports
