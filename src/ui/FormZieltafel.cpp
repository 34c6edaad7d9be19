#include "ui/FormZieltafel.h"

#include "app/Pfadpruefung.h"
#include "app/Programmstart.h"
#include "app/Rastereingabe.h"
#include "core/Sitzung.h"
#include "core/Teilnehmertabelle.h"
#include "persistence/Datenbank.h"
#include "timing/Zeitnahme.h"
#include "ui/Ausgabebefehle.h"
#include "ui/Ausgabeleiste.h"
#include "ui/Datenbankbefehle.h"
#include "ui/FormZeitDateiBearbeiten.h"
#include "ui/FormZeitError.h"
#include "ui/Pruefbefehle.h"
#include "ui/Rasterbefehle.h"
#include "ui/Suchleiste.h"
#include "ui/TeilnehmerModell.h"
#include "ui/Teilnehmerraster.h"
#include "ui/Voreinstellungen.h"
#include "ui/Wartepanel.h"
#include "ui/Werkzeugbefehle.h"
#include "ui/Zeitdateibefehle.h"
#include "ui/ZeitnahmeSeite.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdlib>
#include <exception>

namespace zt {

QString Versionstext() {
  return QStringLiteral("V%1.%2(%3)").arg(ZT_VERSION_MAJOR).arg(ZT_VERSION_MINOR).arg(ZT_VERSION_PATCH);
}

bool FensterGeladen(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->objectName().compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

FormZieltafel::FormZieltafel(Sitzung& s, QWidget* parent) : QMainWindow(parent), m_s(s) {
  setObjectName(QStringLiteral("FormZieltafel"));
  m_befehle = new QActionGroup(this);
  m_befehle->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);

  menuBar()->setObjectName(QStringLiteral("Toolbar1"));
  m_symbolleiste = addToolBar(QStringLiteral("Symbolleiste"));
  m_symbolleiste->setObjectName(QStringLiteral("Toolbar2"));
  // Tool bar 2 in two rows of small buttons, no higher than one row of large
  // ones: on a laptop's 1366 pixels one row hid its last commands behind the
  // overflow.
  addToolBarBreak();
  m_symbolleiste2 = addToolBar(QStringLiteral("Symbolleiste (2. Reihe)"));
  m_symbolleiste2->setObjectName(QStringLiteral("Toolbar2Reihe2"));
  const int symbol = style()->pixelMetric(QStyle::PM_SmallIconSize);
  for (QToolBar* leiste : {m_symbolleiste, m_symbolleiste2}) {
    leiste->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    leiste->setIconSize(QSize(symbol, symbol));
    leiste->setMovable(false);
  }

  // Made before the pages and so let go before them: the timing page shows it.
  m_zeitnahme = new Zeitnahme(m_s, this);
  Sitzung* sitzung = &m_s;
  m_zeitnahme->pfadpruefung = [sitzung] { PfadePruefen(*sitzung, false, Pfadfeld::Keins); };

  m_register = new QTabWidget(this);
  m_register->setObjectName(QStringLiteral("SSTab1"));
  m_register->addTab(seiteZieltafel(), QStringLiteral("Zieltafel"));
  m_register->setTabToolTip(0, QStringLiteral("Eingabe aller läuferbezogenen Daten"));
  m_zeitnahmeSeite = new ZeitnahmeSeite(*this, *m_zeitnahme);
  m_register->addTab(m_zeitnahmeSeite, QStringLiteral("Zeitnahme"));
  m_register->setTabToolTip(1, QStringLiteral("Zeitnahme und, auf Wunsch, Zuordnung der Läufer"));
  m_register->addTab(new Voreinstellungen(*this), QStringLiteral("Voreinstellungen und Info's"));
  m_register->setTabToolTip(2, QStringLiteral("globale Einstellungen für die Zieltafel"));
  m_register->setCurrentIndex(0);
  // Every change of tab writes the settings and checks paths and year; not
  // while the strip is locked, when only an operation shows a page.
  connect(m_register, &QTabWidget::currentChanged, this, [this](int index) {
    // The clock of the timing page rests while another page is shown, also
    // when an operation showed it.
    if (index != 1) m_zeitnahme->seiteVerlassen();
    bearbeitenAbgleichen();
    if (m_register->isEnabled() && index >= 0) befehl([this, index] {
      TabWechsel(m_s, index + 1);
      // The timing page sets itself up on every visit.
      if (index == 1) m_zeitnahme->seiteBetreten();
    });
  });
  setCentralWidget(m_register);

  m_datenbank = new Datenbankbefehle(*this);
  bearbeitenMenue();
  m_zeitdatei = new Zeitdateibefehle(*this);
  new Pruefbefehle(*this);
  new Ausgabebefehle(*this);
  new Werkzeugbefehle(*this);
  symbolleisteUmbrechen();
  auto* ende = new QAction(QStringLiteral("Ende"), this);
  ende->setObjectName(QStringLiteral("btnEnde"));
  ende->setShortcut(QKeySequence::Quit);
  connect(ende, &QAction::triggered, this, &QWidget::close);
  menuBar()->addAction(ende);

  statusleisteAnlegen();
  m_wartepanel = new Wartepanel(this);

  m_ziele[Ziel::Teilnehmertabelle] = m_raster;
  connect(&m_s, &Sitzung::geaendert, this, &FormZieltafel::aktualisieren);
  connect(&m_s.stapel, &Befehlsstapel::zustandGeaendert, this, &FormZieltafel::aktualisieren);
  aktualisieren();
  anfangsgroesse();
  fensterlageHerstellen();
}

void FormZieltafel::bearbeitenMenue() {
  QMenu* menue = menuBar()->addMenu(QStringLiteral("Bearbeiten"));
  menue->setObjectName(QStringLiteral("mnuBearbeiten"));
  m_rueckgaengig = menue->addAction(QStringLiteral("Rückgängig"));
  m_rueckgaengig->setObjectName(QStringLiteral("mnuRueckgaengig"));
  m_rueckgaengig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  m_wiederholen = menue->addAction(QStringLiteral("Wiederholen"));
  m_wiederholen->setObjectName(QStringLiteral("mnuWiederholen"));
  m_wiederholen->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(m_rueckgaengig, &QAction::triggered, this, [this] { befehl([this] { Rueckgaengig(m_s); }); });
  connect(m_wiederholen, &QAction::triggered, this, [this] { befehl([this] { Wiederholen(m_s); }); });
  bearbeitenAbgleichen();
}

void FormZieltafel::bearbeitenAbgleichen() {
  if (!m_rueckgaengig) return;
  const Befehlsstapel& st = m_s.stapel;
  // Two enabled Ctrl+Z in one window cancel each other out: while the timing
  // page is shown, its own undo is the only one.
  const bool frei = m_sperren == 0 && !m_zeitnahmeSperre && m_register->currentWidget() != m_zeitnahmeSeite;
  m_rueckgaengig->setEnabled(frei && st.kannRueckgaengig());
  m_wiederholen->setEnabled(frei && st.kannWiederholen());
  m_rueckgaengig->setText(st.kannRueckgaengig() ? QStringLiteral("Rückgängig: ") + st.rueckgaengigText()
                                               : QStringLiteral("Rückgängig"));
  m_wiederholen->setText(st.kannWiederholen() ? QStringLiteral("Wiederholen: ") + st.wiederholenText()
                                             : QStringLiteral("Wiederholen"));
}

void FormZieltafel::symbolleisteUmbrechen() {
  // The commands put their buttons into the first row; the second row takes
  // the groups after the separator that halves the width best.
  const QList<QAction*> alle = m_symbolleiste->actions();
  const auto breite = [this](QAction* a) {
    const QWidget* knopf = m_symbolleiste->widgetForAction(a);
    return knopf ? knopf->sizeHint().width() : 0;
  };
  int gesamt = 0;
  for (QAction* a : alle) gesamt += breite(a);
  int links = 0, schnitt = -1, abstand = gesamt;
  for (int i = 0; i < alle.size(); ++i) {
    if (alle[i]->isSeparator() && std::abs(2 * links - gesamt) < abstand) {
      abstand = std::abs(2 * links - gesamt);
      schnitt = i;
    }
    links += breite(alle[i]);
  }
  if (schnitt < 0) return;
  for (int i = schnitt; i < alle.size(); ++i) {
    m_symbolleiste->removeAction(alle[i]);
    if (i == schnitt) continue;  // a row break needs no separator
    m_symbolleiste2->addAction(alle[i]);
    if (QWidget* knopf = m_symbolleiste2->widgetForAction(alle[i]); knopf && !alle[i]->isSeparator())
      knopf->setObjectName(alle[i]->objectName());
  }
}

QList<QAction*> FormZieltafel::symbolleistenAktionen() const {
  return m_symbolleiste->actions() + m_symbolleiste2->actions();
}

void FormZieltafel::anfangsgroesse() {
  // The whole window, title bar and status bar included, must fit a laptop
  // of 1366 x 768. Before it is shown the frame is unknown: room for the
  // title bar and borders of a usual window manager is kept free.
  QSize soll(1200, 760);
  if (const QScreen* bildschirm = screen())
    soll = soll.boundedTo(bildschirm->availableGeometry().size() - QSize(16, 40));
  resize(soll);
}

// Size, position and column widths live beside the options file, per user.
QString FormZieltafel::fensterlageDatei() const { return m_s.programmdatei(QStringLiteral("Fenster.ini")); }

void FormZieltafel::fensterlageHerstellen() {
  QSettings ini(fensterlageDatei(), QSettings::IniFormat);
  const QByteArray lage = ini.value(QStringLiteral("Fenster/Lage")).toByteArray();
  if (!lage.isEmpty()) restoreGeometry(lage);
  const QStringList breiten = ini.value(QStringLiteral("Fenster/Spaltenbreiten")).toStringList();
  for (int sp = 1; sp <= kSpalten && sp <= breiten.size(); ++sp) {
    bool ok = false;
    const int b = breiten[sp - 1].toInt(&ok);
    // A hidden column keeps the width its view gives it.
    if (ok && b > 0 && m_s.tabelle.spalte(sp).breite > 0) m_s.tabelle.setSpaltenbreite(sp, b);
  }
}

void FormZieltafel::fensterlageSichern() {
  QSettings ini(fensterlageDatei(), QSettings::IniFormat);
  ini.setValue(QStringLiteral("Fenster/Lage"), saveGeometry());
  QStringList breiten;
  for (int sp = 1; sp <= kSpalten; ++sp) breiten << QString::number(m_s.tabelle.spalte(sp).breite);
  ini.setValue(QStringLiteral("Fenster/Spaltenbreiten"), breiten);
  ini.sync();
}

FormZieltafel::~FormZieltafel() {
  // An editor still open in the grid commits on its way out, when this
  // window is already half gone: such a late value is dropped, not entered.
  m_raster->modell()->setAenderung({});
}

void FormZieltafel::fehlermanagerZeigen(const QString& bericht) {
  if (!m_fehlermanager) m_fehlermanager = new FormZeitError(m_s, this);
  m_fehlermanager->zeigen(bericht);
}

QWidget* FormZieltafel::seiteZieltafel() {
  auto* seite = new QWidget;
  seite->setObjectName(QStringLiteral("Frame1"));
  auto* layout = new QVBoxLayout(seite);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* suchleiste = new Suchleiste(seite);
  layout->addWidget(suchleiste);
  m_tabellentitel = new QLabel(seite);
  m_tabellentitel->setObjectName(QStringLiteral("lblTabellentitel"));
  QFont f = m_tabellentitel->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.2);
  m_tabellentitel->setFont(f);
  layout->addWidget(m_tabellentitel);
  m_raster = new Teilnehmerraster(m_s.tabelle, seite);
  layout->addWidget(m_raster, 1);
  layout->addWidget(new Ausgabeleiste(m_s, seite));
  new Rasterbefehle(*this, *m_raster, *suchleiste);
  return seite;
}

void FormZieltafel::zeiteditorZeigen() {
  if (!m_zeiteditor) m_zeiteditor = new FormZeitDateiBearbeiten(*this);
  m_zeiteditor->show();
  m_zeiteditor->raise();
  m_zeiteditor->activateWindow();
}

void FormZieltafel::statusleisteAnlegen() {
  // Field 3 holds progress words such as "% Vereinsdaten komprimieren  ".
  const int dehnung[4] = {4, 1, 2, 3};
  for (int i = 0; i < 4; ++i) {
    auto* feld = new QLabel(this);
    feld->setObjectName(QStringLiteral("Statusfeld%1").arg(i + 1));
    feld->setFrameShape(QFrame::StyledPanel);
    feld->setFrameShadow(QFrame::Sunken);
    feld->setMinimumWidth(80);
    feld->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(feld, dehnung[i]);
    m_status[i] = feld;
  }
  statusSetzen(StatusZustand, QStringLiteral("Status: "));
}

void FormZieltafel::statusSetzen(int feld, const QString& text) {
  if (feld < 1 || feld > 4) return;
  m_status[feld - 1]->setText(text);
  // Progress texts come from inside loops that serve the event queue seldom.
  if (feld == StatusFortschritt) m_status[feld - 1]->repaint();
}

QString FormZieltafel::statustext(int feld) const {
  return feld >= 1 && feld <= 4 ? m_status[feld - 1]->text() : QString();
}

void FormZieltafel::sperren(bool gesperrt) {
  // An operation may release more often than it locked; the count never goes
  // below zero, so the window cannot be left locked by an unmatched release.
  if (gesperrt) ++m_sperren;
  else if (m_sperren > 0) --m_sperren;
  sperreAnwenden();
}

void FormZieltafel::entsperren() {
  m_sperren = 0;
  m_zeitnahmeSperre = false;
  sperreAnwenden();
}

void FormZieltafel::zeitnahmeSperre(bool an) {
  m_zeitnahmeSperre = an;
  sperreAnwenden();
}

void FormZieltafel::sperreAnwenden() {
  const bool frei = m_sperren == 0;
  const bool befehleFrei = frei && !m_zeitnahmeSperre;
  // The menu "Tools" holds the emergency unlock: it stays usable when
  // everything else is locked.
  for (QAction* a : menuBar()->actions())
    if (!a->menu() || a->menu()->objectName() != QLatin1String("mnuTools")) a->setEnabled(befehleFrei);
  m_symbolleiste->setEnabled(befehleFrei);
  m_symbolleiste2->setEnabled(befehleFrei);
  m_register->setEnabled(frei);
  m_befehle->setEnabled(befehleFrei);
  for (int i = 0; i < m_register->count(); ++i)
    if (m_register->widget(i) != m_zeitnahmeSeite) m_register->setTabEnabled(i, !m_zeitnahmeSperre);
  if (frei || m_dialoge > 0) m_wartepanel->hide();
  else if (!m_wartepanel->isVisible()) m_wartepanel->zeigen();
  bearbeitenAbgleichen();
}

void FormZieltafel::dialogOffen(bool offen) {
  if (offen) ++m_dialoge;
  else if (m_dialoge > 0) --m_dialoge;
  sperreAnwenden();
}

void FormZieltafel::zeigen(Ziel ziel) {
  // During the race the operator stays on the timing page: an operation that
  // wants to show another page (the editor's hand-over shows the
  // participants) must not take the start-number field away.
  if (m_zeitnahmeSperre && ziel != Ziel::TabZeitnahme) return;
  switch (ziel) {
    case Ziel::TabZieltafel: m_register->setCurrentIndex(0); return;
    case Ziel::TabZeitnahme: m_register->setCurrentIndex(1); return;
    case Ziel::TabVoreinstellungen: m_register->setCurrentIndex(2); return;
    default: break;
  }
  QWidget* w = m_ziele.value(ziel);
  if (!w) {
    // Pages not built yet: at least the tab they will live on.
    const bool einstellungen = ziel == Ziel::SeiteVoreinstellungen || ziel == Ziel::SeiteSonstiges ||
                               ziel == Ziel::SeiteVornamen || ziel == Ziel::SeiteStartnummern ||
                               ziel == Ziel::FeldBezugsjahr;
    m_register->setCurrentIndex(einstellungen ? 2 : 0);
    return;
  }
  // Bring forward every tab page on the way from the window down to the widget.
  for (QWidget* kind = w; kind && kind != this; kind = kind->parentWidget()) {
    auto* stapel = qobject_cast<QStackedWidget*>(kind->parentWidget());
    if (auto* reiter = stapel ? qobject_cast<QTabWidget*>(stapel->parentWidget()) : nullptr)
      reiter->setCurrentWidget(kind);
  }
  w->setFocus(Qt::OtherFocusReason);
}

void FormZieltafel::aktualisieren() {
  const QString name = m_s.einst.txtNameLauf.trimmed();
  // "*" up front: unsaved changes, seen even when the title is cut short.
  setWindowTitle((m_s.ungespeichert() ? QStringLiteral("*") : QString()) +
                 (name.isEmpty() ? QStringLiteral("Zieltafel ") + Versionstext()
                                 : QStringLiteral("Zieltafel ") + name + QStringLiteral("  [") +
                                       Versionstext() + QLatin1Char(']')));
  bearbeitenAbgleichen();
  m_tabellentitel->setText(m_s.tabellentitel);
  m_tabellentitel->setVisible(!m_s.tabellentitel.isEmpty());
}

void FormZieltafel::befehl(const std::function<void()>& aufruf) {
  if (m_befehlTiefe > 0 || gesperrt()) return;
  {
    const QScopedValueRollback tiefe(m_befehlTiefe, m_befehlTiefe + 1);
    try {
      aufruf();
    } catch (const std::exception& e) {
      m_s.bediener.meldung(QStringLiteral("Zieltafel"),
                           QStringLiteral("Unerwarteter Fehler: ") + QString::fromLocal8Bit(e.what()),
                           Symbol::Stopp, Knoepfe::Ok);
    } catch (...) {
      m_s.bediener.meldung(QStringLiteral("Zieltafel"), QStringLiteral("Unerwarteter Fehler."),
                           Symbol::Stopp, Knoepfe::Ok);
    }
  }
  aktualisieren();
}

void FormZieltafel::closeEvent(QCloseEvent* ereignis) {
  // While an operation works on the table, the table must outlive it.
  if (befehlLaeuft() || gesperrt()) {
    ereignis->ignore();
    return;
  }
  // A value still being typed belongs to the table before the save question.
  m_raster->offeneEingabeUebernehmen();
  // The time file holds every finish, but an exit in the middle of a race is
  // far more likely a slip than a wish. The question waits on the timing
  // page: a box would take the next typed numbers as its answer.
  if (m_zeitnahme->zustand() != Zeitnahmezustand::Bereit && !m_endeWaehrendZeitnahme) {
    ereignis->ignore();
    befehl([this] {
      zeigen(Ziel::TabZeitnahme);
      m_zeitnahme->fragen(QStringLiteral("Zieltafel"),
                          QStringLiteral("Die Zeitmessung läuft noch! Alle Einläufe stehen in der Zeitdatei \"%1\" "
                                         "und werden beim nächsten Öffnen der Seite \"Zeitnahme\" zum Einlesen "
                                         "angeboten.\nSoll die Zieltafel trotzdem beendet werden?   ")
                              .arg(QDir::toNativeSeparators(m_zeitnahme->zeitdatei())),
                          Symbol::Ausruf, [this] {
                            m_endeWaehrendZeitnahme = true;
                            QTimer::singleShot(0, this, [this] {
                              if (!close()) m_endeWaehrendZeitnahme = false;
                            });
                          });
    });
    return;
  }
  bool schliessen = false;
  befehl([&] {
    // The editor's list and marks are saved (or the exit stopped) before the
    // program goes: its window would otherwise vanish without a word.
    if (m_zeiteditor && m_zeiteditor->isVisible() && !m_zeiteditor->close()) return;
    schliessen = Programmende(m_s);
  });
  if (schliessen) fensterlageSichern();
  if (!schliessen) {
    ereignis->ignore();
    return;
  }
  ereignis->accept();
}

}  // namespace zt
