// Recognition workers: a fixed number of threads, each with its own engine
// made once when the pool starts, fed from a bounded queue.
#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "service/recognition_job.h"

namespace ocr_service {

class WorkerPool final : public JobRunner {
public:
  // Makes every engine before returning; throws std::runtime_error when one
  // cannot be made. queue_capacity is how many jobs may wait beyond those the
  // idle workers take at once.
  WorkerPool(int workers, int queue_capacity, const EngineFactory &make_engine);
  ~WorkerPool() override;
  WorkerPool(const WorkerPool &) = delete;
  WorkerPool &operator=(const WorkerPool &) = delete;

  std::optional<RecognitionOutcome> run(RecognitionJob job) override;
  // Jobs queued and not yet taken by a worker.
  std::size_t waiting();

private:
  struct Task {
    RecognitionJob job;
    std::promise<RecognitionOutcome> done;
  };

  void work(Engine &engine);
  void shut_down();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> waiting_;
  int idle_ = 0;
  int capacity_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

} // namespace ocr_service
