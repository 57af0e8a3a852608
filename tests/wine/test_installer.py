"""The Windows setup under Wine, in one fresh prefix, test by test in order.
Run by scripts/windows --test (URIAGE_WINDOWS_BUILD, URIAGE_SETUP)."""
import hashlib, json, os, re, shutil, struct, subprocess, tempfile, time  # noqa: E401
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("URIAGE_WINDOWS_BUILD", ROOT / "build-windows"))
VERSION = subprocess.run([ROOT / "scripts/version"], stdout=subprocess.PIPE, text=True).stdout.strip()
SETUP = Path(os.environ.get("URIAGE_SETUP", ROOT / f"dist/uriage-{VERSION}-setup.exe"))
PROGRAM = BUILD / "package/program"
APPS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\uriage"
INSTALLED = r"C:\Program Files\uriage"
SHORTCUT = "ProgramData/Microsoft/Windows/Start Menu/Programs/売上.lnk"
BEFORE_INSTALL = set()

def wait_until(condition, timeout, what, interval=0.2):
    """condition()'s first true value; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        assert time.monotonic() < deadline, f"{what}: not within {timeout} s"
        time.sleep(interval)
    return value

def tree_hashes(folder):
    return {str(p.relative_to(folder)): hashlib.sha256(p.read_bytes()).hexdigest()
            for p in sorted(Path(folder).rglob("*")) if p.is_file()}

def output(*args, env=None):
    return subprocess.run(list(map(str, args)), env=env, stdout=subprocess.PIPE, text=True).stdout

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

class Wine:
    """A fresh 64-bit prefix under /tmp on its own Xvfb display."""
    def __init__(self):
        self.prefix = Path(tempfile.mkdtemp(prefix="uriage-setup-"))
        self.drive_c = self.prefix / "drive_c"
        self.wine = shutil.which("wine64") or "/usr/lib/wine/wine64"
        self.wineserver = str(Path(os.path.realpath(self.wine)).parent / "wineserver")
        # Xvfb picks a free display itself and writes its number to the pipe: a fixed range
        # of numbers can be taken on a shared machine.
        read_end, write_end = os.pipe()
        self.helpers = [subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                          "-nolisten", "tcp"], pass_fds=(write_end,))]
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            n = pipe.readline().strip()
        assert n.isdigit(), "Xvfb did not start"
        self.env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "QT_QPA_PLATFORM")}
        self.env.update(DISPLAY=f":{n}", LANG="C.UTF-8", WINEPREFIX=str(self.prefix), WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
        self.helpers.append(subprocess.Popen(["openbox"], env=self.env, stderr=subprocess.DEVNULL))
        self.run("wineboot", "-i")
        reg = self.prefix / "fonts.reg"  # Japanese dialog fonts; regedit reads UTF-16
        reg.write_bytes(b"\xff\xfe" + (ROOT / "tests/wine/font-substitutes.reg").read_text().encode("utf-16-le"))
        self.run("regedit", "/S", "Z:" + str(reg).replace("/", "\\"))
        self.wait_idle()

    def run(self, *args, timeout=300):
        return subprocess.run([self.wine, *map(str, args)], env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def start(self, *args):
        self.helpers.append(subprocess.Popen([self.wine, *map(str, args)], env=self.env, stderr=subprocess.DEVNULL))
        return self.helpers[-1]

    def wait_idle(self):  # until every Wine program has ended (an uninstaller returns at once)
        subprocess.run([self.wineserver, "-w"], env=self.env, timeout=300)

    def kill(self):
        subprocess.run([self.wineserver, "-k"], env=self.env)

    def reg_export(self, key):
        """A 64-bit key's values, or None (`reg query` prints Japanese as "??"; the export is UTF-16)."""
        out = self.prefix / "export.reg"
        out.unlink(missing_ok=True)
        self.run("reg", "export", key, "Z:" + str(out).replace("/", "\\"), "/reg:64", "/y")
        text = out.read_bytes().decode("utf-16").replace("\r", "") if out.exists() else None
        return text and {name: int(value[6:], 16) if value.startswith("dword:") else re.sub(r"\\(.)", r"\1", value[1:-1])
                         for name, value in re.findall(r'^"([^"]+)"=(.*)$', text, re.M)}

    def window_named(self, title):
        """The X window on screen with this title and a width (the owner window has none)."""
        for window in output("xdotool", "search", "--onlyvisible", "--name", ".", env=self.env).split():
            width = re.search(r"Geometry: (\d+)x", output("xdotool", "getwindowgeometry", window, env=self.env))
            if output("xdotool", "getwindowname", window, env=self.env).strip() == title and width and int(width[1]) > 8:
                return window

    def close(self):
        self.kill()
        for process in reversed(self.helpers):
            process.terminate()  # not kill: Xvfb removes its socket and lock file only on a signal it can catch
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(self.prefix, ignore_errors=True)

@pytest.fixture(scope="module")
def wine():
    wine = Wine()
    # The receipt table, which no setup may touch.
    assert wine.run(BUILD / "package/uriage/receipts.exe", "demo", "--dir", r"C:\Zelmora").returncode == 0
    yield wine
    wine.close()

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
    time.sleep(1)  # let it paint
    subprocess.run(["import", "-window", window, ROOT / "docs/screenshots/setup-welcome.png"], env=wine.env, check=True)
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

def test_installed_program_runs_and_refuses_changes(wine):
    wine.start(installed(wine) / "uriage.exe")
    try:
        menu = wait_until(lambda: main_menu(wine), 60, "the installed program's main menu")
        assert (menu["class"], menu["title"]) == ("TForm1", "売上")
        started = time.monotonic()
        assert wine.run(installed(wine) / "uriage.exe", timeout=30).returncode == 0
        assert time.monotonic() - started < 5, "a second copy must end at once"
        draw_month_chart(wine)
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

def draw_month_chart(wine):
    """2005/3 and フィルター in 月別売上（平面図） change the chart's pixels."""
    menu = wait_until(lambda: wine.window_named("売上"), 20, "the main menu on screen")
    xdotool = lambda *args: output("xdotool", *args, env=wine.env)  # noqa: E731
    xdotool("mousemove", "--sync", "--window", menu, 220, 52, "click", 1)
    chart = wait_until(lambda: wine.window_named("月別売上（平面図）"), 20, "the month chart window")
    for x, text in ((64, "2005"), (220, "3")):
        xdotool("mousemove", "--sync", "--window", chart, x, 18, "click", 1, "key", "ctrl+a", "BackSpace",
                "type", "--delay", "30", text)
    shots = [wine.prefix / "before.png", wine.prefix / "after.png"]
    subprocess.run(["import", "-window", chart, shots[0]], env=wine.env, check=True)
    xdotool("mousemove", "--sync", "--window", chart, 373, 20, "click", 1)

    def changed_pixels():
        subprocess.run(["import", "-window", chart, shots[1]], env=wine.env, check=True)
        compare = subprocess.run(["compare", "-metric", "AE", *shots, "null:"], stderr=subprocess.PIPE, text=True)
        return float(compare.stderr.split()[0]) > 2000
    wait_until(changed_pixels, 20, "the chart drawn after フィルター", interval=0.5)

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
