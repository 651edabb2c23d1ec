#!/usr/bin/env python3
"""Samples one pixel of the X display ($DISPLAY) as often as it can, through libX11.

  screen_sampler.py fade X Y SECONDS R0 G0 B0 R1 G1 B1
      watches the pixel fade from colour 0 to colour 1 and prints the fade's length in
      milliseconds: from the last sample still within 3 % of colour 0 to the first within
      3 % of colour 1, or -1 when no fade was seen; then the median time between two
      changes of the pixel during the fade (KX_SAMPLES=FILE writes the samples)
  screen_sampler.py dark X Y SECONDS
      prints how many of the samples were black (every channel below 16) and how many
      were taken
"""
import ctypes
import os
import sys
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
ZPIXMAP, ALL_PLANES = 2, 0xFFFFFFFF

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root = x11.XDefaultRootWindow(display)


def pixel(x, y):
    image = x11.XGetImage(display, root, x, y, 1, 1, ALL_PLANES, ZPIXMAP)
    if not image:
        return (0, 0, 0)
    value = x11.XGetPixel(image, 0, 0)
    x11.XDestroyImage(image)
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def fade(x, y, seconds, c0, c1):
    span = [b - a for a, b in zip(c0, c1)]
    main = max(range(3), key=lambda i: abs(span[i]))
    samples = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        t = time.monotonic()
        p = pixel(x, y)
        samples.append((t, (p[main] - c0[main]) / span[main]))
        time.sleep(0.002)  # leaves the X server time to draw what the saver sends
    if os.environ.get("KX_SAMPLES"):
        with open(os.environ["KX_SAMPLES"], "w") as f:
            for t, v in samples:
                f.write("%.4f %.3f\n" % (t - samples[0][0], v))
    # From the last sample that still shows the old colour to the first that shows the
    # new one (each within 3 % of the way).
    start = None
    for i, (t, f) in enumerate(samples):
        if f < 0.03:
            start = i
        elif f > 0.97 and start is not None:
            # The screen's own steps during the fade: the median time between changes.
            changes = [samples[j][0] for j in range(start + 1, i + 1) if abs(samples[j][1] - samples[j - 1][1]) > 0.004]
            steps = sorted(b - a for a, b in zip(changes, changes[1:]))
            step = steps[len(steps) // 2] if steps else 0
            return "%d %d" % (round(1000 * (t - samples[start][0])), round(1000 * step))
    return "-1 0"


def main():
    mode, x, y, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
    if mode == "fade":
        c = [int(v) for v in sys.argv[5:11]]
        print(fade(x, y, seconds, c[0:3], c[3:6]))
    elif mode == "dark":
        dark = taken = 0
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            p = pixel(x, y)
            taken += 1
            dark += 1 if max(p) < 16 else 0
            time.sleep(0.05)
        print(dark, taken)
    else:
        sys.exit(__doc__)


main()
