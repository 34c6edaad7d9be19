#!/usr/bin/env bash
# A private CUPS for the print tests: its own cupsd with its own configuration,
# spool and socket below one folder, and one cups-pdf printer whose PDFs land
# in that folder. The system's CUPS service (if any) is neither used nor
# touched; clients reach the private one through CUPS_SERVER.
#
#   tools/cups_test.sh start ORDNER [DRUCKER]   starts it; prints "CUPS_SERVER=…" and "PDF=…"
#   tools/cups_test.sh stop ORDNER              stops the cupsd started there, nothing else
#
# Exit code 77: CUPS or cups-pdf is not installed, or cups-pdf cannot run as
# this user (its backend is root-only); the caller skips its test.
set -euo pipefail

aktion=${1:-}
ordner=${2:-}
drucker=${3:-ZieltafelPDF}
if [ -z "$aktion" ] || [ -z "$ordner" ]; then
  echo "Aufruf: $0 start|stop ORDNER [DRUCKER]" >&2
  exit 2
fi

stoppen() {
  local pid
  [ -f "$ordner/cupsd.pid" ] || return 0
  pid=$(cat "$ordner/cupsd.pid")
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$ordner/cupsd.pid"
}

case "$aktion" in
  stop) stoppen; exit 0 ;;
  start) ;;
  *) echo "Aufruf: $0 start|stop ORDNER [DRUCKER]" >&2; exit 2 ;;
esac

cupsd=/usr/sbin/cupsd
backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
for f in "$cupsd" "$backend" "$ppd"; do
  [ -e "$f" ] || { echo "nicht installiert: $f" >&2; exit 77; }
done
command -v lpadmin >/dev/null || { echo "nicht installiert: lpadmin" >&2; exit 77; }
# CUPS runs a backend without rights for others as root only, and cups-pdf
# insists on that; a cupsd of an ordinary user could never print with it.
[ "$(id -u)" -eq 0 ] || { echo "cups-pdf druckt nur mit einem cupsd, der als root läuft" >&2; exit 77; }

mkdir -p "$ordner"
ordner=$(cd "$ordner" && pwd)
[ -n "$ordner" ] && [ "$ordner" != / ] || { echo "ungeeigneter Ordner" >&2; exit 2; }
stoppen
mkdir -p "$ordner/spool/tmp" "$ordner/cache" "$ordner/state" "$ordner/log" "$ordner/pdf" \
         "$ordner/ppd" "$ordner/pdfspool" "$ordner/bin/backend"
# Filters run as the unprivileged CUPS user and must reach the spool.
chmod 0755 "$ordner" "$ordner/spool" "$ordner/cache" "$ordner/state" "$ordner/log" "$ordner/ppd" \
           "$ordner/bin" "$ordner/bin/backend"
chmod 1777 "$ordner/spool/tmp" "$ordner/pdf"

# cups-pdf reads its settings from /etc/cups only. Our cupsd runs it in a
# mount namespace of its own with our settings laid over that file, so that
# its PDFs, spool and log stay in this folder and the system's file is left
# as it is. Where no namespace can be made, its PDFs go to the owner's ~/PDF.
cat >"$ordner/cups-pdf.conf" <<EOF
Out $ordner/pdf
AnonDirName $ordner/pdf
Spool $ordner/pdfspool
Log $ordner/log
Label 0
TitlePref 1
EOF
for teil in /usr/lib/cups/*; do
  name=$(basename "$teil")
  [ "$name" = backend ] || ln -sfn "$teil" "$ordner/bin/$name"
done
pdfordner="$ordner/pdf"
if unshare -m true 2>/dev/null; then
  {
    echo '#!/bin/sh'
    echo "exec unshare -m sh -c 'mount --bind \"\$0\" /etc/cups/cups-pdf.conf && exec $backend \"\$@\"' \\"
    echo "  \"$ordner/cups-pdf.conf\" \"\$@\""
  } >"$ordner/bin/backend/cups-pdf"
  chmod 0700 "$ordner/bin/backend/cups-pdf"
else
  ln -sfn "$backend" "$ordner/bin/backend/cups-pdf"
  pdfordner="$HOME/PDF"
fi

cat >"$ordner/cups-files.conf" <<EOF
ServerRoot $ordner
ServerBin $ordner/bin
RequestRoot $ordner/spool
TempDir $ordner/spool/tmp
CacheDir $ordner/cache
StateDir $ordner/state
ErrorLog $ordner/log/error_log
AccessLog $ordner/log/access_log
PageLog $ordner/log/page_log
SystemGroup root
EOF
cat >"$ordner/cupsd.conf" <<EOF
Listen $ordner/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
touch "$ordner/printers.conf" "$ordner/classes.conf"

"$cupsd" -f -c "$ordner/cupsd.conf" -s "$ordner/cups-files.conf" >"$ordner/log/cupsd.out" 2>&1 &
echo $! >"$ordner/cupsd.pid"
export CUPS_SERVER="$ordner/cups.sock"
for _ in $(seq 100); do
  [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1 && break
  sleep 0.1
done
if ! lpstat -r >/dev/null 2>&1; then
  echo "cupsd ist nicht gestartet:" >&2
  cat "$ordner/log/cupsd.out" "$ordner/log/error_log" >&2 2>/dev/null || true
  stoppen
  exit 1
fi
# lpadmin warns that printer drivers are deprecated; the PPD still works.
lpadmin -p "$drucker" -v cups-pdf:/ -P "$ppd" -E 2>/dev/null
echo "CUPS_SERVER=$CUPS_SERVER"
echo "PDF=$pdfordner"
