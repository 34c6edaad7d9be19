#include "ui/VoreinstellungenSeite.h"

#include "core/Sitzung.h"
#include "event/AkBefehle.h"
#include "event/Hauptlauf.h"
#include "ui/FormZieltafel.h"
#include "ui/VoreinstellungenBindung.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zt {

namespace {
QLineEdit* eingabefeld(const QString& name, QWidget* eltern) {
  auto* e = new QLineEdit(eltern);
  e->setObjectName(name);
  return e;
}

QString reihenname(const char* feld, int k) { return QStringLiteral("%1(%2)").arg(QLatin1String(feld)).arg(k); }

}  // namespace

VoreinstellungenSeite::VoreinstellungenSeite(FormZieltafel& fenster, Feldbindung& bindung, QWidget* eltern)
    : QScrollArea(eltern), m_fenster(fenster), m_bindung(bindung) {
  QHBoxLayout* spalten = SeitenspaltenAnlegen(*this, QStringLiteral("SeiteVoreinstellungen"));

  // Created top-down and column by column: the keyboard walks the same way.
  auto* links = new QVBoxLayout;
  links->addWidget(veranstaltung());
  links->addWidget(startnummernbereiche());
  links->addStretch(1);
  spalten->addLayout(links, 3);
  spalten->addWidget(hauptlaeufe(), 4);
  spalten->addWidget(altersklassen(), 3);
}

QWidget* VoreinstellungenSeite::veranstaltung() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Veranstaltung"));
  auto* form = new QGridLayout(gruppe);
  const struct {
    const char* name;
    const char* text;
    QString Einstellungen::*feld;
  } felder[] = {
      {"txtNameLauf", "Lauf &Name:", &Einstellungen::txtNameLauf},
      {"txtLaufAm", "Lauf &am:", &Einstellungen::txtLaufAm},
      {"txtVerein", "&Veranstalter:", &Einstellungen::txtVerein},
      {"txtVereinEmail", "&E-Mailadresse:", &Einstellungen::txtVereinEmail},
      {"txtVereinInternet", "&Internet:", &Einstellungen::txtVereinInternet},
      {"txtCup", "&Cup:", &Einstellungen::txtCup},
  };
  int r = 0;
  for (const auto& f : felder) {
    QLineEdit* e = eingabefeld(QString::fromLatin1(f.name), gruppe);
    form->addWidget(Beschriftung(QString::fromUtf8(f.text), e, gruppe), r, 0);
    form->addWidget(e, r++, 1);
    auto feld = f.feld;
    m_bindung.text(e, [&s, feld]() -> QString& { return s.einst.*feld; });
  }
  form->setColumnStretch(1, 1);
  return gruppe;
}

QWidget* VoreinstellungenSeite::startnummernbereiche() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Startnummern"));
  gruppe->setObjectName(QStringLiteral("FrameStartnummern"));
  auto* g = new QGridLayout(gruppe);
  g->addWidget(new QLabel(QStringLiteral("Vorgabe Streckenlänge Typ:"), gruppe), 0, 0, 1, 2);
  g->addWidget(new QLabel(QStringLiteral("von"), gruppe), 0, 2);
  g->addWidget(new QLabel(QStringLiteral("bis"), gruppe), 0, 3);
  g->addWidget(new QLabel(QStringLiteral("aktuell"), gruppe), 0, 4);
  const int breite = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12;
  for (int k = 1; k <= 4; ++k) {
    auto* strecke = eingabefeld(reihenname("txtHauptlaufStrecke", k), gruppe);
    strecke->setFocusPolicy(Qt::NoFocus);
    strecke->setMinimumWidth(breite);
    m_bindung.anzeige(strecke, [&s, k] { return s.einst.txtHauptlauf[k - 1]; });
    auto* nummer = new QLabel(QString::number(k), gruppe);
    g->addWidget(nummer, k, 0);
    g->addWidget(strecke, k, 1);
    const struct {
      const char* name;
      const char* wort;
      std::array<QString, 4> Einstellungen::*feld;
    } bereiche[] = {
        {"txtHauptlaufFestVonStartnummer", "erste Startnummer", &Einstellungen::txtHauptlaufFestVonStartnummer},
        {"txtHauptlaufBisStartnummer", "letzte Startnummer", &Einstellungen::txtHauptlaufBisStartnummer},
        {"txtHauptlaufVonStartnummer", "aktuelle Startnummer", &Einstellungen::txtHauptlaufVonStartnummer},
    };
    int spalte = 2;
    for (const auto& b : bereiche) {
      QLineEdit* e = eingabefeld(reihenname(b.name, k), gruppe);
      e->setFixedWidth(breite);
      e->setAccessibleName(QStringLiteral("%1 Typ %2").arg(QString::fromUtf8(b.wort)).arg(k));
      auto feld = b.feld;
      m_bindung.text(e, [&s, feld, k]() -> QString& { return (s.einst.*feld)[k - 1]; });
      g->addWidget(e, k, spalte++);
      if (!m_startnummern) m_startnummern = e;
    }
    nummer->setBuddy(g->itemAtPosition(k, 2)->widget());
  }
  g->setColumnStretch(1, 1);
  return gruppe;
}

QWidget* VoreinstellungenSeite::hauptlaeufe() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Hauptläufe"));
  auto* v = new QVBoxLayout(gruppe);

  // The presets are commands: a button never stays chosen, so that it cannot
  // claim a preset that was declined or has been changed since.
  auto* vorgaben = new QHBoxLayout;
  vorgaben->addWidget(new QLabel(QStringLiteral("vordefinierte Veranstaltungen:"), gruppe));
  const struct {
    const char* name;
    const char* text;
    Vorgabe vorgabe;
  } knoepfe[] = {
      {"OptHauptlauf10km", "5/10km", Vorgabe::FuenfZehnKm},
      {"OptHauptlaufDuo", "Duathlon", Vorgabe::Duathlon},
      {"OptHauptlaufeigene", "eigener", Vorgabe::Eigener},
      {"OptHauptlaufPyramidenlauf", "Pyramide", Vorgabe::Pyramide},
  };
  for (const auto& k : knoepfe) {
    auto* b = new QRadioButton(QString::fromUtf8(k.text), gruppe);
    b->setObjectName(QString::fromLatin1(k.name));
    b->setAutoExclusive(false);
    const int vorgabe = static_cast<int>(k.vorgabe);
    connect(b, &QRadioButton::clicked, this, [this, b, vorgabe] { vorgabeGeklickt(b, vorgabe); });
    m_vorgaben.append(b);
    vorgaben->addWidget(b);
  }
  vorgaben->addStretch(1);
  v->addLayout(vorgaben);

  auto* g = new QGridLayout;
  for (int k = 1; k <= 4; ++k) {
    auto* name = eingabefeld(reihenname("txtHauptlauf", k), gruppe);
    m_bindung.text(name, [&s, k]() -> QString& { return s.einst.txtHauptlauf[k - 1]; });
    g->addWidget(Beschriftung(QStringLiteral("Typ &%1:").arg(k), name, gruppe), 0, k - 1);
    g->addWidget(name, 1, k - 1);
    g->setColumnStretch(k - 1, 1);
    if (k == 4) break;
    const int liste = k - 1;
    auto* l = new QListWidget(gruppe);
    l->setObjectName(reihenname("Hauptlauf", k));
    l->setAccessibleName(QStringLiteral("Altersklassen Typ %1").arg(k));
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setMinimumHeight(220);
    m_akListen[liste] = l;
    connect(l, &QListWidget::itemChanged, this, [this, k](QListWidgetItem* e) { akGeaendert(k, e); });
    connect(l, &QListWidget::currentRowChanged, this, [this, &s, liste](int zeile) {
      if (!m_bindung.aktualisiertGerade() && zeile >= 0) s.einst.hauptlaufAkAktuell[liste] = zeile;
    });
    g->addWidget(l, 2, k - 1);
    auto* plus = Knopf(reihenname("cmdP", k), QStringLiteral("alles auswählen"), QString(), gruppe);
    auto* minus = Knopf(reihenname("cmdM", k), QStringLiteral("alles löschen"), QString(), gruppe);
    connect(plus, &QPushButton::clicked, this, [this, &s, liste] { m_fenster.befehl([&s, liste] { AlleAuswaehlen(s, liste); }); });
    connect(minus, &QPushButton::clicked, this, [this, &s, liste] { m_fenster.befehl([&s, liste] { AlleLoeschen(s, liste); }); });
    g->addWidget(plus, 3, k - 1);
    g->addWidget(minus, 4, k - 1);
    m_bindung.anzeigen([this, liste] { akListeAnzeigen(liste); });
  }
  // Type 4 has no list; its column holds the commands that concern all lists.
  auto* rechts = new QVBoxLayout;
  auto* reset = Knopf(QStringLiteral("CmdHauptlauf"), QStringLiteral("entfernen aller AK"), QString(), gruppe);
  connect(reset, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { HauptlaufZuruecksetzen(s); }); });
  auto* edit = Knopf(QStringLiteral("cmdEditAK"), QStringLiteral("edit"),
                     QStringLiteral("AK-Hauptläufe für Typ 1-3. Definition nur für Protokoll."), gruppe);
  connect(edit, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { CmdEditAK(s); }); });
  rechts->addWidget(reset);
  rechts->addWidget(edit);
  rechts->addStretch(1);
  g->addLayout(rechts, 2, 3);
  v->addLayout(g, 1);
  return gruppe;
}

QWidget* VoreinstellungenSeite::altersklassen() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Altersklassen"));
  auto* v = new QVBoxLayout(gruppe);

  auto* jahrZeile = new QHBoxLayout;
  auto* jahr = eingabefeld(QStringLiteral("txtBezugsjahrAK"), gruppe);
  jahr->setToolTip(QStringLiteral("Das Bezugsjahr für die Altersklassenberechnung wird automatisch bei Neustart auf "
                                  "das aktuelle Jahr gesetzt."));
  jahr->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
  m_bindung.text(jahr, [&s]() -> QString& { return s.txtBezugsjahrAK; });
  m_bindung.beimVerlassen(jahr, [&s] { CmdAKNeuberechnung(s); }, Feldbindung::Verlassen::Befehl);
  m_bezugsjahr = jahr;
  auto* neu = Knopf(QStringLiteral("CmdAKNeuberechnung"), QStringLiteral("neu berechnen"),
                    QStringLiteral("AK neu berechnen"), gruppe);
  connect(neu, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { CmdAKNeuberechnung(s); }); });
  jahrZeile->addWidget(Beschriftung(QStringLiteral("&Jahr AK:"), jahr, gruppe));
  jahrZeile->addWidget(jahr);
  jahrZeile->addWidget(neu);
  jahrZeile->addStretch(1);
  v->addLayout(jahrZeile);

  auto* definition = new QPlainTextEdit(gruppe);
  definition->setObjectName(QStringLiteral("txtDefGlobalAK"));
  definition->setTabChangesFocus(true);
  definition->setMaximumHeight(fontMetrics().lineSpacing() * 8 + 12);
  definition->setToolTip(QStringLiteral("Änderungen erst nach \"AK-Zuordnungen ändern\""));
  m_bindung.mehrzeilig(definition, [&s]() -> QString& { return s.einst.txtDefGlobalAK; },
                       [&s] { return s.akDefinitionGesperrt; });
  m_bindung.beimVerlassen(definition, [&s] { DefinitionVerlassen(s); }, Feldbindung::Verlassen::Sofort);
  v->addWidget(Beschriftung(QStringLiteral("&Definition globale AK:"), definition, gruppe));
  v->addWidget(definition);
  auto* aendern = Knopf(QStringLiteral("cmdGlobalAK"), QStringLiteral("AK-Zuordnungen ändern"), QString(), gruppe);
  connect(aendern, &QPushButton::clicked, this, [this, &s, definition] {
    m_fenster.befehl([&s] { CmdGlobalAK(s); });
    if (!s.akDefinitionGesperrt) definition->setFocus(Qt::OtherFocusReason);
  });
  auto* knopfZeile = new QHBoxLayout;
  knopfZeile->addWidget(aendern);
  knopfZeile->addStretch(1);
  v->addLayout(knopfZeile);

  m_alterstabelle = new QTableWidget(0, 2, gruppe);
  m_alterstabelle->setObjectName(QStringLiteral("sevGridGlobalAK"));
  m_alterstabelle->setHorizontalHeaderLabels({QStringLiteral("Alter"), QStringLiteral("AK")});
  m_alterstabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_alterstabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_alterstabelle->verticalHeader()->hide();
  m_alterstabelle->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  m_alterstabelle->horizontalHeader()->setStretchLastSection(true);
  m_alterstabelle->setAccessibleName(QStringLiteral("Altersklassentabelle"));
  v->addWidget(m_alterstabelle, 1);
  m_bindung.anzeigen([this] { alterstabelleAnzeigen(); });
  return gruppe;
}

void VoreinstellungenSeite::akListeAnzeigen(int liste) {
  const Sitzung& s = m_fenster.sitzung();
  const QList<AkEintrag>& eintraege = s.einst.hauptlaufAk[liste];
  QListWidget* l = m_akListen[liste];
  const QSignalBlocker still(l);
  bool gleich = l->count() == eintraege.size();
  for (int i = 0; gleich && i < l->count(); ++i) gleich = l->item(i)->text() == eintraege[i].text;
  if (!gleich) {
    l->clear();
    for (const AkEintrag& e : eintraege) {
      auto* item = new QListWidgetItem(e.text, l);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      // An item without a check state shows no box and cannot be ticked:
      // every entry starts with one, ticked or not.
      item->setCheckState(Qt::Unchecked);
    }
  }
  for (int i = 0; i < eintraege.size(); ++i) {
    const Qt::CheckState zustand = eintraege[i].ausgewaehlt ? Qt::Checked : Qt::Unchecked;
    if (l->item(i)->checkState() != zustand) l->item(i)->setCheckState(zustand);
  }
  const int aktuell = std::clamp(s.einst.hauptlaufAkAktuell[liste], 0, std::max(0, int(eintraege.size()) - 1));
  if (!eintraege.isEmpty() && l->currentRow() != aktuell) l->setCurrentRow(aktuell);
}

void VoreinstellungenSeite::akGeaendert(int k, QListWidgetItem* eintrag) {
  if (m_bindung.aktualisiertGerade()) return;
  Sitzung& s = m_fenster.sitzung();
  const int zeile = m_akListen[k - 1]->row(eintrag);
  const bool an = eintrag->checkState() == Qt::Checked;
  m_fenster.befehl([&s, k, zeile, an] { AkAuswaehlen(s, k - 1, zeile, an); });
  // A refused command leaves the mark as the session has it.
  m_bindung.aktualisieren();
}

void VoreinstellungenSeite::vorgabeGeklickt(QRadioButton* knopf, int vorgabe) {
  Sitzung& s = m_fenster.sitzung();
  m_fenster.befehl([&s, vorgabe] { VorgabeWaehlen(s, static_cast<Vorgabe>(vorgabe)); });
  knopf->setChecked(false);
}

void VoreinstellungenSeite::alterstabelleAnzeigen() {
  const QList<QPair<int, QString>> zeilen = m_fenster.sitzung().alterstabelle.zeilen();
  if (zeilen == m_gezeigteAlter) return;
  m_gezeigteAlter = zeilen;
  m_alterstabelle->setRowCount(int(zeilen.size()));
  for (int i = 0; i < zeilen.size(); ++i) {
    m_alterstabelle->setItem(i, 0, new QTableWidgetItem(QString::number(zeilen[i].first)));
    m_alterstabelle->setItem(i, 1, new QTableWidgetItem(zeilen[i].second));
  }
}

}  // namespace zt
