"""A fresh Wine prefix on a virtual display, and the readers the setup's
checks need: file trees by hash, registry keys, shortcuts, PE resources."""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
from pathlib import Path


def wait_until(condition, timeout, what, interval=0.2):
    """Returns condition()'s first true value; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"{what}: not within {timeout} s")
        time.sleep(interval)


def tree_hashes(folder):
    """Relative path -> SHA-256 of every file under folder."""
    folder = Path(folder)
    return {str(p.relative_to(folder)): hashlib.sha256(p.read_bytes()).hexdigest()
            for p in sorted(folder.rglob("*")) if p.is_file()}


class Wine:
    """Wine in a fresh 64-bit prefix under /tmp, on its own Xvfb display."""

    def __init__(self, root, displays=range(110, 120)):
        self.root = Path(root)
        self.prefix = Path(tempfile.mkdtemp(prefix="uriage-setup-"))
        self.wine = shutil.which("wine64") or "/usr/lib/wine/wine64"
        self.wineserver = str(Path(os.path.realpath(self.wine)).parent / "wineserver")
        number = next(n for n in displays if not Path(f"/tmp/.X11-unix/X{n}").exists()
                      and not Path(f"/tmp/.X{n}-lock").exists())
        self.env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "QT_QPA_PLATFORM")}
        self.env.update(DISPLAY=f":{number}", LANG="C.UTF-8", WINEPREFIX=str(self.prefix), WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
        self.helpers = [subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
        wait_until(lambda: Path(f"/tmp/.X11-unix/X{number}").exists(), 10, "Xvfb")
        self.helpers.append(subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))
        self.run("wineboot", "-i", timeout=120)
        # Japanese fonts for the dialog fonts; regedit reads UTF-16 files.
        reg = self.prefix / "fonts.reg"
        text = (self.root / "tests/wine/font-substitutes.reg").read_text(encoding="utf-8")
        reg.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
        self.run("regedit", "/S", self.windows_path(reg))
        self.wait_idle()

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def windows_path(self, path):
        path = Path(path)
        if path.is_relative_to(self.drive_c):
            return "C:\\" + str(path.relative_to(self.drive_c)).replace("/", "\\")
        return "Z:" + str(path).replace("/", "\\")

    def run(self, *args, timeout=300):
        return subprocess.run([self.wine, *map(str, args)], env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def start(self, *args):
        process = subprocess.Popen([self.wine, *map(str, args)], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.helpers.append(process)
        return process

    def wait_idle(self, timeout=300):
        """Waits for every Wine program of the prefix to end (uninstallers
        copy themselves and return at once)."""
        subprocess.run([self.wineserver, "-w"], env=self.env, timeout=timeout)

    def kill(self):
        subprocess.run([self.wineserver, "-k"], env=self.env)

    def reg_export(self, key):
        """The values of a 64-bit registry key, or None when it is absent.
        `reg query` prints Japanese as "??" into a pipe: export, decode UTF-16."""
        out = self.prefix / "export.reg"
        out.unlink(missing_ok=True)
        self.run("reg", "export", key, self.windows_path(out), "/reg:64", "/y")
        if not out.exists():
            return None
        values = {}
        for name, value in re.findall(r'^"([^"]+)"=(.*)$', out.read_bytes().decode("utf-16").replace("\r", ""), re.M):
            if value.startswith("dword:"):
                values[name] = int(value[6:], 16)
            else:  # "..." with \\ and \" escaped
                values[name] = re.sub(r'\\(.)', r'\1', value[1:-1])
        return values

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, stdout=subprocess.PIPE,
                              text=True).stdout.split()

    def window_named(self, title):
        """The X window on screen titled exactly so (windows without size,
        like the program's owner window, left out), or None."""
        for window in self.xdotool("search", "--onlyvisible", "--name", "."):
            name = subprocess.run(["xdotool", "getwindowname", window], env=self.env, stdout=subprocess.PIPE,
                                  text=True).stdout.strip()
            size = re.search(r"Geometry: (\d+)x", " ".join(self.xdotool("getwindowgeometry", window)))
            if name == title and size and int(size.group(1)) > 8:
                return window
        return None

    def close(self):
        self.kill()
        for process in reversed(self.helpers):
            process.kill()
            process.wait()
        shutil.rmtree(self.prefix, ignore_errors=True)


def lnk_info(path):
    """The fields lnkinfo prints ("Local path", "Working directory", ...)."""
    text = subprocess.run(["lnkinfo", str(path)], stdout=subprocess.PIPE, text=True, check=True).stdout
    return {k.strip(): v.strip() for k, v in re.findall(r"^[ \t]*([^:\n]+?)[ \t]*:[ \t]*(.*)$", text, re.M)}


def pe_resources(path):
    """{(type id, name id): data} of a PE file's resources (first language)."""
    data = Path(path).read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    rva = struct.unpack_from("<I", data, optional + 112 + 2 * 8)[0]  # PE32+: data directory 2
    table = optional + optional_size
    for i in range(sections):
        vsize, vaddr, _, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        if vaddr <= rva < vaddr + vsize:
            base = raw + rva - vaddr
            offset = lambda r, raw=raw, vaddr=vaddr: raw + r - vaddr  # noqa: E731
            break
    found = {}

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, base + at + 12)
        for n in range(named + ids):
            yield struct.unpack_from("<II", data, base + at + 16 + 8 * n)
    for rtype, sub in entries(0):
        for name, leaf in entries(sub & 0x7FFFFFFF):
            _, first = next(entries(leaf & 0x7FFFFFFF))
            data_rva, size = struct.unpack_from("<II", data, base + first)
            found[(rtype, name)] = data[offset(data_rva):offset(data_rva) + size]
    return found


def version_strings(block):
    """The StringFileInfo values and the fixed file version of a version resource."""
    strings = {}

    def walk(at, end, depth):
        while at < end:
            length, value_length, kind = struct.unpack_from("<HHH", block, at)
            if length == 0:
                return
            key_end = block.index(b"\0\0", at + 6)
            key_end += (key_end - at) % 2  # UTF-16 characters start at even offsets
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if depth == 0:
                ms, ls = struct.unpack_from("<II", block, value_at + 8)
                strings["fixed"] = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
                walk((value_at + value_length + 3) & ~3, at + length, 1)
            elif depth == 3:
                strings[key] = block[value_at:value_at + 2 * value_length].decode("utf-16-le").rstrip("\0")
            elif key in ("StringFileInfo",) or depth == 2:
                walk(value_at, at + length, depth + 1)
            at = (at + length + 3) & ~3
    walk(0, len(block), 0)
    return strings
