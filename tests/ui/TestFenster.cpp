#include "TestFenster.h"

#include "app/Programmstart.h"

#include <QTest>
#include <gtest/gtest.h>

namespace zt::test {

TestFenster::TestFenster(const std::function<void(Sitzung&)>& vorbereiten, bool aktiv) {
  // An empty program folder: start-up fills it from the shipped files.
  EXPECT_EQ(OrdnerVorbereiten(s, programm(), dir.filePath(QStringLiteral("arbeit"))), QString());
  StartdatenLaden(s);
  if (vorbereiten) vorbereiten(s);
  fenster = std::make_unique<FormZieltafel>(s);
  bediener.setFenster(fenster.get());
  bediener.meldungErsatz = [this](const QString& titel, const QString& text, Symbol, Knoepfe k) {
    Antwort a = k == Knoepfe::Ok ? Antwort::Ok : standard;
    if (k != Knoepfe::Ok && !antworten.empty()) {
      a = antworten.front();
      antworten.pop_front();
    }
    protokoll << QStringLiteral("[%1] %2 => %3").arg(titel, text, AntwortText(a));
    return a;
  };
  bediener.dateiwahlErsatz = [this](bool, const QString& titel, const QString&, const QString&, int) {
    Dateiwahl w;
    if (!dateien.empty()) {
      w = dateien.front();
      dateien.pop_front();
    }
    protokoll << QStringLiteral("[Dialog] %1 => %2").arg(titel, w.abgebrochen() ? QStringLiteral("abgebrochen") : w.pfad);
    return w;
  };
  fenster->show();
  if (aktiv) {
    fenster->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
  }
}

TestFenster::~TestFenster() {
  // The window asks before it closes; the test is over.
  bediener.meldungErsatz = [](const QString&, const QString&, Symbol, Knoepfe) { return Antwort::Nein; };
  bediener.dateiwahlErsatz = [](bool, const QString&, const QString&, const QString&, int) { return Dateiwahl{}; };
  fenster.reset();
  bediener.setFenster(nullptr);
}

QString TestFenster::programm(const QString& name) const {
  return dir.filePath(QStringLiteral("programm")) + (name.isEmpty() ? QString() : QLatin1Char('/') + name);
}

}  // namespace zt::test
