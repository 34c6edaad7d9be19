#!/usr/bin/env python3
"""Builds share/Vorname.txt from the shared first-name list.

Input: UTF-8 lines "m;Name" / "w;Name". Output: Windows-1252, CR LF, in the
order the program's own sort "1,2" gives (sex, then the German sort key of the
name, then the exact text), so loading the file does not reorder it. Names
that Windows-1252 cannot hold are left out and counted.

    tools/vornamen_erzeugen.py [EINGABE [AUSGABE]]
"""
import os
import sys
import unicodedata

HIER = os.path.dirname(os.path.abspath(__file__))
EINGABE = os.path.join(HIER, "..", "..", "shared", "data", "vornamen-de.txt")
AUSGABE = os.path.join(HIER, "..", "share", "Vorname.txt")

UMLAUTE = {"ä": "ae", "Ä": "ae", "ö": "oe", "Ö": "oe", "ü": "ue", "Ü": "ue", "ß": "ss", "ẞ": "ss"}


def sortierschluessel(text):
    """Same key as DeutscherSortierschluessel (DIN 5007 variant 2, accents stripped)."""
    k = []
    for c in text:
        if ord(c) < 0x80:
            k.append(c.lower() if "A" <= c <= "Z" else c)
        elif c in UMLAUTE:
            k.append(UMLAUTE[c])
        else:
            teile = [t for t in unicodedata.decomposition(c).split() if not t.startswith("<")]
            basis = chr(int(teile[0], 16)) if teile else c
            k.append(basis.casefold() if len(basis.casefold()) == 1 else basis.lower())
    return "".join(k)


def utf16(text):
    # QString compares UTF-16 code units.
    return text.encode("utf-16-be")


def spalte(text):
    # Empty fields sort after every filled one.
    return (text == "", utf16(sortierschluessel(text)), utf16(text))


def main():
    eingabe = sys.argv[1] if len(sys.argv) > 1 else EINGABE
    ausgabe = sys.argv[2] if len(sys.argv) > 2 else AUSGABE
    eintraege, ausgelassen = [], []
    with open(eingabe, encoding="utf-8") as f:
        for zeile in f:
            zeile = zeile.strip()
            if not zeile:
                continue
            typ, _, name = zeile.partition(";")
            typ, name = typ.strip(), name.split(";")[0].strip()
            try:
                (typ + name).encode("cp1252")
            except UnicodeEncodeError:
                ausgelassen.append(name)
                continue
            if (typ, name) not in eintraege:
                eintraege.append((typ, name))
    eintraege.sort(key=lambda e: (spalte(e[0]), spalte(e[1])))
    daten = "".join(f"{typ};{name}\r\n" for typ, name in eintraege).encode("cp1252")
    with open(ausgabe, "wb") as f:
        f.write(daten)
    print(f"{len(eintraege)} Vornamen geschrieben nach {ausgabe}, {len(ausgelassen)} ausgelassen"
          + (f": {', '.join(ausgelassen)}" if ausgelassen else ""))


if __name__ == "__main__":
    main()
