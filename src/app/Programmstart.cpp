#include "app/Programmstart.h"

#include "core/Ansicht.h"
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "persistence/Einstellungsdatei.h"
#include "persistence/Vornamendatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace zt {

namespace {
QString ohneSchraegstrich(QString p) {
  while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
  return p;
}

QString ordnerWaehlen(const QString& ausdruecklich, const char* umgebung, const QString& standard) {
  if (!ausdruecklich.isEmpty()) return ohneSchraegstrich(QDir::fromNativeSeparators(ausdruecklich));
  const QString env = qEnvironmentVariable(umgebung);
  if (!env.isEmpty()) return ohneSchraegstrich(QDir::fromNativeSeparators(env));
  return standard;
}

// Fills the program folder with every shipped default file it lacks; files the
// operator already has are never touched.
void standarddateienKopieren(const QString& share, const QString& ziel) {
  if (share.isEmpty() || !QFileInfo(share).isDir()) return;
  QDirIterator it(share, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString quelle = it.next();
    const QString relativ = QDir(share).relativeFilePath(quelle);
    // The sample event is opened where it lies; the desktop files belong to
    // the system, not to the operator. The help page is read where it was
    // installed: a copy here would hide every later edition of it.
    if (relativ.startsWith(QLatin1String("beispiel/")) || relativ.startsWith(QLatin1String("desktop/")) ||
        relativ == QLatin1String("zieltafelhilfe.htm"))
      continue;
    const QString dort = ziel + QLatin1Char('/') + relativ;
    if (QFileInfo::exists(dort)) continue;
    QDir().mkpath(QFileInfo(dort).absolutePath());
    DateiKopieren(quelle, dort);
  }
}

void altersklassenDateiLesen(Sitzung& s, const QString& pfad) {
  if (!DateiVorhanden(pfad)) return;
  const Leseergebnis e = DateiLesen(pfad);
  if (!e.ok) return;
  QList<AkEintrag> liste;
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
    QString eintrag = Feld(zeile.trimmed(), 1, QStringLiteral("="));
    eintrag.remove(QLatin1Char('\t'));
    eintrag = eintrag.trimmed();
    if (eintrag.isEmpty()) continue;
    liste.append({eintrag, false});
  }
  for (auto& l : s.einst.hauptlaufAk) l = liste;
}
}  // namespace

// Where an installed program keeps its shipped files, seen from its own folder;
// the build knows the real install layout.
#ifndef ZT_SHARE_RELATIV
#define ZT_SHARE_RELATIV "../share/zieltafel"
#endif

QString ShareOrdner() {
  const QString env = qEnvironmentVariable("ZIELTAFEL_SHARE");
  if (!env.isEmpty()) return env;
  const QString installiert =
      QCoreApplication::applicationDirPath() + QStringLiteral("/" ZT_SHARE_RELATIV);
  if (QFileInfo(installiert + QStringLiteral("/Zieltafel.ini")).exists()) return QDir::cleanPath(installiert);
  return QStringLiteral(ZT_SHARE_DIR);
}

QString OrdnerVorbereiten(Sitzung& s, const QString& programmordner, const QString& arbeitsordner) {
  QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (appData.isEmpty() || QCoreApplication::applicationName().isEmpty())
    appData = QDir::homePath() + QStringLiteral("/.local/share/Zieltafel");
  QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (dokumente.isEmpty()) dokumente = QDir::homePath();
  s.pfade.programmordner = ordnerWaehlen(programmordner, "ZIELTAFEL_PROGRAMMORDNER", appData);
  s.pfade.arbeitsordner =
      ordnerWaehlen(arbeitsordner, "ZIELTAFEL_ARBEITSORDNER", dokumente + QStringLiteral("/Zieltafel"));
  for (const QString& o : {s.pfade.programmordner, s.pfade.arbeitsordner}) {
    if (!QDir().mkpath(o))
      return QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(QDir::toNativeSeparators(o));
  }
  standarddateienKopieren(ShareOrdner(), s.pfade.programmordner);
  s.einst.txtOptionen = s.optionsdatei();
  return QString();
}

void StartdatenLaden(Sitzung& s) {
  altersklassenDateiLesen(s, s.programmdatei(QStringLiteral("Altersklassen.ini")));
  s.bezugsjahr = s.uhr.jetzt().date().year();
  s.txtBezugsjahrAK = QString::number(s.bezugsjahr);
  s.einst.txtOptionen = s.optionsdatei();
  ReadSettings(s, s.einst.txtOptionen);
  if (s.einst.txtZeitnahmeDatei.isEmpty()) s.einst.txtZeitnahmeDatei = s.arbeitsdatei(QStringLiteral("lauf.erg"));
  s.duathlon = s.einst.txtHauptlauf[0] == QLatin1String("Duathlon");
  s.tabellentitel = QStringLiteral("Zieltafel ") + s.einst.txtNameLauf + QStringLiteral(" - Bezugsjahr AK ") +
                    QString::number(s.bezugsjahr);
  VornamenLaden(s.vornamen, s.vornamendatei());
  BuildAgeTable(s);
  WechselfarbenSetzen(s);
  NormaleAnsicht(s);
  // Laying out the empty table is no change of the event.
  s.stapel.neuBeginnen();
  s.melden();
}

}  // namespace zt

#include "app/Pfadpruefung.h"
#include "event/Hauptlauf.h"
#include "persistence/Datenbank.h"

namespace zt {

bool Programmende(Sitzung& s) {
  // A question that always comes is a question nobody reads: only a table
  // with something unsaved in it is asked about, and only once.
  if (s.tabelle.anzahl() > 0 && s.ungespeichert()) {
    const Antwort a = s.bediener.meldung(QStringLiteral("Zieltafel"),
                                         QStringLiteral("Soll die vorhandene Datenbank vor dem Beenden gesichert werden?   "),
                                         Symbol::Frage, Knoepfe::JaNeinAbbrechen);
    if (a == Antwort::Abbrechen) return false;
    // A cancelled or failed save must not take the participants with it.
    if (a == Antwort::Ja && !DatenbankSichern(s)) return false;
  }
  const QString fehler = WriteSettings(s, s.einst.txtOptionen, s.laufEinstellungsdatei(), s.vornamendatei());
  if (!fehler.isEmpty())
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Die Einstellungen konnten nicht gespeichert werden:\n") + fehler, Symbol::Ausruf,
                       Knoepfe::Ok);
  return true;
}

void TabWechsel(Sitzung& s, int tab) {
  WriteSettings(s, s.einst.txtOptionen, s.laufEinstellungsdatei(), s.vornamendatei());
  // A year the path check is about to refuse must not reach the age classes.
  const long long jahr = Ganzzahlwert(s.txtBezugsjahrAK);
  if (jahr >= 1900 && jahr <= 2100) s.bezugsjahr = static_cast<int>(jahr);
  TitelBezugsjahr(s);
  if (tab == 1 || tab == 3) PfadePruefen(s, false, Pfadfeld::Keins);
  s.melden();
}

}  // namespace zt
