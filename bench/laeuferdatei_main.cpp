// Writes a generated runner file: zt_laeuferdatei ANZAHL DATEI [--ohne-zeiten] [--seed N]
#include "core/Textdatei.h"
#include "generator.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() < 3) {
    std::fprintf(stderr, "Aufruf: zt_laeuferdatei ANZAHL DATEI [--ohne-zeiten] [--seed N]\n");
    return 2;
  }
  bool ok = false;
  const int anzahl = a[1].toInt(&ok);
  if (!ok || anzahl < 0) {
    std::fprintf(stderr, "ANZAHL muss eine Zahl sein\n");
    return 2;
  }
  unsigned seed = 1;
  const int s = a.indexOf(QStringLiteral("--seed"));
  if (s > 0 && s + 1 < a.size()) seed = a[s + 1].toUInt();
  const QString fehler =
      zt::DateiAtomarSchreiben(a[2], LaeuferdateiErzeugen(anzahl, seed, !a.contains(QStringLiteral("--ohne-zeiten"))));
  if (!fehler.isEmpty()) {
    std::fprintf(stderr, "%s\n", fehler.toUtf8().constData());
    return 1;
  }
  return 0;
}
