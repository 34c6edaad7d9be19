#include "core/Text.h"
#include "core/Textdatei.h"
#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;

namespace {
const QString kOrdner = QStringLiteral(ZT_GOLDEN_DIR "/evaluation/");

struct Platzierung : ::testing::Test {
  test::Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  // A row of route, age class, time, name and an overall place left over ("-": empty).
  void zeile(const QStringList& f) {
    Teilnehmerzeile z;
    const std::array spalten{S_strecke, S_ak, S_zeit, S_namevorname, S_platztotal};
    for (int i = 0; i < 5; ++i) z.setFeld(spalten[i], f.value(i) == u"-"_s ? QString() : f.value(i));
    z.setFeld(S_nurstrecke, NurStrecke(z.feld(S_strecke)));
    t.zeileHinzufuegen(z);
  }
  QString spalte(int sp) const {
    QStringList l;
    for (int i = 1; i <= t.anzahl(); ++i) l << (t.feld(i, sp).isEmpty() ? u"-"_s : t.feld(i, sp));
    return l.join(u' ');
  }
  QString sieger() const {
    QString l;
    for (int i = 1; i <= t.anzahl(); ++i) l += t.hintergrund(i) == kSiegerFarbe ? u'S' : u'-';
    return l;
  }
};

// A case of the placings under tests/golden/evaluation: rows, a computation or
// a sort preset, and the columns, winners and status expected. The commands
// are explained in tests/golden/evaluation/LIESMICH.
struct Fall : Platzierung, ::testing::WithParamInterface<QString> {};

TEST_P(Fall, Datei) {
  const std::pair<const char*, void (*)(Sitzung&)> rechnungen[] = {
      {"RankBySex", RankBySex}, {"RankOverall", RankOverall}, {"ComputeAllPlaces", [](Sitzung& s) { ComputeAllPlaces(s); }},
      {"NumberWithinRoute", NumberWithinRoute}};
  const QStringList text = TextZeilen(TextDekodieren(test::leseDatei(kOrdner + GetParam())));
  for (int nr = 1; nr <= text.size(); ++nr) {
    const QString z = text[nr - 1].chopped(text[nr - 1].endsWith(u'|') ? 1 : 0);
    SCOPED_TRACE(u"Zeile %1: %2"_s.arg(nr).arg(z).toStdString());
    const QStringList w = z.split(u' ', Qt::SkipEmptyParts);
    const QString rest = z.section(u' ', 1);
    if (w.isEmpty() || w[0].startsWith(u'#')) continue;
    if (w[0] == u"zeile"_s) zeile(w.mid(1));
    else if (w[0] == u"setze"_s) t.setFeld(w[1].toInt(), w[2].section(u'=', 0, 0), w[2].section(u'=', 1));
    else if (w[0] == u"sieger"_s) t.setHintergrund(w[1].toInt(), kSiegerFarbe);
    else if (w[0] == u"vorgabe"_s)
      EXPECT_EQ(LaufSortierungNach(u.s(), rest.section(u" -> nein"_s, 0, 0)), !rest.endsWith(u" -> nein"_s));
    else if (w[0] == u"="_s) EXPECT_EQ(spalte(Spaltennummer(w[1])), z.section(u' ', 2));
    else if (w[0] == u"?"_s && w[1] == u"sieger"_s) EXPECT_EQ(sieger(), w[2]);
    else if (w[0] == u"?"_s && w[1] == u"status"_s)
      EXPECT_EQ(u.bediener.statusfelder.value(StatusSortierung), z.section(u' ', 2));
    else if (w[0] == u"?"_s && w[1] == u"aktuell"_s) EXPECT_EQ(t.aktuelleZeile(), w[2].toInt());
    else if (w[0] == u"rechne"_s) {
      for (const auto& [name, rechnung] : rechnungen)
        if (w[1] == QLatin1String(name)) rechnung(u.s());
    } else ADD_FAILURE() << "unbekannter Befehl";
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, Fall, ::testing::ValuesIn(test::Fallnamen(kOrdner)),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });
}  // namespace

TEST_F(Platzierung, MarkTopThreeLooksAtEveryListEntry) {
  Einstellungen& e = u.s().einst;
  e.txtHauptlauf = {"10km", "", "", ""};
  for (int j = 0; j < 40; ++j) e.hauptlaufAk[0].append({u"X%1"_s.arg(j), false});
  e.hauptlaufAk[0][35] = {u"M40"_s, true};
  // Two-digit hours are never marked.
  for (const char* z :
       {"10/m M40 0:40:00.0 A", "10/m M40 10:02:03.4 B", "10/m M40 0:44:00.0 C", "10/m M45 0:45:00.0 D"})
    zeile(QString::fromLatin1(z).split(u' '));
  for (int i = 1; i <= 4; ++i) t.setFeld(i, S_platz, QString::number(i == 4 ? 1 : i == 3 ? 4 : i));
  t.setFeld(3, S_checkdruck, u"Wahr"_s);
  MarkTopThree(u.s());
  EXPECT_EQ(spalte(S_checkdruck), u"Wahr Falsch Falsch Falsch"_s);
}
