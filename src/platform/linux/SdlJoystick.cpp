#include <QHash>

#include "platform/Joystick.h"

#include <SDL.h>

namespace qv::platform {
namespace {

// SDL numbers attached devices from 0 in the order they were attached, like
// the joystick ids of the Windows joystick service.
class SdlJoystick final : public Joystick {
 public:
  SdlJoystick() {
    // SDL would otherwise take over SIGINT/SIGTERM, and the program would no
    // longer end when asked to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_ready = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  }
  ~SdlJoystick() override {
    for (SDL_Joystick* j : std::as_const(m_open)) SDL_JoystickClose(j);
    if (m_ready) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  bool JoystickPresent(int id) override { return Open(id) != nullptr; }

  uint32_t ReadJoystickButtons(int id) override {
    SDL_Joystick* j = Open(id);
    if (!j) return 0;
    SDL_JoystickUpdate();
    uint32_t mask = 0;
    const int count = std::min(SDL_JoystickNumButtons(j), 16);
    for (int n = 0; n < count; ++n)
      if (SDL_JoystickGetButton(j, n)) mask |= 1u << n;
    return mask;
  }

 private:
  SDL_Joystick* Open(int id) {
    if (!m_ready || id < 0) return nullptr;
    SDL_JoystickUpdate();
    if (id >= SDL_NumJoysticks()) return nullptr;
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(id);
    auto it = m_open.find(instance);
    if (it != m_open.end()) {
      if (SDL_JoystickGetAttached(*it)) return *it;
      SDL_JoystickClose(*it);
      m_open.erase(it);
    }
    SDL_Joystick* j = SDL_JoystickOpen(id);
    if (j) m_open.insert(instance, j);
    return j;
  }

  bool m_ready = false;
  QHash<SDL_JoystickID, SDL_Joystick*> m_open;
};

}  // namespace

std::unique_ptr<Joystick> CreateJoystick() { return std::make_unique<SdlJoystick>(); }

}  // namespace qv::platform
