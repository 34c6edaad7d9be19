// The time-file editor: reading and re-reading a growing file, marks, hand
// corrections, insert and delete, dated saves, closing, the hand-over to the
// import and the availability of the assignment settings.
#include "core/Zeitwert.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitnahme_test.h"

#include <QAbstractItemModelTester>
#include <QAbstractTableModel>
#include <QFile>

using namespace zt;
using namespace zt::test;

namespace {
// What a window's model does with the editor's signals; the tester checks
// that they describe every change consistently.
class Modell : public QAbstractTableModel {
 public:
  explicit Modell(Zeiteditor& e) : m_e(e) {
    connect(&e, &Zeiteditor::vorZuruecksetzen, this, [this] { beginResetModel(); });
    connect(&e, &Zeiteditor::nachZuruecksetzen, this, [this] { endResetModel(); });
    connect(&e, &Zeiteditor::vorEinfuegen, this, [this](int a, int b) { beginInsertRows({}, a, b); });
    connect(&e, &Zeiteditor::nachEinfuegen, this, [this] { endInsertRows(); });
    connect(&e, &Zeiteditor::vorEntfernen, this, [this](int a, int b) { beginRemoveRows({}, a, b); });
    connect(&e, &Zeiteditor::nachEntfernen, this, [this] { endRemoveRows(); });
    connect(&e, &Zeiteditor::zeilenGeaendert, this,
            [this](int a, int b) { Q_EMIT dataChanged(index(a, 0), index(b, kEditorspalten - 1)); });
  }
  int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : m_e.anzahl(); }
  int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kEditorspalten; }
  QVariant data(const QModelIndex& i, int rolle) const override {
    return i.isValid() && rolle == Qt::DisplayRole ? QVariant(m_e.feld(i.row() + 1, i.column())) : QVariant();
  }

 private:
  Zeiteditor& m_e;
};

// Finish k of number 100 + k, 10 s apart: finish 1 at 0:34:40,0, finish 40 at 0:41:10,0.
QString einlauf(int k) {
  return EinlaufNummer(k) + u';' + QString::number(100 + k) + u';' +
         Zeitwert::ausZehnteln((2070 + 10 * k) * 10).text(QLatin1Char(',')) + u";;10:00:00"_s;
}

struct Editor : ::testing::Test {
  Umgebung u;
  Zeiteditor e{u.s()};
  Modell m{e};
  QAbstractItemModelTester tester{&m, QAbstractItemModelTester::FailureReportingMode::Fatal};

  QString datei(int von, int bis, const QString& name = u"lauf.erg"_s) {
    QStringList z{ZeitdateiKopf()};
    for (int k = von; k <= bis; ++k) z << einlauf(k);
    return schreibeDatei(u.pfad(name), cp1252(z.join(u"\n"_s) + u"\n"_s));
  }
  bool laden(const QString& pfad) {
    u.bediener.dialoge.push_back({pfad, 1});
    return e.laden();
  }
  // The rows as "x 0001;101;..." ("x": marked), from row von on.
  QStringList liste(int von = 1, int anzahl = -1) const {
    QStringList l;
    for (const Editorzeile& z : e.zeilen()) l << (z.markiert ? u"x "_s : u"  "_s) + ZeitdateiZeile(z.daten);
    return l.mid(von - 1, anzahl);
  }
};
}  // namespace

TEST_F(Editor, LadenUeberspringtNurKopfzeilenUndLiestSonstAlles) {
  const QString pfad = schreibeDatei(
      u.pfad(u"lauf.erg"_s), cp1252(ZeitdateiKopf() + u"\n"_s + einlauf(1) + u"\n0002;;0:34:50,0;Einlauf eingefügt;10:00:00\n"_s +
                                     ZeitdateiKopf() + u"\n\n 0003 ; 103 ; 0:35:00,0 ;; 10:00:00;x\n"_s));
  ASSERT_TRUE(laden(pfad));
  EXPECT_EQ(u.bediener.dialogTitel(), QStringList{u"Zeitdatei öffnen"_s});
  // Nothing of the line is lost.
  EXPECT_EQ(liste(), (QStringList{"  0001;101;0:34:40,0;;10:00:00", "  0002;;0:34:50,0;Einlauf eingefügt;10:00:00",
                                  "  0003;103;0:35:00,0;;10:00:00;x"}));
  EXPECT_EQ(e.feld(1, ES_Markierung), u"Falsch"_s);
  EXPECT_EQ(e.geladenerPfad(), pfad);
  EXPECT_EQ(e.aktuelleZeile(), 1);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  // Without a mark a file read again is read whole.
  ASSERT_TRUE(laden(datei(1, 12)));
  EXPECT_EQ(e.anzahl(), 12);
}

TEST_F(Editor, StatusZeigtDieLetzten55Zeichen) {
  const QString pfad = datei(1, 2, u"ein/recht/langer/ordnername/fuer/die/zeitmessung/lauf.erg"_s);
  ASSERT_GT(pfad.size(), 55);
  QStringList gemeldet;
  QObject bereich;  // the connection ends with this test
  QObject::connect(&e, &Zeiteditor::statusGeaendert, &bereich, [&](const QString& t) { gemeldet << t; });
  laden(pfad);
  EXPECT_TRUE(e.speichern());
  EXPECT_EQ(gemeldet, (QStringList{u"Datei geladen: ..."_s + pfad.right(55),
                                   u"Datei gespeichert: ..."_s + e.gespeicherterPfad().right(55)}));
  EXPECT_EQ(e.statusText(), gemeldet.back());
}

TEST_F(Editor, FehlendeOderBinaereDateiLaesstDieListe) {
  laden(datei(1, 5));
  e.markierenBisZeile(2);
  const auto vorher = e.zeilen();
  const QString fehlt = u.pfad(u"fehlt.erg"_s);
  EXPECT_FALSE(laden(fehlt));
  EXPECT_EQ(u.bediener.meldungen().last(), u"[Zeitmessung einlesen] Zeitdatei \""_s + fehlt + u"\" nicht gefunden! Abbruch!   "_s);
  u.bediener.antworten = {Antwort::Nein};  // "empty the list" -- but the file cannot be read
  EXPECT_FALSE(laden(schreibeDatei(u.pfad(u"bin.erg"_s), QByteArray("Einlauf\0\0", 9))));
  EXPECT_TRUE(u.bediener.meldungen().last().startsWith(u"[Zeitmessung einlesen] Die Datei"_s));
  EXPECT_EQ(e.zeilen(), vorher);
  EXPECT_EQ(e.geladenerPfad(), u.pfad(u"lauf.erg"_s));
}

TEST_F(Editor, WiederEinlesenHaengtNurSpaetereEinlaeufeAn) {
  const QString pfad = datei(1, 50);
  ASSERT_TRUE(laden(pfad));
  ASSERT_TRUE(e.markierenBisZeile(40));
  // Hand corrections in checked rows.
  EXPECT_TRUE(e.zelleAendern(5, ES_Startnummer, u"999"_s));
  EXPECT_TRUE(e.zelleAendern(6, ES_Zeit, u"0:35:41,0"_s));
  const QStringList geprueft = liste(1, 40);
  EXPECT_EQ(geprueft[39], u"x 0040;140;0:41:10,0;;10:00:00"_s);

  // Timing went on: ten more finishes, one of them from a later start with a
  // smaller time, one inserted by hand at the finish line.
  QStringList z{ZeitdateiKopf()};
  for (int k = 1; k <= 60; ++k)
    z << (k == 45 ? u"0045;145;0:20:00,0;2.Startzeit;10:30:00"_s
                  : k == 52 ? u"0052;;0:43:00,0;Einlauf eingefügt;10:00:00"_s : einlauf(k));
  schreibeDatei(pfad, cp1252(z.join(u"\n"_s) + u"\n"_s));
  u.bediener.leeren();
  ASSERT_TRUE(laden(pfad));
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{u"[Zeitmessung bearbeiten] Sollen die markiert gesperrten Zeiten ergänzt werden?   \n"
                        u"Ansonsten werden alle Zeiten überschrieben!   \nStandard: [Ja]"_s});
  // 0045 had the smaller time; the checked rows are kept as they were.
  ASSERT_EQ(e.anzahl(), 40 + 19);
  EXPECT_EQ(liste(1, 40), geprueft);
  EXPECT_EQ(liste(41, 5), (QStringList{"  " + einlauf(41), "  " + einlauf(42), "  " + einlauf(43), "  " + einlauf(44),
                                       "  " + einlauf(46)}));
  EXPECT_EQ(liste(51, 1), QStringList{"  0052;;0:43:00,0;Einlauf eingefügt;10:00:00"});

  // Re-reading with an unmarked last row: those rows go first, the limit is
  // the last checked row's time.
  e.markierenBisZeile(45);
  u.bediener.antworten = {Antwort::Ja};
  ASSERT_TRUE(laden(pfad));
  EXPECT_EQ(e.anzahl() + e.markierteAnzahl(), 59 + 45);
  EXPECT_EQ(e.feld(46, ES_Einlauf), u"0047"_s);

  // No: the file is read afresh.
  u.bediener.antworten = {Antwort::Nein};
  ASSERT_TRUE(laden(pfad));
  EXPECT_EQ(e.anzahl() + e.markierteAnzahl(), 60);
  EXPECT_EQ(e.feld(5, ES_Startnummer), u"105"_s);
}

TEST_F(Editor, MarkierenFragtUndNurMarkierteZeilenNehmenKorrekturen) {
  laden(datei(1, 20));
  EXPECT_FALSE(e.zelleAendern(1, ES_Startnummer, u"7"_s));
  e.setAktuelleZeile(12);
  EXPECT_TRUE(e.markierenBisZeile(e.aktuelleZeile()));
  EXPECT_TRUE(e.markiert(12) && !e.markiert(13) && e.markierteAnzahl() == 12);
  EXPECT_FALSE(e.markierenBisZeile(0) || e.markierenBisZeile(21));
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(e.alleMarkieren());
  EXPECT_EQ(e.markierteAnzahl(), 12);
  EXPECT_TRUE(e.alleMarkieren());
  EXPECT_EQ(e.markierteAnzahl(), 20);
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(e.alleMarkierungenLoeschen());
  EXPECT_TRUE(e.alleMarkierungenLoeschen());
  EXPECT_EQ(e.markierteAnzahl(), 0);
  EXPECT_EQ(u.bediener.meldungen(), (QStringList{u"[Zeitmessung bearbeiten] Sollen alle Zeilen markiert werden?   "_s,
                                                 u"[Zeitmessung bearbeiten] Sollen alle Zeilen markiert werden?   "_s,
                                                 u"[Zeitmessung bearbeiten] Sollen alle Markierungen entfernt werden?   "_s,
                                                 u"[Zeitmessung bearbeiten] Sollen alle Markierungen entfernt werden?   "_s}));

  // The mark itself can be set by hand; the finish position never.
  EXPECT_TRUE(e.zelleAendern(1, ES_Markierung, u"Wahr"_s));
  EXPECT_FALSE(e.bearbeitbar(1, ES_Einlauf) || e.zelleAendern(1, ES_Einlauf, u"0009"_s));
  for (int s : {ES_Startnummer, ES_Zeit, ES_Fehler, ES_Startzeit}) EXPECT_TRUE(e.bearbeitbar(1, s));
  // A ";" would split the line in the file.
  EXPECT_TRUE(e.zelleAendern(1, ES_Fehler, u" geprüft;ok\t"_s));
  EXPECT_EQ(liste(1, 1), QStringList{"x 0001;101;0:34:40,0;geprüft ok;10:00:00"});
  EXPECT_FALSE(e.zelleAendern(99, ES_Fehler, u"x"_s));
}

TEST_F(Editor, EinlaufEinfuegenUndLoeschen) {
  laden(datei(1, 5));
  e.setAktuelleZeile(3);
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(e.einlaufEinfuegen());
  EXPECT_TRUE(e.einlaufEinfuegen());
  // The new row copies the time before it, is marked, ready for the number.
  EXPECT_TRUE(e.zelleAendern(3, ES_Startnummer, u"177"_s));
  EXPECT_EQ(e.aktuelleZeile(), 3);
  EXPECT_EQ(liste(2, 3), (QStringList{"  0002;102;0:34:50,0;;10:00:00", "x 0003;177;0:34:50,0;Einlauf eingefügt;10:00:00",
                                      "  0004;103;0:35:00,0;;10:00:00"}));
  e.setAktuelleZeile(1);
  EXPECT_TRUE(e.einlaufEinfuegen());
  EXPECT_EQ(liste(1, 1), QStringList{"x 0001;;;Einlauf eingefügt;"});

  e.setAktuelleZeile(4);
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(e.einlaufLoeschen());
  EXPECT_TRUE(e.einlaufLoeschen());
  EXPECT_EQ(liste(4, 1), QStringList{"  0004;103;0:35:00,0;;10:00:00"});
  EXPECT_EQ(u.bediener.meldungen(),
            (QStringList{u"[Zeitmessung bearbeiten] Einlauf einfügen ?"_s, u"[Zeitmessung bearbeiten] Einlauf einfügen ?"_s,
                         u"[Zeitmessung bearbeiten] Einlauf einfügen ?"_s, u"[Zeitmessung bearbeiten] 4.Einlauf löschen ?"_s,
                         u"[Zeitmessung bearbeiten] 4.Einlauf löschen ?"_s}));
  // The last row deleted: the current row moves up.
  e.setAktuelleZeile(6);
  e.einlaufLoeschen();
  EXPECT_EQ(e.aktuelleZeile(), 5);
  // The inserted row on top survives saving and reading back.
  ASSERT_TRUE(e.speichern());
  Zeiteditor zweiter(u.s());
  ASSERT_TRUE(zweiter.dateiLaden(e.gespeicherterPfad()));
  EXPECT_EQ(zweiter.einlaufliste(), e.einlaufliste());
}

TEST_F(Editor, SpeichernUndSchliessenMitDatumUndZeitImNamen) {
  EXPECT_TRUE(e.schliessen());  // empty: closes, writes nothing
  EXPECT_TRUE(e.schliessenAnfragen());
  EXPECT_TRUE(e.gespeicherterPfad().isEmpty() && u.bediener.meldungen().isEmpty());
  const QString pfad = datei(1, 3);
  laden(pfad);
  ASSERT_TRUE(e.speichern());
  const QString erster = pfad + u"_04.12.2026_15.30.12.erg"_s;
  EXPECT_EQ(e.gespeicherterPfad(), erster);
  EXPECT_EQ(leseDatei(erster), leseDatei(pfad));
  // The same second again: a free name, the first save stays.
  e.setAktuelleZeile(1);
  e.einlaufLoeschen();
  ASSERT_TRUE(e.speichern());
  EXPECT_EQ(e.gespeicherterPfad(), pfad + u"_04.12.2026_15.30.12_2.erg"_s);
  EXPECT_EQ(leseDatei(erster), leseDatei(pfad));

  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Nein};
  u.uhr.zeit = u.uhr.zeit.addSecs(1);
  EXPECT_FALSE(e.schliessenAnfragen());
  EXPECT_EQ(u.bediener.meldungen(), QStringList{u"[Zieltafel] Soll die Zeitbearbeitung wirklich beendet werden?   "_s});
  EXPECT_TRUE(e.schliessenAnfragen());
  EXPECT_EQ(e.gespeicherterPfad(), pfad + u"_04.12.2026_15.30.13.erg"_s);

  // A folder that cannot be written: the window stays open, nothing is lost.
  const QString dort = datei(1, 2, u"weg/lauf.erg"_s);
  u.bediener.antworten = {Antwort::Nein};
  laden(dort);
  QDir(u.pfad(u"weg"_s)).removeRecursively();
  EXPECT_FALSE(e.schliessen());
  EXPECT_TRUE(u.bediener.meldungen().last().startsWith(
      u"[Zeitmessung bearbeiten] Die Zeitdatei konnte nicht gespeichert werden!\n"_s));
  EXPECT_EQ(e.anzahl(), 2);

  // Without a loaded file the time file of the settings is the base.
  Zeiteditor neu(u.s());
  u.s().einst.txtZeitnahmeDatei = u.pfad(u"arbeit/lauf.erg"_s);
  u.bediener.antworten = {Antwort::Ja};
  neu.einlaufEinfuegen();
  ASSERT_TRUE(neu.speichern());
  EXPECT_EQ(neu.gespeicherterPfad(), u.pfad(u"arbeit/lauf.erg_04.12.2026_15.30.13.erg"_s));
}

TEST_F(Editor, UebergabeAnDieVeranstaltung) {
  std::vector<Teilnehmerzeile> zeilen(3);
  for (int i = 0; i < 3; ++i) zeilen[i].setFeld(S_startnummer, QString::number(101 + i));
  u.s().tabelle.zeilenAnhaengen(std::move(zeilen));
  const QString pfad = datei(1, 3);
  laden(pfad);
  EXPECT_FALSE(e.uebergeben().ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen().last(), u"[Zeitmessung bearbeiten] Keine Daten ausgewählt! Abbruch!   "_s);
  e.markierenBisZeile(2);
  e.zelleAendern(2, ES_Zeit, u"0:35:30,0"_s);
  e.hauptfensterOffen = [] { return false; };
  EXPECT_FALSE(e.uebergeben().ausgefuehrt);
  EXPECT_EQ(u.bediener.meldungen().last(), u"[Zeitmessung bearbeiten] Zieltafel schon beendet! Abbruch!   "_s);
  EXPECT_TRUE(e.gespeicherterPfad().isEmpty());

  e.hauptfensterOffen = [] { return true; };
  u.bediener.leeren();
  const Zeitimportergebnis r = e.uebergeben();
  ASSERT_TRUE(r.ausgefuehrt);
  // The whole list goes over, unmarked rows too; no dialog; the file is gone.
  EXPECT_EQ(r.zugeordnet, 3);
  EXPECT_TRUE(u.bediener.dialogTitel().isEmpty());
  EXPECT_EQ(r.pfad, pfad + u"_04.12.2026_15.30.12.erg"_s);
  EXPECT_FALSE(QFile::exists(r.pfad));
  const Teilnehmertabelle& t = u.s().tabelle;
  EXPECT_EQ(t.feld(t.finden(S_startnummer, u"102"_s), S_zeit), u"0:35:30,0"_s);
  EXPECT_EQ(t.feld(t.finden(S_startnummer, u"103"_s), S_zeit), u"0:35:00,0"_s);
  EXPECT_EQ(e.anzahl(), 3);  // the editor keeps its list
}

TEST_F(Editor, ZuordnungsEinstellungenUndIhreVerfuegbarkeit) {
  int meldungen = 0;
  QObject bereich;  // the connection ends with this test
  QObject::connect(&e, &Zeiteditor::geaendert, &bereich, [&] { ++meldungen; });
  // Not a duathlon: only the run, no clear mode, no end-time option.
  for (auto z : {Sitzung::Zeitziel::Bike, Sitzung::Zeitziel::Run, Sitzung::Zeitziel::Swim})
    EXPECT_FALSE(e.zielVerfuegbar(z) || e.setZiel(z));
  EXPECT_TRUE(e.zielVerfuegbar(Sitzung::Zeitziel::Lauf));
  EXPECT_FALSE(e.modusVerfuegbar(Sitzung::Zeitmodus::Loeschen) || e.setModus(Sitzung::Zeitmodus::Loeschen));
  EXPECT_TRUE(e.setModus(Sitzung::Zeitmodus::Ueberschreiben));
  EXPECT_FALSE(e.endzeitVerfuegbar() || e.setEndzeitRunTime(false));

  Sitzung& s = u.s();
  s.duathlon = true;
  s.melden();
  EXPECT_TRUE(e.setZiel(Sitzung::Zeitziel::Bike));
  EXPECT_EQ(s.zeitzuordnung, u"Bike"_s);  // the row check reads the caption
  EXPECT_TRUE(e.setModus(Sitzung::Zeitmodus::Loeschen));
  EXPECT_TRUE(e.setEndzeitRunTime(false));
  EXPECT_FALSE(s.duathlonEndzeitRunTime);
  EXPECT_TRUE(e.setZiel(Sitzung::Zeitziel::Swim));
  EXPECT_EQ(s.zeitmodus, Sitzung::Zeitmodus::Loeschen);
  // Back to the run: the clear mode goes with it.
  EXPECT_TRUE(e.setZiel(Sitzung::Zeitziel::Lauf));
  EXPECT_EQ(s.zeitmodus, Sitzung::Zeitmodus::Ergaenzen);
  EXPECT_EQ(s.zeitzuordnung, u"Standard: Lauf"_s);
  // The event stops being a duathlon: the target falls back.
  e.setZiel(Sitzung::Zeitziel::Run);
  e.setModus(Sitzung::Zeitmodus::Loeschen);
  s.duathlon = false;
  s.melden();
  EXPECT_TRUE(s.zeitziel == Sitzung::Zeitziel::Lauf && s.zeitmodus == Sitzung::Zeitmodus::Ergaenzen);
  EXPECT_GE(meldungen, 8);
  EXPECT_EQ(ZeitmodusText(Sitzung::Zeitmodus::Ergaenzen), u"Standard: Zeiten ergänzen "_s);
  EXPECT_EQ(ZeitmodusText(Sitzung::Zeitmodus::Loeschen), u"alle Zeiten löschen, neu zuordnen"_s);
}

namespace {
// Live timing appends while the operator answers the merge question; the
// last line may still be without its line end.
class Wachsend : public TestBediener {
 public:
  QString datei;
  QByteArray anhang;
  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override {
    QFile f(datei);
    if (knoepfe == Knoepfe::JaNein && f.open(QIODevice::Append)) f.write(std::exchange(anhang, {}));
    return TestBediener::meldung(titel, text, symbol, knoepfe);
  }
};
}  // namespace

TEST(EditorWachsendeDatei, WasWaehrendDerFrageDazukamWirdGelesen) {
  QTemporaryDir dir;
  Wachsend b;
  TestUhr uhr;
  TestSystem sys;
  Sitzung s(b, uhr, sys);
  Zeiteditor e(s);
  QStringList z{ZeitdateiKopf()};
  for (int k = 1; k <= 10; ++k) z << einlauf(k);
  b.datei = schreibeDatei(dir.filePath(u"lauf.erg"_s), cp1252(z.join(u"\n"_s) + u"\n"_s));
  ASSERT_TRUE(e.dateiLaden(b.datei));
  e.markierenBisZeile(5);
  b.anhang = cp1252(einlauf(11) + u"\n"_s + einlauf(12) + u"\n"_s) + "0013;113;0:37";
  ASSERT_TRUE(e.dateiLaden(b.datei));
  // The half-written finish reads "0:37", 37 seconds: before the last
  // checked finish, so it waits for the next reading.
  ASSERT_EQ(e.anzahl(), 12);
  EXPECT_EQ(e.feld(12, ES_Einlauf), u"0012"_s);
  // The unmarked rows are read again next time: the finish is complete then.
  b.anhang = ":00,0;;10:00:00\r\n";
  ASSERT_TRUE(e.dateiLaden(b.datei));
  ASSERT_EQ(e.anzahl(), 13);
  EXPECT_EQ(e.feld(13, ES_Zeit), u"0:37:00,0"_s);
  EXPECT_EQ(e.markierteAnzahl(), 5);
}
