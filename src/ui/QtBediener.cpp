#include "ui/QtBediener.h"

#include "timing/Zeitnahme.h"
#include "ui/Dateifilter.h"
#include "ui/FormZieltafel.h"
#include "ui/ZeitnahmeSeite.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <optional>

namespace zt {

namespace {
QMessageBox::Icon qtSymbol(Symbol s) {
  switch (s) {
    case Symbol::Frage: return QMessageBox::Question;
    case Symbol::Ausruf: return QMessageBox::Warning;
    case Symbol::Stopp: return QMessageBox::Critical;
    case Symbol::Information: return QMessageBox::Information;
    case Symbol::Keins: break;
  }
  return QMessageBox::NoIcon;
}

struct Knopf {
  Antwort antwort;
  const char* text;
  QMessageBox::ButtonRole rolle;
};

QList<Knopf> knoepfeVon(Knoepfe k) {
  switch (k) {
    case Knoepfe::Ok: return {{Antwort::Ok, "OK", QMessageBox::AcceptRole}};
    case Knoepfe::OkAbbrechen:
      return {{Antwort::Ok, "OK", QMessageBox::AcceptRole},
              {Antwort::Abbrechen, "Abbrechen", QMessageBox::RejectRole}};
    case Knoepfe::JaNein:
    case Knoepfe::JaNeinStandardNein:
      return {{Antwort::Ja, "Ja", QMessageBox::YesRole}, {Antwort::Nein, "Nein", QMessageBox::NoRole}};
    case Knoepfe::JaNeinAbbrechen:
      return {{Antwort::Ja, "Ja", QMessageBox::YesRole},
              {Antwort::Nein, "Nein", QMessageBox::NoRole},
              {Antwort::Abbrechen, "Abbrechen", QMessageBox::RejectRole}};
  }
  return {};
}

// Closing a box with Escape or its title-bar button counts as the most
// harmless answer: cancel where there is one, otherwise No, otherwise OK.
Antwort fluchtantwort(Knoepfe k) {
  switch (k) {
    case Knoepfe::Ok: return Antwort::Ok;
    case Knoepfe::JaNein:
    case Knoepfe::JaNeinStandardNein: return Antwort::Nein;
    case Knoepfe::OkAbbrechen:
    case Knoepfe::JaNeinAbbrechen: return Antwort::Abbrechen;
  }
  return Antwort::Abbrechen;
}

// Fills a message box with German buttons; returns the button per answer.
QList<std::pair<QAbstractButton*, Antwort>> knoepfeSetzen(QMessageBox& box, Knoepfe k) {
  QList<std::pair<QAbstractButton*, Antwort>> liste;
  for (const Knopf& kn : knoepfeVon(k)) {
    QPushButton* b = box.addButton(QString::fromUtf8(kn.text), kn.rolle);
    liste.append({b, kn.antwort});
    if (kn.antwort == fluchtantwort(k)) box.setEscapeButton(b);
  }
  if (!liste.isEmpty()) box.setDefaultButton(static_cast<QPushButton*>(liste.first().first));
  if (k == Knoepfe::JaNeinStandardNein) box.setDefaultButton(static_cast<QPushButton*>(liste.last().first));
  return liste;
}

// While the clock runs, a box that still comes up must not take the next
// "number, Enter" as its answer: digits and Enter go on to the start-number
// field, Space is dropped, and only a click or another key answers.
class Tastensperre : public QObject {
 public:
  Tastensperre(QWidget* box, ZeitnahmeSeite* seite) : m_box(box), m_seite(seite) { qApp->installEventFilter(this); }
  ~Tastensperre() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* ziel, QEvent* e) override {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyRelease)
      return false;
    auto* w = qobject_cast<QWidget*>(ziel);
    if (!w || (w != m_box && !m_box->isAncestorOf(w))) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    const bool ziffer = k->text().size() == 1 && k->text().at(0).isDigit();
    if (!enter && !ziffer && k->key() != Qt::Key_Space) return false;
    if (k->modifiers() & ~Qt::KeypadModifier) return false;
    if (e->type() == QEvent::KeyPress && m_seite && (enter || ziffer)) m_seite->tasteAusDialog(enter ? QString() : k->text());
    e->accept();
    return true;
  }

 private:
  QWidget* m_box;
  QPointer<ZeitnahmeSeite> m_seite;
};

Antwort antwortVon(const QMessageBox& box, const QList<std::pair<QAbstractButton*, Antwort>>& liste,
                   Knoepfe k) {
  for (const auto& [knopf, antwort] : liste)
    if (box.clickedButton() == knopf) return antwort;
  return fluchtantwort(k);
}
}  // namespace

void QtBediener::setFenster(FormZieltafel* fenster) { m_fenster = fenster; }

QWidget* QtBediener::elternfenster() const {
  if (QWidget* aktiv = QApplication::activeModalWidget()) return aktiv;
  // A question of the time-file editor belongs in front of the editor, not
  // behind it over the main window.
  if (QWidget* aktiv = QApplication::activeWindow()) return aktiv;
  return m_fenster.data();
}

int QtBediener::modal(const std::function<int()>& ausfuehren) {
  const bool sanduhrAn = QApplication::overrideCursor() != nullptr;
  if (sanduhrAn) QApplication::setOverrideCursor(Qt::ArrowCursor);
  if (m_fenster) m_fenster->dialogOffen(true);
  const int ergebnis = ausfuehren();
  if (m_fenster) m_fenster->dialogOffen(false);
  if (sanduhrAn) QApplication::restoreOverrideCursor();
  return ergebnis;
}

bool QtBediener::zeitnahmeAktiv() const {
  return m_fenster && m_fenster->zeitnahme() && m_fenster->zeitnahme()->zustand() != Zeitnahmezustand::Bereit;
}

Antwort QtBediener::meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) {
  const bool rennen = zeitnahmeAktiv();
  // A notice during the race goes on the timing page, like the write warning.
  if (rennen && knoepfe == Knoepfe::Ok && m_fenster->zeitnahme()->fragenAufSeite()) {
    m_fenster->zeitnahme()->hinweisen(titel, text, symbol);
    return Antwort::Ok;
  }
  if (meldungErsatz) return meldungErsatz(titel, text, symbol, knoepfe);
  QMessageBox box(qtSymbol(symbol), titel, text, QMessageBox::NoButton, elternfenster());
  const auto liste = knoepfeSetzen(box, knoepfe);
  std::optional<Tastensperre> sperre;
  if (rennen) {
    for (const auto& [knopf, antwort] : liste)
      if (antwort == fluchtantwort(knoepfe)) box.setDefaultButton(static_cast<QPushButton*>(knopf));
    sperre.emplace(&box, m_fenster->zeitnahmeSeite());
  }
  modal([&] { return box.exec(); });
  return antwortVon(box, liste, knoepfe);
}

std::pair<Antwort, bool> QtBediener::frageMitHaken(const QString& titel, const QString& text,
                                                   const QString& haken) {
  if (meldungErsatz) return {meldungErsatz(titel, text, Symbol::Frage, Knoepfe::JaNein), false};
  QMessageBox box(QMessageBox::Question, titel, text, QMessageBox::NoButton, elternfenster());
  const auto liste = knoepfeSetzen(box, Knoepfe::JaNein);
  auto* haekchen = new QCheckBox(haken, &box);
  box.setCheckBox(haekchen);
  modal([&] { return box.exec(); });
  return {antwortVon(box, liste, Knoepfe::JaNein), haekchen->isChecked()};
}

Dateiwahl QtBediener::dialog(bool speichern, const QString& titel, const QString& filter,
                             const QString& start, int filterIndex) {
  if (!m_vorbereitet.empty()) {
    Dateiwahl w = m_vorbereitet.front();
    m_vorbereitet.pop_front();
    return w;
  }
  if (dateiwahlErsatz) return dateiwahlErsatz(speichern, titel, filter, start, filterIndex);
  const QStringList qtFilter = QtFilterliste(filter);
  QFileDialog d(elternfenster(), titel);
  d.setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The save operations ask their own overwrite question (and make a backup).
  if (speichern) d.setOption(QFileDialog::DontConfirmOverwrite);
  d.setLabelText(QFileDialog::Accept, speichern ? QStringLiteral("Speichern") : QStringLiteral("Öffnen"));
  d.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
  d.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
  d.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
  d.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
  if (!qtFilter.isEmpty()) {
    d.setNameFilters(qtFilter);
    d.selectNameFilter(qtFilter.value(std::clamp(filterIndex, 1, int(qtFilter.size())) - 1));
  }
  if (!start.isEmpty()) {
    const QFileInfo info(start);
    if (info.isDir()) d.setDirectory(start);
    else {
      if (info.dir().exists()) d.setDirectory(info.dir());
      d.selectFile(info.fileName());
    }
  }
  const bool ok = modal([&] { return d.exec(); }) == QDialog::Accepted && !d.selectedFiles().isEmpty();
  if (!ok) return {};
  return {QDir::fromNativeSeparators(d.selectedFiles().first()), FilterIndex(qtFilter, d.selectedNameFilter())};
}

Dateiwahl QtBediener::dateiOeffnen(const QString& titel, const QString& filter, const QString& start,
                                   int filterIndex) {
  return dialog(false, titel, filter, start, filterIndex);
}

Dateiwahl QtBediener::dateiSpeichern(const QString& titel, const QString& filter, const QString& start,
                                     int filterIndex) {
  return dialog(true, titel, filter, start, filterIndex);
}

void QtBediener::status(int feld, const QString& text) {
  if (statusBeobachter) statusBeobachter(feld, text);
  if (m_fenster) m_fenster->statusSetzen(feld, text);
}

void QtBediener::ereignisse() { QApplication::processEvents(); }

void QtBediener::sperren(bool gesperrt) {
  if (m_fenster) m_fenster->sperren(gesperrt);
}

void QtBediener::zeitnahmeSperre(bool an) {
  if (m_fenster) m_fenster->zeitnahmeSperre(an);
}

void QtBediener::sanduhr(bool an) {
  if (an) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_sanduhren;
  } else if (m_sanduhren > 0) {
    // An extra "off" must not restore a pointer someone else set.
    QApplication::restoreOverrideCursor();
    --m_sanduhren;
  }
}

void QtBediener::zeigen(Ziel ziel) {
  if (m_fenster) m_fenster->zeigen(ziel);
}

void QtBediener::fehlermanager(const QString& bericht) {
  if (m_fenster) m_fenster->fehlermanagerZeigen(bericht);
}

void QtBediener::einmalig(int millisekunden, std::function<void()> aufruf) {
  if (!m_fenster) {
    QTimer::singleShot(std::max(0, millisekunden), qApp, std::move(aufruf));
    return;
  }
  // The timer fires whenever the event queue is served, also inside a long
  // operation; it waits until that one is done instead of working on the
  // table beneath it. Without the window it is dropped with it.
  QPointer<FormZieltafel> fenster = m_fenster;
  QTimer::singleShot(std::max(0, millisekunden), fenster.data(),
                     [this, fenster, aufruf = std::move(aufruf)]() mutable {
                       if (fenster->befehlLaeuft() || fenster->gesperrt()) einmalig(50, std::move(aufruf));
                       else fenster->befehl(aufruf);
                     });
}

}  // namespace zt
