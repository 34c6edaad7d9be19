// Seeded random mutations of time files through both readers, the import
// and the editor: nothing crashes or hangs, a refused file always says why,
// every line that gives nobody a time is reported, and what the editor
// writes it reads back unchanged.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <iostream>
#include <random>

#include "core/Text.h"
#include "core/Zeitwert.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitimport.h"

using namespace zt;
using namespace zt::test;
using namespace Qt::StringLiterals;

namespace {
// Says yes, shows nothing, counts what it would have shown.
class Stumm : public Bediener {
 public:
  int meldungen = 0;
  int gesperrt = 0;
  QString datei;
  Antwort meldung(const QString&, const QString& text, Symbol, Knoepfe k) override {
    EXPECT_FALSE(text.isEmpty());
    ++meldungen;
    return k == Knoepfe::Ok ? Antwort::Ok : Antwort::Ja;
  }
  std::pair<Antwort, bool> frageMitHaken(const QString&, const QString&, const QString&) override {
    return {Antwort::Ja, false};
  }
  Dateiwahl dateiOeffnen(const QString&, const QString&, const QString&, int) override { return {datei, 1}; }
  Dateiwahl dateiSpeichern(const QString&, const QString&, const QString&, int) override { return {}; }
  void status(int, const QString&) override {}
  void ereignisse() override {}
  void sperren(bool an) override { gesperrt += an ? 1 : -1; }
  void sanduhr(bool) override {}
  void zeigen(Ziel) override {}
  void einmalig(int, std::function<void()>) override {}
  void fehlermanager(const QString&) override {}
  void zeitnahmeSperre(bool) override {}
};

const char* const kBausteine[] = {
    ";", ":", ",", ".", "\r\n", "\n", "\r", "\t", " ", "0", "9", "59", "60", "61,9", "99999999999", "-1", "+",
    "ohne", "Einlauf", "Seewalder", "Einlauf;Startnummer;Zeit;Fehler;StartZeit", "\xEF\xBB\xBF", "\xC3\xBC",
    "\xFC", "\x80", "\x81", "\xC3", "0:45:12,3", "00:00:00", ";;;;;;", "::::", "007", "Einlauf eingefügt"};

QByteArray mutieren(QByteArray d, std::mt19937& rng) {
  auto zahl = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int schritte = 1 + zahl(4);
  for (int s = 0; s < schritte; ++s) {
    const int pos = zahl(static_cast<int>(d.size()) + 1);
    switch (zahl(7)) {
      case 0:
        if (!d.isEmpty()) d[std::min<qsizetype>(pos, d.size() - 1)] = static_cast<char>(rng());
        break;
      case 1: {
        const char* b = kBausteine[zahl(std::size(kBausteine))];
        d.insert(pos, b, static_cast<qsizetype>(std::strlen(b)));
        break;
      }
      case 2:
        d.remove(pos, 1 + zahl(8));
        break;
      case 3:
        d.insert(pos, d.mid(zahl(static_cast<int>(d.size())), 1 + zahl(40)));
        break;
      case 4:
        d.truncate(pos);
        break;
      case 5: {
        QList<QByteArray> zeilen = d.split('\n');
        if (zeilen.size() > 2) {
          std::swap(zeilen[zahl(static_cast<int>(zeilen.size()))], zeilen[zahl(static_cast<int>(zeilen.size()))]);
          d = zeilen.join('\n');
        }
        break;
      }
      default:
        if (!d.isEmpty()) d[std::min<qsizetype>(pos, d.size() - 1)] = ";:,. \r\n0123456789"[zahl(17)];
        break;
    }
  }
  if (zahl(200) == 0) d.insert(zahl(static_cast<int>(d.size()) + 1), '\0');  // now and then binary
  return d;
}

std::vector<QByteArray> saat() {
  // Decimal comma and point, leading zeros, a finish inserted by hand without
  // start number, a provisional number and a second start.
  const QString daten = u"0001;1;0:30:00,0;;10:00:00\n0002;007;00:31:10.5;+0.1s SN;10:00:00\n"
                        u"0003;;0:31:10,6;Einlauf eingefügt;10:00:00\n0004;9001;0:20:00,0;2.Startzeit;10:30:00\n"_s;
  const QString kopf = ZeitdateiKopf() + u"\n"_s;
  QByteArray lf = (kopf + daten).toUtf8();
  lf.chop(1);
  return {cp1252(kopf + daten), "\xEF\xBB\xBF" + (kopf + daten).toUtf8(), lf,
          cp1252(u"34.Seewalder Parklauf\n"_s + kopf + daten)};
}

// Bytes the reader would take for UTF-8 although they were written as
// Windows-1252 ("Ã¼" written is "ü" read): the guess of the shared text
// reader, not a matter of the time-file readers.
bool mehrdeutig(const QByteArray& b) {
  if (b.startsWith("\xEF\xBB\xBF")) return false;
  bool nichtAscii = false;
  for (char c : b) nichtAscii = nichtAscii || static_cast<unsigned char>(c) >= 0x80;
  if (!nichtAscii) return false;
  QStringDecoder d(QStringDecoder::Utf8);
  const QString text = d.decode(b);  // decoding happens on conversion
  Q_UNUSED(text);
  return !d.hasError();
}

// Names the input that made a check fail (cheaper than a trace per input).
struct Zeuge {
  int n;
  const QByteArray& eingabe;
  ~Zeuge() {
    if (::testing::Test::HasFatalFailure())
      std::cout << "Eingabe " << n << ": " << eingabe.toHex().toStdString() << "\n";
  }
};

std::vector<Teilnehmerzeile> teilnehmer() {
  const char* const sn[] = {"1", "2", "5", "7", "9001", "8", "", "12"};
  const char* const zeit[] = {"", "0:41:00", "", "ohne", "", "", "", "0:50:00,0"};
  std::vector<Teilnehmerzeile> z(std::size(sn));
  for (size_t i = 0; i < z.size(); ++i) {
    z[i].setFeld(S_startnummer, QString::fromLatin1(sn[i]));
    z[i].setFeld(S_strecke, i % 2 ? u"5/w"_s : u"10/m"_s);
    z[i].setFeld(S_jahr, u"1980"_s);
    z[i].setFeld(S_zeit, QString::fromLatin1(zeit[i]));
    z[i].setFeld(S_bike_time, i % 3 ? u"0:30:00,0"_s : QString());
  }
  return z;
}
}  // namespace

TEST(ZeitdateiFuzz, HunderttausendVeraenderteDateienDurchBeideLeser) {
  constexpr int kEingaben = 100000;
  constexpr int kRuecklesen = 4;        // every 4th input is written and read back
  constexpr int kGanzeZuordnung = 20;  // every 20th input is assigned to a table
  constexpr int kUeberDateien = 250;   // every 250th input also goes through real files
  std::mt19937 rng(20261204u);
  const std::vector<QByteArray> saaten = saat();
  const std::vector<Teilnehmerzeile> basis = teilnehmer();
  QTemporaryDir dir;
  const QString pfad = dir.filePath(u"fuzz.erg"_s);
  Stumm b;
  TestUhr uhr;
  TestSystem sys;
  Sitzung s(b, uhr, sys);
  Zeiteditor editor(s);
  int abgelehnt = 0, mehrdeutige = 0, zeilen = 0, hinweise = 0, zuordnungen = 0;

  for (int n = 0; n < kEingaben; ++n) {
    const QByteArray eingabe = mutieren(saaten[n % saaten.size()], rng);
    const Zeuge zeuge{n, eingabe};
    const Zeitdateiinhalt inhalt = ZeitdateiDekodieren(eingabe, pfad);
    if (!inhalt.ok) {
      ASSERT_FALSE(inhalt.fehler.isEmpty());
      ++abgelehnt;
    }

    // The editor's reader.
    const Einlaufliste liste = ZeitdateiEintraege(inhalt.zeilen);
    ASSERT_LE(liste.size(), std::max<qsizetype>(0, inhalt.zeilen.size() - 1));
    for (const Einlaufzeile& z : liste)
      for (const QString* f : {&z.einlauf, &z.startNr, &z.zeit, &z.fehler, &z.startZeit}) {
        ASSERT_FALSE(f->contains(QLatin1Char('\t')) || f->contains(QLatin1Char('\r')));
        ASSERT_TRUE(f->isEmpty() || (!f->front().isSpace() && !f->back().isSpace()));
        if (f != &z.startZeit) {
          ASSERT_FALSE(f->contains(QLatin1Char(';')));
        }
      }
    const QByteArray geschrieben = n % kRuecklesen == 0 ? ZeitdateiDaten(liste) : QByteArray();
    if (geschrieben.isEmpty()) {
    } else if (mehrdeutig(geschrieben)) {
      ++mehrdeutige;
    } else {
      const Zeitdateiinhalt zurueck = ZeitdateiDekodieren(geschrieben, pfad);
      ASSERT_TRUE(zurueck.ok);
      ASSERT_EQ(ZeitdateiEintraege(zurueck.zeilen), liste);
    }

    // The import's reader on every input: a notice for every line whose
    // time cannot be assigned, a time text for every other.
    const std::vector<Zeitimportzeile> gelesen = ZeitimportZeilenLesen(inhalt.zeilen);
    ASSERT_LE(gelesen.size(), static_cast<size_t>(std::max<qsizetype>(0, inhalt.zeilen.size() - 1)));
    for (const Zeitimportzeile& z : gelesen) {
      if (z.zeitText.isEmpty() || !z.startnummerGueltig) {
        ASSERT_FALSE(z.hinweise.isEmpty());
      }
      if (!z.zeitText.isEmpty()) {
        ASSERT_TRUE(Zeitwert::lesen(z.zeitText).mitStunden()) << z.zeitText.toStdString();
      }
      for (const QString& h : z.hinweise) ASSERT_TRUE(h.startsWith(z.kopf()));
    }
    zeilen += static_cast<int>(gelesen.size());

    // The whole assignment on every 20th input, in every mode and target in turn.
    if (inhalt.ok && n % kGanzeZuordnung == 0) {
      const int k = n / kGanzeZuordnung;
      s.tabelle.ersetzen(std::vector<Teilnehmerzeile>(basis));
      s.duathlon = false;
      s.zeitmodus = static_cast<Sitzung::Zeitmodus>(k % 3);
      ZeitzielSetzen(s, static_cast<Sitzung::Zeitziel>((k / 3) % 3));
      s.duathlonEndzeitRunTime = (k / 9) % 2 == 0;
      const Zeitimportergebnis r = ZeitenZuordnen(s, inhalt.zeilen, pfad);
      ASSERT_TRUE(r.ausgefuehrt);
      ASSERT_EQ(r.zeilen, static_cast<int>(gelesen.size()));
      ASSERT_EQ(r.zugeordnet + r.behalten + r.abgewiesen, r.zeilen);
      ASSERT_GE(r.hinweise, r.abgewiesen);
      ASSERT_EQ(s.fehlerbericht.count(u"\r\n"_s), r.hinweise);
      ASSERT_TRUE(s.fehlerbericht.startsWith(u"--- Fehler/Hinweise von 15:30:12---"_s));
      ASSERT_EQ(s.tabelle.anzahl(), static_cast<int>(basis.size()));
      ASSERT_FALSE(s.importLaeuft);
      ASSERT_EQ(b.gesperrt, 0);
      const int spalte = s.zeitziel == Sitzung::Zeitziel::Bike ? S_bike_time
                         : s.zeitziel == Sitzung::Zeitziel::Run ? S_run_time
                                                                : S_zeit;
      for (int i = 1; i <= s.tabelle.anzahl(); ++i) {
        if (s.tabelle.feld(i, S_startnummer).isEmpty()) continue;
        const QString v = s.tabelle.feld(i, spalte);
        ASSERT_TRUE(v == u"ohne"_s || Zeitwert::lesen(v).gueltig()) << v.toStdString();
      }
      ++zuordnungen;
      hinweise += r.hinweise;
    }

    // Now and then the same bytes through the files and the commands.
    if (n % kUeberDateien == 0) {
      schreibeDatei(pfad, eingabe);
      const int vorher = b.meldungen;
      Zeiteditor frisch(s);
      if (frisch.dateiLaden(pfad)) {
        ASSERT_TRUE(inhalt.ok);
        ASSERT_EQ(frisch.einlaufliste(), liste);
      } else {
        ASSERT_FALSE(inhalt.ok);
        ASSERT_GT(b.meldungen, vorher);
        ASSERT_EQ(frisch.anzahl(), 0);
      }
      s.tabelle.ersetzen(std::vector<Teilnehmerzeile>(basis));
      b.datei = pfad;
      ASSERT_EQ(ZeitdateiLaden(s, pfad).ausgefuehrt, inhalt.ok);
      ASSERT_EQ(b.gesperrt, 0);
      // The long-lived editor re-reads: its checked rows stay as they are,
      // and a file it cannot read changes nothing.
      editor.markierenBisZeile(editor.anzahl() / 2);
      std::vector<Editorzeile> geprueft;
      for (const Editorzeile& z : editor.zeilen())
        if (z.markiert) geprueft.push_back(z);
      const auto alt = editor.zeilen();
      if (editor.dateiLaden(pfad)) {
        ASSERT_GE(editor.anzahl(), static_cast<int>(geprueft.size()));
        ASSERT_TRUE(std::equal(geprueft.begin(), geprueft.end(), editor.zeilen().begin()));
      } else {
        ASSERT_EQ(editor.zeilen(), alt);
      }
    }
  }
  std::cout << "[ Fuzz ] " << kEingaben << " Eingaben, " << abgelehnt << " abgelehnt (binär), " << mehrdeutige
            << " ohne Rücklesevergleich, " << zeilen << " Zeilen gelesen, " << zuordnungen
            << " ganz zugeordnet mit " << hinweise << " Hinweisen\n";
  EXPECT_GT(abgelehnt, 0);
  EXPECT_GT(hinweise, 0);
}
