#include "service/worker_pool.h"

#include <exception>
#include <stdexcept>

namespace ocr_service {

WorkerPool::WorkerPool(int workers, int queue_capacity, const EngineFactory &make_engine)
    : capacity_(queue_capacity) {
  std::mutex start_mutex;
  std::condition_variable started;
  int ready = 0, failed = 0;
  for (int i = 0; i < workers; ++i) {
    threads_.emplace_back([&, this] {
      std::unique_ptr<Engine> engine;
      try {
        engine = make_engine();
      } catch (const std::exception &) {
      }
      {
        // Notified under the lock: the constructor's locals must outlive it.
        std::lock_guard lock(start_mutex);
        ++(engine ? ready : failed);
        started.notify_one();
      }
      if (engine)
        work(*engine);
    });
  }
  std::unique_lock lock(start_mutex);
  started.wait(lock, [&] { return ready + failed == workers; });
  if (failed > 0) {
    lock.unlock();
    shut_down();
    throw std::runtime_error("the recognition engine could not be loaded");
  }
}

WorkerPool::~WorkerPool() {
  shut_down();
}

void WorkerPool::shut_down() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread &thread : threads_) {
    if (thread.joinable())
      thread.join();
  }
  for (Task &task : waiting_)
    task.done.set_value({ErrorCode::internal, {}});
  waiting_.clear();
}

std::optional<RecognitionOutcome> WorkerPool::run(RecognitionJob job) {
  std::future<RecognitionOutcome> outcome;
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || static_cast<int>(waiting_.size()) >= idle_ + capacity_)
      return std::nullopt;
    waiting_.push_back(Task{std::move(job), {}});
    outcome = waiting_.back().done.get_future();
  }
  wake_.notify_one();
  return outcome.get();
}

std::size_t WorkerPool::waiting() {
  std::lock_guard lock(mutex_);
  return waiting_.size();
}

void WorkerPool::work(Engine &engine) {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    --idle_;
    if (stopping_)
      return;
    Task task = std::move(waiting_.front());
    waiting_.pop_front();
    lock.unlock();
    RecognitionOutcome outcome;
    try {
      outcome = engine.recognize(task.job);
    } catch (const std::exception &) {
      outcome = {ErrorCode::internal, {}};
    }
    task.done.set_value(std::move(outcome));
    lock.lock();
  }
}

} // namespace ocr_service
