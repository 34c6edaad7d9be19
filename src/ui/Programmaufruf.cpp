#include "ui/Programmaufruf.h"

#include "app/Programmstart.h"
#include "core/Sitzung.h"
#include "persistence/Datenbank.h"
#include "timing/Zeitimport.h"
#include "ui/Dateifilter.h"
#include "ui/FormZieltafel.h"
#include "ui/QtBediener.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace zt {

namespace {
void befehlAusloesen(FormZieltafel& fenster, const char* name) {
  if (auto* a = fenster.findChild<QAction*>(QString::fromLatin1(name))) a->trigger();
}

void startdateiOeffnen(FormZieltafel& fenster, QtBediener& bediener, const QString& pfad) {
  if (FilterIndexFuerDatei(ZeitdateiFilter(), pfad, 0) > 0) {
    // A time file goes to the import, which asks before it assigns and
    // refuses while no event is loaded. Opened as a runner file it would
    // become the database path, and the next save would write runners over
    // the finishes.
    bediener.dateiwahlVorbereiten({pfad, 1});
    befehlAusloesen(fenster, "btnZtZuordnen");
  } else {
    int typ = FilterIndexFuerDatei(OeffnenFilter(), pfad, 0);
    // The desktop knows a database by its header too, whatever its name.
    if (typ == 0 && QFileInfo(pfad).isFile() && TraegtZtfKennung(pfad))
      typ = FilterIndexFuerDatei(OeffnenFilter(), pfad + QStringLiteral(".ztf"));
    if (typ == 0 && QFileInfo(pfad).isFile()) {
      // Read as a runner file, any text would become the event and be
      // written over on the next save.
      Sitzung& s = fenster.sitzung();
      fenster.befehl([&s, pfad] {
        s.bediener.meldung(
            QStringLiteral("Datenbank öffnen"),
            QStringLiteral("Die Datei \"%1\" wird nicht geöffnet: Zieltafel kennt diese Dateiart nicht.\n"
                           "Geöffnet werden Läuferdateien (*.csv), Zieltafel-Datenbanken (*.ztf), "
                           "Voreinstellungen (*.ini), Vornamenlisten (*.txt) und Zeitdateien (*.erg).   ")
                .arg(QDir::toNativeSeparators(pfad)),
            Symbol::Ausruf, Knoepfe::Ok);
      });
      return;
    }
    // A file that is not there is reported by the open command itself.
    bediener.dateiwahlVorbereiten({pfad, typ == 0 ? 1 : typ});
    befehlAusloesen(fenster, "btnDbOeffnen");
  }
  // A choice that no dialog took (the command stopped before its dialog)
  // must not answer a later one.
  bediener.vorbereitetVerwerfen();
}

// The next file only once the previous one's command has returned: a command
// that lets pending events run while it reads would otherwise meet the next
// file's command, which is refused while another one runs.
void naechsteStartdatei(const QPointer<FormZieltafel>& f, QtBediener* b, const QStringList& rest) {
  if (!f || rest.isEmpty()) return;
  QTimer::singleShot(0, f.data(), [f, b, rest] {
    if (!f) return;
    startdateiOeffnen(*f, *b, rest.first());
    naechsteStartdatei(f, b, rest.mid(1));
  });
}
}  // namespace

void StartdateienOeffnen(FormZieltafel& fenster, QtBediener& bediener, const QStringList& argumente) {
  QStringList pfade;
  for (const QString& argument : argumente)
    pfade << QDir::fromNativeSeparators(QFileInfo(argument).absoluteFilePath());
  // The bediener lives as long as the window.
  naechsteStartdatei(&fenster, &bediener, pfade);
}

QIcon Programmsymbol() {
  QIcon symbol;
  // Installed, the pictures lie in the icon theme beside the share folder;
  // in the source tree, inside it.
  const QString share = ShareOrdner();
  for (const QString& basis : {share + QStringLiteral("/../icons/hicolor"), share + QStringLiteral("/desktop/icons")}) {
    for (const QString& groesse : QDir(basis).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      const QString bild = basis + QLatin1Char('/') + groesse + QStringLiteral("/apps/zieltafel.png");
      if (QFileInfo::exists(bild)) symbol.addFile(bild);
    }
    if (!symbol.isNull()) break;
  }
  return symbol;
}

}  // namespace zt
