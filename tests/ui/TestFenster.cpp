#include "TestFenster.h"

#include "app/Programmstart.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

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

void TestFenster::klick(const QString& name) {
  auto* k = kind<QAbstractButton>(name);
  const bool marke = qobject_cast<QCheckBox*>(k) || qobject_cast<QRadioButton*>(k);
  QTest::mouseClick(k, Qt::LeftButton, {}, marke ? QPoint(8, k->height() / 2) : QPoint());
}

QString TestFenster::texte(const QStringList& namen) {
  QStringList t;
  for (const QString& n : namen) t << kind<QWidget>(n)->property("text").toString();
  return t.join(QLatin1Char('|'));
}

void TestFenster::tippen(QWidget* w, const QString& text) {
  w->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(w, text);
}

int zeile(Sitzung& s, const QString& felder) {
  Teilnehmerzeile z;
  for (const QString& teil : felder.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    z.setFeld(Spaltennummer(teil.section(QLatin1Char('='), 0, 0)), teil.section(QLatin1Char('='), 1));
  return s.tabelle.zeileHinzufuegen(z);
}

QStringList golden(const QString& name) {
  return QString::fromUtf8(leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/ui/") + name)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

namespace {
QStringList g_befunde;
QtMessageHandler g_vorher = nullptr;
void sammeln(QtMsgType typ, const QMessageLogContext& k, const QString& text) {
  if (k.category && QByteArray(k.category).startsWith("qt.modeltest")) g_befunde << text;
  else if (g_vorher) g_vorher(typ, k, text);
}
}  // namespace

Modellpruefung::Modellpruefung() {
  g_befunde.clear();
  g_vorher = qInstallMessageHandler(sammeln);
}

Modellpruefung::~Modellpruefung() {
  qInstallMessageHandler(g_vorher);
  EXPECT_TRUE(g_befunde.isEmpty()) << g_befunde.join(QLatin1Char('\n')).toStdString();
}

}  // namespace zt::test
