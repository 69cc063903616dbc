#pragma once

#include <QString>

class QWidget;

namespace qv::grammar {

// The frame's three context buttons, as the speech screens rewire them.
enum class FrameButton { OK, Cancel, Compile };

struct FrameButtonSetup {
  QString type, picture, state, toolTip;
  bool visible = true;
};

// What the speech configuration, test and script screens need from the
// parent frame. The frame implements it; tests use a recorder.
class GrammarScreenHost {
 public:
  virtual ~GrammarScreenHost() = default;
  // The hosted screen of that name, loaded on first use.
  virtual QWidget* Screen(const QString& name) = 0;
  // Hides the screen shown now and shows `screen` in the frame.
  virtual void ShowScreen(QWidget* screen) = 0;
  // Enters the configuration screen as from the home screen: filled, frame
  // buttons rewired after the unsaved-changes flag, tip set.
  virtual void EnterConfigure() = 0;
  virtual void ReturnHome() = 0;
  virtual void SetFrameButton(FrameButton which, const FrameButtonSetup& setup) = 0;
  virtual void SetFrameButtonState(FrameButton which, const QString& state) = 0;
  virtual void SetTip(const QString& screenName) = 0;
  // Both the simulator and the in-flight runtime are running.
  virtual bool SimAndRuntimeRunning() = 0;
  // The microphone switch input dialog (tag "mic_switch"), whose OK the
  // dialogs handle themselves.
  virtual void AskMicrophoneSwitch() = 0;
};

}  // namespace qv::grammar
