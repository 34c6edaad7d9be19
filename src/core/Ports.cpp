#include "core/Ports.h"

#include "core/Textdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace zt {

QString AntwortText(Antwort a) {
  switch (a) {
    case Antwort::Ok: return QStringLiteral("OK");
    case Antwort::Abbrechen: return QStringLiteral("Abbrechen");
    case Antwort::Ja: return QStringLiteral("Ja");
    case Antwort::Nein: return QStringLiteral("Nein");
  }
  return QString();
}

namespace {
QString ausfuehren(const QString& programm, const QStringList& argumente) {
  QProcess p;
  p.start(programm, argumente);
  if (!p.waitForStarted(3000)) return QString();
  if (!p.waitForFinished(5000)) {
    p.kill();
    return QString();
  }
  return QString::fromLocal8Bit(p.readAllStandardOutput());
}
}  // namespace

bool StandardSystem::dateiAnzeigen(const QString& pfad) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
  return QProcess::startDetached(QStringLiteral("xdg-open"), {pfad});
}

QString StandardSystem::programmFuerDatei(const QString& pfad) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) return QString();
  const QString typ = ausfuehren(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), pfad}).trimmed();
  if (typ.isEmpty()) return QString();
  const QString desktop = ausfuehren(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), typ}).trimmed();
  if (desktop.isEmpty()) return QString();
  const QString datei = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktop);
  if (datei.isEmpty()) return QString();
  const Leseergebnis e = DateiLesen(datei);
  if (!e.ok) return QString();
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
    if (!zeile.startsWith(QLatin1String("Exec="))) continue;
    const QString befehl = zeile.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    const QString voll = QStandardPaths::findExecutable(befehl);
    return voll.isEmpty() ? befehl : voll;
  }
  return QString();
}

bool StandardSystem::programmStarten(const QString& kommandozeile) {
  QStringList teile = QProcess::splitCommand(kommandozeile);
  if (teile.isEmpty()) return false;
  const QString programm = teile.takeFirst();
  return QProcess::startDetached(programm, teile);
}

QStringList StandardSystem::drucker() {
  QStringList liste;
  if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty()) return liste;
  for (const QString& zeile : ausfuehren(QStringLiteral("lpstat"), {QStringLiteral("-e")}).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    liste.append(zeile.trimmed());
  return liste;
}

QString StandardSystem::standardDrucker() {
  if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty()) return QString();
  const QString t = ausfuehren(QStringLiteral("lpstat"), {QStringLiteral("-d")});
  const int pos = t.indexOf(QLatin1Char(':'));
  return pos < 0 ? QString() : t.mid(pos + 1).trimmed();
}

bool StandardSystem::rtfDrucken(const QString& datei, const QString& drucker) {
  QStringList arg{QStringLiteral("--headless")};
  if (!drucker.isEmpty()) arg << QStringLiteral("--pt") << drucker;
  else arg << QStringLiteral("-p");
  arg << datei;
  QProcess p;
  p.start(QStringLiteral("soffice"), arg);
  return p.waitForStarted(5000) && p.waitForFinished(120000) && p.exitCode() == 0;
}

bool StandardSystem::programmStarten(const QString& programm, const QStringList& argumente) {
  if (programm.trimmed().isEmpty()) return false;
  return QProcess::startDetached(programm, argumente);
}

void StandardSystem::sicherungKopieren(const QString& quelle, const QString& ziel) {
  // A slow USB stick must not hold up the finish line.
  QThread* t = QThread::create([quelle, ziel] { DateiKopieren(quelle, ziel); });
  QObject::connect(t, &QThread::finished, t, &QObject::deleteLater);
  t->start();
}

}  // namespace zt
