#include "cli/ZeitnahmeSchritt.h"

#include "app/Pfadpruefung.h"
#include "core/Sitzung.h"
#include "timing/Zeitnahme.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <iostream>
#include <string>

namespace zt::cli {

namespace {
// The script's clock: it stands still until the script moves it.
class SkriptUhr : public Uhr {
 public:
  QDateTime zeit{QDate::currentDate(), QTime(0, 0)};
  QDateTime jetzt() const override { return zeit; }
};

void aus(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
  std::fflush(stdout);
}

void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
  std::fflush(stderr);
}

// "HH:MM:SS" with an optional tenth ("10:00:00,5").
bool uhrzeitLesen(const QString& text, QTime& t) {
  static const QRegularExpression muster(QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})(?:[.,](\\d))?$"));
  const QRegularExpressionMatch m = muster.match(text);
  if (!m.hasMatch()) return false;
  t = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
            m.captured(4).isEmpty() ? 0 : m.captured(4).toInt() * 100);
  return t.isValid();
}

bool nummerLesen(const QString& text, int& n) {
  bool ok = false;
  n = text.toInt(&ok);
  return ok;
}

void sicherungAbwarten(const Zeitnahme& z) {
  while (z.sicherungLaeuft()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
}

QString listenText(const Einlaufliste& liste) {
  QString t;
  for (const Einlaufzeile& z : liste) t += ZeitdateiZeile(z) + QLatin1Char('\n');
  return t;
}
}  // namespace

bool ZeitnahmeAusfuehren(Kontext& k, const QStringList& a) {
  SkriptUhr uhr;
  Zeitnahme z(k.s, uhr);
  z.setZeitmessungZehntel(!OptionGesetzt(a, QStringLiteral("sekunden")));
  z.setCheckZeitPlus1Einheit(!OptionGesetzt(a, QStringLiteral("ohne-plus1")));
  z.setCheckZeitDatenbank(OptionGesetzt(a, QStringLiteral("zeit-datenbank")));
  Sitzung& s = k.s;
  z.pfadpruefung = [&s] { PfadePruefen(s, false, Pfadfeld::Keins); };

  Einlaufliste vorDemEnde;  // the list an end emptied, for the final print
  bool beendet = false;
  bool alleGut = true;
  int zeilennummer = 0;
  std::string roh;
  while (std::getline(std::cin, roh)) {
    ++zeilennummer;
    const QString zeile = QString::fromUtf8(roh.data(), static_cast<qsizetype>(roh.size())).trimmed();
    if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#'))) continue;
    auto falsch = [&](const QString& grund) {
      fehler(QStringLiteral("Zeile %1 \"%2\": %3").arg(zeilennummer).arg(zeile, grund));
      return false;
    };
    if (zeile.startsWith(QLatin1Char('+'))) {
      const int blank = zeile.indexOf(QRegularExpression(QStringLiteral("\\s")));
      QString sek = (blank < 0 ? zeile.mid(1) : zeile.mid(1, blank - 1));
      const QString nummer = blank < 0 ? QString() : zeile.mid(blank + 1).trimmed();
      bool ok = false;
      const double sekunden = sek.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
      if (!ok || sekunden < 0) return falsch(QStringLiteral("erwartet +SEKUNDEN [STARTNUMMER]"));
      if (z.zustand() != Zeitnahmezustand::Laeuft) return falsch(QStringLiteral("die Zeitmessung läuft nicht"));
      uhr.zeit = uhr.zeit.addMSecs(std::llround(sekunden * 1000.0));
      z.startnummerGeaendert(nummer);
      z.einlaufErfassen();
      if (z.anzeige().schreibfehler.isEmpty()) {
        aus(QStringLiteral("ok %1\n").arg(z.stand().Einlaufzaehler));
      } else {
        fehler(QStringLiteral("Einlauf %1: %2").arg(z.stand().Einlaufzaehler).arg(z.anzeige().schreibfehler));
      }
      continue;
    }
    const QString befehl = zeile.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
    const QString wert = zeile.mid(befehl.size()).trimmed();
    if (befehl == QLatin1String("start") || befehl == QLatin1String("uhr")) {
      QTime t;
      if (!uhrzeitLesen(wert, t)) return falsch(QStringLiteral("erwartet HH:MM:SS[,Zehntel]"));
      uhr.zeit.setTime(t);
      if (befehl == QLatin1String("start")) {
        z.seiteBetreten();
        z.starten();
        // What the page shows before the gun: a time file that cannot be
        // written, no place for the backup.
        for (const QString& t : {z.anzeige().schreibfehler, z.anzeige().hinweis})
          if (!t.isEmpty()) fehler(t);
      }
    } else if (befehl == QLatin1String("zweitstart")) {
      QTime t;
      if (!uhrzeitLesen(wert, t)) return falsch(QStringLiteral("erwartet HH:MM:SS"));
      if (!z.chkZweiteStartUhrzeit()) z.setChkZweiteStartUhrzeit(true);
      z.startfeldAendern(2, 0, QString::number(t.hour()));
      z.startfeldAendern(2, 1, QString::number(t.minute()));
      z.startfeldAendern(2, 2, QString::number(t.second()));
      z.start2Uebernehmen();
    } else if (befehl == QLatin1String("bereiche")) {
      static const QRegularExpression muster(QStringLiteral("^(\\d+)-(\\d+),(\\d+)-(\\d+)$"));
      const QRegularExpressionMatch m = muster.match(wert);
      if (!m.hasMatch()) return falsch(QStringLiteral("erwartet A-B,C-D"));
      if (!z.chkZweiteStartUhrzeit()) z.setChkZweiteStartUhrzeit(true);
      for (int i = 0; i < 4; ++i) z.bereichAendern(i, m.captured(i + 1));
    } else if (befehl == QLatin1String("einfuegen") || befehl == QLatin1String("loeschen") ||
               befehl == QLatin1String("in1") || befehl == QLatin1String("in2")) {
      int n = 0;
      if (!nummerLesen(wert, n) || n < 1 || n > z.anzahl())
        return falsch(QStringLiteral("Einlauf von 1 bis %1 erwartet").arg(z.anzahl()));
      if (z.zustand() != Zeitnahmezustand::Laeuft) return falsch(QStringLiteral("die Zeitmessung läuft nicht"));
      z.einlaufWaehlen(n);
      if (befehl == QLatin1String("einfuegen")) z.einlaufEinfuegen();
      else if (befehl == QLatin1String("loeschen")) z.einlaufLoeschen();
      else if (befehl == QLatin1String("in1")) z.inErsteStartzeit();
      else z.inZweiteStartzeit();
    } else if (befehl == QLatin1String("sichern")) {
      z.sichern();
      sicherungAbwarten(z);
    } else if (befehl == QLatin1String("ende")) {
      const Einlaufliste vorher = z.liste();
      z.beenden();
      sicherungAbwarten(z);
      if (z.zustand() == Zeitnahmezustand::Bereit && !vorher.isEmpty()) {
        vorDemEnde = vorher;
        beendet = true;
      }
    } else if (befehl == QLatin1String("einlesen")) {
      if (wert.isEmpty()) return falsch(QStringLiteral("erwartet einlesen DATEI"));
      if (z.einlesenBeginnen()) z.einlesen(QFileInfo(wert).absoluteFilePath());
    } else if (befehl == QLatin1String("takt")) {
      z.takt();
    } else if (befehl == QLatin1String("anzeige")) {
      const Zeitnahmeanzeige& d = z.anzeige();
      aus(QStringLiteral("laufzeit=%1\n1.startzeit=%2\n2.startzeit=%3\neinlauf=%4\nmit startnummer=%5\n"
                         "zeit=%6\nlaeufer=%7\n")
              .arg(d.laufzeit, d.startzeit1, d.startzeit2, d.einlauf, d.mitStartnummer, d.zeitFuerStartnummer,
                   d.txtLaeuferdaten));
    } else {
      return falsch(QStringLiteral("unbekannter Befehl"));
    }
    if (z.zustand() == Zeitnahmezustand::Laeuft) beendet = false;
  }
  sicherungAbwarten(z);
  if (!z.anzeige().schreibfehler.isEmpty()) {
    fehler(z.anzeige().schreibfehler);
    alleGut = false;
  }
  aus(listenText(beendet && z.liste().isEmpty() ? vorDemEnde : z.liste()));
  return alleGut;
}

}  // namespace zt::cli
