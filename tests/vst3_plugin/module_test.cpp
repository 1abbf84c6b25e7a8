// The built bundle through its interfaces: the factory and its one class, the single
// component answering every interface on one object, buses and processing set-up, and
// what the controller tells about parameters, MIDI and programs.
#include <cstring>

#include "params/program_bank.h"
#include "tests/vst3_plugin/bundle_fixture.h"

namespace {

using namespace vst3;

class Vst3Bundle : public BundleTest {};

TEST_F(Vst3Bundle, TheFactoryTellsItsOneInstrumentClass) {
  IPluginFactory& factory = module->factory();
  IPluginFactory3* factory3 = vst3host::queryFrom<IPluginFactory3>(&factory);
  ASSERT_NE(factory3, nullptr);
  PFactoryInfo info{};
  ASSERT_EQ(factory.getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Velkor");
  EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
  ASSERT_EQ(factory.countClasses(), 1);

  PClassInfo2 classInfo{};
  ASSERT_EQ(factory3->getClassInfo2(0, &classInfo), kResultOk);
  EXPECT_STREQ(uidText(classInfo.cid).text, "313AD1CA8CA451ABFD5F28A91212A113");  // never changes
  EXPECT_STREQ(classInfo.category, "Audio Module Class");
  EXPECT_STREQ(classInfo.name, "Quindle");
  EXPECT_STREQ(classInfo.subCategories, "Instrument|Synth");
  EXPECT_STREQ(classInfo.vendor, "Velkor");
  EXPECT_STREQ(classInfo.version, QUINDLE_VERSION_TEXT);
  EXPECT_EQ(classInfo.cardinality, PClassInfo::kManyInstances);
  EXPECT_EQ(classInfo.classFlags, 0u);  // not distributable
  PClassInfoW wide{};
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(std::u16string(wide.name), u"Quindle");
  EXPECT_EQ(std::memcmp(wide.cid, classInfo.cid, kUidSize), 0);
  EXPECT_EQ(factory3->getClassInfo2(1, &classInfo), kInvalidArgument);
  EXPECT_EQ(factory.getClassInfo(0, nullptr), kInvalidArgument);

  void* object = &factory;
  const Uid foreign = makeUid(1, 2, 3, 4);
  EXPECT_EQ(factory.createInstance(foreign.bytes, IComponent::iid.bytes, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory.createInstance(classInfo.cid, IConnectionPoint::iid.bytes, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(factory.createInstance(classInfo.cid, IEditController::iid.bytes, &object), kResultOk);
  EXPECT_EQ(static_cast<IEditController*>(object)->release(), 0u);
  factory3->release();
}

TEST_F(Vst3Bundle, OneObjectAnswersEveryInterfaceAndDropsTheHostsObjects) {
  auto instance = makeInstance();
  ASSERT_NE(instance, nullptr);
  FUnknown* identity = vst3host::queryFrom<FUnknown>(&instance->component());
  ASSERT_NE(identity, nullptr);
  FUnknown* starts[] = {&instance->component(), &instance->processor(), &instance->controller()};
  for (FUnknown* start : starts) {
    for (const Uid* iid : {&IComponent::iid, &IAudioProcessor::iid, &IEditController::iid, &IMidiMapping::iid,
                           &IUnitInfo::iid, &IProcessContextRequirements::iid, &IPluginBase::iid}) {
      void* found = nullptr;
      ASSERT_EQ(start->queryInterface(iid->bytes, &found), kResultOk) << uidText(iid->bytes).text;
      FUnknown* again = vst3host::queryFrom<FUnknown>(static_cast<FUnknown*>(found));
      EXPECT_EQ(again, identity);
      again->release();
      static_cast<FUnknown*>(found)->release();
    }
    void* refused = start;
    EXPECT_EQ(start->queryInterface(IConnectionPoint::iid.bytes, &refused), kNoInterface);
    EXPECT_EQ(refused, nullptr);
  }
  TUID controllerClass{};
  EXPECT_EQ(instance->component().getControllerClassId(controllerClass), kNotImplemented);
  identity->release();
  EXPECT_EQ(instance->handler().referenceCount(), 2u);  // the host's and the controller's
  instance->component().terminate();
  EXPECT_EQ(instance->handler().referenceCount(), 1u);
}

TEST_F(Vst3Bundle, BusesAndProcessingSetUpAsAnInstrumentWithAStereoOutput) {
  auto instance = makeInstance();
  ASSERT_NE(instance, nullptr);
  IComponent& component = instance->component();
  IAudioProcessor& processor = instance->processor();
  // Before anything was active.
  EXPECT_EQ(processor.setProcessing(0), kResultOk);
  EXPECT_EQ(component.setActive(0), kResultOk);

  EXPECT_EQ(component.getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(component.getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(component.getBusCount(kEvent, kInput), 1);
  EXPECT_EQ(component.getBusCount(kEvent, kOutput), 0);
  BusInfo bus{};
  ASSERT_EQ(component.getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.busType, kMain);
  ASSERT_EQ(component.getBusInfo(kEvent, kInput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 16);
  EXPECT_EQ(component.getBusInfo(kAudio, kOutput, 1, bus), kInvalidArgument);
  EXPECT_EQ(component.getBusInfo(kAudio, kInput, 0, bus), kInvalidArgument);
  EXPECT_EQ(component.activateBus(kEvent, kOutput, 0, 1), kInvalidArgument);

  SpeakerArrangement mono = SpeakerArr::kMono;
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  EXPECT_EQ(processor.setBusArrangements(nullptr, 0, &mono, 1), kResultFalse);
  EXPECT_EQ(processor.setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);
  EXPECT_EQ(processor.setBusArrangements(nullptr, 0, &stereo, 1), kResultTrue);
  SpeakerArrangement arrangement = 0;
  EXPECT_EQ(processor.getBusArrangement(kOutput, 0, arrangement), kResultOk);
  EXPECT_EQ(arrangement, SpeakerArr::kStereo);
  EXPECT_EQ(processor.getBusArrangement(kInput, 0, arrangement), kInvalidArgument);

  EXPECT_EQ(processor.canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(processor.canProcessSampleSize(kSample64), kResultFalse);
  ProcessSetup doubles{kRealtime, kSample64, 512, 48000.0};
  EXPECT_EQ(processor.setupProcessing(doubles), kResultFalse);
  ProcessSetup noRate{kRealtime, kSample32, 512, 0.0};
  EXPECT_EQ(processor.setupProcessing(noRate), kInvalidArgument);
  std::string error;
  ASSERT_TRUE(instance->prepare(48000.0, 512, error)) << error;
  EXPECT_EQ(processor.getLatencySamples(), 0u);
  EXPECT_EQ(processor.getTailSamples(), 48000u);  // a release of one second at most
  IProcessContextRequirements* requirements = vst3host::queryFrom<IProcessContextRequirements>(&processor);
  ASSERT_NE(requirements, nullptr);
  EXPECT_EQ(requirements->getProcessContextRequirements(), 0u);
  requirements->release();
}

TEST_F(Vst3Bundle, TheControllerTellsParametersMidiMappingAndPrograms) {
  auto instance = makeInstance();
  ASSERT_NE(instance, nullptr);
  IEditController& controller = instance->controller();
  ASSERT_EQ(controller.getParameterCount(), 16);
  ParameterInfo info{};
  ASSERT_EQ(controller.getParameterInfo(13, info), kResultOk);
  EXPECT_EQ(info.flags & ParameterInfo::kIsProgramChange, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(info.flags & ParameterInfo::kCanAutomate, 0);
  EXPECT_EQ(controller.getParameterInfo(16, info), kInvalidArgument);
  ASSERT_EQ(controller.getParameterInfo(12, info), kResultOk);
  EXPECT_EQ(textOf(info.title), "Volume");
  EXPECT_EQ(controller.getParamNormalized(12), static_cast<double>(kFactoryPrograms[0].values[12]));

  IMidiMapping* mapping = instance->midiMapping();
  ASSERT_NE(mapping, nullptr);
  for (int16 channel : {int16{0}, int16{9}, int16{15}}) {
    ParamID id = kNoParamId;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, channel, kPitchBend, id), kResultTrue);
    EXPECT_EQ(id, 14u);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, channel, kCtrlAllNotesOff, id), kResultTrue);
    EXPECT_EQ(id, 15u);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, channel, 126, id), kResultTrue);
    EXPECT_EQ(id, 15u);
  }
  ParamID id = kNoParamId;
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, kCtrlModWheel, id), kResultFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(1, 0, kPitchBend, id), kResultFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 16, kPitchBend, id), kResultFalse);

  IUnitInfo* units = instance->unitInfo();
  ASSERT_NE(units, nullptr);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitCount(), 1);
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, unit.programListId);
  EXPECT_EQ(list.programCount, kProgramCount);
  for (int32 program = 0; program < kProgramCount; ++program) {
    String128 name{};
    ASSERT_EQ(units->getProgramName(list.id, program, name), kResultOk);
    EXPECT_EQ(textOf(name), std::string(kFactoryPrograms[program].name, strnlen(kFactoryPrograms[program].name, kProgramNameSize)));
    String128 shown{};
    ASSERT_EQ(controller.getParamStringByValue(13, program / 7.0, shown), kResultOk);
    EXPECT_EQ(textOf(shown), textOf(name));
  }
  String128 name{};
  EXPECT_EQ(units->getProgramName(list.id, kProgramCount, name), kInvalidArgument);
  EXPECT_EQ(units->getProgramName(list.id + 1, 0, name), kInvalidArgument);

  // The one view is the editor (editor_view_test.cpp, editor_view_x11_test.cpp).
  EXPECT_EQ(controller.createView("other"), nullptr);
  EXPECT_EQ(controller.createView(nullptr), nullptr);
}

}  // namespace
