#pragma once

#include <cstdint>
#include <memory>

namespace qv::platform {

// The game controllers the microphone switch can be taken from. Joysticks are
// numbered 0 to 4 as the operating system numbers them; buttons 0 to 15.
class Joystick {
 public:
  virtual ~Joystick() = default;
  // True when joystick `id` is attached and answers a capabilities query.
  virtual bool JoystickPresent(int id) = 0;
  // The pressed buttons as a mask, bit n = button n; 0 when absent.
  virtual uint32_t ReadJoystickButtons(int id) = 0;
};

// The joystick service of the OS being built.
std::unique_ptr<Joystick> CreateJoystick();

}  // namespace qv::platform
