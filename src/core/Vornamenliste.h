#pragma once
// The first-name list: known first names with their sex ("Vorname.txt").
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

namespace zt {

struct Vorname {
  QString typ;      // "m" or "w"
  QString vorname;
  QString fehler;   // remark of the data check, emptied on every load
};

class Vornamenliste : public QObject {
  Q_OBJECT
 public:
  QList<Vorname> eintraege;
  int aktuell = 0;  // 1-based, 0 when empty

  int anzahl() const { return static_cast<int>(eintraege.size()); }
  // Sorts by the key list "1,2": sex, then first name.
  void sortieren();
  // First entry (1-based) from startzeile whose first name matches; a pattern
  // ending in "*" matches a prefix. 0 when none.
  int finden(const QString& muster, int startzeile = 1) const;
  void melden() { Q_EMIT geaendert(); }

 Q_SIGNALS:
  void geaendert();
};

struct Geschlechtssuche {
  enum Art { KeinVorname, NichtGefunden, Gefunden } art = KeinVorname;
  QString vorname;
  QString typ;
};
// The first name of "Name, Vorname (Walker)" is looked up without regard to
// case; the first matching entry gives the sex.
Geschlechtssuche GeschlechtZuVorname(const Vornamenliste& liste, const QString& namevorname);
// The same lookup for many names at once (the data check runs over every
// row): built once from the list, answers like GeschlechtZuVorname.
class Vornamenindex {
 public:
  explicit Vornamenindex(const Vornamenliste& liste);
  Geschlechtssuche suchen(const QString& namevorname) const;

 private:
  QHash<QString, QString> m_typ;  // case-folded first name -> sex of its first entry
};

}  // namespace zt
