#pragma once

#include <QString>
#include <QStringList>

namespace qv::shell {

// Icons of the message dialog; any other value keeps the icon shown last.
enum MessageIcon : int { kIconInformation = 0, kIconWarning = 1, kIconError = 2 };

// Lines of a message are separated by carriage returns (character 13).
inline const QString kCr = QStringLiteral("\r");
inline const QString kCr2 = QStringLiteral("\r\r");

// Every message line joined by two carriage returns, the usual layout.
QString JoinLines(std::initializer_list<QString> lines);
QString JoinLines(const QStringList& lines);

// The only way the core talks to the user. A dialog does not return the
// user's answer: the caller names a tag, and the dialog's OK runs the
// follow-up that belongs to that tag (the tag table lives with the dialogs).
// ShowMessage and ShowInput are modal and return when the dialog is hidden.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                           const QString& tag) = 0;
  virtual void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk,
                         bool showCancel, const QString& defaultText, const QString& tag) = 0;
  virtual void ProgressOpen(const QString& title, const QString& message) = 0;
  virtual void ProgressUpdate(const QString& message, double percent) = 0;
  virtual void ProgressHide() = 0;
};

// Dialogs that show nothing, for work no one watches: a file's layout worked
// out in memory, the benchmarks, the fuzzers.
class SilentDialogs final : public Dialogs {
 public:
  void ShowMessage(const QString&, const QString&, int, bool, bool, const QString&) override {}
  void ShowInput(const QString&, const QString&, const QString&, bool, bool, const QString&, const QString&) override {}
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override {}
  void ProgressHide() override {}
};

}  // namespace qv::shell
