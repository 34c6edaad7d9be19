#include "core/Einstellungen.h"

namespace zt {

Einstellungen::Einstellungen() {
#ifdef Q_OS_WIN
  txtWinWord = QStringLiteral("c:\\programme\\microsoft office\\office\\winword.exe");
  txtZeitnahmeDatei = QStringLiteral("c:\\lauf.erg");
#else
  txtWinWord = QStringLiteral("/usr/bin/soffice");
#endif
}

QString LaufnameDatei(const Einstellungen& e) {
  QString n = e.txtNameLauf;
  return n.replace(QLatin1Char(' '), QLatin1Char('_'));
}

}  // namespace zt
