#pragma once
// Tab 3 "Voreinstellungen und Info's": an inner tab strip with the pages
// "Voreinstellungen", "sonstiges" and "Vornamen". Every widget shows a field
// of the session and writes it as the operator types.
#include <QTabWidget>

namespace zt {

class Feldbindung;
class FormZieltafel;

class Voreinstellungen : public QTabWidget {
  Q_OBJECT
 public:
  // Registers the pages and fields the domain sends the operator to.
  explicit Voreinstellungen(FormZieltafel& fenster, QWidget* eltern = nullptr);

  Feldbindung& bindung() const { return *m_bindung; }

 private:
  Feldbindung* m_bindung;
};

}  // namespace zt
