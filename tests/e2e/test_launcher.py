"""The installed launcher as a player meets it: its picture on the screen, hover and links, the start-up record,
the boss key, the notification-area menu, the close question and what a real close writes back."""

import os
import shutil
import subprocess
import time
import unittest

from harness import VESKPLAY_EXE, WineTestCase, new_uid, stat_records, wait_for

WIDTH, HEIGHT = 1100, 600
TABS = {  # centre of each tab in window coordinates, and the page it opens
    "home": ((444, 170), "/"),
    "forum": ((606, 170), "/forum.php?mod=forumdisplay&fid=184"),
    "service": ((771, 170), "/kefu/"),
    "pay": ((933, 170), "/?g=vesk"),
}
CLOSE_BUTTON = (1027, 145)
TRAY_ICON = (11, 32)  # first icon of Wine's own tray window at the top left of the screen


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=20).stdout.decode().strip()


class Screenshot:
    """The whole screen, read once; pixel(x, y) gives (r, g, b)."""

    def __init__(self, folder):
        raw = os.path.join(folder, "screen.rgb")
        subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:" + raw], check=True, timeout=30,
                       stdin=subprocess.DEVNULL)
        self.width, self.height = map(int, xdotool("getdisplaygeometry").split())
        with open(raw, "rb") as f:
            self.data = f.read()

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class LauncherTestCase(WineTestCase):
    def launch(self, *args, uid="", ini_extra=b"", hotkey=b"121"):
        """Puts an installed copy with its settings in place (as the installer leaves it after the first start)
        and starts it with args; returns its Linux pid."""
        folder = self.wine.appdata + "\\kaltogames\\veskplay\\"
        self.folder = self.wine.linux_path(folder)
        os.makedirs(self.folder)
        self.exe = os.path.join(self.folder, "veskplay.exe")
        shutil.copyfile(VESKPLAY_EXE, self.exe)
        self.ini = os.path.join(self.folder, "static.ini")
        with open(self.ini, "wb") as f:
            f.write(b"[vesk]\r\nuid=%s\r\nstart=1\r\nhotkey=%s\r\nhotName=F10\r\nfilename=web\r\ninner=1\r\n%s"
                    % (uid.encode(), hotkey, ini_extra))
        self.launched = time.time()
        self.proc = self.wine.start(self.exe, *args, cwd=self.folder)
        return wait_for(lambda: next(iter(self.wine.processes("veskplay.exe")), None), 20, "the launcher process")

    def window(self, visible=True):
        found = xdotool("search", *(["--onlyvisible"] if visible else []), "--name", "^KaltoVeskora$").split()
        return found[0] if found else None

    def origin(self, wid):
        geometry = dict(line.strip().split(": ", 1) for line in xdotool("getwindowgeometry", wid).splitlines()[1:])
        x, y = map(int, geometry["Position"].split(" ")[0].split(","))
        w, h = map(int, geometry["Geometry"].split("x"))
        return x, y, w, h

    def click(self, x, y, button=1):
        xdotool("mousemove", x, y)
        time.sleep(0.3)  # the hover comes first: a button acts only on a release after it
        xdotool("click", button)

    def answer_exit_question(self):
        box = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "^退出提示$"), 10, "the exit question")
        xdotool("windowfocus", "--sync", box.split()[0])
        xdotool("key", "Return")

    def tray_menu(self):
        """Opens the notification-area menu; returns its window's (x, y, width, height)."""
        self.click(*TRAY_ICON, button=3)

        def menu():
            for wid in xdotool("search", "--onlyvisible", "--name", "^$").split():
                x, y, w, h = self.origin(wid)
                if (x, y) == TRAY_ICON and w < 400:
                    return x, y, w, h
            return None

        return wait_for(menu, 10, "the tray menu")

    def tray_exit(self):
        """Chooses "退出", the last of the menu's four entries."""
        x, y, w, h = self.tray_menu()
        self.click(x + w // 2, y + h - h // 8)

    def settings(self):
        with open(self.ini, "rb") as f:
            return dict(line.split("=", 1) for line in f.read().decode("gbk").splitlines() if "=" in line)

    def browser_log(self):
        with open(self.wine.env["VESK_BROWSER_LOG"]) as f:
            return f.read().split()


class LauncherTest(LauncherTestCase):
    def test_picture_hover_links_record_and_close(self):
        uid = new_uid()
        pid = self.launch("ns", uid=uid)
        wid = wait_for(self.window, 20, "the launcher window")
        x, y, w, h = self.origin(wid)
        shot = Screenshot(self.wine.path)
        self.assertEqual((w, h), (WIDTH, HEIGHT))
        self.assertEqual((x, y), ((shot.width - WIDTH) // 2, (shot.height - HEIGHT) // 2), "centred")

        # Transparent outside the picture: the corners show the desktop; the login area is the dark panel.
        desktop = shot.pixel(5, shot.height - 5)
        for cx, cy in [(2, 2), (WIDTH - 3, 2), (2, HEIGHT - 3), (WIDTH - 3, HEIGHT - 3)]:
            self.assertEqual(shot.pixel(x + cx, y + cy), desktop, "corner %d,%d" % (cx, cy))
        self.assertTrue(all(c < 40 for c in shot.pixel(x + 600, y + 350)), shot.pixel(x + 600, y + 350))

        # The pointer over a tab shows its hover frame.
        (tx, ty), _ = TABS["forum"]
        probe = (x + tx - 60, y + ty)
        before = shot.pixel(*probe)
        xdotool("mousemove", x + tx, y + ty)
        time.sleep(0.5)
        self.assertNotEqual(Screenshot(self.wine.path).pixel(*probe), before, "forum tab's hover frame")

        # Each tab opens its page in the default browser.
        for name in ["home", "forum", "service", "pay"]:
            (tx, ty), _ = TABS[name]
            self.click(x + tx, y + ty)
        base = "http://127.0.0.1:%s" % os.environ["VESK_MOCK_PORT"]
        wait_for(lambda: len(self.browser_log()) >= 4, 20, "four pages in the browser")
        self.assertEqual(self.browser_log(), [base + TABS[n][1] for n in ["home", "forum", "service", "pay"]])

        # About ten seconds after the start the start-up record arrives, signed, with the uid of static.ini.
        wait_for(lambda: stat_records(uid, self.launched), 25, "the start-up record")
        self.assertEqual(stat_records(uid, self.launched), [("4", True)])
        self.assertGreaterEqual(time.time() - self.launched, 9)

        # The close button asks; OK with the close preference never chosen ends the program.
        self.click(x + CLOSE_BUTTON[0], y + CLOSE_BUTTON[1])
        self.answer_exit_question()
        wait_for(lambda: pid not in self.wine.processes(), 15, "the launcher to end")
        s = self.settings()
        self.assertEqual((s["CloseType"], s["AutoStart"], s["hotkey"], s["hotName"]), ("0", "0", "121", "F10"))


class TrayTest(LauncherTestCase):
    def test_boss_key_close_to_tray_and_tray_exit(self):
        pid = self.launch("ns", uid=new_uid(), ini_extra=b"CloseType=1\r\nAutoStart=1\r\n")
        wid = wait_for(self.window, 20, "the launcher window")
        x, y, _, _ = self.origin(wid)

        xdotool("windowfocus", "--sync", wid)
        xdotool("key", "F10")
        wait_for(lambda: not self.window(), 10, "F10 to hide the launcher")
        # Keys reach Wine only while one of its windows has the focus: the tray window keeps it here.
        xdotool("windowfocus", "--sync", xdotool("search", "--name", "^Wine System Tray$").split()[0])
        xdotool("key", "F10")
        wid = wait_for(self.window, 10, "F10 to show the launcher again")

        # With the close preference 1 the question is still asked, and OK only hides to the tray.
        before = self.settings()
        self.click(x + CLOSE_BUTTON[0], y + CLOSE_BUTTON[1])
        self.answer_exit_question()
        wait_for(lambda: not self.window(), 10, "the launcher to hide")
        time.sleep(1)
        self.assertIn(pid, self.wine.processes())
        self.assertEqual(self.settings(), before, "hiding writes nothing")

        self.tray_exit()
        wait_for(lambda: pid not in self.wine.processes(), 15, "the tray menu's exit to end the program")
        s = self.settings()
        self.assertEqual((s["CloseType"], s["AutoStart"], s["hotkey"], s["hotName"]), ("1", "1", "121", "F10"))


class HiddenStartTest(LauncherTestCase):
    def test_hidden_start_without_uid_or_boss_key(self):
        pid = self.launch("-hh", hotkey=b"")
        time.sleep(12)  # past the start-up record's moment
        self.assertIn(pid, self.wine.processes())
        self.assertIsNone(self.window(), "a hidden start shows nothing")
        self.assertIsNotNone(self.window(visible=False))
        self.assertEqual([r for r in stat_records("", self.launched) if r[0] == "4"], [], "no record without uid")

        # No boss key is registered: F10 does nothing. A double click on the tray icon shows the launcher.
        xdotool("windowfocus", "--sync", xdotool("search", "--name", "^Wine System Tray$").split()[0])
        xdotool("key", "F10")
        time.sleep(1)
        self.assertIsNone(self.window())
        xdotool("mousemove", *TRAY_ICON)
        xdotool("click", "--repeat", "2", "--delay", "80", "1")
        wait_for(self.window, 10, "the tray icon's double click to show the launcher")

        self.tray_exit()
        wait_for(lambda: pid not in self.wine.processes(), 15, "the tray menu's exit to end the program")
        self.assertEqual(self.settings()["hotkey"], "-1")


if __name__ == "__main__":
    unittest.main()
