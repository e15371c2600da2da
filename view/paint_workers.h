#pragma once
// Threads that paint the bands of a picture beside the thread that asks for it.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace drex {

class PaintWorkers {
public:
  /// Starts `helpers` threads, which wait for work.
  explicit PaintWorkers(int helpers);
  /// Stops and joins the threads.
  ~PaintWorkers();
  PaintWorkers(const PaintWorkers&) = delete;
  PaintWorkers& operator=(const PaintWorkers&) = delete;

  int Helpers() const { return static_cast<int>(threads_.size()); }
  /// Runs task(0) .. task(count - 1), count at most Helpers() + 1: task 0 on the calling thread, the
  /// others on the helpers. Returns when all of them are done; a task's exception is thrown on.
  void Run(int count, const std::function<void(int)>& task);
  /// Starts task(1) .. task(count - 1) on the helpers and returns; `task` must last until Wait.
  void Start(int count, const std::function<void(int)>& task);
  /// Waits until the tasks Start gave out are done; a task's exception is thrown on.
  void Wait();

private:
  void Serve(int index);

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable done_;
  const std::function<void(int)>* task_ = nullptr;
  unsigned round_ = 0; ///< grows with each Run, so that a helper takes each round once
  int pending_ = 0;    ///< tasks of the round not yet done
  int count_ = 0;      ///< tasks of the round
  bool stopping_ = false;
  std::exception_ptr helperFailure_; ///< the first failure of a helper's task this round
};

/// Helpers worth starting on this machine: one less than its processor cores, at most `limit`.
int PaintHelpersWanted(int limit);

} // namespace drex
