#!/usr/bin/env bash
# Fetches the 32-bit Windows ffmpeg that the bundled encoder runs (codecs\ffmpeg.exe),
# from the npm package @ffmpeg-installer/win32-ia32 with the machine's npm client. The
# version is pinned and both the package and the program are checked against known
# SHA-256 sums. Cached under $VX_CACHE/deps/ffmpeg-<version>; $VX_CACHE/deps/ffmpeg
# points at it. Returns at once when the cached copy is there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../env.sh"

package=@ffmpeg-installer/win32-ia32
version=4.1.0
package_sha256=74f2c6f6de626cbdf694bf4204ef632dfd5b4c151e892131481f19ff2d763d41
program_sha256=2d07c49c4b3a77e69cff16605411d3be14aec709ac96797f2206dc856d657700

prefix="$VX_CACHE/deps/ffmpeg-$version"
link="$VX_CACHE/deps/ffmpeg"
if [ -f "$prefix/.fetched" ]; then
  ln -sfn "$prefix" "$link"
  exit 0
fi

vx_log "fetching $package $version"
mkdir -p "$VX_CACHE/deps"
work=$(mktemp -d "$VX_CACHE/fetch-ffmpeg.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package@$version" >pack.log 2>&1) || { cat "$work/pack.log"; exit 1; }
tarball=$(ls "$work"/*.tgz)
echo "$package_sha256  $tarball" | sha256sum -c --quiet - || { vx_log "$package $version: package checksum mismatch"; exit 1; }
tar -xzf "$tarball" -C "$work" package/ffmpeg.exe
echo "$program_sha256  $work/package/ffmpeg.exe" | sha256sum -c --quiet - || { vx_log "ffmpeg.exe: checksum mismatch"; exit 1; }

rm -rf "$prefix"
mkdir -p "$prefix"
install -m 0755 "$work/package/ffmpeg.exe" "$prefix/ffmpeg.exe"
echo "$version" > "$prefix/VERSION"
touch "$prefix/.fetched"
ln -sfn "$prefix" "$link"
vx_log "ffmpeg.exe $version in $prefix"
