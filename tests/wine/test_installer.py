"""The Windows setup under Wine, in one fresh prefix, in this order: the
wizard's first page, a silent install (files, shortcut, Apps entry, version
resource, manifest, Japanese toolkit texts, the program itself), refusals
while the program runs and of a downgrade, the silent uninstall, then an
upgrade from an older setup with one more file.
Run by scripts/windows --test: URIAGE_WINDOWS_BUILD is the cross build,
URIAGE_SETUP the setup."""
import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).parent))
from installer_support import Wine, lnk_info, pe_resources, tree_hashes, version_strings, wait_until

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("URIAGE_WINDOWS_BUILD", ROOT / "build-windows"))
VERSION = subprocess.run([ROOT / "scripts/version"], stdout=subprocess.PIPE, text=True).stdout.strip()
SETUP = Path(os.environ.get("URIAGE_SETUP", ROOT / f"dist/uriage-{VERSION}-setup.exe"))
PROGRAM = BUILD / "package/program"
APPS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\uriage"
INSTALLED = r"C:\Program Files\uriage"
SHORTCUT = "ProgramData/Microsoft/Windows/Start Menu/Programs/売上.lnk"
BEFORE_INSTALL = set()  # the prefix's files before the first install


@pytest.fixture(scope="module")
def wine():
    wine = Wine(ROOT)
    # The receipt table, whose folder no setup may touch.
    assert wine.run(BUILD / "package/uriage/receipts.exe", "demo", "--dir", r"C:\Zelmora").returncode == 0
    yield wine
    wine.close()


def installed(wine):
    return wine.drive_c / "Program Files/uriage"


def prefix_files(wine):
    """Every file of the prefix outside Windows' own folder and temporary files."""
    return {p for p in tree_hashes(wine.drive_c) if not p.startswith("windows/") and "/Temp/" not in p}


def state(wine):
    return tree_hashes(installed(wine)) if installed(wine).exists() else {}, wine.reg_export(APPS_KEY)


def main_menu(wine):
    """The main menu's window as window-check reports it, once visible."""
    out = wine.run(BUILD / "window-check.exe", "TForm1", timeout=60).stdout.decode()
    window = json.loads(out or "{}").get("window") or {}
    return window.get("visible") and window


def short_install_path(wine):
    """The install folder without spaces: the uninstaller's "_?=" takes the
    rest of an unquoted command line, and Wine quotes an argument with spaces."""
    listing = wine.run("cmd", "/c", "dir", "/x", "C:\\").stdout.decode().splitlines()
    short = next(line.split()[3] for line in listing if line.rstrip().endswith(" Program Files"))
    return f"C:\\{short}\\uriage"


def start_program(wine):
    process = wine.start(installed(wine) / "uriage.exe")
    return process, wait_until(lambda: main_menu(wine), 60, "the installed program's main menu")


def test_wizard_first_page_is_japanese(wine):
    setup = wine.start(SETUP)
    window = wait_until(lambda: wine.window_named("売上 セットアップ"), 60, "the wizard's first page")
    time.sleep(1)  # let it paint
    shots = ROOT / "docs/screenshots"
    subprocess.run(["import", "-window", window, shots / "setup-welcome.png"], env=wine.env, check=True)
    wine.kill()
    setup.wait()
    assert state(wine) == ({}, None)


def test_silent_install(wine):
    BEFORE_INSTALL.update(prefix_files(wine))
    assert wine.run(SETUP, "/S").returncode == 0
    expected = tree_hashes(PROGRAM)
    files = tree_hashes(installed(wine))
    assert files.pop("uninstall.exe")
    assert files == expected

    link = lnk_info(wine.drive_c / SHORTCUT)
    assert link["Local path"] == INSTALLED + r"\uriage.exe"
    assert link["Working directory"] == INSTALLED
    assert link["Icon location"] == INSTALLED + r"\uriage.exe"

    entry = wine.reg_export(APPS_KEY)
    size = entry.pop("EstimatedSize")
    assert sum((PROGRAM / p).stat().st_size for p in expected) // 1024 <= size < 200 * 1024
    assert entry == {"DisplayName": "売上", "DisplayVersion": VERSION, "Publisher": "Zelmora",
                     "DisplayIcon": INSTALLED + r"\uriage.exe,0", "InstallLocation": INSTALLED,
                     "UninstallString": f'"{INSTALLED}\\uninstall.exe"',
                     "QuietUninstallString": f'"{INSTALLED}\\uninstall.exe" /S',
                     "NoModify": 1, "NoRepair": 1, "CreatedFolder": 1}


def test_version_resource_and_manifest(wine):
    resources = pe_resources(installed(wine) / "uriage.exe")
    strings = version_strings(resources[(16, 1)])
    major, minor = VERSION.split(".")
    assert strings["fixed"] == f"{int(major)}.{int(minor)}.0.0"
    assert {k: strings[k] for k in ("FileVersion", "ProductVersion", "ProductName", "OriginalFilename")} == {
        "FileVersion": VERSION, "ProductVersion": VERSION, "ProductName": "売上", "OriginalFilename": "uriage.exe"}
    assert strings["LegalCopyright"].startswith("制作・著作")
    manifest = resources[(24, 1)].decode("utf-8")
    for needed in ('level="asInvoker"', "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", ">PerMonitorV2<"):
        assert needed in manifest
    assert "activeCodePage" not in manifest


def test_toolkit_texts_in_japanese(wine):
    # The text tool beside a copy of the installed program finds its translations.
    copy = wine.drive_c / "texts-check"
    shutil.copytree(installed(wine), copy)
    shutil.copy(BUILD / "toolkit-texts.exe", copy)
    out = wine.run(copy / "toolkit-texts.exe", timeout=120)
    shutil.rmtree(copy)
    lines = out.stdout.decode("utf-8").replace("\r", "").splitlines()
    assert out.returncode == 0, lines
    assert lines[0].endswith("texts-check/translations/qtbase_ja.qm")
    texts = [line.split("(&")[0] for line in lines[1:]]
    assert {"元に戻す", "コピー", "貼り付け"} <= set(texts)


def test_installed_program_runs_and_refuses_changes(wine):
    program, menu = start_program(wine)
    try:
        check_running_program(wine, menu)
    finally:
        wine.kill()
        program.wait()


def check_running_program(wine, menu):
    assert (menu["class"], menu["title"]) == ("TForm1", "売上")
    started = time.monotonic()
    assert wine.run(installed(wine) / "uriage.exe", timeout=30).returncode == 0
    assert time.monotonic() - started < 5, "a second copy must end at once"

    # A filter draws the chart: the month chart window changes after フィルター.
    window = wait_until(lambda: wine.window_named("売上"), 20, "the main menu on screen")
    wine.xdotool("mousemove", "--sync", "--window", window, 220, 52, "click", 1)
    chart = wait_until(lambda: wine.window_named("月別売上（平面図）"), 20, "the month chart window")
    for x, text in ((64, "2005"), (220, "3")):
        wine.xdotool("mousemove", "--sync", "--window", chart, x, 18, "click", 1)
        wine.xdotool("key", "ctrl+a", "BackSpace", "type", "--delay", "30", text)
    before = wine.prefix / "before.png"
    subprocess.run(["import", "-window", chart, before], env=wine.env, check=True)
    wine.xdotool("mousemove", "--sync", "--window", chart, 373, 20, "click", 1)

    def changed():
        subprocess.run(["import", "-window", chart, wine.prefix / "after.png"], env=wine.env, check=True)
        out = subprocess.run(["compare", "-metric", "AE", before, wine.prefix / "after.png", "null:"],
                             stderr=subprocess.PIPE, text=True).stderr
        return int(float(out.split()[0])) > 2000
    wait_until(changed, 20, "the chart drawn after フィルター", interval=0.5)

    # While it runs, neither the setup nor the uninstaller changes anything.
    before = state(wine)
    assert wine.run(SETUP, "/S").returncode == 3
    assert wine.run(installed(wine) / "uninstall.exe", "/S", "_?=" + short_install_path(wine)).returncode == 3
    assert state(wine) == before


def test_downgrade_refused(wine, older_setup):
    before = state(wine)
    assert wine.run(older_setup, "/S").returncode == 4
    assert state(wine) == before


def test_silent_uninstall(wine):
    zelmora = tree_hashes(wine.drive_c / "Zelmora")
    assert wine.run(installed(wine) / "uninstall.exe", "/S").returncode == 0
    wine.wait_idle()
    assert not installed(wine).exists()
    assert not (wine.drive_c / SHORTCUT).exists()
    assert wine.reg_export(APPS_KEY) is None
    assert prefix_files(wine) == BEFORE_INSTALL
    assert tree_hashes(wine.drive_c / "Zelmora") == zelmora


@pytest.fixture(scope="module")
def older_setup(tmp_path_factory):
    """A setup of version 1.01 from the same script, with one file more."""
    folder = tmp_path_factory.mktemp("older") / "program"
    shutil.copytree(PROGRAM, folder)
    (folder / "extra-1.01.txt").write_text("only in 1.01\n")
    out = folder.parent / "uriage-1.01-setup.exe"
    subprocess.run([ROOT / "scripts/windows-installer", folder, out, "1.01"], check=True, stdout=subprocess.DEVNULL)
    return out


def test_upgrade_in_place(wine, older_setup):
    assert wine.run(older_setup, "/S").returncode == 0
    assert (installed(wine) / "extra-1.01.txt").exists()
    assert wine.run(SETUP, "/S").returncode == 0
    files = tree_hashes(installed(wine))
    assert files.pop("uninstall.exe") and files == tree_hashes(PROGRAM)
    entries = wine.run("reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall", "/reg:64")
    assert entries.stdout.decode(errors="replace").lower().count("\\uninstall\\uriage") == 1
    assert wine.reg_export(APPS_KEY)["DisplayVersion"] == VERSION
    assert wine.run(installed(wine) / "uninstall.exe", "/S").returncode == 0
    wine.wait_idle()
    assert not installed(wine).exists()
