#!/usr/bin/env python3
"""Whole-process figures beside the in-process benchmarks: zieltafel-cli
against a plain Python script doing the same work on the same generated
files, in paired runs, medians reported.

  bench/prozess.py [--anzahl 100000] [--runden 5] [--build build/release]

The programs are built in the given build folder (Release) when they are
missing. What is timed is the whole process, start-up included; the peak
resident memory is the child's own (wait4). With strace installed, the
processes one start of zieltafel-cli spawns are counted too.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

QUELLE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# ---- the plain-script equivalents -------------------------------------------

def zeit_in_zehnteln(text):
    """'0:45:12.3' / '45:12,3' -> tenths, None for no time."""
    teile = text.strip().replace(",", ".").split(":")
    if len(teile) < 2:
        return None
    try:
        werte = [float(t) for t in teile]
    except ValueError:
        return None
    while len(werte) < 3:
        werte.insert(0, 0.0)
    return round((werte[0] * 3600 + werte[1] * 60 + werte[2]) * 10)


def zeilen_lesen(pfad):
    with open(pfad, "rb") as f:
        text = f.read().decode("cp1252", errors="replace")
    zeilen = []
    for zeile in text.split("\r\n"):
        if not zeile or zeile.startswith("#"):
            continue
        felder = zeile.split("\t")
        felder += [""] * (20 - len(felder))
        zeilen.append(felder)
    return zeilen


def skript_laden(laeufer):
    zeilen = zeilen_lesen(laeufer)
    # Route, class, time as the program sorts a result list.
    zeilen.sort(key=lambda f: (f[3], f[8], zeit_in_zehnteln(f[7]) or 10 ** 12))
    return len(zeilen)


def skript_zuordnen(laeufer, zeitdatei, ziel):
    zeilen = zeilen_lesen(laeufer)
    nach_nummer = {}
    for felder in zeilen:
        nach_nummer.setdefault(felder[2].strip().lstrip("0"), felder)
    with open(zeitdatei, "rb") as f:
        text = f.read().decode("cp1252", errors="replace")
    for zeile in text.split("\r\n")[1:]:
        teile = zeile.split(";")
        if len(teile) < 3:
            continue
        felder = nach_nummer.get(teile[1].strip().lstrip("0"))
        if felder is not None and not felder[7]:
            felder[7] = teile[2].replace(",", ".")
    with open(ziel, "w", encoding="utf-8") as f:
        for felder in zeilen:
            f.write("\t".join(felder) + "\n")
    return len(zeilen)


# ---- measuring --------------------------------------------------------------

def messen(befehl, umgebung, ordner):
    """Wall time in seconds and peak RSS in MiB of one run. GNU time starts
    the child: a child forked from this script would count the script's own
    pages as its peak."""
    spur = os.path.join(ordner, "rss")
    anfang = time.perf_counter()
    r = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", spur] + befehl, env=umgebung,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    dauer = time.perf_counter() - anfang
    if r.returncode != 0:
        sys.exit("fehlgeschlagen (%d): %s" % (r.returncode, " ".join(befehl)))
    with open(spur) as f:
        return dauer, int(f.read().split()[-1]) / 1024.0


def bauen(build):
    cli = os.path.join(build, "zieltafel-cli")
    gen = os.path.join(build, "zt_laeuferdatei")
    if not (os.path.exists(cli) and os.path.exists(gen)):
        if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
            subprocess.run(["cmake", "-S", QUELLE, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                            "-DZT_TESTS=OFF", "-DZT_BENCH=OFF"], check=True)
        subprocess.run(["cmake", "--build", build, "--target", "zieltafel-cli", "zt_laeuferdatei", "-j2"],
                       check=True)
    return cli, gen


def kindprozesse(cli, umgebung, ordner):
    if not shutil.which("strace"):
        return None
    spur = os.path.join(ordner, "spur")
    subprocess.run(["strace", "-f", "-qq", "-e", "trace=execve", "-o", spur, cli, "neu"], env=umgebung,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(spur) as f:
        return sum(1 for z in f if "execve(" in z and "= 0" in z)


def main():
    a = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    a.add_argument("--anzahl", type=int, default=100000)
    a.add_argument("--runden", type=int, default=5)
    a.add_argument("--build", default=os.path.join(QUELLE, "build", "release"))
    a.add_argument("--skript-laden", nargs=1, help=argparse.SUPPRESS)
    a.add_argument("--skript-zuordnen", nargs=3, help=argparse.SUPPRESS)
    o = a.parse_args()
    if o.skript_laden:
        skript_laden(*o.skript_laden)
        return
    if o.skript_zuordnen:
        skript_zuordnen(*o.skript_zuordnen)
        return

    cli, gen = bauen(os.path.abspath(o.build))
    with tempfile.TemporaryDirectory() as ordner:
        umgebung = dict(os.environ, HOME=ordner, ZIELTAFEL_PROGRAMMORDNER=os.path.join(ordner, "p"),
                        ZIELTAFEL_ARBEITSORDNER=os.path.join(ordner, "a"), QT_QPA_PLATFORM="offscreen")
        laeufer = os.path.join(ordner, "gross.csv")
        zeiten = os.path.join(ordner, "gross.erg")
        subprocess.run([gen, str(o.anzahl), "--seed", "42", "--zeiten", "0", "--ohne-ini-zeile", "-o", laeufer],
                       check=True)
        # Every participant finishes once, in an order unlike the start numbers.
        nummern = [f[2] for f in zeilen_lesen(laeufer) if f[2].strip()]
        random.Random(7).shuffle(nummern)
        with open(zeiten, "wb") as f:
            f.write(b"Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n")
            for i, n in enumerate(nummern, 1):
                z = 9000 + i * 3
                f.write(("%04d;%s;%d:%02d:%02d,%d;;10:00:00\r\n"
                         % (i, n, z // 36000, z // 600 % 60, z // 10 % 60, z % 10)).encode())
        print("%d Teilnehmer, Läuferdatei %.1f MB, Zeitdatei %.1f MB, %d Runden, %s"
              % (o.anzahl, os.path.getsize(laeufer) / 1e6, os.path.getsize(zeiten) / 1e6, o.runden, cli))

        py = [sys.executable, os.path.abspath(__file__)]
        paare = [
            ("laden", [cli, "oeffnen", laeufer], py + ["--skript-laden", laeufer]),
            ("laden+zuordnen", [cli, "oeffnen", laeufer, "zeiten", zeiten],
             py + ["--skript-zuordnen", laeufer, zeiten, os.path.join(ordner, "aus.tsv")]),
            ("start (neu)", [cli, "neu"], None),
        ]
        print("%-16s %12s %10s %12s %10s %7s" % ("Schritt", "zieltafel s", "MiB", "Skript s", "MiB", "Faktor"))
        for name, befehl, skript in paare:
            eigen, fremd = [], []
            for _ in range(o.runden):
                eigen.append(messen(befehl, umgebung, ordner))
                if skript:
                    fremd.append(messen(skript, umgebung, ordner))
            e = statistics.median(d for d, _ in eigen)
            em = max(m for _, m in eigen)
            if skript:
                f = statistics.median(d for d, _ in fremd)
                fm = max(m for _, m in fremd)
                print("%-16s %12.3f %10.0f %12.3f %10.0f %6.2fx" % (name, e, em, f, fm, e / f))
            else:
                print("%-16s %12.3f %10.0f %12s %10s %7s" % (name, e, em, "-", "-", "-"))
        kinder = kindprozesse(cli, umgebung, ordner)
        if kinder is not None:
            print("Prozesse bei \"zieltafel-cli neu\" (execve, strace): %d" % kinder)


if __name__ == "__main__":
    main()
