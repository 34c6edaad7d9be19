#include "core/Teilnehmertabelle.h"

#include "core/Text.h"
#include "core/Zeitwert.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace zt {

namespace {
const Spaltenbeschreibung kBeschreibung[kSpalten] = {
    {"checkdruck", "", Spaltenart::Haken, 600, false, true},
    {"platz", "Platz AK", Spaltenart::Zahl, 800, false, true},
    {"startnummer", "Start-Nr", Spaltenart::Zahl, 750, false, true},
    {"strecke", "Strecke", Spaltenart::Text, 800, false, true},
    {"namevorname", "Name, Vorname", Spaltenart::Text, 3000, true, true},
    {"jahr", "Jahr", Spaltenart::Jahr, 1000, false, true},
    {"vereinort", "Verein, Ort", Spaltenart::Text, 3000, true, true},
    {"zeit", "Zeit", Spaltenart::Zeit, 800, false, true},
    {"ak", "AK", Spaltenart::Text, 800, false, true},
    {"platzmw", "Platz m/w", Spaltenart::Zahl, 900, false, true},
    {"fehler", "Fehlerbeschreibung", Spaltenart::Fehler, 2000, true, true},
    {"platztotal", "Platz total", Spaltenart::Zahl, 900, false, true},
    {"nurstrecke", "Strecke", Spaltenart::Text, 800, false, false},
    {"gedruckt", "gedruckt", Spaltenart::Haken, 800, false, true},
    {"walker", "Walker", Spaltenart::Haken, 800, false, false},
    {"name_bike", "Teilnehmer Bike", Spaltenart::Text, 3000, true, false},
    {"name_run", "Teilnehmer Run", Spaltenart::Text, 3000, true, false},
    {"bike_time", "Bike", Spaltenart::Zeit, 800, false, false},
    {"run_time", "Run", Spaltenart::Zeit, 800, false, false},
    {"end_time", "Endzeit", Spaltenart::Zeit, 800, false, false},
};

// One distinct field value reduced to what the order depends on.
struct Sortwert {
  int klasse = 0;         // groups that always come in this order (e.g. empty last)
  long long zahl = 0;     // numbers, tenths of seconds, years
  QString schluessel;     // German sort key
  QString exakt;          // exact tie-break
};

bool kleiner(const Sortwert& a, const Sortwert& b) {
  if (a.klasse != b.klasse) return a.klasse < b.klasse;
  if (a.zahl != b.zahl) return a.zahl < b.zahl;
  if (int c = a.schluessel.compare(b.schluessel); c != 0) return c < 0;
  return a.exakt.compare(b.exakt) < 0;
}

Sortwert sortwert(Spaltenart art, const QString& text) {
  Sortwert w;
  const QString t = text.trimmed();
  switch (art) {
    case Spaltenart::Haken:
      w.klasse = IstWahr(t) ? 0 : 1;
      break;
    case Spaltenart::Zahl:
      if (t.isEmpty()) w.klasse = 1;
      // Place and start numbers are whole numbers; thousandths keep "1.5" apart
      // from "1" without any floating-point comparison.
      else w.zahl = std::llround(Zahlwert(t) * 1000.0);
      break;
    case Spaltenart::Zeit:
      if (t.isEmpty()) {
        w.klasse = 2;
      } else if (const Zeitwert z = Zeitwert::lesen(t); z.gueltig()) {
        w.zahl = z.zehntel();
      } else {
        w.klasse = 1;
        w.schluessel = DeutscherSortierschluessel(t);
        w.exakt = text;
      }
      break;
    case Spaltenart::Jahr:
      if (t.isEmpty()) {
        w.klasse = 1;
      } else {
        w.zahl = JahrAusFeld(t);
        w.schluessel = DeutscherSortierschluessel(t);
        w.exakt = text;
      }
      break;
    case Spaltenart::Fehler:
      w.exakt = text;
      break;
    case Spaltenart::Text:
      if (t.isEmpty()) {
        w.klasse = 1;
        w.exakt = text;
      } else {
        w.schluessel = DeutscherSortierschluessel(text);
        w.exakt = text;
      }
      break;
  }
  return w;
}

// The distinct texts of a column, numbered in the order first seen. A text
// is found by its characters, whether a row holds it as Latin-1 or as UTF-16;
// a null and an empty field are the same text, as for QString's ==.
class Textnummern {
 public:
  int nummer(const Feldsicht& f, bool& neu) {
    quint32 h = 2166136261u;
    for (qsizetype k = 0; k < f.laenge; ++k) h = (h ^ f.zeichen(k)) * 16777619u;
    if (2 * (m_texte.size() + 1) > m_platz.size()) wachsen();
    const size_t maske = m_platz.size() - 1;
    for (size_t p = h & maske;; p = (p + 1) & maske) {
      const int nr = m_platz[p];
      if (nr < 0) {
        m_platz[p] = static_cast<int>(m_texte.size());
        m_hash.push_back(h);
        m_texte.push_back(f.text());
        neu = true;
        return m_platz[p];
      }
      if (m_hash[nr] == h && f.gleich(m_texte[nr])) return nr;
    }
  }
  const QString& text(int nr) const { return m_texte[nr]; }

 private:
  void wachsen() {
    m_platz.assign(std::max<size_t>(64, 2 * m_platz.size()), -1);
    const size_t maske = m_platz.size() - 1;
    for (size_t nr = 0; nr < m_texte.size(); ++nr) {
      size_t p = m_hash[nr] & maske;
      while (m_platz[p] >= 0) p = (p + 1) & maske;
      m_platz[p] = static_cast<int>(nr);
    }
  }
  std::vector<int> m_platz;
  std::vector<quint32> m_hash;
  std::vector<QString> m_texte;
};

// Dense ranks from one 64-bit key per row.
std::vector<int> raengeAusSchluesseln(const std::vector<quint64>& schluessel) {
  const int n = static_cast<int>(schluessel.size());
  std::vector<std::pair<quint64, int>> paare(n);
  for (int i = 0; i < n; ++i) paare[i] = {schluessel[i], i};
  std::sort(paare.begin(), paare.end());
  std::vector<int> rang(n);
  int r = 0;
  for (int i = 0; i < n; ++i) {
    if (i > 0 && paare[i - 1].first != paare[i].first) ++r;
    rang[paare[i].second] = r;
  }
  return rang;
}

// Dense ranks of one column, gathered row by row: the ranks of several
// columns come from one pass over the rows, each row's block read once. A
// big table does not fit in the cache, and a pass per column would fetch
// every row again.
class Rangbildner {
 public:
  Rangbildner(const std::vector<Teilnehmerzeile>& zeilen, int spalte)
      : m_zeilen(zeilen), m_spalte(spalte), m_art(kBeschreibung[spalte - 1].art) {
    const size_t n = zeilen.size();
    if (m_art == Spaltenart::Zahl || m_art == Spaltenart::Zeit || m_art == Spaltenart::Haken) {
      // Numbers, times and check marks reduce to one integer per row; only
      // the few texts among times need a text order of their own.
      m_weg = Weg::Zahlen;
      m_schluessel.resize(n);
      m_textNr.assign(n, -1);
    } else if (spalte == S_namevorname || spalte == S_name_bike || spalte == S_name_run) {
      // Names are nearly all different: sorting them directly is cheaper than
      // collecting the distinct ones first.
      m_weg = Weg::Namen;
      m_namenArt.resize(n);
      m_anfang.resize(n);
    } else {
      m_weg = Weg::Distinkt;
      m_distinktNr.resize(n);
    }
  }

  void lesen(int i) {
    switch (m_weg) {
      case Weg::Zahlen: return zahlLesen(i);
      case Weg::Namen: return nameLesen(i);
      case Weg::Distinkt: {
        bool neu = false;
        m_distinktNr[i] = m_index.nummer(m_zeilen[i].sicht(m_spalte), neu);
        if (neu) m_werte.push_back(sortwert(m_art, m_index.text(m_distinktNr[i])));
        return;
      }
    }
  }

  std::vector<int> raenge() {
    switch (m_weg) {
      case Weg::Zahlen: return zahlRaenge();
      case Weg::Namen: return namenRaenge();
      case Weg::Distinkt: break;
    }
    std::vector<int> ordnung(m_werte.size());
    for (size_t i = 0; i < ordnung.size(); ++i) ordnung[i] = static_cast<int>(i);
    std::sort(ordnung.begin(), ordnung.end(), [&](int a, int b) { return kleiner(m_werte[a], m_werte[b]); });
    std::vector<int> rang(m_werte.size());
    int r = 0;
    for (size_t i = 0; i < ordnung.size(); ++i) {
      if (i > 0 && kleiner(m_werte[ordnung[i - 1]], m_werte[ordnung[i]])) ++r;
      rang[ordnung[i]] = r;
    }
    std::vector<int> ergebnis(m_distinktNr.size());
    for (size_t i = 0; i < ergebnis.size(); ++i) ergebnis[i] = rang[m_distinktNr[i]];
    return ergebnis;
  }

 private:
  static quint64 schluesselAus(int klasse, long long zahl) {
    constexpr quint64 kVersatz = quint64(1) << 52;
    return (static_cast<quint64>(klasse) << 60) |
           static_cast<quint64>(std::clamp<long long>(zahl, -(1LL << 51), (1LL << 51) - 1) +
                                static_cast<long long>(kVersatz));
  }

  void zahlLesen(int i) {
    if (m_art == Spaltenart::Zeit) {
      // What sortwert gives for an empty field and a readable time, without
      // a string.
      const Feldtext f(m_zeilen[i], m_spalte);
      if (f.sicht().isEmpty()) {
        m_schluessel[i] = schluesselAus(2, 0);
        return;
      }
      if (const Zeitwert z = Zeitwert::lesen(f.sicht()); z.gueltig()) {
        m_schluessel[i] = schluesselAus(0, z.zehntel());
        return;
      }
    }
    QString& t = m_puffer;
    t.resize(0);
    m_zeilen[i].feldAnhaengen(t, m_spalte);
    if (m_art == Spaltenart::Haken) {
      m_schluessel[i] = IstWahr(t) ? 0 : 1;
      return;
    }
    const Sortwert w = sortwert(m_art, t);
    if (w.klasse == 1 && m_art == Spaltenart::Zeit) {
      auto it = m_texte.constFind(t);
      if (it == m_texte.constEnd())
        it = m_texte.insert(QString(t.constData(), t.size()), static_cast<int>(m_texte.size()));
      m_textNr[i] = it.value();
    }
    m_schluessel[i] = schluesselAus(w.klasse, w.zahl);
  }

  std::vector<int> zahlRaenge() {
    if (!m_texte.isEmpty()) {
      std::vector<std::pair<Sortwert, int>> liste;
      for (auto it = m_texte.constBegin(); it != m_texte.constEnd(); ++it)
        liste.push_back({sortwert(m_art, it.key()), it.value()});
      std::sort(liste.begin(), liste.end(), [](const auto& a, const auto& b) { return kleiner(a.first, b.first); });
      std::vector<int> textRang(liste.size());
      int r = 0;
      for (size_t i = 0; i < liste.size(); ++i) {
        if (i > 0 && kleiner(liste[i - 1].first, liste[i].first)) ++r;
        textRang[liste[i].second] = r;
      }
      for (size_t i = 0; i < m_schluessel.size(); ++i)
        if (m_textNr[i] >= 0) m_schluessel[i] = (quint64(1) << 60) | static_cast<quint64>(textRang[m_textNr[i]]);
    }
    return raengeAusSchluesseln(m_schluessel);
  }

  // Per row only the first sixteen characters of the German key are made,
  // straight from the row's block and a byte each: they settle nearly every
  // comparison (from the first character at or above U+00FF on they stand
  // aside). The whole key and the exact text, the last tie-breaks, are read
  // only for rows whose start equals another row's.
  void nameLesen(int i) {
    const Feldsicht f = m_zeilen[i].sicht(m_spalte);
    if (f.leerOderBlank()) {
      // Blank names sort after all others; the group sort puts them there.
      m_anfang[i] = {~quint64(0), ~quint64(0)};
      m_namenArt[i] = kLeer;
      return;
    }
    std::pair<quint64, quint64> a{0, 0};
    int k = 0;
    bool ueber = false, abgeschnitten = false;
    const auto anhaengen = [&](char16_t c) {
      if (k == 16) {
        abgeschnitten = true;
        return;
      }
      ueber = ueber || c >= 0xFF;
      quint64& teil = k < 8 ? a.first : a.second;
      teil = (teil << 8) | (ueber ? 0xFF : c);
      ++k;
    };
    qsizetype j = 0;
    for (; j < f.laenge && !abgeschnitten; ++j) SchluesselzeichenAnhaengen(f.zeichen(j), anhaengen);
    const bool ganz = !ueber && !abgeschnitten && j == f.laenge;
    while (k < 16) anhaengen(0);
    m_anfang[i] = a;
    m_namenArt[i] = ganz ? kGanz : 0;
  }

  std::vector<int> namenRaenge() {
    const int n = static_cast<int>(m_anfang.size());
    struct Eintrag {
      std::pair<quint64, quint64> anfang;
      int zeile;
    };
    std::vector<Eintrag> ordnung(n);
    for (int i = 0; i < n; ++i) ordnung[i] = {m_anfang[i], i};
    std::sort(ordnung.begin(), ordnung.end(), [](const Eintrag& a, const Eintrag& b) { return a.anfang < b.anfang; });
    std::vector<int> rang(n);
    int r = -1;
    std::vector<std::pair<int, QString>> gruppe;  // row, whole key
    for (int von = 0; von < n;) {
      int bis = von + 1;
      while (bis < n && ordnung[bis].anfang == ordnung[von].anfang) ++bis;
      if (bis - von == 1) {
        rang[ordnung[von].zeile] = ++r;
        von = bis;
        continue;
      }
      // Rows with the same start: blank ones last, then by the whole key
      // (needed only where a key did not fit in its start), then by the
      // exact text.
      bool alleGanz = true;
      for (int k = von; k < bis; ++k) alleGanz = alleGanz && (m_namenArt[ordnung[k].zeile] & kGanz);
      gruppe.clear();
      for (int k = von; k < bis; ++k) {
        const int z = ordnung[k].zeile;
        gruppe.push_back({z, alleGanz || (m_namenArt[z] & kLeer) ? QString()
                                                                  : DeutscherSortierschluessel(m_zeilen[z].feld(m_spalte))});
      }
      const auto vergleich = [&](const std::pair<int, QString>& a, const std::pair<int, QString>& b) {
        const int ka = m_namenArt[a.first] & kLeer, kb = m_namenArt[b.first] & kLeer;
        if (ka != kb) return ka < kb ? -1 : 1;
        if (const int c = a.second.compare(b.second); c != 0) return c;
        return m_zeilen[a.first].sicht(m_spalte).vergleichen(m_zeilen[b.first].sicht(m_spalte));
      };
      std::sort(gruppe.begin(), gruppe.end(), [&](const auto& a, const auto& b) { return vergleich(a, b) < 0; });
      for (size_t k = 0; k < gruppe.size(); ++k) {
        if (k == 0 || vergleich(gruppe[k - 1], gruppe[k]) < 0) ++r;
        rang[gruppe[k].first] = r;
      }
      von = bis;
    }
    return rang;
  }

  enum class Weg { Zahlen, Namen, Distinkt };
  const std::vector<Teilnehmerzeile>& m_zeilen;
  int m_spalte;
  Spaltenart m_art;
  Weg m_weg = Weg::Distinkt;
  std::vector<quint64> m_schluessel;
  QHash<QString, int> m_texte;
  std::vector<int> m_textNr;
  QString m_puffer;
  static constexpr unsigned char kLeer = 1, kGanz = 2;  // blank; whole key in m_anfang
  std::vector<unsigned char> m_namenArt;
  std::vector<std::pair<quint64, quint64>> m_anfang;
  std::vector<int> m_distinktNr;
  Textnummern m_index;
  std::vector<Sortwert> m_werte;
};

// Ranks of several columns (valid column numbers) in one pass over the rows.
std::vector<std::vector<int>> raengeDer(const std::vector<Teilnehmerzeile>& zeilen, const std::vector<int>& spalten,
                                        std::vector<char>* belegt = nullptr) {
  std::vector<Rangbildner> bildner;
  bildner.reserve(spalten.size());
  for (int s : spalten) bildner.emplace_back(zeilen, s);
  const int n = static_cast<int>(zeilen.size());
  if (belegt) belegt->assign(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    // After a sort the rows' blocks lie in memory in another order.
    if (i + kVorausZeilen < n) zeilen[i + kVorausZeilen].vorladen();
    for (Rangbildner& b : bildner) b.lesen(i);
    if (belegt && !spalten.empty()) (*belegt)[i] = !zeilen[i].sicht(spalten[0]).leerOderBlank();
  }
  std::vector<std::vector<int>> r;
  for (Rangbildner& b : bildner) r.push_back(b.raenge());
  return r;
}
}  // namespace

const Spaltenbeschreibung& Spaltenbeschreibung_(int spalte) { return kBeschreibung[spalte - 1]; }

int Spaltennummer(const QString& schluessel) {
  for (int i = 0; i < kSpalten; ++i)
    if (schluessel == QLatin1String(kBeschreibung[i].schluessel)) return i + 1;
  return 0;
}

// The block of a row: a 32-bit head, the end of every field, then the text of
// all fields one after the other. The text takes one byte a character while
// every character fits in Latin-1 (nearly every German name, club and time)
// and two bytes otherwise; the ends take two bytes each up to 65535
// characters and four beyond. A row without any field has no block. Equal
// fields always give equal blocks, so rows compare with one memcmp.
namespace {
// Head bits 0..19: field i+1 is not null (an empty field may be either).
constexpr quint32 kBreit = 1u << 30;  // two bytes a character
constexpr quint32 kLang = 1u << 31;   // four-byte ends
constexpr qsizetype kKopf = 4;

quint32 kopfVon(const char* p) {
  quint32 k;
  std::memcpy(&k, p, sizeof k);
  return k;
}

qsizetype endeVon(const char* p, quint32 kopf, int i) {
  if (kopf & kLang) {
    quint32 e;
    std::memcpy(&e, p + kKopf + 4 * i, 4);
    return e;
  }
  quint16 e;
  std::memcpy(&e, p + kKopf + 2 * i, 2);
  return e;
}

qsizetype textanfang(quint32 kopf) { return kKopf + kSpalten * ((kopf & kLang) ? 4 : 2); }

// One field on its way into a block.
using Stueck = Feldsicht;

Stueck stueckAus(QStringView v) { return {v.utf16(), v.size(), true, !v.isNull()}; }

// Empty when a character does not fit in one byte and breit is false.
QByteArray packenAls(const std::array<Stueck, kSpalten>& f, quint32 kopf, qsizetype summe, bool breit) {
  if (breit) kopf |= kBreit;
  if (summe > 0xFFFF) kopf |= kLang;
  const qsizetype anfang = textanfang(kopf);
  QByteArray d(anfang + summe * (breit ? 2 : 1), Qt::Uninitialized);
  char* p = d.data();
  std::memcpy(p, &kopf, sizeof kopf);
  // The head and the ends take an even number of bytes: the text is aligned
  // for two-byte characters.
  char* schmal = p + anfang;
  auto* weit = reinterpret_cast<char16_t*>(schmal);
  char16_t oder = 0;
  // Fields that lie one after the other in their source (the unchanged
  // fields of an old block) go over in one copy.
  const void* lauf = nullptr;
  qsizetype laufLaenge = 0, laufZiel = 0;
  bool laufBreit = false;
  const auto kopieren = [&] {
    if (!laufLaenge) return;
    const auto* quelleWeit = static_cast<const char16_t*>(lauf);
    const auto* quelleSchmal = static_cast<const unsigned char*>(lauf);
    if (breit && laufBreit) {
      std::memcpy(weit + laufZiel, quelleWeit, 2 * laufLaenge);
    } else if (breit) {
      for (qsizetype k = 0; k < laufLaenge; ++k) weit[laufZiel + k] = quelleSchmal[k];
    } else if (laufBreit) {
      for (qsizetype k = 0; k < laufLaenge; ++k) {
        oder |= quelleWeit[k];
        schmal[laufZiel + k] = static_cast<char>(quelleWeit[k]);
      }
    } else {
      std::memcpy(schmal + laufZiel, quelleSchmal, laufLaenge);
    }
  };
  qsizetype ende = 0;
  for (int i = 0; i < kSpalten; ++i) {
    const Stueck& s = f[i];
    // An empty field may have no data at all: it never starts a copy.
    if (s.laenge) {
      const bool anschluss = lauf && s.breit == laufBreit &&
                             s.daten == static_cast<const char*>(lauf) + (laufBreit ? 2 : 1) * laufLaenge;
      if (anschluss) {
        laufLaenge += s.laenge;
      } else {
        kopieren();
        lauf = s.daten;
        laufLaenge = s.laenge;
        laufBreit = s.breit;
        laufZiel = ende;
      }
    }
    ende += s.laenge;
    if (kopf & kLang) {
      const quint32 e = static_cast<quint32>(ende);
      std::memcpy(p + kKopf + 4 * i, &e, 4);
    } else {
      const quint16 e = static_cast<quint16>(ende);
      std::memcpy(p + kKopf + 2 * i, &e, 2);
    }
  }
  kopieren();
  if (oder > 0xFF) return QByteArray();
  return d;
}

// Nearly every row fits in Latin-1: it is narrowed in the same pass that
// looks for a wider character, and only a row that has one is packed again.
QByteArray packen(const std::array<Stueck, kSpalten>& f) {
  quint32 kopf = 0;
  qsizetype summe = 0;
  for (int i = 0; i < kSpalten; ++i) {
    if (f[i].nichtNull) kopf |= 1u << i;
    summe += f[i].laenge;
  }
  if (kopf == 0) return QByteArray();
  QByteArray d = packenAls(f, kopf, summe, false);
  return d.isEmpty() ? packenAls(f, kopf, summe, true) : d;
}
}  // namespace

bool Feldsicht::gleich(QStringView t) const {
  if (t.size() != laenge) return false;
  if (breit) return laenge == 0 || std::memcmp(daten, t.utf16(), 2 * laenge) == 0;
  const auto* b = static_cast<const unsigned char*>(daten);
  for (qsizetype k = 0; k < laenge; ++k)
    if (t[k].unicode() != b[k]) return false;
  return true;
}

int Feldsicht::vergleichen(const Feldsicht& b) const {
  const qsizetype n = std::min(laenge, b.laenge);
  for (qsizetype k = 0; k < n; ++k)
    if (const char16_t x = zeichen(k), y = b.zeichen(k); x != y) return x < y ? -1 : 1;
  return laenge == b.laenge ? 0 : laenge < b.laenge ? -1 : 1;
}

bool Feldsicht::leerOderBlank() const {
  for (qsizetype k = 0; k < laenge; ++k)
    if (!QChar(zeichen(k)).isSpace()) return false;
  return true;
}

QString Feldsicht::text() const {
  if (!nichtNull) return QString();
  if (laenge == 0) return QString(QLatin1StringView(""));
  if (!breit) return QString::fromLatin1(static_cast<const char*>(daten), laenge);
  return QString(reinterpret_cast<const QChar*>(daten), laenge);
}

Feldtext::Feldtext(const Teilnehmerzeile& z, int spalte) {
  const Feldsicht f = z.sicht(spalte);
  if (f.laenge > static_cast<qsizetype>(std::size(m_zeichen))) {
    m_lang = f.text();
    m_sicht = QStringView(m_lang).trimmed();
    return;
  }
  for (qsizetype k = 0; k < f.laenge; ++k) m_zeichen[k] = f.zeichen(k);
  m_sicht = QStringView(m_zeichen, f.laenge).trimmed();
}

Feldsicht Teilnehmerzeile::sicht(int spalte) const {
  if (spalte < 1 || spalte > kSpalten || m_daten.isEmpty()) return {};
  const char* p = m_daten.constData();
  const quint32 kopf = kopfVon(p);
  const int i = spalte - 1;
  const qsizetype von = i ? endeVon(p, kopf, i - 1) : 0;
  const bool breit = kopf & kBreit;
  return {p + textanfang(kopf) + (breit ? 2 : 1) * von, endeVon(p, kopf, i) - von, breit, bool(kopf & (1u << i))};
}

QString Teilnehmerzeile::feld(int spalte) const {
  if (spalte < 1 || spalte > kSpalten || m_daten.isEmpty()) return QString();
  const char* p = m_daten.constData();
  const quint32 kopf = kopfVon(p);
  const int i = spalte - 1;
  if (!(kopf & (1u << i))) return QString();
  const qsizetype von = i ? endeVon(p, kopf, i - 1) : 0;
  const qsizetype laenge = endeVon(p, kopf, i) - von;
  if (laenge == 0) return QString(QLatin1StringView(""));
  const char* text = p + textanfang(kopf);
  if (!(kopf & kBreit)) return QString::fromLatin1(text + von, laenge);
  QString t(laenge, Qt::Uninitialized);
  std::memcpy(t.data(), text + 2 * von, 2 * laenge);
  return t;
}

void Teilnehmerzeile::feldAnhaengen(QString& ziel, int spalte) const {
  if (spalte < 1 || spalte > kSpalten || m_daten.isEmpty()) return;
  const char* p = m_daten.constData();
  const quint32 kopf = kopfVon(p);
  const int i = spalte - 1;
  const qsizetype von = i ? endeVon(p, kopf, i - 1) : 0;
  const qsizetype laenge = endeVon(p, kopf, i) - von;
  if (laenge == 0) return;
  const char* text = p + textanfang(kopf);
  if (!(kopf & kBreit)) {
    ziel.append(QLatin1StringView(text + von, laenge));
    return;
  }
  const qsizetype alt = ziel.size();
  ziel.resize(alt + laenge);
  std::memcpy(ziel.data() + alt, text + 2 * von, 2 * laenge);
}

qsizetype Teilnehmerzeile::feldlaenge(int spalte) const {
  if (spalte < 1 || spalte > kSpalten || m_daten.isEmpty()) return 0;
  const char* p = m_daten.constData();
  const quint32 kopf = kopfVon(p);
  const int i = spalte - 1;
  return endeVon(p, kopf, i) - (i ? endeVon(p, kopf, i - 1) : 0);
}

void Teilnehmerzeile::setFelder(const std::array<QStringView, kSpalten>& felder) {
  std::array<Stueck, kSpalten> f;
  for (int i = 0; i < kSpalten; ++i) f[i] = stueckAus(felder[i]);
  m_daten = packen(f);
}

void Teilnehmerzeile::setFeld(int spalte, const QString& wert) { setFelder({{spalte, QStringView(wert)}}); }

namespace {
// The common case of a change: a block of one-byte text with short ends, and
// new values whose characters fit in a byte. The new block is the old one
// with the new values cut in, and it is the block packen would make, byte for
// byte. Empty when the case does not apply.
QByteArray eingesetzt(const QByteArray& alt, std::span<const std::pair<int, QStringView>> werte) {
  if (alt.isEmpty()) return QByteArray();
  const char* p = alt.constData();
  quint32 kopf = kopfVon(p);
  if (kopf & (kBreit | kLang)) return QByteArray();
  std::array<const QStringView*, kSpalten> neu{};
  for (const auto& [spalte, wert] : werte) {
    if (spalte < 1 || spalte > kSpalten) continue;
    for (QChar c : wert)
      if (c.unicode() > 0xFF) return QByteArray();
    neu[spalte - 1] = &wert;
  }
  std::array<quint16, kSpalten> enden;
  std::memcpy(enden.data(), p + kKopf, sizeof enden);
  qsizetype summe = 0, von = 0;
  for (int i = 0; i < kSpalten; ++i) {
    if (neu[i]) {
      summe += neu[i]->size();
      kopf = neu[i]->isNull() ? kopf & ~(1u << i) : kopf | (1u << i);
    } else {
      summe += enden[i] - von;
    }
    von = enden[i];
  }
  if (summe > 0xFFFF || kopf == 0) return QByteArray();
  const qsizetype anfang = textanfang(kopf);
  QByteArray d(anfang + summe, Qt::Uninitialized);
  char* z = d.data();
  std::memcpy(z, &kopf, sizeof kopf);
  const char* text = p + textanfang(kopfVon(p));
  char* ziel = z + anfang;
  const std::array<quint16, kSpalten> alte = enden;
  qsizetype ende = 0;
  for (int i = 0; i < kSpalten;) {
    const qsizetype alterAnfang = i ? alte[i - 1] : 0;
    if (neu[i]) {
      const QStringView w = *neu[i];
      for (qsizetype k = 0; k < w.size(); ++k) ziel[ende + k] = static_cast<char>(w[k].unicode());
      ende += w.size();
      enden[i++] = static_cast<quint16>(ende);
      continue;
    }
    // The unchanged fields up to the next new one go over in one copy.
    int j = i;
    while (j + 1 < kSpalten && !neu[j + 1]) ++j;
    const qsizetype laenge = alte[j] - alterAnfang;
    if (laenge) std::memcpy(ziel + ende, text + alterAnfang, laenge);
    for (int k = i; k <= j; ++k) enden[k] = static_cast<quint16>(alte[k] - alterAnfang + ende);
    ende += laenge;
    i = j + 1;
  }
  std::memcpy(z + kKopf, enden.data(), sizeof enden);
  return d;
}
}  // namespace

void Teilnehmerzeile::setFelder(std::span<const std::pair<int, QStringView>> werte) {
  if (QByteArray d = eingesetzt(m_daten, werte); !d.isEmpty()) {
    m_daten = std::move(d);
    return;
  }
  // The other fields go over from the old block as they are: no string for them.
  std::array<Stueck, kSpalten> f;
  if (!m_daten.isEmpty()) {
    const char* p = m_daten.constData();
    const quint32 kopf = kopfVon(p);
    const char* text = p + textanfang(kopf);
    const bool breit = kopf & kBreit;
    qsizetype von = 0;
    for (int i = 0; i < kSpalten; ++i) {
      const qsizetype bis = endeVon(p, kopf, i);
      f[i] = {text + (breit ? 2 : 1) * von, bis - von, breit, bool(kopf & (1u << i))};
      von = bis;
    }
  }
  bool etwas = false;
  for (const auto& [spalte, wert] : werte) {
    if (spalte < 1 || spalte > kSpalten) continue;
    f[spalte - 1] = stueckAus(wert);
    etwas = true;
  }
  if (!etwas) return;
  // packen reads the old block while it builds the new one.
  QByteArray neu = packen(f);
  m_daten = std::move(neu);
}

Teilnehmertabelle::Teilnehmertabelle(QObject* parent) : QObject(parent) { spaltenNeuAnlegen(); }

QString Teilnehmertabelle::feld(int zeile, int spalte) const {
  if (!gueltig(zeile) || spalte < 1 || spalte > kSpalten) return QString();
  return m_zeilen[zeile - 1].feld(spalte);
}

QString Teilnehmertabelle::feld(int zeile, const QString& schluessel) const {
  return feld(zeile, Spaltennummer(schluessel));
}

void Teilnehmertabelle::setFeld(int zeile, int spalte, const QString& wert) {
  setFelder(zeile, {{spalte, QStringView(wert)}});
}

void Teilnehmertabelle::setFelder(int zeile, std::span<const std::pair<int, QStringView>> werte) {
  if (!gueltig(zeile)) return;
  Teilnehmerzeile& z = m_zeilen[zeile - 1];
  QVarLengthArray<QString, 4> bereinigt;
  QVarLengthArray<std::pair<int, QStringView>, 4> liste;
  // The views must not move when a cleaned value is added.
  bereinigt.reserve(static_cast<qsizetype>(werte.size()));
  for (const auto& [spalte, wert] : werte) {
    if (spalte < 1 || spalte > kSpalten) continue;
    QStringView neu = wert;
    // Only a value with a control character needs a string of its own.
    for (QChar c : wert)
      if (c.unicode() < 0x20) {
        bereinigt.append(FeldBereinigt(wert.toString()));
        neu = bereinigt.back();
        break;
      }
    const Feldsicht alt = z.sicht(spalte);
    if (alt.nichtNull != neu.isNull() && alt.gleich(neu)) continue;
    if (spalte == S_startnummer) {
      indexAendern(alt.text(), -1);
      indexAendern(neu.toString(), +1);
    }
    liste.append({spalte, neu});
  }
  if (liste.isEmpty()) return;
  // One new block for all of them.
  z.setFelder(std::span(liste.data(), static_cast<size_t>(liste.size())));
  if (m_aussetzen) m_felderAusstehend = true;
  else Q_EMIT zeileGeaendert(zeile - 1);
}

void Teilnehmertabelle::setFeld(int zeile, const QString& schluessel, const QString& wert) {
  setFeld(zeile, Spaltennummer(schluessel), wert);
}

int Teilnehmertabelle::zeileHinzufuegen(const QString& zeilentext) {
  Teilnehmerzeile z;
  const QStringList teile = zeilentext.split(QLatin1Char('\t'));
  std::array<QString, kSpalten> felder;
  std::array<QStringView, kSpalten> sicht{};
  for (int i = 0; i < kSpalten && i < teile.size(); ++i) {
    felder[i] = FeldBereinigt(teile[i]);
    sicht[i] = felder[i];
  }
  z.setFelder(sicht);
  return zeileHinzufuegen(z);
}

void Teilnehmertabelle::kennungVergeben(Teilnehmerzeile& z) {
  if (z.kennung == 0) z.kennung = m_naechsteKennung++;
}

int Teilnehmertabelle::zeileHinzufuegen(const Teilnehmerzeile& zeile) {
  Teilnehmerzeile z = zeile;
  kennungVergeben(z);
  const int neu = anzahl();
  indexAendern(z.feld(S_startnummer), +1);
  if (m_aussetzen) {
    m_zeilen.push_back(z);
    m_umbauAusstehend = true;
  } else {
    Q_EMIT vorEinfuegen(neu, neu);
    m_zeilen.push_back(z);
    Q_EMIT nachEinfuegen();
  }
  return neu + 1;
}

void Teilnehmertabelle::zeilenAnhaengen(std::vector<Teilnehmerzeile>&& zeilen) {
  if (zeilen.empty()) return;
  const int erste = anzahl();
  const int letzte = erste + static_cast<int>(zeilen.size()) - 1;
  if (!m_aussetzen) Q_EMIT vorEinfuegen(erste, letzte);
  if (zeilen.size() > 1000) m_indexGueltig = false;
  for (Teilnehmerzeile& z : zeilen) kennungVergeben(z);
  // A big append builds the index when it is first asked, not row by row.
  if (m_indexGueltig)
    for (const Teilnehmerzeile& z : zeilen) indexAendern(z.feld(S_startnummer), +1);
  // Into an empty table the vector itself moves: no second one while a big
  // file is loaded.
  if (m_zeilen.empty())
    m_zeilen = std::move(zeilen);
  else
    m_zeilen.insert(m_zeilen.end(), std::make_move_iterator(zeilen.begin()),
                    std::make_move_iterator(zeilen.end()));
  if (m_aussetzen) m_umbauAusstehend = true;
  else Q_EMIT nachEinfuegen();
}

QString Teilnehmertabelle::zeilentext(int zeile) const {
  if (!gueltig(zeile)) return QString();
  const Teilnehmerzeile& z = m_zeilen[zeile - 1];
  qsizetype laenge = kSpalten - 1;
  for (int i = 1; i <= kSpalten; ++i) laenge += z.feldlaenge(i);
  QString t;
  t.reserve(laenge);
  for (int i = 1; i <= kSpalten; ++i) {
    if (i > 1) t += QLatin1Char('\t');
    z.feldAnhaengen(t, i);
  }
  return t;
}

void Teilnehmertabelle::zeileLoeschen(int zeile) {
  if (!gueltig(zeile)) return;
  if (!m_aussetzen) Q_EMIT vorEntfernen(zeile - 1, zeile - 1);
  indexAendern(m_zeilen[zeile - 1].feld(S_startnummer), -1);
  m_zeilen.erase(m_zeilen.begin() + (zeile - 1));
  m_auswahl.removeAll(zeile);
  for (int& a : m_auswahl)
    if (a > zeile) --a;
  if (m_aktuell > anzahl()) m_aktuell = anzahl();
  if (m_aussetzen) m_umbauAusstehend = true;
  else Q_EMIT nachEntfernen();
}

void Teilnehmertabelle::aktuelleZeileLoeschen() { zeileLoeschen(m_aktuell); }

void Teilnehmertabelle::alleLoeschen() { ersetzen({}); }

void Teilnehmertabelle::ersetzen(std::vector<Teilnehmerzeile>&& zeilen) {
  beginneUmbau();
  m_zeilen = std::move(zeilen);
  for (Teilnehmerzeile& z : m_zeilen) kennungVergeben(z);
  m_startnummern.clear();
  m_indexGueltig = false;
  m_auswahl.clear();
  m_aktuell = m_zeilen.empty() ? 0 : 1;
  m_ersteSichtbar = m_aktuell;
  beendeUmbau();
}

std::vector<std::vector<int>> Teilnehmertabelle::raenge(std::initializer_list<int> spalten, std::vector<char>* belegt) const {
  std::vector<int> gueltige;
  for (int s : spalten)
    if (s >= 1 && s <= kSpalten) gueltige.push_back(s);
  const bool ersteGueltig = spalten.size() > 0 && *spalten.begin() >= 1 && *spalten.begin() <= kSpalten;
  std::vector<std::vector<int>> r = raengeDer(m_zeilen, gueltige, ersteGueltig ? belegt : nullptr);
  if (belegt && !ersteGueltig) belegt->assign(m_zeilen.size(), 0);
  // An unknown column ranks every row alike.
  std::vector<std::vector<int>> ergebnis;
  size_t k = 0;
  for (int s : spalten)
    ergebnis.push_back(s >= 1 && s <= kSpalten ? std::move(r[k++]) : std::vector<int>(m_zeilen.size(), 0));
  return ergebnis;
}

void Teilnehmertabelle::stabilOrdnen(std::vector<int>& ordnung, const std::vector<const std::vector<int>*>& raenge) {
  // Ranks are dense, below the number of rows: a stable counting pass per
  // key, the least significant first, sorts without a comparison.
  const size_t n = ordnung.size();
  std::vector<int> hilf(n);
  std::vector<int> stelle;
  for (auto k = raenge.rbegin(); k != raenge.rend(); ++k) {
    const std::vector<int>& r = **k;
    stelle.assign(r.size() + 1, 0);
    for (int i : ordnung) ++stelle[r[i] + 1];
    for (size_t j = 1; j < stelle.size(); ++j) stelle[j] += stelle[j - 1];
    for (int i : ordnung) hilf[stelle[r[i]]++] = i;
    ordnung.swap(hilf);
  }
}

std::vector<int> Teilnehmertabelle::sortierteReihenfolge(const QString& schluesselliste) const {
  const int n = anzahl();
  std::vector<int> ordnung(n);
  for (int i = 0; i < n; ++i) ordnung[i] = i;
  std::vector<int> spalten;
  for (const QString& teil : schluesselliste.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const int s = Spaltennummer(teil.trimmed());
    if (s > 0) spalten.push_back(s);
  }
  const std::vector<std::vector<int>> schluessel = raengeDer(m_zeilen, spalten);
  std::vector<const std::vector<int>*> zeiger;
  for (const auto& r : schluessel) zeiger.push_back(&r);
  stabilOrdnen(ordnung, zeiger);
  return ordnung;
}

void Teilnehmertabelle::sortieren(const QString& schluesselliste) { umordnen(sortierteReihenfolge(schluesselliste)); }

void Teilnehmertabelle::umordnen(std::vector<int> ordnung) {
  if (ordnung.size() != m_zeilen.size()) return;
  beginneUmbau();
  // Rows move along the cycles of the permutation: no second copy of the table.
  const int n = static_cast<int>(ordnung.size());
  for (int start = 0; start < n; ++start) {
    if (ordnung[start] == start || ordnung[start] < 0) continue;
    Teilnehmerzeile merk = std::move(m_zeilen[start]);
    int ziel = start;
    while (true) {
      const int quelle = ordnung[ziel];
      ordnung[ziel] = -1;
      if (quelle == start) {
        m_zeilen[ziel] = std::move(merk);
        break;
      }
      m_zeilen[ziel] = std::move(m_zeilen[quelle]);
      ziel = quelle;
    }
  }
  m_auswahl.clear();
  beendeUmbau();
}

int Teilnehmertabelle::finden(int spalte, const QString& muster, int startzeile) const {
  if (spalte < 1 || spalte > kSpalten) return 0;
  const bool praefix = muster.endsWith(QLatin1Char('*'));
  const QString m = praefix ? muster.left(muster.size() - 1) : muster;
  // A keystroke in the name box scans every row: the fields go through one
  // buffer instead of a string each. An empty field is read as it is, since a
  // null one and an empty one answer startsWith differently.
  QString puffer;
  for (int i = std::max(1, startzeile); i <= anzahl(); ++i) {
    const Teilnehmerzeile& z = m_zeilen[i - 1];
    QString leer;
    const QString* f = &puffer;
    if (z.feldLeer(spalte)) {
      leer = z.feld(spalte);
      f = &leer;
    } else {
      puffer.resize(0);
      z.feldAnhaengen(puffer, spalte);
    }
    if (praefix ? f->startsWith(m, Qt::CaseInsensitive) : f->compare(m, Qt::CaseInsensitive) == 0) return i;
  }
  return 0;
}

void Teilnehmertabelle::setAktuelleZeile(int zeile) {
  m_aktuell = anzahl() == 0 ? 0 : std::clamp(zeile, 1, anzahl());
  Q_EMIT aktuelleZeileGeaendert(m_aktuell);
}

void Teilnehmertabelle::setErsteSichtbareZeile(int zeile) {
  m_ersteSichtbar = anzahl() == 0 ? 0 : std::clamp(zeile, 1, anzahl());
}

void Teilnehmertabelle::setTextfarbe(int zeile, int farbe) {
  if (!gueltig(zeile) || m_zeilen[zeile - 1].textfarbe == farbe) return;
  m_zeilen[zeile - 1].textfarbe = farbe;
  if (m_aussetzen) m_felderAusstehend = true;
  else Q_EMIT zeileGeaendert(zeile - 1);
}

void Teilnehmertabelle::setHintergrund(int zeile, int farbe) {
  if (!gueltig(zeile) || m_zeilen[zeile - 1].hintergrund == farbe) return;
  m_zeilen[zeile - 1].hintergrund = farbe;
  if (m_aussetzen) m_felderAusstehend = true;
  else Q_EMIT zeileGeaendert(zeile - 1);
}

void Teilnehmertabelle::setHervorhebungsfarbe(int farbe) {
  m_hervorhebung = farbe;
  Q_EMIT spaltenGeaendert();
}

void Teilnehmertabelle::setWechselfarben(int a, int b) {
  m_wechsel = {a, b};
  Q_EMIT spaltenGeaendert();
}

void Teilnehmertabelle::setSpalteSichtbar(int spalte, bool sichtbar) {
  if (spalte < 1 || spalte > kSpalten) return;
  m_spalten[spalte - 1].sichtbar = sichtbar;
  Q_EMIT spaltenGeaendert();
}

void Teilnehmertabelle::setSpaltenposition(int spalte, int position) {
  if (spalte < 1 || spalte > kSpalten) return;
  position = std::clamp(position, 1, kSpalten);
  // Moving one column shifts the others, as dragging a grid column does.
  QList<int> reihenfolge = anzeigereihenfolge();
  reihenfolge.removeAll(spalte);
  reihenfolge.insert(position - 1, spalte);
  for (int i = 0; i < reihenfolge.size(); ++i) m_spalten[reihenfolge[i] - 1].position = i + 1;
  Q_EMIT spaltenGeaendert();
}

void Teilnehmertabelle::setSpaltenbreite(int spalte, int breite) {
  if (spalte < 1 || spalte > kSpalten) return;
  m_spalten[spalte - 1].breite = std::max(0, breite);
  Q_EMIT spaltenGeaendert();
}

QList<int> Teilnehmertabelle::anzeigereihenfolge() const {
  QList<int> r;
  for (int i = 1; i <= kSpalten; ++i) r.append(i);
  std::stable_sort(r.begin(), r.end(), [&](int a, int b) {
    return m_spalten[a - 1].position < m_spalten[b - 1].position;
  });
  return r;
}

void Teilnehmertabelle::spaltenNeuAnlegen() {
  for (int i = 0; i < kSpalten; ++i) {
    m_spalten[i].sichtbar = kBeschreibung[i].sichtbar;
    m_spalten[i].position = i + 1;
    m_spalten[i].breite = kBeschreibung[i].breite;
  }
  Q_EMIT spaltenGeaendert();
}

QStringList VerschiedeneFelder(const std::vector<Teilnehmerzeile>& zeilen, int spalte) {
  QStringList liste;
  if (spalte < 1 || spalte > kSpalten) return liste;
  Textnummern nummern;
  for (const Teilnehmerzeile& z : zeilen) {
    const Feldsicht f = z.sicht(spalte);
    if (f.laenge == 0) continue;
    bool neu = false;
    const int nr = nummern.nummer(f, neu);
    if (neu) liste << nummern.text(nr);
  }
  return liste;
}

QStringView StartnummerSchluessel(QStringView startnummer) {
  const QStringView t = startnummer.trimmed();
  if (t.isEmpty()) return {};
  for (QChar c : t)
    if (!c.isDigit() || c.unicode() > 127) return t;
  qsizetype i = 0;
  while (i < t.size() - 1 && t[i] == QLatin1Char('0')) ++i;
  const QStringView zahl = t.mid(i);
  return zahl == QLatin1String("0") ? QStringView() : zahl;
}

QString StartnummerSchluessel(const QString& startnummer) {
  return StartnummerSchluessel(QStringView(startnummer)).toString();
}

int Teilnehmertabelle::startnummerAnzahl(const QString& startnummer) const {
  if (!m_indexGueltig) indexAufbauen();
  const QString k = StartnummerSchluessel(startnummer);
  return k.isEmpty() ? 0 : m_startnummern.value(k);
}

void Teilnehmertabelle::zeileSetzen(int zeile, const Teilnehmerzeile& z) {
  if (!gueltig(zeile)) return;
  Teilnehmerzeile& ziel = m_zeilen[zeile - 1];
  if (ziel.gleicheFelder(z) && ziel.textfarbe == z.textfarbe && ziel.hintergrund == z.hintergrund) return;
  const QString snAlt = ziel.feld(S_startnummer), snNeu = z.feld(S_startnummer);
  if (snAlt != snNeu) {
    indexAendern(snAlt, -1);
    indexAendern(snNeu, +1);
  }
  const quint64 kennung = ziel.kennung;
  ziel = z;
  ziel.kennung = kennung;
  if (m_aussetzen) m_felderAusstehend = true;
  else Q_EMIT zeileGeaendert(zeile - 1);
}

void Teilnehmertabelle::indexAendern(const QString& sn, int delta) {
  if (!m_indexGueltig) return;
  const QString k = StartnummerSchluessel(sn);
  if (k.isEmpty()) return;
  auto it = m_startnummern.find(k);
  if (it == m_startnummern.end()) {
    if (delta > 0) m_startnummern.insert(k, delta);
    return;
  }
  it.value() += delta;
  if (it.value() <= 0) m_startnummern.erase(it);
}

void Teilnehmertabelle::indexAufbauen() const {
  m_startnummern.clear();
  m_startnummern.reserve(static_cast<qsizetype>(m_zeilen.size()));
  for (const Teilnehmerzeile& z : m_zeilen) {
    const QString k = StartnummerSchluessel(z.feld(S_startnummer));
    if (!k.isEmpty()) ++m_startnummern[k];
  }
  m_indexGueltig = true;
}

void Teilnehmertabelle::zeichnenAussetzen() { ++m_aussetzen; }

void Teilnehmertabelle::zeichnenFortsetzen() {
  if (m_aussetzen == 0) return;
  if (--m_aussetzen > 0) return;
  if (m_umbauAusstehend) {
    m_umbauAusstehend = m_felderAusstehend = false;
    Q_EMIT vorZuruecksetzen();
    Q_EMIT nachZuruecksetzen();
  } else if (m_felderAusstehend) {
    // Rows stayed where they were: a repaint keeps the operator's selection.
    m_felderAusstehend = false;
    if (anzahl() > 0) Q_EMIT zeilenGeaendert(0, anzahl() - 1);
  }
}

void Teilnehmertabelle::beginneUmbau() {
  if (m_aussetzen) m_umbauAusstehend = true;
  else Q_EMIT vorZuruecksetzen();
}

void Teilnehmertabelle::beendeUmbau() {
  if (!m_aussetzen) Q_EMIT nachZuruecksetzen();
}

}  // namespace zt
