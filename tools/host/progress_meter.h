// The percentage a long render shows on stderr, rewritten in place. Shown only when asked
// for or when stderr is a terminal, so that logs and scripts get no carriage returns.
#pragma once

#include <cstdint>

class ProgressMeter {
 public:
  static bool stderrIsTerminal();

  explicit ProgressMeter(bool enabled) : shown(enabled) {}
  ~ProgressMeter();
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void update(std::int64_t done, std::int64_t total);

 private:
  static constexpr int kNotShownYet = -1;
  static constexpr int kWhole = 100;

  bool shown;
  int lastPercent = kNotShownYet;
};
