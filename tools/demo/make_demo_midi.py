#!/usr/bin/env python3
"""Writes the demo piece, a Standard MIDI File of about 25 seconds in A minor.

    python3 tools/demo/make_demo_midi.py [OUT.mid]     (default: next to this script)

The piece is laid out to show what the instrument does, bar by bar at 100 beats per
minute (2.4 s a bar):

  1-2   intro: soft chords and a bass line (A minor, F major)
  3-6   the tune enters over A minor, F, C, G; velocities vary from note to note
  7     the tune alone: a held D bent up a whole tone to E and back, then a run up
  8     climax: wide chords over a doubled bass and the tune, each struck before the
        last one is let go, so up to nineteen notes are held at once for nine voices
        and the oldest voices are taken over
  9-10  the closing A minor chord, held and then released so its tail rings out

Only the standard library is used, and the output is the same byte for byte on every run.
"""

import os
import struct
import sys

TICKS_PER_QUARTER = 480
BEATS_PER_MINUTE = 100
MICROSECONDS_PER_QUARTER = 60_000_000 // BEATS_PER_MINUTE
BEATS_PER_BAR = 4
BAR = BEATS_PER_BAR * TICKS_PER_QUARTER
Q = TICKS_PER_QUARTER        # quarter note
E = Q // 2                   # eighth note
H = 2 * Q                    # half note
W = 4 * Q                    # whole note
LIFT = Q // 16               # a note let go this early (about 40 ms) ends in an earlier block

PITCH_BEND_CENTRE = 8192
# The instrument's bend range is one octave each way: 8192 steps for 12 semitones.
BEND_STEPS_PER_SEMITONE = PITCH_BEND_CENTRE / 12

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    """MIDI note number of a name such as "A4", "G#5" or "Bb3" (C4 = 60)."""
    pitch = NOTE_NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        pitch += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + pitch


def bar(number, beat=0.0):
    """Tick of a beat (counted from 0) in a bar (counted from 1)."""
    return (number - 1) * BAR + int(beat * Q)


class Track:
    def __init__(self, name, channel):
        self.name = name
        self.channel = channel
        self.events = []  # (tick, order, bytes): note offs sort before note ons at one tick

    def play(self, start, length, names, velocity):
        for n in names.split():
            self.events.append((start, 1, bytes([0x90 | self.channel, note(n), velocity])))
            self.events.append((start + length, 0, bytes([0x80 | self.channel, note(n), 64])))

    def bend(self, tick, semitones):
        value = max(0, min(16383, round(PITCH_BEND_CENTRE + semitones * BEND_STEPS_PER_SEMITONE)))
        self.events.append((tick, 0, bytes([0xE0 | self.channel, value & 0x7F, value >> 7])))

    def bend_ramp(self, start, length, from_semitones, to_semitones, steps):
        for i in range(steps + 1):
            fraction = i / steps
            self.bend(start + int(length * fraction), from_semitones + (to_semitones - from_semitones) * fraction)


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + variable_length(len(data)) + data


def track_chunk(timed_messages):
    """timed_messages: (tick, message bytes) in time order; adds the end-of-track event."""
    body = b""
    now = 0
    for tick, message in timed_messages:
        body += variable_length(tick - now) + message
        now = tick
    body += variable_length(0) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + body


def compose():
    tune = Track("Tune", 0)
    chords = Track("Chords", 1)
    bass = Track("Bass", 2)

    # Intro: chords as soft half notes, bass on the beat.
    for number, (low, high, root) in enumerate([("A3 C4 E4", "A3 C4 E4", "A2"),
                                                 ("F3 A3 C4", "A3 C4 F4", "F2")], start=1):
        chords.play(bar(number), H, low, 52)
        chords.play(bar(number, 2), H, high, 46)
        for beat, name in enumerate([root, root, root[0] + "3", root]):
            bass.play(bar(number, beat), Q - 40, name, 70)

    # The tune over A minor, F, C, G.
    progression = [
        ("A3 C4 E4", "A2 E3 A3 E3"),   # bar 3
        ("A3 C4 F4", "F2 C3 F3 C3"),   # bar 4
        ("G3 C4 E4", "C3 G3 C4 G3"),   # bar 5
        ("G3 B3 D4", "G2 D3 G3 D3"),   # bar 6
    ]
    for index, (triad, walk) in enumerate(progression):
        number = 3 + index
        chords.play(bar(number), H - 20, triad, 58)
        chords.play(bar(number, 2), H - 20, triad, 50)
        for step, name in enumerate(walk.split()):
            bass.play(bar(number, step), Q - 30, name, 84 if step == 0 else 66)
    melody = [
        # bar 3
        (3, 0.0, Q, "E5", 96), (3, 1.0, Q, "A5", 104), (3, 2.0, E, "G5", 84), (3, 2.5, E, "E5", 78),
        (3, 3.0, Q, "C5", 90),
        # bar 4
        (4, 0.0, Q + E, "D5", 100), (4, 1.5, E, "C5", 76), (4, 2.0, H, "A4", 88),
        # bar 5
        (5, 0.0, Q, "E5", 92), (5, 1.0, Q, "G5", 100), (5, 2.0, Q, "C6", 118), (5, 3.0, E, "B5", 86),
        (5, 3.5, E, "G5", 80),
        # bar 6
        (6, 0.0, Q + E, "A5", 106), (6, 1.5, E, "G5", 82), (6, 2.0, H, "D5", 94),
    ]
    for number, beat, length, name, velocity in melody:
        tune.play(bar(number, beat), length, name, velocity)

    # Bar 7, the tune alone: D bent up to E and back to the centre, then a run into the climax.
    tune.play(bar(7), H + Q // 2, "D5", 110)
    tune.bend_ramp(bar(7, 0.75), Q, 0.0, 2.0, 16)
    tune.bend_ramp(bar(7, 2.0), Q // 2, 2.0, 0.0, 8)
    tune.bend(bar(7, 2.75), 0.0)
    for step, name in enumerate(["E5", "G#5", "B5", "D6"]):
        tune.play(bar(7, 3 + step * 0.25), Q // 4 - (LIFT if step == 3 else 0), name, 90 + 8 * step)

    # Bar 8, the climax: wide chords over a doubled bass and the tune, each struck before
    # the one before it ends, so up to nineteen notes are held and voices are taken over.
    # A chord that shares notes with the next one is let go a moment before it (a note-off
    # releases every voice holding its note), and no note-off lands on a note-on.
    climax = [(0.0, 1.5, "F3 C4 F4 A4 C5 E5 G5", "F1 F2", "A5"),
              (1.5, 1.5, "F3 A3 C4 F4 A4 C5 F5", "F1 F2", "C6"),
              (2.0, 1.5 + LIFT / Q, "G3 B3 D4 G4 B4 D5", "G1 G2", "B5"),
              (3.0, 1.0, "E3 G#3 E4 G#4 E5", "E1 E2", "G#5")]
    for index, (beat, beats, stack, low, top) in enumerate(climax):
        length = int(beats * Q) - LIFT
        chords.play(bar(8, beat), length, stack, 84 if index == 0 else 76)
        bass.play(bar(8, beat), length, low, 96)
        tune.play(bar(8, beat), length, top, 104)

    # Bars 9 and 10: the closing chord, held, then let go to ring out.
    chords.play(bar(9), W + H + Q, "A3 E4 A4 B4 C5 E5", 76)
    bass.play(bar(9), W + H + Q, "A1 A2", 90)
    tune.play(bar(9), W + H + Q, "A5", 100)
    return [tune, chords, bass]


def midi_file(tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks) + 1, TICKS_PER_QUARTER)
    conductor = [
        (0, meta(0x03, b"Quindle demo")),
        (0, meta(0x58, bytes([BEATS_PER_BAR, 2, 24, 8]))),
        (0, meta(0x59, bytes([0, 1]))),  # A minor: no sharps or flats, minor
        (0, meta(0x51, MICROSECONDS_PER_QUARTER.to_bytes(3, "big"))),
    ]
    chunks = [track_chunk(conductor)]
    for track in tracks:
        ordered = sorted(track.events, key=lambda event: (event[0], event[1]))
        named = [(0, meta(0x03, track.name.encode()))] + [(tick, data) for tick, _, data in ordered]
        chunks.append(track_chunk(named))
    return header + b"".join(chunks)


def most_notes_held(tracks):
    changes = []
    for track in tracks:
        for tick, order, data in track.events:
            if data[0] & 0xF0 in (0x80, 0x90):
                changes.append((tick, order, 1 if data[0] & 0xF0 == 0x90 else -1))
    held = most = 0
    for _, _, change in sorted(changes):
        held += change
        most = max(most, held)
    return most


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                             "demo.mid")
    tracks = compose()
    with open(out, "wb") as handle:
        handle.write(midi_file(tracks))
    last = max(tick for track in tracks for tick, _, _ in track.events)
    seconds = last / TICKS_PER_QUARTER * MICROSECONDS_PER_QUARTER / 1e6
    print(f"{out}: {seconds:.1f} s of music, at most {most_notes_held(tracks)} notes held at once")


if __name__ == "__main__":
    main()
