#include "cli/CliBediener.h"

#include <QRegularExpression>

#include <cstdio>

namespace zt::cli {

namespace {
void zeile(const QString& text) {
  const QByteArray b = text.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, b.size(), stderr);
  std::fflush(stderr);
}

QString einzeilig(QString t) {
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
  t.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  t.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
  return t;
}
}  // namespace

bool AntwortenLesen(const QString& text, std::deque<Antwort>& ziel) {
  for (const QString& roh : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString w = roh.trimmed().toLower();
    if (w == QLatin1String("ja")) ziel.push_back(Antwort::Ja);
    else if (w == QLatin1String("nein")) ziel.push_back(Antwort::Nein);
    else if (w == QLatin1String("abbrechen")) ziel.push_back(Antwort::Abbrechen);
    else if (w == QLatin1String("ok")) ziel.push_back(Antwort::Ok);
    else return false;
  }
  return true;
}

Antwort CliBediener::naechsteAntwort(Knoepfe knoepfe) {
  if (knoepfe == Knoepfe::Ok) return Antwort::Ok;
  Antwort a = knoepfe == Knoepfe::JaNeinStandardNein ? Antwort::Nein : standard;
  if (!antworten.empty()) {
    a = antworten.front();
    antworten.pop_front();
  }
  // "ja" means going ahead whatever the buttons are called.
  if (knoepfe == Knoepfe::OkAbbrechen && a == Antwort::Ja) a = Antwort::Ok;
  if (knoepfe == Knoepfe::OkAbbrechen && a == Antwort::Nein) a = Antwort::Abbrechen;
  if (knoepfe != Knoepfe::OkAbbrechen && a == Antwort::Ok) a = Antwort::Ja;
  return a;
}

Antwort CliBediener::meldung(const QString& titel, const QString& text, Symbol, Knoepfe knoepfe) {
  const Antwort a = naechsteAntwort(knoepfe);
  zeile(QStringLiteral("[%1] %2 => %3").arg(titel, einzeilig(text), AntwortText(a)));
  return a;
}

std::pair<Antwort, bool> CliBediener::frageMitHaken(const QString& titel, const QString& text,
                                                    const QString& haken) {
  const Antwort a = naechsteAntwort(Knoepfe::JaNein);
  zeile(QStringLiteral("[%1] %2 => %3").arg(titel, einzeilig(text), AntwortText(a)));
  return {a, false};
}

void CliBediener::keinDialog(const QString& titel) {
  zeile(QStringLiteral("[Dialog] %1 => abgebrochen").arg(titel));
}

Dateiwahl CliBediener::dateiOeffnen(const QString& titel, const QString&, const QString&, int) {
  keinDialog(titel);
  return {};
}

Dateiwahl CliBediener::dateiSpeichern(const QString& titel, const QString&, const QString&, int) {
  keinDialog(titel);
  return {};
}

void CliBediener::fehlermanager(const QString& bericht) {
  for (const QString& z : bericht.split(QRegularExpression(QStringLiteral("\r?\n"))))
    if (!z.isEmpty()) zeile(QStringLiteral("[Fehlermanager] %1").arg(z));
}

void CliBediener::timerAusfuehren() {
  while (!m_timer.empty()) {
    auto liste = std::move(m_timer);
    m_timer.clear();
    for (auto& f : liste) f();
  }
}

}  // namespace zt::cli
