#include "core/Ports.h"

#include "core/Textdatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QSettings>
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#endif

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
#ifdef Q_OS_WIN
  const std::wstring datei = QDir::toNativeSeparators(pfad).toStdWString();
  // Above 32 means started, whatever the program does next.
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", datei.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
#else
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
  return QProcess::startDetached(QStringLiteral("xdg-open"), {pfad});
#endif
}

namespace {
// The desktop's choice for a file type, looked up the way the freedesktop
// association files are meant to be read: the user's and the system's
// mimeapps.list first, then the older defaults.list, then whatever installed
// program says it can open the type (mimeinfo.cache).
QStringList xdgOrdner(const char* variable, const QString& vorgabe) {
  const QString wert = qEnvironmentVariable(variable);
  QStringList l;
  for (const QString& o : (wert.isEmpty() ? vorgabe : wert).split(QLatin1Char(':'), Qt::SkipEmptyParts)) l << o;
  return l;
}

QString eintragIn(const QString& datei, QLatin1String abschnitt, const QString& typ, const QStringList& daten) {
  const Leseergebnis e = DateiLesen(datei, kGrenzeTextdatei);
  if (!e.ok) return QString();
  bool drin = false;
  for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
    const QString z = zeile.trimmed();
    if (z.startsWith(QLatin1Char('['))) {
      drin = z == QLatin1Char('[') + abschnitt + QLatin1Char(']');
      continue;
    }
    if (!drin || !z.startsWith(typ + QLatin1Char('='))) continue;
    // An entry may name a program that is no longer installed: the next one counts.
    for (const QString& id : z.mid(typ.size() + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
      for (const QString& o : daten)
        if (const QString d = o + QStringLiteral("/applications/") + id.trimmed(); QFileInfo(d).isFile()) return d;
  }
  return QString();
}

QString desktopDateiFuer(const QString& typ) {
  const QString home = QDir::homePath();
  const QStringList konfig = QStringList{xdgOrdner("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))} +
                             xdgOrdner("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
  QStringList daten = xdgOrdner("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
  daten += xdgOrdner("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
  QStringList listen;
  for (const QString& o : konfig) listen << o + QStringLiteral("/mimeapps.list");
  for (const QString& o : daten) listen << o + QStringLiteral("/applications/mimeapps.list");
  for (const QString& l : listen)
    if (QString d = eintragIn(l, QLatin1String("Default Applications"), typ, daten); !d.isEmpty()) return d;
  for (const QString& o : daten)
    if (QString d = eintragIn(o + QStringLiteral("/applications/defaults.list"), QLatin1String("Default Applications"),
                              typ, daten);
        !d.isEmpty())
      return d;
  for (const QString& o : daten)
    if (QString d = eintragIn(o + QStringLiteral("/applications/mimeinfo.cache"), QLatin1String("MIME Cache"), typ, daten);
        !d.isEmpty())
      return d;
  return QString();
}
}  // namespace

QString StandardSystem::programmFuerDatei(const QString& pfad) {
#ifdef Q_OS_WIN
  // Windows keeps the association per file ending.
  const QString typ = QLatin1Char('.') + QFileInfo(pfad).suffix();
  if (const auto it = m_programme.constFind(typ); it != m_programme.constEnd()) return *it;
  QString programm;
  wchar_t puffer[MAX_PATH * 4];
  DWORD laenge = MAX_PATH * 4;
  if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, typ.toStdWString().c_str(), nullptr, puffer, &laenge) ==
      S_OK)
    programm = QDir::fromNativeSeparators(QString::fromWCharArray(puffer));
  m_programme.insert(typ, programm);
  return programm;
#else
  const QString typ = QMimeDatabase().mimeTypeForFile(pfad).name();
  if (const auto it = m_programme.constFind(typ); it != m_programme.constEnd()) return *it;
  QString programm;
  const QString datei = desktopDateiFuer(typ);
  const Leseergebnis e = datei.isEmpty() ? Leseergebnis{} : DateiLesen(datei, kGrenzeTextdatei);
  if (e.ok) {
    for (const QString& zeile : TextZeilen(TextDekodieren(e.daten))) {
      if (!zeile.startsWith(QLatin1String("Exec="))) continue;
      const QString befehl = zeile.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
      const QString voll = QStandardPaths::findExecutable(befehl);
      programm = voll.isEmpty() ? befehl : voll;
      break;
    }
  }
  m_programme.insert(typ, programm);
  return programm;
#endif
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
  const QString programm = LibreOfficeProgramm();
  if (programm.isEmpty()) return false;
  QProcess p;
  p.start(programm, arg);
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

// ---- printing and PDF through LibreOffice ----------------------------------

QString System::druckbereit(const QString& name) {
  if (name.trimmed().isEmpty()) return QStringLiteral("Es ist kein Drucker eingerichtet.");
  if (!drucker().contains(name))
    return QStringLiteral("Den Drucker \"%1\" gibt es auf diesem Rechner nicht.").arg(name);
  return QString();
}

void System::rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                                std::function<void(const QString& fehler)> fertig) {
  const bool ok = rtfDrucken(datei, drucker);
  if (fertig)
    fertig(ok ? QString()
              : QStringLiteral("Die Datei \"%1\" konnte nicht auf \"%2\" gedruckt werden.")
                    .arg(QDir::toNativeSeparators(datei), drucker));
}

QString System::rtfNachPdf(const QStringList&, const QString&) {
  return QStringLiteral("Die Umwandlung in PDF ist hier nicht möglich.");
}

QString LibreOfficeProgramm() {
#ifdef Q_OS_WIN
  // On Windows LibreOffice is seldom on the search path: its installer notes
  // the program folder in the registry, else it is in the usual place.
  QStringList ordner;
  for (const char* schluessel : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\LibreOffice\\UNO\\InstallPath",
                                 "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\LibreOffice\\UNO\\InstallPath",
                                 "HKEY_CURRENT_USER\\SOFTWARE\\LibreOffice\\UNO\\InstallPath"})
    ordner << QSettings(QLatin1String(schluessel), QSettings::NativeFormat).value(QStringLiteral("Default")).toString();
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)"})
    if (const QString basis = qEnvironmentVariable(variable); !basis.isEmpty())
      ordner << basis + QStringLiteral("/LibreOffice/program");
  for (const QString& o : ordner) {
    const QString p = QDir::fromNativeSeparators(o) + QStringLiteral("/soffice.exe");
    if (!o.isEmpty() && QFileInfo(p).isFile()) return p;
  }
#endif
  for (const char* name : {"soffice", "libreoffice"}) {
    const QString p = QStandardPaths::findExecutable(QLatin1String(name));
    if (!p.isEmpty()) return p;
  }
  return QString();
}

namespace {
const char* const kKeinLibreOffice =
    "LibreOffice ist nicht installiert (das Programm \"soffice\" wurde nicht gefunden). "
    "Ohne LibreOffice kann Zieltafel RTF-Dateien weder drucken noch in PDF umwandeln.";

// Every run gets a profile of its own: a LibreOffice the operator has open,
// or a second run at the same time, would otherwise take the request over
// and answer before the work is done.
QString libreOffice(const QStringList& argumente, int sekunden) {
  const QString programm = LibreOfficeProgramm();
  if (programm.isEmpty()) return QString::fromUtf8(kKeinLibreOffice);
  QTemporaryDir profil;
  if (!profil.isValid()) return QStringLiteral("Für LibreOffice kann kein Arbeitsordner angelegt werden.");
  QStringList a{QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profil.path()).toString()};
  a += argumente;
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(programm, a);
  if (!p.waitForStarted(10000))
    return QStringLiteral("LibreOffice (\"%1\") konnte nicht gestartet werden.").arg(programm);
  if (!p.waitForFinished(sekunden * 1000)) {
    p.kill();
    p.waitForFinished(5000);
    return QStringLiteral("LibreOffice hat nach %1 Sekunden nicht geantwortet und wurde beendet.").arg(sekunden);
  }
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return QStringLiteral("LibreOffice hat mit dem Fehler %1 abgebrochen: %2")
        .arg(p.exitCode())
        .arg(QString::fromLocal8Bit(p.readAll()).trimmed());
  return QString();
}

// One job at a time, in the order given; never on the caller's thread.
QThreadPool& druckwarteschlange() {
  // Not destroyed at exit: a job still printing then finishes in LibreOffice
  // instead of holding the closing window.
  static QThreadPool* pool = [] {
    auto* p = new QThreadPool;
    p->setMaxThreadCount(1);
    return p;
  }();
  return *pool;
}
}  // namespace

QString StandardSystem::druckbereit(const QString& drucker) {
  if (LibreOfficeProgramm().isEmpty()) return QString::fromUtf8(kKeinLibreOffice);
  return System::druckbereit(drucker);
}

void StandardSystem::rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                                        std::function<void(const QString& fehler)> fertig) {
  druckwarteschlange().start([datei, drucker, fertig] {
    // LibreOffice prints nothing and says nothing for a printer that is not
    // there: asked once more, now that the job's turn has come.
    QString fehler;
    if (!QFileInfo::exists(datei))
      fehler = QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden.").arg(QDir::toNativeSeparators(datei));
    else
      fehler = libreOffice({QStringLiteral("--pt"), drucker, datei}, 600);
    if (!fertig) return;
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, [fertig, fehler] { fertig(fehler); }, Qt::QueuedConnection);
  });
}

QString StandardSystem::rtfNachPdf(const QStringList& dateien, const QString& ordner) {
  if (dateien.isEmpty()) return QString();
  if (!QDir().mkpath(ordner))
    return QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(QDir::toNativeSeparators(ordner));
  QStringList ziele;
  for (const QString& d : dateien) {
    const QString ziel = QDir(ordner).filePath(QFileInfo(d).completeBaseName() + QStringLiteral(".pdf"));
    QFile::remove(ziel);  // an old PDF must not pass for a new one
    ziele << ziel;
  }
  // One run for all files: starting LibreOffice costs more than converting.
  const QString fehler = libreOffice(QStringList{QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                                 QStringLiteral("--outdir"), ordner} + dateien, 600);
  if (!fehler.isEmpty()) return fehler;
  for (int i = 0; i < dateien.size(); ++i)
    if (!QFileInfo::exists(ziele[i]))
      return QStringLiteral("LibreOffice hat \"%1\" nicht in PDF umgewandelt.").arg(QDir::toNativeSeparators(dateien[i]));
  return QString();
}

}  // namespace zt
