// The host's timers and descriptor watches for the editor, and the plug-in's two callback
// tables through which the host reports them.
#include "clap/editor_run_loop.h"

#include "clap/clap_instance.h"
#include "clap/extensions.h"

namespace {

template <typename Table>
const Table* hostExtension(const clap_host_t* host, const char* id) {
  if (host == nullptr || host->get_extension == nullptr) return nullptr;
  return static_cast<const Table*>(host->get_extension(host, id));
}

// Host, main thread: a timer the instance registered is due.
void CLAP_ABI pluginOnTimer(const clap_plugin_t* plugin, clap_id timerId) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->editorLoop().timerDue(timerId);
}

// Host, main thread: a descriptor the instance registered is ready (level-triggered).
void CLAP_ABI pluginOnFd(const clap_plugin_t* plugin, int descriptor, uint32_t flags) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->editorLoop().descriptorReady(descriptor, flags);
}

}  // namespace

const clap_plugin_timer_support_t quindleclap::kTimerSupport = {pluginOnTimer};
const clap_plugin_posix_fd_support_t quindleclap::kPosixFdSupport = {pluginOnFd};

void EditorRunLoop::attach(const clap_host_t* owner) {
  host = owner;
  timers = hostExtension<clap_host_timer_support_t>(host, CLAP_EXT_TIMER_SUPPORT);
  if (timers != nullptr && (timers->register_timer == nullptr || timers->unregister_timer == nullptr)) timers = nullptr;
  descriptors = hostExtension<clap_host_posix_fd_support_t>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  if (descriptors != nullptr && (descriptors->register_fd == nullptr || descriptors->unregister_fd == nullptr)) {
    descriptors = nullptr;
  }
}

bool EditorRunLoop::start(EditorEventPump& windowPump) {
  stop();
  if (timers == nullptr) return false;
  clap_id registered = CLAP_INVALID_ID;
  if (!timers->register_timer(host, EditorEventPump::kTimerPeriodMs, &registered) || registered == CLAP_INVALID_ID) {
    return false;
  }
  pump = &windowPump;
  timer = registered;
  // Without the watch the timer alone hands over the events, a period later.
  const int descriptor = windowPump.pumpDescriptor();
  if (descriptors != nullptr && descriptor != EditorEventPump::kNoDescriptor &&
      descriptors->register_fd(host, descriptor, CLAP_POSIX_FD_READ)) {
    watched = descriptor;
  }
  return true;
}

void EditorRunLoop::stop() {
  if (watched != EditorEventPump::kNoDescriptor) descriptors->unregister_fd(host, watched);
  if (timer != CLAP_INVALID_ID) timers->unregister_timer(host, timer);
  watched = EditorEventPump::kNoDescriptor;
  timer = CLAP_INVALID_ID;
  pump = nullptr;
}

void EditorRunLoop::timerDue(clap_id timerId) {
  if (pump != nullptr && timerId == timer) pump->pumpTimer();
}

void EditorRunLoop::descriptorReady(int descriptor, std::uint32_t flags) {
  if (pump == nullptr || descriptor != watched) return;
  pump->pumpEvents();
  // A broken connection stays readable for ever: the host would call again at once.
  if ((flags & CLAP_POSIX_FD_ERROR) != 0) {
    descriptors->unregister_fd(host, watched);
    watched = EditorEventPump::kNoDescriptor;
  }
}
