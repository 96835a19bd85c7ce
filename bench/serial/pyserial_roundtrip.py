#!/usr/bin/env python3
"""Median round trip of "G=2" with pyserial against a simulated camera: pyserial_roundtrip.py DEVICE [COUNT]."""
import statistics
import sys
import time

import serial


def main():
    device = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    port = serial.Serial(device, 9600, rtscts=True, timeout=5)
    samples = []
    for i in range(count + count // 10):
        start = time.perf_counter_ns()
        port.reset_input_buffer()
        port.write(b"G=2\r")
        reply = port.read_until(b"\r")
        elapsed = (time.perf_counter_ns() - start) / 1000.0
        if not reply.endswith(b"\r") or b">" not in reply:
            sys.exit("pyserial_roundtrip: bad reply %r" % reply)
        if i >= count // 10:
            samples.append(elapsed)
    port.close()
    samples.sort()
    n = len(samples)
    print("%-24s n=%d  median %.1f us  p10 %.1f us  p90 %.1f us  mean %.1f us"
          % ("pyserial", n, samples[n // 2], samples[n // 10], samples[n * 9 // 10], statistics.mean(samples)))


if __name__ == "__main__":
    main()
