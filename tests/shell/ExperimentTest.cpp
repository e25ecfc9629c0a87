// Experiment files: what is written reads back whole; a damaged file, another
// program's or a later version's is refused with a message that says why.
#include "shell/headless/Experiment.h"

#include "kestrin/ui/Experiment.h"
#include "shell/core/Exception.h"
#include "velmora/ui/Experiment.h"

#include <gtest/gtest.h>

namespace {

TEST(ExperimentTest, WhatIsWrittenReadsBackWhole)
{
    shell::SeriesSetup series;
    series.runs = 250;
    series.seed = 18446744073709551615ULL;
    series.vary = shell::SeriesSetup::Vary{"processing:2", 0.5, 12.25, 7};
    series.measures = "servers";
    series.precision = 0.01;
    const velmora::SeriesSettings settings{{velmora::DistributionKind::Normal, 50, 10},
                                           {velmora::DistributionKind::Exponential, 0.02, 0}};
    const QByteArray bytes = shell::WriteExperiment("velmora", velmora::SettingsJson(settings), series);
    const shell::ExperimentParts parts = shell::ReadExperiment(bytes, "velmora");
    const velmora::SeriesSettings read = velmora::SettingsFromJson(parts.settings);
    EXPECT_EQ(read.arrival.kind, velmora::DistributionKind::Normal);
    EXPECT_EQ(read.arrival.p2, 10);
    EXPECT_EQ(read.processing.kind, velmora::DistributionKind::Exponential);
    EXPECT_EQ(read.processing.p1, 0.02);
    EXPECT_EQ(parts.series.runs, 250);
    EXPECT_EQ(parts.series.seed, series.seed);
    EXPECT_EQ(parts.series.vary->parameter, "processing:2");
    EXPECT_EQ(parts.series.vary->to, 12.25);
    EXPECT_EQ(parts.series.vary->points, 7);
    EXPECT_EQ(parts.series.measures, "servers");
    EXPECT_EQ(parts.series.precision, 0.01);

    kestrin::WarehouseSetup warehouse;
    warehouse.input.Order.fill(5);
    warehouse.input.Order[9] = 0.1f;
    warehouse.input.Threshold.fill(-2);
    warehouse.input.DayCount = 250;
    warehouse.costs = {1, 10, 0.5};
    const QByteArray kestrinBytes = shell::WriteExperiment("kestrin", kestrin::SettingsJson(warehouse), {});
    const kestrin::WarehouseSetup back =
        kestrin::SettingsFromJson(shell::ReadExperiment(kestrinBytes, "kestrin").settings);
    EXPECT_EQ(back.input.Order, warehouse.input.Order);
    EXPECT_EQ(back.input.Threshold, warehouse.input.Threshold);
    EXPECT_EQ(back.input.DayCount, 250);
    EXPECT_EQ(back.costs.delivery, 0.5);
    EXPECT_FALSE(shell::ReadExperiment(kestrinBytes, "kestrin").series.seed);
}

TEST(ExperimentTest, DamagedForeignOrNewerFilesAreRefusedSayingWhy)
{
    const QByteArray good = shell::WriteExperiment("velmora",
                                                   velmora::SettingsJson({{velmora::DistributionKind::Uniform, 100, 0},
                                                                          {velmora::DistributionKind::Uniform, 50, 0}}),
                                                   {});
    const auto refusal = [](const QByteArray& bytes) -> std::string {
        try {
            const shell::ExperimentParts parts = shell::ReadExperiment(bytes, "velmora");
            velmora::SettingsFromJson(parts.settings);
        } catch (const shell::Exception& error) {
            return error.message();
        }
        return "read";
    };
    EXPECT_EQ(refusal(good), "read");
    const struct {
        QByteArray from;
        QByteArray to;
        const char* why;
    } cases[] = {
        {"{", "[", "это не"},
        {"\"version\": 1", "\"version\": 2", "более новой версией"},
        {"\"program\": \"velmora\"", "\"program\": \"kestrin\"", "программы «kestrin»"},
        {"\"runs\": 1000", "\"runs\": 1", "series.runs"},
        {"\"runs\": 1000", "\"runs\": 1000, \"rnus\": 5", "неизвестное поле «series.rnus»"},
        {"\"distribution\": \"uniform\"", "\"distribution\": \"gamma\"", "settings.arrival.distribution"},
        {"\"parameters\": [\n                100\n            ]", "\"parameters\": [100, 3]",
         "settings.arrival.parameters"},
        {"\"seed\": null", "\"seed\": \"-1\"", "series.seed"},
        {"\"precision\": null", "\"precision\": 1.5", "series.precision"},
    };
    for (const auto& c : cases) {
        QByteArray bytes = good;
        ASSERT_TRUE(bytes.contains(c.from)) << c.from.toStdString();
        bytes.replace(c.from, c.to);
        EXPECT_NE(refusal(bytes).find(c.why), std::string::npos) << refusal(bytes);
    }
    EXPECT_EQ(shell::ExperimentPathBeside("/tmp/a/series.csv"), "/tmp/a/series.json");
    EXPECT_EQ(shell::ExperimentPathBeside("results"), "results.json");
}

}  // namespace
