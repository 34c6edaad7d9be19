// zieltafel: the window. "zieltafel [DATEI...]" opens the named files at start.
#include "core/Ports.h"
#include "app/Programmstart.h"
#include "core/Sitzung.h"
#include "ui/Fernsteuerung.h"
#include "ui/FormZieltafel.h"
#include "ui/Programmaufruf.h"
#include "ui/QtBediener.h"
#include "ui/QtSystem.h"
#include "ui/Steuerung.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMap>
#include <QTranslator>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

using namespace zt;

namespace {
void fehlerAusgeben(const QString& text) {
  const QByteArray b = text.toLocal8Bit() + '\n';
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

const char* const kKeineAnzeige =
    "Zieltafel braucht eine grafische Oberfläche, aber es ist keine Anzeige vorhanden "
    "(weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
    "Bitte starten Sie das Programm in einer grafischen Sitzung, oder ohne Bildschirm mit\n"
    "  xvfb-run -a zieltafel";

bool anzeigeVorhanden() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

QtMessageHandler vorherigeAusgabe = nullptr;
bool anwendungBereit = false;

// A display that is named but cannot be reached makes Qt give up with a
// fatal message; the operator gets a German sentence and an exit code instead
// of a core dump.
void meldungsausgabe(QtMsgType typ, const QMessageLogContext& kontext, const QString& text) {
  if (typ == QtFatalMsg && !anwendungBereit) {
    QString anzeige = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (anzeige.isEmpty()) anzeige = qEnvironmentVariable("DISPLAY");
    fehlerAusgeben(QStringLiteral("Zieltafel kann die grafische Oberfläche nicht öffnen: die Anzeige \"%1\" "
                                  "ist nicht erreichbar.\n(Meldung von Qt: %2)")
                       .arg(anzeige, text.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(1);
  }
  if (vorherigeAusgabe) vorherigeAusgabe(typ, kontext, text);
}
}  // namespace

int main(int argc, char** argv) {
  if (!anzeigeVorhanden()) {
    fehlerAusgeben(QString::fromUtf8(kKeineAnzeige));
    return 1;
  }
  vorherigeAusgabe = qInstallMessageHandler(meldungsausgabe);
  QApplication app(argc, argv);
  anwendungBereit = true;
  QApplication::setApplicationName(QStringLiteral("Zieltafel"));
  // The desktop matches the window to its entry "zieltafel.desktop".
  QGuiApplication::setDesktopFileName(QStringLiteral("zieltafel"));
  QApplication::setWindowIcon(Programmsymbol());
  // The program speaks German whatever the system's language: Qt's own
  // dialogs too, when its German texts are installed.
  QTranslator qtTexte;
  if (qtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexte);

  QtBediener bediener;
  AntwortenAusUmgebung(bediener);
  SystemUhr uhr;
  QtSystem system;
  Sitzung s(bediener, uhr, system);

  const QString fehler = OrdnerVorbereiten(s);
  if (!fehler.isEmpty()) {
    QMessageBox::critical(nullptr, QStringLiteral("Zieltafel"), fehler);
    return 1;
  }
  StartdatenLaden(s);

  FormZieltafel fenster(s);
  bediener.setFenster(&fenster);
  fenster.show();
  BeendenBeiSignal(fenster);
  SteuerungAusUmgebung(bediener, fenster);

  // ZIELTAFEL_SEITE=3 opens tab 3 at start, 3.2 its page "sonstiges" (screenshots, demonstrations).
  const QString seite = qEnvironmentVariable("ZIELTAFEL_SEITE");
  const QMap<QString, Ziel> seiten{{QStringLiteral("1"), Ziel::TabZieltafel},
                                   {QStringLiteral("2"), Ziel::TabZeitnahme},
                                   {QStringLiteral("3"), Ziel::TabVoreinstellungen},
                                   {QStringLiteral("3.1"), Ziel::SeiteVoreinstellungen},
                                   {QStringLiteral("3.2"), Ziel::SeiteSonstiges},
                                   {QStringLiteral("3.3"), Ziel::SeiteVornamen}};
  if (seiten.contains(seite)) QTimer::singleShot(0, &fenster, [&fenster, ziel = seiten.value(seite)] { fenster.zeigen(ziel); });

  const QStringList argumente = QApplication::arguments().mid(1);
  if (!argumente.isEmpty()) {
    // Files named at start are opened by their kind once the window runs.
    StartdateienOeffnen(fenster, bediener, argumente);
  }
  return app.exec();
}
