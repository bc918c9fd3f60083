#!/usr/bin/env python3
"""Presses the left button where the pointer is, then releases it and prints
the milliseconds from the release until the file grows: the time from the
click to the typed text arriving in the target (the start of the xdotool
process that releases the button included, about 10 ms)."""
import os
import subprocess
import sys
import time

path = sys.argv[1]
subprocess.run(["xdotool", "mousedown", "1"], check=True)
time.sleep(0.05)
before = os.path.getsize(path)
start = time.monotonic()
subprocess.run(["xdotool", "mouseup", "1"], check=True)
while os.path.getsize(path) == before:
    if time.monotonic() - start > 5:
        print("timeout")
        sys.exit(1)
    time.sleep(0.0005)
print(f"{(time.monotonic() - start) * 1000:.1f}")
