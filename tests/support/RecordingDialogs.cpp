#include "RecordingDialogs.h"

namespace qv::test {

RecordingDialogs::Answer RecordingDialogs::Next() {
  if (m_answers.empty()) return {true, {}};
  Answer a = m_answers.front();
  m_answers.pop_front();
  return a;
}

void RecordingDialogs::RunTag(const QString& tag) {
  for (auto& [t, action] : m_tags)
    if (t == tag) {
      action();
      return;
    }
}

void RecordingDialogs::ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                                   const QString& tag) {
  messages.push_back({title, message, icon, showOk, showCancel, tag});
  events << "message:" + title;
  if (Next().ok) RunTag(tag);
}

void RecordingDialogs::ShowInput(const QString& title, const QString& message, const QString& prompt, bool, bool,
                                 const QString& defaultText, const QString& tag) {
  inputs.push_back({title, message, prompt, defaultText, tag});
  events << "input:" + title;
  const Answer a = Next();
  if (a.ok) {
    inputText = a.text;
    RunTag(tag);
  }
}

void RecordingDialogs::ProgressOpen(const QString& title, const QString&) {
  progressVisible = true;
  events << "progress:" + title;
}

void RecordingDialogs::ProgressUpdate(const QString& message, double percent) {
  progress.emplace_back(message, percent);
}

void RecordingDialogs::ProgressHide() { progressVisible = false; }

QStringList RecordingDialogs::titles() const {
  QStringList t;
  for (const auto& m : messages) t << m.title;
  return t;
}

}  // namespace qv::test
