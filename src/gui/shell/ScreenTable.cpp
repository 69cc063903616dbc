#include "gui/shell/ScreenTable.h"

#include "gui/checklists/frm_Assign.h"
#include "gui/checklists/frm_Modify.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Rehearse.h"
#include "gui/grammar/frm_Pronounce.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/frm_LC.h"
#include "gui/shell/frm_Home.h"

namespace qv::shell {
namespace {

template <class T>
ui::SkinnedScreen* Create(const ui::ScreenServices& services, ui::ScreenHost& host) {
  return new T(services, host);
}

using F = FrameButtonLayout;
const char* const kHomeTip = "Click to return to the main Quorvane screen";
const char* const kBackTip = "Click to return to the Configuration screen of Quorvane";
const F kHidden{};
const F kHome{581, "cancel", "btn_ParentHome", kHomeTip, F::Enabled};
const F kNoCompile{-1, "compile", nullptr, nullptr, F::Disabled};
const F kCompileOff{686, "compile", nullptr, nullptr, F::Disabled};
const F kBack{476, "cancel", "btn_ParentReturn", kBackTip, F::Enabled};

}  // namespace

const QList<ScreenRow>& ScreenTable() {
  static const QList<ScreenRow> table{
      {"frm_Home", nullptr, kHidden, kHidden, kHidden, &Create<frm_Home>},
      {"frm_Modify", "checklist_modification",
       F{686, "save", "btn_ParentSave", "Click to save current changes made to the checklist.", F::Disabled}, kHome,
       kNoCompile, &Create<checklists::frm_Modify>},
      {"frm_Assign", "checklist_assignments",
       F{686, "save", "btn_ParentSave", "Click to save current changes made to the checklist assignments.",
         F::Disabled},
       kHome, kNoCompile, &Create<checklists::frm_Assign>},
      {"frm_Configure", "speech_config",
       F{581, "save", "btn_ParentSave", "Click to save current changes made to the speech recognition configuration.",
         F::WhenUnsaved},
       F{476, "cancel", "btn_ParentHome", kHomeTip, F::Enabled}, F{686, "compile", nullptr, nullptr, F::WhenUnsaved},
       &Create<grammar::frm_Configure>},
      {"frm_Script", nullptr,
       F{581, "save", "btn_ParentSave", "Click to save the generated script to a file.", F::Enabled}, kBack,
       kCompileOff, &Create<grammar::frm_Script>},
      {"frm_Test", nullptr,
       F{581, "start", "btn_ParentStart", "Click to begin speaking to the recognition engine", F::Enabled}, kBack,
       kCompileOff, &Create<grammar::frm_Test>},
      {"frm_Rehearse", nullptr,
       F{581, "start", "btn_ParentStart", "Click to speak a command as you would in flight", F::Enabled}, kBack,
       kCompileOff, &Create<grammar::frm_Rehearse>},
      {"frm_Pronounce", nullptr,
       F{581, "save", "btn_ParentSave", "Click to save your pronunciations.", F::WhenUnsaved}, kBack, kCompileOff,
       &Create<grammar::frm_Pronounce>},
      {"frm_LC", "learning_center", kHidden, F{686, "cancel", "btn_ParentReturn", kHomeTip, F::Enabled}, kHidden,
       &Create<ui::frm_LC>},
  };
  return table;
}

const ScreenRow* FindScreen(const QString& name) {
  for (const ScreenRow& row : ScreenTable())
    if (name == QLatin1String(row.name)) return &row;
  return nullptr;
}

}  // namespace qv::shell
