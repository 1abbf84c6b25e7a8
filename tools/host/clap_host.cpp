#include "tools/host/clap_host.h"

#include <cstring>

ClapHost::ClapHost(bool withExtensions) : host(), offersExtensions(withExtensions) {
  host.clap_version = CLAP_VERSION;
  host.host_data = this;
  host.name = kName;
  host.vendor = "Velkor";
  host.url = "";
  host.version = kVersion;
  host.get_extension = extension;
  host.request_restart = requestRestart;
  host.request_process = requestProcess;
  host.request_callback = requestCallback;
}

ClapHost& ClapHost::of(const clap_host_t* record) { return *static_cast<ClapHost*>(record->host_data); }

bool ClapHost::runCallback(const clap_plugin_t* plugin) {
  if (!callbackWanted.exchange(false)) return false;
  plugin->on_main_thread(plugin);
  return true;
}

// The instance, any thread.
const void* CLAP_ABI ClapHost::extension(const clap_host_t* record, const char* id) {
  static const clap_host_params_t params = {rescan, clear, requestFlush};
  static const clap_host_state_t state = {markDirty};
  if (record == nullptr || id == nullptr || !of(record).offersExtensions) return nullptr;
  if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &params;
  if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &state;
  return of(record).furtherExtension(id);
}

const void* ClapHost::furtherExtension(const char*) const { return nullptr; }

// The instance, any thread.
void CLAP_ABI ClapHost::requestRestart(const clap_host_t* record) { ++of(record).restarts; }
void CLAP_ABI ClapHost::requestProcess(const clap_host_t* record) { ++of(record).processes; }
void CLAP_ABI ClapHost::requestCallback(const clap_host_t* record) {
  ClapHost& self = of(record);
  ++self.callbacks;
  self.callbackWanted.store(true);
}

// The instance, main thread.
void CLAP_ABI ClapHost::rescan(const clap_host_t* record, uint32_t flags) {
  ClapHost& self = of(record);
  self.lastRescanFlags.store(flags);
  ++self.rescanCount;
}
void CLAP_ABI ClapHost::clear(const clap_host_t*, clap_id, uint32_t) {}
void CLAP_ABI ClapHost::markDirty(const clap_host_t* record) { ++of(record).dirty; }

// The instance, any thread but the audio thread.
void CLAP_ABI ClapHost::requestFlush(const clap_host_t* record) { ++of(record).flushes; }
