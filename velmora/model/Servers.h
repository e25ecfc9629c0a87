// What happens inside one run of the network, read from the tables the run
// filled: each task's record, each server's load, waits and queue, and each
// server's queue over time. Nothing here draws or runs the model again.
#pragma once

#include "EngineSteps.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The five servers, in the order they are numbered (1 to 5).
enum class Server { Entry1, Entry2, Entry3, Shared, Final };
inline constexpr int ServerCount = 5;

// 1 to 5.
inline int ServerNumber(Server server)
{
    return static_cast<int>(server) + 1;
}

// "Входной сервер потока 1" ... "Входной сервер потока 3", "Общий сервер",
// "Последний сервер" (UTF-8).
std::string_view ServerName(Server server);

// Whether `server` serves tasks of `flow` (1 to 3).
bool Serves(Server server, int flow);

// One task at one server.
struct Visit {
    Tick arrival;
    Tick wait;
    Tick service;
};

// A task's way through the network. Its response is the final server's
// arrival + wait + service less its arrival at its entry server.
struct TaskRecord {
    int flow;  // 1 to 3
    int task;  // 1 to TasksPerFlow
    Visit entry;
    std::optional<Visit> shared;  // flows 1 and 2 only
    Visit final;
    Tick response;
};

// Every task's record after a run in `workspace` (SimulateNetwork), flow by
// flow, each flow in task order.
std::vector<TaskRecord> TaskRecords(const TRunWorkspace& workspace);

// A server's measures over the observed period T of a run, from the earliest
// arrival at any entry server to the latest end of processing at the final
// server: utilisation = Σ service / T, queueMean = Σ wait / T (Little's law),
// inServerMean = (Σ wait + Σ service) / T, throughput = 1000 · tasks / T.
struct ServerMeasures {
    int tasks;
    double utilisation;
    double waitMean;
    Tick waitMax;
    double queueMean;
    double inServerMean;
    double throughput;
    // Each flow's own mean wait at a server of several flows; none otherwise.
    std::array<std::optional<double>, FlowCount> flowWaitMean;
};

struct NetworkMeasures {
    Tick start;
    Tick end;
    std::array<ServerMeasures, ServerCount> servers;

    double period() const { return static_cast<double>(end) - start; }
    const ServerMeasures& at(Server server) const { return servers[static_cast<std::size_t>(server)]; }
};

// The measures of the run in `workspace`, in one pass over each server's table.
NetworkMeasures MeasureServers(const TRunWorkspace& workspace);

// The queue of a server over the observed period: `waiting` tasks from `time`
// until the next step's time. The first step is at the period's start, the
// last at its end with none waiting. A task waits from its arrival at the
// server until its service begins.
struct QueueStep {
    Tick time;
    int waiting;
};
std::vector<QueueStep> QueueOverTime(const TRunWorkspace& workspace, Server server);

// Header "flow,task,entry_arrival,entry_wait,entry_service,shared_arrival,
// shared_wait,shared_service,final_arrival,final_wait,final_service,response",
// then a row a task in the order given; flow 3's shared columns are empty.
std::string TaskRecordsCsv(std::span<const TaskRecord> records);

// The measures as a series reports them: a statistic a row, each server's own
// measures and then its flows' mean waits.
enum class ServerStatistic { Tasks, Utilisation, WaitMean, WaitMax, QueueMean, InServerMean, Throughput };
inline constexpr int ServerStatisticCount = 7;
// "tasks", "utilisation", "wait_mean", "wait_max", "queue_mean",
// "in_server_mean" or "throughput".
std::string_view StatisticName(ServerStatistic statistic);

// One reported value: a measure of a server as a whole (flow 0), or the mean
// wait of one flow at a server of several flows (statistic WaitMean).
struct ServerRow {
    Server server;
    int flow;
    ServerStatistic statistic;
};
// Every row, server by server: its seven measures, then its flows' waits.
const std::vector<ServerRow>& ServerRows();
double RowValue(const NetworkMeasures& measures, const ServerRow& row);

// The measures as a table: a line per server with its seven measures, each
// followed, at a server of several flows, by a line per flow that holds only
// the flow's mean wait. Lines follow ServerRows(), values its statistics.
struct ServerLine {
    Server server;
    int flow;  // 0 for the server as a whole
    std::array<std::optional<double>, ServerStatisticCount> values;
};
std::vector<ServerLine> ServerLines(const NetworkMeasures& measures);

// Header "server,flow,tasks,utilisation,wait_mean,wait_max,queue_mean,
// in_server_mean,throughput", then a row a line of ServerLines(); a server's
// own row leaves the flow empty, a flow's row every measure but wait_mean.
std::string ServerLinesCsv(const NetworkMeasures& measures);

}  // namespace velmora
