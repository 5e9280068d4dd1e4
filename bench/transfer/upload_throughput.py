#!/usr/bin/env python3
"""Uploads 16 pictures of 512 x 256 through a pseudo-terminal to the virtual printer at a
given line rate and reports how close the upload comes to the line's speed, and how much
CPU Orvane spends while it waits for the printer.

usage: upload_throughput.py BUILD_DIR [BAUD ...]     (default 115200 921600)
"""
import os
import struct
import subprocess
import sys
import tempfile
import time

PICTURES = 16
WIDTH, HEIGHT = 512, 256


def write_bmp(path, seed):
    """A 1-bit BMP with a diagonal pattern, so every record differs."""
    stride = WIDTH // 8
    rows = bytearray()
    for y in range(HEIGHT):
        row = bytearray(stride)
        for x in range(WIDTH):
            if (x + y * seed) % 7 == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        rows += row
    offset = 14 + 40 + 8
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, -HEIGHT, 1, 1, 0, len(rows), 0, 0, 2, 0)
    palette = bytes([255, 255, 255, 0, 0, 0, 0, 0])
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks


def run(build, baud, folder):
    out = os.path.join(folder, f"printer-{baud}")
    printer = subprocess.Popen(
        [os.path.join(build, "tools/virtual-printer/orvane-virtual-printer"),
         "--out", out, "--baud", str(baud)],
        stdout=subprocess.PIPE, text=True)
    try:
        port = printer.stdout.readline().strip()
        pictures = [os.path.join(folder, f"p{i:02}.bmp") for i in range(PICTURES)]
        stream = os.path.join(out, "stream.bin")
        record_bytes = PICTURES * (WIDTH * HEIGHT // 8 + 4)
        expected = 3 + record_bytes + 5
        orvane = subprocess.Popen(
            [os.path.join(build, "src/app/orvane"), "upload", "--port", port,
             "--baud", str(baud), "--yes"] + pictures,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        started = time.monotonic()
        first = last = None
        cpu = 0.0
        wall = None
        deadline = started + 10 * expected / (baud / 10) + 30
        while last is None and time.monotonic() < deadline:
            size = os.path.getsize(stream) if os.path.exists(stream) else 0
            now = time.monotonic()
            if size > 0 and first is None:
                first = now
            if size >= expected:
                last = now
            if wall is None:
                if orvane.poll() is None:
                    try:
                        cpu = cpu_seconds(orvane.pid)
                    except (FileNotFoundError, ProcessLookupError):
                        pass
                else:
                    wall = now - started
            time.sleep(0.005)
        orvane.wait()
        if wall is None:
            wall = time.monotonic() - started
        if orvane.returncode != 0 or last is None:
            sys.exit(f"orvane failed at {baud}: {orvane.stderr.read().decode()}")
        line = baud / 10
        achieved = expected / (last - first)
        print(f"baud {baud}: {expected} bytes in {last - first:.2f} s = "
              f"{achieved:.0f} B/s, {achieved / line:.3f} of the line's {line:.0f} B/s; "
              f"orvane CPU {cpu:.2f} s over {wall:.2f} s wall = {cpu / wall:.3f}")
    finally:
        printer.terminate()
        printer.wait()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    rates = [int(b) for b in sys.argv[2:]] or [115200, 921600]
    with tempfile.TemporaryDirectory() as folder:
        for i in range(PICTURES):
            write_bmp(os.path.join(folder, f"p{i:02}.bmp"), i + 1)
        for baud in rates:
            run(build, baud, folder)


if __name__ == "__main__":
    main()
