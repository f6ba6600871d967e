#!/usr/bin/env python3
"""Writes the third-party notices of a package from the copyright files of the Debian packages the
programs were built with, so that every licence text is the one Debian records for what was built.

    make_notices.py windows OUTPUT.txt          the notice of the Windows packages (text, CR LF)
    make_notices.py debian [--qt] OUTPUT        the .deb's copyright file, in Debian's format;
                                                --qt for a build that links Qt

Each piece of third-party software is listed once below, with how the programs hold it and where
Debian records its copyright. A source that is missing, or that no longer holds what is asked of
it, stops the script: a notice must never come out shorter than the programs need.
"""

import dataclasses
import pathlib
import re
import sys

DOC = pathlib.Path("/usr/share/doc")
COMMON_LICENSES = pathlib.Path("/usr/share/common-licenses")
OURS = "Ambersel Test Calculator"
OUR_COPYRIGHT = "2026 the Ambersel Test Calculator developers"


@dataclasses.dataclass(frozen=True)
class Piece:
    """One piece of third-party software and where its copyright is recorded."""
    name: str
    package: str  # the Debian package whose /usr/share/doc/PACKAGE/copyright is read
    held: dict  # platform ("windows", "debian") -> how the programs hold it
    # Machine-readable copyright files: the paragraphs whose first Files pattern starts with one
    # of these ("*" for the general one), leaving out those that start with one of `leave_out`.
    files: tuple = ()
    leave_out: tuple = ()
    # Free-form copyright files: the excerpts from a line that starts with the first text to the
    # line that ends with the second, both included.
    excerpts: tuple = ()
    # Free-form files name their licences in prose; these are the ones the excerpts refer to.
    licences: tuple = ()
    qt_only: bool = False  # linked only by a build with Qt


PIECES = (
    Piece("CLI11", "libcli11-dev",
          {"windows": "compiled into ambersel-eval.exe (its command line)",
           "debian": "compiled into ambersel-eval (its command line)"},
          files=("*",)),
    Piece("JSON for Modern C++", "nlohmann-json3-dev",
          {"windows": "compiled into ambersel-eval.exe (its JSON output)",
           "debian": "compiled into ambersel-eval (its JSON output)"},
          files=("*", "include/nlohmann/detail/conversions/to_chars.hpp",
                 "include/nlohmann/detail/output/serializer.hpp")),
    Piece("DejaVu fonts", "fonts-dejavu-core",
          {"windows": "DejaVu Sans built into both programs, to draw the pictures and embedded "
                      "in PDF reports",
           "debian": "DejaVu Sans embedded in PDF reports"},
          files=("*",)),
    Piece("zlib", "zlib1g",
          {"windows": "compiled into the programs (PDF reports)",
           "debian": "compiled into the programs (PDF reports)"},
          files=("*",)),
    Piece("GCC runtime libraries (libstdc++, libgcc)", "gcc-mingw-w64-base",
          {"windows": "linked statically into both programs"},
          excerpts=(("GCC is Copyright (C)", "for more details."),
                    ("The following runtime libraries are licensed", "- libvtv"),
                    ("GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC.")),
          licences=("GPL-3",)),
    Piece("MinGW-w64 runtime", "mingw-w64-common",
          {"windows": "linked statically into both programs (start-up code, C library "
                      "additions)"},
          files=("*", "mingw-w64-crt/")),
    Piece("winpthreads", "mingw-w64-common",
          {"windows": "linked statically into both programs (threads)"},
          files=("mingw-w64-libraries/winpthreads/",),
          leave_out=("mingw-w64-libraries/winpthreads/tests_pthread/",)),
    Piece("Qt 6", "libqt6core6",
          {"debian": "linked dynamically by Ambersel_Test and the painting plug-in "
                     "(libqt6core6, libqt6gui6, libqt6widgets6)"},
          files=("*",), qt_only=True),
    Piece("Nettle", "libnettle8",
          {"debian": "linked dynamically by the programs (SHA-256 of the lists)"},
          files=("*",)),
    Piece("GCC runtime libraries (libstdc++, libgcc)", "libstdc++6",
          {"debian": "linked dynamically by the programs (libstdc++6, libgcc-s1)"},
          excerpts=(("GCC is Copyright (C)", "for more details."),
                    ("The following runtime libraries are licensed", "- libvtv"))),
    Piece("GNU C Library", "libc6",
          {"debian": "linked dynamically by the programs (libc6)"},
          excerpts=(("* Most of the GNU C library is under the following copyright:",
                     "/usr/share/common-licenses/LGPL-2.1'."),)),
)


class SourceError(Exception):
    pass


def copyright_file(package):
    path = DOC / package / "copyright"
    if not path.is_file():
        raise SourceError(f"{path} is missing: install the Debian package {package}")
    return path


def paragraphs(path):
    """The paragraphs of a machine-readable copyright file, each a dict of field -> lines, the
    first line being the text after the field name."""
    found = []
    current = {}
    field = None
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip():
            if current:
                found.append(current)
            current, field = {}, None
        elif line[0] in " \t" and field is not None:
            current[field].append(line)
        else:
            field, _, value = line.partition(":")
            current[field] = [value.strip()]
    if current:
        found.append(current)
    return found


def continuation_text(lines):
    """A field's continuation lines as text: one leading space taken off, "." for empty lines."""
    text = []
    for line in lines:
        line = line[1:] if line.startswith(" ") else line.lstrip("\t")
        text.append("" if line.strip() == "." else line.rstrip())
    return text


def licence_names(expression):
    return [name for name in re.split(r"\s+(?:or|and)\s+", expression.strip()) if name]


@dataclasses.dataclass
class Notice:
    name: str
    held: str
    source: pathlib.Path
    # (copyright lines, licence expression) per paragraph, or free text lines for free-form files.
    statements: list
    licences: dict  # licence name -> text lines


def read_dep5(piece, path):
    every = paragraphs(path)
    standalone = {p["License"][0]: continuation_text(p["License"][1:])
                  for p in every if "License" in p and "Files" not in p}
    chosen = []
    for paragraph in every:
        if "Files" not in paragraph:
            continue
        first = paragraph["Files"][0].split()[0]
        if any(first == want if want == "*" else first.startswith(want) for want in piece.files) \
                and not any(first.startswith(no) for no in piece.leave_out):
            chosen.append(paragraph)
    missing = [want for want in piece.files
               if not any(p["Files"][0].split()[0].startswith(want) for p in chosen)]
    if missing:
        raise SourceError(f"{path} has no paragraph for {', '.join(missing)}")
    statements, licences = [], {}
    for paragraph in chosen:
        holders = [paragraph["Copyright"][0]] + [line.strip()
                                                 for line in paragraph["Copyright"][1:]]
        expression = paragraph["License"][0]
        statements.append((holders, expression))
        inline = continuation_text(paragraph["License"][1:])
        for name in licence_names(expression):
            if inline and len(licence_names(expression)) == 1:
                licences.setdefault(name, inline)
            elif name in standalone:
                licences.setdefault(name, standalone[name])
            elif (COMMON_LICENSES / name.rstrip("+")).is_file():
                licences.setdefault(name, [])
            else:
                raise SourceError(f"{path}: no text for the licence {name}")
    return statements, licences


def read_excerpts(piece, path):
    lines = path.read_text(encoding="utf-8").splitlines()
    text = []
    for start, end in piece.excerpts:
        first = next((i for i, line in enumerate(lines) if line.strip().startswith(start)), None)
        if first is None:
            raise SourceError(f"{path} no longer has a line starting '{start}'")
        last = next((i for i in range(first, len(lines)) if lines[i].rstrip().endswith(end)),
                    None)
        if last is None:
            raise SourceError(f"{path} no longer has a line ending '{end}' after '{start}'")
        if text:
            text.append("")
        text += [line.rstrip() for line in lines[first:last + 1]]
    return text, {name: [] for name in piece.licences}


def notices(platform, with_qt):
    found = []
    for piece in PIECES:
        if platform not in piece.held or (piece.qt_only and not with_qt):
            continue
        path = copyright_file(piece.package)
        statements, licences = (read_excerpts if piece.excerpts else read_dep5)(piece, path)
        found.append(Notice(piece.name, piece.held[platform], path, statements, licences))
    return found


def referenced_common_licences(lines):
    """The files of /usr/share/common-licenses a text sends its reader to."""
    names = re.findall(r"/usr/share/common-licenses/([A-Za-z0-9.+-]+?)['.,]?(?:\s|$|')",
                       "\n".join(lines))
    return [name for name in dict.fromkeys(names) if (COMMON_LICENSES / name).is_file()]


def common_licence(name):
    return (COMMON_LICENSES / name).read_text(encoding="utf-8").splitlines()


def windows_text(found):
    """The notice for the Windows packages. Windows has no /usr/share/common-licenses, so every
    licence a text refers to there is given in full at the end."""
    out = [f"Third-party software in the {OURS} for Windows",
           "",
           f"The {OURS} is released under the MIT licence (LICENSE.txt). Its programs",
           "Ambersel_Test.exe and ambersel-eval.exe hold the following software of others, each",
           "under its own licence. The texts are those of the Debian packages the programs were",
           "built from; the file each comes from is named with it.", ""]
    appendix = []
    for number, notice in enumerate(found, 1):
        out += ["=" * 78, f"{number}. {notice.name}: {notice.held}",
                f"   (from {notice.source})", "=" * 78, ""]
        if notice.statements and isinstance(notice.statements[0], str):
            out += notice.statements + [""]
            texts = list(notice.statements)
        else:
            texts = []
            for holders, expression in notice.statements:
                out += [f"Copyright: {holders[0]}"] + [f"           {h}" for h in holders[1:]]
                out += [f"Licence: {expression}", ""]
        for name, text in notice.licences.items():
            if text:
                out += [f"--- {name} ---", ""] + text + [""]
                texts += text
            else:
                appendix.append(name.rstrip("+"))
        appendix += referenced_common_licences(texts)
    for name in dict.fromkeys(appendix):
        out += ["=" * 78, f"The licence {name} in full (from {COMMON_LICENSES / name})",
                "=" * 78, ""] + common_licence(name) + [""]
    return "\r\n".join(out) + "\r\n"


def dep5_lines(lines):
    return [" " + line if line.strip() else " ." for line in lines]


def debian_copyright(found):
    """The .deb's copyright file: the project's own files, the code compiled into the programs,
    and, in the header's comment, the libraries they link, whose own copyright files Debian
    installs with them."""
    shipped = [n for n in found if "compiled" in n.held or "embedded" in n.held]
    linked = [n for n in found if n not in shipped]
    comment = [f"{n.name}: {n.held}; its copyright and licence are in {n.source}." for n in linked]
    out = ["Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/",
           f"Upstream-Name: {OURS}",
           "Comment: The programs link these libraries of Debian's, each under its own licence:"]
    out += dep5_lines([line for entry in comment for line in (entry, "")][:-1])
    out += ["", "Files: *", f"Copyright: {OUR_COPYRIGHT}", "License: Expat", ""]
    # One paragraph for the programs: of several that match a file, only the last would count.
    holders = [h for notice in shipped for hs, _ in notice.statements for h in hs]
    expressions = ["Expat"] + [name for notice in shipped for _, e in notice.statements
                               for name in licence_names(e)]
    out += ["Files: usr/bin/* usr/lib/*", f"Copyright: {OUR_COPYRIGHT}"]
    out += [f"           {h}" for h in dict.fromkeys(holders)]
    out += [f"License: {' and '.join(dict.fromkeys(expressions))}",
            "Comment: The programs hold code and data of others:"]
    out += dep5_lines([f"{n.name}, {n.held}; from {n.source}." for n in shipped]) + [""]
    licences = {"Expat": None}
    for notice in shipped:
        for name, text in notice.licences.items():
            licences.setdefault(name, text)
    licences["Expat"] = licence_text_of_ours()
    for name, text in licences.items():
        if not text:
            text = [f"On Debian systems, the full text of this licence is in "
                    f"{COMMON_LICENSES / name.rstrip('+')}."]
        out += [f"License: {name}"] + dep5_lines(text) + [""]
    return "\n".join(out[:-1]) + "\n"


def licence_text_of_ours():
    licence = pathlib.Path(__file__).resolve().parent.parent / "LICENSE"
    lines = licence.read_text(encoding="utf-8").splitlines()
    # The MIT licence's terms, after its title and copyright line.
    start = next(i for i, line in enumerate(lines) if line.startswith("Permission is hereby"))
    return lines[start:]


def main(arguments):
    with_qt = "--qt" in arguments
    arguments = [a for a in arguments if a != "--qt"]
    if len(arguments) != 2 or arguments[0] not in ("windows", "debian"):
        sys.exit(__doc__)
    platform, output = arguments
    try:
        found = notices(platform, with_qt)
    except SourceError as error:
        sys.exit(f"make_notices.py: {error}")
    text = windows_text(found) if platform == "windows" else debian_copyright(found)
    pathlib.Path(output).write_bytes(text.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
