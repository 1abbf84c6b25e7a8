// The preset containers hosts keep a plug-in's state in: the program file (.fxp) and the
// bank file (.fxb). Both start with 'CcnK' and a big-endian byte count, then carry either
// parameter values ('FxCk' programs, 'FxBk' banks of them) or the plug-in's own opaque
// chunk ('FPCh', 'FBCh'), copied unchanged. Reading keeps every stored byte (names,
// reserved bytes, float bit patterns), so writing what was read gives the same file back.
// This module only converts between bytes and records; applying them to a plug-in is
// preset_transfer's business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/vst_abi.h"

namespace fxpreset {

constexpr VstInt32 kContainerMagic = fourCharCode('C', 'c', 'n', 'K');
constexpr VstInt32 kProgramParamsMagic = fourCharCode('F', 'x', 'C', 'k');
constexpr VstInt32 kProgramChunkMagic = fourCharCode('F', 'P', 'C', 'h');
constexpr VstInt32 kBankParamsMagic = fourCharCode('F', 'x', 'B', 'k');
constexpr VstInt32 kBankChunkMagic = fourCharCode('F', 'B', 'C', 'h');

constexpr std::size_t kNameSize = 28;
// Bank version 1 ends its header with 128 reserved bytes; version 2 spends four of them
// on the current program number.
constexpr std::size_t kBankReservedSizeV1 = 128;
constexpr std::size_t kBankReservedSizeV2 = 124;
constexpr VstInt32 kProgramVersion = 1;
constexpr VstInt32 kBankVersionWithCurrentProgram = 2;

struct FxProgram {
  bool opaque = true;  // 'FPCh' (chunk) or 'FxCk' (parameter list)
  VstInt32 version = kProgramVersion;
  VstInt32 fxID = 0;
  VstInt32 fxVersion = 0;
  VstInt32 numParams = 0;
  std::array<std::uint8_t, kNameSize> name{};
  std::vector<std::uint32_t> paramBits;  // 'FxCk': numParams IEEE single bit patterns
  std::vector<std::uint8_t> chunk;       // 'FPCh': the plug-in's bytes

  float param(std::size_t index) const;
  std::string nameText() const;  // up to the first zero byte
  void setName(const std::string& text);  // truncated to the field, zero-padded
};

struct FxBank {
  bool opaque = true;  // 'FBCh' (chunk) or 'FxBk' (program records)
  VstInt32 version = kBankVersionWithCurrentProgram;
  VstInt32 fxID = 0;
  VstInt32 fxVersion = 0;
  VstInt32 numPrograms = 0;
  VstInt32 currentProgram = 0;        // version 2 only
  std::vector<std::uint8_t> reserved;  // as stored: 124 (version 2) or 128 (version 1) bytes
  std::vector<FxProgram> programs;     // 'FxBk'
  std::vector<std::uint8_t> chunk;     // 'FBCh'
};

struct FxFile {
  bool isBank = false;
  FxProgram program;  // when !isBank
  FxBank bank;        // when isBank
};

// Parses a whole file image. False with a reason when the bytes are not one well-formed
// container: wrong magic, a byte count that disagrees with the contents or runs past the
// end, negative or oversized counts, an unknown bank version. `out` is only written on
// success.
bool parse(const std::uint8_t* bytes, std::size_t size, FxFile& out, std::string& error);

std::vector<std::uint8_t> serialize(const FxProgram& program);
std::vector<std::uint8_t> serialize(const FxBank& bank);
std::vector<std::uint8_t> serialize(const FxFile& file);

// The same through files. Reading fails on an unreadable file as well as on bad contents.
bool readFile(const std::string& path, FxFile& out, std::string& error);
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

// 'VKQD' for the code 0x564B5144; other bytes as \xNN.
std::string fourCharText(VstInt32 code);

}  // namespace fxpreset
