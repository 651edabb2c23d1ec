#!/usr/bin/env python3
# Splits the screen of an X server into RandR monitors, so that a virtual display has a
# side-by-side multi-monitor layout (the server's Xinerama answers follow the monitors):
#   setmonitors.py WxH+X+Y WxH+X+Y ...     (the first one is the primary monitor)
# Start the server with -noreset: monitors go when the server resets.
import ctypes
import re
import sys

x11 = ctypes.CDLL("libX11.so.6")
xrr = ctypes.CDLL("libXrandr.so.2")


class MonitorInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_ulong), ("primary", ctypes.c_int), ("automatic", ctypes.c_int),
                ("noutput", ctypes.c_int), ("x", ctypes.c_int), ("y", ctypes.c_int),
                ("width", ctypes.c_int), ("height", ctypes.c_int), ("mwidth", ctypes.c_int),
                ("mheight", ctypes.c_int), ("outputs", ctypes.POINTER(ctypes.c_ulong))]


class ScreenResources(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("configTimestamp", ctypes.c_ulong),
                ("ncrtc", ctypes.c_int), ("crtcs", ctypes.POINTER(ctypes.c_ulong)),
                ("noutput", ctypes.c_int), ("outputs", ctypes.POINTER(ctypes.c_ulong))]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
xrr.XRRQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
xrr.XRRGetScreenResources.restype = ctypes.POINTER(ScreenResources)
xrr.XRRGetScreenResources.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xrr.XRRAllocateMonitor.restype = ctypes.POINTER(MonitorInfo)
xrr.XRRAllocateMonitor.argtypes = [ctypes.c_void_p, ctypes.c_int]
xrr.XRRSetMonitor.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(MonitorInfo)]

dpy = x11.XOpenDisplay(None)
if not dpy:
    sys.exit("setmonitors: cannot open the display")
root = x11.XDefaultRootWindow(dpy)
# The server takes monitor requests only from clients that said they speak RandR 1.5.
major, minor = ctypes.c_int(), ctypes.c_int()
if not xrr.XRRQueryVersion(dpy, ctypes.byref(major), ctypes.byref(minor)) or (major.value, minor.value) < (1, 5):
    sys.exit("setmonitors: the server has no RandR 1.5")
res = xrr.XRRGetScreenResources(dpy, root)
for i, arg in enumerate(sys.argv[1:]):
    w, h, x, y = (int(v) for v in re.match(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)$", arg).groups())
    # The first monitor takes the server's one output, which hides that output's own monitor.
    outputs = 1 if i == 0 and res and res.contents.noutput > 0 else 0
    m = xrr.XRRAllocateMonitor(dpy, outputs)
    if outputs:
        m.contents.outputs[0] = res.contents.outputs[0]
    m.contents.name = x11.XInternAtom(dpy, ("KX%d" % i).encode(), 0)
    m.contents.primary = 1 if i == 0 else 0
    m.contents.x, m.contents.y, m.contents.width, m.contents.height = x, y, w, h
    m.contents.mwidth, m.contents.mheight = w * 254 // 960, h * 254 // 960
    xrr.XRRSetMonitor(dpy, root, m)
x11.XSync(dpy, 0)
x11.XCloseDisplay(dpy)
