#include "core/Zeitwert.h"

namespace zt {

namespace {
// Six digits a field, as many as a time file ever held: enough for any race,
// and no sum of fields can overflow.
constexpr qsizetype kHoechstensZiffern = 6;

bool ziffer(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// A time is a dozen characters: a plain loop beats the general search.
qsizetype finden(QStringView t, char16_t c, qsizetype ab = 0) {
  for (qsizetype i = ab; i < t.size(); ++i)
    if (t[i].unicode() == c) return i;
  return -1;
}

bool ganzzahlLesen(QStringView t, long long& wert) {
  if (t.isEmpty() || t.size() > kHoechstensZiffern) return false;
  long long v = 0;
  for (QChar c : t) {
    if (!ziffer(c)) return false;
    v = v * 10 + (c.unicode() - '0');
  }
  wert = v;
  return true;
}

// Seconds with an optional decimal part, in tenths. Digits beyond the tenths
// round half up, in whole numbers: no floating point can tip 12.35 to 12.3.
bool sekundenLesen(QStringView t, long long& zehntel) {
  qsizetype komma = finden(t, u',');
  if (komma < 0) komma = finden(t, u'.');
  long long ganz = 0;
  if (!ganzzahlLesen(komma < 0 ? t : t.left(komma), ganz)) return false;
  zehntel = ganz * 10;
  if (komma < 0) return true;
  const QStringView bruch = t.mid(komma + 1);
  long long unbenutzt = 0;
  if (!ganzzahlLesen(bruch, unbenutzt)) return false;
  zehntel += bruch[0].unicode() - '0';
  if (bruch.size() > 1 && bruch[1].unicode() >= '5') ++zehntel;
  return true;
}

QString zweistellig(long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
}  // namespace

Zeitwert Zeitwert::ausZehnteln(long long zehntel) {
  Zeitwert w;
  w.m_zehntel = zehntel;
  w.m_felder = 1;
  return w;
}

Zeitwert Zeitwert::lesen(QStringView text) {
  const QStringView t = text.trimmed();
  const qsizetype a = finden(t, u':');
  if (a < 0) return {};
  const qsizetype b = finden(t, u':', a + 1);
  if (b >= 0 && finden(t, u':', b + 1) >= 0) return {};
  Zeitwert w;
  long long stunden = 0;
  QStringView minuten = t.left(a);
  QStringView sekunden = t.mid(a + 1);
  if (b >= 0) {
    if (!ganzzahlLesen(t.left(a), stunden)) return {};
    minuten = t.mid(a + 1, b - a - 1);
    sekunden = t.mid(b + 1);
  }
  if (!ganzzahlLesen(minuten, w.m_minutenfeld) || !sekundenLesen(sekunden, w.m_sekundenfeldZehntel)) return {};
  w.m_zehntel = stunden * 36000 + w.m_minutenfeld * 600 + w.m_sekundenfeldZehntel;
  w.m_felder = b >= 0 ? 3 : 2;
  return w;
}

long long Zeitwert::stunden() const {
  return m_felder == 3 ? (m_zehntel - m_minutenfeld * 600 - m_sekundenfeldZehntel) / 36000 : 0;
}

QString Zeitwert::text(QChar dezimalzeichen) const {
  // Split the total only now, so that a carry never leaves 60 seconds.
  const long long z = m_zehntel > 0 ? m_zehntel : 0;
  return QString::number(z / 36000) + QLatin1Char(':') + zweistellig(z / 600 % 60) + QLatin1Char(':') +
         zweistellig(z / 10 % 60) + dezimalzeichen + QString::number(z % 10);
}

QString Zeitwert::textGanzeSekunden() const {
  const long long s = m_zehntel > 0 ? m_zehntel / 10 : 0;
  return zweistellig(s / 3600) + QLatin1Char(':') + zweistellig(s / 60 % 60) + QLatin1Char(':') +
         zweistellig(s % 60);
}

QString Zeitwert::sekundenText(QChar dezimalzeichen) const {
  const QString ganz = QString::number(m_zehntel / 10);
  return m_zehntel % 10 == 0 ? ganz : ganz + dezimalzeichen + QString::number(m_zehntel % 10);
}

Zeitwert Zeitwert::operator+(Zeitwert b) const {
  return gueltig() && b.gueltig() ? ausZehnteln(m_zehntel + b.m_zehntel) : Zeitwert();
}

Zeitwert Zeitwert::operator-(Zeitwert b) const {
  return gueltig() && b.gueltig() ? ausZehnteln(m_zehntel - b.m_zehntel) : Zeitwert();
}

}  // namespace zt
