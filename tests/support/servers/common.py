# What the test servers share: the command line, the port file that tells
# the caller the server listens, and the served files' behaviour by name.
# A file whose name starts with "drop" (or that has a marker file
# "NAME.drop" beside it) is cut off halfway through (the connection goes);
# one starting with "slow" (or marked "NAME.slow") comes in small, spaced
# pieces.
import argparse
import os
import time

SLOW_PIECE = 2048
SLOW_PAUSE = 0.05


def parse_args(description):
    p = argparse.ArgumentParser(description=description)
    p.add_argument("--root", required=True, help="directory to serve")
    p.add_argument("--port-file", required=True,
                   help="written with the port once the server listens")
    p.add_argument("--port", type=int, default=0, help="0: any free port")
    p.add_argument("--user", default="alice", help="the named login")
    p.add_argument("--password", default="secret")
    return p.parse_args()


def announce(port_file, port):
    # Written beside and renamed, so a reader never sees half a number.
    tmp = port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.replace(tmp, port_file)


def kind_of(path):
    """A file drops or slows when its name starts so, or when a marker file
    beside it says so ("NAME.drop", "NAME.slow"): a built distribution's
    archives keep their own names."""
    name = os.path.basename(path).lower()
    for kind in ("drop", "slow"):
        if name.startswith(kind) or os.path.exists(path + "." + kind):
            return kind
    return "plain"


class ShapedFile:
    """A served file that drops or slows down as its name asks."""

    def __init__(self, path, mode="rb"):
        self._f = open(path, mode)
        self._kind = kind_of(path)
        self._limit = os.path.getsize(path) // 2 if self._kind == "drop" else None
        self._sent = 0
        self.name = path
        self.closed = False

    def read(self, size=-1):
        if self._kind == "slow":
            time.sleep(SLOW_PAUSE)
            size = SLOW_PIECE if size < 0 else min(size, SLOW_PIECE)
        if self._limit is not None:
            if self._sent >= self._limit:
                raise ConnectionResetError(104, "connection dropped by the test server")
            size = self._limit - self._sent if size < 0 else min(size, self._limit - self._sent)
        data = self._f.read(size)
        self._sent += len(data)
        return data

    def seek(self, *args):
        return self._f.seek(*args)

    def tell(self):
        return self._f.tell()

    def close(self):
        self.closed = True
        self._f.close()
