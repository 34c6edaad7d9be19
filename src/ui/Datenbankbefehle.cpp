#include "ui/Datenbankbefehle.h"

#include "core/Sitzung.h"
#include "persistence/Datenbank.h"
#include "ui/FormZieltafel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace zt {

namespace {
// The entries of OeffnenFilter() and SpeichernFilter(), in their order.
Dateiart artFuerFilter(int index) {
  switch (index) {
    case 2:
      return Dateiart::Einstellungen;
    case 3:
      return Dateiart::Vornamen;
    case 4:
      return Dateiart::Ztf;
    default:
      return Dateiart::Laeuferdatei;
  }
}

Speicherformat formatFuerFilter(int index) {
  switch (index) {
    case 2:
      return Speicherformat::CsvAlt;
    case 3:
      return Speicherformat::Xlsx;
    case 4:
      return Speicherformat::Ztf;
    case 5:
      return Speicherformat::Ini;
    default:
      return Speicherformat::Csv;
  }
}

int filterFuerFormat(Speicherformat format) {
  switch (format) {
    case Speicherformat::Csv:
      break;
    case Speicherformat::CsvAlt:
      return 2;
    case Speicherformat::Xlsx:
      return 3;
    case Speicherformat::Ztf:
      return 4;
    case Speicherformat::Ini:
      return 5;
  }
  return 1;
}
}  // namespace

bool DatenbankOeffnenMitDialog(Sitzung& s) {
  const Dateiwahl w =
      s.bediener.dateiOeffnen(QStringLiteral("Datenbank öffnen"), OeffnenFilter(), s.letzterOrdner, 1);
  if (w.abgebrochen()) return false;
  return DatenbankOeffnen(s, w.pfad, artFuerFilter(w.filterIndex));
}

bool DatenbankSpeichernMitDialog(Sitzung& s) {
  for (;;) {
    const Dateiwahl w = s.bediener.dateiSpeichern(QStringLiteral("Datenbank speichern"), SpeichernFilter(),
                                                  s.letzterOrdner, filterFuerFormat(s.speichertyp));
    if (w.abgebrochen()) return false;
    const Speicherausgang a = DatenbankSpeichern(s, w.pfad, formatFuerFilter(w.filterIndex));
    if (a != Speicherausgang::AndereDateiWaehlen) return a == Speicherausgang::Gespeichert;
  }
}

QString LaufdateiWaehlen(Sitzung& s) {
  return s.bediener
      .dateiOeffnen(QStringLiteral("Lauf laden"), QStringLiteral("Lauf (*.ini)|*.ini|"), s.pfade.programmordner, 1)
      .pfad;
}

void LaufLadenMitDialog(Sitzung& s) {
  QString datei = LaufdateiKandidat(s);
  if (datei.isEmpty()) datei = LaufdateiWaehlen(s);
  LaufLaden(s, datei);
}

Datenbankbefehle::Datenbankbefehle(FormZieltafel& fenster) : QObject(&fenster), m_fenster(fenster) {
  Sitzung& s = fenster.sitzung();
  s.speichernUnter = DatenbankSpeichernMitDialog;
  s.laufdateiErfragen = LaufdateiWaehlen;
  QMenu* menue = fenster.menuBar()->addMenu(QStringLiteral("Datenbank"));
  menue->setObjectName(QStringLiteral("mnuDatenbank"));
  QToolBar* leiste = fenster.symbolleiste();

  // Menu text, tool-bar caption and tool tip differ as the operator knows them.
  QAction* neu = anlegen("btnDbNeu", QStringLiteral("neu"), QStringLiteral("neu"),
                         QStringLiteral("neue Datenbank"), QStyle::SP_FileIcon);
  neu->setShortcut(QKeySequence::New);
  connect(neu, &QAction::triggered, this, [this, &s] { m_fenster.befehl([&s] { DatenbankNeu(s); }); });

  QAction* oeffnen = anlegen("btnDbOeffnen", QStringLiteral("öffnen"), QStringLiteral("Daten laden"),
                             QStringLiteral("Datenbank öffnen"), QStyle::SP_DialogOpenButton);
  oeffnen->setShortcut(QKeySequence::Open);
  connect(oeffnen, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([&s] { DatenbankOeffnenMitDialog(s); }); });

  QAction* sichern = anlegen("btnDbSpeichern", QStringLiteral("speichern"), QStringLiteral("speichern"),
                             QStringLiteral("Datenbank speichern"), QStyle::SP_DialogSaveButton);
  sichern->setShortcut(QKeySequence::Save);
  connect(sichern, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([&s] { DatenbankSichern(s); }); });

  QAction* unter = anlegen("btnDbSpeichernUnter", QStringLiteral("speichern unter"),
                           QStringLiteral("speichern unter"), QStringLiteral("Datenbank speichern unter"),
                           QStyle::SP_DriveFDIcon);
  unter->setShortcut(QKeySequence::SaveAs);
  connect(unter, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([&s] { DatenbankSpeichernMitDialog(s); }); });

  QAction* ausduennen = anlegen("btnDatenAusduennen", QStringLiteral("Daten ausdünnen"),
                                QStringLiteral("Daten ausdünnen"),
                                QStringLiteral("Bearbeitung optimieren, Läufer ohne Anmeldung löschen"),
                                QStyle::SP_TrashIcon);
  connect(ausduennen, &QAction::triggered, this,
          [this, &s] { m_fenster.befehl([&s] { DatenbankAusduennen(s); }); });

  menue->addAction(neu);
  menue->addAction(oeffnen);
  menue->addAction(sichern);
  menue->addAction(unter);
  menue->addSeparator();
  menue->addAction(ausduennen);

  leiste->addAction(neu);
  leiste->addAction(oeffnen);
  leiste->addAction(sichern);
  leiste->addAction(unter);
  leiste->addSeparator();
  leiste->addAction(ausduennen);
  for (QAction* a : {neu, oeffnen, sichern, unter, ausduennen})
    if (QWidget* knopf = leiste->widgetForAction(a)) knopf->setObjectName(a->objectName());
}

QAction* Datenbankbefehle::anlegen(const char* schluessel, const QString& text, const QString& symboltext,
                                   const QString& tipp, int standardsymbol) {
  auto* a = new QAction(m_fenster.style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardsymbol)),
                        text, &m_fenster);
  a->setObjectName(QString::fromLatin1(schluessel));
  a->setIconText(symboltext);
  a->setToolTip(tipp);
  m_fenster.befehle()->addAction(a);
  return a;
}

}  // namespace zt
