#pragma once
// A combo box whose entries run a command (a sort, a view, a clearing) must
// run only what the operator picks: the wheel over the page and the arrow
// keys would otherwise run the neighbouring entries one after the other.
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

namespace zt {

// For an event filter on such a box: true when the event was taken.
inline bool BefehlslisteSchuetzen(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::Wheel) {
    ereignis->ignore();
    return true;
  }
  if (ereignis->type() == QEvent::KeyPress) {
    const int taste = static_cast<QKeyEvent*>(ereignis)->key();
    if (taste == Qt::Key_Up || taste == Qt::Key_Down || taste == Qt::Key_PageUp || taste == Qt::Key_PageDown ||
        taste == Qt::Key_Home || taste == Qt::Key_End) {
      if (auto* box = qobject_cast<QComboBox*>(objekt)) box->showPopup();
      return true;
    }
  }
  return false;
}

}  // namespace zt
