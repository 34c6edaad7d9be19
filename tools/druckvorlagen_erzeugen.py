#!/usr/bin/env python3
"""Writes the shipped RTF templates into share/druckvorlage/.

    tools/druckvorlagen_erzeugen.py [ORDNER]

Hand-written RTF (Windows-1252, CR LF), so that every byte is known: A4,
"Arial Narrow" in the font table (LibreOffice prints it with the metric-equal
Liberation Sans Narrow), light grey (230, 230, 230) in the colour table for
the winner rows, every placeholder on a line of its own that begins with a
control word (a placeholder at the very start of a line is left unreplaced in
certificates). The rows of the result list go after the last "\\par }}".
"""
import os
import sys

HIER = os.path.dirname(os.path.abspath(__file__))
ORDNER = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HIER, "..", "share", "druckvorlage")

KOPF = [
    r"{\rtf1\ansi\ansicpg1252\deff0\deflang1031",
    r"{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fswiss\fcharset0 Arial Narrow;}}",
    # 1 black, 2 the winner grey, 3 the club blue, 4 grey for small print, 5 gold
    r"{\colortbl;\red0\green0\blue0;\red230\green230\blue230;\red0\green70\blue140;\red110\green110\blue110;"
    r"\red176\green136\blue40;}",
]

# The cells of a result row: width, right edge, no wrap, left aligned.
ZELLEN = [(540, 532, False, False), (720, 1252, False, False), (540, 1792, False, False),
          (720, 2512, False, False), (540, 3052, False, False), (540, 3592, False, False),
          (2340, 5932, True, True), (720, 6652, True, False), (3060, 9712, True, True),
          (540, 10252, False, False)]
TITEL = ["Strecke", "AK", "Platz", "Zeit", "m/w", "gesamt", "Name, Vorname", "Jahrg.", "Verein / Ort", "Nr."]


def zeilendefinition():
    d = (r"\trowd \trrh255\trleft-8\trftsWidth3\trwWidth10260\trpaddfl3\trpaddft3\trpaddfb3\trpaddfr3 "
         r"\trpaddl0\trpaddt0\trpaddb0\trpaddr0 " "\r\n")
    for breite, rand, ohne_umbruch, _ in ZELLEN:
        d += (r"\clvertalc\clbrdrt\brdrnone \clbrdrl\brdrnone \clbrdrb\brdrs\brdrw15\brdrcf3 \clbrdrr\brdrnone "
              r"\cltxlrtb\clftsWidth3\clwWidth%d%s\cellx%d" "\r\n") % (breite, r"\clNoWrap" if ohne_umbruch else "", rand)
    return d


def spaltenkoepfe():
    z = zeilendefinition()
    for (_, _, _, links), titel in zip(ZELLEN, TITEL):
        z += r"\pard\plain \intbl%s {\f1\fs16\b\cf3 %s\cell }" % (r"\ql" if links else r"\qc", titel) + "\r\n"
    z += r"\pard\plain \intbl {" + zeilendefinition() + r"\row }"
    return z


def ergebnisliste():
    fuss = (r"\pard\plain \qc\brdrt\brdrs\brdrw10\brdrcf4\brsp40 \f1\fs16\cf4 "
            r"RTFtxtVerein   RTFtxtInternet   RTFtxtEmail\par")
    z = KOPF + [
        r"{\info{\title Ergebnisliste}{\author Zieltafel}}",
        r"\paperw11906\paperh16838\margl820\margr820\margt1100\margb1000\deftab709\widowctrl",
        r"\sectd\titlepg\pgwsxn11906\pghsxn16838\marglsxn820\margrsxn820\margtsxn1100\margbsxn1000"
        r"\headery500\footery500",
        r"{\headerf\pard\plain \f1\fs16\par}",
        # Later pages repeat the event and the column captions.
        r"{\header\pard\plain \tqr\tx10240\sa80\f1\fs16\cf4 RTFtxtNameLauf \endash  Ergebnisliste vom RTFtxtLaufAm"
        r"\tab Seite {\field{\*\fldinst PAGE}{\fldrslt 2}}\par",
        spaltenkoepfe(),
        r"}",
        r"{\footerf" + fuss + "}",
        r"{\footer" + fuss + "}",
        r"{\pard\plain \qc\sa40\f1\fs44\b\cf3 RTFtxtNameLauf\par }",
        r"{\pard\plain \qc\sa40\f1\fs28 Ergebnisliste vom RTFtxtLaufAm\par }",
        r"{\pard\plain \qc\sa40\f1\fs20\cf4 RTFtxtCup\par }",
        r"{\pard\plain \tqr\tx10240\sa240\f1\fs18\cf4 Veranstalter: RTFtxtVerein\tab sortiert nach RTFtxtSortiertnach\par }",
        spaltenkoepfe(),
        # The rows follow this last "\par }}".
        r"{\pard\plain \sb0\sa0\sl-60\slmult0 {\fs4\par }}",
        r"}",
    ]
    return z


def absatz(format_, text):
    return r"{\pard\plain \qc%s %s\par }" % (format_, text)


def urkunde(gesamtsieger):
    z = KOPF + [
        r"{\info{\title %s}{\author Zieltafel}}" % ("Urkunde Gesamtsieger" if gesamtsieger else "Urkunde"),
        r"\paperw11906\paperh16838\margl1300\margr1300\margt1100\margb1000\deftab709\widowctrl",
        # A double frame in the club's colour around the page.
        r"\sectd\pgwsxn11906\pghsxn16838\marglsxn1300\margrsxn1300\margtsxn1100\margbsxn1000"
        r"\pgbrdropt32\pgbrdrt\brdrdb\brdrw30\brsp240\brdrcf3 \pgbrdrl\brdrdb\brdrw30\brsp240\brdrcf3 "
        r"\pgbrdrb\brdrdb\brdrw30\brsp240\brdrcf3 \pgbrdrr\brdrdb\brdrw30\brsp240\brdrcf3 ",
        absatz(r"\sb600\f1\fs26\cf4\expndtw40", r"RTFtxtVerein"),
        absatz(r"\sb400\f1\fs132\b\cf3\expndtw80", r"URKUNDE"),
        absatz(r"\sb0\sa0\f1\fs20\cf5", r"\emdash\emdash\emdash  \u9733?  \emdash\emdash\emdash"),
        absatz(r"\sb200\f1\fs36\b", r"RTFtxtNameLauf"),
        absatz(r"\sa900\f1\fs26\cf4", r"RTFtxtLaufAm"),
        absatz(r"\sb300\f1\fs64\b", r"NameVorname#"),
        absatz(r"\sa700\f1\fs30\cf4", r"Verein#"),
        absatz(r"\f1\fs28", r"belegte im Lauf \'fcber"),
    ]
    if gesamtsieger:
        z += [
            absatz(r"\sb100\f1\fs36\b", r"Strecke# km / Gesamtwertung"),
            absatz(r"\sb200\f1\fs28", r"mit der Zeit"),
            absatz(r"\sb100\f1\fs44\b", r"Zeit#"),
            absatz(r"\sb200\f1\fs28", r"den"),
            absatz(r"\sb300\f1\fs104\b\cf5", r"PlatzMW#. Platz"),
            absatz(r"\sb800\f1\fs22\cf4", r"Altersklasse AK#   \bullet   Jahrgang Jahr#   \bullet   Startnummer StartNummer#"),
        ]
    else:
        z += [
            absatz(r"\sb100\f1\fs36\b", r"Strecke# km / AK AK#"),
            absatz(r"\sb200\f1\fs28", r"mit der Zeit"),
            absatz(r"\sb100\f1\fs44\b", r"Zeit#"),
            absatz(r"\sb200\f1\fs28", r"den"),
            absatz(r"\sb300\f1\fs104\b\cf3", r"PlatzAK#. Platz"),
            absatz(r"\sb800\f1\fs22\cf4",
                   r"PlatzMW#. Platz m/w   \bullet   PlatzTotal#. Platz gesamt   \bullet   Startnummer StartNummer#"),
        ]
    z += [
        r"{\pard\plain \qc\sb2200\f1\fs22 \tx2900\tx6400 {\ul\tab\tab}\par }",
        absatz(r"\sb40\f1\fs18\cf4", r"f\'fcr den Veranstalter"),
        r"}",
    ]
    return z


def schreiben(name, zeilen):
    pfad = os.path.join(ORDNER, name)
    with open(pfad, "wb") as f:
        f.write(("\r\n".join(zeilen) + "\r\n").encode("cp1252"))
    print(pfad)


os.makedirs(ORDNER, exist_ok=True)
schreiben("VorlageErgebnisliste.rtf", ergebnisliste())
schreiben("VorlageUrkunde.rtf", urkunde(False))
schreiben("VorlageUrkundeGesamtSieger.rtf", urkunde(True))
