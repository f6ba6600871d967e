#!/usr/bin/env python3
"""Writes an HTML page with its pictures inside it, so that the one file shows them wherever it is
opened from.

    inline_pictures.py PAGE.html OUTPUT.html

Every <img src="..."> that names a file beside the page (relative to it) gets the file's bytes as
a data: URL. A picture that is missing, or of a kind browsers do not show, stops the script.
"""

import base64
import pathlib
import re
import sys

KINDS = {".png": "image/png", ".svg": "image/svg+xml", ".jpg": "image/jpeg"}
PICTURE = re.compile(r'(<img\b[^>]*?\bsrc=")([^"]+)(")', re.DOTALL)


def main(arguments):
    if len(arguments) != 2:
        sys.exit(__doc__)
    page, output = pathlib.Path(arguments[0]), pathlib.Path(arguments[1])
    folder = page.resolve().parent

    def inline(match):
        name = match.group(2)
        picture = (folder / name).resolve()
        kind = KINDS.get(picture.suffix.lower())
        if kind is None or name.startswith(("data:", "http:", "https:", "/")):
            sys.exit(f"inline_pictures.py: {page}: '{name}' is not a picture beside the page")
        if not picture.is_file():
            sys.exit(f"inline_pictures.py: {page}: the picture {picture} is missing")
        data = base64.b64encode(picture.read_bytes()).decode("ascii")
        return f"{match.group(1)}data:{kind};base64,{data}{match.group(3)}"

    output.write_text(PICTURE.sub(inline, page.read_text(encoding="utf-8")), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
