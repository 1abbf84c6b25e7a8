#include "clap/host_notifier.h"

#include "core/instrument.h"

namespace {

static_assert(PARAMETER_COUNT <= 32, "one bit per parameter");

std::uint32_t bitOf(std::int32_t index) { return std::uint32_t{1} << index; }

}  // namespace

HostNotifier::HostNotifier(EditorBase* const& editorSlot)
    : editorNotifier(editorSlot),
      host(nullptr),
      hostParams(nullptr),
      hostState(nullptr),
      changedParameters(0),
      programPending(false),
      statePending(false),
      callbackRequested(false) {}

void HostNotifier::attach(const clap_host_t* owner, const clap_host_params_t* params, const clap_host_state_t* state) {
  hostParams = params;
  hostState = state;
  host = owner;
}

void HostNotifier::requestCallback() {
  if (host == nullptr || host->request_callback == nullptr) return;
  if (!callbackRequested.exchange(true, std::memory_order_acq_rel)) host->request_callback(host);
}

void HostNotifier::parameterChanged(std::int32_t index, float) {
  if (!isParameterIndex(index)) return;
  changedParameters.fetch_or(bitOf(index), std::memory_order_release);
  requestCallback();
}

void HostNotifier::programLoaded() {
  programPending.store(true, std::memory_order_release);
  requestCallback();
}

void HostNotifier::stateLoaded() {
  statePending.store(true, std::memory_order_release);
  requestCallback();
}

void HostNotifier::deliver(const Instrument& instrument) {
  // Cleared first: a change recorded from here on asks for the next callback.
  callbackRequested.store(false, std::memory_order_release);
  const bool program = programPending.exchange(false, std::memory_order_acq_rel);
  const bool state = statePending.exchange(false, std::memory_order_acq_rel);
  const std::uint32_t changed = changedParameters.exchange(0, std::memory_order_acq_rel);
  if (program || state) {
    // Every value may be new; the single changes are included.
    if (state) {
      editorNotifier.stateLoaded();
    } else {
      editorNotifier.programLoaded();
    }
    if (hostParams != nullptr && hostParams->rescan != nullptr) hostParams->rescan(host, CLAP_PARAM_RESCAN_VALUES);
    // The host keeps the current program in the song: a selection changed the state.
    if (program && hostState != nullptr && hostState->mark_dirty != nullptr) hostState->mark_dirty(host);
    return;
  }
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    if ((changed & bitOf(index)) != 0) editorNotifier.parameterChanged(index, instrument.getParameter(index));
  }
}
