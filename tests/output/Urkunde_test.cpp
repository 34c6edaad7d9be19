// Certificates: placeholders and their rules, the row options with their
// questions, the printed mark, the start-number field and the certificate
// printed after a finish.
#include "Ausgabe_test.h"

#include "output/Urkunde.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
const QByteArray kVorlage =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n"
    "{\\pard Urkunde f\\'fcr NameVorname# (Jahr#), Verein#, Gesamtwertung\\par}\r\n"
    "{\\pard Strecke# km / AK AK#: PlatzAK#. Platz, m/w PlatzMW#, gesamt PlatzTotal#, Gesamtwertung\\par}\r\n"
    "{\\pard Zeit: Zeit# Startnummer StartNummer#\\par}\r\n"
    "{\\pard RTFtxtNameLauf\\par}\r\n"
    "}\r\n";
// The same with a line that a placeholder opens: it stays there, and is told.
const QByteArray kVorlageZeilenanfang = QByteArray(kVorlage).replace("{\\pard RTFtxtNameLauf", "Zeit# am Zeilenanfang\r\n{\\pard RTFtxtNameLauf");

struct Urkunden : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  Ausgabe& a = Ausgabe::von(s);
  QString vorlage = u.pfad(QStringLiteral("urkunde.rtf"));

  void SetUp() override {
    schreibeDatei(vorlage, kVorlage);
    s.einst.txtVorlageUrkunde = vorlage;
    s.einst.txtVorlageUrkundeGesamtsieger = vorlage;
    s.einst.txtNameLauf = QStringLiteral("Seelauf");
    s.einst.txtWinWord = QStringLiteral("/opt/office/soffice");
    s.druckerUrkunde = QStringLiteral("SW");
    s.druckerErgebnisliste = QStringLiteral("Farbe");
    u.system.druckerliste = {QStringLiteral("Farbe"), QStringLiteral("SW")};
    zehnKilometer(s);
    zeile(s, QStringLiteral("platz=1;platzmw=1;startnummer=50;strecke=10/m;namevorname=Geher, Karl (Walker);jahr=1950;"
                            "zeit=1:02:03.4;ak=M70;walker=Wahr"));
    zeile(s, QStringLiteral("startnummer=0;strecke=10/w;namevorname=Madonna;jahr=1958"));
  }
  QByteArray urkunde(int z) { return WriteCertificate(s, z, kVorlage); }
  QString gedruckt(int z) { return s.tabelle.feld(z, S_gedruckt); }
};
}  // namespace

TEST_F(Urkunden, PlaceholdersTakeTheRowsValuesFromTheSecondCharacterOn) {
  // A winner, escapes beyond Windows-1252, a walker on both templates (the
  // overall-winner one adds "Walker" to the route line only), a name without
  // a comma; as a person reads them in tests/golden/ausgabe/urkunden.rtf.txt.
  QByteArray alle;
  for (const auto& [z, gesamt] : {std::pair{1, 0}, {2, 0}, {6, 0}, {6, 1}, {7, 0}}) {
    a.chkVorlageGesamtSieger = gesamt;
    alle += "== Zeile " + QByteArray::number(z) + (gesamt ? " Gesamtsieger" : "") + "\r\n" + urkunde(z);
  }
  EXPECT_EQ(alle, leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/urkunden.rtf.txt")).replace("\n", "\r\n"));
  EXPECT_EQ(UrkundenName(QStringLiteral("Müller (Walker), Anna")), QStringLiteral("Anna Müller"));
  EXPECT_EQ(UrkundenName(QStringLiteral(" von  Berg ,  Eva ")), QStringLiteral("Eva von Berg"));
}

TEST_F(Urkunden, TheOptionsAskAndStopAsTheOperatorSays) {
  const auto meldungen = [&] {
    const QStringList m = u.bediener.meldungen();
    u.bediener.leeren();
    return m;
  };
  a.urkundeBearbeiten = true;
  a.OptUrkunde = 3;
  StartnummerDruckenGeaendert(s, QStringLiteral("999"));
  PrintCertificates(s);
  StartnummerDruckenGeaendert(s, QStringLiteral("0"));
  PrintCertificates(s);
  EXPECT_EQ(meldungen(), (QStringList{"[Zieltafel] Ohne Startnummer?!   ", "[Zieltafel] Startnummer = 0!   "}));

  a.OptUrkunde = 1;
  s.tabelle.setAuswahl({});
  PrintCertificates(s);
  s.tabelle.setAuswahl({3, 1});
  u.bediener.antworten = {Antwort::Nein};
  PrintCertificates(s);
  a.OptUrkunde = 2;
  PrintCertificates(s);
  a.chkVorlageGesamtSieger = 1;
  u.bediener.antworten = {Antwort::Nein};
  PrintCertificates(s);
  EXPECT_EQ(meldungen(), (QStringList{"[Zieltafel] Es ist keine Zeile selektiert!   ",
                                      "[Zieltafel] 2 selektierten Zeilen als Urkunden drucken?   ",
                                      "[Zieltafel] Es ist keine Zeile markiert!   ",
                                      "[Zieltafel] ACHTUNG! Gesamtsieger-Urkunden drucken? ACHTUNG!   "}));
  EXPECT_TRUE(u.system.aufrufe.isEmpty());
  for (int z = 1; z <= s.tabelle.anzahl(); ++z) EXPECT_NE(gedruckt(z), QStringLiteral("Wahr")) << z;

  Umgebung leer;
  PrintCertificates(leer.s());
  EXPECT_EQ(leer.bediener.meldungen(), QStringList{"[Zieltafel] Die Datenbank ist leer!   "});
}

TEST_F(Urkunden, EditingGivesEveryCertificateItsOwnFileMarksItPrintedAndTellsAPlaceholderOnce) {
  schreibeDatei(vorlage, kVorlageZeilenanfang);
  a.OptUrkunde = 1;
  s.tabelle.setAuswahl({3, 1});
  u.bediener.antworten = {Antwort::Ja};
  UrkundeErstellen(s);
  ASSERT_EQ(u.bediener.meldungen().size(), 2);  // the question, then the placeholder once for the command
  EXPECT_EQ(u.bediener.meldungen()[1], "[Zieltafel] Platzhalter Zeit# nicht ersetzt (Vorlage der Urkunde \"" +
                                           QDir::toNativeSeparators(vorlage) +
                                           "\"). Am Anfang einer Zeile bleibt ein Platzhalter stehen.   ");
  const QString eins = s.arbeitsdatei(QStringLiteral("WinWordUrkunde#_1.rtf"));
  const QString zwei = s.arbeitsdatei(QStringLiteral("WinWordUrkunde#_2.rtf"));
  EXPECT_EQ(u.system.aufrufe, (QStringList{"starten /opt/office/soffice | " + QDir::toNativeSeparators(eins),
                                           "starten /opt/office/soffice | " + QDir::toNativeSeparators(zwei)}));
  EXPECT_TRUE(leseDatei(eins).contains("Ay\\u351?e \\'d6zt\\'fcrk"));  // row 3 first: selection order
  EXPECT_TRUE(leseDatei(zwei).contains("J\\'fcrgen M\\'fcller"));
  EXPECT_EQ(gedruckt(1), QStringLiteral("Wahr"));
  EXPECT_EQ(gedruckt(3), QStringLiteral("Wahr"));
  EXPECT_NE(gedruckt(2), QStringLiteral("Wahr"));

  // One row: the file of the classic name.
  u.system.aufrufe.clear();
  s.tabelle.setAuswahl({2});
  UrkundeErstellen(s);
  EXPECT_EQ(u.system.aufrufe,
            QStringList{"starten /opt/office/soffice | " + QDir::toNativeSeparators(UrkundeDatei(s))});
}

TEST_F(Urkunden, PrintingMarksOnlyWhatWasHandedToThePrinter) {
  a.OptUrkunde = 2;
  s.tabelle.setFeld(2, S_checkdruck, QStringLiteral("Wahr"));
  s.tabelle.setFeld(6, S_checkdruck, QStringLiteral("Wahr"));
  UrkundeSofortDrucken(s);
  EXPECT_EQ(u.bediener.meldungen().size(), 1);  // the question, worded in the race-day test
  ASSERT_EQ(u.system.druckauftraege.size(), 1u);
  const QByteArray beide = u.system.druckauftraege[0].inhalt;
  EXPECT_EQ(u.system.druckauftraege[0].drucker, QStringLiteral("SW"));
  EXPECT_EQ(beide.count("\\page "), 1);  // two certificates, one job, a page each
  EXPECT_LT(beide.indexOf("\\u321?ukasz"), beide.indexOf("Karl Geher"));
  EXPECT_EQ(gedruckt(2), QStringLiteral("Wahr"));
  EXPECT_EQ(gedruckt(6), QStringLiteral("Wahr"));
  EXPECT_EQ(s.tabelle.feld(2, S_checkdruck), QStringLiteral("Falsch"));
  // The printer gave up: the rows may be printed again, their marks are back.
  s.tabelle.sortieren(QStringLiteral("startnummer"));
  u.bediener.leeren();
  u.system.druckauftraegeAusfuehren(QStringLiteral("kein Papier"));
  for (int z = 1; z <= s.tabelle.anzahl(); ++z) {
    EXPECT_NE(gedruckt(z), QStringLiteral("Wahr")) << z;
    const QString nr = s.tabelle.feld(z, S_startnummer);
    EXPECT_EQ(s.tabelle.feld(z, S_checkdruck) == QLatin1String("Wahr"), nr == "23" || nr == "50") << z;
  }
  ASSERT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_TRUE(u.bediener.meldungen()[0].startsWith("[Zieltafel] Die Urkunde wurde nicht auf \"SW\" gedruckt:\nkein Papier"));

  // A printer that cannot take the job now (the list's printing test has the
  // reasons): not handed over, not marked, the file stays.
  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Ja};
  s.druckerUrkunde = QStringLiteral("Weg");
  UrkundeSofortDrucken(s);
  EXPECT_TRUE(u.system.druckauftraege.empty());
  EXPECT_TRUE(QFileInfo::exists(UrkundeDatei(s)));
  for (int z = 1; z <= s.tabelle.anzahl(); ++z) EXPECT_NE(gedruckt(z), QStringLiteral("Wahr")) << z;
  EXPECT_TRUE(u.bediener.meldungen().value(1).startsWith("[Zieltafel] Die Urkunde wurde nicht auf \"Weg\" gedruckt:"));
}

TEST_F(Urkunden, AlreadyPrintedOrABadTemplateIsSkippedAndLeavesNoFile) {
  s.einst.CheckUrkundeDruckenPruefung = 1;
  a.urkundeBearbeiten = false;
  a.OptUrkunde = 3;
  StartnummerDruckenGeaendert(s, QStringLiteral("17"));
  PrintCertificates(s);
  EXPECT_EQ(u.system.druckauftraege.size(), 1u);
  EXPECT_EQ(gedruckt(1), QStringLiteral("Wahr"));
  PrintCertificates(s);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{"[Zieltafel-Info] Müller, Jürgen (Nr. 17) schon gedruckt! Druckausgabe wird übersprungen!"});
  EXPECT_FALSE(QFileInfo::exists(UrkundeDatei(s)));
  EXPECT_EQ(u.system.druckauftraege.size(), 1u);
  // Without the check it prints again.
  s.einst.CheckUrkundeDruckenPruefung = 0;
  PrintCertificates(s);
  EXPECT_EQ(u.system.druckauftraege.size(), 2u);

  // The reasons for a bad template are worded in the list's test: the templates are read alike.
  schreibeDatei(vorlage, "Urkunde NameVorname#");
  s.tabelle.setFeld(1, S_gedruckt, QStringLiteral("Falsch"));
  u.bediener.leeren();
  PrintCertificates(s);
  EXPECT_EQ(u.bediener.meldungen().size(), 1);
  EXPECT_EQ(u.system.druckauftraege.size(), 2u);
  EXPECT_NE(gedruckt(1), QStringLiteral("Wahr"));
}

// Searching, stepping and printing on Enter as the window does it are the
// window's test; here what it does not reach.
TEST_F(Urkunden, StartNumberFieldTakesNumbersOnlyAndEnterPrintsOnlyWhenSwitchedOn) {
  EXPECT_TRUE(StartnummerDruckenGeaendert(s, QStringLiteral("31")));
  EXPECT_EQ(s.tabelle.ersteSichtbareZeile(), 3);
  EXPECT_FALSE(StartnummerDruckenGeaendert(s, QStringLiteral("3*")));  // a number, not a pattern
  StartnummerDruckenGeaendert(s, QStringLiteral("23"));
  s.einst.CheckUrkundeDrucken = 0;
  StartnummerDruckenEnter(s);
  EXPECT_TRUE(u.system.druckauftraege.empty());
  EXPECT_EQ(a.txtStartnummerDrucken, QStringLiteral("23"));
  a.urkundeBearbeiten = true;
  s.einst.CheckUrkundeDrucken = 1;
  StartnummerDruckenEnter(s);
  EXPECT_FALSE(a.urkundeBearbeiten);  // printed, not opened for editing

  // "selektiert": marks on exactly the selected rows.
  s.tabelle.setFeld(1, S_checkdruck, QStringLiteral("Wahr"));
  s.tabelle.setAuswahl({2, 4});
  Druckmarkierung(s);
  QStringList marken;
  for (int z = 1; z <= s.tabelle.anzahl(); ++z) marken << s.tabelle.feld(z, S_checkdruck);
  EXPECT_EQ(marken, (QStringList{"Falsch", "Wahr", "Falsch", "Wahr", "Falsch", "Falsch", "Falsch"}));
}

TEST_F(Urkunden, FinishCertificateCarriesOnlyTheTimeAndTakesTurnsOnThePrinters) {
  vorlagenEinrichten(s);
  schreibeDatei(s.programmdatei(QStringLiteral("druckvorlage/VorlageUrkunde.rtf")), kVorlage);
  PrintFinishCertificate(s, QStringLiteral("17"), QStringLiteral("0:38:12,4"), 7);
  PrintFinishCertificate(s, QStringLiteral("23"), QStringLiteral("0:41:07,5"), 8);
  PrintFinishCertificate(s, QStringLiteral("9001"), QStringLiteral("0:42:00,0"), 9);
  ASSERT_EQ(u.system.druckauftraege.size(), 2u);
  EXPECT_EQ(u.system.druckauftraege[0].drucker, QStringLiteral("SW"));
  EXPECT_EQ(u.system.druckauftraege[1].drucker, QStringLiteral("Farbe"));
  const QByteArray zeit = u.system.druckauftraege[0].inhalt;
  EXPECT_TRUE(zeit.contains("{\\pard Urkunde f\\'fcr  (), , Gesamtwertung\\par}\r\n")) << zeit.constData();
  EXPECT_TRUE(zeit.contains("{\\pard  : , m/w , gesamt , Gesamtwertung\\par}\r\n"));
  EXPECT_TRUE(zeit.contains("{\\pard Zeit: 0:38:12,4 \\par}\r\n"));
  // Each job has its own copy: the second finish did not overwrite the first.
  EXPECT_TRUE(u.system.druckauftraege[1].inhalt.contains("0:41:07,5"));
  EXPECT_FALSE(zeit.contains("0:41:07,5"));
  // A printer that fails is reported beside the finish line, never in a box.
  u.system.druckauftraegeAusfuehren(QStringLiteral("Papierstau"));
  s.druckerUrkunde = QStringLiteral("Weg");
  PrintFinishCertificate(s, QStringLiteral("31"), QStringLiteral("0:40:01,6"), 9);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 3);
  EXPECT_EQ(u.bediener.fehlermanagerBerichte[0],
            "Zielzeit-Urkunde für Startnummer 17 (Einlauf 7): nicht auf \"SW\" gedruckt: Papierstau");
  EXPECT_EQ(u.bediener.fehlermanagerBerichte[2],
            "Zielzeit-Urkunde für Startnummer 31 (Einlauf 9): Den Drucker \"Weg\" gibt es auf diesem Rechner nicht.");
  // A placeholder left standing is told there as well.
  schreibeDatei(s.programmdatei(QStringLiteral("druckvorlage/VorlageUrkunde.rtf")), kVorlageZeilenanfang);
  s.druckerUrkunde = QStringLiteral("SW");
  PrintFinishCertificate(s, QStringLiteral("17"), QStringLiteral("0:38:12,4"), 7);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.value(3).startsWith(
      "Zielzeit-Urkunde für Startnummer 17 (Einlauf 7): Platzhalter Zeit# nicht ersetzt"));
  ASSERT_EQ(u.system.druckauftraege.size(), 1u);
  EXPECT_TRUE(u.system.druckauftraege.back().inhalt.contains("\r\nZeit# am Zeilenanfang\r\n"));
  // The hook the live timing calls.
  EXPECT_TRUE(static_cast<bool>(s.zielurkundeDrucken));
}
