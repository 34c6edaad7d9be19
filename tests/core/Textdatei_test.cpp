#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

using namespace zt;

TEST(Textdatei, DecodesEveryEncodingWeMeet) {
  const QString erwartet = QStringLiteral("Müller, Jürgen – Straße €");
  EXPECT_EQ(TextDekodieren(QByteArray("\xEF\xBB\xBF") + erwartet.toUtf8()), erwartet);
  EXPECT_EQ(TextDekodieren(erwartet.toUtf8()), erwartet);
  EXPECT_EQ(TextDekodieren(TextKodieren(erwartet)), erwartet);
  // Windows-1252 bytes that happen to be invalid UTF-8.
  EXPECT_EQ(TextDekodieren(QByteArray("M\xFCller \x80")), QStringLiteral("Müller €"));
}

TEST(Textdatei, LinesAcceptCrLfLfAndLoneCr) {
  EXPECT_EQ(TextZeilen(QStringLiteral("a\r\nb\nc\r\n")), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(TextZeilen(QStringLiteral("a\n\nb")), (QStringList{"a", "", "b"}));
  // "CSV (Macintosh)" ends its lines in a lone CR; mixed files occur too.
  EXPECT_EQ(TextZeilen(QStringLiteral("a\rb\r\rc\r\nd\r")), (QStringList{"a", "b", "", "c", "d"}));
  EXPECT_TRUE(TextZeilen(QString()).isEmpty());
}

TEST(Textdatei, UnencodableTextIsWrittenAsUtf8NotQuestionMarks) {
  const QString name = QStringLiteral("Łukasz Wiśniewski");
  const QByteArray b = TextKodieren(name);
  EXPECT_TRUE(b.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(TextDekodieren(b), name);
  EXPECT_EQ(TextKodieren(QStringLiteral("Jörg")), QByteArray("J\xF6rg"));
  // Its Windows-1252 bytes would read back as the UTF-8 of "ü".
  EXPECT_EQ(TextDekodieren(TextKodieren(QStringLiteral("m;Ã¼"))), QStringLiteral("m;Ã¼"));
}

TEST(Textdatei, FailedWriteIsReportedAndDamagesNothing) {
  QTemporaryDir dir;
  const QString datei = dir.filePath(QStringLiteral("kein_ordner"));
  ASSERT_TRUE(DateiAtomarSchreiben(datei, "alt").isEmpty());
  // A file where a folder should be: the write cannot succeed, even as root.
  const QString fehler = DateiAtomarSchreiben(datei + QStringLiteral("/x.csv"), "neu");
  EXPECT_TRUE(fehler.startsWith(QStringLiteral("Die Datei \"") + datei + QStringLiteral("/x.csv\" kann nicht geschrieben werden")))
      << fehler.toStdString();
  EXPECT_EQ(test::leseDatei(datei), QByteArray("alt"));
}

TEST(Textdatei, WriteKilledHalfWayLeavesOldOrNewFile) {
  QTemporaryDir dir;
  const QString pfad = dir.filePath(QStringLiteral("lauf.csv"));
  const QByteArray alt(1000, 'a');
  const QByteArray neu(64 * 1024 * 1024, 'n');
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

TEST(Textdatei, BinaryDetectionAndMissingFile) {
  EXPECT_TRUE(SiehtBinaerAus(QByteArray("PK\x03\x04\x00\x00", 6)));
  EXPECT_FALSE(SiehtBinaerAus(QByteArray("1\t2\r\n")));
  const Leseergebnis e = DateiLesen(QStringLiteral("/gibt/es/nicht.csv"));
  EXPECT_FALSE(e.ok);
  EXPECT_TRUE(e.fehlt);
  EXPECT_EQ(e.fehler, QStringLiteral("Die Datei \"/gibt/es/nicht.csv\" wurde nicht gefunden."));
}

// A folder, a FIFO (which would hang an ordinary read) or a device (which
// would never end) is refused by name, and a file beyond the limit by size.
TEST(Textdatei, ReadersTakeRegularFilesOfBoundedSizeOnly) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("fifo"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& pfad : {dir.path(), fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
    SCOPED_TRACE(pfad.toStdString());
    const Leseergebnis e = DateiLesen(pfad);
    EXPECT_FALSE(e.ok);
    EXPECT_FALSE(e.fehlt);
    EXPECT_EQ(e.fehler, QStringLiteral("\"%1\" ist keine Datei.").arg(pfad));
  }
  const QString gross = test::schreibeDatei(dir.filePath(QStringLiteral("gross.txt")), QByteArray(3 << 20, 'x'));
  const Leseergebnis e = DateiLesen(gross, 2 << 20);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.fehler, QStringLiteral("Die Datei \"%1\" ist zu groß (3 MB); mehr als 2 MB werden nicht gelesen.").arg(gross));
  EXPECT_TRUE(DateiLesen(gross, 3 << 20).ok);
}
