#!/usr/bin/env python3
"""Draws the pixel pictures of the widget kit (resources/ui/) and of the chat window
(resources/chat/) as plain RGB PNG files.

The toolbar pictures keep a teal background and the status strip a magenta one: the widgets
treat those colours as transparent, the way the console's bitmaps always worked, so the
pictures stay crisp without an alpha channel. Run again after editing a grid.
"""
import os
import struct
import sys
import zlib

TEAL = (0, 128, 128)
MAGENTA = (255, 0, 255)

COLOURS = {
    "k": (40, 40, 48),      # outline
    "w": (255, 255, 255),
    "l": (200, 200, 200),   # fold of the page
    "d": (96, 112, 150),    # text lines
    "g": (96, 96, 96),      # slider tracks
    "n": (156, 102, 52),    # door
    "y": (244, 204, 40),    # door knob, away
    "s": (246, 206, 166),   # face
    "b": (44, 98, 196),     # shirt, info disc
    "G": (48, 164, 72),     # arrow in, online, plus
    "H": (150, 226, 160),   # shine on the online disc
    "r": (206, 44, 44),     # arrow out, busy
    "R": (246, 150, 150),   # shine on the busy disc
    "Y": (255, 240, 160),   # shine on the away disc
    "x": (64, 64, 64),      # close cross
    "h": (214, 214, 214),   # its halo, which keeps it visible on a dark background
    "q": (150, 150, 150),   # status not known
    "Q": (214, 214, 214),   # shine on the grey disc
    "c": (168, 210, 244),   # sky of the picture frame
}

LOGIN = """
................
.........kkkkkk.
.........knnnnk.
....k....knnnnk.
....kk...knnnnk.
....kGk..knnnnk.
kkkkkGGk.knnnnk.
kGGGGGGGkknnyyk.
kGGGGGGGkknnyyk.
kkkkkGGk.knnnnk.
....kGk..knnnnk.
....kk...knnnnk.
....k....knnnnk.
.........knnnnk.
.........kkkkkk.
................
"""

LOGOUT = """
................
.kkkkkk.........
.knnnnk.........
.knnnnk...k.....
.knnnnk...kk....
.knnnnk...krk...
.knnnnkkkkkrrk..
.kyynnkrrrrrrrk.
.kyynnkrrrrrrrk.
.knnnnkkkkkrrk..
.knnnnk...krk...
.knnnnk...kk....
.knnnnk...k.....
.knnnnk.........
.kkkkkk.........
................
"""

STATUS = """
................
......kkkk......
.....kssssk.....
....kssssssk....
....kssssssk....
....kssssssk....
....kssssssk....
.....kssssk.....
......kkkk......
....kkbbbbkk....
...kbbbbbbbbk...
..kbbbbbbbbbbk..
..kbbbbbbbbbbk..
..kbbbbbbbbbbk..
..kkkkkkkkkkkk..
................
"""

INVITE = """
................
..kkkkkkkkkkkk..
.kwwwwwwwwwwwwk.
.kwwwwwGGwwwwwk.
.kwwwwwGGwwwwwk.
.kwwwGGGGGGwwwk.
.kwwwGGGGGGwwwk.
.kwwwwwGGwwwwwk.
.kwwwwwGGwwwwwk.
.kwwwwwwwwwwwwk.
..kkkkwwkkkkkk..
......kwk.......
.....kwk........
....kk..........
................
................
"""

SETTINGS = """
................
...kkk..........
...kbk..........
gggkbkggggggggg.
...kbk..........
...kkk..........
..........kkk...
..........kbk...
ggggggggggkbkgg.
..........kbk...
..........kkk...
......kkk.......
......kbk.......
ggggggkbkgggggg.
......kbk.......
......kkk.......
"""

CANNED = """
................
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwwwwwwwklk...
..kwddddwwkkkk..
..kwwwwwwwwwwk..
..kwddddddddwk..
..kwwwwwwwwwwk..
..kwddddddddwk..
..kwwwwwwwwwwk..
..kwddddddwwwk..
..kwwwwwwwwwwk..
..kwddddddddwk..
..kwwwwwwwwwwk..
..kkkkkkkkkkkk..
................
"""

ABOUT = """
................
.....kkkkkk.....
...kkbbbbbbkk...
..kbbbbwwbbbbk..
..kbbbbwwbbbbk..
.kbbbbbbbbbbbbk.
.kbbbbwwwbbbbbk.
.kbbbbbwwbbbbbk.
.kbbbbbwwbbbbbk.
.kbbbbbwwbbbbbk.
.kbbbbbwwbbbbbk.
..kbbbwwwwbbbk..
..kbbbbbbbbbbk..
...kkbbbbbbkk...
.....kkkkkk.....
................
"""

CLOSE = """
............
............
..xx....xx..
...xx..xx...
....xxxx....
.....xx.....
....xxxx....
...xx..xx...
..xx....xx..
............
............
"""

DISC = """
................
................
.....kkkkkk.....
....kCCCCCCk....
...kCCHHCCCCk...
..kCCHHCCCCCCk..
..kCCCCCCCCCCk..
..kCCCCCCCCCCk..
..kCCCCCCCCCCk..
..kCCCCCCCCCCk..
...kCCCCCCCCk...
....kCCCCCCk....
.....kkkkkk.....
................
................
................
"""


# The chat window's own pictures (resources/chat). Canned Answers and Transfer Chat share the
# console's canned and invite pictures.
CHAT_LINK = """
................
.....kkkkkk.....
...kkbbbbbbkk...
..kbbGGbbbbbbk..
..kbGGGGbbbGbk..
.kbbbGGGbbGGGbk.
.kbbbbGbbbGGbbk.
.kbbbbbbbbbGbbk.
.kbbbGGbbbbbbbk.
.kbbbGGGGbbbbbk.
..kbbbGGGbbbbk..
..kbbbbGGbbbbk..
...kkbbbbbbkk...
.....kkkkkk.....
................
................
"""

CHAT_IMAGE = """
................
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwccccccccyywk.
.kwccccccccyywk.
.kwccccccccccwk.
.kwccccGcccccwk.
.kwcccGGGccccwk.
.kwccGGGGGccGwk.
.kwcGGGGGGGGGwk.
.kwGGGGGGGGGGwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................
................
"""

CHAT_SAVE = """
................
.kkkkkkkkkkkkkk.
.kbbwwwwwwwwbbk.
.kbbwddddddwbbk.
.kbbwwwwwwwwbbk.
.kbbwddddddwbbk.
.kbbwwwwwwwwbbk.
.kbbbbbbbbbbbbk.
.kbbbbbbbbbbbbk.
.kbbbllllllbbbk.
.kbbbllkkllbbbk.
.kbbbllkkllbbbk.
.kbbbllllllbbbk.
.kkkkkkkkkkkkkk.
................
................
"""

CHAT_PRINT = """
................
....kkkkkkkk....
....kwwwwwwk....
....kwddddwk....
....kwwwwwwk....
.kkkkkkkkkkkkkk.
.kllllllllllllk.
.kllllllllllGlk.
.kllllllllllllk.
.kggggggggggggk.
.kllkkkkkkkkllk.
...kwwwwwwwwk...
...kwddddddwk...
...kwwwwwwwwk...
...kkkkkkkkkk...
................
"""

CHAT_CLOSE = """
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwwrrwwwwrrwwk.
.kwwwrrwwrrwwwk.
.kwwwwrrrrwwwwk.
.kwwwwwrrwwwwwk.
.kwwwwrrrrwwwwk.
.kwwwrrwwrrwwwk.
.kwwrrwwwwrrwwk.
.kwwwwwwwwwwwwk.
.kkkkwwkkkkkkkk.
....kwk.........
....kk..........
................
................
"""

CHAT_SEND = """
................
................
........k.......
........kk......
........kbk.....
........kbbk....
.kkkkkkkkbbbk...
.kbbbbbbbbbbbk..
.kbbbbbbbbbbbbk.
.kbbbbbbbbbbbk..
.kkkkkkkkbbbk...
........kbbk....
........kbk.....
........kk......
........k.......
................
"""

CHAT_HIDE = """
..........
.xx....xx.
.xxx..xxx.
..xxxxxx..
...xxxx...
...xxxx...
..xxxxxx..
.xxx..xxx.
.xx....xx.
..........
"""

# OK and Cancel of the chat window's dialogs.
CHAT_OK = """
................
................
.............kk.
............kGGk
...........kGGGk
..........kGGGk.
..kk.....kGGGk..
.kGGk...kGGGk...
.kGGGk.kGGGk....
..kGGGkGGGk.....
...kGGGGGk......
....kGGGk.......
.....kGk........
......k.........
................
................
"""

CHAT_CANCEL = """
................
................
................
..kk.......kk...
.krrk.....krrk..
..krrk...krrk...
...krrk.krrk....
....krrkrrk.....
.....krrrk......
....krrkrrk.....
...krrk.krrk....
..krrk...krrk...
.krrk.....krrk..
..kk.......kk...
................
................
"""


def grid(text):
    rows = [r for r in text.strip("\n").split("\n")]
    width = len(rows[0])
    for r in rows:
        if len(r) != width:
            sys.exit("ragged row: %r" % r)
    return rows


def overlay(rows, marks):
    """Replaces single pixels: marks is a list of (x, y, letter)."""
    rows = [list(r) for r in rows]
    for x, y, letter in marks:
        rows[y][x] = letter
    return ["".join(r) for r in rows]


def halo(rows, ink, ring):
    """Rings every pixel of ink with ring on its four sides where there is background."""
    height, width = len(rows), len(rows[0])
    out = [list(r) for r in rows]
    for y in range(height):
        for x in range(width):
            if rows[y][x] != ".":
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < width and 0 <= ny < height and rows[ny][nx] == ink:
                    out[y][x] = ring
    return ["".join(r) for r in out]


def disc(fill, shine, marks=()):
    rows = [r.replace("C", fill).replace("H", shine) for r in grid(DISC)]
    return overlay(rows, marks)


def to_pixels(rows, key):
    out = []
    for r in rows:
        line = []
        for ch in r:
            colour = key if ch == "." else COLOURS[ch]
            if ch != "." and colour == key:
                sys.exit("a picture colour equals its transparent colour")
            line.append(colour)
        out.append(line)
    return out


def side_by_side(*pictures):
    return [sum(parts, []) for parts in zip(*pictures)]


def write_png(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "ui")
    os.makedirs(out, exist_ok=True)
    toolbar = {
        "login": LOGIN, "logout": LOGOUT, "status": STATUS, "invite": INVITE,
        "settings": SETTINGS, "canned": CANNED, "about": ABOUT, "close": CLOSE,
    }
    for name, art in toolbar.items():
        rows = grid(art)
        if name == "close":
            rows = halo(rows, "x", "h")
        write_png(os.path.join(out, name + ".png"), to_pixels(rows, TEAL))

    busy_bar = [(x, y, "w") for y in (7, 8) for x in range(4, 12)]
    away_hands = [(7, y, "k") for y in range(4, 8)] + [(x, 7, "k") for x in range(8, 11)]
    strip = side_by_side(
        to_pixels(disc("G", "H"), MAGENTA),
        to_pixels(disc("r", "R", busy_bar), MAGENTA),
        to_pixels(disc("y", "Y", away_hands), MAGENTA),
    )
    write_png(os.path.join(out, "status-strip.png"), strip)

    # The operators list: 0 a status the console does not know, 1 online, 2 busy or away.
    operators = side_by_side(
        to_pixels(disc("q", "Q"), MAGENTA),
        to_pixels(disc("G", "H"), MAGENTA),
        to_pixels(disc("r", "R", busy_bar), MAGENTA),
    )
    write_png(os.path.join(out, "operator-states.png"), operators)

    chat = os.path.join(out, "..", "chat")
    os.makedirs(chat, exist_ok=True)
    chat_pictures = {
        "link": CHAT_LINK, "image": CHAT_IMAGE, "save": CHAT_SAVE, "print": CHAT_PRINT,
        "close-chat": CHAT_CLOSE, "send": CHAT_SEND, "hide": CHAT_HIDE, "ok": CHAT_OK,
        "cancel": CHAT_CANCEL,
    }
    for name, art in chat_pictures.items():
        rows = grid(art)
        if name == "hide":
            rows = halo(rows, "x", "h")
        write_png(os.path.join(chat, name + ".png"), to_pixels(rows, TEAL))


if __name__ == "__main__":
    main()
