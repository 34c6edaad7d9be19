#include "ui/Ausgabebefehle.h"

#include "core/Sitzung.h"
#include "output/Ausgabe.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"
#include "output/Laeuferanzahl.h"
#include "output/Urkunde.h"
#include "ui/Ausgabeleiste.h"
#include "ui/FormLaeuferanzahl.h"
#include "ui/FormZieltafel.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>

namespace zt {

Ausgabebefehle::Ausgabebefehle(FormZieltafel& fenster)
    : QObject(&fenster), m_fenster(fenster), m_s(fenster.sitzung()) {
  Sitzung& s = m_s;
  AusgabeAnmelden(s);
  Ausgabe& a = Ausgabe::von(s);
  m_standarddrucker = s.system.standardDrucker();

  // Tool bar 2: after "speichern unter", before "Daten ausdünnen".
  QAction* html = werkzeug("btnDBHTMLReport", QStringLiteral("Anzeige"),
                           QStringLiteral("Anzeige markierter Zeilen im Explorer"), QStyle::SP_FileDialogDetailedView);
  connect(html, &QAction::triggered, this, [this] { m_fenster.befehl([this] { HtmlBericht(m_s); }); });
  QAction* anzahl = werkzeug("btnLaeuferanzahl", QStringLiteral("Läuferanzahl"), QStringLiteral("Läuferanzahl"),
                             QStyle::SP_FileDialogInfoView);
  connect(anzahl, &QAction::triggered, this, &Ausgabebefehle::laeuferanzahlZeigen);
  QToolBar* leiste = fenster.symbolleiste();
  QAction* vor = fenster.findChild<QAction*>(QStringLiteral("btnDatenAusduennen"));
  if (vor && leiste->actions().contains(vor)) {
    leiste->insertAction(vor, html);
    leiste->insertAction(vor, anzahl);
    leiste->insertSeparator(vor);
  } else {
    leiste->addAction(html);
    leiste->addAction(anzahl);
  }
  for (QAction* w : {html, anzahl})
    if (QWidget* knopf = leiste->widgetForAction(w)) knopf->setObjectName(w->objectName());

  m_leiste = fenster.findChild<Ausgabeleiste*>();
  if (!m_leiste) return;
  Ausgabeleiste& l = *m_leiste;

  // Result list.
  connect(l.OptErgebnisliste, &QButtonGroup::idClicked, this, [this](int id) {
    Ausgabe::von(m_s).OptErgebnisliste = id;
  });
  connect(l.chkProtokollInSek, &QCheckBox::clicked, this,
          [this](bool an) { Ausgabe::von(m_s).chkProtokollInSek = an ? 1 : 0; });
  connect(l.cmdErzeugenErgebnisliste, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { CreateResultList(m_s); }); });
  connect(l.cmdDruckenErgebnisliste, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { ErgebnislisteDrucken(m_s); }); });
  connect(l.cmdEditErgebnisliste, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { ErgebnislisteVorlageBearbeiten(m_s); }); });
  connect(l.cmdErzeugeAnmeldeliste, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { Anmeldeliste(m_s); }); });

  // Certificates.
  connect(l.OptUrkunde, &QButtonGroup::idClicked, this, [this](int id) { Ausgabe::von(m_s).OptUrkunde = id; });
  connect(l.chkVorlageGesamtSieger, &QCheckBox::clicked, this,
          [this](bool an) { Ausgabe::von(m_s).chkVorlageGesamtSieger = an ? 1 : 0; });
  connect(l.cmdErzeugenUrkunde, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { UrkundeErstellen(m_s); }); });
  connect(l.cmdSofortDruckenUrkunde, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { UrkundeSofortDrucken(m_s); }); });
  connect(l.cmdDruckmarkierung, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { Druckmarkierung(m_s); }); });
  connect(l.cmdEditUrkunde, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { UrkundeVorlageBearbeiten(m_s); }); });
  connect(l.txtStartnummerDrucken, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_fenster.befehl([this, text] { StartnummerDruckenGeaendert(m_s, text); });
  });
  connect(l.txtStartnummerDrucken, &QLineEdit::returnPressed, this, [this] {
    m_fenster.befehl([this] { StartnummerDruckenEnter(m_s); });
    if (m_leiste) m_leiste->txtStartnummerDrucken->setFocus(Qt::OtherFocusReason);
  });
  l.txtStartnummerDrucken->installEventFilter(this);
  m_filterStartnummer = l.txtStartnummerDrucken;
  connect(m_leiste, &Ausgabeleiste::weg, this, [this] {
    if (m_leiste) m_leiste->txtStartnummerDrucken->removeEventFilter(this);
    m_leiste = nullptr;
  });
  connect(l.cmdDruckenVorherige, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { StartnummerDruckenSchritt(m_s, -1); }); });
  connect(l.cmdDruckenNaechste, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { StartnummerDruckenSchritt(m_s, +1); }); });

  zaehlfelderVerbinden(l.laeuferanzahl);

  // Every change of tab empties the count fields.
  connect(fenster.register_(), &QTabWidget::currentChanged, this, [this] {
    Ausgabe::von(m_s).zahlen.gezaehlt = false;
    abgleichen();
  });
  connect(&s, &Sitzung::geaendert, this, &Ausgabebefehle::abgleichen);
  connect(&a, &Ausgabe::geaendert, this, &Ausgabebefehle::abgleichen);
  abgleichen();
}

QAction* Ausgabebefehle::werkzeug(const char* schluessel, const QString& text, const QString& tipp, int symbol) {
  auto* a = new QAction(m_fenster.style()->standardIcon(static_cast<QStyle::StandardPixmap>(symbol)), text, &m_fenster);
  a->setObjectName(QString::fromLatin1(schluessel));
  a->setToolTip(tipp);
  m_fenster.befehle()->addAction(a);
  return a;
}

void Ausgabebefehle::zaehlfelderVerbinden(Laeuferanzahlfelder* felder) {
  connect(felder->cmdLaeuferSumme, &QPushButton::clicked, this,
          [this] { m_fenster.befehl([this] { LaeuferZaehlen(m_s); }); });
  connect(felder->cmdLaeufer, &QPushButton::clicked, this, [this] { m_fenster.befehl([this] { cmdLaeufer(m_s); }); });
  connect(felder->cmdWalker, &QPushButton::clicked, this, [this] { m_fenster.befehl([this] { cmdWalker(m_s); }); });
}

void Ausgabebefehle::laeuferanzahlZeigen() {
  m_fenster.befehl([this] {
    Sperre sperre(m_s.bediener);
    LaeuferZaehlen(m_s);
  });
  if (!m_laeuferfenster) {
    m_laeuferfenster = new FormLaeuferanzahl(m_s, &m_fenster);
    zaehlfelderVerbinden(m_laeuferfenster->felder());
  }
  m_laeuferfenster->felder()->anzeigen();
  m_laeuferfenster->show();
  m_laeuferfenster->raise();
  m_laeuferfenster->activateWindow();
}

void Ausgabebefehle::startnummerFarbe() {
  QLineEdit* feld = m_leiste->txtStartnummerDrucken;
  const Ausgabe& a = Ausgabe::von(m_s);
  QPalette p = feld->style()->standardPalette();
  // 0xC0E0FF (blue, green, red): light orange for a number nobody has.
  if (!a.startnummerGefunden && !a.txtStartnummerDrucken.trimmed().isEmpty())
    p.setColor(QPalette::Base, QColor(0xFF, 0xE0, 0xC0));
  feld->setPalette(p);
}

void Ausgabebefehle::abgleichen() {
  if (m_abgleich) return;
  m_abgleich = true;
  const Ausgabe& a = Ausgabe::von(m_s);
  if (m_leiste) {
    Ausgabeleiste& l = *m_leiste;
    if (QAbstractButton* b = l.OptErgebnisliste->button(a.OptErgebnisliste)) {
      const QSignalBlocker still(b);
      b->setChecked(true);
    }
    if (QAbstractButton* b = l.OptUrkunde->button(a.OptUrkunde)) {
      const QSignalBlocker still(b);
      b->setChecked(true);
    }
    l.chkProtokollInSek->setChecked(a.chkProtokollInSek != 0);
    l.chkVorlageGesamtSieger->setChecked(a.chkVorlageGesamtSieger != 0);
    if (l.txtStartnummerDrucken->text() != a.txtStartnummerDrucken) {
      const QSignalBlocker still(l.txtStartnummerDrucken);
      l.txtStartnummerDrucken->setText(a.txtStartnummerDrucken);
    }
    startnummerFarbe();
    const auto name = [this](const QString& gewaehlt) { return gewaehlt.isEmpty() ? m_standarddrucker : gewaehlt; };
    l.frameErgebnisliste->setToolTip(QStringLiteral("Liste drucken mit ") + name(m_s.druckerErgebnisliste));
    l.frameUrkunde->setToolTip(QStringLiteral("Urkunde drucken mit ") + name(m_s.druckerUrkunde));
    l.laeuferanzahl->anzeigen();
  }
  if (m_laeuferfenster) m_laeuferfenster->felder()->anzeigen();
  m_abgleich = false;
}

bool Ausgabebefehle::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (m_leiste && objekt == m_filterStartnummer && ereignis->type() == QEvent::FocusIn) {
    // Coming back from a message box or another window is no new entry.
    const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
    if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason && grund != Qt::OtherFocusReason)
      m_fenster.befehl([this] { StartnummerDruckenFokus(m_s); });
  }
  return QObject::eventFilter(objekt, ereignis);
}

}  // namespace zt
