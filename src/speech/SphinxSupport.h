#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv::speech {

// While one of these lives, the recogniser library's log goes to it instead
// of stderr: errors are collected (a logged error counts as a failure even
// when the call itself reported success), the rest is dropped. The library's
// log hook is process-wide, so captures are serialised.
class SphinxLogCapture {
 public:
  SphinxLogCapture();
  ~SphinxLogCapture();
  SphinxLogCapture(const SphinxLogCapture&) = delete;
  SphinxLogCapture& operator=(const SphinxLogCapture&) = delete;

  bool HasErrors() const { return !m_errors.isEmpty(); }
  const QStringList& Errors() const { return m_errors; }
  void Clear() { m_errors.clear(); }
  void Add(const QString& e) { m_errors << e; }

 private:
  QStringList m_errors;
};

bool SphinxAvailable();

}  // namespace qv::speech
