#include "base/NativeFile.h"

#include <windows.h>

#include <QDir>
#include <algorithm>
#include <string>

namespace qv::base::native {
namespace {

constexpr qint64 kChunk = 1 << 20;  // one write call at most

std::wstring Wide(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

QString Reason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString reason = n && text ? QString::fromWCharArray(text, static_cast<int>(n)).trimmed()
                             : QStringLiteral("system error %1").arg(code);
  if (text) LocalFree(text);
  return reason;
}

DWORD Injected(int step) {
  switch (InjectedFault(step)) {
    case 1: return ERROR_DISK_FULL;
    case 2: return ERROR_IO_DEVICE;
    default: return 0;
  }
}

DWORD WriteAllAt(HANDLE h, const char* data, qint64 size, qint64 offset) {
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) return GetLastError();
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min(size, kChunk));
    DWORD written = 0;
    if (const DWORD fault = Injected(1)) {
      // A device that fails midway has usually taken part of the bytes.
      if (chunk > 1) WriteFile(h, data, chunk / 2, &written, nullptr);
      return fault;
    }
    if (!WriteFile(h, data, chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_DISK_FULL;
    data += written;
    size -= written;
  }
  return 0;
}

DWORD SyncHandle(HANDLE h) {
  if (const DWORD fault = Injected(2)) return fault;
  return FlushFileBuffers(h) ? 0 : GetLastError();
}

DWORD CloseWithCheck(HANDLE h) {
  const DWORD fault = Injected(3);
  if (!CloseHandle(h)) return GetLastError();
  return fault;
}

}  // namespace

QString CreateWriteSync(const QString& path, const QByteArray& bytes, const QString& permissionsOf, bool* refused) {
  if (refused) *refused = false;
  if (const DWORD fault = Injected(0)) return Reason(fault);
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (!permissionsOf.isEmpty()) {
    const DWORD like = GetFileAttributesW(Wide(permissionsOf).c_str());
    if (like != INVALID_FILE_ATTRIBUTES)
      attributes = like & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  }
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (refused) *refused = code == ERROR_ACCESS_DENIED;
    return Reason(code);
  }
  DWORD code = WriteAllAt(h, bytes.constData(), bytes.size(), 0);
  if (code == 0) code = SyncHandle(h);
  const DWORD closed = CloseWithCheck(h);
  if (code == 0) code = closed;
  if (code != 0) {
    DeleteFileW(Wide(path).c_str());
    return Reason(code);
  }
  return {};
}

QString RenameOver(const QString& from, const QString& to) {
  if (const DWORD fault = Injected(4)) return Reason(fault);
  if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Reason(GetLastError());
  return {};
}

QString Remove(const QString& path) {
  if (DeleteFileW(Wide(path).c_str())) return {};
  const DWORD code = GetLastError();
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? QString() : Reason(code);
}

QString ReadRegular(const QString& path, QByteArray& bytes, qint64 limit, bool* tooLarge) {
  *tooLarge = false;
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Reason(GetLastError());
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return QStringLiteral("it is not a regular file");
  }
  if (size.QuadPart > limit) {
    CloseHandle(h);
    *tooLarge = true;
    return {};
  }
  QByteArray out(static_cast<qsizetype>(size.QuadPart), Qt::Uninitialized);
  qint64 done = 0;
  for (;;) {
    if (done == out.size()) {
      if (out.size() > limit) break;
      out.resize(std::min<qint64>(limit + 1, out.size() + 65536));
    }
    DWORD n = 0;
    if (!ReadFile(h, out.data() + done, static_cast<DWORD>(std::min<qint64>(out.size() - done, kChunk)), &n, nullptr)) {
      const DWORD code = GetLastError();
      CloseHandle(h);
      return Reason(code);
    }
    if (n == 0) break;
    done += n;
  }
  CloseHandle(h);
  if (done > limit) {
    *tooLarge = true;
    return {};
  }
  out.truncate(done);
  bytes = std::move(out);
  return {};
}

}  // namespace qv::base::native
