#pragma once
// A timing page on a session with recording ports and a clock the test sets.
#include "core/Text.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitnahme.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace zt::test {

using namespace Qt::StringLiterals;

inline QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

struct ZeitnahmeTest : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  std::unique_ptr<Zeitnahme> z;

  void SetUp() override {
    s.dezimalzeichen = QLatin1Char(',');
    s.einst.txtZeitnahmeLWSicherung = u.pfad(u"stick"_s);
    z = std::make_unique<Zeitnahme>(s);
  }

  QString erg() const { return s.arbeitsdatei(u"lauf.erg"_s); }
  void uhr(int h, int m, int sek, int ms = 0) { u.uhr.zeit.setTime(QTime(h, m, sek, ms)); }
  // Enters the page and starts the clock at the given time of day.
  void starten(int h, int m, int sek, int ms = 0) {
    uhr(h, m, sek, ms);
    z->seiteBetreten();
    z->starten();
  }
  // Types the number and presses Enter at the given time of day.
  bool einlauf(const QString& nummer, int h, int m, int sek, int ms = 0) {
    uhr(h, m, sek, ms);
    z->startnummerGeaendert(nummer);
    return z->einlaufErfassen();
  }
  void teilnehmer(const QString& startnummer, const QString& name) {
    Teilnehmerzeile t;
    t.setFeld(S_startnummer, startnummer);
    t.setFeld(S_namevorname, name);
    s.tabelle.zeileHinzufuegen(t);
  }
  QStringList liste() const {
    QStringList l;
    for (const Einlaufzeile& e : z->liste()) l << ZeitdateiZeile(e);
    return l;
  }
  // The rows of the time file as written (header checked and left off).
  QStringList datei(const QString& pfad = QString()) const {
    const QByteArray b = leseDatei(pfad.isEmpty() ? erg() : pfad);
    QStringList zeilen = QString::fromLatin1(b).split(u"\r\n"_s);
    EXPECT_TRUE(b.isEmpty() || b.endsWith("\r\n"));
    if (!zeilen.isEmpty() && zeilen.back().isEmpty()) zeilen.removeLast();
    if (!zeilen.isEmpty()) {
      EXPECT_EQ(zeilen.front(), ZeitdateiKopf());
      zeilen.removeFirst();
    }
    return zeilen;
  }
  QStringList meldungen() const { return u.bediener.meldungen(); }
};

}  // namespace zt::test
