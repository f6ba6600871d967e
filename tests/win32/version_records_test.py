#!/usr/bin/python3
"""The version records of both Windows programs, read back from the built .exe files: one version,
the project's, in the fixed part, in the texts and in what ambersel-eval.exe --version says; the
names, description and copyright Windows shows in the file's properties; the language of the
resources; the icon; and no link time stamp in the header.

    version_records_test.py VERSION WINE_RUN AMBERSEL_TEST_EXE AMBERSEL_EVAL_EXE
"""

import pathlib
import subprocess
import sys

import pefile

GERMAN = 0x0407
COPYRIGHT = "Copyright \u00a9 2026 the Ambersel Test Calculator developers"


def strings_of(pe):
    """The texts of the record's string blocks, by block ("040904e4") and name."""
    found = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                found[table.LangID.decode()] = {k.decode(): v.decode()
                                                for k, v in table.entries.items()}
    return found


def languages(pe, kind):
    """The languages of the resources of one kind (RT_VERSION, RT_GROUP_ICON, ...)."""
    found = set()
    for typed in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if typed.id == pefile.RESOURCE_TYPE[kind]:
            for named in typed.directory.entries:
                found |= {language.id for language in named.directory.entries}
    return found


def problems_of(path, file_name, description, version):
    pe = pefile.PE(str(path))
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = [int(part) for part in version.split(".")] + [0]
    expected = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
    texts = strings_of(pe).get("040904e4", {})
    wanted_texts = {"FileVersion": version, "ProductVersion": version,
                    "ProductName": "Ambersel Test Calculator", "FileDescription": description,
                    "InternalName": file_name, "OriginalFilename": file_name,
                    "CompanyName": "Ambersel Test Calculator developers",
                    "LegalCopyright": COPYRIGHT}
    checks = [
        ("the fixed file version is not the project's",
         (fixed.FileVersionMS, fixed.FileVersionLS) == expected),
        ("the fixed product version is not the project's",
         (fixed.ProductVersionMS, fixed.ProductVersionLS) == expected),
        ("the record's texts differ from what Windows must show: "
         f"{ {k: texts.get(k) for k in wanted_texts if texts.get(k) != wanted_texts[k]} }",
         all(texts.get(k) == v for k, v in wanted_texts.items())),
        ("the record is not in German (Germany)", languages(pe, "RT_VERSION") == {GERMAN}),
        ("Explorer would show no icon, or one not in German (Germany)",
         languages(pe, "RT_GROUP_ICON") == {GERMAN}),
        ("the header carries the link time, so two builds differ",
         pe.FILE_HEADER.TimeDateStamp == 0),
    ]
    return [f"{file_name}: {what}" for what, fine in checks if not fine]


def main(arguments):
    if len(arguments) != 4:
        sys.exit(__doc__)
    version, wine_run, dialog, evaluator = arguments
    problems = problems_of(pathlib.Path(dialog), "Ambersel_Test.exe",
                           "Ambersel Test Calculator", version)
    problems += problems_of(pathlib.Path(evaluator), "ambersel-eval.exe",
                            "Ambersel Test Calculator, command-line evaluator", version)
    said = subprocess.run([wine_run, evaluator, "--version"], capture_output=True, text=True)
    if said.stdout.strip() != f"ambersel-eval {version}":
        problems.append(f"ambersel-eval.exe --version says {said.stdout.strip()!r}")
    print(*problems, sep="\n")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
