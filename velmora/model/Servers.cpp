// Where each server's tasks stand in the run's tables: an entry server's in its
// flow's table; the shared server's in Merged12, as it served them; the final
// server's in MergedAll. A task's own record follows it through the flow's
// table and, for flows 1 and 2, through Merged12, whose rows keep each flow's
// order.
#include "Servers.h"

#include "shell/core/Csv.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <type_traits>
#include <utility>

namespace velmora {
namespace {

const TTaskTable& entryTable(const TRunWorkspace& workspace, int flow)
{
    return flow == 1 ? workspace.Flow1 : flow == 2 ? workspace.Flow2 : workspace.Flow3;
}

// Sums over the tasks a server served, as a measure needs them.
struct Served {
    int tasks = 0;
    std::int64_t waits = 0;
    std::int64_t services = 0;
    Tick waitMax = 0;
    std::array<std::int64_t, FlowCount> flowWaits{};
    std::array<int, FlowCount> flowTasks{};

    ServerMeasures measures(double period, bool perFlow) const
    {
        ServerMeasures m{tasks,
                         static_cast<double>(services) / period,
                         static_cast<double>(waits) / tasks,
                         waitMax,
                         static_cast<double>(waits) / period,
                         static_cast<double>(waits + services) / period,
                         1000.0 * tasks / period,
                         {}};
        for (std::size_t flow = 0; perFlow && flow < flowTasks.size(); ++flow) {
            if (flowTasks[flow] > 0)
                m.flowWaitMean[flow] = static_cast<double>(flowWaits[flow]) / flowTasks[flow];
        }
        return m;
    }
};

// The rows of a server's table: the table, how many rows, which columns.
struct ServerTable {
    const TTaskTable& table;
    int rows;
    bool merged;  // Merged12 or MergedAll: Arrival, Wait, Service and Flow of this server
    int flow;     // an entry server's flow
};

ServerTable tableOf(const TRunWorkspace& workspace, Server server)
{
    switch (server) {
    case Server::Entry1:
    case Server::Entry2:
    case Server::Entry3: {
        const int flow = ServerNumber(server);
        return {entryTable(workspace, flow), TasksPerFlow, false, flow};
    }
    case Server::Shared:
        return {workspace.Merged12, 2 * TasksPerFlow, true, 0};
    case Server::Final:
        break;
    }
    return {workspace.MergedAll, TaskCount, true, 0};
}

// Calls `use` with a server table's row count as a constant: each table has
// one of three sizes.
template <typename Use>
decltype(auto) withRows(int rows, Use&& use)
{
    switch (rows) {
    case TasksPerFlow:
        return use(std::integral_constant<int, TasksPerFlow>{});
    case 2 * TasksPerFlow:
        return use(std::integral_constant<int, 2 * TasksPerFlow>{});
    default:
        return use(std::integral_constant<int, TaskCount>{});
    }
}

// Each sum is a loop without a branch over a constant number of rows, which
// GCC makes vector code of at -O2: summed row by row with the table's kind
// tested in each row, the measures took a third of a series' time, more than
// the run they measured.
template <int Rows>
Served sumServed(const ServerTable& t)
{
    const TTaskTable& table = t.table;
    Served sums;
    sums.tasks = Rows;
    for (int row = 0; row < Rows; ++row) {
        sums.waits += table.Wait[row];
        sums.services += table.Service[row];
        sums.waitMax = std::max(sums.waitMax, table.Wait[row]);
    }
    if (!t.merged) {
        sums.flowWaits[static_cast<std::size_t>(t.flow - 1)] = sums.waits;
        sums.flowTasks[static_cast<std::size_t>(t.flow - 1)] = sums.tasks;
        return sums;
    }
    // The last flow's sums are what the others leave.
    std::int64_t otherWaits = 0;
    int otherTasks = 0;
    for (int flow = 1; flow < FlowCount; ++flow) {
        std::int64_t waits = 0;
        int tasks = 0;
        for (int row = 0; row < Rows; ++row)
            waits += table.Wait[row] & -static_cast<Tick>(table.Flow[row] == flow);
        for (int row = 0; row < Rows; ++row)
            tasks += table.Flow[row] == flow ? 1 : 0;
        sums.flowWaits[static_cast<std::size_t>(flow - 1)] = waits;
        sums.flowTasks[static_cast<std::size_t>(flow - 1)] = tasks;
        otherWaits += waits;
        otherTasks += tasks;
    }
    sums.flowWaits.back() = sums.waits - otherWaits;
    sums.flowTasks.back() = sums.tasks - otherTasks;
    return sums;
}

// From the earliest arrival at an entry server to the latest end at the final
// server; loops of constant length, as the sums above.
std::pair<Tick, Tick> observedPeriod(const TRunWorkspace& workspace)
{
    Tick start = std::numeric_limits<Tick>::max();
    for (const TTaskTable* entry : {&workspace.Flow1, &workspace.Flow2, &workspace.Flow3}) {
        for (int row = 0; row < TasksPerFlow; ++row)
            start = std::min(start, entry->Arrival[row]);
    }
    Tick end = std::numeric_limits<Tick>::min();
    const TTaskTable& final = workspace.MergedAll;
    for (int row = 0; row < TaskCount; ++row)
        end = std::max(end, final.Arrival[row] + final.Wait[row] + final.Service[row]);
    return {start, end};
}

Tick endOf(const Visit& visit)
{
    return visit.arrival + visit.wait + visit.service;
}

}  // namespace

std::string_view ServerName(Server server)
{
    switch (server) {
    case Server::Entry1:
        return "Входной сервер потока 1";
    case Server::Entry2:
        return "Входной сервер потока 2";
    case Server::Entry3:
        return "Входной сервер потока 3";
    case Server::Shared:
        return "Общий сервер";
    case Server::Final:
        break;
    }
    return "Последний сервер";
}

bool Serves(Server server, int flow)
{
    switch (server) {
    case Server::Shared:
        return flow == 1 || flow == 2;
    case Server::Final:
        return true;
    default:
        return ServerNumber(server) == flow;
    }
}

std::vector<TaskRecord> TaskRecords(const TRunWorkspace& workspace)
{
    std::vector<TaskRecord> records(TaskCount);
    for (int flow = 1; flow <= FlowCount; ++flow) {
        const TTaskTable& table = entryTable(workspace, flow);
        for (int task = 0; task < TasksPerFlow; ++task) {
            TaskRecord& record = records[static_cast<std::size_t>((flow - 1) * TasksPerFlow + task)];
            record.flow = flow;
            record.task = task + 1;
            record.entry = {table.Arrival[task], table.Wait[task], table.Service[task]};
            const Visit next{table.Departure[task], table.NextWait[task], table.NextService[task]};
            if (flow == 3)
                record.final = next;
            else
                record.shared = next;
        }
    }
    // Merged12 holds flows 1 and 2 in the order the shared server served them,
    // each flow's tasks in their own order, with their visits to the final server.
    std::array<int, 2> next{};
    const TTaskTable& merged = workspace.Merged12;
    for (int row = 0; row < 2 * TasksPerFlow; ++row) {
        const int flow = merged.Flow[row];
        const int task = next[static_cast<std::size_t>(flow - 1)]++;
        records[static_cast<std::size_t>((flow - 1) * TasksPerFlow + task)].final = {
            merged.Departure[row], merged.NextWait[row], merged.NextService[row]};
    }
    for (TaskRecord& record : records)
        record.response = endOf(record.final) - record.entry.arrival;
    return records;
}

NetworkMeasures MeasureServers(const TRunWorkspace& workspace)
{
    NetworkMeasures measures{};
    std::tie(measures.start, measures.end) = observedPeriod(workspace);
    const double period = measures.period();
    for (int s = 0; s < ServerCount; ++s) {
        const auto server = static_cast<Server>(s);
        const ServerTable t = tableOf(workspace, server);
        const Served served = withRows(t.rows, [&t](auto rows) { return sumServed<rows>(t); });
        measures.servers[static_cast<std::size_t>(s)] =
            served.measures(period, server == Server::Shared || server == Server::Final);
    }
    return measures;
}

std::vector<QueueStep> QueueOverTime(const TRunWorkspace& workspace, Server server)
{
    const auto [start, end] = observedPeriod(workspace);
    const ServerTable t = tableOf(workspace, server);
    // +1 where a task begins to wait, -1 where its service begins.
    std::vector<std::pair<Tick, int>> changes;
    for (int row = 0; row < t.rows; ++row) {
        if (t.table.Wait[row] <= 0)
            continue;
        changes.emplace_back(t.table.Arrival[row], 1);
        changes.emplace_back(t.table.Arrival[row] + t.table.Wait[row], -1);
    }
    std::sort(changes.begin(), changes.end());
    std::vector<QueueStep> steps{{start, 0}};
    int waiting = 0;
    for (std::size_t i = 0; i < changes.size();) {
        const Tick time = changes[i].first;
        for (; i < changes.size() && changes[i].first == time; ++i)
            waiting += changes[i].second;
        if (steps.back().time == time)
            steps.back().waiting = waiting;
        else if (steps.back().waiting != waiting)
            steps.push_back({time, waiting});
    }
    steps.push_back({end, 0});
    return steps;
}

std::string TaskRecordsCsv(std::span<const TaskRecord> records)
{
    shell::Csv csv{"flow",        "task",           "entry_arrival", "entry_wait", "entry_service", "shared_arrival",
                   "shared_wait", "shared_service", "final_arrival", "final_wait", "final_service", "response"};
    for (const TaskRecord& record : records) {
        csv << record.flow << record.task << record.entry.arrival << record.entry.wait << record.entry.service;
        if (record.shared)
            csv << record.shared->arrival << record.shared->wait << record.shared->service;
        else
            csv.skip().skip().skip();
        csv.row(record.final.arrival, record.final.wait, record.final.service, record.response);
    }
    return csv.text();
}

std::string_view StatisticName(ServerStatistic statistic)
{
    switch (statistic) {
    case ServerStatistic::Tasks:
        return "tasks";
    case ServerStatistic::Utilisation:
        return "utilisation";
    case ServerStatistic::WaitMean:
        return "wait_mean";
    case ServerStatistic::WaitMax:
        return "wait_max";
    case ServerStatistic::QueueMean:
        return "queue_mean";
    case ServerStatistic::InServerMean:
        return "in_server_mean";
    case ServerStatistic::Throughput:
        break;
    }
    return "throughput";
}

const std::vector<ServerRow>& ServerRows()
{
    static const std::vector<ServerRow> rows = [] {
        std::vector<ServerRow> all;
        for (int s = 0; s < ServerCount; ++s) {
            const auto server = static_cast<Server>(s);
            for (int statistic = 0; statistic < ServerStatisticCount; ++statistic)
                all.push_back({server, 0, static_cast<ServerStatistic>(statistic)});
            if (server == Server::Shared || server == Server::Final) {
                for (int flow = 1; flow <= FlowCount; ++flow) {
                    if (Serves(server, flow))
                        all.push_back({server, flow, ServerStatistic::WaitMean});
                }
            }
        }
        return all;
    }();
    return rows;
}

double RowValue(const NetworkMeasures& measures, const ServerRow& row)
{
    const ServerMeasures& m = measures.at(row.server);
    if (row.flow != 0)
        return *m.flowWaitMean[static_cast<std::size_t>(row.flow - 1)];
    switch (row.statistic) {
    case ServerStatistic::Tasks:
        return m.tasks;
    case ServerStatistic::Utilisation:
        return m.utilisation;
    case ServerStatistic::WaitMean:
        return m.waitMean;
    case ServerStatistic::WaitMax:
        return m.waitMax;
    case ServerStatistic::QueueMean:
        return m.queueMean;
    case ServerStatistic::InServerMean:
        return m.inServerMean;
    case ServerStatistic::Throughput:
        break;
    }
    return m.throughput;
}

std::vector<ServerLine> ServerLines(const NetworkMeasures& measures)
{
    std::vector<ServerLine> lines;
    for (const ServerRow& row : ServerRows()) {
        if (lines.empty() || lines.back().server != row.server || lines.back().flow != row.flow)
            lines.push_back({row.server, row.flow, {}});
        lines.back().values[static_cast<std::size_t>(row.statistic)] = RowValue(measures, row);
    }
    return lines;
}

std::string ServerLinesCsv(const NetworkMeasures& measures)
{
    shell::Csv csv{"server",   "flow",       "tasks",          "utilisation", "wait_mean",
                   "wait_max", "queue_mean", "in_server_mean", "throughput"};
    for (const ServerLine& line : ServerLines(measures)) {
        csv << ServerNumber(line.server);
        if (line.flow != 0)
            csv << line.flow;
        else
            csv.skip();
        for (const std::optional<double>& value : line.values)
            csv << value;
        csv.end();
    }
    return csv.text();
}

}  // namespace velmora
