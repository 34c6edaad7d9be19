// The program's own database file "*.ztf": an SQLite 3 file with the twenty
// fields of every row, the row order, both colours and a format version.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "persistence/Datenbank.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace zt {

namespace {
constexpr int kZtfFormat = 1;
// "ZTF1" in the SQLite header, so that file(1) and we can tell our files apart.
constexpr int kAnwendungsKennung = 0x5A544631;

// What a .ztf of ours never comes near: a row is a few hundred bytes, an
// event a few ten thousand rows. A crafted file is stopped at these bounds
// instead of filling memory, the disk or the afternoon.
constexpr int kMaxWertLaenge = 16 << 20;
constexpr int kMaxZeilen = 2000000;
constexpr int kLeseFristMs = 20000;

QString sqlGrund(const QSqlError& e) {
  bool zahl = false;
  const int code = e.nativeErrorCode().toInt(&zahl);
  return SqliteGrund(zahl ? code : -1, e.databaseText() + QLatin1Char(' ') + e.driverText());
}

// The sqlite3 connection behind a Qt connection (the same library we link).
sqlite3* rohverbindung(const QSqlDatabase& db) {
  if (!db.driver()) return nullptr;
  const QVariant v = db.driver()->handle();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(v.constData());
}

// A deadline for every statement of a read: SQLite asks this every few
// thousand steps and stops the statement when it answers non-zero.
int fristAbgelaufen(void* uhr) {
  return static_cast<QElapsedTimer*>(uhr)->hasExpired(kLeseFristMs) ? 1 : 0;
}

QString verbindungsname() {
  static std::atomic<int> zaehler{0};
  return QStringLiteral("zieltafel-ztf-%1").arg(++zaehler);
}

// One database connection that is always closed and removed again, also when
// a step fails half-way.
class Verbindung {
 public:
  Verbindung(const QString& datei, bool nurLesen) : m_name(verbindungsname()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(datei);
    if (nurLesen) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
      m_fehler = sqlGrund(db.lastError());
      return;
    }
    if (nurLesen) begrenzen(db);
  }
  ~Verbindung() {
    {
      QSqlDatabase db = QSqlDatabase::database(m_name, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
  }
  Verbindung(const Verbindung&) = delete;
  Verbindung& operator=(const Verbindung&) = delete;

  QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
  const QString& fehler() const { return m_fehler; }

 private:
  // A file from elsewhere is data, never code: no views, no triggers, no
  // functions from its schema, small statements, short values, and a deadline.
  void begrenzen(QSqlDatabase& db) {
    sqlite3* h = rohverbindung(db);
    if (!h) {
      m_fehler = QStringLiteral("Die Datenbankanbindung ist nicht SQLite.");
      return;
    }
    sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(h, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_limit(h, SQLITE_LIMIT_LENGTH, kMaxWertLaenge);
    sqlite3_limit(h, SQLITE_LIMIT_SQL_LENGTH, 1 << 16);
    sqlite3_limit(h, SQLITE_LIMIT_EXPR_DEPTH, 50);
    sqlite3_limit(h, SQLITE_LIMIT_COMPOUND_SELECT, 4);
    sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(h, SQLITE_LIMIT_WORKER_THREADS, 0);
    m_uhr.start();
    sqlite3_progress_handler(h, 10000, fristAbgelaufen, &m_uhr);
    // Sorting scratch stays in memory: a crafted query must not fill the
    // disk with temporary files.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    QSqlQuery(db).exec(QStringLiteral("PRAGMA query_only=1"));
  }

  QString m_name;
  QString m_fehler;
  QElapsedTimer m_uhr;
};

// The column keys in the order of a row's fields.
QString spaltenliste() {
  QStringList l;
  for (int sp = 1; sp <= kSpalten; ++sp) l << QLatin1String(Spaltenbeschreibung_(sp).schluessel);
  return l.join(QLatin1Char('\t'));
}

QString schreibfehler(const QString& pfad, const QString& grund) {
  return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
      .arg(QDir::toNativeSeparators(pfad), grund);
}

QString lesefehler(const QString& pfad, const QString& grund) {
  return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
      .arg(QDir::toNativeSeparators(pfad), grund);
}

// A text inside an SQL string literal: quotes doubled; NUL would end the
// statement early and never belongs in a field.
// TAB, CR and LF cannot be in a field; the table removes them, and so does
// this writer, so that the fields of a row can never shift.
void sqlTextAnhaengen(QString& ziel, const QString& text) {
  const bool sauber = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
    const char16_t u = c.unicode();
    return u == '\'' || u == 0 || u == '\t' || u == '\r' || u == '\n';
  });
  if (sauber) {
    ziel += text;
    return;
  }
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '\'')
      ziel += QLatin1String("''");
    else if (u == 0 || u == '\t' || u == '\r' || u == '\n')
      ziel += QLatin1Char(' ');
    else
      ziel += c;
  }
}

// Fills the (empty) database file; empty text on success.
//
// Each row's twenty fields are kept in one TAB-joined text (fields never hold a
// TAB), with the column keys in the meta table telling which field is which.
// Twenty SQL columns would cost over a second for 100 000 rows through the Qt
// driver's per-value conversions; one text per row costs a fifth of that.
QString tabelleAnlegen(QSqlDatabase db, const std::vector<Teilnehmerzeile>& zeilen,
                       const QString& sortierung) {
  QSqlQuery q(db);
  // The file is a temporary one until it is renamed into place: no journal is
  // needed, one sync at the commit is enough.
  const QStringList vorbereitung = {
      QStringLiteral("PRAGMA journal_mode=OFF"),
      QStringLiteral("PRAGMA synchronous=FULL"),
      QStringLiteral("PRAGMA application_id=%1").arg(kAnwendungsKennung),
      QStringLiteral("PRAGMA user_version=%1").arg(kZtfFormat),
  };
  for (const QString& befehl : vorbereitung)
    if (!q.exec(befehl)) return sqlGrund(q.lastError());
  if (!db.transaction()) return sqlGrund(db.lastError());
  const QStringList anlegen = {
      QStringLiteral("CREATE TABLE meta (schluessel TEXT PRIMARY KEY, wert TEXT NOT NULL)"),
      QStringLiteral("CREATE TABLE teilnehmer (nr INTEGER PRIMARY KEY, felder TEXT NOT NULL, "
                     "textfarbe INTEGER NOT NULL, hintergrund INTEGER NOT NULL)"),
  };
  for (const QString& befehl : anlegen)
    if (!q.exec(befehl)) return sqlGrund(q.lastError());

  if (!q.prepare(QStringLiteral("INSERT INTO meta (schluessel, wert) VALUES (?, ?)")))
    return sqlGrund(q.lastError());
  const std::pair<QString, QString> meta[] = {
      {QStringLiteral("format"), QString::number(kZtfFormat)},
      {QStringLiteral("programm"), QStringLiteral("Zieltafel")},
      {QStringLiteral("spalten"), spaltenliste()},
      {QStringLiteral("sortierung"), sortierung},
  };
  for (const auto& [k, w] : meta) {
    q.bindValue(0, k);
    q.bindValue(1, w.isNull() ? QString(QLatin1String("")) : w);
    if (!q.exec()) return sqlGrund(q.lastError());
  }

  // Literal multi-row INSERTs: binding values one by one through the driver
  // costs more than SQLite needs to parse them.
  const QString kopf = QStringLiteral("INSERT INTO teilnehmer (nr, felder, textfarbe, hintergrund) VALUES ");
  constexpr size_t kJeBefehl = 500;
  QString befehl;
  for (size_t start = 0; start < zeilen.size(); start += kJeBefehl) {
    const size_t ende = std::min(zeilen.size(), start + kJeBefehl);
    befehl = kopf;
    for (size_t i = start; i < ende; ++i) {
      const Teilnehmerzeile& z = zeilen[i];
      if (i > start) befehl += QLatin1Char(',');
      befehl += QLatin1Char('(') + QString::number(i + 1) + QLatin1String(",'");
      for (int k = 0; k < kSpalten; ++k) {
        if (k) befehl += QLatin1Char('\t');
        sqlTextAnhaengen(befehl, z.feld(k + 1));
      }
      befehl += QLatin1String("',") + QString::number(z.textfarbe) + QLatin1Char(',') +
                QString::number(z.hintergrund) + QLatin1Char(')');
    }
    if (!q.exec(befehl)) return sqlGrund(q.lastError());
  }
  q.finish();
  if (!db.commit()) return sqlGrund(db.lastError());
  return QString();
}
}  // namespace

QString SqliteGrund(int code, const QString& englisch) {
  switch (code & 0xFF) {
    case SQLITE_FULL:
      return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_CORRUPT:
      return QStringLiteral("Die Datei ist beschädigt.");
    case SQLITE_NOTADB:
      return QStringLiteral("Die Datei ist keine Datenbank.");
    case SQLITE_READONLY:
      return QStringLiteral("Die Datenbank darf nicht geschrieben werden (schreibgeschützt).");
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return QStringLiteral("Keine Berechtigung für diesen Zugriff auf die Datenbank.");
    case SQLITE_CANTOPEN:
      return QStringLiteral("Die Datenbankdatei kann nicht geöffnet werden.");
    case SQLITE_IOERR:
      return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
    case SQLITE_NOMEM:
      return QStringLiteral("Nicht genug Arbeitsspeicher.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return QStringLiteral("Die Datenbank wird gerade von einem anderen Programm benutzt.");
    case SQLITE_INTERRUPT:
      return QStringLiteral("Das Lesen hat zu lange gedauert und wurde abgebrochen.");
    case SQLITE_TOOBIG:
      return QStringLiteral("Ein Wert in der Datei ist größer als erlaubt.");
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:
      break;  // the text says more
    default:
      break;
  }
  // The driver does not always pass the code on; its texts are fixed.
  static const std::pair<const char*, int> kTexte[] = {
      {"database or disk is full", SQLITE_FULL},
      {"database disk image is malformed", SQLITE_CORRUPT},
      {"file is not a database", SQLITE_NOTADB},
      {"attempt to write a readonly database", SQLITE_READONLY},
      {"unable to open database file", SQLITE_CANTOPEN},
      {"disk I/O error", SQLITE_IOERR},
      {"out of memory", SQLITE_NOMEM},
      {"database is locked", SQLITE_BUSY},
      {"interrupted", SQLITE_INTERRUPT},
      {"string or blob too big", SQLITE_TOOBIG},
  };
  for (const auto& [text, c] : kTexte)
    if (englisch.contains(QLatin1String(text), Qt::CaseInsensitive)) return SqliteGrund(c, QString());
  if (englisch.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ||
      englisch.contains(QLatin1String("no such column"), Qt::CaseInsensitive))
    return QStringLiteral("Der Datei fehlt eine Tabelle oder Spalte einer Zieltafel-Datenbank.");
  if (englisch.contains(QLatin1String("access to view"), Qt::CaseInsensitive) ||
      englisch.contains(QLatin1String("prohibited"), Qt::CaseInsensitive))
    return QStringLiteral("Die Datei enthält Sichten oder Trigger, die nicht ausgeführt werden.");
  return code > 0 ? QStringLiteral("Die Datenbank meldet den Fehler Nummer %1.").arg(code)
                  : QStringLiteral("Die Datenbank meldet einen unbekannten Fehler.");
}

bool SiehtNachZtfAus(const QByteArray& anfang) {
  return anfang.startsWith(QByteArray("SQLite format 3\0", 16));
}

bool TraegtZtfKennung(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray kopf = f.read(72);
  if (kopf.size() < 72 || !SiehtNachZtfAus(kopf)) return false;
  // SQLite keeps the application id big-endian at byte 68 of its header.
  const auto byte = [&kopf](int i) { return static_cast<quint32>(static_cast<unsigned char>(kopf[i])); };
  return (byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71)) == static_cast<quint32>(kAnwendungsKennung);
}

QString ZtfSchreiben(const std::vector<Teilnehmerzeile>& zeilen, const QString& sortierung,
                     const QString& pfad) {
  // SQLite fills the temporary file through its own handle; the Baustelle
  // syncs it, puts it in place, and removes it on any failure.
  Baustelle b(pfad);
  if (!b.ok()) return b.fehler();
  QString grund;
  {
    Verbindung v(b.pfad(), false);
    grund = v.fehler();
    if (grund.isEmpty()) grund = tabelleAnlegen(v.db(), zeilen, sortierung);
  }
  if (!grund.isEmpty()) return schreibfehler(pfad, grund);
  if (!b.einsetzen()) return b.fehler();
  return QString();
}

QString ZtfSchreiben(const Sitzung& s, const QString& pfad) {
  return ZtfSchreiben(s.tabelle.zeilen(), s.sortierung, pfad);
}

namespace {
// The two tables a .ztf of ours has, with the columns the reader relies on.
// Anything else (a view, a virtual table, a computed column under one of
// these names) is refused before a single row is read.
QString schemaPruefen(QSqlDatabase db) {
  struct Erwartet {
    const char* tabelle;
    QStringList spalten;
  };
  const Erwartet erwartet[] = {
      {"meta", {QStringLiteral("schluessel"), QStringLiteral("wert")}},
      {"teilnehmer",
       {QStringLiteral("nr"), QStringLiteral("felder"), QStringLiteral("textfarbe"), QStringLiteral("hintergrund")}},
  };
  QSqlQuery q(db);
  q.setForwardOnly(true);
  for (const Erwartet& e : erwartet) {
    const QString name = QLatin1String(e.tabelle);
    if (!q.exec(QStringLiteral("SELECT type, sql FROM sqlite_schema WHERE name = '%1'").arg(name)))
      return sqlGrund(q.lastError());
    if (!q.next()) return QStringLiteral("die Tabelle \"%1\" fehlt").arg(name);
    const QString art = q.value(0).toString();
    const QString sql = q.value(1).toString().simplified();
    if (art != QLatin1String("table") || sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
      return QStringLiteral("\"%1\" ist keine gewöhnliche Tabelle").arg(name);
    if (!q.exec(QStringLiteral("PRAGMA table_xinfo(%1)").arg(name))) return sqlGrund(q.lastError());
    QStringList gefunden;
    bool nrSchluessel = false;
    while (q.next()) {
      // hidden: 0 a stored column, 2 and 3 computed ones, which run code.
      if (q.value(6).toInt() != 0)
        return QStringLiteral("die Tabelle \"%1\" hat berechnete Spalten").arg(name);
      const QString spalte = q.value(1).toString();
      gefunden << spalte;
      if (spalte == QLatin1String("nr") && q.value(5).toInt() == 1 &&
          q.value(2).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
        nrSchluessel = true;
    }
    for (const QString& spalte : e.spalten)
      if (!gefunden.contains(spalte))
        return QStringLiteral("der Tabelle \"%1\" fehlt die Spalte \"%2\"").arg(name, spalte);
    // Reading in row order must be a walk along the key, never a sort of the
    // whole table in scratch space.
    if (name == QLatin1String("teilnehmer") && !nrSchluessel)
      return QStringLiteral("die Spalte \"nr\" ist nicht der Schlüssel der Tabelle");
  }
  return QString();
}
}  // namespace

QString ZtfLesen(const QString& pfad, std::vector<Teilnehmerzeile>& zeilen, QString* sortierung) {
  zeilen.clear();
  const QString keine =
      QStringLiteral("Die Datei \"%1\" ist keine Zieltafel-Datenbank.").arg(QDir::toNativeSeparators(pfad));
  {
    const Dateipruefung p = LesbareDateiPruefen(pfad, kGrenzeZtf);
    if (!p.ok) return p.fehler;
    // SQLite would happily create a missing file or take a text file for an
    // empty database; look at the header first.
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return lesefehler(pfad, Systemfehler(EACCES, pfad, false));
    if (!SiehtNachZtfAus(f.read(16))) return keine;
  }
  Verbindung v(pfad, true);
  if (!v.fehler().isEmpty()) return lesefehler(pfad, v.fehler());
  QString schema = schemaPruefen(v.db());
  if (schema.endsWith(QLatin1Char('.'))) schema.chop(1);  // SQLite's reason is a sentence of its own
  if (!schema.isEmpty())
    return QStringLiteral("Die Datei \"%1\" ist keine Zieltafel-Datenbank: %2.")
        .arg(QDir::toNativeSeparators(pfad), schema);
  QSqlQuery q(v.db());
  q.setForwardOnly(true);
  QString format, sort, spalten;
  if (!q.exec(QStringLiteral("SELECT schluessel, wert FROM meta LIMIT 100"))) return lesefehler(pfad, sqlGrund(q.lastError()));
  while (q.next()) {
    const QString k = q.value(0).toString();
    if (k == QLatin1String("format"))
      format = q.value(1).toString();
    else if (k == QLatin1String("sortierung"))
      sort = q.value(1).toString();
    else if (k == QLatin1String("spalten"))
      spalten = q.value(1).toString();
  }
  if (q.lastError().isValid()) return lesefehler(pfad, sqlGrund(q.lastError()));
  if (format.isEmpty()) return keine;
  if (Ganzzahlwert(format) > kZtfFormat)
    return QStringLiteral(
               "Die Datei \"%1\" wurde von einer neueren Version von Zieltafel geschrieben "
               "(Format %2) und kann hier nicht gelesen werden.")
        .arg(QDir::toNativeSeparators(pfad), format);
  // Field i of a stored row belongs to column ziel[i] (0: a column this
  // program does not know).
  std::vector<int> ziel;
  for (const QString& k : spalten.split(QLatin1Char('\t'))) ziel.push_back(Spaltennummer(k));
  if (std::none_of(ziel.begin(), ziel.end(), [](int sp) { return sp > 0; })) return keine;
  if (!q.exec(QStringLiteral("SELECT felder, textfarbe, hintergrund FROM teilnehmer ORDER BY nr")))
    return lesefehler(pfad, sqlGrund(q.lastError()));
  std::vector<Teilnehmerzeile> neu;
  while (q.next()) {
    if (static_cast<int>(neu.size()) >= kMaxZeilen)
      return lesefehler(pfad, QStringLiteral("Die Datei hat mehr als %1 Zeilen.").arg(kMaxZeilen));
    const QString zeile = q.value(0).toString();
    Teilnehmerzeile z;
    std::array<QString, kSpalten> felder;
    std::array<QStringView, kSpalten> sicht{};
    qsizetype start = 0;
    for (size_t i = 0; i < ziel.size(); ++i) {
      const qsizetype tab = zeile.indexOf(QLatin1Char('\t'), start);
      if (ziel[i] > 0) {
        felder[ziel[i] - 1] = FeldBereinigt(tab < 0 ? zeile.mid(start) : zeile.mid(start, tab - start));
        sicht[ziel[i] - 1] = felder[ziel[i] - 1];
      }
      if (tab < 0) break;
      start = tab + 1;
    }
    z.setFelder(sicht);
    const QVariant text = q.value(1), hinten = q.value(2);
    z.textfarbe = text.isNull() ? kKeineFarbe : text.toInt();
    z.hintergrund = hinten.isNull() ? kKeineFarbe : hinten.toInt();
    neu.push_back(std::move(z));
  }
  if (q.lastError().isValid()) return lesefehler(pfad, sqlGrund(q.lastError()));
  zeilen = std::move(neu);
  if (sortierung) *sortierung = sort;
  return QString();
}

QString ZtfLesen(Sitzung& s, const QString& pfad) {
  std::vector<Teilnehmerzeile> zeilen;
  QString sortierung;
  const QString fehler = ZtfLesen(pfad, zeilen, &sortierung);
  if (!fehler.isEmpty()) return fehler;
  s.tabelle.ersetzen(std::move(zeilen));
  s.sortierung = sortierung;
  return QString();
}

}  // namespace zt
