#pragma once
// What the output tests share: a session with a few participants, the
// shipped templates in its program folder, LibreOffice and pdftotext.
#include "core/Ports.h"
#include "core/Sitzung.h"
#include "core/Text.h"
#include "output/Ausgabe.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace zt::test {

// One row from its fields by key ("strecke=10/m;namevorname=...").
inline int zeile(Sitzung& s, const QString& felder, int hintergrund = kKeineFarbe) {
  Teilnehmerzeile z;
  for (const QString& teil : felder.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int gleich = teil.indexOf(QLatin1Char('='));
    z.felder[Spaltennummer(teil.left(gleich)) - 1] = teil.mid(gleich + 1);
  }
  z.hintergrund = hintergrund;
  return s.tabelle.zeileHinzufuegen(z);
}

// The shipped templates, copied into the program folder as start-up does.
inline void vorlagenEinrichten(Sitzung& s) {
  QDir().mkpath(s.programmdatei(QStringLiteral("druckvorlage")));
  for (const char* n : {"VorlageErgebnisliste.rtf", "VorlageUrkunde.rtf", "VorlageUrkundeGesamtSieger.rtf"}) {
    const QString ziel = s.programmdatei(QStringLiteral("druckvorlage/") + QLatin1String(n));
    QFile::remove(ziel);
    QFile::copy(QStringLiteral(ZT_SHARE_DIR "/druckvorlage/") + QLatin1String(n), ziel);
  }
  s.einst.txtVorlageErgebnisliste.clear();
  s.einst.txtVorlageUrkunde.clear();
  s.einst.txtVorlageUrkundeGesamtsieger.clear();
  AusgabeAnmelden(s);
}

// A small 10 km field: winners highlighted as the placement passes leave them.
inline void zehnKilometer(Sitzung& s) {
  zeile(s, QStringLiteral("checkdruck=Falsch;platz=1;startnummer=17;strecke=10/m;namevorname=Müller, Jürgen;"
                          "jahr=01.05.1970;vereinort=TV {Alt} \\ Süd;zeit=0:38:12.4;ak=M50;platzmw=1;platztotal=1;"
                          "nurstrecke=10"),
        kSiegerFarbe);
  zeile(s, QStringLiteral("checkdruck=Falsch;platz=2;startnummer=23;strecke=10/m;namevorname=Groß, Łukasz;"
                          "jahr=1968;vereinort=<b>;zeit=0:41:07.5;ak=M50;platzmw=2;platztotal=3;nurstrecke=10"));
  zeile(s, QStringLiteral("checkdruck=Falsch;platz=1;startnummer=31;strecke=10/w;namevorname=Öztürk, Ayşe;"
                          "jahr=1985;vereinort=LG Nord;zeit=0:40:01.6;ak=W35;platzmw=1;platztotal=2;nurstrecke=10"),
        kSiegerFarbe);
  zeile(s, QStringLiteral("checkdruck=Falsch;platz=;startnummer=44;strecke=10/w;namevorname=Ohnezeit, Ida;"
                          "jahr=1990;vereinort=;zeit=ohne;ak=W30;nurstrecke=10"));
  zeile(s, QStringLiteral("checkdruck=Falsch;platz=;startnummer=;strecke=;namevorname=Nochnicht, Eva;jahr=2001"));
}

// LibreOffice and pdftotext: the tests that need them are skipped without.
inline bool pdfWerkzeugeDa() {
  return !LibreOfficeProgramm().isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// pdftotext -layout of a PDF file.
inline QString pdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(60000)) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Number of pages pdfinfo reports.
inline int pdfSeiten(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  if (!p.waitForFinished(60000)) return -1;
  for (const QString& z : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
    if (z.startsWith(QLatin1String("Pages:"))) return z.mid(6).trimmed().toInt();
  return -1;
}

// The lines of a text that hold one of the markers, in the order they stand.
inline QStringList zeilenMit(const QString& text, const QStringList& marken) {
  QStringList l;
  for (const QString& z : text.split(QLatin1Char('\n')))
    for (const QString& m : marken)
      if (z.contains(m)) {
        l << m;
        break;
      }
  return l;
}

}  // namespace zt::test
