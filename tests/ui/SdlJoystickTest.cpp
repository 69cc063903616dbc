#include <gtest/gtest.h>

#include <SDL.h>

#include "AppHarness.h"
#include "gui/kit/frm_Input.h"

using namespace qv;

namespace {

// Two virtual joysticks attached through SDL, so that joystick 1 is the
// second device as in the Windows numbering.
struct VirtualSticks {
  VirtualSticks() {
    qputenv("SDL_VIDEODRIVER", "dummy");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    for (int i = 0; i < 2; ++i) {
      const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
      indices.push_back(index);
      handles.push_back(SDL_JoystickOpen(index));
    }
  }
  ~VirtualSticks() {
    for (SDL_Joystick* j : handles) SDL_JoystickClose(j);
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) SDL_JoystickDetachVirtual(*it);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  void Press(int stick, int button) {
    SDL_JoystickSetVirtualButton(handles[stick], button, 1);
    SDL_JoystickUpdate();
  }
  std::vector<int> indices;
  std::vector<SDL_Joystick*> handles;
};

}  // namespace

// The real joystick service, alone and behind the microphone-switch capture.
TEST(SdlJoystick, ReportsPresenceAndButtonsAndTheCaptureTakesThem) {
  VirtualSticks sticks;
  ASSERT_EQ(SDL_NumJoysticks(), 2) << SDL_GetError();
  auto joystick = platform::CreateJoystick();
  EXPECT_TRUE(joystick->JoystickPresent(1));
  EXPECT_FALSE(joystick->JoystickPresent(2));
  EXPECT_EQ(joystick->ReadJoystickButtons(1), 0u);
  sticks.Press(1, 2);
  sticks.Press(1, 5);
  EXPECT_EQ(joystick->ReadJoystickButtons(1), (1u << 2) | (1u << 5));
  EXPECT_EQ(joystick->ReadJoystickButtons(0), 0u);

  test::AppHarness h(QString(), [](app::Backends& b) { b.joystick = platform::CreateJoystick(); });
  ui::SkinnedDialogs& dialogs = h.app->dialogs();
  h.dialogs->custom = [&](ui::DialogWindow*) {
    dialogs.input()->PollJoystick();  // joystick 1
    test::Click(dialogs.input()->cancelButton());
  };
  dialogs.AskMicrophoneSwitch();
  EXPECT_EQ(h.state().settings.micSwitch, "joystick:1:button:5");
}
