#include <QHash>

#include "platform/Joystick.h"
#include "platform/linux/SdlLibrary.h"

namespace qv::platform {
namespace {

// SDL numbers attached devices from 0 in the order they were attached, like
// the joystick ids of the Windows joystick service.
class SdlJoystick final : public Joystick {
 public:
  ~SdlJoystick() override {
    for (SDL_Joystick* j : std::as_const(m_open)) m_sdl->JoystickClose(j);
    if (m_ready) m_sdl->QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  bool JoystickPresent(int id) override { return Open(id) != nullptr; }

  uint32_t ReadJoystickButtons(int id) override {
    SDL_Joystick* j = Open(id);
    if (!j) return 0;
    m_sdl->JoystickUpdate();
    uint32_t mask = 0;
    const int count = std::min(m_sdl->JoystickNumButtons(j), 16);
    for (int n = 0; n < count; ++n)
      if (m_sdl->JoystickGetButton(j, n)) mask |= 1u << n;
    return mask;
  }

 private:
  // SDL and its joystick subsystem start when a joystick is first asked
  // for (the interface creates this service at start, but only the dialog
  // that takes the microphone switch reads joysticks). Without SDL there are
  // no joysticks, as when the subsystem does not start.
  bool Ready() {
    if (!m_tried) {
      m_tried = true;
      m_sdl = Sdl();
      if (!m_sdl) return false;
      // SDL would otherwise take over SIGINT/SIGTERM, and the program would
      // no longer end when asked to.
      m_sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
      m_ready = m_sdl->InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    }
    return m_ready;
  }

  SDL_Joystick* Open(int id) {
    if (id < 0 || !Ready()) return nullptr;
    m_sdl->JoystickUpdate();
    if (id >= m_sdl->NumJoysticks()) return nullptr;
    const SDL_JoystickID instance = m_sdl->JoystickGetDeviceInstanceID(id);
    auto it = m_open.find(instance);
    if (it != m_open.end()) {
      if (m_sdl->JoystickGetAttached(*it)) return *it;
      m_sdl->JoystickClose(*it);
      m_open.erase(it);
    }
    SDL_Joystick* j = m_sdl->JoystickOpen(id);
    if (j) m_open.insert(instance, j);
    return j;
  }

  const SdlLibrary* m_sdl = nullptr;
  bool m_tried = false;
  bool m_ready = false;
  QHash<SDL_JoystickID, SDL_Joystick*> m_open;
};

}  // namespace

std::unique_ptr<Joystick> CreateJoystick() { return std::make_unique<SdlJoystick>(); }

}  // namespace qv::platform
