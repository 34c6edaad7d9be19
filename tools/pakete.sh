#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only when some are missing, so
# that a second run stays fast. Usage: tools/pakete.sh bauen|start|test
set -euo pipefail

bauen=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite libxlsxwriter-dev
       fonts-dejavu-core)
start=("${bauen[@]}" xdg-utils qt6-translations-l10n)
test=("${bauen[@]}" qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick
      libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils fonts-liberation)

case "${1:-}" in
  bauen) pakete=("${bauen[@]}") ;;
  start) pakete=("${start[@]}") ;;
  test) pakete=("${test[@]}") ;;
  *) echo "Aufruf: $0 bauen|start|test" >&2; exit 2 ;;
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
