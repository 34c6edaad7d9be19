#pragma once
// The real programs run as processes, the way a user or the system runs
// them; shared by the tests that start the built and the installed binaries.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

// Readable texts in failing checks.
QT_BEGIN_NAMESPACE
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
QT_END_NAMESPACE

namespace zt::test {

// A window is let run two seconds, then asked to end the way the system does
// (SIGTERM); a tool runs to its end.
enum class Art { Werkzeug, Fenster };

struct Lauf {
  bool lief = false;  // a window: still up after two seconds
  bool fertig = false;
  int code = -1;
  QProcess::ExitStatus art = QProcess::CrashExit;
  QString aus;
  QString fehler;
};

inline Lauf ausfuehren(const QString& programm, const QStringList& argumente,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                       Art art = Art::Werkzeug, const QByteArray& eingabe = {}, int ms = 60000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(programm, argumente);
  Lauf l;
  if (!p.waitForStarted(10000)) {
    l.fehler = p.errorString();
    return l;
  }
  p.write(eingabe);
  p.closeWriteChannel();
  if (art == Art::Fenster) {
    l.lief = !p.waitForFinished(2000);
    if (l.lief) p.terminate();
  }
  // Asked to end, a window gets the 20 seconds a desktop gives it at logout.
  l.fertig = p.waitForFinished(art == Art::Fenster ? 20000 : ms);
  if (!l.fertig) {
    p.kill();
    p.waitForFinished();
  }
  l.code = p.exitCode();
  l.art = p.exitStatus();
  l.aus = QString::fromUtf8(p.readAllStandardOutput());
  l.fehler = QString::fromUtf8(p.readAllStandardError());
  return l;
}

// It ended by itself, a window only when asked to, with 0 and without a
// sanitizer's report.
inline void sauberBeendet(const Lauf& l, Art art = Art::Werkzeug) {
  EXPECT_TRUE(art == Art::Werkzeug || l.lief) << "ended before it was asked to:\n" << l.fehler;
  EXPECT_TRUE(l.fertig) << "did not end:\n" << l.fehler;
  EXPECT_EQ(l.art, QProcess::NormalExit) << l.fehler;
  EXPECT_EQ(l.code, 0) << l.fehler;
  for (const char* bericht : {"AddressSanitizer", "runtime error:", "LeakSanitizer", "malloc()", "free()"})
    EXPECT_FALSE(l.fehler.contains(QLatin1String(bericht))) << l.fehler;
}

}  // namespace zt::test
