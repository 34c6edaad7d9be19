// The result list: row bytes, template analysis, selection modes, heading,
// file name, bad templates and folders, opening and printing.
#include "Ausgabe_test.h"

#include "evaluation/Sortierung.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {
const QByteArray kVorlage =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fswiss Arial Narrow;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red230\\green230\\blue230;}\r\n"
    "{\\pard\\plain {\\f1 RTFtxtNameLauf: Ergebnisliste vom RTFtxtLaufAm\\par }}\r\n"
    "{\\pard\\plain {\\f1 RTFtxtVerein|RTFtxtCup|RTFtxtInternet|RTFtxtEmail|sortiert nach RTFtxtSortiertnach\\par }}\r\n"
    "}\r\n";

struct Liste : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  Ausgabe& a = Ausgabe::von(s);
  QString vorlage = u.pfad(QStringLiteral("vorlage.rtf"));

  void SetUp() override {
    schreibeDatei(vorlage, kVorlage);
    s.einst.txtVorlageErgebnisliste = vorlage;
    s.einst.txtNameLauf = QStringLiteral("Lauf am See");
    s.einst.txtLaufAm = QStringLiteral("5. Juli");
    s.einst.txtVerein = QStringLiteral("TV {Alt}");
    s.einst.txtCup = QStringLiteral("Cup");
    s.einst.txtVereinInternet = QStringLiteral("www.tv-alt.de");
    s.einst.txtVereinEmail = QStringLiteral("info@tv-alt.de");
    s.einst.txtWinWord = QStringLiteral("/opt/office/soffice");
    s.sortierung = QStringLiteral("Strecke(m/w)-AK-Zeit");
    zehnKilometer(s);
  }
  QByteArray schreiben(int modus) {
    a.OptErgebnisliste = modus;
    const QString ziel = u.pfad(QStringLiteral("liste%1.rtf").arg(modus));
    if (!ErgebnislisteSchreiben(s, ziel)) return QByteArray();
    return leseDatei(ziel);
  }
  // Start numbers in the order the rows stand in the list.
  static QStringList nummern(const QByteArray& rtf) {
    QStringList l;
    const QList<QByteArray> zeilen = rtf.split('\n');
    for (int i = 0; i < zeilen.size(); ++i)
      if (zeilen[i].startsWith("\\pard\\plain \\intbl {\\trowd")) {
        const QByteArray zelle = zeilen[i - 1];
        l << QString::fromLatin1(zelle.mid(zelle.indexOf(' ', 24) + 1).chopped(8));
      }
    return l;
  }
};
}  // namespace

TEST_F(Liste, RowBytesAreThoseWrittenByHand) {
  Zeilenformat f;
  f.schrift = "\\f1";
  f.schattierung = "\\clcbpat2";
  f.sortierung = s.sortierung;
  QByteArray zeilen;
  WriteResultRow(s.tabelle, 1, f, zeilen);
  WriteResultRow(s.tabelle, 2, f, zeilen);
  QByteArray erwartet = leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/zeilen.rtf.txt"));
  ASSERT_FALSE(erwartet.isEmpty());
  erwartet.replace("\n", "\r\n");  // kept with LF in the repository
  EXPECT_EQ(zeilen, erwartet);
}

TEST(ListenZeilen, SecondsModeRoundsHalfToEvenAndCarries) {
  for (const auto& [zeit, sekunden] :
       std::vector<std::pair<QString, QString>>{{"0:45:12.5", "0:45:12"}, {"0:45:13.5", "0:45:14"}, {"0:45:12,6", "0:45:13"},
                                                {"0:45:59.6", "0:46:00"}, {"1:59:59.7", "2:00:00"}, {"00:07:03.4", "00:07:03"},
                                                {"45:59.7", "46:00"}, {"ohne", "ohne"}, {"", ""}})
    EXPECT_EQ(ZeitInGanzenSekunden(zeit), sekunden) << zeit.toStdString();
}

TEST(ListenVorlage, ShadingAndFontAreFoundOrAdded) {
  QStringList werte;  // Vorlage, Farbe, Schrift, Nachher, one case after the other
  for (const QString& z : QString::fromUtf8(leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ausgabe/vorlagen.txt"))).split('\n'))
    if (!z.isEmpty() && !z.startsWith(QLatin1Char('#'))) werte << z.section(QStringLiteral(": "), 1);
  ASSERT_EQ(werte.size(), 4 * 5);
  for (int i = 0; i < werte.size(); i += 4) {
    QByteArray v = werte[i].toLatin1();
    const Zeilenformat z = VorlageAnalysieren(v);
    EXPECT_EQ(QStringList({QString::fromLatin1(z.schattierung), QString::fromLatin1(z.schrift), QString::fromLatin1(v)}),
              werte.mid(i + 1, 3)) << werte[i].toStdString();
  }
}

TEST_F(Liste, ModesSelectTheirRowsAndPrepareTheTable) {
  EXPECT_EQ(nummern(schreiben(1)), (QStringList{"17", "23", "31"}));  // "ohne" and no time left out
  EXPECT_EQ(nummern(schreiben(2)), (QStringList{"17", "23", "31", "44"}));
  EXPECT_EQ(nummern(schreiben(3)), (QStringList{"17", "23", "31", "44", ""}));
  EXPECT_EQ(nummern(schreiben(7)), (QStringList{"17", "23", "31", "44"}));

  s.tabelle.setAuswahl({4, 2});
  EXPECT_EQ(nummern(schreiben(4)), (QStringList{"23", "44"}));
  EXPECT_EQ(s.tabelle.feld(2, S_checkdruck), QStringLiteral("Wahr"));
  EXPECT_EQ(s.tabelle.feld(1, S_checkdruck), QStringLiteral("Falsch"));

  // Places 1-3 of the classes the main runs list: sorted by route, class and
  // time, and the heading says so.
  s.einst.txtHauptlauf[1] = QStringLiteral("10km");
  s.einst.hauptlaufAk[1] = {{QStringLiteral("M50"), true}, {QStringLiteral("W35"), false}};
  const QByteArray fuenf = schreiben(5);
  EXPECT_EQ(nummern(fuenf), (QStringList{"17", "23"}));
  EXPECT_EQ(s.sortierung, QStringLiteral("Strecke-AK-Zeit"));
  EXPECT_TRUE(fuenf.contains("sortiert nach Strecke-AK-Zeit")) << fuenf.constData();
  QStringList ordnung;
  for (int z = 1; z <= s.tabelle.anzahl(); ++z) ordnung << s.tabelle.feld(z, S_startnummer);
  EXPECT_EQ(ordnung, (QStringList{"17", "23", "44", "31", ""}));
  EXPECT_EQ(s.tabelle.feld(1, S_checkdruck), QStringLiteral("Wahr"));
  EXPECT_EQ(s.tabelle.feld(4, S_checkdruck), QStringLiteral("Falsch"));

  // The walkers, by time, under a title of their own and without the mark.
  zeile(s, QStringLiteral("startnummer=50;strecke=10/m;namevorname=Geher, Karl (Walker);jahr=1950;zeit=1:02:03.4;"
                          "walker=Wahr;nurstrecke=10"));
  zeile(s, QStringLiteral("startnummer=51;strecke=10/m;namevorname=Schreiter, Otto (Walker);jahr=1951;"
                          "zeit=1:01:00.0;walker=Wahr;nurstrecke=10"));
  const QByteArray walker = schreiben(8);
  EXPECT_EQ(nummern(walker), (QStringList{"51", "50"}));
  EXPECT_EQ(s.sortierung, QStringLiteral("Walker"));
  EXPECT_TRUE(walker.contains("Lauf am See: Walker-Ergebnisliste vom 5. Juli")) << walker.left(600).constData();
  EXPECT_TRUE(walker.contains("\\b0 Geher, Karl\\cell }"));
  EXPECT_FALSE(walker.contains("(Walker)"));
}

TEST_F(Liste, HeadingIsFilledWithEscapedTextsAndRowsFollowTheLastParGroup) {
  const QByteArray rtf = schreiben(1);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
  EXPECT_TRUE(rtf.contains("Lauf am See: Ergebnisliste vom 5. Juli\\par }}\r\n"));
  EXPECT_TRUE(rtf.contains("TV \\{Alt\\}|Cup|www.tv-alt.de|info@tv-alt.de|sortiert nach Strecke(m/w)-AK-Zeit\\par }}\r\n"
                           "\\trowd "));
  EXPECT_TRUE(rtf.endsWith("\\row }\r\n\r\n}\r\n\r\n"));
  EXPECT_FALSE(rtf.contains("RTFtxt"));
  // Without "\par }}" the rows go before the closing brace, never before "{\rtf1". A name split
  // into runs is found; one nobody knows is told.
  schreibeDatei(vorlage, "{\\rtf1\\ansi{\\fonttbl{\\f1 Arial Narrow;}}{\\colortbl;}\\pard Kopf RTFtxt{\\b Cup} RTFtxtOrt\\par}");
  u.bediener.leeren();
  const QByteArray ohne = schreiben(1);
  EXPECT_TRUE(ohne.startsWith("{\\rtf1\\ansi{\\fonttbl{\\f1 Arial Narrow;}}{\\colortbl;\\red230\\green230\\blue230;}"
                              "\\pard Kopf Cup{\\b } RTFtxtOrt\\par\r\n\\trowd "))
      << ohne.left(200).constData();
  EXPECT_EQ(u.bediener.meldungen(), QStringList{"[Zieltafel] Platzhalter RTFtxtOrt nicht ersetzt (Vorlage der Ergebnisliste \"" +
                                                QDir::toNativeSeparators(vorlage) +
                                                "\"). Diese Namen kennt Zieltafel nicht.   "});
  EXPECT_TRUE(ohne.endsWith("\\row }\r\n}\r\n"));
  EXPECT_TRUE(ohne.contains("\\clcbpat1\\clvertalc"));
}

TEST_F(Liste, RegistrationListHasItsTitleAndLeavesTheTableInNameOrder) {
  QString ziel = u.pfad(QStringLiteral("anmeldung.rtf"));
  a.OptErgebnisliste = 2;
  ASSERT_TRUE(Anmeldeliste(s, ziel));
  const QByteArray rtf = leseDatei(ziel);
  EXPECT_TRUE(rtf.contains("Lauf am See: Online-Anmeldung Stand 04.12.2026\\par }}")) << rtf.left(400).constData();
  EXPECT_TRUE(rtf.contains("sortiert nach Startnummer\\par }}"));
  EXPECT_EQ(nummern(rtf), (QStringList{"17", "23", "31", "44"}));
  EXPECT_EQ(s.sortierung, QStringLiteral("Name"));
  EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), QStringLiteral("sortiert nach Name  "));
  EXPECT_EQ(s.tabelle.feld(1, S_namevorname), QStringLiteral("Groß, Łukasz"));
  EXPECT_FALSE(a.anmeldelisteflag);
  // The next result list has its own title again.
  EXPECT_TRUE(schreiben(1).contains("Ergebnisliste vom 5. Juli"));
}

TEST_F(Liste, FileNameIsSafe) {
  for (const auto& [lauf, datei] : std::vector<std::pair<QString, QString>>{
           {"Lauf am See", "Lauf_am_See.rtf"}, {"34.Seewalder Parklauf", "34.Seewalder_Parklauf.rtf"},
           {"Lauf am See / 2026: ..Finale", "Lauf_am_See___2026___Finale.rtf"}, {"../../etc/passwd", "____etc_passwd.rtf"},
           {"  ", "Ergebnisliste.rtf"}}) {
    s.einst.txtNameLauf = lauf;
    EXPECT_EQ(ErgebnislisteDatei(s), s.arbeitsdatei(datei));
  }
}

TEST_F(Liste, BadTemplatesAndFoldersAreToldAndWriteNothing) {
  const QString ziel = ErgebnislisteDatei(s);
  const auto versuch = [&] {
    u.bediener.leeren();
    u.system.aufrufe.clear();
    const QString datei = CreateResultList(s);
    EXPECT_TRUE(datei.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ziel));
    EXPECT_TRUE(u.system.aufrufe.isEmpty()) << u.system.aufrufe.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(u.bediener.gesperrt, 0);
    return u.bediener.meldungen();
  };
  QFile::remove(vorlage);
  const QString v = QDir::toNativeSeparators(vorlage);
  EXPECT_EQ(versuch(), QStringList{"[Zieltafel] Die Vorlage der Ergebnisliste \"" + v + "\" wurde nicht gefunden.   "});
  schreibeDatei(vorlage, " \r\n");
  EXPECT_EQ(versuch(), QStringList{"[Zieltafel] Die Vorlage der Ergebnisliste \"" + v + "\" ist leer.   "});
  schreibeDatei(vorlage, "Ergebnisliste RTFtxtNameLauf\r\n");
  EXPECT_EQ(versuch(), QStringList{"[Zieltafel] Die Vorlage der Ergebnisliste \"" + v + "\" ist keine RTF-Datei.   "});
  // An event file that emptied the path: the program's own template is taken.
  s.einst.txtVorlageErgebnisliste.clear();
  const QString eigene = s.programmdatei(QStringLiteral("druckvorlage/VorlageErgebnisliste.rtf"));
  EXPECT_EQ(versuch(), QStringList{"[Zieltafel] Die Vorlage der Ergebnisliste \"" + QDir::toNativeSeparators(eigene) +
                                   "\" wurde nicht gefunden.   "});
  EXPECT_EQ(s.einst.txtVorlageErgebnisliste, eigene);

  // A template without any placeholder is fine: it just has nothing to fill.
  schreibeDatei(vorlage, "{\\rtf1 Liste\\par }}");
  s.einst.txtVorlageErgebnisliste = vorlage;
  EXPECT_EQ(CreateResultList(s), ziel);
  EXPECT_TRUE(leseDatei(ziel).startsWith("{\\rtf1{\\colortbl;\\red230\\green230\\blue230;} Liste\\par }}\r\n\\trowd "));
  QFile::remove(ziel);

  // A folder nobody can make (it would lie under a file): named in the message.
  schreibeDatei(vorlage, kVorlage);
  s.pfade.arbeitsordner = schreibeDatei(u.pfad(QStringLiteral("datei")), "x") + QStringLiteral("/zieltafel");
  const QStringList proc = versuch();
  ASSERT_EQ(proc.size(), 1);
  EXPECT_TRUE(proc[0].startsWith("[Zieltafel] Die Ergebnisliste kann nicht im Ordner \"" + nativ(s.pfade.arbeitsordner) +
                                 "\" gespeichert werden.\n"))
      << proc[0].toStdString();

  // The list never overwrites its own template.
  s.pfade.arbeitsordner = u.pfad(QStringLiteral("arbeit"));
  s.einst.txtVorlageErgebnisliste = ziel;
  schreibeDatei(ziel, kVorlage);
  u.bediener.leeren();
  EXPECT_TRUE(CreateResultList(s).isEmpty());
  EXPECT_EQ(leseDatei(ziel), kVorlage);
  EXPECT_EQ(u.bediener.meldungen().size(), 1);

  // No row for the mode: told, nothing written.
  s.einst.txtVorlageErgebnisliste = vorlage;
  QFile::remove(ziel);
  a.OptErgebnisliste = 8;
  EXPECT_EQ(versuch(),
            QStringList{"[Zieltafel] Für die Auswahl \"nur Walker\" gibt es keine Zeile; es wurde keine Liste erstellt.   "});
  // An empty table does nothing at all.
  s.tabelle.alleLoeschen();
  EXPECT_TRUE(versuch().isEmpty());
}

TEST_F(Liste, PrintingHandsACopyToTheChosenPrinterAndTellsWhatWentWrong) {
  u.system.druckerliste = {QStringLiteral("Standard"), QStringLiteral("Farbe")};
  s.druckerErgebnisliste = QStringLiteral("Farbe");
  const QString ziel = ErgebnislisteDatei(s);
  ErgebnislisteDrucken(s);
  EXPECT_FALSE(a.druckflag);
  ASSERT_EQ(u.system.druckauftraege.size(), 1u);
  const TestSystem::Druckauftrag auftrag = u.system.druckauftraege[0];
  EXPECT_EQ(auftrag.drucker, QStringLiteral("Farbe"));
  EXPECT_NE(auftrag.datei, ziel);  // a job file of its own: the next list may overwrite the list at once
  EXPECT_EQ(auftrag.inhalt, leseDatei(ziel));
  EXPECT_EQ(a.laufendeDrucke, 1);
  EXPECT_EQ(u.bediener.statusfelder.value(StatusFortschritt), QStringLiteral("Ergebnisliste an \"Farbe\" übergeben  "));
  u.system.druckauftraegeAusfuehren();
  EXPECT_FALSE(QFileInfo::exists(auftrag.datei));
  EXPECT_EQ(a.laufendeDrucke, 0);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());

  // No printer picked: the system's default printer.
  s.druckerErgebnisliste.clear();
  ErgebnislisteDrucken(s);
  ASSERT_EQ(u.system.druckauftraege.size(), 1u);
  EXPECT_EQ(u.system.druckauftraege[0].drucker, QStringLiteral("Standard"));
  // The printer failed later: told, and the list is still there.
  u.system.druckauftraegeAusfuehren(QStringLiteral("Papierstau"));
  const QString liegt = QStringLiteral("\n\nDie Datei liegt unter \"") + QDir::toNativeSeparators(ziel) + "\".";
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{"[Zieltafel] Die Ergebnisliste wurde nicht auf \"Standard\" gedruckt:\nPapierstau" + liegt});
  EXPECT_TRUE(QFileInfo::exists(ziel));

  // A printer that cannot take the job (gone, or no LibreOffice): nothing handed over.
  u.bediener.leeren();
  s.druckerErgebnisliste = QStringLiteral("Weg");
  ErgebnislisteDrucken(s);
  EXPECT_TRUE(u.system.druckauftraege.empty());
  EXPECT_EQ(u.bediener.meldungen(), QStringList{"[Zieltafel] Die Ergebnisliste wurde nicht auf \"Weg\" gedruckt:\n"
                                                "Den Drucker \"Weg\" gibt es auf diesem Rechner nicht." + liegt});
  EXPECT_TRUE(QFileInfo::exists(ziel));
  EXPECT_EQ(u.bediener.gesperrt, 0);

  // Without a word processor the desktop opens list and template (the word
  // processor opening them is the window's test).
  s.einst.txtWinWord.clear();
  u.system.aufrufe.clear();
  EXPECT_EQ(CreateResultList(s), ziel);
  EXPECT_TRUE(ErgebnislisteVorlageBearbeiten(s));
  EXPECT_EQ(u.system.aufrufe, (QStringList{"anzeigen " + ziel, "anzeigen " + vorlage}));
}

TEST(GrosseListe, TenThousandRowsArriveInOrderWithProgress) {
  Umgebung u;
  Sitzung& s = u.s();
  s.einst.txtVorlageErgebnisliste = QStringLiteral(ZT_SHARE_DIR "/druckvorlage/VorlageErgebnisliste.rtf");
  for (int i = 1; i <= 10000; ++i)
    zeile(s, QStringLiteral("startnummer=%1;strecke=10/m;namevorname=Läufer %1, Jörg;zeit=1:%2:00.0;platz=%1")
                 .arg(i)
                 .arg((i - 1) % 60, 2, 10, QLatin1Char('0')));
  Ausgabe::von(s).OptErgebnisliste = 3;
  const QString ziel = u.pfad(QStringLiteral("gross.rtf"));
  ASSERT_TRUE(ErgebnislisteSchreiben(s, ziel));
  const QByteArray rtf = leseDatei(ziel);
  const QByteArray vorlage = leseDatei(s.einst.txtVorlageErgebnisliste);
  EXPECT_EQ(rtf.count("\\row }"), 10000 + vorlage.count("\\row }"));
  EXPECT_LT(rtf.indexOf("L\\'e4ufer 9999, J\\'f6rg"), rtf.indexOf("L\\'e4ufer 10000, J\\'f6rg"));
  EXPECT_LT(rtf.indexOf("L\\'e4ufer 1, J\\'f6rg"), rtf.indexOf("L\\'e4ufer 2, J\\'f6rg"));
  QStringList fortschritt;
  for (const Aufruf& a : u.bediener.protokoll)
    if (a.feld == StatusFortschritt && a.text.endsWith(QLatin1String("% gedruckt  "))) fortschritt << a.text;
  EXPECT_EQ(fortschritt.size(), 11);  // 0 % ... 100 %, each once
  EXPECT_EQ(fortschritt.last(), QStringLiteral("100% gedruckt  "));
  EXPECT_EQ(QString::fromUtf8(HtmlBerichtText(s)).count(QStringLiteral("<tr>")), 10001);  // with the caption row
}
