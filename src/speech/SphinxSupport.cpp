#include "speech/SphinxSupport.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#ifdef QV_HAVE_POCKETSPHINX
#include <sphinxbase/err.h>
#endif

namespace qv::speech {

namespace {
std::recursive_mutex g_logMutex;
SphinxLogCapture* g_capture = nullptr;

#ifdef QV_HAVE_POCKETSPHINX
void OnLog(void*, err_lvl_t level, const char* fmt, ...) {
  if (level < ERR_ERROR || !g_capture || !fmt) return;
  char buf[1024];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  // The library logs an error's place ("ERROR: \"file.c\", line 9: ") and
  // its text as two calls; join them into one line.
  static QString pending;
  const QString text = QString::fromUtf8(buf).trimmed();
  if (text.endsWith(u':') && text.contains("line ")) {
    pending = text;
    return;
  }
  g_capture->Add(pending.isEmpty() ? text : pending + " " + text);
  pending.clear();
}
#endif
}  // namespace

SphinxLogCapture::SphinxLogCapture() {
  g_logMutex.lock();
  g_capture = this;
#ifdef QV_HAVE_POCKETSPHINX
  err_set_callback(OnLog, nullptr);
#endif
}

SphinxLogCapture::~SphinxLogCapture() {
  g_capture = nullptr;
  g_logMutex.unlock();
}

#ifdef QV_HAVE_POCKETSPHINX

bool SphinxAvailable() { return true; }

#else

bool SphinxAvailable() { return false; }

#endif

}  // namespace qv::speech
