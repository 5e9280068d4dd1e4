#!/usr/bin/env python3
"""Runs Orvane against a scripted printer on 127.0.0.1 that answers like a ready printer until
one question, then floods: random bytes, or "7r@" over and over. Reports for each case Orvane's
exit code, its wall time and its peak memory (maximum resident set).

usage: answer_flood.py BUILD_DIR [SECONDS]   (default 60: the longest a flood lasts)
"""
import os
import random
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

QUESTIONS = {
    "status": b"\x10\x04",
    "capacity": b"\x1d\x28\x4c\x02\x00\x30\x30",
    "free": b"\x1d\x28\x4c\x02\x00\x30\x33",
    "keys": b"\x1d\x28\x4c\x04\x00\x30\x40\x4b\x43",
    # The first byte of the job itself: from here the printer floods and never reads again.
    "job": b"\x1d\x28\x4c\x05\x00\x30\x41",
}
ANSWERS = {
    "capacity": b"7099999999\x00",
    "free": b"71262144\x00",
    "keys": b"7r@01\x00",
}


def flood_bytes(kind):
    if kind == "random":
        return random.randbytes(64 * 1024)
    return b"7r@" * (64 * 1024 // 3)


def serve(listener, at, kind, seconds, reads):
    """One connection: ordinary answers until the question `at`, then the flood."""
    conn, _ = listener.accept()
    conn.settimeout(0.05)
    end = None
    seen = b""
    try:
        while True:
            if end is not None:
                if time.monotonic() >= end:
                    return
                try:
                    conn.sendall(flood_bytes(kind))
                except socket.timeout:
                    pass
            if not reads and end is not None:
                continue
            try:
                data = conn.recv(65536)
            except socket.timeout:
                continue
            if not data:
                return
            seen = (seen + data)[-16:]
            if QUESTIONS[at] in seen:
                end = end or time.monotonic() + seconds
                seen = b""
                continue
            for name, question in QUESTIONS.items():
                if question in seen and name != "job":
                    seen = b""
                    conn.sendall(b"\x12" * 3 if name == "status" else ANSWERS[name])
    except OSError:
        return
    finally:
        conn.close()


def write_bmp(path, width, height):
    stride = (width + 31) // 32 * 4
    rows = bytes(stride * height)
    offset = 14 + 40 + 8
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height, 1, 1, 0, len(rows), 0, 0, 2, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes([255, 255, 255, 0, 0, 0, 0, 0]) + rows)


def run(build, args, at, kind, seconds, reads=True):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    printer = threading.Thread(target=serve, args=(listener, at, kind, seconds, reads),
                               daemon=True)
    printer.start()
    started = time.monotonic()
    orvane = subprocess.Popen(
        [os.path.join(build, "src/app/orvane")] + args + ["--port", f"127.0.0.1:{port}"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(orvane.pid, 0)
    elapsed = time.monotonic() - started
    message = orvane.stderr.read().decode(errors="replace").strip().splitlines()
    orvane.returncode = os.waitstatus_to_exitcode(status)
    listener.close()
    return orvane.returncode, elapsed, usage.ru_maxrss / 1024, message[-1] if message else ""


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60.0
    folder = tempfile.mkdtemp()
    picture = os.path.join(folder, "wide.bmp")
    write_bmp(picture, 512, 2000)
    # 16 graphics of 128,000 bytes, as much as the store check lets through.
    job = ["upload", "--nv", "graphics", "--yes"] + [picture] * 16
    cases = [
        (["status"], "status", "random", True),
        (["status"], "capacity", "random", True),
        (["status"], "free", "random", True),
        (["status"], "keys", "random", True),
        (["print", "--nv", "graphics"], "keys", "random", True),
        (["upload", "--nv", "graphics", "--yes", picture], "capacity", "random", True),
        (job, "job", "random", False),
        (["status"], "keys", "7r@", True),
        (["upload", "--nv", "graphics", "--yes", picture], "keys", "7r@", True),
    ]
    print(f"flood of at most {seconds:g} s; peak memory is Orvane's maximum resident set")
    print(f"{'command':<28} {'flood at':<9} {'bytes':<7} {'exit':>4} {'time s':>7} {'peak MB':>8}  last message")
    for args, at, kind, reads in cases:
        code, elapsed, peak, message = run(build, args, at, kind, seconds, reads)
        label = " ".join(a for a in args if a != picture)
        where = at + ("" if reads else " (never reads)")
        print(f"{label:<28} {where:<9} {kind:<7} {code:>4} {elapsed:>7.2f} {peak:>8.1f}  {message[:90]}")


if __name__ == "__main__":
    main()
