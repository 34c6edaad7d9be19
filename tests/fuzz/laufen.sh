#!/usr/bin/env bash
# Builds the fuzz harnesses with clang into build/fuzz and runs each one for a
# bounded time, in one process each, two at a time (ZT_JOBS).
#   tests/fuzz/laufen.sh [SEKUNDEN [HARNESS...]]     (default: 30 s, all)
# Extra libFuzzer options can come in ZT_FUZZ_OPTIONEN. With ZT_FUZZ_LAEUFE=N
# each harness runs N inputs from a fixed seed instead of for a time: the same
# code then always gets the same inputs, so CI fails on a change of ours and
# not on a lucky draw. A finding (crash,
# leak, hang, a broken rule) ends the script with exit code 1 after all
# harnesses ran; its reproducer is in build/fuzz/funde/<harness>/.
set -euo pipefail
cd "$(dirname "$0")/../.."
quelle=$PWD
sekunden=${1:-30}
[ $# -gt 0 ] && shift
alle=(laeuferdatei ztf einstellungen vornamen zeitdatei anmeldung rtfvorlage)
harnesses=("${@:-${alle[@]}}")

CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DZT_FUZZ=ON -DZT_TESTS=OFF -DZT_BENCH=OFF >/dev/null
cmake --build build/fuzz --target zt_fuzz_alle -j "${ZT_JOBS:-2}"

# Each harness works in a temporary folder of its own below this one; an
# input that crashes leaves its folder behind, so the whole tree goes at the
# end. The time file is synced to the disk after every finish: on a RAM disk
# that costs nothing.
basis=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then basis=/dev/shm; fi
TMPDIR=$(mktemp -d "$basis/zt-fuzz-lauf.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$quelle/tests/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt seeds its hash tables at random; a fixed seed keeps a run repeatable.
export QT_HASH_SEED=0
if [ -n "${ZT_FUZZ_LAEUFE:-}" ]; then
  grenze=(-runs="$ZT_FUZZ_LAEUFE" -seed=1)
else
  grenze=(-max_total_time="$sekunden")
fi

# The harnesses run side by side, as many as there are jobs: each is a
# process of its own with its own fixed seed, so the result is the same as
# one after the other. Their reports are printed in the usual order.
laufen() {
  local h=$1
  # New inputs go into the build tree; the seeds in the source tree stay as they are.
  local arbeit=build/fuzz/korpus/$h fund=build/fuzz/funde/$h
  mkdir -p "$arbeit" "$fund"
  build/fuzz/tests/fuzz/fuzz_$h "${grenze[@]}" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$fund/" ${ZT_FUZZ_OPTIONEN:-} \
    "$arbeit" "tests/fuzz/korpus/$h" 2>"build/fuzz/$h.log"
  echo $? >"build/fuzz/$h.rc"
}
jobs_max=${ZT_JOBS:-2}
for h in "${harnesses[@]}"; do
  rm -f "build/fuzz/$h.rc"
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do wait -n || true; done
  laufen "$h" &
done
wait
funde=()
for h in "${harnesses[@]}"; do
  echo "== fuzz_$h: ${ZT_FUZZ_LAEUFE:-$sekunden s} ${ZT_FUZZ_LAEUFE:+Eingaben}"
  if [ "$(cat "build/fuzz/$h.rc" 2>/dev/null || echo 1)" != 0 ]; then
    funde+=("$h")
    tail -n 60 "build/fuzz/$h.log"
  fi
  grep -E '^(stat::|#[0-9]+ +DONE)' "build/fuzz/$h.log" || true
done
if [ ${#funde[@]} -gt 0 ]; then
  echo "Fuzzing: Fund in ${funde[*]} (Reproduzierer in build/fuzz/funde/)" >&2
  exit 1
fi
echo "Fuzzing: ${#harnesses[@]} Harnesses je ${ZT_FUZZ_LAEUFE:-$sekunden s} ${ZT_FUZZ_LAEUFE:+Eingaben} ohne Fund"
