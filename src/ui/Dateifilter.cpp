#include "ui/Dateifilter.h"

#include <QRegularExpression>

namespace zt {

namespace {
struct Eintrag {
  QString text;
  QString muster;
};

QList<Eintrag> eintraege(const QString& klassisch) {
  QList<Eintrag> liste;
  const QStringList teile = klassisch.split(QLatin1Char('|'));
  // Pairs of text and pattern; a trailing "|" leaves one empty part behind.
  for (int i = 0; i + 1 < teile.size(); i += 2) {
    const QString text = teile[i].trimmed();
    const QString muster = teile[i + 1].trimmed();
    if (text.isEmpty() && muster.isEmpty()) continue;
    liste.append({text.isEmpty() ? muster : text, muster});
  }
  if (teile.size() % 2 == 1 && !teile.last().trimmed().isEmpty())
    liste.append({teile.last().trimmed(), teile.last().trimmed()});
  return liste;
}
}  // namespace

QStringList QtFilterliste(const QString& klassisch) {
  QStringList ergebnis;
  for (const Eintrag& e : eintraege(klassisch)) {
    // Qt reads the patterns from the parentheses of the text.
    const QString qtMuster = QString(e.muster).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (e.text.contains(QLatin1Char('(')) && e.text.endsWith(QLatin1Char(')')))
      ergebnis.append(e.text);
    else
      ergebnis.append(e.text + QStringLiteral(" (") + qtMuster + QLatin1Char(')'));
  }
  return ergebnis;
}

int FilterIndex(const QStringList& qtFilter, const QString& gewaehlt) {
  const int i = qtFilter.indexOf(gewaehlt);
  return i < 0 ? 1 : i + 1;
}

int FilterIndexFuerDatei(const QString& klassisch, const QString& pfad, int sonst) {
  const QList<Eintrag> liste = eintraege(klassisch);
  const QString name = pfad.mid(pfad.lastIndexOf(QLatin1Char('/')) + 1);
  for (int i = 0; i < liste.size(); ++i) {
    for (const QString& m : liste[i].muster.split(QRegularExpression(QStringLiteral("[;\\s]+")),
                                                  Qt::SkipEmptyParts)) {
      const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(m),
                                  QRegularExpression::CaseInsensitiveOption);
      if (re.match(name).hasMatch()) return i + 1;
    }
  }
  return sonst;
}

}  // namespace zt
