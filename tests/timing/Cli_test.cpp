// The batch steps "zeitnahme" and "zeiten" of the real zieltafel-cli, run as a
// script runs them: each case under tests/golden/timing/cli gives the calls,
// what goes to stdin, and what must come out (explained in its LIESMICH).
#include "cli/Lauf_test.h"
#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
const QString kOrdner = QStringLiteral(ZT_GOLDEN_DIR "/timing/cli/");

// Output rows by start number (column 3), split into their twenty fields.
QMap<QString, QStringList> laeuferzeilen(const QString& aus) {
  QMap<QString, QStringList> m;
  for (const QString& z : aus.split(u'\n'))
    if (const QStringList f = z.split(u'\t'); f.size() == 20) m.insert(f[2], f);
  return m;
}

struct CliFall : ::testing::TestWithParam<QString> {
  QTemporaryDir dir;
  // "\n" is a line break, $TMP the test's folder, $ERG the time file of the working folder.
  QString pfade(QString t) const {
    return t.replace(u"\\n"_s, u"\n"_s)
        .replace(u"$ERG"_s, dir.filePath(u"arbeit/lauf.erg"_s))
        .replace(u"$TMP"_s, dir.path());
  }
  // Three runners: number 1 with a time and a bike leg, number 2 with a bike
  // leg; the time file lauf.erg names 1, 2 and the unregistered 4.
  void laeuferdatei() {
    QStringList z;
    using Laeufer = std::array<const char*, 3>;
    for (const auto& [sn, zeit, bike] :
         {Laeufer{"1", "0:41:00,0", "0:30:00,0"}, Laeufer{"2", "", "0:31:00,0"}, Laeufer{"3", "", ""}}) {
      QStringList f(20);
      f[2] = QString::fromLatin1(sn), f[3] = u"10/m"_s, f[4] = u"Läufer, Nr"_s + f[2], f[5] = u"1980"_s;
      f[7] = QString::fromLatin1(zeit), f[12] = u"10"_s, f[17] = QString::fromLatin1(bike);
      z << f.join(u'\t');
    }
    test::schreibeDatei(dir.filePath(u"X.csv"_s), test::cp1252(z.join(u"\n"_s) + u"\n"_s));
    test::schreibeDatei(dir.filePath(u"lauf.erg"_s),
                        test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n0001;1;1:10:00,0;;10:00:00\n"
                                     u"0002;2;1:12:00,0;;10:00:00\n0003;4;1:13:00,0;;10:00:00\n"_s));
  }
};

TEST_P(CliFall, Datei) {
  test::Lauf l;
  QStringList eingabe, zeilen, dateizeilen;
  QString ziel;  // "ausgabe" or "datei": what the "|" rows are compared with
  const auto pruefen = [&] {
    const QString was = std::exchange(ziel, QString());
    const bool datei = was == u"datei"_s;  // the time file without its header
    const QString t = datei ? TextDekodieren(test::leseDatei(dir.filePath(u"arbeit/lauf.erg"_s))) : l.aus;
    if (!was.isEmpty()) {
      EXPECT_EQ(t.split(QRegularExpression(u"\r?\n"_s), Qt::SkipEmptyParts).mid(datei ? 1 : 0), zeilen);
    }
    zeilen.clear();
  };
  for (const QString& roh : TextZeilen(TextDekodieren(test::leseDatei(kOrdner + GetParam())))) {
    SCOPED_TRACE(roh.toStdString());
    const QString z = pfade(roh.endsWith(u'|') ? roh.chopped(1) : roh);
    const QString b = z.section(u' ', 0, 0), rest = z.section(u' ', 1);
    if (b == u">"_s) eingabe << rest;
    else if (b == u"+"_s) dateizeilen << rest;
    else if (b == u"|"_s) zeilen << rest;
    else pruefen();
    if (b == u"aufruf"_s) {
      l = test::cliLauf(dir.path(), QStringList{"--dezimalzeichen", ","} + QProcess::splitCommand(rest),
                        eingabe.isEmpty() ? QByteArray() : (eingabe.join(u'\n') + u'\n').toUtf8());
      eingabe.clear();
    } else if (b == u"code"_s) {
      EXPECT_EQ(l.code, rest.toInt()) << l.fehler.toStdString();
    } else if (b == u"fehler"_s) {
      EXPECT_TRUE(l.fehler.contains(rest)) << l.fehler.toStdString();
    } else if (b == u"aus"_s) {
      EXPECT_TRUE(l.aus.contains(rest)) << l.aus.toStdString();
    } else if (b == u"ausgabe"_s || b == u"datei"_s) {
      ziel = b;
    } else if (b == u"feld"_s) {
      const QStringList w = rest.split(u' ');
      const QMap<QString, int> spalten{{"zeit", 7}, {"fehler", 10}, {"bike", 17}, {"run", 18}, {"end", 19}};
      EXPECT_EQ(laeuferzeilen(l.aus).value(w[0]).value(spalten.value(w[1])), w.value(2));
    } else if (b == u"laeuferdatei"_s) {
      laeuferdatei();
    } else if (b == u"zeitdatei"_s) {
      test::schreibeDatei(dir.filePath(rest), test::cp1252(u"Einlauf;Startnummer;Zeit;Fehler;StartZeit\n"_s +
                                                           dateizeilen.join(u"\n"_s) + u"\n"_s));
      dateizeilen.clear();
    } else if (!b.isEmpty() && !b.startsWith(u'#') && b != u">"_s && b != u"+"_s && b != u"|"_s) {
      ADD_FAILURE() << "unbekannter Befehl";
    }
  }
  pruefen();
}

INSTANTIATE_TEST_SUITE_P(Golden, CliFall, ::testing::ValuesIn(test::Fallnamen(kOrdner)),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });
}  // namespace
