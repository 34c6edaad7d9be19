// Reading a time file into the participant table where a case file cannot
// say it: files that are no text or vanish, encodings and line ends, and a
// big one. The modes, targets and reports are in the case files.
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "timing/Zeitimport.h"
#include "timing/Zeitnahme_test.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace zt;
using namespace zt::test;

namespace {
struct Import : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  Teilnehmertabelle& t = s.tabelle;

  void SetUp() override { s.dezimalzeichen = QLatin1Char(','); }
  // Runners 1 to anzahl, all on one route and of one age.
  void anlegen(int anzahl) {
    std::vector<Teilnehmerzeile> zeilen(anzahl);
    for (int i = 0; i < anzahl; ++i)
      for (const auto& [spalte, wert] : {std::pair{S_startnummer, QString::number(i + 1)}, {S_strecke, u"10/m"_s},
                                         {S_nurstrecke, u"10"_s}, {S_jahr, u"1980"_s}})
        zeilen[i].setFeld(spalte, wert);
    t.zeilenAnhaengen(std::move(zeilen));
  }
  // Data lines after the header, Windows-1252.
  QString datei(const QStringList& zeilen, const QString& name = u"lauf.erg"_s) {
    return schreibeDatei(u.pfad(name), cp1252(ZeitdateiKopf() + u"\n"_s + zeilen.join(u"\n"_s) + u"\n"_s));
  }
  Zeitimportergebnis importieren(const QByteArray& inhalt) {
    return ZeitdateiLaden(s, schreibeDatei(u.pfad(u"lauf.erg"_s), inhalt));
  }
  QStringList tabellentext() const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.zeilentext(i);
    return l;
  }
};
}  // namespace

TEST_F(Import, UnlesbareDateienAendernNichts) {
  anlegen(2);
  t.setFeld(2, S_zeit, u"0:41:00"_s);
  const QStringList vorher = tabellentext();
  // Binary data.
  EXPECT_FALSE(importieren(QByteArray("0001;\0002;0:45:00,0;;10:00:00\r\n", 28)).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen().last(), u"[Zeitdatei öffnen] Die Datei \""_s + u.pfad(u"lauf.erg"_s) +
                                               u"\" ist keine Zeitdatei (sie enthält Binärdaten). Abbruch!   "_s);
  // Without read permission (root reads everything, so only as a user; on
  // Windows a file without write permission still reads).
#ifdef Q_OS_UNIX
  if (geteuid() != 0) {
    const QString pfad = datei({u"0001;2;0:45:00,0;;10:00:00"_s}, u"gesperrt.erg"_s);
    QFile::setPermissions(pfad, QFile::WriteOwner);
    EXPECT_FALSE(ZeitdateiLaden(s, pfad).ausgefuehrt);
  }
#endif
  EXPECT_EQ(tabellentext(), vorher);
  EXPECT_TRUE(!s.zeitenGeladen && u.bediener.gesperrt == 0 && u.bediener.fehlermanagerBerichte.isEmpty());
}
TEST_F(Import, DateiVerschwindetZwischenFrageUndLesen) {
  NebenbeiBediener b;
  Sitzung zs(b, u.uhr, u.system);
  zs.tabelle.zeileHinzufuegen(u"\t\t1"_s);
  const QString pfad = datei({u"0001;1;0:45:00,0;;10:00:00"_s});
  QByteArray ersatz;  // empty: deleted
  // Deleted (or replaced) while the operator is asked whether to go on.
  b.nebenbei = [&](Knoepfe k) {
    if (k == Knoepfe::JaNein && QFile::remove(pfad) && !ersatz.isEmpty()) schreibeDatei(pfad, ersatz);
  };
  EXPECT_FALSE(ZeitdateiLaden(zs, pfad).ausgefuehrt);
  EXPECT_TRUE(b.meldungen().last().endsWith(u"\" nicht gefunden! Abbruch!   "_s));
  // Replaced by binary data while the question was open.
  ersatz = QByteArray("\x7F" "ELF\0\0\0", 7);
  datei({u"0001;1;0:45:00,0;;10:00:00"_s});
  EXPECT_FALSE(ZeitdateiLaden(zs, pfad).ausgefuehrt);
  EXPECT_TRUE(b.meldungen().last().contains(u"ist keine Zeitdatei"_s));
  EXPECT_EQ(zs.tabelle.feld(1, S_zeit), QString());
  EXPECT_TRUE(b.gesperrt == 0 && !zs.zeitenGeladen);
}

TEST_F(Import, HunderttausendZeilen) {
  constexpr int n = 100000;
  anlegen(n);
  // Finish order differs from start-number order; one line names nobody.
  const auto nummer = [](int i) { return (i * 7919) % n + 1; };
  QString text = ZeitdateiKopf() + u"\r\n"_s;
  for (int i = 0; i < n; ++i)
    text += EinlaufNummer(i + 1) + u';' + QString::number(nummer(i)) + u';' +
            Zeitwert::ausZehnteln(18000 + i).text(QLatin1Char(',')) + u";;10:00:00\r\n"_s;
  text += u"100001;999999;9:00:00,0;;10:00:00\r\n"_s;
  const Zeitimportergebnis r = importieren(TextKodieren(text));
  // Lines, assigned, kept, refused; nobody without a time.
  EXPECT_EQ((std::array{r.zeilen, r.zugeordnet, r.behalten, r.abgewiesen, r.ohneZeit}), (std::array{n + 1, n, 0, 1, 0}));
  EXPECT_TRUE(r.platzierungen);
  EXPECT_EQ(s.fehlerbericht.section(u"\r\n"_s, 1),
            u"Einlauf: 100001, SNr: 999999, Zeit: 9:00:00,0 fehlt in der Anmeldung!"_s);
  // Every participant holds the time of the line with its number.
  for (int i : {0, 1, 4242, n - 1})
    EXPECT_EQ(t.feld(t.finden(S_startnummer, QString::number(nummer(i))), S_zeit),
              Zeitwert::ausZehnteln(18000 + i).text(QLatin1Char(',')));
  EXPECT_EQ(t.feld(1, S_zeit), u"0:30:00,0"_s);  // sorted by time
}
