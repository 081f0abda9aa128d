"""The downloaded file's name and the command line: the uid in the list and the records, and what the installed
copy is started with."""

import random
import unittest

from harness import new_uid, wait_for
from installation import InstallTestCase


class InstallerNameTest(InstallTestCase):
    def test_empty_uid_has_no_uid_entry(self):
        downloaded = self.wine.download("_x.exe")
        self.assertEqual(self.wine.run(downloaded, "/s"), 0)
        self.assert_installed("", downloaded)  # the expected list has no type-8 entry for an empty uid
        self.assertNotIn("<Type>8</Type>", self.inst.read(self.inst.list).decode("utf-8"))
        self.assert_records("", ["1", "2", "3"])

    def test_uid_with_ampersand_is_escaped(self):
        uid = "%d&%d" % (random.randint(1000, 9999), random.randint(1000, 9999))
        downloaded = self.wine.download(uid + "_x.exe")
        self.assertEqual(self.wine.run(downloaded, "/s"), 0)
        self.assert_installed(uid, downloaded)
        self.assertIn("<Name>%s</Name><Type>8</Type>" % uid.replace("&", "&amp;"),
                      self.inst.read(self.inst.list).decode("utf-8"))
        self.assert_records(uid, ["1", "2", "3"])

    def test_relaunch_parameters(self):
        cases = [(["30"], ["ns", "30"]), (["-x"], ["ns"]), ([], ["ns"])]
        for args, expected in cases:
            with self.subTest(args=args):
                uid = new_uid()
                self.assertEqual(self.wine.run(self.wine.download(uid + "_abc.exe"), *args), 0)
                copies = wait_for(self.installed_copies, 10, "the installed copy to start")
                self.assertEqual(list(copies.values()), [[self.inst.exe] + expected])
                for pid in copies:
                    self.wine.kill(pid)


if __name__ == "__main__":
    unittest.main()
