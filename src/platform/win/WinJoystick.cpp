#include <windows.h>

#include <mmsystem.h>

#include "platform/Joystick.h"

namespace qv::platform {
namespace {

// The joystick service of winmm: a capabilities query tells whether the
// joystick is there, the extended position read gives the button mask.
class WinJoystick final : public Joystick {
 public:
  bool JoystickPresent(int id) override {
    JOYCAPSW caps = {};
    return joyGetDevCapsW(static_cast<UINT_PTR>(id), &caps, sizeof(caps)) == JOYERR_NOERROR;
  }

  uint32_t ReadJoystickButtons(int id) override {
    JOYINFOEX info = {};
    info.dwSize = sizeof(info);
    info.dwFlags = JOY_RETURNALL;
    if (joyGetPosEx(static_cast<UINT>(id), &info) != JOYERR_NOERROR) return 0;
    return static_cast<uint32_t>(info.dwButtons);
  }
};

}  // namespace

std::unique_ptr<Joystick> CreateJoystick() { return std::make_unique<WinJoystick>(); }

}  // namespace qv::platform
