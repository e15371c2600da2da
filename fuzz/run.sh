#!/bin/sh
# Builds every fuzz target with clang, ASan and UBSan, and runs each for a bounded number of runs
# (and at most a bounded time). Usage: fuzz/run.sh [runs] [seconds]
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build-fuzz"
RUNS=${1:-1000000}
SECONDS_MAX=${2:-600}

# Add each new target here.
TARGETS="ds_calc_fuzz document_fuzz dyn_expr_fuzz ini_fuzz macro_fuzz"

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDREX2D_SANITIZE=ON \
  -DDREX2D_BUILD_UI=OFF -DDREX2D_BUILD_TESTS=OFF -DDREX2D_BUILD_FUZZ=ON >/dev/null
for target in $TARGETS; do
  cmake --build "$BUILD" -j2 --target "$target"
done

for target in $TARGETS; do
  corpus="$BUILD/corpus/$target"
  mkdir -p "$corpus"
  seeds="$ROOT/fuzz/seeds/$target"
  [ -d "$seeds" ] || seeds=""
  # Documents hold object images of 736 bytes and more: room for a few dozen.
  case $target in
    document_fuzz) maxlen=32768 ;;
    *) maxlen=4096 ;;
  esac
  echo "== $target: $RUNS runs, at most $SECONDS_MAX s"
  (cd "$BUILD" && "./fuzz/$target" -runs="$RUNS" -max_total_time="$SECONDS_MAX" -max_len="$maxlen" \
    -print_final_stats=1 "$corpus" $seeds)
done
