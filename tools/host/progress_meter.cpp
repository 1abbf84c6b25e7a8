#include "tools/host/progress_meter.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

bool ProgressMeter::stderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

ProgressMeter::~ProgressMeter() {
  if (shown && lastPercent != kNotShownYet) std::fputc('\n', stderr);
}

void ProgressMeter::update(std::int64_t done, std::int64_t total) {
  if (!shown || total <= 0) return;
  const int percent = static_cast<int>(done * kWhole / total);
  if (percent == lastPercent) return;
  lastPercent = percent;
  std::fprintf(stderr, "\rrendering %3d%%", percent);
  std::fflush(stderr);
}
