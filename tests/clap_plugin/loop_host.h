// A CLAP host with a main-thread loop, as Linux hosts drive a plug-in's editor window: it
// offers timer-support and posix-fd-support (either may be left out, and its timers may
// refuse to start), records what the instance registers and unregisters, and turns its
// loop when the test says: the instance's main-thread callback, on_fd for each watched
// descriptor that poll finds ready, then on_timer for each timer.
#pragma once

#include <cstdint>
#include <map>

#include "tools/host/clap_host.h"

namespace claptest {

class LoopHost : public ClapHost {
 public:
  struct Offer {
    bool timers = true;
    bool descriptors = true;
    bool timersStart = true;  // false: register_timer answers false
  };
  explicit LoopHost(Offer offered) : offer(offered) {}

  // One turn of the loop, main thread.
  void turn(const clap_plugin_t* plugin);
  // False: turns leave the timers out, as if none were due yet.
  bool timersDue = true;

  // Registered now: timer id to period, descriptor to flags.
  std::map<clap_id, std::uint32_t> timers;
  std::map<int, std::uint32_t> descriptors;
  int timerRegistrations = 0;
  int descriptorRegistrations = 0;
  // Unregister calls for something not registered.
  int strayUnregistrations = 0;

 protected:
  const void* furtherExtension(const char* id) const override;

 private:
  static LoopHost& of(const clap_host_t* host) { return static_cast<LoopHost&>(ClapHost::of(host)); }
  static bool CLAP_ABI registerTimer(const clap_host_t* host, uint32_t periodMs, clap_id* timerId);
  static bool CLAP_ABI unregisterTimer(const clap_host_t* host, clap_id timerId);
  static bool CLAP_ABI registerFd(const clap_host_t* host, int fd, uint32_t flags);
  static bool CLAP_ABI modifyFd(const clap_host_t* host, int fd, uint32_t flags);
  static bool CLAP_ABI unregisterFd(const clap_host_t* host, int fd);

  Offer offer;
  clap_id nextTimer = 1;
};

}  // namespace claptest
