#!/usr/bin/env python3
"""Mock platform: every web server the client talks to, on loopback.

Usage:
    python3 tools/mock_platform.py [--port 18080] [--host 127.0.0.1] [--log FILE]
                                   [--append] [--keep-alive]

Prints "mock platform listening on http://HOST:PORT" once it accepts connections
(--port 0 picks a free port and prints it). SIGTERM or SIGINT stops it; held
connections (/__silent, delayed heartbeats) are released at once.

Every response carries "Connection: close" unless --keep-alive is given, so each
request of the client arrives on its own connection and a dropped answer is never
silently retried by the client's HTTP stack on a reused socket (that would make
request counts in the log unreliable).

Endpoints (paths are matched exactly; a trailing "/" is optional on page paths):

  Path and query                               Answer
  -------------------------------------------  -------------------------------------------------
  GET /receive/micoclient?log=REC|SIGN         statistics record; 200 "1" when the signature is
                                               right, 200 "0" when not (logged with "stat")
  GET /?m=game&c=heartbeat&userid=U&g_id=G     heartbeat; answered as the heartbeat mode says
      &f_id=F&type=cs                          (default "one": 200 "1"); logged with "heartbeat"
  GET /?g=vesk                                 pay site (the default pay page and the pay tab)
  GET /  (any other query)                     the game's official site (home tab)
  GET /kefu/                                   customer-service site (service tab)
  GET /forum.php?mod=forumdisplay&fid=184      forum (forum tab)
  GET /game/s/wdAccess/?name=vesk&uid=U&suid=S login page: buttons calling window.external
                                               OpenGameWindowNew and WD_JAPI OpenGame, ShowIM,
                                               openPay, ShowBindBtn, AccountRegisterSuccess,
                                               getClientVersion/getApiVersion; links with and
                                               without "client=1"
  GET /game/s/jihuo/?game=tarq                 activation page: API_success, AccountBindSuccess,
                                               close with WD_JAPI "CloseBindPage"
  GET /game/pay/?g=vesk&uid=U                  pay popup page (the address openPay hands over):
                                               close with WD_JAPI "closedBox"
  GET /kefu/chat/?agent=NAME                   chat popup page (for a stand-in chat plug-in's
                                               link): WD_JAPI "DialogBoxTopInfo", API_close,
                                               window.close()
  GET /game/play/?zone=N                       game page with a client://loadgame link
  GET /__test/hello                            200 text/plain "hello"
  GET /__test/chinese                          200 text/plain UTF-8 CHINESE_TEXT ("你好，世界")
  GET /__test/zero                             200 application/octet-stream ZERO_BODY
                                               (b"abc\\x00def")
  GET /__test/bytes?len=N&zero=I,J             200, N bytes "abc...zabc..." with zero bytes at
                                               offsets I, J (multi-read and zero-byte tests)
  GET /__test/echo-headers                     200 text/plain, the request headers one per line
                                               "Name: value\\n", in received order
  GET /__test/echo-query                       200 octet-stream, the raw query bytes as received
  GET /__test/delay?seconds=S                  waits S seconds (max 120), then 200 "hello"
  GET /__test/status?code=N                    status N with a small HTML page
  GET /__test/notfound, any unknown path       404 with a small HTML page (NOT_FOUND_MARK inside)
  ANY /__silent                                reads the request, never answers; holds the
                                               connection until the client closes it, the server
                                               stops, or 120 s pass; then closes it
  ANY /__drop[?rst=1]                          closes the connection without any response
                                               (rst=1: abortive close, the client sees a reset)

Control paths (GET with a query, or POST with a form body; answer is JSON):

  /__control/heartbeat?mode=one               later heartbeats answer 200 "1" (the default)
  /__control/heartbeat?mode=zero              later heartbeats answer 200 "0"
  /__control/heartbeat?mode=delay&seconds=S   wait S seconds (default 90), then 200 "1"
  /__control/heartbeat?mode=drop[&rst=1]      close the connection without a response
  /__control/heartbeat?mode=silent            never answer (like /__silent)
      optional &body=TEXT                     body for "one"/"delay" instead of "1"
  /__control/login?auto=new|japi|off          login page enters the game by itself on load
                                              (real Windows demos): via OpenGameWindowNew or
                                              WD_JAPI "OpenGame"; off by default
  /__control/reset[?log=1]                    heartbeat mode back to "one", autologin off,
                                              counters cleared; log=1 also empties the log
  /__control/state                            current modes and counters
  /__control/log[?since=N]                    the JSON lines logged so far (from line N)

Log: one JSON object per line, UTF-8, flushed after each line, written when the
request has been read and before it is answered (so held and dropped requests
appear too). Control requests are logged like any other. Fields:

  time         unix time, float
  client       "ip:port" of the peer
  method       request method
  raw_path     the request target exactly as received: path and query, nothing
               percent-decoded (bytes shown as UTF-8 if valid, else code page 936,
               else Latin-1; raw_path_hex holds the exact bytes whenever they are
               not plain ASCII)
  path         the path part of raw_path (before the first "?"), not decoded
  query        the raw query (after the first "?"), not decoded; "" when absent
  version      HTTP version of the request line
  headers      {name: value} in received order (repeated names joined with ", ")
  header_list  [[name, value], ...] exactly in received order
  route        the endpoint that handled it ("stat", "heartbeat", "login", "404", ...)
  stat         statistics records only:
               {"record", "sign", "valid", "fields": [10 texts], "well_formed",
                "problems": [...], "matched": how the record bytes were read}
  heartbeat    heartbeats only: {"userid", "g_id", "f_id", "type", "well_formed",
               "answer": mode used}
  body         request body as text, when there is one

Statistics signature: MD5 over the bytes of the record (everything between "log="
and the last "|") immediately followed by STAT_KEY, the text being taken as bytes of
code page 936 (ASCII text is its own bytes), written as 32 lower-case hex digits.
The client sends the record unescaped, so the HTTP stack decides which bytes travel
for non-ASCII text: bytes that are valid UTF-8 are read as UTF-8 text and checked
against md5(cp936(text) + key); any other bytes are taken as the ANSI bytes and
checked against md5(bytes + key). The same is tried once more after percent-decoding
(for a stack that escapes what it sends); either match makes the record valid.
"matched" in the log says which reading matched. A client that signs UTF-8 bytes
instead of code page 936 bytes is therefore caught.
"""

import argparse
import codecs
import hashlib
import html
import json
import re
import select
import signal
import socket
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

STAT_KEY = "Rq7#vLb2Wd9k"
STAT_FIXED_FIELD = "159372"
HELLO_TEXT = "hello"
CHINESE_TEXT = "你好，世界"  # U+4F60 U+597D U+FF0C U+4E16 U+754C
ZERO_BODY = b"abc\x00def"
NOT_FOUND_MARK = "404 Not Found"
SILENT_MAX_SECONDS = 120.0
HEARTBEAT_DEFAULT_DELAY = 90.0
HEARTBEAT_MODES = ("one", "zero", "delay", "drop", "silent")
AUTOLOGIN_MODES = ("off", "new", "japi")

# Values the mock login page hands to the client.
ZONE_ID = "1"
ZONE_NAME = "双线1区"
GAME_ID = "58"
FRIEND_ID = "3"
AGENT_NAME = "客服小美"


def _cp936_fallback(err):
    """Encode-error handler matching Windows code page 936 for what Python's gbk lacks."""
    bad = err.object[err.start:err.end]
    out = b"".join(b"\x80" if ch == "\u20ac" else b"?" for ch in bad)
    return out, err.end


codecs.register_error("mock_cp936", _cp936_fallback)


def encode_cp936(text):
    """Bytes of text in code page 936; characters outside it become '?' as with WideCharToMultiByte."""
    return text.encode("gbk", errors="mock_cp936")


def bytes_to_text(data):
    """Best-effort readable text of raw bytes: UTF-8, else code page 936, else Latin-1."""
    for enc in ("utf-8", "gbk"):
        try:
            return data.decode(enc)
        except UnicodeDecodeError:
            pass
    return data.decode("latin-1")


def stat_signature(record):
    """The signature the client puts after the record: md5(cp936(record) + key), lower-case hex."""
    return hashlib.md5(encode_cp936(record) + STAT_KEY.encode("ascii")).hexdigest()


def _stat_candidates(raw):
    """Ways the record's bytes may have travelled: (description, the bytes the client hashed).

    Bytes that are valid UTF-8 (and not plain ASCII) are taken as the HTTP stack's UTF-8
    form of the text, which the client signed as code page 936; any other bytes are taken
    as the ANSI bytes themselves. A percent-decoded reading is tried as well, for a stack
    that escapes what it sends.
    """
    stages = [("raw", raw)]
    unquoted = urllib.parse.unquote_to_bytes(raw)
    if unquoted != raw:
        stages.append(("percent-decoded", unquoted))
    out = []
    for name, data in stages:
        try:
            text = data.decode("utf-8")
        except UnicodeDecodeError:
            out.append((name + ", cp936 bytes", data))
            continue
        if text.isascii():
            out.append((name + ", ascii", data))
        else:
            out.append((name + ", utf-8 signed as cp936", encode_cp936(text)))
    return out


MAC_RE = re.compile(r"^[0-9A-F]{2}(-[0-9A-F]{2}){5}$")
TIME_RE = re.compile(r"^-?[0-9]+$")


def check_stat(query_bytes):
    """Parse and verify one statistics query; returns the dict logged as "stat"."""
    value = None
    if query_bytes.startswith(b"log="):
        value = query_bytes[4:]
    else:
        pos = query_bytes.find(b"&log=")
        if pos >= 0:
            value = query_bytes[pos + 5:]
    problems = []
    if value is None:
        return {"record": "", "sign": "", "valid": False, "fields": [], "well_formed": False,
                "problems": ["no log= in the query"], "matched": None}
    raw_record, bar, raw_sign = value.rpartition(b"|")
    if not bar:
        raw_record, raw_sign = value, b""
        problems.append("no '|' before the signature")
    sign = raw_sign.decode("latin-1")
    matched = None
    if re.fullmatch(r"[0-9a-f]{32}", sign):
        key = STAT_KEY.encode("ascii")
        for how, data in _stat_candidates(raw_record):
            if hashlib.md5(data + key).hexdigest() == sign:
                matched = how
                break
        if matched is None:
            problems.append("signature mismatch")
    else:
        problems.append("signature is not 32 lower-case hex digits")
    record = bytes_to_text(raw_record)
    fields = record.split("|")
    if len(fields) != 10:
        problems.append("record has %d fields, not 10" % len(fields))
    else:
        if fields[0] != "vesk":
            problems.append("product is not vesk")
        if fields[2] not in ("1", "2", "3", "4"):
            problems.append("event is not 1 to 4")
        if fields[3] != STAT_FIXED_FIELD:
            problems.append("field 4 is not " + STAT_FIXED_FIELD)
        if any(fields[4:8]):
            problems.append("fields 5 to 8 are not empty")
        if not MAC_RE.match(fields[8]):
            problems.append("field 9 is not an upper-case adapter address")
        if not TIME_RE.match(fields[9]):
            problems.append("field 10 is not a decimal time")
    valid = matched is not None
    return {"record": record, "sign": sign, "valid": valid, "fields": fields,
            "well_formed": not problems, "problems": problems, "matched": matched}


def parse_raw_pairs(query):
    """Split a raw query at '&' and the first '=' of each part, decoding nothing."""
    pairs = []
    for part in query.split("&") if query else []:
        name, _, value = part.partition("=")
        pairs.append((name, value))
    return pairs


def js(text):
    """A JavaScript string literal that is also safe inside a <script> element."""
    return json.dumps(text).replace("</", "<\\/")


def esc(text):
    return html.escape(text, quote=True)


# ---------------------------------------------------------------------------
# Shared state


class PlatformState:
    def __init__(self, log_path, append, keep_alive):
        self.lock = threading.Lock()
        self.stop = threading.Event()
        self.keep_alive = keep_alive
        self.log_path = log_path
        self.log_file = open(log_path, "a" if append else "w", encoding="utf-8")
        self.lines = []
        self.reset()

    def reset(self):
        with self.lock:
            self.heartbeat_mode = "one"
            self.heartbeat_seconds = HEARTBEAT_DEFAULT_DELAY
            self.heartbeat_body = "1"
            self.heartbeat_rst = False
            self.autologin = "off"
            self.counters = {"requests": 0, "heartbeats": 0, "stats": 0, "stats_valid": 0}

    def snapshot(self):
        with self.lock:
            return {"heartbeat": {"mode": self.heartbeat_mode, "seconds": self.heartbeat_seconds,
                                  "body": self.heartbeat_body, "rst": self.heartbeat_rst},
                    "autologin": self.autologin, "counters": dict(self.counters),
                    "log_lines": len(self.lines)}

    def count(self, name):
        with self.lock:
            self.counters[name] = self.counters.get(name, 0) + 1

    def log(self, entry):
        line = json.dumps(entry, ensure_ascii=False)
        with self.lock:
            self.counters["requests"] += 1
            self.lines.append(line)
            self.log_file.write(line + "\n")
            self.log_file.flush()

    def clear_log(self):
        with self.lock:
            self.lines = []
            self.log_file.seek(0)
            self.log_file.truncate()
            self.log_file.flush()

    def close(self):
        with self.lock:
            self.log_file.close()


# ---------------------------------------------------------------------------
# Pages


def page(title, body, script=""):
    head = ('<!DOCTYPE html>\n<html>\n<head>\n'
            '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">\n'
            '<meta http-equiv="X-UA-Compatible" content="IE=edge">\n'
            '<title>%s</title>\n'
            '<style>body{font:12px sans-serif;margin:8px}button{margin:2px}#out{color:#06c}</style>\n'
            '</head>\n' % esc(title))
    tail = ""
    if script:
        tail = "<script type=\"text/javascript\">\n" + script + "\n</script>\n"
    return head + "<body>\n" + body + "\n" + tail + "</body>\n</html>\n"


# Helpers every bridge page shares; ES3 only, the control may run an old engine.
BRIDGE_JS = """
function show(text) {
    var out = document.getElementById("out");
    if (out) { out.innerHTML = ""; out.appendChild(document.createTextNode(text)); }
}
function bridge(name, fn) {
    try { fn(window.external); show(name + " ok"); }
    catch (e) { show(name + ": window.external " + (e.message || e)); }
}
"""


def login_page(base, uid, suid, autologin):
    game_url = base + "/game/play/?zone=" + ZONE_ID + "&uid=" + urllib.parse.quote(uid, safe="")
    pay_url = base + "/game/pay/?g=vesk&uid=" + urllib.parse.quote(uid, safe="")
    # Seven values, each followed by "|": nickname, userid, g_id, f_id, then three for the chat plug-in.
    im_text = "|".join(["玩家" + uid, uid, GAME_ID, FRIEND_ID, "vesk", ZONE_ID, "0"]) + "|"
    script = BRIDGE_JS + """
var GAME_URL = %s, ZONE_ID = %s, ZONE_NAME = %s, PAY_URL = %s, IM_TEXT = %s, AUTO = %s;
function openGameNew() {
    bridge("OpenGameWindowNew", function (x) { x.OpenGameWindowNew(GAME_URL, ZONE_ID, ZONE_NAME, ""); });
}
function openGameJapi() {
    bridge("OpenGame", function (x) { x.WD_JAPI("OpenGame", GAME_URL + "|" + ZONE_ID + "|" + ZONE_NAME); });
}
function showIM() { bridge("ShowIM", function (x) { x.WD_JAPI("ShowIM", IM_TEXT); }); }
function openPay() { bridge("openPay", function (x) { x.WD_JAPI("openPay", PAY_URL); }); }
function showBind() { bridge("ShowBindBtn", function (x) { x.WD_JAPI("ShowBindBtn"); }); }
function registered(v) {
    bridge("AccountRegisterSuccess", function (x) { x.WD_JAPI("AccountRegisterSuccess", v); });
}
function versions() {
    try {
        show("client " + window.external.WD_JAPI("getClientVersion") +
             ", api " + window.external.WD_JAPI("getApiVersion"));
    } catch (e) { show("versions: " + (e.message || e)); }
}
function enterGame(viaJapi) {
    openPay();
    showBind();
    if (viaJapi) { openGameJapi(); } else { openGameNew(); }
    showIM();
}
window.onload = function () {
    if (AUTO == "new") { enterGame(false); }
    if (AUTO == "japi") { enterGame(true); }
};""" % (js(game_url), js(ZONE_ID), js(ZONE_NAME), js(pay_url), js(im_text), js(autologin))
    body = """<h3>Veskora 登录</h3>
<p>用户 %s，渠道 %s</p>
<p>
<button onclick="enterGame(false)">进入游戏</button>
<button onclick="enterGame(true)">进入游戏 (WD_JAPI)</button>
</p>
<p>
<button onclick="openGameNew()">OpenGameWindowNew</button>
<button onclick="openGameJapi()">OpenGame</button>
<button onclick="showIM()">ShowIM</button>
<button onclick="openPay()">openPay</button>
<button onclick="showBind()">ShowBindBtn</button>
<button onclick="registered('1')">AccountRegisterSuccess 1</button>
<button onclick="registered('2')">AccountRegisterSuccess 2</button>
<button onclick="versions()">版本</button>
</p>
<p>
<a href="%s">进入2区 (client=1)</a> |
<a href="%s" target="_blank">新窗口进入3区 (client=1)</a> |
<a href="%s" target="_blank">游戏论坛</a> |
<a href="%s" target="_blank">客服中心</a>
</p>
<p id="out"></p>""" % (
        esc(uid), esc(suid),
        esc(base + "/game/play/?zone=2&client=1"),
        esc(base + "/game/play/?zone=3&client=1"),
        esc(base + "/forum.php?mod=forumdisplay&fid=184"),
        esc(base + "/kefu/"))
    return page("Veskora 登录", body, script)


def jihuo_page(base, game):
    script = BRIDGE_JS + """
function success() { bridge("API_success", function (x) { x.API_success(); }); }
function bound() { bridge("AccountBindSuccess", function (x) { x.WD_JAPI("AccountBindSuccess", "1"); }); }
function closeMe() { bridge("CloseBindPage", function (x) { x.WD_JAPI("CloseBindPage", "1"); }); }"""
    body = """<h3>账号激活</h3>
<p>游戏 %s</p>
<p>
<button onclick="success()">激活成功 (API_success)</button>
<button onclick="bound()">绑定成功 (AccountBindSuccess)</button>
<button onclick="closeMe()">关闭</button>
</p>
<p><a href="%s" target="_blank">帮助</a></p>
<p id="out"></p>""" % (esc(game), esc(base + "/kefu/"))
    return page("账号激活", body, script)


def pay_popup_page(base, uid):
    script = BRIDGE_JS + """
function closeMe() { bridge("closedBox", function (x) { x.WD_JAPI("closedBox"); }); }"""
    body = """<h3>充值</h3>
<p>用户 %s</p>
<p><a href="%s" target="_blank">去充值中心</a></p>
<p><button onclick="closeMe()">关闭</button></p>
<p id="out"></p>""" % (esc(uid), esc(base + "/?g=vesk"))
    return page("充值", body, script)


def chat_page(base, agent):
    script = BRIDGE_JS + """
var AGENT = %s;
function online() { bridge("DialogBoxTopInfo", function (x) { x.WD_JAPI("DialogBoxTopInfo", AGENT + "|在线|1"); }); }
function offline() { bridge("DialogBoxTopInfo", function (x) { x.WD_JAPI("DialogBoxTopInfo", "undefined|离线|0"); }); }
function apiClose() { bridge("API_close", function (x) { x.API_close(); }); }
window.onload = online;""" % js(agent)
    body = """<h3>VIP客服</h3>
<p>
<button onclick="online()">在线</button>
<button onclick="offline()">离线</button>
<button onclick="apiClose()">关闭 (API_close)</button>
<button onclick="window.close()">关闭 (window.close)</button>
</p>
<p><a href="%s" target="_blank">客服中心</a></p>
<p id="out"></p>""" % esc(base + "/kefu/")
    return page("VIP客服", body, script)


def game_page(base, zone, uid):
    again = base + "/game/play/?zone=" + urllib.parse.quote(zone, safe="") + "&loaded=1"
    script = """
var out = document.getElementById("out");
var has = false;
try { has = !!window.external && typeof window.external.WD_JAPI != "undefined"; } catch (e) { has = false; }
out.appendChild(document.createTextNode(has ? "window.external present" : "no window.external"));"""
    body = """<h3>Veskora %s区</h3>
<p>用户 %s</p>
<p><a href="%s">重新载入游戏 (client://loadgame)</a></p>
<p><a href="%s" target="_blank">官网</a></p>
<p id="out"></p>""" % (esc(zone), esc(uid), esc("client://loadgame?url=" + again), esc(base + "/"))
    return page("Veskora", body, script)


def simple_page(title, text):
    return page(title, "<h3>%s</h3>\n<p>%s</p>" % (esc(title), esc(text)))


def not_found_page(path):
    return page(NOT_FOUND_MARK, "<h1>%s</h1>\n<p>%s</p>" % (NOT_FOUND_MARK, esc(path)))


# ---------------------------------------------------------------------------
# Request handling


class MockHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "MockPlatform/1.0"
    sys_version = ""

    @property
    def state(self):
        return self.server.state

    def version_string(self):
        return self.server_version

    def log_message(self, fmt, *args):
        pass  # the JSON log is the record; stderr stays quiet for the test runner

    def parse_request(self):
        ok = super().parse_request()
        if not ok:
            self.state.log({"time": time.time(), "client": self._peer(), "method": "",
                            "raw_path": bytes_to_text(self.raw_requestline.rstrip(b"\r\n")),
                            "route": "bad-request"})
        return ok

    def do_GET(self):
        self._dispatch()

    do_POST = do_HEAD = do_PUT = do_DELETE = do_OPTIONS = do_PATCH = do_GET

    # -- plumbing ----------------------------------------------------------

    def _peer(self):
        try:
            return "%s:%d" % tuple(self.client_address[:2])
        except (TypeError, ValueError):
            return str(self.client_address)

    def _raw_target(self):
        words = self.raw_requestline.rstrip(b"\r\n").split()
        return words[1] if len(words) >= 2 else b""

    def _base(self):
        host = self.headers.get("Host") or "%s:%d" % self.server.server_address[:2]
        return "http://" + host

    def _read_body(self):
        try:
            length = int(self.headers.get("Content-Length") or 0)
        except ValueError:
            length = 0
        return self.rfile.read(length) if length > 0 else b""

    def _send(self, status, body, content_type="text/plain; charset=utf-8"):
        if isinstance(body, str):
            body = body.encode("utf-8")
        try:
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-cache")
            if not self.state.keep_alive:
                self.send_header("Connection", "close")
                self.close_connection = True
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body)
            self.wfile.flush()
        except OSError:
            self.close_connection = True  # the client went away first; nothing left to tell it

    def _send_html(self, status, text):
        self._send(status, text, "text/html; charset=utf-8")

    def _send_json(self, obj, status=200):
        self._send(status, json.dumps(obj, ensure_ascii=False) + "\n", "application/json; charset=utf-8")

    def _drop(self, rst=False):
        """Close the connection without writing a single byte."""
        self.close_connection = True
        try:
            if rst:
                # Linger 0 makes the close abortive; closing here keeps the server's own
                # shutdown from sending a FIN first.
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                self.connection.close()
            else:
                self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def _hold(self, seconds):
        """Wait up to seconds; stop early when the client closes or the server stops.

        Returns "client-closed", "stopped" or "timeout".
        """
        deadline = time.monotonic() + seconds
        sock = self.connection
        while True:
            if self.state.stop.is_set():
                return "stopped"
            left = deadline - time.monotonic()
            if left <= 0:
                return "timeout"
            try:
                readable, _, _ = select.select([sock], [], [], min(0.1, left))
                if readable:
                    if not sock.recv(1, socket.MSG_PEEK):
                        return "client-closed"
                    # Pipelined bytes: nothing to do until the wait ends.
                    self.state.stop.wait(min(0.1, max(left, 0)))
            except OSError:
                return "client-closed"

    # -- dispatch ------------------------------------------------------------

    def _dispatch(self):
        target = self._raw_target()
        path_b, qmark, query_b = target.partition(b"?")
        path = bytes_to_text(path_b)
        query = bytes_to_text(query_b)
        body = b""
        if self.command in ("POST", "PUT", "PATCH"):
            body = self._read_body()
        entry = {"time": time.time(), "client": self._peer(), "method": self.command,
                 "raw_path": bytes_to_text(target), "path": path, "query": query,
                 "version": self.request_version,
                 "headers": {}, "header_list": []}
        try:
            target.decode("ascii")
        except UnicodeDecodeError:
            entry["raw_path_hex"] = target.hex()
        for name, value in self.headers.items():
            entry["header_list"].append([name, value])
            if name in entry["headers"]:
                entry["headers"][name] += ", " + value
            else:
                entry["headers"][name] = value
        if body:
            entry["body"] = bytes_to_text(body)

        route, handler = self._route(path, query)
        entry["route"] = route
        extra = handler.prepare(self, query_b, body) if hasattr(handler, "prepare") else None
        if extra:
            entry.update(extra)
        self.state.log(entry)
        handler(self, query, body)

    def _route(self, path, query):
        page_path = path.rstrip("/") + "/"
        if path == "/receive/micoclient":
            return "stat", StatEndpoint()
        if path == "/":
            names = [n for n, _ in parse_raw_pairs(query)]
            params = dict(parse_raw_pairs(query))
            if params.get("m") == "game" and params.get("c") == "heartbeat":
                return "heartbeat", HeartbeatEndpoint()
            if "g" in names:
                return "pay-site", MockHandler._pay_site
            return "home", MockHandler._home
        if path.startswith("/__control/"):
            return "control", MockHandler._control
        if path.startswith("/__test/"):
            return "test", MockHandler._test
        if path == "/__silent":
            return "silent", MockHandler._silent
        if path == "/__drop":
            return "drop", MockHandler._drop_endpoint
        if path == "/forum.php":
            return "forum", MockHandler._forum
        pages = {
            "/game/s/wdAccess/": ("login", MockHandler._login),
            "/game/s/jihuo/": ("jihuo", MockHandler._jihuo),
            "/game/pay/": ("pay", MockHandler._pay_popup),
            "/game/play/": ("game", MockHandler._game),
            "/kefu/chat/": ("chat", MockHandler._chat),
            "/kefu/": ("kefu", MockHandler._kefu),
        }
        if page_path in pages:
            return pages[page_path]
        return "404", MockHandler._not_found

    @staticmethod
    def _params(query, body=b""):
        """Percent-decoded parameters of the query and a form body (later ones win)."""
        params = dict(urllib.parse.parse_qsl(query, keep_blank_values=True))
        if body:
            params.update(urllib.parse.parse_qsl(bytes_to_text(body), keep_blank_values=True))
        return params

    # -- pages ---------------------------------------------------------------

    def _login(self, query, body):
        p = self._params(query)
        with self.state.lock:
            auto = self.state.autologin
        self._send_html(200, login_page(self._base(), p.get("uid", ""), p.get("suid", ""), auto))

    def _jihuo(self, query, body):
        self._send_html(200, jihuo_page(self._base(), self._params(query).get("game", "")))

    def _pay_popup(self, query, body):
        self._send_html(200, pay_popup_page(self._base(), self._params(query).get("uid", "")))

    def _chat(self, query, body):
        self._send_html(200, chat_page(self._base(), self._params(query).get("agent", AGENT_NAME)))

    def _game(self, query, body):
        p = self._params(query)
        self._send_html(200, game_page(self._base(), p.get("zone", ZONE_ID), p.get("uid", "")))

    def _home(self, query, body):
        self._send_html(200, simple_page("Veskora 官网", "游戏官方网站首页。"))

    def _pay_site(self, query, body):
        self._send_html(200, simple_page("充值中心", "游戏 %s 的充值页面。" % self._params(query).get("g", "")))

    def _kefu(self, query, body):
        self._send_html(200, simple_page("客服中心", "平台客服页面。"))

    def _forum(self, query, body):
        p = self._params(query)
        self._send_html(200, simple_page("游戏论坛", "版块 %s / %s" % (p.get("mod", ""), p.get("fid", ""))))

    def _not_found(self, query, body):
        self._send_html(404, not_found_page(bytes_to_text(self._raw_target())))

    # -- HTTP client test bodies ----------------------------------------------

    def _test(self, query, body):
        name = self._raw_target().partition(b"?")[0].decode("latin-1")[len("/__test/"):]
        p = self._params(query)
        if name == "hello":
            self._send(200, HELLO_TEXT)
        elif name == "chinese":
            self._send(200, CHINESE_TEXT)
        elif name == "zero":
            self._send(200, ZERO_BODY, "application/octet-stream")
        elif name == "bytes":
            self._send(200, make_test_bytes(p.get("len", "0"), p.get("zero", "")), "application/octet-stream")
        elif name == "echo-headers":
            lines = "".join("%s: %s\n" % (n, v) for n, v in self.headers.items())
            self._send(200, lines)
        elif name == "echo-query":
            self._send(200, self._raw_target().partition(b"?")[2], "application/octet-stream")
        elif name == "delay":
            if self._hold(min(_float(p.get("seconds"), 1.0), SILENT_MAX_SECONDS)) == "timeout":
                self._send(200, HELLO_TEXT)
            else:
                self._drop()
        elif name == "status":
            code = int(_float(p.get("code"), 500))
            if not 200 <= code <= 599:
                code = 500
            self._send_html(code, page("status %d" % code, "<h1>status %d</h1>" % code))
        else:
            self._not_found(query, body)

    def _silent(self, query, body):
        self._hold(SILENT_MAX_SECONDS)
        self._drop()

    def _drop_endpoint(self, query, body):
        self._drop(rst=self._params(query).get("rst") == "1")

    # -- control ---------------------------------------------------------------

    def _control(self, query, body):
        name = self._raw_target().partition(b"?")[0].decode("latin-1")[len("/__control/"):].strip("/")
        p = self._params(query, body)
        st = self.state
        if name == "heartbeat":
            mode = p.get("mode", "")
            if mode not in HEARTBEAT_MODES:
                self._send_json({"error": "mode must be one of " + ", ".join(HEARTBEAT_MODES)}, 400)
                return
            with st.lock:
                st.heartbeat_mode = mode
                st.heartbeat_seconds = _float(p.get("seconds"), HEARTBEAT_DEFAULT_DELAY)
                st.heartbeat_body = p.get("body", "1")
                st.heartbeat_rst = p.get("rst") == "1"
            self._send_json(st.snapshot())
        elif name == "login":
            auto = p.get("auto", "")
            if auto not in AUTOLOGIN_MODES:
                self._send_json({"error": "auto must be one of " + ", ".join(AUTOLOGIN_MODES)}, 400)
                return
            with st.lock:
                st.autologin = auto
            self._send_json(st.snapshot())
        elif name == "reset":
            st.reset()
            if p.get("log") == "1":
                st.clear_log()
            self._send_json(st.snapshot())
        elif name == "state":
            self._send_json(st.snapshot())
        elif name == "log":
            since = int(_float(p.get("since"), 0))
            with st.lock:
                lines = st.lines[max(since, 0):]
            self._send(200, "".join(line + "\n" for line in lines), "application/x-ndjson; charset=utf-8")
        else:
            self._not_found(query, body)


def _float(text, default):
    try:
        value = float(text)
    except (TypeError, ValueError):
        return default
    return value if value == value and value >= 0 else default  # no NaN, no negatives


def make_test_bytes(length_text, zeros_text):
    length = max(0, min(int(_float(length_text, 0)), 16 * 1024 * 1024))
    data = bytearray((ord("a") + i % 26) for i in range(length))
    for part in zeros_text.split(","):
        if part.strip().isdigit() and int(part) < length:
            data[int(part)] = 0
    return bytes(data)


class StatEndpoint:
    def prepare(self, handler, query_b, body):
        self.stat = check_stat(query_b)
        handler.state.count("stats")
        if self.stat["valid"]:
            handler.state.count("stats_valid")
        return {"stat": self.stat}

    def __call__(self, handler, query, body):
        handler._send(200, "1" if self.stat["valid"] else "0")


class HeartbeatEndpoint:
    KEYS = ["m", "c", "userid", "g_id", "f_id", "type"]

    def prepare(self, handler, query_b, body):
        pairs = parse_raw_pairs(bytes_to_text(query_b))
        params = dict(pairs)
        st = handler.state
        with st.lock:
            self.mode = st.heartbeat_mode
            self.seconds = st.heartbeat_seconds
            self.body = st.heartbeat_body
            self.rst = st.heartbeat_rst
        st.count("heartbeats")
        well_formed = [n for n, _ in pairs] == self.KEYS and params.get("type") == "cs"
        return {"heartbeat": {"userid": params.get("userid", ""), "g_id": params.get("g_id", ""),
                              "f_id": params.get("f_id", ""), "type": params.get("type", ""),
                              "well_formed": well_formed, "answer": self.mode}}

    def __call__(self, handler, query, body):
        if self.mode == "one":
            handler._send(200, self.body)
        elif self.mode == "zero":
            handler._send(200, "0")
        elif self.mode == "delay":
            if handler._hold(self.seconds) == "timeout":
                handler._send(200, self.body)
            else:
                handler._drop()
        elif self.mode == "drop":
            handler._drop(rst=self.rst)
        else:  # silent
            handler._hold(SILENT_MAX_SECONDS)
            handler._drop()


class MockServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, state):
        self.state = state
        super().__init__(address, MockHandler)

    def handle_error(self, request, client_address):
        pass  # a client that resets mid-request is an ordinary event here


def main(argv=None):
    parser = argparse.ArgumentParser(description="Mock platform servers on loopback.")
    parser.add_argument("--port", type=int, default=18080)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--log", default="mock_requests.jsonl")
    parser.add_argument("--append", action="store_true", help="append to the log instead of emptying it")
    parser.add_argument("--keep-alive", action="store_true", help="keep connections open between requests")
    args = parser.parse_args(argv)

    state = PlatformState(args.log, args.append, args.keep_alive)
    server = MockServer((args.host, args.port), state)

    def on_signal(signum, frame):
        state.stop.set()

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)

    thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True)
    thread.start()
    host, port = server.server_address[:2]
    print("mock platform listening on http://%s:%d" % (host, port), flush=True)
    while not state.stop.wait(0.5):
        pass
    server.shutdown()
    server.server_close()
    thread.join(2)
    state.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
