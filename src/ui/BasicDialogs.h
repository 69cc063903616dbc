#pragma once

#include <QHash>
#include <functional>

#include "shell/Dialogs.h"

class QProgressDialog;

namespace qv::ui {

// Plain Qt dialogs behind the core's Dialogs interface, with the tag protocol:
// OK runs the follow-up registered for the dialog's tag.
class BasicDialogs final : public shell::Dialogs {
 public:
  BasicDialogs();
  ~BasicDialogs() override;

  void SetTagAction(const QString& tag, std::function<void()> action);

  void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                   const QString& tag) override;
  void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk,
                 bool showCancel, const QString& defaultText, const QString& tag) override;
  void ProgressOpen(const QString& title, const QString& message) override;
  void ProgressUpdate(const QString& message, double percent) override;
  void ProgressHide() override;

  QString dialogName;
  QString inputName;
  QString inputText;

 private:
  QHash<QString, std::function<void()>> m_tagActions;
  QProgressDialog* m_progress = nullptr;
};

}  // namespace qv::ui
