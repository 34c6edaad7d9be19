// Reading a time file into the participant table: the three modes, the
// targets of a run and a duathlon, the report and its counter, the questions,
// and time files as they come.
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"
#include "timing/Zeitimport.h"
#include "timing/Zeitnahme_test.h"

#include <QFile>
#include <unistd.h>

using namespace zt;
using namespace zt::test;

namespace {
struct P {
  P(QString s, QString z = {}, QString b = {}, QString r = {})
      : sn(std::move(s)), zeit(std::move(z)), bike(std::move(b)), run(std::move(r)) {}
  QString sn, zeit, bike, run;
};

const QString kKopf = u"--- Fehler/Hinweise von 15:30:12---"_s;

// "lines assigned kept refused without-time" of a result.
QString zahlen(const Zeitimportergebnis& r) {
  return u"%1 %2 %3 %4 %5"_s.arg(r.zeilen).arg(r.zugeordnet).arg(r.behalten).arg(r.abgewiesen).arg(r.ohneZeit);
}

struct Import : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  Teilnehmertabelle& t = s.tabelle;

  void SetUp() override {
    s.einst.txtDefGlobalAK = u"0-19_U20;20-39_H;40-49_40;50-99_50"_s;
    BuildAgeTable(s);
    s.dezimalzeichen = QLatin1Char(',');
  }
  void anlegen(const std::vector<P>& liste) {
    std::vector<Teilnehmerzeile> zeilen(liste.size());
    for (size_t i = 0; i < liste.size(); ++i) {
      Teilnehmerzeile& z = zeilen[i];
      const P& p = liste[i];
      for (const auto& [spalte, wert] : {std::pair{S_startnummer, p.sn}, {S_strecke, u"10/m"_s}, {S_nurstrecke, u"10"_s},
                                         {S_namevorname, u"Läufer, Nr"_s + p.sn}, {S_jahr, u"1980"_s},
                                         {S_zeit, p.zeit}, {S_bike_time, p.bike}, {S_run_time, p.run}})
        z.setFeld(spalte, wert);
    }
    t.zeilenAnhaengen(std::move(zeilen));
  }
  void anlegen(int anzahl) {
    std::vector<P> l;
    for (int i = 1; i <= anzahl; ++i) l.emplace_back(QString::number(i));
    anlegen(l);
  }
  // Data lines after the header, Windows-1252.
  QString datei(const QStringList& zeilen, const QString& name = u"lauf.erg"_s) {
    return schreibeDatei(u.pfad(name), cp1252(ZeitdateiKopf() + u"\n"_s + zeilen.join(u"\n"_s) + u"\n"_s));
  }
  Zeitimportergebnis importieren(const QString& pfad) { return ZeitdateiLaden(s, pfad); }
  Zeitimportergebnis importieren(const QByteArray& inhalt) {
    return ZeitdateiLaden(s, schreibeDatei(u.pfad(u"lauf.erg"_s), inhalt));
  }
  int zeile(const QString& sn) const { return t.finden(S_startnummer, sn); }
  QString feld(const QString& sn, int spalte = S_zeit) const { return t.feld(zeile(sn), spalte); }
  QStringList bericht() { return s.fehlerbericht.split(u"\r\n"_s); }
  QStringList tabellentext() const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.zeilentext(i);
    return l;
  }
};
}  // namespace

TEST_F(Import, UnlesbareDateienAendernNichts) {
  anlegen({{u"1"_s}, {u"2"_s, u"0:41:00"_s}});
  const QStringList vorher = tabellentext();
  // Binary data.
  EXPECT_FALSE(importieren(QByteArray("0001;\0002;0:45:00,0;;10:00:00\r\n", 28)).ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen().last(), u"[Zeitdatei öffnen] Die Datei \""_s + u.pfad(u"lauf.erg"_s) +
                                               u"\" ist keine Zeitdatei (sie enthält Binärdaten). Abbruch!   "_s);
  // Without read permission (root reads everything, so only as a user).
  if (geteuid() != 0) {
    const QString pfad = datei({u"0001;2;0:45:00,0;;10:00:00"_s}, u"gesperrt.erg"_s);
    QFile::setPermissions(pfad, QFile::WriteOwner);
    EXPECT_FALSE(importieren(pfad).ausgefuehrt);
  }
  EXPECT_EQ(tabellentext(), vorher);
  EXPECT_TRUE(!s.zeitenGeladen && u.bediener.gesperrt == 0 && u.bediener.fehlermanagerBerichte.isEmpty());
}
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
}  // namespace

TEST_F(Import, DateiVerschwindetZwischenFrageUndLesen) {
  Zwischenfall b;
  Sitzung zs(b, u.uhr, u.system);
  std::vector<Teilnehmerzeile> zeilen(1);
  zeilen[0].setFeld(S_startnummer, u"1"_s);
  zs.tabelle.zeilenAnhaengen(std::move(zeilen));
  b.datei = datei({u"0001;1;0:45:00,0;;10:00:00"_s});
  EXPECT_FALSE(ZeitdateiLaden(zs, b.datei).ausgefuehrt);
  EXPECT_TRUE(b.meldungen().last().endsWith(u"\" nicht gefunden! Abbruch!   "_s));
  // Replaced by binary data while the question was open.
  b.ersatz = QByteArray("\x7F" "ELF\0\0\0", 7);
  datei({u"0001;1;0:45:00,0;;10:00:00"_s});
  EXPECT_FALSE(ZeitdateiLaden(zs, b.datei).ausgefuehrt);
  EXPECT_TRUE(b.meldungen().last().contains(u"ist keine Zeitdatei"_s));
  EXPECT_EQ(zs.tabelle.feld(1, S_zeit), QString());
  EXPECT_TRUE(b.gesperrt == 0 && !zs.zeitenGeladen);
}

TEST_F(Import, ImTexteditorOeffnen) {
  const QString pfad = datei({}, u"mit blank.erg"_s);
  // No editor configured, then one that does not exist.
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(s, pfad));
  s.einst.txtTextpad = u"C:\\Programme\\TextPad\\TextPad.exe"_s;
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(s, pfad));
  EXPECT_EQ(u.bediener.meldungen(),
            (QStringList{u"[Zeitdatei öffnen] Es ist kein Texteditor eingetragen! Bitte tragen Sie ihn unter "
                         u"Voreinstellungen ein.   "_s,
                         u"[Zeitdatei öffnen] Der Texteditor \"C:\\Programme\\TextPad\\TextPad.exe\" wurde nicht "
                         u"gefunden! Bitte prüfen Sie die Voreinstellungen.   "_s}));
  const QString programm = schreibeDatei(u.pfad(u"bin/editor"_s), "#!/bin/sh\n");
  QFile::setPermissions(programm, QFile::ReadOwner | QFile::ExeOwner);
  s.einst.txtTextpad = programm;
  EXPECT_TRUE(ZeitdateiImEditorOeffnen(s, pfad));
  // The path with its blank is one argument.
  EXPECT_EQ(u.system.aufrufe, QStringList{u"starten "_s + programm + u" | "_s + pfad});
  EXPECT_FALSE(ZeitdateiImEditorOeffnen(s, u.pfad(u"fehlt.erg"_s)));
  EXPECT_EQ(u.bediener.meldungen().size(), 3);
  EXPECT_EQ(u.system.aufrufe.size(), 1);
}

TEST_F(Import, ZeilenendenCodepagesUndBlanks) {
  anlegen(3);
  const QString text = u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n"
                       u" 0001 ; 1 ; 0:45:12,3 ; Einlauf eingefügt ; 10:00:00 \r\n"
                       u"0002;2;0 : 46 : 00,0;ZeitDiff 3s;10:00:00\r\n"
                       u"\t0003;\t3;0:47:00.5;Läufer;10:00:00\r\n"_s;
  QByteArray lf = TextKodieren(text), ohneEnde = lf;
  lf.replace("\r\n", "\n");
  ohneEnde.chop(2);  // no CR may be left on the last field
  for (const QByteArray& inhalt : {TextKodieren(text), "\xEF\xBB\xBF" + text.toUtf8(), text.toUtf8(), lf, ohneEnde}) {
    for (int i = 1; i <= 3; ++i) t.setFeld(i, S_zeit, QString());
    const Zeitimportergebnis r = importieren(inhalt);
    EXPECT_EQ(zahlen(r), u"3 3 0 0 0"_s);
    EXPECT_EQ((QStringList{feld(u"1"_s), feld(u"2"_s), feld(u"3"_s)}), (QStringList{"0:45:12,3", "0:46:00,0", "0:47:00.5"}));
    EXPECT_EQ(s.fehlerbericht, kKopf);
  }
  // A header alone, or nothing at all: nobody gets a time.
  for (const QByteArray& inhalt : {cp1252(ZeitdateiKopf() + u"\n"_s), QByteArray()}) {
    for (int i = 1; i <= 3; ++i) t.setFeld(i, S_zeit, QString());
    EXPECT_EQ(zahlen(importieren(inhalt)), u"0 0 0 0 3"_s);
    EXPECT_EQ(bericht(), (QStringList{kKopf, u"3 Startnummern wurden keine Zeiten zugeordnet!"_s}));
  }
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
  EXPECT_EQ(zahlen(r), u"100001 100000 0 1 0"_s);
  EXPECT_TRUE(r.platzierungen);
  EXPECT_EQ(bericht().mid(1), QStringList{u"Einlauf: 100001, SNr: 999999, Zeit: 9:00:00,0 fehlt in der Anmeldung!"_s});
  // Every participant holds the time of the line with its number.
  for (int i : {0, 1, 4242, n - 1}) EXPECT_EQ(feld(QString::number(nummer(i))), Zeitwert::ausZehnteln(18000 + i).text(QLatin1Char(',')));
  EXPECT_EQ(t.feld(1, S_zeit), u"0:30:00,0"_s);  // sorted by time
}
