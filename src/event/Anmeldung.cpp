#include "event/Anmeldung.h"

#include "core/Sitzung.h"
#include "core/Text.h"
#include "core/Textdatei.h"
#include "event/Pruefung.h"

#include <QHash>
#include <utility>
#include <algorithm>

namespace zt {

namespace {
const QString kZieltafel = QStringLiteral("Zieltafel");

int hexwert(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  return -1;
}

bool escape(const QString& t, qsizetype i) {
  return i + 2 < t.size() && t[i] == QLatin1Char('=') && hexwert(t[i + 1]) >= 0 && hexwert(t[i + 2]) >= 0;
}

// Quoted-printable is decoded only where the mail says so or shows its
// marks: a text that merely holds "=" stays as it is.
bool siehtNachQuotedPrintableAus(const QString& t) {
  qsizetype i = t.indexOf(QLatin1Char('='));
  if (i < 0) return false;
  if (t.contains(QLatin1String("quoted-printable"), Qt::CaseInsensitive)) return true;
  for (; i >= 0 && i + 1 < t.size(); i = t.indexOf(QLatin1Char('='), i + 1)) {
    if (t[i + 1] == QLatin1Char('\n')) return true;  // soft line break
    if (!escape(t, i)) continue;
    const int wert = hexwert(t[i + 1]) * 16 + hexwert(t[i + 2]);
    if (wert >= 0x80 || wert == 0x3D || wert == 0x20 || wert == 0x09) return true;
  }
  return false;
}

QString quotedPrintableDekodieren(const QString& t) {
  QString aus;
  aus.reserve(t.size());
  qsizetype i = 0;
  while (i < t.size()) {
    const qsizetype gleich = t.indexOf(QLatin1Char('='), i);
    if (gleich < 0) {
      aus += QStringView(t).mid(i);
      break;
    }
    aus += QStringView(t).mid(i, gleich - i);
    i = gleich;
    if (i + 1 < t.size() && t[i + 1] == QLatin1Char('\n')) {
      i += 2;  // soft line break: the line goes on
      continue;
    }
    if (!escape(t, i)) {
      aus += t[i++];
      continue;
    }
    // A run of escapes is one character sequence in the mail's charset:
    // UTF-8 when it is valid UTF-8, otherwise Windows-1252.
    QByteArray bytes;
    while (escape(t, i)) {
      bytes.append(static_cast<char>(hexwert(t[i + 1]) * 16 + hexwert(t[i + 2])));
      i += 3;
      if (i + 1 < t.size() && t[i] == QLatin1Char('=') && t[i + 1] == QLatin1Char('\n')) i += 2;
    }
    aus += TextDekodieren(bytes);
  }
  return aus;
}

bool siehtNachHtmlAus(const QString& t) {
  static const char* const marken[] = {"html", "br", "p", "td", "div", "table", "body"};
  for (qsizetype i = t.indexOf(QLatin1Char('<')); i >= 0; i = t.indexOf(QLatin1Char('<'), i + 1)) {
    for (const char* m : marken) {
      const QLatin1String marke(m);
      if (QStringView(t).mid(i + 1, marke.size()).compare(marke, Qt::CaseInsensitive) != 0) continue;
      const qsizetype nach = i + 1 + marke.size();
      if (nach >= t.size() || !t[nach].isLetterOrNumber()) return true;
    }
  }
  return false;
}

QString entitaet(const QString& name) {
  static const QHash<QString, QString> namen = {
      {QStringLiteral("amp"), QStringLiteral("&")},     {QStringLiteral("lt"), QStringLiteral("<")},
      {QStringLiteral("gt"), QStringLiteral(">")},      {QStringLiteral("quot"), QStringLiteral("\"")},
      {QStringLiteral("apos"), QStringLiteral("'")},    {QStringLiteral("nbsp"), QStringLiteral(" ")},
      {QStringLiteral("auml"), QStringLiteral("ä")},    {QStringLiteral("ouml"), QStringLiteral("ö")},
      {QStringLiteral("uuml"), QStringLiteral("ü")},    {QStringLiteral("Auml"), QStringLiteral("Ä")},
      {QStringLiteral("Ouml"), QStringLiteral("Ö")},    {QStringLiteral("Uuml"), QStringLiteral("Ü")},
      {QStringLiteral("szlig"), QStringLiteral("ß")},   {QStringLiteral("eacute"), QStringLiteral("é")},
      {QStringLiteral("egrave"), QStringLiteral("è")},  {QStringLiteral("aacute"), QStringLiteral("á")},
      {QStringLiteral("ccedil"), QStringLiteral("ç")},
  };
  if (name.startsWith(QLatin1Char('#'))) {
    bool ok = false;
    const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                : name.mid(1).toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return QString();
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
  }
  return namen.value(name);
}

// Tags that end a line of the form's text.
bool zeilenTag(const QString& tag) {
  static const QStringList liste{QStringLiteral("br"), QStringLiteral("p"),     QStringLiteral("div"),
                                 QStringLiteral("tr"), QStringLiteral("li"),    QStringLiteral("table"),
                                 QStringLiteral("h1"), QStringLiteral("h2"),    QStringLiteral("h3"),
                                 QStringLiteral("h4"), QStringLiteral("title"), QStringLiteral("dt")};
  return liste.contains(tag);
}

QString htmlZuText(const QString& t) {
  QString aus;
  aus.reserve(t.size());
  // What the current output line holds so far, kept as it grows: a copy of
  // the line at every cell would make a long table line quadratic.
  bool zeileMitText = false, zeileMitDoppelpunkt = false;
  const auto merken = [&](QStringView stueck) {
    for (QChar z : stueck) {
      if (!z.isSpace()) zeileMitText = true;
      if (z == QLatin1Char(':')) zeileMitDoppelpunkt = true;
    }
  };
  QString ueberspringenBis;  // inside <style>, <script> or <head>
  for (qsizetype i = 0; i < t.size();) {
    const QChar c = t[i];
    if (c == QLatin1Char('<')) {
      const qsizetype ende = t.indexOf(QLatin1Char('>'), i + 1);
      if (ende < 0) break;  // a broken tag at the end carries no text
      // The tag's name: its letters and digits after "<" or "</".
      const auto* p = reinterpret_cast<const char16_t*>(t.utf16());
      qsizetype j = i + 1;
      while (j < ende && p[j] == u' ') ++j;
      const bool schliessend = j < ende && p[j] == u'/';
      if (schliessend) ++j;
      QString name;
      while (j < ende && name.size() < 12 && ((p[j] >= u'a' && p[j] <= u'z') || (p[j] >= u'A' && p[j] <= u'Z') ||
                                               (p[j] >= u'0' && p[j] <= u'9'))) {
        name += QChar(p[j] >= u'A' && p[j] <= u'Z' ? char16_t(p[j] + 32) : p[j]);
        ++j;
      }
      i = ende + 1;
      if (!ueberspringenBis.isEmpty()) {
        if (schliessend && name == ueberspringenBis) ueberspringenBis.clear();
        continue;
      }
      if (!schliessend && (name == QLatin1String("style") || name == QLatin1String("script") ||
                           name == QLatin1String("head"))) {
        ueberspringenBis = name;
        continue;
      }
      if (zeilenTag(name)) {
        aus += QLatin1Char('\n');
        zeileMitText = zeileMitDoppelpunkt = false;
      } else if (!schliessend && zeileMitText &&
                 (name == QLatin1String("td") || name == QLatin1String("th") || name == QLatin1String("dd"))) {
        // Form tables put key and value in cells side by side.
        aus += zeileMitDoppelpunkt ? QStringLiteral(" ") : QStringLiteral(": ");
        zeileMitDoppelpunkt = true;
      }
      continue;
    }
    if (!ueberspringenBis.isEmpty()) {
      const qsizetype naechster = t.indexOf(QLatin1Char('<'), i);
      i = naechster < 0 ? t.size() : naechster;
      continue;
    }
    if (c != QLatin1Char('&') && c != QLatin1Char('\n')) {
      // Plain text up to the next tag, entity or line break in one piece.
      const auto* p = reinterpret_cast<const char16_t*>(t.utf16());
      qsizetype ende = i + 1;
      while (ende < t.size() && p[ende] != u'<' && p[ende] != u'&' && p[ende] != u'\n') ++ende;
      aus += QStringView(t).mid(i, ende - i);
      merken(QStringView(t).mid(i, ende - i));
      i = ende;
      continue;
    }
    if (c == QLatin1Char('&')) {
      // Entities are short: the ";" is looked for nearby only.
      const qsizetype nah = QStringView(t).mid(i + 1, 10).indexOf(QLatin1Char(';'));
      if (nah >= 0) {
        const qsizetype semikolon = i + 1 + nah;
        const QString ersatz = entitaet(t.mid(i + 1, semikolon - i - 1));
        if (!ersatz.isEmpty()) {
          aus += ersatz;
          merken(ersatz);
          i = semikolon + 1;
          continue;
        }
      }
    }
    // Line breaks inside the HTML source are no line breaks of the text.
    aus += c == QLatin1Char('\n') ? QChar(u' ') : c;
    if (c == QLatin1Char('&')) zeileMitText = true;
    ++i;
  }
  return aus;
}

// "E-Mail", " geburts datum " -> "email", "geburtsdatum".
QString schluesselNormal(QStringView key) {
  QString k;
  k.reserve(key.size());
  const char16_t* p = key.utf16();
  for (qsizetype i = 0; i < key.size(); ++i) {
    const char16_t c = p[i];
    if (c == u' ' || c == u'\t' || c == u'-' || c == u'_' || c == u'.' || c == u'/' || c == u'*' || c == 0xA0) continue;
    if (c < 0x80) k += QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    else k += QChar(c).toLower();
  }
  return k;
}

constexpr int kMail = kAnmeldefelder;  // index of "EMail" beside the eight fields

int schluesselIndex(QStringView key) {
  static const QHash<QString, int> namen = {
      {QStringLiteral("laufveranstaltung"), FeldIndex(Anmeldefeld::Laufveranstaltung)},
      {QStringLiteral("veranstaltung"), FeldIndex(Anmeldefeld::Laufveranstaltung)},
      {QStringLiteral("name"), FeldIndex(Anmeldefeld::Name)},
      {QStringLiteral("nachname"), FeldIndex(Anmeldefeld::Name)},
      {QStringLiteral("familienname"), FeldIndex(Anmeldefeld::Name)},
      {QStringLiteral("vorname"), FeldIndex(Anmeldefeld::Vorname)},
      {QStringLiteral("geburtsdatum"), FeldIndex(Anmeldefeld::Geburtsdatum)},
      {QStringLiteral("gebdatum"), FeldIndex(Anmeldefeld::Geburtsdatum)},
      {QStringLiteral("geburtsjahr"), FeldIndex(Anmeldefeld::Geburtsdatum)},
      {QStringLiteral("jahrgang"), FeldIndex(Anmeldefeld::Geburtsdatum)},
      {QStringLiteral("geschlecht"), FeldIndex(Anmeldefeld::Geschlecht)},
      {QStringLiteral("verein"), FeldIndex(Anmeldefeld::Verein)},
      {QStringLiteral("vereinort"), FeldIndex(Anmeldefeld::Verein)},
      {QStringLiteral("walker"), FeldIndex(Anmeldefeld::Walker)},
      {QStringLiteral("strecke"), FeldIndex(Anmeldefeld::Strecke)},
      {QStringLiteral("distanz"), FeldIndex(Anmeldefeld::Strecke)},
      {QStringLiteral("email"), kMail},
      {QStringLiteral("mail"), kMail},
      {QStringLiteral("emailadresse"), kMail},
  };
  return namen.value(schluesselNormal(key), -1);
}

// Control characters of a broken mail never reach a field.
QString wertBereinigt(QStringView v) {
  QString w;
  w.reserve(v.size());
  for (QChar c : v) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) w += QLatin1Char(' ');
    else w += c;
  }
  return w.trimmed();
}

// 'm', 'w', or a null QChar when the word names no sex.
QChar geschlechtAusWort(const QString& wort) {
  const QString w = wort.trimmed().toLower();
  if (w.isEmpty()) return QChar();
  if (w == QLatin1String("herr") || w == QLatin1String("mann") || w == QLatin1String("male") ||
      w.startsWith(QLatin1String("männ")) || w == QLatin1String("m"))
    return QLatin1Char('m');
  if (w == QLatin1String("frau") || w == QLatin1String("female") || w == QLatin1String("f") ||
      w.startsWith(QLatin1String("weib")) || w == QLatin1String("w"))
    return QLatin1Char('w');
  if (w.startsWith(QLatin1Char('m'))) return QLatin1Char('m');
  if (w.startsWith(QLatin1Char('w'))) return QLatin1Char('w');
  return QChar();
}

bool nurZiffern(const QString& t, int min, int max) {
  if (t.size() < min || t.size() > max) return false;
  for (QChar c : t)
    if (c.unicode() < '0' || c.unicode() > '9') return false;
  return true;
}

// "1984-05-14" and "14/05/1984" as the table writes dates: "14.05.1984".
QString datumNormal(const QString& d) {
  const QString t = d.trimmed();
  const QStringList iso = t.split(QLatin1Char('-'));
  if (iso.size() == 3 && nurZiffern(iso[0], 4, 4) && nurZiffern(iso[1], 1, 2) && nurZiffern(iso[2], 1, 2))
    return iso[2].rightJustified(2, QLatin1Char('0')) + QLatin1Char('.') + iso[1].rightJustified(2, QLatin1Char('0')) +
           QLatin1Char('.') + iso[0];
  const QStringList schraeg = t.split(QLatin1Char('/'));
  if (schraeg.size() == 3 && nurZiffern(schraeg[0], 1, 2) && nurZiffern(schraeg[1], 1, 2) && nurZiffern(schraeg[2], 4, 4))
    return schraeg.join(QLatin1Char('.'));
  return t;
}

// The route of the mail without its unit, with the sex suffix.
QString streckeAusMail(const QString& wert, QChar geschlecht) {
  QString r = wert;
  const int schraeg = r.indexOf(QLatin1Char('/'));
  if (schraeg >= 0) r.truncate(schraeg);  // "10/w" from a form that knows our routes
  const int km = r.indexOf(QLatin1String("km"), 0, Qt::CaseInsensitive);
  if (km >= 0) r.truncate(km);
  else {
    const int m = r.indexOf(QLatin1Char('m'), 0, Qt::CaseInsensitive);
    if (m >= 0) r.truncate(m);
  }
  r = r.trimmed();
  if (geschlecht.isNull()) return r;
  return r + QLatin1Char('/') + geschlecht;
}

// "Müller, Hans (Walker)" -> "Müller" and "Hans (Walker)".
void namensteile(QStringView voll, QStringView& name, QStringView& vorname) {
  const qsizetype komma = voll.indexOf(QLatin1Char(','));
  name = (komma < 0 ? voll : voll.left(komma)).trimmed();
  vorname = komma < 0 ? QStringView() : voll.mid(komma + 1).trimmed();
}

Maildaten lesenAufbereitet(const QString& t);
}  // namespace

QString Anmeldefeldname(Anmeldefeld f) {
  static const char* const namen[kAnmeldefelder] = {"Laufveranstaltung", "Name",   "Vorname", "Geburtsdatum",
                                                     "Geschlecht",        "Verein", "Walker",  "Strecke"};
  return QString::fromLatin1(namen[FeldIndex(f)]);
}

QString MailtextAufbereiten(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (siehtNachQuotedPrintableAus(t)) t = quotedPrintableDekodieren(t);
  if (siehtNachHtmlAus(t)) t = htmlZuText(t);
  return t;
}

Maildaten AnmeldungLesen(const QString& text) { return lesenAufbereitet(MailtextAufbereiten(text)); }

namespace {
Maildaten lesenAufbereitet(const QString& t) {
  Maildaten d;
  std::array<QString, kAnmeldefelder + 1> roh;
  // How deeply quoted the value taken for a key was; -1: no line yet.
  std::array<int, kAnmeldefelder + 1> tiefe;
  tiefe.fill(-1);
  qsizetype anfang = 0;
  while (anfang <= t.size()) {
    qsizetype ende = t.indexOf(QLatin1Char('\n'), anfang);
    if (ende < 0) ende = t.size();
    QStringView zeile = QStringView(t).mid(anfang, ende - anfang);
    anfang = ende + 1;
    // A reply quotes the old mail below the new values ("> Verein: LG
    // Nord"): the quote still tells what the new text leaves out, but it
    // never outweighs the mail's own line.
    int zitat = 0;
    while (!zeile.isEmpty() && (zeile.front() == QLatin1Char('>') || zeile.front().isSpace())) {
      if (zeile.front() == QLatin1Char('>')) ++zitat;
      zeile = zeile.mid(1);
    }
    const qsizetype doppelpunkt = zeile.indexOf(QLatin1Char(':'));
    if (doppelpunkt <= 0 || doppelpunkt > 40) continue;
    const int index = schluesselIndex(zeile.left(doppelpunkt));
    if (index < 0) continue;
    d.erkannt = true;
    if (tiefe[index] >= 0 && zitat > tiefe[index]) continue;
    roh[index] = wertBereinigt(zeile.mid(doppelpunkt + 1));
    tiefe[index] = zitat;
  }
  for (int i = 0; i < kAnmeldefelder; ++i) {
    d.felder[i] = roh[i];
    d.vorhanden[i] = tiefe[i] >= 0;
  }
  d.mail = roh[kMail];

  // A whole name in the name field ("Müller, Hans") without a first name.
  QString& name = d.felder[FeldIndex(Anmeldefeld::Name)];
  QString& vorname = d.felder[FeldIndex(Anmeldefeld::Vorname)];
  if (vorname.isEmpty() && name.contains(QLatin1Char(','))) {
    const int komma = name.indexOf(QLatin1Char(','));
    vorname = name.mid(komma + 1).trimmed();
    name = name.left(komma).trimmed();
    d.vorhanden[FeldIndex(Anmeldefeld::Vorname)] = true;
  }
  QString& walker = d.felder[FeldIndex(Anmeldefeld::Walker)];
  walker = WahrText(walker == QLatin1String("ja"));
  QString& datum = d.felder[FeldIndex(Anmeldefeld::Geburtsdatum)];
  datum = datumNormal(datum);
  const QChar g = geschlechtAusWort(d.felder[FeldIndex(Anmeldefeld::Geschlecht)]);
  d.geschlechtUnbekannt = g.isNull() && d.erkannt;
  // Without a route line there is no route, not a bare "/m".
  QString& strecke = d.felder[FeldIndex(Anmeldefeld::Strecke)];
  if (d.vorhanden[FeldIndex(Anmeldefeld::Strecke)]) strecke = streckeAusMail(strecke, g);
  return d;
}
}  // namespace

int AnmeldungSuchen(const Sitzung& s, const QString& name, const QString& vorname) {
  const QString n = name.trimmed();
  const QString v = QString(vorname).remove(QStringLiteral("(Walker)")).trimmed();
  if (n.isEmpty()) return 0;
  const std::vector<Teilnehmerzeile>& zeilen = s.tabelle.zeilen();
  const QString walker = QStringLiteral("(Walker)");
  // This runs over the whole table on every keystroke: the first letter
  // sorts out nearly every row before any string is compared.
  const char16_t erstes = n.at(0).toCaseFolded().unicode();
  for (size_t i = 0; i < zeilen.size(); ++i) {
    const QString& voll = zeilen[i].feld(S_namevorname);
    const auto* p = reinterpret_cast<const char16_t*>(voll.utf16());
    qsizetype k = 0;
    while (k < voll.size() && (p[k] == u' ' || p[k] == u'\t')) ++k;
    if (k >= voll.size()) continue;
    const char16_t c = p[k];
    const char16_t gefaltet = c < 0x80 ? (c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c) : QChar(c).toCaseFolded().unicode();
    if (gefaltet != erstes) continue;
    if (!QStringView(voll).mid(k).startsWith(n, Qt::CaseInsensitive)) continue;
    QStringView zn, zv;
    namensteile(voll, zn, zv);
    if (zn.compare(n, Qt::CaseInsensitive) != 0) continue;
    QString vn = zv.toString();
    if (vn.contains(walker)) vn = vn.remove(walker).trimmed();
    if (vn.compare(v, Qt::CaseInsensitive) == 0) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool Anmeldung::textGeaendert(const QString& text) {
  // Line ends are made LF before the test: a mail with LF only is a mail.
  const QString t0 = MailtextAufbereiten(text);
  if (!t0.contains(QLatin1Char('\n')) || !t0.contains(QLatin1Char(':'))) return false;
  m_db.fill(QString());
  m_rot.fill(false);
  m_mail = lesenAufbereitet(t0);
  m_db[FeldIndex(Anmeldefeld::Laufveranstaltung)] = m_mail.felder[FeldIndex(Anmeldefeld::Laufveranstaltung)];

  Teilnehmertabelle& t = m_s.tabelle;
  const int r = AnmeldungSuchen(m_s, mailfeld(Anmeldefeld::Name), mailfeld(Anmeldefeld::Vorname));
  m_treffer = r;
  m_trefferName = r > 0 ? t.feld(r, S_namevorname) : QString();
  // The main grid follows the search as the name search does.
  if (r > 0) {
    t.setErsteSichtbareZeile(std::max(1, r - 3));
    t.setAktuelleZeile(r);
    m_s.suchTrefferZeile = r;
    m_s.suchTrefferAlt = r;
    m_s.suchGefunden = true;
    const QString voll = t.feld(r, S_namevorname);
    const int komma = voll.indexOf(QLatin1Char(','));
    m_db[FeldIndex(Anmeldefeld::Name)] = (komma < 0 ? voll : voll.left(komma)).trimmed();
    QString vn = komma < 0 ? QString() : voll.mid(komma + 1);
    if (vn.contains(QStringLiteral("(Walker)"))) vn.remove(QStringLiteral("(Walker)"));
    m_db[FeldIndex(Anmeldefeld::Vorname)] = vn.trimmed();
    m_db[FeldIndex(Anmeldefeld::Geburtsdatum)] = t.feld(r, S_jahr);
    m_db[FeldIndex(Anmeldefeld::Geschlecht)] = mailfeld(Anmeldefeld::Geschlecht);
    m_db[FeldIndex(Anmeldefeld::Verein)] = t.feld(r, S_vereinort);
    m_db[FeldIndex(Anmeldefeld::Walker)] = t.feld(r, S_walker);
    m_db[FeldIndex(Anmeldefeld::Strecke)] = t.feld(r, S_strecke);
  } else {
    m_s.suchTrefferZeile = 0;
    m_s.suchGefunden = false;
    if (t.gueltig(m_s.suchTrefferAlt)) {
      t.setErsteSichtbareZeile(std::max(1, m_s.suchTrefferAlt - 3));
      t.setAktuelleZeile(m_s.suchTrefferAlt);
    }
  }
  vergleichen();
  return true;
}

void Anmeldung::vergleichen() {
  m_rot.fill(false);
  if (m_treffer <= 0) return;
  for (int i = FeldIndex(Anmeldefeld::Name); i < kAnmeldefelder; ++i) {
    if (!m_mail.vorhanden[i]) continue;
    if (i == FeldIndex(Anmeldefeld::Walker))
      m_rot[i] = IstWahr(m_db[i]) != IstWahr(m_mail.felder[i]);  // an empty check mark is "Falsch"
    else
      m_rot[i] = m_db[i] != m_mail.felder[i];
  }
}

void Anmeldung::uebernehmen(Anmeldefeld f) {
  m_db[FeldIndex(f)] = m_mail.felder[FeldIndex(f)];
  vergleichen();
}

void Anmeldung::allesUebernehmen() {
  // A form that leaves a field out says nothing about it: the participant
  // keeps his club when the mail has no "Verein" line. A new participant
  // takes the mail as it is, defaults ("Falsch") included.
  for (int i = 0; i < kAnmeldefelder; ++i)
    if (m_treffer <= 0 || m_mail.vorhanden[i]) m_db[i] = m_mail.felder[i];
  vergleichen();
}

void Anmeldung::setDatenbankfeld(Anmeldefeld f, const QString& wert) {
  m_db[FeldIndex(f)] = FeldBereinigt(wert);
  vergleichen();
}

void Anmeldung::leeren() {
  m_mail = Maildaten();
  m_db.fill(QString());
  m_rot.fill(false);
  m_treffer = 0;
  m_trefferName.clear();
}

int Anmeldung::zielzeile() const {
  if (m_treffer <= 0) return 0;
  const Teilnehmertabelle& t = m_s.tabelle;
  // The table may have been sorted or edited since the match: the write
  // goes to the participant that was matched, wherever that row is now.
  if (t.gueltig(m_treffer) && t.feld(m_treffer, S_namevorname) == m_trefferName) return m_treffer;
  for (int i = 1; i <= t.anzahl(); ++i)
    if (t.feld(i, S_namevorname) == m_trefferName) return i;
  return 0;
}

QString Anmeldung::teilnehmername() const {
  QString n = datenbankfeld(Anmeldefeld::Name).trimmed();
  const QString v = datenbankfeld(Anmeldefeld::Vorname).trimmed();
  if (!v.isEmpty()) n += QStringLiteral(", ") + v;
  if (datenbankfeld(Anmeldefeld::Walker) == QLatin1String("Wahr")) n += QStringLiteral(" (Walker)");
  return n;
}

bool Anmeldung::inTabelleSchreiben(QStringList* geaendert) {
  if (geaendert) geaendert->clear();
  if (datenbankfeld(Anmeldefeld::Name).trimmed().isEmpty()) {
    m_s.bediener.meldung(kZieltafel, QStringLiteral("Keine Daten ausgewählt!   "), Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  // Only a plain "on" writes; the undetermined state of the box is no
  // licence to throw the operator's fields away.
  if (m_s.einst.CheckAutoHinzufuegen != 1) {
    m_s.bediener.meldung(kZieltafel,
                         QStringLiteral("Nur bei der Auswahl der 'vereinfachten Dateneingabe' kann die Anmeldung "
                                        "durchgeführt werden!   "),
                         Symbol::Stopp, Knoepfe::Ok);
    return false;
  }
  Teilnehmertabelle& t = m_s.tabelle;
  int zeile = zielzeile();
  const bool neu = zeile == 0;
  // Only the matched row changes; a new participant is appended.
  Aufzeichnung aufzeichnung(m_s, QStringLiteral("Anmeldung übernehmen"), neu ? QList<int>{} : QList<int>{zeile});
  if (neu) zeile = t.zeileHinzufuegen(Teilnehmerzeile());
  const std::pair<int, QString> felder[] = {{S_strecke, datenbankfeld(Anmeldefeld::Strecke)},
                                            {S_namevorname, teilnehmername()},
                                            {S_jahr, datenbankfeld(Anmeldefeld::Geburtsdatum)},
                                            {S_vereinort, datenbankfeld(Anmeldefeld::Verein)},
                                            {S_walker, datenbankfeld(Anmeldefeld::Walker)}};
  const char* const namen[] = {"strecke", "name", "jahr", "verein", "walker"};
  for (int i = 0; i < 5; ++i) {
    const QString vorher = t.feld(zeile, felder[i].first);
    t.setFeld(zeile, felder[i].first, felder[i].second);
    if (!neu && geaendert && t.feld(zeile, felder[i].first) != vorher) *geaendert << QLatin1String(namen[i]);
  }
  t.setAktuelleZeile(zeile);
  t.setErsteSichtbareZeile(std::max(1, zeile - 3));
  PruefungLaufdaten(m_s, zeile);
  const QString verein = t.feld(zeile, S_vereinort).trimmed();
  if (!verein.isEmpty() && !m_s.vereine.contains(verein)) m_s.vereine.append(verein);
  if (neu) m_s.bediener.zeigen(Ziel::SucheName);
  leeren();
  m_s.melden();
  return true;
}

bool AnmeldungEntfernen(Sitzung& s) {
  Teilnehmertabelle& t = s.tabelle;
  const int zeile = t.aktuelleZeile();
  if (!t.gueltig(zeile)) return false;
  if (s.bediener.meldung(kZieltafel,
                         QStringLiteral("Anmeldung und Ergebnisse im ") + QString::number(zeile) +
                             QStringLiteral(".Datensatz löschen?"),
                         Symbol::Frage, Knoepfe::JaNein) != Antwort::Ja)
    return false;
  Aufzeichnung aufzeichnung(s, QStringLiteral("Anmeldung löschen"), {zeile});
  for (int spalte : {S_platz, S_startnummer, S_strecke, S_zeit, S_ak, S_platzmw, S_fehler, S_platztotal, S_nurstrecke})
    t.setFeld(zeile, spalte, QString());
  t.setTextfarbe(zeile, kKeineFarbe);
  s.melden();
  return true;
}

}  // namespace zt
