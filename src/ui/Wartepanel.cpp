#include "ui/Wartepanel.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace zt {

Wartepanel::Wartepanel(QWidget* ueber) : QFrame(ueber) {
  setObjectName(QStringLiteral("Wartepanel"));
  setFrameShape(QFrame::Box);
  setLineWidth(2);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
  p.setColor(QPalette::WindowText, Qt::black);
  setPalette(p);
  auto* text = new QLabel(QStringLiteral("Bitte warten!"), this);
  QFont f = text->font();
  f.setPointSizeF(f.pointSizeF() * 2);
  f.setBold(true);
  text->setFont(f);
  text->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 24, 40, 24);
  layout->addWidget(text);
  hide();
  ueber->installEventFilter(this);
}

void Wartepanel::ausrichten() {
  adjustSize();
  const QWidget* p = parentWidget();
  move((p->width() - width()) / 2, (p->height() - height()) / 2);
}

void Wartepanel::zeigen() {
  ausrichten();
  show();
  raise();
  repaint();
}

bool Wartepanel::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == parentWidget() && ereignis->type() == QEvent::Resize && isVisible()) ausrichten();
  return QFrame::eventFilter(objekt, ereignis);
}

}  // namespace zt
