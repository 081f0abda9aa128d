"""A player's first installation: the downloaded file installs everything, reports it, starts the installed
copy with "ns"; the uninstaller refuses while the copy runs and afterwards removes it all."""

import unittest

from harness import new_uid, wait_for
from installation import InstallTestCase


class FirstInstallTest(InstallTestCase):
    def test_install_relaunch_and_uninstall(self):
        uid = new_uid()
        downloaded = self.wine.download(uid + "_abc.exe")
        self.assertEqual(self.wine.run(downloaded), 0)

        copies = wait_for(self.installed_copies, 10, "the installed copy to start")
        self.assertEqual(list(copies.values()), [[self.inst.exe, "ns"]])
        pid = next(iter(copies))
        # Once its window shows, the launcher has read and rewritten its settings.
        wait_for(lambda: self.wine.windows("KaltoVeskora", pid), 20, "the launcher window")
        self.assert_installed(uid, downloaded)
        self.assert_records(uid, ["1", "2", "3"])
        # The launcher's first start has turned the installer's name into uid and channel id.
        self.assertEqual(self.wine.read_ini(self.wine.linux_path(self.inst.ini)),
                         [("key", ""), ("uid", uid), ("start", "1"), ("gid", "307"), ("Install", ""),
                          ("DName", ""), ("hotkey", "121"), ("hotName", "F10"), ("filename", "abc"),
                          ("inner", "1")])

        # While the program runs the uninstaller refuses and removes nothing.
        self.assertEqual(self.wine.run(self.wine.linux_path(self.inst.uninstaller), "/S"), 3)
        self.assert_installed(uid, downloaded)

        self.wine.kill(pid)
        self.uninstall_silently()
        self.assert_nothing_left()


if __name__ == "__main__":
    unittest.main()
