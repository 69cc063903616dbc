#pragma once

#include <QList>
#include <QString>

namespace qv::ui {
class ScreenHost;
class SkinnedScreen;
struct ScreenServices;
}  // namespace qv::ui

namespace qv::shell {

// How one of the frame's three context buttons looks while a screen is
// shown. A null text leaves that property as it was.
struct FrameButtonLayout {
  enum State { Enabled, Disabled, WhenUnsaved };  // WhenUnsaved: the screen's unsavedChanges()
  int left = -1;                                  // hidden when negative
  const char* type = nullptr;
  const char* picture = nullptr;
  const char* toolTip = nullptr;
  State state = Enabled;
};

// One hosted screen: its name (which routing compares), the action key of
// the home screen's button that enters it, the context buttons while it is
// shown, and how it is built.
struct ScreenRow {
  const char* name;
  const char* entryKey;  // nullptr: reached from another screen, not from home
  FrameButtonLayout ok, cancel, compile;
  ui::SkinnedScreen* (*create)(const ui::ScreenServices& services, ui::ScreenHost& host);
};

// Every hosted screen, in the order the frame walks them.
const QList<ScreenRow>& ScreenTable();
// The row of the screen named exactly `name`, or nullptr.
const ScreenRow* FindScreen(const QString& name);

}  // namespace qv::shell
