#!/usr/bin/env python3
"""A store's fleet at once: 32 virtual printers on loopback addresses, each reading no faster
than 115200 baud and taking 0.5 s to store each NV graphic, get a set of four 512 x 256
pictures (64 KiB of dots) with `orvane upload --nv graphics --ports FILE --jobs 32`. Reports
its wall time against the slowest of a few single-printer uploads of the same set (target at
most 1.2x) and its peak memory against theirs (target at most 2x). Then 8 printers among the
256 addresses of 127.0.0.0/24 are found with `orvane discover` (target under 2 s).

Only loopback addresses are used.

usage: fleet_upload.py BUILD_DIR [SINGLE_RUNS]      (default 3)
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "transfer"))
from upload_throughput import write_bmp  # noqa: E402  pictures of 512 x 256, 16 KiB of dots

PRINTERS = 32
PICTURES = 4
BAUD = 115200
STORE_TIME = 0.5
DISCOVERED = 8


def start_printer(build, folder, address, options):
    printer = subprocess.Popen(
        [os.path.join(build, "tools/virtual-printer/orvane-virtual-printer"),
         "--out", os.path.join(folder, address), "--address", address] + options,
        stdout=subprocess.PIPE, text=True)
    return printer, "tcp://" + printer.stdout.readline().strip()


def timed(command):
    """Wall seconds, exit code and peak resident memory (KiB) of one orvane run."""
    started = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return time.monotonic() - started, process.returncode, usage.ru_maxrss


def free_port(address):
    with socket.socket() as probe:
        probe.bind((address, 0))
        return probe.getsockname()[1]


def main():
    if len(sys.argv) < 2:
        print(__doc__.split("usage: ")[1].strip(), file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    single_runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    orvane = os.path.join(build, "src/app/orvane")
    printers = []
    with tempfile.TemporaryDirectory() as folder:
        try:
            pictures = []
            for i in range(PICTURES):
                pictures.append(os.path.join(folder, f"p{i}.bmp"))
                write_bmp(pictures[-1], i + 2)
            ports = []
            for n in range(PRINTERS):
                printer, port = start_printer(
                    build, folder, f"127.0.0.{10 + n}",
                    ["--tcp", "0", "--baud", str(BAUD), "--store-time", str(STORE_TIME)])
                printers.append(printer)
                ports.append(port)
            ports_file = os.path.join(folder, "ports")
            with open(ports_file, "w") as f:
                f.write("# the fleet\n" + "\n".join(ports) + "\n")
            upload = [orvane, "upload", "--nv", "graphics", "--yes"]

            singles = [timed(upload + ["--port", ports[i]] + pictures)
                       for i in range(single_runs)]
            if any(code != 0 for _, code, _ in singles):
                print("a single upload failed", file=sys.stderr)
                return 1
            fleet_seconds, code, fleet_kib = timed(
                upload + ["--jobs", str(PRINTERS), "--ports", ports_file] + pictures)
            if code != 0:
                print(f"the fleet upload exited {code}", file=sys.stderr)
                return 1
            slowest = max(seconds for seconds, _, _ in singles)
            single_kib = max(kib for _, _, kib in singles)
            print(f"single upload: slowest of {single_runs} {slowest:.2f} s, "
                  f"peak {single_kib / 1024:.1f} MiB")
            print(f"fleet of {PRINTERS}: {fleet_seconds:.2f} s ({fleet_seconds / slowest:.2f}x, "
                  f"target <= 1.2x), peak {fleet_kib / 1024:.1f} MiB "
                  f"({fleet_kib / single_kib:.2f}x, target <= 2x)")
            for printer in printers:
                printer.terminate()
                printer.wait()
            printers.clear()

            number = free_port("127.0.0.1")
            for n in range(DISCOVERED):
                printer, _ = start_printer(build, folder, f"127.0.0.{3 + 31 * n}",
                                           ["--tcp", str(number)])
                printers.append(printer)
            seconds, code, _ = timed(
                [orvane, "discover", "127.0.0.0/24", "--port-number", str(number)])
            found = subprocess.run(
                [orvane, "discover", "127.0.0.0/24", "--port-number", str(number), "--json"],
                capture_output=True, text=True).stdout.count("\n")
            print(f"discover 127.0.0.0/24: {seconds:.2f} s (target < 2 s), exit {code}, "
                  f"{found} of {DISCOVERED} printers found")
        finally:
            for printer in printers:
                printer.terminate()
                printer.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
