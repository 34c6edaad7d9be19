// zieltafel: the window. "zieltafel [DATEI]" opens a runner file at start.
#include "core/Ports.h"
#include "app/Programmstart.h"
#include "core/Sitzung.h"
#include "persistence/Datenbank.h"
#include "ui/Dateifilter.h"
#include "ui/Fernsteuerung.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"
#include "ui/QtSystem.h"
#include "ui/Steuerung.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    // A file named at start is opened as if the open dialog had chosen it.
    const QString pfad = QDir::fromNativeSeparators(QFileInfo(argumente.first()).absoluteFilePath());
    // Runs after this block is gone: the path is captured by value.
    QTimer::singleShot(0, &fenster, [&bediener, &fenster, pfad] {
      // A time file is no runner list: opened as one, the next save would
      // write the runners over the finishes.
      if (pfad.endsWith(QLatin1String(".erg"), Qt::CaseInsensitive)) {
        bediener.meldung(QStringLiteral("Zieltafel"),
                         QStringLiteral("Die Datei \"%1\" ist eine Zeitdatei und keine Läuferdatei.\n"
                                        "Öffnen Sie zuerst die Läuferdatei und lesen Sie die Zeiten dann mit "
                                        "\"Zeitdatei laden\" ein.")
                             .arg(QDir::toNativeSeparators(pfad)),
                         Symbol::Ausruf, Knoepfe::Ok);
        return;
      }
      bediener.dateiwahlVorbereiten({pfad, FilterIndexFuerDatei(OeffnenFilter(), pfad)});
      if (auto* oeffnen = fenster.findChild<QAction*>(QStringLiteral("btnDbOeffnen"))) oeffnen->trigger();
      bediener.vorbereitetVerwerfen();
    });
  }
  return app.exec();
}
