"""The Windows setup under Wine, in the run's Wine prefix (conftest.py), test by
test in order."""
import hashlib, json, os, re, shutil, struct, subprocess, time  # noqa: E401
from pathlib import Path

import pytest

from conftest import BUILD, ROOT, output, wait_until

VERSION = subprocess.run([ROOT / "scripts/version"], stdout=subprocess.PIPE, text=True).stdout.strip()
SETUP = Path(os.environ.get("URIAGE_SETUP", ROOT / f"dist/uriage-{VERSION}-setup.exe"))
PROGRAM = BUILD / "package/program"
APPS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\uriage"
INSTALLED = r"C:\Program Files\uriage"
SHORTCUT = "ProgramData/Microsoft/Windows/Start Menu/Programs/売上.lnk"
BEFORE_INSTALL = set()

def tree_hashes(folder):
    return {str(p.relative_to(folder)): hashlib.sha256(p.read_bytes()).hexdigest()
            for p in sorted(Path(folder).rglob("*")) if p.is_file()}

def lnk_info(path):
    return dict(re.findall(r"^[ \t]*([^:\n]+?)[ \t]*:[ \t]*(.*)$", output("lnkinfo", path), re.M))

def exe_resources(path):
    """The version resource's strings and fixed file version, and the manifest."""
    data = Path(path).read_bytes()
    at = data.index("VS_VERSION_INFO".encode("utf-16-le")) - 6
    block = data[at:at + struct.unpack_from("<H", data, at)[0]]
    # Each string is: 3 header words, key, NUL, padding, value, NUL.
    parts = [p for p in block.decode("utf-16-le", "replace").split("\0") if p]
    strings = {key[3:]: value for key, value in zip(parts, parts[1:])}
    ms, ls = struct.unpack_from("<II", block, block.index(struct.pack("<I", 0xFEEF04BD)) + 8)
    strings["fixed"] = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    return strings, data[data.index(b"<assembly"):data.index(b"</assembly>")].decode("utf-8")

@pytest.fixture(scope="module", autouse=True)
def receipt_table(wine):
    """The receipt table, which no setup may touch; the module leaves no Wine program running."""
    assert wine.demo[0] == 0, wine.demo[1]
    yield
    wine.kill()

@pytest.fixture(scope="module")
def older_setup(tmp_path_factory):
    """Version 1.01 from the same script, with one file more."""
    folder = tmp_path_factory.mktemp("older") / "program"
    shutil.copytree(PROGRAM, folder)
    (folder / "extra-1.01.txt").write_text("only in 1.01\n")
    subprocess.run([ROOT / "scripts/windows-installer", folder, folder.parent / "setup.exe", "1.01"], check=True)
    return folder.parent / "setup.exe"

def installed(wine):
    return wine.drive_c / "Program Files/uriage"

def prefix_files(wine):
    return {p for p in tree_hashes(wine.drive_c) if not p.startswith("windows/") and "/Temp/" not in p}

def state(wine):
    return tree_hashes(installed(wine)), wine.reg_export(APPS_KEY)

def installed_as_staged(wine):
    files = tree_hashes(installed(wine))
    return files.pop("uninstall.exe", None) is not None and files == tree_hashes(PROGRAM)

def test_wizard_first_page_is_japanese(wine):
    setup = wine.start(SETUP)
    window = wait_until(lambda: wine.window_named("売上 セットアップ"), 60, "the wizard's first page")
    wine.settled(window, colours=10).save(ROOT / "docs/screenshots/setup-welcome.png")
    wine.kill()
    setup.wait()
    assert state(wine) == ({}, None)

def test_silent_install(wine):
    BEFORE_INSTALL.update(prefix_files(wine))
    assert wine.run(SETUP, "/S").returncode == 0
    assert installed_as_staged(wine)
    link = lnk_info(wine.drive_c / SHORTCUT)
    assert (link["Local path"], link["Working directory"], link["Icon location"]) == (
        INSTALLED + r"\uriage.exe", INSTALLED, INSTALLED + r"\uriage.exe")
    entry = wine.reg_export(APPS_KEY)
    assert sum(p.stat().st_size for p in PROGRAM.rglob("*")) // 1024 <= entry.pop("EstimatedSize") < 200 * 1024
    assert entry == {"DisplayName": "売上", "DisplayVersion": VERSION, "Publisher": "Zelmora",
                     "DisplayIcon": INSTALLED + r"\uriage.exe,0", "InstallLocation": INSTALLED,
                     "UninstallString": f'"{INSTALLED}\\uninstall.exe"',
                     "QuietUninstallString": f'"{INSTALLED}\\uninstall.exe" /S',
                     "NoModify": 1, "NoRepair": 1, "CreatedFolder": 1}

def test_version_resource_and_manifest(wine):
    strings, manifest = exe_resources(installed(wine) / "uriage.exe")
    assert strings["fixed"] == ".".join(str(int(n)) for n in VERSION.split(".")) + ".0.0"
    assert {k: strings[k] for k in ("FileVersion", "ProductVersion", "ProductName", "OriginalFilename")} == {
        "FileVersion": VERSION, "ProductVersion": VERSION, "ProductName": "売上", "OriginalFilename": "uriage.exe"}
    assert strings["LegalCopyright"].startswith("制作・著作")
    assert all(needed in manifest for needed in ('level="asInvoker"', "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                                                 ">PerMonitorV2<")) and "activeCodePage" not in manifest

def test_toolkit_texts_in_japanese(wine):
    # The text tool beside a copy of the installed program finds its translations.
    copy = wine.drive_c / "texts-check"
    shutil.copytree(installed(wine), copy)
    shutil.copy(BUILD / "toolkit-texts.exe", copy)
    out = wine.run(copy / "toolkit-texts.exe", timeout=120)
    shutil.rmtree(copy)
    lines = out.stdout.decode().replace("\r", "").splitlines()
    assert out.returncode == 0 and lines[0].endswith("texts-check/translations/qtbase_ja.qm"), lines
    assert {"元に戻す", "コピー", "貼り付け"} <= {line.split("(&")[0] for line in lines[1:]}

def main_menu(wine):
    window = json.loads(wine.run(BUILD / "window-check.exe", "TForm1").stdout or "{}").get("window") or {}
    return window.get("visible") and window

def test_installed_program_runs_and_refuses_changes(wine, screen):
    wine.start(installed(wine) / "uriage.exe")
    try:
        menu = wait_until(lambda: main_menu(wine), 60, "the installed program's main menu")
        assert (menu["class"], menu["title"]) == ("TForm1", "売上")
        started = time.monotonic()
        assert wine.run(installed(wine) / "uriage.exe", timeout=30).returncode == 0
        assert time.monotonic() - started < 5, "a second copy must end at once"
        draw_month_chart(screen)
        # While it runs neither the setup nor the uninstaller changes anything.
        # "_?=" (run in place, to see its exit code) takes the rest of the
        # command line unquoted: the folder's short name has no space.
        listing = wine.run("cmd", "/c", "dir", "/x", "C:\\").stdout.decode().splitlines()
        short = next(line.split()[3] for line in listing if line.rstrip().endswith(" Program Files"))
        before = state(wine)
        assert wine.run(SETUP, "/S").returncode == 3
        assert wine.run(installed(wine) / "uninstall.exe", "/S", rf"_?=C:\{short}\uriage").returncode == 3
        assert state(wine) == before
    finally:
        wine.kill()

def draw_month_chart(screen):
    """2005/3 and フィルター in 月別売上（平面図） change the chart's pixels."""
    screen.window("TForm1")
    screen.click("TForm1", text="月別売上（平面図）保険料金")
    screen.window("TForm2")
    screen.filter_month_chart("2005", "3")

def test_downgrade_refused(wine, older_setup):
    before = state(wine)
    assert wine.run(older_setup, "/S").returncode == 4
    assert state(wine) == before

def test_silent_uninstall(wine):
    zelmora = tree_hashes(wine.drive_c / "Zelmora")
    assert wine.run(installed(wine) / "uninstall.exe", "/S").returncode == 0
    wine.wait_idle()
    assert not installed(wine).exists() and wine.reg_export(APPS_KEY) is None
    assert prefix_files(wine) == BEFORE_INSTALL  # the shortcut gone too
    assert tree_hashes(wine.drive_c / "Zelmora") == zelmora

def test_upgrade_in_place(wine, older_setup):
    assert wine.run(older_setup, "/S").returncode == 0
    assert (installed(wine) / "extra-1.01.txt").exists()
    assert wine.run(SETUP, "/S").returncode == 0
    assert installed_as_staged(wine)
    keys = wine.run("reg", "query", APPS_KEY.rsplit("\\", 1)[0], "/reg:64").stdout.decode().lower()
    assert keys.count("\\uninstall\\uriage") == 1 and wine.reg_export(APPS_KEY)["DisplayVersion"] == VERSION
    assert wine.run(installed(wine) / "uninstall.exe", "/S").returncode == 0
    wine.wait_idle()
    assert not installed(wine).exists()
