// The backup of the time file on a USB stick: beside the race, never in its way.
#include "timing/Sicherung.h"
#include "timing/Zeitnahme_test.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace zt;
using namespace zt::test;

namespace {
using ZeitnahmeSicherung = ZeitnahmeTest;

QString stick(const Umgebung& u) { return u.pfad(QStringLiteral("stick")); }
}  // namespace

TEST_F(ZeitnahmeSicherung, AMissingStickSaysWhyAndLosesNothing) {
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 1, 0));
  const QByteArray vorher = leseDatei(erg());
  EXPECT_EQ(z->anzeige().sicherungBeschriftung,
            QStringLiteral("Zeitmessdatei \"%1\" nach %2 sichern").arg(erg(), stick(u)));
  u.bediener.leeren();
  z->sichern();
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("[Fehler] Fehler: Der Sicherungsordner \"%1\" ist nicht vorhanden "
                                                    "(USB-Stick nicht eingesteckt?).")
                                         .arg(stick(u))});
  EXPECT_TRUE(u.system.aufrufe.isEmpty());
  EXPECT_EQ(leseDatei(erg()), vorher);
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 2, 0));
  EXPECT_EQ(datei().size(), 2);

  // At the end the failed backup leaves the page Ending; ending again without
  // the backup completes it.
  u.bediener.leeren();
  z->beenden();
  EXPECT_EQ(meldungsanzahl(), 3);
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  const Zeitnahmefreigaben f = z->freigaben();
  EXPECT_TRUE(f.beenden);
  EXPECT_FALSE(f.starten || f.startnummer || f.liste || f.speichern || f.einlesen);
  EXPECT_EQ(z->anzahl(), 2);
  EXPECT_EQ(u.bediener.gesperrt, 1);
  u.bediener.antworten = {Antwort::Ja, Antwort::Nein};
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(u.bediener.gesperrt, 0);
  EXPECT_EQ(datei().size(), 2);
}

TEST_F(ZeitnahmeSicherung, TheCopyRunsBesideTheRaceAndTheEndWaitsForIt) {
  ASSERT_TRUE(QDir().mkpath(stick(u)));
  const QString kopie = stick(u) + QStringLiteral("/lauf.erg");
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 1, 0));
  z->sichern();
  EXPECT_EQ(u.system.aufrufe, QStringList{QStringLiteral("sichern %1 %2").arg(erg(), kopie)});
  EXPECT_TRUE(z->sicherungLaeuft());
  EXPECT_EQ(z->anzeige().sicherungStand, QStringLiteral("Sicherung läuft ..."));
  // A slow stick holds up no finish.
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 2, 0));
  uhr(10, 2, 5);
  u.system.sicherungenAusfuehren();
  EXPECT_FALSE(z->sicherungLaeuft());
  EXPECT_EQ(leseDatei(kopie), leseDatei(erg()));
  EXPECT_EQ(z->anzeige().sicherungStand, QStringLiteral("gesichert um 10:02:05"));
  EXPECT_EQ(meldungsanzahl(), 0);

  // The end waits for its copy before the page is reset.
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 10, 3, 0));
  z->beenden();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  EXPECT_EQ(z->anzahl(), 3);
  u.system.sicherungenAusfuehren();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(datei(kopie).size(), 3);

  // A stick pulled while its copy waits: the reason is shown, the time file
  // stays as it is, the page stays Ending.
  u.bediener.antworten = {Antwort::Nein};
  starten(11, 0, 0);  // the old file is put aside
  ASSERT_TRUE(einlauf(QStringLiteral("9"), 11, 0, 30));
  const QByteArray zeitdatei = leseDatei(erg());
  z->beenden();
  ASSERT_TRUE(QDir(stick(u)).removeRecursively());
  u.bediener.leeren();
  u.system.sicherungenAusfuehren();
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("[Fehler] Fehler: Der Sicherungsordner \"%1\" ist nicht vorhanden.")
                                         .arg(stick(u))});
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Beenden);
  EXPECT_EQ(leseDatei(erg()), zeitdatei);
}

TEST_F(ZeitnahmeSicherung, BackupPlacesThatCannotTakeTheCopy) {
  QString fehler;
  EXPECT_TRUE(Sicherungsziel(QString(), erg(), fehler).isEmpty());
  EXPECT_EQ(fehler, QStringLiteral("Es ist kein Sicherungsordner angegeben."));
  EXPECT_TRUE(Sicherungsziel(QStringLiteral("a:\\"), erg(), fehler).isEmpty());
  EXPECT_EQ(fehler, QStringLiteral("Der Sicherungsordner \"a:\\\" ist kein vollständiger Pfad."));
  EXPECT_TRUE(Sicherungsziel(s.pfade.arbeitsordner, erg(), fehler).isEmpty());
  EXPECT_TRUE(fehler.endsWith(QStringLiteral("ist der Ordner der Zeitdatei selbst."))) << fehler.toStdString();
  const QString datei = schreibeDatei(u.pfad(QStringLiteral("keinordner")), "x");
  EXPECT_TRUE(Sicherungsziel(datei, erg(), fehler).isEmpty());
  EXPECT_EQ(fehler, QStringLiteral("\"%1\" ist kein Ordner.").arg(datei));
  ASSERT_TRUE(QDir().mkpath(stick(u)));
  EXPECT_EQ(Sicherungsziel(stick(u) + QStringLiteral("/"), erg(), fehler), stick(u) + QStringLiteral("/lauf.erg"));
  EXPECT_TRUE(fehler.isEmpty());
}

TEST(ZeitnahmeSicherungThread, TheRealCopyReportsBackOnTheMainThread) {
  QTemporaryDir dir;
  const QString quelle = schreibeDatei(dir.filePath(QStringLiteral("lauf.erg")), QByteArray(200000, 'x'));
  QDir().mkpath(dir.filePath(QStringLiteral("stick")));
  const QString ziel = dir.filePath(QStringLiteral("stick/lauf.erg"));
  schreibeDatei(ziel, "alte Sicherung");
  StandardSystem sys;

  struct Ergebnis {
    bool fertig = false;
    QString fehler;
    QThread* thread = nullptr;
  };
  auto abwarten = [](const std::shared_ptr<Ergebnis>& e) {
    QElapsedTimer t;
    t.start();
    while (!e->fertig && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return e->fertig;
  };
  auto e = std::make_shared<Ergebnis>();
  sys.sicherungKopieren(quelle, ziel, [e](const QString& f) {
    e->fertig = true;
    e->fehler = f;
    e->thread = QThread::currentThread();
  });
  ASSERT_TRUE(abwarten(e));
  EXPECT_TRUE(e->fehler.isEmpty()) << e->fehler.toStdString();
  EXPECT_EQ(e->thread, QCoreApplication::instance()->thread());
  EXPECT_EQ(leseDatei(ziel), leseDatei(quelle));
  // Written under a temporary name and renamed: nothing else is left there.
  EXPECT_EQ(QDir(dir.filePath(QStringLiteral("stick"))).entryList(QDir::Files), QStringList{"lauf.erg"});

  auto f = std::make_shared<Ergebnis>();
  sys.sicherungKopieren(quelle, dir.filePath(QStringLiteral("fehlt/lauf.erg")), [f](const QString& t) {
    f->fertig = true;
    f->fehler = t;
  });
  ASSERT_TRUE(abwarten(f));
  EXPECT_EQ(f->fehler, QStringLiteral("Der Sicherungsordner \"%1\" ist nicht vorhanden.").arg(dir.filePath(QStringLiteral("fehlt"))));
}
