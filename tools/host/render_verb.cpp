// quindle-host render PLUGIN IN OUT.wav: plays an event sequence through the plug-in and
// writes the two output channels as a WAV file.
#include <string>

#include "tools/host/event_sequence.h"
#include "tools/host/number_text.h"
#include "tools/host/offline_renderer.h"
#include "tools/host/progress_meter.h"
#include "tools/host/verb_support.h"
#include "tools/host/wav_writer.h"

namespace verbs {
namespace {

constexpr const char* kVerb = "render";
constexpr std::size_t kPositionals = 3;  // PLUGIN IN OUT.wav
// The longest tail the option takes.
constexpr std::int64_t kMaxTailSeconds = 3600;

struct RenderOptions {
  offlinerender::Settings settings;
  std::int64_t tailNanoseconds = offlinerender::kDefaultTailNanoseconds;
  wav::SampleFormat format = wav::SampleFormat::kFloat32;
  bool progress = false;
};

bool readOptions(const CommandLine& line, RenderOptions& options, std::string& error) {
  std::int64_t number = 0;
  if (line.has("rate")) {
    if (!numbertext::parseInteger(line.value("rate"), offlinerender::kMinSampleRate, offlinerender::kMaxSampleRate,
                                  number)) {
      error = "--rate expects a whole number of Hz from " + std::to_string(offlinerender::kMinSampleRate) + " to " +
              std::to_string(offlinerender::kMaxSampleRate);
      return false;
    }
    options.settings.sampleRate = static_cast<std::int32_t>(number);
  }
  if (line.has("block")) {
    if (!numbertext::parseInteger(line.value("block"), 1, offlinerender::kMaxBlockSize, number)) {
      error = "--block expects a block size from 1 to " + std::to_string(offlinerender::kMaxBlockSize);
      return false;
    }
    options.settings.blockSize = static_cast<std::int32_t>(number);
  }
  if (line.has("tail") && !numbertext::parseSeconds(line.value("tail"), kMaxTailSeconds, options.tailNanoseconds)) {
    error = "--tail expects seconds from 0 to " + std::to_string(kMaxTailSeconds) + " (at most nine decimals)";
    return false;
  }
  const std::string format = line.value("format", "f32");
  if (format == "s16") {
    options.format = wav::SampleFormat::kPcm16;
  } else if (format != "f32") {
    error = "--format expects f32 or s16";
    return false;
  }
  options.progress = line.has("progress") || ProgressMeter::stderrIsTerminal();
  options.settings.tailFrames = eventsequence::samplePosition(options.tailNanoseconds, numbertext::kNanosecondsPerSecond,
                                                              options.settings.sampleRate);
  return true;
}

}  // namespace

int render(const Arguments& arguments) {
  const std::vector<OptionSpec> own = {
      {"rate", true}, {"block", true}, {"tail", true}, {"format", true}, {"progress", false}};
  // The options are checked before the plug-in is loaded, so that a typo costs nothing.
  CommandLine line;
  std::string error;
  std::vector<OptionSpec> all = own;
  const std::vector<OptionSpec> shared = hostsession::setupOptions();
  all.insert(all.end(), shared.begin(), shared.end());
  RenderOptions options;
  if (!line.parse(arguments, all, error) || !readOptions(line, options, error)) return usageError(kVerb, error);

  HostSession session;
  const int prepared = openPrepared(kVerb, arguments, own, kPositionals, line, session);
  if (prepared != kSuccess) return prepared;
  const std::string& inputPath = line.positionals()[1];
  const std::string& outputPath = line.positionals()[2];

  EventSequence sequence;
  if (!eventsequence::loadFile(inputPath, sequence, error)) return failure(kVerb, error);
  const std::int64_t total = offlinerender::totalFrames(sequence, options.settings);
  if (!wav::fits(options.format, offlinerender::kOutputChannels, static_cast<std::uint64_t>(total))) {
    return failure(kVerb, "the render of " + std::to_string(total) + " frames would not fit in a WAV file");
  }

  wav::FileWriter writer;
  if (!writer.open(outputPath, options.format, static_cast<std::uint32_t>(options.settings.sampleRate),
                   offlinerender::kOutputChannels, error)) {
    return failure(kVerb, error);
  }
  ProgressMeter meter(options.progress);
  const bool rendered = offlinerender::render(
      *session.plugin, sequence, options.settings,
      [&writer](const float* const* channels, std::int32_t frames, std::string& sinkError) {
        return writer.write(channels, static_cast<std::size_t>(frames), sinkError);
      },
      [&meter](std::int64_t done, std::int64_t count) { meter.update(done, count); }, error);
  if (!rendered || !writer.finish(error)) return failure(kVerb, error);
  return kSuccess;
}

}  // namespace verbs
