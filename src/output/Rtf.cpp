#include "output/Rtf.h"

#include "core/Textdatei.h"

#include <QSet>
#include <initializer_list>
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

namespace {

// One character of a document's text and the bytes it was written with.
struct Textzeichen {
  qsizetype anfang = 0, ende = 0;
  char zeichen = 0;      // Windows-1252; 1 for a character no name holds
  bool frisch = false;   // nothing in its line before it, not even formatting
  bool nachWort = false;  // right after a control word, with no blank between
};

struct Dokumenttext {
  std::vector<Textzeichen> zeichen;  // in the order of the source
  std::vector<std::vector<int>> zeilen;  // the characters of each line
};

bool wortIn(QByteArrayView wort, std::initializer_list<const char*> liste) {
  for (const char* w : liste)
    if (wort == QByteArrayView(w)) return true;
  return false;
}

// Groups whose text nobody reads as text: tables, pictures, data.
bool versteckteGruppe(QByteArrayView w) {
  return wortIn(w, {"fonttbl", "colortbl", "stylesheet", "listtable", "listoverridetable", "revtbl", "rsidtbl",
                    "filetbl", "pict", "object", "objdata", "themedata", "colorschememapping", "datastore",
                    "latentstyles", "xmlnstbl", "pgdsctbl", "generator", "mmathPr", "defchp", "defpap", "fldinst",
                    "shpinst", "sp", "sn", "sv", "bkmkstart", "bkmkend"});
}

// Groups with a text of their own beside the body: what they hold never
// runs on with the text around them.
bool eigenerTextfluss(QByteArrayView w) {
  return wortIn(w, {"info", "title", "subject", "author", "operator", "keywords", "comment", "doccomm", "manager",
                    "company", "category", "header", "headerl", "headerr", "headerf", "footer", "footerl",
                    "footerr", "footerf", "footnote", "annotation", "listtext", "pntext", "pntxta", "pntxtb",
                    "txe", "xe", "tc", "shptxt"});
}

bool zeilenwort(QByteArrayView w) {
  return wortIn(w, {"par", "sect", "page", "line", "cell", "row", "nestcell", "nestrow", "column"});
}

// Control words that stand for a character of the text.
char zeichenwort(QByteArrayView w) {
  if (w == QByteArrayView("tab")) return '\t';
  if (w == QByteArrayView("emdash")) return '\x97';
  if (w == QByteArrayView("endash")) return '\x96';
  if (w == QByteArrayView("bullet")) return '\x95';
  if (w == QByteArrayView("lquote")) return '\x91';
  if (w == QByteArrayView("rquote")) return '\x92';
  if (w == QByteArrayView("ldblquote")) return '\x93';
  if (w == QByteArrayView("rdblquote")) return '\x94';
  if (wortIn(w, {"emspace", "enspace", "qmspace"})) return '\x01';
  return 0;
}

int hexziffer(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the text of an RTF document (or of plain text, which is all text)
// as a reader shows it: line breaks of the source are no line breaks, a
// "\'xx" or "\uN" is one character, hidden groups hold no text.
Dokumenttext dokumenttext(const QByteArray& d) {
  Dokumenttext t;
  struct Fluss {
    int zeile;
    bool frisch;
  };
  std::vector<Fluss> fluesse;
  const auto neuerFluss = [&] {
    t.zeilen.emplace_back();
    fluesse.push_back({static_cast<int>(t.zeilen.size()) - 1, true});
    return static_cast<int>(fluesse.size()) - 1;
  };
  struct Gruppe {
    int fluss;  // -1: hidden
    int uc;     // characters that stand in for a "\uN"
  };
  std::vector<Gruppe> gruppen{{neuerFluss(), 1}};
  // The document settings before the body are no formatting of its first line.
  const qsizetype koerper = RtfKoerperAnfang(d);
  bool imKopf = koerper > 0;
  int ersatzzeichen = 0;  // still to pass over after a "\uN"
  int uZeichen = -1;      // the character of that "\uN"
  bool nachWort = false;
  const qsizetype n = d.size();

  const auto zeichen = [&](qsizetype anfang, qsizetype ende, char z) {
    const int f = gruppen.back().fluss;
    if (f < 0) return -1;
    Fluss& fl = fluesse[f];
    t.zeichen.push_back({anfang, ende, z, fl.frisch, nachWort});
    const int k = static_cast<int>(t.zeichen.size()) - 1;
    t.zeilen[fl.zeile].push_back(k);
    fl.frisch = false;
    return k;
  };
  const auto formatierung = [&] {
    if (const int f = gruppen.back().fluss; f >= 0) fluesse[f].frisch = false;
  };
  const auto zeilenende = [&] {
    if (const int f = gruppen.back().fluss; f >= 0) {
      t.zeilen.emplace_back();
      fluesse[f] = {static_cast<int>(t.zeilen.size()) - 1, true};
    }
  };
  // What stands in for a "\uN" belongs to it: it goes when the character goes.
  const auto ersatzUeberspringen = [&](qsizetype ende) {
    --ersatzzeichen;
    if (uZeichen >= 0) t.zeichen[uZeichen].ende = ende;
  };

  qsizetype i = 0;
  while (i < n) {
    if (imKopf && i >= koerper) {
      imKopf = false;
      fluesse[0].frisch = true;
    }
    const char c = d[i];
    if (c == '{') {
      Gruppe g = gruppen.back();
      qsizetype k = i + 1;
      while (k < n && (d[k] == '\r' || d[k] == '\n')) ++k;
      if (k + 1 < n && d[k] == '\\') {
        if (d[k + 1] == '*') {
          g.fluss = -1;
        } else if (buchstabe(d[k + 1])) {
          qsizetype e = k + 1;
          while (e < n && buchstabe(d[e])) ++e;
          const QByteArrayView wort(d.constData() + k + 1, e - k - 1);
          if (versteckteGruppe(wort)) g.fluss = -1;
          else if (g.fluss >= 0 && eigenerTextfluss(wort)) g.fluss = neuerFluss();
        }
      }
      gruppen.push_back(g);
      ersatzzeichen = 0;
      nachWort = false;
      ++i;
      continue;
    }
    if (c == '}') {
      if (gruppen.size() > 1) gruppen.pop_back();
      ersatzzeichen = 0;
      nachWort = false;
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      nachWort = false;
      ++i;
      continue;
    }
    if (c == '\\' && i + 1 < n) {
      const char c2 = d[i + 1];
      if (buchstabe(c2)) {
        qsizetype k = i + 1;
        while (k < n && buchstabe(d[k])) ++k;
        const QByteArrayView wort(d.constData() + i + 1, k - i - 1);
        qsizetype z = k;
        if (z < n && d[z] == '-') ++z;
        while (z < n && d[z] >= '0' && d[z] <= '9') ++z;
        const long long zahl = d.mid(k, z - k).toLongLong();
        qsizetype ende = z;
        const bool blank = ende < n && d[ende] == ' ';
        if (blank) ++ende;
        if (ersatzzeichen > 0) {
          ersatzUeberspringen(ende);
        } else if (wort == QByteArrayView("u")) {
          const int u = static_cast<int>(zahl < 0 ? zahl + 65536 : zahl);
          const int b = u < 0x80 ? u : Cp1252Byte(static_cast<char16_t>(u));
          uZeichen = zeichen(i, ende, b > 0 ? static_cast<char>(b) : '\x01');
          ersatzzeichen = gruppen.back().uc;
        } else if (wort == QByteArrayView("uc")) {
          gruppen.back().uc = static_cast<int>(qBound(0LL, zahl, 16LL));
        } else if (wort == QByteArrayView("bin")) {
          ende = qMin(n, ende + qMax(0LL, zahl));
        } else if (zeilenwort(wort)) {
          zeilenende();
        } else if (const char zw = zeichenwort(wort)) {
          zeichen(i, ende, zw);
        } else {
          formatierung();
        }
        nachWort = !blank;
        i = ende;
        continue;
      }
      if (c2 == '\'') {
        const qsizetype ende = qMin(n, i + 4);
        if (ersatzzeichen > 0) {
          ersatzUeberspringen(ende);
        } else {
          const int hoch = i + 3 < n ? hexziffer(d[i + 2]) : -1, tief = i + 3 < n ? hexziffer(d[i + 3]) : -1;
          zeichen(i, ende, hoch >= 0 && tief >= 0 && hoch + tief > 0 ? static_cast<char>(hoch * 16 + tief) : '\x01');
        }
        nachWort = false;
        i = ende;
        continue;
      }
      if (ersatzzeichen > 0) {
        ersatzUeberspringen(i + 2);
      } else if (c2 == '{' || c2 == '}' || c2 == '\\') {
        zeichen(i, i + 2, c2);
      } else if (c2 == '~') {
        zeichen(i, i + 2, '\xa0');
      } else if (c2 == '_') {
        zeichen(i, i + 2, '-');
      } else if (c2 == '\r' || c2 == '\n') {
        zeilenende();  // a "\" before a line break is a paragraph mark
      }
      nachWort = false;
      i += 2;
      continue;
    }
    if (ersatzzeichen > 0) ersatzUeberspringen(i + 1);
    else zeichen(i, i + 1, c);
    nachWort = false;
    ++i;
  }
  return t;
}

// Placeholders of the given kinds in a line's text where nothing was replaced.
void uebrigeNamen(const QByteArray& text, const std::vector<bool>& ersetzt, int arten, QStringList& uebrig) {
  const auto merken = [&](qsizetype von, qsizetype bis) {
    const QString name = QString::fromLatin1(text.mid(von, bis - von));
    if (!uebrig.contains(name)) uebrig << name;
  };
  const qsizetype n = text.size();
  for (qsizetype j = 0; j < n; ++j) {
    if (ersetzt[j]) continue;
    if ((arten & kRtftxtNamen) && text.mid(j, 6) == "RTFtxt") {
      qsizetype e = j + 6;
      while (e < n && !ersetzt[e] && buchstabe(text[e])) ++e;
      bool frei = true;
      for (qsizetype k = j; k < j + 6; ++k) frei = frei && !ersetzt[k];
      if (frei) {
        merken(j, e);
        j = e - 1;
        continue;
      }
    }
    if ((arten & kRautenNamen) && text[j] == '#') {
      qsizetype a = j;
      while (a > 0 && !ersetzt[a - 1] && buchstabe(text[a - 1])) --a;
      if (j - a >= 2) merken(a, j + 1);
    }
  }
}
}  // namespace

Ersetzung PlatzhalterErsetzen(const QByteArray& rtf, const QList<Platzhalter>& platzhalter, int arten) {
  const Dokumenttext t = dokumenttext(rtf);
  // For every character: -1 it stays, -2 it goes, k: the value of placeholder k takes its place.
  std::vector<int> ersatz(t.zeichen.size(), -1);
  Ersetzung e;
  const int n = static_cast<int>(platzhalter.size());
  std::vector<qsizetype> naechste(n);
  std::vector<bool> aktiv(n);
  for (const std::vector<int>& zeile : t.zeilen) {
    if (zeile.empty()) continue;
    QByteArray text;
    text.reserve(static_cast<qsizetype>(zeile.size()));
    for (int k : zeile) text += t.zeichen[k].zeichen;
    const bool zeilenanfang = t.zeichen[zeile.front()].frisch;
    for (int k = 0; k < n; ++k) {
      const Platzhalter& p = platzhalter[k];
      const bool hier = !p.name.isEmpty() && (p.nurInZeileMit.isEmpty() || text.contains(p.nurInZeileMit));
      naechste[k] = hier ? text.indexOf(p.name) : -1;
      aktiv[k] = !(p.nichtAmZeilenanfang && naechste[k] == 0 && zeilenanfang);
    }
    std::vector<bool> ersetzt(static_cast<size_t>(text.size()), false);
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
      const qsizetype anfang = naechste[wahl];
      pos = anfang + platzhalter[wahl].name.size();
      if (aktiv[wahl]) {
        ersatz[zeile[anfang]] = wahl;
        for (qsizetype j = anfang; j < pos; ++j) {
          if (j > anfang) ersatz[zeile[j]] = -2;
          ersetzt[j] = true;
        }
      }
      for (int k = 0; k < n; ++k)
        if (naechste[k] >= 0 && naechste[k] < pos) naechste[k] = text.indexOf(platzhalter[k].name, pos);
    }
    if (arten) uebrigeNamen(text, ersetzt, arten, e.uebrig);
  }

  e.rtf.reserve(rtf.size() + rtf.size() / 8);
  qsizetype pos = 0;
  for (size_t k = 0; k < t.zeichen.size(); ++k) {
    if (ersatz[k] == -1) continue;
    const Textzeichen& z = t.zeichen[k];
    e.rtf.append(rtf.constData() + pos, z.anfang - pos);
    // The blank ends the control word in front, which would otherwise run
    // on into what follows.
    if (z.nachWort) e.rtf += ' ';
    if (ersatz[k] >= 0) e.rtf += platzhalter[ersatz[k]].wert;
    pos = z.ende;
  }
  e.rtf.append(rtf.constData() + pos, rtf.size() - pos);
  return e;
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

namespace {
// LibreOffice writes its one section as continuous ("\sbknone"): joined
// after another, the next certificate would start right below the last one.
// The break kind of the section definition at the start becomes a page.
void neueSeite(QByteArray& koerper) {
  qsizetype i = 0;
  while (i < koerper.size() && koerper[i] == '\\' && i + 1 < koerper.size() && buchstabe(koerper[i + 1])) {
    qsizetype ende = 0;
    const QByteArray wort = steuerwort(koerper, i, ende);
    if (wort == "pard" || wort == "plain") return;
    if (wort == "sbknone" || wort == "sbkcol" || wort == "sbkeven" || wort == "sbkodd") {
      qsizetype k = i + 1 + wort.size();
      koerper.replace(i, k - i, "\\sbkpage");
      ende += 8 - (k - i);
    }
    i = ende;
    while (i < koerper.size() && leer(koerper[i])) ++i;
  }
}
}  // namespace

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
    QByteArray koerper = d.mid(anfang, schluss(d) - anfang);
    // A body that opens its own section gets a section break, which starts
    // a new page too and keeps that section's settings.
    const bool sektion = koerper.startsWith("\\sectd");
    if (sektion) neueSeite(koerper);
    out += sektion ? "\r\n\\sect " : "\r\n\\page ";
    out += koerper;
  }
  out += "}\r\n";
  return out;
}

}  // namespace zt
