#include "ui/Steuerung.h"

#include "ui/Dateifilter.h"
#include "ui/Fernsteuerung.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zt {

namespace {

QString einzeilig(QString t) {
  t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  t.replace(QLatin1Char('\r'), QLatin1String("\\r"));
  t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  t.replace(QLatin1Char('\t'), QLatin1String("\\t"));
  return t;
}

void ausgeben(std::FILE* ziel, const QString& zeile) {
  const QByteArray b = zeile.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, b.size(), ziel);
  std::fflush(ziel);
}

class Steuerung : public QObject {
 public:
  Steuerung(QtBediener& bediener, FormZieltafel& fenster)
      : QObject(&fenster), m_bediener(bediener), m_fenster(&fenster) {
    *m_antworten = AntwortenLesen(qEnvironmentVariable("ZIELTAFEL_ANTWORTEN"));
    // No box and no dialog may wait for a hand that is not there: every one is
    // answered from the script and reported with the next answer.
    MeldungenBeantworten(bediener, m_antworten, [this](const QString& zeile) { mitschreiben(zeile); });
    bediener.dateiwahlErsatz = [this](bool, const QString& titel, const QString& filter, const QString&, int) {
      Dateiwahl wahl;
      if (!m_dateien.empty()) {
        wahl.pfad = m_dateien.front();
        m_dateien.pop_front();
      }
      if (!wahl.pfad.isEmpty()) wahl.filterIndex = FilterIndexFuerDatei(filter, wahl.pfad);
      mitschreiben(QStringLiteral("[Dialog] %1 => %2").arg(titel, wahl.pfad.isEmpty() ? QStringLiteral("abgebrochen") : wahl.pfad));
      return wahl;
    };
    auto vorher = bediener.statusBeobachter;
    bediener.statusBeobachter = [this, vorher](int feld, const QString& text) {
      m_status[feld] = text;
      if (vorher) vorher(feld, text);
    };
    // Without a window manager nobody gives the window the keyboard; an
    // operator's window has it.
    QTimer::singleShot(0, this, [this] {
      if (m_fenster) m_fenster->activateWindow();
    });
    m_wache.setInterval(20);
    connect(&m_wache, &QTimer::timeout, this, &Steuerung::wachen);
#ifdef Q_OS_UNIX
    auto* melder = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(melder, &QSocketNotifier::activated, this, [this, melder] {
      char puffer[4096];
      const ssize_t n = ::read(STDIN_FILENO, puffer, sizeof puffer);
      if (n <= 0) {
        melder->setEnabled(false);
        return;
      }
      m_eingang.append(puffer, static_cast<int>(n));
      int ende;
      while ((ende = m_eingang.indexOf('\n')) >= 0) {
        const QString zeile = QString::fromUtf8(m_eingang.left(ende)).trimmed();
        m_eingang.remove(0, ende + 1);
        // Run on the event loop, not inside the notifier: a command may open
        // a dialog, and the next command must be read while it is open.
        if (!zeile.isEmpty()) QTimer::singleShot(0, this, [this, zeile] { ausfuehren(zeile); });
      }
    });
#endif
  }

 private:
  void mitschreiben(const QString& zeile) {
    m_mitschrift << zeile;
    ausgeben(stderr, zeile);
  }

  void antworten(const QString& zeile, const QStringList& daten = {}) {
    for (const QString& m : std::as_const(m_mitschrift)) ausgeben(stdout, QStringLiteral("> ") + einzeilig(m));
    m_mitschrift.clear();
    for (const QString& d : daten) ausgeben(stdout, QStringLiteral("= ") + d);
    ausgeben(stdout, zeile);
  }

  QObject* finden(const QString& name) const {
    if (name == QLatin1String(".")) return QApplication::focusWidget();
    QList<QWidget*> orte;
    if (QWidget* modal = QApplication::activeModalWidget()) orte << modal;
    orte += QApplication::topLevelWidgets();
    for (QWidget* ort : std::as_const(orte)) {
      if (ort->objectName() == name) return ort;
      if (QObject* o = ort->findChild<QObject*>(name)) return o;
    }
    return nullptr;
  }

  static bool benutzbar(QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled() && a->isVisible();
    if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled() && w->isVisible();
    return false;
  }

  // Runs a step of the operator's. Its answer comes when the step is done, or
  // as soon as the step opens a modal dialog, which then waits for the next
  // commands.
  void handeln(const std::function<QString()>& tat) {
    const int nummer = ++m_zaehler;
    m_wartet = nummer;
    m_modalVorher = QApplication::activeModalWidget();
    m_wache.start();
    const QString ergebnis = tat();
    if (m_wartet == nummer) {
      m_wartet = 0;
      m_wache.stop();
      antworten(ergebnis.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok ") + ergebnis);
    }
  }

  void wachen() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!m_wartet || !modal || modal == m_modalVorher) return;
    m_wartet = 0;
    m_wache.stop();
    antworten(QStringLiteral("ok dialog ") + modal->objectName());
  }

  static void tasteSenden(QWidget* w, int taste, Qt::KeyboardModifiers mod, const QString& text) {
    QKeyEvent runter(QEvent::KeyPress, taste, mod, text);
    QApplication::sendEvent(w, &runter);
    QKeyEvent hoch(QEvent::KeyRelease, taste, mod, text);
    QApplication::sendEvent(w, &hoch);
  }

  static int tasteFuer(QChar c) {
    if (c.isDigit()) return Qt::Key_0 + c.digitValue();
    const ushort u = c.toUpper().unicode();
    if (u >= 'A' && u <= 'Z') return Qt::Key_A + (u - 'A');
    if (c == QLatin1Char(' ')) return Qt::Key_Space;
    return Qt::Key_unknown;
  }

  static QString textVon(QObject* o) {
    if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    if (auto* k = qobject_cast<QComboBox*>(o)) return k->currentText();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(o)) return p->toPlainText();
    if (auto* t = qobject_cast<QTextEdit*>(o)) return t->toPlainText();
    if (auto* a = qobject_cast<QAction*>(o)) return a->text();
    if (auto* w = qobject_cast<QWidget*>(o)) return w->windowTitle();
    return QString();
  }

  static QStringList zeilenVon(QAbstractItemView* v) {
    QStringList zeilen;
    QAbstractItemModel* m = v->model();
    if (!m) return zeilen;
    QStringList kopf;
    for (int c = 0; c < m->columnCount(); ++c) kopf << einzeilig(m->headerData(c, Qt::Horizontal).toString());
    zeilen << kopf.join(QLatin1Char('\t'));
    for (int r = 0; r < m->rowCount(); ++r) {
      QStringList z;
      for (int c = 0; c < m->columnCount(); ++c) {
        const QModelIndex i = m->index(r, c);
        QString t = m->data(i, Qt::DisplayRole).toString();
        const QVariant haken = m->data(i, Qt::CheckStateRole);
        if (t.isEmpty() && haken.isValid()) t = haken.toInt() == Qt::Checked ? QStringLiteral("x") : QString();
        z << einzeilig(t);
      }
      zeilen << z.join(QLatin1Char('\t'));
    }
    return zeilen;
  }

  void ausfuehren(const QString& zeile) {
    const QString befehl = zeile.section(QLatin1Char(' '), 0, 0);
    const QString rest = zeile.section(QLatin1Char(' '), 1);
    const QString name = rest.section(QLatin1Char(' '), 0, 0);
    const QString wert = rest.section(QLatin1Char(' '), 1);
    if (!m_fenster) return antworten(QStringLiteral("fehler das Fenster ist geschlossen"));

    if (befehl == QLatin1String("antworten")) {
      // Replaces what is left: an answer no box took must not answer a later one.
      *m_antworten = AntwortenLesen(rest);
      return antworten(QStringLiteral("ok"));
    }
    if (befehl == QLatin1String("datei")) {
      m_dateien.push_back(rest == QLatin1String("-") ? QString() : rest);
      return antworten(QStringLiteral("ok"));
    }
    if (befehl == QLatin1String("warten")) {
      QTimer::singleShot(rest.toInt(), this, [this] { antworten(QStringLiteral("ok")); });
      return;
    }
    if (befehl == QLatin1String("aktiv")) {
      QWidget* m = QApplication::activeModalWidget();
      return antworten(m ? QStringLiteral("ok ") + m->objectName() + QLatin1Char('\t') + m->windowTitle()
                         : QStringLiteral("ok -"));
    }
    if (befehl == QLatin1String("fenster")) {
      QStringList daten;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) daten << w->objectName() + QLatin1Char('\t') + einzeilig(w->windowTitle());
      return antworten(QStringLiteral("ok %1").arg(daten.size()), daten);
    }
    if (befehl == QLatin1String("zeigen")) {
      m_bediener.meldungErsatz = nullptr;
      m_bediener.dateiwahlErsatz = nullptr;
      return antworten(QStringLiteral("ok"));
    }
    if (befehl == QLatin1String("fokus")) {
      QWidget* w = QApplication::focusWidget();
      // Without a window manager nobody activates the window again when a box
      // closes; keys typed then still reach its focus control, as they would
      // once a desktop activated it.
      if (!w && !QApplication::activeWindow() && m_fenster) w = m_fenster->focusWidget();
      if (!w) return antworten(QStringLiteral("ok -"));
      QString wer = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
      if (w->window() != m_fenster.data()) wer += QLatin1Char('@') + einzeilig(w->window()->windowTitle());
      return antworten(QStringLiteral("ok ") + wer);
    }
    if (befehl == QLatin1String("status")) return antworten(QStringLiteral("ok ") + einzeilig(m_status.value(rest.toInt())));
    if (befehl == QLatin1String("bild")) {
      QScreen* schirm = QGuiApplication::primaryScreen();
      const QPixmap bild = schirm ? schirm->grabWindow(0) : QPixmap();
      if (bild.isNull() || !bild.save(rest, "PNG")) return antworten(QStringLiteral("fehler kein Bild"));
      return antworten(QStringLiteral("ok %1x%2").arg(bild.width()).arg(bild.height()));
    }
    if (befehl == QLatin1String("ende")) {
      QPointer<FormZieltafel> f = m_fenster;
      // The questions of the close come with the answer; "offen" when one of
      // them kept the program running.
      return handeln([f] { return f && f->close() ? QString() : QStringLiteral("offen"); });
    }
    if (befehl == QLatin1String("reiter")) {
      // "3" is a tab of the window, "3.2" the second tab inside it.
      QTabWidget* r = m_fenster->register_();
      const int index = rest.section(QLatin1Char('.'), 0, 0).toInt() - 1;
      const int unter = rest.contains(QLatin1Char('.')) ? rest.section(QLatin1Char('.'), 1, 1).toInt() - 1 : -1;
      if (index < 0 || index >= r->count()) return antworten(QStringLiteral("fehler kein Reiter ") + rest);
      if (!r->isTabEnabled(index) || !r->isEnabled()) return antworten(QStringLiteral("fehler gesperrt ") + rest);
      return handeln([r, index, unter] {
        r->setCurrentIndex(index);
        QTabWidget* innen = nullptr;
        if (unter >= 0 && r->currentIndex() == index) {
          innen = qobject_cast<QTabWidget*>(r->widget(index));
          if (!innen) innen = r->widget(index)->findChild<QTabWidget*>();
        }
        if (innen && unter < innen->count()) innen->setCurrentIndex(unter);
        QString stand = QString::number(r->currentIndex() + 1);
        if (innen) stand += QLatin1Char('.') + QString::number(innen->currentIndex() + 1);
        return stand;
      });
    }

    QObject* o = finden(name);
    if (!o) return antworten(QStringLiteral("fehler nicht gefunden ") + name);
    if (befehl == QLatin1String("text")) return antworten(QStringLiteral("ok ") + einzeilig(textVon(o)));
    if (befehl == QLatin1String("frei"))
      return antworten(benutzbar(o) ? QStringLiteral("ok ja") : QStringLiteral("ok nein"));
    if (befehl == QLatin1String("an")) {
      auto* b = qobject_cast<QAbstractButton*>(o);
      auto* a = qobject_cast<QAction*>(o);
      const bool an = b ? b->isChecked() : a && a->isChecked();
      return antworten(an ? QStringLiteral("ok ja") : QStringLiteral("ok nein"));
    }
    if (befehl == QLatin1String("ort")) {
      auto* w = qobject_cast<QWidget*>(o);
      if (!w || !w->isVisible()) return antworten(QStringLiteral("fehler nicht zu sehen ") + name);
      QPoint mitte = w->mapToGlobal(w->rect().center());
      // "ort LISTE 3": the first cell of the third row, where a click selects it.
      if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model() && !wert.isEmpty()) {
        const QRect zelle = v->visualRect(v->model()->index(wert.toInt() - 1, 0));
        if (!v->viewport()->rect().contains(zelle.center())) return antworten(QStringLiteral("fehler keine Zeile ") + wert);
        mitte = v->viewport()->mapToGlobal(zelle.center());
      }
      return antworten(QStringLiteral("ok %1 %2").arg(mitte.x()).arg(mitte.y()));
    }
    if (befehl == QLatin1String("liste")) {
      auto* v = qobject_cast<QAbstractItemView*>(o);
      if (!v) return antworten(QStringLiteral("fehler keine Liste ") + name);
      const QStringList zeilen = zeilenVon(v);
      return antworten(QStringLiteral("ok %1").arg(zeilen.size() - 1), zeilen);
    }
    if (befehl == QLatin1String("schliessen")) {
      auto* w = qobject_cast<QWidget*>(o);
      if (!w) return antworten(QStringLiteral("fehler kein Fenster ") + name);
      return handeln([w] { return w->close() ? QString() : QStringLiteral("offen"); });
    }

    // From here on the operator acts: only on what can be used.
    if (!benutzbar(o)) return antworten(QStringLiteral("fehler gesperrt ") + name);
    if (befehl == QLatin1String("ausloesen") || befehl == QLatin1String("klicken")) {
      if (auto* a = qobject_cast<QAction*>(o)) return handeln([a] {
        a->trigger();
        return QString();
      });
      if (auto* b = qobject_cast<QAbstractButton*>(o)) return handeln([b] {
        b->click();
        return QString();
      });
      return antworten(QStringLiteral("fehler nicht anklickbar ") + name);
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) return antworten(QStringLiteral("fehler kein Eingabefeld ") + name);
    if (befehl == QLatin1String("tippen")) {
      return handeln([w, wert] {
        w->setFocus(Qt::OtherFocusReason);
        for (QChar c : wert) {
          const bool gross = c.isUpper();
          tasteSenden(w, tasteFuer(c), gross ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
        }
        return QString();
      });
    }
    if (befehl == QLatin1String("taste")) {
      const QKeySequence folge = QKeySequence::fromString(wert, QKeySequence::PortableText);
      if (folge.isEmpty() || folge[0].key() == Qt::Key_unknown)
        return antworten(QStringLiteral("fehler unbekannte Taste ") + wert);
      const QKeyCombination k = folge[0];
      QString text;
      if (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter) text = QStringLiteral("\r");
      else if (k.key() == Qt::Key_Tab) text = QStringLiteral("\t");
      return handeln([w, k, text] {
        w->setFocus(Qt::OtherFocusReason);
        tasteSenden(w, k.key(), k.keyboardModifiers(), text);
        return QString();
      });
    }
    if (befehl == QLatin1String("waehlen")) {
      auto* liste = qobject_cast<QComboBox*>(w);
      if (!liste) return antworten(QStringLiteral("fehler keine Auswahlliste ") + name);
      const int index = liste->findText(wert, Qt::MatchExactly);
      if (index < 0) return antworten(QStringLiteral("fehler kein Eintrag ") + wert);
      return handeln([liste, index] {
        // As a pick with the mouse: the new entry, then the signals of a choice.
        liste->setCurrentIndex(index);
        Q_EMIT liste->activated(index);
        Q_EMIT liste->textActivated(liste->itemText(index));
        return QString();
      });
    }
    antworten(QStringLiteral("fehler unbekannter Befehl ") + befehl);
  }

  QtBediener& m_bediener;
  QPointer<FormZieltafel> m_fenster;
  std::shared_ptr<std::deque<Antwort>> m_antworten = std::make_shared<std::deque<Antwort>>();
  std::deque<QString> m_dateien;
  QStringList m_mitschrift;
  QMap<int, QString> m_status;
  QByteArray m_eingang;
  QTimer m_wache;
  QPointer<QWidget> m_modalVorher;
  int m_zaehler = 0;
  int m_wartet = 0;
};

}  // namespace

void SteuerungAusUmgebung(QtBediener& bediener, FormZieltafel& fenster) {
  if (qEnvironmentVariable("ZIELTAFEL_STEUERUNG") != QLatin1String("1")) return;
  new Steuerung(bediener, fenster);
}

}  // namespace zt
