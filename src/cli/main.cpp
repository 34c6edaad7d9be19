// zieltafel-cli: runs the program's operations in batch, without a window.
#include "cli/CliBediener.h"
#include "cli/Schritte.h"
#include "app/Programmstart.h"
#include "core/Sitzung.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace zt;

namespace {
void schreibe(FILE* f, const QString& t) {
  const QByteArray b = t.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), f);
}

void hilfe(FILE* f) {
  QString t = QStringLiteral(
      "Aufruf: zieltafel-cli [OPTIONEN] SCHRITT...\n\n"
      "Optionen:\n"
      "  --programmordner DIR   Programmordner (Zieltafel.ini, Vorname.txt, ...)\n"
      "  --arbeitsordner DIR    Arbeitsordner (Zeitdatei, Ergebnislisten)\n"
      "  --bezugsjahr JJJJ      Bezugsjahr der Altersklassen (1900-2100)\n"
      "  --dezimalzeichen , | . Dezimalzeichen der Zeiten\n"
      "  --nein                 Fragen mit Nein statt Ja beantworten\n"
      "  --antworten LISTE      Antworten der Reihe nach (ja,nein,abbrechen,ok)\n\n"
      "Schritte:\n");
  for (const cli::Schritt& s : cli::Schritte())
    t += QStringLiteral("  %1 %2\n").arg(QLatin1String(s.name), QString::fromUtf8(s.hilfe));
  schreibe(f, t);
}

int falscherAufruf(const QString& grund) {
  schreibe(stderr, QStringLiteral("zieltafel-cli: ") + grund + QLatin1Char('\n'));
  hilfe(stderr);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
  // Every step writes UTF-8; a Windows console shows it as such only when told.
  SetConsoleOutputCP(CP_UTF8);
#endif
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Zieltafel"));
  const QStringList args = app.arguments().mid(1);

  QString programmordner, arbeitsordner;
  int bezugsjahr = 0;
  QChar dezimal = QLocale::system().decimalPoint().at(0);
  cli::CliBediener bediener;
  int i = 0;
  for (; i < args.size() && args[i].startsWith(QLatin1String("--")); ++i) {
    const QString& o = args[i];
    const bool mitWert = o == QLatin1String("--programmordner") || o == QLatin1String("--arbeitsordner") ||
                         o == QLatin1String("--bezugsjahr") || o == QLatin1String("--dezimalzeichen") ||
                         o == QLatin1String("--antworten");
    if (o == QLatin1String("--hilfe") || o == QLatin1String("--help")) {
      hilfe(stdout);
      return 0;
    }
    if (o == QLatin1String("--nein")) {
      bediener.standard = Antwort::Nein;
      continue;
    }
    if (!mitWert) return falscherAufruf(QStringLiteral("unbekannte Option %1").arg(o));
    if (i + 1 >= args.size()) return falscherAufruf(QStringLiteral("%1 braucht einen Wert").arg(o));
    const QString wert = args[++i];
    if (o == QLatin1String("--programmordner")) programmordner = wert;
    else if (o == QLatin1String("--arbeitsordner")) arbeitsordner = wert;
    else if (o == QLatin1String("--bezugsjahr")) {
      bool ok = false;
      bezugsjahr = wert.toInt(&ok);
      if (!ok || bezugsjahr < 1900 || bezugsjahr > 2100)
        return falscherAufruf(QStringLiteral("Bezugsjahr \"%1\" liegt nicht zwischen 1900 und 2100").arg(wert));
    } else if (o == QLatin1String("--dezimalzeichen")) {
      if (wert != QLatin1String(",") && wert != QLatin1String("."))
        return falscherAufruf(QStringLiteral("Dezimalzeichen muss \",\" oder \".\" sein"));
      dezimal = wert.at(0);
    } else if (o == QLatin1String("--antworten")) {
      if (!cli::AntwortenLesen(wert, bediener.antworten))
        return falscherAufruf(QStringLiteral("unbekannte Antwort in \"%1\"").arg(wert));
    }
  }

  // Check the whole step list before doing anything.
  struct Geplant {
    const cli::Schritt* schritt;
    QStringList argumente;
  };
  std::vector<Geplant> plan;
  for (; i < args.size(); ++i) {
    const cli::Schritt* s = cli::SchrittSuchen(args[i]);
    if (!s) return falscherAufruf(QStringLiteral("unbekannter Schritt \"%1\"").arg(args[i]));
    if (i + s->argumente >= args.size())
      return falscherAufruf(QStringLiteral("Schritt \"%1\" braucht %2 Argument(e)").arg(args[i]).arg(s->argumente));
    QStringList argumente = args.mid(i + 1, s->argumente);
    i += s->argumente;
    const QStringList erlaubt = QString::fromUtf8(s->optionen).split(QLatin1Char(','), Qt::SkipEmptyParts);
    while (i + 1 < args.size() && args[i + 1].startsWith(QLatin1String("--"))) {
      const QString name = args[i + 1].mid(2);
      const bool mitWert = erlaubt.contains(name + QLatin1Char(':'));
      if (!mitWert && !erlaubt.contains(name))
        return falscherAufruf(QStringLiteral("Schritt \"%1\" kennt die Option \"%2\" nicht").arg(s->name, args[i + 1]));
      if (mitWert && i + 2 >= args.size())
        return falscherAufruf(QStringLiteral("Option \"%1\" braucht einen Wert").arg(args[i + 1]));
      argumente << args[i + 1];
      if (mitWert) argumente << args[i + 2];
      i += mitWert ? 2 : 1;
    }
    plan.push_back({s, argumente});
  }
  if (plan.empty()) return falscherAufruf(QStringLiteral("kein Schritt angegeben"));

  // A folder given relative to where the tool was started is made absolute
  // once, here: the steps after it (the clock's time file above all) take
  // only complete paths.
  const auto absolut = [](const QString& ordner, const char* umgebung) {
    const QString o = ordner.isEmpty() ? qEnvironmentVariable(umgebung) : ordner;
    return o.isEmpty() ? QString() : QDir::cleanPath(QDir::current().absoluteFilePath(o));
  };
  programmordner = absolut(programmordner, "ZIELTAFEL_PROGRAMMORDNER");
  arbeitsordner = absolut(arbeitsordner, "ZIELTAFEL_ARBEITSORDNER");

  SystemUhr uhr;
  StandardSystem system;
  Sitzung sitzung(bediener, uhr, system);
  // Nobody to ask in a batch run: a save or an event file that a step needs
  // without naming it is reported and not done.
  sitzung.speichernUnter = [&bediener](Sitzung&) {
    bediener.keinDialog(QStringLiteral("Datenbank speichern"));
    return false;
  };
  sitzung.laufdateiErfragen = [&bediener](Sitzung&) {
    bediener.keinDialog(QStringLiteral("Lauf laden"));
    return QString();
  };
  const QString ordnerFehler = OrdnerVorbereiten(sitzung, programmordner, arbeitsordner);
  if (!ordnerFehler.isEmpty()) {
    schreibe(stderr, QStringLiteral("zieltafel-cli: ") + ordnerFehler + QLatin1Char('\n'));
    return 1;
  }
  StartdatenLaden(sitzung);
  sitzung.dezimalzeichen = dezimal;
  if (bezugsjahr) {
    sitzung.bezugsjahr = bezugsjahr;
    sitzung.txtBezugsjahrAK = QString::number(bezugsjahr);
  }

  cli::Kontext kontext{sitzung, bediener};
  for (const Geplant& g : plan) {
    const bool ok = g.schritt->ausfuehren(kontext, g.argumente);
    bediener.timerAusfuehren();
    if (!ok) {
      schreibe(stderr, g.schritt->pruefschritt
                           ? QStringLiteral("zieltafel-cli: Schritt \"%1\" hat etwas gefunden (siehe Fehlermanager).\n")
                                 .arg(QLatin1String(g.schritt->name))
                           : QStringLiteral("zieltafel-cli: Schritt \"%1\" konnte nicht ausgeführt werden.\n")
                                 .arg(QLatin1String(g.schritt->name)));
      return 1;
    }
  }
  std::fflush(stdout);
  return 0;
}
