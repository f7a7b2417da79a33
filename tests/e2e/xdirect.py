"""A direct connection to the test's X server, for sessions long enough that starting a tool
process per step would dominate them: pressing keys through the XTEST extension (as xdotool
does) and reading which window the window manager has made active. A session of 400 window
openings waits on the active window about 1200 times; polling it with `xdotool getactivewindow`
costs 20-30 ms per look on 2 cores, polling it here well under 1 ms.

Uses libX11 and libXtst through ctypes, so it works with whichever Python runs the tests."""
import ctypes
import ctypes.util
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")

_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XInternAtom.restype = ctypes.c_ulong
_x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_x11.XStringToKeysym.restype = ctypes.c_ulong
_x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
_x11.XKeysymToKeycode.restype = ctypes.c_ubyte
_x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
    ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]
_xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

# A window can be destroyed between reading the active window and reading its title; Xlib's
# default handler would end the test process on that BadWindow, this one lets the read fail.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda *_: 0)
_x11.XSetErrorHandler(_ERROR_HANDLER)

_ANY_PROPERTY_TYPE = 0


class XDirect:
    def __init__(self, display_name):
        self.display = _x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open display {display_name}")
        self.root = _x11.XDefaultRootWindow(self.display)
        self.active_atom = _x11.XInternAtom(self.display, b"_NET_ACTIVE_WINDOW", 0)
        self.name_atom = _x11.XInternAtom(self.display, b"_NET_WM_NAME", 0)

    def close(self):
        if self.display:
            _x11.XCloseDisplay(self.display)
            self.display = None

    def _property(self, window, atom):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        status = _x11.XGetWindowProperty(self.display, window, atom, 0, 4096, 0,
                                         _ANY_PROPERTY_TYPE, ctypes.byref(kind), ctypes.byref(fmt),
                                         ctypes.byref(count), ctypes.byref(after),
                                         ctypes.byref(data))
        if status != 0 or not data:
            return None
        try:
            if fmt.value == 32:  # delivered as C longs
                return list(ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[:count.value])
            return bytes(data[:count.value * fmt.value // 8])
        finally:
            _x11.XFree(data)

    def active_window(self):
        value = self._property(self.root, self.active_atom)
        return value[0] if value else 0

    def title(self, window):
        value = self._property(window, self.name_atom) if window else None
        return value.decode(errors="replace") if isinstance(value, bytes) else None

    def wait_active(self, title, timeout=20.0):
        """Waits until the active window is titled `title`, and returns its id."""
        deadline = time.monotonic() + timeout
        while True:
            window = self.active_window()
            if window and self.title(window) == title:
                return window
            if time.monotonic() > deadline:
                raise TimeoutError(f"timed out waiting for {title} to be active "
                                   f"(active: {self.title(window)!r})")
            time.sleep(0.002)

    def press(self, *keys):
        """Presses and releases each key in turn, like `xdotool key`: names are X keysyms."""
        for key in keys:
            code = _x11.XKeysymToKeycode(self.display, _x11.XStringToKeysym(key.encode()))
            if not code:
                raise ValueError(f"no key for {key}")
            _xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
            _xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
            _x11.XSync(self.display, 0)
