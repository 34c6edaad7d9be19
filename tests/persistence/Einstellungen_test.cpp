#include "core/Textdatei.h"
#include "event/Altersklassen.h"
#include "persistence/Einstellungsdatei.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
// Every setting holds a value of its own; every switch is on.
Einstellungen alleGesetzt() {
  Einstellungen e;
  for (const auto& [feld, wert] : std::initializer_list<std::pair<QString Einstellungen::*, const char*>>{
           {&Einstellungen::txtNameLauf, "Stadtlauf Über"}, {&Einstellungen::txtLaufAm, "1.5.2026"},
           {&Einstellungen::txtVerein, "LG Nord"}, {&Einstellungen::txtVereinEmail, "info@lg.de"},
           {&Einstellungen::txtVereinInternet, "www.lg.de"}, {&Einstellungen::txtCup, "Cup"},
           {&Einstellungen::txtVorlageErgebnisliste, "/v/e.rtf"}, {&Einstellungen::txtVorlageUrkunde, "/v/u.rtf"},
           {&Einstellungen::txtVorlageUrkundeGesamtsieger, "/v/g.rtf"}, {&Einstellungen::txtOptionen, "/p/Zieltafel.ini"},
           {&Einstellungen::txtWinWord, "/usr/bin/soffice"}, {&Einstellungen::txtTextpad, "/usr/bin/gedit"},
           {&Einstellungen::txtZeitnahmeDatei, "/t/lauf.erg"}, {&Einstellungen::txtZeitnahmeLWSicherung, "/media/stick"}})
    e.*feld = QString::fromUtf8(wert);
  for (int* s : {&e.CheckUpdateSpeichern, &e.CheckAddNewSpeichern, &e.CheckNoHighlight,
                 &e.CheckLoescheTextfeldSucheNamen, &e.CheckDateiGeladenUeberschreiben,
                 &e.CheckAutomSpeichernDatenbank, &e.CheckFarbeDatenzeile, &e.CheckUrkundeDrucken,
                 &e.CheckUrkundeDruckenPruefung, &e.CheckPruefungAK, &e.CheckPruefungMWzuordnen})
    *s = 1;
  e.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
  e.txtHauptlaufFestVonStartnummer = {QStringLiteral("1"), QStringLiteral("200"), QString(), QString()};
  e.txtHauptlaufBisStartnummer = {QStringLiteral("199"), QStringLiteral("499"), QString(), QString()};
  e.txtHauptlaufVonStartnummer = {QStringLiteral("3"), QString(), QString(), QString()};
  e.hauptlaufAk[0] = {{QStringLiteral("M20"), true}, {QStringLiteral("W20"), false}};
  e.hauptlaufAk[1] = {{QStringLiteral("M30"), true}};
  e.txtDefGlobalAK = QStringLiteral("06-09_06/09;\r\n10-11_10/11");
  return e;
}

// The lists as start-up fills them from "Altersklassen.ini": nothing selected.
void listenLeeren(Einstellungen& e) {
  e.hauptlaufAk[0] = {{QStringLiteral("M20"), false}, {QStringLiteral("W20"), true}};
  e.hauptlaufAk[1] = {{QStringLiteral("M30"), false}, {QStringLiteral("M35"), false}};
}

QString beschaedigt(const QString& pfad) {
  return QStringLiteral("[Zieltafel] Die Datei ") + pfad + QStringLiteral(" ist beschädigt!   ");
}

QString kopf(const QString& zeilen) { return QStringLiteral("#Vorgaben Zieltafel#aus#\n") + zeilen; }
}  // namespace

TEST(Einstellungen, WrittenFileHasTheExactLayoutAndEverySettingReadsBack) {
  Umgebung u;
  const QString optionen = u.s().optionsdatei();
  const Einstellungen vorher = alleGesetzt();
  u.s().einst = vorher;
  ASSERT_TRUE(WriteSettings(u.s(), optionen, QStringLiteral("/p/Stadtlauf.ini"), QString()).isEmpty());
  // Kept as UTF-8 with LF in the repository; the file itself is Windows-1252 with CR LF.
  const QString golden = QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/persistence/einstellungen.ini.txt")));
  ASSERT_FALSE(golden.isEmpty());
  const QByteArray datei = test::leseDatei(optionen);
  EXPECT_EQ(datei, test::cp1252(golden));
  EXPECT_TRUE(datei.contains("txtNameLauf=Stadtlauf \xDC" "ber\r\n"));

  u.s().einst = Einstellungen();
  listenLeeren(u.s().einst);
  EXPECT_EQ(ReadSettings(u.s(), optionen), Leseresultat::Gelesen);
  const Einstellungen& e = u.s().einst;
  // Reading the own options file asks nothing.
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(e.txtDefGlobalAK, QStringLiteral("06-09_06/09;10-11_10/11"));
  // Everything else, switches, lists and the editor (no ".txt" handler) included,
  // compares through the written form.
  Einstellungen vergleich = vorher;
  vergleich.txtDefGlobalAK = e.txtDefGlobalAK;
  vergleich.hauptlaufAk[1].append({QStringLiteral("M35"), false});
  EXPECT_EQ(EinstellungenText(e, QString()), EinstellungenText(vergleich, QString()));
}

TEST(Einstellungen, DamagedHeaderAppliesNothing) {
  Umgebung u;
  u.system.programme[QStringLiteral(".txt")] = QStringLiteral("/usr/bin/mousepad");
  const QString gut = test::schreibeDatei(u.pfad(QStringLiteral("gut.ini")),
                                          test::cp1252(kopf(QStringLiteral("txtNameLauf=Erster Lauf\n"))));
  ASSERT_EQ(ReadSettings(u.s(), gut), Leseresultat::Gelesen);
  u.s().einst.txtTextpad = QStringLiteral("/mein/editor");
  u.s().einst.hauptlaufAkAktuell = {2, 2, 2};
  u.bediener.leeren();
  const QString kaputt = test::schreibeDatei(
      u.pfad(QStringLiteral("kaputt.ini")),
      test::cp1252(QStringLiteral("txtNameLauf=Fremd\n#Vorgaben Zieltafel#aus#\ntxtCup=Fremd\n")));
  EXPECT_EQ(ReadSettings(u.s(), kaputt), Leseresultat::Beschaedigt);
  ASSERT_EQ(u.bediener.protokoll.size(), 1u);
  EXPECT_EQ(u.bediener.meldungen().value(0), beschaedigt(kaputt));
  EXPECT_EQ(u.bediener.protokoll[0].symbol, Symbol::Ausruf);
  EXPECT_EQ(u.bediener.protokoll[0].knoepfe, Knoepfe::Ok);
  EXPECT_EQ(u.s().einst.txtNameLauf, QStringLiteral("Erster Lauf"));
  EXPECT_TRUE(u.s().einst.txtCup.isEmpty());
  // The closing steps are skipped too.
  EXPECT_EQ(u.s().einst.txtTextpad, QStringLiteral("/mein/editor"));
  EXPECT_EQ(u.s().einst.hauptlaufAkAktuell[0], 2);

  // An empty file is damaged alike; a missing file is no error.
  const QString leer = test::schreibeDatei(u.pfad(QStringLiteral("leer.ini")), QByteArray());
  EXPECT_EQ(ReadSettings(u.s(), leer), Leseresultat::Beschaedigt);
  EXPECT_EQ(u.bediener.meldungen().value(1), beschaedigt(leer));
  u.bediener.leeren();
  EXPECT_EQ(ReadSettings(u.s(), u.pfad(QStringLiteral("fehlt.ini"))), Leseresultat::Fehlt);
  EXPECT_TRUE(u.bediener.protokoll.empty());
  EXPECT_EQ(u.s().einst.txtTextpad, QStringLiteral("/usr/bin/mousepad"));
  EXPECT_EQ(u.s().einst.hauptlaufAkAktuell[0], 0);
}

TEST(Einstellungen, ReaderTrimsTakesSecondFieldAndIgnoresUnknownLines) {
  Umgebung u;
  listenLeeren(u.s().einst);
  // Kept as UTF-8 in the repository; the reader gets Windows-1252.
  const QString pfad = test::schreibeDatei(
      u.pfad(QStringLiteral("lauf.ini")), test::cp1252(QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/persistence/leser.ini.txt")))));
  u.s().einst.CheckPruefungAK = 1;
  ASSERT_EQ(ReadSettings(u.s(), pfad), Leseresultat::Gelesen);
  const Einstellungen& e = u.s().einst;
  EXPECT_EQ(e.txtNameLauf, QStringLiteral("Stadtlauf"));
  EXPECT_EQ(e.CheckNoHighlight, 0);
  EXPECT_EQ(e.CheckFarbeDatenzeile, 0);
  EXPECT_EQ(e.CheckPruefungAK, 1);
  EXPECT_EQ(e.txtHauptlauf[2], QStringLiteral("2km"));
  // An unknown state text leaves the entry alone; "Hauptlauf 4" touches no list and no name.
  const auto gewaehlt = [&](int k) { return QList<bool>{e.hauptlaufAk[k][0].ausgewaehlt, e.hauptlaufAk[k][1].ausgewaehlt}; };
  EXPECT_EQ(gewaehlt(0), (QList<bool>{false, true}));
  EXPECT_EQ(gewaehlt(1), (QList<bool>{false, true}));
  EXPECT_TRUE(e.txtHauptlauf[3].isEmpty());
  EXPECT_EQ(e.txtDefGlobalAK, QStringLiteral("30-34_30"));
}

TEST(Einstellungen, ForeignFileNeitherRedirectsOptionsNorStartsProgramsUnasked) {
  Umgebung u;
  Einstellungen& e = u.s().einst;
  const QString optionen = e.txtOptionen;
  e.txtWinWord = QStringLiteral("/usr/bin/soffice");
  e.txtTextpad = QStringLiteral("/usr/bin/gedit");
  const QString fremd = test::schreibeDatei(
      u.pfad(QStringLiteral("usb/Fremdlauf.ini")),
      test::cp1252(kopf(QStringLiteral("txtNameLauf=Fremdlauf\ntxtOptionen=/home/x/.bashrc\n"
                                       "txtWinWord=/tmp/boese\ntxtTextpad=/tmp/editor\n"))));
  const auto frage = [&](const char* was, const char* programm) {
    return QStringLiteral("[Zieltafel] Die Einstellungsdatei ") + QDir::toNativeSeparators(fremd) + " nennt als " + was +
           " das Programm\n" + test::nativ(QString::fromUtf8(programm)) + "\n\nSoll dieses Programm übernommen werden?   ";
  };
  u.bediener.antworten = {Antwort::Nein, Antwort::Nein};
  ASSERT_EQ(ReadSettings(u.s(), fremd), Leseresultat::Gelesen);
  EXPECT_EQ(u.bediener.meldungen(), (QStringList{frage("Textverarbeitung", "/tmp/boese"), frage("Text-Editor", "/tmp/editor")}));
  EXPECT_EQ(u.bediener.protokoll[0].knoepfe, Knoepfe::JaNein);
  EXPECT_EQ(e.txtNameLauf, QStringLiteral("Fremdlauf"));
  EXPECT_EQ(e.txtOptionen, optionen);
  EXPECT_EQ(e.txtWinWord + e.txtTextpad, QStringLiteral("/usr/bin/soffice/usr/bin/gedit"));

  u.bediener.leeren();
  u.bediener.antworten = {Antwort::Ja, Antwort::Ja};
  ReadSettings(u.s(), fremd);
  EXPECT_EQ(u.bediener.meldungen().size(), 2);
  EXPECT_EQ(e.txtOptionen, optionen);
  EXPECT_EQ(e.txtWinWord + e.txtTextpad, QStringLiteral("/tmp/boese/tmp/editor"));

  // When the system names the editor anyway, the file's editor is not asked about;
  // a file that names no program keeps the working one without a question.
  u.bediener.leeren();
  u.system.programme[QStringLiteral(".txt")] = QStringLiteral("/usr/bin/mousepad");
  test::schreibeDatei(fremd, test::cp1252(kopf(QStringLiteral("txtWinWord=\ntxtTextpad=/tmp/editor2\n"))));
  ReadSettings(u.s(), fremd);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(e.txtWinWord + e.txtTextpad, QStringLiteral("/tmp/boese/usr/bin/mousepad"));

  // The own options file is trusted with programs, may move itself, but cannot empty its path.
  test::schreibeDatei(optionen, test::cp1252(kopf(QStringLiteral("txtOptionen=\ntxtWinWord=/opt/lo/soffice\n"))));
  ReadSettings(u.s(), optionen);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(e.txtOptionen, optionen);
  EXPECT_EQ(e.txtWinWord, QStringLiteral("/opt/lo/soffice"));
  // A line break typed into a value cannot forge a key there.
  e.txtNameLauf = QStringLiteral("Lauf\r\ntxtOptionen=/boese.ini");
  ASSERT_TRUE(WriteSettings(u.s(), optionen, QString(), QString()).isEmpty());
  ReadSettings(u.s(), optionen);
  EXPECT_EQ(e.txtOptionen, optionen);
  EXPECT_EQ(e.txtNameLauf, QStringLiteral("Lauf txtOptionen"));
  const QString anderswo = u.pfad(QStringLiteral("anderswo/Optionen.ini"));
  test::schreibeDatei(optionen, test::cp1252(kopf(QStringLiteral("txtOptionen=") + anderswo + QLatin1Char('\n'))));
  ReadSettings(u.s(), optionen);
  EXPECT_EQ(e.txtOptionen, anderswo);
}

TEST(Einstellungen, WriterAlsoWritesTheFirstNameListAndSkipsAnEmptyTarget) {
  Umgebung u;
  u.s().vornamen.eintraege = {{QStringLiteral("w"), QStringLiteral("Jürgen"), QString()}};
  const QString liste = u.pfad(QStringLiteral("Lauf.vorname"));
  EXPECT_TRUE(WriteSettings(u.s(), QString(), QString(), liste).isEmpty());
  EXPECT_EQ(test::leseDatei(liste), QByteArray("w;J\xFCrgen;\r\n"));
  EXPECT_EQ(QDir(u.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Lauf.vorname")});
}

// The shipped options file is EinstellungenText of these values, so that it
// stays byte for byte what the program itself writes: the defaults with the
// age classes of the "5/10km" event type selected in the shipped
// "Altersklassen.ini". Set ZT_SHARE_ERZEUGEN=1 to write it anew after a
// default or that list changed.
TEST(Einstellungen, ShippedOptionsFileIsWhatTheProgramWrites) {
  Einstellungen e;
  e.txtOptionen.clear();  // start-up sets it
  e.txtWinWord = QStringLiteral("/usr/bin/soffice");
  e.txtTextpad.clear();
  e.txtZeitnahmeDatei.clear();  // start-up puts it into the working folder
  e.txtDefGlobalAK = ZwanzigKlassenDefinition();
  const QByteArray liste = test::leseDatei(QStringLiteral(ZT_SHARE_DIR "/Altersklassen.ini"));
  for (const QString& zeile : TextZeilen(TextDekodieren(liste))) {
    const QString eintrag = zeile.section(QLatin1Char('='), 0, 0).remove(QLatin1Char('\t')).trimmed();
    if (eintrag.isEmpty()) continue;
    const int j = e.hauptlaufAk[0].size();
    e.hauptlaufAk[0].append({eintrag, j <= 3 || j >= 16});
    e.hauptlaufAk[1].append({eintrag, j >= 4 && j <= 15});
    e.hauptlaufAk[2].append({eintrag, false});
  }
  ASSERT_EQ(e.hauptlaufAk[0].size(), 40);
  const QString datei = QStringLiteral(ZT_SHARE_DIR "/Zieltafel.ini");
  const QByteArray erwartet = TextKodieren(EinstellungenText(e, QString()));
  if (qEnvironmentVariableIsSet("ZT_SHARE_ERZEUGEN")) {
    ASSERT_TRUE(DateiAtomarSchreiben(datei, erwartet).isEmpty());
  }
  EXPECT_EQ(test::leseDatei(datei), erwartet);
}
