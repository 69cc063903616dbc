#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <vector>

class QEventLoop;

namespace qv::ui {

// The common body of the three dialogs: 500 x 250 pixels, the dialog
// background, a title, a message and an icon, and a modal show that returns
// when the dialog is hidden (a follow-up may show the same dialog again
// before the first show returns).
class DialogWindow : public QWidget {
 public:
  static constexpr int kWidth = 500;
  static constexpr int kHeight = 250;

  DialogWindow(const QString& name, const QString& installDir);

  QLabel* title() const { return m_title; }
  QLabel* message() const { return m_message; }
  QLabel* icon() const { return m_icon; }
  QString installDir() const { return m_installDir; }

  // Loads an icon of installation folder + "/Media/Icons/"; a missing file
  // shows a drawn stand-in chosen by `fallback` ('i', '!', 'x', '?', 'w').
  void LoadIcon(const QString& file, char fallback);
  // Centres over `over` when given and visible (or `always`), else on the screen.
  void CentreOver(QWidget* over, bool always);

  // Shows modally; returns once the dialog is hidden.
  void RunModal();
  // Hides the dialog and ends the innermost modal show of it.
  void CloseDialog();
  bool inModal() const { return !m_loops.empty(); }

  // Message text uses carriage returns as line breaks.
  static QString DisplayText(const QString& text);
  // Sets the message text in the largest font, from the dialog's own size
  // down, that shows all of it: a message naming a file and the reason can
  // be longer than the box.
  void SetFittedMessage(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QString m_installDir;
  QPixmap m_background;
  QFont m_messageFont;
  QLabel* m_title;
  QLabel* m_message;
  QLabel* m_icon;
  std::vector<QEventLoop*> m_loops;
};

}  // namespace qv::ui
