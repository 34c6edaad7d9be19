#include "persistence/EinstellungenBefehle.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "persistence/Einstellungsdatei.h"

#include <QDir>
#include <QFile>

namespace zt {

bool CmdIniLokalSichern(Sitzung& s) {
  if (s.ausstehendeLaufdatei.isEmpty()) return false;
  const QString fehler = WriteSettings(s, s.ausstehendeLaufdatei, s.laufEinstellungsdatei(), s.vornamendatei());
  if (!fehler.isEmpty()) {
    s.bediener.meldung(QStringLiteral("Zieltafel"), fehler, Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  return true;
}

void ZuweisenStandards(Sitzung& s) {
  Einstellungen& e = s.einst;
  e.txtVorlageErgebnisliste = s.programmdatei(QStringLiteral("druckvorlage/VorlageErgebnisliste.rtf"));
  e.txtVorlageUrkunde = s.programmdatei(QStringLiteral("druckvorlage/VorlageUrkunde.rtf"));
  e.txtVorlageUrkundeGesamtsieger = s.programmdatei(QStringLiteral("druckvorlage/VorlageUrkundeGesamtSieger.rtf"));
  e.txtOptionen = s.optionsdatei();
  // Where no association is known the settings keep their values.
  const QString rtf = s.system.programmFuerDatei(e.txtVorlageUrkunde);
  if (!rtf.isEmpty()) e.txtWinWord = rtf;
  const QString txt = s.system.programmFuerDatei(s.vornamendatei());
  if (!txt.isEmpty()) e.txtTextpad = txt;
  s.melden();

  const QString probe = s.programmdatei(QStringLiteral("#prüfe_schreibrecht#.dat"));
  // Through the same write path as every file the program keeps there.
  const bool ok = DateiAtomarSchreiben(probe, QByteArrayLiteral("Schreibtest\r\n")).isEmpty();
  if (ok && QFile::exists(probe)) {
    QFile::remove(probe);
    return;
  }
  s.bediener.meldung(QStringLiteral("Änderungen an den Systemdateien nicht möglich!"),
                     QStringLiteral("Es liegen keine Schreibrechte für Änderungen an den Systemdateien im "
                                    "Programmverzeichnis     \n") +
                         QDir::toNativeSeparators(s.pfade.programmordner) +
                         QDir::separator() + QStringLiteral("... vor!   \n\nBitte informieren Sie bei Bedarf Ihren Systemadministrator!   "),
                     Symbol::Stopp, Knoepfe::Ok);
}

void StandardTextverarbeitung(Sitzung& s) {
#ifdef Q_OS_WIN
  s.einst.txtWinWord = QStringLiteral("c:/programme/microsoft office/office16/winword.exe");
#else
  // LibreOffice opens and prints the RTF templates.
  s.einst.txtWinWord = QStringLiteral("/usr/bin/soffice");
#endif
  s.melden();
}

void StandardTexteditor(Sitzung& s) {
#ifdef Q_OS_WIN
  s.einst.txtTextpad = QStringLiteral("c:/programme/textpad/txtpad32.exe");
#else
  // There is no one text editor on Linux: the one the desktop opens ".txt"
  // files with, or the desktop's opener itself.
  const QString txt = s.system.programmFuerDatei(s.vornamendatei());
  s.einst.txtTextpad = txt.isEmpty() ? QStringLiteral("/usr/bin/xdg-open") : txt;
#endif
  s.melden();
}

bool GesamtsiegerVorlageOeffnen(Sitzung& s) {
  const Einstellungen& e = s.einst;
  if (!DateiVorhanden(e.txtVorlageUrkundeGesamtsieger)) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("Urkunde Gesamtsieger unter angegebenen Pfad nicht vorgefunden!"), Symbol::Ausruf,
                       Knoepfe::Ok);
    return false;
  }
  // Program and template go separately: a path with blanks ("Program
  // Files", "Mein Lauf.rtf") can never start something else.
  const QString programm = QDir::toNativeSeparators(e.txtWinWord.trimmed());
  const QString vorlage = QDir::toNativeSeparators(e.txtVorlageUrkundeGesamtsieger.trimmed());
  if (programm.isEmpty() || !s.system.programmStarten(programm, {vorlage})) {
    s.bediener.meldung(QStringLiteral("Zieltafel"),
                       QStringLiteral("WinWord unter angegebenen Pfad nicht vorgefunden!"), Symbol::Ausruf, Knoepfe::Ok);
    return false;
  }
  return true;
}

}  // namespace zt
