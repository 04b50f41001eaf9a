#!/usr/bin/env python3
"""Writes Linkora's default event sounds as 16-bit mono WAV files.

    bird.wav        new SMS: three quick rising chirps
    stelephone.wav  incoming call: a soft two-burst telephone trill (repeats)
    chimes.wav      connected: three rising bell notes
    tada.wav        disconnected: a short falling two-note close

Every sound is synthesised here from sine tones; run it again to remake them:
    python3 scripts/make_sounds.py [output folder]
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def envelope(i, n, attack=0.01, release=0.08):
    """A short linear attack and release so no tone clicks."""
    t, total = i / RATE, n / RATE
    a = min(1.0, t / attack) if attack > 0 else 1.0
    r = min(1.0, (total - t) / release) if release > 0 else 1.0
    return max(0.0, min(a, r))


def bell(freq, seconds, decay=3.2, level=0.5):
    """A bell-like note: a few inharmonic partials with exponential decay."""
    partials = [(1.0, 1.0), (2.01, 0.35), (3.02, 0.18), (4.2, 0.08)]
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        s = sum(a * math.sin(2 * math.pi * freq * m * t) * math.exp(-decay * m * 0.6 * t) for m, a in partials)
        out.append(level * s * envelope(i, n, 0.004, 0.05) / 1.6)
    return out


def chirp(f0, f1, seconds, level=0.45):
    """A bird-like chirp: a rising sweep with a quick vibrato."""
    n = int(RATE * seconds)
    out, phase = [], 0.0
    for i in range(n):
        x = i / n
        f = f0 + (f1 - f0) * x * x + 90 * math.sin(2 * math.pi * 38 * i / RATE)
        phase += 2 * math.pi * f / RATE
        shape = math.sin(math.pi * x) ** 0.7
        out.append(level * shape * math.sin(phase))
    return out


def trill(seconds, level=0.32):
    """Two tones of a telephone ring, warbled at 16 Hz."""
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        warble = 0.5 + 0.5 * math.sin(2 * math.pi * 16 * t)
        s = 0.5 * math.sin(2 * math.pi * 660 * t) + 0.5 * math.sin(2 * math.pi * 830 * t)
        out.append(level * (0.35 + 0.65 * warble) * s * envelope(i, n, 0.02, 0.05))
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def offset(samples, seconds):
    return silence(seconds) + samples


def write(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = min(1.0, 0.89 / peak)
    frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s * scale)) * 32767)) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "files", "resource", "sound", "wav")
    os.makedirs(out, exist_ok=True)

    bird = chirp(2300, 3900, 0.11) + silence(0.05) + chirp(2500, 4200, 0.10) + silence(0.07) + chirp(2800, 4600, 0.16)
    ring = trill(0.42) + silence(0.22) + trill(0.42) + silence(1.1)
    chimes = mix(bell(659.25, 1.3), offset(bell(783.99, 1.1), 0.16), offset(bell(1046.5, 1.0, decay=2.6), 0.32))
    tada = mix(bell(784.0, 0.9, level=0.45), offset(bell(523.25, 0.9, decay=2.4, level=0.55), 0.14),
               offset(bell(392.0, 0.8, decay=2.8, level=0.3), 0.14))

    for name, samples in (("bird", bird), ("stelephone", ring), ("chimes", chimes), ("tada", tada)):
        write(os.path.join(out, name + ".wav"), samples + silence(0.02))
        print("wrote", os.path.join(out, name + ".wav"))


if __name__ == "__main__":
    main()
