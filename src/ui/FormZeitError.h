#pragma once
// "Fehlermanager": the report of a time-file import or a start-number check,
// shown beside the main window and kept for the rest of the run.
#include <QWidget>

class QPlainTextEdit;

namespace zt {

class Sitzung;

class FormZeitError : public QWidget {
  Q_OBJECT
 public:
  explicit FormZeitError(Sitzung& s, QWidget* parent = nullptr);
  void zeigen(const QString& bericht);
  QString text() const;

 private:
  Sitzung& m_s;
  QPlainTextEdit* m_text = nullptr;
};

}  // namespace zt
