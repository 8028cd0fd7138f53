#!/usr/bin/env python3
"""Writes the console's small pictures as SVG: the widget kit's (resources/ui/) and the chat
window's (resources/chat/). Run again after editing a picture here; the files are committed.

All of them share one 16x16 grid and two line widths: outlines are 1 unit wide on half-unit
coordinates, so they fall on whole pixels at 100 % and 200 %; marks (arrows, crosses, checks)
are 2 units wide. Ink, the parts that are neither an accent nor a filled colour, is written as
"currentColor": the console paints it in the palette's text colour (CArtIconEngine), so the
glyphs hold on light and dark themes. Accents are mid-tone colours that read on both.
"""
import os

INK = "currentColor"
LINE = 1
MARK = 2

BLUE = "#3a7bd5"
GREEN = "#2e9d4f"
RED = "#d9453d"
AMBER = "#e39b1b"
GREY = "#8d939b"
WHITE = "#ffffff"
FOLDER_BACK = "#e0a93a"
FOLDER_FRONT = "#f5c451"
FOLDER_EDGE = "#a8751a"
BUBBLE_FILL = "#dbe8fb"


def outline(d, fill="none", colour=INK):
    return (f'<path d="{d}" fill="{fill}" stroke="{colour}" stroke-width="{LINE}" '
            'stroke-linejoin="round" stroke-linecap="round"/>')


def mark(d, colour):
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{MARK}" '
            'stroke-linejoin="round" stroke-linecap="round"/>')


def shape(d, fill):
    return f'<path d="{d}" fill="{fill}"/>'


def circle(cx, cy, r, fill="none", colour=None, width=LINE):
    stroke = f' stroke="{colour}" stroke-width="{width}"' if colour else ""
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}"{stroke}/>'


# A speech bubble whose inside is x 3..13, y 3..11, its tail down on the left.
BUBBLE = "M2.5 2.5h11v9h-6l-3 3v-3h-2z"

PICTURES = {
    # The main window's toolbar.
    "ui/login": [
        outline("M8.5 1.5h6v13h-6"),
        shape("M1 7h5V4l4.5 4L6 12V9H1z", GREEN),
    ],
    "ui/logout": [
        outline("M7.5 1.5h-6v13h6"),
        shape("M5 7h6V4l4.5 4L11 12V9H5z", RED),
    ],
    "ui/status": [
        circle(8, 4.5, 3, colour=INK),
        outline("M2.5 14.5v-1.5a4 4 0 0 1 4-4h3a4 4 0 0 1 4 4v1.5z", fill=BLUE),
    ],
    "ui/invite": [
        outline(BUBBLE),
        shape("M7 4h2v2h2v2H9v2H7V8H5V6h2z", GREEN),
    ],
    "ui/settings": [
        outline("M1.5 3.5h13M1.5 8.5h13M1.5 13.5h13"),
        outline("M4.5 1.5h3v4h-3zM9.5 6.5h3v4h-3zM5.5 11.5h3v4h-3z", fill=BLUE),
    ],
    "ui/canned": [
        outline("M3.5 1.5h6l3 3v10h-9zM9.5 1.5v3h3"),
        shape("M5 7h6v1H5zM5 9h6v1H5zM5 11h4v1H5z", BLUE),
    ],
    "ui/about": [
        circle(8, 8, 7, fill=BLUE),
        shape("M7 3.5h2v2H7zM7 7h2v5.5H7z", WHITE),
    ],
    # The popup's close box and the canned answers panel's Hide.
    "ui/close": [mark("M4.5 4.5l7 7M11.5 4.5l-7 7", INK)],
    "ui/hide": [mark("M4.5 4.5l7 7M11.5 4.5l-7 7", INK)],
    # The offer's and the invite dialog's Accept and Cancel.
    "ui/accept": [mark("M2.5 8.5l3.5 3.5 7.5-8", GREEN)],
    "ui/cancel": [mark("M3.5 3.5l9 9M12.5 3.5l-9 9", RED)],
    # The status menu and the operators list: online, busy, away, offline, not known.
    "ui/status-online": [circle(8, 8, 6.5, fill=GREEN), mark("M5 8.25l2 2 4-4.25", WHITE)],
    "ui/status-busy": [circle(8, 8, 6.5, fill=RED), shape("M4.5 7h7v2h-7z", WHITE)],
    "ui/status-away": [circle(8, 8, 6.5, fill=AMBER), mark("M8 4.5V8h2.5", WHITE)],
    "ui/status-offline": [circle(8, 8, 6.5, fill=GREY), shape("M5.5 7h5v2h-5z", WHITE)],
    "ui/status-unknown": [circle(8, 8, 6, colour=GREY, width=MARK)],
    # The canned answers trees: a category, an answer.
    "ui/folder": [
        f'<path d="M1.5 3.5h4l1.5 1.5h7.5v8.5h-13z" fill="{FOLDER_BACK}" stroke="{FOLDER_EDGE}" '
        f'stroke-width="{LINE}" stroke-linejoin="round"/>',
        f'<path d="M1.5 6.5h13v7h-13z" fill="{FOLDER_FRONT}" stroke="{FOLDER_EDGE}" '
        f'stroke-width="{LINE}" stroke-linejoin="round"/>',
    ],
    "ui/answer": [
        outline(BUBBLE, fill=BUBBLE_FILL, colour=BLUE),
        shape("M5 5h6v1H5zM5 8h4v1H5z", BLUE),
    ],
    # The chat window's toolbar; Canned Answers and Transfer Chat share the console's pictures.
    "chat/link": [
        circle(8, 8, 7, fill=BLUE),
        # On whole pixels, so they stay sharp at 100 %: a meridian and the equator.
        f'<ellipse cx="8" cy="8" rx="2.5" ry="6.5" fill="none" stroke="{WHITE}" stroke-width="{LINE}"/>',
        shape("M1 7h14v1H1z", WHITE),
    ],
    "chat/image": [
        outline("M1.5 2.5h13v11h-13z"),
        circle(11, 6, 1.5, fill=AMBER),
        shape("M2 13l4-5 3 3.5 2-2 3 3.5z", GREEN),
    ],
    "chat/save": [
        outline("M1.5 1.5h10l3 3v10h-13z"),
        outline("M4.5 1.5h6v4h-6z"),
        shape("M3.5 8.5h9v5h-9z", BLUE),
    ],
    "chat/print": [
        outline("M4.5 11.5h-3v-6h13v6h-3"),
        outline("M4.5 5.5v-4h7v4M4.5 9.5h7v5h-7z"),
        shape("M11.5 7h1.5v1.5h-1.5z", GREEN),
    ],
    "chat/close-chat": [
        outline(BUBBLE),
        mark("M6 5l4 4M10 5l-4 4", RED),
    ],
    # The chat window's Send: a paper plane.
    "chat/send": [
        shape("M1 7.5 15 1l-3.5 14-4-4.5z", BLUE),
        shape("M7.5 10.5 15 1 6 12.5z", "#8fb3ea"),
    ],
}


def svg(parts):
    body = "\n  ".join(parts)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" '
            f'viewBox="0 0 16 16">\n  {body}\n</svg>\n')


def main():
    resources = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    for name, parts in PICTURES.items():
        path = os.path.join(resources, name + ".svg")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(svg(parts))


if __name__ == "__main__":
    main()
