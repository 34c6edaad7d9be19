#pragma once
// A CUPS of the test's own (tools/cups_test.sh) with one cups-pdf printer:
// started in a temporary folder, reached through CUPS_SERVER by every program
// the test starts, stopped again when the object goes. Header only, so that
// the process tests can use it too.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace zt::test {

class PrivaterCups {
 public:
  explicit PrivaterCups(const QString& drucker = QStringLiteral("ZieltafelPDF")) : m_drucker(drucker) {
    m_vorher = qgetenv("CUPS_SERVER");
    m_hatteVorher = qEnvironmentVariableIsSet("CUPS_SERVER");
    QProcess p;
    p.start(QStringLiteral("bash"), {skript(), QStringLiteral("start"), m_dir.path(), drucker});
    if (!p.waitForFinished(60000)) {
      p.kill();
      m_grund = QStringLiteral("cups_test.sh antwortet nicht");
      return;
    }
    const QString aus = QString::fromUtf8(p.readAllStandardOutput());
    m_grund = QString::fromUtf8(p.readAllStandardError()).trimmed();
    if (p.exitCode() != 0) return;
    for (const QString& z : aus.split(QLatin1Char('\n'))) {
      if (z.startsWith(QLatin1String("CUPS_SERVER="))) m_server = z.mid(12).trimmed();
      if (z.startsWith(QLatin1String("PDF="))) m_pdf = z.mid(4).trimmed();
    }
    m_laeuft = !m_server.isEmpty() && !m_pdf.isEmpty();
    if (m_laeuft) qputenv("CUPS_SERVER", m_server.toLocal8Bit());
  }
  ~PrivaterCups() {
    if (m_laeuft || QFileInfo::exists(m_dir.filePath(QStringLiteral("cupsd.pid")))) {
      QProcess p;
      p.start(QStringLiteral("bash"), {skript(), QStringLiteral("stop"), m_dir.path()});
      p.waitForFinished(30000);
    }
    if (m_hatteVorher) qputenv("CUPS_SERVER", m_vorher);
    else qunsetenv("CUPS_SERVER");
  }
  PrivaterCups(const PrivaterCups&) = delete;
  PrivaterCups& operator=(const PrivaterCups&) = delete;

  bool laeuft() const { return m_laeuft; }
  QString grund() const { return m_grund; }
  QString drucker() const { return m_drucker; }

  // PDFs in the printer's folder right now.
  int fertigePdfs() const { return static_cast<int>(QDir(m_pdf).entryList({QStringLiteral("*.pdf")}, QDir::Files).size()); }

  // The PDFs the printer made, once there are `anzahl` of them and no job is
  // waiting any more (empty after the time is up).
  QStringList pdfs(int anzahl, int millisekunden = 90000) const {
    QElapsedTimer uhr;
    uhr.start();
    QStringList vorher;
    while (uhr.elapsed() < millisekunden) {
      QStringList l;
      for (const QFileInfo& f : QDir(m_pdf).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed))
        l << QStringLiteral("%1|%2").arg(f.absoluteFilePath()).arg(f.size());
      if (l.size() >= anzahl && l == vorher && warteschlangeLeer()) {
        QStringList pfade;
        for (const QString& e : l) pfade << e.section(QLatin1Char('|'), 0, 0);
        return pfade;
      }
      vorher = l;
      QThread::msleep(300);
    }
    return {};
  }

 private:
  static QString skript() { return QStringLiteral(ZT_SHARE_DIR "/../tools/cups_test.sh"); }
  bool warteschlangeLeer() const {
    QProcess p;
    p.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    return p.waitForFinished(10000) && p.readAllStandardOutput().trimmed().isEmpty();
  }

  QTemporaryDir m_dir;
  QString m_drucker, m_server, m_pdf, m_grund;
  QByteArray m_vorher;
  bool m_hatteVorher = false;
  bool m_laeuft = false;
};

}  // namespace zt::test
