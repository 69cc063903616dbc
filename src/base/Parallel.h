#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace qv::base {

// Calls work(i) once for every i in [0, count), on a few threads when there
// is enough to share; returns when every call has returned. The calls come
// in no particular order, so `work` writes only its own slot of a result
// that the caller then reads in index order.
template <class Work>
void ForEachIndex(qsizetype count, Work&& work, qsizetype minimumToShare = 16) {
  const int threads = count < minimumToShare ? 1 : std::clamp(QThread::idealThreadCount(), 2, 8);
  std::atomic<qsizetype> next{0};
  const auto run = [&] {
    for (qsizetype i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;) work(i);
  };
  std::vector<std::jthread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(run);
  run();
}

}  // namespace qv::base
