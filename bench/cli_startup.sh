#!/usr/bin/env bash
# Start-up time of vellora-cli as a whole process: runs each command N times and prints the
# median (and the fastest and slowest) wall time in ms. Build the release preset first.
#
#   bench/cli_startup.sh build/release/bin/vellora-cli [N]      (N defaults to 50)
#
# The commands that draw nothing are meant to take at most 10 ms each.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 VELLORA_CLI [RUNS]" >&2
    exit 2
fi
cli=$1
runs=${2:-50}
if [[ ! -x $cli ]]; then
    echo "$0: $cli is not an executable" >&2
    exit 2
fi
if ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
    echo "$0: RUNS must be a positive whole number, not '$runs'" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The inputs of dump and diff: the factory defaults and a copy that differs in one byte.
"$cli" defaults --out "$work/a.VL" >/dev/null
cp "$work/a.VL" "$work/b.VL"
printf '\x2a' | dd of="$work/b.VL" bs=1 seek=1000 conv=notrunc status=none

# Timed in one python3 process, so that only vellora-cli's own start and run are measured.
python3 - "$cli" "$runs" "$work" <<'EOF'
import statistics
import subprocess
import sys
import time

cli, runs, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
commands = [
    ("--help", ["--help"], 0),
    ("--version", ["--version"], 0),
    ("defaults", ["defaults", "--out", f"{work}/out.VL"], 0),
    ("diff", ["diff", f"{work}/a.VL", f"{work}/b.VL"], 1),
    ("dump --json", ["dump", f"{work}/a.VL", "--json"], 0),
]
print(f"{cli}: {runs} runs each, wall time in ms")
print(f"{'command':<14}{'median':>8}{'min':>8}{'max':>8}")
failed = False
for name, args, expected in commands:
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        status = subprocess.run([cli] + args, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL).returncode
        times.append((time.perf_counter() - start) * 1000.0)
        if status != expected:
            print(f"{name}: exit status {status}, expected {expected}", file=sys.stderr)
            failed = True
            break
    print(f"{name:<14}{statistics.median(times):8.2f}{min(times):8.2f}{max(times):8.2f}")
sys.exit(1 if failed else 0)
EOF
