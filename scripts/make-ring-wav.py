#!/usr/bin/env python3
"""Writes the ring of the incoming-call dialog to resources/console/ring.wav, and the short
note a chat window plays for a visitor's line to resources/console/line.wav.

A soft two-note chime (A5 then F5, each with two quiet overtones) that dies away into a short
rest: the dialog plays it in a loop, so the file starts and ends on silence and every repeat
joins without a click. PCM, one channel, 22050 samples per second, 16 bits. Pure arithmetic
and no randomness: running it again writes the same bytes.
"""
import math
import os
import struct
import wave

RATE = 22050
LENGTH = 1.4          # seconds, the rest included
PEAK = 0.45           # of full scale: a ring, not an alarm
ATTACK = 0.008        # seconds; a softer start than a hard edge, without a click
DECAY = 0.22          # seconds for a note to fall to 1/e
FADE = 0.03           # seconds of fade-out before a note's window closes
OVERTONES = ((1, 1.0), (2, 0.30), (3, 0.08))

# (start, end of its window, frequency) in seconds and hertz.
NOTES = ((0.00, 0.60, 880.0), (0.30, 1.25, 698.46))


def note_sample(t, start, end, frequency):
    if t < start or t >= end:
        return 0.0
    age = t - start
    envelope = math.exp(-age / DECAY)
    if age < ATTACK:
        envelope *= age / ATTACK
    left = end - t
    if left < FADE:
        envelope *= left / FADE
    tone = sum(weight * math.sin(2.0 * math.pi * frequency * k * age) for k, weight in OVERTONES)
    return envelope * tone


def samples(notes=NOTES, length=LENGTH, peak=PEAK):
    raw = []
    for i in range(int(RATE * length)):
        t = i / RATE
        raw.append(sum(note_sample(t, *note) for note in notes))
    top = max(abs(v) for v in raw)
    scale = peak * 32767.0 / top
    return [int(round(v * scale)) for v in raw]


# The line's note: one short, quieter tone, played once, so it tells of a line without
# sounding like a chat request.
LINE_NOTES = ((0.00, 0.28, 1174.66),)
LINE_LENGTH = 0.3
LINE_PEAK = 0.25


def write(name, data):
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "console",
                       name)
    with wave.open(out, "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(struct.pack("<%dh" % len(data), *data))


def main():
    write("ring.wav", samples())
    write("line.wav", samples(LINE_NOTES, LINE_LENGTH, LINE_PEAK))


if __name__ == "__main__":
    main()
