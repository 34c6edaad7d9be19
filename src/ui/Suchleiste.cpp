#include "ui/Suchleiste.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zt {

namespace {
QLabel* beschriftung(const QString& text, QWidget* fuer, const char* name, QWidget* eltern) {
  auto* l = new QLabel(text, eltern);
  l->setObjectName(QString::fromLatin1(name));
  l->setBuddy(fuer);
  return l;
}

// Buttons beside a text box keep the focus in the box when clicked: the
// operator types on after pressing "+1".
QPushButton* knopf(const QString& text, const char* name, const QString& tipp, QWidget* eltern) {
  auto* k = new QPushButton(text, eltern);
  k->setObjectName(QString::fromLatin1(name));
  k->setToolTip(tipp);
  k->setFocusPolicy(Qt::TabFocus);
  k->setAutoDefault(false);
  return k;
}

QFrame* trenner(QWidget* eltern) {
  auto* f = new QFrame(eltern);
  f->setFrameShape(QFrame::VLine);
  f->setFrameShadow(QFrame::Sunken);
  return f;
}
}  // namespace

Suchleiste::Suchleiste(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Suchleiste"));

  txtSucheName = new QLineEdit(this);
  txtSucheName->setObjectName(QStringLiteral("txtSucheName"));
  txtSucheName->setPlaceholderText(QStringLiteral("Name, Vorname"));
  txtSucheName->setToolTip(QStringLiteral("Teilnehmer nach dem Namensanfang suchen; Enter bearbeitet den Treffer"));
  txtSucheName->setClearButtonEnabled(true);
  txtSucheName->setMinimumWidth(220);
  cmdNaechsterDatensatzName = knopf(QStringLiteral("nächster"), "cmdNaechsterDatensatzName",
                                    QStringLiteral("nächsten Teilnehmer mit diesem Namensanfang suchen (F3)"), this);

  txtSucheStartnummer = new QLineEdit(this);
  txtSucheStartnummer->setObjectName(QStringLiteral("txtSucheStartnummer"));
  txtSucheStartnummer->setToolTip(QStringLiteral("Teilnehmer nach der Startnummer suchen"));
  txtSucheStartnummer->setMaximumWidth(txtSucheStartnummer->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
  txtSucheStartnummer->setAlignment(Qt::AlignCenter);
  cmdVorherDatensatzSNr = knopf(QStringLiteral("-1"), "cmdVorherDatensatzSNr",
                                QStringLiteral("vorherige Startnummer"), this);
  cmdNaechsterDatensatzSNr = knopf(QStringLiteral("+1"), "cmdNaechsterDatensatzSNr",
                                   QStringLiteral("nächste Startnummer"), this);
  for (QPushButton* k : {cmdVorherDatensatzSNr, cmdNaechsterDatensatzSNr})
    k->setMaximumWidth(k->fontMetrics().horizontalAdvance(QStringLiteral("+1")) + 28);

  cmdDatensatzHinzufuegen = knopf(QStringLiteral("Hinzufügen"), "cmdDatensatzHinzufuegen",
                                  QStringLiteral("Neue Datenzeile hinzufügen"), this);
  cmdDatensatzLoeschen = knopf(QStringLiteral("Löschen"), "cmdDatensatzLoeschen",
                               QStringLiteral("aktuelle Datenzeile löschen"), this);

  LaufSortierungNach = new QComboBox(this);
  LaufSortierungNach->setObjectName(QStringLiteral("LaufSortierungNach"));
  LaufSortierungNach->setToolTip(QStringLiteral("Platzierung berechnen und sortieren"));
  LaufSortierungNach->setPlaceholderText(QStringLiteral("..."));
  LaufSortierungNach->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  LaufSortierungNach->setMaxVisibleItems(34);
  cmdPlatzEinBisDrei = knopf(QStringLiteral("Hauptläufe"), "cmdPlatzEinBisDrei",
                             QStringLiteral("Druckmarkierung 1. bis 3. Platz des definierten Hauptlaufes"), this);
  cmdPlatzEinBisDrei->setFocusPolicy(Qt::StrongFocus);

  CheckAutoHinzufuegen = new QCheckBox(QStringLiteral("vereinfachte Dateneingabe"), this);
  CheckAutoHinzufuegen->setObjectName(QStringLiteral("CheckAutoHinzufuegen"));
  CheckAutoHinzufuegen->setToolTip(QStringLiteral(
      "Die Spaltenanzeige wird für die Dateneingabe optimiert. Bei fehlenden Namen wird ein neuer Datensatz "
      "erzeugt. Automatisches Hinzufügen der laufenden Startnummer."));
  CheckAutoStartnummer = new QCheckBox(QStringLiteral("Startnummer automatisch"), this);
  CheckAutoStartnummer->setObjectName(QStringLiteral("CheckAutoStartnummer"));
  CheckAutoStartnummer->setToolTip(QStringLiteral("neue Teilnehmer erhalten die nächste Startnummer ihres Hauptlaufes"));

  chkClipboard = new QCheckBox(QStringLiteral("Zwischenablage überwachen"), this);
  chkClipboard->setObjectName(QStringLiteral("chkClipboard"));
  chkClipboard->setToolTip(QStringLiteral("Ein Name, der in einem anderen Programm kopiert wird, wählt den Teilnehmer aus"));

  AuswahlDuatTriatlon = new QComboBox(this);
  AuswahlDuatTriatlon->setObjectName(QStringLiteral("AuswahlDuatTriatlon"));
  AuswahlDuatTriatlon->setToolTip(QStringLiteral("Spaltenansicht für Duathlon"));
  AuswahlDuatTriatlon->setSizeAdjustPolicy(QComboBox::AdjustToContents);

  LaufDatenEntfernen = new QComboBox(this);
  LaufDatenEntfernen->setObjectName(QStringLiteral("LaufDatenEntfernen"));
  LaufDatenEntfernen->setToolTip(QStringLiteral("Spalten aller Teilnehmer löschen"));
  LaufDatenEntfernen->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  LaufDatenEntfernen->setMinimumContentsLength(12);
  LaufDatenEntfernen->setMaxVisibleItems(20);
  cmdAnmeldungEntfernen = knopf(QStringLiteral("Anmeldung entfernen"), "cmdAnmeldungEntfernen",
                                QStringLiteral("lösche Startnummer und Lauf aus Datenzeile"), this);

  auto* raster = new QGridLayout(this);
  raster->setContentsMargins(0, 0, 0, 0);
  raster->setHorizontalSpacing(6);
  raster->setVerticalSpacing(4);

  auto* oben = new QHBoxLayout;
  oben->setSpacing(6);
  oben->addWidget(beschriftung(QStringLiteral("Suche:"), txtSucheName, "lblSucheName", this));
  oben->addWidget(txtSucheName, 3);
  oben->addWidget(cmdNaechsterDatensatzName);
  oben->addSpacing(8);
  oben->addWidget(beschriftung(QStringLiteral("Start-Nr:"), txtSucheStartnummer, "lblSucheStartnummer", this));
  oben->addWidget(txtSucheStartnummer);
  oben->addWidget(cmdVorherDatensatzSNr);
  oben->addWidget(cmdNaechsterDatensatzSNr);
  oben->addWidget(trenner(this));
  oben->addWidget(cmdDatensatzHinzufuegen);
  oben->addWidget(cmdDatensatzLoeschen);
  oben->addWidget(cmdAnmeldungEntfernen);
  oben->addWidget(trenner(this));
  oben->addWidget(beschriftung(QStringLiteral("Spalten löschen:"), LaufDatenEntfernen, "lblLaufDatenEntfernen", this));
  oben->addWidget(LaufDatenEntfernen);
  oben->addStretch(1);

  auto* unten = new QHBoxLayout;
  unten->setSpacing(6);
  unten->addWidget(beschriftung(QStringLiteral("Sortierung:"), LaufSortierungNach, "lblLaufSortierungNach", this));
  unten->addWidget(LaufSortierungNach);
  unten->addWidget(cmdPlatzEinBisDrei);
  unten->addWidget(trenner(this));
  unten->addWidget(CheckAutoHinzufuegen);
  unten->addWidget(CheckAutoStartnummer);
  unten->addWidget(chkClipboard);
  unten->addWidget(trenner(this));
  unten->addWidget(beschriftung(QStringLiteral("Ansicht:"), AuswahlDuatTriatlon, "lblAuswahlDuatTriatlon", this));
  unten->addWidget(AuswahlDuatTriatlon);
  unten->addStretch(1);

  raster->addLayout(oben, 0, 0);
  raster->addLayout(unten, 1, 0);
}

}  // namespace zt
