"""Installing with "/s", installing again over an installation, and installing while the program runs."""

import unittest

from harness import new_uid, wait_for
from installation import InstallTestCase


def defaults(file_name):
    """The settings an installation writes, in order."""
    return [("key", ""), ("uid", ""), ("start", "0"), ("gid", "307"), ("Install", ""), ("DName", ""),
            ("hotkey", "121"), ("hotName", "F10"), ("filename", file_name), ("inner", "1")]


class InstallAgainTest(InstallTestCase):
    def test_second_installation_keeps_the_program(self):
        first_uid, second_uid = new_uid(), new_uid()
        first = self.wine.download(first_uid + "_abc.exe")
        self.assertEqual(self.wine.run(first, "/s"), 0)
        self.assertEqual(self.installed_copies(), {}, '"/s" starts nothing')
        self.assert_installed(first_uid, first)
        self.assertEqual(self.wine.read_ini(self.wine.linux_path(self.inst.ini)), defaults(first_uid + "_abc.exe"))
        self.assert_records(first_uid, ["1", "2", "3"])

        # A newer download (other bytes) installs again, but the installed program stays as it was.
        with open(first, "rb") as f:
            newer = self.wine.download(second_uid + "_def.exe", f.read() + b"newer download")
        self.assertEqual(self.wine.run(newer, "/s"), 0)
        self.assert_installed(second_uid, first)
        self.assertEqual(self.wine.read_ini(self.wine.linux_path(self.inst.ini)), defaults(second_uid + "_def.exe"))
        self.assert_records(second_uid, ["1", "2"])
        self.assertEqual(self.installed_copies(), {})

        self.uninstall_silently()
        self.assert_nothing_left()

    def test_no_second_copy_while_one_runs(self):
        uid = new_uid()
        self.assertEqual(self.wine.run(self.wine.download(uid + "_abc.exe"), "/s"), 0)
        self.wine.start(self.inst.exe, "ns", cwd=self.wine.linux_path(self.inst.folder))
        running = wait_for(self.installed_copies, 10, "the installed copy to start")
        wait_for(lambda: self.wine.windows("KaltoVeskora", next(iter(running))), 20, "the launcher window")

        again = self.wine.download(uid + "_xyz.exe")
        self.assertEqual(self.wine.run(again), 0)
        self.assertEqual(self.installed_copies(), running, "no second copy started")
        # The settings defaults are written all the same.
        self.assertEqual(self.wine.read_ini(self.wine.linux_path(self.inst.ini)), defaults(uid + "_xyz.exe"))
        self.assert_records(uid, ["1", "2", "3", "1", "2"])


if __name__ == "__main__":
    unittest.main()
