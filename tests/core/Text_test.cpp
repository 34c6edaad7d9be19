#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "support/TestPorts.h"

#include <QDir>
#include <gtest/gtest.h>

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

INSTANTIATE_TEST_SUITE_P(Golden, Tabelle, ::testing::ValuesIn(QDir(kOrdner).entryList({"*.txt"})),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });
}  // namespace

TEST(Zeitwert, SumsDifferencesAndEveryTenthReadBack) {
  // Sums and differences need two times; a negative one writes as nought.
  EXPECT_FALSE((Zeitwert::lesen(u"45:12"_s) + Zeitwert::lesen(u"ohne"_s)).gueltig());
  EXPECT_EQ((Zeitwert::lesen(u"45:12"_s) - Zeitwert::lesen(u"0:50:00"_s)).text(), u"0:00:00.0"_s);
  for (long long z = 0; z < 400000; z += 7) ASSERT_EQ(Zeitwert::lesen(Zeitwert::ausZehnteln(z).text()).zehntel(), z);
}
