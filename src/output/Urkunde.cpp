#include "output/Urkunde.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "evaluation/Platzierung.h"
#include "output/Ausgabe.h"
#include "output/Druck.h"
#include "output/Rtf.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QPointer>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");

Antwort frage(Sitzung& s, const QString& text) {
  return s.bediener.meldung(kZieltafel, text, Symbol::Frage, Knoepfe::JaNein);
}

void hinweis(Sitzung& s, const QString& text, Symbol symbol = Symbol::Frage) {
  s.bediener.meldung(kZieltafel, text, symbol, Knoepfe::Ok);
}

QByteArray wert(const QString& text) { return RtfText(text); }

// The event's own texts, so that a certificate can name the event.
QList<Platzhalter> laufangaben(const Sitzung& s) {
  return {{"RTFtxtNameLauf", wert(s.einst.txtNameLauf)},
          {"RTFtxtLaufAm", wert(s.einst.txtLaufAm)},
          {"RTFtxtVerein", wert(s.einst.txtVerein)}};
}

// The placeholders a list replaces, as the message names them.
QStringList namen(const QList<Platzhalter>& p) {
  QStringList l;
  for (const Platzhalter& x : p)
    if (x.name.endsWith('#') || x.name.startsWith("RTFtxt")) l << QString::fromLatin1(x.name);
  return l;
}

// Every line ends in CR LF, the last one too, as our text files do.
QByteArray mitCrLf(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size() + text.size() / 16 + 2);
  qsizetype pos = 0;
  while (pos < text.size()) {
    qsizetype ende = text.indexOf('\n', pos);
    if (ende < 0) ende = text.size();
    qsizetype zeilenende = ende;
    if (zeilenende > pos && text[zeilenende - 1] == '\r') --zeilenende;
    out.append(text.constData() + pos, zeilenende - pos);
    out += "\r\n";
    pos = ende + 1;
  }
  return out;
}

// The placeholders of a certificate with the row's values.
QList<Platzhalter> urkundenPlatzhalter(const Sitzung& s, int z);

// The rows the chosen option names, after its questions; false when the
// command stops here.
bool urkundenzeilen(Sitzung& s, QList<int>& zeilen) {
  Ausgabe& a = Ausgabe::von(s);
  Teilnehmertabelle& t = s.tabelle;
  if (t.anzahl() == 0) {
    hinweis(s, QStringLiteral("Die Datenbank ist leer!   "));
    return false;
  }
  if (a.OptUrkunde == 3) {
    if (!a.startnummerGefunden || !t.gueltig(a.startnummerZeile)) {
      hinweis(s, QStringLiteral("Ohne Startnummer?!   "));
      return false;
    }
    if (Zahlwert(a.txtStartnummerDrucken) < 1) {
      hinweis(s, QStringLiteral("Startnummer = 0!   "));
      return false;
    }
    if (a.txtStartnummerDrucken.trimmed().isEmpty()) {
      hinweis(s, QStringLiteral("Ohne Startnummer!   "));
      return false;
    }
  }
  if (a.chkVorlageGesamtSieger &&
      frage(s, QStringLiteral("ACHTUNG! Gesamtsieger-Urkunden drucken? ACHTUNG!   ")) != Antwort::Ja)
    return false;
  if (a.OptUrkunde == 1) {
    for (int z : t.auswahl())
      if (t.gueltig(z)) zeilen << z;
    if (zeilen.isEmpty()) {
      hinweis(s, QStringLiteral("Es ist keine Zeile selektiert!   "), Symbol::Information);
      return false;
    }
    return frage(s, QString::number(zeilen.size()) + QStringLiteral(" selektierten Zeilen als Urkunden drucken?   ")) ==
           Antwort::Ja;
  }
  if (a.OptUrkunde == 2) {
    for (int z = 1; z <= t.anzahl(); ++z)
      if (IstWahr(t.feld(z, S_checkdruck))) zeilen << z;
    if (zeilen.isEmpty()) {
      hinweis(s, QStringLiteral("Es ist keine Zeile markiert!   "), Symbol::Information);
      return false;
    }
    return frage(s, QString::number(zeilen.size()) + QStringLiteral(" markierten Zeilen als Urkunden drucken?   ")) ==
           Antwort::Ja;
  }
  zeilen << a.startnummerZeile;
  return true;
}

// A row already printed is skipped when the check is on (and told).
bool ueberspringen(Sitzung& s, int z) {
  if (!s.einst.CheckUrkundeDruckenPruefung || !IstWahr(s.tabelle.feld(z, S_gedruckt))) return false;
  s.bediener.meldung(QStringLiteral("Zieltafel-Info"),
                     s.tabelle.feld(z, S_namevorname) + QStringLiteral(" (Nr. ") + s.tabelle.feld(z, S_startnummer) +
                         QStringLiteral(") schon gedruckt! Druckausgabe wird übersprungen!"),
                     Symbol::Information, Knoepfe::Ok);
  return true;
}

struct Urkunden {
  QList<int> zeilen;           // rows with a certificate
  QList<QByteArray> dokumente;  // one for each of them
  QList<int> erledigt;         // rows whose print mark is done with (option 2)
};

bool urkundenMachen(Sitzung& s, Urkunden& u) {
  QList<int> zeilen;
  if (!urkundenzeilen(s, zeilen)) return false;
  QByteArray vorlage;
  if (!VorlageLesen(s, UrkundenVorlage(s), QStringLiteral("der Urkunde"), vorlage)) return false;
  QStringList uebrig;
  for (int z : zeilen) {
    u.erledigt << z;
    if (ueberspringen(s, z)) continue;
    u.zeilen << z;
    QStringList hier;
    u.dokumente << WriteCertificate(s, z, vorlage, &hier);
    for (const QString& n : hier)
      if (!uebrig.contains(n)) uebrig << n;
  }
  // Told once for the command, not once a certificate: the template is the same.
  if (!uebrig.isEmpty())
    s.bediener.meldung(kZieltafel,
                       PlatzhalterNichtErsetzt(uebrig, namen(urkundenPlatzhalter(s, u.zeilen.first())),
                                               QStringLiteral("der Urkunde"), UrkundenVorlage(s)),
                       Symbol::Ausruf, Knoepfe::Ok);
  return true;
}

// A row as it can be found again after the table was sorted meanwhile.
struct Zeilenschluessel {
  QString startnummer, name;
};

Zeilenschluessel schluessel(const Teilnehmertabelle& t, int z) {
  return {t.feld(z, S_startnummer), t.feld(z, S_namevorname)};
}

int wiederfinden(const Teilnehmertabelle& t, const Zeilenschluessel& k) {
  for (int z = 1; z <= t.anzahl(); ++z)
    if (t.feld(z, S_startnummer) == k.startnummer && t.feld(z, S_namevorname) == k.name) return z;
  return 0;
}

void gedrucktSetzen(Sitzung& s, const QList<int>& zeilen) {
  for (int z : zeilen) s.tabelle.setFeld(z, S_gedruckt, WahrText(true));
}

void druckmarkenLoeschen(Sitzung& s, const QList<int>& zeilen) {
  if (Ausgabe::von(s).OptUrkunde != 2) return;
  for (int z : zeilen) s.tabelle.setFeld(z, S_checkdruck, WahrText(false));
}

void bearbeiten(Sitzung& s, const Urkunden& u) {
  // Each certificate in a file of its own: the next one must not overwrite
  // the file the word processor is just opening.
  const int n = static_cast<int>(u.zeilen.size());
  QList<int> geoeffnet;
  for (int i = 0; i < n; ++i) {
    QString datei = UrkundeDatei(s);
    if (n > 1) datei.replace(QStringLiteral("#.rtf"), QStringLiteral("#_%1.rtf").arg(i + 1));
    if (!AusgabeSchreiben(s, datei, u.dokumente[i], QStringLiteral("Die Urkunde"), UrkundenVorlage(s))) break;
    if (!ZumBearbeitenOeffnen(s, datei)) break;
    geoeffnet << u.zeilen[i];
  }
  gedrucktSetzen(s, geoeffnet);
  // Print marks of rows skipped as already printed are done with, too.
  QList<int> erledigt;
  for (int z : u.erledigt)
    if (!u.zeilen.contains(z) || geoeffnet.contains(z)) erledigt << z;
  druckmarkenLoeschen(s, erledigt);
}

void drucken(Sitzung& s, const Urkunden& u) {
  const QString datei = UrkundeDatei(s);
  QList<int> skip;
  for (int z : u.erledigt)
    if (!u.zeilen.contains(z)) skip << z;
  druckmarkenLoeschen(s, skip);
  if (u.zeilen.isEmpty()) return;
  // All certificates of one command in one job, a page each: one start of
  // the word processor instead of one per certificate.
  if (!AusgabeSchreiben(s, datei, RtfSeitenVerbinden(u.dokumente), QStringLiteral("Die Urkunde"), UrkundenVorlage(s)))
    return;
  const QString drucker = Druckername(s, s.druckerUrkunde);
  QList<Zeilenschluessel> rows;
  for (int z : u.zeilen) rows << schluessel(s.tabelle, z);
  const bool marken = Ausgabe::von(s).OptUrkunde == 2;
  Sitzung* sp = &s;
  QPointer<Ausgabe> zustand(&Ausgabe::von(s));
  const QString fehler = DruckAuftrag(s, datei, drucker, [sp, zustand, rows, marken, datei, drucker](const QString& f) {
    if (!zustand) return;
    if (f.isEmpty()) {
      sp->bediener.status(StatusFortschritt, QStringLiteral("%1 Urkunde(n) auf \"%2\" gedruckt  ").arg(rows.size()).arg(drucker));
      return;
    }
    // Not printed after all: the rows may be printed again.
    for (const Zeilenschluessel& k : rows) {
      const int z = wiederfinden(sp->tabelle, k);
      if (!z) continue;
      sp->tabelle.setFeld(z, S_gedruckt, WahrText(false));
      if (marken) sp->tabelle.setFeld(z, S_checkdruck, WahrText(true));
    }
    sp->melden();
    sp->bediener.meldung(kZieltafel, DruckfehlerText(QStringLiteral("Die Urkunde"), datei, drucker, f), Symbol::Ausruf,
                         Knoepfe::Ok);
  });
  if (!fehler.isEmpty()) {
    s.bediener.meldung(kZieltafel, DruckfehlerText(QStringLiteral("Die Urkunde"), datei, drucker, fehler),
                       Symbol::Ausruf, Knoepfe::Ok);
    return;
  }
  gedrucktSetzen(s, u.zeilen);
  druckmarkenLoeschen(s, u.zeilen);
  s.bediener.status(StatusFortschritt,
                    QStringLiteral("%1 Urkunde(n) an \"%2\" übergeben  ").arg(u.zeilen.size()).arg(drucker));
}
}  // namespace

QString UrkundeDatei(const Sitzung& s) { return s.arbeitsdatei(QStringLiteral("WinWordUrkunde#.rtf")); }

QString UrkundenVorlage(Sitzung& s) {
  // An event file may have emptied the path: the shipped template then.
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  return Ausgabe::von(s).chkVorlageGesamtSieger ? s.einst.txtVorlageUrkundeGesamtsieger : s.einst.txtVorlageUrkunde;
}

QString UrkundenName(const QString& namevorname) {
  QString n = namevorname;
  n.remove(QLatin1String("(Walker)"));
  while (n.contains(QLatin1String("  "))) n.replace(QLatin1String("  "), QLatin1String(" "));
  n = n.trimmed();
  const qsizetype komma = n.indexOf(QLatin1Char(','));
  if (komma < 0) return n;
  return (n.mid(komma + 1).trimmed() + QLatin1Char(' ') + n.left(komma).trimmed()).trimmed();
}

namespace {
QList<Platzhalter> urkundenPlatzhalter(const Sitzung& s, int z) {
  const Teilnehmertabelle& t = s.tabelle;
  QList<Platzhalter> p = {
      {"PlatzAK#", wert(t.feld(z, S_platz)), true},
      {"PlatzMW#", wert(t.feld(z, S_platzmw)), true},
      {"PlatzTotal#", wert(t.feld(z, S_platztotal)), true},
      {"Strecke#", wert(t.feld(z, S_strecke).section(QLatin1Char('/'), 0, 0)), true},
      {"AK#", wert(t.feld(z, S_ak)), true},
      {"Zeit#", wert(t.feld(z, S_zeit)), true},
      {"StartNummer#", wert(t.feld(z, S_startnummer)), true},
      {"NameVorname#", wert(UrkundenName(t.feld(z, S_namevorname))), true},
      {"Verein#", wert(t.feld(z, S_vereinort)), true},
      {"Jahr#", wert(t.feld(z, S_jahr)), true},
  };
  return p + laufangaben(s);
}
}  // namespace

QByteArray WriteCertificate(Sitzung& s, int z, const QByteArray& vorlage, QStringList* uebrig) {
  const bool walker = s.tabelle.feld(z, S_namevorname).contains(QLatin1String("(Walker)"));
  const bool gesamtsieger = Ausgabe::von(s).chkVorlageGesamtSieger != 0;
  QList<Platzhalter> p = urkundenPlatzhalter(s, z);
  if (walker) {
    p << Platzhalter{" km /", " km Walker /", false, "Strecke#"};
    if (gesamtsieger) p << Platzhalter{"Gesamtwertung", "Walker Gesamtwertung", false, "Strecke#"};
  }
  Ersetzung e = PlatzhalterErsetzen(vorlage, p, kRautenNamen | kRtftxtNamen);
  if (uebrig) *uebrig = e.uebrig;
  return mitCrLf(e.rtf);
}

void PrintCertificates(Sitzung& s) {
  Ausgabe& a = Ausgabe::von(s);
  // The file of the last certificate goes first: what lies there afterwards
  // is what this command made.
  QFile::remove(UrkundeDatei(s));
  Urkunden u;
  {
    Sperre sperre(s.bediener);
    if (!urkundenMachen(s, u)) return;
  }
  if (a.urkundeBearbeiten) bearbeiten(s, u);
  else drucken(s, u);
  s.melden();
}

void UrkundeErstellen(Sitzung& s) {
  Ausgabe::von(s).urkundeBearbeiten = true;
  PrintCertificates(s);
}

void UrkundeSofortDrucken(Sitzung& s) {
  s.bediener.status(StatusFortschritt, QString());
  Ausgabe::von(s).urkundeBearbeiten = false;
  PrintCertificates(s);
}

bool UrkundenSchreiben(Sitzung& s, const QString& ziel, int* anzahl) {
  Urkunden u;
  if (!urkundenMachen(s, u)) return false;
  if (anzahl) *anzahl = static_cast<int>(u.zeilen.size());
  if (u.dokumente.isEmpty()) {
    hinweis(s, QStringLiteral("Es wurde keine Urkunde erstellt.   "), Symbol::Information);
    return false;
  }
  return AusgabeSchreiben(s, ziel, RtfSeitenVerbinden(u.dokumente), QStringLiteral("Die Urkunde"), UrkundenVorlage(s));
}

void Druckmarkierung(Sitzung& s) {
  Aufzeichnung aufzeichnung(s, QStringLiteral("Druckmarkierung"));
  Sperre sperre(s.bediener);
  ClearPrintMarks(s);
  Zeichenpause pause(s.tabelle);
  for (int z : s.tabelle.auswahl())
    if (s.tabelle.gueltig(z)) s.tabelle.setFeld(z, S_checkdruck, WahrText(true));
}

void StartnummerDruckenFokus(Sitzung& s) {
  Ausgabe& a = Ausgabe::von(s);
  a.OptUrkunde = 3;
  a.txtStartnummerDrucken.clear();
  a.startnummerGefunden = false;
  a.startnummerZeile = 0;
  a.melden();
}

bool StartnummerDruckenGeaendert(Sitzung& s, const QString& text) {
  Ausgabe& a = Ausgabe::von(s);
  Teilnehmertabelle& t = s.tabelle;
  a.txtStartnummerDrucken = text;
  // An empty field names nobody, not the first row without a number; a "*"
  // would make the search a prefix search.
  const QString nummer = text.trimmed();
  const int z = nummer.isEmpty() || nummer.contains(QLatin1Char('*')) ? 0 : t.finden(S_startnummer, nummer);
  a.startnummerGefunden = z > 0;
  a.startnummerZeile = z;
  if (z > 0) {
    // The grid scrolls as it follows the current row: the top row first.
    t.setErsteSichtbareZeile(z);
    t.setAktuelleZeile(z);
  } else if (t.anzahl() > 0) {
    t.setAktuelleZeile(1);
  }
  a.melden();
  return z > 0;
}

void StartnummerDruckenEnter(Sitzung& s) {
  Ausgabe& a = Ausgabe::von(s);
  if (!s.einst.CheckUrkundeDrucken) return;
  a.urkundeBearbeiten = false;
  a.OptUrkunde = 3;
  const int z = a.startnummerZeile;
  PrintCertificates(s);
  a.txtStartnummerDrucken.clear();
  a.startnummerGefunden = false;
  a.startnummerZeile = 0;
  if (s.tabelle.gueltig(z)) {
    s.tabelle.setErsteSichtbareZeile(z);
    s.tabelle.setAktuelleZeile(z);
  }
  a.melden();
}

void StartnummerDruckenSchritt(Sitzung& s, int richtung) {
  Ausgabe& a = Ausgabe::von(s);
  a.OptUrkunde = 3;
  const long long n = Ganzzahlwert(a.txtStartnummerDrucken);
  if (richtung > 0) StartnummerDruckenGeaendert(s, QString::number(n + 1));
  else if (n > 1) StartnummerDruckenGeaendert(s, QString::number(n - 1));
  else a.melden();
}

bool UrkundeVorlageBearbeiten(Sitzung& s) {
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  return VorlageBearbeiten(s, s.einst.txtVorlageUrkunde, QStringLiteral("der Urkunde"));
}

bool EvenNumber(int zahl) { return zahl % 2 == 0; }

void PrintFinishCertificate(Sitzung& s, const QString& startnummer, const QString& zeit, int einlauf) {
  if (Zahlwert(startnummer) > 9000) return;
  const QString vorlagenpfad = s.programmdatei(QStringLiteral("druckvorlage/VorlageUrkunde.rtf"));
  const QString wer = QStringLiteral("Zielzeit-Urkunde für Startnummer %1 (Einlauf %2): ").arg(startnummer).arg(einlauf);
  const Leseergebnis e = DateiLesen(vorlagenpfad);
  if (!e.ok || !IstRtf(e.daten)) {
    s.bediener.fehlermanager(wer + QStringLiteral("die Vorlage \"%1\" fehlt oder ist keine RTF-Datei.")
                                       .arg(QDir::toNativeSeparators(vorlagenpfad)));
    return;
  }
  QList<Platzhalter> p;
  for (const char* weg : {". Platz", "km / AK ", "Startnummer ", "PlatzAK#", "PlatzMW#", "PlatzTotal#", "Strecke#",
                          "AK#", "StartNummer#", "NameVorname#", "Verein#", "Jahr#"})
    p << Platzhalter{weg, QByteArray(), true};
  p << Platzhalter{"Zeit#", wert(zeit), true};
  p += laufangaben(s);
  const Ersetzung ersetzt = PlatzhalterErsetzen(e.daten, p, kRautenNamen | kRtftxtNamen);
  if (!ersetzt.uebrig.isEmpty())
    s.bediener.fehlermanager(wer + PlatzhalterNichtErsetzt(ersetzt.uebrig, namen(p), QStringLiteral("der Urkunde"),
                                                           vorlagenpfad)
                                       .trimmed());
  const QByteArray urkunde = mitCrLf(ersetzt.rtf);
  const QString datei = UrkundeDatei(s);
  const QString fehler = DateiAtomarSchreiben(datei, urkunde);
  if (!fehler.isEmpty()) {
    s.bediener.fehlermanager(wer + fehler);
    return;
  }
  // Two printers take turns, so that one may print while the next runner comes.
  const QString drucker = Druckername(s, EvenNumber(einlauf) ? s.druckerErgebnisliste : s.druckerUrkunde);
  Bediener* b = &s.bediener;
  const QString abgelehnt = DruckAuftrag(s, datei, drucker, [b, wer, drucker](const QString& f) {
    if (!f.isEmpty()) b->fehlermanager(wer + QStringLiteral("nicht auf \"%1\" gedruckt: ").arg(drucker) + f);
  });
  if (!abgelehnt.isEmpty()) s.bediener.fehlermanager(wer + abgelehnt);
}

}  // namespace zt
