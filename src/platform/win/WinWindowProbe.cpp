#include <windows.h>

#include <string>

#include "platform/win/WinAdapters.h"

namespace qv::platform {
namespace {

// A runtime that hangs must not hang us with it.
constexpr UINT kCloseTimeoutMs = 10000;

std::wstring Wide(const QString& text) { return text.toStdWString(); }

class WinWindowProbe final : public WindowProbe {
 public:
  bool HasWindowOfClass(const QString& windowClass) override {
    return FindWindowW(Wide(windowClass).c_str(), nullptr) != nullptr;
  }

  bool HasWindowTitled(const QString& title) override { return FindWindowW(nullptr, Wide(title).c_str()) != nullptr; }

  bool CloseWindowTitled(const QString& title) override {
    HWND window = FindWindowW(nullptr, Wide(title).c_str());
    if (!window) return false;
    // Sent, not posted: the call returns once the window has handled it.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kCloseTimeoutMs, &answer);
    return true;
  }
};

}  // namespace

std::unique_ptr<WindowProbe> CreateWinWindowProbe() { return std::make_unique<WinWindowProbe>(); }

}  // namespace qv::platform
