#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zt;
using namespace Qt::StringLiterals;

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

// A folder, a FIFO or a device is refused by name in the loader's test; here
// a file beyond the limit, refused by size.
TEST(Textdatei, ReadersTakeFilesOfBoundedSizeOnly) {
  EXPECT_TRUE(SiehtBinaerAus(QByteArray("PK\x03\x04\x00\x00", 6)));
  EXPECT_FALSE(SiehtBinaerAus(QByteArray("1\t2\r\n")));
  const Leseergebnis fehlt = DateiLesen(u"/gibt/es/nicht.csv"_s);
  EXPECT_TRUE(!fehlt.ok && fehlt.fehlt);
  EXPECT_EQ(fehlt.fehler, u"Die Datei \"/gibt/es/nicht.csv\" wurde nicht gefunden."_s);
  QTemporaryDir dir;
  const QString gross = test::schreibeDatei(dir.filePath(u"gross.txt"_s), QByteArray(3 << 20, 'x'));
  const Leseergebnis e = DateiLesen(gross, 2 << 20);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.fehler, u"Die Datei \"%1\" ist zu groß (3 MB); mehr als 2 MB werden nicht gelesen."_s.arg(gross));
  EXPECT_TRUE(DateiLesen(gross, 3 << 20).ok);
}
