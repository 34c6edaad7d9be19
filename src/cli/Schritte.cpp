#include "cli/Schritte.h"

#include "cli/AusgabeSchritte.h"
#include "cli/ZeitenSchritt.h"
#include "cli/AnmeldungSchritt.h"
#include "cli/PruefSchritte.h"
#include "cli/ZeitnahmeSchritt.h"
#include "app/Rastereingabe.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "event/AkBefehle.h"
#include "event/Hauptlauf.h"
#include "persistence/Vornamendatei.h"
#include "persistence/Datenbank.h"
#include "persistence/Einstellungsdatei.h"

#include <QFileInfo>
#include <cstdio>

namespace zt::cli {

namespace {
void ausgabe(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
}

void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

QString absolut(const QString& pfad) { return QFileInfo(pfad).absoluteFilePath(); }

Dateiart oeffnenAls(const QString& pfad) {
  const QString p = pfad.toLower();
  if (p.endsWith(QLatin1String(".ini"))) return Dateiart::Einstellungen;
  if (p.endsWith(QLatin1String(".txt"))) return Dateiart::Vornamen;
  if (p.endsWith(QLatin1String(".ztf"))) return Dateiart::Ztf;
  return Dateiart::Laeuferdatei;
}

Speicherformat speichernAls(const QString& pfad) {
  const QString p = pfad.toLower();
  if (p.endsWith(QLatin1String(".xlsx"))) return Speicherformat::Xlsx;
  if (p.endsWith(QLatin1String(".ztf"))) return Speicherformat::Ztf;
  if (p.endsWith(QLatin1String(".ini"))) return Speicherformat::Ini;
  return Speicherformat::Csv;
}

bool oeffnen(Kontext& k, const QStringList& a) {
  return DatenbankOeffnen(k.s, absolut(a[0]), oeffnenAls(a[0]));
}

bool speichernMit(Kontext& k, const QString& pfad, Speicherformat format) {
  return DatenbankSpeichern(k.s, absolut(pfad), format) == Speicherausgang::Gespeichert;
}

bool einstellungen(Kontext& k, const QStringList& a) {
  const Dateipruefung p = LesbareDateiPruefen(a[0], kGrenzeTextdatei);
  if (!p.ok) {
    fehler(p.fehlt ? QStringLiteral("Datei \"%1\" nicht gefunden.").arg(a[0]) : p.fehler);
    return false;
  }
  LaufLaden(k.s, absolut(a[0]));
  return k.s.laufdatei == absolut(a[0]);
}

bool einstellungenSchreiben(Kontext& k, const QStringList& a) {
  const QString f = WriteSettings(k.s, absolut(a[0]), k.s.laufEinstellungsdatei(), QString());
  if (!f.isEmpty()) fehler(f);
  return f.isEmpty();
}

void zeilenAusgeben(Kontext& k, bool farben) {
  const Teilnehmertabelle& t = k.s.tabelle;
  QString text;
  for (int i = 1; i <= t.anzahl(); ++i) {
    text += t.zeilentext(i);
    if (farben) {
      text += QLatin1Char('\t') + FarbeText(t.textfarbe(i));
      text += QLatin1Char('\t') + FarbeText(t.hintergrund(i));
    }
    text += QLatin1Char('\n');
    if (text.size() > (1 << 20)) {
      ausgabe(text);
      text.clear();
    }
  }
  ausgabe(text);
}

// "strecke=5/m;namevorname=Abel, Karl" -> column/value pairs; false on an unknown key.
bool zuweisungenLesen(const QString& text, QList<QPair<int, QString>>& ziel) {
  for (const QString& teil : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int gleich = teil.indexOf(QLatin1Char('='));
    const QString key = (gleich < 0 ? teil : teil.left(gleich)).trimmed();
    const int spalte = Spaltennummer(key);
    if (gleich < 0 || spalte == 0) {
      fehler(QStringLiteral("unbekannte Spalte \"%1\" (erwartet schluessel=wert;...)").arg(key));
      return false;
    }
    ziel.append({spalte, teil.mid(gleich + 1)});
  }
  return true;
}

bool zeileEingeben(Kontext& k, const QStringList& a) {
  QList<QPair<int, QString>> werte;
  if (!zuweisungenLesen(a[0], werte)) return false;
  const int zeile = ZeileHinzufuegen(k.s);
  if (zeile != k.s.neueZeile) return false;
  for (const auto& [spalte, wert] : werte) ZelleAendern(k.s, zeile, spalte, wert);
  const int vorher = k.s.tabelle.anzahl();
  if (!NeueZeileAbschliessen(k.s)) return false;
  return k.s.tabelle.anzahl() == vorher;
}

bool zeileAendern(Kontext& k, const QStringList& a) {
  bool ok = false;
  const int zeile = a[0].toInt(&ok);
  if (!ok || !k.s.tabelle.gueltig(zeile)) {
    fehler(QStringLiteral("Zeile \"%1\" gibt es nicht (1 bis %2)").arg(a[0]).arg(k.s.tabelle.anzahl()));
    return false;
  }
  QList<QPair<int, QString>> werte;
  if (!zuweisungenLesen(a[1], werte)) return false;
  bool alle = true;
  for (const auto& [spalte, wert] : werte)
    if (k.s.tabelle.feld(zeile, spalte) != wert) alle = ZelleAendern(k.s, zeile, spalte, wert) && alle;
  return alle;
}

// Taking back and doing again are steps of their own, so that a script can
// show that a command leaves no trace.
bool blaettern(Kontext& k, bool zurueck) {
  Befehlsstapel& st = k.s.stapel;
  if (zurueck ? !st.kannRueckgaengig() : !st.kannWiederholen()) {
    fehler(zurueck ? QStringLiteral("es gibt nichts rückgängig zu machen") : QStringLiteral("es gibt nichts zu wiederholen"));
    return false;
  }
  const QString text = zurueck ? st.rueckgaengigText() : st.wiederholenText();
  if (!(zurueck ? Rueckgaengig(k.s) : Wiederholen(k.s))) return false;
  fehler((zurueck ? QStringLiteral("Rückgängig: ") : QStringLiteral("Wiederholen: ")) + text);
  return true;
}

bool status(Kontext& k, const QStringList&) {
  QString text;
  for (int feld = 1; feld <= 4; ++feld)
    text += QStringLiteral("status%1=%2\n").arg(feld).arg(k.bediener.statusfelder.value(feld));
  text += QStringLiteral("sortierung=%1\n").arg(k.s.sortierung);
  text += QStringLiteral("fehlerzaehler=%1\n").arg(k.s.fehlerzaehler);
  text += QStringLiteral("zeilen=%1\n").arg(k.s.tabelle.anzahl());
  text += QStringLiteral("datenbank=%1\n").arg(k.s.datenbankPfad);
  ausgabe(text);
  return true;
}
}  // namespace

QString FarbeText(int farbe) {
  if (farbe == kKeineFarbe) return QStringLiteral("-");
  return QStringLiteral("%1").arg(farbe & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

const std::vector<Schritt>& Schritte() {
  static const std::vector<Schritt> liste = {
      {"einstellungen", 1, "DATEI  Einstellungsdatei lesen (wie \"Lauf laden\")", einstellungen},
      {"einstellungen-schreiben", 1, "DATEI  Einstellungen in DATEI schreiben", einstellungenSchreiben},
      {"oeffnen", 1, "DATEI  Datei öffnen (.csv, .ini, .txt, .ztf)", oeffnen},
      {"speichern", 1, "DATEI  Datenbank speichern (.csv, .ztf, .xlsx, .ini)",
       [](Kontext& k, const QStringList& a) { return speichernMit(k, a[0], speichernAls(a[0])); }},
      {"speichern-alt", 1, "DATEI  als \"CSV-alte Version\" speichern",
       [](Kontext& k, const QStringList& a) { return speichernMit(k, a[0], Speicherformat::CsvAlt); }},
      {"neu", 0, "      neue (leere) Datenbank",
       [](Kontext& k, const QStringList&) {
         DatenbankNeu(k.s);
         return true;
       }},
      {"sortieren", 1, "SCHLUESSELLISTE  nach Spalten sortieren (z. B. strecke,ak,zeit)",
       [](Kontext& k, const QStringList& a) {
         Aufzeichnung aufzeichnung(k.s, QStringLiteral("Sortieren nach „") + a[0] + QStringLiteral("“"));
         k.s.tabelle.sortieren(a[0]);
         return true;
       }},
      {"ausduennen", 0, "      Läufer ohne Strecke entfernen",
       [](Kontext& k, const QStringList&) { return DatenbankAusduennen(k.s); }},
      {"ausgeben", 0, "      Zeilen ausgeben (TAB-getrennt, UTF-8)",
       [](Kontext& k, const QStringList&) {
         zeilenAusgeben(k, false);
         return true;
       }},
      {"ausgeben-farben", 0, "      Zeilen mit Text- und Hintergrundfarbe ausgeben",
       [](Kontext& k, const QStringList&) {
         zeilenAusgeben(k, true);
         return true;
       }},
      {"status", 0, "      Statusfelder, Sortierung und Fehlerzähler ausgeben", status},
      {"rueckgaengig", 0, "      den letzten Befehl zurücknehmen",
       [](Kontext& k, const QStringList&) { return blaettern(k, true); }},
      {"wiederholen", 0, "      den zuletzt zurückgenommenen Befehl wiederholen",
       [](Kontext& k, const QStringList&) { return blaettern(k, false); }},
      {"vornamen", 1, "DATEI  Vornamenliste lesen",
       [](Kontext& k, const QStringList& a) {
         QString grund;
         if (VornamenLaden(k.s.vornamen, a[0], &grund)) return true;
         fehler(grund);
         return false;
       }},
      {"vornamen-schreiben", 1, "DATEI  Vornamenliste schreiben",
       [](Kontext& k, const QStringList& a) {
         const QString f = VornamenSchreiben(k.s.vornamen, absolut(a[0]));
         if (!f.isEmpty()) fehler(f);
         return f.isEmpty();
       }},
      {"preset", 1, "NAME  vordefinierte Veranstaltung (5/10km, Duathlon, eigener, Pyramide)",
       [](Kontext& k, const QStringList& a) {
         Vorgabe v;
         if (!VorgabeAusName(a[0], v)) {
           fehler(QStringLiteral("unbekannte Veranstaltung \"%1\"").arg(a[0]));
           return false;
         }
         return VorgabeWaehlen(k.s, v);
       }},
      {"hauptlauf-zuruecksetzen", 0, "      alle Voreingaben zum Hauptlauf entfernen",
       [](Kontext& k, const QStringList&) { return HauptlaufZuruecksetzen(k.s); }},
      {"ak-neu", 0, "      Altersklassen neu berechnen",
       [](Kontext& k, const QStringList&) { return CmdAKNeuberechnung(k.s); }},
      {"sortierung", 1, "NAME  Sortiervorgabe anwenden (Text wie in der Liste)",
       [](Kontext& k, const QStringList& a) {
         if (!Sortiervorgaben().contains(a[0])) {
           fehler(QStringLiteral("unbekannte Sortierung \"%1\"").arg(a[0]));
           return false;
         }
         LaufSortierungNach(k.s, a[0]);
         return true;
       }},
      {"hauptlaeufe", 0, "      Druckmarkierung 1. bis 3. Platz der Hauptläufe",
       [](Kontext& k, const QStringList&) {
         CmdPlatzEinBisDrei(k.s);
         return true;
       }},
      {"zeile-eingeben", 1, "\"schluessel=wert;...\"  Teilnehmer eingeben wie im Raster", zeileEingeben},
      {"zeile-aendern", 2, "N \"schluessel=wert;...\"  Zeile N ändern wie im Raster", zeileAendern},
      {"suche", 1, "NAME  Namenssuche; gibt die gefundene Zeile aus",
       [](Kontext& k, const QStringList& a) {
         const int z = NameSuchen(k.s, a[0]);
         if (z > 0) ausgabe(k.s.tabelle.zeilentext(z) + QLatin1Char('\n'));
         return true;
       }},
      {"zeitnahme", 0, "      Zeitnahme nach Skript von stdin (start, +SEK NR, ende, einlesen, ...)",
       ZeitnahmeAusfuehren, "sekunden,ohne-plus1,zeit-datenbank"},
      {"zeiten", 1, kZeitenHilfe, ZeitenSchritt, kZeitenOptionen},
      {"startnummern", 0, "      aktuelle Startnummer je Hauptlauf ermitteln; gibt die freien Nummern aus",
       StartnummernSchritt},
      {"pruefen", 0, kPruefenHilfe, PruefenSchritt, kPruefenOptionen},
      {"anmeldung", 1, kAnmeldungHilfe, AnmeldungSchritt, kAnmeldungOptionen},
      {"spalten-loeschen", 1, kSpaltenLoeschenHilfe, SpaltenLoeschenSchritt},
      {"bereitschaft", 0, kBereitschaftHilfe, BereitschaftSchritt, kBereitschaftOptionen, true},
      {"ergebnisliste", 1, kErgebnislisteHilfe, ErgebnislisteSchritt, kErgebnislisteOptionen},
      {"ergebnisliste-pdf", 1, kErgebnislistePdfHilfe, ErgebnislistePdfSchritt, kErgebnislisteOptionen},
      {"urkunden", 1, kUrkundenHilfe, UrkundenSchritt, kUrkundenOptionen},
      {"urkunden-pdf", 1, kUrkundenPdfHilfe, UrkundenPdfSchritt, kUrkundenOptionen},
      {"html", 1, kHtmlHilfe, HtmlSchritt},
      {"anmeldeliste", 1, kAnmeldelisteHilfe, AnmeldelisteSchritt, "modus:,vorlage:"},
      {"zaehlen", 0, kZaehlenHilfe, ZaehlenSchritt},
      {"drucken", 2, kDruckenHilfe, DruckenSchritt},
  };
  return liste;
}

QString OptionWert(const QStringList& a, const QString& name, const QString& fallback) {
  const int i = a.indexOf(QStringLiteral("--") + name);
  return i >= 0 && i + 1 < a.size() ? a[i + 1] : fallback;
}

bool OptionGesetzt(const QStringList& a, const QString& name) { return a.contains(QStringLiteral("--") + name); }

const Schritt* SchrittSuchen(const QString& name) {
  for (const Schritt& s : Schritte())
    if (name == QLatin1String(s.name)) return &s;
  return nullptr;
}

}  // namespace zt::cli
