#!/usr/bin/env python3
"""The two halves of the LMMS host test (run_hosttest.sh runs the hosts in between).

  hosttest.py prepare FACTORY.fxb DLL WORKDIR
      From the plug-in's own factory bank, edits one program, and writes into WORKDIR:
      quindle.mmp (LMMS project: the DLL, the edited bank as LMMS stores it, the notes),
      edited.fxb (the same bank and current program for quindle-host), notes.txt (the
      same notes as a text event list), lmmsrc.xml (a private LMMS configuration).
  hosttest.py compare WORKDIR LMMS.wav HOST.wav FACTORY_HOST.wav
      Measures every note in both renders and compares them: the sample where the sound
      starts, the number of samples it lasts, its strongest partial and its level. The
      render of the unedited program must differ, which shows the edit reached LMMS.
      Prints the figures; exits 1 when a check fails.
  hosttest.py edited-program
      Prints the number of the program the test edits.
"""

import json
import os
import sys

import bank_file
import lmms_project
import wav_audio

SAMPLE_RATE = 44100
BLOCK_SIZE = 256           # LMMS's period; quindle-host is run with the same
BEATS_PER_MINUTE = 120     # a tick is then 1/96 s; multiples of 8 ticks are whole samples
SECONDS_PER_TICK = 60.0 / BEATS_PER_MINUTE / lmms_project.TICKS_PER_QUARTER
VELOCITY = 127

# The edited program and what changes in it: the BODY BRIGHT switch moves the carrier to
# twice the note frequency (a different pitch), the volume and release change level and
# length.
EDITED_PROGRAM = 2
EDITED_NAME = "Host test edit"
EDITS = {4: 0.0, 10: 0.25, 12: 0.5}

# (MIDI note, position in ticks, length in ticks): single notes with silence between them,
# then a chord. Every position is a whole number of samples at 44100 Hz.
NOTES = [(69, 48, 48), (76, 144, 24), (64, 240, 96), (57, 432, 48), (60, 432, 48), (64, 432, 48)]
TAIL_SECONDS = 1.0

# Tolerances. The two renders run the same module on the same events in blocks of the
# same size, so they should agree to the sample; the margins only allow for LMMS's own
# float arithmetic on the way to its WAV file.
ONSET_TOLERANCE = 1            # samples between the two renders
ONSET_LATENCY_LIMIT = 4        # samples between the note's position and its sound
LENGTH_TOLERANCE = 2           # samples
PITCH_TOLERANCE = 0.002        # relative
LEVEL_TOLERANCE_DB = 0.1
EDIT_MIN_EFFECT_DB = 1.0       # the edit must move the level by at least this much...
EDIT_MIN_PITCH_CHANGE = 0.05   # ...or the pitch by at least this fraction
GAP_SAMPLES = 2048             # quiet samples that separate two sounds
LEVEL_WINDOW = 4096            # samples measured for level, from the start of the sound


def sample_of_tick(tick):
    return round(tick * SECONDS_PER_TICK * SAMPLE_RATE)


def events_text(notes):
    lines = ["# The host test's notes: the same as in quindle.mmp"]
    for note, position, length in notes:
        on = position * SECONDS_PER_TICK
        lines.append(f"{on:.9f} on {note} {VELOCITY}")
        lines.append(f"{on + length * SECONDS_PER_TICK:.9f} off {note} 0")
    return "\n".join(lines) + "\n"


def prepare(factory_path, dll_path, workdir):
    fx_id, fx_version, _, chunk = bank_file.read_bank_file(factory_path)
    bank = bank_file.Bank(chunk)
    bank.set_name(EDITED_PROGRAM, EDITED_NAME)
    for parameter, value in EDITS.items():
        bank.set_value(EDITED_PROGRAM, parameter, value)
    os.makedirs(workdir, exist_ok=True)
    bank_file.write_bank_file(os.path.join(workdir, "edited.fxb"), fx_id, fx_version, EDITED_PROGRAM, bank.chunk)
    lmms_notes = [(note, position, length, lmms_project.FULL_VOLUME) for note, position, length in NOTES]
    with open(os.path.join(workdir, "quindle.mmp"), "w") as handle:
        handle.write(lmms_project.project(os.path.abspath(dll_path), EDITED_PROGRAM, bank.chunk, lmms_notes,
                                          BEATS_PER_MINUTE))
    with open(os.path.join(workdir, "notes.txt"), "w") as handle:
        handle.write(events_text(NOTES))
    with open(os.path.join(workdir, "lmmsrc.xml"), "w") as handle:
        handle.write(lmms_project.config(os.path.abspath(os.path.join(workdir, "lmms-files"))))
    print(f"hosttest: program {EDITED_PROGRAM} renamed \"{EDITED_NAME}\", parameters "
          + ", ".join(f"{p}={v}" for p, v in sorted(EDITS.items())) + f"; {len(NOTES)} notes at {BEATS_PER_MINUTE} bpm")


def expected_sounds():
    """(first sample, last note-off sample) of each group of notes that start together."""
    groups = {}
    for _, position, length in NOTES:
        start = sample_of_tick(position)
        groups[start] = max(groups.get(start, 0), sample_of_tick(position + length))
    return sorted(groups.items())


def measure(audio, expected):
    signal = audio.channels[0]
    stretches = wav_audio.sounding_stretches(signal, GAP_SAMPLES)
    sounds = []
    for start, _ in expected:
        near = [s for s in stretches if abs(s[0] - start) < GAP_SAMPLES]
        if not near:
            sounds.append(None)
            continue
        first, last = near[0]
        sounds.append({"onset": first, "length": last - first + 1,
                       "pitch": wav_audio.strongest_frequency(signal, first, audio.rate),
                       "level": wav_audio.rms_db(signal, first, LEVEL_WINDOW)})
    return sounds, len(stretches)


class Checks:
    def __init__(self):
        self.failures = 0
        self.passes = 0

    def check(self, ok, text):
        print(("  ok    " if ok else "  FAIL  ") + text)
        if ok:
            self.passes += 1
        else:
            self.failures += 1


def compare(workdir, lmms_path, host_path, factory_host_path):
    lmms, host, factory = (wav_audio.read_wav(p) for p in (lmms_path, host_path, factory_host_path))
    checks = Checks()
    checks.check(lmms.rate == host.rate == SAMPLE_RATE, f"sample rates: LMMS {lmms.rate} Hz, quindle-host {host.rate} Hz")
    expected = expected_sounds()
    lmms_sounds, lmms_count = measure(lmms, expected)
    host_sounds, host_count = measure(host, expected)
    factory_sounds, _ = measure(factory, expected)
    checks.check(lmms_count == host_count == len(expected),
                 f"separate sounds: LMMS {lmms_count}, quindle-host {host_count}, notes {len(expected)}")
    figures = []
    for index, ((start, _), a, b, f) in enumerate(zip(expected, lmms_sounds, host_sounds, factory_sounds)):
        label = f"sound {index + 1} (note at sample {start})"
        if a is None or b is None:
            checks.check(False, f"{label}: missing in {'LMMS' if a is None else 'quindle-host'}")
            continue
        checks.check(abs(a["onset"] - b["onset"]) <= ONSET_TOLERANCE and abs(a["onset"] - start) <= ONSET_LATENCY_LIMIT,
                     f"{label}: starts at LMMS {a['onset']}, quindle-host {b['onset']}")
        checks.check(abs(a["length"] - b["length"]) <= LENGTH_TOLERANCE,
                     f"{label}: lasts LMMS {a['length']}, quindle-host {b['length']} samples")
        checks.check(abs(a["pitch"] / b["pitch"] - 1.0) <= PITCH_TOLERANCE,
                     f"{label}: strongest partial LMMS {a['pitch']:.2f} Hz, quindle-host {b['pitch']:.2f} Hz")
        checks.check(abs(a["level"] - b["level"]) <= LEVEL_TOLERANCE_DB,
                     f"{label}: level LMMS {a['level']:.2f} dB, quindle-host {b['level']:.2f} dB")
        if f is not None:
            edit_shows = (abs(a["level"] - f["level"]) >= EDIT_MIN_EFFECT_DB
                          or abs(a["pitch"] / f["pitch"] - 1.0) >= EDIT_MIN_PITCH_CHANGE)
            checks.check(edit_shows, f"{label}: unedited program differs ({f['pitch']:.2f} Hz, {f['level']:.2f} dB)")
        figures.append({"start": start, "lmms": a, "host": b, "factory": f})
    frames = min(lmms.frames, host.frames)
    difference = wav_audio.max_difference(lmms.channels[0][:frames], host.channels[0][:frames])
    print(f"  info  largest sample difference over {frames} samples: {difference:.3g}"
          f" (peaks LMMS {wav_audio.peak(lmms.channels[0]):.4f}, quindle-host {wav_audio.peak(host.channels[0]):.4f})")
    with open(os.path.join(workdir, "figures.json"), "w") as handle:
        json.dump({"figures": figures, "largest_difference": difference}, handle, indent=1)
    print(f"{checks.passes} passed, {checks.failures} failed")
    return 0 if checks.failures == 0 else 1


def main(arguments):
    if len(arguments) == 4 and arguments[0] == "prepare":
        prepare(*arguments[1:])
        return 0
    if len(arguments) == 5 and arguments[0] == "compare":
        return compare(*arguments[1:])
    if arguments == ["edited-program"]:
        print(EDITED_PROGRAM)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
