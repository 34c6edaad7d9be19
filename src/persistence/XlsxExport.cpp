// The spreadsheet export: an Office Open XML workbook with one sheet, a title
// row of column keys and one row per participant in the table's order.
#include "core/Sitzung.h"
#include "core/Text.h"
#include "persistence/Datenbank.h"

#include <QDir>
#include <QFile>
#include <xlsxwriter.h>

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

QString schreiben(const Teilnehmertabelle& t, const QByteArray& datei) {
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
  lxw_workbook* mappe = workbook_new_opt(datei.constData(), &optionen);
  if (!mappe) return QStringLiteral("Die Arbeitsmappe kann nicht angelegt werden.");
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
    const auto& felder = t.zeile(i).felder;
    for (int sp = 1; sp <= kSpalten; ++sp) {
      const QString& f = felder[sp - 1];
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
  if (fehler != LXW_NO_ERROR) return QString::fromUtf8(lxw_strerror(fehler));
  return QString();
}
}  // namespace

QString XlsxSchreiben(const Sitzung& s, const QString& pfad) {
  QString grund;
  const QString temp = TemporaereDateiNeben(pfad, grund);
  if (!temp.isEmpty()) {
    grund = schreiben(s.tabelle, dateinameFuerBibliothek(temp));
    if (grund.isEmpty()) grund = DateiErsetzen(temp, pfad);
    if (!grund.isEmpty()) QFile::remove(temp);
  }
  if (grund.isEmpty()) return QString();
  return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
      .arg(QDir::toNativeSeparators(pfad), grund);
}

}  // namespace zt
