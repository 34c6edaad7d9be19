// The time file on race day: the file found at set-up, resuming from it, bad
// files, and a disk that refuses the write.
#include "core/Textdatei.h"
#include "timing/Zeitnahme_test.h"

#include <QFile>
#include <QProcess>

using namespace zt;
using namespace zt::test;

namespace {
using ZeitnahmeDatei = ZeitnahmeTest;

const QString kKopf = u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"_s;
QByteArray ergDatei(const QStringList& zeilen) { return cp1252(kKopf + zeilen.join(u"\r\n"_s) + u"\r\n"_s); }

// Takes the write permission of a folder away, also from root, who ignores the
// mode bits: then the immutable flag is tried where the file system has one.
struct Schreibschutz {
  QString ordner;
  bool chattr = false;
  explicit Schreibschutz(QString o) : ordner(std::move(o)) {
    QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner);
    chattr = beschreibbar() && QProcess::execute(u"chattr"_s, {u"+i"_s, ordner}) == 0;
  }
  ~Schreibschutz() { aufheben(); }
  bool beschreibbar() const {
    QFile probe(ordner + u"/.probe"_s);
    return probe.open(QIODevice::WriteOnly) && probe.remove();
  }
  void aufheben() {
    if (std::exchange(chattr, false)) QProcess::execute(u"chattr"_s, {u"-i"_s, ordner});
    QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
};
}  // namespace

TEST_F(ZeitnahmeDatei, AnUnusableFoundFileIsPutAsideAndLeavesTheProgramRunning) {
  teilnehmer(u"5"_s, u"Abel, Karl"_s);
  const QByteArray ohneStart = ergDatei({u"0001;5;0:01:00,0;;"_s, u"0002;6;0:01:05,0;;25:00:00"_s});
  const std::vector<QByteArray> dateien{
      QByteArray("\x00\x01\x02\xff\xfe binär\x00", 12), cp1252(kKopf), QByteArray(), "\r\n\r\n", ohneStart};
  const QString kDateifehler = u"[Zeiteingabe] Bitte überprüfen Sie Ihre Eingabedatei!\nEventuelle Vorgaben wurden "
                               u"nicht eingehalten!\nAbbruch!"_s;
  for (size_t nr = 0; nr < dateien.size(); ++nr) {
    SCOPED_TRACE(nr);
    schreibeDatei(erg(), dateien[nr]);
    u.bediener.leeren();
    z->seiteBetreten();
    ASSERT_EQ(meldungen().size(), 2);
    EXPECT_EQ(meldungen()[1], nr < 4 ? kDateifehler
                                     : u"[Zeiteingabe] Die Zeitdatei \"%1\" enthält in keiner Zeile eine gültige "
                                       u"Startzeit (hh:mm:ss); die Zeitmessung kann damit nicht fortgesetzt werden."_s
                                           .arg(nativ(erg())));
    EXPECT_TRUE(z->zustand() == Zeitnahmezustand::Bereit && z->freigaben().starten && z->anzahl() == 0);
    EXPECT_EQ(s.tabelle.anzahl(), 1);
    // Put aside, so that a new start cannot overwrite its finishes.
    EXPECT_FALSE(QFileInfo::exists(erg()));
    EXPECT_EQ(leseDatei(nr == 0 ? erg() + u".bak"_s : erg() + u".%1.bak"_s.arg(nr)), dateien[nr]);
  }
  // The race starts afresh in a new file; the kept copies stay as they were.
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(u"5"_s, 10, 0, 9));
  EXPECT_EQ(datei(), QStringList{"0001;5;0:00:09,0;;10:00:00"});
  EXPECT_EQ(leseDatei(erg() + u".bak"_s), dateien[0]);
}

TEST_F(ZeitnahmeDatei, AFailedWriteKeepsTheFinishWarnsOnThePageAndIsTriedAgain) {
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(u"1"_s, 10, 1, 0));
  Schreibschutz schutz(s.pfade.arbeitsordner);
  if (schutz.beschreibbar()) GTEST_SKIP() << "the folder cannot be made read-only here";
  u.bediener.leeren();
  ASSERT_TRUE(einlauf(u"2"_s, 10, 2, 0));
  ASSERT_TRUE(einlauf(u"3"_s, 10, 3, 0));
  const QString warnung = z->anzeige().schreibfehler;
  EXPECT_TRUE(warnung.startsWith(u"ACHTUNG: Zeitdatei nicht geschrieben! Die Datei \"%1\" kann nicht "
                                 u"geschrieben werden: "_s.arg(erg())))
      << warnung.toStdString();
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), warnung);
  EXPECT_TRUE(meldungen().isEmpty());  // no box that would swallow the next digits
  EXPECT_EQ(z->anzahl(), 3);
  EXPECT_EQ(datei(), QStringList{"0001;1;0:01:00,0;;10:00:00"});

  // Ending now would lose finishes: the operator is asked once more.
  u.bediener.antworten = {Antwort::Ja, Antwort::Nein};
  z->beenden();
  ASSERT_EQ(meldungen().size(), 2);
  EXPECT_TRUE(meldungen()[1].endsWith(u"\nDie letzten Einläufe stehen nur in der Liste und gehen beim Beenden "
                                      u"verloren. Trotzdem beenden?"_s));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);

  schutz.aufheben();
  z->takt();  // the clock tick writes again
  EXPECT_TRUE(z->anzeige().schreibfehler.isEmpty());
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), u"Zeitdatei wieder geschrieben  "_s);
  EXPECT_EQ(datei().size(), 3);
}
