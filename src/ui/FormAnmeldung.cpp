#include "ui/FormAnmeldung.h"

#include "app/Rastereingabe.h"
#include "core/Sitzung.h"
#include "ui/FormZieltafel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace zt {

namespace {
const char* const kSchluessel[kAnmeldefelder] = {"Laufveranstaltung", "Name",   "Vorname", "Geburtsdatum",
                                                 "Geschlecht",        "Verein", "Walker",  "Strecke"};

void faerben(QLineEdit* feld, bool rot) {
  if (!rot) {
    // Back to the desktop's own colours (a dark desktop stays dark).
    feld->setPalette(QPalette());
    return;
  }
  QPalette p = feld->palette();
  p.setColor(QPalette::Base, QColor(255, 0, 0));
  p.setColor(QPalette::Text, Qt::white);
  feld->setPalette(p);
}

void textSetzen(QLineEdit* feld, const QString& text) {
  if (feld->text() != text) feld->setText(text);
}
}  // namespace

FormAnmeldung::FormAnmeldung(FormZieltafel& fenster, QWidget* parent)
    : QWidget(parent, Qt::Window), m_fenster(fenster), m_anmeldung(fenster.sitzung()) {
  setObjectName(QStringLiteral("FormAnmeldung"));
  setWindowTitle(QStringLiteral("Anmeldung"));

  auto* links = new QVBoxLayout;
  auto* lblText = new QLabel(QStringLiteral("Anmeldung einfügen"), this);
  Anmldg_EingabeMailText = new QPlainTextEdit(this);
  Anmldg_EingabeMailText->setObjectName(QStringLiteral("Anmldg_EingabeMailText"));
  Anmldg_EingabeMailText->setToolTip(QStringLiteral("Text der Anmelde-Mail hier einfügen (Zeilen \"Name: ...\")"));
  Anmldg_EingabeMailText->setTabChangesFocus(true);
  lblText->setBuddy(Anmldg_EingabeMailText);
  links->addWidget(lblText);
  links->addWidget(Anmldg_EingabeMailText, 1);

  auto* raster = new QGridLayout;
  raster->addWidget(new QLabel(QStringLiteral("<b>Daten aus externer Quelle</b>"), this), 0, 0);
  raster->addWidget(new QLabel(QStringLiteral("<b>Daten aus Datenbank</b>"), this), 0, 2);
  for (int i = 0; i < kAnmeldefelder; ++i) {
    const QString name = QString::fromLatin1(kSchluessel[i]);
    auto* mail = new QLineEdit(this);
    mail->setObjectName(QStringLiteral("Anmldg_") + name);
    mail->setReadOnly(true);
    mail->setPlaceholderText(Anmeldefeldname(static_cast<Anmeldefeld>(i)));
    auto* db = new QLineEdit(this);
    db->setObjectName(QStringLiteral("DB_") + name);
    db->setPlaceholderText(Anmeldefeldname(static_cast<Anmeldefeld>(i)));
    mailfelder[i] = mail;
    dbfelder[i] = db;
    raster->addWidget(mail, i + 1, 0);
    raster->addWidget(db, i + 1, 2);
    if (i == FeldIndex(Anmeldefeld::Laufveranstaltung)) {
      auto* l = new QLabel(Anmeldefeldname(Anmeldefeld::Laufveranstaltung), this);
      l->setAlignment(Qt::AlignCenter);
      raster->addWidget(l, i + 1, 1);
    } else {
      auto* k = new QPushButton(Anmeldefeldname(static_cast<Anmeldefeld>(i)) + QStringLiteral("  →"), this);
      k->setObjectName(QStringLiteral("cmd_") + name);
      k->setToolTip(QStringLiteral("Wert aus der Mail übernehmen"));
      k->setAutoDefault(false);
      knoepfe[i] = k;
      raster->addWidget(k, i + 1, 1);
      const auto feld = static_cast<Anmeldefeld>(i);
      connect(k, &QPushButton::clicked, this, [this, feld] {
        ausfuehren([this, feld] { m_anmeldung.uebernehmen(feld); });
      });
    }
    const auto feld = static_cast<Anmeldefeld>(i);
    connect(db, &QLineEdit::textEdited, this, [this, feld](const QString& text) {
      ausfuehren([this, feld, text] { m_anmeldung.setDatenbankfeld(feld, text); });
    });
  }
  Anmldg_Mail = new QLineEdit(this);
  Anmldg_Mail->setObjectName(QStringLiteral("Anmldg_Mail"));
  Anmldg_Mail->setReadOnly(true);
  Anmldg_Mail->setPlaceholderText(QStringLiteral("E-Mail"));
  raster->addWidget(Anmldg_Mail, kAnmeldefelder + 1, 0);
  lblHinweis = new QLabel(this);
  lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
  lblHinweis->setWordWrap(true);
  raster->addWidget(lblHinweis, kAnmeldefelder + 1, 1, 1, 2);

  cmdAllesUebernehmen = new QPushButton(QStringLiteral("alle Daten übernehmen"), this);
  cmdAllesUebernehmen->setObjectName(QStringLiteral("cmdAllesUebernehmen"));
  cmdAnmeldung = new QPushButton(QStringLiteral("Daten in Datenbank übernehmen"), this);
  cmdAnmeldung->setObjectName(QStringLiteral("cmdAnmeldung"));
  cmdAnmeldung->setToolTip(QStringLiteral("Teilnehmer in die Datenbank schreiben (Strg+Enter)"));
  // The hands stay on the keyboard: paste, Ctrl+Enter, paste the next one.
  auto* schreibtaste = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
  connect(schreibtaste, &QShortcut::activated, this, &FormAnmeldung::schreiben);
  cmdDatenLoeschen = new QPushButton(QStringLiteral("Daten löschen"), this);
  cmdDatenLoeschen->setObjectName(QStringLiteral("cmdDatenLoeschen"));
  cmdDatenLoeschen->setToolTip(QStringLiteral("Mailtext und alle Felder leeren"));
  for (QPushButton* k : {cmdAllesUebernehmen, cmdAnmeldung, cmdDatenLoeschen}) k->setAutoDefault(false);
  auto* unten = new QHBoxLayout;
  unten->addWidget(cmdDatenLoeschen);
  unten->addStretch(1);
  unten->addWidget(cmdAllesUebernehmen);
  unten->addWidget(cmdAnmeldung);

  auto* rechts = new QVBoxLayout;
  rechts->addLayout(raster);
  rechts->addStretch(1);
  rechts->addLayout(unten);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(links, 2);
  layout->addLayout(rechts, 3);

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setSingleShot(true);
  Timer->setInterval(250);
  connect(Timer, &QTimer::timeout, this, [this] {
    raise();
    activateWindow();
  });

  connect(Anmldg_EingabeMailText, &QPlainTextEdit::textChanged, this, &FormAnmeldung::textGeaendert);
  connect(cmdAllesUebernehmen, &QPushButton::clicked, this,
          [this] { ausfuehren([this] { m_anmeldung.allesUebernehmen(); }); });
  connect(cmdAnmeldung, &QPushButton::clicked, this, &FormAnmeldung::schreiben);
  connect(cmdDatenLoeschen, &QPushButton::clicked, this, &FormAnmeldung::datenLoeschen);
  resize(900, 420);
  anzeigen();
}

void FormAnmeldung::zeigen() {
  show();
  raise();
  activateWindow();
  Anmldg_EingabeMailText->setFocus(Qt::OtherFocusReason);
}

void FormAnmeldung::ausfuehren(std::function<void()> aufruf) {
  if (m_fenster.befehlLaeuft() || m_fenster.gesperrt()) {
    QPointer<FormAnmeldung> ich = this;
    QTimer::singleShot(20, this, [ich, aufruf] {
      if (ich) ich->ausfuehren(aufruf);
    });
    return;
  }
  m_fenster.befehl(aufruf);
  anzeigen();
}

void FormAnmeldung::anzeigen() {
  const QScopedValueRollback guard(m_anzeigen, true);
  for (int i = 0; i < kAnmeldefelder; ++i) {
    const auto f = static_cast<Anmeldefeld>(i);
    textSetzen(mailfelder[i], m_anmeldung.mailfeld(f));
    textSetzen(dbfelder[i], m_anmeldung.datenbankfeld(f));
    faerben(dbfelder[i], m_anmeldung.abweichend(f));
  }
  faerben(mailfelder[FeldIndex(Anmeldefeld::Geschlecht)], m_anmeldung.geschlechtUnbekannt());
  textSetzen(Anmldg_Mail, m_anmeldung.email());
  QString hinweis;
  if (!m_anmeldung.mailfeld(Anmeldefeld::Name).isEmpty())
    hinweis = m_anmeldung.treffer() > 0
                  ? QStringLiteral("gefunden in Zeile %1: %2").arg(m_anmeldung.treffer()).arg(m_anmeldung.trefferName())
                  : QStringLiteral("nicht in der Datenbank: wird als neuer Teilnehmer angelegt");
  if (m_anmeldung.geschlechtUnbekannt())
    hinweis += (hinweis.isEmpty() ? QString() : QStringLiteral("\n")) +
               QStringLiteral("Geschlecht nicht erkannt: die Strecke bleibt ohne m/w, bitte prüfen");
  lblHinweis->setText(hinweis);
}

void FormAnmeldung::textGeaendert() {
  if (m_anzeigen) return;
  // Keystrokes that arrive while a command runs are taken together.
  if (m_textGeplant) return;
  m_textGeplant = true;
  ausfuehren([this] {
    m_textGeplant = false;
    m_anmeldung.textGeaendert(Anmldg_EingabeMailText->toPlainText());
  });
  raise();
}

void FormAnmeldung::schreiben() {
  if (m_fenster.befehlLaeuft() || m_fenster.gesperrt()) {
    QTimer::singleShot(20, this, &FormAnmeldung::schreiben);
    return;
  }
  bool geschrieben = false;
  m_fenster.befehl([this, &geschrieben] {
    Sitzung& s = m_fenster.sitzung();
    // A row still being typed in the grid is settled before another is written.
    if (s.neueZeile && !NeueZeileAbschliessen(s)) return;
    geschrieben = m_anmeldung.inTabelleSchreiben();
  });
  anzeigen();
  if (!geschrieben) return;
  {
    const QScopedValueRollback guard(m_anzeigen, true);
    Anmldg_EingabeMailText->clear();
  }
  anzeigen();
  Timer->start();
}

void FormAnmeldung::datenLoeschen() {
  {
    const QScopedValueRollback guard(m_anzeigen, true);
    Anmldg_EingabeMailText->clear();
  }
  m_anmeldung.leeren();
  anzeigen();
}

}  // namespace zt
