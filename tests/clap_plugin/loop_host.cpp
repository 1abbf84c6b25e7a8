#include "tests/clap_plugin/loop_host.h"

#include <poll.h>

#include <cstring>

namespace claptest {

const void* LoopHost::furtherExtension(const char* id) const {
  static const clap_host_timer_support_t timerSupport = {registerTimer, unregisterTimer};
  static const clap_host_posix_fd_support_t fdSupport = {registerFd, modifyFd, unregisterFd};
  if (offer.timers && std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &timerSupport;
  if (offer.descriptors && std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0) return &fdSupport;
  return nullptr;
}

void LoopHost::turn(const clap_plugin_t* plugin) {
  runCallback(plugin);
  const auto* onFd =
      static_cast<const clap_plugin_posix_fd_support_t*>(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT));
  const auto* onTimer =
      static_cast<const clap_plugin_timer_support_t*>(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
  // Copies: a callback may unregister.
  for (const auto& watch : std::map<int, std::uint32_t>(descriptors)) {
    pollfd ready = {watch.first, POLLIN, 0};
    if (onFd != nullptr && poll(&ready, 1, 0) == 1) {
      onFd->on_fd(plugin, watch.first, (ready.revents & (POLLERR | POLLHUP)) != 0 ? CLAP_POSIX_FD_ERROR : CLAP_POSIX_FD_READ);
    }
  }
  for (const auto& timer : std::map<clap_id, std::uint32_t>(timers)) {
    if (onTimer != nullptr && timersDue) onTimer->on_timer(plugin, timer.first);
  }
}

bool CLAP_ABI LoopHost::registerTimer(const clap_host_t* host, uint32_t periodMs, clap_id* timerId) {
  LoopHost& self = of(host);
  if (!self.offer.timersStart || timerId == nullptr) return false;
  ++self.timerRegistrations;
  *timerId = self.nextTimer++;
  self.timers[*timerId] = periodMs;
  return true;
}

bool CLAP_ABI LoopHost::unregisterTimer(const clap_host_t* host, clap_id timerId) {
  LoopHost& self = of(host);
  if (self.timers.erase(timerId) == 1) return true;
  ++self.strayUnregistrations;
  return false;
}

bool CLAP_ABI LoopHost::registerFd(const clap_host_t* host, int fd, uint32_t flags) {
  LoopHost& self = of(host);
  if (fd < 0 || self.descriptors.count(fd) != 0) return false;
  ++self.descriptorRegistrations;
  self.descriptors[fd] = flags;
  return true;
}

bool CLAP_ABI LoopHost::modifyFd(const clap_host_t* host, int fd, uint32_t flags) {
  LoopHost& self = of(host);
  if (self.descriptors.count(fd) == 0) return false;
  self.descriptors[fd] = flags;
  return true;
}

bool CLAP_ABI LoopHost::unregisterFd(const clap_host_t* host, int fd) {
  LoopHost& self = of(host);
  if (self.descriptors.erase(fd) == 1) return true;
  ++self.strayUnregistrations;
  return false;
}

}  // namespace claptest
