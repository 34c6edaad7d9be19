#include "ui/VoreinstellungenSonstiges.h"

#include "app/Pfadpruefung.h"
#include "core/Sitzung.h"
#include "persistence/EinstellungenBefehle.h"
#include "ui/FormZieltafel.h"
#include "ui/VoreinstellungenBindung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zt {


VoreinstellungenSonstiges::VoreinstellungenSonstiges(FormZieltafel& fenster, Feldbindung& bindung, QWidget* eltern)
    : QScrollArea(eltern), m_fenster(fenster), m_bindung(bindung) {
  QHBoxLayout* spalten = SeitenspaltenAnlegen(*this, QStringLiteral("SeiteSonstiges"));
  auto* links = new QVBoxLayout;
  links->addWidget(pfade());
  links->addWidget(drucker());
  links->addWidget(info());
  links->addStretch(1);
  spalten->addLayout(links, 3);
  auto* rechts = new QVBoxLayout;
  rechts->addWidget(schalter());
  rechts->addStretch(1);
  spalten->addLayout(rechts, 2);
}

QWidget* VoreinstellungenSonstiges::pfade() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Dateien und Programme"));
  auto* g = new QGridLayout(gruppe);
  using V = Feldbindung::Verlassen;
  const struct {
    const char* name;
    const char* text;
    QString Einstellungen::*feld;
    Pfadfeld pfad;
  } felder[] = {
      {"txtOptionen", "&Optionen gespeichert unter:", &Einstellungen::txtOptionen, Pfadfeld::Keins},
      {"txtVorlageErgebnisliste", "Vorlage &Ergebnisliste:", &Einstellungen::txtVorlageErgebnisliste,
       Pfadfeld::VorlageErgebnisliste},
      {"txtVorlageUrkunde", "Vorlage &Urkunde:", &Einstellungen::txtVorlageUrkunde, Pfadfeld::VorlageUrkunde},
      {"txtVorlageUrkundeGesamtsieger", "Vorlage Urkunde &Gesamtsieger:",
       &Einstellungen::txtVorlageUrkundeGesamtsieger, Pfadfeld::VorlageUrkundeGesamtsieger},
      {"txtWinWord", "Pfad zur &WinWord-RTF-Applikation:", &Einstellungen::txtWinWord, Pfadfeld::WinWord},
      {"txtTextpad", "Pfad zum &Text-Editor:", &Einstellungen::txtTextpad, Pfadfeld::Textpad},
      {"txtZeitnahmeDatei", "Pfad für &Zeitnahme-Datei <lauf.erg>:", &Einstellungen::txtZeitnahmeDatei,
       Pfadfeld::ZeitnahmeDatei},
      {"txtZeitnahmeLWSicherung", "Laufwerk für &Sicherungsdatei:", &Einstellungen::txtZeitnahmeLWSicherung,
       Pfadfeld::ZeitnahmeLWSicherung},
  };
  int r = 0;
  for (const auto& f : felder) {
    auto* e = new QLineEdit(gruppe);
    e->setObjectName(QString::fromLatin1(f.name));
    auto feld = f.feld;
    m_bindung.text(e, [&s, feld]() -> QString& { return s.einst.*feld; });
    const Pfadfeld pfad = f.pfad;
    if (pfad != Pfadfeld::Keins)
      m_bindung.beimVerlassen(e, [&s, pfad] { PfadePruefen(s, false, pfad); }, V::BefehlSichtbar);
    const bool vorlage = pfad == Pfadfeld::VorlageErgebnisliste || pfad == Pfadfeld::VorlageUrkunde ||
                         pfad == Pfadfeld::VorlageUrkundeGesamtsieger;
    if (vorlage) {
      e->setToolTip(QStringLiteral("Doppelklick: Vorlage auswählen"));
      m_bindung.beimDoppelklick(e, [&s, pfad] { PfadePruefen(s, true, pfad); });
    }
    g->addWidget(Beschriftung(QString::fromUtf8(f.text), e, gruppe), r, 0);
    g->addWidget(e, r, 1);
    // The commands beside a field come right after it on the keyboard.
    QPushButton* daneben = nullptr;
    if (pfad == Pfadfeld::VorlageUrkundeGesamtsieger) {
      daneben = Knopf(QStringLiteral("Command5"), QStringLiteral("edit"),
                      QStringLiteral("Vorlage Urkunde Gesamtsieger mit der Textverarbeitung öffnen"), gruppe);
      connect(daneben, &QPushButton::clicked, this,
              [this, &s] { m_fenster.befehl([&s] { GesamtsiegerVorlageOeffnen(s); }); });
    } else if (pfad == Pfadfeld::WinWord) {
      daneben = Knopf(QStringLiteral("Command3"), QStringLiteral("Standard"), QString(), gruppe);
      connect(daneben, &QPushButton::clicked, this,
              [this, &s] { m_fenster.befehl([&s] { StandardTextverarbeitung(s); }); });
    } else if (pfad == Pfadfeld::Textpad) {
      daneben = Knopf(QStringLiteral("Command4"), QStringLiteral("Standard"), QString(), gruppe);
      connect(daneben, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { StandardTexteditor(s); }); });
    }
    if (daneben) g->addWidget(daneben, r, 2);
    ++r;
  }

  auto* pruefen = new QCheckBox(QStringLiteral("Pfadnamen automatisch &prüfen"), gruppe);
  pruefen->setObjectName(QStringLiteral("chkPruefePfadNamen"));
  m_bindung.schalter(pruefen, [&s]() -> int& { return s.einst.chkPruefePfadNamen; });
  g->addWidget(pruefen, r++, 1, 1, 2);

  auto* knoepfe = new QHBoxLayout;
  auto* sichern = Knopf(QStringLiteral("cmdIniLokalSichern"), QStringLiteral("sichern"),
                        QStringLiteral("ini-Daten extra in der automatisch vorgegebenen Datei sichern"), gruppe);
  connect(sichern, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { CmdIniLokalSichern(s); }); });
  auto* standards = Knopf(QStringLiteral("ZuweisenStandards"), QStringLiteral("setzt alle aktuelle Standards"),
                          QStringLiteral("setzt Standards: Programme und Dateinnamen"), gruppe);
  connect(standards, &QPushButton::clicked, this, [this, &s] { m_fenster.befehl([&s] { ZuweisenStandards(s); }); });
  knoepfe->addWidget(sichern);
  knoepfe->addWidget(standards);
  knoepfe->addStretch(1);
  g->addLayout(knoepfe, r, 1, 1, 2);
  g->setColumnStretch(1, 1);
  return gruppe;
}

QWidget* VoreinstellungenSonstiges::schalter() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Optionen"));
  auto* v = new QVBoxLayout(gruppe);
  const struct {
    const char* name;
    const char* text;
    int Einstellungen::*feld;
  } schalter[] = {
      {"CheckUpdateSpeichern", "Nachfrage ob Änderung der Zelle gespeichert werden soll?",
       &Einstellungen::CheckUpdateSpeichern},
      {"CheckAddNewSpeichern", "Nachfrage ob neuer Datensatz übernommen werden soll?",
       &Einstellungen::CheckAddNewSpeichern},
      {"CheckNoHighlight", "Datenzeile farbig markieren", &Einstellungen::CheckNoHighlight},
      {"CheckLoescheTextfeldSucheNamen", "lösche Textfeld \"suche Namen\", springe an 1.Position im Datensatz",
       &Einstellungen::CheckLoescheTextfeldSucheNamen},
      {"CheckDateiGeladenUeberschreiben", "geladene Datenbank darf überschrieben werden",
       &Einstellungen::CheckDateiGeladenUeberschreiben},
      {"CheckAutomSpeichernDatenbank", "automatisches Speichern der Datenbank nach Dateneingabe",
       &Einstellungen::CheckAutomSpeichernDatenbank},
      {"CheckFarbeDatenzeile", "Zeilen der Datenbank farbig absetzen", &Einstellungen::CheckFarbeDatenzeile},
      {"CheckUrkundeDrucken", "Urkunde nach Startnummereingabe und ENTER gleich ausdrucken",
       &Einstellungen::CheckUrkundeDrucken},
      {"CheckUrkundeDruckenPruefung", "Information, wenn Urkunde schon ausgedruckt wurde",
       &Einstellungen::CheckUrkundeDruckenPruefung},
      {"CheckPruefungAK", "Altersklasse automatisch zuordnen", &Einstellungen::CheckPruefungAK},
      {"CheckPruefungMWzuordnen", "M/W automatisch bei Startnummer > 0 zuordnen ",
       &Einstellungen::CheckPruefungMWzuordnen},
  };
  for (const auto& sch : schalter) {
    auto* box = new QCheckBox(QString::fromUtf8(sch.text), gruppe);
    box->setObjectName(QString::fromLatin1(sch.name));
    auto feld = sch.feld;
    m_bindung.schalter(box, [&s, feld]() -> int& { return s.einst.*feld; });
    v->addWidget(box);
  }
  return gruppe;
}

QComboBox* VoreinstellungenSonstiges::druckerwahl(const QString& name, QString* feld) {
  Sitzung& s = m_fenster.sitzung();
  auto* c = new QComboBox;
  c->setObjectName(name);
  c->addItems(s.system.drucker());
  c->setPlaceholderText(QStringLiteral("kein Drucker eingerichtet"));
  c->setEnabled(c->count() > 0);
  connect(c, &QComboBox::activated, this, [&s, c, feld](int) {
    *feld = c->currentText();
    s.melden();
  });
  // Until one is picked, the printer the system prints on anyway is shown.
  const QString standard = s.system.standardDrucker();
  m_bindung.anzeigen([c, feld, standard] {
    const int i = c->findText(feld->isEmpty() ? standard : *feld);
    if (i >= 0 && c->currentIndex() != i) {
      const QSignalBlocker still(c);
      c->setCurrentIndex(i);
    }
  });
  return c;
}

QWidget* VoreinstellungenSonstiges::drucker() {
  Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Drucker"));
  auto* g = new QGridLayout(gruppe);
  QComboBox* eins = druckerwahl(QStringLiteral("ComboPrinterEins"), &s.druckerErgebnisliste);
  QComboBox* zwei = druckerwahl(QStringLiteral("ComboPrinterZwei"), &s.druckerUrkunde);
  g->addWidget(Beschriftung(QStringLiteral("Drucker für Ergebnisliste (eventuell farbig)"), eins, gruppe), 0, 0);
  g->addWidget(eins, 0, 1);
  g->addWidget(Beschriftung(QStringLiteral("Drucker für Urkunde (eventuell nur schwarz)"), zwei, gruppe), 1, 0);
  g->addWidget(zwei, 1, 1);
  g->setColumnStretch(1, 1);
  return gruppe;
}

QWidget* VoreinstellungenSonstiges::info() {
  const Sitzung& s = m_fenster.sitzung();
  auto* gruppe = new QGroupBox(QStringLiteral("Info"));
  auto* g = new QGridLayout(gruppe);
  const std::pair<const char*, QString> zeilen[] = {
      {"Programmordner:", QDir::toNativeSeparators(s.pfade.programmordner)},
      {"Arbeitsordner:", QDir::toNativeSeparators(s.pfade.arbeitsordner)},
      {"Version:", QStringLiteral("Zieltafel ") + Versionstext()},
  };
  int r = 0;
  for (const auto& [text, wert] : zeilen) {
    auto* w = new QLabel(wert, gruppe);
    w->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(new QLabel(QString::fromUtf8(text), gruppe), r, 0);
    g->addWidget(w, r++, 1);
  }
  g->setColumnStretch(1, 1);
  return gruppe;
}

}  // namespace zt
