#include "generator.h"

#include "core/Text.h"
#include "core/Textdatei.h"
#include "core/Zeitwert.h"
#include "event/Altersklassen.h"
#include "persistence/Einstellungsdatei.h"

#include <QDir>
#include <QFileInfo>
#include <cstdint>

namespace zt {

namespace {
// splitmix64: tiny, and unlike the standard distributions the same on every
// compiler.
class Zufall {
 public:
  explicit Zufall(unsigned seed) : m_zustand(0x9E3779B97F4A7C15ull ^ seed) {}
  std::uint64_t naechste() {
    std::uint64_t z = (m_zustand += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int bis(int n) { return n <= 0 ? 0 : static_cast<int>(naechste() % static_cast<std::uint64_t>(n)); }
  bool prozent(int p) { return bis(100) < p; }
  template <typename L>
  const auto& aus(const L& liste) { return liste.at(bis(static_cast<int>(liste.size()))); }

 private:
  std::uint64_t m_zustand;
};

QStringList zeilenLesen(const QString& pfad) {
  const Leseergebnis e = DateiLesen(pfad);
  if (!e.ok) return {};
  QStringList z;
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten)))
    if (!zeile.trimmed().isEmpty()) z << zeile.trimmed();
  return z;
}

bool listenVorhanden(const QString& ordner) {
  if (ordner.isEmpty()) return false;
  const QDir d(ordner);
  for (const char* name : {"vornamen-de.txt", "nachnamen-de.txt", "orte-de.txt"})
    if (!QFileInfo(d.filePath(QLatin1String(name))).isFile()) return false;
  return true;
}

Namenslisten eingebaut() {
  Namenslisten n;
  n.vornamenM = {"Jürgen", "Thomas", "Michael", "Stefan", "Lukas", "Jonas", "Björn", "Paul", "Felix", "Hans"};
  n.vornamenW = {"Anna", "Sabine", "Julia", "Jana", "Sophie", "Käthe", "Lea", "Maria", "Petra", "Zoé"};
  n.nachnamen = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker", "Schulz",
                 "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf", "Schröder", "Neumann"};
  n.orte = {"Aalen", "Bamberg", "Köln", "München", "Lüneburg", "Ulm", "Gießen", "Bonn", "Zwickau", "Görlitz"};
  return n;
}

QString zeitText(int zehntel) {
  return Zeitwert::ausZehnteln(zehntel).text(QLatin1Char('.'));
}

const char* const kVereinsarten[] = {"TSV", "SV", "LG", "TV", "SC", "LAC", "Lauftreff", "TuS", "VfL", "ASV"};
}  // namespace

Namenslisten NamenslistenLaden(const QString& ordner) {
  QStringList kandidaten{ordner, qEnvironmentVariable("ZT_SHARED_DATA_DIR")};
#ifdef ZT_SHARED_DATA_DIR
  kandidaten << QStringLiteral(ZT_SHARED_DATA_DIR);
#endif
#ifdef ZT_SHARE_DIR
  kandidaten << QStringLiteral(ZT_SHARE_DIR "/../../shared/data");
#endif
  for (const QString& k : kandidaten) {
    if (!listenVorhanden(k)) continue;
    const QDir d(k);
    Namenslisten n;
    for (const QString& z : zeilenLesen(d.filePath(QStringLiteral("vornamen-de.txt")))) {
      const QString typ = Feld(z, 1, QStringLiteral(";"));
      const QString name = Feld(z, 2, QStringLiteral(";"));
      if (name.isEmpty() || name == z) continue;
      if (typ == QLatin1String("m")) n.vornamenM << name;
      else if (typ == QLatin1String("w")) n.vornamenW << name;
    }
    n.nachnamen = zeilenLesen(d.filePath(QStringLiteral("nachnamen-de.txt")));
    n.orte = zeilenLesen(d.filePath(QStringLiteral("orte-de.txt")));
    if (n.vornamenM.isEmpty() || n.vornamenW.isEmpty() || n.nachnamen.isEmpty() || n.orte.isEmpty()) continue;
    n.ausDateien = true;
    return n;
  }
  return eingebaut();
}

QByteArray LaeuferdateiErzeugen(const Laeuferdateioptionen& o) {
  const Namenslisten namen = NamenslistenLaden(o.datenordner);
  Zufall z(o.seed);
  const int anzahl = std::max(0, o.anzahl);

  // Faulty rows stand at even distances, kinds in turn.
  std::vector<int> fehlerart(anzahl, -1);
  const int fehler = std::min(o.fehlerzeilen, anzahl);
  for (int k = 0; k < fehler; ++k) fehlerart[static_cast<qsizetype>(k + 1) * anzahl / (fehler + 1)] = k % 3;

  // Routes next, so that the start-number ranges are known; a "10km" row
  // keeps a number of the 10 km range.
  std::vector<bool> zehn(anzahl);
  int n5 = 0, n10 = 0;
  for (int i = 0; i < anzahl; ++i) {
    zehn[i] = fehlerart[i] == 2 || z.prozent(60);
    (zehn[i] ? n10 : n5)++;
  }
  const bool standard = n5 <= 199 && n10 <= 300;
  int naechste5 = 1;
  int naechste10 = standard ? 200 : std::max(200, (n5 / 1000 + 1) * 1000);

  QString text;
  text.reserve(static_cast<qsizetype>(anzahl) * 96 + 32);
  QStringList f(20);
  for (int i = 0; i < anzahl; ++i) {
    for (QString& feld : f) feld.clear();
    const bool frau = z.prozent(50);
    const bool walker = z.prozent(o.walkerProzent);
    const QString vorname = z.aus(frau ? namen.vornamenW : namen.vornamenM);
    const QString nachname = z.aus(namen.nachnamen);
    // Mostly runners between 20 and 60, a few children and old hands.
    const int alter = 8 + z.bis(40) + z.bis(40);
    const int jahr = 2025 - alter;
    QString strecke = QString::fromLatin1(zehn[i] ? "10" : "5") + (frau ? QStringLiteral("/w") : QStringLiteral("/m"));
    const int startnummer = zehn[i] ? naechste10++ : naechste5++;

    f[0] = QStringLiteral("Falsch");
    f[2] = QString::number(startnummer);
    f[4] = nachname + QStringLiteral(", ") + vorname + (walker ? QStringLiteral(" (Walker)") : QString());
    f[5] = z.prozent(o.datumProzent) ? QStringLiteral("%1.%2.%3")
                                           .arg(1 + z.bis(28), 2, 10, QLatin1Char('0'))
                                           .arg(1 + z.bis(12), 2, 10, QLatin1Char('0'))
                                           .arg(jahr)
                                     : QString::number(jahr);
    const int art = z.bis(100);
    const QString ort = z.aus(namen.orte);
    const QString verein = QLatin1String(kVereinsarten[z.bis(10)]) + QLatin1Char(' ') + z.aus(namen.orte);
    if (art < 35) f[6] = verein;
    else if (art < 60) f[6] = verein + QStringLiteral(", ") + ort;
    else if (art < 97) f[6] = ort;
    if (z.prozent(o.zeitProzent)) {
      // Tenths of seconds: 5 km from 16 minutes, 10 km from 33; walkers slower.
      int basis = zehn[i] ? 19800 : 9600;
      int spanne = zehn[i] ? 36000 : 18000;
      if (walker) basis *= 2;
      if (frau) basis += basis / 10;
      spanne += std::abs(alter - 30) * 120;
      f[7] = zeitText(basis + z.bis(spanne));
    }
    switch (fehlerart[i]) {
      case 0: strecke.clear(); break;
      case 1: f[7] = QStringLiteral("0:75:10.0"); break;
      case 2: strecke = QStringLiteral("10km"); break;
      default: break;
    }
    f[3] = strecke;
    f[12] = NurStrecke(strecke);
    f[13] = QStringLiteral("Falsch");
    f[14] = walker ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    text += f.join(QLatin1Char('\t'));
    text += QLatin1String("\r\n");
  }
  if (o.einstellungszeile) text += QLatin1Char('#') + o.basisname + QStringLiteral(".ini#\r\n");
  return TextKodieren(text);
}

QByteArray LaeuferdateiErzeugen(int anzahl, unsigned seed, bool mitZeiten) {
  Laeuferdateioptionen o;
  o.anzahl = anzahl;
  o.seed = seed;
  o.zeitProzent = mitZeiten ? 97 : 0;
  o.einstellungszeile = false;
  return LaeuferdateiErzeugen(o);
}

QByteArray BeispielEinstellungen(const QString& laufname) {
  Einstellungen e;
  e.txtNameLauf = laufname;
  e.txtLaufAm = QStringLiteral("12.09.2026");
  e.txtVerein = QStringLiteral("LG Beispielstadt");
  e.txtCup = QStringLiteral("Beispiel-Cup");
  e.txtHauptlauf = {QStringLiteral("5km"), QStringLiteral("10km"), QString(), QString()};
  e.txtHauptlaufFestVonStartnummer = {QStringLiteral("1"), QStringLiteral("200"), QString(), QString()};
  e.txtHauptlaufBisStartnummer = {QStringLiteral("199"), QStringLiteral("499"), QString(), QString()};
  e.txtHauptlaufVonStartnummer = {};
  e.txtDefGlobalAK = ZwanzigKlassenDefinition();
  const QStringList ohne{"txtVorlageErgebnisliste=", "txtVorlageUrkunde=", "txtVorlageUrkundeGesamtsieger=",
                         "txtOptionen=", "txtWinWord=", "txtTextpad=", "txtZeitnahmeDatei=",
                         "txtZeitnahmeLWSicherung="};
  QStringList zeilen = TextZeilen(EinstellungenText(e, laufname + QStringLiteral(".ini")));
  zeilen.removeIf([&](const QString& zeile) {
    for (const QString& s : ohne)
      if (zeile.startsWith(s)) return true;
    return false;
  });
  return TextKodieren(zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

}  // namespace zt
