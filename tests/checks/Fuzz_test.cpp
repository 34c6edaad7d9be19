// Seeded random mutation of registration mails and of tables for the data
// check: nothing may crash or hang, and what comes out keeps its rules.
#include "checks/Datenpruefung.h"
#include "core/Textdatei.h"
#include "event/Anmeldung.h"
#include "support/TestPorts.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <random>

using namespace zt;

namespace {
QStringList saatMails() {
  QStringList l;
  const QDir ordner(QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails"));
  for (const QString& f : ordner.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
    const Leseergebnis e = DateiLesen(ordner.filePath(f));
    if (e.ok) l << TextDekodieren(e.daten);
  }
  l << QStringLiteral("Name: A\r\nVorname: B\r\nStrecke: 5 km\r\nGeschlecht: w\r\nWalker: ja\r\n")
    << QStringLiteral("Content-Transfer-Encoding: quoted-printable\nName: =C3=\n=BC=3D\nVerein: a=\nb\n")
    << QStringLiteral("<tr><td>Name</td><td>X&#x41;&#99999999;&amp</td></tr><br><style>x");
  return l;
}

// Pieces that mean something to the parser.
const QStringList kStuecke{
    QStringLiteral(":"),      QStringLiteral("\n"),    QStringLiteral("\r\n"),  QStringLiteral("\r"),
    QStringLiteral("="),      QStringLiteral("=\n"),   QStringLiteral("=C3"),   QStringLiteral("=FC"),
    QStringLiteral("<br>"),   QStringLiteral("<td>"),  QStringLiteral("</td>"), QStringLiteral("<"),
    QStringLiteral(">"),      QStringLiteral("&"),     QStringLiteral("&#"),    QStringLiteral(";"),
    QStringLiteral("Name:"),  QStringLiteral("Strecke: "), QStringLiteral("km"), QStringLiteral("/"),
    QStringLiteral("ü"),      QStringLiteral("\t"),    QString(QChar(0)),       QString(QChar(0xD800)),
    QStringLiteral("*"),      QStringLiteral("?"),     QStringLiteral("(Walker)"), QStringLiteral(",")};

// Trimmed fields without control characters.
bool sauber(const Maildaten& d) {
  for (const QString& f : d.felder) {
    if (!f.isEmpty() && (f.front().isSpace() || f.back().isSpace())) return false;
    for (QChar c : f)
      if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  }
  return true;
}

QString mutieren(const QString& quelle, const QStringList& saaten, std::mt19937& zufall) {
  QString t = quelle;
  const int schritte = 1 + static_cast<int>(zufall() % 6);
  for (int s = 0; s < schritte; ++s) {
    const int pos = t.isEmpty() ? 0 : static_cast<int>(zufall() % (t.size() + 1));
    switch (zufall() % 6) {
      case 0: t.insert(pos, kStuecke[zufall() % kStuecke.size()]); break;
      case 1: t.remove(pos, static_cast<int>(zufall() % 12)); break;
      case 2:
        if (!t.isEmpty()) t[std::min<int>(pos, t.size() - 1)] = QChar(static_cast<char16_t>(zufall() % 0x2FF));
        break;
      case 3: t.insert(pos, t.mid(static_cast<int>(zufall() % (t.size() + 1)), static_cast<int>(zufall() % 40))); break;
      case 4: {
        const QString& andere = saaten[zufall() % saaten.size()];
        t.insert(pos, andere.mid(static_cast<int>(zufall() % (andere.size() + 1)), static_cast<int>(zufall() % 80)));
        break;
      }
      default: t.insert(pos, QString(static_cast<int>(zufall() % 3), QChar(static_cast<char16_t>(zufall() % 128))));
    }
  }
  return t;
}
}  // namespace

TEST(Fuzz, MailParserAndMatchKeepTheirRules) {
  const QStringList saaten = saatMails();
  ASSERT_GE(saaten.size(), 7);
  test::Umgebung u;
  for (const char* n : {"Hilgendorf, Lino", "Behr, Miriam", "A, B", "Müller, Jürgen (Walker)", ", ", ""}) {
    Teilnehmerzeile z;
    z.setFeld(S_namevorname, QString::fromUtf8(n));
    u.s().tabelle.zeileHinzufuegen(z);
  }
  std::mt19937 zufall(20261206);
  Anmeldung anmeldung(u.s());
  constexpr int kEingaben = 100000;
  int erkannt = 0;
  for (int i = 0; i < kEingaben; ++i) {
    const QString text = mutieren(saaten[i % saaten.size()], saaten, zufall);
    const Maildaten d = AnmeldungLesen(text);
    erkannt += d.erkannt;
    ASSERT_TRUE(sauber(d)) << i << ": " << text.toStdString();
    const QString& walker = d.felder[FeldIndex(Anmeldefeld::Walker)];
    ASSERT_TRUE(walker == QLatin1String("Wahr") || walker == QLatin1String("Falsch")) << i;
    if (i % 10 == 0) {
      // The window's path: parse, match, take everything over, compare.
      anmeldung.textGeaendert(text);
      const int r = anmeldung.treffer();
      ASSERT_TRUE(r == 0 || u.s().tabelle.gueltig(r)) << i;
      anmeldung.allesUebernehmen();
      for (int f = FeldIndex(Anmeldefeld::Name); f < kAnmeldefelder; ++f)
        ASSERT_FALSE(r > 0 && anmeldung.abweichend(static_cast<Anmeldefeld>(f))) << i;
    }
  }
  // The mutations keep most mails recognisable: the fuzzer reached the parser's insides.
  EXPECT_GT(erkannt, kEingaben / 2);
  EXPECT_EQ(u.s().tabelle.anzahl(), 6);  // parsing and matching never write
}

TEST(Fuzz, DataCheckNumbersEveryFindingOnce) {
  const QStringList nummern{"", "0", "7", "007", " 7 ", "12", "12a", "-3", "1.5", "199", "200", "250",
                            "99999999999999999999", "ü", "9001"};
  const QStringList strecken{"", "/m", "/w", "5/m", "5/w", "10/m", "10/W", "10km", "3/w", "Run/m", "/", "5-M"};
  const QStringList namen{"", ",", ",,", "Meier, Anna", "Meier,, Anna", "Meier, Anna (Walker)", "Huber, Max",
                          "Ohne", ", Bob", "Müller, Hans", "X, (Walker)", "A, B, C"};
  const QStringList jahre{"", "1980", "1899", "2030", "01.05.1899", "14.05.1984", "abc", "1.2", "19"};
  const QStringList zeiten{"", "ohne", "Ohne", "0:20:00.0", "0:61:10.0", "45:12,3", "00:45:61", ":", "1:2:3:4",
                           "0:20:00.0", "x:y"};
  std::mt19937 zufall(4711);
  auto wahl = [&](const QStringList& l) { return l[zufall() % l.size()]; };
  test::TestBediener b;
  test::TestUhr uhr;
  test::TestSystem sys;
  Sitzung s(b, uhr, sys);
  s.bezugsjahr = 2024;
  s.einst.txtHauptlauf = {"5km", "10km", "3km", "km"};
  s.einst.txtHauptlaufFestVonStartnummer = {"1", "200", "300", ""};
  s.einst.txtHauptlaufBisStartnummer = {"199", "499", "", ""};
  const QRegularExpression nummer(QStringLiteral("(\\d{4,})( ?)$"));
  int zeilenGesamt = 0;
  for (int runde = 0; runde < 1000; ++runde) {
    const int n = static_cast<int>(zufall() % 200);
    std::vector<Teilnehmerzeile> zeilen(n);
    for (Teilnehmerzeile& z : zeilen) {
      z.setFeld(S_startnummer, wahl(nummern));
      z.setFeld(S_strecke, wahl(strecken));
      // Mostly ordinary values, with the odd ones mixed in.
      const bool gewoehnlich = zufall() % 3 != 0;
      z.setFeld(S_namevorname,
                gewoehnlich ? QStringLiteral("N%1, %2").arg(zufall() % 500).arg(wahl(namen)) : wahl(namen));
      z.setFeld(S_jahr, wahl(jahre));
      z.setFeld(S_zeit, gewoehnlich ? QStringLiteral("0:%1:%2.%3")
                                          .arg(zufall() % 60, 2, 10, QLatin1Char('0'))
                                          .arg(zufall() % 62, 2, 10, QLatin1Char('0'))
                                          .arg(zufall() % 10)
                                    : wahl(zeiten));
      z.setFeld(S_fehler, zufall() % 4 ? QString() : QStringLiteral("?AK"));
    }
    zeilenGesamt += n;
    s.tabelle.ersetzen(std::move(zeilen));
    if (runde % 25 == 0) s.vornamen.eintraege.clear();
    for (int k = 0; k < 8; ++k) b.antworten.push_back(zufall() % 2 ? Antwort::Ja : Antwort::Nein);
    b.protokoll.clear();
    const int befunde = CheckAllData(s);
    b.antworten.clear();
    ASSERT_EQ(s.tabelle.anzahl(), n);
    ASSERT_EQ(b.gesperrt, 0);
    std::vector<int> gesehen(befunde + 1, 0);
    for (int i = 1; i <= n; ++i) {
      const QString f = s.tabelle.feld(i, S_fehler);
      ASSERT_EQ(f.isEmpty(), s.tabelle.textfarbe(i) != kRot) << runde;
      if (f.isEmpty()) continue;
      for (const QString& teil : f.split(QStringLiteral(", "))) {
        const auto m = nummer.match(teil);
        ASSERT_TRUE(m.hasMatch()) << teil.toStdString();
        const int nr = m.captured(1).toInt();
        ASSERT_TRUE(nr >= 1 && nr <= befunde) << teil.toStdString();
        ++gesehen[nr];
      }
    }
    for (int nr = 1; nr <= befunde; ++nr) ASSERT_EQ(gesehen[nr], 1) << "Befund " << nr << " in Runde " << runde;
  }
  EXPECT_GE(zeilenGesamt, 90000);
}
