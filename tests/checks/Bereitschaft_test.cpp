#include "checks/Bereitschaft.h"
#include "event/Altersklassen.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
struct Bereitschaft : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Einstellungen& e = u.s().einst;

  // An event that is ready: ranges, classes, paths, templates, printer.
  void SetUp() override {
    e.txtHauptlauf = {"5km", "10km", "", ""};
    e.txtHauptlaufFestVonStartnummer = {"1", "200", "", ""};
    e.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
    for (int k = 0; k < 3; ++k) e.hauptlaufAk[k] = {{QStringLiteral("M40"), k < 2}, {QStringLiteral("W40"), false}};
    e.txtDefGlobalAK = QStringLiteral("06-99_alle");
    BuildAgeTable(u.s());
    int nr = 0;
    for (QString* v : {&e.txtVorlageErgebnisliste, &e.txtVorlageUrkunde, &e.txtVorlageUrkundeGesamtsieger}) {
      *v = u.pfad(QStringLiteral("vorlagen/%1.rtf").arg(++nr));
      test::schreibeDatei(*v, "{\\rtf1 }");
    }
    e.txtZeitnahmeDatei = u.pfad(QStringLiteral("arbeit/lauf.erg"));
    QDir().mkpath(u.pfad(QStringLiteral("stick")));
    e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("stick"));
    u.s().druckerErgebnisliste = QStringLiteral("PDF");
    zeile("1", "5/m", "Abel, Hans", "1980");
    zeile("200", "10/w", "Berg, Anna", "14.05.1984");
  }
  int zeile(const char* sn, const char* strecke, const char* name, const char* jahr, const char* zeit = "") {
    Teilnehmerzeile z;
    z.setFeld(S_startnummer, QString::fromUtf8(sn));
    z.setFeld(S_strecke, QString::fromUtf8(strecke));
    z.setFeld(S_namevorname, QString::fromUtf8(name));
    z.setFeld(S_jahr, QString::fromUtf8(jahr));
    z.setFeld(S_zeit, QString::fromUtf8(zeit));
    return t.zeileHinzufuegen(z);
  }
  QStringList stand() {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << t.zeilentext(i) + QString::number(t.textfarbe(i));
    l << e.txtHauptlaufVonStartnummer[0] << e.txtZeitnahmeDatei << QString::number(u.s().fehlerzaehler);
    return l;
  }
};
}  // namespace

TEST_F(Bereitschaft, AReadyEventGivesNothingAndSaysSo) {
  EXPECT_EQ(BereitschaftPruefen(u.s()), QStringList());
  EXPECT_EQ(BereitZumStart(u.s()), 0);
  EXPECT_EQ(u.bediener.meldungen(),
            QStringList{QStringLiteral("[Zieltafel] Bereit zum Start: es wurde nichts gefunden, was den Lauf stören "
                                       "würde.   ")});
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte.isEmpty());
  u.bediener.leeren();
  EXPECT_EQ(BereitZumStart(u.s(), false), 0);
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
}

TEST_F(Bereitschaft, ParticipantsThatWouldGoWrong) {
  zeile("", "5/w", "Ohnenummer, Eva", "1990");
  zeile("7", "", "Ohnestrecke, Otto", "1990");
  zeile("8", "10km", "Ohnegeschlecht, Kai", "1990");
  zeile("9", "5/m", "Ohnejahr, Max", "");
  zeile("10", "5/m", "Zualt, Opa", "1850");
  zeile("12a", "5/m", "Buchstabe, Bert", "1990");
  zeile("250", "5/w", "Weit, Wanda", "1990");
  zeile("007", "5/m", "Doppelt, Dora", "1990", "0:20:00.0");
  zeile("7", "7/m", "Fremd, Fritz", "1990");
  const QStringList vorher = stand();
  const QStringList l = BereitschaftPruefen(u.s());
  EXPECT_EQ(stand(), vorher);  // nothing changed
  const QStringList erwartet{
      QStringLiteral("Zeile 3 (Ohnenummer, Eva): keine Startnummer: Startnummer vergeben."),
      QStringLiteral("Zeile 4 (Ohnestrecke, Otto): keine Strecke: Strecke eintragen."),
      QStringLiteral("Zeile 5 (Ohnegeschlecht, Kai): die Strecke \"10km\" nennt kein Geschlecht: als \"Strecke/m\" "
                     "oder \"Strecke/w\" eintragen."),
      QStringLiteral("Zeile 5 (Ohnegeschlecht, Kai): die Strecke \"10km\" gehört zu keinem Hauptlauf: Strecke "
                     "korrigieren oder den Hauptlauf anlegen."),
      QStringLiteral("Zeile 6 (Ohnejahr, Max): kein Jahrgang: Jahrgang eintragen."),
      QStringLiteral("Zeile 7 (Zualt, Opa): der Jahrgang \"1850\" ist nicht möglich: Jahrgang korrigieren."),
      QStringLiteral("Zeile 8 (Buchstabe, Bert): die Startnummer \"12a\" ist keine Zahl: Startnummer korrigieren."),
      QStringLiteral("Zeile 9 (Weit, Wanda): die Startnummer 250 liegt nicht im Bereich 1 bis 199 von Hauptlauf 1 "
                     "(5km): Startnummer oder Strecke korrigieren."),
      QStringLiteral("Zeile 11 (Fremd, Fritz): die Strecke \"7/m\" gehört zu keinem Hauptlauf: Strecke korrigieren "
                     "oder den Hauptlauf anlegen."),
      QStringLiteral("Die Startnummer 7 ist 3-mal vergeben (Zeilen 4, 10, 11): jedem Teilnehmer eine eigene "
                     "Startnummer geben."),
      QStringLiteral("1 Teilnehmer haben schon eine Zeit: vor dem Start die Spalte \"Zeit\" mit \"Spalten löschen\" "
                     "leeren, sonst ergänzt die Zeitdatei sie nicht.")};
  EXPECT_EQ(l, erwartet);

  EXPECT_EQ(BereitZumStart(u.s()), erwartet.size());
  ASSERT_EQ(u.bediener.fehlermanagerBerichte.size(), 1);
  EXPECT_TRUE(u.bediener.fehlermanagerBerichte[0].startsWith(
      QStringLiteral("Bereit zum Start? 11 Punkte zu klären:\r\nZeile 3 (Ohnenummer, Eva)")));
  EXPECT_TRUE(u.bediener.meldungen().isEmpty());
  EXPECT_EQ(u.bediener.gesperrt, 0);
}

TEST_F(Bereitschaft, MainRunsPathsTemplatesAndPrinters) {
  e.txtHauptlauf = {"5km", "10km", "3km", ""};
  e.txtHauptlaufFestVonStartnummer = {"1", "150", "400", "900"};
  e.txtHauptlaufBisStartnummer = {"199", "499", "300", "950"};
  e.hauptlaufAk[1] = {{QStringLiteral("M40"), false}};
  e.txtZeitnahmeDatei = u.pfad(QStringLiteral("fehlt/lauf.erg"));
  e.txtZeitnahmeLWSicherung = u.pfad(QStringLiteral("kein-stick"));
  e.txtVorlageUrkunde = u.pfad(QStringLiteral("weg.rtf"));
  e.txtVorlageUrkundeGesamtsieger.clear();
  u.s().druckerUrkunde = QStringLiteral("Keller");
  t.alleLoeschen();
  const QStringList l = BereitschaftPruefen(u.s());
  const QStringList erwartet{
      QStringLiteral("Hauptlauf 2 (10km) hat keine Altersklassen: Altersklassen des Hauptlaufs auf der Seite "
                     "\"Voreinstellungen\" auswählen."),
      QStringLiteral("Hauptlauf 3 (3km): die erste Startnummer 400 liegt über der letzten 300: Bereich korrigieren."),
      QStringLiteral("Hauptlauf 3 (3km) hat keine Altersklassen: Altersklassen des Hauptlaufs auf der Seite "
                     "\"Voreinstellungen\" auswählen."),
      QStringLiteral("Hauptlauf 4 hat keinen Namen, aber Startnummern 900 bis 950: Namen eintragen oder die "
                     "Startnummern leeren."),
      QStringLiteral("Die Startnummernbereiche von Hauptlauf 1 (5km) und Hauptlauf 2 (10km) überschneiden sich (150 "
                     "bis 199): Bereiche trennen."),
      QStringLiteral("Der Ordner \"%1\" der Zeitnahme-Datei fehlt: Ordner anlegen oder einen anderen Pfad eintragen.")
          .arg(QDir::toNativeSeparators(u.pfad(QStringLiteral("fehlt")))),
      QStringLiteral("Der Sicherungsordner \"%1\" ist nicht vorhanden: USB-Stick einstecken oder den Ordner "
                     "korrigieren.")
          .arg(u.pfad(QStringLiteral("kein-stick"))),
      QStringLiteral("Die Vorlage Urkunde \"%1\" ist nicht vorhanden: Vorlage auf der Seite \"sonstiges\" neu wählen.")
          .arg(u.pfad(QStringLiteral("weg.rtf"))),
      QStringLiteral("Für die Vorlage Urkunde Gesamtsieger ist keine Datei eingetragen: Vorlage auf der Seite "
                     "\"sonstiges\" wählen."),
      QStringLiteral("Der Drucker \"Keller\" für Urkunden ist nicht eingerichtet: Drucker einschalten und einrichten "
                     "oder einen anderen wählen.")};
  EXPECT_EQ(l, erwartet);

  // A relative path, a folder nobody may write to, a time file of an earlier race.
  for (const auto& [pfad, text] :
       {std::pair{QStringLiteral("lauf.erg"), QStringLiteral("kein vollständiger Pfad")},
        std::pair{QStringLiteral("/proc/lauf.erg"), QStringLiteral("kann nicht geschrieben werden")}}) {
    e.txtZeitnahmeDatei = pfad;
    const QStringList x = BereitschaftPruefen(u.s());
    EXPECT_TRUE(std::any_of(x.begin(), x.end(), [&](const QString& z) { return z.contains(text); })) << pfad.toStdString();
  }
  e.txtZeitnahmeDatei = test::schreibeDatei(u.pfad(QStringLiteral("arbeit/alt.erg")),
                                            "Einlauf;Startnummer;Zeit;Fehler;StartZeit\r\n0001;5;0:20:00,0;;10:00:00\r\n");
  const QStringList x = BereitschaftPruefen(u.s());
  EXPECT_TRUE(x.contains(QStringLiteral("Die Zeitnahme-Datei \"%1\" enthält schon 1 Einläufe: für einen neuen Lauf "
                                        "umbenennen oder einen anderen Pfad eintragen.")
                             .arg(QDir::toNativeSeparators(e.txtZeitnahmeDatei))));
  // The global definition is gone: no age class at all.
  e.txtDefGlobalAK.clear();
  BuildAgeTable(u.s());
  EXPECT_TRUE(BereitschaftPruefen(u.s()).contains(
      QStringLiteral("Es sind keine Altersklassen definiert: die globale AK-Definition auf der Seite "
                     "\"Voreinstellungen\" eintragen.")));
}
