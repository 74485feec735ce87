#!/usr/bin/env python3
# A loopback FTP server for the net location tests: serves --root to the
# anonymous login (read only) and to the named login; a wrong password gets
# 530, a missing file 550; files drop or slow down by name (common.py).
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402

ARGS = common.parse_args("FTP test server")


class ShapedFS(AbstractedFS):
    def open(self, filename, mode):
        kind = common.kind_of(filename)
        if "r" in mode and kind == "drop":
            return common.ShapedFile(filename, mode)
        return super().open(filename, mode)


SLOW_BYTES_PER_SECOND = 16 * 1024


class SlowOnRequest(ThrottledDTPHandler):
    """Slow files are throttled by the server's own scheduler: a sleep in
    the file's read would stop the whole (single-threaded) server, and a
    client that left a slow transfer could then not log in again."""

    def __init__(self, sock, cmd_channel):
        if common.kind_of(getattr(cmd_channel, "_slow_name", "")) == "slow":
            self.write_limit = SLOW_BYTES_PER_SECOND
        super().__init__(sock, cmd_channel)


class Handler(FTPHandler):
    def ftp_RETR(self, file):
        # The passive data connection may exist before RETR names the file.
        self._slow_name = file
        if self.data_channel is not None and common.kind_of(file) == "slow":
            self.data_channel.write_limit = SLOW_BYTES_PER_SECOND
        return super().ftp_RETR(file)


def main():
    authorizer = DummyAuthorizer()
    root = os.path.realpath(ARGS.root)
    authorizer.add_user(ARGS.user, ARGS.password, root, perm="elr")
    authorizer.add_anonymous(root, perm="elr")
    handler = Handler
    handler.authorizer = authorizer
    handler.abstracted_fs = ShapedFS
    handler.dtp_handler = SlowOnRequest
    handler.passive_ports = None
    handler.banner = "Pellmore test FTP server ready."
    server = FTPServer(("127.0.0.1", ARGS.port), handler)
    common.announce(ARGS.port_file, server.address[1])
    server.serve_forever()


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    main()
