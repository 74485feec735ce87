#!/usr/bin/env python3
# A loopback FTP server for the net location tests: serves --root to the
# anonymous login (read only) and to the named login; a wrong password gets
# 530, a missing file 550; files drop or slow down by name (common.py).
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402

ARGS = common.parse_args("FTP test server")


class ShapedFS(AbstractedFS):
    def open(self, filename, mode):
        if "r" in mode and common.kind_of(filename) != "plain":
            return common.ShapedFile(filename, mode)
        return super().open(filename, mode)


def main():
    authorizer = DummyAuthorizer()
    root = os.path.realpath(ARGS.root)
    authorizer.add_user(ARGS.user, ARGS.password, root, perm="elr")
    authorizer.add_anonymous(root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.abstracted_fs = ShapedFS
    handler.passive_ports = None
    handler.banner = "Pellmore test FTP server ready."
    server = FTPServer(("127.0.0.1", ARGS.port), handler)
    common.announce(ARGS.port_file, server.address[1])
    server.serve_forever()


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    main()
