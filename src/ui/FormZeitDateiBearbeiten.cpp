#include "ui/FormZeitDateiBearbeiten.h"

#include "core/Sitzung.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitimport.h"
#include "ui/FormZeitError.h"
#include "ui/FormZieltafel.h"
#include "ui/ZeiteditorModell.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace zt {

namespace {
const char* const kErklaerung =
    "Mit [i.O.] markierte Zeilen sind geprüfte Einläufe: sie werden beim erneuten Einlesen der Zeitdatei nicht "
    "mit deren Daten überschrieben.\n"
    "Der Einlauf kann nicht geändert werden, Startnummer und Zeit schon (in markierten Zeilen).\n"
    "Die letzte markierte Zeit entscheidet, welche weiteren Einläufe angefügt werden: Einläufe mit kleineren "
    "Zeiten werden ignoriert, Einläufe mit größeren Zeiten werden angefügt.";

QPushButton* knopf(const char* name, const QString& text, const QString& tipp, QWidget* eltern) {
  auto* b = new QPushButton(text, eltern);
  b->setObjectName(QString::fromLatin1(name));
  if (!tipp.isEmpty()) b->setToolTip(tipp);
  b->setAutoDefault(false);
  return b;
}

// A hand correction is taken over only into the row it was typed in, and
// only while that row is marked: an editor that is left by a click into
// another row, or whose row lost its mark meanwhile, writes nothing.
class Korrekturdelegat : public QStyledItemDelegate {
 public:
  explicit Korrekturdelegat(QTableView* liste) : QStyledItemDelegate(liste), m_liste(liste) {}
  void setModelData(QWidget* editor, QAbstractItemModel* modell, const QModelIndex& index) const override {
    if (index.row() != m_liste->currentIndex().row() || !(index.flags() & Qt::ItemIsEditable)) return;
    QStyledItemDelegate::setModelData(editor, modell, index);
  }

 private:
  QTableView* m_liste;
};

QRadioButton* wahl(const char* name, const QString& text, QButtonGroup* gruppe, int id, QWidget* eltern) {
  auto* r = new QRadioButton(text, eltern);
  r->setObjectName(QString::fromLatin1(name));
  gruppe->addButton(r, id);
  return r;
}
}  // namespace

FormZeitDateiBearbeiten::FormZeitDateiBearbeiten(FormZieltafel& fenster)
    : QMainWindow(&fenster, Qt::Window), m_fenster(fenster) {
  setObjectName(QStringLiteral("FormZeitDateiBearbeiten"));
  setWindowTitle(QStringLiteral("Zeitmessung bearbeiten"));
  Sitzung& s = fenster.sitzung();
  m_editor = new Zeiteditor(s, this);
  QPointer<FormZieltafel> haupt(&fenster);
  m_editor->hauptfensterOffen = [haupt] { return haupt && haupt->isVisible(); };

  auto* leiste = addToolBar(QStringLiteral("Zeitdatei"));
  leiste->setObjectName(QStringLiteral("ToolbarZeitdatei"));
  leiste->setMovable(false);
  leiste->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  const struct {
    const char* name;
    const char* text;
    const char* tipp;
    QStyle::StandardPixmap symbol;
  } knoepfe[] = {
      {"btnZOeffnen", "öffnen", "Zeitdatei öffnen", QStyle::SP_DialogOpenButton},
      {"btnZSpeichern", "speichern", "Zeitmessung unter neuem Namen speichern", QStyle::SP_DialogSaveButton},
      {"btnZEnde", "Ende", "speichern und Zeitbearbeitung beenden", QStyle::SP_DialogCloseButton},
  };
  QList<QAction*> aktionen;
  for (const auto& k : knoepfe) {
    QAction* a = leiste->addAction(style()->standardIcon(k.symbol), QString::fromUtf8(k.text));
    a->setObjectName(QString::fromLatin1(k.name));
    a->setToolTip(QString::fromUtf8(k.tipp));
    if (QWidget* w = leiste->widgetForAction(a)) w->setObjectName(a->objectName());
    aktionen << a;
  }
  connect(aktionen[0], &QAction::triggered, this, [this] { befehl([this] { m_editor->laden(); }); });
  connect(aktionen[1], &QAction::triggered, this, [this] { befehl([this] { m_editor->speichern(); }); });
  connect(aktionen[2], &QAction::triggered, this, [this] {
    bool zu = false;
    befehl([this, &zu] { zu = m_editor->schliessen(); });
    if (!zu) return;
    m_geschlossenNachEnde = true;
    close();
  });

  auto* mitte = new QWidget(this);
  auto* spalten = new QHBoxLayout(mitte);
  spalten->setContentsMargins(6, 6, 6, 6);

  m_modell = new ZeiteditorModell(*m_editor, this);
  m_liste = new QTableView(mitte);
  m_liste->setObjectName(QStringLiteral("GridZeitBearbeiten"));
  m_liste->setModel(m_modell);
  m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
  // Typing never opens an editor: the keyboard search jumps on every key, and
  // the next key would land in whatever row it found, marked or not.
  m_liste->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  m_liste->setItemDelegate(new Korrekturdelegat(m_liste));
  m_liste->verticalHeader()->hide();
  m_liste->verticalHeader()->setDefaultSectionSize(m_liste->fontMetrics().height() + 6);
  m_liste->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  int gesamt = 0;
  for (int i = 0; i < kEditorspalten; ++i) {
    const int text = m_liste->horizontalHeader()->fontMetrics().horizontalAdvance(EditorspaltenTitel(i)) + 20;
    const QString muster = i == ES_Fehler ? QStringLiteral("Einlauf eingefügt") : QStringLiteral("00:00:00,0");
    const int zeit = i == ES_Markierung ? 0 : m_liste->fontMetrics().horizontalAdvance(muster) + 12;
    const int b = std::max({ZeiteditorModell::breite(i), text, zeit});
    m_liste->setColumnWidth(i, b);
    gesamt += b;
  }
  m_liste->setMinimumWidth(gesamt + m_liste->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
  m_liste->setContextMenuPolicy(Qt::CustomContextMenu);
  spalten->addWidget(m_liste, 1);
  spalten->addWidget(befehlsleiste(), 0);
  setCentralWidget(mitte);

  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("lblZeitStatus"));
  m_status->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(m_status, 1);

  connect(m_liste->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& aktuell) {
            if (!m_waehle && aktuell.isValid()) m_editor->setAktuelleZeile(aktuell.row() + 1);
          });
  connect(m_editor, &Zeiteditor::aktuelleZeileGeaendert, this, &FormZeitDateiBearbeiten::zeileZeigen);
  connect(m_editor, &Zeiteditor::nachObenRollen, this, [this](int zeile) {
    if (zeile >= 1 && zeile <= m_modell->rowCount())
      m_liste->scrollTo(m_modell->index(zeile - 1, ES_Einlauf), QAbstractItemView::PositionAtTop);
  });
  connect(m_editor, &Zeiteditor::geaendert, this, &FormZeitDateiBearbeiten::anzeigen);
  // The duathlon flag decides which targets can be chosen.
  connect(&s, &Sitzung::geaendert, this, &FormZeitDateiBearbeiten::anzeigen);

  // The right mouse button makes its row the current one before the menu opens.
  m_kontext = new QMenu(this);
  m_kontext->setObjectName(QStringLiteral("mnuZeitBearbeiten"));
  QAction* einfuegen = m_kontext->addAction(QStringLiteral("Einlauf einfügen"));
  einfuegen->setObjectName(QStringLiteral("mnuEinlaufEinfuegen"));
  QAction* loeschen = m_kontext->addAction(QStringLiteral("Einlauf löschen"));
  loeschen->setObjectName(QStringLiteral("mnuEinlaufLoeschen"));
  connect(einfuegen, &QAction::triggered, this, [this] { befehl([this] { m_editor->einlaufEinfuegen(); }); });
  connect(loeschen, &QAction::triggered, this, [this] { befehl([this] { m_editor->einlaufLoeschen(); }); });
  connect(m_liste, &QWidget::customContextMenuRequested, this, [this](const QPoint& stelle) {
    const QModelIndex i = m_liste->indexAt(stelle);
    if (!i.isValid()) return;
    m_liste->setCurrentIndex(i);
    m_kontext->popup(m_liste->viewport()->mapToGlobal(stelle));
  });

  anzeigen();
  resize(980, 620);
}

FormZeitDateiBearbeiten::~FormZeitDateiBearbeiten() {
  // The list goes after this window's own code: a selection change on its way
  // out must not reach the editor any more.
  m_liste->selectionModel()->disconnect(this);
}

QWidget* FormZeitDateiBearbeiten::befehlsleiste() {
  auto* seite = new QWidget(this);
  seite->setMaximumWidth(420);
  auto* v = new QVBoxLayout(seite);
  v->setContentsMargins(0, 0, 0, 0);

  auto* marken = new QGroupBox(QStringLiteral("Markierungen"), seite);
  auto* mv = new QVBoxLayout(marken);
  QPushButton* alle = knopf("cmdAlleMarkieren", QStringLiteral("markiere alle Zeilen "),
                            QStringLiteral("alle Zeilen markieren"), marken);
  QPushButton* keine = knopf("cmdAlleMarkierungenLoeschen", QStringLiteral("alle Markierungen löschen"),
                             QStringLiteral("alle Markierungen entfernen"), marken);
  QPushButton* bis = knopf("cmdMarkierenBisAuswahl", QStringLiteral("markiere alle Zeilen bis zur Auswahl"),
                           QStringLiteral("Zeilen bis einschließlich der gewählten markieren, alle danach nicht"),
                           marken);
  for (QPushButton* b : {alle, keine, bis}) mv->addWidget(b);
  connect(alle, &QPushButton::clicked, this, [this] { befehl([this] { m_editor->alleMarkieren(); }); });
  connect(keine, &QPushButton::clicked, this, [this] { befehl([this] { m_editor->alleMarkierungenLoeschen(); }); });
  connect(bis, &QPushButton::clicked, this,
          [this] { befehl([this] { m_editor->markierenBisZeile(m_editor->aktuelleZeile()); }); });
  v->addWidget(marken);

  auto* einlaeufe = new QGroupBox(QStringLiteral("Einläufe"), seite);
  auto* eh = new QHBoxLayout(einlaeufe);
  QPushButton* einfuegen = knopf("cmdEinlaufEinfuegen", QStringLiteral("Einlauf einfügen"),
                                 QStringLiteral("vor der gewählten Zeile einen Einlauf einfügen"), einlaeufe);
  QPushButton* loeschen = knopf("cmdEinlaufLoeschen", QStringLiteral("Einlauf löschen"),
                                QStringLiteral("die gewählte Zeile löschen"), einlaeufe);
  eh->addWidget(einfuegen);
  eh->addWidget(loeschen);
  connect(einfuegen, &QPushButton::clicked, this, [this] { befehl([this] { m_editor->einlaufEinfuegen(); }); });
  connect(loeschen, &QPushButton::clicked, this, [this] { befehl([this] { m_editor->einlaufLoeschen(); }); });
  v->addWidget(einlaeufe);

  auto* text = new QLabel(QString::fromUtf8(kErklaerung), seite);
  text->setObjectName(QStringLiteral("lblErklaerung"));
  text->setWordWrap(true);
  text->setFrameShape(QFrame::StyledPanel);
  text->setMargin(6);
  v->addWidget(text);

  v->addWidget(zuordnungGruppe());

  QPushButton* zuordnen = knopf("cmdZeitenZuordnen", QStringLiteral("der Veranstaltung die \"geprüften Daten\" zuordnen"),
                                QStringLiteral("speichert die Liste und ordnet die Zeiten den Läufern zu"), seite);
  QFont f = zuordnen->font();
  f.setBold(true);
  zuordnen->setFont(f);
  connect(zuordnen, &QPushButton::clicked, this, &FormZeitDateiBearbeiten::uebergeben);
  v->addWidget(zuordnen);
  v->addStretch(1);
  return seite;
}

QWidget* FormZeitDateiBearbeiten::zuordnungGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Zuordnung"), this);
  auto* v = new QVBoxLayout(gruppe);
  using M = Sitzung::Zeitmodus;
  using Z = Sitzung::Zeitziel;
  m_modus = new QButtonGroup(gruppe);
  v->addWidget(wahl("OptionZeitErgaenzen", ZeitmodusText(M::Ergaenzen), m_modus, int(M::Ergaenzen), gruppe));
  v->addWidget(wahl("OptionZeitUeberschreiben", ZeitmodusText(M::Ueberschreiben), m_modus, int(M::Ueberschreiben), gruppe));
  QRadioButton* loeschen = wahl("OptionZeitLoeschen", ZeitmodusText(M::Loeschen), m_modus, int(M::Loeschen), gruppe);
  loeschen->setToolTip(QStringLiteral("nur für Duathlon"));
  v->addWidget(loeschen);

  auto* trenner = new QFrame(gruppe);
  trenner->setFrameShape(QFrame::HLine);
  trenner->setFrameShadow(QFrame::Sunken);
  v->addWidget(trenner);

  m_ziel = new QButtonGroup(gruppe);
  auto* ziele = new QHBoxLayout;
  ziele->addWidget(wahl("ZeitzuordnungAlle", ZeitzielText(Z::Lauf), m_ziel, int(Z::Lauf), gruppe));
  ziele->addWidget(wahl("ZeitzuordnungA", ZeitzielText(Z::Bike), m_ziel, int(Z::Bike), gruppe));
  ziele->addWidget(wahl("ZeitzuordnungB", ZeitzielText(Z::Run), m_ziel, int(Z::Run), gruppe));
  ziele->addWidget(wahl("ZeitzuordnungC", ZeitzielText(Z::Swim), m_ziel, int(Z::Swim), gruppe));
  ziele->addStretch(1);
  v->addLayout(ziele);

  m_endzeit = new QCheckBox(QStringLiteral("Zeit/Run = Run - Bike"), gruppe);
  m_endzeit->setObjectName(QStringLiteral("chkDuathlonEndzeitRunTime"));
  m_endzeit->setToolTip(QStringLiteral("ansonsten Endzeit = Run + Bike"));
  v->addWidget(m_endzeit);

  connect(m_modus, &QButtonGroup::idToggled, this, [this](int id, bool an) {
    if (an && !m_aktualisiere) befehl([this, id] { m_editor->setModus(static_cast<Sitzung::Zeitmodus>(id)); });
  });
  connect(m_ziel, &QButtonGroup::idToggled, this, [this](int id, bool an) {
    if (an && !m_aktualisiere) befehl([this, id] { m_editor->setZiel(static_cast<Sitzung::Zeitziel>(id)); });
  });
  connect(m_endzeit, &QCheckBox::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_editor->setEndzeitRunTime(an); });
  });
  return gruppe;
}

void FormZeitDateiBearbeiten::befehl(const std::function<void()>& aufruf) {
  m_fenster.befehl(aufruf);
  // A choice the editor refused (or a command refused while another runs)
  // shows what holds.
  anzeigen();
}

void FormZeitDateiBearbeiten::anzeigen() {
  const QScopedValueRollback still(m_aktualisiere, true);
  const Zeiteditor& e = *m_editor;
  for (QAbstractButton* b : m_modus->buttons()) {
    const auto m = static_cast<Sitzung::Zeitmodus>(m_modus->id(b));
    b->setEnabled(e.modusVerfuegbar(m));
    b->setChecked(e.modus() == m);
  }
  for (QAbstractButton* b : m_ziel->buttons()) {
    const auto z = static_cast<Sitzung::Zeitziel>(m_ziel->id(b));
    b->setEnabled(e.zielVerfuegbar(z));
    b->setChecked(e.ziel() == z);
  }
  m_endzeit->setEnabled(e.endzeitVerfuegbar());
  m_endzeit->setChecked(e.endzeitRunTime());
  if (m_status->text() != e.statusText()) m_status->setText(e.statusText());
}

void FormZeitDateiBearbeiten::zeileZeigen(int zeile) {
  const QScopedValueRollback still(m_waehle, true);
  if (zeile < 1 || zeile > m_modell->rowCount()) {
    m_liste->selectionModel()->clear();
    return;
  }
  const QModelIndex i = m_modell->index(zeile - 1, m_liste->currentIndex().isValid() ? m_liste->currentIndex().column()
                                                                                      : int(ES_Startnummer));
  m_liste->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  m_liste->scrollTo(i);
}

void FormZeitDateiBearbeiten::uebergeben() {
  Zeitimportergebnis r;
  befehl([this, &r] { r = m_editor->uebergeben(); });
  if (!r.ausgefuehrt) return;
  // The times are in the participant table now: that is what the operator
  // looks at next, with the report on top when there is one.
  m_fenster.raise();
  m_fenster.activateWindow();
  if (FormZeitError* bericht = m_fenster.fehlermanagerFenster(); bericht && bericht->isVisible()) bericht->raise();
}

void FormZeitDateiBearbeiten::closeEvent(QCloseEvent* ereignis) {
  if (m_geschlossenNachEnde) {
    m_geschlossenNachEnde = false;
    ereignis->accept();
    return;
  }
  // Not through the main window's command gate: the main window asks this
  // window to close from inside its own exit command.
  if (m_editor->schliessenAnfragen()) ereignis->accept();
  else ereignis->ignore();
}

}  // namespace zt
