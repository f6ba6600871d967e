#!/usr/bin/env python3
"""Runs the user's guide's example sessions and compares what each command writes with what the
guide shows after it: the Linux terminal sessions with the built ambersel-eval, the command-prompt
sessions with ambersel-eval.exe in Wine's cmd.

    guide_examples_test.py shell AMBERSEL_EVAL
    guide_examples_test.py cmd WINE_RUN AMBERSEL_EVAL_EXE

A session is a <pre> of the classes "session" and "shell" or "cmd"; its commands follow the prompt
("$ " or "C:\\lab>"), the lines up to the next prompt are their output, and a line of "…" alone
stands for any lines. A command-prompt session runs in a folder that holds the example lists, as
C:\\lab does in the guide; a terminal session in one that sees them as examples/. PowerShell
examples are shown, not run: Wine has no PowerShell.
"""

import html
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import readme_examples_test as readme  # noqa: E402  (found beside this file)

SOURCE_TREE = pathlib.Path(__file__).resolve().parent.parent
GUIDE = SOURCE_TREE / "docs" / "guide" / "user-guide.html"
PROMPTS = {"shell": "$ ", "cmd": "C:\\lab>"}
SESSION = re.compile(r'<pre class="(?P<classes>[^"]*)">(?P<body>.*?)</pre>', re.DOTALL)
MARK = "\x1eend of command\x1e"


def sessions(kind):
    """(line number, [(command, shown output lines)]) of each session of the kind."""
    text = GUIDE.read_text(encoding="utf-8")
    for match in SESSION.finditer(text):
        classes = match.group("classes").split()
        if "session" not in classes or kind not in classes:
            continue
        body = re.sub(r'<span class="label">.*?</span>', "", match.group("body"))
        lines = html.unescape(re.sub(r"<[^>]+>", "", body)).split("\n")
        commands = []
        for line in lines:
            if line.startswith(PROMPTS[kind]):
                commands.append((line[len(PROMPTS[kind]):], []))
            elif commands:
                commands[-1][1].append(line)
        yield text.count("\n", 0, match.start()) + 1, commands


def run_in_cmd(commands, scratch, wine_run, program):
    """What each command wrote in one Wine cmd, run as a batch file in the scratch folder."""
    shutil.copy(program, scratch / "ambersel-eval.exe")
    for example in (SOURCE_TREE / "examples").glob("*.ASC"):
        shutil.copy(example, scratch)
    windows_folder = "Z:" + str(scratch).replace("/", "\\")
    batch = ["@echo off", f'cd /d "{windows_folder}"', f'set "PATH={windows_folder};%PATH%"']
    for command in commands:
        batch += [command, f"echo {MARK}"]
    (scratch / "session.cmd").write_bytes("\r\n".join(batch + [""]).encode("ascii"))
    result = subprocess.run([wine_run, "cmd", "/c", f"{windows_folder}\\session.cmd"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    written = result.stdout.decode("utf-8", "backslashreplace").replace("\r\n", "\n")
    return [piece.splitlines() for piece in written.split(f"{MARK}\n")[:len(commands)]]


def run_in_shell(commands, scratch, program):
    (scratch / "bin").mkdir()
    (scratch / "bin" / "ambersel-eval").symlink_to(program)
    (scratch / "examples").symlink_to(SOURCE_TREE / "examples")
    return readme.run_session(commands, scratch)


def main(arguments):
    if len(arguments) not in (2, 3) or arguments[0] not in PROMPTS:
        sys.exit(__doc__)
    kind = arguments[0]
    failures = 0
    count = 0
    with tempfile.TemporaryDirectory(prefix="guide-examples.",
                                     dir=os.environ.get("SCRATCH")) as folder:
        for line_number, session in sessions(kind):
            scratch = pathlib.Path(folder).resolve() / f"session-{line_number}"
            scratch.mkdir()
            commands = [command for command, _ in session]
            if kind == "cmd":
                written = run_in_cmd(commands, scratch, arguments[1],
                                     pathlib.Path(arguments[2]).resolve())
            else:
                written = run_in_shell(commands, scratch, pathlib.Path(arguments[1]).resolve())
            for (command, shown), output in zip(session, written + [[]] * len(session)):
                count += 1
                if not readme.matches(shown, output):
                    failures += 1
                    print(f"{GUIDE.name}:{line_number}: {PROMPTS[kind]}{command}\n  shows:",
                          *shown, "  writes:", *output, sep="\n    ")
    print(f"{count} {kind} commands of the guide run, {failures} write other output")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
