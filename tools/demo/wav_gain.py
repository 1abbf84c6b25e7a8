#!/usr/bin/env python3
"""Writes a copy of a 32-bit float WAV file with every sample multiplied by a fixed gain.

    python3 tools/demo/wav_gain.py IN.wav OUT.wav DECIBELS

The instrument has no master gain, so dense passages of the demo go above full scale.
The float WAV keeps those samples intact, but sox clips float input to full scale when it
reads it; the demo turns a copy down by a fixed amount before sox draws the spectrogram.
Reads only what quindle-host writes (RIFF, format 3, 32 bits); the standard library only.
"""

import array
import struct
import sys

WAVE_FORMAT_IEEE_FLOAT = 3


def chunks(data):
    position = 12
    while position + 8 <= len(data):
        kind, size = struct.unpack_from("<4sI", data, position)
        yield kind, position, size
        position += 8 + size + (size & 1)


def main(arguments):
    if len(arguments) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source, target, decibels = arguments[0], arguments[1], float(arguments[2])
    with open(source, "rb") as handle:
        data = bytearray(handle.read())
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        print(f"{source}: not a WAV file", file=sys.stderr)
        return 1
    found = dict((kind, (position, size)) for kind, position, size in chunks(data))
    if b"fmt " not in found or b"data" not in found:
        print(f"{source}: no fmt or data chunk", file=sys.stderr)
        return 1
    fmt_position = found[b"fmt "][0] + 8
    tag, bits = struct.unpack_from("<H", data, fmt_position)[0], struct.unpack_from("<H", data, fmt_position + 14)[0]
    if tag != WAVE_FORMAT_IEEE_FLOAT or bits != 32:
        print(f"{source}: not 32-bit float samples", file=sys.stderr)
        return 1
    position, size = found[b"data"]
    samples = array.array("f")
    samples.frombytes(bytes(data[position + 8:position + 8 + size - size % 4]))
    if sys.byteorder != "little":
        samples.byteswap()
    factor = 10.0 ** (decibels / 20.0)
    scaled = array.array("f", (v * factor for v in samples))
    if sys.byteorder != "little":
        scaled.byteswap()
    data[position + 8:position + 8 + len(scaled) * 4] = scaled.tobytes()
    with open(target, "wb") as handle:
        handle.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
