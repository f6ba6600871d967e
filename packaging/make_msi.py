#!/usr/bin/python3
"""Makes the Windows Installer package (MSI) of the programs from their installed files, with
wixl (Debian's msitools).

    make_msi.py STAGED_FOLDER VERSION OUTPUT.msi

STAGED_FOLDER holds the files as the ZIP does (bin/, examples/, the guide, the licence and the
notices); they go to C:\\Program Files\\Ambersel Test Calculator for every user of the machine.
The package puts the dialog and the user's guide into the Start menu, appears in Apps with its
version and publisher, and replaces an older version of the product (its upgrade code never
changes); a newer one already installed refuses it. The feature PathEntry, installed unless left
out (REMOVE=PathEntry), puts the folder of ambersel-eval.exe on the machine's PATH.

The same files give the same package bytes: every identifier is derived from the upgrade code,
the version and the files, and the dates are SOURCE_DATE_EPOCH (the files' own dates in the
cabinet, the package's dates in its summary).

Runs with Debian's Python, which has the bindings of the library that reads and writes MSI
databases (gir1.2-libmsi-1.0, python3-gi).
"""

import hashlib
import os
import pathlib
import subprocess
import sys
import tempfile
import uuid
from xml.sax.saxutils import quoteattr

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402  (needs the version chosen first)

# The product's identity across all its versions: never change it, or Windows would install a
# new version beside the old one instead of replacing it.
UPGRADE_CODE = uuid.UUID("75bfda18-9161-49be-8ee5-0c617c10a336")
PRODUCT = "Ambersel Test Calculator"
MANUFACTURER = "Ambersel Test Calculator developers"
PRODUCT_KEY = f"Software\\{MANUFACTURER}\\{PRODUCT}"
ICON = pathlib.Path(__file__).resolve().parent.parent / "win32" / "ui" / "ambersel_test.ico"
# What the Start-menu folder holds: the file it opens and the entry's name.
MENU_ENTRIES = {"bin/Ambersel_Test.exe": PRODUCT, "user-guide.html": "User's guide"}
PATH_FOLDER = "bin"
# The cabinet's dates are the files' local times; one zone makes them the same everywhere.
TIME_ZONE = "UTC"


def derived_guid(*words):
    return "{" + str(uuid.uuid5(UPGRADE_CODE, "\x1f".join(words))).upper() + "}"


def identifier(kind, relative):
    """A table key for a file or folder: MSI keys allow letters, digits, _ and . only."""
    digest = hashlib.sha256(relative.encode("utf-8")).hexdigest()[:16]
    return f"{kind}_{digest}"


def folder_id(relative_folder):
    return "BINDIR" if relative_folder == PATH_FOLDER else identifier("dir", relative_folder)


def wix_source(staged, version, files):
    """The package's description in WiX's XML, as wixl reads it in the current folder (it takes
    no absolute file names)."""
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
             f'<Product Id="{derived_guid("product", version)}" Name={quoteattr(PRODUCT)}'
             f' Language="1033" Codepage="1252" Version="{version}"'
             f' Manufacturer={quoteattr(MANUFACTURER)} UpgradeCode="{{{str(UPGRADE_CODE).upper()}}}">',
             f'<Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"'
             f' Description={quoteattr(f"{PRODUCT} {version}")}'
             f' Comments="Tells whether a measured spectrum passes the Ambersel test"/>',
             '<MajorUpgrade DowngradeErrorMessage='
             f'{quoteattr(f"A newer version of the {PRODUCT} is already installed.")}/>',
             '<Media Id="1" Cabinet="programs.cab" EmbedCab="yes"/>',
             f'<Icon Id="product.ico" SourceFile={quoteattr(os.path.relpath(ICON))}/>',
             '<Property Id="ARPPRODUCTICON" Value="product.ico"/>',
             # Apps offers no Change: the package has no dialogs to choose features in.
             '<Property Id="ARPNOMODIFY" Value="1"/>',
             # Never restart the machine, not even in a silent install (msiexec /qn).
             '<Property Id="REBOOT" Value="ReallySuppress"/>',
             '<Directory Id="TARGETDIR" Name="SourceDir">',
             '<Directory Id="ProgramFiles64Folder">',
             f'<Directory Id="INSTALLDIR" Name={quoteattr(PRODUCT)}>']
    lines += folder_tree(files, "", staged)
    lines += ['</Directory>', '</Directory>',
              '<Directory Id="ProgramMenuFolder">',
              f'<Directory Id="MENUDIR" Name={quoteattr(PRODUCT)}>',
              # The menu folder goes with its entries; a value in the machine's registry stands
              # for the component, as a per-machine component needs a key path there.
              f'<Component Id="StartMenu" Guid="{derived_guid("component", "start menu")}"'
              ' Win64="yes">',
              '<RemoveFolder Id="MENUDIR" On="uninstall"/>',
              f'<RegistryValue Root="HKLM" Key={quoteattr(PRODUCT_KEY)} Name="StartMenu"'
              ' Type="integer" Value="1" KeyPath="yes"/>',
              '</Component>', '</Directory>', '</Directory>', '</Directory>',
              f'<Feature Id="Programs" Level="1" Title={quoteattr(PRODUCT)}'
              ' Absent="disallow">']
    lines += [f'<ComponentRef Id="{identifier("file", f)}"/>' for f in files]
    lines += ['<ComponentRef Id="StartMenu"/>', '</Feature>',
              '<Feature Id="PathEntry" Level="1" Title="ambersel-eval.exe on the PATH">',
              '<ComponentRef Id="PathEntry"/>', '</Feature>', '</Product>', '</Wix>']
    return "\n".join(lines) + "\n"


def folder_tree(files, folder, sources):
    """The Directory and Component elements of one folder and of those below it."""
    depth = folder.count("/") + 1 if folder else 0
    inside = [f for f in files if not folder or f.startswith(folder + "/")]
    lines = []
    for name in sorted({f.split("/")[depth] for f in inside if f.count("/") > depth}):
        sub = f"{folder}/{name}" if folder else name
        lines.append(f'<Directory Id="{folder_id(sub)}" Name={quoteattr(name)}>')
        lines += folder_tree(files, sub, sources)
        if sub == PATH_FOLDER:
            # Holds no file: the folder it stands for is what goes onto PATH.
            lines += [f'<Component Id="PathEntry" Guid="{derived_guid("component", "path")}"'
                      ' Win64="yes">', '<CreateFolder/>', '</Component>']
        lines.append('</Directory>')
    here = [f for f in inside if f.count("/") == depth]
    for relative in here:
        key = identifier("file", relative)
        lines += [f'<Component Id="{key}" Guid="{derived_guid("component", relative)}"'
                  ' Win64="yes">']
        if not folder and relative == here[0]:
            # The program's folder is one the package makes, so that its removal takes the folder
            # away once its files and folders are gone (Wine's installer leaves it otherwise).
            lines.append('<CreateFolder/>')
        lines.append(f'<File Id="{key}" Name={quoteattr(relative.split("/")[-1])}'
                     f' Source={quoteattr(os.path.relpath(sources / relative))} KeyPath="yes">')
        if relative in MENU_ENTRIES:
            lines.append(f'<Shortcut Id="{identifier("menu", relative)}" Directory="MENUDIR"'
                         f' Name={quoteattr(MENU_ENTRIES[relative])}'
                         ' WorkingDirectory="INSTALLDIR"/>')
        lines += ['</File>', '</Component>']
    return lines


def finish(package, version, contents, epoch):
    """What wixl cannot write: the PATH entry, shortcuts that open their file (wixl makes only
    advertised ones, which start a repair check and which Wine cannot follow), and the
    summary's package code and dates."""
    database = Libmsi.Database.new(str(package), Libmsi.DbFlags.TRANSACT, None)

    def run(sql):
        query = Libmsi.Query.new(database, sql)
        query.execute(None)
        query.close()

    run("CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, "
        "`Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, "
        "`Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)")
    # "=" sets the variable, "-" takes the entry away again on removal, "*" is the machine's
    # variable; "[~];" keeps what PATH holds and appends the folder after it.
    run("INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) "
        "VALUES ('PathEntry', '=-*PATH', '[~];[BINDIR]', 'PathEntry')")
    # The standard actions that write and remove environment strings, at their usual places.
    run("INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) "
        "VALUES ('RemoveEnvironmentStrings', 3300)")
    run("INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) "
        "VALUES ('WriteEnvironmentStrings', 5200)")
    for relative in MENU_ENTRIES:
        run(f"UPDATE `Shortcut` SET `Target` = '[#{identifier('file', relative)}]' "
            f"WHERE `Shortcut` = '{identifier('menu', relative)}'")

    summary = Libmsi.SummaryInfo.new(database, 20)
    # The package code names these very bytes: the same inputs give the same code.
    summary.set_string(Libmsi.Property.UUID, derived_guid("package", version, contents))
    filetime = (epoch + 11644473600) * 10_000_000
    summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    summary.persist()
    database.commit()


def main(arguments):
    if len(arguments) != 3:
        sys.exit(__doc__)
    staged, version, output = pathlib.Path(arguments[0]).resolve(), arguments[1], arguments[2]
    files = sorted(str(p.relative_to(staged)) for p in staged.rglob("*") if p.is_file())
    missing = [f for f in MENU_ENTRIES if f not in files]
    if missing:
        sys.exit(f"make_msi.py: {staged} has no {', '.join(missing)}")
    contents = hashlib.sha256()
    for relative in files:
        contents.update(relative.encode("utf-8") + b"\0")
        contents.update(hashlib.sha256((staged / relative).read_bytes()).digest())
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    output = pathlib.Path(output).resolve()
    with tempfile.TemporaryDirectory(dir=output.parent) as work:
        os.chdir(work)  # left before the folder goes: the program ends here
        pathlib.Path("package.wxs").write_text(wix_source(staged, version, files),
                                               encoding="utf-8")
        subprocess.run(["wixl", "--arch", "x64", "--output", "package.msi", "package.wxs"],
                       env=dict(os.environ, TZ=TIME_ZONE), check=True)
        finish(pathlib.Path("package.msi"), version, contents.hexdigest(), epoch)
        os.replace("package.msi", output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
