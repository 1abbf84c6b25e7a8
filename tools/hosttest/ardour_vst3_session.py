#!/usr/bin/env python3
"""The Ardour session of run_ardour.sh, made to play Quindle as a VST 3 plug-in.

  ardour_vst3_session.py prepare WORKDIR
      Writes what ardour_hosttest.py prepare writes (the note source, the float WAV
      export preset, notes.txt for quindle-host), with a session that takes the plug-in
      from the VST 3 bundles in WORKDIR/plugins: use-vst3 on and plugin-path-vst3 set
      to that folder instead of the VST 2 folder. The notes gain pitch bends (played
      through Ardour's MIDI mapping of the plug-in, as VST 3 carries them) in both the
      note source and notes.txt.
  ardour_vst3_session.py identical ARDOUR.wav HOST.wav
      Exits 1 unless both renders hold the same samples: Ardour runs the plug-in in
      cycles of the size quindle-host uses, on the same events, so nothing may differ.

What else Ardour 7.3 needs to offer a VST 3 plug-in to a headless session: it reads VST 3
plug-ins only from its scan cache ($XDG_CACHE_HOME/ardour7/vst/<hash>.v3i), named after
the bundle's path as Ardour finds it in the search path. ardour7-lua never scans by itself,
so ardour_vst3.sh runs Ardour's own ardour-vst3-scanner on WORKDIR/plugins/Quindle.vst3
first, with the same XDG_CACHE_HOME. Without that cache entry the plug-in is missing from
ARDOUR.LuaAPI.list_plugins () and new_plugin_info () answers nil, whatever the path says.
"""

import os
import sys

import ardour_hosttest
import wav_audio

VST3_SETTINGS = '''ARDOUR.config ():set_use_vst3 (true)
ARDOUR.config ():set_plugin_path_vst3 ("{plugins}")'''


# (sample, 14-bit position): up a fourth of the range and back during the third note,
# to the bottom and back to the centre during the chord.
BENDS = [(78000, 12288), (84000, 8192), (126000, 0), (129000, 16383), (131000, 8192)]


def add_bends(workdir):
    source = os.path.join(workdir, "home/.config/ardour7/scripts/quindle_test_notes.lua")
    with open(source) as handle:
        text = handle.read()
    start = text.index("local events = {") + len("local events = {")
    end = text.index("}\n", start)
    rows = [row.strip().rstrip(",") for row in text[start:end].strip().split("\n") if row.strip()]
    for sample, position in BENDS:
        rows.append(f"{{{sample}, 224, {position & 0x7F}, {position >> 7}}}")
    rows.sort(key=lambda row: int(row.strip("{}").split(",")[0]))
    text = text[:start] + "\n  " + ",\n  ".join(rows) + "\n" + text[end:]
    with open(source, "w") as handle:
        handle.write(text)
    with open(os.path.join(workdir, "notes.txt"), "a") as handle:
        for sample, position in BENDS:
            handle.write(f"{sample / ardour_hosttest.SAMPLE_RATE:.9f} bend {position}\n")


def identical(ardour_path, host_path):
    ardour, host = wav_audio.read_wav(ardour_path), wav_audio.read_wav(host_path)
    frames = min(ardour.frames, host.frames)
    difference = wav_audio.max_difference(ardour.channels[0][:frames], host.channels[0][:frames])
    same = difference == 0 and frames > 0
    print(f"  {'ok   ' if same else 'FAIL '} the two renders {'are' if same else 'are not'} identical over "
          f"{frames} samples (largest difference {difference:.3g})")
    return 0 if same else 1


def prepare(workdir):
    workdir = os.path.abspath(workdir)
    ardour_hosttest.PLUGIN_TYPES["VST3"] = "VST3"
    ardour_hosttest.prepare(workdir, "VST3")
    session = os.path.join(workdir, "session.lua")
    with open(session) as handle:
        lines = handle.read().split("\n")
    lxvst = [i for i, line in enumerate(lines) if "set_plugin_path_lxvst" in line]
    if len(lxvst) != 1:
        print("ardour_vst3_session.py: the session script has no VST 2 path line to replace", file=sys.stderr)
        return 1
    lines[lxvst[0]] = VST3_SETTINGS.format(plugins=os.path.join(workdir, "plugins"))
    with open(session, "w") as handle:
        handle.write("\n".join(lines))
    add_bends(workdir)
    return 0


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "prepare":
        return prepare(arguments[1])
    if len(arguments) == 3 and arguments[0] == "identical":
        return identical(arguments[1], arguments[2])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
