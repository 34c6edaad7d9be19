#include "checks/Datenpruefung.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

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
  int zeile(const QString& sn, const QString& strecke, const QString& name, const QString& jahr = u"1980"_s,
            const QString& zeit = {}) {
    return t.zeileHinzufuegen(u"\t\t%1\t%2\t%3\t%4\t\t%5"_s.arg(sn, strecke, name, jahr, zeit));
  }
  // The whole table after a check: name, number, findings, red or not.
  QStringList befunde() const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i)
      l << QStringList{t.feld(i, S_namevorname), t.feld(i, S_startnummer), t.feld(i, S_fehler),
                       t.textfarbe(i) == kRot ? "rot" : ""}
               .join(u" | "_s);
    return l;
  }
  QString fehler(const QString& name) const { return t.feld(t.finden(S_namevorname, name), S_fehler); }
};
}  // namespace

TEST_F(Datenpruefung, CleanRowsLoseOldMarkersAndAnEmptyTableIsCongratulated) {
  EXPECT_EQ(CheckAllData(s), 0);
  EXPECT_EQ(b.meldungen(), QStringList{u"[Zieltafel] Glückwunsch! Es wurden keine Fehler gefunden!"_s});
  EXPECT_EQ(b.statusfelder.value(StatusSortierung), u"sortiert nach Startnummer  "_s);
  zeile("212", "10/m", "Abel, Hans");
  zeile("3", "5/w", "Berg, Anna");
  t.setFeld(1, S_fehler, u"?AK"_s);
  t.setTextfarbe(1, kRot);
  t.setHintergrund(2, kSiegerFarbe);
  EXPECT_EQ(CheckAllData(s), 0);
  EXPECT_EQ(befunde(), (QStringList{"Berg, Anna | 3 |  | ", "Abel, Hans | 212 |  | "}));
  for (int i : {1, 2}) EXPECT_EQ(std::pair(t.textfarbe(i), t.hintergrund(i)), std::pair(kKeineFarbe, kKeineFarbe));
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
  s.einst.txtHauptlauf[2] = u"3km"_s;
  s.einst.txtHauptlaufFestVonStartnummer[2] = u"600"_s;
  zeile("999", "3/w", "I, Eva");
  EXPECT_EQ(CheckAllData(s), 8);
  // 3km has no last number: nothing to compare with. Rows without findings
  // first, then by number; the findings numbered in the order found, phase
  // by phase.
  EXPECT_EQ(befunde(), (QStringList{"I, Eva | 999 |  | ", "H, Eva |  |  | ",
                                    "G, Anna | 250 | Startnummer zu Strecke 0001 | rot",
                                    "F, Kai | 12a | fehlerhafte Startnummer 0002 | rot",
                                    "D, Otto | 7 | fehlerhafte Startnummer 0003 | rot",
                                    "E, Otto | 7 | fehlerhafte Startnummer 0004 | rot",
                                    "A, Hans | 212 | fehlerhafte Startnummer 0005 | rot",
                                    "B, Hans | 212 | fehlerhafte Startnummer 0006, fehlerhafte Startnummer 0007 | rot",
                                    "C, Hans | 212 | fehlerhafte Startnummer 0008 | rot"}));
  // Every phase shows its name with 0 % first, in this order.
  QStringList anfaenge;
  for (const test::Aufruf& a : b.protokoll)
    if (a.art == "status"_L1 && a.feld == StatusFortschritt && a.text.contains(" 0%"_L1)) anfaenge << a.text;
  EXPECT_EQ(anfaenge, (QStringList{"Fehlerbeschreibung : 0% gelöscht  ", "Fehler Vorname : 0% gelöscht  ",
                                   "Startnummer-Strecke: 0% geprüft  ", "Startnummern: 0% geprüft  ",
                                   "Namen: 0% geprüft  ", "Zeiten: 0% geprüft  ", "Typ: 0% geprüft  "}));
}

TEST_F(Datenpruefung, NamesTimesAndYears) {
  const char* const zeilen[][5] = {
      {"1", "5/m", "Gleich, Hans", "1980", "0:20:00.0"}, {"2", "5/m", "Gleich,, Hans", "1980", "0:20:00.0"},
      {"3", "5/m", "Ohne, Otto", "1980", "ohne"},        {"4", "5/m", "Auch, Otto", "1980", "ohne"},
      {"5", "5/m", "Lang, Kai", "1980", "0:61:10.0"},    {"7", "5/m", "Doppel, Kai", "1980", "00:45:12"},
      {"8", "5/w", "Alt, Anna", "01.05.1899", ""},       {"9", "5/w", "Jung, Anna", "2025", ""},
      {"10", "5/w", "Ohnevorname", "1980", ""},          {"11", "5/w", "", "", ""}};
  for (const auto& [sn, strecke, name, jahr, zeit] : zeilen) zeile(sn, strecke, name, jahr, zeit);
  CheckAllData(s);
  // ",," became ",": the same name and time twice; two "ohne" are no identical
  // times, each "ohne Zeitangabe " with a blank after its number; the empty row
  // gets its findings and the check goes on past it. In the order "fehler" sorts.
  EXPECT_EQ(befunde(), (QStringList{"Doppel, Kai | 7 |  | ", "Alt, Anna | 8 | Jahrgang nicht definiert 0008 | rot",
                                    "Jung, Anna | 9 | Jahrgang nicht definiert 0009 | rot",
                                    " | 11 | Jahrgang nicht definiert 0010, Name ohne Vorname?0012 | rot",
                                    "Ohnevorname | 10 | Name ohne Vorname?0011 | rot",
                                    "Lang, Kai | 5 | Zeitangabe > 59 min,sec0005 | rot",
                                    "Gleich, Hans | 1 | identischer Name 0001, identische Zeitangabe 0003 | rot",
                                    "Gleich, Hans | 2 | identischer Name 0002, identische Zeitangabe 0004 | rot",
                                    "Auch, Otto | 4 | ohne Zeitangabe 0006  | rot",
                                    "Ohne, Otto | 3 | ohne Zeitangabe 0007  | rot"}));
}

TEST_F(Datenpruefung, FirstNamesAreLookedUpAskedForAndStored) {
  zeile("1", "5/m", "Müller, Hans (Walker)");  // a walker is looked up as Hans
  zeile("2", "5/w", "Kaiser, Kai");            // Kai is stored as "m"
  zeile("3", "5/m", "Neu, Bruno");
  zeile("4", "5/m", "Nochmal, Bruno");  // a No is not asked again
  zeile("5", "5/w", "Neu, Clara");
  zeile("6", "5/w", "Neu, Doris");
  zeile("7", "5/w", "Neu, Emma");
  zeile("8", "10km", "Ohne, Geschlecht");  // "10km" names no sex: not looked up
  b.antworten = {Antwort::Nein, Antwort::Ja, Antwort::Ja};
  b.haken = {false, false, true};
  CheckAllData(s);
  EXPECT_TRUE(fehler(u"Müller, Hans (Walker)"_s).isEmpty());
  EXPECT_TRUE(fehler(u"Kaiser, Kai"_s).startsWith("Vorname passt nicht zum Geschlecht in Anmeldung 00"_L1));
  QStringList fragen;
  for (const test::Aufruf& a : b.protokoll)
    if (a.art == "haken"_L1) fragen << a.titel + u": "_s + a.text;
  EXPECT_EQ(b.hakenText, u"Meldungen Speichern überspringen?"_s);
  // Sorted by name: Neu, Bruno (No), Neu, Clara (Yes), Neu, Doris (Yes and
  // ticked), then Neu, Emma without a question; Nochmal, Bruno not again.
  ASSERT_EQ(fragen.size(), 3);
  const char* const anfaenge[] = {"Zuordnung Vornamen: AK: m, Vorname: Bruno, ",
                                  "Zuordnung Vornamen: AK: w, Vorname: Clara, Name: Neu, Clara,Zeile: ",
                                  "Zuordnung Vornamen: AK: w, Vorname: Doris, "};
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(fragen[i].startsWith(QLatin1String(anfaenge[i]))) << fragen[i].toStdString();
  QStringList gespeichert;
  for (const Vorname& v : s.vornamen.eintraege) gespeichert << v.typ + u'\t' + v.vorname;
  EXPECT_FALSE(gespeichert.contains(u"m\tBruno"_s));
  for (const char* n : {"w\tClara", "w\tDoris", "w\tEmma"}) EXPECT_TRUE(gespeichert.contains(QLatin1String(n))) << n;
  // The entry that contradicts a registration is marked and sorted last.
  EXPECT_EQ(s.vornamen.eintraege.last().vorname + u'|' + s.vornamen.eintraege.last().fehler,
            u"Kai|Vorname passt nicht zum Geschlecht in Anmeldung"_s);

  // The next run starts from a clean first-name list, and asked for the
  // box, stores without a question.
  b.leeren();
  t.setFeld(t.finden(S_namevorname, u"Kaiser, Kai"_s), S_strecke, u"5/m"_s);
  Datenpruefungsoptionen o;
  o.vornamenOhneFrageSpeichern = true;
  CheckAllData(s, o);
  for (const Vorname& v : s.vornamen.eintraege) EXPECT_TRUE(v.fehler.isEmpty()) << v.vorname.toStdString();
  for (const test::Aufruf& a : b.protokoll) EXPECT_NE(a.art, u"haken"_s);
  EXPECT_TRUE(std::any_of(s.vornamen.eintraege.begin(), s.vornamen.eintraege.end(),
                          [](const Vorname& v) { return v.vorname == "Bruno"_L1; }));
}

// A hundred thousand rows, two findings each: the counter goes on past 9999
// with as many digits as it needs.
TEST_F(Datenpruefung, AHundredThousandRowsAndACounterPast9999) {
  std::vector<Teilnehmerzeile> zeilen(100000);
  for (size_t i = 0; i < zeilen.size(); ++i) {
    zeilen[i].setFeld(S_startnummer, QString::number(i % 199 + 1) + u'a');
    zeilen[i].setFeld(S_strecke, i % 2 ? u"5/m"_s : u"7/w"_s);
    zeilen[i].setFeld(S_namevorname, u"N%1, %2"_s.arg(i).arg(i % 2 ? "Hans" : "Eva"));
    zeilen[i].setFeld(S_jahr, u"1800"_s);
  }
  t.ersetzen(std::move(zeilen));
  EXPECT_EQ(CheckAllData(s), 200000);
  EXPECT_EQ(t.anzahl(), 100000);
  int mitBefund = 0;
  bool letzter = false, vierstellig = false;
  for (int i = 1; i <= t.anzahl(); ++i) {
    const QString& f = t.zeile(i).feld(S_fehler);
    mitBefund += f.startsWith("fehlerhafte Startnummer "_L1) && f.contains(", Jahrgang nicht definiert "_L1);
    letzter = letzter || f.endsWith(", Jahrgang nicht definiert 200000"_L1);
    vierstellig = vierstellig || f.startsWith("fehlerhafte Startnummer 0007, "_L1);
  }
  EXPECT_EQ(mitBefund, 100000);
  EXPECT_TRUE(letzter);
  EXPECT_TRUE(vierstellig);
}
