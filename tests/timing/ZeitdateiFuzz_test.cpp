// Seeded random mutations of time files through both readers, the import
// and the editor: a refused file always says why, every line that gives
// nobody a time is reported, and what the editor writes it reads back
// unchanged. Crashes and hangs on files and commands are the libFuzzer
// harness's (tests/fuzz/zeitdatei.cpp).
#include "core/Zeitwert.h"
#include "timing/Zeitimport.h"
#include "timing/Zeitnahme_test.h"

#include <QStringDecoder>
#include <iostream>
#include <random>

using namespace zt;
using namespace zt::test;

namespace {
const char* const kBausteine[] = {
    ";", ":", ",", ".", "\r\n", "\n", "\r", "\t", " ", "0", "9", "59", "60", "61,9", "99999999999", "-1", "+",
    "ohne", "Einlauf", "Seewalder", "Einlauf;Startnummer;Zeit;Fehler;StartZeit", "\xEF\xBB\xBF", "\xC3\xBC",
    "\xFC", "\x80", "\x81", "\xC3", "0:45:12,3", "00:00:00", ";;;;;;", "::::", "007", "Einlauf eingefügt"};

QByteArray mutieren(QByteArray d, std::mt19937& rng) {
  auto zahl = [&](qsizetype n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int schritt = 0, schritte = 1 + zahl(4); schritt < schritte; ++schritt) {
    const int pos = zahl(d.size() + 1), letzte = std::max<int>(0, std::min<int>(pos, d.size() - 1));
    switch (zahl(7)) {
      case 0: if (!d.isEmpty()) d[letzte] = static_cast<char>(rng()); break;
      case 1: d.insert(pos, kBausteine[zahl(std::size(kBausteine))]); break;
      case 2: d.remove(pos, 1 + zahl(8)); break;
      case 3: d.insert(pos, d.mid(zahl(d.size()), 1 + zahl(40))); break;
      case 4: d.truncate(pos); break;
      case 5: {
        QList<QByteArray> z = d.split('\n');
        if (z.size() > 2) std::swap(z[zahl(z.size())], z[zahl(z.size())]);
        d = z.join('\n');
        break;
      }
      default: if (!d.isEmpty()) d[letzte] = ";:,. \r\n0123456789"[zahl(17)];
    }
  }
  if (zahl(200) == 0) d.insert(zahl(d.size() + 1), '\0');  // now and then binary
  return d;
}

// Bytes the reader would take for UTF-8 although they were written as
// Windows-1252 ("Ã¼" written is "ü" read): the guess of the shared text
// reader, not a matter of the time-file readers.
bool mehrdeutig(const QByteArray& b) {
  if (b.startsWith("\xEF\xBB\xBF") || std::all_of(b.begin(), b.end(), [](char c) { return uchar(c) < 0x80; }))
    return false;
  QStringDecoder d(QStringDecoder::Utf8);
  [[maybe_unused]] const QString text = d.decode(b);  // decoding happens on conversion
  return !d.hasError();
}
}  // namespace

TEST(ZeitdateiFuzz, HunderttausendVeraenderteDateienDurchBeideLeser) {
  // Decimal comma and point, leading zeros, a finish inserted by hand without
  // start number, a provisional number and a second start.
  const QString kopf = ZeitdateiKopf() + u"\n"_s;
  const QString daten = u"0001;1;0:30:00,0;;10:00:00\n0002;007;00:31:10.5;+0.1s SN;10:00:00\n"
                        u"0003;;0:31:10,6;Einlauf eingefügt;10:00:00\n0004;9001;0:20:00,0;2.Startzeit;10:30:00"_s;
  const QByteArray saaten[] = {cp1252(kopf + daten + u"\n"_s), "\xEF\xBB\xBF" + (kopf + daten).toUtf8(),
                               cp1252(u"34.Seewalder Parklauf\n"_s + kopf + daten)};
  std::vector<Teilnehmerzeile> basis(8);
  for (size_t i = 0; i < basis.size(); ++i) {
    basis[i].setFeld(S_startnummer, QStringList{"1", "2", "5", "7", "9001", "8", "", "12"}[i]);
    basis[i].setFeld(S_strecke, i % 2 ? u"5/w"_s : u"10/m"_s);
    basis[i].setFeld(S_zeit, QStringList{"", "0:41:00", "", "ohne", "", "", "", "0:50:00,0"}[i]);
    basis[i].setFeld(S_bike_time, i % 3 ? u"0:30:00,0"_s : QString());
  }
  std::mt19937 rng(20261204u);
  Umgebung u;
  Sitzung& s = u.s();
  const QString pfad = u.pfad(u"fuzz.erg"_s);
  int abgelehnt = 0, hinweise = 0;

  const auto pruefen = [&](int n, const QByteArray& eingabe) {
    const Zeitdateiinhalt inhalt = ZeitdateiDekodieren(eingabe, pfad);
    ASSERT_TRUE(inhalt.ok || !inhalt.fehler.isEmpty());
    abgelehnt += !inhalt.ok;
    // The editor's reader: trimmed fields that cannot split a line, and what
    // it writes reads back the same (on every 4th input).
    const Einlaufliste liste = ZeitdateiEintraege(inhalt.zeilen);
    ASSERT_LE(liste.size(), std::max<qsizetype>(0, inhalt.zeilen.size() - 1));
    for (const Einlaufzeile& z : liste)
      for (const QString* f : {&z.einlauf, &z.startNr, &z.zeit, &z.fehler, &z.startZeit}) {
        ASSERT_FALSE(f->contains(u'\t') || f->contains(u'\r') || (f != &z.startZeit && f->contains(u';')));
        ASSERT_EQ(*f, f->trimmed());
      }
    if (const QByteArray geschrieben = n % 4 ? QByteArray() : ZeitdateiDaten(liste);
        !geschrieben.isEmpty() && !mehrdeutig(geschrieben)) {
      const Zeitdateiinhalt zurueck = ZeitdateiDekodieren(geschrieben, pfad);
      ASSERT_TRUE(zurueck.ok);
      ASSERT_EQ(ZeitdateiEintraege(zurueck.zeilen), liste);
    }
    // The import's reader: a notice for every line whose time cannot be
    // assigned, a time with hours for every other.
    const std::vector<Zeitimportzeile> gelesen = ZeitimportZeilenLesen(inhalt.zeilen);
    for (const Zeitimportzeile& z : gelesen) {
      ASSERT_TRUE((!z.zeitText.isEmpty() && z.startnummerGueltig) || !z.hinweise.isEmpty());
      ASSERT_TRUE(z.zeitText.isEmpty() || Zeitwert::lesen(z.zeitText).mitStunden()) << z.zeitText.toStdString();
      for (const QString& h : z.hinweise) ASSERT_TRUE(h.startsWith(z.kopf()));
    }
    // The whole assignment on every 20th input, in every mode and target in turn.
    if (inhalt.ok && n % 20 == 0) {
      const int k = n / 20;
      s.tabelle.ersetzen(std::vector<Teilnehmerzeile>(basis));
      s.duathlon = false;
      s.zeitmodus = static_cast<Sitzung::Zeitmodus>(k % 3);
      ZeitzielSetzen(s, static_cast<Sitzung::Zeitziel>((k / 3) % 3));
      s.duathlonEndzeitRunTime = (k / 9) % 2 == 0;
      const Zeitimportergebnis r = ZeitenZuordnen(s, inhalt.zeilen, pfad);
      ASSERT_EQ(r.zeilen, static_cast<int>(gelesen.size()));
      ASSERT_EQ(r.zugeordnet + r.behalten + r.abgewiesen, r.zeilen);
      ASSERT_GE(r.hinweise, r.abgewiesen);
      ASSERT_EQ(s.fehlerbericht.count(u"\r\n"_s), r.hinweise);
      ASSERT_TRUE(r.ausgefuehrt && !s.importLaeuft && u.bediener.gesperrt == 0);
      const int spalte = std::array{S_zeit, S_bike_time, S_run_time}[static_cast<int>(s.zeitziel)];
      for (int i = 1; i <= s.tabelle.anzahl(); ++i) {
        const QString v = s.tabelle.feld(i, spalte);
        ASSERT_TRUE(s.tabelle.feld(i, S_startnummer).isEmpty() || v == u"ohne"_s || Zeitwert::lesen(v).gueltig());
      }
      hinweise += r.hinweise;
    }
  };
  for (int n = 0; n < 100000; ++n) {
    const QByteArray eingabe = mutieren(saaten[n % std::size(saaten)], rng);
    pruefen(n, eingabe);
    if (::testing::Test::HasFatalFailure()) {
      std::cout << "Eingabe " << n << ": " << eingabe.toHex().toStdString() << "\n";
      return;
    }
  }
  EXPECT_GT(abgelehnt, 0);
  EXPECT_GT(hinweise, 0);
}
