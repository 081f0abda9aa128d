#!/usr/bin/env python3
"""Checks of the mock platform server, run against a real subprocess on a free port.

    python3 -m unittest tools/test_mock_platform.py
"""

import hashlib
import http.client
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep tools/ free of __pycache__
sys.path.insert(0, HERE)
import mock_platform  # noqa: E402  (constants shared with the server)

KEY = b"Rq7#vLb2Wd9k"  # written out again so a changed key in the server is noticed


def sign(record_bytes):
    return hashlib.md5(record_bytes + KEY).hexdigest()


class MockPlatformTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.log_path = os.path.join(cls.tmp.name, "requests.jsonl")
        cls.proc = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "mock_platform.py"), "--port", "0", "--log", cls.log_path],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = cls.proc.stdout.readline().strip()
        prefix = "mock platform listening on http://127.0.0.1:"
        if not line.startswith(prefix):
            cls.proc.kill()
            raise RuntimeError("unexpected first line: %r" % line)
        cls.port = int(line[len(prefix):])

    @classmethod
    def tearDownClass(cls):
        if cls.proc.poll() is None:
            cls.proc.kill()
            cls.proc.wait()
        cls.proc.stdout.close()
        cls.proc.stderr.close()
        cls.tmp.cleanup()

    def setUp(self):
        status, _, _ = self.get("/__control/reset")
        self.assertEqual(status, 200)

    # -- helpers -------------------------------------------------------------

    def raw_request(self, target, timeout=5.0, headers=()):
        """Send a GET with the target bytes exactly as given; returns the whole answer (b"" when dropped)."""
        lines = [b"GET " + target + b" HTTP/1.1", b"Host: 127.0.0.1:%d" % self.port]
        lines += [h.encode("latin-1") for h in headers]
        with socket.create_connection(("127.0.0.1", self.port), timeout=timeout) as sock:
            sock.sendall(b"\r\n".join(lines) + b"\r\n\r\n")
            chunks = []
            while True:
                data = sock.recv(65536)
                if not data:
                    break
                chunks.append(data)
        return b"".join(chunks)

    def get(self, target, timeout=5.0, headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            conn.request("GET", target, headers=headers or {})
            resp = conn.getresponse()
            return resp.status, resp.read(), resp
        finally:
            conn.close()

    def log_entries(self):
        with open(self.log_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def entries_for(self, raw_path):
        return [e for e in self.log_entries() if e.get("raw_path") == raw_path]

    def entries_for_bytes(self, target):
        """Entries whose request target had exactly these bytes."""
        return [e for e in self.log_entries()
                if e.get("raw_path_hex", e["raw_path"].encode("utf-8").hex()) == target.hex()]

    def heartbeat_path(self, userid):
        return "/?m=game&c=heartbeat&userid=%s&g_id=58&f_id=3&type=cs" % userid

    # -- statistics records --------------------------------------------------------

    def test_stat_records(self):
        good = b"vesk|10001|4|159372|||||00-1A-2B-3C-4D-5E|1500000000"
        tampered = b"vesk|10001|4|159372|||||00-1A-2B-3C-4D-5E|1500000001"
        chinese = "vesk|测试01|1|159372|||||00-1A-2B-3C-4D-5E|1500000002"
        cases = [
            # name, target bytes, expected valid, expected answer
            ("good", b"/receive/micoclient?log=" + good + b"|" + sign(good).encode(), True, b"1"),
            ("tampered time", b"/receive/micoclient?log=" + tampered + b"|" + sign(good).encode(), False, b"0"),
            ("upper-case hex", b"/receive/micoclient?log=" + good + b"|" + sign(good).upper().encode(), False, b"0"),
            ("no signature", b"/receive/micoclient?log=" + good, False, b"0"),
            ("cp936 bytes on the wire",
             b"/receive/micoclient?log=" + chinese.encode("gbk") + b"|" + sign(chinese.encode("gbk")).encode(),
             True, b"1"),
            ("utf-8 bytes on the wire, signed over cp936",
             b"/receive/micoclient?log=" + chinese.encode("utf-8") + b"|" + sign(chinese.encode("gbk")).encode(),
             True, b"1"),
            ("utf-8 bytes signed over utf-8",
             b"/receive/micoclient?log=" + chinese.encode("utf-8") + b"|" + sign(chinese.encode("utf-8")).encode(),
             False, b"0"),
        ]
        for name, target, valid, answer in cases:
            with self.subTest(name):
                reply = self.raw_request(target)
                self.assertTrue(reply.startswith(b"HTTP/1.1 200"), reply[:40])
                self.assertEqual(reply.split(b"\r\n\r\n", 1)[1], answer)
                hits = self.entries_for_bytes(target)
                self.assertEqual(len(hits), 1, name)
                self.assertEqual(hits[0]["stat"]["valid"], valid, hits[0]["stat"])

        good_entry = [e for e in self.log_entries() if e.get("stat", {}).get("sign") == sign(good)][0]
        self.assertEqual(good_entry["stat"]["record"], good.decode())
        self.assertEqual(good_entry["stat"]["fields"],
                         ["vesk", "10001", "4", "159372", "", "", "", "", "00-1A-2B-3C-4D-5E", "1500000000"])
        self.assertTrue(good_entry["stat"]["well_formed"])
        self.assertEqual(good_entry["stat"]["matched"], "raw, ascii")
        chinese_entries = [e for e in self.log_entries() if e.get("stat", {}).get("fields", [""])[-1] == "1500000002"]
        self.assertTrue(all(e["stat"]["fields"][1] == "测试01" for e in chinese_entries))

    def test_stat_signature_helper_matches_independent_md5(self):
        for record in ["vesk|10001|4|159372|||||00-1A-2B-3C-4D-5E|1500000000", "vesk|用户|1|159372|||||x|0"]:
            with self.subTest(record):
                self.assertEqual(mock_platform.stat_signature(record), sign(record.encode("gbk")))

    def test_stat_malformed_record_is_flagged(self):
        record = b"vesk|10001|9|159372||||x|00-1a-2b-3c-4d-5e|t"
        self.raw_request(b"/receive/micoclient?log=" + record + b"|" + sign(record).encode())
        entry = [e for e in self.log_entries() if e.get("stat", {}).get("record") == record.decode()][0]
        self.assertTrue(entry["stat"]["valid"])  # signed correctly ...
        self.assertFalse(entry["stat"]["well_formed"])  # ... but not a record the client builds
        self.assertEqual(len(entry["stat"]["problems"]), 4, entry["stat"]["problems"])

    # -- heartbeat -------------------------------------------------------------

    def test_heartbeat_modes(self):
        cases = [("one", "hb-one", b"1"), ("zero", "hb-zero", b"0")]
        for mode, userid, body in cases:
            with self.subTest(mode):
                self.get("/__control/heartbeat?mode=" + mode)
                status, got, _ = self.get(self.heartbeat_path(userid))
                self.assertEqual((status, got), (200, body))
                entry = self.entries_for(self.heartbeat_path(userid))[-1]
                self.assertEqual(entry["heartbeat"]["userid"], userid)
                self.assertEqual(entry["heartbeat"]["g_id"], "58")
                self.assertEqual(entry["heartbeat"]["f_id"], "3")
                self.assertTrue(entry["heartbeat"]["well_formed"])
                self.assertEqual(entry["heartbeat"]["answer"], mode)

    def test_heartbeat_default_is_one_and_reset_restores_it(self):
        self.get("/__control/heartbeat?mode=zero")
        self.get("/__control/reset")
        self.assertEqual(self.get(self.heartbeat_path("hb-reset"))[1], b"1")

    def test_heartbeat_drop(self):
        self.get("/__control/heartbeat?mode=drop")
        reply = self.raw_request(self.heartbeat_path("hb-drop").encode())
        self.assertEqual(reply, b"")
        self.assertEqual(len(self.entries_for(self.heartbeat_path("hb-drop"))), 1)

    def test_heartbeat_drop_with_reset(self):
        self.get("/__control/heartbeat?mode=drop&rst=1")
        with self.assertRaises(ConnectionResetError):
            self.raw_request(self.heartbeat_path("hb-rst").encode())
        self.assertEqual(len(self.entries_for(self.heartbeat_path("hb-rst"))), 1)

    def test_heartbeat_delay_outlasts_client_timeout(self):
        self.get("/__control/heartbeat?mode=delay&seconds=1")
        with self.assertRaises(socket.timeout):
            self.get(self.heartbeat_path("hb-delay"), timeout=0.3)
        self.assertEqual(len(self.entries_for(self.heartbeat_path("hb-delay"))), 1)
        # A patient client gets the answer after the delay.
        self.assertEqual(self.get(self.heartbeat_path("hb-delay2"), timeout=5)[1], b"1")

    def test_control_rejects_unknown_mode(self):
        status, _, _ = self.get("/__control/heartbeat?mode=sometimes")
        self.assertEqual(status, 400)

    def test_control_post_form(self):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        conn.request("POST", "/__control/heartbeat", body="mode=zero",
                     headers={"Content-Type": "application/x-www-form-urlencoded"})
        state = json.loads(conn.getresponse().read())
        conn.close()
        self.assertEqual(state["heartbeat"]["mode"], "zero")

    # -- raw path, HTTP-client bodies ------------------------------------------------

    def test_raw_path_kept_exactly(self):
        target = b"/x/y%2Fz?log=a|b%7C&c=<>&d=%E4%BD%A0"
        reply = self.raw_request(target)
        self.assertTrue(reply.startswith(b"HTTP/1.1 404"))
        entry = self.entries_for(target.decode())[-1]
        self.assertEqual(entry["path"], "/x/y%2Fz")
        self.assertEqual(entry["query"], "log=a|b%7C&c=<>&d=%E4%BD%A0")
        self.assertNotIn("raw_path_hex", entry)

    def test_raw_path_with_eight_bit_bytes(self):
        target = b"/__test/echo-query?uid=" + "玩家".encode("gbk")
        reply = self.raw_request(target)
        self.assertEqual(reply.split(b"\r\n\r\n", 1)[1], b"uid=" + "玩家".encode("gbk"))
        entry = [e for e in self.log_entries() if e.get("raw_path_hex") == target.hex()]
        self.assertEqual(len(entry), 1)
        self.assertEqual(entry[0]["query"], "uid=玩家")

    def test_bodies(self):
        cases = [
            ("/__test/hello", 200, b"hello"),
            ("/__test/chinese", 200, mock_platform.CHINESE_TEXT.encode("utf-8")),
            ("/__test/zero", 200, b"abc\x00def"),
            ("/__test/bytes?len=30&zero=3,28", 200, b"abc\x00efghijklmnopqrstuvwxyzab\x00d"),
        ]
        for target, status, body in cases:
            with self.subTest(target):
                got_status, got_body, _ = self.get(target)
                self.assertEqual((got_status, got_body), (status, body))
        self.assertEqual(mock_platform.CHINESE_TEXT, "你好，世界")

    def test_unknown_paths_are_404_pages(self):
        for target in ["/__test/notfound", "/no/such/page", "/receive", "/__test/nothing-here"]:
            with self.subTest(target):
                status, body, resp = self.get(target)
                self.assertEqual(status, 404)
                self.assertIn("text/html", resp.getheader("Content-Type"))
                self.assertIn(mock_platform.NOT_FOUND_MARK.encode(), body)

    def test_echo_headers_in_received_order(self):
        headers = ["Accept: *,*/*", "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"]
        reply = self.raw_request(b"/__test/echo-headers", headers=headers)
        lines = reply.split(b"\r\n\r\n", 1)[1].decode().splitlines()
        self.assertEqual(lines, ["Host: 127.0.0.1:%d" % self.port] + headers)
        entry = self.entries_for("/__test/echo-headers")[-1]
        self.assertEqual([n for n, _ in entry["header_list"]], ["Host", "Accept", "Accept-Language", "Content-Type"])

    def test_silent_and_drop(self):
        with self.assertRaises(socket.timeout):
            self.get("/__silent", timeout=0.3)
        self.assertEqual(self.raw_request(b"/__drop"), b"")
        self.assertEqual(len(self.entries_for("/__silent")), 1)

    # -- pages ---------------------------------------------------------------

    def test_pages(self):
        base = "http://127.0.0.1:%d" % self.port
        cases = [
            ("/game/s/wdAccess/?name=vesk&uid=10001&suid=77",
             ["OpenGameWindowNew(GAME_URL, ZONE_ID, ZONE_NAME, \"\")", '"ShowIM"', '"openPay"', '"ShowBindBtn"',
              '"AccountRegisterSuccess"', '"OpenGame"', "client=1", base + "/game/play/?zone=1&uid=10001",
              "10001|58|3|"]),
            ("/game/s/jihuo/?game=tarq", ['"CloseBindPage"', "API_success()", '"AccountBindSuccess"']),
            ("/game/pay/?g=vesk&uid=1", ['"closedBox"', base + "/?g=vesk"]),
            ("/kefu/chat/", ['"DialogBoxTopInfo"', "API_close()", "window.close()"]),
            ("/game/play/?zone=2", ["client://loadgame?url=" + base + "/game/play/?zone=2&amp;loaded=1"]),
            ("/?g=vesk", ["充值中心"]),
            ("/", ["官网"]),
            ("/kefu/", ["客服中心"]),
            ("/forum.php?mod=forumdisplay&fid=184", ["游戏论坛"]),
        ]
        for target, needles in cases:
            with self.subTest(target):
                status, body, resp = self.get(target)
                self.assertEqual(status, 200)
                self.assertEqual(resp.getheader("Content-Type"), "text/html; charset=utf-8")
                text = body.decode("utf-8")
                self.assertIn('charset=utf-8', text)
                for needle in needles:
                    self.assertIn(needle, text)

    def test_login_page_escapes_its_values(self):
        _, body, _ = self.get("/game/s/wdAccess/?name=vesk&uid=%3Cb%3E%22&suid=</script>")
        text = body.decode("utf-8")
        markup, _, script = text.partition("<script")
        self.assertNotIn("<b>", markup)
        self.assertIn("&lt;b&gt;&quot;", markup)
        self.assertEqual(script.count("</script>"), 1)  # the value cannot end the script early


class StopTest(unittest.TestCase):
    def test_sigterm_stops_while_a_connection_is_held(self):
        with tempfile.TemporaryDirectory() as tmp:
            proc = subprocess.Popen(
                [sys.executable, os.path.join(HERE, "mock_platform.py"), "--port", "0",
                 "--log", os.path.join(tmp, "log.jsonl")],
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            try:
                port = int(proc.stdout.readline().rsplit(":", 1)[1])
                sock = socket.create_connection(("127.0.0.1", port), timeout=5)
                sock.sendall(b"GET /__silent HTTP/1.1\r\nHost: x\r\n\r\n")
                time.sleep(0.2)
                proc.send_signal(signal.SIGTERM)
                self.assertEqual(proc.wait(timeout=5), 0)
                self.assertEqual(sock.recv(100), b"")  # released without an answer
                sock.close()
            finally:
                if proc.poll() is None:
                    proc.kill()
                    proc.wait()
                proc.stdout.close()


if __name__ == "__main__":
    unittest.main()
