"""The Windows program under Wine, test by test in order, in the run's Wine
prefix (conftest.py): the demo table written to C:\\Zelmora; the probe's query
rows and chart JSON equal to those of the Linux build (the chart's geometry
equal when both builds lay it out with the same text measures); the filter and
data test binaries built for Windows; then one running uriage.exe: the main
menu mapped, a second copy ending at once and bringing the first forward, a
chart drawn after typing a year and month, the error box for a wrong year,
minimising to the task-bar entry and restoring, 終了; and a start minimised.
The points clicked come from the Windows probe's layout of the windows.
Screenshots go to URIAGE_WINDOWS_BUILD/screenshots."""
import json, os, re, subprocess, sys, time  # noqa: E401

import pytest

from conftest import BUILD, FOLDER, LINUX_BUILD, ROOT, json_or_empty, wait_until, win_path

SHOTS = BUILD / "screenshots"
WORK = BUILD / "checks"
TABLE = r"C:\Zelmora"
MONTH_CHART = "月別売上（平面図）"
SECOND_COPY_MS = int(os.environ.get("URIAGE_SECOND_COPY_MS", 1000))


def field(state, path):
    """A field of window-check's JSON by its dotted path, None when absent."""
    for key in path.split("."):
        state = state.get(key) if isinstance(state, dict) else None
    return state


def window_check(wine, *action):
    """What Windows tells another process about the main menu TForm1, its owner and the
    foreground window (after sending the minimise or restore command, if given)."""
    return json_or_empty(wine.text(BUILD / "window-check.exe", "TForm1", *action)[1])


def linux_probe(*args, **env):
    """The Linux build's probe, with the Japanese regional settings of Qt's own data."""
    environment = {k: v for k, v in os.environ.items() if k != "LC_ALL"}
    environment.update(LANG="ja_JP.UTF-8", QT_QPA_PLATFORM="offscreen", **env)
    return subprocess.run([str(LINUX_BUILD / "uriage-probe"), *map(str, args)], env=environment,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def compare_json(first, second, *options):
    """compare_json.py's verdict and report."""
    result = subprocess.run([sys.executable, ROOT / "tests/wine/compare_json.py", *options, first, second],
                            stdout=subprocess.PIPE, text=True)
    return result.returncode, result.stdout.strip()


@pytest.fixture(scope="module", autouse=True)
def needed(wine):
    for path in (FOLDER / "uriage.exe", BUILD / "window-check.exe", BUILD / "start-minimised.exe",
                 LINUX_BUILD / "uriage-probe", BUILD / "filter_tests.exe", BUILD / "data_tests.exe"):
        assert path.exists(), f"{path} is missing"
    SHOTS.mkdir(parents=True, exist_ok=True)
    WORK.mkdir(parents=True, exist_ok=True)
    yield
    wine.kill()


@pytest.fixture(scope="module")
def table_copy(wine):
    """The demo table, for the Linux build."""
    folder = WORK / "linux-data"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "領収証記録.db").write_bytes((wine.drive_c / "Zelmora/領収証記録.db").read_bytes())
    return folder


@pytest.fixture(scope="module")
def last_month(table_copy):
    """The month shown: the last one of the table, as text (year, month)."""
    rows = json.loads(linux_probe("query", "--data-dir", table_copy, "--kind", "monthly").stdout)["rows"]
    return str(rows[-1][0]), str(rows[-1][1])


def test_demo_table_written(wine):
    status, log = wine.demo
    table = wine.drive_c / "Zelmora/領収証記録.db"
    assert status == 0 and table.exists() and table.stat().st_size > 0, log
    print(f"receipts.exe demo wrote C:\\Zelmora\\領収証記録.db ({table.stat().st_size // 1024} KiB)")


@pytest.mark.parametrize("kind", ["monthly", "daily"])
def test_query_rows_as_on_linux(wine, table_copy, kind):
    linux, windows = WORK / f"query-{kind}.linux.json", WORK / f"query-{kind}.windows.json"
    linux.write_text(linux_probe("query", "--data-dir", table_copy, "--kind", kind).stdout)
    windows.write_text(wine.text(FOLDER / "uriage-probe.exe", "query", "--data-dir", TABLE, "--kind", kind)[1])
    status, report = compare_json(linux, windows)
    assert status == 0, report
    print(f"query-{kind}: the Windows build against the Linux build: {report}, no other difference")


@pytest.mark.parametrize("form", ["TForm2", "TForm3"])
def test_chart_as_on_linux(wine, table_copy, last_month, form):
    year, month = last_month
    args = ["window", "--form", form, "--year", year, "--press", "1"] + (["--month", month] if form == "TForm2" else [])
    linux_json, linux_metrics = WORK / f"window-{form}.linux.json", WORK / f"metrics-{form}.linux.json"
    windows_json, windows_metrics = WORK / f"window-{form}.windows.json", WORK / f"metrics-{form}.windows.json"
    replayed = WORK / f"window-{form}.replayed.json"
    for stale in (linux_metrics, windows_metrics):
        stale.unlink(missing_ok=True)
    # Both record every text measure their chart took (recording leaves the JSON as it is).
    linux_json.write_text(linux_probe(*args, "--data-dir", table_copy, "--png", SHOTS / f"{form}-probe-linux.png",
                                      "--text-metrics-out", linux_metrics).stdout)
    windows_json.write_text(wine.text(FOLDER / "uriage-probe.exe", *args, "--data-dir", TABLE,
                                      "--png", win_path(SHOTS / f"{form}-probe-wine.png"),
                                      "--text-metrics-out", win_path(windows_metrics))[1])
    # Texts, data points and label values must be equal; the geometry is compared and its
    # differences told (fonts measured under Wine: GDI's synthetic bold and hinting move
    # text by a few pixels).
    status, report = compare_json(linux_json, windows_json, "--geometry-apart")
    assert status == 0, f"Windows output differs from Linux:\n{report}"
    print(f"window-{form}: the Windows build against the Linux build: {report}, no other difference")
    # The Linux build measuring its texts as Windows measured them must lay the chart out
    # exactly as the Windows build did: every field equal.
    assert windows_metrics.exists() and windows_metrics.stat().st_size > 0, "uriage-probe.exe wrote no text measures"
    replay = linux_probe(*args, "--data-dir", table_copy, "--text-metrics-in", windows_metrics)
    assert replay.returncode == 0, f"the Linux probe could not measure with the Windows text measures: {replay.stderr}"
    replayed.write_text(replay.stdout)
    status, report = compare_json(windows_json, replayed)
    assert status == 0, f"with the same text measures the Linux JSON differs from the Windows JSON:\n{report}"
    print(f"window-{form}: the Linux build with the Windows build's text measures: {report}, all equal")
    measures = subprocess.run([sys.executable, ROOT / "tests/wine/compare_text_metrics.py", linux_metrics,
                               windows_metrics], stdout=subprocess.PIPE, text=True).stdout.strip()
    print(f"window-{form} text measures, Linux (first) against Windows (second): {measures}")


def test_wrong_year_error_text(wine, last_month):
    _, out = wine.text(FOLDER / "uriage-probe.exe", "window", "--form", "TForm2", "--data-dir", TABLE,
                       "--year", "abc", "--month", last_month[1], "--press", "1")
    assert json_or_empty(out).get("error") == "Query1: 項目 'abc' が見つかりません."


@pytest.mark.parametrize("binary", ["filter_tests.exe", "data_tests.exe"])
def test_engine_tests_pass_under_wine(wine, binary):
    """The filter's and the engine's GoogleTest binaries, with the program folder's libraries,
    in the Japanese regional settings of the prefix; Tokyo time as on Linux."""
    status, log = wine.text(BUILD / binary, "--gtest_brief=1", env={"WINEPATH": win_path(FOLDER), "TZ": "Asia/Tokyo"})
    (WORK / binary.replace(".exe", ".log")).write_text(log)
    failed = sorted(set(re.findall(r"^\[  FAILED  \] ([^ ,]+)", log, re.M)) - {n for n in re.findall(
        r"^\[  FAILED  \] (\d+)", log, re.M)})
    passed = re.search(r"^\[  PASSED  \] (\d+) tests?\.$", log, re.M)
    skipped = re.search(r"^\[  SKIPPED \] (\d+) tests?, listed below:$", log, re.M)
    assert not failed, f"failed under Wine: {' '.join(failed)}"
    assert status == 0 and passed, f"ended with status {status} and no summary:\n{log[-2000:]}"
    print(f"{binary}: {passed[1]} tests passed under Wine" + (f" ({skipped[1]} skipped)" if skipped else ""))


# ------------------------------------------------------------------ the running program

@pytest.fixture(scope="module")
def program(wine, screen):
    """One uriage.exe for the tests below, in order."""
    started = time.monotonic()
    process = wine.start(FOLDER / "uriage.exe")
    process.started = started
    yield process
    wine.kill()


def test_main_menu_mapped(wine, program):
    state = wait_until(lambda: field(s := window_check(wine), "window.visible") and s, 20,
                       "uriage.exe mapping a window of class TForm1")
    print(f"uriage.exe mapped its main menu in {(time.monotonic() - program.started) * 1000:.0f} ms "
          f"(window class {field(state, 'window.class')})")
    # Owned by the window 売上, which is shown for the task bar.
    assert (field(state, "owner.title"), field(state, "owner.visible"), field(state, "window.appWindow")) == (
        "売上", True, False), state


def test_main_menu_button_opens_month_chart(wine, program, screen):
    menu = screen.window("TForm1")
    wine.settled(menu, colours=10).save(SHOTS / "main-menu.png")
    screen.click("TForm1", text="月別売上（平面図）保険料金")
    screen.window("TForm2")
    wait_until(lambda: field(window_check(wine), "foreground.title") == MONTH_CHART, 10,
               f"{MONTH_CHART} in front")


def test_second_copy_ends_and_brings_main_menu_forward(wine, program):
    started = time.monotonic()
    wine.run(FOLDER / "uriage.exe", timeout=60)
    second = (time.monotonic() - started) * 1000
    assert second < SECOND_COPY_MS, f"a second uriage.exe took {second:.0f} ms to end"
    print(f"a second uriage.exe ended after {second:.0f} ms")
    wait_until(lambda: field(window_check(wine), "foreground.class") == "TForm1", 5,
               "the first copy's main menu in front")


def test_year_and_month_draw_the_chart(wine, program, screen, last_month):
    before, after = screen.filter_month_chart(*last_month)
    after.save(SHOTS / "TForm2.png")
    state = window_check(wine)
    assert field(state, "foreground.title") == MONTH_CHART, f"foreground {field(state, 'foreground')}"
    print(f"{'/'.join(last_month)} and フィルター drew the chart ({after.changed(before)} pixels changed, no error box)")


def test_wrong_year_shows_error_box(wine, program, screen):
    screen.type_into("TForm2", "Edit1", "abc")
    screen.click("TForm2", text="フィルター")
    state = wait_until(lambda: field(s := window_check(wine), "foreground.title") == "売上"
                       and field(s, "foreground.class") != "TForm1" and s, 10, "an error box in front")
    assert field(state, "ownerOfForeground.title") == "売上", state
    box = [w for w in wine.windows_named("売上") if w != screen.ids["TForm1"]]
    if box:
        wine.settled(box[0]).save(SHOTS / "error-box.png")
    wine.xdotool("key", "Return")
    wait_until(lambda: field(window_check(wine), "foreground.title") == MONTH_CHART, 5,
               "OK closing the box, the chart window active again")


def test_minimise_and_restore_together(wine, program, screen):
    """The main menu's minimise box minimises the whole program to its task-bar entry;
    restoring the entry brings every window back."""
    window_check(wine, "minimise")
    wait_until(lambda: field(s := window_check(wine), "owner.iconic") is True and s["ownedVisible"] == [], 5,
               "the owner window 売上 minimised and every window it owns hidden")
    window_check(wine, "restore")
    state = wait_until(lambda: field(s := window_check(wine), "owner.iconic") is False and MONTH_CHART in
                       s["ownedVisible"] and field(s, "window.visible") and s, 5, "every window back")
    print(f"restoring the task-bar entry brought back {state['ownedVisible']}")
    wine.settled(screen.window("TForm2")).save(SHOTS / "TForm2-restored.png")


def test_back_and_quit(wine, program, screen):
    """戻る hides the chart window, uncovering the main menu; its 終了 ends the program."""
    screen.click("TForm2", text="戻る")
    wait_until(lambda: MONTH_CHART not in window_check(wine).get("ownedVisible", [MONTH_CHART]), 5,
               f"戻る hiding {MONTH_CHART}")
    screen.window("TForm1")
    screen.click("TForm1", text="終了")
    wait_until(lambda: program.poll() is not None, 10, "終了 ending the program")


def test_started_minimised(wine, screen):
    """A launcher's "minimised" show request starts the program minimised to its task-bar
    entry; restoring the entry shows the main menu, active."""
    assert wine.launch(BUILD / "start-minimised.exe", win_path(FOLDER / "uriage.exe")) == 0
    try:
        state = wait_until(lambda: field(s := window_check(wine), "owner.iconic") is True and s, 20,
                           "the owner window 売上 minimised")
        assert field(state, "window.visible") is False, f"the main menu is shown: {field(state, 'window')}"
        window_check(wine, "restore")
        wait_until(lambda: field(s := window_check(wine), "window.visible") is True
                   and field(s, "foreground.class") == "TForm1", 5, "the main menu shown and active")
        screen.window("TForm1")
        screen.click("TForm1", text="終了")
        wait_until(lambda: not field(window_check(wine), "found"), 10, "終了 ending the program")
    finally:
        wine.kill()
