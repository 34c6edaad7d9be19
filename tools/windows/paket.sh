#!/usr/bin/env bash
# Makes Zieltafel-<version>-windows-x64.zip from the Windows build
# (build/windows, made by tools/windows/test.sh or the preset "windows"): the
# two programs, the Qt and MinGW libraries and plug-ins they load (what
# windeployqt would copy), share/ and a LIESMICH.txt. The folder runs from
# wherever it is unpacked, a USB stick too: nothing is installed.
set -euo pipefail
quelle="$(cd "$(dirname "$0")/../.." && pwd)"
cache="${ZT_MINGW:-$HOME/.cache/zieltafel/mingw}"
bau="$quelle/build/windows"
for p in zieltafel.exe zieltafel-cli.exe; do
  [ -f "$bau/$p" ] || { echo "$bau/$p fehlt: bitte zuerst tools/windows/test.sh (oder die Voreinstellung \"windows\") bauen." >&2; exit 2; }
done
version=$(sed -n 's/^project(Zieltafel VERSION \([0-9.]*\).*/\1/p' "$quelle/CMakeLists.txt")
name="Zieltafel-$version-windows-x64"
arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT
ziel="$arbeit/$name"
mkdir -p "$ziel"

cp "$bau/zieltafel.exe" "$bau/zieltafel-cli.exe" "$ziel/"
x86_64-w64-mingw32-strip "$ziel"/*.exe
qt="$cache/prefix"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Sql Qt6PrintSupport; do cp "$qt/bin/$dll.dll" "$ziel/"; done
laufzeit="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
cp "$laufzeit/libstdc++-6.dll" "$laufzeit/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$ziel/"
# Plug-ins in the folders Qt looks for beside the program.
for teil in platforms/qwindows sqldrivers/qsqlite styles/qwindowsvistastyle imageformats/qico; do
  if [ -f "$qt/plugins/$teil.dll" ]; then
    mkdir -p "$ziel/$(dirname "$teil")"
    cp "$qt/plugins/$teil.dll" "$ziel/$teil.dll"
  fi
done
[ -f "$ziel/platforms/qwindows.dll" ] || { echo "Das Qt-Plugin platforms/qwindows.dll fehlt in $qt/plugins." >&2; exit 1; }
# The files the program copies into its folder at the first start.
mkdir -p "$ziel/share"
(cd "$quelle/share" && tar --exclude=desktop -cf - .) | (cd "$ziel/share" && tar -xf -)
# The shipped options name Linux's word processor; on Windows an empty entry
# opens lists and certificates with the program Windows associates with RTF.
sed -i 's|^txtWinWord=/usr/bin/soffice\r$|txtWinWord=\r|' "$ziel/share/Zieltafel.ini"
grep -q $'^txtWinWord=\r$' "$ziel/share/Zieltafel.ini" || { echo "txtWinWord in share/Zieltafel.ini nicht geleert." >&2; exit 1; }
x86_64-w64-mingw32-strip "$ziel"/*.dll "$ziel"/*/*.dll 2>/dev/null || true

printf '%s\r\n' \
  "Zieltafel $version für Windows (64 Bit)" \
  "" \
  "Zieltafel organisiert und wertet kleine Laufveranstaltungen aus: Teilnehmerlisten," \
  "Altersklassen, die Zielzeitnahme am Lauftag, Platzierungen und Ergebnislisten." \
  "" \
  "Starten: Den Ordner an eine beliebige Stelle entpacken (auch auf einen USB-Stick)" \
  "und zieltafel.exe doppelt anklicken. Es wird nichts installiert." \
  "" \
  "Beim ersten Start legt Zieltafel zwei Ordner an:" \
  "  - den Programmordner %APPDATA%\\Zieltafel (Einstellungen, Altersklassen, Vornamen," \
  "    Druckvorlagen)," \
  "  - den Arbeitsordner Dokumente\\Zieltafel (Ihre Veranstaltungen)." \
  "Mit den Umgebungsvariablen ZIELTAFEL_PROGRAMMORDNER und ZIELTAFEL_ARBEITSORDNER" \
  "lassen sich andere Ordner wählen, zum Beispiel auf dem USB-Stick." \
  "" \
  "Ein Beispiel: share\\beispiel\\Beispiellauf.csv über \"Daten laden\" öffnen." \
  "" \
  "Am Lauftag: Die Zeitdatei lauf.erg liegt im Arbeitsordner. Jeder Einlauf wird sofort" \
  "dorthin geschrieben. Die Sicherungskopie geht in den Ordner, der auf der Seite" \
  "\"Zeitnahme\" unter \"Sicherungslaufwerk ändern in:\" steht, oder, wenn dort nur ein" \
  "Laufwerk steht (zum Beispiel E:\\), in dessen obersten Ordner." \
  "" \
  "Drucken und PDF: Ergebnislisten und Urkunden sind RTF-Dateien. Zum Drucken aus" \
  "Zieltafel heraus muss LibreOffice installiert sein (https://de.libreoffice.org)." \
  "" \
  "Ohne Fenster: zieltafel-cli.exe --hilfe zeigt die Schritte der Stapelverarbeitung," \
  "zum Beispiel:" \
  "  zieltafel-cli.exe oeffnen Beispiellauf.csv sortierung \"Platz Strecke(m/w)/AK/Zeit\" ergebnisliste liste.rtf" \
  > "$ziel/LIESMICH.txt"

mkdir -p "$quelle/build"
rm -f "$quelle/build/$name.zip"
(cd "$arbeit" && zip -qr "$quelle/build/$name.zip" "$name")
echo "build/$name.zip ($(du -h "$quelle/build/$name.zip" | cut -f1))"
