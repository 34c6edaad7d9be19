#include "core/Befehlsstapel.h"

#include "core/Sitzung.h"

#include <algorithm>
#include <unordered_map>

namespace zt {

namespace {
void felderVergleichen(Tabellenschritt& d, int zeile, const Teilnehmerzeile& a, const Teilnehmerzeile& b) {
  if (!a.gleicheFelder(b) || a.textfarbe != b.textfarbe || a.hintergrund != b.hintergrund)
    d.geaendert.push_back({zeile, a, b});
}

// Rows are found again by who they are, not where they stand: a sort moves
// every row, a deletion every row after it.
Tabellenschritt unterschied(const std::vector<Teilnehmerzeile>& vorher, const std::vector<Teilnehmerzeile>& nachher) {
  Tabellenschritt d;
  d.anzahlVorher = static_cast<int>(vorher.size());
  d.anzahlNachher = static_cast<int>(nachher.size());
  // Ids are handed out one after the other: while they are not spread much
  // wider than the rows, a plain array finds a row by its id.
  quint64 hoechste = 0;
  for (const Teilnehmerzeile& z : vorher) hoechste = std::max(hoechste, z.kennung);
  const bool dicht = hoechste <= 4 * vorher.size() + 1024;
  std::vector<int> nachKennung(dicht ? hoechste + 1 : 0, -1);
  std::unordered_map<quint64, int> stelle;
  if (!dicht) stelle.reserve(vorher.size());
  for (int i = 0; i < d.anzahlVorher; ++i) {
    // Of two rows with one id the first counts, as the other comes new.
    if (dicht && nachKennung[vorher[i].kennung] < 0) nachKennung[vorher[i].kennung] = i;
    else if (!dicht) stelle.emplace(vorher[i].kennung, i);
  }
  const auto finden = [&](quint64 kennung) {
    if (kennung == 0) return -1;
    if (dicht) return kennung <= hoechste ? nachKennung[kennung] : -1;
    const auto it = stelle.find(kennung);
    return it == stelle.end() ? -1 : it->second;
  };
  std::vector<char> bleibt(vorher.size(), 0);
  std::vector<int> quelle(nachher.size(), -1);
  bool geordnet = true;
  int letzte = -1;
  for (int p = 0; p < d.anzahlNachher; ++p) {
    const int i = finden(nachher[p].kennung);
    // A row seen twice is the same row only once; the copy came new.
    if (i < 0 || bleibt[i]) continue;
    quelle[p] = i;
    bleibt[i] = 1;
    if (i < letzte) geordnet = false;
    letzte = i;
  }
  if (!geordnet) d.reihenfolge = quelle;
  for (int i = 0; i < d.anzahlVorher; ++i)
    if (!bleibt[i]) d.weg.emplace_back(i, vorher[i]);
  for (int p = 0; p < d.anzahlNachher; ++p) {
    // A changed row is read in both blocks, which lie anywhere after a sort.
    if (const int q = p + 2 * kVorausZeilen; q < d.anzahlNachher && quelle[q] >= 0)
      vorher[quelle[q]].eintragVorladen();
    if (const int q = p + kVorausZeilen; q < d.anzahlNachher && quelle[q] >= 0) {
      vorher[quelle[q]].vorladen();
      nachher[q].vorladen();
    }
    if (quelle[p] < 0) d.neu.emplace_back(p, nachher[p]);
    else felderVergleichen(d, p, vorher[quelle[p]], nachher[p]);
  }
  return d;
}

void setzen(std::vector<Teilnehmerzeile>& zeilen, const Tabellenschritt& d, bool neu) {
  for (const auto& g : d.geaendert) {
    Teilnehmerzeile& z = zeilen[g.zeile];
    const quint64 kennung = z.kennung;
    z = neu ? g.neu : g.alt;
    z.kennung = kennung;
  }
}

// Only fields or colours changed: set in place, so that the grid keeps its
// current row and scroll position.
void felderSetzen(Teilnehmertabelle& t, const Tabellenschritt& d, bool neu) {
  Zeichenpause pause(t);
  for (const auto& g : d.geaendert) t.zeileSetzen(g.zeile + 1, neu ? g.neu : g.alt);
  pause.beenden();
  if (!d.geaendert.empty()) t.setAktuelleZeile(d.geaendert.front().zeile + 1);
}
}  // namespace

bool Tabellenschritt::leer() const {
  return reihenfolge.empty() && weg.empty() && neu.empty() && geaendert.empty() &&
         sortierungAlt == sortierungNeu && speicherPfadAlt == speicherPfadNeu &&
         naechsteNummerAlt == naechsteNummerNeu;
}

void Tabellenschritt::rueckgaengig(Sitzung& s) const {
  Teilnehmertabelle& t = s.tabelle;
  if (reihenfolge.empty() && weg.empty() && neu.empty()) {
    felderSetzen(t, *this, false);
  } else {
    std::vector<Teilnehmerzeile> jetzt = t.zeilen();
    setzen(jetzt, *this, false);
    std::vector<Teilnehmerzeile> vorher(anzahlVorher);
    if (!reihenfolge.empty()) {
      for (int p = 0; p < anzahlNachher; ++p)
        if (reihenfolge[p] >= 0) vorher[reihenfolge[p]] = std::move(jetzt[p]);
      for (const auto& [i, z] : weg) vorher[i] = z;
    } else {
      size_t w = 0, n = 0;
      int p = 0;
      for (int i = 0; i < anzahlVorher; ++i) {
        if (w < weg.size() && weg[w].first == i) {
          vorher[i] = weg[w++].second;
          continue;
        }
        while (n < neu.size() && neu[n].first == p) ++p, ++n;
        vorher[i] = std::move(jetzt[p++]);
      }
    }
    t.ersetzen(std::move(vorher));
  }
  s.sortierung = sortierungAlt;
  s.speicherPfad = speicherPfadAlt;
  // Only a command that handed out numbers touches the counters: a number
  // the operator set on the settings page since then stays.
  if (naechsteNummerAlt != naechsteNummerNeu) s.einst.txtHauptlaufVonStartnummer = naechsteNummerAlt;
}

void Tabellenschritt::wiederholen(Sitzung& s) const {
  Teilnehmertabelle& t = s.tabelle;
  if (reihenfolge.empty() && weg.empty() && neu.empty()) {
    felderSetzen(t, *this, true);
  } else {
    const std::vector<Teilnehmerzeile>& jetzt = t.zeilen();
    std::vector<Teilnehmerzeile> nachher(anzahlNachher);
    size_t n = 0, w = 0;
    int i = 0;
    for (int p = 0; p < anzahlNachher; ++p) {
      if (n < neu.size() && neu[n].first == p) {
        nachher[p] = neu[n++].second;
      } else if (!reihenfolge.empty()) {
        nachher[p] = jetzt[reihenfolge[p]];
      } else {
        while (w < weg.size() && weg[w].first == i) ++i, ++w;
        nachher[p] = jetzt[i++];
      }
    }
    setzen(nachher, *this, true);
    t.ersetzen(std::move(nachher));
  }
  s.sortierung = sortierungNeu;
  s.speicherPfad = speicherPfadNeu;
  if (naechsteNummerAlt != naechsteNummerNeu) s.einst.txtHauptlaufVonStartnummer = naechsteNummerNeu;
}

namespace {
class Tabellenbefehl : public Befehl {
 public:
  Tabellenbefehl(QString text, Tabellenschritt d) : Befehl(std::move(text)), m_d(std::move(d)) {}
  void rueckgaengig(Sitzung& s) override { m_d.rueckgaengig(s); }
  void wiederholen(Sitzung& s) override { m_d.wiederholen(s); }
  int anzahlVorher() const { return m_d.anzahlVorher; }
  int anzahlNachher() const { return m_d.anzahlNachher; }

 private:
  Tabellenschritt m_d;
};
}  // namespace

// ---- the stack -------------------------------------------------------------

void Befehlsstapel::ablegen(std::unique_ptr<Befehl> befehl) {
  // What was taken back and not done again is gone for good; the saved state
  // among it can no longer be reached.
  if (m_sauber > m_index) m_sauber = -1;
  m_befehle.resize(m_index);
  m_befehle.push_back(std::move(befehl));
  ++m_index;
  Q_EMIT zustandGeaendert();
}

QString Befehlsstapel::rueckgaengigText() const {
  return kannRueckgaengig() ? m_befehle[m_index - 1]->text() : QString();
}

QString Befehlsstapel::wiederholenText() const {
  return kannWiederholen() ? m_befehle[m_index]->text() : QString();
}

bool Befehlsstapel::rueckgaengig(Sitzung& s) {
  if (!kannRueckgaengig()) return false;
  auto* b = dynamic_cast<Tabellenbefehl*>(m_befehle[m_index - 1].get());
  // A table of another size than the command left behind was changed past
  // the stack: taking back by row numbers would hit other participants.
  if (b && s.tabelle.anzahl() != b->anzahlNachher()) {
    fremdeAenderung();
    return false;
  }
  ++m_arbeitet;
  m_befehle[m_index - 1]->rueckgaengig(s);
  --m_arbeitet;
  --m_index;
  Q_EMIT zustandGeaendert();
  return true;
}

bool Befehlsstapel::wiederholen(Sitzung& s) {
  if (!kannWiederholen()) return false;
  auto* b = dynamic_cast<Tabellenbefehl*>(m_befehle[m_index].get());
  if (b && s.tabelle.anzahl() != b->anzahlVorher()) {
    fremdeAenderung();
    return false;
  }
  ++m_arbeitet;
  m_befehle[m_index]->wiederholen(s);
  --m_arbeitet;
  ++m_index;
  Q_EMIT zustandGeaendert();
  return true;
}

void Befehlsstapel::sauberMarkieren() {
  m_sauber = m_index;
  Q_EMIT zustandGeaendert();
}

void Befehlsstapel::neuBeginnen() {
  m_befehle.clear();
  m_index = m_sauber = 0;
  Q_EMIT zustandGeaendert();
}

void Befehlsstapel::fremdeAenderung() {
  const bool schonSo = m_befehle.empty() && m_sauber == -1;
  m_befehle.clear();
  m_index = 0;
  m_sauber = -1;
  if (!schonSo) Q_EMIT zustandGeaendert();
}

// ---- recording -------------------------------------------------------------

Aufzeichnung::Aufzeichnung(Sitzung& s, QString text) : m_s(s), m_text(std::move(text)) {
  if (s.stapel.arbeitet()) return;
  m_aussen = true;
  s.stapel.arbeitBeginnen();
  // Copies share the texts with the table: cheap, and gone after the diff.
  m_vorher = s.tabelle.zeilen();
  m_anzahlVorher = s.tabelle.anzahl();
  m_sortierung = s.sortierung;
  m_speicherPfad = s.speicherPfad;
  m_naechsteNummer = s.einst.txtHauptlaufVonStartnummer;
}

Aufzeichnung::Aufzeichnung(Sitzung& s, QString text, const QList<int>& zeilen) : m_s(s), m_text(std::move(text)) {
  if (s.stapel.arbeitet()) return;
  m_aussen = true;
  m_alleZeilen = false;
  s.stapel.arbeitBeginnen();
  for (int z : zeilen) {
    if (!s.tabelle.gueltig(z)) continue;
    m_zeilen.push_back(z - 1);
    m_vorher.push_back(s.tabelle.zeile(z));
  }
  m_anzahlVorher = s.tabelle.anzahl();
  m_sortierung = s.sortierung;
  m_speicherPfad = s.speicherPfad;
  m_naechsteNummer = s.einst.txtHauptlaufVonStartnummer;
}

Aufzeichnung::~Aufzeichnung() {
  if (!m_aussen) return;
  Befehlsstapel& st = m_s.stapel;
  const Teilnehmertabelle& t = m_s.tabelle;
  Tabellenschritt d;
  if (m_alleZeilen) {
    d = unterschied(m_vorher, t.zeilen());
  } else {
    bool passt = t.anzahl() >= m_anzahlVorher;
    for (size_t k = 0; passt && k < m_zeilen.size(); ++k)
      passt = t.zeilen()[m_zeilen[k]].kennung == m_vorher[k].kennung;
    if (!passt) {
      // The operation did more than it promised: its history cannot be kept.
      st.arbeitBeenden();
      st.fremdeAenderung();
      return;
    }
    d.anzahlVorher = m_anzahlVorher;
    d.anzahlNachher = t.anzahl();
    for (size_t k = 0; k < m_zeilen.size(); ++k) felderVergleichen(d, m_zeilen[k], m_vorher[k], t.zeilen()[m_zeilen[k]]);
    for (int p = m_anzahlVorher; p < t.anzahl(); ++p) d.neu.emplace_back(p, t.zeilen()[p]);
  }
  d.sortierungAlt = m_sortierung;
  d.sortierungNeu = m_s.sortierung;
  d.speicherPfadAlt = m_speicherPfad;
  d.speicherPfadNeu = m_s.speicherPfad;
  d.naechsteNummerAlt = m_naechsteNummer;
  d.naechsteNummerNeu = m_s.einst.txtHauptlaufVonStartnummer;
  m_vorher.clear();
  st.arbeitBeenden();
  if (!d.leer()) st.ablegen(std::make_unique<Tabellenbefehl>(m_text, std::move(d)));
}

Stille::Stille(Sitzung& s) : m_s(s) { m_s.stapel.arbeitBeginnen(); }
Stille::~Stille() { m_s.stapel.arbeitBeenden(); }

void ZeileAlsBefehlAblegen(Sitzung& s, int zeile, QString text, const std::array<QString, 4>& naechsteNummerVorher) {
  if (!s.tabelle.gueltig(zeile) || s.stapel.arbeitet()) return;
  Tabellenschritt d;
  d.anzahlNachher = s.tabelle.anzahl();
  d.anzahlVorher = d.anzahlNachher - 1;
  d.neu.emplace_back(zeile - 1, s.tabelle.zeile(zeile));
  d.sortierungAlt = d.sortierungNeu = s.sortierung;
  d.speicherPfadAlt = d.speicherPfadNeu = s.speicherPfad;
  d.naechsteNummerAlt = naechsteNummerVorher;
  d.naechsteNummerNeu = s.einst.txtHauptlaufVonStartnummer;
  s.stapel.ablegen(std::make_unique<Tabellenbefehl>(std::move(text), std::move(d)));
}

}  // namespace zt
