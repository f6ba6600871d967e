"""The Ambersel test figure F of frequency-level lists, through the C library libambersel.

evaluate() gives a list's JSON object as ``ambersel-eval --json`` writes it, as a dict with the same
keys and values: "verdict", "line", "figure", "figure_bits", "margin_db", "bands" and the rest.
Failures raise Error, or one of its subclasses, carrying the library's message and status.
"""

import concurrent.futures
import json
import os

from ambersel import _library

__all__ = [
    "Error",
    "IncompleteListError",
    "SelfTest",
    "UnreadableListError",
    "evaluate",
    "evaluate_many",
    "library_version",
    "self_test",
]

__version__ = "1.0.0"


class Error(Exception):
    """A failure the library reported: str() is its message, `status` its status code."""

    def __init__(self, message, status):
        super().__init__(message)
        self.status = status


class UnreadableListError(Error):
    """The list file could not be opened or read whole; the message says why."""


class IncompleteListError(Error):
    """With strict=True: the list holds no points, or its reading stopped before the end."""


_ERRORS = {
    _library.ERROR_PATH: UnreadableListError,
    _library.ERROR_UNREADABLE: UnreadableListError,
    _library.ERROR_INCOMPLETE: IncompleteListError,
}


def _raise(status, message=None):
    text = _library.status_text(status)
    if message:
        text = message
    raise _ERRORS.get(status, Error)(text, status)


def _edges(bands):
    if bands is None:
        return None
    edges = [float(edge) for edge in bands]
    return (_library.ctypes.c_double * len(edges))(*edges)


def _is_contents(list_file):
    return isinstance(list_file, (bytes, bytearray, memoryview))


def _evaluated(list_file, strict, name):
    """The library's result for a path or the bytes of a list, with its status."""
    flags = _library.STRICT if strict else 0
    if _is_contents(list_file):
        return _library.evaluate_buffer(bytes(list_file), name, flags)
    if name is not None:
        raise TypeError("name goes with the bytes of a list, not with a path")
    return _library.evaluate_file(os.fspath(list_file), flags)


def evaluate(list_file, *, strict=False, top=0, bands=None, points=False, name=None,
             errors="raise"):
    """Evaluates one list and returns its JSON object as a dict.

    list_file: a path (str or os.PathLike) of a list file, or the bytes of one; `name` is then
        what "path" holds (default "-", as for standard input).
    strict: a list without points, or whose reading stopped at a malformed item, gives no verdict
        (IncompleteListError) instead of a PASS on what was read.
    top: add "top", the `top` points that weigh most in F. bands: edges in Hz for "bands"
        (default: the decades the list spans). points: add "points", every point's intermediates.
    errors: "raise" raises for a list without a verdict; "keep" returns its object, whose
        "verdict" is "ERROR" and "error" says why, as ambersel-eval writes it.
    """
    if errors not in ("raise", "keep"):
        raise ValueError("errors must be 'raise' or 'keep'")
    if top < 0:
        raise ValueError("top must not be negative")
    edges = _edges(bands)
    with _evaluated(list_file, strict, name) as result:
        if result.status != _library.OK and errors == "raise":
            label = (name or "-") if _is_contents(list_file) else os.fspath(list_file)
            _raise(result.status, "{}: {}".format(label, result.message()))
        status, text = result.json(top, edges, points)
        if status != _library.OK:
            _raise(status)
        return json.loads(text)


def evaluate_many(list_files, jobs=None, **options):
    """Evaluates many lists, `jobs` at a time (default: one per processor), and returns their
    objects in the order given. The options are those of evaluate()."""
    list_files = list(list_files)
    if jobs is not None and jobs < 1:
        raise ValueError("jobs must be at least 1")
    workers = jobs or os.cpu_count() or 1
    if workers == 1 or len(list_files) < 2:
        return [evaluate(list_file, **options) for list_file in list_files]
    # The library lets go of the interpreter while it works, so the threads evaluate at once.
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        return list(pool.map(lambda list_file: evaluate(list_file, **options), list_files))


class SelfTest:
    """What the self-test found: `passed`, the number of `cases` and of `differing` ones, and
    the `report`, one line per case and a summary line."""

    def __init__(self, passed, cases, differing, report):
        self.passed = passed
        self.cases = cases
        self.differing = differing
        self.report = report

    def __bool__(self):
        return self.passed

    def __repr__(self):
        return "SelfTest(passed={}, cases={}, differing={})".format(
            self.passed, self.cases, self.differing)


def self_test(kit=None):
    """Evaluates the validation kit's reference lists (`kit`: its folder; default: the kit
    installed with the library) and compares each result with the expected one to the bit.
    Raises Error when the kit cannot be read."""
    status, cases, differing, report = _library.self_test(
        None if kit is None else os.fspath(kit))
    if status not in (_library.OK, _library.ERROR_SELF_TEST_FAILED):
        _raise(status, report.strip() or None)
    return SelfTest(status == _library.OK, cases, differing, report)


def library_version():
    """The C library's version, "1.0.0"."""
    return _library.version()
