#include "cli/AusgabeSchritte.h"

#include "core/Textdatei.h"
#include "output/Ausgabe.h"
#include "output/Druck.h"
#include "output/Ergebnisliste.h"
#include "output/HtmlBericht.h"
#include "output/Laeuferanzahl.h"
#include "output/Urkunde.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace zt::cli {

const char* const kErgebnislisteHilfe =
    "DATEI.rtf [--modus N] [--sekunden] [--zeilen 1,2,...] [--vorlage DATEI]\n"
    "        Ergebnisliste schreiben. Modus 1 nur Zeit (Vorgabe), 2 nur Startnummer, 3 alle,\n"
    "        4 zum Druck markiert (die Zeilen aus --zeilen), 5 nur Platz 1-3, 7 nur Strecke,\n"
    "        8 nur Walker. --sekunden: Zeiten in ganzen Sekunden.";
const char* const kErgebnislistePdfHilfe =
    "DATEI.pdf [wie ergebnisliste]  Ergebnisliste als PDF (über LibreOffice)";
const char* const kErgebnislisteOptionen = "modus:,sekunden,zeilen:,vorlage:";
const char* const kUrkundenHilfe =
    "DATEI.rtf [--modus 1|2|3] [--startnummer N] [--zeilen 1,2,...] [--gesamtsieger] [--vorlage DATEI]\n"
    "        Urkunden in eine Datei, eine je Seite: 1 die Zeilen aus --zeilen, 2 die zum Druck\n"
    "        markierten (Vorgabe), 3 die Startnummer N. --gesamtsieger: Vorlage Gesamtsieger.\n"
    "        Die Zeilen werden nicht als gedruckt markiert.";
const char* const kUrkundenPdfHilfe = "DATEI.pdf [wie urkunden]  Urkunden als PDF (über LibreOffice)";
const char* const kUrkundenOptionen = "modus:,startnummer:,zeilen:,gesamtsieger,vorlage:";
const char* const kHtmlHilfe = "DATEI  HTML-Bericht der Tabelle schreiben";
const char* const kAnmeldelisteHilfe =
    "DATEI.rtf [--modus N] [--vorlage DATEI]  Anmeldeliste (nach Startnummer; danach nach Namen sortiert)";
const char* const kZaehlenHilfe = "      Läuferanzahl je Hauptlauf und Geschlecht ausgeben";
const char* const kDruckenHilfe = "DATEI.rtf DRUCKER  RTF-Datei auf dem Drucker ausgeben (über LibreOffice)";

namespace {
void ausgabe(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
}

void fehler(const QString& text) {
  const QByteArray b = (QStringLiteral("zieltafel-cli: ") + text + QLatin1Char('\n')).toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

QString absolut(const QString& pfad) { return QDir::fromNativeSeparators(QFileInfo(pfad).absoluteFilePath()); }

// "--zeilen 1,3,7" becomes the table's selection.
bool zeilenWaehlen(Kontext& k, const QStringList& a) {
  if (!OptionGesetzt(a, QStringLiteral("zeilen"))) return true;
  QList<int> zeilen;
  for (const QString& t : OptionWert(a, QStringLiteral("zeilen")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int z = t.trimmed().toInt(&ok);
    if (!ok || !k.s.tabelle.gueltig(z)) {
      fehler(QStringLiteral("Zeile \"%1\" gibt es nicht (1 bis %2)").arg(t).arg(k.s.tabelle.anzahl()));
      return false;
    }
    zeilen << z;
  }
  k.s.tabelle.setAuswahl(zeilen);
  return true;
}

bool listeEinstellen(Kontext& k, const QStringList& a) {
  AusgabeAnmelden(k.s);
  Ausgabe& aus = Ausgabe::von(k.s);
  bool ok = false;
  const int modus = OptionWert(a, QStringLiteral("modus"), QStringLiteral("1")).toInt(&ok);
  if (!ok || !Listenmodi().contains(modus)) {
    fehler(QStringLiteral("unbekannter Modus \"%1\" (1, 2, 3, 4, 5, 7, 8)").arg(OptionWert(a, QStringLiteral("modus"))));
    return false;
  }
  aus.OptErgebnisliste = modus;
  aus.chkProtokollInSek = OptionGesetzt(a, QStringLiteral("sekunden")) ? 1 : 0;
  if (OptionGesetzt(a, QStringLiteral("vorlage")))
    k.s.einst.txtVorlageErgebnisliste = absolut(OptionWert(a, QStringLiteral("vorlage")));
  return zeilenWaehlen(k, a);
}

bool urkundenEinstellen(Kontext& k, const QStringList& a) {
  AusgabeAnmelden(k.s);
  Ausgabe& aus = Ausgabe::von(k.s);
  bool ok = false;
  const int modus = OptionWert(a, QStringLiteral("modus"), QStringLiteral("2")).toInt(&ok);
  if (!ok || modus < 1 || modus > 3) {
    fehler(QStringLiteral("unbekannter Modus \"%1\" (1, 2, 3)").arg(OptionWert(a, QStringLiteral("modus"))));
    return false;
  }
  aus.OptUrkunde = modus;
  aus.chkVorlageGesamtSieger = OptionGesetzt(a, QStringLiteral("gesamtsieger")) ? 1 : 0;
  if (OptionGesetzt(a, QStringLiteral("vorlage"))) {
    QString& vorlage = aus.chkVorlageGesamtSieger ? k.s.einst.txtVorlageUrkundeGesamtsieger : k.s.einst.txtVorlageUrkunde;
    vorlage = absolut(OptionWert(a, QStringLiteral("vorlage")));
  }
  if (modus == 3) StartnummerDruckenGeaendert(k.s, OptionWert(a, QStringLiteral("startnummer")));
  return zeilenWaehlen(k, a);
}

// Made as RTF in a folder of its own, turned into PDF there and put in place whole.
bool alsPdf(Kontext& k, const QString& ziel, const std::function<bool(const QString& rtf)>& machen) {
  QTemporaryDir dir;
  if (!dir.isValid()) {
    fehler(QStringLiteral("kein temporärer Ordner"));
    return false;
  }
  const QString name = QFileInfo(ziel).completeBaseName();
  const QString rtf = dir.filePath(name + QStringLiteral(".rtf"));
  if (!machen(rtf)) return false;
  const QString f = k.s.system.rtfNachPdf({rtf}, dir.path());
  if (!f.isEmpty()) {
    fehler(f);
    return false;
  }
  const Leseergebnis e = DateiLesen(dir.filePath(name + QStringLiteral(".pdf")));
  if (!e.ok) {
    fehler(e.fehler);
    return false;
  }
  const QString w = DateiAtomarSchreiben(ziel, e.daten);
  if (!w.isEmpty()) fehler(w);
  return w.isEmpty();
}

// A batch run has no event loop: it serves one until the printer answered.
bool warten(const bool& fertig) {
  QElapsedTimer uhr;
  uhr.start();
  while (!fertig && uhr.elapsed() < 15 * 60 * 1000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  return fertig;
}
}  // namespace

bool ErgebnislisteSchritt(Kontext& k, const QStringList& a) {
  if (!listeEinstellen(k, a)) return false;
  int zeilen = 0;
  if (!ErgebnislisteSchreiben(k.s, absolut(a[0]), &zeilen)) return false;
  ausgabe(QStringLiteral("zeilen=%1\n").arg(zeilen));
  return true;
}

bool ErgebnislistePdfSchritt(Kontext& k, const QStringList& a) {
  if (!listeEinstellen(k, a)) return false;
  return alsPdf(k, absolut(a[0]), [&k](const QString& rtf) { return ErgebnislisteSchreiben(k.s, rtf); });
}

bool UrkundenSchritt(Kontext& k, const QStringList& a) {
  if (!urkundenEinstellen(k, a)) return false;
  int anzahl = 0;
  if (!UrkundenSchreiben(k.s, absolut(a[0]), &anzahl)) return false;
  ausgabe(QStringLiteral("urkunden=%1\n").arg(anzahl));
  return true;
}

bool UrkundenPdfSchritt(Kontext& k, const QStringList& a) {
  if (!urkundenEinstellen(k, a)) return false;
  return alsPdf(k, absolut(a[0]), [&k](const QString& rtf) { return UrkundenSchreiben(k.s, rtf); });
}

bool HtmlSchritt(Kontext& k, const QStringList& a) { return HtmlBericht(k.s, absolut(a[0]), false); }

bool AnmeldelisteSchritt(Kontext& k, const QStringList& a) {
  if (!listeEinstellen(k, a)) return false;
  return Anmeldeliste(k.s, absolut(a[0]));
}

bool ZaehlenSchritt(Kontext& k, const QStringList&) {
  LaeuferZaehlen(k.s);
  const Laeuferzahlen& n = Ausgabe::von(k.s).zahlen;
  QString text;
  for (int t = 0; t < 4; ++t) {
    text += QStringLiteral("Typ%1=%2\n").arg(t + 1).arg(k.s.einst.txtHauptlauf[t]);
    text += QStringLiteral("Typ%1M=%2\nTyp%1W=%3\nSummeTyp%1=%4\n")
                .arg(t + 1)
                .arg(n.AnzahlM[t])
                .arg(n.AnzahlW[t])
                .arg(n.AnzahlM[t] + n.AnzahlW[t]);
  }
  text += QStringLiteral("LaeuferWalker=%1\nLaeuferSumme=%2\n").arg(n.AnzahlWalker).arg(n.AnzahlLaeufer);
  text += Zaehlzeile(k.s) + QLatin1Char('\n');
  ausgabe(text);
  return true;
}

bool DruckenSchritt(Kontext& k, const QStringList& a) {
  const QString datei = absolut(a[0]);
  if (!QFileInfo(datei).isFile()) {
    fehler(QStringLiteral("Datei \"%1\" nicht gefunden.").arg(a[0]));
    return false;
  }
  // Shared with the job: a printer that answers only after the step gave up
  // must find something alive to answer to.
  struct Antwort {
    bool fertig = false;
    QString fehler;
  };
  auto antwort = std::make_shared<Antwort>();
  const QString abgelehnt = DruckAuftrag(k.s, datei, a[1], [antwort](const QString& f) {
    antwort->fehler = f;
    antwort->fertig = true;
  });
  if (!abgelehnt.isEmpty()) {
    fehler(DruckfehlerText(QStringLiteral("Die Datei"), datei, a[1], abgelehnt));
    return false;
  }
  if (!warten(antwort->fertig)) {
    fehler(QStringLiteral("Der Drucker \"%1\" hat nicht geantwortet.").arg(a[1]));
    return false;
  }
  if (!antwort->fehler.isEmpty()) {
    fehler(DruckfehlerText(QStringLiteral("Die Datei"), datei, a[1], antwort->fehler));
    return false;
  }
  ausgabe(QStringLiteral("gedruckt=%1\n").arg(a[1]));
  return true;
}

}  // namespace zt::cli
