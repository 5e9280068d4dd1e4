#!/usr/bin/env python3
"""Uploads two pictures, about 200 KB in all, to the virtual printer over TCP while it reads no
faster than a serial line, and compares the progress that `orvane upload` shows on its terminal
with the bytes the printer has read at the same moment.

Reports the largest gap by which the progress ran ahead of the printer, in bytes and in seconds
(how long the printer took to read as far as the progress already claimed), the largest lag
behind it, and when the count showed every byte against when the printer had read them.

usage: progress_truth.py BUILD_DIR [BAUD]     (default 115200)
"""
import bisect
import os
import pty
import re
import select
import struct
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 512, 1536  # 98 304 bytes of raster each: an NV image is at most 2304 dots tall
PROGRESS = re.compile(rb"\] (\d+)/(\d+) bytes")


def write_bmp(path):
    stride = WIDTH // 8
    rows = bytearray()
    for y in range(HEIGHT):
        row = bytearray(stride)
        for x in range(WIDTH):
            if (x + 3 * y) % 7 == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        rows += row
    offset = 14 + 40 + 8
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, -HEIGHT, 1, 1, 0, len(rows), 0, 0, 2, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes([255, 255, 255, 0, 0, 0, 0, 0]) + rows)


def upload(build, baud, folder, pictures):
    out = os.path.join(folder, "printer")
    printer = subprocess.Popen(
        [os.path.join(build, "tools/virtual-printer/orvane-virtual-printer"),
         "--out", out, "--tcp", "0", "--baud", str(baud)],
        stdout=subprocess.PIPE, text=True)
    try:
        address = printer.stdout.readline().strip()
        stream = os.path.join(out, "stream.bin")
        # stderr on a pseudo-terminal, so orvane draws its progress line.
        master, slave = pty.openpty()
        orvane = subprocess.Popen(
            [os.path.join(build, "src/app/orvane"), "upload", "--port", "tcp://" + address,
             "--yes", *pictures],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=slave)
        os.close(slave)
        shown, read = [], []  # (seconds, bytes)
        text = b""
        started = time.monotonic()
        while True:
            ready, _, _ = select.select([master], [], [], 0.005)
            now = time.monotonic() - started
            read.append((now, os.path.getsize(stream) if os.path.exists(stream) else 0))
            if ready:
                try:
                    chunk = os.read(master, 4096)
                except OSError:
                    chunk = b""
                if not chunk:
                    break
                text += chunk
                for match in PROGRESS.finditer(chunk):
                    shown.append((now, int(match.group(1))))
            elif orvane.poll() is not None:
                break
        orvane.wait()
        os.close(master)
        if orvane.returncode != 0:
            sys.exit("orvane failed:\n" + text.decode(errors="replace"))
        return shown, read, text
    finally:
        printer.terminate()
        printer.wait()


def report(shown, read, baud):
    times = [t for t, _ in read]
    counts = [n for _, n in read]

    def read_by(t):
        return counts[max(0, bisect.bisect_right(times, t) - 1)]

    def time_read(n):
        i = bisect.bisect_left(counts, n)
        return times[i] if i < len(times) else float("inf")

    ahead_bytes = max(n - read_by(t) for t, n in shown)
    ahead_seconds = max(max(0.0, time_read(n) - t) for t, n in shown)
    # Between two lines the terminal shows the older one: the lag is measured at each redraw.
    behind_bytes = max(read_by(t) - previous for (t, _), (_, previous) in zip(shown[1:], shown))
    total = shown[-1][1]
    print(f"{baud} baud over TCP: {len(shown)} progress lines over {shown[-1][0]:.1f} s, "
          f"{total} bytes")
    print(f"  ahead of the printer: at most {ahead_bytes} bytes, {ahead_seconds:.2f} s")
    print(f"  behind the printer:   at most {behind_bytes} bytes")
    print(f"  count complete at {next(t for t, n in shown if n == total):.2f} s; printer had "
          f"read them at {time_read(total):.2f} s")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    baud = int(sys.argv[2]) if len(sys.argv) > 2 else 115200
    with tempfile.TemporaryDirectory() as folder:
        pictures = [os.path.join(folder, f"tall{i}.bmp") for i in (1, 2)]
        for picture in pictures:
            write_bmp(picture)
        shown, read, text = upload(build, baud, folder, pictures)
        if not shown:
            sys.exit("no progress line seen:\n" + text.decode(errors="replace"))
        report(shown, read, baud)
        last = text.replace(b"\r", b"\n").decode(errors="replace").strip().splitlines()
        print("  last lines: " + " | ".join(line.strip() for line in last[-3:]))


if __name__ == "__main__":
    main()
