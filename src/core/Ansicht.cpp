#include "core/Ansicht.h"

#include "core/Sitzung.h"

#include <QSettings>

namespace zt {

namespace {
void zeigeInReihenfolge(Teilnehmertabelle& t, std::initializer_list<int> spalten) {
  int pos = 1;
  for (int sp : spalten) {
    t.setSpalteSichtbar(sp, true);
    t.setSpaltenposition(sp, pos++);
  }
}

bool istDuathlon(const Sitzung& s) { return s.einst.txtHauptlauf[0] == QLatin1String("Duathlon"); }

// The widths live in the user-settings store so that they survive a restart
// between switching simplified entry on and off.
void breitenSichern(const Teilnehmertabelle& t) {
  QStringList b;
  for (int sp = 1; sp <= kSpalten; ++sp) b << QString::number(t.spalte(sp).breite);
  QSettings(QStringLiteral("MyApplication"), QStringLiteral("DataGrid"))
      .setValue(QStringLiteral("GridWidth"), b.join(QLatin1Char(';')));
}

void breitenHerstellen(Teilnehmertabelle& t) {
  const QStringList b = QSettings(QStringLiteral("MyApplication"), QStringLiteral("DataGrid"))
                            .value(QStringLiteral("GridWidth"))
                            .toString()
                            .split(QLatin1Char(';'));
  if (b.size() != kSpalten) return;
  for (int sp = 1; sp <= kSpalten; ++sp) {
    bool ok = false;
    const int w = b[sp - 1].toInt(&ok);
    if (ok && w >= 0) t.setSpaltenbreite(sp, w);
  }
}
}  // namespace

QStringList Ansichten() {
  return {QStringLiteral("..."), QStringLiteral("Run"), QStringLiteral("Duathlon Einzel"),
          QStringLiteral("Duathlon Team"), QStringLiteral("Duathlon offen")};
}

void NormaleAnsicht(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  for (int sp = 1; sp <= kSpalten; ++sp) t.setSpalteSichtbar(sp, false);
  zeigeInReihenfolge(t, {S_checkdruck, S_strecke, S_ak, S_platz, S_zeit, S_platzmw, S_platztotal,
                         S_namevorname, S_jahr, S_vereinort, S_startnummer, S_fehler});
  t.setSpalteSichtbar(S_gedruckt, true);
  t.setSpaltenbreite(S_strecke, 800);
}

void AnsichtWaehlen(Sitzung& s, const QString& ansicht) {
  Aufzeichnung aufzeichnung(s, QStringLiteral("Ansicht „") + ansicht + QStringLiteral("“"));
  Sperre sperre(s.bediener);
  Teilnehmertabelle& t = s.tabelle;
  Zeichenpause pause(t);
  if (ansicht == QLatin1String("Duathlon Einzel") || ansicht == QLatin1String("Duathlon offen")) {
    for (int sp = 1; sp <= kSpalten; ++sp) t.setSpalteSichtbar(sp, false);
    zeigeInReihenfolge(t, {S_strecke, S_platztotal, S_startnummer, S_namevorname, S_vereinort, S_jahr,
                           S_ak, S_bike_time, S_run_time, S_end_time, S_fehler});
    t.setSpaltenbreite(S_strecke, 1900);
    t.sortieren(QStringLiteral("platztotal"));
  } else if (ansicht == QLatin1String("Duathlon Team")) {
    for (int sp = 1; sp <= kSpalten; ++sp) t.setSpalteSichtbar(sp, false);
    zeigeInReihenfolge(t, {S_strecke, S_platztotal, S_startnummer, S_vereinort, S_name_bike,
                           S_bike_time, S_name_run, S_run_time, S_end_time, S_fehler});
    t.setSpaltenbreite(S_strecke, 1900);
    t.sortieren(QStringLiteral("platztotal"));
  } else {
    NormaleAnsicht(s);
  }
  t.sortieren(QStringLiteral("strecke"));
  pause.beenden();
  t.setAktuelleZeile(1);
  t.setErsteSichtbareZeile(1);
}

void VereinfachteEingabe(Sitzung& s, bool an) {
  Einstellungen& e = s.einst;
  if ((e.CheckAutoHinzufuegen != 0) == an) return;
  Teilnehmertabelle& t = s.tabelle;
  if (an) breitenSichern(t);
  else breitenHerstellen(t);
  if (istDuathlon(s)) {
    for (int sp : {S_platztotal, S_bike_time, S_run_time, S_end_time}) t.setSpalteSichtbar(sp, !an);
  } else {
    if (an) {
      t.setSpaltenbreite(S_namevorname, 5000);
      t.setSpaltenbreite(S_vereinort, 5000);
    }
    for (int sp : {S_checkdruck, S_platz, S_zeit, S_platzmw, S_platztotal}) t.setSpalteSichtbar(sp, !an);
    t.setSpaltenposition(S_ak, an ? 11 : 3);
  }
  e.CheckAutoHinzufuegen = an ? 1 : 0;
  e.CheckAutoStartnummer = an ? 1 : 0;
  s.melden();
  if (an) s.bediener.zeigen(Ziel::SucheName);
}

void WechselfarbenSetzen(Sitzung& s) {
  if (s.einst.CheckFarbeDatenzeile) s.tabelle.setWechselfarben(0xF0FFFF, 0xFFFAFA);
  else s.tabelle.setWechselfarben(kKeineFarbe, kKeineFarbe);
}

}  // namespace zt
