#include "timing/Sicherung.h"

#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zt {

QString FreierBakName(const QString& pfad) {
  QString name = pfad + QStringLiteral(".bak");
  for (int i = 1; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++i)
    name = pfad + QStringLiteral(".%1.bak").arg(i);
  return name;
}

QString BeiseiteLegen(const QString& pfad, QString* neuerName) {
  const QString ziel = FreierBakName(pfad);
  QFile f(pfad);
  if (!f.rename(ziel))
    return QStringLiteral("Die Datei \"%1\" kann nicht in \"%2\" umbenannt werden: %3")
        .arg(QDir::toNativeSeparators(pfad), QDir::toNativeSeparators(ziel), f.errorString());
  if (neuerName) *neuerName = ziel;
  return QString();
}

QString Sicherungsordner(const QString& ort) {
  const QString o = ort.trimmed();
#ifdef Q_OS_WIN
  // The settings always named a drive ("a:\"), and a stick still gets a
  // letter: such a value means the root of that drive.
  const auto trenner = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
  const bool nurLaufwerk = !o.isEmpty() && o.size() <= 3 && o[0].isLetter() &&
                           (o.size() == 1 || (o[1] == QLatin1Char(':') && (o.size() == 2 || trenner(o[2]))));
  if (nurLaufwerk) return o.left(1) + QStringLiteral(":/");
#endif
  if (o.isEmpty() || !QDir::isAbsolutePath(o)) return QString();
  return QDir::cleanPath(QDir::fromNativeSeparators(o));
}

QString Sicherungsziel(const QString& ort, const QString& datei, QString& fehler) {
  fehler.clear();
  const QString o = ort.trimmed();
  if (o.isEmpty()) {
    fehler = QStringLiteral("Es ist kein Sicherungsordner angegeben.");
    return QString();
  }
  const QString ordner = Sicherungsordner(o);
  if (ordner.isEmpty()) {
    fehler = QStringLiteral("Der Sicherungsordner \"%1\" ist kein vollständiger Pfad.").arg(o);
    return QString();
  }
  const QFileInfo info(ordner);
  if (!info.exists()) {
    fehler = QStringLiteral("Der Sicherungsordner \"%1\" ist nicht vorhanden (USB-Stick nicht eingesteckt?).")
                 .arg(QDir::toNativeSeparators(ordner));
    return QString();
  }
  if (!info.isDir()) {
    fehler = QStringLiteral("\"%1\" ist kein Ordner.").arg(QDir::toNativeSeparators(ordner));
    return QString();
  }
  if (!info.isWritable()) {
    fehler = QStringLiteral("In den Sicherungsordner \"%1\" kann nicht geschrieben werden.")
                 .arg(QDir::toNativeSeparators(ordner));
    return QString();
  }
  if (QFileInfo(QFileInfo(datei).absolutePath()).canonicalFilePath() == info.canonicalFilePath()) {
    fehler = QStringLiteral("Der Sicherungsordner \"%1\" ist der Ordner der Zeitdatei selbst.")
                 .arg(QDir::toNativeSeparators(ordner));
    return QString();
  }
  return QDir(ordner).filePath(Dateiname(datei));
}

}  // namespace zt
