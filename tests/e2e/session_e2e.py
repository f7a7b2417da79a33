"""Both programs keep nothing and talk to no network: a scripted session of each runs under
strace, which records every socket, connection and file opening or change the program makes.
No socket may be of an Internet family (AF_INET, AF_INET6), and nothing may be opened for
writing, created, renamed or removed outside the places the toolkit itself uses (its runtime
directory, fontconfig's cache, ...). The test prints what the toolkit touched, so anyone can see
that the programs keep nothing of their own."""
import getpass
import os
import re
import unittest
from collections import Counter
from pathlib import Path

from desktop import ARTIFACTS, centre
from sessions import (FRONTDUAL, FRONTLITE, LITE, LITE_ROWS, LOCAL_ROWS, ONLINE_ROWS,
                      FrontdualWalk, click_every_row, launch, DesktopTest)

# The *at and *2 forms too: Qt renames a file with renameat2 and glibc opens with openat, so the
# plain calls alone would miss a QFile written the usual way.
TRACED = ("socket,connect,open,openat,openat2,creat,mkdir,mkdirat,rename,renameat,renameat2,"
          "unlink,unlinkat,truncate")

# Calls that change the file system whatever their arguments.
CHANGES = {"creat", "mkdir", "mkdirat", "rename", "renameat", "renameat2", "unlink", "unlinkat",
           "truncate"}
WRITE_FLAGS = {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC"}

HOME = Path.home()
# Where the toolkit may write, and why. A path counts as inside a place if it is the place or
# lies below it. All but fontconfig's caches were seen in these traces; those are here because a
# machine whose fonts changed since a program last ran has fontconfig rewrite them at start.
TOOLKIT_PLACES = {
    "/dev/null": "libdbus, asked by Qt's accessibility bridge for the session bus, points the "
                 "standard descriptors of a helper it forks there; it holds nothing",
    os.environ.get("XDG_RUNTIME_DIR") or f"/tmp/runtime-{getpass.getuser()}":
        "Qt's runtime directory: Qt makes sure it exists at start (EEXIST after a first run)",
    str(HOME / ".cache/fontconfig"): "fontconfig's per-user font cache",
    "/var/cache/fontconfig": "fontconfig's system font cache",
}

# In a sanitizer tree the tests' ASAN_OPTIONS and UBSAN_OPTIONS send reports to files (log_path,
# e.g. build-asan/sanitizer-reports/report.<pid>); the sanitizer runtime makes sure their
# directory exists at start, calling mkdir on it and on each directory above it.
SANITIZER_REPORTS = sorted({
    str(Path(option.partition("=")[2]).parent)
    for variable in ("ASAN_OPTIONS", "UBSAN_OPTIONS")
    for option in os.environ.get(variable, "").split(":") if option.startswith("log_path=")})
for reports in SANITIZER_REPORTS:
    TOOLKIT_PLACES[reports] = "the sanitizer's report directory of this test tree"

LINE = re.compile(r"^(?P<pid>\d+)\s+(?:<\.\.\. )?(?P<call>\w+)(?:\(| resumed>)(?P<rest>.*)$")
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')
FAMILY = re.compile(r"^(\w+)")
OUTCOME = re.compile(r"= (-?\d+(?: \w+)?)")


def inside(path, place):
    return path == place or path.startswith(place.rstrip("/") + "/")


def toolkit_place(call, path):
    """The toolkit place that `path` lies in, or None."""
    for place in TOOLKIT_PLACES:
        if inside(path, place):
            return place
    for reports in SANITIZER_REPORTS:
        if call.startswith("mkdir") and inside(reports, path):
            return reports
    return None


def read_trace(path):
    """(sockets, connections, writes) from an strace -f log: socket families, connection
    addresses, and (call, path, outcome) of every opening for writing or change of a file."""
    sockets, connections, writes = Counter(), Counter(), []
    for line in Path(path).read_text(errors="replace").splitlines():
        match = LINE.match(line)
        if not match or "resumed>" in line:  # a resumed call's arguments were on its first line
            continue
        call, rest = match["call"], match["rest"]
        outcome = OUTCOME.search(rest)
        outcome = outcome[1] if outcome else "unfinished"
        if call == "socket":
            sockets[FAMILY.match(rest)[1]] += 1
        elif call == "connect":
            connections[rest.split(", ", 1)[1].rsplit("}", 1)[0] + "}"] += 1
        elif call in CHANGES or call.startswith("open"):
            flags = set(re.findall(r"\bO_[A-Z]+\b", rest))
            if call in CHANGES or flags & WRITE_FLAGS:
                for name in STRING.findall(rest):
                    writes.append((call, name, outcome))
    return sockets, connections, writes


class Isolation(DesktopTest):
    def traced(self, program, name, drive):
        """Runs `program` under strace while `drive` walks through it, checks its log and prints
        what the toolkit touched."""
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        log = ARTIFACTS / f"{name}.strace"
        process = launch(self.desktop, ["strace", "-f", "-qq", "-e", f"trace={TRACED}",
                                        "-o", str(log), program])
        drive()
        self.assertEqual(process.wait(30), 0)

        sockets, connections, writes = read_trace(log)
        print(f"\n{name}: sockets by family: {dict(sockets)}")
        for address, count in sorted(connections.items()):
            print(f"{name}: connect x{count}: {address}")
        self.assertIn("AF_UNIX", sockets)  # the X display: the trace did see the program
        self.assertEqual({f for f in sockets if f in ("AF_INET", "AF_INET6")}, set())

        elsewhere = []
        for call, path, outcome in writes:
            place = toolkit_place(call, path)
            if place is None:
                elsewhere.append((call, path, outcome))
            else:
                print(f"{name}: known place: {call} {path} -> {outcome}: {TOOLKIT_PLACES[place]}")
        if not writes:
            print(f"{name}: nothing opened for writing, created, renamed or removed")
        self.assertEqual(elsewhere, [], f"see {log}")

    def test_frontdual_keeps_nothing_and_opens_no_internet_socket(self):
        def drive():
            walk = FrontdualWalk(self.desktop)
            try:
                walk.greet()
                walk.cycle(lambda w: click_every_row(self.desktop, w, LOCAL_ROWS),
                           lambda w: click_every_row(self.desktop, w, ONLINE_ROWS))
                for _ in range(4):
                    walk.cycle()
                walk.end()
            finally:
                walk.close()

        self.traced(FRONTDUAL, "frontdual", drive)

    def test_frontlite_keeps_nothing_and_opens_no_internet_socket(self):
        def drive():
            window = self.desktop.wait_active(LITE)
            for row in LITE_ROWS:
                self.desktop.click_in(window, *centre(row.source))
                self.desktop.type("https://example.com/sub?token=abc")
                self.desktop.click_in(window, *centre(row.button))
                link = self.desktop.read_box(window, row.result).decode()
                row.check_link(self, link, "https://example.com/sub?token=abc")
            self.desktop.key("Escape")

        self.traced(FRONTLITE, "frontlite", drive)


if __name__ == "__main__":
    unittest.main()
