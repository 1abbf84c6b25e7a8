// The host side of CLAP instances: a clap_host_t that answers the params and state
// extensions and counts every request an instance makes (from any thread), so that a
// tool can drive an instance and a test can check what it asked for. The main-thread
// callback an instance asks for is made when the owner calls runCallback. A derived
// host may offer further extensions.
#pragma once

#include <atomic>
#include <cstdint>

#include "clap/abi/clap.h"

class ClapHost {
 public:
  static constexpr const char* kName = "quindle-host";
  static constexpr const char* kVersion = "1.0";

  // `withExtensions` false: a host that offers no extension at all.
  explicit ClapHost(bool withExtensions = true);
  virtual ~ClapHost() = default;
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap_host_t* record() const { return &host; }

  // Main thread: calls `plugin`'s on_main_thread if a callback was asked for since the
  // last one. True when it did.
  bool runCallback(const clap_plugin_t* plugin);

  std::int32_t callbackRequests() const { return callbacks.load(); }
  std::int32_t flushRequests() const { return flushes.load(); }
  std::int32_t restartRequests() const { return restarts.load(); }
  std::int32_t processRequests() const { return processes.load(); }
  std::int32_t rescans() const { return rescanCount.load(); }
  std::uint32_t rescanFlags() const { return lastRescanFlags.load(); }  // of the latest rescan
  std::int32_t dirtyMarks() const { return dirty.load(); }

 protected:
  // The host behind a record this host handed out.
  static ClapHost& of(const clap_host_t* host);
  // The instance, any thread: the table of a host extension other than params and state,
  // or null. Asked only when the host offers extensions.
  virtual const void* furtherExtension(const char* id) const;

 private:
  static const void* CLAP_ABI extension(const clap_host_t* host, const char* id);
  static void CLAP_ABI requestRestart(const clap_host_t* host);
  static void CLAP_ABI requestProcess(const clap_host_t* host);
  static void CLAP_ABI requestCallback(const clap_host_t* host);
  static void CLAP_ABI rescan(const clap_host_t* host, uint32_t flags);
  static void CLAP_ABI clear(const clap_host_t* host, clap_id id, uint32_t flags);
  static void CLAP_ABI requestFlush(const clap_host_t* host);
  static void CLAP_ABI markDirty(const clap_host_t* host);

  clap_host_t host;
  bool offersExtensions;
  std::atomic<bool> callbackWanted{false};
  std::atomic<std::int32_t> callbacks{0};
  std::atomic<std::int32_t> flushes{0};
  std::atomic<std::int32_t> restarts{0};
  std::atomic<std::int32_t> processes{0};
  std::atomic<std::int32_t> rescanCount{0};
  std::atomic<std::uint32_t> lastRescanFlags{0};
  std::atomic<std::int32_t> dirty{0};
};
