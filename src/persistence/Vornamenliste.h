#pragma once
// The first-name list: known first names with their sex ("Vorname.txt").
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

// Replaces the list by the file's entries; false (list unchanged) when the
// file does not exist or cannot be read.
bool VornamenLaden(Vornamenliste& liste, const QString& pfad);
// Empty text on success, otherwise the German reason.
QString VornamenSchreiben(const Vornamenliste& liste, const QString& pfad);

struct Geschlechtssuche {
  enum Art { KeinVorname, NichtGefunden, Gefunden } art = KeinVorname;
  QString vorname;
  QString typ;
};
Geschlechtssuche GeschlechtZuVorname(const Vornamenliste& liste, const QString& namevorname);
void VornameHinzufuegen(Vornamenliste& liste, const QString& typ, const QString& vorname);

}  // namespace zt
