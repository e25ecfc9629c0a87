// Inside a run: each task's record and each server's measures and queue, on a
// case worked by hand and by identities that hold for any run.
#include "velmora/model/Servers.h"

#include "velmora/model/Series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>

namespace velmora {
namespace {

// The integral of q(t) over the observed period.
double queueArea(const std::vector<QueueStep>& steps)
{
    double area = 0;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        area += static_cast<double>(steps[i].waiting) * (steps[i + 1].time - steps[i].time);
    return area;
}

// Both generators always give 0: every flow arrives at 0, 1, ..., 999 and every
// processing takes 1 tick. Flow 1 is never delayed; flow 2 waits for all of
// flow 1 at the shared server (1000 ticks each), flow 3 for the 2000 tasks of
// flows 1 and 2 at the final server (2001 ticks each).
TEST(ServersTest, AllDrawsZeroWorkedByHand)
{
    auto workspace = std::make_unique<TRunWorkspace>();
    SimulateNetwork(
        *workspace, [] { return 0; }, [] { return 0; });
    const std::vector<TaskRecord> records = TaskRecords(*workspace);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(TaskCount));
    const TaskRecord& flow1 = records[7];
    EXPECT_EQ(flow1.flow, 1);
    EXPECT_EQ(flow1.task, 8);
    EXPECT_EQ(flow1.entry.arrival, 7);
    EXPECT_EQ(flow1.shared->arrival, 8);
    EXPECT_EQ(flow1.shared->wait, 0);
    EXPECT_EQ(flow1.final.arrival, 9);
    EXPECT_EQ(flow1.response, 3);
    const TaskRecord& flow2 = records[1000 + 7];
    EXPECT_EQ(flow2.shared->wait, 1000);
    EXPECT_EQ(flow2.final.arrival, 1009);
    EXPECT_EQ(flow2.response, 1003);
    const TaskRecord& flow3 = records[2000 + 7];
    EXPECT_FALSE(flow3.shared);
    EXPECT_EQ(flow3.final.arrival, 8);
    EXPECT_EQ(flow3.final.wait, 2001);
    EXPECT_EQ(flow3.response, 2003);

    const NetworkMeasures measures = MeasureServers(*workspace);
    EXPECT_EQ(measures.start, 0);
    EXPECT_EQ(measures.end, 3002);
    const double T = 3002;
    for (const Server entry : {Server::Entry1, Server::Entry2, Server::Entry3}) {
        const ServerMeasures& m = measures.at(entry);
        EXPECT_EQ(m.tasks, 1000);
        EXPECT_DOUBLE_EQ(m.utilisation, 1000 / T);
        EXPECT_EQ(m.waitMax, 0);
        EXPECT_EQ(m.queueMean, 0);
        EXPECT_DOUBLE_EQ(m.throughput, 1000 * 1000 / T);
    }
    const ServerMeasures& shared = measures.at(Server::Shared);
    EXPECT_EQ(shared.tasks, 2000);
    EXPECT_DOUBLE_EQ(shared.waitMean, 500);
    EXPECT_EQ(shared.waitMax, 1000);
    EXPECT_EQ(shared.flowWaitMean[0], 0);
    EXPECT_EQ(shared.flowWaitMean[1], 1000);
    EXPECT_FALSE(shared.flowWaitMean[2]);
    EXPECT_DOUBLE_EQ(shared.queueMean, 1000 * 1000 / T);
    EXPECT_DOUBLE_EQ(shared.inServerMean, (1000 * 1000 + 2000) / T);
    const ServerMeasures& final = measures.at(Server::Final);
    EXPECT_EQ(final.tasks, 3000);
    EXPECT_DOUBLE_EQ(final.utilisation, 3000 / T);
    EXPECT_EQ(final.flowWaitMean[2], 2001);
    EXPECT_DOUBLE_EQ(final.waitMean, 2001.0 / 3);

    // Flow 3's queue at the final server grows by one a tick to 1000 and then
    // empties by one a tick from 2002 on.
    const std::vector<QueueStep> queue = QueueOverTime(*workspace, Server::Final);
    EXPECT_EQ(queue.front().time, 0);
    EXPECT_EQ(
        std::max_element(queue.begin(), queue.end(), [](auto a, auto b) { return a.waiting < b.waiting; })->waiting,
        1000);
    EXPECT_EQ(queue.back().time, 3002);
    EXPECT_EQ(queue.back().waiting, 0);
    EXPECT_DOUBLE_EQ(queueArea(queue) / T, final.queueMean);
    EXPECT_EQ(QueueOverTime(*workspace, Server::Entry1).size(), 2u);
}

// For any run: each record adds up to its response, and the responses are the
// run's results; a task arrives at a server as it leaves the one before; no
// server is busy more than the whole period; each server's time-average queue
// is that of q(t), and its waits over the period (Little's law).
TEST(ServersTest, IdentitiesOfAnyRun)
{
    const SeriesSettings settings{{DistributionKind::Exponential, 0.01, 0}, {DistributionKind::Normal, 50, 10}};
    const SeriesDraws draws = CheckedDraws(settings);
    auto workspace = std::make_unique<TRunWorkspace>();
    for (std::uint64_t run = 0; run < 3; ++run) {
        const RunStatistics statistics = RunOfSeries(draws, 17, run, *workspace);
        const std::vector<TaskRecord> records = TaskRecords(*workspace);
        std::array<std::vector<Tick>, FlowCount> responses;
        std::array<std::int64_t, ServerCount> waits{};
        for (const TaskRecord& record : records) {
            const auto end = [](const Visit& visit) { return visit.arrival + visit.wait + visit.service; };
            ASSERT_EQ(record.response, end(record.final) - record.entry.arrival);
            ASSERT_EQ(record.shared.has_value(), record.flow != 3);
            ASSERT_EQ(record.shared ? record.shared->arrival : record.final.arrival, end(record.entry));
            if (record.shared) {
                ASSERT_EQ(record.final.arrival, end(*record.shared));
            }
            responses[static_cast<std::size_t>(record.flow - 1)].push_back(record.response);
            waits[static_cast<std::size_t>(record.flow - 1)] += record.entry.wait;
            waits[3] += record.shared ? record.shared->wait : 0;
            waits[4] += record.final.wait;
        }
        for (int flow = 0; flow < FlowCount; ++flow) {
            auto& values = responses[static_cast<std::size_t>(flow)];
            std::sort(values.begin(), values.end());
            EXPECT_DOUBLE_EQ(std::accumulate(values.begin(), values.end(), 0.0) / TasksPerFlow,
                             statistics[static_cast<std::size_t>(flow)][0]);
        }
        const NetworkMeasures measures = MeasureServers(*workspace);
        for (int s = 0; s < ServerCount; ++s) {
            const auto server = static_cast<Server>(s);
            const ServerMeasures& m = measures.at(server);
            EXPECT_LE(m.utilisation, 1.0) << s;
            EXPECT_NEAR(m.queueMean * measures.period(), static_cast<double>(waits[static_cast<std::size_t>(s)]), 1e-6);
            EXPECT_NEAR(queueArea(QueueOverTime(*workspace, server)) / measures.period(), m.queueMean, 1e-9) << s;
        }
    }
}

TEST(ServersTest, RecordsAsCsvWithoutSharedColumnsForFlowThree)
{
    auto workspace = std::make_unique<TRunWorkspace>();
    SimulateNetwork(
        *workspace, [] { return 0; }, [] { return 0; });
    const std::string csv = TaskRecordsCsv(TaskRecords(*workspace));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n") + 2),
              "flow,task,entry_arrival,entry_wait,entry_service,shared_arrival,shared_wait,shared_service,"
              "final_arrival,final_wait,final_service,response\r\n");
    EXPECT_NE(csv.find("\r\n1,1,0,0,1,1,0,1,2,0,1,3\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n3,1000,999,0,1,,,,1000,2001,1,2003\r\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + TaskCount);
}

// A line per server, each followed by its flows' lines at the shared and final
// servers; a flow's line holds its mean wait and nothing else.
TEST(ServersTest, LinesOfTheTableAndTheirCsv)
{
    auto workspace = std::make_unique<TRunWorkspace>();
    SimulateNetwork(
        *workspace, [] { return 0; }, [] { return 0; });
    const NetworkMeasures measures = MeasureServers(*workspace);
    std::vector<std::pair<int, int>> order;
    for (const ServerLine& line : ServerLines(measures)) {
        order.emplace_back(ServerNumber(line.server), line.flow);
        for (int statistic = 0; statistic < ServerStatisticCount; ++statistic) {
            const auto s = static_cast<ServerStatistic>(statistic);
            const std::optional<double> value = line.values[static_cast<std::size_t>(statistic)];
            ASSERT_EQ(value.has_value(), line.flow == 0 || s == ServerStatistic::WaitMean);
            if (value) {
                EXPECT_EQ(*value, RowValue(measures, {line.server, line.flow, s}));
            }
        }
    }
    EXPECT_EQ(order,
              (std::vector<std::pair<int, int>>{
                  {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 2}, {5, 0}, {5, 1}, {5, 2}, {5, 3}}));
    const std::string csv = ServerLinesCsv(measures);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n") + 2),
              "server,flow,tasks,utilisation,wait_mean,wait_max,queue_mean,in_server_mean,throughput\r\n");
    EXPECT_NE(csv.find("\r\n4,,2000,0.666222518321,500,1000,333.111259161,333.777481679,666.222518321\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\n4,2,,,1000,,,,\r\n"), std::string::npos);
    EXPECT_TRUE(csv.ends_with("\r\n5,3,,,2001,,,,\r\n"));
}

}  // namespace
}  // namespace velmora
