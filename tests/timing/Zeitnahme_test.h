#pragma once
// A timing page on a session with recording ports and a clock the test sets.
#include "core/Text.h"
#include "core/Textdatei.h"
#include "support/TestPorts.h"
#include "timing/Zeitdatei.h"
#include "timing/Zeiteditor.h"
#include "timing/Zeitnahme.h"

#include <QAbstractItemModelTester>
#include <QAbstractTableModel>
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

namespace zt::test {

using namespace Qt::StringLiterals;

// What a window's model does with the editor's signals; the tester checks
// that they describe every change consistently.
class Modell : public QAbstractTableModel {
 public:
  explicit Modell(Zeiteditor& e) : m_e(e) {
    connect(&e, &Zeiteditor::vorZuruecksetzen, this, [this] { beginResetModel(); });
    connect(&e, &Zeiteditor::nachZuruecksetzen, this, [this] { endResetModel(); });
    connect(&e, &Zeiteditor::vorEinfuegen, this, [this](int a, int b) { beginInsertRows({}, a, b); });
    connect(&e, &Zeiteditor::nachEinfuegen, this, [this] { endInsertRows(); });
    connect(&e, &Zeiteditor::vorEntfernen, this, [this](int a, int b) { beginRemoveRows({}, a, b); });
    connect(&e, &Zeiteditor::nachEntfernen, this, [this] { endRemoveRows(); });
    connect(&e, &Zeiteditor::zeilenGeaendert, this,
            [this](int a, int b) { Q_EMIT dataChanged(index(a, 0), index(b, kEditorspalten - 1)); });
  }
  int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : m_e.anzahl(); }
  int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kEditorspalten; }
  QVariant data(const QModelIndex& i, int rolle) const override {
    return i.isValid() && rolle == Qt::DisplayRole ? QVariant(m_e.feld(i.row() + 1, i.column())) : QVariant();
  }

 private:
  Zeiteditor& m_e;
};

// An operator who is busy with something else while a box is open: the
// clock runs on, live timing appends to the file, someone deletes it.
class NebenbeiBediener : public TestBediener {
 public:
  std::function<void(Knoepfe)> nebenbei;
  Antwort meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) override {
    if (nebenbei) nebenbei(knoepfe);
    return TestBediener::meldung(titel, text, symbol, knoepfe);
  }
};

struct ZeitnahmeTest : ::testing::Test {
  Umgebung u;
  Sitzung& s = u.s();
  std::unique_ptr<Zeitnahme> z;

  void SetUp() override {
    s.dezimalzeichen = QLatin1Char(',');
    s.einst.txtZeitnahmeLWSicherung = u.pfad(u"stick"_s);
    z = std::make_unique<Zeitnahme>(s);
  }

  QString erg() const { return s.arbeitsdatei(u"lauf.erg"_s); }
  void uhr(int h, int m, int sek, int ms = 0) { u.uhr.zeit.setTime(QTime(h, m, sek, ms)); }
  // Enters the page and starts the clock at the given time of day.
  void starten(int h, int m, int sek, int ms = 0) {
    uhr(h, m, sek, ms);
    z->seiteBetreten();
    z->starten();
  }
  // Types the number and presses Enter at the given time of day.
  bool einlauf(const QString& nummer, int h, int m, int sek, int ms = 0) {
    uhr(h, m, sek, ms);
    z->startnummerGeaendert(nummer);
    return z->einlaufErfassen();
  }
  void teilnehmer(const QString& startnummer, const QString& name) {
    Teilnehmerzeile t;
    t.setFeld(S_startnummer, startnummer);
    t.setFeld(S_namevorname, name);
    s.tabelle.zeileHinzufuegen(t);
  }
  QStringList liste() const {
    QStringList l;
    for (const Einlaufzeile& e : z->liste()) l << ZeitdateiZeile(e);
    return l;
  }
  // The rows of the time file as written (header checked and left off).
  QStringList datei(const QString& pfad = QString()) const {
    const QByteArray b = leseDatei(pfad.isEmpty() ? erg() : pfad);
    QStringList zeilen = TextDekodieren(b).split(u"\r\n"_s);
    EXPECT_TRUE(b.isEmpty() || b.endsWith("\r\n"));
    if (!zeilen.isEmpty() && zeilen.back().isEmpty()) zeilen.removeLast();
    if (!zeilen.isEmpty()) {
      EXPECT_EQ(zeilen.front(), ZeitdateiKopf());
      zeilen.removeFirst();
    }
    return zeilen;
  }
  QStringList meldungen() const { return u.bediener.meldungen(); }
};

}  // namespace zt::test
