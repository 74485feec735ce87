#!/usr/bin/env python3
# A loopback HTTP server for the net location tests: serves --root, answers
# a missing file with a 404 page, asks for the named login (Basic) below
# "/private/", and drops or slows files by name (see common.py). A file
# with a marker "NAME.status" beside it is sent as the page of the status
# the marker holds (e.g. 300, an answer that is no success).
import base64
import os
import socket
import sys
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402

ARGS = common.parse_args("HTTP test server")
ROOT = os.path.realpath(ARGS.root)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):  # quiet: ctest shows stderr
        pass

    def answer(self, status, body, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        if path.startswith("/private/"):
            want = base64.b64encode(("%s:%s" % (ARGS.user, ARGS.password)).encode()).decode()
            if self.headers.get("Authorization", "") != "Basic " + want:
                self.answer(401, b"<html>401 Unauthorized</html>",
                            [("WWW-Authenticate", 'Basic realm="tests"')])
                return
        local = os.path.realpath(os.path.join(ROOT, path.lstrip("/")))
        if not (local == ROOT or local.startswith(ROOT + os.sep)) or not os.path.isfile(local):
            self.answer(404, b"<html><head><title>404 Not Found</title></head>"
                             b"<body>The file is not here.</body></html>")
            return
        if os.path.isfile(local + ".status"):
            with open(local + ".status") as marker, open(local, "rb") as page:
                self.answer(int(marker.read().strip()), page.read())
            return
        size = os.path.getsize(local)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        f = common.ShapedFile(local)
        try:
            while True:
                data = f.read(8192)
                if not data:
                    break
                self.wfile.write(data)
                self.wfile.flush()
        except ConnectionResetError:
            # Gone mid-file: the client sees the connection close early.
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
        except BrokenPipeError:
            # The client stopped reading (a cancelled download).
            self.close_connection = True
        finally:
            f.close()


def main():
    server = ThreadingHTTPServer(("127.0.0.1", ARGS.port), Handler)
    server.daemon_threads = True
    common.announce(ARGS.port_file, server.server_address[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
