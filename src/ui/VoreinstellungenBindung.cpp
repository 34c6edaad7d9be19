#include "ui/VoreinstellungenBindung.h"

#include "core/Sitzung.h"
#include "ui/FormZieltafel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>

namespace zt {

Feldbindung::Feldbindung(FormZieltafel& fenster, QObject* eltern) : QObject(eltern), m_fenster(fenster) {
  connect(&fenster.sitzung(), &Sitzung::geaendert, this, &Feldbindung::aktualisieren);
}

Sitzung& Feldbindung::sitzung() const { return m_fenster.sitzung(); }

void Feldbindung::text(QLineEdit* feld, std::function<QString&()> wert) {
  connect(feld, &QLineEdit::textEdited, this, [this, wert](const QString& t) {
    if (m_aktualisiert) return;
    wert() = t;
    sitzung().melden();
  });
  m_anzeigen.append([feld, wert] {
    // Only a different text is set: the caret of a field being typed in stays.
    if (feld->text() == wert()) return;
    const QSignalBlocker still(feld);
    feld->setText(wert());
    if (!feld->hasFocus()) feld->setCursorPosition(0);
  });
}

void Feldbindung::anzeige(QLineEdit* feld, std::function<QString()> wert) {
  feld->setReadOnly(true);
  m_anzeigen.append([feld, wert] {
    const QString t = wert();
    if (feld->text() != t) feld->setText(t);
  });
}

void Feldbindung::mehrzeilig(QPlainTextEdit* feld, std::function<QString&()> wert, std::function<bool()> gesperrt) {
  connect(feld, &QPlainTextEdit::textChanged, this, [this, feld, wert] {
    if (m_aktualisiert || feld->isReadOnly()) return;
    wert() = feld->toPlainText();
    sitzung().melden();
  });
  m_anzeigen.append([feld, wert, gesperrt] {
    const bool nurLesen = gesperrt();
    if (feld->isReadOnly() != nurLesen) {
      feld->setReadOnly(nurLesen);
      // A locked field looks locked, not merely deaf to the keys.
      feld->viewport()->setBackgroundRole(nurLesen ? QPalette::Window : QPalette::Base);
    }
    if (feld->toPlainText() == wert()) return;
    const QSignalBlocker still(feld);
    feld->setPlainText(wert());
  });
}

void Feldbindung::schalter(QCheckBox* box, std::function<int&()> wert) {
  connect(box, &QCheckBox::toggled, this, [this, wert](bool an) {
    if (m_aktualisiert) return;
    wert() = an ? 1 : 0;
    sitzung().melden();
  });
  m_anzeigen.append([box, wert] {
    const bool an = wert() != 0;
    if (box->isChecked() == an) return;
    const QSignalBlocker still(box);
    box->setChecked(an);
  });
}

void Feldbindung::anzeigen(std::function<void()> aktualisieren) { m_anzeigen.append(std::move(aktualisieren)); }

void Feldbindung::beimVerlassen(QWidget* w, std::function<void()> befehl, Verlassen art) {
  m_verlassen.insert(w, {std::move(befehl), art});
  w->installEventFilter(this);
}

void Feldbindung::beimDoppelklick(QWidget* w, std::function<void()> befehl) {
  m_doppelklick.insert(w, std::move(befehl));
  // Line edits only: a multi-line box would take its clicks on its viewport.
  w->installEventFilter(this);
}

void Feldbindung::aktualisieren() {
  const QScopedValueRollback guard(m_aktualisiert, true);
  for (const auto& a : m_anzeigen) a();
}

bool Feldbindung::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::FocusOut && m_verlassen.contains(objekt)) {
    const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
    const Beimverlassen v = m_verlassen.value(objekt);
    // A message box or another window taking the focus is no leaving: the
    // operator comes back to the same field.
    const bool weg = grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason;
    if (weg && v.art == Verlassen::Sofort) {
      v.befehl();
    } else if (weg && !m_fenster.befehlLaeuft()) {
      // The command runs once the focus has arrived where it was going, so
      // that its questions do not interrupt the move half-way.
      QPointer<QWidget> w = static_cast<QWidget*>(objekt);
      QTimer::singleShot(0, this, [this, w] {
        if (w) verlassen(w);
      });
    }
  } else if (ereignis->type() == QEvent::MouseButtonDblClick && m_doppelklick.contains(objekt)) {
    const auto befehl = m_doppelklick.value(objekt);
    m_fenster.befehl(befehl);
    return true;
  }
  return QObject::eventFilter(objekt, ereignis);
}

void Feldbindung::verlassen(QWidget* w) {
  const Beimverlassen v = m_verlassen.value(w);
  if (!v.befehl) return;
  if (v.art == Verlassen::BefehlSichtbar && !w->isVisible()) return;
  m_fenster.befehl(v.befehl);
}

QLabel* Beschriftung(const QString& text, QWidget* buddy, QWidget* eltern) {
  auto* l = new QLabel(text, eltern);
  l->setBuddy(buddy);
  if (!buddy->objectName().isEmpty()) l->setObjectName(QStringLiteral("lbl") + buddy->objectName());
  return l;
}

QHBoxLayout* SeitenspaltenAnlegen(QScrollArea& seite, const QString& name) {
  seite.setObjectName(name);
  seite.setWidgetResizable(true);
  seite.setFrameShape(QFrame::NoFrame);
  auto* innen = new QWidget;
  auto* spalten = new QHBoxLayout(innen);
  spalten->setContentsMargins(6, 6, 6, 6);
  seite.setWidget(innen);
  return spalten;
}

QPushButton* Knopf(const QString& name, const QString& text, const QString& tipp, QWidget* eltern) {
  auto* b = new QPushButton(text, eltern);
  b->setObjectName(name);
  if (!tipp.isEmpty()) b->setToolTip(tipp);
  b->setAutoDefault(false);
  return b;
}

}  // namespace zt
