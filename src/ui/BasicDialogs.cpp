#include "ui/BasicDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <cmath>

namespace qv::ui {

BasicDialogs::BasicDialogs() = default;
BasicDialogs::~BasicDialogs() { delete m_progress; }

void BasicDialogs::SetTagAction(const QString& tag, std::function<void()> action) {
  m_tagActions.insert(tag, std::move(action));
}

void BasicDialogs::ShowMessage(const QString& title, const QString& message, int icon, bool showOk,
                               bool showCancel, const QString& tag) {
  dialogName = tag;
  QMessageBox box;
  box.setWindowTitle(title);
  box.setText(QString(message).replace(u'\r', u'\n'));
  box.setIcon(icon == shell::kIconError     ? QMessageBox::Critical
              : icon == shell::kIconWarning ? QMessageBox::Warning
                                            : QMessageBox::Information);
  QMessageBox::StandardButtons buttons;
  if (showOk) buttons |= QMessageBox::Ok;
  if (showCancel) buttons |= QMessageBox::Cancel;
  box.setStandardButtons(buttons ? buttons : QMessageBox::Ok);
  if (box.exec() == QMessageBox::Ok) {
    const auto it = m_tagActions.constFind(tag);
    if (it != m_tagActions.constEnd()) (*it)();
  }
}

void BasicDialogs::ShowInput(const QString& title, const QString& message, const QString& prompt, bool,
                             bool, const QString& defaultText, const QString& tag) {
  inputName = tag;
  bool ok = false;
  inputText = QInputDialog::getText(nullptr, title, message + "\n\n" + prompt, QLineEdit::Normal, defaultText, &ok);
  if (ok) {
    const auto it = m_tagActions.constFind(tag);
    if (it != m_tagActions.constEnd()) (*it)();
  }
}

void BasicDialogs::ProgressOpen(const QString& title, const QString& message) {
  if (!m_progress) m_progress = new QProgressDialog;
  m_progress->setWindowTitle(title);
  m_progress->setLabelText(message);
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_progress->setCancelButton(nullptr);
  m_progress->show();
  QApplication::processEvents();
}

void BasicDialogs::ProgressUpdate(const QString& message, double percent) {
  if (!m_progress) return;
  m_progress->setLabelText(message);
  m_progress->setValue(static_cast<int>(std::lround(percent)));
  QApplication::processEvents();
}

void BasicDialogs::ProgressHide() {
  if (m_progress) m_progress->hide();
}

}  // namespace qv::ui
