#include "speech/SphinxSupport.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#ifdef QV_HAVE_POCKETSPHINX
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>
#include <sphinxbase/jsgf.h>
#include <sphinxbase/logmath.h>
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

namespace {
constexpr qsizetype kLargestGraphCheck = 64 * 1024;
}

QString ValidateJsgf(const QByteArray& jsgf) {
  SphinxLogCapture log;
  jsgf_t* g = jsgf_parse_string(jsgf.constData(), nullptr);
  if (!g) return log.HasErrors() ? log.Errors().first() : QString("the grammar does not parse");
  QString error;
  jsgf_rule_t* rule = jsgf_get_public_rule(g);
  if (!rule) {
    error = "no public rule";
  } else if (jsgf.size() > kLargestGraphCheck) {
    // Parsing proves the large navaid grammars; building their search graph
    // here would take minutes and repeats what our own checks have done.
  } else {
    logmath_t* lmath = logmath_init(1.0001, 0, 0);
    // The raw graph is enough to prove the grammar loads; closing its empty
    // transitions is the recogniser's work.
    fsg_model_t* fsg = jsgf_build_fsg_raw(g, rule, lmath, 7.5);
    if (!fsg)
      error = "the search graph cannot be built";
    else
      fsg_model_free(fsg);
    logmath_free(lmath);
  }
  jsgf_grammar_free(g);
  if (error.isEmpty() && log.HasErrors()) error = log.Errors().first();
  return error;
}

#else

bool SphinxAvailable() { return false; }
QString ValidateJsgf(const QByteArray&) { return {}; }

#endif

}  // namespace qv::speech
