#!/usr/bin/env python3
"""Keeps the help page true to the program.

The page quotes captions of buttons, menus and tabs and the program's own
messages. Both drift when the program changes, so this check reads the page
and the sources and fails when

  - a caption <b class="knopf"> is not a string literal of src/ui
    (accelerator "&" removed, blanks normalised),
  - a message <td class="meldung"> is not found in the string literals of one
    source file of src/ (an <i>...</i> part stands for a placeholder: a %1 of
    the literal or a value joined in by code),
  - the page holds fewer than 25 messages, refers to anything outside itself,
    or links to an anchor that does not exist.

Before it checks the real page it checks itself on a copy with one wrong
caption and one wrong message: a checker that finds nothing wrong there is
broken, and then the real page proves nothing.

Usage: Hilfeseite_test.py SEITE QUELLORDNER
"""
import html
import html.parser
import os
import re
import sys

MINDESTMELDUNGEN = 25
PLATZHALTER = "\x02"  # an <i> part of the page
LUECKE = "\x01"  # code between two literals of a source file

# ---------------------------------------------------------------- sources


def literale(text):
    """The string literals of a C++ source, in order, with the code between
    them. Adjacent literals ("a" "b") and literals joined only by + and the
    Qt string wrappers become one: that is one message split over lines."""
    stuecke = []  # (literal text, code before it)
    i, n = 0, len(text)
    code = []
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        if c == "'":
            # a character literal: skip it so that '"' does not open a string
            j = i + 1
            while j < n and text[j] != "'":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
            continue
        if c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")
                                                     or text[i - 1] in "uUL8"):
            m = re.match(r'R"([^()\\ ]{0,16})\(', text[i:])
            if m:
                ende = text.find(")" + m.group(1) + '"', i + m.end())
                if ende >= 0:
                    stuecke.append((text[i + m.end():ende], "".join(code)))
                    code = []
                    i = ende + len(m.group(1)) + 2
                    continue
        if c == '"':
            j = i + 1
            teile = []
            while j < n and text[j] != '"':
                if text[j] == "\\" and j + 1 < n:
                    e = text[j + 1]
                    teile.append({"n": "\n", "t": "\t", "r": "\r", '"': '"', "'": "'", "\\": "\\"}.get(e, e))
                    j += 2
                else:
                    teile.append(text[j])
                    j += 1
            stuecke.append(("".join(teile), "".join(code)))
            code = []
            i = j + 1
            continue
        code.append(c)
        i += 1

    verbindung = re.compile(r"^(?:\s|\)|\(|\+|QStringLiteral|QLatin1String|QString::fromUtf8|QString|u8|u|L)*$")
    zusammen = []
    for lit, davor in stuecke:
        if zusammen and verbindung.match(davor) and ("+" in davor or "(" not in davor):
            # "a" "b" or "a") + QStringLiteral("b": one text
            zusammen[-1] += lit
        else:
            zusammen.append(lit)
    return zusammen


def normal(text):
    return re.sub(r"\s+", " ", text).strip()


def quellen(ordner):
    dateien = {}
    for wurzel, _, namen in os.walk(ordner):
        for name in sorted(namen):
            if name.endswith((".cpp", ".h")):
                pfad = os.path.join(wurzel, name)
                with open(pfad, encoding="utf-8") as f:
                    dateien[os.path.relpath(pfad, ordner)] = literale(f.read())
    return dateien


def beschriftungen(dateien):
    """Every literal of src/ui as a caption would show it."""
    aus = set()
    for pfad, lits in dateien.items():
        if not pfad.startswith("ui" + os.sep):
            continue
        for lit in lits:
            ohne = re.sub(r"&(.)", r"\1", lit)  # "Lauf &Name:" shows "Lauf Name:", "&&" shows "&"
            aus.add(normal(ohne))
    return aus


def meldungsstroeme(dateien):
    """Per file one text of all literals, the code between them marked."""
    return {pfad: LUECKE + LUECKE.join(normal(l) for l in lits) + LUECKE for pfad, lits in dateien.items()}


def meldungsmuster(meldung):
    """A page message as a pattern: an <i> part matches a %1 of a literal, or
    one value joined in by code (the end of a literal, at most one literal of
    code in between, the start of the next)."""
    teile = meldung.split(PLATZHALTER)
    platz = "(?:%[0-9]+|" + LUECKE + "(?:[^" + LUECKE + "]{0,40}" + LUECKE + ")?)"
    muster = ""
    for k, teil in enumerate(teile):
        if k:
            muster += r" ?" + platz + r" ?"
            teil = teil.strip()
        else:
            teil = teil.rstrip()
        if k + 1 < len(teile):
            teil = teil.rstrip()
        muster += re.escape(teil)
    return re.compile(muster)


# ------------------------------------------------------------------- page


class Seite(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.knoepfe = []
        self.meldungen = []
        self.ids = set()
        self.links = []
        self.fremd = []
        self._knopf = None
        self._meldung = None
        self._tiefe = 0
        self._stil = False
        self.stil = ""

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        for schluessel in ("src", "href", "action", "data", "poster", "srcset"):
            if schluessel in a:
                wert = (a[schluessel] or "").strip()
                if schluessel == "href" and wert.startswith("#"):
                    self.links.append(wert[1:])
                else:
                    self.fremd.append("%s %s=%r" % (tag, schluessel, wert))
        if tag in ("script", "link", "iframe", "object", "embed", "img", "base"):
            self.fremd.append("<%s>" % tag)
        if tag == "style":
            self._stil = True
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
            self._meldung = []
            self._tiefe = 0
            self._kursiv = False

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if self._meldung is not None and tag not in ("br", "td"):
            self._tiefe -= 1

    def handle_endtag(self, tag):
        if tag == "style":
            self._stil = False
        if self._meldung is not None:
            if tag == "i":
                self._kursiv = False
            if self._tiefe == 0 and tag == "td":
                self.meldungen.append(normal("".join(self._meldung)))
                self._meldung = None
            else:
                self._tiefe -= 1
            return
        if tag == "b" and self._knopf is not None:
            self.knoepfe.append(normal("".join(self._knopf)))
            self._knopf = None

    def handle_data(self, data):
        if self._stil:
            self.stil += data
        if self._knopf is not None:
            self._knopf.append(data)
        if self._meldung is not None and not getattr(self, "_kursiv", False):
            self._meldung.append(data)


def pruefen(seitentext, dateien):
    """Every finding, one line each; empty when the page is true."""
    s = Seite()
    s.feed(seitentext)
    s.close()
    befunde = []

    texte = beschriftungen(dateien)
    for k in s.knoepfe:
        if k not in texte:
            befunde.append("Beschriftung steht nicht in src/ui: %r" % k)

    stroeme = meldungsstroeme(dateien)
    gesehen = set()
    for m in s.meldungen:
        if m in gesehen:
            befunde.append("Meldung doppelt in der Tabelle: %r" % m)
        gesehen.add(m)
        buchstaben = len(re.sub(r"[^A-Za-zÄÖÜäöüß]", "", m.replace(PLATZHALTER, "")))
        if buchstaben < 8:
            befunde.append("Meldung ist fast nur Platzhalter: %r" % m)
            continue
        muster = meldungsmuster(m)
        if not any(muster.search(strom) for strom in stroeme.values()):
            befunde.append("Meldung steht nicht in src/: %r" % m.replace(PLATZHALTER, "<i>…</i>"))

    if len(s.meldungen) < MINDESTMELDUNGEN:
        befunde.append("nur %d Meldungen in der Tabelle, mindestens %d" % (len(s.meldungen), MINDESTMELDUNGEN))
    for f in s.fremd:
        befunde.append("Verweis nach außen: %s" % f)
    if re.search(r"url\s*\(|@import", s.stil, re.I):
        befunde.append("Stil lädt etwas von außen")
    for ziel in s.links:
        if ziel not in s.ids:
            befunde.append("Sprungziel fehlt: #%s" % ziel)
    if not s.knoepfe:
        befunde.append("keine Beschriftung <b class=\"knopf\"> gefunden")
    return befunde


def selbstpruefung(seitentext, dateien):
    """The checker must see one planted wrong caption and one planted wrong
    message; otherwise a clean result on the real page means nothing."""
    falsch = seitentext.replace('<b class="knopf">', '<b class="knopf">Zeitmessung starten sofort</b> <b class="knopf">', 1)
    falsch = falsch.replace('<td class="meldung">',
                            '<td class="meldung">Die Zeitnahme wurde gestartet, bitte warten!</td><td>x</td></tr>'
                            '<tr><td class="meldung">', 1)
    befunde = pruefen(falsch, dateien)
    fehlt = []
    if not any("Zeitmessung starten sofort" in b for b in befunde):
        fehlt.append("falsche Beschriftung nicht erkannt")
    if not any("Die Zeitnahme wurde gestartet" in b for b in befunde):
        fehlt.append("falsche Meldung nicht erkannt")
    return fehlt


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
    for k in kaputt:
        print("Selbstprüfung:", k)
    befunde = pruefen(seitentext, dateien)
    for b in befunde:
        print(b)
    s = Seite()
    s.feed(seitentext)
    print("%d Beschriftungen, %d Meldungen geprüft" % (len(s.knoepfe), len(s.meldungen)))
    return 1 if kaputt or befunde else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
