#pragma once
// Registrations from e-mail text: the mail of an online form (one "key:
// value" line per field) is read, matched against the participant table,
// compared field by field and written into the table.
#include <QString>
#include <QStringList>
#include <array>

namespace zt {

class Sitzung;

// The eight fields of both columns of the registration window, in order.
enum class Anmeldefeld { Laufveranstaltung, Name, Vorname, Geburtsdatum, Geschlecht, Verein, Walker, Strecke };
constexpr int kAnmeldefelder = 8;
inline int FeldIndex(Anmeldefeld f) { return static_cast<int>(f); }
// Caption of a field ("Laufveranstaltung", "Name", ...).
QString Anmeldefeldname(Anmeldefeld f);

struct Maildaten {
  std::array<QString, kAnmeldefelder> felder;  // Walker as "Wahr"/"Falsch", Strecke with sex suffix
  std::array<bool, kAnmeldefelder> vorhanden{};  // the mail has a line for the field
  QString mail;                                // "EMail"
  bool erkannt = false;                        // at least one known key
  bool geschlechtUnbekannt = false;            // sex word empty or not understood
};

// Undoes what mail programs do to a form's text: line ends become LF,
// quoted-printable soft line breaks and escapes are decoded, an HTML mail is
// reduced to its text.
QString MailtextAufbereiten(const QString& text);
// Reads the fields of a registration mail. Keys are recognised in any case
// and with blanks around them; a value is everything after the first ":"; a
// later line with the same key wins. Quoted lines ("> Verein: ...", any
// depth) count only for keys the mail's own lines do not name, the less
// deeply quoted first.
Maildaten AnmeldungLesen(const QString& text);
// First row whose whole name is "name, vorname" (case ignored, a walker's
// "(Walker)" and blanks around the comma do not count); 0 when none. No
// character of the mail acts as a wildcard.
int AnmeldungSuchen(const Sitzung& s, const QString& name, const QString& vorname);

// The registration window's state: the mail fields beside the fields of the
// matching participant ("Daten aus Datenbank"), the differences, and the row
// they came from.
class Anmeldung {
 public:
  explicit Anmeldung(Sitzung& s) : m_s(s) {}

  // Change of the pasted text: parse and match. False when the text is no
  // mail yet (no line break or no ":"); nothing changes then.
  bool textGeaendert(const QString& text);
  // A take-over button: copies the mail field into the table field.
  void uebernehmen(Anmeldefeld f);
  // "alle Daten übernehmen". A field the mail has no line for keeps what
  // the matched participant has.
  void allesUebernehmen();
  // The operator typed into a table field.
  void setDatenbankfeld(Anmeldefeld f, const QString& wert);
  // "Daten in Datenbank übernehmen": writes the participant into the
  // matched row (checked again first) or a new row and validates it. True
  // when written; the window's fields are then emptied. geaendert receives
  // the fields of an existing row whose text changed ("strecke", "name",
  // "jahr", "verein", "walker", in that order).
  bool inTabelleSchreiben(QStringList* geaendert = nullptr);
  // "cmdDatenLöschen"
  void leeren();

  const std::array<QString, kAnmeldefelder>& mailfelder() const { return m_mail.felder; }
  QString mailfeld(Anmeldefeld f) const { return m_mail.felder[FeldIndex(f)]; }
  QString email() const { return m_mail.mail; }
  QString datenbankfeld(Anmeldefeld f) const { return m_db[FeldIndex(f)]; }
  // The table field differs from the mail field (shown red); a field the
  // mail does not name differs from nothing.
  bool abweichend(Anmeldefeld f) const { return m_rot[FeldIndex(f)]; }
  bool geschlechtUnbekannt() const { return m_mail.geschlechtUnbekannt; }
  // Row of the participant found (0: none) and the name it had then.
  int treffer() const { return m_treffer; }
  QString trefferName() const { return m_trefferName; }
  // The row the write would go to now (0: a new row).
  int zielzeile() const;
  // The participant name that is written ("Name, Vorname (Walker)").
  QString teilnehmername() const;

 private:
  void vergleichen();

  Sitzung& m_s;
  Maildaten m_mail;
  std::array<QString, kAnmeldefelder> m_db;
  std::array<bool, kAnmeldefelder> m_rot{};
  int m_treffer = 0;
  QString m_trefferName;
};

// cmdAnmeldungEntfernen: after the question, empties the registration and
// result fields of the current row; name, year, club and walker stay.
bool AnmeldungEntfernen(Sitzung& s);

}  // namespace zt
