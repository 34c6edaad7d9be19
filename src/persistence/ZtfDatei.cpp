// The program's own database file "*.ztf": an SQLite 3 file with the twenty
// fields of every row, the row order, both colours and a format version.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "persistence/Datenbank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zt {

namespace {
constexpr int kZtfFormat = 1;
// "ZTF1" in the SQLite header, so that file(1) and we can tell our files apart.
constexpr int kAnwendungsKennung = 0x5A544631;

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
    if (!db.open()) m_fehler = db.lastError().text();
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
  QString m_name;
  QString m_fehler;
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
    if (!q.exec(befehl)) return q.lastError().text();
  if (!db.transaction()) return db.lastError().text();
  const QStringList anlegen = {
      QStringLiteral("CREATE TABLE meta (schluessel TEXT PRIMARY KEY, wert TEXT NOT NULL)"),
      QStringLiteral("CREATE TABLE teilnehmer (nr INTEGER PRIMARY KEY, felder TEXT NOT NULL, "
                     "textfarbe INTEGER NOT NULL, hintergrund INTEGER NOT NULL)"),
  };
  for (const QString& befehl : anlegen)
    if (!q.exec(befehl)) return q.lastError().text();

  if (!q.prepare(QStringLiteral("INSERT INTO meta (schluessel, wert) VALUES (?, ?)")))
    return q.lastError().text();
  const std::pair<QString, QString> meta[] = {
      {QStringLiteral("format"), QString::number(kZtfFormat)},
      {QStringLiteral("programm"), QStringLiteral("Zieltafel")},
      {QStringLiteral("spalten"), spaltenliste()},
      {QStringLiteral("sortierung"), sortierung},
  };
  for (const auto& [k, w] : meta) {
    q.bindValue(0, k);
    q.bindValue(1, w.isNull() ? QString(QLatin1String("")) : w);
    if (!q.exec()) return q.lastError().text();
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
        sqlTextAnhaengen(befehl, z.felder[k]);
      }
      befehl += QLatin1String("',") + QString::number(z.textfarbe) + QLatin1Char(',') +
                QString::number(z.hintergrund) + QLatin1Char(')');
    }
    if (!q.exec(befehl)) return q.lastError().text();
  }
  q.finish();
  if (!db.commit()) return db.lastError().text();
  return QString();
}
}  // namespace

QString TemporaereDateiNeben(const QString& ziel, QString& fehler) {
  const QFileInfo fi(ziel);
  QTemporaryFile t(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".XXXXXX.tmp"));
  t.setAutoRemove(false);
  if (!t.open()) {
    fehler = t.errorString();
    return QString();
  }
  const QString name = t.fileName();
  t.close();
  // A temporary file is private to its owner; the file it becomes should
  // look like any other file the program writes (or keep the old one's mode).
  QFile::setPermissions(name, QFileInfo::exists(ziel)
                                  ? QFile::permissions(ziel)
                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                        QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
  return name;
}

QString DateiErsetzen(const QString& von, const QString& nach) {
#ifdef Q_OS_WIN
  const std::wstring a = QDir::toNativeSeparators(von).toStdWString();
  const std::wstring b = QDir::toNativeSeparators(nach).toStdWString();
  if (!MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return qt_error_string(static_cast<int>(GetLastError()));
#else
  // rename(2) replaces the target in one step: readers see the old file or
  // the new one.
  if (::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) != 0)
    return qt_error_string(errno);
#endif
  return QString();
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
  QString grund;
  const QString temp = TemporaereDateiNeben(pfad, grund);
  if (temp.isEmpty()) return schreibfehler(pfad, grund);
  {
    Verbindung v(temp, false);
    grund = v.fehler();
    if (grund.isEmpty()) grund = tabelleAnlegen(v.db(), zeilen, sortierung);
  }
  if (grund.isEmpty()) grund = DateiErsetzen(temp, pfad);
  if (!grund.isEmpty()) {
    QFile::remove(temp);
    return schreibfehler(pfad, grund);
  }
  return QString();
}

QString ZtfSchreiben(const Sitzung& s, const QString& pfad) {
  return ZtfSchreiben(s.tabelle.zeilen(), s.sortierung, pfad);
}

QString ZtfLesen(const QString& pfad, std::vector<Teilnehmerzeile>& zeilen, QString* sortierung) {
  zeilen.clear();
  {
    // SQLite would happily create a missing file or take a text file for an
    // empty database; look at the header first.
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return lesefehler(pfad, f.errorString());
    if (!SiehtNachZtfAus(f.read(16)))
      return QStringLiteral("Die Datei \"%1\" ist keine Zieltafel-Datenbank.")
          .arg(QDir::toNativeSeparators(pfad));
  }
  Verbindung v(pfad, true);
  if (!v.fehler().isEmpty()) return lesefehler(pfad, v.fehler());
  QSqlQuery q(v.db());
  q.setForwardOnly(true);
  QString format, sort, spalten;
  bool metaGelesen = false;
  if (q.exec(QStringLiteral("SELECT schluessel, wert FROM meta"))) {
    metaGelesen = true;
    while (q.next()) {
      const QString k = q.value(0).toString();
      if (k == QLatin1String("format"))
        format = q.value(1).toString();
      else if (k == QLatin1String("sortierung"))
        sort = q.value(1).toString();
      else if (k == QLatin1String("spalten"))
        spalten = q.value(1).toString();
    }
  }
  const QString keine =
      QStringLiteral("Die Datei \"%1\" ist keine Zieltafel-Datenbank.").arg(QDir::toNativeSeparators(pfad));
  if (!metaGelesen || format.isEmpty()) return keine;
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
    return lesefehler(pfad, q.lastError().text());
  std::vector<Teilnehmerzeile> neu;
  while (q.next()) {
    const QString zeile = q.value(0).toString();
    Teilnehmerzeile z;
    qsizetype start = 0;
    for (size_t i = 0; i < ziel.size(); ++i) {
      const qsizetype tab = zeile.indexOf(QLatin1Char('\t'), start);
      if (ziel[i] > 0)
        z.felder[ziel[i] - 1] = FeldBereinigt(tab < 0 ? zeile.mid(start) : zeile.mid(start, tab - start));
      if (tab < 0) break;
      start = tab + 1;
    }
    const QVariant text = q.value(1), hinten = q.value(2);
    z.textfarbe = text.isNull() ? kKeineFarbe : text.toInt();
    z.hintergrund = hinten.isNull() ? kKeineFarbe : hinten.toInt();
    neu.push_back(std::move(z));
  }
  if (q.lastError().isValid()) return lesefehler(pfad, q.lastError().text());
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
