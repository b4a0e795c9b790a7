#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix. CTest uses it as the
# cross-compiling emulator; the caller provides DISPLAY and the Wine server.
#
# The program writes into a file that is streamed to our own output, rather than into
# CTest's pipe directly: Wine starts a console host (conhost.exe) for every program
# created with a new console, that host inherits the Unix descriptors of the process
# that made it, and when the program is ended while its console is still being set up
# the host can outlive it. Holding CTest's pipe, such a host would make a finished test
# look hung until its time-out; holding a file, it harms nothing.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
out=$(mktemp "${TMPDIR:-/tmp}/vx-wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
wine "$@" </dev/null >"$out" 2>&1 &
pid=$!
tail -n +1 -f --pid="$pid" "$out"
wait "$pid"
