#!/usr/bin/env python3
"""Draws the program icon, a drive with a speed gauge on its face, and writes
resources/varnhold.ico: five 32-bit images of 16, 24, 32, 48 and 64 pixels.

Pure standard library, so the icon can be redrawn anywhere:
    python3 scripts/make-icon.py [output.ico]
"""
import math
import os
import struct
import sys

SIZES = (16, 24, 32, 48, 64)
SAMPLES = 8  # per axis and pixel: edges are smoothed by averaging


def Hex(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


BODY_TOP = Hex("#44586E")
BODY_BOTTOM = Hex("#1E2935")
BODY_EDGE = Hex("#111920")
FACE = Hex("#F1F4F8")
ARC_SLOW = Hex("#2EB872")
ARC_MID = Hex("#F2C230")
ARC_FAST = Hex("#E04848")
NEEDLE = Hex("#1E2935")
LED = Hex("#5BE37D")

# Everything is laid out on a unit square, y downwards.
BODY = (0.05, 0.14, 0.95, 0.88)
BODY_RADIUS = 0.13
EDGE = 0.035
CENTRE = (0.5, 0.54)
FACE_RADIUS = 0.31
ARC_INNER, ARC_OUTER = 0.19, 0.275
ARC_FROM, ARC_TO = 215.0, -35.0  # degrees, counter-clockwise from east
NEEDLE_ANGLE = 35.0
NEEDLE_LENGTH, NEEDLE_WIDTH = 0.25, 0.065
HUB_RADIUS = 0.055
LED_CENTRE, LED_RADIUS = (0.84, 0.79), 0.035


def Mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def InRoundedBox(x, y, box, radius):
    left, top, right, bottom = box
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def ArcColour(angle):
    t = (ARC_FROM - angle) / (ARC_FROM - ARC_TO)
    return Mix(ARC_SLOW, ARC_MID, t * 2) if t < 0.5 else Mix(ARC_MID, ARC_FAST, t * 2 - 1)


def OnNeedle(x, y):
    a = math.radians(NEEDLE_ANGLE)
    dx, dy = math.cos(a), -math.sin(a)
    px, py = x - CENTRE[0], y - CENTRE[1]
    along = px * dx + py * dy
    across = abs(-px * dy + py * dx)
    if along < -0.04 or along > NEEDLE_LENGTH:
        return False
    # Tapers to a point at the tip.
    return across <= NEEDLE_WIDTH / 2 * (1 - max(along, 0) / NEEDLE_LENGTH * 0.8)


def Shade(x, y):
    """Colour and coverage (0 or 1) of one sample of the picture."""
    if not InRoundedBox(x, y, BODY, BODY_RADIUS):
        return (0, 0, 0), 0
    inner = (BODY[0] + EDGE, BODY[1] + EDGE, BODY[2] - EDGE, BODY[3] - EDGE)
    if not InRoundedBox(x, y, inner, BODY_RADIUS - EDGE):
        return BODY_EDGE, 1
    colour = Mix(BODY_TOP, BODY_BOTTOM, (y - BODY[1]) / (BODY[3] - BODY[1]))
    r = math.hypot(x - CENTRE[0], y - CENTRE[1])
    if r <= FACE_RADIUS:
        colour = FACE
        angle = math.degrees(math.atan2(CENTRE[1] - y, x - CENTRE[0]))
        if angle < ARC_TO - 90:
            angle += 360
        if ARC_INNER <= r <= ARC_OUTER and ARC_TO <= angle <= ARC_FROM:
            colour = ArcColour(angle)
        if OnNeedle(x, y) or r <= HUB_RADIUS:
            colour = NEEDLE
    if math.hypot(x - LED_CENTRE[0], y - LED_CENTRE[1]) <= LED_RADIUS:
        colour = LED
    return colour, 1


def Render(size):
    """Rows of straight-alpha RGBA pixels, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour, cover = Shade((px + (sx + 0.5) / SAMPLES) / size,
                                          (py + (sy + 0.5) / SAMPLES) / size)
                    if cover:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = tuple(int(round(c / covered)) for c in total)
                row.append(rgb + (int(round(255 * covered / SAMPLES ** 2)),))
        rows.append(row)
    return rows


def IconImage(size):
    """One icon image: a 32-bit bottom-up DIB with its AND mask."""
    rows = Render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def WriteIcon(path):
    images = [IconImage(size) for size in SIZES]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    WriteIcon(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "varnhold.ico"))
