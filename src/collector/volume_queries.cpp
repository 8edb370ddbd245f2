// Logical-drive volume queries on worker threads; see volume_queries.h.
#include "collector/volume_queries.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Shared with the threads, which may outlive the worker (a hung task).
struct TQD_ThreadWorker::TPool {
  std::mutex Lock;
  std::condition_variable Wake;
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
  std::lock_guard<std::mutex> lock(FPool->Lock);
  FPool->Closing = true;
  FPool->Wake.notify_all();
}

void TQD_ThreadWorker::Run(std::function<void()> ATask) {
  {
    std::lock_guard<std::mutex> lock(FPool->Lock);
    // More waiting threads than tasks already handed to them: one is free.
    if (FPool->Waiting > static_cast<int>(FPool->Tasks.size())) {
      FPool->Tasks.push_back(std::move(ATask));
      FPool->Wake.notify_one();
      return;
    }
    ++FPool->Started;
  }
  std::thread(Serve, FPool, std::move(ATask)).detach();
}

int TQD_ThreadWorker::ThreadsStarted() const {
  std::lock_guard<std::mutex> lock(FPool->Lock);
  return FPool->Started;
}

int TQD_ThreadWorker::ThreadsWaiting() const {
  std::lock_guard<std::mutex> lock(FPool->Lock);
  return FPool->Waiting;
}

namespace {

void Serve(const std::shared_ptr<TQD_ThreadWorker::TPool>& APool, std::function<void()> ATask) {
  for (;;) {
    ATask();
    ATask = nullptr;  // what the task holds goes before the wait
    std::unique_lock<std::mutex> lock(APool->Lock);
    ++APool->Waiting;
    APool->Wake.wait_for(lock, std::chrono::milliseconds(TQD_ThreadWorker::kIdleKeepMs),
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
  bool LabelOK = false;
  std::string Label;
  bool SpaceOK = false;
  int64_t Total = -1;
  int64_t Free = -1;
};

struct TDrive {
  bool InFlight = false;
  int64_t StartedMs = 0;  // poll time at which the query in flight started
  uint64_t Batch = 0;     // the poll that started it
  bool Answered = false;  // some query has finished
  TAnswer Last;
};

}  // namespace

struct TQD_VolumeQueries::TState {
  std::mutex Lock;
  std::condition_variable Changed;
  std::map<std::string, TDrive> Drives;
  uint64_t Batch = 1;
  int BatchInFlight = 0;  // queries of the current batch not yet answered
  int InFlight = 0;
  // Set when the queries' owner has gone: its port may go right after, so
  // a query still running makes no further call into it.
  bool PortGone = false;
};

TQD_VolumeQueries::TQD_VolumeQueries(TQD_SystemInfoPort& APort, TQD_WorkerPort& AWorker)
    : FPort(APort), FWorker(AWorker), FState(std::make_shared<TState>()) {}

TQD_VolumeQueries::~TQD_VolumeQueries() {
  std::unique_lock<std::mutex> lock(FState->Lock);
  FState->Changed.wait_for(lock, std::chrono::milliseconds(kShutdownWaitMs),
                           [this] { return FState->InFlight == 0; });
  FState->PortGone = true;
}

int TQD_VolumeQueries::InFlight() const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  return FState->InFlight;
}

void TQD_VolumeQueries::Start(const std::string& ARoot, bool AHasNumber, int64_t ANowMs) {
  uint64_t batch = 0;
  {
    std::lock_guard<std::mutex> lock(FState->Lock);
    TDrive& d = FState->Drives[ARoot];
    if (d.InFlight) return;
    d.InFlight = true;
    d.StartedMs = ANowMs;
    d.Batch = batch = FState->Batch;
    ++FState->BatchInFlight;
    ++FState->InFlight;
  }
  // The task holds the state and the port, never this object; it calls the
  // port only while the owner is there (a call already hung when it left
  // is the one that cannot be helped).
  std::shared_ptr<TState> state = FState;
  TQD_SystemInfoPort* port = &FPort;
  FWorker.Run([state, port, ARoot, AHasNumber, batch] {
    const auto portThere = [&state] {
      std::lock_guard<std::mutex> lock(state->Lock);
      return !state->PortGone;
    };
    TAnswer a;
    if (portThere()) a.LabelOK = port->GetVolumeLabel(ARoot, a.Label);
    if (AHasNumber && portThere()) a.SpaceOK = port->GetDiskSpace(ARoot, a.Total, a.Free);
    std::lock_guard<std::mutex> lock(state->Lock);
    TDrive& d = state->Drives[ARoot];
    d.InFlight = false;
    d.Answered = true;
    d.Last = std::move(a);
    if (batch == state->Batch) --state->BatchInFlight;
    --state->InFlight;
    state->Changed.notify_all();
  });
}

void TQD_VolumeQueries::WaitForStarted() {
  std::unique_lock<std::mutex> lock(FState->Lock);
  if (FState->BatchInFlight > 0)
    FState->Changed.wait_for(lock, std::chrono::milliseconds(kPollWaitMs),
                             [this] { return FState->BatchInFlight == 0; });
  // What is still running is waited for no more.
  ++FState->Batch;
  FState->BatchInFlight = 0;
}

void TQD_VolumeQueries::Take(const std::string& ARoot, int64_t ANowMs, TQD_DRVMTR_ALogicalDrive& ADrive) const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  const auto it = FState->Drives.find(ARoot);
  if (it == FState->Drives.end()) return;
  const TDrive& d = it->second;
  const bool overdue = d.InFlight && ANowMs - d.StartedMs >= kUnansweredMs;
  ADrive.Name = d.Answered && d.Last.LabelOK ? d.Last.Label : std::string();
  if (d.Answered && d.Last.SpaceOK && !overdue) {
    ADrive.TotalSpace = d.Last.Total;
    ADrive.FreeSpace = d.Last.Free;
  } else {
    ADrive.TotalSpace = ADrive.FreeSpace = -1;
  }
}

bool TQD_VolumeQueries::QueryLogicalDrives(int64_t ANowMs, TQD_DRVMTR_LogicalDrives& ADrives) {
  // Roots, types and order come from the system's (fast) drive list, as in the
  // direct query; only label and space come from the workers.
  ::QueryLogicalDrives(FPort, ADrives, [&](const std::string& ARoot, bool AHasNumber) {
    Start(ARoot, AHasNumber, ANowMs);
  });
  WaitForStarted();
  for (size_t i = 1; i < ADrives.size(); ++i) {
    TQD_DRVMTR_ALogicalDrive& d = ADrives[i];
    Take(std::string(1, d.Letter[0]) + ":\\", ANowMs, d);
    d.UsedSpace = d.TotalSpace - d.FreeSpace;
  }
  return ADrives.size() > 1;
}
