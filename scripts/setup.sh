#!/usr/bin/env bash
# Installs everything the build, the program and the tests need on a Debian 12 machine,
# as root and without questions, then makes the project's Wine prefix and builds the
# dependencies that come as sources. A second run finds everything in place and returns fast.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

VX_PACKAGES=(
  cmake ninja-build make g++ git dpkg-dev python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-zenhei fonts-wine fonts-dejavu-core
  googletest
  ffmpeg zip
  libz-mingw-w64-dev
)

missing_packages() {
  local p
  # The npm client fetches the encoder's engine; a machine may already carry Node.js
  # from elsewhere, so only a missing command asks for Debian's.
  command -v npm >/dev/null 2>&1 || echo "nodejs npm"
  for p in "${VX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  vx_log "installing: $(echo $missing)"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  local log="$VX_CACHE/apt-install.log"
  mkdir -p "$VX_CACHE"
  # shellcheck disable=SC2086
  if ! { apt-get update -q && apt-get install -y -q --no-install-recommends $missing; } >"$log" 2>&1; then
    tail -30 "$log"; vx_log "package installation failed (log: $log)"; return 1
  fi
}

# The Wine prefix: 32-bit, a virtual desktop (Wine draws every window frame itself,
# the same on every machine), and the CJK font standing in for the program's face:
# the "Sharp" face of WenQuanYi Zen Hei carries hand-tuned bitmaps at the small sizes
# the program uses (like SimSun's own), where the outline face's embedded bitmaps lack
# glyphs such as the hyphen. The system's own fonts (title, menu, message box, status)
# are "宋体" at 9 points, as on a Chinese Windows: at Wine's default 8 points the CJK
# face has no hand-tuned bitmaps, and menus came out thin and ragged.
VX_PREFIX_VERSION=7
make_wine_prefix() {
  local stamp="$WINEPREFIX/.vexlo-prefix"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$VX_PREFIX_VERSION" ]; then return 0; fi
  vx_log "creating the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  local reg="$VX_CACHE/prefix.reg"
  python3 - "$reg" <<'PY'
import sys
text = r'''Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei Sharp"
"SimSun"="WenQuanYi Zen Hei Sharp"
"新宋体"="WenQuanYi Zen Hei Sharp"
"NSimSun"="WenQuanYi Zen Hei Sharp"
"Arial"="DejaVu Sans"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=LINK
"MS Shell Dlg"=LINK
"MS Shell Dlg 2"=LINK
"Microsoft Sans Serif"=LINK
"MS Sans Serif"=LINK

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\Desktop]
"FontSmoothing"="0"
'''
# Latin faces fall back to the CJK font for characters they lack, as on Chinese Windows.
link = 'wqy-zenhei.ttc,WenQuanYi Zen Hei Sharp\0\0'.encode('utf-16-le')
text = text.replace('=LINK', '=hex(7):' + ','.join(f'{b:02x}' for b in link))
# The system's fonts as LOGFONTW records: 12 pixels high, GB2312, "宋体".
import struct
def logfont(weight):
    face = '宋体'.encode('utf-16-le').ljust(64, b'\0')
    return struct.pack('<5i8B', -12, 0, 0, 0, weight, 0, 0, 0, 134, 0, 0, 0, 0) + face
text += '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\n'
for name, weight in [('CaptionFont', 700), ('SmCaptionFont', 400), ('MenuFont', 400),
                     ('MessageFont', 400), ('StatusFont', 400), ('IconFont', 400)]:
    text += f'"{name}"=hex:' + ','.join(f'{b:02x}' for b in logfont(weight)) + '\n'
open(sys.argv[1], 'wb').write(b'\xff\xfe' + text.replace('\n', '\r\n').encode('utf-16-le'))
PY
  # Marlett draws the caption buttons; Wine finds it only in the prefix's font folder.
  cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  wineserver -w
  echo "$VX_PREFIX_VERSION" > "$stamp"
}

install_packages
make_wine_prefix
# Each script in scripts/deps brings one dependency (built from sources or fetched by
# package name) into $VX_CACHE/deps, and returns at once when it is already there.
for dep in "$VX_ROOT"/scripts/deps/*.sh; do
  "$dep"
done
