#include "cli/ZeitenSchritt.h"

#include "timing/Zeitimport.h"

#include <QFileInfo>
#include <cstdio>

namespace zt::cli {

const char* const kZeitenHilfe =
    "DATEI [--modus ergaenzen|ueberschreiben|loeschen] [--ziel lauf|bike|run] [--endzeit]\n"
    "        Zeitdatei einlesen und den Startnummern zuordnen (Vorgabe: ergaenzen, lauf).\n"
    "        loeschen nur mit bike oder run. --endzeit: bei --ziel run ist die Zeit der\n"
    "        Datei die Endzeit (Run = Endzeit - Bike); ohne --endzeit ist sie die Run-Zeit.";
const char* const kZeitenOptionen = "modus:,ziel:,endzeit";

namespace {
void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}
}  // namespace

bool ZeitenSchritt(Kontext& k, const QStringList& a) {
  const QString modus = OptionWert(a, QStringLiteral("modus"), QStringLiteral("ergaenzen"));
  const QString ziel = OptionWert(a, QStringLiteral("ziel"), QStringLiteral("lauf"));
  Sitzung::Zeitmodus m;
  if (modus == QLatin1String("ergaenzen")) m = Sitzung::Zeitmodus::Ergaenzen;
  else if (modus == QLatin1String("ueberschreiben")) m = Sitzung::Zeitmodus::Ueberschreiben;
  else if (modus == QLatin1String("loeschen")) m = Sitzung::Zeitmodus::Loeschen;
  else {
    fehler(QStringLiteral("unbekannter Modus \"%1\" (ergaenzen, ueberschreiben, loeschen)").arg(modus));
    return false;
  }
  Sitzung::Zeitziel z;
  if (ziel == QLatin1String("lauf")) z = Sitzung::Zeitziel::Lauf;
  else if (ziel == QLatin1String("bike")) z = Sitzung::Zeitziel::Bike;
  else if (ziel == QLatin1String("run")) z = Sitzung::Zeitziel::Run;
  else {
    fehler(QStringLiteral("unbekanntes Ziel \"%1\" (lauf, bike, run)").arg(ziel));
    return false;
  }
  // The window offers the clear mode only for a duathlon leg.
  if (m == Sitzung::Zeitmodus::Loeschen && z == Sitzung::Zeitziel::Lauf) {
    fehler(QStringLiteral("--modus loeschen gibt es nur mit --ziel bike oder run"));
    return false;
  }
  k.s.zeitmodus = m;
  ZeitzielSetzen(k.s, z);
  // A switch on the command line can only switch on: without it the file
  // time is the run leg itself.
  k.s.duathlonEndzeitRunTime = OptionGesetzt(a, QStringLiteral("endzeit"));
  return ZeitdateiLaden(k.s, QFileInfo(a[0]).absoluteFilePath()).ausgefuehrt;
}

}  // namespace zt::cli
