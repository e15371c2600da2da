#include "view/paint_workers.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace drex {

PaintWorkers::PaintWorkers(int helpers) {
  for (int i = 0; i < helpers; ++i)
    threads_.emplace_back([this, i] { Serve(i + 1); });
}

PaintWorkers::~PaintWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& t : threads_)
    t.join();
}

void PaintWorkers::Start(int count, const std::function<void(int)>& task) {
  count = std::clamp(count, 1, Helpers() + 1);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    task_ = &task;
    count_ = count;
    pending_ = count - 1;
    ++round_;
  }
  if (count > 1) start_.notify_all();
}

void PaintWorkers::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
  task_ = nullptr;
  std::exception_ptr failure = nullptr;
  std::swap(failure, helperFailure_);
  if (failure) std::rethrow_exception(failure);
}

void PaintWorkers::Run(int count, const std::function<void(int)>& task) {
  Start(count, task);
  // The helpers are waited for however task 0 ends: they use what the caller owns.
  std::exception_ptr failure;
  try {
    task(0);
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    Wait();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure) std::rethrow_exception(failure);
}

void PaintWorkers::Serve(int index) {
  unsigned seen = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    start_.wait(lock, [&] { return stopping_ || round_ != seen; });
    if (stopping_) return;
    seen = round_;
    if (index >= count_) continue;
    const std::function<void(int)>* task = task_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      (*task)(index);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !helperFailure_) helperFailure_ = failure;
    if (--pending_ == 0) done_.notify_one();
  }
}

int PaintHelpersWanted(int limit) {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(cores) - 1, 0, std::max(0, limit));
}

} // namespace drex
