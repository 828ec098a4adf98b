# Shared set-up of scripts/run.sh and scripts/test.sh: packages, build, Wine
# prefixes and a private X display. Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${VARNHOLD_BUILD_DIR:-$ROOT/build}
WINE_DIR=$BUILD_DIR/wine
WINE_TEMPLATE=${VARNHOLD_WINE_TEMPLATE:-$HOME/.cache/varnhold/wine-template}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES=(cmake make gcc g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine
          xvfb xauth x11-apps x11-utils xdotool imagemagick fio)

say() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

EnsurePackages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

Build() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    say "configuring $BUILD_DIR"
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  say "building"
  cmake --build "$BUILD_DIR" -j "$(nproc)" -- --no-print-directory >/dev/null || \
    cmake --build "$BUILD_DIR" -j 1   # again, with the errors in view
  # A Linux program that takes memory away from Wine for the low-memory tests.
  if [ -f "$ROOT/tests/tools/memory_hog.c" ]; then
    cc -O2 -o "$BUILD_DIR/memory-hog" "$ROOT/tests/tools/memory_hog.c"
  fi
}

# A private X display on the first free number; DISPLAY is exported.
StartDisplay() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  say "Xvfb did not start on :$n"
  return 1
}

# The prefix every new one is copied from: made once per machine, quietly.
MakeTemplate() {
  [ -f "$WINE_TEMPLATE/.varnhold-ready" ] && return 0
  say "creating the Wine prefix template (once per machine)"
  rm -rf "$WINE_TEMPLATE"
  mkdir -p "$(dirname "$WINE_TEMPLATE")"
  WINEPREFIX="$WINE_TEMPLATE" "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX="$WINE_TEMPLATE" "$WINESERVER" -k 2>/dev/null || true
  WINEPREFIX="$WINE_TEMPLATE" "$WINESERVER" -w 2>/dev/null || true
  # Wine looks for fonts-wine in the wrong folder.
  mkdir -p "$WINE_TEMPLATE/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINE_TEMPLATE/drive_c/windows/Fonts/"
  # The user folders point into the real home folder: make them plain folders.
  local d
  for d in "$WINE_TEMPLATE"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm "$d"; mkdir "$d"; fi
  done
  touch "$WINE_TEMPLATE/.varnhold-ready"
}

# Registry settings of a prefix for this project; $1 is the dots per inch.
WriteSettings() {
  local prefix=$1 dpi=$2
  cat > "$prefix/browser.sh" <<SH
#!/bin/sh
# Stands in for a web browser: notes each address it is asked to open.
printf '%s\n' "\$@" >> "$prefix/browser.log"
SH
  chmod +x "$prefix/browser.sh"
  cat > "$prefix/varnhold.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$prefix/browser.sh"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")
REG
  WINEPREFIX="$prefix" "$WINE" regedit /S "$(WINEPREFIX="$prefix" "$WINE" winepath -w "$prefix/varnhold.reg" 2>/dev/null)" \
    </dev/null >/dev/null 2>&1
}

# Copies the template into this build's prefix for the given dots per inch and
# starts its server, with the boot's stdio away from any test runner's pipes.
PreparePrefix() {
  local dpi=$1 prefix="$WINE_DIR/prefix-$1"
  MakeTemplate
  if [ ! -f "$prefix/.varnhold-ready" ]; then
    say "preparing $prefix"
    rm -rf "$prefix"
    mkdir -p "$WINE_DIR"
    cp -a "$WINE_TEMPLATE" "$prefix"
    rm -f "$prefix/wineserver"
    rm -f "$prefix/.varnhold-ready"
    WINEPREFIX="$prefix" "$WINESERVER" -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" "$WINE" wineboot </dev/null >/dev/null 2>&1
    WriteSettings "$prefix" "$dpi"
    WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX="$prefix" "$WINESERVER" -w 2>/dev/null || true
    touch "$prefix/.varnhold-ready"
  fi
  # Drives for the tests; Wine lists a drive only if its link exists before
  # the server starts. D: is a folder; T: a tiny drive of its own that fills up
  # (a 64 MiB tmpfs where mounting is allowed, as root; else a plain folder).
  mkdir -p "$prefix/drive_d" "$WINE_DIR/tiny-drive"
  ln -sfn "$prefix/drive_d" "$prefix/dosdevices/d:"
  if ! mountpoint -q "$WINE_DIR/tiny-drive"; then
    as_root mount -t tmpfs -o size=64m,mode=0777 tmpfs "$WINE_DIR/tiny-drive" 2>/dev/null ||
      say "could not mount the tiny drive T: (needs root); the full-drive tests will say so"
  fi
  ln -sfn "$WINE_DIR/tiny-drive" "$prefix/dosdevices/t:"
  WINEPREFIX="$prefix" "$WINESERVER" -p </dev/null >/dev/null 2>&1
  WINEPREFIX="$prefix" "$WINE" wineboot </dev/null >/dev/null 2>&1
}

StopPrefixes() {
  local prefix
  for prefix in "$WINE_DIR"/prefix-*; do
    [ -d "$prefix" ] || continue
    WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX="$prefix" "$WINESERVER" -w 2>/dev/null || true
  done
  if mountpoint -q "$WINE_DIR/tiny-drive" 2>/dev/null; then
    as_root umount -l "$WINE_DIR/tiny-drive" 2>/dev/null || true
  fi
}

StopDisplay() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}
