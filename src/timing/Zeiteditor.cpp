#include "timing/Zeiteditor.h"

#include "core/Text.h"
#include "core/Zeitwert.h"

#include <QDir>
#include <QFileInfo>

namespace zt {

namespace {
const QString kTitel = QStringLiteral("Zeitmessung bearbeiten");
const QString kFehlerEingefuegt = QStringLiteral("Einlauf eingefügt");
constexpr qint64 kGroessteDatei = qint64(256) << 20;

QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

QString bereinigt(const QString& wert) {
  QString t = wert;
  for (QChar& c : t)
    if (c == QLatin1Char(';') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
      c = QLatin1Char(' ');
  return t.trimmed();
}

QString* feldZeiger(Einlaufzeile& z, int spalte) {
  switch (spalte) {
    case ES_Einlauf: return &z.einlauf;
    case ES_Startnummer: return &z.startNr;
    case ES_Zeit: return &z.zeit;
    case ES_Fehler: return &z.fehler;
    case ES_Startzeit: return &z.startZeit;
    default: return nullptr;
  }
}
}  // namespace

QString ZeiteditorTitel() { return kTitel; }

QString UebergabeBeschriftung() {
  return QStringLiteral("der Veranstaltung die \"geprüften Daten\" zuordnen");
}

QString EditorspaltenTitel(int spalte) {
  switch (spalte) {
    case ES_Markierung: return QStringLiteral("i.O.");
    case ES_Einlauf: return QStringLiteral("Einlauf");
    case ES_Startnummer: return QStringLiteral("Startnummer");
    case ES_Zeit: return QStringLiteral("Zeit");
    case ES_Fehler: return QStringLiteral("Fehler");
    case ES_Startzeit: return QStringLiteral("Startzeit");
  }
  return QString();
}

int EditorspaltenBreite(int spalte) {
  switch (spalte) {
    case ES_Markierung: return 400;
    case ES_Einlauf: return 900;
    default: return 1000;
  }
}

Einlaufliste ZeitdateiEintraege(const QStringList& zeilen) {
  Einlaufliste liste;
  liste.reserve(zeilen.size());
  int anfang = 1;
  if (!zeilen.isEmpty() && zeilen[0].contains(QLatin1String("Seewalder"), Qt::CaseInsensitive)) anfang = 2;
  for (qsizetype k = anfang; k < zeilen.size(); ++k) {
    const QString& zeile = zeilen[k];
    // A remark "Einlauf eingefügt" holds the word too: only a real header
    // line, written again into the file, is no finish.
    if (zeile.trimmed().isEmpty() || IstKopfzeile(zeile)) continue;
    QStringList teile = zeile.split(QLatin1Char(';'));
    if (teile.size() > 5) {
      teile[4] = teile.mid(4).join(QLatin1Char(';'));
      teile.resize(5);
    }
    // A field never holds TAB or CR (LF cannot occur: it ends the line).
    auto teil = [&](int i) {
      QString t = teile.value(i);
      t.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
      return t.trimmed();
    };
    Einlaufzeile z;
    z.einlauf = teil(0);
    z.startNr = teil(1);
    z.zeit = teil(2);
    z.fehler = teil(3);
    z.startZeit = teil(4);
    liste.append(z);
  }
  return liste;
}

QString GespeicherterName(const QString& pfad, const QDateTime& zeit) {
  return pfad + QLatin1Char('_') + zeit.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('_') +
         zeit.toString(QStringLiteral("hh.mm.ss")) + QStringLiteral(".erg");
}

QString FreierGespeicherterName(const QString& pfad, const QDateTime& zeit) {
  const QString name = GespeicherterName(pfad, zeit);
  if (!QFileInfo::exists(name)) return name;
  const QString ohneEndung = name.left(name.size() - 4);
  for (int k = 2;; ++k) {
    const QString n = ohneEndung + QLatin1Char('_') + QString::number(k) + QStringLiteral(".erg");
    if (!QFileInfo::exists(n)) return n;
  }
}

Zeiteditor::Zeiteditor(Sitzung& s, QObject* parent) : QObject(parent), m_s(s) {
  verfuegbarkeitPruefen();
  // The duathlon flag is set by presets and by the import; the choices follow.
  connect(&m_s, &Sitzung::geaendert, this, &Zeiteditor::verfuegbarkeitPruefen);
}

QString Zeiteditor::feld(int zeile, int spalte) const {
  if (!gueltig(zeile)) return QString();
  const Editorzeile& z = m_zeilen[zeile - 1];
  switch (spalte) {
    case ES_Markierung: return WahrText(z.markiert);
    case ES_Einlauf: return z.daten.einlauf;
    case ES_Startnummer: return z.daten.startNr;
    case ES_Zeit: return z.daten.zeit;
    case ES_Fehler: return z.daten.fehler;
    case ES_Startzeit: return z.daten.startZeit;
  }
  return QString();
}

int Zeiteditor::markierteAnzahl() const {
  int n = 0;
  for (const Editorzeile& z : m_zeilen) n += z.markiert ? 1 : 0;
  return n;
}

Einlaufliste Zeiteditor::einlaufliste() const {
  Einlaufliste l;
  l.reserve(anzahl());
  for (const Editorzeile& z : m_zeilen) l.append(z.daten);
  return l;
}

void Zeiteditor::setAktuelleZeile(int zeile) {
  const int neu = anzahl() == 0 ? 0 : std::clamp(zeile, 1, anzahl());
  if (neu == m_aktuell) return;
  m_aktuell = neu;
  Q_EMIT aktuelleZeileGeaendert(m_aktuell);
}

bool Zeiteditor::bearbeitbar(int zeile, int spalte) const {
  if (!gueltig(zeile)) return false;
  if (spalte == ES_Markierung) return true;
  if (spalte == ES_Einlauf || spalte < 0 || spalte >= kEditorspalten) return false;
  return m_zeilen[zeile - 1].markiert;
}

bool Zeiteditor::zelleAendern(int zeile, int spalte, const QString& wert) {
  if (!bearbeitbar(zeile, spalte)) return false;
  if (spalte == ES_Markierung) return setMarkiert(zeile, IstWahr(wert));
  QString* f = feldZeiger(m_zeilen[zeile - 1].daten, spalte);
  const QString neu = bereinigt(wert);
  if (*f != neu) {
    *f = neu;
    Q_EMIT zeilenGeaendert(zeile - 1, zeile - 1);
  }
  return true;
}

bool Zeiteditor::setMarkiert(int zeile, bool an) {
  if (!gueltig(zeile)) return false;
  if (m_zeilen[zeile - 1].markiert != an) {
    m_zeilen[zeile - 1].markiert = an;
    Q_EMIT zeilenGeaendert(zeile - 1, zeile - 1);
  }
  return true;
}

bool Zeiteditor::laden() {
  const QString start = !m_geladen.isEmpty() ? Ordner(m_geladen) : Ordner(m_s.einst.txtZeitnahmeDatei);
  const Dateiwahl w = m_s.bediener.dateiOeffnen(QStringLiteral("Zeitdatei öffnen"), ZeitdateiFilter(),
                                                start.isEmpty() ? m_s.pfade.arbeitsordner : start, 1);
  if (w.abgebrochen()) return false;
  return dateiLaden(w.pfad);
}

bool Zeiteditor::dateiLaden(const QString& pfad) {
  Bediener& b = m_s.bediener;
  const QString titelLesen = QStringLiteral("Zeitmessung einlesen");
  auto nichtGefunden = [&] {
    b.meldung(titelLesen,
              QStringLiteral("Zeitdatei \"") + nativ(pfad) + QStringLiteral("\" nicht gefunden! Abbruch!   "),
              Symbol::Stopp, Knoepfe::Ok);
  };
  if (!DateiVorhanden(pfad)) {
    nichtGefunden();
    return false;
  }
  bool ergaenzen = false;
  if (!m_zeilen.empty())
    ergaenzen = b.meldung(kTitel,
                          QStringLiteral("Sollen die markiert gesperrten Zeiten ergänzt werden?   \n"
                                         "Ansonsten werden alle Zeiten überschrieben!   \nStandard: [Ja]"),
                          Symbol::Frage, Knoepfe::JaNein) == Antwort::Ja;
  // The list changes only after the whole file was read: a file that went
  // away or cannot be read leaves every row and mark as it was.
  if (QFileInfo(pfad).size() > kGroessteDatei) {
    b.meldung(titelLesen,
              QStringLiteral("Die Datei \"") + nativ(pfad) +
                  QStringLiteral("\" ist zu groß für eine Zeitdatei! Abbruch!   "),
              Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  const Zeitdateiinhalt inhalt = ZeitdateiLesen(pfad);
  if (!inhalt.ok) {
    if (!DateiVorhanden(pfad)) nichtGefunden();
    else b.meldung(titelLesen, inhalt.fehler + QStringLiteral(" Abbruch!   "), Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  const Einlaufliste neu = ZeitdateiEintraege(inhalt.zeilen);
  m_geladen = pfad;
  setStatus(QStringLiteral("Datei geladen: ...") + nativ(pfad).right(55));

  Sanduhr sanduhr(b);
  Q_EMIT vorZuruecksetzen();
  std::vector<Editorzeile> bleiben;
  if (ergaenzen)
    for (Editorzeile& z : m_zeilen)
      if (z.markiert) bleiben.push_back(std::move(z));
  m_zeilen = std::move(bleiben);
  if (!m_zeilen.empty()) {
    // The last checked time decides: later finishes have greater times. A
    // last row without a readable time (a blank inserted finish) does not
    // open the gate to every line again; the one before it counts.
    long long grenze = 0;
    for (auto it = m_zeilen.rbegin(); it != m_zeilen.rend() && grenze <= 0; ++it)
      grenze = Zeitwert::lesen(it->daten.zeit).zehntel();
    for (const Einlaufzeile& z : neu)
      if (Zeitwert::lesen(z.zeit).zehntel() > grenze) m_zeilen.push_back({false, z});
  } else {
    m_zeilen.reserve(neu.size());
    for (const Einlaufzeile& z : neu) m_zeilen.push_back({false, z});
  }
  m_aktuell = m_zeilen.empty() ? 0 : std::clamp(m_aktuell, 1, anzahl());
  Q_EMIT nachZuruecksetzen();
  Q_EMIT aktuelleZeileGeaendert(m_aktuell);
  if (m_aktuell > 0) Q_EMIT nachObenRollen(m_aktuell);
  return true;
}

QString Zeiteditor::neuerName() const {
  QString basis = m_geladen;
  if (basis.isEmpty()) basis = m_s.einst.txtZeitnahmeDatei.trimmed();
  if (basis.isEmpty()) basis = m_s.arbeitsdatei(QStringLiteral("lauf.erg"));
  return FreierGespeicherterName(basis, m_s.uhr.jetzt());
}

bool Zeiteditor::schreiben(const QString& pfad) {
  Bediener& b = m_s.bediener;
  const QString fehler = [&] {
    Sanduhr sanduhr(b);
    return ZeitdateiSchreiben(pfad, einlaufliste());
  }();
  if (!fehler.isEmpty()) {
    b.meldung(kTitel, QStringLiteral("Die Zeitdatei konnte nicht gespeichert werden!\n") + fehler, Symbol::Stopp,
              Knoepfe::Ok);
    return false;
  }
  m_gespeichert = pfad;
  setStatus(QStringLiteral("Datei gespeichert: ...") + nativ(pfad).right(55));
  return true;
}

bool Zeiteditor::speichern() { return schreiben(neuerName()); }

bool Zeiteditor::schliessen() { return m_zeilen.empty() || speichern(); }

bool Zeiteditor::schliessenAnfragen() {
  if (m_zeilen.empty()) return true;
  if (m_s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Soll die Zeitbearbeitung wirklich beendet werden?   "),
                           Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return false;
  // A list that could not be written stays open: closing would lose it.
  return speichern();
}

void Zeiteditor::leeren() {
  if (m_zeilen.empty()) return;
  Q_EMIT vorZuruecksetzen();
  m_zeilen.clear();
  m_aktuell = 0;
  Q_EMIT nachZuruecksetzen();
  Q_EMIT aktuelleZeileGeaendert(0);
}

bool Zeiteditor::alleMarkieren() {
  if (m_s.bediener.meldung(kTitel, QStringLiteral("Sollen alle Zeilen markiert werden?   "), Symbol::Frage,
                           Knoepfe::JaNein) == Antwort::Nein)
    return false;
  for (Editorzeile& z : m_zeilen) z.markiert = true;
  if (!m_zeilen.empty()) Q_EMIT zeilenGeaendert(0, anzahl() - 1);
  return true;
}

bool Zeiteditor::alleMarkierungenLoeschen() {
  if (m_s.bediener.meldung(kTitel, QStringLiteral("Sollen alle Markierungen entfernt werden?   "), Symbol::Frage,
                           Knoepfe::JaNein) == Antwort::Nein)
    return false;
  for (Editorzeile& z : m_zeilen) z.markiert = false;
  if (!m_zeilen.empty()) Q_EMIT zeilenGeaendert(0, anzahl() - 1);
  return true;
}

bool Zeiteditor::markierenBisZeile(int zeile) {
  if (!gueltig(zeile)) return false;
  for (int i = 0; i < anzahl(); ++i) m_zeilen[i].markiert = i < zeile;
  Q_EMIT zeilenGeaendert(0, anzahl() - 1);
  return true;
}

void Zeiteditor::neuNummerieren(int ab) {
  for (int i = ab; i < anzahl(); ++i) m_zeilen[i].daten.einlauf = EinlaufNummer(i + 1);
  if (ab < anzahl()) Q_EMIT zeilenGeaendert(ab, anzahl() - 1);
}

bool Zeiteditor::einlaufEinfuegen() {
  if (m_s.bediener.meldung(kTitel, QStringLiteral("Einlauf einfügen ?"), Symbol::Frage, Knoepfe::JaNein) !=
      Antwort::Ja)
    return false;
  const int c = std::max(1, m_aktuell);
  Editorzeile neu;
  neu.daten.fehler = kFehlerEingefuegt;
  if (c > 1) {
    neu.daten.zeit = m_zeilen[c - 2].daten.zeit;
    neu.daten.startZeit = m_zeilen[c - 2].daten.startZeit;
  }
  // A finish typed in by hand is a checked one, and only a marked row takes
  // the start number the operator is about to enter.
  neu.markiert = true;
  Q_EMIT vorEinfuegen(c - 1, c - 1);
  m_zeilen.insert(m_zeilen.begin() + (c - 1), neu);
  Q_EMIT nachEinfuegen();
  neuNummerieren(c - 1);
  m_aktuell = c;
  Q_EMIT aktuelleZeileGeaendert(m_aktuell);
  return true;
}

bool Zeiteditor::einlaufLoeschen() {
  const int c = m_aktuell;
  if (!gueltig(c)) return false;
  if (m_s.bediener.meldung(kTitel, QString::number(c) + QStringLiteral(".Einlauf löschen ?"), Symbol::Frage,
                           Knoepfe::JaNein) != Antwort::Ja)
    return false;
  Q_EMIT vorEntfernen(c - 1, c - 1);
  m_zeilen.erase(m_zeilen.begin() + (c - 1));
  Q_EMIT nachEntfernen();
  neuNummerieren(c - 1);
  m_aktuell = m_zeilen.empty() ? 0 : std::min(c, anzahl());
  Q_EMIT aktuelleZeileGeaendert(m_aktuell);
  return true;
}

Zeitimportergebnis Zeiteditor::uebergeben() {
  Bediener& b = m_s.bediener;
  if (markierteAnzahl() == 0) {
    b.meldung(kTitel, QStringLiteral("Keine Daten ausgewählt! Abbruch!   "), Symbol::Ausruf, Knoepfe::Ok);
    return {};
  }
  if (hauptfensterOffen && !hauptfensterOffen()) {
    b.meldung(kTitel, QStringLiteral("Zieltafel schon beendet! Abbruch!   "), Symbol::Ausruf, Knoepfe::Ok);
    return {};
  }
  const QString pfad = neuerName();
  if (!schreiben(pfad)) return {};
  m_s.zeitdateiUebergabe = pfad;
  b.zeigen(Ziel::TabZieltafel);
  return ZeitdateiLaden(m_s, pfad);
}

bool Zeiteditor::zielVerfuegbar(Sitzung::Zeitziel z) const {
  return z == Sitzung::Zeitziel::Lauf || m_s.duathlon;
}

bool Zeiteditor::modusVerfuegbar(Sitzung::Zeitmodus m) const {
  return m != Sitzung::Zeitmodus::Loeschen || m_s.zeitziel != Sitzung::Zeitziel::Lauf;
}

bool Zeiteditor::endzeitVerfuegbar() const { return m_s.zeitziel != Sitzung::Zeitziel::Lauf; }

bool Zeiteditor::setModus(Sitzung::Zeitmodus m) {
  if (!modusVerfuegbar(m)) return false;
  if (m_s.zeitmodus != m) {
    m_s.zeitmodus = m;
    Q_EMIT geaendert();
  }
  return true;
}

bool Zeiteditor::setZiel(Sitzung::Zeitziel z) {
  if (!zielVerfuegbar(z)) return false;
  const bool anders = m_s.zeitziel != z;
  ZeitzielSetzen(m_s, z);
  // Choosing "Standard: Lauf" disables the clear mode: a selection that can
  // no longer be seen must not stay in force.
  if (z == Sitzung::Zeitziel::Lauf && m_s.zeitmodus == Sitzung::Zeitmodus::Loeschen) {
    m_s.zeitmodus = Sitzung::Zeitmodus::Ergaenzen;
    Q_EMIT geaendert();
  } else if (anders) {
    Q_EMIT geaendert();
  }
  return true;
}

bool Zeiteditor::setEndzeitRunTime(bool an) {
  if (!endzeitVerfuegbar()) return false;
  if (m_s.duathlonEndzeitRunTime != an) {
    m_s.duathlonEndzeitRunTime = an;
    Q_EMIT geaendert();
  }
  return true;
}

void Zeiteditor::verfuegbarkeitPruefen() {
  if (!zielVerfuegbar(m_s.zeitziel)) setZiel(Sitzung::Zeitziel::Lauf);
  else if (m_s.zeitzuordnung != ZeitzielText(m_s.zeitziel)) ZeitzielSetzen(m_s, m_s.zeitziel);
}

void Zeiteditor::setStatus(const QString& text) {
  m_status = text;
  Q_EMIT statusGeaendert(text);
  Q_EMIT geaendert();
}

}  // namespace zt
