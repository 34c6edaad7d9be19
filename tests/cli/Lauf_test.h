#pragma once
// The real zieltafel-cli, run as a script runs it: a program folder and a
// working folder of the test's own, a script on stdin.
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

namespace zt::test {

struct Lauf {
  int code = -1;
  QString aus, fehler;
};

// The batch tool with "programm" and "arbeit" in ordner as its folders;
// suchpfad, when given, is its PATH.
inline Lauf cliLauf(const QString& ordner, const QStringList& argumente, const QByteArray& eingabe = {},
                    const QString& suchpfad = {}) {
  QProcess p;
  if (!suchpfad.isEmpty()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), suchpfad);
    p.setProcessEnvironment(env);
  }
  p.start(QStringLiteral(ZT_CLI_BINARY),
          QStringList{QStringLiteral("--programmordner"), ordner + QStringLiteral("/programm"),
                      QStringLiteral("--arbeitsordner"), ordner + QStringLiteral("/arbeit")} +
              argumente);
  EXPECT_TRUE(p.waitForStarted(10000));
  p.write(eingabe);
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(120000));
  QByteArray aus = p.readAllStandardOutput(), fehler = p.readAllStandardError();
#ifdef Q_OS_WIN
  // The console's text mode writes every "\n" as "\r\n"; compared are the
  // lines the program wrote.
  aus.replace("\r\n", "\n");
  fehler.replace("\r\n", "\n");
#endif
  return {p.exitCode(), QString::fromUtf8(aus), QString::fromUtf8(fehler)};
}

}  // namespace zt::test
