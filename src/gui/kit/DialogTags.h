#pragma once

#include <QList>
#include <QString>

namespace qv::ui {

// What OK of the message dialog does for each tag (compared exactly). Any
// other tag, "" included, only hides the dialog.
enum class TagFollowUp {
  Shutdown,        // the program ends
  Registered,      // the follow-up of the screen (or the composition) that owns the tag
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

// The input dialog's OK hides it and hands the entered text to whoever owns
// the tag: "add_grammar", "edit_grammar", "add_readback", "edit_readback"
// and "mic_switch" belong to the configuration screen, "new_checklist" to the
// modification screen. "mic_switch" also turns on the key capture.
inline const QString kMicSwitchTag = QStringLiteral("mic_switch");

}  // namespace qv::ui
