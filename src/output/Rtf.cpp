#include "output/Rtf.h"

#include "core/Textdatei.h"

#include <QSet>
#include <vector>

namespace zt {

namespace {
const char kHex[] = "0123456789abcdef";

bool buchstabe(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool leer(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

}  // namespace

qsizetype RtfGruppenende(const QByteArray& d, qsizetype i) {
  int tiefe = 0;
  for (qsizetype k = i; k < d.size(); ++k) {
    const char c = d[k];
    if (c == '\\') {
      ++k;
      continue;
    }
    if (c == '{') ++tiefe;
    else if (c == '}' && --tiefe == 0) return k + 1;
  }
  return -1;
}

namespace {

// Control word at i (d[i] == '\'): its letters, and where the word ends
// (after its number and one delimiting blank).
QByteArray steuerwort(const QByteArray& d, qsizetype i, qsizetype& ende) {
  qsizetype k = i + 1;
  while (k < d.size() && buchstabe(d[k])) ++k;
  const QByteArray wort = d.mid(i + 1, k - i - 1);
  if (wort.isEmpty()) {
    ende = qMin(i + 2, d.size());
    return wort;
  }
  if (k < d.size() && d[k] == '-') ++k;
  while (k < d.size() && d[k] >= '0' && d[k] <= '9') ++k;
  if (k < d.size() && d[k] == ' ') ++k;
  ende = k;
  return wort;
}

// Groups that belong to the head of a document.
const QSet<QByteArray>& kopfgruppen() {
  static const QSet<QByteArray> s{"fonttbl",    "filetbl",      "colortbl", "stylesheet", "listtable",
                                  "listoverridetable", "revtbl", "rsidtbl",  "info",       "generator",
                                  "xmlnstbl",   "latentstyles", "themedata", "colorschememapping",
                                  "datastore",  "defchp",       "defpap",   "pgdsctbl",   "mmathPr"};
  return s;
}

// Document settings that stand between the tables and the text. A word not
// listed starts the body: repeating a setting is harmless, losing text is not.
const QSet<QByteArray>& kopfwoerter() {
  static const QSet<QByteArray> s{
      "ansi", "mac", "pc", "pca", "ansicpg", "deff", "adeff", "stshfdbch", "stshfloch", "stshfhich", "stshfbi",
      "deflang", "deflangfe", "adeflang", "adeflangfe", "uc", "fromtext", "paperw", "paperh", "psz", "margl",
      "margr", "margt", "margb", "margmirror", "gutter", "landscape", "facingp", "deftab", "widowctrl",
      "ftnbj", "ftnstart", "aenddoc", "aftnstart", "aftnnar", "aftnbj", "viewkind", "viewscale", "viewzk",
      "viewbksp", "formshade", "horzdoc", "vertdoc", "dghspace", "dgvspace", "dghorigin", "dgvorigin",
      "dghshow", "dgvshow", "jexpand", "noxlattoyen", "expshrtn", "noultrlspc", "dntblnsbdb", "nospaceforul",
      "hyphhotz", "hyphauto", "hyphcaps", "hyphconsec", "splytwnine", "htmautsp", "useltbaln", "alntblind",
      "lytcalctblwd", "lyttblrtgr", "lnbrkrule", "nobrkwrptbl", "snaptogridincell", "allowfieldendsel",
      "wrppunct", "asianbrkrule", "rsidroot", "newtblstyruls", "nogrowautofit", "themelang", "themelangfe",
      "themelangcs", "validatexml", "showplaceholdtext", "ignoremixedcontent", "saveinvalidxml",
      "showxmlerrors", "sprstsp", "nolnhtadjtbl", "truncex", "nolead", "msmcap", "lytprtmet", "fet",
      "ilfomacatclnup", "viewnobound", "pgnstart", "linestart", "donotembedsysfont", "relyonvml",
      "donotembedlingdata", "grfdocevents", "trackmoves", "trackformatting", "nofeaturethrottle",
      "felnbrelev", "nouicompat", "stylesortmethod", "ftnnar", "ftnrstcont", "aftnrstcont", "enddoc",
      "ftntj", "aftntj", "chhires", "vieww", "viewh", "jcompress", "notabind", "wraptrsp", "prcolbl",
      "noextrasprl", "nocolbal", "sprsspbf", "otblrul", "transmf", "sprstsm", "bdrrlswsix", "oldas",
      "lytexcttp", "noproof", "rtldoc", "ltrdoc", "hwelev", "dntultrlspc", "dntblnsbdb", "spltpgpar",
      "nosnaplinegrid", "utinl", "doctemp", "defformat", "revprop", "revisions"};
  return s;
}
}  // namespace

QByteArray RtfText(const QString& text) {
  QByteArray out;
  out.reserve(text.size() + 8);
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u == '\\' || u == '{' || u == '}') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u >= 0x20 && u < 0x7F) {
      out += static_cast<char>(u);
    } else if (u == '\t') {
      out += "\\tab ";
    } else if (u == '\n') {
      out += "\\line ";
    } else if (u < 0x20 || u == 0x7F) {
      out += ' ';
    } else if (const int c = Cp1252Byte(u); c >= 0) {
      out += "\\'";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      // RTF counts in signed 16-bit units; a character beyond them comes as
      // its two surrogates, each with "?" for readers that cannot show it.
      out += "\\u";
      out += QByteArray::number(static_cast<qint16>(u));
      out += '?';
    }
  }
  return out;
}

bool IstRtf(const QByteArray& daten) {
  qsizetype i = daten.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  while (i < daten.size() && leer(daten[i])) ++i;
  return daten.mid(i, 5) == "{\\rtf";
}

QByteArray PlatzhalterErsetzen(const QByteArray& text, const QList<Platzhalter>& platzhalter) {
  const int n = static_cast<int>(platzhalter.size());
  std::vector<qsizetype> naechste(n);
  std::vector<bool> aktiv(n);
  for (int k = 0; k < n; ++k) {
    const Platzhalter& p = platzhalter[k];
    naechste[k] = p.name.isEmpty() ? -1 : text.indexOf(p.name);
    aktiv[k] = !(p.nichtAmZeilenanfang && naechste[k] == 0);
  }
  QByteArray out;
  out.reserve(text.size() + text.size() / 8);
  qsizetype pos = 0;
  for (;;) {
    int wahl = -1;
    for (int k = 0; k < n; ++k) {
      if (naechste[k] < 0) continue;
      if (wahl < 0 || naechste[k] < naechste[wahl] ||
          (naechste[k] == naechste[wahl] && platzhalter[k].name.size() > platzhalter[wahl].name.size()))
        wahl = k;
    }
    if (wahl < 0) break;
    const Platzhalter& p = platzhalter[wahl];
    out.append(text.constData() + pos, naechste[wahl] - pos);
    out += aktiv[wahl] ? p.wert : p.name;
    pos = naechste[wahl] + p.name.size();
    for (int k = 0; k < n; ++k)
      if (naechste[k] >= 0 && naechste[k] < pos) naechste[k] = text.indexOf(platzhalter[k].name, pos);
  }
  out.append(text.constData() + pos, text.size() - pos);
  return out;
}

QByteArray ZeilenweiseErsetzen(const QByteArray& text, const QList<Platzhalter>& platzhalter) {
  QByteArray out;
  out.reserve(text.size() + text.size() / 8);
  qsizetype pos = 0;
  while (pos < text.size()) {
    qsizetype ende = text.indexOf('\n', pos);
    if (ende < 0) ende = text.size();
    qsizetype zeilenende = ende;
    if (zeilenende > pos && text[zeilenende - 1] == '\r') --zeilenende;
    out += PlatzhalterErsetzen(text.mid(pos, zeilenende - pos), platzhalter);
    out += "\r\n";
    pos = ende + 1;
  }
  return out;
}

qsizetype RtfKoerperAnfang(const QByteArray& d) {
  qsizetype i = d.indexOf("{\\rtf");
  if (i < 0) return -1;
  qsizetype ende = 0;
  steuerwort(d, i + 1, ende);
  i = ende;
  while (i < d.size()) {
    const char c = d[i];
    if (leer(c)) {
      ++i;
      continue;
    }
    if (c == '{') {
      qsizetype k = i + 1;
      while (k < d.size() && leer(d[k])) ++k;
      if (k + 1 >= d.size() || d[k] != '\\') return i;
      qsizetype wortende = 0;
      const QByteArray wort = steuerwort(d, k, wortende);
      const bool ziel = wort.isEmpty() && d[k + 1] == '*';
      if (!ziel && !kopfgruppen().contains(wort)) return i;
      const qsizetype g = RtfGruppenende(d, i);
      if (g < 0) return i;
      i = g;
      continue;
    }
    if (c == '\\' && i + 1 < d.size() && buchstabe(d[i + 1])) {
      qsizetype wortende = 0;
      const QByteArray wort = steuerwort(d, i, wortende);
      if (!kopfwoerter().contains(wort)) return i;
      i = wortende;
      continue;
    }
    return i;
  }
  return i;
}

QByteArray RtfSeitenVerbinden(const QList<QByteArray>& dokumente) {
  if (dokumente.isEmpty()) return QByteArray();
  if (dokumente.size() == 1) return dokumente.first();
  const auto schluss = [](const QByteArray& d) {
    const qsizetype k = d.lastIndexOf('}');
    return k < 0 ? d.size() : k;
  };
  const QByteArray& erstes = dokumente.first();
  QByteArray out = erstes.left(schluss(erstes));
  for (int n = 1; n < dokumente.size(); ++n) {
    const QByteArray& d = dokumente[n];
    qsizetype anfang = RtfKoerperAnfang(d);
    if (anfang < 0) anfang = 0;
    const QByteArray koerper = d.mid(anfang, schluss(d) - anfang);
    // A body that opens its own section gets a section break, which starts
    // a new page too and keeps that section's settings.
    out += koerper.startsWith("\\sectd") ? "\r\n\\sect " : "\r\n\\page ";
    out += koerper;
  }
  out += "}\r\n";
  return out;
}

}  // namespace zt
