#!/usr/bin/env bash
# Fetches and cross-builds what the Windows build of Zieltafel needs, into a
# cache outside the source tree (ZT_MINGW, default ~/.cache/zieltafel/mingw):
# Qt's base (Core, Gui, Widgets, Sql with SQLite, PrintSupport, Test, the
# "windows" and "offscreen" platforms), SQLite, libxlsxwriter and GoogleTest,
# all from Debian's own sources, built with Debian's MinGW-w64 compiler.
# A second run finds each part done and does nothing.
set -euo pipefail
quelle="$(cd "$(dirname "$0")/../.." && pwd)"
cache="${ZT_MINGW:-$HOME/.cache/zieltafel/mingw}"
jobs="${ZT_JOBS:-$(nproc)}"
ziel="$cache/prefix"
kette="$quelle/tools/windows/mingw.cmake"
anfang=$(date +%s)
mkdir -p "$cache/quellen" "$cache/bau" "$ziel"

"$quelle/tools/pakete.sh" windows

als_root=()
[ "$(id -u)" -ne 0 ] && als_root=(sudo)

# apt-get source needs a deb-src line for the archive the packages come from,
# with the same key.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -q '^Sources$'; then
  ursprung=/etc/apt/sources.list.d/debian.sources
  [ -f "$ursprung" ] || { echo "$ursprung fehlt: ohne ihn finde ich Debians Quellen nicht." >&2; exit 1; }
  sed 's/^Types: deb$/Types: deb-src/' "$ursprung" | "${als_root[@]}" tee /etc/apt/sources.list.d/zieltafel-quellen.sources >/dev/null
  "${als_root[@]}" apt-get update -q
fi

holen() {  # holen <Quellpaket>: entpackt den Quelltext nach $cache/quellen/<Paket>
  local paket=$1
  [ -d "$cache/quellen/$paket" ] && return 0
  local tmp="$cache/quellen/.$paket"
  rm -rf "$tmp" && mkdir -p "$tmp"
  (cd "$tmp" && apt-get source -q --download-only "$paket" >/dev/null)
  local orig
  orig=$(ls "$tmp"/*.orig.tar.* | head -1)
  mkdir -p "$tmp/src"
  tar -xf "$orig" -C "$tmp/src" --strip-components=1
  mv "$tmp/src" "$cache/quellen/$paket"
  rm -rf "$tmp"
}

fertig() { [ -f "$cache/bau/$1.fertig" ]; }
erledigt() { touch "$cache/bau/$1.fertig"; }

# ---- SQLite ----------------------------------------------------------------
if ! fertig sqlite; then
  holen sqlite3
  b="$cache/bau/sqlite"
  rm -rf "$b" && mkdir -p "$b"
  # The amalgamation is made on the host (it needs tclsh), then compiled once.
  (cd "$b" && "$cache/quellen/sqlite3/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
  mkdir -p "$ziel/include" "$ziel/lib"
  x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -c "$b/sqlite3.c" -o "$b/sqlite3.o"
  x86_64-w64-mingw32-ar rcs "$ziel/lib/libsqlite3.a" "$b/sqlite3.o"
  cp "$b/sqlite3.h" "$b/sqlite3ext.h" "$ziel/include/"
  mkdir -p "$ziel/lib/pkgconfig"
  printf 'Name: SQLite\nDescription: SQLite for Windows\nVersion: %s\nLibs: -L%s/lib -lsqlite3\nCflags: -I%s/include\n' \
    "$(cat "$cache/quellen/sqlite3/VERSION")" "$ziel" "$ziel" > "$ziel/lib/pkgconfig/sqlite3.pc"
  erledigt sqlite
fi

# ---- libxlsxwriter -----------------------------------------------------------
if ! fertig xlsxwriter; then
  holen libxlsxwriter
  b="$cache/bau/xlsxwriter"
  rm -rf "$b"
  cmake -S "$cache/quellen/libxlsxwriter" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$kette" -DZT_MINGW="$cache" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$ziel" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF \
    -DBUILD_EXAMPLES=OFF >/dev/null
  cmake --build "$b" -j "$jobs" >/dev/null
  cmake --install "$b" >/dev/null
  # The static library needs zlib wherever it is linked.
  if [ ! -f "$ziel/lib/pkgconfig/xlsxwriter.pc" ]; then
    printf 'Name: libxlsxwriter\nDescription: libxlsxwriter for Windows\nVersion: 1\nLibs: -L%s/lib -lxlsxwriter -lz\nCflags: -I%s/include\n' \
      "$ziel" "$ziel" > "$ziel/lib/pkgconfig/xlsxwriter.pc"
  fi
  erledigt xlsxwriter
fi

# ---- GoogleTest (Debian ships its source with libgtest-dev) ----------------
if ! fertig gtest; then
  b="$cache/bau/gtest"
  rm -rf "$b"
  cmake -S /usr/src/googletest -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$kette" -DZT_MINGW="$cache" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$ziel" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$b" -j "$jobs" >/dev/null
  cmake --install "$b" >/dev/null
  erledigt gtest
fi

# ---- Qt's base ---------------------------------------------------------------
if ! fertig qtbase; then
  holen qt6-base
  # A build that stopped half-way goes on where it stopped.
  b="$cache/bau/qtbase"
  # Qt's own copies of zlib, PCRE2, FreeType, HarfBuzz, libpng, libjpeg and
  # double-conversion; the host's moc, rcc and uic (the same Qt version).
  # Printing on Windows needs the DirectWrite font engine, which Qt builds
  # only with Direct2D. Debian's source lacks the Wintab header that tablet
  # input needs, and nothing here uses a tablet.
  cmake -S "$cache/quellen/qt6-base" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$kette" -DZT_MINGW="$cache" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$ziel" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_sqlite=ON -DFEATURE_sql_sqlite=ON \
    -DSQLite3_INCLUDE_DIR="$ziel/include" -DSQLite3_LIBRARY="$ziel/lib/libsqlite3.a" \
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
    -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_openssl=OFF \
    -DFEATURE_direct2d=ON -DFEATURE_directwrite=ON -DFEATURE_directwrite3=ON -DFEATURE_tabletevent=OFF \
    > "$cache/bau/qtbase-konfiguration.log"
  cmake --build "$b" -j "$jobs"
  cmake --install "$b" >/dev/null
  erledigt qtbase
fi

dauer=$(( $(date +%s) - anfang ))
echo "Windows-Bibliotheken in $ziel (dieser Lauf: $((dauer / 60)) min $((dauer % 60)) s)"
