#include "support/TestPorts.h"

#include "core/Textdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

namespace zt::test {

Antwort TestBediener::meldung(const QString& titel, const QString& text, Symbol symbol, Knoepfe knoepfe) {
  Antwort a = Antwort::Ok;
  if (knoepfe != Knoepfe::Ok) {
    if (!antworten.empty()) {
      a = antworten.front();
      antworten.pop_front();
    } else {
      a = standard;
    }
    if (knoepfe == Knoepfe::OkAbbrechen && (a == Antwort::Ja)) a = Antwort::Ok;
  }
  protokoll.push_back({QStringLiteral("meldung"), titel, text, symbol, knoepfe, AntwortText(a), 0});
  return a;
}

std::pair<Antwort, bool> TestBediener::frageMitHaken(const QString& titel, const QString& text,
                                                     const QString& haken) {
  Antwort a = standard;
  if (!antworten.empty()) {
    a = antworten.front();
    antworten.pop_front();
  }
  protokoll.push_back({QStringLiteral("haken"), titel, text, Symbol::Frage, Knoepfe::JaNein, AntwortText(a), 0});
  return {a, false};
}

namespace {
Dateiwahl naechsterDialog(std::deque<Dateiwahl>& d) {
  if (d.empty()) return {};
  Dateiwahl w = d.front();
  d.pop_front();
  return w;
}
}  // namespace

Dateiwahl TestBediener::dateiOeffnen(const QString& titel, const QString& filter, const QString&, int) {
  const Dateiwahl w = naechsterDialog(dialoge);
  protokoll.push_back({QStringLiteral("oeffnen"), titel, filter, Symbol::Keins, Knoepfe::Ok,
                       w.abgebrochen() ? QStringLiteral("abgebrochen") : w.pfad, w.filterIndex});
  return w;
}

Dateiwahl TestBediener::dateiSpeichern(const QString& titel, const QString& filter, const QString&, int) {
  const Dateiwahl w = naechsterDialog(dialoge);
  protokoll.push_back({QStringLiteral("speichern"), titel, filter, Symbol::Keins, Knoepfe::Ok,
                       w.abgebrochen() ? QStringLiteral("abgebrochen") : w.pfad, w.filterIndex});
  return w;
}

void TestBediener::status(int feld, const QString& text) {
  statusfelder[feld] = text;
  protokoll.push_back({QStringLiteral("status"), QString(), text, Symbol::Keins, Knoepfe::Ok, QString(), feld});
}

void TestBediener::sperren(bool an) {
  gesperrt += an ? 1 : -1;
  protokoll.push_back({QStringLiteral("sperren"), QString(), an ? QStringLiteral("an") : QStringLiteral("aus"), Symbol::Keins, Knoepfe::Ok, QString(), 0});
}

void TestBediener::zeitnahmeSperre(bool an) {
  if (an != zeitnahmeGesperrt) gesperrt += an ? 1 : -1;
  zeitnahmeGesperrt = an;
  protokoll.push_back({QStringLiteral("zeitnahmeSperre"), QString(), an ? QStringLiteral("an") : QStringLiteral("aus"),
                       Symbol::Keins, Knoepfe::Ok, QString(), 0});
}

void TestBediener::zeigen(Ziel ziel) {
  protokoll.push_back({QStringLiteral("zeigen"), QString(), QString::number(static_cast<int>(ziel)), Symbol::Keins, Knoepfe::Ok, QString(), 0});
}

void TestBediener::fehlermanager(const QString& bericht) {
  fehlermanagerBerichte << bericht;
  protokoll.push_back({QStringLiteral("fehlermanager"), QStringLiteral("Fehlermanager"), bericht, Symbol::Keins,
                       Knoepfe::Ok, QString(), 0});
}

void TestBediener::einmalig(int ms, std::function<void()> aufruf) {
  protokoll.push_back({QStringLiteral("timer"), QString(), QString::number(ms), Symbol::Keins, Knoepfe::Ok, QString(), 0});
  timer.push_back(std::move(aufruf));
}

QStringList TestBediener::meldungen() const {
  QStringList l;
  for (const Aufruf& a : protokoll)
    if (a.art == QLatin1String("meldung") || a.art == QLatin1String("haken"))
      l << QStringLiteral("[%1] %2").arg(a.titel, a.text);
  return l;
}

QStringList TestBediener::dialogTitel() const {
  QStringList l;
  for (const Aufruf& a : protokoll)
    if (a.art == QLatin1String("oeffnen") || a.art == QLatin1String("speichern")) l << a.titel;
  return l;
}

void TestBediener::timerAusfuehren() {
  auto liste = std::move(timer);
  timer.clear();
  for (auto& f : liste) f();
}

bool TestSystem::dateiAnzeigen(const QString& pfad) {
  aufrufe << QStringLiteral("anzeigen ") + pfad;
  return true;
}

QString TestSystem::programmFuerDatei(const QString& pfad) {
  const QString endung = pfad.mid(pfad.lastIndexOf(QLatin1Char('.'))).toLower();
  return programme.value(endung);
}

bool TestSystem::programmStarten(const QString& kommandozeile) {
  aufrufe << QStringLiteral("starten ") + kommandozeile;
  return true;
}

bool TestSystem::programmStarten(const QString& programm, const QStringList& argumente) {
  aufrufe << QStringLiteral("starten ") + programm + QStringLiteral(" | ") + argumente.join(QStringLiteral(" | "));
  return true;
}

bool TestSystem::rtfDrucken(const QString& datei, const QString& drucker) {
  aufrufe << QStringLiteral("drucken ") + datei + QStringLiteral(" ") + drucker;
  return true;
}

void TestSystem::sicherungKopieren(const QString& quelle, const QString& ziel,
                                   std::function<void(const QString& fehler)> fertig) {
  aufrufe << QStringLiteral("sichern ") + quelle + QStringLiteral(" ") + ziel;
  sicherungen.push_back({quelle, ziel, std::move(fertig)});
}

void TestSystem::sicherungenAusfuehren() {
  auto liste = std::move(sicherungen);
  sicherungen.clear();
  for (Sicherung& a : liste) {
    const QString fehler = SicherungSchreiben(a.quelle, a.ziel);
    if (a.fertig) a.fertig(fehler);
  }
}

QString TestSystem::druckbereit(const QString& drucker) {
  if (!nichtDruckbereit.isEmpty()) return nichtDruckbereit;
  return System::druckbereit(drucker);
}

void TestSystem::rtfDruckenNebenbei(const QString& datei, const QString& drucker,
                                    std::function<void(const QString& fehler)> fertig) {
  aufrufe << QStringLiteral("drucken ") + datei + QStringLiteral(" ") + drucker;
  druckauftraege.push_back({datei, drucker, leseDatei(datei), std::move(fertig)});
}

void TestSystem::druckauftraegeAusfuehren(const QString& fehler) {
  auto liste = std::move(druckauftraege);
  druckauftraege.clear();
  for (Druckauftrag& a : liste)
    if (a.fertig) a.fertig(fehler);
}

Umgebung::Umgebung() {
  sitzung = std::make_unique<Sitzung>(bediener, uhr, system);
  QDir(dir.path()).mkpath(QStringLiteral("programm"));
  QDir(dir.path()).mkpath(QStringLiteral("arbeit"));
  sitzung->pfade.programmordner = dir.filePath(QStringLiteral("programm"));
  sitzung->pfade.arbeitsordner = dir.filePath(QStringLiteral("arbeit"));
  sitzung->einst.txtOptionen = sitzung->optionsdatei();
  sitzung->bezugsjahr = 2024;
  sitzung->dezimalzeichen = QLatin1Char('.');
}

QString schreibeDatei(const QString& pfad, const QByteArray& inhalt) {
  QDir().mkpath(QFileInfo(pfad).absolutePath());
  QFile f(pfad);
  if (f.open(QIODevice::WriteOnly)) f.write(inhalt);
  return pfad;
}

QStringList Fallnamen(const QString& ordner) {
  QStringList l;
  std::error_code fehler;
  for (const auto& e : std::filesystem::directory_iterator(ordner.toStdWString(), fehler))
    if (e.path().extension() == L".txt") l << QString::fromStdWString(e.path().filename().wstring());
  l.sort(Qt::CaseInsensitive);
  return l;
}

QString programmDatei(const QString& pfad) {
#ifdef Q_OS_WIN
  const QString p = schreibeDatei(pfad + QStringLiteral(".exe"), "MZ");
#else
  const QString p = schreibeDatei(pfad, "#!/bin/sh\n");
#endif
  QFile::setPermissions(p, QFile::ReadOwner | QFile::ExeOwner);
  return p;
}

QByteArray leseDatei(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QByteArray cp1252(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return TextKodieren(t);
}

}  // namespace zt::test
