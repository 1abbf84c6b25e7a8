"""Reading WAV files and measuring the sounds in them, with the standard library only.

The host test compares two renders of the same notes: LMMS writes 32-bit float WAV
(format 3, which Python's wave module does not read), quindle-host writes float or
16-bit PCM. Every measurement here works on the first channel (the instrument's two
outputs carry the same signal).
"""

import cmath
import math
import struct

WAVE_FORMAT_PCM = 1
WAVE_FORMAT_IEEE_FLOAT = 3
WAVE_FORMAT_EXTENSIBLE = 0xFFFE


class Audio:
    def __init__(self, rate, channels):
        self.rate = rate
        self.channels = channels  # list of lists of floats, full scale +-1.0

    @property
    def frames(self):
        return len(self.channels[0]) if self.channels else 0


def read_wav(path):
    """Reads PCM 16/24/32-bit or float 32/64-bit, plain or extensible. Raises ValueError."""
    with open(path, "rb") as handle:
        data = handle.read()
    if len(data) < 12 or data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path}: not a RIFF WAVE file")
    position = 12
    fmt = None
    samples = None
    while position + 8 <= len(data):
        kind = data[position:position + 4]
        size = struct.unpack_from("<I", data, position + 4)[0]
        body = data[position + 8:position + 8 + size]
        if kind == b"fmt ":
            tag, channels, rate, _, block_align, bits = struct.unpack_from("<HHIIHH", body, 0)
            if tag == WAVE_FORMAT_EXTENSIBLE and len(body) >= 26:
                tag = struct.unpack_from("<H", body, 24)[0]
            fmt = (tag, channels, rate, block_align, bits)
        elif kind == b"data":
            samples = body
        position += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise ValueError(f"{path}: no fmt or data chunk")
    tag, count, rate, block_align, bits = fmt
    frames = len(samples) // block_align
    values = decode(samples[:frames * block_align], tag, bits, path)
    return Audio(rate, [values[c::count] for c in range(count)])


def decode(raw, tag, bits, path):
    if tag == WAVE_FORMAT_IEEE_FLOAT and bits in (32, 64):
        code = "f" if bits == 32 else "d"
        return list(struct.unpack("<%d%s" % (len(raw) // (bits // 8), code), raw))
    if tag == WAVE_FORMAT_PCM and bits == 16:
        return [v / 32768.0 for v in struct.unpack("<%dh" % (len(raw) // 2), raw)]
    if tag == WAVE_FORMAT_PCM and bits == 32:
        return [v / 2147483648.0 for v in struct.unpack("<%di" % (len(raw) // 4), raw)]
    if tag == WAVE_FORMAT_PCM and bits == 24:
        out = []
        for i in range(0, len(raw) - 2, 3):
            out.append(int.from_bytes(raw[i:i + 3], "little", signed=True) / 8388608.0)
        return out
    raise ValueError(f"{path}: unsupported sample format {tag} with {bits} bits")


def sounding_stretches(signal, gap, threshold=0.0):
    """(first, last) sample of every stretch of samples louder than `threshold`; stretches
    closer than `gap` quiet samples are one stretch. The instrument outputs exact zeros
    when no voice sounds, so the default threshold is zero itself."""
    stretches = []
    start = last = None
    for i, value in enumerate(signal):
        if abs(value) > threshold:
            if start is None:
                start = i
            elif i - last > gap:
                stretches.append((start, last))
                start = i
            last = i
    if start is not None:
        stretches.append((start, last))
    return stretches


def rms_db(signal, first, count):
    window = signal[first:first + count]
    if not window:
        return float("-inf")
    power = sum(v * v for v in window) / len(window)
    return 10.0 * math.log10(power) if power > 0 else float("-inf")


def peak(signal):
    return max((abs(v) for v in signal), default=0.0)


def fft(values):
    """Iterative radix-2 FFT of a list whose length is a power of two."""
    n = len(values)
    out = [complex(v) for v in values]
    j = 0
    for i in range(1, n):
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            out[i], out[j] = out[j], out[i]
    length = 2
    while length <= n:
        step = cmath.exp(-2j * math.pi / length)
        half = length // 2
        for start in range(0, n, length):
            w = 1.0
            for k in range(half):
                a = out[start + k]
                b = out[start + k + half] * w
                out[start + k] = a + b
                out[start + k + half] = a - b
                w *= step
        length *= 2
    return out


def strongest_frequency(signal, first, rate, size=8192):
    """Frequency in Hz of the strongest partial of `size` samples from `first` (Hann window,
    peak bin refined by a parabola through the log magnitudes of its neighbours)."""
    window = signal[first:first + size]
    window = window + [0.0] * (size - len(window))
    shaped = [v * (0.5 - 0.5 * math.cos(2.0 * math.pi * i / (size - 1))) for i, v in enumerate(window)]
    spectrum = fft(shaped)
    magnitudes = [abs(c) for c in spectrum[:size // 2]]
    best = max(range(1, size // 2 - 1), key=lambda k: magnitudes[k])
    left, centre, right = (math.log(max(magnitudes[best + d], 1e-30)) for d in (-1, 0, 1))
    denominator = left - 2.0 * centre + right
    offset = 0.5 * (left - right) / denominator if denominator != 0 else 0.0
    return (best + offset) * rate / size


def max_difference(a, b):
    return max((abs(x - y) for x, y in zip(a, b)), default=0.0)
