#include "event/Altersklassen.h"

#include "core/Sitzung.h"
#include "core/Text.h"


namespace zt {

QString ZwanzigKlassenDefinition() {
  return QStringLiteral(
      "06-09_06/09; 10-11_10/11; 12-13_12/13; 14-15_14/15; 16-17_16/17; 18-19_18/19; 20-29_20; "
      "30-34_30; 35-39_35; 40-44_40; 45-49_45; 50-54_50; 55-59_55; 60-64_60; 65-69_65; 70-74_70; "
      "75-79_75; 80-84_80; 85-89_85; 90-99_90");
}

void BuildAgeTable(Sitzung& s) {
  s.einst.txtDefGlobalAK.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  s.alterstabelle = AlterstabelleAusDefinition(s.einst.txtDefGlobalAK);
  s.melden();
}

QString LookupAgeClass(const Sitzung& s, long long alter) { return s.alterstabelle.klasse(alter); }

}  // namespace zt
