#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only when some are missing, so
# that a second run stays fast. Usage: tools/pakete.sh bauen|start|test|windows
set -euo pipefail

bauen=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxlsxwriter-dev
       fonts-dejavu-core)
# LibreOffice opens and prints the lists and certificates. Its "-nogui" core
# has no CUPS (a print would silently come to nothing), so the full core goes
# beside the writer; fonts-liberation brings Liberation Sans Narrow, which
# prints in place of the templates' "Arial Narrow".
start=("${bauen[@]}" qt6-qpa-plugins xdg-utils qt6-translations-l10n libreoffice-writer-nogui libreoffice-core fonts-liberation
       cups-client)
# The print tests start a CUPS of their own (tools/cups_test.sh) with a
# cups-pdf printer; tidy checks the HTML report, Chromium shows it. The
# installation test validates the desktop file, builds a MIME database and
# asks gio which type a file is. The keyboard test types and clicks with
# xdotool and closes the window the way a window manager does, through
# python3-xlib (Debian's own python3 runs that part).
test=("${bauen[@]}" qt6-qpa-plugins qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick
      libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-core poppler-utils fonts-liberation
      cups printer-driver-cups-pdf tidy chromium desktop-file-utils shared-mime-info libglib2.0-bin
      xdotool python3-xlib
      clang-14 libclang-rt-14-dev)
# clang-14 and libclang-rt-14-dev (libFuzzer and the sanitizer runtimes) build
# and run the fuzz harnesses of tests/fuzz.
# The Windows build (tools/windows): the MinGW cross compiler, zlib for it,
# dpkg-dev to fetch Debian's sources of Qt, SQLite and libxlsxwriter, the host
# Qt tools (moc, rcc, uic) of the same Qt version, and Wine to run the tests.
windows=(cmake ninja-build qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev xz-utils
         tcl libgtest-dev wine wine64 zip xvfb xauth imagemagick xdotool)

case "${1:-}" in
  bauen) pakete=("${bauen[@]}") ;;
  start) pakete=("${start[@]}") ;;
  test) pakete=("${test[@]}") ;;
  windows) pakete=("${windows[@]}") ;;
  *) echo "Aufruf: $0 bauen|start|test|windows" >&2; exit 2 ;;
esac

fehlend=()
for p in "${pakete[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    fehlend+=("$p")
  fi
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

als_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Es fehlen Pakete (${fehlend[*]}), und ohne root-Rechte und ohne sudo kann ich sie nicht installieren." >&2
    exit 1
  fi
  als_root=(sudo)
fi
echo "Installiere: ${fehlend[*]}"
export DEBIAN_FRONTEND=noninteractive
"${als_root[@]}" apt-get update -q
"${als_root[@]}" apt-get install -y -q --no-install-recommends "${fehlend[@]}"
