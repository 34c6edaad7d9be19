// The backup of the time file on a USB stick: the places that cannot take it,
// and the real copy on its thread. The race beside it is in the case files.
#include "timing/Sicherung.h"
#include "timing/Zeitnahme_test.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace zt;
using namespace zt::test;

namespace {
struct ZeitnahmeSicherung : ZeitnahmeTest {
  QString stick() const { return u.pfad(u"stick"_s); }
};
}  // namespace

TEST_F(ZeitnahmeSicherung, BackupPlacesThatCannotTakeTheCopy) {
  const QString datei = schreibeDatei(u.pfad(u"keinordner"_s), "x");
  const std::pair<QString, QString> faelle[] = {
      {QString(), u"Es ist kein Sicherungsordner angegeben."_s},
      {u"a:\\"_s, u"Der Sicherungsordner \"a:\\\" ist kein vollständiger Pfad."_s},
      {s.pfade.arbeitsordner,
       u"Der Sicherungsordner \"%1\" ist der Ordner der Zeitdatei selbst."_s.arg(s.pfade.arbeitsordner)},
      {datei, u"\"%1\" ist kein Ordner."_s.arg(datei)}};
  for (const auto& [ordner, erwartet] : faelle) {
    QString fehler;
    EXPECT_TRUE(Sicherungsziel(ordner, erg(), fehler).isEmpty());
    EXPECT_EQ(fehler, erwartet);
  }
  ASSERT_TRUE(QDir().mkpath(stick()));
  QString fehler;
  EXPECT_EQ(Sicherungsziel(stick() + u"/"_s, erg(), fehler), stick() + u"/lauf.erg"_s);
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
            u"Der Sicherungsordner \"%1\" ist nicht vorhanden."_s.arg(dir.filePath(u"fehlt"_s)));
}
