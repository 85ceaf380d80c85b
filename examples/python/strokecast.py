"""A small typed wrapper over the Strokecast library with ctypes: every export's signature declared, text
passed as UTF-16 (char16_t on Linux, wchar_t on Windows: both 16-bit units), buffers sized and decoded."""
import ctypes
import sys

_u16 = ctypes.c_uint16
_text = ctypes.POINTER(_u16)
_points = ctypes.POINTER(ctypes.c_uint16)
_CALLBACK = ctypes.WINFUNCTYPE if sys.platform == "win32" else ctypes.CFUNCTYPE
LogSink = _CALLBACK(None, _text, ctypes.c_void_p)
StrokeSink = _CALLBACK(None, _points, _text, ctypes.c_double, ctypes.c_int32, ctypes.c_void_p)

# Every export: name -> (result type, argument types). scripts/check_bindings.py keeps this in step with
# include/strokecast_exports.h.
SIGNATURES = {
    "OpenGestureManager": (None, [_text, _text]),
    "CloseGestureManager": (None, []),
    "recognizeGesture": (ctypes.c_int32, [_points, _text, ctypes.c_uint32]),
    "GetAllGestures": (ctypes.c_int32, [_text, ctypes.c_uint32]),
    "GetGestureTrack": (ctypes.c_int32, [_text, _points, ctypes.c_uint32]),
    "AddOneGesture": (ctypes.c_int32, [_text, _points]),
    "CheckNameExist": (ctypes.c_int32, [_text]),
    "RemoveOneGesture": (ctypes.c_int32, [_text]),
    "OpenActionManager": (None, [_text]),
    "CloseActionNanager": (None, []),
    "SetGestureSwitch": (ctypes.c_int32, [_text, ctypes.c_int32]),
    "GetGestureSwitch": (ctypes.c_int32, [_text]),
    "GetActionOfGesture": (ctypes.c_int32, [_text, _text, ctypes.c_uint32]),
    "ExecuteAction": (ctypes.c_int32, [_text]),
    "SetGestureToAction": (ctypes.c_int32, [_text, _text]),
    "AddCustomAction": (ctypes.c_int32, [_text, _text]),
    "RemoveOneCustomAction": (ctypes.c_int32, [_text]),
    "GetMetroKeyArrary": (ctypes.c_uint32, [_text, ctypes.c_uint32]),
    "GetMetroAppInfo": (ctypes.c_uint32, [ctypes.c_uint32, _text, ctypes.c_uint32]),
    "GetMetroIcon": (ctypes.c_void_p, [_text, ctypes.c_uint32]),
    "GetFileLargeIcon": (ctypes.c_void_p, [_text]),
    "OpenTouchCapturer": (None, []),
    "CloseTouchCapturer": (None, []),
    "SetCharmBarCptEnable": (None, [ctypes.c_int32]),
    "SetHotKey": (None, [ctypes.c_int32, ctypes.c_uint32]),
    "GetFnvHash": (ctypes.c_uint32, [_text]),
    "StrokecastVersion": (ctypes.c_uint32, []),
    "StrokecastRankGestures": (ctypes.c_int32, [_points, ctypes.c_uint32, _text, ctypes.c_uint32]),
    "StrokecastCheckSimilarity": (ctypes.c_int32, [_text, _points, _text, ctypes.c_uint32]),
    "StrokecastExecuteActionEx": (ctypes.c_int32, [_text]),
    "StrokecastListActions": (ctypes.c_int32, [_text, ctypes.c_uint32]),
    "StrokecastLastError": (ctypes.c_int32, [_text, ctypes.c_uint32]),
    "StrokecastSetLogSink": (None, [LogSink, ctypes.c_void_p]),
    "StrokecastSetStrokeSink": (None, [StrokeSink, ctypes.c_void_p]),
    "StrokecastSetCaptureMode": (ctypes.c_int32, [ctypes.c_int32]),
    "StrokecastSetActionGuard": (ctypes.c_int32, [_text, ctypes.c_double]),
    "StrokecastExportSettings": (ctypes.c_int32, [_text]),
    "StrokecastImportSettings": (ctypes.c_int32, [_text]),
    "StrokecastSetHotKeyEx": (ctypes.c_int32, [ctypes.c_uint32, ctypes.c_uint32]),
}


def text(s):
    """A zero-terminated UTF-16 buffer of the string."""
    units = s.encode("utf-16-le")
    buffer = (_u16 * (len(units) // 2 + 1))()
    ctypes.memmove(buffer, units, len(units))
    return buffer


def points(pairs):
    """x,y pairs as the exports take them, ended by a 0 where the next x would stand."""
    flat = [v for pair in pairs for v in pair] + [0]
    return (ctypes.c_uint16 * len(flat))(*flat)


class Strokecast:
    def __init__(self, path):
        loader = ctypes.WinDLL if sys.platform == "win32" else ctypes.CDLL
        self.lib = loader(path)
        for name, (result, arguments) in SIGNATURES.items():
            function = getattr(self.lib, name)
            function.restype = result
            function.argtypes = arguments

    def _read(self, call, capacity=4096):
        """Runs a buffer-filling export; None when it wrote nothing (0 means "nothing written")."""
        buffer = (_u16 * capacity)()
        written = call(buffer, capacity)
        if written == 0:
            return None
        return bytes(buffer)[: 2 * (written - 1)].decode("utf-16-le")

    def version(self):
        v = self.lib.StrokecastVersion()
        return (v >> 16, (v >> 8) & 0xFF, v & 0xFF)

    def open(self, default_gestures, folder):
        self.lib.OpenGestureManager(text(default_gestures), text(folder))
        self.lib.OpenActionManager(text(folder))

    def close(self):
        self.lib.CloseActionNanager()
        self.lib.CloseGestureManager()

    def add_gesture(self, name, pairs):
        return self.lib.AddOneGesture(text(name), points(pairs)) == 1

    def recognize(self, pairs):
        return self._read(lambda b, n: self.lib.recognizeGesture(points(pairs), b, n))

    def gestures(self):
        listed = self._read(self.lib.GetAllGestures, 65536)
        return [] if not listed else listed.split(",")

    def name_taken(self, name):
        return self.lib.CheckNameExist(text(name)) == 1

    def bind(self, gesture, action):
        return self.lib.SetGestureToAction(text(gesture), text(action)) == 1

    def action_of(self, gesture):
        return self._read(lambda b, n: self.lib.GetActionOfGesture(text(gesture), b, n))

    def set_switch(self, gesture, on):
        return self.lib.SetGestureSwitch(text(gesture), 1 if on else 0) == 1

    def switch(self, gesture):
        return self.lib.GetGestureSwitch(text(gesture)) == 1

    def execute(self, gesture):
        return self.lib.ExecuteAction(text(gesture)) == 1

    def remove_gesture(self, name):
        return self.lib.RemoveOneGesture(text(name)) == 1

    def fnv_hash(self, s):
        return self.lib.GetFnvHash(text(s))
