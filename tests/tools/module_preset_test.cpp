// Presets between files and the built module: the committed factory bank, round trips
// through .fxp and .fxb, parameter-list files, and files that must be refused without the
// plug-in being called.
#include <cstring>
#include <string>

#include "tests/tools/host_module_fixture.h"
#include "tools/host/byte_order.h"
#include "tools/host/file_bytes.h"
#include "tools/host/fx_preset.h"
#include "tools/host/host_session.h"
#include "tools/host/preset_transfer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr VstInt32 kProgramCount = 8;
constexpr VstInt32 kParameterCount = 13;

Bytes bankChunk(PluginInstance& instance) {
  void* data = nullptr;
  const VstIntPtr size = instance.dispatch(effGetChunk, presettransfer::kBankChunkIndex, 0, &data);
  if (size <= 0 || data == nullptr) return {};
  return Bytes(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
}

Bytes savedBank(PluginInstance& instance) {
  fxpreset::FxBank bank;
  std::string error;
  EXPECT_TRUE(presettransfer::captureBank(instance, bank, error)) << error;
  return fxpreset::serialize(bank);
}

fxpreset::FxFile parsed(const Bytes& bytes) {
  fxpreset::FxFile file;
  std::string error;
  EXPECT_TRUE(fxpreset::parse(bytes.data(), bytes.size(), file, error)) << error;
  return file;
}

// The repository ships the bank the module itself saves; the two must never drift apart.
TEST_F(HostModuleTest, TheCommittedFactoryBankIsWhatTheModuleSaves) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  Bytes committed;
  std::string error;
  ASSERT_TRUE(filebytes::read(QUINDLE_FACTORY_BANK_FILE, committed, error)) << error;
  EXPECT_EQ(savedBank(*instance), committed);
}

TEST_F(HostModuleTest, ASavedBankHoldsTheModulesChunkAndCurrentProgram) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  instance->selectProgram(5);
  const Bytes bytes = savedBank(*instance);
  const fxpreset::FxFile file = parsed(bytes);
  ASSERT_TRUE(file.isBank);
  EXPECT_TRUE(file.bank.opaque);
  EXPECT_EQ(file.bank.fxID, fourCharCode('V', 'K', 'Q', 'D'));
  EXPECT_EQ(file.bank.numPrograms, kProgramCount);
  EXPECT_EQ(file.bank.currentProgram, 5);
  EXPECT_EQ(file.bank.chunk, bankChunk(*instance));
  EXPECT_EQ(byteorder::bigEndian32(bytes.data() + 28), 5u);
}

// An edit saved as a program file comes back in a fresh instance, name included, and a
// saved bank brings back every program and the current one.
TEST_F(HostModuleTest, SavedPresetsRestoreEditsInAFreshInstance) {
  auto edited = open();
  ASSERT_NE(edited, nullptr);
  edited->selectProgram(2);
  edited->setParameter(5, 0.75f);
  edited->setParameter(12, 0.125f);
  char name[] = "Edited";
  edited->dispatch(effSetProgramName, 0, 0, name);
  fxpreset::FxProgram program;
  std::string error;
  ASSERT_TRUE(presettransfer::captureProgram(*edited, program, error)) << error;
  EXPECT_EQ(program.nameText(), "Edited");
  const Bytes bank = savedBank(*edited);

  auto fresh = open();
  ASSERT_NE(fresh, nullptr);
  fresh->selectProgram(6);
  ASSERT_TRUE(presettransfer::apply(*fresh, parsed(fxpreset::serialize(program)), error)) << error;
  EXPECT_EQ(fresh->getParameter(5), 0.75f);
  EXPECT_EQ(fresh->getParameter(12), 0.125f);
  EXPECT_EQ(fresh->text(effGetProgramName), "Edited");
  EXPECT_EQ(fresh->currentProgram(), 6);
  EXPECT_EQ(fresh->text(effGetProgramNameIndexed, 2, -1), "FM Classic 1");

  auto other = open();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(presettransfer::apply(*other, parsed(bank), error)) << error;
  EXPECT_EQ(other->currentProgram(), 2);
  EXPECT_EQ(other->getParameter(5), 0.75f);
  EXPECT_EQ(other->text(effGetProgramName), "Edited");
  EXPECT_EQ(savedBank(*other), bank);
}

// The same through the setup the verbs use: a program saved after an edit, rendered with
// --preset, sounds like the edit and not like the factory program.
TEST_F(HostModuleTest, APresetSavedAfterAnEditRendersTheEdit) {
  const char* sequence = "0 on 57 110\n0.2 off 57\n";
  auto edited = open();
  ASSERT_NE(edited, nullptr);
  edited->setParameter(5, 0.9f);
  fxpreset::FxProgram program;
  std::string error;
  ASSERT_TRUE(presettransfer::captureProgram(*edited, program, error)) << error;
  const std::string path = "module_preset_test_edit.fxp";
  ASSERT_TRUE(fxpreset::writeFile(path, fxpreset::serialize(program), error)) << error;
  const Rendered editSound = render(*edited, events(sequence), settings(44100, 128, 2205));

  InstanceSetup withPreset;
  withPreset.presetPath = path;
  auto restored = open();
  ASSERT_NE(restored, nullptr);
  ASSERT_TRUE(hostsession::applySetup(*restored, withPreset, error)) << error;
  const Rendered restoredSound = render(*restored, events(sequence), settings(44100, 128, 2205));
  auto factory = open();
  ASSERT_NE(factory, nullptr);
  const Rendered factorySound = render(*factory, events(sequence), settings(44100, 128, 2205));
  std::remove(path.c_str());
  EXPECT_EQ(restoredSound.left, editSound.left);
  EXPECT_NE(restoredSound.left, factorySound.left);
}

TEST_F(HostModuleTest, ParameterListPresetsAreAppliedThroughSetParameter) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  fxpreset::FxBank bank;
  bank.opaque = false;
  bank.fxID = instance->effect().uniqueID;
  bank.numPrograms = kProgramCount;
  bank.currentProgram = 4;
  for (VstInt32 p = 0; p < kProgramCount; ++p) {
    fxpreset::FxProgram program;
    program.opaque = false;
    program.fxID = bank.fxID;
    program.numParams = kParameterCount;
    program.setName("List " + std::to_string(p));
    for (VstInt32 i = 0; i < kParameterCount; ++i) {
      program.paramBits.push_back(byteorder::floatBits(static_cast<float>(p * kParameterCount + i) / 128.0f));
    }
    bank.programs.push_back(program);
  }
  std::string error;
  ASSERT_TRUE(presettransfer::apply(*instance, parsed(fxpreset::serialize(bank)), error)) << error;
  EXPECT_EQ(instance->currentProgram(), 4);
  for (VstInt32 p = 0; p < kProgramCount; ++p) {
    instance->selectProgram(p);
    EXPECT_EQ(instance->text(effGetProgramName), "List " + std::to_string(p));
    for (VstInt32 i = 0; i < kParameterCount; ++i) {
      ASSERT_EQ(instance->getParameter(i), static_cast<float>(p * kParameterCount + i) / 128.0f) << p << "/" << i;
    }
  }
}

// Refused files: the module's bank is unchanged and the module never saw the data (a
// chunk of a wrong size would have made it ask the host to update its display).
TEST_F(HostModuleTest, ForeignAndMismatchedPresetsAreRefusedBeforeTheModuleIsCalled) {
  auto source = open();
  ASSERT_NE(source, nullptr);
  fxpreset::FxProgram program;
  std::string error;
  ASSERT_TRUE(presettransfer::captureProgram(*source, program, error)) << error;
  fxpreset::FxBank bank;
  ASSERT_TRUE(presettransfer::captureBank(*source, bank, error)) << error;

  std::vector<std::pair<fxpreset::FxFile, std::string>> refused;
  fxpreset::FxFile foreign;
  foreign.program = program;
  foreign.program.fxID = fourCharCode('A', 'b', 'c', 'd');
  refused.emplace_back(foreign, "'Abcd'");
  fxpreset::FxFile shortChunk;
  shortChunk.program = program;
  shortChunk.program.chunk.pop_back();
  refused.emplace_back(shortChunk, "51 bytes");
  fxpreset::FxFile wrongCount;
  wrongCount.isBank = true;
  wrongCount.bank = bank;
  wrongCount.bank.numPrograms = 9;
  refused.emplace_back(wrongCount, "9 programs");
  fxpreset::FxFile noSuchProgram;
  noSuchProgram.isBank = true;
  noSuchProgram.bank = bank;
  noSuchProgram.bank.currentProgram = 8;
  refused.emplace_back(noSuchProgram, "current program 8");
  fxpreset::FxFile longList;
  longList.program.opaque = false;
  longList.program.fxID = program.fxID;
  longList.program.numParams = 14;
  longList.program.paramBits.assign(14, 0);
  refused.emplace_back(longList, "14 parameters");

  auto target = open();
  ASSERT_NE(target, nullptr);
  target->selectProgram(1);
  const Bytes before = bankChunk(*target);
  hostcallback::clear();
  for (const auto& c : refused) {
    EXPECT_FALSE(presettransfer::apply(*target, c.first, error)) << c.second;
    EXPECT_NE(error.find(c.second), std::string::npos) << error;
  }
  EXPECT_EQ(hostcallback::countOf(audioMasterUpdateDisplay), 0u);
  EXPECT_EQ(bankChunk(*target), before);
  EXPECT_EQ(target->currentProgram(), 1);
}

TEST_F(HostModuleTest, ATruncatedPresetFileChangesNothing) {
  auto source = open();
  ASSERT_NE(source, nullptr);
  source->setParameter(3, 0.5f);
  fxpreset::FxBank bank;
  std::string error;
  ASSERT_TRUE(presettransfer::captureBank(*source, bank, error)) << error;
  Bytes bytes = fxpreset::serialize(bank);
  bytes.resize(bytes.size() - 1);
  const std::string path = "module_preset_test_truncated.fxb";
  ASSERT_TRUE(filebytes::write(path, bytes, error)) << error;

  auto target = open();
  ASSERT_NE(target, nullptr);
  const Bytes before = bankChunk(*target);
  InstanceSetup setup;
  setup.presetPath = path;
  setup.selectsProgram = true;
  setup.program = 3;
  EXPECT_FALSE(hostsession::applySetup(*target, setup, error));
  std::remove(path.c_str());
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  EXPECT_EQ(bankChunk(*target), before);
  EXPECT_EQ(target->currentProgram(), 0);
}

}  // namespace
