#include "platform/linux/LinuxAdapters.h"

// Qt first: the X11 headers define macros (None, Bool, Status) that clash
// with names in Qt's headers.
#include <QElapsedTimer>
#include <QThread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qv::platform {
namespace {

// Windows of other programs can vanish between listing them and reading their
// properties; the resulting BadWindow errors are expected, so while we walk
// they are swallowed instead of ending the process (Xlib's default handler).
// The handler is process-wide, hence installed only around our own requests
// and the previous one put back afterwards.
int g_lastError = 0;
int SwallowError(Display*, XErrorEvent* event) {
  g_lastError = event->error_code;
  return 0;
}

class ErrorGuard {
 public:
  explicit ErrorGuard(Display* d) : m_display(d) {
    g_lastError = 0;
    m_previous = XSetErrorHandler(&SwallowError);
  }
  ~ErrorGuard() {
    XSync(m_display, False);  // deliver pending errors to our handler first
    XSetErrorHandler(m_previous);
  }
  ErrorGuard(const ErrorGuard&) = delete;
  ErrorGuard& operator=(const ErrorGuard&) = delete;

 private:
  Display* m_display;
  XErrorHandler m_previous;
};

constexpr int kMaxDepth = 3;        // root child, window-manager frame, client
constexpr int kCloseWaitMs = 5000;  // a runtime that ignores the request is left alone after this
constexpr int kClosePollMs = 20;

class X11WindowProbe final : public WindowProbe {
 public:
  ~X11WindowProbe() override {
    if (m_display) XCloseDisplay(m_display);
  }

  bool HasWindowOfClass(const QString& windowClass) override {
    return Find([&](Window w) { return ClassMatches(w, windowClass); }) != None;
  }

  bool HasWindowTitled(const QString& title) override {
    return Find([&](Window w) { return Title(w) == title; }) != None;
  }

  bool CloseWindowTitled(const QString& title) override {
    const Window target = Find([&](Window w) { return Title(w) == title; });
    if (target == None) return false;
    {
      ErrorGuard guard(m_display);
      if (SupportsDelete(target)) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = Intern("WM_PROTOCOLS");
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(Intern("WM_DELETE_WINDOW"));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, target, False, NoEventMask, &event);
      } else {
        // A client without the polite protocol gets what window managers do
        // to it: its connection is closed.
        XKillClient(m_display, target);
      }
      XFlush(m_display);
    }
    // The request is handled once the window is gone or withdrawn.
    QElapsedTimer waited;
    waited.start();
    while (Present(target)) {
      if (waited.elapsed() >= kCloseWaitMs) return true;
      QThread::msleep(kClosePollMs);
    }
    return true;
  }

 private:
  bool Connect() {
    if (!m_display) m_display = XOpenDisplay(nullptr);
    return m_display != nullptr;
  }

  Atom Intern(const char* name) { return XInternAtom(m_display, name, False); }

  template <typename Match>
  Window Find(const Match& match) {
    if (!Connect()) return None;
    ErrorGuard guard(m_display);
    // With a window manager its list of managed windows is the authority: it
    // includes minimised windows, which are unmapped.
    for (Window w : ClientList())
      if (match(w)) return w;
    return Walk(DefaultRootWindow(m_display), 0, match);
  }

  template <typename Match>
  Window Walk(Window parent, int depth, const Match& match) {
    if (depth >= kMaxDepth) return None;
    Window root = None, parentOut = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, parent, &root, &parentOut, &children, &count)) return None;
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    for (Window w : list) {
      if (!Viewable(w)) continue;  // hidden helper windows do not count
      if (match(w)) return w;
      if (Window inner = Walk(w, depth + 1, match); inner != None) return inner;
    }
    return None;
  }

  std::vector<Window> ClientList() {
    std::vector<Window> result;
    const Atom list = XInternAtom(m_display, "_NET_CLIENT_LIST", True);
    if (list == None) return result;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, DefaultRootWindow(m_display), list, 0, 1L << 16, False, XA_WINDOW, &type, &format,
                           &items, &after, &data) == Success &&
        type == XA_WINDOW && format == 32 && data) {
      const auto* windows = reinterpret_cast<const Window*>(data);  // format 32 arrives as longs
      result.assign(windows, windows + items);
    }
    if (data) XFree(data);
    return result;
  }

  bool Viewable(Window w) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_display, w, &attributes) && attributes.map_state == IsViewable;
  }

  bool Present(Window w) {
    ErrorGuard guard(m_display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, w, &attributes)) return false;
    if (attributes.map_state == IsViewable) return true;
    for (Window c : ClientList())
      if (c == w) return true;
    return false;
  }

  bool ClassMatches(Window w, const QString& wanted) {
    XClassHint hint = {nullptr, nullptr};
    if (!XGetClassHint(m_display, w, &hint)) return false;
    const bool match =
        (hint.res_name && wanted.compare(QString::fromLatin1(hint.res_name), Qt::CaseInsensitive) == 0) ||
        (hint.res_class && wanted.compare(QString::fromLatin1(hint.res_class), Qt::CaseInsensitive) == 0);
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
  }

  // The UTF-8 title of current toolkits first, the legacy Latin-1 one after.
  QString Title(Window w) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(m_display, w, Intern("_NET_WM_NAME"), 0, 1024, False, Intern("UTF8_STRING"), &type, &format,
                           &items, &after, &data) == Success &&
        data && format == 8) {
      title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(items));
    }
    if (data) XFree(data);
    if (!title.isNull()) return title;
    char* name = nullptr;
    if (XFetchName(m_display, w, &name) && name) {
      title = QString::fromLatin1(name);
      XFree(name);
    }
    return title;
  }

  bool SupportsDelete(Window w) {
    Atom* protocols = nullptr;
    int count = 0;
    bool supported = false;
    if (XGetWMProtocols(m_display, w, &protocols, &count)) {
      const Atom wanted = Intern("WM_DELETE_WINDOW");
      for (int i = 0; i < count; ++i) supported = supported || protocols[i] == wanted;
      XFree(protocols);
    }
    return supported;
  }

  Display* m_display = nullptr;
};

}  // namespace

std::unique_ptr<WindowProbe> CreateX11WindowProbe() { return std::make_unique<X11WindowProbe>(); }

}  // namespace qv::platform
