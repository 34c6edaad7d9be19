#!/usr/bin/env python3
"""Keeps the help page true to the program.

The page quotes captions and the program's own messages; both drift when the
program changes. Fails when a caption <b class="knopf"> is no string literal
of src/ui ("&" accelerators removed, blanks normalised), when a message
<td class="meldung"> is not in the literals of one source file of src/ (an
<i>...</i> piece stands for a %1 or a value joined in by code), when the page
holds fewer than 25 messages, refers to anything outside itself, or links to
a missing anchor. It first checks itself on a copy with one wrong caption and
one wrong message: a checker blind to those proves nothing on the real page.

Usage: Hilfeseite_test.py SEITE QUELLORDNER
"""
import html.parser
import os
import pathlib
import re
import sys

MINDESTMELDUNGEN = 25
PLATZHALTER = "\x02"  # an <i> piece of the page
LUECKE = "\x01"  # code between two literals of a source file
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "'": "'", "\\": "\\"}
# "a" "b" or "a") + QStringLiteral("b": one message split over lines.
VERBINDUNG = re.compile(r"^(?:\s|\)|\(|\+|QStringLiteral|QLatin1String|QString::fromUtf8|QString|u8|u|L)*$")


# A comment, a character literal ('"' must not open a string), a raw string
# (group 2) or a string (group 3), whichever starts first.
STUECK = re.compile(r"//[^\n]*|/\*.*?(?:\*/|\Z)|'(?:\\.|[^\\'])*'"
                    r'|(?<![\w])(?:u8|[uUL])?R"([^()\\ ]{0,16})\((.*?)\)\1"|"((?:\\.|[^\\"])*)"', re.S)


def literale(text):
    """The string literals of a C++ source in order; literals joined only by
    adjacency, + or the Qt string wrappers become one."""
    zusammen, code, ende = [], "", 0
    for m in STUECK.finditer(text):
        code, ende = code + text[ende:m.start()], m.end()
        if m.group(2) is None and m.group(3) is None:
            continue
        lit = m.group(2) if m.group(3) is None else re.sub(r"\\(.)", lambda e: ESCAPES.get(e[1], e[1]), m.group(3),
                                                             flags=re.S)
        if zusammen and VERBINDUNG.match(code) and ("+" in code or "(" not in code):
            zusammen[-1] += lit
        else:
            zusammen.append(lit)
        code = ""
    return zusammen


def normal(text):
    return re.sub(r"\s+", " ", text).strip()


def quellen(ordner):
    return {str(p.relative_to(ordner)): literale(p.read_text(encoding="utf-8"))
            for p in sorted(pathlib.Path(ordner).rglob("*")) if p.suffix in (".cpp", ".h")}


def meldungsmuster(meldung):
    """A page message as a pattern: an <i> piece matches a %1 of a literal, or
    one value joined in by code (the end of a literal, at most one literal of
    code in between, the start of the next)."""
    teile = meldung.split(PLATZHALTER)
    platz = "(?:%[0-9]+|" + LUECKE + "(?:[^" + LUECKE + "]{0,40}" + LUECKE + ")?)"
    muster = re.escape(teile[0].rstrip())
    for teil in teile[1:]:
        muster += r" ?" + platz + r" ?" + re.escape(teil.strip())
    return re.compile(muster)


class Seite(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.knoepfe, self.meldungen, self.ids, self.links, self.fremd = [], [], set(), [], []
        self.stil, self._stil, self._knopf, self._meldung, self._tiefe, self._kursiv = "", False, None, None, 0, False
        self.feed(text)
        self.close()

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        for schluessel in ("src", "href", "action", "data", "poster", "srcset"):
            wert = (a.get(schluessel) or "").strip()
            if schluessel == "href" and wert.startswith("#"):
                self.links.append(wert[1:])
            elif schluessel in a:
                self.fremd.append("%s %s=%r" % (tag, schluessel, wert))
        if tag in ("script", "link", "iframe", "object", "embed", "img", "base"):
            self.fremd.append("<%s>" % tag)
        self._stil = self._stil or tag == "style"
        if self._meldung is not None:
            if tag == "br":
                self._meldung.append(" ")
                return
            self._tiefe += 1
            if tag == "i":
                self._meldung.append(PLATZHALTER)
                self._kursiv = True
            return
        klassen = (a.get("class") or "").split()
        if tag == "b" and "knopf" in klassen:
            self._knopf = []
        elif tag == "td" and "meldung" in klassen:
            self._meldung, self._tiefe, self._kursiv = [], 0, False

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if self._meldung is not None and tag not in ("br", "td"):
            self._tiefe -= 1

    def handle_endtag(self, tag):
        self._stil = self._stil and tag != "style"
        if self._meldung is not None:
            self._kursiv = self._kursiv and tag != "i"
            if self._tiefe == 0 and tag == "td":
                self.meldungen.append(normal("".join(self._meldung)))
                self._meldung = None
            else:
                self._tiefe -= 1
        elif tag == "b" and self._knopf is not None:
            self.knoepfe.append(normal("".join(self._knopf)))
            self._knopf = None

    def handle_data(self, data):
        self.stil += data if self._stil else ""
        if self._knopf is not None:
            self._knopf.append(data)
        if self._meldung is not None and not self._kursiv:
            self._meldung.append(data)


def pruefen(seitentext, dateien):
    """Every finding, one line each; empty when the page is true."""
    s = Seite(seitentext)
    befunde = []
    # Every literal of src/ui as a caption shows it: "Lauf &Name:" as "Lauf Name:", "&&" as "&".
    texte = {normal(re.sub(r"&(.)", r"\1", lit)) for pfad, lits in dateien.items()
             if pfad.startswith("ui" + os.sep) for lit in lits}
    befunde += ["Beschriftung steht nicht in src/ui: %r" % k for k in s.knoepfe if k not in texte]
    stroeme = [LUECKE + LUECKE.join(normal(l) for l in lits) + LUECKE for lits in dateien.values()]
    for i, m in enumerate(s.meldungen):
        if m in s.meldungen[:i]:
            befunde.append("Meldung doppelt in der Tabelle: %r" % m)
        if len(re.sub(r"[^A-Za-zÄÖÜäöüß]", "", m.replace(PLATZHALTER, ""))) < 8:
            befunde.append("Meldung ist fast nur Platzhalter: %r" % m)
        elif not any(meldungsmuster(m).search(strom) for strom in stroeme):
            befunde.append("Meldung steht nicht in src/: %r" % m.replace(PLATZHALTER, "<i>…</i>"))
    if len(s.meldungen) < MINDESTMELDUNGEN:
        befunde.append("nur %d Meldungen in der Tabelle, mindestens %d" % (len(s.meldungen), MINDESTMELDUNGEN))
    befunde += ["Verweis nach außen: %s" % f for f in s.fremd]
    if re.search(r"url\s*\(|@import", s.stil, re.I):
        befunde.append("Stil lädt etwas von außen")
    befunde += ["Sprungziel fehlt: #%s" % z for z in s.links if z not in s.ids]
    if not s.knoepfe:
        befunde.append("keine Beschriftung <b class=\"knopf\"> gefunden")
    return befunde


def selbstpruefung(seitentext, dateien):
    """Findings the checker missed on a copy with one planted wrong caption and message."""
    falsch = seitentext.replace('<b class="knopf">', '<b class="knopf">Zeitmessung starten sofort</b> <b class="knopf">', 1)
    falsch = falsch.replace('<td class="meldung">', '<td class="meldung">Die Zeitnahme wurde gestartet, bitte warten!'
                            '</td><td>x</td></tr><tr><td class="meldung">', 1)
    befunde = "\n".join(pruefen(falsch, dateien))
    return [f for f, text in (("falsche Beschriftung nicht erkannt", "Zeitmessung starten sofort"),
                              ("falsche Meldung nicht erkannt", "Die Zeitnahme wurde gestartet")) if text not in befunde]


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        seitentext = f.read()
    dateien = quellen(argv[2])
    if not dateien:
        print("keine Quelldateien unter", argv[2])
        return 1
    kaputt = selbstpruefung(seitentext, dateien)
    befunde = pruefen(seitentext, dateien)
    for zeile in ["Selbstprüfung: " + k for k in kaputt] + befunde:
        print(zeile)
    s = Seite(seitentext)
    print("%d Beschriftungen, %d Meldungen geprüft" % (len(s.knoepfe), len(s.meldungen)))
    return 1 if kaputt or befunde else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
