#include "ui/Ausgabeleiste.h"

#include "output/Ergebnisliste.h"
#include "ui/FormLaeuferanzahl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zt {

namespace {
QPushButton* knopf(const char* name, const QString& text, const QString& tipp, QWidget* eltern) {
  auto* k = new QPushButton(text, eltern);
  k->setObjectName(QString::fromLatin1(name));
  k->setToolTip(tipp);
  k->setAutoDefault(false);
  return k;
}

const QString kSofortdruckTipp = QStringLiteral(
    "Die Dateierweiterung <*.rtf> MUSS mit einer Anwendung verknüpft sein, welche diesen Dokumententyp auch "
    "ausdrucken kann.");
}  // namespace

Ausgabeleiste::Ausgabeleiste(Sitzung& s, QWidget* eltern) : QWidget(eltern) {
  setObjectName(QStringLiteral("Ausgabeleiste"));
  // The three frames side by side; a narrow window scrolls them instead of
  // growing wider than the screen.
  auto* inhalt = new QWidget;
  auto* h = new QHBoxLayout(inhalt);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(4);
  h->addWidget(ergebnisliste());
  h->addWidget(urkunde());
  laeuferanzahl = new Laeuferanzahlfelder(s, inhalt);
  h->addWidget(laeuferanzahl);
  h->addStretch(1);
  auto* rollen = new QScrollArea(this);
  rollen->setFrameShape(QFrame::NoFrame);
  rollen->setWidgetResizable(true);
  rollen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  rollen->setWidget(inhalt);
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  v->addWidget(rollen);
  setFixedHeight(inhalt->sizeHint().height() + rollen->horizontalScrollBar()->sizeHint().height() + 2);
}

Ausgabeleiste::~Ausgabeleiste() { Q_EMIT weg(); }

QGroupBox* Ausgabeleiste::ergebnisliste() {
  frameErgebnisliste = new QGroupBox(QStringLiteral("Ergebnisliste"));
  frameErgebnisliste->setObjectName(QStringLiteral("frameErgebnisliste"));
  auto* g = new QGridLayout(frameErgebnisliste);
  g->setVerticalSpacing(2);
  OptErgebnisliste = new QButtonGroup(frameErgebnisliste);
  OptErgebnisliste->setObjectName(QStringLiteral("OptErgebnisliste"));
  const QList<int> modi = Listenmodi();
  for (int i = 0; i < modi.size(); ++i) {
    auto* r = new QRadioButton(Listenmodus(modi[i]), frameErgebnisliste);
    r->setObjectName(QStringLiteral("OptErgebnisliste%1").arg(modi[i]));
    OptErgebnisliste->addButton(r, modi[i]);
    g->addWidget(r, i % 4, i / 4);
  }
  chkProtokollInSek =
      new QCheckBox(QStringLiteral("Zeiten im Protokoll nicht in Millisekunden, sondern Sekunden"), frameErgebnisliste);
  chkProtokollInSek->setObjectName(QStringLiteral("chkProtokollInSek"));
  g->addWidget(chkProtokollInSek, 4, 0, 1, 3);
  cmdErzeugenErgebnisliste = knopf("cmdErzeugenErgebnisliste", QStringLiteral("Liste erstellen"),
                                   QStringLiteral("Liste erzeugen und editieren"), frameErgebnisliste);
  cmdDruckenErgebnisliste = knopf("cmdDruckenErgebnisliste", QStringLiteral("Sofortdruck"),
                                  QStringLiteral("Direktausdruck der Liste. ") + kSofortdruckTipp, frameErgebnisliste);
  cmdEditErgebnisliste = knopf("cmdEditErgebnisliste", QStringLiteral("edit"),
                               QStringLiteral("Platzhalter: RTFtxtLaufAm, RTFtxtCup"), frameErgebnisliste);
  cmdErzeugeAnmeldeliste = knopf("cmdErzeugeAnmeldeliste", QStringLiteral("Anmeldeliste"),
                                 QStringLiteral("Online-Anmeldeliste erzeugen und editieren"), frameErgebnisliste);
  auto* knoepfe = new QVBoxLayout;
  knoepfe->setSpacing(2);
  knoepfe->addWidget(cmdErzeugenErgebnisliste);
  knoepfe->addWidget(cmdDruckenErgebnisliste);
  knoepfe->addWidget(cmdEditErgebnisliste);
  knoepfe->addWidget(cmdErzeugeAnmeldeliste);
  g->addLayout(knoepfe, 0, 2, 4, 1);
  return frameErgebnisliste;
}

QGroupBox* Ausgabeleiste::urkunde() {
  frameUrkunde = new QGroupBox(QStringLiteral("Urkunde"));
  frameUrkunde->setObjectName(QStringLiteral("frameUrkunde"));
  auto* g = new QGridLayout(frameUrkunde);
  g->setVerticalSpacing(2);
  OptUrkunde = new QButtonGroup(frameUrkunde);
  OptUrkunde->setObjectName(QStringLiteral("OptUrkunde"));
  const char* texte[] = {"selektierte Zeile", "zum Druck markiert", "Startnummer"};
  for (int i = 0; i < 3; ++i) {
    auto* r = new QRadioButton(QString::fromUtf8(texte[i]), frameUrkunde);
    r->setObjectName(QStringLiteral("OptUrkunde%1").arg(i + 1));
    OptUrkunde->addButton(r, i + 1);
    g->addWidget(r, i, 0);
  }
  txtStartnummerDrucken = new QLineEdit(frameUrkunde);
  txtStartnummerDrucken->setObjectName(QStringLiteral("txtStartnummerDrucken"));
  txtStartnummerDrucken->setToolTip(QStringLiteral("Startnummer der Urkunde; Enter druckt sofort, wenn eingestellt"));
  txtStartnummerDrucken->setAlignment(Qt::AlignCenter);
  txtStartnummerDrucken->setFixedWidth(txtStartnummerDrucken->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
  txtStartnummerDrucken->setAutoFillBackground(true);
  cmdDruckenVorherige = knopf("cmdDruckenVorherige", QStringLiteral("Startnummer -1"), QString(), frameUrkunde);
  cmdDruckenNaechste = knopf("cmdDruckenNaechste", QStringLiteral("Startnummer +1"), QString(), frameUrkunde);
  // The keyboard stays in the number field while the operator steps on.
  cmdDruckenVorherige->setFocusPolicy(Qt::TabFocus);
  cmdDruckenNaechste->setFocusPolicy(Qt::TabFocus);
  // The number field right beside its option, the steps below it.
  g->addWidget(txtStartnummerDrucken, 2, 0, Qt::AlignRight);
  auto* schritte = new QHBoxLayout;
  schritte->addWidget(cmdDruckenVorherige);
  schritte->addWidget(cmdDruckenNaechste);
  g->addLayout(schritte, 3, 0);
  chkVorlageGesamtSieger = new QCheckBox(QStringLiteral("Urkunde Gesamtsieger und Walker"), frameUrkunde);
  chkVorlageGesamtSieger->setObjectName(QStringLiteral("chkVorlageGesamtSieger"));
  g->addWidget(chkVorlageGesamtSieger, 4, 0);
  cmdErzeugenUrkunde = knopf("cmdErzeugenUrkunde", QStringLiteral("Urkunde erstellen"),
                             QStringLiteral("Urkunde erzeugen und editieren"), frameUrkunde);
  cmdSofortDruckenUrkunde = knopf("cmdSofortDruckenUrkunde", QStringLiteral("Sofortdruck"), kSofortdruckTipp, frameUrkunde);
  cmdDruckmarkierung = knopf("cmdDruckmarkierung", QStringLiteral("selektiert"),
                             QStringLiteral("Druckmarkierung der selektierten Zeilen"), frameUrkunde);
  cmdEditUrkunde = knopf("cmdEditUrkunde", QStringLiteral("edit"),
                         QStringLiteral("Platzhalter: PlatzAK#, PlatzMW#, PlatzTotal#, Strecke#, AK#, Zeit#, "
                                        "StartNummer#, NameVorname#, Verein#"),
                         frameUrkunde);
  auto* knoepfe = new QVBoxLayout;
  knoepfe->setSpacing(2);
  knoepfe->addWidget(cmdErzeugenUrkunde);
  knoepfe->addWidget(cmdSofortDruckenUrkunde);
  knoepfe->addWidget(cmdDruckmarkierung);
  knoepfe->addWidget(cmdEditUrkunde);
  g->addLayout(knoepfe, 0, 1, 5, 1);
  return frameUrkunde;
}

}  // namespace zt
