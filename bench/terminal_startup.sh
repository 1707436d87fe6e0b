#!/usr/bin/env bash
# Start-up and memory of the terminal as whole processes, offscreen, on the in-process
# simulated processor: each run starts vellora, paints the editor window and writes its picture
# (once as first painted, --unlinked; once after linking up and synchronising). Prints the
# median wall times and the median peak memory (RSS, which includes the picture's own copy of
# the window) for the editor at 1900 x 1000, at density 1 and 2. Not a test: numbers depend
# on the machine.
# usage: bench/terminal_startup.sh BINARY [RUNS]
set -euo pipefail
bin=${1:?usage: terminal_startup.sh BINARY [RUNS]}
runs=${2:-20}
python3 - "$bin" "$runs" <<'PY'
import os, resource, statistics, subprocess, sys, tempfile, time
binary, runs = sys.argv[1], int(sys.argv[2])
out = os.path.join(tempfile.mkdtemp(), "shot.png")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
for scale, linked in ((1, False), (2, False), (1, True)):
    times, peaks = [], []
    for _ in range(runs):
        start = time.perf_counter()
        extra = [] if linked else ["--unlinked"]
        proc = subprocess.Popen([binary, "--screenshot", out, "--device", "sim",
                                 "--size", "1900x1000", "--scale", str(scale)] + extra,
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        times.append((time.perf_counter() - start) * 1000)
        if status != 0:
            sys.exit(f"{binary} failed with status {status}")
        peaks.append(usage.ru_maxrss / 1024)  # kB -> MB
    what = "linked and synchronised" if linked else "first painted"
    print(f"density {scale}, {what}: start to written picture {statistics.median(times):.0f} ms, "
          f"peak memory {statistics.median(peaks):.0f} MB (median of {runs})")
PY
