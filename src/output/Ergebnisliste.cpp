#include "output/Ergebnisliste.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "output/Ausgabe.h"
#include "output/Druck.h"
#include "output/Rtf.h"

#include <QDate>
#include <QDir>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");
const QByteArray kGrau = "\\red230\\green230\\blue230";

struct Zelle {
  int breite;
  int rand;
  bool ohneUmbruch;
  bool links;
};
constexpr Zelle kZellen[10] = {{540, 532, false, false},   {720, 1252, false, false}, {540, 1792, false, false},
                               {720, 2512, false, false},  {540, 3052, false, false}, {540, 3592, false, false},
                               {2340, 5932, true, true},   {720, 6652, true, false},  {3060, 9712, true, true},
                               {540, 10252, false, false}};

// The padding units say twips but give no value: Word reads 0, LibreOffice
// its own default of 0.19 cm, which wraps "0:45:12.3" in its 720 twips. The
// values come after the row definition, so that both print the same.
const char kZeilendefinition[] =
    "\\trowd \\trrh255\\trleft-8\\trftsWidth3\\trwWidth10260\\trpaddfl3\\trpaddft3\\trpaddfb3\\trpaddfr3 "
    "\\trpaddl0\\trpaddt0\\trpaddb0\\trpaddr0 ";

// The ten cell definitions, one a line; shaded cells for a winner row.
QByteArray zellendefinitionen(const QByteArray& schattierung) {
  QByteArray d;
  for (const Zelle& z : kZellen) {
    d += schattierung;
    d += "\\clvertalc\\clbrdrt\\brdrnone \\clbrdrl\\brdrnone \\clbrdrb\\brdrnone \\clbrdrr\\brdrnone "
         "\\cltxlrtb\\clftsWidth3\\clwWidth";
    d += QByteArray::number(z.breite);
    if (z.ohneUmbruch) d += "\\clNoWrap";
    d += "\\cellx";
    d += QByteArray::number(z.rand);
    d += "\r\n";
  }
  return d;
}

struct Zeilenkopf {
  QByteArray normal, sieger;       // row definition and cells at the start of a row
  QByteArray normalEnde, siegerEnde;  // the same, repeated and closed with "\row }"
};

const Zeilenkopf& zeilenkopf(const QByteArray& schattierung) {
  // Built once per shading word: 100 000 rows need the same few kilobytes.
  static thread_local QByteArray fuer;
  static thread_local Zeilenkopf k;
  if (k.normal.isEmpty() || fuer != schattierung) {
    fuer = schattierung;
    const QByteArray n = zellendefinitionen(QByteArray());
    const QByteArray s = zellendefinitionen(schattierung);
    k.normal = kZeilendefinition + QByteArray("\r\n") + n;
    k.sieger = kZeilendefinition + QByteArray("\r\n") + s;
    k.normalEnde = "\\pard\\plain \\intbl {" + k.normal + "\\row }\r\n";
    k.siegerEnde = "\\pard\\plain \\intbl {" + k.sieger + "\\row }\r\n";
  }
  return k;
}

// The text after the last "{\f" before the first "Arial Narrow", up to its
// first "\": the font's number in the template's font table.
QByteArray schriftwort(const QByteArray& v) {
  const qsizetype name = v.indexOf("Arial Narrow");
  if (name < 0) return QByteArray();
  const QByteArray davor = v.left(name);
  const qsizetype f = davor.lastIndexOf("{\\f");
  if (f < 0) return QByteArray();
  QByteArray nummer = davor.mid(f + 3).trimmed();
  const qsizetype bs = nummer.indexOf('\\');
  if (bs >= 0) nummer = nummer.left(bs).trimmed();
  if (nummer.isEmpty()) return QByteArray();
  for (const char c : nummer)
    if (c < '0' || c > '9') return QByteArray();
  return "\\f" + nummer;
}

// Where a colour table may be put: after the font table, else after "{\rtf1".
qsizetype farbtabellenPlatz(const QByteArray& v) {
  const qsizetype ft = v.indexOf("{\\fonttbl");
  if (ft >= 0) {
    const qsizetype ende = RtfGruppenende(v, ft);
    if (ende > 0) return ende;
  }
  qsizetype i = v.indexOf("{\\rtf");
  if (i < 0) return -1;
  i += 5;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
  return i;
}

void vorbereiten(Sitzung& s, int modus) {
  Teilnehmertabelle& t = s.tabelle;
  switch (modus) {
    case 4: {
      ClearPrintMarks(s);
      for (int z : t.auswahl())
        if (t.gueltig(z)) t.setFeld(z, S_checkdruck, WahrText(true));
      break;
    }
    case 5:
      ComputeAllPlaces(s);
      s.sortierung = QStringLiteral("Strecke-AK-Zeit");
      MarkTopThree(s);
      s.sortierungMelden();
      break;
    case 8:
      LaufSortierungNach(s, QStringLiteral("Platz Walker"));
      break;
    default:
      break;
  }
}

QByteArray zelle(const QByteArray& schrift, bool fett, bool links, const QString& text) {
  QByteArray z = links ? "\\pard\\plain \\intbl\\ql {" : "\\pard\\plain \\intbl\\qc {";
  z += schrift;
  z += fett ? "\\fs20\\b " : "\\fs20\\b0 ";
  z += RtfText(text);
  z += "\\cell }\r\n";
  return z;
}

QString zahlMitBreite(long long wert, int breite) {
  return QStringLiteral("%1").arg(wert, breite, 10, QLatin1Char('0'));
}
}  // namespace

QString Listenmodus(int modus) {
  switch (modus) {
    case 1: return QStringLiteral("nur Zeit");
    case 2: return QStringLiteral("nur Startnummer");
    case 3: return QStringLiteral("alle");
    case 4: return QStringLiteral("zum Druck markiert");
    case 5: return QStringLiteral("nur Platz 1-3");
    case 7: return QStringLiteral("nur Strecke");
    case 8: return QStringLiteral("nur Walker");
    default: return QString();
  }
}

QList<int> Listenmodi() { return {1, 2, 3, 4, 5, 7, 8}; }

Zeilenformat VorlageAnalysieren(QByteArray& v) {
  Zeilenformat f;
  f.schrift = schriftwort(v);
  const qsizetype tabelle = v.indexOf("{\\colortbl");
  if (tabelle < 0) {
    const qsizetype platz = farbtabellenPlatz(v);
    if (platz >= 0) {
      v.insert(platz, "{\\colortbl;" + kGrau + ";}");
      f.schattierung = "\\clcbpat1";
    }
    return f;
  }
  const qsizetype anfang = tabelle + 10;
  const qsizetype ende = v.indexOf('}', anfang);
  if (ende < 0) return f;
  QList<QByteArray> eintraege = v.mid(anfang, ende - anfang).split(';');
  // What follows the last ";" is no entry unless the table lacks its final ";".
  const bool offen = !eintraege.last().trimmed().isEmpty();
  if (!offen) eintraege.removeLast();
  for (int i = 0; i < eintraege.size(); ++i) {
    if (eintraege[i].trimmed() == kGrau) {
      f.schattierung = "\\clcbpat" + QByteArray::number(i);
      return f;
    }
  }
  v.insert(ende, (offen ? QByteArray(";") : QByteArray()) + kGrau + ";");
  f.schattierung = "\\clcbpat" + QByteArray::number(eintraege.size());
  return f;
}

bool ZeileGewaehlt(const Teilnehmertabelle& t, int z, int modus) {
  switch (modus) {
    case 1: {
      const QString zeit = t.feld(z, S_zeit).trimmed();
      return !zeit.isEmpty() && zeit != QLatin1String("ohne");
    }
    case 2: return Zahlwert(t.feld(z, S_startnummer)) > 0;
    case 3: return true;
    case 4:
    case 5: return IstWahr(t.feld(z, S_checkdruck));
    case 7: return !t.feld(z, S_strecke).trimmed().isEmpty();
    case 8:
      return !t.feld(z, S_strecke).trimmed().isEmpty() && t.feld(z, S_namevorname).contains(QLatin1String("(Walker)"));
    default: return false;
  }
}

QString ZeitInGanzenSekunden(const QString& zeit) {
  const QStringList teile = zeit.trimmed().split(QLatin1Char(':'));
  if (teile.size() < 2 || teile.size() > 3) return zeit;
  bool ok = false;
  const double sekunden = QString(teile.last()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  if (!ok || sekunden < 0) return zeit;
  long long ganz[3] = {0, 0, 0};
  const int n = static_cast<int>(teile.size());
  for (int i = 0; i < n - 1; ++i) {
    ganz[i] = teile[i].toLongLong(&ok);
    if (!ok || ganz[i] < 0) return zeit;
  }
  long long s = GanzzahlGerundet(sekunden);
  long long& minuten = ganz[n - 2];
  // 59.6 seconds are a full minute: never "0:45:60".
  minuten += s / 60;
  s %= 60;
  if (n == 3 && minuten >= 60) {
    ganz[0] += minuten / 60;
    minuten %= 60;
  }
  QString text;
  for (int i = 0; i < n - 1; ++i)
    text += zahlMitBreite(ganz[i], static_cast<int>(teile[i].size())) + QLatin1Char(':');
  return text + zahlMitBreite(s, 2);
}

void WriteResultRow(const Teilnehmertabelle& t, int z, const Zeilenformat& f, QByteArray& out) {
  QString route = NurStrecke(t.feld(z, S_strecke));
  if (!route.startsWith(QLatin1Char(' '))) route.prepend(QLatin1Char(' '));
  QString ak = t.feld(z, S_ak);
  QString zeit = t.feld(z, S_zeit);
  if (f.sekunden) zeit = ZeitInGanzenSekunden(zeit);
  QString name = t.feld(z, S_namevorname);
  if (f.modus == 8) name = name.remove(QLatin1String("(Walker)")).trimmed();
  QString jahr = t.feld(z, S_jahr);
  if (jahr.contains(QLatin1Char('.'))) jahr = Feld(jahr, 3, QStringLiteral("."));
  const QString& platz = t.feld(z, S_platz);

  const bool sieger = t.hintergrund(z) == kSiegerFarbe;
  if (sieger) {
    route = route.trimmed();
  } else {
    if (f.sortierung == QLatin1String("Walker")) route.clear();
    // Route and class stand only in the first row of a class.
    if (Zahlwert(platz) > 1) {
      route.clear();
      ak.clear();
    }
  }
  const Zeilenkopf& kopf = zeilenkopf(f.schattierung);
  out += sieger ? kopf.sieger : kopf.normal;
  const QString texte[10] = {route, ak, platz, zeit, t.feld(z, S_platzmw), t.feld(z, S_platztotal),
                             name, jahr, t.feld(z, S_vereinort), t.feld(z, S_startnummer)};
  for (int i = 0; i < 10; ++i) out += zelle(f.schrift, sieger, kZellen[i].links, texte[i]);
  out += sieger ? kopf.siegerEnde : kopf.normalEnde;
}

QString AlsDateiname(const QString& name, const QString& ersatz) {
  QString n = name.trimmed();
  for (QChar& c : n) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == ' ' || u == '/' || u == '\\' || u == ':' || u == '*' || u == '?' || u == '"' ||
        u == '<' || u == '>' || u == '|')
      c = QLatin1Char('_');
  }
  while (n.contains(QLatin1String(".."))) n.replace(QLatin1String(".."), QLatin1String("_"));
  // A name of dots alone would be hidden or name the folder itself.
  if (n.startsWith(QLatin1Char('.'))) n[0] = QLatin1Char('_');
  if (n.size() > 120) n.truncate(120);
  return n.isEmpty() ? ersatz : n;
}

QString ErgebnislisteDatei(const Sitzung& s) {
  return s.arbeitsdatei(AlsDateiname(s.einst.txtNameLauf, QStringLiteral("Ergebnisliste")) + QStringLiteral(".rtf"));
}

bool ErgebnislisteSchreiben(Sitzung& s, const QString& ziel, int* zeilen) {
  Ausgabe& a = Ausgabe::von(s);
  Teilnehmertabelle& t = s.tabelle;
  const int modus = a.OptErgebnisliste;
  // An event file may have emptied the path: the shipped template then.
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  // Every preparation comes first, so that the heading names the order the
  // rows really stand in ("nur Platz 1-3" sorts by route and class).
  vorbereiten(s, modus);

  QByteArray vorlage;
  if (!VorlageLesen(s, s.einst.txtVorlageErgebnisliste, QStringLiteral("der Ergebnisliste"), vorlage)) return false;
  Zeilenformat f = VorlageAnalysieren(vorlage);
  f.modus = modus;
  f.sekunden = a.chkProtokollInSek != 0;
  f.sortierung = s.sortierung;

  int anzahl = 0;
  for (int z = 1; z <= t.anzahl(); ++z)
    if (ZeileGewaehlt(t, z, modus)) ++anzahl;
  if (zeilen) *zeilen = anzahl;
  if (anzahl == 0) {
    s.bediener.meldung(kZieltafel,
                       QStringLiteral("Für die Auswahl \"") + Listenmodus(modus) +
                           QStringLiteral("\" gibt es keine Zeile; es wurde keine Liste erstellt.   "),
                       Symbol::Information, Knoepfe::Ok);
    return false;
  }

  const Einstellungen& e = s.einst;
  QList<Platzhalter> kopf;
  if (a.anmeldelisteflag)
    kopf << Platzhalter{"Ergebnisliste vom ", RtfText(QStringLiteral("Online-Anmeldung Stand "))};
  else if (modus == 8)
    kopf << Platzhalter{"Ergebnisliste vom ", RtfText(QStringLiteral("Walker-Ergebnisliste vom "))};
  const QString laufAm = a.anmeldelisteflag ? s.uhr.jetzt().date().toString(QStringLiteral("dd.MM.yyyy")) : e.txtLaufAm;
  kopf << Platzhalter{"RTFtxtNameLauf", RtfText(e.txtNameLauf)} << Platzhalter{"RTFtxtVerein", RtfText(e.txtVerein)}
       << Platzhalter{"RTFtxtLaufAm", RtfText(laufAm)} << Platzhalter{"RTFtxtCup", RtfText(e.txtCup)}
       << Platzhalter{"RTFtxtInternet", RtfText(e.txtVereinInternet)}
       << Platzhalter{"RTFtxtEmail", RtfText(e.txtVereinEmail)}
       << Platzhalter{"RTFtxtSortiertnach", RtfText(s.sortierung)};
  const Ersetzung ersetzt = PlatzhalterErsetzen(vorlage, kopf, kRtftxtNamen);
  vorlage = ersetzt.rtf;
  if (!ersetzt.uebrig.isEmpty()) {
    QStringList bekannt;
    for (const Platzhalter& p : kopf) bekannt << QString::fromLatin1(p.name);
    s.bediener.meldung(kZieltafel,
                       PlatzhalterNichtErsetzt(ersetzt.uebrig, bekannt, QStringLiteral("der Ergebnisliste"),
                                               e.txtVorlageErgebnisliste),
                       Symbol::Ausruf, Knoepfe::Ok);
  }

  // The rows go after the template's last "\par }}"; a template without one
  // gets them before its closing brace, never in front of "{\rtf1".
  QByteArray vorDenZeilen, nachDenZeilen;
  const QByteArray marke = "\\par }}";
  if (vorlage.contains(marke)) {
    qsizetype pos = 0;
    for (;;) {
      const qsizetype k = vorlage.indexOf(marke, pos);
      if (k < 0) break;
      vorDenZeilen += vorlage.mid(pos, k - pos);
      vorDenZeilen += marke;
      vorDenZeilen += "\r\n";
      pos = k + marke.size();
    }
    nachDenZeilen = vorlage.mid(pos) + "\r\n";
  } else {
    const qsizetype schluss = vorlage.lastIndexOf('}');
    if (schluss < 0) {
      s.bediener.meldung(kZieltafel,
                         QStringLiteral("Die Vorlage \"%1\" ist keine vollständige RTF-Datei (die schließende Klammer "
                                        "fehlt); es wurde keine Liste erstellt.   ")
                             .arg(QDir::toNativeSeparators(e.txtVorlageErgebnisliste)),
                         Symbol::Ausruf, Knoepfe::Ok);
      return false;
    }
    vorDenZeilen = vorlage.left(schluss) + "\r\n";
    nachDenZeilen = vorlage.mid(schluss) + "\r\n";
  }

  if (GleicheDatei(ziel, e.txtVorlageErgebnisliste)) {
    SchreibfehlerMelden(s, ziel, QStringLiteral("Die Ergebnisliste"),
                        QStringLiteral("Die Datei wäre die Vorlage selbst; die Vorlage bleibt, wie sie ist."));
    return false;
  }
  QDir().mkpath(QFileInfo(ziel).absolutePath());
  // Written piece by piece into a file beside the target, which replaces
  // the old list only when it is complete.
  Baustelle datei(ziel);
  if (!datei.ok()) {
    SchreibfehlerMelden(s, ziel, QStringLiteral("Die Ergebnisliste"), datei.fehler());
    return false;
  }
  QByteArray puffer = vorDenZeilen;
  puffer.reserve(1 << 21);
  Fortschritt fortschritt(s.bediener, QStringLiteral("% gedruckt  "));
  const int n = t.anzahl();
  bool ok = true;
  for (int z = 1; z <= n && ok; ++z) {
    fortschritt.melden(z, n);
    if (!ZeileGewaehlt(t, z, modus)) continue;
    WriteResultRow(t, z, f, puffer);
    if (puffer.size() >= (1 << 20)) {
      ok = datei.schreiben(puffer.constData(), puffer.size());
      puffer.clear();
    }
  }
  puffer += nachDenZeilen;
  // Every piece, the sync and the rename are checked: a list cut short by a
  // full disk must not take the old one's place.
  if (!ok || !datei.schreiben(puffer.constData(), puffer.size()) || !datei.einsetzen()) {
    SchreibfehlerMelden(s, ziel, QStringLiteral("Die Ergebnisliste"), datei.fehler());
    return false;
  }
  return true;
}

QString CreateResultList(Sitzung& s) {
  Ausgabe& a = Ausgabe::von(s);
  const bool drucken = a.druckflag;
  a.druckflag = false;
  QString datei;
  {
    Sperre sperre(s.bediener);
    if (s.tabelle.anzahl() == 0) return QString();
    datei = ErgebnislisteDatei(s);
    const bool ok = ErgebnislisteSchreiben(s, datei);
    s.bediener.status(StatusFortschritt, QString());
    if (!ok) return QString();
  }
  if (!drucken) {
    ZumBearbeitenOeffnen(s, datei);
    return datei;
  }
  const QString drucker = Druckername(s, s.druckerErgebnisliste);
  Bediener* b = &s.bediener;
  const QString fehler = DruckAuftrag(s, datei, drucker, [b, datei, drucker](const QString& f) {
    if (f.isEmpty()) {
      b->status(StatusFortschritt, QStringLiteral("Ergebnisliste auf \"%1\" gedruckt  ").arg(drucker));
      return;
    }
    b->meldung(kZieltafel, DruckfehlerText(QStringLiteral("Die Ergebnisliste"), datei, drucker, f), Symbol::Ausruf,
               Knoepfe::Ok);
  });
  if (!fehler.isEmpty()) {
    s.bediener.meldung(kZieltafel, DruckfehlerText(QStringLiteral("Die Ergebnisliste"), datei, drucker, fehler),
                       Symbol::Ausruf, Knoepfe::Ok);
  } else {
    s.bediener.status(StatusFortschritt, QStringLiteral("Ergebnisliste an \"%1\" übergeben  ").arg(drucker));
  }
  return datei;
}

void ErgebnislisteDrucken(Sitzung& s) {
  if (s.tabelle.anzahl() == 0) return;
  Ausgabe::von(s).druckflag = true;
  CreateResultList(s);
}

bool ErgebnislisteVorlageBearbeiten(Sitzung& s) {
  StandardvorlagenErgaenzen(s.einst, s.pfade.programmordner);
  return VorlageBearbeiten(s, s.einst.txtVorlageErgebnisliste, QStringLiteral("der Ergebnisliste"));
}

}  // namespace zt
