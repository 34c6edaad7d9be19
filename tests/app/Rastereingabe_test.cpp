#include "app/Pfadpruefung.h"
#include "app/Programmstart.h"
#include "app/Rastereingabe.h"
#include "event/Altersklassen.h"
#include "persistence/Datenbank.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
struct Raster : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  Teilnehmertabelle& t = u.s().tabelle;
  void SetUp() override {
    s.einst.txtDefGlobalAK = QStringLiteral("20-29_20; 40-44_40");
    BuildAgeTable(s);
  }
};
}  // namespace

TEST_F(Raster, SimplifiedEntryNumbersANewParticipant) {
  s.einst.CheckAutoHinzufuegen = s.einst.CheckAutoStartnummer = s.einst.CheckAddNewSpeichern = 1;
  const int z = ZeileHinzufuegen(s, QStringLiteral("Abel, Karl"));
  // Typing into the new row asks nothing until the row is left.
  EXPECT_TRUE(ZelleAendern(s, z, S_strecke, QStringLiteral("5/m")));
  EXPECT_TRUE(ZelleAendern(s, z, S_jahr, QStringLiteral("1984")));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  ASSERT_TRUE(NeueZeileAbschliessen(s));
  EXPECT_EQ(u.bediener.meldungen(), QStringList{"[Zieltafel] Neuen Datensatz übernehmen?"});
  EXPECT_EQ(t.feld(z, S_startnummer) + "|" + t.feld(z, S_ak) + "|" + t.feld(z, S_fehler), QStringLiteral("1|M40|"));
  EXPECT_EQ(s.neueZeile, 0);

  // No discards the row, Cancel stays in it.
  const int zwei = ZeileHinzufuegen(s, QStringLiteral("Berg, Eva"));
  u.bediener.antworten = {Antwort::Abbrechen, Antwort::Nein};
  EXPECT_FALSE(NeueZeileAbschliessen(s));
  EXPECT_EQ(s.neueZeile, zwei);
  EXPECT_TRUE(NeueZeileAbschliessen(s));
  EXPECT_EQ(t.anzahl(), 1);
}

TEST_F(Raster, CellChangeIsConfirmedThenValidated) {
  t.zeileHinzufuegen(QStringLiteral("\t\t12\t10/m\tA, B\t1984\tLG Nord"));
  t.zeileHinzufuegen(QStringLiteral("\t\t13\t10/w\tC, D\t1984"));
  s.einst.CheckUpdateSpeichern = 1;
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(ZelleAendern(s, 2, S_startnummer, QStringLiteral("12")));
  EXPECT_EQ(t.feld(2, S_startnummer), QStringLiteral("13"));
  EXPECT_TRUE(ZelleAendern(s, 2, S_startnummer, QStringLiteral("12")));
  EXPECT_EQ(u.bediener.meldungen(),
            (QStringList{"[Zieltafel] Änderung '12' übernehmen?", "[Zieltafel] Änderung '12' übernehmen?",
                         "[Stopp!] Startnummer 12 schon vorhanden!\n10/m - A, B - 1984 - LG Nord\nBitte korrigieren Sie die Daten!"}));
  EXPECT_TRUE(t.feld(2, S_startnummer).isEmpty());
  // A new club is offered from then on.
  ZelleAendern(s, 1, S_vereinort, QStringLiteral("TV Süd"));
  EXPECT_TRUE(s.vereine.contains(QStringLiteral("TV Süd")));
}

TEST_F(Raster, DeleteAsksOnceForSeveralRows) {
  for (int i = 0; i < 5; ++i) t.zeileHinzufuegen(QStringLiteral("\t\t%1").arg(i + 1));
  u.bediener.antworten = {Antwort::Nein};
  EXPECT_FALSE(ZeilenLoeschen(s, {2, 4, 5}));
  EXPECT_EQ(t.anzahl(), 5);
  EXPECT_TRUE(ZeilenLoeschen(s, {2, 4, 5}));
  EXPECT_EQ(u.bediener.meldungen().last(),
            QStringLiteral("[Löschen] Es sind 3 Datensätze selektiert.\nAlle selektierten Datenzeilen löschen?   "));
  EXPECT_EQ(t.anzahl(), 2);
  EXPECT_EQ(t.feld(2, S_startnummer), QStringLiteral("3"));
  EXPECT_TRUE(ZeilenLoeschen(s, {1}));
  EXPECT_EQ(u.bediener.meldungen().last(), QStringLiteral("[Löschen] 1. Datensatz löschen?   "));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt), QStringLiteral("100% gelöscht  "));
}

TEST_F(Raster, SearchKeepsThePreviousHitAndEnterAddsByName) {
  for (const char* z : {"\t\t3\t\tMeier, Anna", "\t\t1\t\tMüller, Jan", "\t\t2\t\tMüller, Eva"}) t.zeileHinzufuegen(QString::fromUtf8(z));
  EXPECT_EQ(NameSuchen(s, QString()), 1);
  EXPECT_EQ(NameSuchen(s, QStringLiteral("Mü")), 2);
  EXPECT_EQ(NaechsterName(s), 3);
  EXPECT_EQ(NaechsterName(s), 0);
  EXPECT_EQ(u.bediener.meldungen(), QStringList{"[Zieltafel] Kein weiterer Eintrag gefunden!"});
  EXPECT_EQ(NameSuchen(s, QStringLiteral("Schulz")), 0);
  EXPECT_EQ(t.aktuelleZeile(), 2);
  // Enter adds by the name searched for, with simplified entry only.
  EXPECT_EQ(NameEnter(s), 0);
  s.einst.CheckAutoHinzufuegen = 1;
  EXPECT_EQ(NameEnter(s), 4);
  EXPECT_EQ(t.feld(4, S_namevorname), QStringLiteral("Schulz"));

  EXPECT_EQ(StartnummerSuchen(s, QStringLiteral("2")), 3);
  EXPECT_EQ(StartnummerSuchen(s, QStringLiteral("9")), 0);
  EXPECT_EQ(t.aktuelleZeile(), 1);
  s.sucheStartnummer = QStringLiteral("1");
  StartnummerBlaettern(s, -1);
  EXPECT_EQ(s.sucheStartnummer, QStringLiteral("1"));
  StartnummerBlaettern(s, +1);
  EXPECT_EQ(t.aktuelleZeile(), 3);
}

TEST(Pfadpruefung, EveryBadFieldGetsItsWarningInOrder) {
  Umgebung u;
  Einstellungen& e = u.s().einst;
  e.txtZeitnahmeDatei = QStringLiteral("lauf.erg");
  e.txtZeitnahmeLWSicherung = QString();
  e.txtWinWord = QStringLiteral("/gibt/es/nicht/winword");
  u.s().txtBezugsjahrAK = QStringLiteral("2101");
  e.chkPruefePfadNamen = 1;
  PfadePruefen(u.s(), false, Pfadfeld::Keins);
  EXPECT_EQ(u.bediener.meldungen(),
            QString::fromUtf8(test::leseDatei(ZT_GOLDEN_DIR "/app/pfadpruefung.txt")).split('\n', Qt::SkipEmptyParts));
  // A year out of range is dropped, the default stays.
  EXPECT_TRUE(u.s().txtBezugsjahrAK.isEmpty());
  EXPECT_EQ(u.s().bezugsjahr, 2024);

  u.bediener.leeren();
  e.chkPruefePfadNamen = 0;
  PfadePruefen(u.s(), true, Pfadfeld::VorlageUrkunde);
  EXPECT_TRUE(u.bediener.protokoll.empty());

  // All present: no warning; the field asked for is chosen in its dialog.
  e.chkPruefePfadNamen = 1;
  for (const char* vorlage : {"a.rtf", "b.rtf", "c.rtf"}) test::schreibeDatei(u.pfad(QLatin1String(vorlage)), "{\\rtf1}");
  e.txtVorlageErgebnisliste = e.txtWinWord = u.pfad(QStringLiteral("a.rtf"));
  e.txtVorlageUrkunde = u.pfad(QStringLiteral("b.rtf"));
  e.txtZeitnahmeDatei = u.pfad(QStringLiteral("lauf.erg"));
  e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("stick"));
  u.s().txtBezugsjahrAK = QStringLiteral("1900");
  u.bediener.dialoge.push_back({u.pfad(QStringLiteral("c.rtf")), 1});
  PfadePruefen(u.s(), true, Pfadfeld::VorlageUrkundeGesamtsieger);
  EXPECT_EQ(e.txtVorlageUrkundeGesamtsieger, u.pfad(QStringLiteral("c.rtf")));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty()) << u.bediener.meldungen().join('|').toStdString();
  EXPECT_EQ(u.s().bezugsjahr, 1900);
}

TEST(Programmende, FragtNurWennEtwasVerlorenGeht) {
  Umgebung u;
  Sitzung& s = u.s();
  const auto meldungen = [&] { return u.bediener.meldungen().join('|').toStdString(); };
  // Nothing to lose, nothing asked: an empty table, and a table as opened.
  EXPECT_TRUE(Programmende(s));
  s.tabelle.zeileHinzufuegen(QStringLiteral("\t\t1\t10/m\tA, B\t1984"));
  s.stapel.neuBeginnen();
  EXPECT_TRUE(Programmende(s));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty()) << meldungen();

  // A change: Yes with the save dialog cancelled and Cancel keep the program
  // open and write nothing; No ends it and writes the settings.
  QFile::remove(s.optionsdatei());
  QFile::remove(s.vornamendatei());
  ASSERT_TRUE(ZelleAendern(s, 1, S_vereinort, QStringLiteral("LG Nord")));
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Ja, Antwort::Abbrechen, Antwort::Nein};
  EXPECT_FALSE(Programmende(s));
  EXPECT_FALSE(Programmende(s));
  EXPECT_FALSE(QFileInfo::exists(s.optionsdatei()));
  EXPECT_TRUE(Programmende(s));
  EXPECT_TRUE(QFileInfo::exists(s.optionsdatei()));
  EXPECT_TRUE(QFileInfo::exists(s.vornamendatei()));
  EXPECT_EQ(u.bediener.meldungen().value(1),
            QStringLiteral("[Zieltafel] Soll die vorhandene Datenbank vor dem Beenden gesichert werden?   "));
  EXPECT_EQ(u.bediener.meldungen().size(), 3) << meldungen();

  // Taken back to the state on disk: nothing to save any more.
  u.bediener.leeren();
  ASSERT_TRUE(Rueckgaengig(s));
  EXPECT_FALSE(s.ungespeichert());
  EXPECT_TRUE(Programmende(s));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty()) << meldungen();

  // Done again and saved: clean; taken back after the save: modified again.
  ASSERT_TRUE(Wiederholen(s));
  s.speicherPfad = u.pfad(QStringLiteral("lauf.csv"));
  s.einst.CheckAutomSpeichernDatenbank = 1;
  ASSERT_TRUE(DatenbankSchreiben(s, Speicherformat::Csv));
  EXPECT_FALSE(s.ungespeichert());
  ASSERT_TRUE(Rueckgaengig(s));
  EXPECT_TRUE(s.ungespeichert());
}
