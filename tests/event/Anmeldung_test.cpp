// Registration mails: reading what form mailers send, finding the runner,
// writing the row.
#include "event/Altersklassen.h"
#include "event/Anmeldung.h"
#include "core/Textdatei.h"
#include "support/TestPorts.h"

#include <gtest/gtest.h>

using namespace zt;
using test::Umgebung;

namespace {
using F = Anmeldefeld;

QString feld(const Maildaten& d, F f) { return d.felder[FeldIndex(f)]; }

QString mail() {
  return QStringLiteral("Laufveranstaltung: Parklauf\nName: Müller\nVorname: Hans\nGeburtsdatum: 1980\n"
                        "Geschlecht: männlich\nVerein: LG Nord\nWalker: nein\nStrecke: 10 km\nEMail: hans@example.org\n");
}

struct Anmeldungen : ::testing::Test {
  Umgebung u;
  Teilnehmertabelle& t = u.s().tabelle;
  Anmeldung a{u.s()};
  void SetUp() override {
    u.s().einst.txtDefGlobalAK = QStringLiteral("20-29_20; 40-44_40; 45-49_45");
    BuildAgeTable(u.s());
    u.s().einst.CheckAutoHinzufuegen = 1;
  }
  int zeile(const char* name, const char* strecke = "10/m", const char* jahr = "1980", const char* verein = "LG Nord") {
    return t.zeileHinzufuegen(QStringLiteral("\t\t\t%1\t%2\t%3\t%4\t\t\t\t\t\t\t\tFalsch")
                                  .arg(QString::fromUtf8(strecke), QString::fromUtf8(name), QString::fromUtf8(jahr), QString::fromUtf8(verein)));
  }
};

// What is read from a mail, one line a field that is not empty.
QString gelesen(const Maildaten& d) {
  QStringList l;
  for (int i = 0; i < kAnmeldefelder; ++i)
    if (!d.felder[i].isEmpty()) l << Anmeldefeldname(static_cast<F>(i)) + QLatin1Char('=') + d.felder[i];
  if (!d.mail.isEmpty()) l << QStringLiteral("EMail=") + d.mail;
  if (d.geschlechtUnbekannt) l << QStringLiteral("Geschlecht unbekannt");
  if (!d.erkannt) l << QStringLiteral("keine Anmeldung");
  return l.join(QLatin1Char('\n'));
}
}  // namespace

TEST(AnmeldungLesen, WhatFormMailersSend) {
  // The mails and what is read from them, as a person reads them.
  const QStringList faelle = QString::fromUtf8(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/event/anmeldung_lesen.txt")))
                                 .split(QStringLiteral("=== Mail\n")).mid(1);
  ASSERT_EQ(faelle.size(), 23);
  for (const QString& fall : faelle) {
    const QString text = fall.section(QStringLiteral("--- gelesen\n"), 0, 0);
    QStringList erwartet = fall.section(QStringLiteral("--- gelesen\n"), 1).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    erwartet.removeIf([](const QString& z) { return z.startsWith(QLatin1Char('#')); });
    EXPECT_EQ(gelesen(AnmeldungLesen(text)), erwartet.join(QLatin1Char('\n'))) << text.toStdString();
  }

  // CR LF and CR only read as LF; umlauts in Windows-1252 and in UTF-8 bytes,
  // decoded as files are; control characters of a broken mail never reach a field.
  for (const char* ende : {"\r\n", "\r"})
    EXPECT_EQ(AnmeldungLesen(mail().replace(QLatin1Char('\n'), QLatin1String(ende))).felder, AnmeldungLesen(mail()).felder) << ende;
  const QString umlaute = QStringLiteral("Name: Größer\nVorname: Jürgen\n");
  for (const QByteArray& bytes : {TextKodieren(umlaute), umlaute.toUtf8()}) {
    const Maildaten d = AnmeldungLesen(TextDekodieren(bytes));
    EXPECT_EQ(feld(d, F::Name) + QLatin1Char(' ') + feld(d, F::Vorname), QStringLiteral("Größer Jürgen"));
  }
  EXPECT_EQ(feld(AnmeldungLesen(QStringLiteral("Name: A\u0001B\tC\u001F\n")), F::Name), QStringLiteral("A B C"));
}

TEST(AnmeldungLesen, NoMailAndHugeInput) {
  EXPECT_FALSE(AnmeldungLesen(QStringLiteral("Hallo Welt\nwie geht's\n")).erkannt);
  // A megabyte of pasted text is read in one go.
  QString gross;
  while (gross.size() < (1 << 20)) gross += QStringLiteral("Zeile ohne Doppelpunkt und mit viel Text\n");
  EXPECT_EQ(feld(AnmeldungLesen(gross + QStringLiteral("Name: Ende\n")), F::Name), QStringLiteral("Ende"));
  // A megabyte that looks like HTML, with one long table line, entities
  // without end and escapes: read in one pass, not one pass per mark.
  for (const QString& stueck : {QStringLiteral("<td>x"), QStringLiteral("&"), QStringLiteral("=C3"), QStringLiteral("<")}) {
    QString viel = QStringLiteral("<html><p>Name: Anfang</p>");
    while (viel.size() < (1 << 20)) viel += stueck;
    EXPECT_EQ(feld(AnmeldungLesen(viel), F::Name), QStringLiteral("Anfang")) << stueck.toStdString();
  }
}

TEST_F(Anmeldungen, TheWholeNameMatchesNeverAPrefix) {
  const int hansjoerg = zeile("Müller, Hansjörg");
  const int walker = zeile("müller, hans (Walker)");
  zeile("Müller, Hans");
  EXPECT_EQ(AnmeldungSuchen(u.s(), QStringLiteral("Müller"), QStringLiteral("Hans")), walker);
  EXPECT_EQ(AnmeldungSuchen(u.s(), QStringLiteral("Müller"), QStringLiteral("Hansjörg")), hansjoerg);
  // Wildcards from the mail are letters like any other.
  EXPECT_EQ(AnmeldungSuchen(u.s(), QStringLiteral("M*"), QStringLiteral("*")), 0);
  EXPECT_EQ(AnmeldungSuchen(u.s(), QStringLiteral("M?ller"), QStringLiteral("Hans")), 0);
  EXPECT_EQ(AnmeldungSuchen(u.s(), QString(), QStringLiteral("Hans")), 0);
}

TEST_F(Anmeldungen, WritingNeedsSimplifiedEntryAndLosesNothing) {
  a.textGeaendert(mail());
  a.allesUebernehmen();
  u.s().einst.CheckAutoHinzufuegen = 2;  // the undetermined third state is no "on"
  EXPECT_FALSE(a.inTabelleSchreiben());
  EXPECT_EQ(u.bediener.meldungen(), QStringList{QStringLiteral("[Zieltafel] Nur bei der Auswahl der 'vereinfachten "
                                                               "Dateneingabe' kann die Anmeldung durchgeführt werden!   ")});
  EXPECT_EQ(a.datenbankfeld(F::Name), QStringLiteral("Müller"));
  EXPECT_EQ(t.anzahl(), 0);
}

TEST_F(Anmeldungen, TheWriteGoesToTheMatchedParticipantWhateverHappenedMeanwhile) {
  zeile("Abel, Karl", "5/m", "1970", "Alt");
  const int r = zeile("Müller, Hans", "5/m", "1981", "Alt");
  zeile("Zander, Zoe", "5/w", "1985", "Alt");
  a.textGeaendert(mail());
  ASSERT_EQ(a.treffer(), r);
  a.allesUebernehmen();
  // A name search in the main window and a sort move everything.
  u.s().suchTrefferZeile = u.s().suchTrefferAlt = 1;
  t.sortieren(QStringLiteral("strecke,jahr"));
  t.setAktuelleZeile(1);
  const int jetzt = a.zielzeile();
  ASSERT_GT(jetzt, 0);
  EXPECT_EQ(t.feld(jetzt, S_namevorname), QStringLiteral("Müller, Hans"));
  ASSERT_TRUE(a.inTabelleSchreiben());
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(t.feld(jetzt, S_vereinort), QStringLiteral("LG Nord"));
  EXPECT_EQ(t.feld(jetzt, S_strecke), QStringLiteral("10/m"));
  for (int i = 1; i <= 3; ++i) {
    if (i == jetzt) continue;
    EXPECT_EQ(t.feld(i, S_vereinort), QStringLiteral("Alt"));
  }

  // The matched row was deleted meanwhile: a new row, nobody else overwritten.
  a.textGeaendert(mail());
  a.allesUebernehmen();
  t.zeileLoeschen(a.treffer());
  ASSERT_TRUE(a.inTabelleSchreiben());
  EXPECT_EQ(t.anzahl(), 3);
  EXPECT_EQ(t.feld(3, S_namevorname), QStringLiteral("Müller, Hans"));
}

namespace {
// A form mail from tests/event/Anmeldungsmails as a file reads it.
QString formular(const char* name) {
  return TextDekodieren(test::leseDatei(QStringLiteral(ZT_GOLDEN_DIR "/../event/Anmeldungsmails/") + QLatin1String(name)));
}
// The mail without the lines that name one of the keys.
QString ohne(const QString& mail, const QStringList& schluessel) {
  QStringList zeilen = mail.split(QLatin1Char('\n'));
  zeilen.removeIf([&](const QString& z) {
    for (const QString& k : schluessel)
      if (z.contains(QStringLiteral("%1:").arg(k)) || z.contains(QStringLiteral("<td>%1</td>").arg(k))) return true;
    return false;
  });
  return zeilen.join(QLatin1Char('\n'));
}
// Every line quoted as a mail program quotes a reply.
QString zitiert(const QString& mail, const QString& zeichen = QStringLiteral("> ")) {
  QStringList zeilen = mail.split(QLatin1Char('\n'));
  for (QString& z : zeilen) z.prepend(zeichen);
  return zeilen.join(QLatin1Char('\n'));
}
}  // namespace

// Known runners (as in the sample event) written from mails: what a mail
// says wins over a quote of an older one, what it does not say stays.
TEST(AnmeldungSchreiben, TheMailsOwnLinesChangeTheRowAndNothingElse) {
  const QString bekannt = formular("formular_bekannt.txt");
  const QString html = formular("formular_html.txt");
  // What the row says afterwards: the fields reported as changed | year | club | route | walker.
  const std::pair<QString, const char*> faelle[] = {
      {bekannt, "jahr, verein|14.03.1997|LG Baden-Baden|5/m|Falsch"},
      {"Verein: LG Neu\n\nAm Montag schrieb ...:\n" + zitiert(bekannt), "jahr, verein|14.03.1997|LG Neu|5/m|Falsch"},
      {zitiert(bekannt) + "\nVerein: LG Neu\n", "jahr, verein|14.03.1997|LG Neu|5/m|Falsch"},
      {">Verein: LG Mitte\n" + zitiert(bekannt, "> > "), "jahr, verein|14.03.1997|LG Mitte|5/m|Falsch"},  // the newer quote
      {ohne(bekannt, {"Verein"}), "jahr|14.03.1997|Baden-Baden|5/m|Falsch"},
      {ohne(bekannt, {"Verein", "Geburtsdatum", "Walker", "Strecke", "Geschlecht"}), "|1997|Baden-Baden|5/m|Falsch"},
      {html, "verein|1985|Herten & Umgebung|5/w|Falsch"},
      {ohne(html, {"Verein"}), "|1985|Herten|5/w|Falsch"},
  };
  for (const auto& [text, erwartet] : faelle) {
    Umgebung u;
    u.s().einst.CheckAutoHinzufuegen = 1;
    for (const char* z : {"\t\t\t5/m\tHilgendorf, Lino\t1997\tBaden-Baden\t\t\t\t\t\t\t\tFalsch",
                          "\t\t\t5/w\tBehr, Miriam\t1985\tHerten\t\t\t\t\t\t\t\tFalsch"})
      u.s().tabelle.zeileHinzufuegen(QString::fromUtf8(z));
    Anmeldung a(u.s());
    ASSERT_TRUE(a.textGeaendert(text)) << erwartet;
    const int r = a.treffer();
    ASSERT_GT(r, 0) << erwartet;
    a.allesUebernehmen();
    for (int i = FeldIndex(F::Name); i < kAnmeldefelder; ++i) EXPECT_FALSE(a.abweichend(static_cast<F>(i))) << erwartet << " " << i;
    QStringList geaendert;
    ASSERT_TRUE(a.inTabelleSchreiben(&geaendert)) << erwartet;
    const Teilnehmertabelle& t = u.s().tabelle;
    EXPECT_EQ(t.anzahl(), 2);
    EXPECT_EQ(QStringList({geaendert.join(QStringLiteral(", ")), t.feld(r, S_jahr), t.feld(r, S_vereinort), t.feld(r, S_strecke),
                           t.feld(r, S_walker)}).join(QLatin1Char('|')),
              QString::fromUtf8(erwartet));
  }
}
