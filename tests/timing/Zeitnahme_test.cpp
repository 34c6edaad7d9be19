// The finish clock where a case file cannot say it: the moment of a click,
// the order of reading the clock, the places that cannot take the backup of
// the time file, and the real copy on its thread. The race beside the backup
// is in the case files.
#include "timing/Sicherung.h"
#include "timing/Zeitnahme_test.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace zt;
using namespace zt::test;

namespace {
using Zeitnahme_ = ZeitnahmeTest;
}  // namespace

TEST(ZeitnahmeZweitstart, TheSecondGunIsTheMomentOfTheClick) {
  NebenbeiBediener b;
  TestUhr uhr;
  TestSystem sys;
  Sitzung s(b, uhr, sys);
  b.nebenbei = [&uhr](Knoepfe) { uhr.zeit = uhr.zeit.addSecs(5); };  // five seconds to answer a question
  Zeitnahme z(s);
  uhr.zeit.setTime(QTime(10, 0, 0));
  z.starten();
  z.setChkZweiteStartUhrzeit(true);
  uhr.zeit.setTime(QTime(10, 15, 0, 800));
  z.start2VonZeit();
  EXPECT_EQ(z.anzeige().startzeit2, u"10:15:00"_s);
  EXPECT_EQ(z.anzeige().start2Felder, (std::array<QString, 3>{"10", "15", "00"}));
}

TEST_F(Zeitnahme_, TheFinishMomentIsReadBeforeAnythingElse) {
  // A clock that notes what the list held when it was read.
  struct ZaehlendeUhr : Uhr {
    const Zeitnahme* z = nullptr;
    QDateTime zeit = QDateTime(QDate(2026, 5, 1), QTime(10, 0, 0));
    mutable int gelesen = 0, listeBeimLesen = -1;
    QDateTime jetzt() const override {
      ++gelesen;
      listeBeimLesen = z ? z->anzahl() : -1;
      return zeit;
    }
  } zu;
  Zeitnahme t(s, zu);
  zu.z = &t;
  t.starten();
  zu.zeit = zu.zeit.addSecs(61);
  zu.gelesen = 0;
  t.startnummerGeaendert(u"3"_s);
  ASSERT_TRUE(t.einlaufErfassen());
  EXPECT_EQ(zu.gelesen, 1);
  EXPECT_EQ(zu.listeBeimLesen, 0);
  EXPECT_EQ(ZeitdateiZeile(t.liste()[0]), u"0001;3;0:01:01,0;;10:00:00"_s);
}

TEST_F(Zeitnahme_, BackupPlacesThatCannotTakeTheCopy) {
  const QString datei = schreibeDatei(u.pfad(u"keinordner"_s), "x");
  const std::pair<QString, QString> faelle[] = {
      {QString(), u"Es ist kein Sicherungsordner angegeben."_s},
      {u"stick"_s, u"Der Sicherungsordner \"stick\" ist kein vollständiger Pfad."_s},
#ifdef Q_OS_WIN
      // The old form: the root of a drive, here one that is not there.
      {u"q:"_s, u"Der Sicherungsordner \"q:\\\" ist nicht vorhanden (USB-Stick nicht eingesteckt?)."_s},
#endif
      {s.pfade.arbeitsordner,
       u"Der Sicherungsordner \"%1\" ist der Ordner der Zeitdatei selbst."_s.arg(nativ(s.pfade.arbeitsordner))},
      {datei, u"\"%1\" ist kein Ordner."_s.arg(nativ(datei))}};
  for (const auto& [ordner, erwartet] : faelle) {
    QString fehler;
    EXPECT_TRUE(Sicherungsziel(ordner, erg(), fehler).isEmpty());
    EXPECT_EQ(fehler, erwartet);
  }
  const QString stick = u.pfad(u"stick"_s);
  ASSERT_TRUE(QDir().mkpath(stick));
  QString fehler;
  EXPECT_EQ(Sicherungsziel(stick + u"/"_s, erg(), fehler), stick + u"/lauf.erg"_s);
  EXPECT_TRUE(fehler.isEmpty());
}

TEST(ZeitnahmeSicherungThread, TheRealCopyReportsBackOnTheMainThread) {
  QTemporaryDir dir;
  const QString quelle = schreibeDatei(dir.filePath(u"lauf.erg"_s), QByteArray(200000, 'x'));
  const QString ziel = schreibeDatei(dir.filePath(u"stick/lauf.erg"_s), "alte Sicherung");
  StandardSystem sys;
  // Waits for the report; what it said, and whether it came on the main thread.
  const auto kopieren = [&sys](const QString& von, const QString& nach) {
    auto e = std::make_shared<std::pair<QString, QThread*>>(u"-"_s, nullptr);
    sys.sicherungKopieren(von, nach, [e](const QString& f) { *e = {f, QThread::currentThread()}; });
    QElapsedTimer t;
    t.start();
    while (!e->second && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(e->second, QCoreApplication::instance()->thread());
    return e->first;
  };
  EXPECT_EQ(kopieren(quelle, ziel), QString());
  EXPECT_EQ(leseDatei(ziel), leseDatei(quelle));
  // Written under a temporary name and renamed: nothing else is left there.
  EXPECT_EQ(QDir(dir.filePath(u"stick"_s)).entryList(QDir::Files), QStringList{"lauf.erg"});
  EXPECT_EQ(kopieren(quelle, dir.filePath(u"fehlt/lauf.erg"_s)),
            u"Der Sicherungsordner \"%1\" ist nicht vorhanden."_s.arg(nativ(dir.filePath(u"fehlt"_s))));
}
