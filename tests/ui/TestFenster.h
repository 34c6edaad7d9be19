#pragma once
// The real main window on a session in a temporary folder. Questions are
// answered from a script (then with a default), file dialogs return prepared
// choices (then cancel), and every box and dialog is recorded.
#include "core/Sitzung.h"
#include "support/TestPorts.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace zt::test {

struct TestFenster {
  QTemporaryDir dir;
  QtBediener bediener;
  TestUhr uhr;
  TestSystem system;
  Sitzung s{bediener, uhr, system};
  std::unique_ptr<FormZieltafel> fenster;
  QStringList protokoll;             // "[Titel] Text => Antwort", "[Dialog] Titel => Pfad"
  std::deque<Antwort> antworten;
  Antwort standard = Antwort::Nein;  // when the script is used up
  std::deque<Dateiwahl> dateien;

  // vorbereiten runs after start-up, before the window is built; aktiv waits
  // until the window has the keyboard.
  explicit TestFenster(const std::function<void(Sitzung&)>& vorbereiten = {}, bool aktiv = true);
  ~TestFenster();

  QString programm(const QString& name = QString()) const;
  template <class T> T* kind(const QString& name) {
    T* w = fenster->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QLineEdit* feld(const QString& name) { return kind<QLineEdit>(name); }
  // The shown texts of several fields, labels or buttons, joined by "|".
  QString texte(const QStringList& namen);
  // A check box or option button reacts on its mark, not on the space beside its text.
  void klick(const QString& name);
  void tippen(QWidget* w, const QString& text);
  bool fragte(const QString& eintrag) const { return protokoll.contains(eintrag); }
  std::string alles() const { return protokoll.join(QLatin1Char('\n')).toStdString(); }
};

// One row from its fields by key ("startnummer=12;strecke=10/w;namevorname=Meier, Anna").
int zeile(Sitzung& s, const QString& felder);

// The lines of tests/golden/ui/<name>, a list worked out by hand.
QStringList golden(const QString& name);

// While it lives, what QAbstractItemModelTester reports ("qt.modeltest") is
// collected; each such line is a broken promise of a model, and fails the test.
struct Modellpruefung {
  Modellpruefung();
  ~Modellpruefung();
};

}  // namespace zt::test
