#!/usr/bin/env bash
# The one command that sets up a fresh machine, builds both configurations and runs
# every test: the native ones with the sanitizers, the Windows ones under Wine on an
# Xvfb display with one Wine server kept alive for the whole run.
# Ends with the line "N passed, N failed"; the exit code is non-zero when any test failed.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

t0=$(date +%s)
"$VX_ROOT/scripts/setup.sh" || { vx_log "set-up failed"; exit 1; }
t1=$(date +%s)
"$VX_ROOT/scripts/build.sh" native win || { vx_log "build failed"; echo "0 passed, 1 failed"; exit 1; }
t2=$(date +%s)

vx_start_display || exit 1
vx_start_wineserver
trap vx_stop_all EXIT

results="$VX_ROOT/build/test-results"
rm -rf "$results"; mkdir -p "$results"

# Each run's report goes to its own file; a run whose CTest failed without a failing
# test in its report (a test list that could not be read, say) counts as one failure.
runs=()
run_ctest() {
  local name=$1 dir=$2 jobs=$3; shift 3
  local rc=0
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --output-junit "$results/$name.xml" "$@" || rc=$?
  runs+=("$results/$name.xml:$rc")
}
run_ctest native "$VX_BUILD_NATIVE" "$VX_JOBS" "$@"
# Windows tests run one at a time: they share one virtual desktop, and focus and
# foreground rules make windows of parallel tests disturb each other.
run_ctest wine "$VX_BUILD_WIN" 1 "$@"

vx_log "set-up $((t1 - t0)) s, build $((t2 - t1)) s, tests $(( $(date +%s) - t2 )) s (cache: $VX_CACHE)"
python3 "$VX_ROOT/scripts/summarize-tests.py" "${runs[@]}"
