#include "core/Teilnehmertabelle.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace zt;

// A changed row must hold exactly the block a row built from scratch with the
// same fields holds: the undo record and the "modified" mark compare blocks,
// and a change cut into an old block takes another way than a new row.
TEST(Zeilenblock, ChangedRowsEqualRowsBuiltFromScratch) {
  QRandomGenerator zufall(7);
  const QString texte[] = {QString(), QStringLiteral(""), QStringLiteral("1"), QStringLiteral("Müller, Jörg"),
                           QStringLiteral("Łódź"), QStringLiteral("0:45:12.3"), QString(70000, QLatin1Char('x'))};
  const int n = static_cast<int>(std::size(texte));
  for (int runde = 0; runde < 3000; ++runde) {
    SCOPED_TRACE(runde);
    std::array<QString, kSpalten> soll;
    for (QString& f : soll) f = texte[zufall.bounded(n - (runde % 50 ? 1 : 0))];
    Teilnehmerzeile z;
    std::array<QStringView, kSpalten> sicht;
    for (int i = 0; i < kSpalten; ++i) sicht[i] = soll[i];
    z.setFelder(sicht);
    // Up to four fields at once, then one more on its own.
    std::vector<std::pair<int, QStringView>> aenderung;
    for (int k = zufall.bounded(1, 5); k > 0; --k) {
      const int spalte = zufall.bounded(1, kSpalten + 1);
      soll[spalte - 1] = texte[zufall.bounded(n - 1)];
      aenderung.push_back({spalte, soll[spalte - 1]});
    }
    z.setFelder(std::span(aenderung.data(), aenderung.size()));
    const int spalte = zufall.bounded(1, kSpalten + 1);
    soll[spalte - 1] = texte[zufall.bounded(n - 1)];
    z.setFeld(spalte, soll[spalte - 1]);

    Teilnehmerzeile neu;
    for (int i = 0; i < kSpalten; ++i) sicht[i] = soll[i];
    neu.setFelder(sicht);
    ASSERT_TRUE(z.gleicheFelder(neu));
    for (int i = 1; i <= kSpalten; ++i) {
      ASSERT_EQ(z.feld(i), soll[i - 1]) << i;
      ASSERT_EQ(z.feld(i).isNull(), soll[i - 1].isNull()) << i;
    }
  }
}
