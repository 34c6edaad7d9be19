#include "core/Einstellungen.h"

namespace zt {

Einstellungen::Einstellungen() {
#ifdef Q_OS_WIN
  txtWinWord = QStringLiteral("c:\\programme\\microsoft office\\office\\winword.exe");
  // No "c:\lauf.erg": a drive's root is closed to users since Windows Vista,
  // so the time file goes to the working folder, as everywhere else.
#else
  txtWinWord = QStringLiteral("/usr/bin/soffice");
#endif
}

void StandardvorlagenErgaenzen(Einstellungen& e, const QString& programmordner) {
  QString o = programmordner;
  if (!o.isEmpty() && !o.endsWith(QLatin1Char('/'))) o += QLatin1Char('/');
  o += QStringLiteral("druckvorlage/");
  if (e.txtVorlageErgebnisliste.trimmed().isEmpty()) e.txtVorlageErgebnisliste = o + QStringLiteral("VorlageErgebnisliste.rtf");
  if (e.txtVorlageUrkunde.trimmed().isEmpty()) e.txtVorlageUrkunde = o + QStringLiteral("VorlageUrkunde.rtf");
  if (e.txtVorlageUrkundeGesamtsieger.trimmed().isEmpty())
    e.txtVorlageUrkundeGesamtsieger = o + QStringLiteral("VorlageUrkundeGesamtSieger.rtf");
}

QString LaufnameDatei(const Einstellungen& e) {
  QString n = e.txtNameLauf;
  return n.replace(QLatin1Char(' '), QLatin1Char('_'));
}

}  // namespace zt
