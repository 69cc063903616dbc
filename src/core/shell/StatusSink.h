#pragma once

#include <QString>

namespace qv::shell {

// The splash screen as start-up sees it: one status line, repainted at once.
class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void ShowSplash() {}
  virtual void SetStatus(const QString& text) = 0;
  virtual void HideSplash() {}
};

class NullStatusSink final : public StatusSink {
 public:
  void SetStatus(const QString&) override {}
};

}  // namespace qv::shell
