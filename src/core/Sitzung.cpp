#include "core/Sitzung.h"

#include <QDate>
#include <QElapsedTimer>

namespace zt {

Sitzung::Sitzung(Bediener& b, Uhr& u, System& sys) : bediener(b), uhr(u), system(sys) {
  bezugsjahr = uhr.jetzt().date().year();
  txtBezugsjahrAK = QString::number(bezugsjahr);
  // A row still being typed in cannot survive a table that was replaced or
  // reordered: its number would name another participant.
  connect(&tabelle, &Teilnehmertabelle::vorZuruecksetzen, this, [this] { neueZeile = 0; });
  // A change of the rows that no command recorded still is a change: it must
  // be saved, and the history before it no longer fits.
  const auto fremd = [this] {
    if (!stapel.arbeitet()) stapel.fremdeAenderung();
  };
  connect(&tabelle, &Teilnehmertabelle::nachZuruecksetzen, this, fremd);
  connect(&tabelle, &Teilnehmertabelle::nachEinfuegen, this, fremd);
  connect(&tabelle, &Teilnehmertabelle::nachEntfernen, this, fremd);
  connect(&tabelle, &Teilnehmertabelle::zeileGeaendert, this, fremd);
  connect(&tabelle, &Teilnehmertabelle::zeilenGeaendert, this, fremd);
}

QString Sitzung::programmdatei(const QString& name) const {
  QString o = pfade.programmordner;
  if (!o.isEmpty() && !o.endsWith(QLatin1Char('/'))) o += QLatin1Char('/');
  return o + name;
}

QString Sitzung::arbeitsdatei(const QString& name) const {
  QString o = pfade.arbeitsordner;
  if (!o.isEmpty() && !o.endsWith(QLatin1Char('/'))) o += QLatin1Char('/');
  return o + name;
}

QString Sitzung::laufEinstellungsdatei() const {
  return programmdatei(einst.txtNameLauf + QStringLiteral(".ini"));
}

Fortschritt::Fortschritt(Bediener& b, QString wort, int statusfeld)
    : m_b(b), m_wort(std::move(wort)), m_feld(statusfeld) {}

namespace {
qint64 msJetzt() {
  static QElapsedTimer t = [] {
    QElapsedTimer x;
    x.start();
    return x;
  }();
  return t.elapsed();
}
}  // namespace

void Fortschritt::melden(qint64 erledigt, qint64 gesamt) {
  if (gesamt <= 0) return;
  const int prozent = static_cast<int>((erledigt * 100 + gesamt / 2) / gesamt);
  if (prozent != m_letzteProzent && prozent % 10 == 0) {
    m_letzteProzent = prozent;
    m_b.status(m_feld, QString::number(prozent) + m_wort);
  }
  const qint64 jetzt = msJetzt();
  if (jetzt - m_letzterAufruf >= 50) {
    m_letzterAufruf = jetzt;
    m_b.ereignisse();
  }
}

}  // namespace zt
