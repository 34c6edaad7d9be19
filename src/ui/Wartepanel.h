#pragma once
// The "Bitte warten!" panel laid over the window while a long operation runs.
#include <QFrame>

namespace zt {

class Wartepanel : public QFrame {
  Q_OBJECT
 public:
  explicit Wartepanel(QWidget* ueber);
  // Shows the panel centred over its parent and paints it at once: the
  // operation that follows may not let the event queue run for a while.
  void zeigen();

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void ausrichten();
};

}  // namespace zt
