#!/usr/bin/env python3
"""Whole-program runs of OrvantaCtrl.exe under Wine, treated as a black box.

For every scenario: a Wine prefix copied from a template made once per run,
its registry seeded from a REGEDIT4 text, the program started on a virtual
display together with our driver (the person), and afterwards the watched
registry trees compared with the state before the run, value by value, along
with the exit code, the standard output and what the driver saw.

Prints one PASS/FAIL line per scenario and ends with "N passed, M failed".
"""

import argparse
import concurrent.futures
import os
from pathlib import Path
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback

from observed import describe_window, parse_driver_output
from locales import KOREAN, build_korean_unix_locale
from scenarios import SCENARIOS, WATCHED_TREES
from wine_registry import ABSENT, PRESENT, describe_change, diff, read_user_reg, subtrees
from zone_stand_in import STAND_IN_DLL

WINE_ENVIRONMENT = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
}
REPOSITORY = Path(__file__).resolve().parents[2]
DRIVER_EXE = "tests/e2e/driver/orvanta_e2e_driver.exe"
KEY_PERMISSIONS_EXE = "tests/e2e/key_permissions/orvanta_e2e_key_permissions.exe"
PROGRAM_EXE = "OrvantaCtrl.exe"

STEP_WAIT_MS = 10000       # the driver's deadline for each wait
DRIVER_START_DEADLINE_S = 30
DRIVER_DEADLINE_S = 120    # the driver itself, all steps together
PROGRAM_DEADLINE_S = 10    # the program, once the driver has finished
WINE_COMMAND_DEADLINE_S = 60
TEMPLATE_DEADLINE_S = 180
DISPLAY_SIZE = "1024x768x24"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


# --- Virtual displays ------------------------------------------------------

class VirtualDisplays:
    """Xvfb servers on free display numbers, one per worker, stopped on exit."""

    def __init__(self, count, first_number, log_dir):
        self.count = count
        self.first_number = first_number
        self.log_dir = log_dir
        self.servers = []
        self.names = []

    def __enter__(self):
        number = self.first_number
        while len(self.names) < self.count:
            if number > self.first_number + 200:
                raise RuntimeError("no free X display number found")
            if self._start(number):
                self.names.append(f":{number}")
            number += 1
        return self.names

    def _start(self, number):
        if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
            return False
        log = open(self.log_dir / f"xvfb-{number}.log", "wb")
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", DISPLAY_SIZE, "-nolisten", "tcp"],
                                  stdout=log, stderr=log, stdin=subprocess.DEVNULL)
        log.close()
        socket = Path(f"/tmp/.X11-unix/X{number}")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if server.poll() is not None:
                return False  # someone else took the number meanwhile
            if socket.exists():
                self.servers.append(server)
                return True
            time.sleep(0.05)
        server.kill()
        server.wait()
        return False

    def __exit__(self, *_):
        for server in self.servers:
            server.terminate()
        for server in self.servers:
            try:
                server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()


# --- Wine prefixes ---------------------------------------------------------

class Prefix:
    """A Wine prefix with the display and environment its programs run with."""

    live = set()  # prefixes whose wineserver may still run, for the final clean-up
    live_lock = threading.Lock()

    def __init__(self, path, display, scratch_dir, locale_env):
        self.path = Path(path)
        # Wine keeps its server directories under TMPDIR: inside the run's own tree.
        self.env = {**os.environ, **WINE_ENVIRONMENT, **locale_env, "WINEPREFIX": str(self.path),
                    "DISPLAY": display, "TMPDIR": str(scratch_dir)}
        if "LOCPATH" not in locale_env:
            self.env.pop("LOCPATH", None)
        with Prefix.live_lock:
            Prefix.live.add(self)

    def run(self, command, log, deadline_s=WINE_COMMAND_DEADLINE_S):
        """Runs a wine command to its end with its output in a file; its exit code."""
        with open(log, "ab") as output:
            return subprocess.run(command, env=self.env, stdout=output, stderr=output,
                                  stdin=subprocess.DEVNULL, timeout=deadline_s).returncode

    def start(self, command, stdout_path, stderr_path, cwd):
        # Wine's output goes to files: a pipe would be held open by the wineserver.
        with open(stdout_path, "wb") as stdout, open(stderr_path, "wb") as stderr:
            return subprocess.Popen(command, env=self.env, stdout=stdout, stderr=stderr,
                                    stdin=subprocess.DEVNULL, cwd=cwd)

    def wait_for_server(self):
        """Waits until the wineserver has ended, which writes user.reg. False
        when it had to be killed."""
        try:
            subprocess.run(["wineserver", "-w"], env=self.env, timeout=WINE_COMMAND_DEADLINE_S,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return True
        except subprocess.TimeoutExpired:
            self.kill()
            return False

    def kill(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=WINE_COMMAND_DEADLINE_S,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def forget(self):
        with Prefix.live_lock:
            Prefix.live.discard(self)

    @classmethod
    def kill_all(cls):
        with cls.live_lock:
            prefixes = list(cls.live)
        for prefix in prefixes:
            try:
                prefix.kill()
            except (OSError, subprocess.TimeoutExpired):
                pass


def make_template(path, display, log, scratch_dir):
    template = Prefix(path, display, scratch_dir, KOREAN.environment(None))
    if template.run(["wineboot", "-i"], log, TEMPLATE_DEADLINE_S) != 0 or not template.wait_for_server():
        raise RuntimeError(f"wineboot -i failed; see {log}")
    template.forget()
    return template.path


def copy_prefix(template, destination, display, scratch_dir, locale_env):
    """A prefix of its own for a scenario. The large, read-only Windows tree is
    hard-linked (Wine replaces files rather than editing them); the registry
    files and everything else are copied."""
    destination.mkdir(parents=True)
    for entry in template.iterdir():
        if entry.name == "wineserver":  # names the prefix's own scratch directory: made anew
            continue
        link = ["-l"] if entry.name == "drive_c" else []
        subprocess.run(["cp", "-a", *link, str(entry), str(destination)], check=True)
    return Prefix(destination, display, scratch_dir, locale_env)


# --- Screenshots -----------------------------------------------------------

class ScreenshotTaker(threading.Thread):
    """Takes a picture of the whole display whenever the driver asks for one
    (by a NAME.want file) and signals it is done with NAME.png."""

    def __init__(self, request_dir, display, keep_dir, prefix_name):
        super().__init__(daemon=True)
        self.request_dir = request_dir
        self.display = display
        self.keep_dir = keep_dir
        self.prefix_name = prefix_name
        self.finished = threading.Event()

    def run(self):
        while not self.finished.is_set():
            for request in sorted(self.request_dir.glob("*.want")):
                self._take(request)
            self.finished.wait(0.05)

    def _take(self, request):
        name = request.stem
        taking = self.request_dir / f"{name}.taking.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(taking)],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30)
        request.unlink()
        if taking.exists():
            shutil.copy(taking, self.keep_dir / f"{self.prefix_name}{name}.png")
            taking.rename(self.request_dir / f"{name}.png")

    def stop(self):
        self.finished.set()
        self.join()


# --- One scenario ----------------------------------------------------------

def seed_file_text(seed):
    # regedit reads REGEDIT4 files in the ANSI code page, so Korean names are CP949.
    return ("REGEDIT4\r\n\r\n" + seed.replace("\n", "\r\n")).encode("cp949")


def compare_given(given, state):
    problems = []
    for (path, name), wanted in given.items():
        key = state.get(path)
        if name is None:
            seen = PRESENT if key else ABSENT
        else:
            seen = key.values[name][1] if key and name in key.values else ABSENT
        if seen != wanted:
            problems.append(f"the seeded profile is not as the scenario needs: "
                            f"{describe_change((path, name), (seen, wanted))}")
    return problems


def compare_changes(expected, before, after):
    seen = diff(before, after)
    problems = []
    for entry in sorted(seen.keys() | expected.keys(), key=str):
        if seen.get(entry) == expected.get(entry):
            continue
        if entry not in expected:
            problems.append(f"unexpected registry change {describe_change(entry, seen[entry])}")
        elif entry not in seen:
            problems.append(f"missing registry change {describe_change(entry, expected[entry])}")
        else:
            problems.append(f"registry change {describe_change(entry, seen[entry])}, "
                            f"expected {expected[entry][0]} -> {expected[entry][1]}")
    return problems


def wait_for_line(path, line, process, deadline_s):
    """Polls a process's output file until it holds `line`; False when the
    process ended or the deadline passed first."""
    deadline = time.monotonic() + deadline_s
    while time.monotonic() < deadline:
        if line in path.read_text(errors="replace").splitlines():
            return True
        if process.poll() is not None:
            return False
        time.sleep(0.05)
    return False


class ScenarioRun:
    def __init__(self, scenario, settings, display, work_dir, round_number):
        self.scenario = scenario
        self.settings = settings
        self.display = display
        self.dir = work_dir / f"{scenario.name}.{round_number}"
        self.problems = []
        self.details = []

    def execute(self):
        self.dir.mkdir(parents=True)
        locale_env = self.scenario.locale.environment(self.settings.locale_dir)
        prefix = copy_prefix(self.settings.template, self.dir / "prefix", self.display,
                             self.settings.scratch_dir, locale_env)
        try:
            if not self._seed(prefix):
                return
            state = subtrees(read_user_reg(prefix.path), WATCHED_TREES)
            self.problems += compare_given(self.scenario.given, state)
            for number, run in enumerate(self.scenario.runs, 1):
                if self.problems:
                    return
                state = self._run(prefix, number, run, state)
        finally:
            prefix.kill()
            prefix.forget()
            if not self.settings.keep:
                shutil.rmtree(self.dir / "prefix", ignore_errors=True)

    def _seed(self, prefix):
        text = self.scenario.seed
        if self.scenario.zone_stand_in:
            text += "\n" + self.scenario.zone_stand_in.seed(windows_path(self.settings.zone_stand_in))
        if not text:
            return True
        seed = self.dir / "seed.reg"
        seed.write_bytes(seed_file_text(text))
        status = prefix.run(["wine", "regedit", "/S", windows_path(seed)], self.dir / "seed.log")
        if status != 0 or not prefix.wait_for_server():
            self.problems.append(f"seeding the registry failed (regedit exit code {status})")
            return False
        return True

    def _run(self, prefix, number, run, before):
        """One start of the program with the driver beside it; the state after."""
        tag = f"run{number}"
        out = {name: self.dir / f"{tag}-{name}" for name in
               ("program.stdout", "program.stderr", "driver.stdout", "driver.stderr")}
        shots = self._screenshot_taker(tag)
        driver_status, program_status = self._launch(prefix, run, out, shots)
        if shots:
            shots.stop()
        if not prefix.wait_for_server():
            self.problems.append("the wineserver did not end after the run and was killed")
        registry = read_user_reg(prefix.path)
        after = subtrees(registry, WATCHED_TREES)

        problems = self._judge_run(run, out, driver_status, program_status)
        problems += compare_changes(run.changes, before, after)
        if self.scenario.zone_stand_in:
            problems += self.scenario.zone_stand_in.problems(registry, number)
        self.problems += [f"{tag}: {problem}" for problem in problems]
        if problems:
            self.details.append(f"{tag}: driver steps {' '.join(run.steps)}")
            self.details += [f"{tag} {name}: {line}" for name in ("program.stderr", "driver.stderr")
                             for line in out[name].read_text(errors="replace").splitlines()[-5:]]
        return after

    def _screenshot_taker(self, tag):
        if not self.settings.shots_dir:
            return None
        request_dir = self.dir / f"{tag}-shots"
        request_dir.mkdir()
        several = len(self.scenario.runs) > 1
        shots = ScreenshotTaker(request_dir, self.display, self.settings.shots_dir,
                                f"{self.scenario.name}-{tag}-" if several else f"{self.scenario.name}-")
        shots.start()
        return shots

    def _launch(self, prefix, run, out, shots):
        """Runs the driver and the program to their ends; their exit codes, None
        for one that had to be killed."""
        program_path = self.settings.program
        if run.exe_name != PROGRAM_EXE or run.folder:
            program_path = self.dir / "programs" / run.folder / run.exe_name
            program_path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(self.settings.program, program_path)
        driver_options = ["--program", run.exe_name, "--wait-ms", str(STEP_WAIT_MS)]
        if shots:
            driver_options += ["--shots", windows_path(shots.request_dir)]

        # The driver goes first: two wine processes starting together on a
        # prefix with no wineserver yet can race each other to start one.
        driver = prefix.start(["wine", str(self.settings.driver), *driver_options, *run.steps],
                              out["driver.stdout"], out["driver.stderr"], self.dir)
        if not wait_for_line(out["driver.stdout"], "driver=ready", driver, DRIVER_START_DEADLINE_S):
            self.problems.append(f"the driver did not start within {DRIVER_START_DEADLINE_S} s")
        if run.key_permissions:
            self._set_key_permissions(prefix, run.key_permissions)
        program = prefix.start(["wine", str(program_path), *run.arguments],
                               out["program.stdout"], out["program.stderr"], self.dir)

        driver_status = self._wait(driver, DRIVER_DEADLINE_S,
                                   f"the driver hung: still running after {DRIVER_DEADLINE_S} s; killed it")
        program_status = None
        if driver_status is not None:
            # The driver's last step waits for the program's end, so it is over by now
            # unless it hangs or still shows a window the driver gave up on.
            program_status = self._wait(program, PROGRAM_DEADLINE_S,
                                        f"{run.exe_name} was still running {PROGRAM_DEADLINE_S} s after "
                                        f"the driver ended; killed it")
        if driver_status is None or program_status is None:
            prefix.kill()
            driver.wait()
            program.wait()
        return driver_status, program_status

    def _set_key_permissions(self, prefix, permissions):
        """Gives keys their permissions while the driver keeps this prefix's
        wineserver running: Wine keeps them nowhere else, and the program
        starts next in the same server."""
        arguments = [part for key, sddl in permissions for part in (key, sddl)]
        log = self.dir / "key-permissions.log"
        status = prefix.run(["wine", str(self.settings.key_permissions), *arguments], log)
        if status != 0 or "permissions=set" not in log.read_text(errors="replace").splitlines():
            self.problems.append(f"setting key permissions failed (exit code {status}): "
                                 f"{log.read_text(errors='replace').strip()[-300:]}")

    def _judge_run(self, run, out, driver_status, program_status):
        """What went wrong in a run apart from the registry: the driver's steps,
        what it saw, the exit code and the standard output."""
        problems = []
        readings, steps, errors, done = parse_driver_output(out["driver.stdout"].read_text(errors="replace"))
        for error in errors:
            problems.append(f"driver at step '{steps[-1] if steps else '?'}': {error}")
        if "unexpected" in readings:
            problems.append(f"the window that showed up: {describe_window(readings['unexpected'])}")
        if driver_status is not None and not errors and (driver_status != 0 or not done):
            problems.append(f"the driver ended with code {driver_status} before its last step")
        if program_status is not None and program_status != run.exit_code:
            problems.append(f"exit code {program_status}, expected {run.exit_code}")
        stdout = out["program.stdout"].read_bytes()
        if stdout:
            problems.append(f"standard output {stdout[:200]!r}, expected nothing")
        for check in run.checks:
            problems += check(readings)
        return problems

    def _wait(self, process, deadline_s, problem):
        """The exit code, or None (and the problem noted) when the deadline passed."""
        try:
            return process.wait(timeout=deadline_s)
        except subprocess.TimeoutExpired:
            self.problems.append(problem)
            return None


# --- The suite --------------------------------------------------------------

class Settings:
    def __init__(self, arguments, work_dir):
        build = Path(arguments.build_dir).resolve()
        self.program = build / PROGRAM_EXE
        self.driver = build / DRIVER_EXE
        self.key_permissions = build / KEY_PERMISSIONS_EXE
        self.locale_dir = work_dir / "locales"
        self.zone_stand_in = build / STAND_IN_DLL
        self.keep = arguments.keep
        self.shots_dir = Path(arguments.shots).resolve() if arguments.shots else None
        self.template = work_dir / "template"
        self.scratch_dir = work_dir / "tmp"


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build_dir", nargs="?", default=str(REPOSITORY / "build" / "windows"),
                        help="the windows preset's build directory (default: build/windows)")
    parser.add_argument("--shots", default=os.environ.get("E2E_SHOTS"),
                        help="save screenshots of each scenario into this directory (env E2E_SHOTS)")
    parser.add_argument("--only", action="append", default=[],
                        help="run only scenarios whose name contains this text (repeatable)")
    parser.add_argument("--jobs", type=int, default=min(2, os.cpu_count() or 1),
                        help="scenarios run side by side, each on its own display (default: 2)")
    parser.add_argument("--display-from", type=int, default=int(os.environ.get("E2E_DISPLAY_FROM", "150")),
                        help="first X display number to try (env E2E_DISPLAY_FROM, default 150)")
    parser.add_argument("--repeat", type=int, default=1,
                        help="run every chosen scenario this many times, to hunt for flaky ones")
    parser.add_argument("--keep", action="store_true", help="keep the work directory for inspection")
    return parser.parse_args()


def run_suite(arguments, work_dir):
    settings = Settings(arguments, work_dir)
    for needed in (settings.program, settings.driver, settings.key_permissions,
                   settings.zone_stand_in):
        if not needed.is_file():
            print(f"e2e: {needed} is missing; build the windows preset first", file=sys.stderr)
            return 1
    if settings.shots_dir:
        settings.shots_dir.mkdir(parents=True, exist_ok=True)
    chosen = [scenario for scenario in SCENARIOS
              if not arguments.only or any(text in scenario.name for text in arguments.only)]
    jobs = max(1, min(arguments.jobs, len(chosen) * arguments.repeat))

    if any(scenario.locale.needs_unix_locale for scenario in chosen):
        build_korean_unix_locale(settings.locale_dir, work_dir / "localedef.log")

    with VirtualDisplays(jobs, arguments.display_from, work_dir) as displays:
        settings.scratch_dir.mkdir()
        make_template(settings.template, displays[0], work_dir / "wineboot.log", settings.scratch_dir)
        free_displays = queue.Queue()
        for display in displays:
            free_displays.put(display)

        def execute(scenario, round_number):
            display = free_displays.get()
            started = time.monotonic()
            try:
                run = ScenarioRun(scenario, settings, display, work_dir, round_number)
                try:
                    run.execute()
                except Exception:  # a broken harness fails the scenario, not the suite
                    run.problems.append("the harness failed:")
                    run.problems += traceback.format_exc().splitlines()
                return run, time.monotonic() - started
            finally:
                free_displays.put(display)

        passed = failed = 0
        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            for run, seconds in (future.result() for future in
                                 concurrent.futures.as_completed(
                                     pool.submit(execute, scenario, round_number)
                                     for round_number in range(1, arguments.repeat + 1)
                                     for scenario in chosen)):
                if run.problems:
                    failed += 1
                    print(f"FAIL {run.scenario.name} ({seconds:.1f} s): {run.scenario.contract}")
                    for line in run.problems + run.details:
                        print(f"    {line}")
                else:
                    passed += 1
                    print(f"PASS {run.scenario.name} ({seconds:.1f} s)")
                sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


def main():
    arguments = parse_arguments()
    work_dir = Path(tempfile.mkdtemp(prefix="e2e-", dir="/tmp"))

    def stop(signal_number, _frame):
        Prefix.kill_all()  # so that scenarios still running end at once
        raise KeyboardInterrupt(f"signal {signal_number}")

    signal.signal(signal.SIGTERM, stop)
    try:
        return run_suite(arguments, work_dir)
    except KeyboardInterrupt:
        print("e2e: interrupted", file=sys.stderr)
        return 130
    except RuntimeError as error:
        print(f"e2e: {error}", file=sys.stderr)
        return 1
    finally:
        Prefix.kill_all()
        if arguments.keep:
            print(f"e2e: work directory kept: {work_dir}", file=sys.stderr)
        else:
            shutil.rmtree(work_dir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
