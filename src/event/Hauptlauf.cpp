#include "event/Hauptlauf.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "event/Altersklassen.h"

namespace zt {

namespace {
// "10 km" and "10kmkm" are typing slips for the route "10".
QString ohneKm(QString name) { return name.remove(QStringLiteral("km")).trimmed(); }

void setzeLauf(Einstellungen& e, std::array<const char*, 4> namen, std::array<const char*, 4> von,
               std::array<const char*, 4> bis) {
  for (int k = 0; k < 4; ++k) {
    e.txtHauptlauf[k] = QString::fromUtf8(namen[k]);
    e.txtHauptlaufFestVonStartnummer[k] = QString::fromUtf8(von[k]);
    e.txtHauptlaufBisStartnummer[k] = QString::fromUtf8(bis[k]);
    e.txtHauptlaufVonStartnummer[k].clear();
  }
}

void alleAbwaehlen(Einstellungen& e) {
  for (auto& liste : e.hauptlaufAk)
    for (AkEintrag& a : liste) a.ausgewaehlt = false;
  e.hauptlaufAkAktuell = {0, 0, 0};
}
}  // namespace

bool VorgabeAusName(const QString& name, Vorgabe& v) {
  if (name == QLatin1String("5/10km")) v = Vorgabe::FuenfZehnKm;
  else if (name == QLatin1String("Duathlon")) v = Vorgabe::Duathlon;
  else if (name == QLatin1String("eigener")) v = Vorgabe::Eigener;
  else if (name == QLatin1String("Pyramide")) v = Vorgabe::Pyramide;
  else return false;
  return true;
}

bool VorgabeWaehlen(Sitzung& s, Vorgabe v) {
  const bool akFrage = v == Vorgabe::FuenfZehnKm || v == Vorgabe::Eigener;
  const QString frage = akFrage ? QStringLiteral("Sollen die eingestellten AK zum Hauptlauf geändert werden?   ")
                                : QStringLiteral("Sollen die Voreinstellungen geändert werden?   ");
  if (s.bediener.meldung(QStringLiteral("Zieltafel"), frage, Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return false;
  Einstellungen& e = s.einst;
  alleAbwaehlen(e);
  QString suffix = QStringLiteral(" - Hauptlauf selbstdefiniert");
  switch (v) {
    case Vorgabe::FuenfZehnKm:
      s.duathlon = false;
      setzeLauf(e, {"5km", "10km", "", ""}, {"1", "200", "", ""}, {"199", "499", "", ""});
      for (int j = 0; j < e.hauptlaufAk[0].size(); ++j)
        if (j <= 3 || (j >= 16 && j <= 39)) e.hauptlaufAk[0][j].ausgewaehlt = true;
      for (int j = 4; j <= 15 && j < e.hauptlaufAk[1].size(); ++j) e.hauptlaufAk[1][j].ausgewaehlt = true;
      e.txtDefGlobalAK = ZwanzigKlassenDefinition();
      s.ansichtWahl = QStringLiteral("...");
      s.ansichtWahlAktiv = false;
      suffix = QStringLiteral(" - Hauptlauf 10km");
      break;
    case Vorgabe::Duathlon:
      s.duathlon = true;
      setzeLauf(e, {"Duathlon", "", "", ""}, {"", "", "", ""}, {"", "", "", ""});
      // The age table keeps the classes of the definition as it stood; the
      // text is emptied afterwards.
      BuildAgeTable(s);
      e.txtDefGlobalAK.clear();
      e.CheckNoHighlight = 1;
      e.CheckAutoHinzufuegen = 0;
      s.ansichtWahl = QStringLiteral("...");
      s.ansichtWahlAktiv = true;
      break;
    case Vorgabe::Eigener:
      s.duathlon = false;
      setzeLauf(e, {"km", "km", "km", "km"}, {"", "", "", ""}, {"", "", "", ""});
      e.txtDefGlobalAK.clear();
      s.ansichtWahl = QStringLiteral("...");
      s.ansichtWahlAktiv = false;
      break;
    case Vorgabe::Pyramide:
      s.duathlon = false;
      setzeLauf(e, {"2.22km", "4.44km", "6.66km", "8.88km"}, {"2000", "4000", "6000", "8000"},
                {"2999", "4999", "6999", "8999"});
      e.txtDefGlobalAK = ZwanzigKlassenDefinition();
      e.CheckNoHighlight = 1;
      e.CheckAutoHinzufuegen = 0;
      s.ansichtWahl = QStringLiteral("...");
      s.ansichtWahlAktiv = false;
      break;
  }
  s.akDefinitionGesperrt = true;
  if (v != Vorgabe::Duathlon) BuildAgeTable(s);
  TitelSetzen(s, suffix);
  s.melden();
  return true;
}

bool HauptlaufZuruecksetzen(Sitzung& s) {
  if (s.bediener.meldung(QStringLiteral("Zieltafel"),
                         QStringLiteral("Sollen alle Voreingaben zum Hauptlauf entfernt werden?   "), Symbol::Frage,
                         Knoepfe::JaNein) != Antwort::Ja)
    return false;
  Einstellungen& e = s.einst;
  for (auto& n : e.txtHauptlauf) n = QStringLiteral("km");
  alleAbwaehlen(e);
  e.txtDefGlobalAK.clear();
  s.melden();
  return true;
}

void AkAuswaehlen(Sitzung& s, int liste, int eintrag, bool an) {
  if (liste < 0 || liste > 2 || eintrag < 0 || eintrag >= s.einst.hauptlaufAk[liste].size()) return;
  s.einst.hauptlaufAk[liste][eintrag].ausgewaehlt = an;
  if (an)
    for (int andere = 0; andere < 3; ++andere)
      if (andere != liste && eintrag < s.einst.hauptlaufAk[andere].size())
        s.einst.hauptlaufAk[andere][eintrag].ausgewaehlt = false;
  s.melden();
}

void AlleAuswaehlen(Sitzung& s, int liste) {
  if (liste < 0 || liste > 2) return;
  for (int j = 0; j < s.einst.hauptlaufAk[liste].size(); ++j) AkAuswaehlen(s, liste, j, true);
}

void AlleLoeschen(Sitzung& s, int liste) {
  if (liste < 0 || liste > 2) return;
  for (AkEintrag& a : s.einst.hauptlaufAk[liste]) a.ausgewaehlt = false;
  s.melden();
}

QString Route(const Sitzung& s, int k, QChar geschlecht) {
  const QString basis = ohneKm(s.einst.txtHauptlauf[k - 1]);
  if (s.duathlon && k > 1) return basis + QLatin1Char('-') + geschlecht.toUpper();
  return basis + QLatin1Char('/') + geschlecht;
}

QStringList RouteChoices(const Sitzung& s, const QString& spalte) {
  QStringList l{QString()};
  if (spalte == QLatin1String("vereinort")) {
    for (const QString& v : s.vereine)
      if (!v.isEmpty()) l << v;
    return l;
  }
  if (spalte != QLatin1String("strecke")) return {};
  const Einstellungen& e = s.einst;
  if (s.duathlon) {
    if (!e.txtHauptlauf[0].isEmpty())
      l << QStringLiteral("Run/w") << QStringLiteral("Run/m") << QStringLiteral("Duathlon Team/Mix")
        << QStringLiteral("Duathlon Team/w") << QStringLiteral("Duathlon Team/m")
        << QStringLiteral("Duathlon Einzel/w") << QStringLiteral("Duathlon Einzel/m")
        << QStringLiteral("Duathlon offen/w") << QStringLiteral("Duathlon offen/m");
    for (int k = 2; k <= 4; ++k)
      if (!e.txtHauptlauf[k - 1].isEmpty())
        l << ohneKm(e.txtHauptlauf[k - 1]) + QStringLiteral("-M") << ohneKm(e.txtHauptlauf[k - 1]) + QStringLiteral("-W");
    return l;
  }
  for (int k = 1; k <= 4; ++k)
    if (!e.txtHauptlauf[k - 1].isEmpty()) l << Route(s, k, QLatin1Char('m')) << Route(s, k, QLatin1Char('w'));
  return l;
}

void CheckStartNumberRanges(Sitzung& s) {
  const Einstellungen& e = s.einst;
  for (int k = 1; k <= 4; ++k) {
    const QString name = e.txtHauptlauf[k - 1];
    const double von = Zahlwert(e.txtHauptlaufFestVonStartnummer[k - 1]);
    const double bis = Zahlwert(e.txtHauptlaufBisStartnummer[k - 1]);
    const bool fehler = name.isEmpty() ? (von > 0 || bis > 0)
                                       : (name != QLatin1String("km") && name != QLatin1String("Duathlon") &&
                                          !(von > 0 && bis > 0));
    if (!fehler) continue;
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Prüfe bitte Startnummer zu Veranstaltung Typ %1 !   ").arg(k), Symbol::Ausruf,
                       Knoepfe::Ok);
    s.bediener.zeigen(Ziel::SeiteStartnummern);
  }
}

void TitelSetzen(Sitzung& s, const QString& suffix) {
  QString t = s.tabellentitel;
  const int pos = t.indexOf(QStringLiteral(" - Hauptlauf"));
  if (pos >= 1) t = t.left(pos);
  else {
    // Without a main-run suffix an earlier reference year must not stay in the middle.
    const int jahr = t.indexOf(QStringLiteral(" - Bezugsjahr AK "));
    if (jahr >= 1) t = t.left(jahr);
  }
  s.tabellentitel = t + suffix;
  TitelBezugsjahr(s);
}

void TitelBezugsjahr(Sitzung& s) {
  QString t = s.tabellentitel;
  const int pos = t.indexOf(QStringLiteral(" - Bezugsjahr AK "));
  if (pos >= 0) t = t.left(pos);
  s.tabellentitel = t + QStringLiteral(" - Bezugsjahr AK ") + QString::number(s.bezugsjahr);
  s.melden();
}

}  // namespace zt
