"""What the checks under Wine share: one fresh 64-bit Wine prefix per run of
pytest, on its own virtual X display with a window manager, with the Japanese
fonts and regional settings and the demo receipt table in C:\\Zelmora, and
waiting for a condition with a time limit.

URIAGE_WINDOWS_BUILD names the Windows build (default build-windows, with the
staged program folders in package/), URIAGE_LINUX_BUILD the Linux build
(default build) and URIAGE_SETUP the setup (default dist/uriage-VERSION-setup.exe).
"""
import json, os, re, shutil, subprocess, tempfile, time  # noqa: E401
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("URIAGE_WINDOWS_BUILD", ROOT / "build-windows")).resolve()
LINUX_BUILD = Path(os.environ.get("URIAGE_LINUX_BUILD", ROOT / "build")).resolve()
# The program folder with the tools (the zip's).
FOLDER = BUILD / "package/uriage"


def wait_until(condition, timeout, what, interval=0.2):
    """condition()'s first true value; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        assert time.monotonic() < deadline, f"{what}: not within {timeout} s"
        time.sleep(interval)
    return value


def output(*args, env=None):
    return subprocess.run(list(map(str, args)), env=env, stdout=subprocess.PIPE, text=True).stdout


def win_path(path):
    """A host path as Wine's drive Z: names it."""
    return "Z:" + str(path).replace("/", "\\")


def utf16_reg(*files):
    """The .reg files as one UTF-16 file, as regedit reads it."""
    parts = [Path(f).read_text(encoding="utf-8") for f in files]
    text = parts[0] + "".join("\n" + p.split("\n", 1)[1] for p in parts[1:])  # one header line
    return b"\xff\xfe" + text.encode("utf-16-le")


class Capture:
    """A window's pixels (ImageMagick's import, as PPM: no time stamps in it)."""
    def __init__(self, data):
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        assert header, "import gave no PPM image"
        self.size = (int(header[1]), int(header[2]))
        self.pixels = data[header.end():]
        self.data = data

    def colours(self):
        return len({self.pixels[i:i + 3] for i in range(0, len(self.pixels), 3)})

    def changed(self, other):
        """How many pixels differ from other's (all of them when the sizes differ)."""
        if self.size != other.size:
            return self.size[0] * self.size[1]
        a, b = self.pixels, other.pixels
        if a == b:
            return 0
        return sum(a[i:i + 3] != b[i:i + 3] for i in range(0, len(a), 3))

    def save(self, path):
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["convert", "ppm:-", str(path)], input=self.data, check=True)


class Wine:
    """A fresh 64-bit prefix under /tmp on its own Xvfb display."""
    def __init__(self):
        self.prefix = Path(tempfile.mkdtemp(prefix="uriage-wine-"))
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
        # Wine names files in the host's character set: UTF-8, whatever locales the host
        # has; the Japanese regional settings come from the registry. The Windows programs
        # use Qt's Windows platform, the only one packed.
        self.env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "QT_QPA_PLATFORM")}
        self.env.update(DISPLAY=f":{n}", LANG="C.UTF-8", WINEPREFIX=str(self.prefix), WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
        self.helpers.append(subprocess.Popen(["openbox"], env=self.env, stderr=subprocess.DEVNULL))
        started = time.monotonic()
        self.run("wineboot", "-i")
        # The program's fonts stand for the IPA fonts, as on Linux; Japanese regional settings.
        reg = self.prefix / "settings.reg"
        reg.write_bytes(utf16_reg(ROOT / "tests/wine/font-substitutes.reg",
                                  ROOT / "tests/wine/japanese-regional-settings.reg"))
        self.run("regedit", "/S", win_path(reg))
        self.wait_idle()
        print(f"fresh Wine prefix in {(time.monotonic() - started) * 1000:.0f} ms")

    def run(self, *args, timeout=300, env=None):
        return subprocess.run([self.wine, *map(str, args)], env={**self.env, **(env or {})}, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def text(self, *args, **kwargs):
        """A Windows program's exit code and standard output (UTF-8, without CRs)."""
        result = self.run(*args, **kwargs)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "")

    def launch(self, *args, timeout=60):
        """Runs a program that starts another and returns: the other one must not keep
        a pipe of ours open. Its exit code."""
        return subprocess.run([self.wine, *map(str, args)], env=self.env, timeout=timeout,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def start(self, *args):
        self.helpers.append(subprocess.Popen([self.wine, *map(str, args)], env=self.env,
                                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        return self.helpers[-1]

    def wait_idle(self):  # until every Wine program has ended (an uninstaller returns at once)
        subprocess.run([self.wineserver, "-w"], env=self.env, timeout=300)

    def kill(self):
        subprocess.run([self.wineserver, "-k"], env=self.env)

    def reg_export(self, key):
        """A 64-bit key's values, or None (`reg query` prints Japanese as "??"; the export is UTF-16)."""
        out = self.prefix / "export.reg"
        out.unlink(missing_ok=True)
        self.run("reg", "export", key, win_path(out), "/reg:64", "/y")
        text = out.read_bytes().decode("utf-16").replace("\r", "") if out.exists() else None
        return text and {name: int(value[6:], 16) if value.startswith("dword:") else re.sub(r"\\(.)", r"\1", value[1:-1])
                         for name, value in re.findall(r'^"([^"]+)"=(.*)$', text, re.M)}

    def xdotool(self, *args):
        return output("xdotool", *args, env=self.env)

    def windows_named(self, title):
        """The X windows on screen with this title and a size (the owner window 売上 has none)."""
        found = []
        for window in self.xdotool("search", "--onlyvisible", "--name", ".").split():
            if self.xdotool("getwindowname", window).rstrip("\n") == title and self.window_size(window)[0] > 8:
                found.append(window)
        return found

    def window_named(self, title):
        return next(iter(self.windows_named(title)), None)

    def window_size(self, window):
        shell = dict(re.findall(r"^(\w+)=(\d+)$", self.xdotool("getwindowgeometry", "--shell", window), re.M))
        return int(shell.get("WIDTH", 0)), int(shell.get("HEIGHT", 0))

    def capture(self, window):
        return Capture(subprocess.run(["import", "-window", str(window), "ppm:-"], env=self.env,
                                      stdout=subprocess.PIPE, check=True).stdout)

    def settled(self, window, timeout=10, colours=2):
        """The window's pixels once two captures 0.3 s apart are equal and show more than
        `colours` colours (drawn, not only filled). Each try takes both captures afresh:
        a blinking caret must not stay in step with the time a try takes."""
        def same():
            first = self.capture(window)
            time.sleep(0.3)
            now = self.capture(window)
            return now.changed(first) == 0 and now.colours() > colours and now
        return wait_until(same, timeout, f"the window {window} drawn and still", interval=0)

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


def json_or_empty(text):
    try:
        return json.loads(text)
    except ValueError:
        return {}


@pytest.fixture(scope="session")
def wine():
    wine = Wine()
    # The demo receipt table: the program's checks read it, no setup may touch it.
    wine.demo = wine.text(FOLDER / "receipts.exe", "demo", "--dir", r"C:\Zelmora")
    yield wine
    wine.close()


@pytest.fixture(scope="session")
def layout(wine):
    """Where the main menu's and the month chart's controls are: the Windows probe lays
    the windows out as the program does."""
    status, out = wine.text(FOLDER / "uriage-probe.exe", "layout", "--form", "TForm1", "--form", "TForm2")
    assert status == 0, out
    return json.loads(out)


class Screen:
    """The program's windows on the X display, clicked and typed into where the probe
    says their controls are."""
    def __init__(self, wine, layout):
        self.wine, self.layout = wine, layout
        self.ids = {}

    def window(self, form):
        """The X window of the form (by its title), waiting up to 10 s; its size must be the
        client size the probe laid out, since the points clicked are in client pixels."""
        title, client = self.layout[form]["title"], self.layout[form]["client"]
        self.ids[form] = wait_until(lambda: self.wine.window_named(title), 10, f"the window {title} on screen")
        wait_until(lambda: self.wine.window_size(self.ids[form]) == tuple(client), 5,
                   f"{title} at the client size {client} the probe laid out")
        return self.ids[form]

    def point(self, form, name=None, text=None):
        """The middle of the control with that object name or caption."""
        control = next(c for c in self.layout[form]["controls"]
                       if (name is None or c["name"] == name) and (text is None or c["text"] == text))
        x, y, w, h = control["rect"]
        return x + w // 2, y + h // 2

    def click(self, form, **control):
        x, y = self.point(form, **control)
        self.wine.xdotool("mousemove", "--sync", "--window", self.ids[form], x, y, "click", 1)

    def type_into(self, form, name, text):
        """ASCII only: xdotool's other characters are unreliable under Wine."""
        self.click(form, name=name)
        self.wine.xdotool("key", "ctrl+a", "BackSpace", "type", "--delay", "30", text)

    def filter_month_chart(self, year, month):
        """Types the year and month into 月別売上（平面図）, presses フィルター and returns the
        window's pixels before and once they have changed (the chart drawn)."""
        chart = self.ids["TForm2"]
        self.type_into("TForm2", "Edit1", year)
        self.type_into("TForm2", "Edit2", month)
        before = self.wine.settled(chart)
        self.click("TForm2", text="フィルター")
        wait_until(lambda: self.wine.capture(chart).changed(before) > 2000, 20, "the chart drawn after フィルター",
                   interval=0.3)
        return before, self.wine.settled(chart)


@pytest.fixture(scope="session")
def screen(wine, layout):
    return Screen(wine, layout)
