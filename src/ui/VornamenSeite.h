#pragma once
// The page "Vornamen": the first-name grid sevGridVN with its search field,
// deleting, adding and the context menu.
#include <QWidget>

class QLineEdit;
class QTableView;

namespace zt {

class FormZieltafel;
class VornamenModell;

class VornamenSeite : public QWidget {
  Q_OBJECT
 public:
  explicit VornamenSeite(FormZieltafel& fenster, QWidget* eltern = nullptr);

  QTableView* raster() const { return m_raster; }

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void markierteLoeschen();
  void aktuelleLoeschen();
  void zeileAnfuegen();
  void kontextmenue(const QPoint& wo);
  void aktuellenZeigen();

  FormZieltafel& m_fenster;
  VornamenModell* m_modell = nullptr;
  QTableView* m_raster = nullptr;
  QLineEdit* m_suche = nullptr;
  bool m_zeigen = false;
};

}  // namespace zt
