#pragma once

#include <QList>
#include <QString>

namespace qv::ui {

// What OK of the message dialog does for each tag (compared exactly). Any
// other tag, "" included, only hides the dialog.
enum class TagFollowUp {
  Shutdown,        // the program ends
  Registered,      // the follow-up a screen registered for the tag
  RestartRuntime,  // hide `screen`, hide every screen, restart the speech runtime
};

struct MessageTagRow {
  const char* tag;
  bool hideFirst;  // hide the dialog before the follow-up (else after it)
  TagFollowUp followUp;
  const char* screen;  // the screen a restart prompt hides first
};

const QList<MessageTagRow>& MessageTagTable();
const MessageTagRow* FindMessageTag(const QString& tag);

// The tags of the input dialog; OK hides the dialog and hands the entered
// text to the action of the tag. "mic_switch" is the dialogs' own.
inline const QString kMicSwitchTag = QStringLiteral("mic_switch");
const QList<QString>& InputTagTable();

}  // namespace qv::ui
