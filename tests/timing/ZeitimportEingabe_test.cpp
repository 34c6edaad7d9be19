// Time files as they come: line ends, code pages, blanks, missing and extra
// fields, files that vanish or are no text, and a big one.
#include <gtest/gtest.h>

#include <QFile>
#include <unistd.h>

#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeitimport.h"

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
// Deletes (or replaces) the file while the operator is asked whether to go on.
class Zwischenfall : public TestBediener {
 public:
  QString datei;
  QByteArray ersatz;  // empty: delete
  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override {
    if (knoepfe == Knoepfe::JaNein && !datei.isEmpty()) {
      QFile::remove(datei);
      if (!ersatz.isEmpty()) schreibeDatei(datei, ersatz);
    }
    return TestBediener::meldung(titel, text, symbol, knoepfe);
  }
};

struct Eingabe : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;

  void anlegen(int anzahl) {
    std::vector<Teilnehmerzeile> zeilen(anzahl);
    for (int i = 0; i < anzahl; ++i) {
      zeilen[i].setFeld(S_startnummer, QString::number(i + 1));
      zeilen[i].setFeld(S_strecke, u"10/m"_s);
      zeilen[i].setFeld(S_jahr, u"1980"_s);
    }
    t.zeilenAnhaengen(std::move(zeilen));
  }
  Zeitimportergebnis importieren(const QByteArray& inhalt) {
    const QString pfad = schreibeDatei(u.pfad(u"lauf.erg"_s), inhalt);
    return ZeitdateiLaden(u.s(), pfad);
  }
  QString zeit(int sn) const { return t.feld(t.finden(S_startnummer, QString::number(sn)), S_zeit); }
  QStringList hinweise() { return u.s().fehlerbericht.split(u"\r\n"_s).mid(1); }
};
}  // namespace

TEST_F(Eingabe, NurKopfzeile) {
  anlegen(3);
  const Zeitimportergebnis r = importieren(cp1252(ZeitdateiKopf() + u"\n"_s));
  EXPECT_TRUE(r.ausgefuehrt);
  EXPECT_EQ(r.zeilen, 0);
  EXPECT_EQ(r.ohneZeit, 3);
  for (int sn = 1; sn <= 3; ++sn) EXPECT_EQ(zeit(sn), u"ohne"_s);
  EXPECT_EQ(hinweise(), QStringList{u"3 Startnummern wurden keine Zeiten zugeordnet!"_s});
  // An empty file is read the same way.
  EXPECT_EQ(importieren(QByteArray()).ohneZeit, 3);
}

TEST_F(Eingabe, ZeilenendenUndLetzteZeileOhneUmbruch) {
  anlegen(2);
  const QByteArray crlf = "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;1;0:45:12,3;;10:00:00\r\n"
                          "0002;2;0:46:00,0;;10:00:00\r\n";
  QByteArray lf = crlf;
  lf.replace("\r\n", "\n");
  QByteArray ohneEnde = crlf;
  ohneEnde.chop(2);
  for (const QByteArray& inhalt : {crlf, lf, ohneEnde}) {
    t.setFeld(1, S_zeit, QString());
    t.setFeld(2, S_zeit, QString());
    const Zeitimportergebnis r = importieren(inhalt);
    EXPECT_EQ(r.zeilen, 2);
    EXPECT_EQ(zeit(1), u"0:45:12,3"_s);
    EXPECT_EQ(zeit(2), u"0:46:00,0"_s);  // no CR left on the last field
    EXPECT_TRUE(hinweise().isEmpty()) << hinweise().join(u" | "_s).toStdString();
  }
}

TEST_F(Eingabe, CodepagesUndBlanks) {
  anlegen(3);
  const QString text = u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"
                       u" 0001 ; 1 ; 0:45:12,3 ; Einlauf eingefügt ; 10:00:00 \r\n"
                       u"0002;2;0 : 46 : 00,0;ZeitDiff 3s;10:00:00\r\n"
                       u"\t0003;\t3;0:47:00.5;Läufer;10:00:00\r\n"_s;
  const QByteArray kodiert[] = {TextKodieren(text), "\xEF\xBB\xBF" + text.toUtf8(), text.toUtf8()};
  for (const QByteArray& inhalt : kodiert) {
    for (int i = 1; i <= 3; ++i) t.setFeld(i, S_zeit, QString());
    const Zeitimportergebnis r = importieren(inhalt);
    EXPECT_EQ(r.zugeordnet, 3);
    EXPECT_EQ(zeit(1), u"0:45:12,3"_s);
    EXPECT_EQ(zeit(2), u"0:46:00,0"_s);
    EXPECT_EQ(zeit(3), u"0:47:00.5"_s);
    EXPECT_TRUE(hinweise().isEmpty()) << hinweise().join(u" | "_s).toStdString();
  }
}

TEST_F(Eingabe, FehlendeUndZusaetzlicheFelder) {
  anlegen(5);
  const Zeitimportergebnis r = importieren(cp1252(
      u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n"
      u"0001;1;0:45:00,0\n"                    // no remark, no start: read
      u"0002;2;0:46:00,0;;10:00:00;mehr\n"     // one field too many: read
      u"0003;3\n"                              // no time
      u"0004\n"                                // no ";" at all: names nobody
      u"\n"                                    // blank lines are no finishes
      u"0005;5;0:47:00,0;;10:00:00\n"_s));
  EXPECT_EQ(r.zeilen, 5);
  EXPECT_EQ(zeit(1), u"0:45:00,0"_s);
  EXPECT_EQ(zeit(2), u"0:46:00,0"_s);
  EXPECT_EQ(zeit(3), u"ohne"_s);
  EXPECT_EQ(zeit(4), u"ohne"_s);
  EXPECT_EQ(zeit(5), u"0:47:00,0"_s);
  EXPECT_EQ(hinweise(), (QStringList{u"Einlauf: 0003, SNr: 3, Zeit:  ist keine gültige Zeit!"_s,
                                     u"Einlauf: 0004, SNr:  ist keine Zahl!"_s,
                                     u"Einlauf: 0004, SNr: , Zeit:  ist keine gültige Zeit!"_s,
                                     u"2 Startnummern wurden keine Zeiten zugeordnet!"_s}));
}

TEST_F(Eingabe, KopfzeileMittenInDerDateiIstKeinEinlauf) {
  anlegen(2);
  const Zeitimportergebnis r = importieren(
      cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n0001;1;0:45:00,0;Einlauf eingefügt;10:00:00\n"
             u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n0001;2;0:20:00,0;;10:00:00\n"_s));
  EXPECT_EQ(r.zeilen, 2);
  EXPECT_EQ(zeit(1), u"0:45:00,0"_s);
  EXPECT_EQ(zeit(2), u"0:20:00,0"_s);
}

TEST_F(Eingabe, NichtLesbareDateienAendernNichts) {
  anlegen(2);
  t.setFeld(1, S_zeit, u"0:41:00"_s);
  const QStringList vorher{t.zeilentext(1), t.zeilentext(2)};
  auto unveraendert = [&] {
    EXPECT_EQ((QStringList{t.zeilentext(1), t.zeilentext(2)}), vorher);
    EXPECT_FALSE(u.s().zeitenGeladen);
    EXPECT_EQ(u.bediener.gesperrt, 0);
    EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
  };
  // Binary data.
  QByteArray binaer("0001;2;0:45:00,0;;10:00:00\r\n");
  binaer.insert(5, '\0');
  EXPECT_FALSE(importieren(binaer).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen().last(),
            u"[Zeitdatei öffnen] Die Datei \""_s + u.pfad(u"lauf.erg"_s) +
                u"\" ist keine Zeitdatei (sie enthält Binärdaten). Abbruch!   "_s);
  unveraendert();
  // A folder is no file.
  EXPECT_FALSE(ZeitdateiLaden(u.s(), u.dir.path()).ausgefuehrt);
  EXPECT_TRUE(u.bediener.meldungen().last().endsWith(u"\" nicht gefunden! Abbruch!   "_s));
  unveraendert();
  // Without read permission (root reads everything, so only as a user).
  if (geteuid() != 0) {
    const QString pfad = schreibeDatei(u.pfad(u"gesperrt.erg"_s), "Einlauf\r\n0001;2;0:45:00,0;;10:00:00\r\n");
    QFile::setPermissions(pfad, QFile::WriteOwner);
    EXPECT_FALSE(ZeitdateiLaden(u.s(), pfad).ausgefuehrt);
    unveraendert();
  }
}

TEST_F(Eingabe, DateiVerschwindetZwischenDialogUndLesen) {
  Zwischenfall b;
  Sitzung s(b, u.uhr, u.system);
  std::vector<Teilnehmerzeile> zeilen(1);
  zeilen[0].setFeld(S_startnummer, u"1"_s);
  s.tabelle.zeilenAnhaengen(std::move(zeilen));
  b.datei = schreibeDatei(u.pfad(u"weg.erg"_s), "Einlauf\r\n0001;1;0:45:00,0;;10:00:00\r\n");
  EXPECT_FALSE(ZeitdateiLaden(s, b.datei).ausgefuehrt);
  EXPECT_EQ(b.meldungen().last(),
            u"[Zeitdatei öffnen] Zeitdatei \""_s + b.datei + u"\" nicht gefunden! Abbruch!   "_s);
  EXPECT_EQ(s.tabelle.feld(1, S_zeit), QString());
  EXPECT_EQ(b.gesperrt, 0);
  EXPECT_FALSE(s.zeitenGeladen);

  // Replaced by binary data while the question was open.
  b.ersatz = QByteArray("\x7F" "ELF\0\0\0", 7);
  schreibeDatei(b.datei, "Einlauf\r\n0001;1;0:45:00,0;;10:00:00\r\n");
  EXPECT_FALSE(ZeitdateiLaden(s, b.datei).ausgefuehrt);
  EXPECT_TRUE(b.meldungen().last().contains(u"ist keine Zeitdatei"_s));
  EXPECT_EQ(s.tabelle.feld(1, S_zeit), QString());
  EXPECT_EQ(b.gesperrt, 0);
}

TEST_F(Eingabe, HunderttausendZeilen) {
  constexpr int n = 100000;
  anlegen(n);
  QString text = ZeitdateiKopf() + u"\r\n"_s;
  // Finish order differs from start-number order; one line names nobody.
  for (int i = 0; i < n; ++i) {
    const int sn = (i * 7919) % n + 1;
    text += EinlaufNummer(i + 1) + u";"_s + QString::number(sn) + u";"_s +
            Zeitwert::ausZehnteln(18000 + i).text(QLatin1Char(',')) + u";;10:00:00\r\n"_s;
  }
  text += u"100001;999999;9:00:00,0;;10:00:00\r\n"_s;
  const Zeitimportergebnis r = importieren(TextKodieren(text));
  EXPECT_EQ(r.zeilen, n + 1);
  EXPECT_EQ(r.zugeordnet, n);
  EXPECT_EQ(r.abgewiesen, 1);
  EXPECT_EQ(r.ohneZeit, 0);
  EXPECT_TRUE(r.platzierungen);
  EXPECT_EQ(hinweise(), QStringList{u"Einlauf: 100001, SNr: 999999, Zeit: 9:00:00,0 fehlt in der Anmeldung!"_s});
  // Every participant holds the time of the line with its number.
  const int probe[] = {1, 2, 4242, n};
  for (int sn : probe) {
    int i = 0;
    while ((i * 7919) % n + 1 != sn) ++i;
    EXPECT_EQ(zeit(sn), Zeitwert::ausZehnteln(18000 + i).text(QLatin1Char(','))) << sn;
  }
  EXPECT_EQ(t.feld(1, S_zeit), u"0:30:00,0"_s);  // sorted by time
}
