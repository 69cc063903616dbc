#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "core/shell/Dialogs.h"

namespace qv::test {

// Answers dialogs by script and records what was shown. An answer not
// scripted is OK. OK on a message or input runs the follow-up registered for
// its tag, as the real dialogs do.
class RecordingDialogs final : public shell::Dialogs {
 public:
  struct Message {
    QString title, message;
    int icon;
    bool showOk, showCancel;
    QString tag;
  };
  struct Input {
    QString title, message, prompt, defaultText, tag;
  };

  void AnswerOk() { m_answers.push_back({true, {}}); }
  void AnswerCancel() { m_answers.push_back({false, {}}); }
  // For input dialogs: OK with this text.
  void AnswerInput(const QString& text) { m_answers.push_back({true, text}); }
  void OnTag(const QString& tag, std::function<void()> action) { m_tags.push_back({tag, std::move(action)}); }

  void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                   const QString& tag) override;
  void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk, bool showCancel,
                 const QString& defaultText, const QString& tag) override;
  void ProgressOpen(const QString& title, const QString& message) override;
  void ProgressUpdate(const QString& message, double percent) override;
  void ProgressHide() override;

  QStringList titles() const;
  const Message& last() const { return messages.back(); }

  std::vector<Message> messages;
  std::vector<Input> inputs;
  QString inputText;  // text of the last answered input dialog
  std::vector<std::pair<QString, double>> progress;
  bool progressVisible = false;
  QStringList events;  // "message:<title>", "input:<title>", "progress:open", ...

 private:
  struct Answer {
    bool ok;
    QString text;
  };
  Answer Next();
  void RunTag(const QString& tag);
  std::deque<Answer> m_answers;
  std::vector<std::pair<QString, std::function<void()>>> m_tags;
};

}  // namespace qv::test
