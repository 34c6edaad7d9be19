#!/usr/bin/env python3
"""Race day at the finish line with real keys: xdotool clicks and types into
the real window on an Xvfb screen of its own.

Right after every page command, and the window's close, three start numbers
are typed at once: none may answer a question or get lost, no earlier finish
may vanish, the clock goes on and the focus is back in the start-number field.
At the end Ctrl+Z brings back a deleted finish. The steering channel only sets
up and asks; every input is an X event.

Usage: tastatur_test.py ZIELTAFEL_BINARY
ZT_TASTATUR_BILDER=DIR keeps a screenshot of every failed step there.
"""
import collections
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "renntag"))
import renntag_test as rt  # noqa: E402
from renntag_test import Abbruch, Fenster, bildschirm, pruefen  # noqa: E402

# What a window manager sends when the operator clicks the window's X, to the
# top-level window under the pointer. Debian's own python3 runs it: that is
# the one python3-xlib is installed for.
SCHLIESSEN = """
import sys
from Xlib import X, display, protocol
d = display.Display(sys.argv[1])
w = d.screen().root.query_pointer().child
art, zu = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("WM_DELETE_WINDOW")
w.send_event(protocol.event.ClientMessage(window=w, client_type=art, data=(32, [zu, X.CurrentTime, 0, 0, 0])))
d.flush()
"""

# What the operator does before the next finisher's numbers: (label, steps,
# a query and the answer it must give afterwards). No backup folder is set
# before "Sicherungsort", so "Zeitmessung speichern" has to tell of a fault.
BEFEHLE = [
    ("Einlauf löschen", [("klick", "Einlaufliste 2"), ("klick", "cmdEinlaufLoeschen")], None),
    ("Einlauf einfügen", [("klick", "Einlaufliste 2"), ("klick", "cmdEinlaufEinfuegen")], None),
    ("Zeitmessung beenden", [("klick", "cmdZeitmessungBeenden")], None),
    ("Fenster schließen", [("schliessen", "")], None),
    ("von Zeit", [("klick", "chkZweiteStartUhrzeit"), ("klick", "cmdStartzeit2VonZeit")], None),
    ("i.O.", [("nachtippen", "txtStartStunde"), ("klick", "cmdStartzeitUebernehmen")], None),
    ("Zeitmessung speichern", [("klick", "cmdZeitmessungSpeichern")], None),
    ("Sicherungsort", [("klick", "txtSicherungsort"), ("key", "ctrl+a"), ("type", "{sicherung}"),
                       ("key", "Tab")], ("text txtSicherungsort", "{sicherung}")),
    ("in 2.Startzeit", [("klick", "Einlaufliste 1"), ("klick", "cmdInStartzeit2")], None),
]


class Ziellinie:
    def __init__(self, binary, arbeit):
        self.binary, self.f = binary, None
        self.ordner, self.sicherung = os.path.join(arbeit, "arbeit"), os.path.join(arbeit, "sicherung")
        self.erg = os.path.join(self.ordner, "lauf.erg")
        for o in (os.path.join(arbeit, "programm"), self.ordner, self.sicherung):
            os.makedirs(o)
        self.bilder = os.environ.get("ZT_TASTATUR_BILDER", "")
        self.x, self.env = bildschirm(arbeit, os.path.join(arbeit, "programm"), self.ordner)
        self.stderr = open(os.path.join(arbeit, "stderr.txt"), "w+")

    # --- the program, on the timing page with the clock running
    def oeffnen(self):
        self.f = Fenster(self.binary, self.env, self.stderr)
        self.f.ok("warten 300")
        self.f.ok("antworten ja")  # a time file left by an earlier run is read in and resumed
        if self.f.wert("reiter 2") != "2":
            raise Abbruch("die Seite Zeitnahme lässt sich nicht öffnen")
        self.f.ok("antworten")
        self.f.ok("zeigen")  # from here on every box is shown and waits for real keys
        if self.f.wert("frei cmdZeitmessungStarten") == "ja":
            self.klick("cmdZeitmessungStarten")
        for _ in range(30):  # the running time shows once the clock has ticked
            if self.f.wert("text Laufzeit") != "00:00:00":
                return
            self.f.ok("warten 100")
        raise Abbruch("die Uhr läuft nicht an")

    def lebt(self):
        return self.f.p.poll() is None

    def beenden(self):
        if self.f and self.lebt():
            self.f.p.kill()
            self.f.p.wait()

    # --- the operator's hands
    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=60)

    def klick(self, name, sofort=False):
        """A control, or "LIST ROW" a row of a list."""
        # A click on a locked control would do nothing, and the keys after it
        # would pass for nothing.
        if self.frage("frei " + name.split()[0]) != "ja":
            raise Abbruch("%s ist nicht benutzbar" % name)
        for _ in range(10):
            ort = self.frage("ort " + name)
            if ort or " " not in name:
                break
            # The list follows the last finish down: the wheel brings row 1 back.
            self.xdo("mousemove", *self.f.wert("ort " + name.split()[0]).split(), "click", "--repeat", "5", "4")
        if not ort:
            raise Abbruch("%s ist nicht zu sehen" % name)
        self.xdo("mousemove", *ort.split(), "click", "1")
        if not sofort:
            self.f.ok("warten 50")  # the click reaches the window before the next query does

    def schritt(self, art, wert, sofort):
        if art == "klick":
            self.klick(wert, sofort)
        elif art in ("key", "type"):
            self.xdo(art, "--delay", "30", wert.format(sicherung=self.sicherung))
        elif art == "nachtippen":
            # The last digit once more: the field counts as changed after a
            # single key, wherever the page puts the focus after it.
            letzte = self.f.wert("text " + wert)[-1:] or "0"
            self.klick(wert)
            self.xdo("key", "--delay", "30", "End", "shift+Left", letzte)
        elif art == "schliessen":
            self.klick("txtStartnummer")
            subprocess.run(["/usr/bin/python3", "-c", SCHLIESSEN, self.env["DISPLAY"]], check=True, timeout=30)

    def nummern(self, nummern):
        # One xdotool for all of them, digits and Return as key names: no pause
        # between the command and the next finishers.
        self.xdo("key", "--delay", "30", *[k for n in nummern for k in list(n) + ["Return"]])

    # --- what can be seen
    def zeilen(self):
        try:
            with open(self.erg, encoding="cp1252", newline="") as d:
                return [z.split(";") for z in d.read().split("\r\n")[1:] if z]
        except FileNotFoundError:
            return []

    def abwarten(self, fertig, sekunden=1.5):
        """The keys go through the X server on their own way: wait for their effect."""
        ende = time.monotonic() + sekunden
        while not fertig(self.zeilen()) and time.monotonic() < ende:
            time.sleep(0.05)
        if self.lebt():
            self.f.ok("warten 150")
        return self.zeilen()

    def frage(self, zeile):  # None when the control is missing
        antwort = self.f.befehl(zeile)[0]
        return antwort[3:] if antwort.startswith("ok") else None

    def fokus_pruefen(self, was):
        wer = self.frage("fokus")
        return pruefen(wer == "txtStartnummer", "%s: die Tastatur ist bei %r statt in txtStartnummer" % (was, wer))

    def gepruefter(self, name, schritt, *args):
        """A step whose failures are kept as text and, if wanted, as a screenshot."""
        bisher = len(rt.FEHLER)
        try:
            schritt(*args)
        except (Abbruch, subprocess.SubprocessError) as e:
            pruefen(False, "%s: %s" % (name, e))
        if len(rt.FEHLER) > bisher and self.bilder:
            os.makedirs(self.bilder, exist_ok=True)
            datei = "".join(c for c in name if c.isascii() and c.isalnum()) + ".png"
            subprocess.run(["import", "-window", "root", os.path.join(self.bilder, datei)], env=self.env, timeout=30)

    # --- one page command, then three finishers at once
    def befehl(self, nr, was, schritte, danach):
        nummern = [str(100 * nr + k) for k in (1, 2, 3)]
        vorher = self.zeilen()
        self.klick("txtStartnummer")
        if not self.fokus_pruefen(was + ", vorher nach einem Klick hinein"):
            return
        for i, (art, wert) in enumerate(schritte):
            self.schritt(art, wert, i == len(schritte) - 1)
        self.nummern(nummern)
        jetzt = self.abwarten(lambda z: set(nummern) <= {r[1] for r in z})
        fehlen = [n for n in nummern if n not in {r[1] for r in jetzt}]
        pruefen(not fehlen, "%s: getippt %s, in lauf.erg fehlen %s" % (was, nummern, fehlen))
        weg = collections.Counter(r[1] for r in vorher if r[1]) - collections.Counter(r[1] for r in jetzt)
        pruefen(not weg, "%s: früherer Einlauf gelöscht (Startnummer %s)" % (was, ", ".join(sorted(weg))))
        if not pruefen(self.lebt(), "%s: das Programm ist beendet (Rückgabe %s)" % (was, self.f.p.poll())):
            return
        modal = self.frage("aktiv")
        pruefen(modal == "-", "%s: ein modales Fenster ist offen: %r" % (was, modal.replace("\t", " ")))
        uhr = (self.frage("frei txtStartnummer"), self.frage("text Laufzeit"))
        pruefen(uhr[0] == "ja" and uhr[1] != "00:00:00",
                "%s: die Zeitmessung läuft nicht mehr (txtStartnummer frei: %s, Laufzeit %s)" % ((was,) + uhr))
        self.fokus_pruefen(was)
        if danach:
            frage, soll = danach[0], danach[1].format(sicherung=self.sicherung)
            pruefen(self.frage(frage) == soll, "%s: %s ist %r statt %r" % (was, frage, self.frage(frage), soll))

    def aufraeumen(self, was):
        """Leaves the page ready for the next command; restarts the program if it is not."""
        try:
            if self.lebt() and self.bereit(was):
                return
        except Abbruch:
            pass
        print("  (%s: Programm neu gestartet, lauf.erg wird eingelesen)" % was, flush=True)
        self.beenden()
        self.oeffnen()

    def bereit(self, was):
        for _ in range(4):
            if self.frage("aktiv") == "-":
                break
            self.xdo("key", "Escape")  # the harmless answer of every box
            self.f.ok("warten 200")
        if self.frage("frei cmdRueckfrageNein") == "ja":
            vorher = self.zeilen()
            self.klick("cmdRueckfrageNein")
            pruefen(self.abwarten(lambda z: z != vorher, 0.5) == vorher,
                    "%s: Nein auf der Rückfrage hat lauf.erg geändert" % was)
            pruefen(self.frage("frei cmdRueckfrageNein") != "ja", "%s: die Rückfrage bleibt nach Nein offen" % was)
            self.fokus_pruefen(was + ", nach Nein")
        return self.frage("aktiv") == "-" and self.frage("frei txtStartnummer") == "ja"

    def rueckgaengig(self, was):
        self.klick("txtStartnummer")
        vorher = self.zeilen()
        self.klick("Einlaufliste 2")
        self.klick("cmdEinlaufLoeschen")
        if not pruefen(self.frage("frei cmdRueckfrageJa") == "ja", "%s: Einlauf löschen fragt nicht auf der Seite "
                       "(cmdRueckfrageJa fehlt; modal offen: %r)" % (was, self.frage("aktiv").replace("\t", " "))):
            return
        self.klick("cmdRueckfrageJa")
        ohne = vorher[:1] + [[r[0]] + v[1:] for r, v in zip(vorher[1:], vorher[2:])]
        pruefen(self.abwarten(lambda z: z == ohne) == ohne, "%s: nach Ja steht lauf.erg nicht ohne Einlauf 2 da" % was)
        pruefen(self.frage("frei cmdRueckgaengig") == "ja", "%s: cmdRueckgaengig ist nicht frei" % was)
        self.xdo("key", "ctrl+z")
        pruefen(self.abwarten(lambda z: z == vorher) == vorher,
                "%s: nach Strg+Z steht Einlauf 2 (%s) nicht wieder an seinem Platz" % (was, ";".join(vorher[1])))
        self.fokus_pruefen(was)

    def lauf(self):
        self.oeffnen()
        self.klick("txtStartnummer")
        self.nummern(["11", "12", "13", "14"])
        # The harness itself: if these do not arrive, nothing after them means anything.
        if [r[1] for r in self.abwarten(lambda z: len(z) >= 4)] != ["11", "12", "13", "14"]:
            raise Abbruch("getippte Einläufe kommen nicht an (lauf.erg: %r, Fokus %r)"
                          % (self.zeilen(), self.frage("fokus")))
        for nr, (was, schritte, danach) in enumerate(BEFEHLE, 1):
            self.gepruefter("%02d %s" % (nr, was), self.befehl, nr, was, schritte, danach)
            self.aufraeumen(was)
        self.gepruefter("99 Rückgängig", self.rueckgaengig, "Rückgängig")


def tastatur(arbeit, binary):
    z = Ziellinie(binary, arbeit)
    try:
        z.lauf()
    finally:
        z.beenden()
        z.x.terminate()


if __name__ == "__main__":
    sys.exit(rt.hauptprogramm("Tastatur", __doc__, 1, tastatur))
