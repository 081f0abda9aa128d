"""Shared tools of the end-to-end tests.

Each test gets a fresh Wine prefix, copied from one template prefix that is prepared once (with the logic of
tools/wine-env.sh) and shared by all tests under a file lock. Programs are started the way a player starts
them, from a download folder, with their output in files (never piped). The tests then look at what the
programs leave behind: files, registry values, processes, windows and the requests seen by the mock platform.

Environment (from tests/e2e/CMakeLists.txt, and from test.sh for the mock platform and the display):
  VESK_VESKPLAY_EXE, VESK_UNISTS_EXE   the built x86_64 programs
  VESK_E2E_WORK                        folder for the template prefix and the test prefixes
  VESK_MOCK_PORT, VESK_MOCK_LOG        the running mock platform and its request log
  DISPLAY                              the (virtual) display
  VESK_E2E_KEEP=1                      keep each test's prefix for inspection
"""

import fcntl
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_ENV_SH = os.path.join(ROOT, "tools", "wine-env.sh")
WORK = os.environ.get("VESK_E2E_WORK") or os.path.join(ROOT, "build", "e2e")
VESKPLAY_EXE = os.environ.get("VESK_VESKPLAY_EXE", "")
UNISTS_EXE = os.environ.get("VESK_UNISTS_EXE", "")
WINE = os.environ.get("VESK_WINE") or shutil.which("wine64") or "wine"

# Folders that Wine never writes to while programs run: hard-linked into each test prefix instead of copied.
SHARED_FOLDERS = ("drive_c/windows/system32", "drive_c/windows/syswow64", "drive_c/windows/winsxs")


def skip_reason():
    """Why the end-to-end tests cannot run here, or None."""
    for name in ("VESK_MOCK_PORT", "VESK_MOCK_LOG", "DISPLAY"):
        if not os.environ.get(name):
            return name + " is not set (run the tests through test.sh, which starts the mock platform)"
    for path in (VESKPLAY_EXE, UNISTS_EXE):
        if not os.path.isfile(path):
            return "program not built: %r" % path
    return None


class WineTestCase(unittest.TestCase):
    """A test with a fresh prefix of its own in self.wine."""

    def setUp(self):
        reason = skip_reason()
        if reason:
            self.skipTest(reason)
        self.started = time.time() - 1
        self.wine = WinePrefix(self.id().split(".")[-1])
        self.addCleanup(self.wine.close, keep=os.environ.get("VESK_E2E_KEEP") == "1")


def new_uid():
    """A user id no other test of this run uses, so that its statistics records can be told apart."""
    return str(random.SystemRandom().randint(10000000, 99999999))


def wait_for(predicate, timeout, what):
    """Polls predicate until it returns something true; fails with what after timeout seconds."""
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() > deadline:
            raise AssertionError("timed out after %g s waiting for %s" % (timeout, what))
        time.sleep(0.1)


def wine_env(prefix):
    """The environment tools/wine-env.sh gives a prefix (one source of truth for it)."""
    out = subprocess.run(["bash", "-c", 'source "$1" && vesk_wine_env "$2" && env -0', "env", WINE_ENV_SH, prefix],
                         check=True, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL).stdout
    return dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)


def template_prefix():
    """The prepared template prefix, created by the first test that needs it."""
    template = os.path.join(WORK, "template")
    ready = os.path.join(template, ".vesk-ready")
    os.makedirs(WORK, exist_ok=True)
    with open(os.path.join(WORK, "template.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(ready) and os.path.getmtime(ready) >= os.path.getmtime(WINE_ENV_SH):
            return template
        shutil.rmtree(template, ignore_errors=True)
        with open(os.path.join(WORK, "template.log"), "w") as log:
            subprocess.run(["bash", "-c", 'source "$1" && vesk_wine_env "$2" && vesk_prepare_prefix && wineserver -w',
                            "prepare", WINE_ENV_SH, template],
                           check=True, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        open(ready, "w").close()
    return template


def copy_prefix(template, target):
    """A copy of the template: the big read-only system folders hard-linked, everything else copied, and the
    user's folders that Wine links to HOME pointed at the copy's own home."""

    def shared(folder, names):
        rel = os.path.relpath(folder, template)
        return [name for name in names if os.path.normpath(os.path.join(rel, name)) in SHARED_FOLDERS]

    shutil.copytree(template, target, symlinks=True, ignore=shared)
    for folder in SHARED_FOLDERS:
        if os.path.isdir(os.path.join(template, folder)):
            subprocess.run(["cp", "-al", os.path.join(template, folder), os.path.dirname(os.path.join(target, folder))],
                           check=True)
    users = os.path.join(target, "drive_c", "users")
    for user in os.listdir(users):
        for name in os.listdir(os.path.join(users, user)):
            path = os.path.join(users, user, name)
            link = os.readlink(path) if os.path.islink(path) else ""
            if link == template or link.startswith(template + os.sep):
                os.remove(path)
                os.symlink(target + link[len(template):], path)


class WinePrefix:
    """A fresh prefix of one test, with its own HOME (Desktop) and download folder."""

    def __init__(self, name):
        self.path = os.path.join(WORK, "%s-%d-%d" % (name, os.getpid(), random.randint(0, 999999)))
        copy_prefix(template_prefix(), self.path)
        self.env = wine_env(self.path)
        self.home = self.env["HOME"]
        self.downloads = os.path.join(self.home, "Downloads")
        os.makedirs(self.downloads, exist_ok=True)
        users = os.path.join(self.path, "drive_c", "users")
        self.user = [u for u in os.listdir(users) if u != "Public"][0]
        self.appdata = self.win_path("drive_c/users/%s/AppData/Roaming" % self.user)
        self.runs = 0
        self.started = []

    def close(self, keep=False):
        for proc in self.started:
            if proc.poll() is None:
                proc.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        for proc in self.started:
            proc.wait(timeout=10)
        if not keep:
            shutil.rmtree(self.path, ignore_errors=True)

    # Paths. Windows paths are the program's view ("C:\\users\\..."), Linux paths the test's.

    def win_path(self, rel):
        """Windows path of a path relative to the prefix (inside drive_c)."""
        assert rel.startswith("drive_c/")
        return "C:\\" + rel[len("drive_c/"):].replace("/", "\\")

    def linux_path(self, win):
        """Linux path of a Windows path on drive C."""
        assert win[:3].upper() == "C:\\", win
        return os.path.join(self.path, "drive_c", *win[3:].split("\\"))

    # Programs.

    def download(self, name, data=None):
        """Puts the built client into the download folder under name (with other bytes when given)."""
        target = os.path.join(self.downloads, name)
        if data is None:
            shutil.copyfile(VESKPLAY_EXE, target)
        else:
            with open(target, "wb") as f:
                f.write(data)
        return target

    def start(self, exe, *args, cwd=None):
        """Starts exe (a Linux path, or a Windows path) like a player would: output into files of the prefix."""
        self.runs += 1
        base = os.path.join(self.path, "run%02d" % self.runs)
        with open(base + ".out", "wb") as out, open(base + ".err", "wb") as err:
            proc = subprocess.Popen([WINE, exe, *args], cwd=cwd or self.downloads, env=self.env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        self.started.append(proc)
        return proc

    def run(self, exe, *args, cwd=None, timeout=60):
        """Runs exe to its end; returns its exit code."""
        proc = self.start(exe, *args, cwd=cwd)
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            raise AssertionError("%s %s still runs after %d s" % (exe, " ".join(args), timeout))

    def processes(self, image=None):
        """Windows processes of this prefix as {Linux pid: argv}, argv[0] the executable's Windows path;
        only those whose executable file is named image (any case) when given."""
        found = {}
        marker = ("WINEPREFIX=" + self.path).encode() + b"\0"
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if marker not in f.read():
                        continue
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    argv = f.read().split(b"\0")
            except OSError:
                continue
            while argv and argv[-1] == b"":
                argv.pop()
            argv = [a.decode("utf-8", "replace") for a in argv]
            if not argv or not argv[0].lower().endswith(".exe"):
                continue
            if image is None or argv[0].replace("/", "\\").lower().rsplit("\\", 1)[-1] == image.lower():
                found[int(entry)] = argv
        return found

    def windows(self, title, pid=None):
        """Shown X windows with this title (of the Linux process pid when given)."""
        cmd = ["xdotool", "search", "--onlyvisible"] + (["--pid", str(pid)] if pid else []) + ["--name", "^%s$" % title]
        out = subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                             env=dict(os.environ, DISPLAY=os.environ.get("DISPLAY", ""))).stdout
        return out.split()

    def press(self, window, key):
        """Gives window the focus and presses key."""
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=10)
        subprocess.run(["xdotool", "key", key], check=True, timeout=10)

    def kill(self, pid):
        """Ends one Windows process of the prefix the hard way (as the task manager would)."""
        os.kill(pid, signal.SIGKILL)
        wait_for(lambda: pid not in self.processes(), 10, "process %d to end" % pid)

    # What the programs leave behind.

    def registry(self, key):
        """The string values of a registry key as {name: data}, or None when the key does not exist."""
        self.runs += 1
        out = os.path.join(self.path, "reg%02d.reg" % self.runs)
        with open(out + ".log", "wb") as log:
            code = subprocess.run([WINE, "reg", "export", key, "Z:" + out.replace("/", "\\"), "/y"],
                                  env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log).returncode
        if code != 0 or not os.path.exists(out):
            return None
        with open(out, "rb") as f:
            text = f.read().decode("utf-16")
        return parse_reg_values(text)

    def read_ini(self, path):
        """(key, value) pairs of an INI file in order, read in code page 936 as the system wrote it."""
        with open(path, "rb") as f:
            lines = f.read().decode("gbk").splitlines()
        return [tuple(line.split("=", 1)) for line in lines if "=" in line]


def parse_reg_values(text):
    """{name: data} of the REG_SZ values in a .reg export of one key."""
    values = {}
    for line in text.splitlines():
        if not line.startswith('"'):
            continue
        name, _, data = line.partition('"=')
        if not data.startswith('"'):
            continue
        unescape = lambda s: s.replace('\\"', '"').replace("\\\\", "\\")
        values[unescape(name[1:])] = unescape(data[1:-1])
    return values


def stat_records(uid, since):
    """Statistics records the mock platform saw since a time for this uid, in order: [(event, valid)]."""
    records = []
    with open(os.environ["VESK_MOCK_LOG"], encoding="utf-8") as log:
        for line in log:
            entry = json.loads(line)
            stat = entry.get("stat")
            if entry.get("route") != "stat" or not stat or entry["time"] < since:
                continue
            fields = stat.get("fields") or []
            if len(fields) == 10 and fields[1] == uid:
                records.append((fields[2], stat["valid"] and stat["well_formed"]))
    return records
