#!/usr/bin/env python3
"""Runs the README's example sessions (indented blocks whose lines start with "$ ") with the built
ambersel-eval, and compares what each command writes with what the README shows after it.

    readme_examples_test.py AMBERSEL_EVAL            check; a difference fails
    readme_examples_test.py --update AMBERSEL_EVAL   write what the commands wrote into the README

Each session runs in one shell, in a scratch folder that sees the source tree's examples/ under
that name, so that paths read as in the README and the files the commands write are left nowhere.
"""

import os
import pathlib
import subprocess
import sys
import tempfile

SOURCE_TREE = pathlib.Path(__file__).resolve().parent.parent
README = SOURCE_TREE / "README.md"
INDENT = "    "
PROMPT = INDENT + "$ "
MARK = "\x1eend of command\x1e"

# Words that name what only the reader has: a command holding one is shown, not run.
STAND_INS = {
    "measure-scan": "the lab's own program that writes a list to standard output",
    "run.ASC": "a list of the reader's that a line of text cuts short",
}


ELISION = "…"


def sessions(lines):
    """Yields (first, end) line ranges of the README's example sessions."""
    index = 0
    while index < len(lines):
        opens_block = index == 0 or not lines[index - 1].startswith(INDENT)
        if opens_block and lines[index].startswith(PROMPT):
            end = index
            while end < len(lines) and lines[end].startswith(INDENT):
                end += 1
            yield index, end
            index = end
        else:
            index += 1


def commands(lines, first, end):
    """The session's commands, each as (command, first output line, end of its output)."""
    found = []
    for index in range(first, end):
        if lines[index].startswith(PROMPT):
            if found:
                found[-1][2] = index
            found.append([lines[index][len(PROMPT):], index + 1, end])
    return [tuple(command) for command in found]


def stand_in(command):
    return next((word for word in STAND_INS if word in command), None)


def matches(shown, output):
    """Whether `output` is what `shown` shows, a line of "…" alone standing for any lines."""
    if not shown:
        return not output
    if shown[0].strip() == ELISION:
        return any(matches(shown[1:], output[skip:]) for skip in range(len(output) + 1))
    return bool(output) and output[0] == shown[0] and matches(shown[1:], output[1:])


def run_session(shown, scratch):
    """What each command wrote (standard output and error, as they came), by command."""
    script = ["set +e"]
    for command in shown:
        if stand_in(command) is None:
            script.append(command)
        script += ["status=$?", f"printf '\\n{MARK}\\n'", "(exit $status)"]
    bin_folder = scratch / "bin"
    environment = dict(os.environ, PATH=f"{bin_folder}{os.pathsep}{os.environ['PATH']}")
    result = subprocess.run(["bash", "-c", "\n".join(script)], cwd=scratch, env=environment,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    pieces = result.stdout.decode("utf-8", "backslashreplace").split(f"\n{MARK}\n")
    return [piece.splitlines() for piece in pieces[:len(shown)]]


def main(arguments):
    update = arguments[:1] == ["--update"]
    if update:
        arguments = arguments[1:]
    if len(arguments) != 1:
        sys.exit(__doc__)
    program = pathlib.Path(arguments[0]).resolve()
    lines = README.read_text(encoding="utf-8").split("\n")
    replaced = list(lines)
    failures = 0
    scratch_parent = os.environ.get("SCRATCH")
    with tempfile.TemporaryDirectory(prefix="readme-examples.", dir=scratch_parent) as folder:
        for first, end in reversed(list(sessions(lines))):
            scratch = pathlib.Path(folder) / f"session-{first}"
            (scratch / "bin").mkdir(parents=True)
            (scratch / "bin" / "ambersel-eval").symlink_to(program)
            (scratch / "examples").symlink_to(SOURCE_TREE / "examples")
            session = commands(lines, first, end)
            written = run_session([command for command, _, _ in session], scratch)
            for (command, out_first, out_end), output in reversed(list(zip(session, written))):
                word = stand_in(command)
                if word is not None:
                    print(f"README.md:{out_first}: not run: {command!r} ({word} stands for "
                          f"{STAND_INS[word]})")
                    continue
                shown = [line[len(INDENT):] for line in lines[out_first:out_end]]
                if matches(shown, output):
                    continue
                # An elided output is the README's own choice of lines: written in by hand.
                if update and not any(line.strip() == ELISION for line in shown):
                    replaced[out_first:out_end] = [INDENT + line for line in output]
                    continue
                failures += 1
                print(f"README.md:{out_first}: $ {command}\n  shows:", *shown, "  writes:",
                      *output, sep="\n    ")
    if update and replaced != lines:
        README.write_text("\n".join(replaced), encoding="utf-8")
        print("README.md: the examples' outputs are written in")
    if failures:
        print(f"{failures} README examples write other output than the README shows; "
              "docs/make-examples writes it in")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
