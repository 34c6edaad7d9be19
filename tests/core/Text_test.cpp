#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
const QString kOrdner = QStringLiteral(ZT_GOLDEN_DIR "/core/");

// What a helper returns for the fields of a row of tests/golden/core/*.txt
// (explained in its LIESMICH); the last field is the result expected.
QString ergebnis(const QStringList& f) {
  const QString& a = f.value(1);
  const auto zahl = [](double z) { return QString::number(z); };
  const auto ja = [](bool b) { return b ? u"ja"_s : u"nein"_s; };
  const QChar mw = GeschlechtAusStrecke(a);
  const Zeitwert z = Zeitwert::lesen(a);
  const std::pair<const char*, std::function<QString()>> funktionen[] = {
      {"Feld", [&] { return Feld(a, f.value(2).toInt(), f.value(3)); }},
      {"LetztesFeld", [&] { return LetztesFeld(a, f.value(2)); }},
      {"OhneLetztesFeld", [&] { return OhneLetztesFeld(a, f.value(2)); }},
      {"Zahlwert", [&] { return zahl(Zahlwert(a)); }}, {"JahrAusFeld", [&] { return zahl(JahrAusFeld(a)); }},
      {"Geschlecht", [&] { return mw.isNull() ? u"-"_s : QString(mw); }}, {"NurStrecke", [&] { return NurStrecke(a); }},
      {"Sortierschluessel", [&] { return DeutscherSortierschluessel(a); }},
      {"FeldBereinigt", [&] { return FeldBereinigt(a); }}, {"IstWahr", [&] { return WahrText(IstWahr(a)); }},
      {"Basisname", [&] { return Basisname(a); }}, {"Ordner", [&] { return Ordner(a); }},
      {"Dateiname", [&] { return Dateiname(a); }},
      {"Zeit", [&] {
         return QStringList{z.gueltig() ? zahl(z.zehntel()) : u"-"_s, ja(z.feldUeber59()), z.text(QLatin1Char(',')),
                            z.textGanzeSekunden()}.join(u'|');
       }}};
  for (const auto& [name, tun] : funktionen)
    if (f[0] == QLatin1String(name)) return tun();
  ADD_FAILURE() << "unbekannte Funktion";
  return {};
}

struct Tabelle : ::testing::TestWithParam<QString> {};

TEST_P(Tabelle, Datei) {
  for (QString zeile : TextZeilen(TextDekodieren(test::leseDatei(kOrdner + GetParam())))) {
    if (zeile.isEmpty() || zeile.startsWith(u'#')) continue;
    zeile.replace(u"\\t"_s, u"\t"_s).replace(u"\\r"_s, u"\r"_s).replace(u"\\n"_s, u"\n"_s);
    const QStringList f = zeile.chopped(1).split(u'|');
    const int n = f[0] == u"Zeit"_s ? 4 : 1;  // a time is checked in four ways
    EXPECT_EQ(ergebnis(f), f.mid(f.size() - n).join(u'|')) << zeile.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, Tabelle, ::testing::ValuesIn(test::Fallnamen(kOrdner)),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });
}  // namespace

TEST(Zeitwert, SumsDifferencesAndEveryTenthReadBack) {
  // Sums and differences need two times; a negative one writes as nought.
  EXPECT_FALSE((Zeitwert::lesen(u"45:12"_s) + Zeitwert::lesen(u"ohne"_s)).gueltig());
  EXPECT_EQ((Zeitwert::lesen(u"45:12"_s) - Zeitwert::lesen(u"0:50:00"_s)).text(), u"0:00:00.0"_s);
  for (long long z = 0; z < 400000; z += 7) ASSERT_EQ(Zeitwert::lesen(Zeitwert::ausZehnteln(z).text()).zehntel(), z);
}

TEST(Textdatei, EncodingsAndLineEndsWeMeet) {
  const QString text = u"Müller, Jürgen – Straße €"_s;
  EXPECT_EQ(TextDekodieren("\xEF\xBB\xBF" + text.toUtf8()), text);
  EXPECT_EQ(TextDekodieren(text.toUtf8()), text);
  EXPECT_EQ(TextDekodieren(TextKodieren(text)), text);
  // Windows-1252 bytes that happen to be invalid UTF-8.
  EXPECT_EQ(TextDekodieren("M\xFCller \x80"), u"Müller €"_s);
  // What Windows-1252 cannot hold is written as UTF-8, not as question marks.
  EXPECT_EQ(TextKodieren(u"Łukasz"_s), "\xEF\xBB\xBF" + u"Łukasz"_s.toUtf8());
  EXPECT_EQ(TextKodieren(u"Jörg"_s), QByteArray("J\xF6rg"));
  // Its Windows-1252 bytes would read back as the UTF-8 of "ü".
  EXPECT_EQ(TextDekodieren(TextKodieren(u"m;Ã¼"_s)), u"m;Ã¼"_s);
  // "CSV (Macintosh)" ends its lines in a lone CR; mixed files occur too.
  EXPECT_EQ(TextZeilen(u"a\rb\r\rc\r\nd\ne\r"_s), (QStringList{"a", "b", "", "c", "d", "e"}));
  EXPECT_TRUE(TextZeilen(QString()).isEmpty());
}

// A writer killed with SIGKILL: there is no fork and no SIGKILL on Windows.
#ifdef Q_OS_UNIX
TEST(Textdatei, WriteKilledHalfWayLeavesOldOrNewFile) {
  QTemporaryDir dir;
  const QString pfad = dir.filePath(u"lauf.csv"_s);
  const QByteArray alt(1000, 'a'), neu(64 * 1024 * 1024, 'n');
  ASSERT_TRUE(DateiAtomarSchreiben(pfad, alt).isEmpty());
  for (int versuch = 0; versuch < 3; ++versuch) {
    const pid_t kind = fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
      DateiAtomarSchreiben(pfad, neu);
      _exit(0);
    }
    usleep(2000 + versuch * 20000);
    kill(kind, SIGKILL);
    int st = 0;
    waitpid(kind, &st, 0);
    const QByteArray jetzt = test::leseDatei(pfad);
    EXPECT_TRUE(jetzt == alt || jetzt == neu) << "size " << jetzt.size();
  }
}
#endif

// A folder, a FIFO or a device is refused by name in the loader's test; here
// a file beyond the limit, refused by size.
TEST(Textdatei, ReadersTakeFilesOfBoundedSizeOnly) {
  EXPECT_TRUE(SiehtBinaerAus(QByteArray("PK\x03\x04\x00\x00", 6)));
  EXPECT_FALSE(SiehtBinaerAus(QByteArray("1\t2\r\n")));
  const Leseergebnis fehlt = DateiLesen(u"/gibt/es/nicht.csv"_s);
  EXPECT_TRUE(!fehlt.ok && fehlt.fehlt);
  EXPECT_EQ(fehlt.fehler, u"Die Datei \"%1\" wurde nicht gefunden."_s.arg(test::nativ(u"/gibt/es/nicht.csv"_s)));
  QTemporaryDir dir;
  const QString gross = test::schreibeDatei(dir.filePath(u"gross.txt"_s), QByteArray(3 << 20, 'x'));
  const Leseergebnis e = DateiLesen(gross, 2 << 20);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.fehler, u"Die Datei \"%1\" ist zu groß (3 MB); mehr als 2 MB werden nicht gelesen."_s.arg(test::nativ(gross)));
  EXPECT_TRUE(DateiLesen(gross, 3 << 20).ok);
#ifdef Q_OS_LINUX
  // A file that claims size 0 and has text, as one still being written may:
  // it is read to its end, but never past the limit.
  EXPECT_TRUE(DateiLesen(u"/proc/self/status"_s).daten.startsWith("Name:"));
  EXPECT_FALSE(DateiLesen(u"/proc/self/status"_s, 16).ok);
#endif
}
