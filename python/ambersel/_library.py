"""The C library libambersel through ctypes: finding it, its functions and its buffers."""

import ctypes
import os
import sys

# Statuses and flags of ambersel.h.
OK = 0
ERROR_BUFFER_TOO_SMALL = 2
ERROR_PATH = 4
ERROR_UNREADABLE = 5
ERROR_INCOMPLETE = 6
ERROR_SELF_TEST_FAILED = 10
STRICT = 1

_WINDOWS = sys.platform == "win32"


def _candidates():
    """Where the library may be, in the order tried."""
    names = ["ambersel.dll"] if _WINDOWS else ["libambersel.so.1"]
    here = os.path.dirname(os.path.abspath(__file__))
    explicit = os.environ.get("AMBERSEL_LIBRARY")
    if explicit:
        # A library named is the one wanted: none other stands in for it.
        yield explicit
        return
    for name in names:
        yield os.path.join(here, name)
    for name in names:
        yield name
    if _WINDOWS:
        program_files = os.environ.get("ProgramFiles", r"C:\Program Files")
        yield os.path.join(program_files, "Ambersel Test Calculator", "bin", "ambersel.dll")


def _load():
    tried = []
    for candidate in _candidates():
        try:
            return ctypes.CDLL(candidate)
        except OSError as error:
            tried.append("{} ({})".format(candidate, error))
    raise ImportError("the C library of the Ambersel Test Calculator was not found; tried: "
                      + "; ".join(tried))


_lib = _load()

_size = ctypes.c_size_t
_size_p = ctypes.POINTER(ctypes.c_size_t)
_u64_p = ctypes.POINTER(ctypes.c_uint64)
_result_p = ctypes.c_void_p


def _declare(name, arguments, returned=ctypes.c_int):
    function = getattr(_lib, name)
    function.argtypes = arguments
    function.restype = returned
    return function


_version = _declare("ambersel_version", [], ctypes.c_char_p)
_status_text = _declare("ambersel_status_text", [ctypes.c_int], ctypes.c_char_p)
_evaluate_file = _declare("ambersel_evaluate_file",
                          [ctypes.c_char_p, ctypes.c_uint, ctypes.POINTER(_result_p)])
_evaluate_file_w = (_declare("ambersel_evaluate_file_w",
                             [ctypes.c_wchar_p, ctypes.c_uint, ctypes.POINTER(_result_p)])
                    if _WINDOWS else None)
_evaluate_buffer = _declare("ambersel_evaluate_buffer",
                            [ctypes.c_char_p, _size, ctypes.c_char_p, ctypes.c_uint,
                             ctypes.POINTER(_result_p)])
_free = _declare("ambersel_free", [_result_p], None)
_message = _declare("ambersel_message", [_result_p, ctypes.c_char_p, _size, _size_p])
_json = _declare("ambersel_json",
                 [_result_p, _size, ctypes.POINTER(ctypes.c_double), _size, ctypes.c_int,
                  ctypes.c_char_p, _size, _size_p])
_self_test = _declare("ambersel_self_test",
                      [ctypes.c_char_p, ctypes.c_char_p, _size, _size_p, _u64_p, _u64_p])


def _text(call):
    """A text the library writes into a buffer of the caller's: asks for its size first."""
    needed = ctypes.c_size_t(0)
    status = call(None, 0, ctypes.byref(needed))
    if status != ERROR_BUFFER_TOO_SMALL:
        return status, ""
    buffer = ctypes.create_string_buffer(needed.value)
    status = call(buffer, needed.value, ctypes.byref(needed))
    return status, buffer.raw[:needed.value - 1].decode("utf-8", "replace")


def version():
    return _version().decode("ascii")


def status_text(status):
    return _status_text(status).decode("utf-8")


class Result:
    """One evaluated list, freed when the `with` block ends."""

    def __init__(self, status, handle):
        self.status = status
        self._handle = handle

    def __enter__(self):
        if not self._handle:
            from ambersel import Error
            raise Error(status_text(self.status), self.status)
        return self

    def __exit__(self, *exception):
        _free(self._handle)
        self._handle = None

    def message(self):
        return _text(lambda buffer, size, needed: _message(self._handle, buffer, size, needed))[1]

    def json(self, top, edges, points):
        count = len(edges) if edges is not None else 0
        return _text(lambda buffer, size, needed: _json(
            self._handle, top, edges, count, 1 if points else 0, buffer, size, needed))


def _made(call):
    handle = _result_p()
    status = call(ctypes.byref(handle))
    return Result(status, handle)


def evaluate_file(path, flags):
    if _WINDOWS:
        return _made(lambda result: _evaluate_file_w(path, flags, result))
    return _made(lambda result: _evaluate_file(os.fsencode(path), flags, result))


def evaluate_buffer(contents, name, flags):
    encoded = None if name is None else os.fsencode(name)
    return _made(lambda result: _evaluate_buffer(contents, len(contents), encoded, flags, result))


def self_test(kit):
    cases = ctypes.c_uint64(0)
    differing = ctypes.c_uint64(0)
    encoded = None if kit is None else os.fsencode(kit)
    status, report = _text(lambda buffer, size, needed: _self_test(
        encoded, buffer, size, needed, ctypes.byref(cases), ctypes.byref(differing)))
    return status, cases.value, differing.value, report
