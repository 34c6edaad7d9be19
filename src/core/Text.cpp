#include "core/Text.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace zt {

QString Feld(const QString& text, int n, const QString& sep) {
  if (sep.isEmpty() || !text.contains(sep)) return n == 1 ? text.trimmed() : text;
  const QStringList teile = text.split(sep);
  if (n < 1 || n > teile.size()) return QString();
  return teile.at(n - 1).trimmed();
}

QString LetztesFeld(const QString& text, const QString& sep) {
  if (text.isEmpty()) return QString();
  const int pos = text.lastIndexOf(sep);
  if (pos < 0) return text.trimmed();
  return text.mid(pos + sep.size()).trimmed();
}

QString OhneLetztesFeld(const QString& text, const QString& sep) {
  if (text.isEmpty()) return QString();
  const int pos = text.lastIndexOf(sep);
  if (pos < 0) return QString();
  return text.left(pos).trimmed();
}

namespace {
// Parses the leading number starting at i; returns false when none is there.
bool leseZahl(QStringView t, double& wert) {
  int i = 0;
  const int n = t.size();
  while (i < n && (t[i] == QLatin1Char(' ') || t[i] == QLatin1Char('\t'))) ++i;
  bool negativ = false;
  if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
    negativ = t[i] == QLatin1Char('-');
    ++i;
  }
  double v = 0;
  bool ziffer = false;
  while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
    v = v * 10 + (t[i].unicode() - '0');
    ziffer = true;
    ++i;
  }
  if (i < n && (t[i] == QLatin1Char('.') || t[i] == QLatin1Char(','))) {
    ++i;
    double f = 0.1;
    while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
      v += (t[i].unicode() - '0') * f;
      f /= 10;
      ziffer = true;
      ++i;
    }
  }
  wert = negativ ? -v : v;
  return ziffer;
}
}  // namespace

double Zahlwert(const QString& text) {
  double v = 0;
  return leseZahl(text, v) ? v : 0.0;
}

long long Ganzzahlwert(const QString& text) {
  // A number beyond what a long long holds (a year of ninety digits in a
  // damaged file) is cut to the largest one instead of being undefined.
  return GanzzahlGerundet(std::trunc(Zahlwert(text)));
}

long long GanzzahlGerundet(double wert) {
  constexpr double grenze = 9.2e18;
  if (std::isnan(wert)) return 0;
  return static_cast<long long>(std::nearbyint(std::clamp(wert, -grenze, grenze)));
}

bool DateiVorhanden(const QString& pfad) {
  if (pfad.isEmpty()) return false;
  QFileInfo fi(pfad);
  return fi.exists() && fi.isFile() && fi.isReadable();
}

bool OrdnerVorhanden(const QString& pfad) {
  if (pfad.isEmpty()) return false;
  return QFileInfo::exists(pfad);
}

QStringView NurStrecke(QStringView strecke) {
  const qsizetype pos = strecke.indexOf(QLatin1Char('/'));
  return pos < 1 ? QStringView() : strecke.left(pos);
}

QString NurStrecke(const QString& strecke) { return NurStrecke(QStringView(strecke)).toString(); }

QChar GeschlechtAusStrecke(const QString& strecke) {
  const QString s = strecke.trimmed();
  if (s.size() < 2) return QChar();
  const QChar vor = s.at(s.size() - 2);
  if (vor != QLatin1Char('/') && vor != QLatin1Char('-')) return QChar();
  const QChar c = s.back().toLower();
  if (c == QLatin1Char('m') || c == QLatin1Char('w')) return c;
  return QChar();
}

long long JahrAusFeld(const QString& jahr) {
  if (jahr.contains(QLatin1Char('.'))) return Ganzzahlwert(Feld(jahr, 3, QStringLiteral(".")));
  return Ganzzahlwert(jahr);
}

bool IstWahr(const QString& text) {
  const QString t = text.trimmed();
  return t.compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0 ||
         t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1") ||
         t == QLatin1String("-1");
}

QString WahrText(bool b) { return b ? QStringLiteral("Wahr") : QStringLiteral("Falsch"); }

QString FeldBereinigt(const QString& text) {
  // TAB, CR and LF would shift a row's columns in the runner file; the other
  // control characters (a NUL from a damaged database) could not be saved as
  // they are and would change at the next save.
  for (QChar c : text) {
    if (c.unicode() < 0x20) {
      QString t = text;
      for (QChar& d : t)
        if (d.unicode() < 0x20) d = QLatin1Char(' ');
      return t;
    }
  }
  return text;
}

QString DeutscherSortierschluessel(const QString& text) {
  bool nurAscii = true;
  for (QChar c : text)
    if (c.unicode() >= 0x80) {
      nurAscii = false;
      break;
    }
  if (nurAscii) return text.toLower();
  QString k;
  k.reserve(text.size() + 4);
  for (QChar c : text) SchluesselzeichenAnhaengen(c.unicode(), [&k](char16_t z) { k.append(QChar(z)); });
  return k;
}

char16_t SchluesselzeichenOhneAkzent(char16_t u) {
  const QChar c(u);
  const QString zerlegt = c.decomposition();
  const QChar basis = zerlegt.isEmpty() ? c : zerlegt.at(0);
  return basis.toCaseFolded().unicode();
}

QString Dateiname(const QString& pfad) {
  const int pos = std::max(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\')));
  return pfad.mid(pos + 1);
}

QString Ordner(const QString& pfad) {
  const int pos = std::max(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\')));
  return pos < 0 ? QString() : pfad.left(pos + 1);
}

QString Basisname(const QString& pfad) {
  const QString name = Dateiname(pfad);
  const int punkt = name.indexOf(QLatin1Char('.'));
  return punkt < 0 ? name : name.left(punkt);
}

}  // namespace zt
