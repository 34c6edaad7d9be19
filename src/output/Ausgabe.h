#pragma once
// The state of the output commands: the choices of tab 1 (which rows a list
// or a certificate takes, seconds in the list, the overall-winner template),
// the flags the commands hand each other, the runner counts and the print
// jobs under way. It lives as long as the session it belongs to.
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

namespace zt {

class Sitzung;

struct Laeuferzahlen {
  std::array<int, 4> AnzahlM{};  // main-run types 1..4, index 0..3
  std::array<int, 4> AnzahlW{};
  int AnzahlLaeufer = 0;
  int AnzahlWalker = 0;
  bool gezaehlt = false;  // false: the display fields are empty
};

class Ausgabe : public QObject {
  Q_OBJECT
 public:
  // The session's output state, made on first use as a child of the session.
  static Ausgabe& von(Sitzung& s);

  // Result list: selection mode 1, 2, 3, 4, 5, 7 or 8 ("OptErgebnisliste").
  int OptErgebnisliste = 1;
  int chkProtokollInSek = 0;
  bool druckflag = false;          // the next list is printed instead of opened
  bool anmeldelisteflag = false;   // the list being made is the registration list

  // Certificates: 1 selected rows, 2 marked rows, 3 one start number.
  int OptUrkunde = 1;
  QString txtStartnummerDrucken;
  int chkVorlageGesamtSieger = 0;
  bool urkundeBearbeiten = true;   // the edit flag: open for editing, not print
  bool startnummerGefunden = false;
  int startnummerZeile = 0;        // the row found for txtStartnummerDrucken

  Laeuferzahlen zahlen;

  // Print jobs handed to the printer and not yet reported back.
  int laufendeDrucke = 0;
  int naechsterAuftrag = 1;

  void melden() { Q_EMIT geaendert(); }

 Q_SIGNALS:
  void geaendert();
  // A print job was reported back; fehler is empty when it printed.
  void druckGemeldet(const QString& fehler);

 private:
  explicit Ausgabe(Sitzung& s);
};

// The message for placeholders a produced document still holds:
// "Platzhalter Zeit#, Farbe# nicht ersetzt", the template, and why: a name
// of `bekannt` stood at the start of a line, any other is unknown.
QString PlatzhalterNichtErsetzt(const QStringList& uebrig, const QStringList& bekannt, const QString& wofuer,
                                const QString& vorlage);

// Fills the session's hooks that the output part answers (the finish-time
// certificate of the live timing, the runner count after every load) and
// the template paths left empty.
void AusgabeAnmelden(Sitzung& s);

}  // namespace zt
