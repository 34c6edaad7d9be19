#include "output/Druck.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "output/Ausgabe.h"
#include "output/Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");

QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

}  // namespace

bool GleicheDatei(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const QFileInfo x(a), y(b);
  if (x.exists() && y.exists()) return x.canonicalFilePath() == y.canonicalFilePath();
  return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}

void SchreibfehlerMelden(Sitzung& s, const QString& pfad, const QString& was, const QString& fehler) {
  s.bediener.meldung(kZieltafel,
                     was + QStringLiteral(" kann nicht im Ordner \"") + nativ(QFileInfo(pfad).absolutePath()) +
                         QStringLiteral("\" gespeichert werden.\n") + fehler,
                     Symbol::Ausruf, Knoepfe::Ok);
}

bool VorlageLesen(Sitzung& s, const QString& pfad, const QString& wofuer, QByteArray& inhalt) {
  const QString anfang = QStringLiteral("Die Vorlage ") + wofuer + QStringLiteral(" \"") + nativ(pfad) + QStringLiteral("\" ");
  QString fehler;
  if (pfad.trimmed().isEmpty()) {
    fehler = QStringLiteral("Es ist keine Vorlage ") + wofuer + QStringLiteral(" angegeben (Voreinstellungen, sonstiges).   ");
  } else if (!QFileInfo(pfad).isFile()) {
    fehler = anfang + QStringLiteral("wurde nicht gefunden.   ");
  } else {
    const Leseergebnis e = DateiLesen(pfad);
    if (!e.ok) fehler = e.fehler;
    else if (e.daten.trimmed().isEmpty()) fehler = anfang + QStringLiteral("ist leer.   ");
    else if (!IstRtf(e.daten)) fehler = anfang + QStringLiteral("ist keine RTF-Datei.   ");
    else inhalt = e.daten;
  }
  if (fehler.isEmpty()) return true;
  s.bediener.meldung(kZieltafel, fehler, Symbol::Ausruf, Knoepfe::Ok);
  return false;
}

bool AusgabeSchreiben(Sitzung& s, const QString& pfad, const QByteArray& inhalt, const QString& was,
                      const QString& vorlage) {
  QString fehler;
  if (GleicheDatei(pfad, vorlage))
    fehler = QStringLiteral("Die Datei wäre die Vorlage selbst; die Vorlage bleibt, wie sie ist.");
  else if (!QDir().mkpath(QFileInfo(pfad).absolutePath()))
    fehler = QStringLiteral("Der Ordner kann nicht angelegt werden.");
  else
    fehler = DateiAtomarSchreiben(pfad, inhalt);
  if (fehler.isEmpty()) return true;
  SchreibfehlerMelden(s, pfad, was, fehler);
  return false;
}

QString Druckername(Sitzung& s, const QString& gewaehlt) {
  return gewaehlt.trimmed().isEmpty() ? s.system.standardDrucker() : gewaehlt;
}

QString DruckfehlerText(const QString& was, const QString& datei, const QString& drucker, const QString& fehler) {
  return was + QStringLiteral(" wurde nicht auf \"") + drucker + QStringLiteral("\" gedruckt:\n") + fehler +
         QStringLiteral("\n\nDie Datei liegt unter \"") + nativ(datei) + QStringLiteral("\".");
}

QString DruckAuftrag(Sitzung& s, const QString& datei, const QString& drucker,
                     std::function<void(const QString& fehler)> fertig) {
  const QString bereit = s.system.druckbereit(drucker);
  if (!bereit.isEmpty()) return bereit;
  const Leseergebnis e = DateiLesen(datei);
  if (!e.ok) return e.fehler;
  Ausgabe& a = Ausgabe::von(s);
  const QString auftrag = s.arbeitsdatei(QStringLiteral("druck/Auftrag%1_%2")
                                             .arg(a.naechsterAuftrag++)
                                             .arg(QFileInfo(datei).fileName()));
  QDir().mkpath(QFileInfo(auftrag).absolutePath());
  const QString fehler = DateiAtomarSchreiben(auftrag, e.daten);
  if (!fehler.isEmpty()) return fehler;
  ++a.laufendeDrucke;
  a.melden();
  // The window may be closed before the printer answers: nothing that dies
  // with the session is held by reference.
  QPointer<Ausgabe> zustand(&a);
  s.system.rtfDruckenNebenbei(auftrag, drucker, [zustand, auftrag, datei, drucker, fertig](const QString& f) {
    QFile::remove(auftrag);
    if (!zustand) return;
    --zustand->laufendeDrucke;
    if (fertig) {
      fertig(f);
    } else if (!f.isEmpty()) {
      if (auto* s = qobject_cast<Sitzung*>(zustand->parent()))
        s->bediener.meldung(kZieltafel, DruckfehlerText(QStringLiteral("Die Datei"), datei, drucker, f),
                            Symbol::Ausruf, Knoepfe::Ok);
    }
    if (!zustand) return;
    Q_EMIT zustand->druckGemeldet(f);
    zustand->melden();
  });
  return QString();
}

bool ZumBearbeitenOeffnen(Sitzung& s, const QString& datei) {
  const QString programm = s.einst.txtWinWord.trimmed();
  if (!programm.isEmpty() && s.system.programmStarten(programm, {nativ(datei)})) return true;
  if (s.system.dateiAnzeigen(datei)) return true;
  s.bediener.meldung(kZieltafel,
                     QStringLiteral("Die Datei \"") + nativ(datei) +
                         QStringLiteral("\" wurde erstellt, lässt sich aber nicht öffnen: weder die Textverarbeitung \"") +
                         nativ(programm) + QStringLiteral("\" noch ein Programm für RTF-Dateien ließ sich starten.   "),
                     Symbol::Ausruf, Knoepfe::Ok);
  return false;
}

bool VorlageBearbeiten(Sitzung& s, const QString& vorlage, const QString& wofuer) {
  if (!QFileInfo(vorlage).isFile()) {
    s.bediener.meldung(kZieltafel,
                       QStringLiteral("Die Vorlage ") + wofuer + QStringLiteral(" \"") + nativ(vorlage) +
                           QStringLiteral("\" wurde nicht gefunden.   "),
                       Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  return ZumBearbeitenOeffnen(s, vorlage);
}

}  // namespace zt
