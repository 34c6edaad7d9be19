#include "ui/Fernsteuerung.h"

#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zt {

namespace {
void protokoll(const QString& zeile) {
  const QByteArray b = zeile.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, b.size(), stderr);
  std::fflush(stderr);
}

QString einzeilig(QString t) {
  t.replace(QLatin1String("\r\n"), QLatin1String(" "));
  t.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return t;
}
}  // namespace

std::deque<Antwort> AntwortenLesen(const QString& liste) {
  std::deque<Antwort> antworten;
  for (const QString& roh : liste.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString w = roh.trimmed().toLower();
    if (w == QLatin1String("ja")) antworten.push_back(Antwort::Ja);
    else if (w == QLatin1String("nein")) antworten.push_back(Antwort::Nein);
    else if (w == QLatin1String("abbrechen")) antworten.push_back(Antwort::Abbrechen);
    else if (w == QLatin1String("ok")) antworten.push_back(Antwort::Ok);
  }
  return antworten;
}

void MeldungenBeantworten(QtBediener& bediener, std::shared_ptr<std::deque<Antwort>> antworten,
                          std::function<void(const QString&)> mitschrift) {
  bediener.meldungErsatz = [antworten, mitschrift](const QString& titel, const QString& text, Symbol,
                                                   Knoepfe knoepfe) {
    Antwort a = knoepfe == Knoepfe::Ok ? Antwort::Ok : Antwort::Nein;
    if (knoepfe != Knoepfe::Ok && !antworten->empty()) {
      a = antworten->front();
      antworten->pop_front();
    }
    if (knoepfe == Knoepfe::OkAbbrechen && a == Antwort::Ja) a = Antwort::Ok;
    mitschrift(QStringLiteral("[%1] %2 => %3").arg(titel, einzeilig(text), AntwortText(a)));
    return a;
  };
}

void AntwortenAusUmgebung(QtBediener& bediener) {
  if (!qEnvironmentVariableIsSet("ZIELTAFEL_ANTWORTEN")) return;
  MeldungenBeantworten(bediener,
                       std::make_shared<std::deque<Antwort>>(AntwortenLesen(qEnvironmentVariable("ZIELTAFEL_ANTWORTEN"))),
                       protokoll);
  bediener.statusBeobachter = [](int feld, const QString& text) {
    protokoll(QStringLiteral("[Status %1] %2").arg(feld).arg(text));
  };
}

#ifdef Q_OS_UNIX
namespace {
int signalpaar[2] = {-1, -1};
void signalEmpfangen(int) {
  const char c = 1;
  // Only write() may be called here; the window closes on the event loop.
  [[maybe_unused]] const ssize_t n = ::write(signalpaar[0], &c, 1);
}
}  // namespace

void BeendenBeiSignal(FormZieltafel& fenster) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalpaar) != 0) return;
  auto* melder = new QSocketNotifier(signalpaar[1], QSocketNotifier::Read, &fenster);
  QPointer<FormZieltafel> f = &fenster;
  QObject::connect(melder, &QSocketNotifier::activated, &fenster, [f] {
    char c;
    [[maybe_unused]] const ssize_t n = ::read(signalpaar[1], &c, 1);
    // Not while a command runs: the close would pull the table from under it.
    if (f) QTimer::singleShot(0, f.data(), [f] {
      if (f) f->close();
    });
  });
  struct sigaction sa {};
  sa.sa_handler = signalEmpfangen;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}
#else
void BeendenBeiSignal(FormZieltafel&) {}
#endif

}  // namespace zt
