// The bank of eight programs. Its storage block is also the bank chunk the host keeps,
// so the record layout is a storage format: a 24-byte name, then 13 little-endian
// floats, 76 bytes with no gaps, records back to back.
#pragma once

#include <cstdint>

#include "params/parameter_table.h"

constexpr std::int32_t kProgramCount = 8;
constexpr std::int32_t kProgramNameSize = 24;

struct ProgramRecord {
  char name[kProgramNameSize];
  float values[PARAMETER_COUNT];
};
static_assert(sizeof(ProgramRecord) == 76, "a stored program is 76 bytes");

constexpr std::int32_t kProgramRecordSize = static_cast<std::int32_t>(sizeof(ProgramRecord));
constexpr std::int32_t kBankChunkSize = kProgramCount * kProgramRecordSize;              // 608
constexpr std::int32_t kProgramChunkSize = PARAMETER_COUNT * static_cast<std::int32_t>(sizeof(float));  // 52

// The factory image: eight programs, every byte defined.
extern const ProgramRecord kFactoryPrograms[kProgramCount];

class ProgramBank {
 public:
  ProgramBank();  // programCount 8, parameterCount 13, storage filled with the factory programs
  ~ProgramBank();
  ProgramBank(const ProgramBank&) = delete;
  ProgramBank& operator=(const ProgramBank&) = delete;

  void loadFactoryPrograms();

  bool isProgram(std::int32_t number) const { return number >= 0 && number < programCount; }
  ProgramRecord& record(std::int32_t number) { return programs[number]; }
  const ProgramRecord& record(std::int32_t number) const { return programs[number]; }

  // The whole block as the bank chunk: programCount * 76 bytes.
  void* storage() { return programs; }
  std::int32_t storageSize() const { return programCount * kProgramRecordSize; }

  // Replaces the name of one program: zero-filled, at most 24 characters, no terminator
  // after a 24-character name.
  void rename(std::int32_t number, const char* text);

  std::int32_t programCount;
  std::int32_t parameterCount;

 private:
  ProgramRecord* programs;
};

// True when every value of the chunk image is a finite number: chunks with NaN or an
// infinity are refused, they would make the voices render NaN.
bool chunkValuesAreFinite(const void* chunk, std::int32_t byteSize);
