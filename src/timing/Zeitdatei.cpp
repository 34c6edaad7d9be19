#include "timing/Zeitdatei.h"

#include "core/Textdatei.h"

namespace zt {

QString ZeitdateiKopf() { return QStringLiteral("Einlauf;Startnummer;Zeit;Fehler;StartZeit"); }

QString EinlaufNummer(int n) { return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')); }

QString ZeitdateiZeile(const Einlaufzeile& z) {
  const QChar s = QLatin1Char(';');
  return z.einlauf + s + z.startNr + s + z.zeit + s + z.fehler + s + z.startZeit;
}

QByteArray ZeitdateiDaten(const Einlaufliste& liste) {
  QString text;
  text.reserve((liste.size() + 1) * 40);
  text += ZeitdateiKopf();
  text += QLatin1String("\r\n");
  for (const Einlaufzeile& z : liste) {
    text += ZeitdateiZeile(z);
    text += QLatin1String("\r\n");
  }
  return TextKodieren(text);
}

QString ZeitdateiSchreiben(const QString& pfad, const Einlaufliste& liste) {
  return DateiAtomarSchreiben(pfad, ZeitdateiDaten(liste), true);
}

QString ZeitdateiSchreiben(const QString& pfad, const QByteArray& daten) {
  return DateiAtomarSchreiben(pfad, daten, true);
}

Zeitdateiinhalt ZeitdateiLesen(const QString& pfad) {
  Zeitdateiinhalt r;
  const Leseergebnis e = DateiLesen(pfad, kGrenzeTextdatei);
  if (!e.ok) {
    r.fehler = e.fehler;
    return r;
  }
  if (SiehtBinaerAus(e.daten)) {
    r.fehler = QStringLiteral("Die Datei \"%1\" ist keine Zeitdatei (sie enthält Binärdaten).").arg(pfad);
    return r;
  }
  r.zeilen = TextZeilen(TextDekodieren(e.daten));
  r.ok = true;
  return r;
}

Zeitdateiinhalt ZeitdateiDekodieren(const QByteArray& daten, const QString& pfad) {
  Zeitdateiinhalt r;
  if (SiehtBinaerAus(daten)) {
    r.fehler = QStringLiteral("Die Datei \"%1\" ist keine Zeitdatei (sie enthält Binärdaten).").arg(pfad);
    return r;
  }
  r.zeilen = TextZeilen(TextDekodieren(daten));
  r.ok = true;
  return r;
}

bool IstKopfzeile(const QString& zeile) {
  // The first field settles nearly every line (a finish begins with its
  // number) before the whole line is searched for the word.
  const qsizetype semikolon = zeile.indexOf(QLatin1Char(';'));
  const QStringView erstes = QStringView(zeile).left(semikolon < 0 ? zeile.size() : semikolon).trimmed();
  bool zahl = false;
  static_cast<void>(erstes.toInt(&zahl));
  return !zahl && !erstes.isEmpty() && zeile.contains(QLatin1String("Einlauf"));
}

}  // namespace zt
