#include "ui/Rasterbefehle.h"

#include "core/Ansicht.h"
#include "app/Rastereingabe.h"
#include "core/Sitzung.h"
#include "evaluation/Platzierung.h"
#include "evaluation/Sortierung.h"
#include "event/Hauptlauf.h"
#include "persistence/Datenbank.h"
#include "ui/Befehlsliste.h"
#include "ui/FormZieltafel.h"
#include "ui/Suchleiste.h"
#include "ui/TeilnehmerModell.h"
#include "ui/Teilnehmerraster.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>

namespace zt {

Rasterbefehle::Rasterbefehle(FormZieltafel& fenster, Teilnehmerraster& raster, Suchleiste& leiste)
    : QObject(&leiste), m_fenster(fenster), m_s(fenster.sitzung()), m_raster(raster), m_leiste(leiste) {
  Suchleiste& l = m_leiste;
  fenster.zielAnmelden(Ziel::SucheName, l.txtSucheName);
  fenster.zielAnmelden(Ziel::SucheStartnummer, l.txtSucheStartnummer);

  l.LaufSortierungNach->addItems(Sortiervorgaben());
  l.LaufSortierungNach->setCurrentIndex(-1);
  l.AuswahlDuatTriatlon->addItems(Ansichten());

  // Editing: every typed value goes to the change operation.
  m_raster.modell()->setAenderung([this](int zeile, int spalte, const QString& wert) {
    bool uebernommen = false;
    m_fenster.befehl([&] { uebernommen = ZelleAendern(m_s, zeile, spalte, wert); });
    abgleichen();
    return uebernommen;
  });
  m_raster.setAuswahlQuelle([this](int spalte) -> QStringList {
    if (spalte == S_strecke) return RouteChoices(m_s, QStringLiteral("strecke"));
    if (spalte == S_vereinort) return RouteChoices(m_s, QStringLiteral("vereinort"));
    return {};
  });
  m_raster.setEnterWieTab([this] { return m_s.einst.CheckAutoHinzufuegen != 0; });

  Teilnehmertabelle& t = m_s.tabelle;
  connect(&t, &Teilnehmertabelle::aktuelleZeileGeaendert, this, [this] {
    HervorhebungSetzen(m_s);
    if (m_s.neueZeile) neueZeilePruefenPlanen();
  });
  connect(&t, &Teilnehmertabelle::zeileGeaendert, this, [this](int zeile) {
    if (zeile + 1 == m_s.tabelle.aktuelleZeile()) HervorhebungSetzen(m_s);
  });
  connect(&t, &Teilnehmertabelle::nachZuruecksetzen, this, [this] { HervorhebungSetzen(m_s); });
  connect(&m_raster, &Teilnehmerraster::auswahlGeaendert, this, [this] {
    m_s.tabelle.setAuswahl(m_raster.ausgewaehlteZeilen(false));
    AuswahlGeaendert(m_s, m_s.tabelle.aktuelleZeile());
  });
  connect(&m_raster, &Teilnehmerraster::loeschenGewuenscht, this,
          [this] { zeilenLoeschen(m_raster.ausgewaehlteZeilen()); });
  connect(&m_raster, &Teilnehmerraster::spaltenkopfGeklickt, this, [this](int spalte) {
    if (!frei() || !neueZeileVorher()) return;
    m_fenster.befehl([&] { SpaltenkopfSortierung(m_s, spalte); });
    abgleichen();
  });
  connect(qApp, &QApplication::focusChanged, this, &Rasterbefehle::fokusGewechselt);

  // Search and navigation.
  connect(l.txtSucheName, &QLineEdit::textChanged, this, &Rasterbefehle::nameGeaendert);
  connect(l.txtSucheName, &QLineEdit::returnPressed, this, &Rasterbefehle::nameEnter);
  l.txtSucheName->installEventFilter(this);
  m_filterName = l.txtSucheName;
  connect(l.cmdNaechsterDatensatzName, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { NaechsterName(m_s); }); });
  connect(l.txtSucheStartnummer, &QLineEdit::textChanged, this, &Rasterbefehle::startnummerGeaendert);
  connect(l.txtSucheStartnummer, &QLineEdit::returnPressed, this, &Rasterbefehle::startnummerLeeren);
  l.txtSucheStartnummer->installEventFilter(this);
  m_filterStartnummer = l.txtSucheStartnummer;
  connect(l.cmdVorherDatensatzSNr, &QPushButton::clicked, this, [this] {
    m_fenster.befehl([this] { StartnummerBlaettern(m_s, -1); });
    abgleichen();
  });
  connect(l.cmdNaechsterDatensatzSNr, &QPushButton::clicked, this, [this] {
    m_fenster.befehl([this] { StartnummerBlaettern(m_s, +1); });
    abgleichen();
  });

  // Rows.
  connect(l.cmdDatensatzHinzufuegen, &QPushButton::clicked, this, &Rasterbefehle::hinzufuegen);
  connect(l.cmdDatensatzLoeschen, &QPushButton::clicked, this, [this] {
    if (m_s.tabelle.anzahl() > 0) zeilenLoeschen({m_s.tabelle.aktuelleZeile()});
  });

  // Sorting, print marks, entry mode and view.
  connect(l.LaufSortierungNach, &QComboBox::activated, this, &Rasterbefehle::sortieren);
  l.LaufSortierungNach->installEventFilter(this);
  m_filterSortierung = l.LaufSortierungNach;
  connect(l.cmdPlatzEinBisDrei, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { CmdPlatzEinBisDrei(m_s); }); });
  connect(l.CheckAutoHinzufuegen, &QCheckBox::clicked, this, [this](bool an) {
    m_fenster.befehl([&] { VereinfachteEingabe(m_s, an); });
    abgleichen();
  });
  connect(l.CheckAutoStartnummer, &QCheckBox::clicked, this, [this](bool an) {
    m_s.einst.CheckAutoStartnummer = an ? 1 : 0;
    m_s.melden();
  });
  connect(l.AuswahlDuatTriatlon, &QComboBox::activated, this, &Rasterbefehle::ansichtWaehlen);
  l.AuswahlDuatTriatlon->installEventFilter(this);
  m_filterAnsicht = l.AuswahlDuatTriatlon;

  // Context menu of the grid.
  m_menue = new QMenu(&m_raster);
  m_menue->setObjectName(QStringLiteral("mnuRaster"));
  const auto eintrag = [this](const QString& text, const char* name, std::function<void()> aufruf) {
    QAction* a = m_menue->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, std::move(aufruf));
    return a;
  };
  eintrag(QStringLiteral("Zelle bearbeiten"), "mnuZelleBearbeiten", [this] { m_raster.aktuelleZelleBearbeiten(); });
  eintrag(QStringLiteral("Zeile löschen"), "mnuZeileLoeschen", [this] {
    if (m_s.tabelle.anzahl() > 0) zeilenLoeschen({m_s.tabelle.aktuelleZeile()});
  });
  eintrag(QStringLiteral("Zeile markieren"), "mnuZeileMarkieren", [this] {
    const QList<int> zeilen = m_raster.ausgewaehlteZeilen();
    m_fenster.befehl([&] { DruckmarkeSetzen(m_s, zeilen, true); });
  });
  eintrag(QStringLiteral("Markierung löschen"), "mnuMarkierungLoeschen", [this] {
    const QList<int> zeilen = m_raster.ausgewaehlteZeilen();
    m_fenster.befehl([&] { DruckmarkeSetzen(m_s, zeilen, false); });
  });
  m_menue->addSeparator();
  QAction* neu = eintrag(QStringLiteral("Neue Datenzeile hinzufügen"), "mnuNeueDatenzeile", [this] {
    if (m_leiste.cmdDatensatzHinzufuegen->isEnabled()) hinzufuegen();
  });
  connect(m_menue, &QMenu::aboutToShow, this,
          [this, neu] { neu->setEnabled(m_leiste.cmdDatensatzHinzufuegen->isEnabled()); });
  connect(&m_raster, &QWidget::customContextMenuRequested, this, &Rasterbefehle::kontextmenueZeigen);

  // Keys for the search: only while tab 1 is shown.
  QWidget* seite = m_raster.parentWidget() ? m_raster.parentWidget() : &m_raster;
  auto* suchen = new QShortcut(QKeySequence::Find, seite, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(suchen, &QShortcut::activated, this, [this] {
    m_leiste.txtSucheName->setFocus(Qt::ShortcutFocusReason);
    m_leiste.txtSucheName->selectAll();
  });
  auto* weiter = new QShortcut(QKeySequence::FindNext, seite, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(weiter, &QShortcut::activated, l.cmdNaechsterDatensatzName, &QPushButton::click);

  connect(&m_s, &Sitzung::geaendert, this, &Rasterbefehle::abgleichen);
  abgleichen();
}

Rasterbefehle::~Rasterbefehle() {
  m_raster.modell()->setAenderung({});
  m_raster.setAuswahlQuelle({});
  m_raster.setEnterWieTab({});
}

bool Rasterbefehle::frei() const { return !m_fenster.befehlLaeuft() && !m_fenster.gesperrt(); }

void Rasterbefehle::wennFrei(std::function<void()> aufruf) {
  if (frei()) {
    m_fenster.befehl(aufruf);
    abgleichen();
    return;
  }
  QTimer::singleShot(20, this, [this, aufruf = std::move(aufruf)]() mutable { wennFrei(std::move(aufruf)); });
}

void Rasterbefehle::abgleichen() {
  const QScopedValueRollback guard(m_abgleich, true);
  Suchleiste& l = m_leiste;
  const Einstellungen& e = m_s.einst;
  if (l.txtSucheName->text() != m_s.sucheName) l.txtSucheName->setText(m_s.sucheName);
  if (l.txtSucheStartnummer->text() != m_s.sucheStartnummer) l.txtSucheStartnummer->setText(m_s.sucheStartnummer);
  const int vorgabe = m_s.sortVorgabe == QLatin1String("...") ? -1 : l.LaufSortierungNach->findText(m_s.sortVorgabe);
  if (l.LaufSortierungNach->currentIndex() != vorgabe) l.LaufSortierungNach->setCurrentIndex(vorgabe);
  l.CheckAutoHinzufuegen->setChecked(e.CheckAutoHinzufuegen != 0);
  l.CheckAutoStartnummer->setChecked(e.CheckAutoStartnummer != 0);
  l.CheckAutoStartnummer->setEnabled(e.CheckAutoHinzufuegen != 0);
  l.AuswahlDuatTriatlon->setEnabled(m_s.ansichtWahlAktiv);
  const int ansicht = l.AuswahlDuatTriatlon->findText(m_s.ansichtWahl);
  if (l.AuswahlDuatTriatlon->currentIndex() != ansicht) l.AuswahlDuatTriatlon->setCurrentIndex(ansicht);
}

// ---- the new row -----------------------------------------------------------

void Rasterbefehle::neueZeilePruefenPlanen() {
  if (m_pruefungGeplant) return;
  m_pruefungGeplant = true;
  // Not in the middle of the focus or current-row change: the question may
  // open a window, and the grid must have finished its own step first.
  QMetaObject::invokeMethod(this, &Rasterbefehle::neueZeilePruefen, Qt::QueuedConnection);
}

void Rasterbefehle::neueZeilePruefen() {
  m_pruefungGeplant = false;
  if (!m_s.neueZeile) return;
  const int aktuell = m_s.tabelle.aktuelleZeile();
  const bool zeileVerlassen = aktuell != m_s.neueZeile;
  QWidget* fokus = QApplication::focusWidget();
  const bool fokusVerlassen =
      fokus && fokus->window() == m_raster.window() && !m_raster.fokusImRaster();
  if (!zeileVerlassen && !fokusVerlassen) return;
  if (!frei()) {
    QTimer::singleShot(20, this, [this] { neueZeilePruefenPlanen(); });
    return;
  }
  neueZeileAbschliessen(zeileVerlassen ? aktuell : 0);
}

bool Rasterbefehle::neueZeileAbschliessen(int ziel) {
  const int neu = m_s.neueZeile;
  const int vorher = m_s.tabelle.anzahl();
  bool fertig = false;
  m_fenster.befehl([&] { fertig = NeueZeileAbschliessen(m_s); });
  abgleichen();
  if (!fertig) {
    // Cancel: back into the row the operator was typing.
    if (m_s.tabelle.gueltig(m_s.neueZeile)) {
      m_s.tabelle.setAktuelleZeile(m_s.neueZeile);
      m_raster.setFocus(Qt::OtherFocusReason);
    }
    return false;
  }
  // Taking the row over makes it current again; the operator had gone to
  // another row, and that is where the caret belongs.
  if (ziel > 0) {
    if (m_s.tabelle.anzahl() < vorher && ziel > neu) --ziel;
    if (m_s.tabelle.gueltig(ziel)) m_s.tabelle.setAktuelleZeile(ziel);
  }
  return true;
}

bool Rasterbefehle::neueZeileVorher() {
  if (!m_s.neueZeile) return true;
  return neueZeileAbschliessen(0);
}

void Rasterbefehle::fokusGewechselt(QWidget*, QWidget* jetzt) {
  if (!m_s.neueZeile || !jetzt || jetzt->window() != m_raster.window()) return;
  if (!m_raster.fokusImRaster()) neueZeilePruefenPlanen();
}

// ---- search ----------------------------------------------------------------

void Rasterbefehle::nameGeaendert(const QString& text) {
  if (m_abgleich) return;
  // The box holds the search text at once, so that a keystroke that arrives
  // while an earlier search still runs is not lost.
  m_s.sucheName = text;
  nameSuchen();
}

void Rasterbefehle::nameSuchen() {
  if (!frei()) {
    if (m_sucheGeplant) return;
    m_sucheGeplant = true;
    QTimer::singleShot(20, this, [this] {
      m_sucheGeplant = false;
      nameSuchen();
    });
    return;
  }
  m_fenster.befehl([this] { NameSuchen(m_s, m_s.sucheName); });
}

void Rasterbefehle::nameEnter() {
  if (!frei()) return;
  int zeile = 0;
  m_fenster.befehl([&] { zeile = NameEnter(m_s); });
  abgleichen();
  if (zeile > 0) {
    m_raster.zelleBearbeiten(zeile, S_strecke);
    m_leiste.txtSucheName->selectAll();
  } else {
    m_raster.aktuelleZelleBearbeiten();
  }
}

void Rasterbefehle::startnummerGeaendert(const QString& text) {
  if (m_abgleich) return;
  m_s.sucheStartnummer = text;
  wennFrei([this] { StartnummerSuchen(m_s, m_s.sucheStartnummer); });
}

void Rasterbefehle::startnummerLeeren() {
  // Emptied for the next number; the participant found stays in view.
  m_s.sucheStartnummer.clear();
  abgleichen();
}

// ---- rows ------------------------------------------------------------------

void Rasterbefehle::hinzufuegen() {
  if (!frei()) return;
  int zeile = 0;
  m_fenster.befehl([&] { zeile = ZeileHinzufuegen(m_s); });
  abgleichen();
  if (zeile > 0) m_raster.zelleBearbeiten(zeile, S_strecke);
}

void Rasterbefehle::zeilenLoeschen(const QList<int>& zeilen) {
  if (zeilen.isEmpty()) return;
  m_fenster.befehl([&] { ZeilenLoeschen(m_s, zeilen); });
  abgleichen();
}

// ---- sorting and view ------------------------------------------------------

void Rasterbefehle::sortieren(int index) {
  const QString eintrag = m_leiste.LaufSortierungNach->itemText(index);
  if (frei() && neueZeileVorher()) m_fenster.befehl([&] { LaufSortierungNach(m_s, eintrag); });
  abgleichen();
}

void Rasterbefehle::ansichtWaehlen(int index) {
  const QString ansicht = m_leiste.AuswahlDuatTriatlon->itemText(index);
  if (frei() && neueZeileVorher()) {
    m_s.ansichtWahl = ansicht;
    m_fenster.befehl([&] { AnsichtWaehlen(m_s, ansicht); });
  }
  abgleichen();
}

void Rasterbefehle::kontextmenueZeigen(const QPoint& stelle) {
  m_menue->popup(m_raster.viewport()->mapToGlobal(stelle));
}

// ---- events of the boxes ---------------------------------------------------

bool Rasterbefehle::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == m_filterName && ereignis->type() == QEvent::FocusIn) {
    // Coming back from a dialog or another program is no new visit of the
    // box: otherwise a save that asks would ask again and again.
    const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
    if (m_s.einst.CheckAutomSpeichernDatenbank && grund != Qt::ActiveWindowFocusReason &&
        grund != Qt::PopupFocusReason && !m_speichernGeplant) {
      m_speichernGeplant = true;
      // After the entry that sent the operator here has been taken over.
      QTimer::singleShot(0, this, [this] {
        wennFrei([this] {
          m_speichernGeplant = false;
          if (m_s.einst.CheckAutomSpeichernDatenbank) DatenbankSichern(m_s);
        });
      });
    }
  } else if (objekt == m_filterStartnummer && ereignis->type() == QEvent::MouseButtonPress) {
    startnummerLeeren();
  } else if ((objekt == m_filterSortierung || objekt == m_filterAnsicht) &&
             BefehlslisteSchuetzen(objekt, ereignis)) {
    // Scrolling or an arrow key must not start a sort or change the view.
    return true;
  }
  return QObject::eventFilter(objekt, ereignis);
}

}  // namespace zt
