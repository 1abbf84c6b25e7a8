#!/usr/bin/env python3
"""The two halves of the Ardour host test (run_ardour.sh runs Ardour in between).

  ardour_hosttest.py prepare WORKDIR FORMAT
      Writes into WORKDIR what a headless Ardour session needs to play Quindle as FORMAT
      (LV2, LXVST or VST3, the plug-in found in WORKDIR/plugins): home/ with Ardour's
      configuration (a Lua note source that plays the test's notes and pitch bends at their
      samples, a float WAV export preset), session.lua (a new session at 48 kHz, a MIDI
      track with the note source in front of the plug-in, one edited parameter, an export
      of the whole piece), and notes.txt, the same notes, bends and edit for quindle-host.
  ardour_hosttest.py host-options
      Prints the quindle-host render options that match the session.
  ardour_hosttest.py compare WORKDIR ARDOUR.wav HOST.wav
      Measures every sound in both renders, as the LMMS test does (start sample, length,
      strongest partial, level), and demands the same samples: Ardour runs the plug-in in
      cycles of the size quindle-host uses, on the same events. Exits 1 when a check fails.
"""

import os
import sys

import hosttest
import wav_audio

SAMPLE_RATE = 48000
BLOCK_SIZE = 1024         # Ardour's dummy back-end runs cycles of this size
PLUGIN_NAME = "Quindle"
NOTE_SOURCE_NAME = "Quindle Test Notes"
PRESET_ID = "6a3f0c52-6a8e-4f51-9b1e-3c0c5f1e2a77"
FLOAT_WAV_FORMAT_ID = "20b4ab09-6452-4cb3-bd66-b921cdbd2942"  # Ardour's "BWAV 32float Export"
VELOCITY = 110
# (MIDI note, first sample, length in samples): single notes with silence between them,
# then a chord.
NOTES = [(69, 24000, 12000), (76, 48000, 6000), (64, 72000, 24000), (57, 120000, 12000), (60, 120000, 12000),
         (64, 120000, 12000)]
# (sample, 14-bit position): up a fourth of the range and back during the third note, to
# the bottom, the top and back to the centre during the chord. VST 3 hosts carry them as
# a parameter through the plug-in's MIDI mapping.
BENDS = [(78000, 12288), (84000, 8192), (126000, 0), (129000, 16383), (131000, 8192)]
PITCH_BEND = 0xE0
TAIL_SAMPLES = 48000
# One parameter set in the session: BODY BRIGHT moves the carrier an octave up.
EDITS = {4: 0.0}
# Ardour renders the same plug-in on the same events in cycles of the same size: the two
# renders should agree to the sample. The margins only allow for a host's own arithmetic.
ONSET_TOLERANCE = 1
LENGTH_TOLERANCE = 2
PITCH_TOLERANCE = 0.002
LEVEL_TOLERANCE_DB = 0.1
PLUGIN_TYPES = {"LV2": "LV2", "LXVST": "LXVST", "VST3": "VST3"}
# Where each kind of plug-in is looked for; LV2 comes through LV2_PATH.
PATH_SETTINGS = {
    "LV2": [],
    "LXVST": ['ARDOUR.config ():set_plugin_path_lxvst ("{plugins}")'],
    "VST3": ['ARDOUR.config ():set_use_vst3 (true)', 'ARDOUR.config ():set_plugin_path_vst3 ("{plugins}")'],
}


def last_sample():
    return max(start + length for _, start, length in NOTES) + TAIL_SAMPLES


def note_source():
    events = []
    for note, start, length in NOTES:
        events.append((start, 0x90, note, VELOCITY))
        events.append((start + length, 0x80, note, 0))
    for sample, position in BENDS:
        events.append((sample, PITCH_BEND, position & 0x7F, position >> 7))
    rows = ",\n  ".join(f"{{{s}, {status}, {n}, {v}}}" for s, status, n, v in sorted(events))
    return f'''ardour {{ ["type"] = "dsp", name = "{NOTE_SOURCE_NAME}", category = "Utility", license = "MIT",
         author = "Quindle developers", description = "Plays the host test's notes at their samples" }}
-- {{sample, status, data 1, data 2}}, in sample order
local events = {{
  {rows}
}}
-- The position is counted here from the first rolling cycle on: the session's own
-- transport position, read from a plug-in, runs ahead of the samples now and then.
local position = nil
function dsp_ioconfig () return {{ {{ midi_in = 1, midi_out = 1, audio_in = 0, audio_out = 0 }} }} end
function dsp_run (_, _, n_samples)
  local count = 1
  for _, event in pairs (midiin) do midiout[count] = event; count = count + 1 end
  if not Session:transport_rolling () then position = nil; return end
  if position == nil then position = Session:transport_sample () end
  for _, e in ipairs (events) do
    if e[1] >= position and e[1] < position + n_samples then
      midiout[count] = {{ time = e[1] - position + 1, data = {{ e[2], e[3], e[4] }} }}
      count = count + 1
    end
  end
  position = position + n_samples
end
'''


def export_preset():
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<ExportPreset id="{PRESET_ID}" name="Quindle host test float WAV">
  <ExportFormat id="{FLOAT_WAV_FORMAT_ID}"/>
  <ExportFilename>
    <Folder relative="1" path="export"/>
    <Field name="label" enabled="0"/>
    <Field name="session" enabled="0"/>
    <Field name="snapshot" enabled="0"/>
    <Field name="timespan" enabled="1"/>
    <Field name="revision" enabled="0"/>
    <Field name="time" enabled="0" value="T_None"/>
    <Field name="date" enabled="0" value="D_None"/>
  </ExportFilename>
</ExportPreset>
'''


def session_script(workdir, plugin_type):
    edits = "\n".join(f"    ARDOUR.LuaAPI.set_processor_param (plugin, {index}, {value})" for index, value in EDITS.items())
    paths = "\n".join(line.format(plugins=f"{workdir}/plugins") for line in PATH_SETTINGS[plugin_type])
    return f'''-- A headless session on the dummy back-end: one MIDI track, the note source in front of
-- {PLUGIN_NAME} ({plugin_type}), the whole piece exported as a float WAV.
ARDOUR.config ():set_hide_dummy_backend (false)
{paths}
assert (not AudioEngine:set_backend ("None (Dummy)", "", ""):isnil (), "no dummy back-end")
assert (create_session ("{workdir}/session", "quindle", {SAMPLE_RATE}), "no session")
local info = ARDOUR.LuaAPI.new_plugin_info ("{PLUGIN_NAME}", ARDOUR.PluginType.{plugin_type})
assert (not info:isnil (), "Ardour does not know the plug-in")
local tracks = Session:new_midi_track (ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1),
  ARDOUR.ChanCount (ARDOUR.DataType ("audio"), 2), true, info, nil, nil, 1, "Synth",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local track = tracks:front ()
track:add_processor_by_index (ARDOUR.LuaAPI.new_luaproc (Session, "{NOTE_SOURCE_NAME}"), 0, nil, true)
for i = 0, 32 do
  local plugin = track:nth_processor (i)
  if plugin:isnil () then break end
  if plugin:display_name () == "{PLUGIN_NAME}" then
{edits}
  end
end
local export = Session:simple_export ()
export:set_name ("ardour")
export:set_folder ("{workdir}")
export:set_range (0, {last_sample()})
assert (export:set_preset ("{PRESET_ID}"), "no export preset")
assert (export:check_outputs (), "nothing to export")
assert (export:run_export (), "the export failed")
print ("export finished")
close_session ()
'''


def events_text():
    lines = ["# The Ardour host test's notes and bends, at their samples (48 kHz)"]
    for note, start, length in NOTES:
        lines.append(f"{start / SAMPLE_RATE:.9f} on {note} {VELOCITY}")
        lines.append(f"{(start + length) / SAMPLE_RATE:.9f} off {note} 0")
    for sample, position in BENDS:
        lines.append(f"{sample / SAMPLE_RATE:.9f} bend {position}")
    return "\n".join(lines) + "\n"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as handle:
        handle.write(text)


def prepare(workdir, plugin_format):
    plugin_type = PLUGIN_TYPES[plugin_format]
    workdir = os.path.abspath(workdir)
    write(os.path.join(workdir, "home/.config/ardour7/scripts/quindle_test_notes.lua"), note_source())
    write(os.path.join(workdir, "home/.config/ardour7/export/quindle-float.preset"), export_preset())
    write(os.path.join(workdir, "session.lua"), session_script(workdir, plugin_type))
    write(os.path.join(workdir, "notes.txt"), events_text())


def host_options():
    edits = ",".join(f"{index}={value}" for index, value in EDITS.items())
    tail = (last_sample() - max(start + length for _, start, length in NOTES)) / SAMPLE_RATE
    print(f"--rate {SAMPLE_RATE} --block {BLOCK_SIZE} --format f32 --tail {tail:.6f} --set {edits}")


def expected_sounds():
    groups = {}
    for _, start, length in NOTES:
        groups[start] = max(groups.get(start, 0), start + length)
    return sorted(groups.items())


def compare(ardour_path, host_path):
    ardour, host = wav_audio.read_wav(ardour_path), wav_audio.read_wav(host_path)
    checks = hosttest.Checks()
    checks.check(ardour.rate == host.rate == SAMPLE_RATE, f"sample rates: Ardour {ardour.rate} Hz, quindle-host {host.rate} Hz")
    checks.check(ardour.frames >= last_sample(), f"Ardour rendered {ardour.frames} of {last_sample()} samples")
    expected = expected_sounds()
    ardour_sounds, ardour_count = hosttest.measure(ardour, expected)
    host_sounds, host_count = hosttest.measure(host, expected)
    checks.check(ardour_count == host_count == len(expected),
                 f"separate sounds: Ardour {ardour_count}, quindle-host {host_count}, notes {len(expected)}")
    for index, ((start, _), a, b) in enumerate(zip(expected, ardour_sounds, host_sounds)):
        label = f"sound {index + 1} (note at sample {start})"
        if a is None or b is None:
            checks.check(False, f"{label}: missing in {'Ardour' if a is None else 'quindle-host'}")
            continue
        checks.check(abs(a["onset"] - b["onset"]) <= ONSET_TOLERANCE,
                     f"{label}: starts at Ardour {a['onset']}, quindle-host {b['onset']}")
        checks.check(abs(a["length"] - b["length"]) <= LENGTH_TOLERANCE,
                     f"{label}: lasts Ardour {a['length']}, quindle-host {b['length']} samples")
        checks.check(abs(a["pitch"] / b["pitch"] - 1.0) <= PITCH_TOLERANCE,
                     f"{label}: strongest partial Ardour {a['pitch']:.2f} Hz, quindle-host {b['pitch']:.2f} Hz")
        checks.check(abs(a["level"] - b["level"]) <= LEVEL_TOLERANCE_DB,
                     f"{label}: level Ardour {a['level']:.2f} dB, quindle-host {b['level']:.2f} dB")
    frames = min(ardour.frames, host.frames)
    difference = wav_audio.max_difference(ardour.channels[0][:frames], host.channels[0][:frames])
    checks.check(frames > 0 and difference == 0,
                 f"the same samples over {frames} samples (largest difference {difference:.3g})")
    print(f"{checks.passes} passed, {checks.failures} failed")
    return 0 if checks.failures == 0 else 1


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "prepare":
        prepare(arguments[1], arguments[2])
        return 0
    if arguments == ["host-options"]:
        host_options()
        return 0
    if len(arguments) == 4 and arguments[0] == "compare":
        return compare(arguments[2], arguments[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
