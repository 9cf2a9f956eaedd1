#!/usr/bin/env python3
"""Telemetry rate of dorvane-devsim as a reader sees it.

For each rate and transport (a TCP client, the pseudo-terminal opened raw)
reads for a few seconds and prints the whole frames per second that arrived
and the gaps in their counters (frames lost on the way; none are dropped on
purpose here).

    python3 bench/devsim-rate.py [build/bin/dorvane-devsim] [seconds]
"""
import os
import re
import socket
import subprocess
import sys
import time
import tty

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build/bin/dorvane-devsim"
SECONDS = float(sys.argv[2]) if len(sys.argv) > 2 else 3.0
FRAME = re.compile(rb"\xaa\x55(..)........(?:.)\r\n", re.S)


def measure(rate, transport):
    args = [PROGRAM, "--mode", "telemetry", "--rate", str(rate), "--quiet"]
    args += ["--tcp", "0"] if transport == "tcp" else ["--pty"]
    device = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
    try:
        deadline = time.time() + 5
        line = ""
        while time.time() < deadline and not line.startswith(transport + ": "):
            line = device.stdout.readline()
        if transport == "tcp":
            peer = socket.create_connection(("127.0.0.1", int(line.rsplit(":", 1)[1])), timeout=2)
            read = lambda: peer.recv(65536)
        else:
            fd = os.open(line.split()[1], os.O_RDWR | os.O_NOCTTY)
            tty.setraw(fd)
            time.sleep(0.2)
            os.read(fd, 1 << 20)  # what waited before the port was opened
            read = lambda: os.read(fd, 65536)
        data = bytearray()
        start = time.time()
        while time.time() - start < SECONDS:
            data += read()
        elapsed = time.time() - start
        counters = [int.from_bytes(m.group(1), "little") for m in FRAME.finditer(bytes(data))]
        gaps = sum(1 for a, b in zip(counters, counters[1:]) if (b - a) % 65536 != 1)
        print(f"| {transport} | {rate} | {len(counters) / elapsed:.0f} | {gaps} |")
    finally:
        device.terminate()
        device.wait(3)


print("| transport | frames/s asked | frames/s read | counter gaps |")
print("|---|---:|---:|---:|")
for rate in (100, 1000, 10000):
    for transport in ("tcp", "pty"):
        measure(rate, transport)
