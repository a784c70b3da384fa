"""Watches and drives the session's X display from outside: mapped windows, pointer and buttons
(XTest), single pixels of the root window. Plain ctypes over libX11 and libXtst, so the benchmarks
need no Python packages and poll cheaply (one round trip per query, no process per poll)."""
import ctypes
import ctypes.util
import os
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")

_Window = ctypes.c_ulong
_IS_VIEWABLE = 2
_ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)
_Z_PIXMAP = 2


class _WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", _Window), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XDefaultRootWindow.restype = _Window
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XQueryTree.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_Window), ctypes.POINTER(_Window),
                            ctypes.POINTER(ctypes.POINTER(_Window)), ctypes.POINTER(ctypes.c_uint)]
_x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_WindowAttributes)]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XFlush.argtypes = [ctypes.c_void_p]
_x11.XGetImage.restype = ctypes.c_void_p
_x11.XGetImage.argtypes = [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XGetPixel.restype = ctypes.c_ulong
_x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.c_void_p]
_x11.XSetErrorHandler.argtypes = [ctypes.c_void_p]
_xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_ulong]
_xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
_xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
_x11.XKeysymToKeycode.restype = ctypes.c_ubyte
_x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]

# Windows vanish between XQueryTree and XGetWindowAttributes; such a BadWindow is not an error here.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)


class Display:
    def __init__(self, name=None):
        self._d = _x11.XOpenDisplay((name or os.environ["DISPLAY"]).encode())
        if not self._d:
            raise RuntimeError("cannot open the X display")
        _x11.XSetErrorHandler(ctypes.cast(_ERROR_HANDLER, ctypes.c_void_p))
        self._root = _x11.XDefaultRootWindow(self._d)

    def viewable_windows(self):
        """(window, x, y, width, height) of every viewable child of the root, bottom to top,
        leaving out those wholly above or left of the screen, where a window manager keeps its
        helper windows (openbox: 1 x 1 at -100, -100)."""
        root, parent = _Window(), _Window()
        children = ctypes.POINTER(_Window)()
        count = ctypes.c_uint()
        if not _x11.XQueryTree(self._d, self._root, ctypes.byref(root), ctypes.byref(parent),
                               ctypes.byref(children), ctypes.byref(count)):
            return []
        found = []
        attributes = _WindowAttributes()
        for i in range(count.value):
            window = children[i]
            if (_x11.XGetWindowAttributes(self._d, window, ctypes.byref(attributes))
                    and attributes.map_state == _IS_VIEWABLE
                    and attributes.x + attributes.width > 0 and attributes.y + attributes.height > 0):
                found.append((window, attributes.x, attributes.y, attributes.width, attributes.height))
        if children:
            _x11.XFree(children)
        return found

    def pixel(self, x, y):
        """(r, g, b) of the root window at (x, y), as the screen shows it now."""
        image = _x11.XGetImage(self._d, self._root, x, y, 1, 1, _ALL_PLANES, _Z_PIXMAP)
        value = _x11.XGetPixel(image, 0, 0)
        _x11.XDestroyImage(image)
        return (value >> 16) & 255, (value >> 8) & 255, value & 255

    def move(self, x, y):
        _xtst.XTestFakeMotionEvent(self._d, -1, int(x), int(y), 0)
        _x11.XFlush(self._d)

    def button(self, down, number=1):
        _xtst.XTestFakeButtonEvent(self._d, number, 1 if down else 0, 0)
        _x11.XSync(self._d, 0)

    def key(self, keysym):
        code = _x11.XKeysymToKeycode(self._d, keysym)
        _xtst.XTestFakeKeyEvent(self._d, code, 1, 0)
        _xtst.XTestFakeKeyEvent(self._d, code, 0, 0)
        _x11.XSync(self._d, 0)

    def sync(self):
        _x11.XSync(self._d, 0)


def wait_for(predicate, timeout, interval=0.001):
    """Polls until predicate() gives a true value, which is returned with the time it was seen;
    (None, None) after `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        now = time.monotonic()
        if value:
            return value, now
        if now > end:
            return None, None
        time.sleep(interval)
