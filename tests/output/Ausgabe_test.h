#pragma once
// What the output tests share: a session with a few participants, the
// shipped templates in its program folder, LibreOffice and pdftotext.
#include "core/Ports.h"
#include "core/Sitzung.h"
#include "core/Text.h"
#include "output/Ausgabe.h"
#include "support/TestPorts.h"

#include <QDir>
#include <cstdlib>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

namespace zt::test {

// One row from its fields by key ("strecke=10/m;namevorname=...").
inline int zeile(Sitzung& s, const QString& felder, int hintergrund = kKeineFarbe) {
  Teilnehmerzeile z;
  for (const QString& teil : felder.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int gleich = teil.indexOf(QLatin1Char('='));
    z.setFeld(Spaltennummer(teil.left(gleich)), teil.mid(gleich + 1));
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

// One page of a PDF as grey pixels (pdftoppm), for PDFs without text.
struct Graubild {
  int breite = 0, hoehe = 0;
  QByteArray punkte;
  bool dunkel(int x, int y) const {
    return x >= 0 && y >= 0 && x < breite && y < hoehe && static_cast<unsigned char>(punkte[y * breite + x]) < 128;
  }
  int dunkle() const {
    int n = 0;
    for (const char c : punkte) n += static_cast<unsigned char>(c) < 128;
    return n;
  }
};

inline Graubild graubild(const QString& pdf, int seite, int dpi = 30) {
  Graubild g;
  QTemporaryDir d;
  QProcess p;
  p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                       QStringLiteral("-f"), QString::number(seite), QStringLiteral("-l"),
                                       QString::number(seite), QStringLiteral("-singlefile"), pdf, d.filePath(QStringLiteral("b"))});
  if (!p.waitForFinished(60000)) return g;
  const QByteArray b = leseDatei(d.filePath(QStringLiteral("b.pgm")));
  const QList<QByteArray> kopf = b.left(64).split('\n');
  if (kopf.size() < 4 || kopf[0] != "P5") return g;
  const QList<QByteArray> masse = kopf[1].split(' ');
  g.breite = masse.value(0).toInt();
  g.hoehe = masse.value(1).toInt();
  const qsizetype anfang = kopf[0].size() + kopf[1].size() + kopf[2].size() + 3;
  g.punkte = b.mid(anfang, qsizetype(g.breite) * g.hoehe);
  if (g.punkte.size() != qsizetype(g.breite) * g.hoehe) g = Graubild();
  return g;
}

// Share of dark pixels that have no dark pixel near them in the other
// picture (one pixel of play for rounding); 1 when the pages differ in size.
inline double abweichung(const Graubild& a, const Graubild& b) {
  if (a.breite == 0 || std::abs(a.breite - b.breite) > 2 || std::abs(a.hoehe - b.hoehe) > 2) return 1.0;
  const auto fehlend = [](const Graubild& x, const Graubild& y) {
    int n = 0;
    for (int j = 0; j < x.hoehe; ++j)
      for (int i = 0; i < x.breite; ++i) {
        if (!x.dunkel(i, j)) continue;
        bool da = false;
        for (int dy = -1; dy <= 1 && !da; ++dy)
          for (int dx = -1; dx <= 1 && !da; ++dx) da = y.dunkel(i + dx, j + dy);
        n += !da;
      }
    return n;
  };
  const int gesamt = a.dunkle() + b.dunkle();
  return gesamt == 0 ? 0.0 : double(fehlend(a, b) + fehlend(b, a)) / gesamt;
}

}  // namespace zt::test
