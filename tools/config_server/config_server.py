#!/usr/bin/env python3
"""A configuration server for tests and the demo: real HTTP on 127.0.0.1.

It answers the program's configuration request with a reply built from the
options (or read from a file at every request), serves the help pictures, an
installer file and arbitrary files from a folder, and misbehaves on request so
that tests can show what a bad server does to the program. Every request is
logged, one line each, with its query:

    request method=GET path=/config.php query=ver=1.0.0.0&rand=1700000000 client=127.0.0.1

Addresses:
  /config.php                    the reply (--reply-file, else built from the options)
  /replies/NAME/config.php       FILES_DIR/NAME.xml, read at every request (404 when missing)
  /files/NAME                    FILES_DIR/NAME
  /help[/TAG]/default.png        generated help pictures (also default_v.jpg, default_h.jpg);
                                 TAG changes the address and the picture's colour
  /installer/setup.exe           --installer FILE, else a small generated file
  /body/N                        a body of exactly N bytes (N at most 64 MiB)
  /fault/KIND[/...]              a server fault, KIND one of:
      close     close the connection without an answer
      hang      accept and never answer (until the client gives up or the server stops)
      slowS     wait S seconds (for example slow10), then answer as /config.php
      cut       promise 100000 bytes, send 1000 and close
      500       answer 500 Internal Server Error
      garbage   answer 200 with 4096 random bytes
      bomb      answer 200 with an entity bomb nested 100000 elements deep
      huge      answer 200 with a 50 MiB body

On start it prints "listening port=N" once it accepts connections.
"""
import argparse
import http.server
import os
import random
import socketserver
import struct
import sys
import threading
import time
import urllib.parse
import zlib
from xml.sax.saxutils import escape

STOPPING = threading.Event()
LOG_LOCK = threading.Lock()
CHUNK = 64 * 1024


def make_png(width, height, rgb):
    """A solid-colour RGB PNG: enough for the program's picture loader."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    row = b"\x00" + bytes(rgb) * width
    pixels = zlib.compress(row * height, 9)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) + chunk(b"IEND", b"")


def picture_colour(tag, name):
    seed = zlib.crc32((tag + "/" + name).encode())
    return (64 + seed % 160, 64 + (seed >> 8) % 160, 64 + (seed >> 16) % 160)


def pattern_bytes(count):
    """Deterministic bytes (i * 7 mod 251) that a receiver can check."""
    period = bytes((i * 7) % 251 for i in range(251))
    whole, rest = divmod(count, len(period))
    return period * whole + period[:rest]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VelaConfigServer/1"

    def log_message(self, fmt, *args):  # the request lines are logged by log_request_line
        pass

    def log_request_line(self, parsed):
        line = "request method=%s path=%s query=%s client=%s" % (
            self.command, parsed.path, parsed.query, self.client_address[0])
        with LOG_LOCK:
            print(line, flush=True)
            if self.server.options.log:
                with open(self.server.options.log, "a", encoding="utf-8") as log:
                    log.write(line + "\n")

    def send_body(self, body, content_type="application/octet-stream", status=200):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        for at in range(0, len(body), CHUNK):
            self.wfile.write(body[at:at + CHUNK])

    def do_GET(self):
        parsed = urllib.parse.urlsplit(self.path)
        self.log_request_line(parsed)
        parts = [urllib.parse.unquote(p) for p in parsed.path.split("/") if p]
        try:
            self.route(parts)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def route(self, parts):
        options = self.server.options
        if parts == ["config.php"]:
            return self.send_reply()
        if len(parts) == 3 and parts[0] == "replies" and parts[2] == "config.php":
            return self.send_file(os.path.join(options.files_dir or "", parts[1] + ".xml"), "text/xml")
        if len(parts) == 2 and parts[0] == "files" and options.files_dir:
            return self.send_file(os.path.join(options.files_dir, parts[1]))
        if parts and parts[0] == "help" and len(parts) in (2, 3):
            tag = parts[1] if len(parts) == 3 else ""
            # The preview's size (727 x 522), like the pictures the program ships.
            return self.send_body(make_png(727, 522, picture_colour(tag, parts[-1])), "image/png")
        if parts == ["installer", "setup.exe"]:
            if options.installer:
                return self.send_file(options.installer)
            return self.send_body(b"MZ" + pattern_bytes(64 * 1024))
        if len(parts) == 2 and parts[0] == "body" and parts[1].isdigit() and int(parts[1]) <= 64 << 20:
            return self.send_body(pattern_bytes(int(parts[1])))
        if len(parts) >= 2 and parts[0] == "fault":
            return self.fault(parts[1])
        self.send_body(b"not found", "text/plain", 404)

    def send_file(self, path, content_type="application/octet-stream"):
        try:
            with open(path, "rb") as f:
                body = f.read()
        except OSError:
            return self.send_body(b"not found", "text/plain", 404)
        self.send_body(body, content_type)

    def send_reply(self):
        options = self.server.options
        if options.reply_file:
            return self.send_file(options.reply_file, "text/xml")
        self.send_body(build_reply(options, self.server.server_address[1]), "text/xml")

    def fault(self, kind):
        if kind == "close":
            self.close_connection = True
            return
        if kind == "hang":
            while not STOPPING.wait(0.2):
                pass
            self.close_connection = True
            return
        if kind.startswith("slow") and kind[4:].isdigit():
            if STOPPING.wait(int(kind[4:])):
                return
            return self.send_reply()
        if kind == "cut":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(pattern_bytes(1000))
            self.wfile.flush()
            self.close_connection = True
            return
        if kind == "500":
            return self.send_body(b"<html>500 Internal Server Error</html>", "text/html", 500)
        if kind == "garbage":
            return self.send_body(random.Random(12).randbytes(4096))
        if kind == "bomb":
            entities = '<!ENTITY a "aaaaaaaaaa">' + "".join(
                '<!ENTITY %s "%s">' % (chr(98 + i), ("&%s;" % chr(97 + i)) * 10) for i in range(8))
            body = ('<?xml version="1.0"?><!DOCTYPE r [%s]><r><app_name>&i;</app_name>' % entities
                    + "<a>" * 100000 + "</a>" * 100000 + "</r>")
            return self.send_body(body.encode(), "text/xml")
        if kind == "huge":
            return self.send_body(pattern_bytes(50 << 20))
        self.send_body(b"unknown fault", "text/plain", 404)


def build_reply(options, port):
    base = "http://127.0.0.1:%d/help%s" % (port, "/" + options.picture_tag if options.picture_tag else "")
    texts = [
        ("tips_conn", options.tips), ("app_name", options.app_name), ("app_url", options.app_url),
        ("open_debug_mode_url", options.debug_url), ("adb_drive_url", options.driver_url),
    ]
    if not options.no_pictures:
        texts += [("image_help_conn", base + "/default.png"), ("image_help_vcam", base + "/default_v.jpg"),
                  ("image_help_hcam", base + "/default_h.jpg")]
    lines = ["<?xml version=\"1.0\" encoding=\"%s\"?>" % options.encoding, "<config>"]
    lines += ["  <%s>%s</%s>" % (name, escape(value), name) for name, value in texts if value is not None]
    if options.version:
        update_url = options.update_url or "http://127.0.0.1:%d/installer/setup.exe" % port
        lines += ["  <update>", "    <appupdate_version>%s</appupdate_version>" % escape(options.version),
                  "    <appupdate_url>%s</appupdate_url>" % escape(update_url),
                  "    <appupdate_msg>%s</appupdate_msg>" % escape(options.update_msg), "  </update>"]
    elif not options.no_pictures:
        lines += ["  <update/>"]  # the help pictures are refreshed only when "update" is present
    lines.append("</config>")
    return "\n".join(lines).encode(options.encoding)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser(
        description=__doc__.split("\n")[0], epilog=__doc__.split("\n", 2)[2],
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (default 0: a free one)")
    parser.add_argument("--reply-file", help="serve this file as /config.php, read at every request")
    parser.add_argument("--files-dir", help="folder behind /files/NAME and /replies/NAME/config.php")
    parser.add_argument("--installer", help="file served as /installer/setup.exe")
    parser.add_argument("--log", help="also append the request lines to this file")
    parser.add_argument("--encoding", default="utf-8", help="encoding of the built reply (default utf-8)")
    parser.add_argument("--tips", default="连接失败？\n请确认手机已打开Vela相机的直播模式。\n并已用USB线连接电脑。")
    parser.add_argument("--app-name", default="Vela相机")
    parser.add_argument("--app-url", default="http://127.0.0.1/app")
    parser.add_argument("--debug-url", default="http://127.0.0.1/debug-mode")
    parser.add_argument("--driver-url", default="http://127.0.0.1/adb-driver")
    parser.add_argument("--picture-tag", default="", help="changes the help pictures' addresses and colours")
    parser.add_argument("--no-pictures", action="store_true", help="leave the help pictures out of the reply")
    parser.add_argument("--version", default="", help="newest version offered (default: no update element)")
    parser.add_argument("--update-url", help="update address (default: this server's /installer/setup.exe)")
    parser.add_argument("--update-msg", default="发现新版本，是否更新？")
    parser.add_argument("--exit-after", type=float, default=0, help="stop after this many seconds (0: never)")
    options = parser.parse_args()

    server = Server(("127.0.0.1", options.port), Handler)
    server.options = options
    print("listening port=%d" % server.server_address[1], flush=True)
    if options.exit_after > 0:
        threading.Timer(options.exit_after, server.shutdown).start()
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    finally:
        STOPPING.set()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
