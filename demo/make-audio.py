#!/usr/bin/env python3
"""Writes the demo's music track and sound effect as WAVE files (16-bit mono PCM).

usage: make-audio.py MUSIC.wav WATER.wav"""
import math
import random
import struct
import sys
import wave

RATE = 22050


def write(path, samples):
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b''.join(struct.pack('<h', max(-32767, min(32767, int(s)))) for s in samples))


def music():
    """A slow arpeggio over four chords, soft attack and decay on every note."""
    chords = [(220.0, 261.63, 329.63), (196.0, 246.94, 293.66), (174.61, 220.0, 261.63), (196.0, 246.94, 329.63)]
    note = int(RATE * 0.42)
    out = []
    for bar in range(8):
        chord = chords[bar % 4]
        for i in range(8):
            f = chord[i % 3] * (2 if i >= 6 else 1)
            for n in range(note):
                t = n / RATE
                env = min(1.0, n / 400.0) * math.exp(-3.0 * t)
                bass = 0.35 * math.sin(2 * math.pi * chord[0] / 2 * (bar * 8 + i) * note / RATE + 2 * math.pi * chord[0] / 2 * t)
                out.append(9000 * env * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t)) + 2500 * bass)
    return out


def water():
    """Three seconds of soft filtered noise that loops without a click."""
    random.seed(7)
    n = RATE * 3
    raw, y = [], 0.0
    for _ in range(n):
        y = 0.97 * y + 0.03 * random.uniform(-1, 1)
        raw.append(y)
    fade = RATE // 10
    out = []
    for i in range(n):
        v = raw[i]
        if i < fade:  # cross-fade the end into the start
            v = raw[i] * (i / fade) + raw[n - fade + i] * (1 - i / fade)
        out.append(60000 * v)
    return out[: n - fade]


write(sys.argv[1], music())
write(sys.argv[2], water())
