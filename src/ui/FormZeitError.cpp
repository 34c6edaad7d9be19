#include "ui/FormZeitError.h"

#include "core/Sitzung.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zt {

FormZeitError::FormZeitError(Sitzung& s, QWidget* parent) : QWidget(parent, Qt::Window), m_s(s) {
  setObjectName(QStringLiteral("FormZeitError"));
  setWindowTitle(QStringLiteral("Fehlermanager"));
  auto* layout = new QVBoxLayout(this);
  m_text = new QPlainTextEdit(this);
  m_text->setObjectName(QStringLiteral("txtFehlermanager"));
  m_text->setReadOnly(true);
  m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(m_text, 1);
  auto* knoepfe = new QHBoxLayout;
  auto* loeschen = new QPushButton(QStringLiteral("Fehlermeldungen löschen"), this);
  loeschen->setObjectName(QStringLiteral("cmdFehlermeldungenLoeschen"));
  auto* weiter = new QPushButton(QStringLiteral("weiter"), this);
  weiter->setObjectName(QStringLiteral("cmdWeiter"));
  weiter->setDefault(true);
  knoepfe->addWidget(loeschen);
  knoepfe->addStretch(1);
  knoepfe->addWidget(weiter);
  layout->addLayout(knoepfe);
  connect(loeschen, &QPushButton::clicked, this, [this] {
    m_text->clear();
    m_s.fehlerbericht.clear();
  });
  connect(weiter, &QPushButton::clicked, this, &QWidget::close);
  resize(640, 420);
}

void FormZeitError::zeigen(const QString& bericht) {
  m_text->setPlainText(bericht);
  show();
  raise();
  activateWindow();
}

QString FormZeitError::text() const { return m_text->toPlainText(); }

}  // namespace zt
