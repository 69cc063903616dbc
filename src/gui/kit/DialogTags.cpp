#include "gui/kit/DialogTags.h"

namespace qv::ui {

const QList<MessageTagRow>& MessageTagTable() {
  using F = TagFollowUp;
  static const QList<MessageTagRow> table{
      {"shutdown_on_ok", false, F::Shutdown, nullptr},
      {"checklist_backup", true, F::Registered, nullptr},
      {"delete_grammar", false, F::Registered, nullptr},
      {"delete_readback", false, F::Registered, nullptr},
      {"pronounce_discard", true, F::Registered, nullptr},
      {"cmod_restart", true, F::RestartRuntime, "frm_modify"},
      {"cassign_restart", true, F::RestartRuntime, "frm_assign"},
      {"gcompile_restart", true, F::RestartRuntime, "frm_configure"},
  };
  return table;
}

const MessageTagRow* FindMessageTag(const QString& tag) {
  for (const MessageTagRow& row : MessageTagTable())
    if (tag == QLatin1String(row.tag)) return &row;
  return nullptr;
}

}  // namespace qv::ui
