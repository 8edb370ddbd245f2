// Type, label and space of the logical drives, asked on a worker thread.
//
// A mapped drive whose server is gone, or a slow card reader, keeps
// GetVolumeInformationW and GetDiskFreeSpaceExW busy for seconds. Asked on the
// UI thread every second, that froze every window. Here each drive has at most
// one query in flight; a poll hands the drives that have none to one task,
// which asks them in turn, and waits a short bounded time for it (healthy
// drives answer in well under a millisecond, so their figures stay as fresh
// as before); what has not answered by then shows its last finished answer. A drive hung in one
// task is skipped by the next, which runs on another thread, so it never
// holds up the others for more than a poll. A query that has been running for
// kUnansweredMs makes the drive's figures unknown (-1) until it answers.
//
// Free space is asked every poll. The drive list, the drive types and the
// volume labels change only when drives come or go or are renamed; they are
// read again when the system says drives changed (DrivesChanged), when the
// drive list was empty, and otherwise every kListRefreshMs. Under Wine the
// list alone is some thirty server requests, and the type and label of a
// drive as many again.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// Runs each task at once on the calling thread.
class TQD_InlineWorker final : public TQD_WorkerPort {
 public:
  void Run(std::function<void()> ATask) override { ATask(); }
};

// The placeholder and then every logical drive in the system's order, every
// figure asked now on the calling thread; false when no drive was found.
bool QueryLogicalDrives(TQD_SystemInfoPort& APort, TQD_DRVMTR_LogicalDrives& ADrives);

class TQD_VolumeQueries {
 public:
  static constexpr int64_t kUnansweredMs = 5000;
  // How long a poll waits for the queries it has just started.
  static constexpr int kPollWaitMs = 50;
  // How long destruction waits for queries still in flight before leaving
  // them to finish on their own.
  static constexpr int kShutdownWaitMs = 1000;
  // How long the drive list, types and labels stand when nothing said they
  // changed: a renamed label, or a drive that came without the system
  // saying so, shows within half a minute. Read every 10 s, the list and
  // the identities made nearly a tenth of an idle Quendal's server requests.
  static constexpr int64_t kListRefreshMs = 30000;

  TQD_VolumeQueries(TQD_SystemInfoPort& APort, TQD_WorkerPort& AWorker);
  ~TQD_VolumeQueries();
  TQD_VolumeQueries(const TQD_VolumeQueries&) = delete;
  TQD_VolumeQueries& operator=(const TQD_VolumeQueries&) = delete;

  // The drive list as QueryLogicalDrives builds it, in the same order, with
  // each drive's type and label from the last reading of the list and its
  // space from the last finished query. ANowMs: the poll's monotonic time.
  // False when no drive was found.
  bool QueryLogicalDrives(int64_t ANowMs, TQD_DRVMTR_LogicalDrives& ADrives) {
    StartQueries(ANowMs);
    return TakeAnswers(ANowMs, ADrives);
  }
  // The same in two steps, so that the poll's other work overlaps the
  // queries: StartQueries reads the drive list when due and starts the
  // poll's task; TakeAnswers waits for it (up to kPollWaitMs) and builds
  // the list.
  void StartQueries(int64_t ANowMs);
  bool TakeAnswers(int64_t ANowMs, TQD_DRVMTR_LogicalDrives& ADrives);
  // The system said drives came or went: the next poll reads the list, types
  // and labels again.
  void DrivesChanged() { FListDue = true; }

  // Queries started and not yet answered.
  int InFlight() const;

 private:
  struct TState;
  struct TRequest {
    std::string Root;  // "X:\"
    std::string Path;  // as the system lists it
    bool HasNumber = false;
    bool Identity = false;  // type and label too
  };
  // Starts one task that asks every drive of ARequests in turn, skipping a
  // drive whose query is still in flight.
  void Start(std::vector<TRequest> ARequests, int64_t ANowMs);
  // Waits up to kPollWaitMs for the task Start has begun since the last call.
  void WaitForStarted();
  // Type, name and space from the last finished answers.
  void Take(const std::string& ARoot, int64_t ANowMs, TQD_DRVMTR_ALogicalDrive& ADrive) const;

  TQD_SystemInfoPort& FPort;
  TQD_WorkerPort& FWorker;
  // Shared with the workers: a hung one may finish after this object is gone.
  std::shared_ptr<TState> FState;
  // The system's drive list, when it was read, and whether it is due anyway.
  std::vector<std::string> FRoots;
  int64_t FListReadMs = 0;
  bool FListDue = true;
  bool FStarted = false;  // StartQueries has started a task TakeAnswers has not waited for
};
