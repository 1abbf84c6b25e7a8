// The plug-in record, the instance's lifecycle, its extensions and the editor's edits.
#include "clap/clap_instance.h"

#include <cmath>
#include <cstring>
#include <new>
#include <thread>

#include "clap/extensions.h"
#include "clap/plugin_descriptor.h"
#include "editor/editor_base.h"
#include "engine/midi_bytes.h"

namespace {

// All notes off, and the pitch wheel back at its centre (8192 as low and high seven bits).
constexpr std::uint8_t kAllSoundOff[] = {midi_bytes::kControlChange, midi_bytes::kAllNotesOff, 0};
constexpr std::uint8_t kBendCentre[] = {midi_bytes::kPitchBend, midi_bytes::kBendCentre & midi_bytes::kDataMask,
                                        midi_bytes::kBendCentre >> midi_bytes::kDataBits};

// Host, main thread, once right after creation.
bool CLAP_ABI pluginInit(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr && instance->init();
}

// Host, main thread, deactivated: the instance ends.
void CLAP_ABI pluginDestroy(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->destroy();
}

// Host, main thread, deactivated. Blocks of any length are fine: the engine works
// through them in short stretches, so the frame limits play no part.
bool CLAP_ABI pluginActivate(const clap_plugin_t* plugin, double sampleRate, uint32_t, uint32_t) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr && instance->activate(sampleRate);
}

// Host, main thread, active.
void CLAP_ABI pluginDeactivate(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->deactivate();
}

// Host, audio thread, active and not processing.
bool CLAP_ABI pluginStartProcessing(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr && instance->startProcessing();
}

// Host, audio thread, processing.
void CLAP_ABI pluginStopProcessing(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->stopProcessing();
}

// Host, audio thread, active.
void CLAP_ABI pluginReset(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->reset();
}

// Host, audio thread, processing: one block.
clap_process_status CLAP_ABI pluginProcess(const clap_plugin_t* plugin, const clap_process_t* block) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr ? instance->process(block) : CLAP_PROCESS_ERROR;
}

// Host, any thread.
const void* CLAP_ABI pluginExtension(const clap_plugin_t* plugin, const char* id) {
  const ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr ? instance->extension(id) : nullptr;
}

// Host, main thread, after the instance's request_callback.
void CLAP_ABI pluginOnMainThread(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->onMainThread();
}

bool sameId(const char* id, const char* known) { return std::strcmp(id, known) == 0; }

}  // namespace

void BankGuard::enter() {
  while (!tryEnter()) std::this_thread::yield();
}

ClapInstance::ClapInstance(const clap_host_t* owner)
    : plugin{&quindleclap::kDescriptor, this,          pluginInit,    pluginDestroy,
             pluginActivate,            pluginDeactivate, pluginStartProcessing, pluginStopProcessing,
             pluginReset,               pluginProcess,  pluginExtension, pluginOnMainThread},
      host(owner),
      hostParams(nullptr),
      instrument(),
      editor(nullptr),
      parentWindow(nullptr),
      runLoop(),
      notifier(editor),
      edits(),
      notes(),
      pendingProgram(-1) {}

ClapInstance::~ClapInstance() {
  instrument.setObserver(nullptr);
  delete editor;
}

ClapInstance* ClapInstance::create(const clap_host_t* host) {
  try {
    return new ClapInstance(host);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ClapInstance* ClapInstance::of(const clap_plugin_t* record) {
  return record != nullptr ? static_cast<ClapInstance*>(record->plugin_data) : nullptr;
}

bool ClapInstance::init() {
  // Host extensions are asked for once, here; any may be missing.
  const clap_host_state_t* hostState = nullptr;
  if (host->get_extension != nullptr) {
    hostParams = static_cast<const clap_host_params_t*>(host->get_extension(host, CLAP_EXT_PARAMS));
    hostState = static_cast<const clap_host_state_t*>(host->get_extension(host, CLAP_EXT_STATE));
  }
  notifier.attach(host, hostParams, hostState);
  instrument.setObserver(&notifier);
  runLoop.attach(host);
  return true;
}

// Also cleans up after a host that destroys an active instance or one with its editor.
void ClapInstance::destroy() {
  instrument.setObserver(nullptr);
  deactivate();
  destroyEditor();
  delete this;
}

void ClapInstance::destroyEditor() {
  if (editor == nullptr) return;
  // Nothing of the host's may call into the window once it is gone.
  runLoop.stop();
  EditorBase* leaving = editor;
  editor = nullptr;
  parentWindow = nullptr;
  leaving->close();
  delete leaving;
}

bool ClapInstance::activate(double sampleRate) {
  if (instrument.isActive()) return false;
  // Rates a float cannot hold become infinity, which the instrument refuses.
  if (!std::isfinite(sampleRate) || !instrument.setSampleRate(static_cast<float>(sampleRate))) return false;
  return instrument.activate();
}

void ClapInstance::deactivate() { instrument.deactivate(); }

bool ClapInstance::startProcessing() { return instrument.isActive(); }

void ClapInstance::stopProcessing() {}

// Every voice falls silent at once and the pitch returns to the centre; the parameter
// values, the programs and a program change still waiting stay.
void ClapInstance::reset() {
  instrument.receiveMidi(kAllSoundOff, sizeof(kAllSoundOff), 0);
  instrument.receiveMidi(kBendCentre, sizeof(kBendCentre), 0);
  notes = NoteInput();
}

const void* ClapInstance::extension(const char* id) const {
  if (id == nullptr) return nullptr;
  if (sameId(id, CLAP_EXT_PARAMS)) return &quindleclap::kParamsExtension;
  if (sameId(id, CLAP_EXT_STATE)) return &quindleclap::kStateExtension;
  if (sameId(id, CLAP_EXT_AUDIO_PORTS)) return &quindleclap::kAudioPorts;
  if (sameId(id, CLAP_EXT_NOTE_PORTS)) return &quindleclap::kNotePorts;
  if (sameId(id, CLAP_EXT_GUI)) return quindleclap::guiExtension();
#ifndef _WIN32
  // The X11 editor's window gets its events through the host's loop.
  if (sameId(id, CLAP_EXT_TIMER_SUPPORT)) return &quindleclap::kTimerSupport;
  if (sameId(id, CLAP_EXT_POSIX_FD_SUPPORT)) return &quindleclap::kPosixFdSupport;
#endif
  return nullptr;
}

void ClapInstance::onMainThread() { notifier.deliver(instrument); }

void ClapInstance::requestFlush() {
  // Always safe from the main thread: the host calls process or flush, whichever fits,
  // also for an instance that sleeps.
  if (hostParams != nullptr && hostParams->request_flush != nullptr) hostParams->request_flush(host);
}

float ClapInstance::getParameter(std::int32_t index) { return instrument.getParameter(index); }

void ClapInstance::setParameter(std::int32_t index, float value) { instrument.setParameter(index, value); }

void ClapInstance::automateParameter(std::int32_t index, float value) {
  if (!isParameterIndex(index) || !std::isfinite(value)) return;
  instrument.setParameter(index, value);
  edits.value(index, instrument.getParameter(index));
  requestFlush();
}

void ClapInstance::beginEdit(std::int32_t index) {
  edits.begin(index);
  requestFlush();
}

void ClapInstance::endEdit(std::int32_t index) {
  edits.end(index);
  requestFlush();
}
