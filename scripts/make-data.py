#!/usr/bin/env python3
"""Makes Kronalt's shipped sounds, icon and the configuration editor's picture
from scratch, so every byte in data/ is our own; and the icon in the further
sizes the desktop's icon theme asks for (packaging/icons/). Run from the repository root;
the results are committed."""

import math
import struct
import wave
import zlib

RATE = 22050


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s)))) for s in samples))


def pluck(freq, seconds, decay, amp=9000.0):
    n = int(RATE * seconds)
    return [amp * math.exp(-decay * i / RATE) *
            (math.sin(2 * math.pi * freq * i / RATE) + 0.35 * math.sin(4 * math.pi * freq * i / RATE))
            for i in range(n)]


def mix(length, parts):
    out = [0.0] * length
    for start, samples in parts:
        for i, s in enumerate(samples):
            if start + i < length:
                out[start + i] += s
    return out


def harp():
    notes = [523.25, 659.25, 783.99, 1046.5]  # C major arpeggio
    step = int(RATE * 0.12)
    return mix(int(RATE * 1.6), [(k * step, pluck(f, 1.2, 3.5)) for k, f in enumerate(notes)])


def click(freq, seconds=0.03):
    return [12000 * math.exp(-60 * i / RATE) * math.sin(2 * math.pi * freq * i / RATE)
            for i in range(int(RATE * seconds))]


def ticktock():
    return mix(int(RATE * 0.6), [(0, click(2200)), (int(RATE * 0.3), click(1500))])


def bell():
    partials = [(880, 1.0), (1760 * 1.01, 0.5), (2640 * 0.99, 0.25)]
    n = int(RATE * 1.5)
    return [9000 * math.exp(-2.5 * i / RATE) *
            sum(a * math.sin(2 * math.pi * f * i / RATE) for f, a in partials) / 1.75
            for i in range(n)]


def gong():
    n = int(RATE * 2.0)
    return [11000 * math.exp(-1.6 * i / RATE) *
            (math.sin(2 * math.pi * 110 * i / RATE) + 0.6 * math.sin(2 * math.pi * 163 * i / RATE) *
             math.exp(-1.0 * i / RATE)) / 1.6
            for i in range(n)]


def png(path, size, pixel):
    rows = b""
    for y in range(size):
        rows += b"\0" + b"".join(bytes(pixel(x, y)) for x in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(chunk(b"IEND", b""))


def clock_face(size):
    c = (size - 1) / 2.0
    r = size * 0.45

    def near_segment(x, y, angle, length, width):
        dx, dy = math.sin(angle), -math.cos(angle)
        t = (x - c) * dx + (y - c) * dy
        if t < 0 or t > length:
            return False
        return abs((x - c) * dy - (y - c) * dx) <= width

    def pixel(x, y):
        d = math.hypot(x - c, y - c)
        if d > r:
            return (0, 0, 0, 0)
        if d > r - size * 0.07:
            return (40, 90, 140, 255)  # rim
        if near_segment(x, y, math.radians(300), r * 0.55, size * 0.045):
            return (30, 30, 30, 255)  # hour hand
        if near_segment(x, y, math.radians(60), r * 0.8, size * 0.03):
            return (200, 40, 40, 255)  # minute hand
        # the countdown's filled share, as the progress bar shows it
        angle = (math.degrees(math.atan2(x - c, -(y - c))) + 360) % 360
        return (49, 193, 249, 255) if angle < 120 else (255, 255, 145, 255)

    return pixel


def smoothed(pixel, factor):
    """The picture drawn factor x factor times finer and averaged, so the sizes
    only the desktop asks for get soft edges (the program's own three stay as
    they always were)."""

    def average(x, y):
        total = [0.0, 0.0, 0.0, 0.0]
        for sy in range(factor):
            for sx in range(factor):
                r, g, b, a = pixel(x * factor + sx, y * factor + sy)
                total[0] += r * a
                total[1] += g * a
                total[2] += b * a
                total[3] += a
        if total[3] == 0:
            return (0, 0, 0, 0)
        return tuple(round(v / total[3]) for v in total[:3]) + (round(total[3] / factor ** 2),)

    return average


def lzw_codes(indices, min_size):
    """GIF's variable-width LZW: a clear code whenever the table is full, so
    no code ever needs more than 12 bits."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, bits, nbits = bytearray(), 0, 0
    width = min_size + 1

    def put(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    put(clear)
    run = ()
    for index in indices:
        grown = run + (index,)
        if grown in table:
            run = grown
            continue
        put(table[run])
        if len(table) + 2 < 4096:
            table[grown] = len(table) + 2
            if len(table) + 2 > (1 << width) and width < 12:
                width += 1
        else:
            put(clear)
            table = {(i,): i for i in range(clear)}
            width = min_size + 1
        run = (index,)
    put(table[run])
    put(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(path, width, height, palette, frames, delay_cs):
    """An animated GIF that loops for ever; frames are lists of palette indices."""
    with open(path, "wb") as out:
        out.write(b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF1, 0, 0))  # 4-colour global table
        out.write(b"".join(bytes(c) for c in palette))
        out.write(b"!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00")
        for frame in frames:
            out.write(b"!\xf9\x04\x04" + struct.pack("<H", delay_cs) + b"\x00\x00")
            out.write(b"," + struct.pack("<HHHHB", 0, 0, width, height, 0))
            data = lzw_codes(frame, 2)
            out.write(b"\x02")
            for at in range(0, len(data), 255):
                block = data[at:at + 255]
                out.write(bytes([len(block)]) + block)
            out.write(b"\x00")
        out.write(b";")


def progress_frames(width, height, steps):
    """The progress bar filling in the default colours, a frame per step."""
    frames = []
    for step in range(steps + 1):
        filled = (width - 2) * step // steps
        frame = []
        for y in range(height):
            for x in range(width):
                edge = x in (0, width - 1) or y in (0, height - 1)
                frame.append(0 if edge else 1 if x - 1 < filled else 2)
        frames.append(frame)
    return frames


if __name__ == "__main__":
    write_wav("data/Harp.wav", harp())
    write_wav("data/TickTock.wav", ticktock())
    write_wav("data/Bell.wav", bell())
    write_wav("data/Gong.wav", gong())
    for size in (32, 64, 128):
        png("data/kronalt-%d.png" % size, size, clock_face(size))
    for size in (16, 24, 48, 256):
        png("packaging/icons/kronalt-%d.png" % size, size, smoothed(clock_face(size * 4), 4))
    gif("data/BarColorBar.gif", 160, 16, [(40, 40, 40), (49, 193, 249), (255, 255, 145), (255, 255, 255)],
        progress_frames(160, 16, 12), 25)
