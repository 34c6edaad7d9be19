#include "checks/Datenpruefung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {
// The recording operator, and the check box of the first-name question
// ticked or not as the script says.
class HakenBediener : public test::TestBediener {
 public:
  std::deque<bool> haken;
  QString hakenText;
  std::pair<Antwort, bool> frageMitHaken(const QString& titel, const QString& text, const QString& h) override {
    const auto a = TestBediener::frageMitHaken(titel, text, h);
    hakenText = h;
    const bool an = !haken.empty() && haken.front();
    if (!haken.empty()) haken.pop_front();
    return {a.first, an};
  }
};

struct Datenpruefung : ::testing::Test {
  HakenBediener b;
  test::TestUhr uhr;
  test::TestSystem sys;
  Sitzung s{b, uhr, sys};
  Teilnehmertabelle& t = s.tabelle;

  void SetUp() override {
    s.bezugsjahr = 2024;
    s.einst.txtHauptlauf = {"5km", "10km", "", ""};
    s.einst.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    s.einst.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    for (const char* v : {"m;Hans", "w;Anna", "m;Otto", "w;Eva", "m;Kai"})
      s.vornamen.eintraege.append({QString::fromLatin1(v, 1), QString::fromLatin1(v + 2), QString()});
  }
  int zeile(const char* sn, const char* strecke, const char* name, const char* jahr = "1980", const char* zeit = "") {
    return t.zeileHinzufuegen(QStringLiteral("\t\t%1\t%2\t%3\t%4\t\t%5").arg(QString::fromUtf8(sn), QString::fromUtf8(strecke),
                                                                         QString::fromUtf8(name), QString::fromUtf8(jahr), QString::fromUtf8(zeit)));
  }
  int nummer(const char* name) const { return t.finden(S_namevorname, QString::fromUtf8(name)); }
  // The whole table after a check: name, number, findings, red or not.
  QStringList befunde() const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i)
      l << QStringList{t.feld(i, S_namevorname), t.feld(i, S_startnummer), t.feld(i, S_fehler), t.textfarbe(i) == kRot ? "rot" : ""}
               .join(QStringLiteral(" | "));
    return l;
  }
  QString fehler(const char* name) const { return nummer(name) ? t.feld(nummer(name), S_fehler) : "<fehlt>"; }
};
}  // namespace

TEST_F(Datenpruefung, CleanRowsLoseOldMarkersAndAnEmptyTableIsCongratulated) {
  EXPECT_EQ(CheckAllData(s), 0);
  EXPECT_EQ(b.meldungen(), QStringList{QStringLiteral("[Zieltafel] Glückwunsch! Es wurden keine Fehler gefunden!")});
  EXPECT_EQ(b.statusfelder.value(StatusSortierung), QStringLiteral("sortiert nach Startnummer  "));
  zeile("212", "10/m", "Abel, Hans");
  zeile("3", "5/w", "Berg, Anna");
  t.setFeld(1, S_fehler, QStringLiteral("?AK"));
  t.setTextfarbe(1, kRot);
  t.setHintergrund(2, kSiegerFarbe);
  EXPECT_EQ(CheckAllData(s), 0);
  EXPECT_EQ(t.feld(1, S_namevorname), QStringLiteral("Berg, Anna"));
  for (int i : {1, 2}) {
    EXPECT_TRUE(t.feld(i, S_fehler).isEmpty());
    EXPECT_EQ(t.textfarbe(i), kKeineFarbe);
    EXPECT_EQ(t.hintergrund(i), kKeineFarbe);
  }
  EXPECT_EQ(b.gesperrt, 0);
}

TEST_F(Datenpruefung, StartNumbers) {
  // Three rows with 212: the middle one is named twice; 007 is 7, so it is a
  // duplicate of 7; "12a" is reported and kept; a number outside its range
  // and a main run without a last number.
  for (const char* n : {"A, Hans", "B, Hans", "C, Hans"}) zeile("212", "10/m", n);
  zeile("007", "5/m", "D, Otto");
  zeile(" 7 ", "5/m", "E, Otto");
  zeile("12a", "5/m", "F, Kai");
  zeile("250", "5/w", "G, Anna");
  zeile("0", "5/w", "H, Eva");
  s.einst.txtHauptlauf[2] = QStringLiteral("3km");
  s.einst.txtHauptlaufFestVonStartnummer[2] = QStringLiteral("600");
  zeile("999", "3/w", "I, Eva");
  EXPECT_EQ(CheckAllData(s), 8);
  // 3km has no last number: nothing to compare with. Rows without findings first, then by number.
  EXPECT_EQ(befunde(), (QStringList{"I, Eva | 999 |  | ", "H, Eva |  |  | ", "G, Anna | 250 | Startnummer zu Strecke 0001 | rot",
                                    "F, Kai | 12a | fehlerhafte Startnummer 0002 | rot", "D, Otto | 7 | fehlerhafte Startnummer 0003 | rot",
                                    "E, Otto | 7 | fehlerhafte Startnummer 0004 | rot", "A, Hans | 212 | fehlerhafte Startnummer 0005 | rot",
                                    "B, Hans | 212 | fehlerhafte Startnummer 0006, fehlerhafte Startnummer 0007 | rot",
                                    "C, Hans | 212 | fehlerhafte Startnummer 0008 | rot"}));
}

TEST_F(Datenpruefung, NamesTimesAndYears) {
  zeile("1", "5/m", "Gleich, Hans", "1980", "0:20:00.0");
  zeile("2", "5/m", "Gleich,, Hans", "1980", "0:20:00.0");
  zeile("3", "5/m", "Ohne, Otto", "1980", "ohne");
  zeile("4", "5/m", "Auch, Otto", "1980", "ohne");
  zeile("5", "5/m", "Lang, Kai", "1980", "0:61:10.0");
  zeile("7", "5/m", "Doppel, Kai", "1980", "00:45:12");
  zeile("8", "5/w", "Alt, Anna", "01.05.1899");
  zeile("9", "5/w", "Jung, Anna", "2025");
  zeile("10", "5/w", "Ohnevorname", "1980");
  zeile("11", "5/w", "", "");
  CheckAllData(s);
  // ",," became ",": the same name and time twice; two "ohne" are no identical
  // times, each "ohne Zeitangabe " with a blank after its number; the empty row
  // gets its findings and the check goes on past it. In the order "fehler" sorts.
  EXPECT_EQ(befunde(), (QStringList{"Doppel, Kai | 7 |  | ", "Alt, Anna | 8 | Jahrgang nicht definiert 0008 | rot",
                                    "Jung, Anna | 9 | Jahrgang nicht definiert 0009 | rot",
                                    " | 11 | Jahrgang nicht definiert 0010, Name ohne Vorname?0012 | rot",
                                    "Ohnevorname | 10 | Name ohne Vorname?0011 | rot", "Lang, Kai | 5 | Zeitangabe > 59 min,sec0005 | rot",
                                    "Gleich, Hans | 1 | identischer Name 0001, identische Zeitangabe 0003 | rot",
                                    "Gleich, Hans | 2 | identischer Name 0002, identische Zeitangabe 0004 | rot",
                                    "Auch, Otto | 4 | ohne Zeitangabe 0006  | rot", "Ohne, Otto | 3 | ohne Zeitangabe 0007  | rot"}));
}

TEST_F(Datenpruefung, FindingsAreNumberedInTheOrderFound) {
  zeile("250", "5/m", "Zett, Hans", "1980", "0:20:00.0");  // phase 3
  zeile("9", "5/m", "Alpha, Hans", "1800");                // phase 6
  CheckAllData(s);
  EXPECT_EQ(fehler("Zett, Hans"), QStringLiteral("Startnummer zu Strecke 0001"));
  EXPECT_EQ(fehler("Alpha, Hans"), QStringLiteral("Jahrgang nicht definiert 0002"));
  // Every phase shows its name with 0 % first, in this order.
  QStringList anfaenge;
  for (const test::Aufruf& a : b.protokoll)
    if (a.art == QLatin1String("status") && a.feld == StatusFortschritt && a.text.contains(QLatin1String(" 0%")))
      anfaenge << a.text;
  EXPECT_EQ(anfaenge, (QStringList{"Fehlerbeschreibung : 0% gelöscht  ", "Fehler Vorname : 0% gelöscht  ",
                                   "Startnummer-Strecke: 0% geprüft  ", "Startnummern: 0% geprüft  ",
                                   "Namen: 0% geprüft  ", "Zeiten: 0% geprüft  ", "Typ: 0% geprüft  "}));
}

TEST_F(Datenpruefung, FirstNamesAreLookedUpAskedForAndStored) {
  zeile("1", "5/m", "Müller, Hans (Walker)");  // a walker is looked up as Hans
  zeile("2", "5/w", "Kaiser, Kai");            // Kai is stored as "m"
  zeile("3", "5/m", "Neu, Bruno");
  zeile("4", "5/m", "Nochmal, Bruno");         // a No is not asked again
  zeile("5", "5/w", "Neu, Clara");
  zeile("6", "5/w", "Neu, Doris");
  zeile("7", "5/w", "Neu, Emma");
  zeile("8", "10km", "Ohne, Geschlecht");      // "10km" names no sex: not looked up
  b.antworten = {Antwort::Nein, Antwort::Ja, Antwort::Ja};
  b.haken = {false, false, true};
  CheckAllData(s);
  EXPECT_TRUE(fehler("Müller, Hans (Walker)").isEmpty());
  EXPECT_TRUE(fehler("Kaiser, Kai").startsWith(QLatin1String("Vorname passt nicht zum Geschlecht in Anmeldung 00")));
  QStringList fragen;
  for (const test::Aufruf& a : b.protokoll)
    if (a.art == QLatin1String("haken")) {
      EXPECT_EQ(a.titel, QStringLiteral("Zuordnung Vornamen"));
      fragen << a.text;
    }
  EXPECT_EQ(b.hakenText, QStringLiteral("Meldungen Speichern überspringen?"));
  // Sorted by name: Neu, Bruno (No), Neu, Clara (Yes), Neu, Doris (Yes and
  // ticked), then Neu, Emma without a question; Nochmal, Bruno not again.
  ASSERT_EQ(fragen.size(), 3);
  EXPECT_TRUE(fragen[0].startsWith(QLatin1String("AK: m, Vorname: Bruno, ")));
  EXPECT_TRUE(fragen[1].startsWith(QLatin1String("AK: w, Vorname: Clara, Name: Neu, Clara,Zeile: ")));
  EXPECT_TRUE(fragen[2].startsWith(QLatin1String("AK: w, Vorname: Doris, ")));
  QStringList gespeichert;
  for (const Vorname& v : s.vornamen.eintraege) gespeichert << v.typ + QLatin1Char('\t') + v.vorname;
  EXPECT_FALSE(gespeichert.contains(QStringLiteral("m\tBruno")));
  for (const char* n : {"w\tClara", "w\tDoris", "w\tEmma"}) EXPECT_TRUE(gespeichert.contains(QString::fromLatin1(n))) << n;
  // The entry that contradicts a registration is marked and sorted last.
  EXPECT_EQ(s.vornamen.eintraege.last().vorname, QStringLiteral("Kai"));
  EXPECT_EQ(s.vornamen.eintraege.last().fehler, QStringLiteral("Vorname passt nicht zum Geschlecht in Anmeldung"));

  // The next run starts from a clean first-name list, and asked for the
  // box, stores without a question.
  b.leeren();
  t.setFeld(nummer("Kaiser, Kai"), S_strecke, QStringLiteral("5/m"));
  Datenpruefungsoptionen o;
  o.vornamenOhneFrageSpeichern = true;
  CheckAllData(s, o);
  for (const Vorname& v : s.vornamen.eintraege) EXPECT_TRUE(v.fehler.isEmpty()) << v.vorname.toStdString();
  for (const test::Aufruf& a : b.protokoll) EXPECT_NE(a.art, QStringLiteral("haken"));
  EXPECT_TRUE(std::any_of(s.vornamen.eintraege.begin(), s.vornamen.eintraege.end(),
                          [](const Vorname& v) { return v.vorname == QLatin1String("Bruno"); }));
}

// A hundred thousand rows, two findings each: the counter goes on past 9999
// with as many digits as it needs.
TEST_F(Datenpruefung, AHundredThousandRowsAndACounterPast9999) {
  std::vector<Teilnehmerzeile> zeilen(100000);
  for (size_t i = 0; i < zeilen.size(); ++i) {
    zeilen[i].setFeld(S_startnummer, QString::number(i % 199 + 1) + QStringLiteral("a"));
    zeilen[i].setFeld(S_strecke, i % 2 ? QStringLiteral("5/m") : QStringLiteral("7/w"));
    zeilen[i].setFeld(S_namevorname, QStringLiteral("N%1, %2").arg(i).arg(i % 2 ? "Hans" : "Eva"));
    zeilen[i].setFeld(S_jahr, QStringLiteral("1800"));
  }
  t.ersetzen(std::move(zeilen));
  EXPECT_EQ(CheckAllData(s), 200000);
  EXPECT_EQ(t.anzahl(), 100000);
  int mitBefund = 0;
  bool letzter = false, vierstellig = false;
  for (int i = 1; i <= t.anzahl(); ++i) {
    const QString& f = t.zeile(i).feld(S_fehler);
    mitBefund += f.startsWith(QLatin1String("fehlerhafte Startnummer ")) && f.contains(QLatin1String(", Jahrgang nicht definiert "));
    letzter = letzter || f.endsWith(QLatin1String(", Jahrgang nicht definiert 200000"));
    vierstellig = vierstellig || f.startsWith(QLatin1String("fehlerhafte Startnummer 0007, "));
  }
  EXPECT_EQ(mitBefund, 100000);
  EXPECT_TRUE(letzter);
  EXPECT_TRUE(vierstellig);
}
