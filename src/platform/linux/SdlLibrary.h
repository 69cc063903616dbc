#pragma once

#include <QString>

#include <SDL.h>

#include "platform/linux/SharedLibrary.h"

namespace qv::platform {

// SDL2 is loaded the first time the joystick service, audio capture or speech
// output needs it rather than at every start of the programs: most runs never
// touch it, and mapping it with the libraries behind it costs about 10 ms.
// SDL's headers still give the types and constants; the functions are called
// through this table.
#define QV_SDL_FUNCTIONS(X)      \
  X(SetHint)                     \
  X(InitSubSystem)               \
  X(QuitSubSystem)               \
  X(GetError)                    \
  X(Delay)                       \
  X(GetTicks)                    \
  X(NumJoysticks)                \
  X(JoystickGetDeviceInstanceID) \
  X(JoystickOpen)                \
  X(JoystickClose)               \
  X(JoystickGetAttached)         \
  X(JoystickUpdate)              \
  X(JoystickNumButtons)          \
  X(JoystickGetButton)           \
  X(OpenAudioDevice)             \
  X(CloseAudioDevice)            \
  X(GetNumAudioDevices)          \
  X(PauseAudioDevice)            \
  X(GetAudioDeviceStatus)        \
  X(QueueAudio)                  \
  X(DequeueAudio)                \
  X(GetQueuedAudioSize)

// SDL_SetHint is reached as sdl->SetHint, and so on.
struct SdlLibrary {
#define QV_SDL_MEMBER(name) decltype(&::SDL_##name) name = nullptr;
  QV_SDL_FUNCTIONS(QV_SDL_MEMBER)
#undef QV_SDL_MEMBER
};

// The soname SDL2 has kept through all its 2.x releases.
inline constexpr const char* kSdlSoname = "libSDL2-2.0.so.0";

// The library, loaded once for the whole process (the first call may come
// from any thread, and every call returns the same table), or nullptr when it
// cannot be loaded; `why`, when given, then says what went wrong in the
// loader's words. The library stays loaded until the process ends.
const SdlLibrary* Sdl(QString* why = nullptr);

// One load of `soname` with every function looked up, for Sdl() and the
// tests: the table when all were found, otherwise nullptr and `why`. A
// library that was loaded but lacks a function is released again.
const SdlLibrary* LoadSdlLibrary(const char* soname, SdlLibrary& table, QString& why);

}  // namespace qv::platform
