// Logical-drive volume queries on worker threads; see volume_queries.h.
#include "collector/volume_queries.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <thread>

#include "base/sync.h"
#include "base/thread_stack.h"

// Shared with the threads, which may outlive the worker (a hung task).
struct TQD_ThreadWorker::TPool {
  TQD_Mutex Lock;
  TQD_Condition Wake;
  std::deque<std::function<void()>> Tasks;  // handed to waiting threads, one each
  int Waiting = 0;
  int Started = 0;
  bool Closing = false;
};

namespace {

void Serve(const std::shared_ptr<TQD_ThreadWorker::TPool>& APool, std::function<void()> ATask);

}  // namespace

TQD_ThreadWorker::TQD_ThreadWorker() : FPool(std::make_shared<TPool>()) {}

TQD_ThreadWorker::~TQD_ThreadWorker() {
  std::lock_guard<TQD_Mutex> lock(FPool->Lock);
  FPool->Closing = true;
  FPool->Wake.NotifyAll();
}

void TQD_ThreadWorker::Run(std::function<void()> ATask) {
  {
    std::lock_guard<TQD_Mutex> lock(FPool->Lock);
    // More waiting threads than tasks already handed to them: one is free.
    if (FPool->Waiting > static_cast<int>(FPool->Tasks.size())) {
      FPool->Tasks.push_back(std::move(ATask));
      FPool->Wake.NotifyOne();
      return;
    }
    ++FPool->Started;
  }
  std::thread(Serve, FPool, std::move(ATask)).detach();
}

int TQD_ThreadWorker::ThreadsStarted() const {
  std::lock_guard<TQD_Mutex> lock(FPool->Lock);
  return FPool->Started;
}

int TQD_ThreadWorker::ThreadsWaiting() const {
  std::lock_guard<TQD_Mutex> lock(FPool->Lock);
  return FPool->Waiting;
}

namespace {

void Serve(const std::shared_ptr<TQD_ThreadWorker::TPool>& APool, std::function<void()> ATask) {
  ReleaseUnusedStack();  // a new thread's, which from here on mostly waits
  for (;;) {
    ATask();
    ATask = nullptr;  // what the task holds goes before the wait
    std::unique_lock<TQD_Mutex> lock(APool->Lock);
    ++APool->Waiting;
    APool->Wake.WaitFor(lock, TQD_ThreadWorker::kIdleKeepMs,
                         [&] { return APool->Closing || !APool->Tasks.empty(); });
    --APool->Waiting;
    // A task handed over is run even while closing: Run counted on this thread.
    if (APool->Tasks.empty()) return;
    ATask = std::move(APool->Tasks.front());
    APool->Tasks.pop_front();
  }
}

}  // namespace

namespace {

struct TAnswer {
  bool Identity = false;  // type and label were asked
  bool Fixed = false;
  bool LabelOK = false;
  std::string Label;
  bool SpaceOK = false;
  int64_t Total = -1;
  int64_t Free = -1;
};

struct TDrive {
  bool InFlight = false;
  int64_t StartedMs = 0;  // poll time at which the query in flight started
  bool Answered = false;  // some query has finished
  bool Identified = false;  // some query with type and label has finished
  TAnswer Last;  // type and label from the last query that asked them
};

}  // namespace

struct TQD_VolumeQueries::TState {
  TQD_Mutex Lock;
  TQD_Condition Changed;
  std::map<std::string, TDrive> Drives;
  uint64_t Started = 0;  // tasks started
  uint64_t Finished = 0;  // the newest task that has finished
  int InFlight = 0;
  // Set when the queries' owner has gone: its port may go right after, so
  // a query still running makes no further call into it.
  bool PortGone = false;
};

TQD_VolumeQueries::TQD_VolumeQueries(TQD_SystemInfoPort& APort, TQD_WorkerPort& AWorker)
    : FPort(APort), FWorker(AWorker), FState(std::make_shared<TState>()) {}

TQD_VolumeQueries::~TQD_VolumeQueries() {
  std::unique_lock<TQD_Mutex> lock(FState->Lock);
  FState->Changed.WaitFor(lock, kShutdownWaitMs,
                           [this] { return FState->InFlight == 0; });
  FState->PortGone = true;
}

int TQD_VolumeQueries::InFlight() const {
  std::lock_guard<TQD_Mutex> lock(FState->Lock);
  return FState->InFlight;
}

void TQD_VolumeQueries::Start(std::vector<TRequest> ARequests, int64_t ANowMs) {
  uint64_t task = 0;
  {
    std::lock_guard<TQD_Mutex> lock(FState->Lock);
    task = ++FState->Started;
  }
  // The task holds the state and the port, never this object; it calls the
  // port only while the owner is there (a call already hung when it left
  // is the one that cannot be helped).
  std::shared_ptr<TState> state = FState;
  TQD_SystemInfoPort* port = &FPort;
  FWorker.Run([state, port, requests = std::move(ARequests), task, ANowMs] {
    for (const TRequest& r : requests) {
      {
        std::lock_guard<TQD_Mutex> lock(state->Lock);
        TDrive& d = state->Drives[r.Root];
        // Hung in an earlier task, or the owner has gone.
        if (d.InFlight || state->PortGone) continue;
        d.InFlight = true;
        d.StartedMs = ANowMs;
        ++state->InFlight;
      }
      const auto portThere = [&state] {
        std::lock_guard<TQD_Mutex> lock(state->Lock);
        return !state->PortGone;
      };
      TAnswer a;
      a.Identity = r.Identity;
      if (r.Identity) {
        a.Fixed = port->GetDriveTypeCode(r.Path) == kDriveTypeFixed;
        if (portThere()) a.LabelOK = port->GetVolumeLabel(r.Root, a.Label);
      }
      if (r.HasNumber && portThere()) a.SpaceOK = port->GetDiskSpace(r.Root, a.Total, a.Free);
      std::lock_guard<TQD_Mutex> lock(state->Lock);
      TDrive& d = state->Drives[r.Root];
      d.InFlight = false;
      d.Answered = true;
      if (a.Identity) {
        d.Identified = true;
        d.Last = std::move(a);
      } else {
        d.Last.SpaceOK = a.SpaceOK;
        d.Last.Total = a.Total;
        d.Last.Free = a.Free;
      }
      --state->InFlight;
      state->Changed.NotifyAll();
    }
    std::lock_guard<TQD_Mutex> lock(state->Lock);
    state->Finished = std::max(state->Finished, task);
    state->Changed.NotifyAll();
  });
}

void TQD_VolumeQueries::WaitForStarted() {
  std::unique_lock<TQD_Mutex> lock(FState->Lock);
  // What is still running then is waited for no more.
  const uint64_t task = FState->Started;
  FState->Changed.WaitFor(lock, kPollWaitMs,
                           [this, task] { return FState->Finished >= task; });
}

void TQD_VolumeQueries::Take(const std::string& ARoot, int64_t ANowMs, TQD_DRVMTR_ALogicalDrive& ADrive) const {
  std::lock_guard<TQD_Mutex> lock(FState->Lock);
  const auto it = FState->Drives.find(ARoot);
  if (it == FState->Drives.end()) return;
  const TDrive& d = it->second;
  const bool overdue = d.InFlight && ANowMs - d.StartedMs >= kUnansweredMs;
  ADrive.Fixed = d.Identified && d.Last.Fixed;
  ADrive.Name = d.Identified && d.Last.LabelOK ? d.Last.Label : std::string();
  if (d.Answered && d.Last.SpaceOK && !overdue) {
    ADrive.TotalSpace = d.Last.Total;
    ADrive.FreeSpace = d.Last.Free;
  } else {
    ADrive.TotalSpace = ADrive.FreeSpace = -1;
  }
}

void TQD_VolumeQueries::StartQueries(int64_t ANowMs) {
  const bool identity = FListDue || FRoots.empty() || ANowMs - FListReadMs >= kListRefreshMs;
  if (identity) {
    FRoots = FPort.GetLogicalDriveRoots();
    FListReadMs = ANowMs;
    FListDue = false;
  }
  std::vector<TRequest> requests;
  for (const std::string& path : FRoots)
    if (!path.empty()) requests.push_back({VolumeRoot(path), path, HasDriveNumber(path), identity});
  FStarted = !requests.empty();
  if (!FStarted) return;
  {
    // A drive never identified (its first query hung) is asked in full.
    std::lock_guard<TQD_Mutex> lock(FState->Lock);
    for (TRequest& r : requests) r.Identity = r.Identity || !FState->Drives[r.Root].Identified;
  }
  Start(std::move(requests), ANowMs);
}

bool TQD_VolumeQueries::TakeAnswers(int64_t ANowMs, TQD_DRVMTR_LogicalDrives& ADrives) {
  if (FStarted) WaitForStarted();
  FStarted = false;
  ADrives.assign(1, TQD_DRVMTR_ALogicalDrive{});
  for (size_t i = 0; i < FRoots.size(); ++i) {
    const std::string& path = FRoots[i];
    if (path.empty()) continue;  // the system never lists one; nothing to query
    TQD_DRVMTR_ALogicalDrive d;
    d.Index = static_cast<uint32_t>(i);
    d.Letter = path;
    Take(VolumeRoot(path), ANowMs, d);
    d.UsedSpace = d.TotalSpace - d.FreeSpace;
    ADrives.push_back(std::move(d));
  }
  return ADrives.size() > 1;
}

bool QueryLogicalDrives(TQD_SystemInfoPort& APort, TQD_DRVMTR_LogicalDrives& ADrives) {
  TQD_InlineWorker here;
  return TQD_VolumeQueries(APort, here).QueryLogicalDrives(0, ADrives);
}
