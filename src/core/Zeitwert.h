#pragma once
// A race time (or a time of day) in whole tenths of a second: the one place
// that reads time texts and writes them.
#include <QChar>
#include <QString>
#include <QStringView>

namespace zt {

class Zeitwert {
 public:
  // No time: what an empty field, "ohne" or any other text reads as.
  Zeitwert() = default;
  static Zeitwert ausZehnteln(long long zehntel);

  // "h:mm:ss", "hh:mm:ss", "h:mm:ss.s" or ",s", and "mm:ss(.s)": a time with
  // one colon is minutes and seconds. Blanks around are allowed, nothing else
  // is. Fields above 59 still read (see feldUeber59). Sorting reads every row:
  // this never allocates.
  static Zeitwert lesen(QStringView text);

  bool gueltig() const { return m_felder > 0; }
  // Tenths of the whole time; 0 for no time.
  long long zehntel() const { return m_zehntel; }
  double sekunden() const { return static_cast<double>(m_zehntel) / 10.0; }
  // Written with hours ("0:45:12"), not only minutes and seconds.
  bool mitStunden() const { return m_felder == 3; }
  // Hours and minutes fields as written; hours 0 without an hours field.
  long long stunden() const;
  long long minuten() const { return m_minutenfeld; }
  // The minutes field above 59 or the seconds field at 60 or more, as
  // written ("0:75:10", "45:60,3").
  bool feldUeber59() const { return m_minutenfeld > 59 || m_sekundenfeldZehntel >= 600; }

  // "h:nn:ss.s" with the given decimal sign. No time and negative values
  // write as 0:00:00.0.
  QString text(QChar dezimalzeichen = QLatin1Char('.')) const;
  // "hh:nn:ss", the tenths cut off.
  QString textGanzeSekunden() const;
  // Seconds as a plain number: "2", "0,1".
  QString sekundenText(QChar dezimalzeichen) const;

  // No time in, no time out.
  Zeitwert operator+(Zeitwert b) const;
  Zeitwert operator-(Zeitwert b) const;
  bool operator==(const Zeitwert& b) const { return gueltig() == b.gueltig() && m_zehntel == b.m_zehntel; }
  bool operator!=(const Zeitwert& b) const { return !(*this == b); }

 private:
  long long m_zehntel = 0;
  long long m_minutenfeld = 0;
  long long m_sekundenfeldZehntel = 0;
  int m_felder = 0;  // 0: no time; 2 or 3 as read; 1 for a computed value
};

}  // namespace zt
