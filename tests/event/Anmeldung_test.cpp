// Registration mails: reading what form mailers send, finding the runner,
// writing the row.
#include "event/Altersklassen.h"
#include "event/Anmeldung.h"
#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using namespace Qt::StringLiterals;
using test::Umgebung;

namespace {
using F = Anmeldefeld;

QString feld(const Maildaten& d, F f) { return d.felder[FeldIndex(f)]; }
QString name(const QString& text) { return feld(AnmeldungLesen(text), F::Name); }

const QString kMail =
    u"Laufveranstaltung: Parklauf\nName: Müller\nVorname: Hans\nGeburtsdatum: 1980\n"
    u"Geschlecht: männlich\nVerein: LG Nord\nWalker: nein\nStrecke: 10 km\nEMail: hans@example.org\n"_s;

// A row of the runner table: route, name, year, club.
QString zeile(const QString& strecke, const QString& name, const QString& jahr = u"1980"_s,
              const QString& verein = u"LG Nord"_s) {
  return u"\t\t\t%1\t%2\t%3\t%4\t\t\t\t\t\t\t\tFalsch"_s.arg(strecke, name, jahr, verein);
}

// What is read from a mail, one line a field that is not empty.
QString gelesen(const Maildaten& d) {
  QStringList l;
  for (int i = 0; i < kAnmeldefelder; ++i)
    if (!d.felder[i].isEmpty()) l << Anmeldefeldname(static_cast<F>(i)) + u'=' + d.felder[i];
  if (!d.mail.isEmpty()) l << u"EMail="_s + d.mail;
  if (d.geschlechtUnbekannt) l << u"Geschlecht unbekannt"_s;
  if (!d.erkannt) l << u"keine Anmeldung"_s;
  return l.join(u'\n');
}
}  // namespace

TEST(AnmeldungLesen, WhatFormMailersSend) {
  // The mails and what is read from them, as a person reads them.
  const QStringList faelle =
      QString::fromUtf8(test::leseDatei(ZT_GOLDEN_DIR "/event/anmeldung_lesen.txt"_L1)).split(u"=== Mail\n"_s).mid(1);
  ASSERT_EQ(faelle.size(), 23);
  for (const QString& fall : faelle) {
    const QString text = fall.section(u"--- gelesen\n"_s, 0, 0);
    QStringList erwartet = fall.section(u"--- gelesen\n"_s, 1).split(u'\n', Qt::SkipEmptyParts);
    erwartet.removeIf([](const QString& z) { return z.startsWith(u'#'); });
    EXPECT_EQ(gelesen(AnmeldungLesen(text)), erwartet.join(u'\n')) << text.toStdString();
  }

  // CR LF and CR only read as LF; umlauts in Windows-1252 and in UTF-8 bytes,
  // decoded as files are; control characters of a broken mail never reach a field.
  for (const char* ende : {"\r\n", "\r"})
    EXPECT_EQ(AnmeldungLesen(QString(kMail).replace(u'\n', QLatin1String(ende))).felder, AnmeldungLesen(kMail).felder);
  const QString umlaute = u"Name: Größer\nVorname: Jürgen\n"_s;
  for (const QByteArray& bytes : {TextKodieren(umlaute), umlaute.toUtf8()}) {
    const Maildaten d = AnmeldungLesen(TextDekodieren(bytes));
    EXPECT_EQ(feld(d, F::Name) + u' ' + feld(d, F::Vorname), u"Größer Jürgen"_s);
  }
  EXPECT_EQ(name(u"Name: A\u0001B\tC\u001F\n"_s), u"A B C"_s);
}

TEST(AnmeldungLesen, NoMailAndHugeInput) {
  EXPECT_FALSE(AnmeldungLesen(u"Hallo Welt\nwie geht's\n"_s).erkannt);
  // A megabyte of pasted text is read in one go.
  EXPECT_EQ(name(u"Zeile ohne Doppelpunkt und mit viel Text\n"_s.repeated(26000) + u"Name: Ende\n"_s), u"Ende"_s);
  // A megabyte that looks like HTML, with one long table line, entities
  // without end and escapes: read in one pass, not one pass per mark.
  for (const QString& stueck : {u"<td>x"_s, u"&"_s, u"=C3"_s, u"<"_s})
    EXPECT_EQ(name(u"<html><p>Name: Anfang</p>"_s + stueck.repeated((1 << 20) / stueck.size())), u"Anfang"_s)
        << stueck.toStdString();
}

TEST(AnmeldungSuchen, TheWholeNameMatchesNeverAPrefix) {
  Umgebung u;
  for (const QString& n : {u"Müller, Hansjörg"_s, u"müller, hans (Walker)"_s, u"Müller, Hans"_s})
    u.s().tabelle.zeileHinzufuegen(zeile(u"10/m"_s, n));
  // Wildcards from the mail are letters like any other.
  const std::tuple<QString, QString, int> faelle[] = {
      {u"Müller"_s, u"Hans"_s, 2}, {u"Müller"_s, u"Hansjörg"_s, 1}, {u"M*"_s, u"*"_s, 0},
      {u"M?ller"_s, u"Hans"_s, 0}, {QString(), u"Hans"_s, 0}};
  for (const auto& [name, vorname, zeile] : faelle) EXPECT_EQ(AnmeldungSuchen(u.s(), name, vorname), zeile) << zeile;
}

TEST(AnmeldungSchreiben, TheWriteGoesToTheMatchedParticipantWhateverHappenedMeanwhile) {
  Umgebung u;
  u.s().einst.txtDefGlobalAK = u"20-29_20; 40-44_40; 45-49_45"_s;
  BuildAgeTable(u.s());
  Teilnehmertabelle& t = u.s().tabelle;
  Anmeldung a{u.s()};
  t.zeileHinzufuegen(zeile(u"5/m"_s, u"Abel, Karl"_s, u"1970"_s, u"Alt"_s));
  const int r = t.zeileHinzufuegen(zeile(u"5/m"_s, u"Müller, Hans"_s, u"1981"_s, u"Alt"_s));
  t.zeileHinzufuegen(zeile(u"5/w"_s, u"Zander, Zoe"_s, u"1985"_s, u"Alt"_s));
  a.textGeaendert(kMail);
  ASSERT_EQ(a.treffer(), r);
  a.allesUebernehmen();
  // Writing needs the simplified entry: the undetermined third state is no "on".
  u.s().einst.CheckAutoHinzufuegen = 2;
  EXPECT_FALSE(a.inTabelleSchreiben());
  EXPECT_EQ(u.bediener.meldungen(), QStringList{u"[Zieltafel] Nur bei der Auswahl der 'vereinfachten "
                                                u"Dateneingabe' kann die Anmeldung durchgeführt werden!   "_s});
  EXPECT_EQ(a.datenbankfeld(F::Name), u"Müller"_s);
  EXPECT_EQ(t.feld(r, S_vereinort), u"Alt"_s);
  u.s().einst.CheckAutoHinzufuegen = 1;
  // A name search in the main window and a sort move everything.
  u.s().suchTrefferZeile = u.s().suchTrefferAlt = 1;
  t.sortieren(u"strecke,jahr"_s);
  t.setAktuelleZeile(1);
  const int jetzt = a.zielzeile();
  ASSERT_GT(jetzt, 0);
  EXPECT_EQ(t.feld(jetzt, S_namevorname), u"Müller, Hans"_s);
  ASSERT_TRUE(a.inTabelleSchreiben());
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(t.feld(jetzt, S_strecke), u"10/m"_s);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(t.feld(i, S_vereinort), i == jetzt ? u"LG Nord"_s : u"Alt"_s);

  // The matched row was deleted meanwhile: a new row, nobody else overwritten.
  a.textGeaendert(kMail);
  a.allesUebernehmen();
  t.zeileLoeschen(a.treffer());
  ASSERT_TRUE(a.inTabelleSchreiben());
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(t.feld(3, S_namevorname), u"Müller, Hans"_s);
}

namespace {
// A form mail from tests/event/Anmeldungsmails as a file reads it.
QString formular(const QString& name) {
  return TextDekodieren(test::leseDatei(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/"_L1 + name));
}
// The mail without the lines that name one of the keys.
QString ohne(const QString& mail, const QStringList& schluessel) {
  QStringList zeilen = mail.split(u'\n');
  zeilen.removeIf([&](const QString& z) {
    return std::any_of(schluessel.begin(), schluessel.end(), [&](const QString& k) {
      return z.contains(k + u':') || z.contains(u"<td>%1</td>"_s.arg(k));
    });
  });
  return zeilen.join(u'\n');
}
// Every line quoted as a mail program quotes a reply.
QString zitiert(const QString& mail, const QString& zeichen = u"> "_s) {
  return zeichen + QString(mail).replace(u'\n', u'\n' + zeichen);
}
}  // namespace

// Known runners (as in the sample event) written from mails: what a mail
// says wins over a quote of an older one, what it does not say stays.
TEST(AnmeldungSchreiben, TheMailsOwnLinesChangeTheRowAndNothingElse) {
  const QString bekannt = formular(u"formular_bekannt.txt"_s), html = formular(u"formular_html.txt"_s);
  // What the row says afterwards: the fields reported as changed | year | club | route | walker.
  const std::pair<QString, const char*> faelle[] = {
      {bekannt, "jahr, verein|14.03.1997|LG Baden-Baden|5/m|Falsch"},
      {"Verein: LG Neu\n\nAm Montag schrieb ...:\n" + zitiert(bekannt), "jahr, verein|14.03.1997|LG Neu|5/m|Falsch"},
      {zitiert(bekannt) + "\nVerein: LG Neu\n", "jahr, verein|14.03.1997|LG Neu|5/m|Falsch"},
      {">Verein: LG Mitte\n" + zitiert(bekannt, u"> > "_s), "jahr, verein|14.03.1997|LG Mitte|5/m|Falsch"},  // newer
      {ohne(bekannt, {"Verein"}), "jahr|14.03.1997|Baden-Baden|5/m|Falsch"},
      {ohne(bekannt, {"Verein", "Geburtsdatum", "Walker", "Strecke", "Geschlecht"}), "|1997|Baden-Baden|5/m|Falsch"},
      {html, "verein|1985|Herten & Umgebung|5/w|Falsch"},
      {ohne(html, {"Verein"}), "|1985|Herten|5/w|Falsch"},
  };
  for (const auto& [text, erwartet] : faelle) {
    SCOPED_TRACE(erwartet);
    Umgebung u;
    u.s().einst.CheckAutoHinzufuegen = 1;
    Teilnehmertabelle& t = u.s().tabelle;
    t.zeileHinzufuegen(zeile(u"5/m"_s, u"Hilgendorf, Lino"_s, u"1997"_s, u"Baden-Baden"_s));
    t.zeileHinzufuegen(zeile(u"5/w"_s, u"Behr, Miriam"_s, u"1985"_s, u"Herten"_s));
    Anmeldung a(u.s());
    ASSERT_TRUE(a.textGeaendert(text));
    const int r = a.treffer();
    ASSERT_GT(r, 0);
    a.allesUebernehmen();
    for (int i = FeldIndex(F::Name); i < kAnmeldefelder; ++i) EXPECT_FALSE(a.abweichend(static_cast<F>(i))) << i;
    QStringList geaendert;
    ASSERT_TRUE(a.inTabelleSchreiben(&geaendert));
    EXPECT_EQ(t.anzahl(), 2);
    EXPECT_EQ(QStringList({geaendert.join(u", "_s), t.feld(r, S_jahr), t.feld(r, S_vereinort), t.feld(r, S_strecke),
                           t.feld(r, S_walker)})
                  .join(u'|'),
              QString::fromUtf8(erwartet));
  }
}
