#pragma once
// Checking and completing one participant row after it was entered or changed.
#include <QString>
#include <array>

namespace zt {

class Sitzung;

// Works on the table's current row.
void PruefungLaufdaten(Sitzung& s);
void PruefungLaufdaten(Sitzung& s, int zeile);

// end_time of a duathlon row: bike and run leg added. A leg that holds no
// time ("ohne", empty, any other text) leaves it empty: counted as nought it
// would make the fastest runner.
void EndzeitSetzen(Sitzung& s, int zeile);

// The marks a row collects while it is checked ("?Zeit", "?AK", …), each
// once, in the order first found; never more than four different ones.
class Fehlermarken {
 public:
  void setzen(QLatin1StringView m) {
    for (int k = 0; k < m_anzahl; ++k)
      if (m_marken[k] == m) return;
    Q_ASSERT(m_anzahl < static_cast<int>(m_marken.size()));
    if (m_anzahl < static_cast<int>(m_marken.size())) m_marken[m_anzahl++] = m;
  }
  void loeschen() { m_anzahl = 0; }
  bool leer() const { return m_anzahl == 0; }
  // Separated by one blank.
  QString text() const {
    QString t;
    for (int k = 0; k < m_anzahl; ++k) {
      if (k) t += QLatin1Char(' ');
      t += m_marken[k];
    }
    return t;
  }

 private:
  std::array<QLatin1StringView, 4> m_marken;
  int m_anzahl = 0;
};

}  // namespace zt
