#pragma once

#include "gui/kit/DialogWindow.h"
#include "gui/kit/SkinnedButton.h"

namespace qv::ui {

// The modal message dialog: title, message, icon, OK and Cancel.
class frm_Message final : public DialogWindow {
 public:
  frm_Message(const QString& installDir, Router* router);
  SmallButton* okButton() const { return m_ok; }
  SmallButton* cancelButton() const { return m_cancel; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  SmallButton* m_ok;
  SmallButton* m_cancel;
};

}  // namespace qv::ui
