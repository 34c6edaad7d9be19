// Writes generated runner files (see bench/generator.h).
//
//   laeuferdatei ANZAHL [--seed N] [--zeiten PROZENT] [--walker PROZENT]
//                [--datum PROZENT] [--fehler ANZAHL] [--basis NAME]
//                [--ohne-ini-zeile] [--daten ORDNER] [-o DATEI]
//   laeuferdatei --beispiel ORDNER     the sample event Beispiellauf.csv/.ini
#include "generator.h"

#include "core/Textdatei.h"

#include <QDir>
#include <cstdio>
#include <cstring>

namespace {
int fehler(const char* text) {
  std::fprintf(stderr, "laeuferdatei: %s\n", text);
  return 2;
}

bool schreiben(const QString& pfad, const QByteArray& daten) {
  const QString f = zt::DateiAtomarSchreiben(pfad, daten);
  if (!f.isEmpty()) std::fprintf(stderr, "laeuferdatei: %s\n", f.toLocal8Bit().constData());
  return f.isEmpty();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--beispiel") == 0) {
    const QDir ordner(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(ordner.path())) return fehler("Ordner kann nicht angelegt werden");
    zt::Laeuferdateioptionen o;
    o.anzahl = 300;
    o.seed = 2026;
    o.zeitProzent = 40;
    o.walkerProzent = 6;
    o.datumProzent = 5;
    o.fehlerzeilen = 6;
    o.basisname = QStringLiteral("Beispiellauf");
    const bool ok = schreiben(ordner.filePath(QStringLiteral("Beispiellauf.csv")), zt::LaeuferdateiErzeugen(o)) &&
                    schreiben(ordner.filePath(QStringLiteral("Beispiellauf.ini")),
                              zt::BeispielEinstellungen(QStringLiteral("Beispiellauf")));
    return ok ? 0 : 1;
  }
  if (argc < 2) return fehler("Aufruf: laeuferdatei ANZAHL [Optionen] | --beispiel ORDNER");
  zt::Laeuferdateioptionen o;
  o.einstellungszeile = true;
  bool zahl = false;
  o.anzahl = QString::fromLocal8Bit(argv[1]).toInt(&zahl);
  if (!zahl || o.anzahl < 0) return fehler("ANZAHL muss eine Zahl sein");
  QString ziel;
  for (int i = 2; i < argc; ++i) {
    const QByteArray a = argv[i];
    if (a == "--ohne-ini-zeile") {
      o.einstellungszeile = false;
      continue;
    }
    if (i + 1 >= argc) return fehler("Wert fehlt");
    const QString w = QString::fromLocal8Bit(argv[++i]);
    if (a == "--seed") o.seed = w.toUInt();
    else if (a == "--zeiten") o.zeitProzent = w.toInt();
    else if (a == "--walker") o.walkerProzent = w.toInt();
    else if (a == "--datum") o.datumProzent = w.toInt();
    else if (a == "--fehler") o.fehlerzeilen = w.toInt();
    else if (a == "--basis") o.basisname = w;
    else if (a == "--daten") o.datenordner = w;
    else if (a == "-o") ziel = w;
    else return fehler("unbekannte Option");
  }
  const QByteArray daten = zt::LaeuferdateiErzeugen(o);
  if (ziel.isEmpty()) return std::fwrite(daten.constData(), 1, daten.size(), stdout) == size_t(daten.size()) ? 0 : 1;
  return schreiben(ziel, daten) ? 0 : 1;
}
