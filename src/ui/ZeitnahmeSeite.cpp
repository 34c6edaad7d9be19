#include "ui/ZeitnahmeSeite.h"

#include "core/Sitzung.h"
#include "timing/Zeitnahme.h"
#include "ui/EinlaufModell.h"
#include "ui/FormZieltafel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QShortcut>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace zt {

namespace {
// A display: shows a text of Zeitnahme, is never typed into and is skipped
// by Tab, so that the keyboard goes from command to command.
QLineEdit* anzeigefeld(const char* name, QWidget* eltern, int zeichen = 8) {
  auto* e = new QLineEdit(eltern);
  e->setObjectName(QString::fromLatin1(name));
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  e->setAlignment(Qt::AlignCenter);
  e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(zeichen, QLatin1Char('0'))) + 16);
  return e;
}

QLineEdit* eingabefeld(const QString& name, QWidget* eltern, int zeichen) {
  auto* e = new QLineEdit(eltern);
  e->setObjectName(name);
  e->setAlignment(Qt::AlignCenter);
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(zeichen, QLatin1Char('0'))) + 16);
  return e;
}

QPushButton* knopf(const char* name, const QString& text, const QString& tipp, QWidget* eltern) {
  auto* b = new QPushButton(text, eltern);
  b->setObjectName(QString::fromLatin1(name));
  if (!tipp.isEmpty()) b->setToolTip(tipp);
  b->setAutoDefault(false);
  // A click must not take the keyboard from the start-number field.
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

QLabel* beschriftung(const QString& text, QWidget* buddy, QWidget* eltern) {
  auto* l = new QLabel(text, eltern);
  if (buddy) l->setBuddy(buddy);
  return l;
}

void grossschrift(QWidget* w, double faktor) {
  QFont f = w->font();
  f.setPointSizeF(f.pointSizeF() * faktor);
  f.setBold(true);
  w->setFont(f);
}

// Sets a text only when it differs: the caret of a field being typed in stays.
void setzen(QLineEdit* e, const QString& text) {
  if (e->text() != text) e->setText(text);
}

bool istZiffer(const QKeyEvent* k) {
  const QString t = k->text();
  return t.size() == 1 && t.at(0).isDigit();
}
}  // namespace

ZeitnahmeSeite::ZeitnahmeSeite(FormZieltafel& fenster, Zeitnahme& zeitnahme, QWidget* eltern)
    : QWidget(eltern), m_fenster(fenster), m_z(zeitnahme) {
  setObjectName(QStringLiteral("SeiteZeitnahme"));
  ordnerwahl = [](QWidget* eltern, const QString& start) {
    return QFileDialog::getExistingDirectory(eltern, QStringLiteral("Sicherungsordner wählen"), start);
  };

  auto* seite = new QVBoxLayout(this);
  seite->setContentsMargins(6, 6, 6, 6);
  seite->addWidget(rueckfrageLeiste());
  auto* spalten = new QHBoxLayout;
  spalten->setContentsMargins(0, 0, 0, 0);
  seite->addLayout(spalten, 1);
  // Built column by column, top-down: Tab walks the same way.
  auto* links = new QVBoxLayout;
  links->addWidget(uhrGruppe());
  links->addWidget(startGruppe());
  links->addWidget(optionenGruppe());
  links->addStretch(1);
  auto* mitte = new QVBoxLayout;
  mitte->addWidget(einlaufGruppe());
  mitte->addWidget(sicherungGruppe());
  mitte->addStretch(1);
  spalten->addLayout(links, 0);
  spalten->addLayout(mitte, 0);
  spalten->addWidget(listenGruppe(), 1);

  connect(&m_z, &Zeitnahme::geaendert, this, &ZeitnahmeSeite::anzeigen);
  connect(&m_z, &Zeitnahme::auswahlGeaendert, this, &ZeitnahmeSeite::auswahlZeigen);
  connect(&m_z, &Zeitnahme::fokusStartnummer, this, &ZeitnahmeSeite::startnummerFokus);
  m_z.setFragenAufSeite(true);
  connect(qApp, &QApplication::focusChanged, this, &ZeitnahmeSeite::fokusGeaendert);
  m_startnummer->installEventFilter(this);
  auto* zurueck = new QShortcut(QKeySequence::Undo, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(zurueck, &QShortcut::activated, this, [this] { befehl([this] { m_z.rueckgaengig(); }); });
  anzeigen();
}

QWidget* ZeitnahmeSeite::rueckfrageLeiste() {
  // The page's questions wait here, beside the typing: the buttons take no
  // focus, so "number, Enter" goes on recording finishes, and only a click
  // or Alt+J / Alt+N answers.
  m_rueckfrage = new QFrame(this);
  m_rueckfrage->setObjectName(QStringLiteral("rueckfrage"));
  m_rueckfrage->setFrameShape(QFrame::StyledPanel);
  m_rueckfrage->setAutoFillBackground(true);
  QPalette p = m_rueckfrage->palette();
  p.setColor(QPalette::Window, QColor(255, 236, 140));
  p.setColor(QPalette::WindowText, Qt::black);
  m_rueckfrage->setPalette(p);
  auto* h = new QHBoxLayout(m_rueckfrage);
  m_rueckfrageText = new QLabel(m_rueckfrage);
  m_rueckfrageText->setObjectName(QStringLiteral("lblRueckfrage"));
  m_rueckfrageText->setTextFormat(Qt::PlainText);
  m_rueckfrageText->setWordWrap(true);
  QFont f = m_rueckfrageText->font();
  f.setBold(true);
  m_rueckfrageText->setFont(f);
  m_rueckfrageJa = knopf("cmdRueckfrageJa", QStringLiteral("&Ja"), QStringLiteral("Klick oder Alt+J"), m_rueckfrage);
  m_rueckfrageNein = knopf("cmdRueckfrageNein", QStringLiteral("&Nein"), QStringLiteral("Klick, Alt+N oder Esc"),
                           m_rueckfrage);
  // The bar keeps its place when empty: buttons that jump away under the
  // mouse when a question comes are the next wrong click.
  for (QPushButton* k : {m_rueckfrageJa, m_rueckfrageNein}) {
    k->setFocusPolicy(Qt::NoFocus);
    QSizePolicy sp = k->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    k->setSizePolicy(sp);
  }
  h->addWidget(m_rueckfrageText, 1);
  h->addWidget(m_rueckfrageJa);
  h->addWidget(m_rueckfrageNein);
  connect(m_rueckfrageJa, &QPushButton::clicked, this, [this] { befehl([this] { m_z.rueckfrageBeantworten(true); }); });
  connect(m_rueckfrageNein, &QPushButton::clicked, this,
          [this] { befehl([this] { m_z.rueckfrageBeantworten(false); }); });
  m_rueckfrage->setMinimumHeight(m_rueckfrage->sizeHint().height());
  return m_rueckfrage;
}

bool ZeitnahmeSeite::darfFokusHaben(const QWidget* w) const {
  // Fields the operator clicked into to type, and a cell being edited.
  if (w == m_startnummer || w == m_suche || w == m_sicherungsort) return true;
  for (const QLineEdit* e : m_start1) if (w == e) return true;
  for (const QLineEdit* e : m_start2) if (w == e) return true;
  for (const QLineEdit* e : m_bereiche) if (w == e) return true;
  return w != m_liste && m_liste->isAncestorOf(w);
}

void ZeitnahmeSeite::fokusGeaendert(QWidget*, QWidget* neu) {
  // While the clock runs, a button, box or the list reached by click or Tab
  // hands the keyboard straight back: the next digits are a start number.
  if (!neu || !m_startnummer->isEnabled() || darfFokusHaben(neu) || neu->window() != window()) return;
  m_startnummer->setFocus(Qt::OtherFocusReason);
}

ZeitnahmeSeite::~ZeitnahmeSeite() {
  // The list goes after this page's own code: a selection change on its way
  // out must not reach Zeitnahme, which the main window may have let go first.
  m_liste->selectionModel()->disconnect(this);
}

void ZeitnahmeSeite::befehl(const std::function<void()>& aufruf, bool fokusZurueck) {
  m_fenster.befehl(aufruf);
  // A command refused while another one runs leaves a clicked box as it was.
  anzeigen();
  // After every command the keyboard belongs to the start numbers again;
  // not so a field that is being typed in.
  if (fokusZurueck && m_startnummer->isEnabled() && !QApplication::activeModalWidget())
    m_startnummer->setFocus(Qt::OtherFocusReason);
}

QWidget* ZeitnahmeSeite::uhrGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Uhr"), this);
  auto* g = new QGridLayout(gruppe);
  m_pcUhrzeit = anzeigefeld("txtPCUhrzeit", gruppe);
  m_laufzeit = anzeigefeld("Laufzeit", gruppe);
  for (QLineEdit* e : {m_pcUhrzeit, m_laufzeit}) {
    grossschrift(e, 1.8);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 20);
  }
  g->addWidget(new QLabel(QStringLiteral("PC-Uhrzeit"), gruppe), 0, 0, Qt::AlignCenter);
  g->addWidget(new QLabel(QStringLiteral("Laufzeit"), gruppe), 0, 1, Qt::AlignCenter);
  g->addWidget(m_pcUhrzeit, 1, 0);
  g->addWidget(m_laufzeit, 1, 1);
  return gruppe;
}

QWidget* ZeitnahmeSeite::startGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Start"), this);
  auto* v = new QVBoxLayout(gruppe);
  auto* g = new QGridLayout;
  v->addLayout(g);
  static const char* const teile[3] = {"Stunde", "Minute", "Sekunde"};

  m_startzeit1 = anzeigefeld("txtStartzeit", gruppe);
  g->addWidget(new QLabel(QStringLiteral("1.Startzeit"), gruppe), 0, 0);
  g->addWidget(m_startzeit1, 0, 1);
  for (int i = 0; i < 3; ++i) {
    m_start1[i] = eingabefeld(QStringLiteral("txtStart%1").arg(QLatin1String(teile[i])), gruppe, 2);
    m_start1[i]->setToolTip(QStringLiteral("1.Startzeit: %1").arg(QLatin1String(teile[i])));
    g->addWidget(m_start1[i], 0, 2 + i);
    connect(m_start1[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { m_z.startfeldAendern(1, i, t); });
  }
  m_start1Uebernehmen = knopf("cmdStartzeitUebernehmen", QStringLiteral("i.O."),
                              QStringLiteral("1.Startzeit manuell übernehmen"), gruppe);
  g->addWidget(m_start1Uebernehmen, 0, 5);
  connect(m_start1Uebernehmen, &QPushButton::clicked, this, [this] { befehl([this] { m_z.start1Uebernehmen(); }); });

  m_zweiteStart = new QCheckBox(QStringLiteral("2.Startzeit"), gruppe);
  m_zweiteStart->setObjectName(QStringLiteral("chkZweiteStartUhrzeit"));
  m_zweiteStart->setFocusPolicy(Qt::TabFocus);
  m_startzeit2 = anzeigefeld("txtStartzeit2", gruppe);
  g->addWidget(m_zweiteStart, 2, 0);
  g->addWidget(m_startzeit2, 2, 1);
  for (int i = 0; i < 3; ++i) {
    m_start2[i] = eingabefeld(QStringLiteral("txtStart2%1").arg(QLatin1String(teile[i])), gruppe, 2);
    m_start2[i]->setToolTip(QStringLiteral("2.Startzeit: %1").arg(QLatin1String(teile[i])));
    g->addWidget(m_start2[i], 2, 2 + i);
    connect(m_start2[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { m_z.startfeldAendern(2, i, t); });
  }
  m_start2Uebernehmen = knopf("cmdStartzeit2Uebernehmen", QStringLiteral("i.O."),
                              QStringLiteral("2.Startzeit manuell übernehmen"), gruppe);
  m_vonZeit = knopf("cmdStartzeit2VonZeit", QStringLiteral("von Zeit"),
                    QStringLiteral("2.Startzeit von Uhrzeit übernehmen"), gruppe);
  g->addWidget(m_start2Uebernehmen, 2, 5);
  g->addWidget(m_vonZeit, 2, 6);
  connect(m_zweiteStart, &QCheckBox::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_z.setChkZweiteStartUhrzeit(an); });
  });
  connect(m_start2Uebernehmen, &QPushButton::clicked, this, [this] { befehl([this] { m_z.start2Uebernehmen(); }); });
  connect(m_vonZeit, &QPushButton::clicked, this, [this] { befehl([this] { m_z.start2VonZeit(); }); });

  // The ranges under their start: "bei Startnr. von ... bis ...".
  static const char* const namen[4] = {"txtStartnrVon1", "txtStartnrBis1", "txtStartnrVon2", "txtStartnrBis2"};
  for (int i = 0; i < 4; ++i) {
    m_bereiche[i] = eingabefeld(QString::fromLatin1(namen[i]), gruppe, 5);
    connect(m_bereiche[i], &QLineEdit::textEdited, this, [this, i](const QString& t) { m_z.bereichAendern(i, t); });
  }
  for (int start = 0; start < 2; ++start) {
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(beschriftung(QStringLiteral("bei Startnr. von"), m_bereiche[2 * start], gruppe));
    zeile->addWidget(m_bereiche[2 * start]);
    zeile->addWidget(beschriftung(QStringLiteral("bis"), m_bereiche[2 * start + 1], gruppe));
    zeile->addWidget(m_bereiche[2 * start + 1]);
    zeile->addStretch(1);
    g->addLayout(zeile, 1 + 2 * start, 1, 1, 6);
  }
  g->setColumnStretch(7, 1);

  auto* knoepfe = new QHBoxLayout;
  m_starten = knopf("cmdZeitmessungStarten", QStringLiteral("Zeitmessung starten"),
                    QStringLiteral("bei Auswahl wird Zeitmessung gestartet"), gruppe);
  m_beenden = knopf("cmdZeitmessungBeenden", QStringLiteral("Zeitmessung beenden"),
                    QStringLiteral("bei Auswahl wird Zeitmessung beendet"), gruppe);
  m_einlesen = knopf("cmdZeitmessungEinlesen", QStringLiteral("Zeitmessung einlesen"),
                     QStringLiteral("bei Auswahl wird zB. alte abgebrochende Zeitmessung eingelesen und Zeitmessung "
                                    "wieder neu mit alten Daten gestartet"),
                     gruppe);
  grossschrift(m_starten, 1.1);
  knoepfe->addWidget(m_starten);
  knoepfe->addWidget(m_beenden);
  knoepfe->addWidget(m_einlesen);
  v->addLayout(knoepfe);
  connect(m_starten, &QPushButton::clicked, this, [this] { befehl([this] { m_z.starten(); }); });
  connect(m_beenden, &QPushButton::clicked, this, [this] { befehl([this] { m_z.beenden(); }); });
  connect(m_einlesen, &QPushButton::clicked, this, [this] { befehl([this] {
    if (!m_z.einlesenBeginnen()) return;
    Sitzung& s = m_fenster.sitzung();
    const Dateiwahl w =
        s.bediener.dateiOeffnen(QStringLiteral("Zeitdatei öffnen"), Zeitnahme::einlesenFilter(), s.pfade.arbeitsordner, 1);
    m_z.einlesen(w.abgebrochen() ? QString() : w.pfad);
  }); });
  return gruppe;
}

QWidget* ZeitnahmeSeite::einlaufGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Einlauf"), this);
  auto* g = new QGridLayout(gruppe);
  m_startnummer = new QLineEdit(gruppe);
  m_startnummer->setObjectName(QStringLiteral("txtStartnummer"));
  m_startnummer->setToolTip(QStringLiteral("Startnummer eingeben, mit Enter wird der Einlauf erfasst"));
  m_startnummer->setAlignment(Qt::AlignCenter);
  grossschrift(m_startnummer, 2.0);
  m_startnummer->setMinimumWidth(m_startnummer->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
  // Every key goes straight to Zeitnahme: the repeat check runs on each digit
  // and Enter takes the finish at once, without a box or a detour through the
  // event queue, so that a fast typist loses nothing.
  connect(m_startnummer, &QLineEdit::textEdited, this, [this](const QString& t) { m_z.startnummerGeaendert(t); });
  connect(m_startnummer, &QLineEdit::returnPressed, this, [this] { befehl([this] { m_z.einlaufErfassen(); }); });

  m_einlauf = anzeigefeld("txtEinlauf", gruppe, 5);
  m_mitStartnummer = anzeigefeld("txtMitStartnummer", gruppe, 5);
  m_zeitFuerStartnummer = anzeigefeld("txtZeitFuerStartnummer", gruppe, 9);
  m_laeuferdaten = anzeigefeld("txtLaeuferdaten", gruppe, 24);
  m_laeuferdaten->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grossschrift(m_laeuferdaten, 1.1);
  m_laeuferdaten->setMinimumWidth(
      m_laeuferdaten->fontMetrics().horizontalAdvance(QStringLiteral("Läufer in Datenbank nicht gefunden!")) + 20);
  m_doppelt = anzeigefeld("txtDoppelt", gruppe, 5);
  m_vorlaeufigeNr = anzeigefeld("txtVorlaeufigeNr", gruppe, 5);
  m_normal = m_doppelt->palette();
  m_rot = m_normal;
  for (QPalette::ColorGroup cg : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    m_rot.setColor(cg, QPalette::Base, Qt::red);
    m_rot.setColor(cg, QPalette::Text, Qt::white);
  }

  int r = 0;
  g->addWidget(beschriftung(QStringLiteral("Startnummer"), m_startnummer, gruppe), r, 0);
  g->addWidget(m_startnummer, r++, 1, 1, 3);
  g->addWidget(new QLabel(QStringLiteral("Einlauf"), gruppe), r, 0);
  g->addWidget(m_einlauf, r++, 1);
  g->addWidget(new QLabel(QStringLiteral("mit Startnummer"), gruppe), r, 0);
  g->addWidget(m_mitStartnummer, r++, 1);
  g->addWidget(new QLabel(QStringLiteral("Zeit für Startnummer"), gruppe), r, 0);
  g->addWidget(m_zeitFuerStartnummer, r++, 1, 1, 2);
  g->addWidget(m_laeuferdaten, r++, 0, 1, 4);
  g->addWidget(new QLabel(QStringLiteral("doppelt"), gruppe), r, 0);
  g->addWidget(m_doppelt, r++, 1);
  g->addWidget(new QLabel(QStringLiteral("vorläufige Nr."), gruppe), r, 0);
  g->addWidget(m_vorlaeufigeNr, r++, 1);
  // A failed write is shown here, not in a box: a box would swallow the next
  // typed digits.
  m_schreibfehler = new QLabel(gruppe);
  m_schreibfehler->setObjectName(QStringLiteral("lblSchreibfehler"));
  m_schreibfehler->setWordWrap(true);
  m_schreibfehler->setTextFormat(Qt::PlainText);
  QPalette p = m_schreibfehler->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  m_schreibfehler->setPalette(p);
  QFont f = m_schreibfehler->font();
  f.setBold(true);
  m_schreibfehler->setFont(f);
  g->addWidget(m_schreibfehler, r++, 0, 1, 4);
  m_hinweis = new QLabel(gruppe);
  m_hinweis->setObjectName(QStringLiteral("lblHinweis"));
  m_hinweis->setWordWrap(true);
  m_hinweis->setTextFormat(Qt::PlainText);
  QPalette ph = m_hinweis->palette();
  ph.setColor(QPalette::WindowText, QColor(160, 64, 0));
  m_hinweis->setPalette(ph);
  // Room for a note of three lines, so that nothing below moves when one comes.
  m_hinweis->setMinimumHeight(3 * m_hinweis->fontMetrics().lineSpacing());
  m_hinweis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  g->addWidget(m_hinweis, r++, 0, 1, 4);
  g->setColumnStretch(3, 1);
  return gruppe;
}

QWidget* ZeitnahmeSeite::optionenGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Optionen"), this);
  auto* v = new QVBoxLayout(gruppe);
  auto* aufloesung = new QHBoxLayout;
  m_zehntel = new QRadioButton(QStringLiteral("in 1/10 Sekunden"), gruppe);
  m_zehntel->setObjectName(QStringLiteral("ZeitmessungZehntel"));
  m_sekunde = new QRadioButton(QStringLiteral("in Sekunden"), gruppe);
  m_sekunde->setObjectName(QStringLiteral("ZeitmessungSekunde"));
  auto* wahl = new QButtonGroup(gruppe);
  wahl->addButton(m_zehntel);
  wahl->addButton(m_sekunde);
  aufloesung->addWidget(m_zehntel);
  aufloesung->addWidget(m_sekunde);
  aufloesung->addStretch(1);
  v->addLayout(aufloesung);
  connect(m_zehntel, &QRadioButton::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_z.setZeitmessungZehntel(an); });
  });

  m_plus1 = new QCheckBox(QStringLiteral("bei Zeitgleichheit nachfolgender Einlauf +1/10 oder +1 Sekunde"), gruppe);
  m_plus1->setObjectName(QStringLiteral("CheckZeitPlus1Einheit"));
  m_zeitDatenbank = new QCheckBox(QStringLiteral("Zeiten den Läufern in der Datenbank zuordnen?"), gruppe);
  m_zeitDatenbank->setObjectName(QStringLiteral("CheckZeitDatenbank"));
  m_sofortdruck = new QCheckBox(QStringLiteral("Zeitnahme in Urkunde drucken"), gruppe);
  m_sofortdruck->setObjectName(QStringLiteral("chkZeitnahmeSofortdruckInUrkunde"));
  for (QCheckBox* c : {m_plus1, m_zeitDatenbank, m_sofortdruck}) v->addWidget(c);
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_zehntel, m_sekunde, m_plus1, m_zeitDatenbank, m_sofortdruck})
    b->setFocusPolicy(Qt::TabFocus);
  connect(m_plus1, &QCheckBox::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_z.setCheckZeitPlus1Einheit(an); });
  });
  connect(m_zeitDatenbank, &QCheckBox::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_z.setCheckZeitDatenbank(an); });
  });
  connect(m_sofortdruck, &QCheckBox::toggled, this, [this](bool an) {
    if (!m_aktualisiere) befehl([this, an] { m_z.setChkZeitnahmeSofortdruckInUrkunde(an); });
  });
  return gruppe;
}

QWidget* ZeitnahmeSeite::sicherungGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Sicherung"), this);
  auto* g = new QGridLayout(gruppe);
  m_sicherungsort = new QLineEdit(gruppe);
  m_sicherungsort->setObjectName(QStringLiteral("txtSicherungsort"));
  m_sicherungsort->setToolTip(QStringLiteral("Ordner, in den die Zeitmessdatei gesichert wird (z.B. ein USB-Stick)"));
  m_ordnerWaehlen = new QToolButton(gruppe);
  m_ordnerWaehlen->setObjectName(QStringLiteral("cmdSicherungsortWaehlen"));
  m_ordnerWaehlen->setText(QStringLiteral("..."));
  m_ordnerWaehlen->setToolTip(QStringLiteral("Sicherungsordner wählen"));
  m_ordnerWaehlen->setFocusPolicy(Qt::TabFocus);
  m_sicherungBeschriftung = new QLabel(gruppe);
  m_sicherungBeschriftung->setObjectName(QStringLiteral("lblSicherung"));
  m_sicherungBeschriftung->setWordWrap(true);
  m_sicherungBeschriftung->setTextFormat(Qt::PlainText);
  m_sicherungStand = new QLabel(gruppe);
  m_sicherungStand->setObjectName(QStringLiteral("lblSicherungStand"));
  m_sicherungStand->setWordWrap(true);
  m_sicherungStand->setTextFormat(Qt::PlainText);
  m_speichern = knopf("cmdZeitmessungSpeichern", QStringLiteral("Zeitmessung speichern"), QString(), gruppe);

  g->addWidget(beschriftung(QStringLiteral("Sicherungslaufwerk ändern in:"), m_sicherungsort, gruppe), 0, 0, 1, 2);
  g->addWidget(m_sicherungsort, 1, 0);
  g->addWidget(m_ordnerWaehlen, 1, 1);
  g->addWidget(m_sicherungBeschriftung, 2, 0, 1, 2);
  g->addWidget(m_speichern, 3, 0, 1, 2, Qt::AlignLeft);
  g->addWidget(m_sicherungStand, 4, 0, 1, 2);
  g->setColumnStretch(0, 1);

  connect(m_sicherungsort, &QLineEdit::textEdited, this, [this](const QString& t) {
    befehl([this, t] { m_z.sicherungsortAendern(QDir::fromNativeSeparators(t.trimmed())); }, false);
  });
  connect(m_sicherungsort, &QLineEdit::returnPressed, this, &ZeitnahmeSeite::startnummerFokus);
  connect(m_ordnerWaehlen, &QToolButton::clicked, this, [this] {
    befehl([this] {
      const QString ort = ordnerwahl ? ordnerwahl(this, m_z.anzeige().sicherungsort) : QString();
      if (!ort.isEmpty()) m_z.sicherungsortAendern(QDir::fromNativeSeparators(ort));
    });
  });
  connect(m_speichern, &QPushButton::clicked, this, [this] { befehl([this] { m_z.sichern(); }); });
  return gruppe;
}

QWidget* ZeitnahmeSeite::listenGruppe() {
  auto* gruppe = new QGroupBox(QStringLiteral("Einlaufliste"), this);
  auto* v = new QVBoxLayout(gruppe);

  auto* suche = new QHBoxLayout;
  m_suche = new QLineEdit(gruppe);
  m_suche->setObjectName(QStringLiteral("txtSucheEinlauf"));
  m_suche->setToolTip(QStringLiteral("wählt die erste Zeile, deren Wert in der gewählten Spalte so beginnt"));
  m_suche->setClearButtonEnabled(true);
  m_sucheSpalte = new QComboBox(gruppe);
  m_sucheSpalte->setObjectName(QStringLiteral("cboSucheSpalte"));
  m_sucheSpalte->setToolTip(QStringLiteral("Spalte, in der gesucht wird"));
  m_sucheSpalte->setFocusPolicy(Qt::TabFocus);
  for (const Einlaufspalte& sp : Einlaufspalten()) m_sucheSpalte->addItem(QString::fromUtf8(sp.titel));
  m_sucheSpalte->setCurrentIndex(E_StartNr);
  suche->addWidget(beschriftung(QStringLiteral("Suche:"), m_suche, gruppe));
  suche->addWidget(m_suche, 1);
  suche->addWidget(m_sucheSpalte);
  v->addLayout(suche);
  auto suchen = [this] {
    const QString text = m_suche->text();
    const int spalte = m_sucheSpalte->currentIndex();
    befehl([this, spalte, text] { m_z.suchen(spalte, text); }, false);
  };
  connect(m_suche, &QLineEdit::textEdited, this, suchen);
  connect(m_sucheSpalte, &QComboBox::activated, this, suchen);
  // Enter in the search box: back to the start numbers.
  connect(m_suche, &QLineEdit::returnPressed, this, &ZeitnahmeSeite::startnummerFokus);

  m_modell = new EinlaufModell(m_z, this);
  m_liste = new QTableView(gruppe);
  m_liste->setObjectName(QStringLiteral("Einlaufliste"));
  m_liste->setModel(m_modell);
  m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
  // Digits typed into the list must not open a cell: they belong to the
  // start-number field (see eventFilter). Double click or F2 edit a cell.
  m_liste->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  m_liste->verticalHeader()->hide();
  m_liste->verticalHeader()->setDefaultSectionSize(m_liste->fontMetrics().height() + 6);
  m_liste->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  m_liste->horizontalHeader()->setStretchLastSection(false);
  int gesamt = 0;
  for (int i = 0; i < m_modell->columnCount(); ++i) {
    // Never narrower than the caption or a time: the widths were chosen for a
    // narrower font than today's.
    const int text = m_liste->horizontalHeader()->fontMetrics().horizontalAdvance(
                         m_modell->headerData(i, Qt::Horizontal).toString()) + 20;
    // The remark column holds "Einlauf eingefügt" and "ZeitDiff 0,1s SN".
    const int zeit = m_liste->fontMetrics().horizontalAdvance(
                         i == E_Fehler ? QStringLiteral("Einlauf eingefügt") : QStringLiteral("00:00:00,0")) + 12;
    const int b = std::max({EinlaufModell::breite(i), text, zeit});
    m_liste->setColumnWidth(i, b);
    gesamt += b;
  }
  m_liste->setMinimumWidth(gesamt + m_liste->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
  m_liste->installEventFilter(this);
  v->addWidget(m_liste, 1);
  connect(m_liste->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& aktuell) {
            if (m_waehle) return;
            const int einlauf = aktuell.isValid() ? aktuell.row() + 1 : 0;
            befehl([this, einlauf] { m_z.einlaufWaehlen(einlauf); });
          });

  auto* knoepfe = new QGridLayout;
  m_einfuegen = knopf("cmdEinlaufEinfuegen", QStringLiteral("Einlauf einfügen"),
                      QStringLiteral("vor der markierten Zeile einen Einlauf einfügen"), gruppe);
  m_loeschen = knopf("cmdEinlaufLoeschen", QStringLiteral("Einlauf löschen"), QStringLiteral("markierte Zeile löschen"),
                     gruppe);
  m_inErste = knopf("cmdInStartzeit1", QStringLiteral("in 1.Startzeit"), QStringLiteral("1.Startzeit zuordnen"), gruppe);
  m_inZweite = knopf("cmdInStartzeit2", QStringLiteral("in 2.Startzeit"), QStringLiteral("2.Startzeit zuordnen"), gruppe);
  knoepfe->addWidget(m_einfuegen, 0, 0);
  knoepfe->addWidget(m_loeschen, 0, 1);
  knoepfe->addWidget(m_inErste, 1, 0);
  knoepfe->addWidget(m_inZweite, 1, 1);
  m_rueckgaengig = knopf("cmdRueckgaengig", QStringLiteral("Rückgängig"), QString(), gruppe);
  knoepfe->addWidget(m_rueckgaengig, 2, 0, 1, 2);
  v->addLayout(knoepfe);
  connect(m_rueckgaengig, &QPushButton::clicked, this, [this] { befehl([this] { m_z.rueckgaengig(); }); });
  connect(m_einfuegen, &QPushButton::clicked, this, [this] { befehl([this] { m_z.einlaufEinfuegen(); }); });
  connect(m_loeschen, &QPushButton::clicked, this, [this] { befehl([this] { m_z.einlaufLoeschen(); }); });
  connect(m_inErste, &QPushButton::clicked, this, [this] { befehl([this] { m_z.inErsteStartzeit(); }); });
  connect(m_inZweite, &QPushButton::clicked, this, [this] { befehl([this] { m_z.inZweiteStartzeit(); }); });
  return gruppe;
}

bool ZeitnahmeSeite::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == m_startnummer && (ereignis->type() == QEvent::KeyPress || ereignis->type() == QEvent::ShortcutOverride)) {
    auto* k = static_cast<QKeyEvent*>(ereignis);
    // Ctrl+Z takes back a finish-list command, not the digits of the field;
    // Escape answers an open question with No.
    const bool zurueck = k->matches(QKeySequence::Undo);
    const bool flucht = k->key() == Qt::Key_Escape && !m_z.anzeige().rueckfrage.isEmpty();
    if (zurueck || flucht) {
      if (ereignis->type() == QEvent::ShortcutOverride) {
        ereignis->accept();
        return true;
      }
      befehl([this, zurueck] {
        if (zurueck) m_z.rueckgaengig();
        else m_z.rueckfrageBeantworten(false);
      });
      return true;
    }
  }
  // A digit or Enter typed while the list has the focus (a row was just
  // clicked) is a start number: it goes to the start-number field. Not so
  // the keys of a cell being edited: its Enter, which ends the edit, comes up
  // to the list too and must not record a finish.
  const QWidget* fokus = QApplication::focusWidget();
  const bool zellenEditor = fokus && fokus != m_liste && m_liste->isAncestorOf(fokus);
  if (objekt == m_liste && ereignis->type() == QEvent::KeyPress && !zellenEditor && m_startnummer->isEnabled()) {
    auto* k = static_cast<QKeyEvent*>(ereignis);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    if ((istZiffer(k) || enter) && k->modifiers() == Qt::NoModifier) {
      m_startnummer->setFocus(Qt::OtherFocusReason);
      QKeyEvent kopie(k->type(), k->key(), k->modifiers(), k->text(), k->isAutoRepeat(), k->count());
      QCoreApplication::sendEvent(m_startnummer, &kopie);
      return true;
    }
  }
  return QWidget::eventFilter(objekt, ereignis);
}

void ZeitnahmeSeite::tasteAusDialog(const QString& ziffer) {
  if (m_z.zustand() != Zeitnahmezustand::Laeuft) return;
  if (ziffer.isEmpty()) m_z.einlaufErfassen();
  else m_z.startnummerGeaendert(m_z.anzeige().startnummer + ziffer);
  anzeigen();
}

void ZeitnahmeSeite::startnummerFokus() {
  // Zeitnahme asks for the focus before it announces the new state: the field
  // must be enabled first.
  anzeigen();
  m_startnummer->setFocus(Qt::OtherFocusReason);
}

void ZeitnahmeSeite::auswahlZeigen(int einlauf) {
  const QScopedValueRollback still(m_waehle, true);
  QItemSelectionModel* auswahl = m_liste->selectionModel();
  if (einlauf < 1 || einlauf > m_modell->rowCount()) {
    auswahl->clear();
    return;
  }
  const QModelIndex i = m_modell->index(einlauf - 1, 0);
  auswahl->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  m_liste->scrollTo(i);
}

void ZeitnahmeSeite::anzeigen() {
  const QScopedValueRollback still(m_aktualisiere, true);
  const Zeitnahmeanzeige& a = m_z.anzeige();
  setzen(m_pcUhrzeit, a.pcUhrzeit);
  setzen(m_laufzeit, a.laufzeit);
  setzen(m_startzeit1, a.startzeit1);
  setzen(m_startzeit2, a.startzeit2);
  for (int i = 0; i < 3; ++i) {
    setzen(m_start1[i], a.start1Felder[i]);
    setzen(m_start2[i], a.start2Felder[i]);
  }
  for (int i = 0; i < 4; ++i) setzen(m_bereiche[i], a.bereiche[i]);
  setzen(m_startnummer, a.startnummer);
  setzen(m_einlauf, a.einlauf);
  setzen(m_mitStartnummer, a.mitStartnummer);
  setzen(m_zeitFuerStartnummer, a.zeitFuerStartnummer);
  setzen(m_laeuferdaten, a.txtLaeuferdaten);
  setzen(m_doppelt, a.doppelt);
  setzen(m_vorlaeufigeNr, a.vorlaeufigeNr);
  const QPalette& farbe = a.wiederholungRot ? m_rot : m_normal;
  if (m_doppelt->palette() != farbe) {
    m_doppelt->setPalette(farbe);
    m_vorlaeufigeNr->setPalette(farbe);
  }
  if (m_schreibfehler->text() != a.schreibfehler) m_schreibfehler->setText(a.schreibfehler);
  m_schreibfehler->setVisible(!a.schreibfehler.isEmpty());
  if (m_hinweis->text() != a.hinweis) m_hinweis->setText(a.hinweis);
  const QString frage = a.rueckfrage.trimmed();
  if (m_rueckfrageText->text() != frage) m_rueckfrageText->setText(frage);
  // Yellow and with its buttons only while a question waits.
  m_rueckfrage->setAutoFillBackground(!frage.isEmpty());
  m_rueckfrage->setFrameShape(frage.isEmpty() ? QFrame::NoFrame : QFrame::StyledPanel);
  m_rueckfrageJa->setVisible(!frage.isEmpty());
  m_rueckfrageNein->setVisible(!frage.isEmpty());
  if (!m_sicherungsort->hasFocus() || m_sicherungsort->text().trimmed() != QDir::toNativeSeparators(a.sicherungsort))
    setzen(m_sicherungsort, QDir::toNativeSeparators(a.sicherungsort));
  m_sicherungBeschriftung->setText(a.sicherungBeschriftung);
  m_sicherungStand->setText(a.sicherungStand);
  m_sicherungStand->setVisible(!a.sicherungStand.isEmpty());

  m_zehntel->setChecked(m_z.ZeitmessungZehntel());
  m_sekunde->setChecked(m_z.ZeitmessungSekunde());
  m_plus1->setChecked(m_z.CheckZeitPlus1Einheit());
  m_zeitDatenbank->setChecked(m_z.CheckZeitDatenbank());
  m_sofortdruck->setChecked(m_z.chkZeitnahmeSofortdruckInUrkunde());
  m_zweiteStart->setChecked(m_z.chkZweiteStartUhrzeit());

  const Zeitnahmefreigaben f = m_z.freigaben();
  m_starten->setEnabled(f.starten);
  m_einlesen->setEnabled(f.einlesen);
  m_startnummer->setEnabled(f.startnummer);
  m_liste->setEnabled(f.liste);
  m_suche->setEnabled(f.liste);
  m_sucheSpalte->setEnabled(f.liste);
  for (QPushButton* k : {m_einfuegen, m_loeschen, m_inErste, m_inZweite}) k->setEnabled(f.listenbefehle);
  m_rueckgaengig->setEnabled(f.rueckgaengig);
  m_rueckgaengig->setToolTip(f.rueckgaengig ? QStringLiteral("Rückgängig: ") + m_z.rueckgaengigText() : QString());
  m_speichern->setEnabled(f.speichern);
  m_beenden->setEnabled(f.beenden);
  m_sicherungsort->setEnabled(f.laufwerkWahl);
  m_ordnerWaehlen->setEnabled(f.laufwerkWahl);
  m_start1Uebernehmen->setEnabled(f.start1Uebernehmen);
  m_zweiteStart->setEnabled(f.zweiteStart);
  for (QLineEdit* e : m_start2) e->setEnabled(f.start2Felder);
  for (QLineEdit* e : m_bereiche) e->setEnabled(f.bereiche);
  m_vonZeit->setEnabled(f.vonZeit);
  m_start2Uebernehmen->setEnabled(f.start2Uebernehmen);
  for (QWidget* w : std::initializer_list<QWidget*>{m_zehntel, m_sekunde, m_plus1, m_zeitDatenbank, m_sofortdruck})
    w->setEnabled(f.optionen);
}

}  // namespace zt
