# Fetching Debian source packages without touching the system's apt configuration:
# the machine's own "deb" sources are copied as "deb-src" sources into a private apt
# setup under $VX_CACHE/apt. Sourced, never run.

VX_APT="$VX_CACHE/apt"

vx_apt_opts() {
  printf '%s\n' \
    -o Dir::Etc::SourceList=/dev/null \
    -o Dir::Etc::SourceParts="$VX_APT/sources.list.d" \
    -o Dir::State::Lists="$VX_APT/lists" \
    -o Dir::Cache="$VX_APT/cache" \
    -o Debug::NoLocking=1 \
    -o APT::Sandbox::User=root
}
vx_apt() { local o; mapfile -t o < <(vx_apt_opts); apt-get -q "${o[@]}" "$@"; }
vx_apt_cache() { local o; mapfile -t o < <(vx_apt_opts); apt-cache "${o[@]}" "$@"; }

vx_apt_source_setup() {
  [ -f "$VX_APT/.ready" ] && return 0
  mkdir -p "$VX_APT/sources.list.d" "$VX_APT/lists/partial" "$VX_APT/cache/archives/partial"
  local f out
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    out="$VX_APT/sources.list.d/$(basename "$f")"
    case "$f" in
      *.sources) sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$out" ;;
      *) grep -E '^[[:space:]]*deb[[:space:]]' "$f" | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' > "$out" || true ;;
    esac
  done
  vx_apt update >/dev/null
  touch "$VX_APT/.ready"
}

# Prints the version of a source package that the configured sources offer.
vx_source_version() {
  vx_apt_source_setup
  vx_apt_cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2; exit}' | tr ':~' '__'
}

# Unpacks a source package into a folder below $2 and prints that folder.
vx_fetch_source() {
  local name=$1 dest=$2
  vx_apt_source_setup
  (cd "$dest" && vx_apt source --download-only "$name" >/dev/null 2>&1 \
    && dpkg-source --no-check -x ./*.dsc "$dest/src" >/dev/null)
  echo "$dest/src"
}
