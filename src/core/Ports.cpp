#include "core/Ports.h"

#include "core/Textdatei.h"

#include <QCoreApplication>
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

QString SicherungSchreiben(const QString& quelle, const QString& ziel) {
  const QFileInfo zielInfo(ziel);
  const QString ordner = zielInfo.absolutePath();
  if (!QFileInfo(ordner).isDir())
    return QStringLiteral("Der Sicherungsordner \"%1\" ist nicht vorhanden.").arg(QDir::toNativeSeparators(ordner));
  if (QFileInfo(quelle).canonicalFilePath() == zielInfo.canonicalFilePath() && zielInfo.exists())
    return QStringLiteral("Die Sicherung \"%1\" wäre die Datei selbst.").arg(QDir::toNativeSeparators(ziel));
  const Leseergebnis e = DateiLesen(quelle);
  if (!e.ok) return e.fehler;
  // Synced: a stick pulled right after the copy must hold it.
  return DateiAtomarSchreiben(ziel, e.daten, true);
}

void StandardSystem::sicherungKopieren(const QString& quelle, const QString& ziel,
                                       std::function<void(const QString& fehler)> fertig) {
  // A slow USB stick must not hold up the finish line: the copy runs on its
  // own thread and reports back through the main thread's event queue.
  QThread* t = QThread::create([quelle, ziel, fertig] {
    const QString fehler = SicherungSchreiben(quelle, ziel);
    if (!fertig) return;
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, [fertig, fehler] { fertig(fehler); }, Qt::QueuedConnection);
  });
  QObject::connect(t, &QThread::finished, t, &QObject::deleteLater);
  t->start();
}

}  // namespace zt
