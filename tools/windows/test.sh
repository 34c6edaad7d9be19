#!/usr/bin/env bash
# Builds Zieltafel for Windows (preset "windows") against the cache of
# tools/windows/qt.sh and runs it under Wine: every domain test program, the
# batch-tool tests (they start zieltafel-cli.exe), the window tests, and the
# real window on an Xvfb screen of its own, opened with the sample event and
# closed the way Windows closes a window. Prints a summary in the manner of
# ctest and exits 1 when anything failed.
#   tools/windows/test.sh          (ZT_MINGW: the cache, ZT_JOBS: build jobs)
set -uo pipefail
quelle="$(cd "$(dirname "$0")/../.." && pwd)"
cache="${ZT_MINGW:-$HOME/.cache/zieltafel/mingw}"
if [ ! -f "$cache/bau/qtbase.fertig" ]; then
  echo "Kein Qt für Windows in $cache: bitte zuerst tools/windows/qt.sh aufrufen." >&2
  exit 2
fi
cd "$quelle"
tools/pakete.sh windows || exit 1
cmake --preset windows -DZT_MINGW="$cache" >/dev/null || exit 1
cmake --build build/windows -j "${ZT_JOBS:-$(nproc)}" || exit 1
bau="$quelle/build/windows"

export WINEPREFIX="${ZT_WINEPREFIX:-$cache/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer at the first start
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Wine-Umgebung anlegen: $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
laufzeit="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
export WINEPATH="$(winepath -w "$cache/prefix/bin");$(winepath -w "$laufzeit");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH="$cache/prefix/plugins"

bestanden=0; fehlgeschlagen=0; uebersprungen=0; namen=()
ergebnis() {  # ergebnis <Name> <0|1> <Anzahl bestanden> <Anzahl fehlgeschlagen> <Anzahl übersprungen>
  bestanden=$((bestanden + $3)); fehlgeschlagen=$((fehlgeschlagen + $4)); uebersprungen=$((uebersprungen + $5))
  if [ "$2" = 0 ]; then
    printf '    %-28s Passed   (%d bestanden, %d übersprungen)\n' "$1" "$3" "$5"
  else
    printf '    %-28s ***Failed (%d bestanden, %d fehlgeschlagen)\n' "$1" "$3" "$4"
    namen+=("$1")
  fi
}

protokolle="$bau/wine-protokolle"
mkdir -p "$protokolle"
for programm in "$bau"/tests/zt_*_tests.exe; do
  name=$(basename "$programm" .exe)
  QT_QPA_PLATFORM=offscreen timeout 1800 wine "$programm" --gtest_brief=1 > "$protokolle/$name.txt" 2>&1
  rc=$?
  # GoogleTest's closing line "[  PASSED  ] 12 tests." (and SKIPPED alike).
  zahl() {
    awk -v w="$1" '$0 ~ "^\\[  " w " *\\] [0-9]+ tests?[,.]" { sub(/^\[[^]]*\] /, ""); z = $1 } END { print z + 0 }' \
      "$protokolle/$name.txt"
  }
  ok=$(zahl PASSED); weg=$(zahl SKIPPED)
  # Each failed test once, as the closing list names it.
  schlecht=$(tr -d '\r' < "$protokolle/$name.txt" | grep -c -E '^\[  FAILED  \] .* \([0-9]+ ms\)$')
  [ "$rc" -ne 0 ] && [ "$schlecht" = 0 ] && schlecht=1  # crashed or hung
  ergebnis "$name" "$rc" "$ok" "$schlecht" "$weg"
done

# The window: opened with the sample event on a screen of its own, looked at,
# then closed through WM_CLOSE as the title bar's X does. Wine's desktop takes
# its screen from the first Wine program of a session, so the session of the
# tests above ends first and every Wine call here sees the screen.
fenster() {
  local tmp; tmp=$(mktemp -d)
  export ZIELTAFEL_PROGRAMMORDNER="$tmp/programm" ZIELTAFEL_ARBEITSORDNER="$tmp/arbeit"
  cp "$quelle"/share/beispiel/Beispiellauf.* "$tmp/"
  wineserver -k 2>/dev/null; wineserver -w
  Xvfb :97 -screen 0 1280x900x24 >/dev/null 2>&1 &
  local xvfb=$!
  sleep 2
  local rc=1
  (
    export DISPLAY=:97
    datei="$(winepath -w "$tmp/Beispiellauf.csv")"
    wine "$bau/zieltafel.exe" "$datei" > "$protokolle/fenster.txt" 2>&1 &
    prog=$!
    # The sample event holds six faulty rows on purpose: the load says so in a
    # box, which the operator confirms.
    for _ in $(seq 60); do xdotool search --name '^Zieltafel$' >/dev/null 2>&1 && break; sleep 1; done
    xdotool search --name '^Zieltafel$' key Return 2>/dev/null
    # Until the load has ended the title starts with "*".
    for _ in $(seq 60); do xdotool search --name '^Zieltafel Beispiellauf' >/dev/null 2>&1 && break; sleep 1; done
    if ! xdotool search --name '^Zieltafel Beispiellauf' >/dev/null 2>&1; then
      echo "Kein Fenster \"Zieltafel Beispiellauf\" erschienen." >> "$protokolle/fenster.txt"
      exit 1
    fi
    import -window root "$bau/fenster.png" 2>/dev/null
    wine taskkill /im zieltafel.exe >/dev/null 2>&1
    for _ in $(seq 30); do kill -0 $prog 2>/dev/null || break; sleep 1; done
    if kill -0 $prog 2>/dev/null; then
      echo "Das Fenster hat sich nicht schließen lassen." >> "$protokolle/fenster.txt"
      exit 1
    fi
    wait $prog
  )
  rc=$?
  wineserver -k 2>/dev/null
  kill $xvfb 2>/dev/null
  rm -rf "$tmp"
  return $rc
}
if fenster; then ergebnis "Fenster (Bild: build/windows/fenster.png)" 0 1 0 0
else ergebnis "Fenster" 1 0 1 0; fi

gesamt=$((bestanden + fehlgeschlagen))
echo
echo "$(( gesamt ? 100 * bestanden / gesamt : 0 ))% tests passed, $fehlgeschlagen tests failed out of $gesamt ($uebersprungen übersprungen)"
echo "Protokolle: $protokolle"
[ ${#namen[@]} -eq 0 ]
