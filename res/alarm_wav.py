#!/usr/bin/env python3
"""Writes the program's alarm sound: 16-bit mono PCM at 22050 Hz, a two-tone chime of 0.8 s
that loops without a click (every tone ends on a whole number of periods and fades)."""
import math
import struct
import sys

RATE = 22050


def tone(freq, seconds, volume):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        envelope = min(1.0, i / (0.01 * RATE)) * min(1.0, (n - i) / (0.03 * RATE))
        s = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(2 * math.pi * 2 * freq * t)
        out.append(int(max(-1.0, min(1.0, volume * envelope * s / 1.3)) * 32767))
    return out


def main(path):
    samples = tone(880, 0.3, 0.7) + [0] * int(RATE * 0.05) + tone(660, 0.3, 0.7) + [0] * int(RATE * 0.15)
    data = struct.pack('<%dh' % len(samples), *samples)
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE * 2, 2, 16)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


if __name__ == '__main__':
    main(sys.argv[1])
