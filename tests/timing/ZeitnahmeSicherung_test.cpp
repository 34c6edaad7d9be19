// The backup of the time file on a USB stick: beside the race, never in its way.
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

TEST_F(ZeitnahmeSicherung, AMissingStickSaysWhyAndLosesNothing) {
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(u"1"_s, 10, 1, 0));
  const QByteArray vorher = leseDatei(erg());
  EXPECT_EQ(z->anzeige().sicherungBeschriftung, u"Zeitmessdatei \"%1\" nach %2 sichern"_s.arg(erg(), stick()));
  u.bediener.leeren();
  z->sichern();
  EXPECT_EQ(meldungen(), QStringList{u"[Fehler] Fehler: Der Sicherungsordner \"%1\" ist nicht vorhanden "
                                     u"(USB-Stick nicht eingesteckt?)."_s.arg(stick())});
  EXPECT_TRUE(u.system.aufrufe.isEmpty());
  EXPECT_EQ(leseDatei(erg()), vorher);
  ASSERT_TRUE(einlauf(u"2"_s, 10, 2, 0));

  // At the end the failed backup leaves the page Ending; ending again without
  // the backup completes it.
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  const Zeitnahmefreigaben f = z->freigaben();
  EXPECT_TRUE(f.beenden && !(f.starten || f.startnummer || f.liste || f.speichern || f.einlesen));
  EXPECT_EQ(z->anzahl() + u.bediener.gesperrt, 3);
  u.bediener.antworten = {Antwort::Ja, Antwort::Nein};
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_EQ(datei().size(), 2);
}

TEST_F(ZeitnahmeSicherung, TheCopyRunsBesideTheRaceAndTheEndWaitsForIt) {
  ASSERT_TRUE(QDir().mkpath(stick()));
  const QString kopie = stick() + u"/lauf.erg"_s;
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(u"1"_s, 10, 1, 0));
  z->sichern();
  EXPECT_EQ(u.system.aufrufe, QStringList{u"sichern %1 %2"_s.arg(erg(), kopie)});
  EXPECT_EQ(z->anzeige().sicherungStand, u"Sicherung läuft ..."_s);
  // A slow stick holds up no finish.
  ASSERT_TRUE(einlauf(u"2"_s, 10, 2, 0));
  uhr(10, 2, 5);
  u.system.sicherungenAusfuehren();
  EXPECT_FALSE(z->sicherungLaeuft());
  EXPECT_EQ(leseDatei(kopie), leseDatei(erg()));
  EXPECT_EQ(z->anzeige().sicherungStand, u"gesichert um 10:02:05"_s);

  // The end waits for its copy before the page is reset.
  ASSERT_TRUE(einlauf(u"3"_s, 10, 3, 0));
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  u.system.sicherungenAusfuehren();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(datei(kopie).size(), 3);

  // A stick pulled while its copy waits: the reason is shown, the time file
  // stays as it is, the page stays Ending.
  u.bediener.antworten = {Antwort::Nein};
  starten(11, 0, 0);  // the old file is put aside
  ASSERT_TRUE(einlauf(u"9"_s, 11, 0, 30));
  const QByteArray zeitdatei = leseDatei(erg());
  z->beenden();
  ASSERT_TRUE(QDir(stick()).removeRecursively());
  u.bediener.leeren();
  u.system.sicherungenAusfuehren();
  ASSERT_EQ(meldungen().size(), 1);  // the text itself is the real copy's, below
  EXPECT_TRUE(meldungen()[0].startsWith(u"[Fehler] Fehler: Der Sicherungsordner"_s)) << meldungen()[0].toStdString();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  EXPECT_EQ(leseDatei(erg()), zeitdatei);
}

TEST_F(ZeitnahmeSicherung, BackupPlacesThatCannotTakeTheCopy) {
  const QString datei = schreibeDatei(u.pfad(u"keinordner"_s), "x");
  const std::pair<QString, QString> faelle[] = {
      {QString(), u"Es ist kein Sicherungsordner angegeben."_s},
      {u"a:\\"_s, u"Der Sicherungsordner \"a:\\\" ist kein vollständiger Pfad."_s},
      {s.pfade.arbeitsordner, u"Der Sicherungsordner \"%1\" ist der Ordner der Zeitdatei selbst."_s.arg(s.pfade.arbeitsordner)},
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
