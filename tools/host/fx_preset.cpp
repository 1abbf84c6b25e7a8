#include "tools/host/fx_preset.h"

#include <algorithm>
#include <limits>

#include "tools/host/byte_order.h"
#include "tools/host/file_bytes.h"
#include "tools/host/printable_text.h"

namespace fxpreset {
namespace {

using byteorder::ByteReader;

// 'CcnK' and the byte count that covers everything after it.
constexpr std::size_t kContainerHeaderSize = 8;
// Bytes a container may hold; keeps every count within a signed 32-bit header field.
constexpr std::size_t kMaxContainerSize = static_cast<std::size_t>(std::numeric_limits<VstInt32>::max());

std::string describe(VstInt32 magic) { return "'" + fourCharText(magic) + "'"; }

// Opens one container: checks 'CcnK', reads the byte count and hands back a reader over
// exactly that many bytes (the caller checks that the contents use them all).
bool openContainer(ByteReader& reader, ByteReader& contents, VstInt32& fxMagic, std::string& error) {
  if (!reader.has(kContainerHeaderSize)) {
    error = "truncated: " + std::to_string(reader.remaining()) + " bytes where a preset header was expected";
    return false;
  }
  const auto magic = static_cast<VstInt32>(reader.bigEndian32());
  if (magic != kContainerMagic) {
    error = "not a preset file: starts with " + describe(magic) + " instead of 'CcnK'";
    return false;
  }
  const std::uint32_t byteSize = reader.bigEndian32();
  if (byteSize > reader.remaining()) {
    error = "truncated: the header announces " + std::to_string(byteSize) + " bytes, only " +
            std::to_string(reader.remaining()) + " follow";
    return false;
  }
  contents = reader.slice(byteSize);
  fxMagic = static_cast<VstInt32>(contents.bigEndian32());
  if (!contents.ok()) {
    error = "truncated: no content type after the header";
    return false;
  }
  return true;
}

bool finishContainer(const ByteReader& contents, const char* what, std::string& error) {
  if (!contents.ok()) {
    error = std::string("truncated ") + what;
    return false;
  }
  if (contents.remaining() != 0) {
    error = std::string("corrupt ") + what + ": " + std::to_string(contents.remaining()) +
            " bytes left over inside its byte count";
    return false;
  }
  return true;
}

bool readCount(ByteReader& reader, std::size_t elementSize, const char* what, VstInt32& count,
               std::string& error) {
  count = static_cast<VstInt32>(reader.bigEndian32());
  if (!reader.ok()) {
    error = std::string("truncated before the ") + what;
    return false;
  }
  if (count < 0 || static_cast<std::size_t>(count) > reader.remaining() / elementSize) {
    error = std::string("corrupt ") + what + " " + std::to_string(count) + ": more than the file holds";
    return false;
  }
  return true;
}

bool readChunk(ByteReader& reader, std::vector<std::uint8_t>& chunk, std::string& error) {
  VstInt32 chunkSize = 0;
  if (!readCount(reader, 1, "chunk size", chunkSize, error)) return false;
  chunk = reader.bytes(static_cast<std::size_t>(chunkSize));
  return true;
}

// One program container: a whole .fxp, or one record of an 'FxBk' bank.
bool parseProgram(ByteReader& reader, FxProgram& out, std::string& error) {
  ByteReader contents(nullptr, 0);
  VstInt32 fxMagic = 0;
  if (!openContainer(reader, contents, fxMagic, error)) return false;
  if (fxMagic != kProgramParamsMagic && fxMagic != kProgramChunkMagic) {
    error = "unknown content type " + describe(fxMagic) + " (expected 'FxCk', 'FPCh', 'FxBk' or 'FBCh')";
    return false;
  }
  FxProgram program;
  program.opaque = fxMagic == kProgramChunkMagic;
  program.version = static_cast<VstInt32>(contents.bigEndian32());
  program.fxID = static_cast<VstInt32>(contents.bigEndian32());
  program.fxVersion = static_cast<VstInt32>(contents.bigEndian32());
  program.numParams = static_cast<VstInt32>(contents.bigEndian32());
  const std::vector<std::uint8_t> name = contents.bytes(kNameSize);
  if (!contents.ok()) {
    error = "truncated program header";
    return false;
  }
  std::copy(name.begin(), name.end(), program.name.begin());
  if (program.opaque) {
    if (!readChunk(contents, program.chunk, error)) return false;
  } else {
    if (program.numParams < 0 ||
        static_cast<std::size_t>(program.numParams) > contents.remaining() / sizeof(std::uint32_t)) {
      error = "corrupt program: " + std::to_string(program.numParams) + " parameters do not fit in the file";
      return false;
    }
    program.paramBits.resize(static_cast<std::size_t>(program.numParams));
    for (std::uint32_t& bits : program.paramBits) bits = contents.bigEndian32();
  }
  if (!finishContainer(contents, "program", error)) return false;
  out = std::move(program);
  return true;
}

bool parseBank(ByteReader& contents, FxBank& out, bool opaque, std::string& error) {
  FxBank bank;
  bank.opaque = opaque;
  bank.version = static_cast<VstInt32>(contents.bigEndian32());
  bank.fxID = static_cast<VstInt32>(contents.bigEndian32());
  bank.fxVersion = static_cast<VstInt32>(contents.bigEndian32());
  bank.numPrograms = static_cast<VstInt32>(contents.bigEndian32());
  if (!contents.ok()) {
    error = "truncated bank header";
    return false;
  }
  if (bank.version == kBankVersionWithCurrentProgram) {
    bank.currentProgram = static_cast<VstInt32>(contents.bigEndian32());
    bank.reserved = contents.bytes(kBankReservedSizeV2);
  } else if (bank.version == kProgramVersion) {
    bank.reserved = contents.bytes(kBankReservedSizeV1);
  } else {
    error = "unsupported bank version " + std::to_string(bank.version) + " (1 and 2 are known)";
    return false;
  }
  if (!contents.ok()) {
    error = "truncated bank header";
    return false;
  }
  if (bank.numPrograms < 0) {
    error = "corrupt bank: " + std::to_string(bank.numPrograms) + " programs";
    return false;
  }
  if (opaque) {
    if (!readChunk(contents, bank.chunk, error)) return false;
  } else {
    // Each record is at least a container header: a count larger than that is corrupt.
    if (static_cast<std::size_t>(bank.numPrograms) > contents.remaining() / kContainerHeaderSize) {
      error = "corrupt bank: " + std::to_string(bank.numPrograms) + " programs do not fit in the file";
      return false;
    }
    bank.programs.resize(static_cast<std::size_t>(bank.numPrograms));
    for (std::size_t i = 0; i < bank.programs.size(); ++i) {
      if (!parseProgram(contents, bank.programs[i], error)) {
        error = "program " + std::to_string(i) + " of the bank: " + error;
        return false;
      }
    }
  }
  if (!finishContainer(contents, "bank", error)) return false;
  out = std::move(bank);
  return true;
}

void appendWord(std::vector<std::uint8_t>& out, VstInt32 value) {
  byteorder::appendBigEndian32(out, static_cast<std::uint32_t>(value));
}

// Writes 'CcnK' and, once the contents are appended by `fill`, their byte count.
template <typename Fill>
void appendContainer(std::vector<std::uint8_t>& out, Fill fill) {
  appendWord(out, kContainerMagic);
  const std::size_t sizeAt = out.size();
  appendWord(out, 0);
  fill();
  const std::size_t byteSize = out.size() - sizeAt - sizeof(std::uint32_t);
  byteorder::putBigEndian32(out.data() + sizeAt, static_cast<std::uint32_t>(byteSize));
}

void appendProgram(std::vector<std::uint8_t>& out, const FxProgram& program) {
  appendContainer(out, [&] {
    appendWord(out, program.opaque ? kProgramChunkMagic : kProgramParamsMagic);
    appendWord(out, program.version);
    appendWord(out, program.fxID);
    appendWord(out, program.fxVersion);
    appendWord(out, program.numParams);
    out.insert(out.end(), program.name.begin(), program.name.end());
    if (program.opaque) {
      appendWord(out, static_cast<VstInt32>(program.chunk.size()));
      out.insert(out.end(), program.chunk.begin(), program.chunk.end());
    } else {
      for (std::uint32_t bits : program.paramBits) byteorder::appendBigEndian32(out, bits);
    }
  });
}

}  // namespace

float FxProgram::param(std::size_t index) const { return byteorder::floatFromBits(paramBits.at(index)); }

std::string FxProgram::nameText() const {
  const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
  return std::string(name.begin(), end);
}

void FxProgram::setName(const std::string& text) {
  name.fill(0);
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

bool parse(const std::uint8_t* bytes, std::size_t size, FxFile& out, std::string& error) {
  if ((bytes == nullptr && size != 0) || size > kMaxContainerSize + kContainerHeaderSize) {
    error = "not a preset file";
    return false;
  }
  ByteReader reader(bytes, size);
  FxFile file;
  // The content type follows the container header; programs parse their own header.
  const bool looksLikeBank = size >= kContainerHeaderSize + sizeof(std::uint32_t) &&
                             (static_cast<VstInt32>(byteorder::bigEndian32(bytes + kContainerHeaderSize)) ==
                                  kBankParamsMagic ||
                              static_cast<VstInt32>(byteorder::bigEndian32(bytes + kContainerHeaderSize)) ==
                                  kBankChunkMagic);
  if (looksLikeBank) {
    ByteReader contents(nullptr, 0);
    VstInt32 fxMagic = 0;
    if (!openContainer(reader, contents, fxMagic, error)) return false;
    file.isBank = true;
    if (!parseBank(contents, file.bank, fxMagic == kBankChunkMagic, error)) return false;
  } else if (!parseProgram(reader, file.program, error)) {
    return false;
  }
  if (reader.remaining() != 0) {
    error = "corrupt: " + std::to_string(reader.remaining()) + " bytes after the end of the preset";
    return false;
  }
  out = std::move(file);
  return true;
}

std::vector<std::uint8_t> serialize(const FxProgram& program) {
  std::vector<std::uint8_t> out;
  appendProgram(out, program);
  return out;
}

std::vector<std::uint8_t> serialize(const FxBank& bank) {
  std::vector<std::uint8_t> out;
  appendContainer(out, [&] {
    appendWord(out, bank.opaque ? kBankChunkMagic : kBankParamsMagic);
    appendWord(out, bank.version);
    appendWord(out, bank.fxID);
    appendWord(out, bank.fxVersion);
    appendWord(out, bank.numPrograms);
    const bool withCurrent = bank.version == kBankVersionWithCurrentProgram;
    if (withCurrent) appendWord(out, bank.currentProgram);
    // The reserved bytes as read; zeros for a bank built in memory.
    std::vector<std::uint8_t> reserved = bank.reserved;
    reserved.resize(withCurrent ? kBankReservedSizeV2 : kBankReservedSizeV1, 0);
    out.insert(out.end(), reserved.begin(), reserved.end());
    if (bank.opaque) {
      appendWord(out, static_cast<VstInt32>(bank.chunk.size()));
      out.insert(out.end(), bank.chunk.begin(), bank.chunk.end());
    } else {
      for (const FxProgram& program : bank.programs) appendProgram(out, program);
    }
  });
  return out;
}

std::vector<std::uint8_t> serialize(const FxFile& file) {
  return file.isBank ? serialize(file.bank) : serialize(file.program);
}

bool readFile(const std::string& path, FxFile& out, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!filebytes::read(path, bytes, error)) return false;
  if (!parse(bytes.data(), bytes.size(), out, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  return filebytes::write(path, bytes, error);
}

std::string fourCharText(VstInt32 code) {
  std::uint8_t bytes[sizeof code];
  byteorder::putBigEndian32(bytes, static_cast<std::uint32_t>(code));
  return printabletext::escaped(bytes, sizeof bytes);
}

}  // namespace fxpreset
