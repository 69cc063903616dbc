#include <windows.h>

#include <QFileInfo>
#include <string>

#include "platform/win/WinAdapters.h"

namespace qv::platform {
namespace {

QString LastErrorText() {
  const DWORD code = GetLastError();
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  QString text = length ? QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed()
                        : QStringLiteral("error %1").arg(code);
  if (buffer) LocalFree(buffer);
  return text;
}

class WinProcessLauncher final : public ProcessLauncher {
 public:
  LaunchResult Start(const QString& program, const QString& workingDir) override {
    LaunchResult result;
    const std::wstring application = QFileInfo(program).absoluteFilePath().replace(u'/', u'\\').toStdWString();
    const std::wstring directory = QString(workingDir).replace(u'/', u'\\').toStdWString();
    // CreateProcess may write into the command line, so it gets its own buffer.
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
      result.error = LastErrorText();
      return result;
    }
    // Let the new program take the foreground from us.
    AllowSetForegroundWindow(info.dwProcessId);
    result.started = true;
    result.processId = info.dwProcessId;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return result;
  }
};

}  // namespace

std::unique_ptr<ProcessLauncher> CreateWinProcessLauncher() { return std::make_unique<WinProcessLauncher>(); }

}  // namespace qv::platform
