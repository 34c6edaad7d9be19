// The spreadsheet export: an Office Open XML workbook with one sheet, a title
// row of column keys and one row per participant in the table's order.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "persistence/Datenbank.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <cstdio>
#include <xlsxwriter.h>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zt {

namespace {
// Excel refuses longer cell texts and more rows.
constexpr int kMaxZellText = 32767;
constexpr int kMaxZeilen = 1048576;

QByteArray dateinameFuerBibliothek(const QString& pfad) {
#ifdef Q_OS_WIN
  return pfad.toUtf8();  // libxlsxwriter converts UTF-8 names itself on Windows
#else
  return QFile::encodeName(pfad);
#endif
}

// Place columns hold whole numbers; those go in as numbers so that the sheet
// can sort and sum them. Anything else ("007", "3a") stays text.
bool alsZahl(int spalte, const QString& text, double& wert) {
  if (Spaltenbeschreibung_(spalte).art != Spaltenart::Zahl || text.isEmpty() || text.size() > 9) return false;
  for (QChar c : text)
    if (!c.isDigit() || c.unicode() > '9') return false;
  if (text.size() > 1 && text.front() == QLatin1Char('0')) return false;
  wert = text.toDouble();
  return true;
}

// libxlsxwriter reports failures as "[ERROR][file.c:123]: ..." lines on
// stderr, in English, before it returns its code. The code is what we
// report (in German); its lines are kept off the operator's console for as
// long as the library works.
class BibliothekStumm {
 public:
  BibliothekStumm() {
#ifdef Q_OS_UNIX
    std::fflush(stderr);
    m_alt = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_alt >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
#endif
  }
  ~BibliothekStumm() {
#ifdef Q_OS_UNIX
    std::fflush(stderr);
    if (m_alt >= 0) {
      ::dup2(m_alt, STDERR_FILENO);
      ::close(m_alt);
    }
#endif
  }
  BibliothekStumm(const BibliothekStumm&) = delete;
  BibliothekStumm& operator=(const BibliothekStumm&) = delete;

 private:
  int m_alt = -1;
};

// A disk with (almost) nothing left is the usual reason why the library
// cannot write its zip file or its scratch files.
bool fastVoll(const QString& ordner) {
  const QStorageInfo platz(ordner);
  return platz.isValid() && platz.bytesAvailable() < (qint64(1) << 20);
}

QString bibliotheksgrund(lxw_error e, const QString& ziel) {
  switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
      return QStringLiteral("Nicht genug Arbeitsspeicher.");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
      if (fastVoll(QFileInfo(ziel).absolutePath()) || fastVoll(QDir::tempPath()))
        return QStringLiteral("Der Datenträger ist voll.");
      if (e == LXW_ERROR_CREATING_TMPFILE || e == LXW_ERROR_READING_TMPFILE)
        return QStringLiteral("Die Zwischendateien im Ordner \"%1\" können nicht geschrieben werden.")
            .arg(QDir::toNativeSeparators(QDir::tempPath()));
      return QStringLiteral("Die Excel-Datei kann nicht vollständig geschrieben werden.");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_32_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_128_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_255_STRING_LENGTH_EXCEEDED:
      return QStringLiteral("Ein Text ist länger, als eine Excel-Zelle aufnehmen kann.");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
      return QStringLiteral("Die Tabelle ist größer, als ein Excel-Blatt aufnehmen kann.");
    default:
      return QStringLiteral("Die Excel-Bibliothek meldet den Fehler Nummer %1.").arg(static_cast<int>(e));
  }
}

QString schreiben(const Teilnehmertabelle& t, const QByteArray& datei, const QString& ziel) {
  if (t.anzahl() + 1 > kMaxZeilen)
    return QStringLiteral("Die Tabelle hat mehr Zeilen, als eine Excel-Datei aufnehmen kann.");
  // The library's scratch files go to our temporary folder: its default
  // (tmpfile()) is not writable for ordinary users on Windows.
  QByteArray scratch = dateinameFuerBibliothek(QDir::tempPath());
  lxw_workbook_options optionen{};
  optionen.tmpdir = scratch.data();
  optionen.use_zip64 = 1;
  // Rows are written in order, so each can go to disk at once instead of the
  // whole sheet staying in memory.
  optionen.constant_memory = 1;
  BibliothekStumm stumm;
  lxw_workbook* mappe = workbook_new_opt(datei.constData(), &optionen);
  if (!mappe) return bibliotheksgrund(LXW_ERROR_CREATING_XLSX_FILE, ziel);
  lxw_worksheet* blatt = workbook_add_worksheet(mappe, "Teilnehmer");
  lxw_format* kopf = workbook_add_format(mappe);
  format_set_bold(kopf);
  lxw_format* text = workbook_add_format(mappe);
  format_set_num_format(text, "@");

  lxw_error fehler = LXW_NO_ERROR;
  auto merke = [&fehler](lxw_error e) {
    if (fehler == LXW_NO_ERROR && e != LXW_NO_ERROR) fehler = e;
  };
  for (int sp = 1; sp <= kSpalten; ++sp) {
    const lxw_col_t c = static_cast<lxw_col_t>(sp - 1);
    // Twips to character widths of the default font, roughly.
    merke(worksheet_set_column(blatt, c, c, std::max(6, Spaltenbeschreibung_(sp).breite / 110), text));
    merke(worksheet_write_string(blatt, 0, c, Spaltenbeschreibung_(sp).schluessel, kopf));
  }
  worksheet_freeze_panes(blatt, 1, 0);
  for (int i = 1; i <= t.anzahl() && fehler == LXW_NO_ERROR; ++i) {
    const Teilnehmerzeile& zeile = t.zeile(i);
    for (int sp = 1; sp <= kSpalten; ++sp) {
      const QString f = zeile.feld(sp);
      if (f.isEmpty()) continue;
      double wert = 0;
      if (alsZahl(sp, f, wert)) {
        merke(worksheet_write_number(blatt, static_cast<lxw_row_t>(i), static_cast<lxw_col_t>(sp - 1), wert,
                                     nullptr));
        continue;
      }
      const QByteArray utf8 = (f.size() > kMaxZellText ? f.left(kMaxZellText) : f).toUtf8();
      merke(worksheet_write_string(blatt, static_cast<lxw_row_t>(i), static_cast<lxw_col_t>(sp - 1),
                                   utf8.constData(), text));
    }
  }
  const lxw_error schluss = workbook_close(mappe);  // also frees the workbook
  if (fehler == LXW_NO_ERROR) fehler = schluss;
  if (fehler != LXW_NO_ERROR) return bibliotheksgrund(fehler, ziel);
  return QString();
}
}  // namespace

QString XlsxSchreiben(const Sitzung& s, const QString& pfad) {
  // The library writes the temporary file itself; the Baustelle syncs it,
  // puts it in place, and removes it on any failure.
  Baustelle b(pfad);
  if (!b.ok()) return b.fehler();
  const QString grund = schreiben(s.tabelle, dateinameFuerBibliothek(b.pfad()), pfad);
  if (!grund.isEmpty()) return Schreibfehler(pfad, grund);
  if (!b.einsetzen()) return b.fehler();
  return QString();
}

}  // namespace zt
