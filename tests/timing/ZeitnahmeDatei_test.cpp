// The time file on race day: the file found at set-up, resuming from it, bad
// files, and a disk that refuses the write.
#include "core/Textdatei.h"
#include "timing/Zeitnahme_test.h"

#include <QFile>
#include <QProcess>
#include <unistd.h>

using namespace zt;
using namespace zt::test;

namespace {
using ZeitnahmeDatei = ZeitnahmeTest;

const QString kKopf = QStringLiteral("Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n");
const QString kDateifehler = QStringLiteral(
    "[Zeiteingabe] Bitte überprüfen Sie Ihre Eingabedatei!\nEventuelle Vorgaben wurden nicht eingehalten!\nAbbruch!");

// Takes the write permission of a folder away, also from root, who ignores the
// mode bits: then the immutable flag is tried where the file system has one.
class Schreibschutz {
 public:
  explicit Schreibschutz(QString ordner) : m_ordner(std::move(ordner)) {
    QFile::setPermissions(m_ordner, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    if (beschreibbar() && QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_ordner}) == 0)
      m_chattr = true;
  }
  ~Schreibschutz() { aufheben(); }
  bool wirksam() const { return !beschreibbar(); }
  void aufheben() {
    if (m_chattr) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_ordner});
    m_chattr = false;
    QFile::setPermissions(m_ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup);
  }

 private:
  bool beschreibbar() const {
    QFile probe(m_ordner + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
  }
  QString m_ordner;
  bool m_chattr = false;
};
}  // namespace

TEST_F(ZeitnahmeDatei, AFoundFileIsOfferedAndEveryOlderBackupIsKept) {
  const QStringList inhalte{"0001;5;0:01:00,0;;10:00:00", "0001;6;0:02:00,0;;10:00:00", "0001;7;0:03:00,0;;10:00:00"};
  for (const QString& zeile : inhalte) {
    schreibeDatei(erg(), cp1252(kKopf + zeile + QStringLiteral("\r\n")));
    u.bediener.leeren();
    u.bediener.antworten = {Antwort::Nein};
    z->seiteBetreten();
    ASSERT_EQ(u.bediener.protokoll.size(), 2u);  // the question, then the status text
    const Aufruf& frage = u.bediener.protokoll[0];
    EXPECT_EQ(frage.titel, QStringLiteral("alte Zeitmessungsdatei vorgefunden"));
    EXPECT_EQ(frage.text, QStringLiteral("Eine Zeitmessungsdatei \"%1\" wurde vorgefunden!\nDatei einlesen? Ihre "
                                         "Startzeit wird dann als Referenzzeit übernommen!")
                                  .arg(erg()) +
                              blanks(13));
    EXPECT_EQ(frage.symbol, Symbol::Ausruf);
    EXPECT_EQ(frage.knoepfe, Knoepfe::JaNein);
    EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
    EXPECT_FALSE(QFileInfo::exists(erg()));
  }
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), QStringLiteral("Datei lauf.erg als lauf.erg.2.bak aufbewahrt  "));
  EXPECT_EQ(datei(erg() + QStringLiteral(".bak")), QStringList{inhalte[0]});
  EXPECT_EQ(datei(erg() + QStringLiteral(".1.bak")), QStringList{inhalte[1]});
  EXPECT_EQ(datei(erg() + QStringLiteral(".2.bak")), QStringList{inhalte[2]});
  EXPECT_TRUE(z->taktLaeuft());
}

TEST_F(ZeitnahmeDatei, ResumingContinuesTheNumbersAndTheStartTime) {
  teilnehmer(QStringLiteral("17"), QStringLiteral("Abel, Karl"));
  // Row 1 was inserted by hand and has no start time; row 4 belongs to a
  // second start and keeps its stored time.
  const QStringList zeilen{"0001;;;Einlauf eingefügt;", "0002;17;0:10:00,0;;09:30:00", "0003;9003;0:10:05,0;SN;09:30:00",
                           "0004;250;0:03:00,0;;09:40:00", "0005;9001;0:15:00,0;SN;09:30:00"};
  schreibeDatei(erg(), cp1252(kKopf + zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
  uhr(9, 44, 0);
  z->seiteBetreten();
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(u.bediener.gesperrt, 1);
  EXPECT_EQ(liste(), zeilen);
  EXPECT_EQ(z->anzeige().startzeit1, QStringLiteral("09:30:00"));
  EXPECT_EQ(z->anzeige().start1Felder, (std::array<QString, 3>{"09", "30", "00"}));
  EXPECT_EQ(z->stand().Startreferenz, 34200.0);
  EXPECT_TRUE(z->stand().StartzeitUebernommen);
  EXPECT_EQ(z->stand().Einlaufzaehler, 5);
  EXPECT_EQ(z->stand().VorlaeufigeNummer, 9004);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), QStringLiteral("Datei lauf.erg eingelesen  "));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusPosition), QStringLiteral("Einlauf: 5  "));
  z->takt();
  EXPECT_EQ(z->anzeige().laufzeit, QStringLiteral("00:14:00"));

  // 9003 is the highest provisional number: the next one is 9005. The tie
  // with the last finish in the file is seen as well.
  ASSERT_TRUE(einlauf(QString(), 9, 45, 0));
  ASSERT_TRUE(einlauf(QStringLiteral("17"), 9, 45, 1));
  EXPECT_EQ(datei(), zeilen + QStringList({"0006;9005;0:15:00,1;+0.1s SN;09:30:00", "0007;9006;0:15:01,0;SN;09:30:00"}));
  EXPECT_EQ(z->anzeige().txtLaeuferdaten, QStringLiteral("Läufer schon eingelaufen!"));
}

TEST_F(ZeitnahmeDatei, ProvisionalNumbersInRisingOrderStillLeaveOneOut) {
  schreibeDatei(erg(), cp1252(kKopf + QStringLiteral("0001;9001;0:01:00,0;SN;10:00:00\r\n"
                                                     "0002;9002;0:01:01,0;SN;10:00:00\r\n")));
  z->seiteBetreten();
  EXPECT_EQ(z->stand().VorlaeufigeNummer, 9003);
  ASSERT_TRUE(einlauf(QString(), 10, 2, 0));
  EXPECT_EQ(liste().back(), QStringLiteral("0003;9004;0:02:00,0;SN;10:00:00"));
}

TEST_F(ZeitnahmeDatei, ResumingFromAnyFileGoesOnInTheWorkingFoldersTimeFile) {
  // The race was put aside by a "Nein"; a test run has written lauf.erg since.
  const QString bak = schreibeDatei(erg() + QStringLiteral(".bak"),
                                    cp1252(kKopf + QStringLiteral("0001;3;0:20:00,0;;08:00:00\r\n")));
  const QByteArray probelauf = cp1252(kKopf + QStringLiteral("0001;7;0:00:30,0;;07:00:00\r\n"));
  schreibeDatei(erg(), probelauf);
  int geprueft = 0;
  z->pfadpruefung = [&geprueft] { ++geprueft; };

  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(z->einlesenBeginnen());
  EXPECT_EQ(meldungen(), QStringList{"[Zeitmessung neinlesen] Es werden alle Zeitdaten gelöscht! Wirklich?" + blanks(17)});
  EXPECT_EQ(geprueft, 0);
  ASSERT_TRUE(z->einlesenBeginnen());
  z->einlesen(QString());  // the choice of the file was cancelled
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);

  u.bediener.leeren();
  ASSERT_TRUE(z->einlesenBeginnen());
  z->einlesen(bak);
  EXPECT_EQ(geprueft, 2);
  ASSERT_EQ(meldungsanzahl(), 2);
  EXPECT_TRUE(meldungen()[1].contains(QStringLiteral("\"%1\" wurde vorgefunden!").arg(bak)));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(z->zeitdatei(), erg());
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 8, 21, 0));
  EXPECT_EQ(datei(), (QStringList{"0001;3;0:20:00,0;;08:00:00", "0002;4;0:21:00,0;;08:00:00"}));
  EXPECT_EQ(datei(bak), QStringList{"0001;3;0:20:00,0;;08:00:00"});
  EXPECT_EQ(leseDatei(erg() + QStringLiteral(".1.bak")), probelauf);

  // A second crash: the next start offers the whole race again.
  Zeitnahme danach(s);
  u.bediener.antworten = {Antwort::Ja};
  danach.seiteBetreten();
  EXPECT_EQ(danach.zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(danach.anzahl(), 2);
}

TEST_F(ZeitnahmeDatei, AFileWithoutAnyStartTimeIsNotResumed) {
  teilnehmer(QStringLiteral("5"), QStringLiteral("Abel, Karl"));
  const QByteArray roh = cp1252(kKopf + QStringLiteral("0001;5;0:01:00,0;;\r\n0002;6;0:01:05,0;;25:00:00\r\n"));
  schreibeDatei(erg(), roh);
  z->seiteBetreten();
  EXPECT_EQ(meldungen().back(), QStringLiteral("[Zeiteingabe] Die Zeitdatei \"%1\" enthält in keiner Zeile eine gültige "
                                               "Startzeit (hh:mm:ss); die Zeitmessung kann damit nicht fortgesetzt werden.")
                                    .arg(erg()));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
  EXPECT_EQ(z->anzahl(), 0);
  EXPECT_EQ(s.tabelle.anzahl(), 1);
  // Put aside, so that a new start cannot overwrite its finishes.
  EXPECT_FALSE(QFileInfo::exists(erg()));
  EXPECT_EQ(leseDatei(erg() + QStringLiteral(".bak")), roh);
}

TEST_F(ZeitnahmeDatei, AnUnusableFoundFileLeavesTheProgramRunning) {
  teilnehmer(QStringLiteral("5"), QStringLiteral("Abel, Karl"));
  const std::vector<QByteArray> dateien{
      QByteArray("\x00\x01\x02\xff\xfe binär\x00", 12),    // binary
      cp1252(kKopf),                                      // header only
      QByteArray(),                                       // empty
      QByteArray("\r\n\r\n"),                             // blank lines
  };
  int nr = 0;
  for (const QByteArray& roh : dateien) {
    SCOPED_TRACE(nr);
    schreibeDatei(erg(), roh);
    u.bediener.leeren();
    z->seiteBetreten();
    ASSERT_EQ(meldungsanzahl(), 2);
    EXPECT_EQ(meldungen()[1], kDateifehler);
    EXPECT_EQ(u.bediener.protokoll[1].symbol, Symbol::Ausruf);
    EXPECT_EQ(u.bediener.protokoll[1].knoepfe, Knoepfe::Ok);
    EXPECT_EQ(z->zustand(), Zeitnahmezustand::Bereit);
    EXPECT_TRUE(z->freigaben().starten);
    EXPECT_EQ(s.tabelle.anzahl(), 1);
    const QString bak = nr == 0 ? erg() + QStringLiteral(".bak") : erg() + QStringLiteral(".%1.bak").arg(nr);
    EXPECT_EQ(leseDatei(bak), roh);
    ++nr;
  }
  // The race starts afresh in a new file; the kept copies stay as they were.
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("5"), 10, 0, 9));
  EXPECT_EQ(datei(), QStringList{"0001;5;0:00:09,0;;10:00:00"});
  EXPECT_EQ(leseDatei(erg() + QStringLiteral(".bak")), dateien[0]);
}

TEST_F(ZeitnahmeDatei, LineEndsByteOrderMarkAndFieldCountsAreRead) {
  const QString text = QStringLiteral("0001;5;0:01:00,0;;10:00:00\n0002;;0:01:00,0;Einlauf eingefügt;10:00:00");
  const QStringList erwartet = text.split(QLatin1Char('\n'));
  QString lf = QStringLiteral("Einlauf;Startnummer;Zeit;Fehler;StartZeit\n") + text;
  QString crlf = lf;
  crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  const std::vector<QByteArray> varianten{
      TextKodieren(crlf + QStringLiteral("\r\n")),
      TextKodieren(lf + QStringLiteral("\n")),
      TextKodieren(crlf),                                     // no final line break
      QByteArray("\xEF\xBB\xBF") + (lf + QStringLiteral("\n")).toUtf8(),  // UTF-8 with byte-order mark
      (lf + QStringLiteral("\n")).toUtf8(),                   // UTF-8 without
      TextKodieren(text + QStringLiteral("\r\n")),            // no header: line 1 is a finish
  };
  for (size_t i = 0; i < varianten.size(); ++i) {
    SCOPED_TRACE(i);
    Umgebung v;
    v.s().dezimalzeichen = QLatin1Char(',');
    Zeitnahme t(v.s());
    schreibeDatei(v.s().arbeitsdatei(QStringLiteral("lauf.erg")), varianten[i]);
    t.seiteBetreten();
    ASSERT_EQ(t.zustand(), Zeitnahmezustand::Laeuft);
    QStringList gelesen;
    for (const Einlaufzeile& e : t.liste()) gelesen << ZeitdateiZeile(e);
    EXPECT_EQ(gelesen, erwartet);
    EXPECT_EQ(v.bediener.meldungen().size(), 1);  // only the question
  }

  // Lines with too few or too many fields are taken as far as they go; the
  // original stays readable beside it.
  const QByteArray schief =
      cp1252(kKopf + QStringLiteral("0001;5;0:01:00,0;;10:00:00;rest\r\n0002;6;0:01:05,0\r\n0003;7;0:01:09,0;;10:00:00\r\n"));
  schreibeDatei(erg(), schief);
  z->seiteBetreten();
  ASSERT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_EQ(liste(), (QStringList{"0001;5;0:01:00,0;;10:00:00", "0002;6;0:01:05,0;;", "0003;7;0:01:09,0;;10:00:00"}));
  EXPECT_EQ(meldungen().back(), QStringLiteral("[Zeiteingabe] 2 Zeile(n) der Zeitdatei hatten nicht genau fünf Felder "
                                               "und wurden so weit wie möglich übernommen. Die Originaldatei ist als "
                                               "\"lauf.erg.bak\" aufbewahrt."));
  EXPECT_EQ(leseDatei(erg() + QStringLiteral(".bak")), schief);
  EXPECT_EQ(leseDatei(erg()), schief);  // unchanged until the next finish
}

TEST_F(ZeitnahmeDatei, AFailedWriteKeepsTheFinishWarnsOnThePageAndIsTriedAgain) {
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 1, 0));
  const QString ordner = s.pfade.arbeitsordner;
  Schreibschutz schutz(ordner);
  if (!schutz.wirksam()) GTEST_SKIP() << "the folder cannot be made read-only here";
  u.bediener.leeren();
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 2, 0));
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 10, 3, 0));
  const QString warnung = z->anzeige().schreibfehler;
  EXPECT_TRUE(warnung.startsWith(QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! Die Datei \"%1\" kann nicht "
                                                "geschrieben werden: ").arg(erg())))
      << warnung.toStdString();
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), warnung);
  EXPECT_EQ(meldungsanzahl(), 0);  // no box that would swallow the next digits
  EXPECT_EQ(z->anzahl(), 3);
  EXPECT_EQ(datei(), QStringList{"0001;1;0:01:00,0;;10:00:00"});
  z->takt();
  EXPECT_FALSE(z->anzeige().schreibfehler.isEmpty());

  // Ending now would lose finishes: the operator is asked once more.
  u.bediener.antworten = {Antwort::Ja, Antwort::Nein};
  z->beenden();
  ASSERT_EQ(meldungsanzahl(), 2);
  EXPECT_TRUE(meldungen()[1].endsWith(QStringLiteral("\nDie letzten Einläufe stehen nur in der Liste und gehen beim "
                                                     "Beenden verloren. Trotzdem beenden?")));
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);

  schutz.aufheben();
  z->takt();  // the clock tick writes again
  EXPECT_TRUE(z->anzeige().schreibfehler.isEmpty());
  EXPECT_EQ(u.bediener.statusfelder.value(StatusZustand), QStringLiteral("Zeitdatei wieder geschrieben  "));
  EXPECT_EQ(datei().size(), 3);
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 10, 4, 0));
  EXPECT_EQ(datei().back(), QStringLiteral("0004;4;0:04:00,0;;10:00:00"));
}

TEST_F(ZeitnahmeDatei, AVanishedFolderIsToldAtTheStartAndWrittenAgainAtTheNextFinish) {
  const QString ordner = s.pfade.arbeitsordner;
  ASSERT_TRUE(QDir().rename(ordner, ordner + QStringLiteral(".weg")));
  starten(10, 0, 0);
  EXPECT_EQ(z->zustand(), Zeitnahmezustand::Laeuft);
  EXPECT_TRUE(z->anzeige().schreibfehler.startsWith(
      QStringLiteral("ACHTUNG: Zeitdatei nicht schreibbar! In den Ordner \"%1\" kann nicht geschrieben werden")
          .arg(ordner)))
      << z->anzeige().schreibfehler.toStdString();
  ASSERT_TRUE(QDir().rename(ordner + QStringLiteral(".weg"), ordner));
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 1, 0));
  EXPECT_TRUE(z->anzeige().schreibfehler.isEmpty());
  ASSERT_TRUE(QDir().rename(ordner, ordner + QStringLiteral(".weg")));
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 2, 0));
  EXPECT_FALSE(z->anzeige().schreibfehler.isEmpty());
  ASSERT_TRUE(QDir().mkpath(ordner));
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 10, 3, 0));
  EXPECT_TRUE(z->anzeige().schreibfehler.isEmpty());
  EXPECT_EQ(datei(), (QStringList{"0001;1;0:01:00,0;;10:00:00", "0002;2;0:02:00,0;;10:00:00",
                                  "0003;3;0:03:00,0;;10:00:00"}));

  // A relative path would write wherever the program happens to run.
  s.einst.txtZeitnahmeDatei = QStringLiteral("lauf.erg");
  ASSERT_TRUE(einlauf(QStringLiteral("4"), 10, 4, 0));
  EXPECT_EQ(z->anzeige().schreibfehler,
            QStringLiteral("ACHTUNG: Zeitdatei nicht geschrieben! Der Pfad der Zeitdatei \"lauf.erg\" ist kein "
                           "vollständiger Pfad."));
}

TEST_F(ZeitnahmeDatei, ARemarkOutsideWindows1252TurnsTheWholeFileIntoUtf8) {
  starten(10, 0, 0);
  ASSERT_TRUE(einlauf(QStringLiteral("1"), 10, 1, 0));
  z->zelleAendern(1, E_Fehler, QStringLiteral("Łódź"));
  ASSERT_TRUE(einlauf(QStringLiteral("2"), 10, 2, 0));
  const QByteArray roh = leseDatei(erg());
  ASSERT_TRUE(roh.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(QString::fromUtf8(roh.mid(3)),
            kKopf + QStringLiteral("0001;1;0:01:00,0;Łódź;10:00:00\r\n0002;2;0:02:00,0;;10:00:00\r\n"));
  // Back to Windows-1252 once the text is gone.
  z->zelleAendern(1, E_Fehler, QStringLiteral("ok"));
  ASSERT_TRUE(einlauf(QStringLiteral("3"), 10, 3, 0));
  EXPECT_EQ(leseDatei(erg()), cp1252(kKopf + QStringLiteral("0001;1;0:01:00,0;ok;10:00:00\r\n0002;2;0:02:00,0;;10:00:00\r\n"
                                                            "0003;3;0:03:00,0;;10:00:00\r\n")));
}
