#pragma once
// The real main window on a session in a temporary folder. Questions are
// answered from a script (then with a default), file dialogs return prepared
// choices (then cancel), and every box and dialog is recorded.
#include "core/Sitzung.h"
#include "support/TestPorts.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
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
  template <class T> T* kind(const QString& name) { return fenster->findChild<T*>(name); }
  bool fragte(const QString& eintrag) const { return protokoll.contains(eintrag); }
};

}  // namespace zt::test
