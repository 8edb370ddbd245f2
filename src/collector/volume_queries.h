// Volume label and space of the logical drives, asked on worker threads.
//
// A mapped drive whose server is gone, or a slow card reader, keeps
// GetVolumeInformationW and GetDiskFreeSpaceExW busy for seconds. Asked on the
// UI thread every second, that froze every window. Here each drive has at most
// one query in flight; a poll starts a query for every drive that has none,
// waits a short bounded time for the ones it started (a healthy drive answers
// in well under a millisecond, so its figures stay as fresh as before) and
// otherwise takes the last finished answer. A query that has been running for
// kUnansweredMs makes the drive's figures unknown (-1) until it answers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "collector/ports.h"
#include "collector/system_info.h"

// Each task starts at once on a thread of its own: a hung system call must
// not hold up anything queued behind it, and there are at most 26 drives. A
// thread that has finished its task waits kIdleKeepMs for the next one before
// it ends, since the drive queries come every poll and starting a thread is
// not cheap (under Wine: several server requests and a thread-attach call
// into every loaded DLL). A task goes to a waiting thread when there is one,
// to a new thread otherwise, so it never waits behind a busy one.
class TQD_ThreadWorker final : public TQD_WorkerPort {
 public:
  static constexpr int kIdleKeepMs = 30000;

  TQD_ThreadWorker();
  // Waiting threads end now; busy ones end after their task.
  ~TQD_ThreadWorker() override;
  TQD_ThreadWorker(const TQD_ThreadWorker&) = delete;
  TQD_ThreadWorker& operator=(const TQD_ThreadWorker&) = delete;

  void Run(std::function<void()> ATask) override;
  // Threads started so far, and those waiting for a task now.
  int ThreadsStarted() const;
  int ThreadsWaiting() const;

  struct TPool;  // the threads' side, in volume_queries.cpp

 private:
  std::shared_ptr<TPool> FPool;
};

class TQD_VolumeQueries {
 public:
  static constexpr int64_t kUnansweredMs = 5000;
  // How long a poll waits, in all, for the queries it has just started.
  static constexpr int kPollWaitMs = 50;
  // How long destruction waits for queries still in flight before leaving
  // them to finish on their own.
  static constexpr int kShutdownWaitMs = 1000;

  TQD_VolumeQueries(TQD_SystemInfoPort& APort, TQD_WorkerPort& AWorker);
  ~TQD_VolumeQueries();
  TQD_VolumeQueries(const TQD_VolumeQueries&) = delete;
  TQD_VolumeQueries& operator=(const TQD_VolumeQueries&) = delete;

  // The drive list as QueryLogicalDrives builds it, in the same order, with
  // each drive's label and space from the last finished query. ANowMs: the
  // poll's monotonic time. False when no drive was found.
  bool QueryLogicalDrives(int64_t ANowMs, TQD_DRVMTR_LogicalDrives& ADrives);

  // Queries started and not yet answered.
  int InFlight() const;

 private:
  struct TState;
  // Starts a query of ARoot ("X:\") unless one is in flight. AHasNumber: the
  // letter names a drive whose space can be asked.
  void Start(const std::string& ARoot, bool AHasNumber, int64_t ANowMs);
  // Waits up to kPollWaitMs for the queries Start has begun since the last call.
  void WaitForStarted();
  // Name, TotalSpace and FreeSpace from the last finished answer.
  void Take(const std::string& ARoot, int64_t ANowMs, TQD_DRVMTR_ALogicalDrive& ADrive) const;

  TQD_SystemInfoPort& FPort;
  TQD_WorkerPort& FWorker;
  // Shared with the workers: a hung one may finish after this object is gone.
  std::shared_ptr<TState> FState;
};
