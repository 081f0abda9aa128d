"""What one installation of the client is expected to leave in a prefix, and checks for it."""

import html
import os

from harness import UNISTS_EXE, WineTestCase, stat_records, wait_for

INI_KEYS = ["key", "uid", "start", "gid", "Install", "DName", "hotkey", "hotName", "filename", "inner"]
UNINSTALL_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\veskplay"


class Installation:
    """Windows paths of an installation in the prefix wine."""

    def __init__(self, wine):
        self.wine = wine
        self.maker = wine.appdata + "\\kaltogames"
        self.folder = self.maker + "\\veskplay\\"
        self.exe = self.folder + "veskplay.exe"
        self.uninstaller = self.folder + "unists.exe"
        self.ini = self.folder + "static.ini"
        self.list = self.folder + "unist\\Unist.xml"
        self.menu = wine.appdata + "\\Microsoft\\Windows\\Start Menu\\Programs\\Veskora"
        self.menu_links = [self.menu + "\\Veskora\\Veskora.lnk", self.menu + "\\Veskora\\卸载Veskora.lnk"]
        self.desktop_link = "C:\\users\\%s\\Desktop\\Veskora.lnk" % wine.user

    def exists(self, win):
        return os.path.lexists(self.wine.linux_path(win))

    def read(self, win):
        with open(self.wine.linux_path(win), "rb") as f:
            return f.read()

    def entries(self, uid):
        """The uninstall list of an installation for uid, in order."""
        items = [(self.menu_links[0], 3), (self.desktop_link, 3), (self.menu_links[1], 3), ("veskplay", 9),
                 (self.exe, 3), (self.ini, 3), (self.folder + "unist", 4), ("Veskora", 5), ("vesk", 7)]
        if uid:
            items.append((uid, 8))
        return items + [("veskplay", 10)]

    def list_xml(self, uid):
        nodes = "".join("<Node><Name>%s</Name><Type>%d</Type></Node>" % (html.escape(text, quote=False), kind)
                        for text, kind in self.entries(uid))
        return "<unist>%s</unist>" % nodes


class InstallTestCase(WineTestCase):
    """A test of installing (and uninstalling) the client in its own prefix."""

    def setUp(self):
        super().setUp()
        self.inst = Installation(self.wine)

    def installed_copies(self):
        """{pid: argv} of the processes that run the installed executable."""
        return {pid: argv for pid, argv in self.wine.processes("veskplay.exe").items()
                if argv[0].lower() == self.inst.exe.lower()}

    def assert_records(self, uid, events):
        self.assertEqual(stat_records(uid, self.started), [(e, True) for e in events],
                         "statistics records (event, valid) for uid %r" % uid)

    def assert_installed(self, uid, downloaded):
        """Everything an installation for uid writes, except the settings values (the launcher changes them)."""
        inst = self.inst
        with open(downloaded, "rb") as f:
            self.assertEqual(inst.read(inst.exe), f.read(), "installed executable")
        with open(UNISTS_EXE, "rb") as f:
            self.assertEqual(inst.read(inst.uninstaller), f.read(), "uninstaller")
        self.assertEqual([k for k, _ in self.wine.read_ini(self.wine.linux_path(inst.ini))], INI_KEYS)
        self.assertEqual(self.wine.registry(UNINSTALL_KEY), {
            "DisplayName": "Veskora",
            "UninstallString": '"%s"' % inst.uninstaller,
            "DisplayIcon": inst.exe + ",0",
            "URLInfoAbout": "http://127.0.0.1:%s/" % os.environ["VESK_MOCK_PORT"],
            "Publisher": "Brisken",
            "PRODUCT_Version": "1.1.5.1",
        })
        for link, target in [(inst.menu_links[0], inst.exe), (inst.desktop_link, inst.exe),
                             (inst.menu_links[1], inst.uninstaller)]:
            self.assertTrue(inst.exists(link), link)
            self.assertIn(target.encode("ascii"), inst.read(link), "target of " + link)
        xml = inst.read(inst.list).decode("utf-8")
        self.assertEqual(xml.rstrip("\r\n"), inst.list_xml(uid))

    def assert_nothing_left(self):
        inst = self.inst
        for win in [inst.maker, inst.menu, inst.desktop_link]:
            self.assertFalse(inst.exists(win), win + " is left")
        self.assertIsNone(self.wine.registry(UNINSTALL_KEY), "uninstall key is left")
        temp = self.wine.linux_path("C:\\users\\%s\\Temp" % self.wine.user)
        self.assertEqual([n for n in os.listdir(temp) if n.lower().startswith("uns")], [], "uninstaller copy left")

    def uninstall_silently(self):
        self.assertEqual(self.wine.run(self.wine.linux_path(self.inst.uninstaller), "/S"), 0, "unists.exe /S")
        temp = self.wine.linux_path("C:\\users\\%s\\Temp" % self.wine.user)
        wait_for(lambda: not self.inst.exists(self.inst.maker) and
                 not [n for n in os.listdir(temp) if n.lower().startswith("uns")], 20,
                 "the installation folder and the uninstaller's copy to go")
