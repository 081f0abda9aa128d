"""The uninstaller started the way a player starts it: questions and messages, and a missing or damaged list."""

import os
import unittest

from harness import new_uid, wait_for
from installation import UNINSTALL_KEY, InstallTestCase

CAPTION = "卸载 Veskora"


class UninstallerTest(InstallTestCase):
    def install(self):
        uid = new_uid()
        downloaded = self.wine.download(uid + "_abc.exe")
        self.assertEqual(self.wine.run(downloaded, "/s"), 0)
        return uid, downloaded

    def start_uninstaller(self):
        proc = self.wine.start(self.inst.uninstaller)
        pid = next(iter(wait_for(lambda: self.wine.processes("unists.exe"), 10, "unists.exe to start")))
        return proc, pid

    def answer(self, pid, key):
        """Waits for the uninstaller's message box and presses key in it."""
        box = wait_for(lambda: self.wine.windows(CAPTION, pid), 20, "the uninstaller's message")[0]
        self.wine.press(box, key)
        wait_for(lambda: box not in self.wine.windows(CAPTION, pid), 10, "the message to close")

    def assert_untouched(self):
        for win in [self.inst.exe, self.inst.uninstaller, self.inst.ini, self.inst.desktop_link] + self.inst.menu_links:
            self.assertTrue(self.inst.exists(win), win + " was removed")
        self.assertIsNotNone(self.wine.registry(UNINSTALL_KEY), "uninstall key was removed")

    def test_asks_first_and_says_when_done(self):
        uid, downloaded = self.install()
        proc, pid = self.start_uninstaller()
        self.answer(pid, "n")
        self.assertEqual(proc.wait(timeout=10), 1, "cancelled")
        self.assert_installed(uid, downloaded)

        proc, pid = self.start_uninstaller()
        self.answer(pid, "y")
        self.answer(pid, "Return")  # done
        self.assertEqual(proc.wait(timeout=10), 0)
        wait_for(lambda: not self.inst.exists(self.inst.maker), 20, "the installation folder to go")
        self.assert_nothing_left()

    def test_missing_or_damaged_list_removes_nothing(self):
        self.install()
        path = self.wine.linux_path(self.inst.list)
        with open(path, "rb") as f:
            good = f.read()
        cases = [("missing", None), ("cut off", good[: len(good) // 2]), ("not a list", b"<html></html>"),
                 ("empty", b"")]
        for name, content in cases:
            with self.subTest(list=name):
                if os.path.exists(path):
                    os.remove(path)
                if content is not None:
                    with open(path, "wb") as f:
                        f.write(content)
                self.assertEqual(self.wine.run(self.wine.linux_path(self.inst.uninstaller), "/S"), 2)
                self.assert_untouched()

        # Without "/S" the player is told.
        proc, pid = self.start_uninstaller()
        self.answer(pid, "Return")
        self.assertEqual(proc.wait(timeout=10), 2)
        self.assert_untouched()


if __name__ == "__main__":
    unittest.main()
