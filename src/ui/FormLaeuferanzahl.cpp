#include "ui/FormLaeuferanzahl.h"

#include "core/Sitzung.h"
#include "output/Ausgabe.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zt {

namespace {
QLineEdit* zahlfeld(const QString& name, QWidget* eltern) {
  auto* f = new QLineEdit(eltern);
  f->setObjectName(name);
  f->setReadOnly(true);
  f->setAlignment(Qt::AlignCenter);
  f->setFocusPolicy(Qt::ClickFocus);
  f->setFixedWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  return f;
}

QPushButton* knopf(const QString& name, const QString& text, QWidget* eltern) {
  auto* k = new QPushButton(text, eltern);
  k->setObjectName(name);
  k->setAutoDefault(false);
  return k;
}
}  // namespace

Laeuferanzahlfelder::Laeuferanzahlfelder(Sitzung& s, QWidget* eltern)
    : QGroupBox(QStringLiteral("Läuferanzahl"), eltern), m_s(s) {
  setObjectName(QStringLiteral("frameLaeuferanzahl"));
  auto* g = new QGridLayout(this);
  g->setHorizontalSpacing(4);
  g->setVerticalSpacing(2);
  g->addWidget(new QLabel(QStringLiteral("m"), this), 0, 1, Qt::AlignCenter);
  g->addWidget(new QLabel(QStringLiteral("w"), this), 0, 2, Qt::AlignCenter);
  g->addWidget(new QLabel(QStringLiteral("Summe"), this), 0, 3, Qt::AlignCenter);
  for (int k = 0; k < 4; ++k) {
    lblHauptlaufStrecke[k] = new QLabel(this);
    lblHauptlaufStrecke[k]->setObjectName(QStringLiteral("lblHauptlaufStrecke%1").arg(k + 1));
    TypM[k] = zahlfeld(QStringLiteral("Typ%1M").arg(k + 1), this);
    TypW[k] = zahlfeld(QStringLiteral("Typ%1W").arg(k + 1), this);
    SummeTyp[k] = zahlfeld(QStringLiteral("SummeTyp%1").arg(k + 1), this);
    g->addWidget(lblHauptlaufStrecke[k], k + 1, 0);
    g->addWidget(TypM[k], k + 1, 1);
    g->addWidget(TypW[k], k + 1, 2);
    g->addWidget(SummeTyp[k], k + 1, 3);
  }
  LaeuferWalker = zahlfeld(QStringLiteral("LaeuferWalker"), this);
  LaeuferSumme = zahlfeld(QStringLiteral("LaeuferSumme"), this);
  auto* walker = new QLabel(QStringLiteral("Walker"), this);
  walker->setBuddy(LaeuferWalker);
  auto* summe = new QLabel(QStringLiteral("Gesamtanzahl Teilnehmer"), this);
  summe->setBuddy(LaeuferSumme);
  g->addWidget(walker, 5, 0, 1, 3, Qt::AlignRight);
  g->addWidget(LaeuferWalker, 5, 3);
  g->addWidget(summe, 6, 0, 1, 3, Qt::AlignRight);
  g->addWidget(LaeuferSumme, 6, 3);
  cmdLaeuferSumme = knopf(QStringLiteral("cmdLaeuferSumme"), QStringLiteral("berechnen"), this);
  cmdLaeufer = knopf(QStringLiteral("cmdLaeufer"), QStringLiteral("Anmeldung als Läufer"), this);
  cmdWalker = knopf(QStringLiteral("cmdWalker"), QStringLiteral("Anmeldung als Walker"), this);
  auto* knoepfe = new QVBoxLayout;
  knoepfe->setSpacing(2);
  knoepfe->addWidget(cmdLaeuferSumme);
  knoepfe->addWidget(cmdLaeufer);
  knoepfe->addWidget(cmdWalker);
  knoepfe->addStretch(1);
  g->addLayout(knoepfe, 0, 4, 7, 1);
  g->setColumnStretch(5, 1);
  anzeigen();
}

void Laeuferanzahlfelder::anzeigen() {
  const Laeuferzahlen& n = Ausgabe::von(m_s).zahlen;
  const auto text = [&n](int wert) { return n.gezaehlt ? QString::number(wert) : QString(); };
  for (int k = 0; k < 4; ++k) {
    lblHauptlaufStrecke[k]->setText(m_s.einst.txtHauptlauf[k]);
    TypM[k]->setText(text(n.AnzahlM[k]));
    TypW[k]->setText(text(n.AnzahlW[k]));
    SummeTyp[k]->setText(text(n.AnzahlM[k] + n.AnzahlW[k]));
  }
  LaeuferWalker->setText(text(n.AnzahlWalker));
  LaeuferSumme->setText(text(n.AnzahlLaeufer));
}

FormLaeuferanzahl::FormLaeuferanzahl(Sitzung& s, QWidget* eltern) : QDialog(eltern) {
  setObjectName(QStringLiteral("FormLaeuferanzahl"));
  setWindowTitle(QStringLiteral("Läuferanzahl"));
  setModal(false);
  auto* v = new QVBoxLayout(this);
  m_felder = new Laeuferanzahlfelder(s, this);
  v->addWidget(m_felder);
  auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::hide);
  v->addWidget(knoepfe);
}

}  // namespace zt
