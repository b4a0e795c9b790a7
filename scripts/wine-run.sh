#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix. CTest uses it as the
# cross-compiling emulator; the caller provides DISPLAY and the Wine server.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
exec wine "$@"
