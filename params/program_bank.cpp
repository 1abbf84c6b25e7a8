#include "params/program_bank.h"

#include <cmath>
#include <cstring>

ProgramBank::ProgramBank()
    : programCount(kProgramCount), parameterCount(PARAMETER_COUNT), programs(new ProgramRecord[kProgramCount]) {
  loadFactoryPrograms();
}

ProgramBank::~ProgramBank() { delete[] programs; }

void ProgramBank::loadFactoryPrograms() { std::memcpy(programs, kFactoryPrograms, sizeof(kFactoryPrograms)); }

void ProgramBank::rename(std::int32_t number, const char* text) {
  char* name = programs[number].name;
  std::memset(name, 0, kProgramNameSize);
  if (text == nullptr) return;
  for (std::int32_t i = 0; i < kProgramNameSize && text[i] != '\0'; ++i) name[i] = text[i];
}

bool chunkValuesAreFinite(const void* chunk, std::int32_t byteSize) {
  const auto* bytes = static_cast<const unsigned char*>(chunk);
  auto finiteAt = [bytes](std::int32_t offset) {
    float value;
    std::memcpy(&value, bytes + offset, sizeof(value));  // the host's chunk may be unaligned
    return std::isfinite(value);
  };
  if (byteSize == kProgramChunkSize) {
    for (std::int32_t i = 0; i < PARAMETER_COUNT; ++i) {
      if (!finiteAt(i * 4)) return false;
    }
    return true;
  }
  if (byteSize == kBankChunkSize) {
    for (std::int32_t p = 0; p < kProgramCount; ++p) {
      for (std::int32_t i = 0; i < PARAMETER_COUNT; ++i) {
        if (!finiteAt(p * kProgramRecordSize + kProgramNameSize + i * 4)) return false;
      }
    }
    return true;
  }
  return false;
}
