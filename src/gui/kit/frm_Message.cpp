#include "gui/kit/frm_Message.h"

namespace qv::ui {

frm_Message::frm_Message(const QString& installDir, Router* router) : DialogWindow("frm_Message", installDir) {
  m_ok = MakeButton<SmallButton>(this, installDir, router, {"btn_OK", 385, 209, "ok", "btn_ParentOK", "enabled", ""});
  m_cancel = MakeButton<SmallButton>(this, installDir, router,
                                     {"btn_Cancel", 280, 209, "cancel", "btn_ParentCancel", "enabled", ""});
  m_ok->setFollowsFocus(true);
  m_cancel->setFollowsFocus(true);
  setTabOrder(m_cancel, m_ok);  // left to right, as they stand
}

void frm_Message::showEvent(QShowEvent* event) {
  DialogWindow::showEvent(event);
  if (m_ok->isVisible())
    m_ok->setFocus();
  else if (m_cancel->isVisible())
    m_cancel->setFocus();
}

}  // namespace qv::ui
