#!/usr/bin/env bash
# Installs and builds everything the build, the tests and the demo need.
#
# Idempotent: Debian packages are installed only when missing, and the mingw
# builds of FFmpeg, TinyXML and GoogleTest are cached outside the build tree
# (VELA_CACHE, default ~/.cache/vela) under a key made of the source version
# and the build recipe, so a second run finishes in seconds.
#
# Prints the mingw prefix on the last line of stdout when called with --print-prefix.
set -euo pipefail

CACHE=${VELA_CACHE:-$HOME/.cache/vela}
PREFIX="$CACHE/mingw64"
SRC="$CACHE/src"
STAMPS="$CACHE/stamps"
TRIPLE=x86_64-w64-mingw32
JOBS=$(nproc)
# Bump when a build recipe below changes, so cached builds are redone.
RECIPE=3

log()  { echo "[deps] $*" >&2; }
fail() { echo "[deps] FAILED: $*" >&2; exit 1; }

PACKAGES=(
  # cross toolchains (the 32-bit one builds only the camera modules) and build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix cmake ninja-build nasm make pkg-config dpkg-dev
  # running and driving the program headless
  wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
  # native build: tests under sanitizers, the phone simulator, the picture generator
  g++ googletest libtinyxml-dev libavcodec-dev libavutil-dev libswscale-dev libx264-dev
  python3-pil
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  local aptlog="${TMPDIR:-/tmp}/vela-apt.log"
  apt-get update >"$aptlog" 2>&1 || { tail -n 20 "$aptlog" >&2; fail "apt-get update (is the Debian package registry reachable?)"; }
  apt-get install -y --no-install-recommends "${missing[@]}" >>"$aptlog" 2>&1 \
    || { tail -n 20 "$aptlog" >&2; fail "apt-get install ${missing[*]}"; }
}

ensure_deb_src() {
  if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src' /etc/apt/sources.list \
    || grep -rqs '^deb-src' /etc/apt/sources.list.d/; then
    return 0
  fi
  # Source entries are copies of the machine's own binary entries with the
  # type changed, so they follow whatever mirror the machine is set up with.
  log "adding source-package entries copied from the configured package sources"
  local d=/etc/apt/sources.list.d f
  for f in "$d"/*.sources; do
    [ -f "$f" ] && [ "$f" != "$d/vela-deb-src.sources" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f"
    echo
  done > "$d/vela-deb-src.sources"
  cat /etc/apt/sources.list "$d"/*.list 2>/dev/null | sed -nE 's/^deb([[:space:]])/deb-src\1/p' > "$d/vela-deb-src.list"
  for f in "$d/vela-deb-src.sources" "$d/vela-deb-src.list"; do
    grep -q '[^[:space:]]' "$f" || rm -f "$f"
  done
  [ -f "$d/vela-deb-src.sources" ] || [ -f "$d/vela-deb-src.list" ] \
    || fail "no package sources are configured, so there are none to copy for source packages"
  apt-get update >/dev/null 2>&1 || fail "apt-get update after adding source entries (is the Debian package registry reachable?)"
}

# fetch_source NAME -> echoes the extracted source folder (patched by dpkg-source)
fetch_source() {
  local name=$1 dir
  dir=$(ls -d "$SRC/$name"-[0-9]* 2>/dev/null | head -n1 || true)
  if [ -z "$dir" ]; then
    ensure_deb_src
    mkdir -p "$SRC"
    log "fetching Debian source package $name"
    (cd "$SRC" && apt-get source -qq "$name" >/dev/null 2>&1) || fail "apt-get source $name"
    dir=$(ls -d "$SRC/$name"-[0-9]* | head -n1)
  fi
  echo "$dir"
}

build_ffmpeg() {
  local stamp="$STAMPS/ffmpeg.r$RECIPE"
  [ -f "$stamp" ] && return 0
  local dir; dir=$(fetch_source ffmpeg)
  log "building FFmpeg $(basename "$dir") for $TRIPLE (about 3 minutes)"
  local b="$CACHE/build/ffmpeg"; rm -rf "$b"; mkdir -p "$b"
  (cd "$b" && "$dir/configure" --prefix="$PREFIX" \
      --enable-cross-compile --cross-prefix=$TRIPLE- --arch=x86_64 --target-os=mingw32 \
      --disable-everything --disable-programs --disable-doc --disable-network \
      --disable-avdevice --disable-avformat --disable-avfilter --disable-swresample --disable-postproc \
      --disable-autodetect --enable-w32threads --disable-debug \
      --enable-decoder=h264 --enable-parser=h264 --enable-swscale \
      --enable-static --disable-shared >"$b/configure.log" 2>&1) \
    || { tail -n 30 "$b/configure.log" >&2; fail "FFmpeg configure"; }
  make -C "$b" -j"$JOBS" >"$b/make.log" 2>&1 || { tail -n 30 "$b/make.log" >&2; fail "FFmpeg build"; }
  make -C "$b" install >>"$b/make.log" 2>&1 || fail "FFmpeg install"
  basename "$dir" > "$stamp"
}

build_tinyxml() {
  local stamp="$STAMPS/tinyxml.r$RECIPE"
  [ -f "$stamp" ] && return 0
  local dir; dir=$(fetch_source tinyxml)
  log "building TinyXML $(basename "$dir") for $TRIPLE"
  local b="$CACHE/build/tinyxml"; rm -rf "$b"; mkdir -p "$b" "$PREFIX/include" "$PREFIX/lib"
  for f in tinyxml tinyxmlparser tinyxmlerror tinystr; do
    $TRIPLE-g++-posix -O2 -DTIXML_USE_STL -c "$dir/$f.cpp" -o "$b/$f.o" || fail "TinyXML compile $f.cpp"
  done
  $TRIPLE-ar rcs "$PREFIX/lib/libtinyxml.a" "$b"/*.o
  cp "$dir/tinyxml.h" "$dir/tinystr.h" "$PREFIX/include/"
  basename "$dir" > "$stamp"
}

build_googletest() {
  local stamp="$STAMPS/googletest.r$RECIPE"
  [ -f "$stamp" ] && return 0
  [ -d /usr/src/googletest ] || fail "/usr/src/googletest missing (package googletest)"
  log "building GoogleTest for $TRIPLE"
  local b="$CACHE/build/googletest"; rm -rf "$b"
  cmake -S /usr/src/googletest -B "$b" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
      -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF >"$CACHE/build/googletest.log" 2>&1 \
    || { tail -n 30 "$CACHE/build/googletest.log" >&2; fail "GoogleTest configure"; }
  cmake --build "$b" >>"$CACHE/build/googletest.log" 2>&1 || { tail -n 30 "$CACHE/build/googletest.log" >&2; fail "GoogleTest build"; }
  cmake --install "$b" >>"$CACHE/build/googletest.log" 2>&1 || fail "GoogleTest install"
  dpkg-query -W -f='googletest-${Version}' googletest > "$stamp"
}

main() {
  [ "$(id -u)" = 0 ] || fail "run as root (it installs Debian packages)"
  install_packages
  mkdir -p "$STAMPS" "$PREFIX"
  build_tinyxml
  build_googletest
  build_ffmpeg
  log "ready: $PREFIX"
  [ "${1:-}" = --print-prefix ] && echo "$PREFIX"
  return 0
}

main "$@"
