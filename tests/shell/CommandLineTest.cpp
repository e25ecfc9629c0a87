// Both programs' command lines, run as a user runs them: without a display, the
// exit status, standard output and standard error.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

struct Outcome {
    int status;
    QString out;
    QString err;
};

Outcome run(const char* program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QString::fromLatin1(program), arguments);
    EXPECT_TRUE(process.waitForFinished(60'000)) << program;
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QStringList words(const char* line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct Case {
    const char* program;
    const char* arguments;
    int status;
    const char* err;  // what standard error must hold
};

// Bad input ends with status 2 and a model's refusal with 1; both name the
// option and leave standard output empty.
TEST(CommandLineTest, BadInputAndModelErrorsNameTheOptionAndPrintNothing)
{
    const std::vector<Case> cases{
        {VELMORA, "--runs 5", 2, "--runs"},
        {VELMORA, "--series --runs 1", 2, "--runs"},
        {VELMORA, "--series --runs 1000001", 2, "--runs"},
        {VELMORA, "--series --bogus", 2, "bogus"},
        {VELMORA, "--series stray", 2, "stray"},
        {VELMORA, "--series --seed -1", 2, "--seed"},
        {VELMORA, "--series --seed 18446744073709551616", 2, "--seed"},
        {VELMORA, "--series --threads 0", 2, "--threads"},
        {VELMORA, "--series --threads 257", 2, "--threads"},
        {VELMORA, "--series --arrival uniform", 2, "--arrival"},
        {VELMORA, "--series --processing gamma:3", 2, "--processing"},
        {VELMORA, "--series --arrival uniform:1,5x", 2, "--arrival"},
        {VELMORA, "--series --vary arrival:2=1:2:3", 2, "--vary"},
        {VELMORA, "--series --vary arrival:0=1:2:3", 2, "--vary"},
        {VELMORA, "--series --vary arrival:1=1:2:51", 2, "--vary"},
        {VELMORA, "--series --vary arrival:1=1:2", 2, "--vary"},
        {VELMORA, "--series --vary depart:1=1:2:3", 2, "--vary"},
        {VELMORA, "--series --processing exponential:-0.02", 1, "--processing exponential:RATE"},
        {VELMORA, "--series --processing exponential:0", 1, "--processing exponential:RATE"},
        // 50 points are accepted, and the first value the model refuses is named.
        {VELMORA, "--series --arrival erlang:1:1 --vary arrival:2=1:-1:50", 1, "--vary arrival:2 = -0.0204"},
        {VELMORA, "--series --vary arrival:1=100:100:3", 2, "--vary"},
        // Only MAX's whole part counts: a sweep of it needs as many whole values as points.
        {VELMORA, "--series --vary arrival:1=100:101:5", 2, "--vary: от 100 до 101 всего 2 целых значений"},
        {VELMORA, "--series --vary processing:1=50:50.5:2", 2, "--vary"},
        {VELMORA, "--series --runs 2 --arrival uniform:2e9", 1, "уменьшите «--arrival uniform:MAX»"},
        {KESTRIN, "--orders 5", 2, "--orders"},
        {KESTRIN, "--series --orders -5", 2, "--orders"},
        {KESTRIN, "--series --orders 1,2", 2, "--orders"},
        {KESTRIN, "--series --orders 1,2,3,4,5,6,7,8,9,-1", 2, "--orders"},
        {KESTRIN, "--series --thresholds x", 2, "--thresholds"},
        {KESTRIN, "--series --days 0", 2, "--days"},
        {KESTRIN, "--series --days 2.5", 2, "--days"},
        {KESTRIN, "--series --vary order:11=0:1:3", 2, "--vary"},
        {KESTRIN, "--series --vary order:all=-1:1:3", 2, "--vary"},
        {KESTRIN, "--series --vary order:all=1:-1:3", 2, "--vary"},
        // The largest run and thread counts are accepted: the model, not the option, refuses.
        {KESTRIN, "--series --runs 1000000 --threads 256 --orders 3e38 --thresholds 3.4e38", 1, "вне допустимого"},
        {KESTRIN, "--series --runs 2 --orders 3e38 --vary threshold:1=1:3.4e38:2", 1, "--vary threshold:1 = 3.4E38: "},
        // Options given twice, or missing their value, or of the other mode.
        {VELMORA, "--series --runs 10 --runs 20", 2, "--runs: задан больше одного раза"},
        {KESTRIN, "--series --vary order:all=1:2:3 --vary order:1=1:2:3", 2, "--vary: задан больше одного раза"},
        {VELMORA, "--series --runs --seed 5", 2, "--runs: не задано значение"},
        {VELMORA, "--series --measures bogus", 2, "--measures"},
        {KESTRIN, "--series --measures servers", 2, "--measures"},
        {VELMORA, "--series --run 3", 2, "--run: действует только вместе с --records"},
        {VELMORA, "--records --runs 3", 2, "--runs: действует только вместе с --series"},
        {KESTRIN, "--records --vary order:all=1:2:3", 2, "--vary"},
        {VELMORA, "--records --series", 2, "--records"},
        {VELMORA, "--records --run 1000000", 2, "--run"},
        {VELMORA, "--seed 5", 2, "--seed"},
        {VELMORA, "--records --processing exponential:0", 1, "--processing exponential:RATE"},
        {KESTRIN, "--records --orders 3e38 --thresholds 3.4e38", 1, "вне допустимого"},
        // Decisions: a precision between 0 and 1, differences within a sweep from one of its values.
        {VELMORA, "--series --precision 1", 2, "--precision"},
        {VELMORA, "--series --precision 0.01 --vary arrival:1=50:60:2 --differences", 2, "--precision"},
        {KESTRIN, "--series --differences", 2, "--differences: действует только вместе с --vary"},
        {KESTRIN, "--series --baseline 3", 2, "--baseline"},
        {KESTRIN, "--series --vary order:all=4:6:3 --differences --baseline 4.5", 2, "4, 5, 6"},
        {KESTRIN, "--series --shortage-cost -1", 2, "--shortage-cost"},
        {KESTRIN, "--records --holding-cost 1", 2, "--holding-cost: действует только вместе с --series"},
        {KESTRIN, "--series --holding-cost 1 --measures goods", 2, "--measures"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.program, words(c.arguments));
        EXPECT_EQ(outcome.status, c.status) << c.program << " " << c.arguments;
        EXPECT_TRUE(outcome.out.isEmpty()) << c.program << " " << c.arguments;
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.err)))
            << c.program << " " << c.arguments << ": " << outcome.err.toStdString();
    }
}

// A series prints the seed it used, and that seed with the same settings gives
// the same bytes, on one worker or on two.
TEST(CommandLineTest, TheSeedRepeatsASeriesOnAnyNumberOfThreads)
{
    for (const auto& [program, arguments, lines] :
         {std::tuple{VELMORA, "--series --runs 20 --vary processing:1=20:60:3", 1 + 3 * 3 * 4},
          std::tuple{KESTRIN, "--series --runs 20 --orders 5 --thresholds 2 --vary threshold:all=0:4:3", 1 + 3 * 5}}) {
        const Outcome fresh = run(program, words(arguments));
        ASSERT_EQ(fresh.status, 0) << fresh.err.toStdString();
        EXPECT_EQ(fresh.out.count(QStringLiteral("\r\n")), lines);
        ASSERT_TRUE(fresh.err.startsWith(QStringLiteral("seed: "))) << fresh.err.toStdString();
        const QString seed = fresh.err.mid(6).trimmed();
        for (const char* threads : {"1", "2"}) {
            const Outcome again = run(program, words(arguments) << "--seed" << seed << "--threads" << threads);
            EXPECT_EQ(again.status, 0);
            EXPECT_EQ(again.out, fresh.out) << program << " --threads " << threads;
        }
    }
}

QList<QStringList> csvRows(const QString& out)
{
    QList<QStringList> rows;
    for (const QString& line : out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char(','));
    return rows;
}

// --records prints the very runs a series with the seed makes: the mean
// response of each flow over the records of runs 0 and 1 is the series' mean
// over its two runs, and likewise L over the days of each run. --measures
// with its first value changes nothing.
TEST(CommandLineTest, RecordsAreTheRunsOfTheSeriesWithTheSeed)
{
    const Outcome series = run(VELMORA, words("--series --runs 2 --seed 8 --arrival exponential:0.02"));
    ASSERT_EQ(series.status, 0);
    EXPECT_EQ(run(VELMORA, words("--series --runs 2 --seed 8 --arrival exponential:0.02 --measures responses")).out,
              series.out);
    std::array<double, 3> sums{};
    for (const char* which : {"0", "1"}) {
        const Outcome records = run(VELMORA, words("--records --seed 8 --arrival exponential:0.02 --run") << which);
        ASSERT_EQ(records.status, 0) << records.err.toStdString();
        EXPECT_EQ(records.err, "seed: 8\n");
        const auto rows = csvRows(records.out);
        ASSERT_EQ(rows.size(), 1 + 3000);
        EXPECT_EQ(rows.front().back(), "response");
        for (qsizetype row = 1; row < rows.size(); ++row)
            sums[static_cast<std::size_t>(rows[row][0].toInt() - 1)] += rows[row].back().toDouble();
    }
    for (const QStringList& row : csvRows(series.out)) {
        if (row[2] == QLatin1String("mean")) {
            EXPECT_NEAR(row[3].toDouble(), sums[static_cast<std::size_t>(row[1].toInt() - 1)] / 2000, 1e-9)
                << row[1].toStdString();
        }
    }

    const QString settings = QStringLiteral("--seed 8 --orders 5 --thresholds 2 --days 40");
    const Outcome l = run(KESTRIN, words("--series --runs 2") << settings.split(' '));
    ASSERT_EQ(l.status, 0);
    double meanL = 0;
    for (const char* which : {"0", "1"}) {
        const Outcome records = run(KESTRIN, words("--records --run") << which << settings.split(' '));
        ASSERT_EQ(records.status, 0) << records.err.toStdString();
        const auto rows = csvRows(records.out);
        ASSERT_EQ(rows.size(), 1 + 40 * 10);
        EXPECT_EQ(rows.front(),
                  QStringList({"day", "good", "stock", "demand", "remainder", "action", "lost", "stock_next"}));
        double lost = 0;
        double demand = 0;
        for (qsizetype row = 1; row < rows.size(); ++row) {
            demand += rows[row][3].toDouble();
            lost += rows[row][6].toDouble();
        }
        meanL += lost / demand / 2;
    }
    EXPECT_NEAR(csvRows(l.out)[1][2].toDouble(), meanL, 1e-6);
}

// A series of the servers or the goods reports a row per measure with its
// interval: 40 for the servers, 77 for the goods and the warehouse.
TEST(CommandLineTest, MeasuresOfServersAndGoods)
{
    const Outcome servers = run(VELMORA, words("--series --runs 5 --seed 2 --measures servers"));
    ASSERT_EQ(servers.status, 0) << servers.err.toStdString();
    const auto rows = csvRows(servers.out);
    EXPECT_EQ(rows.front(), QStringList({"value", "server", "flow", "statistic", "mean", "ci_low", "ci_high", "runs"}));
    EXPECT_EQ(rows.size(), 1 + 5 * 7 + 2 + 3);
    EXPECT_EQ(rows[1], QStringList({"", "1", "", "tasks", "1000", "1000", "1000", "5"}));
    EXPECT_EQ(rows.back()[1], "5");
    EXPECT_EQ(rows.back()[2], "3");
    const Outcome goods = run(KESTRIN, words("--series --runs 5 --seed 2 --measures goods --vary threshold:all=0:4:2"));
    ASSERT_EQ(goods.status, 0) << goods.err.toStdString();
    const auto goodRows = csvRows(goods.out);
    EXPECT_EQ(goodRows.size(), 1 + 2 * 11 * 7);
    EXPECT_EQ(goodRows[1].mid(0, 3), QStringList({"0", "1", "demand"}));
    EXPECT_EQ(goodRows[77].mid(0, 3), QStringList({"0", "all", "stock_min"}));
}

// A precise series stops each row at a stage of 10, 20, 40, ... runs with the
// numbers of a fixed series of that many; one that meets the ceiling first
// says so. Differences are paired by run, the baseline's own being 0; with
// costs a sweep names its cheapest value.
TEST(CommandLineTest, PrecisionDifferencesAndTheCheapestValue)
{
    const Outcome precise = run(KESTRIN,
                                words("--series --seed 4 --orders 5 --thresholds 2 --precision 0.005 "
                                      "--vary threshold:all=1:5:3"));
    ASSERT_EQ(precise.status, 0) << precise.err.toStdString();
    QStringList runs;
    for (const QStringList& row : csvRows(precise.out).mid(1))
        runs << row.back();
    for (const QString& each : runs) {
        const int count = each.toInt();
        EXPECT_TRUE(count >= 10 && (count & (count / 10 - 1)) == 0) << count;
    }
    const Outcome fixed = run(KESTRIN,
                              words("--series --seed 4 --orders 5 --thresholds 2 --vary threshold:all=1:1.1:2 "
                                    "--runs")
                                  << runs.front());
    EXPECT_EQ(csvRows(fixed.out)[1], csvRows(precise.out)[1]);
    const Outcome ceiling = run(VELMORA, words("--series --seed 4 --precision 0.0001 --runs 20"));
    EXPECT_EQ(ceiling.status, 0);
    EXPECT_TRUE(ceiling.err.contains("точность не достигнута за 20 прогонов: поток 1, mean"))
        << ceiling.err.toStdString();

    const Outcome differences = run(VELMORA,
                                    words("--series --seed 4 --runs 30 --vary processing:1=40:60:3 "
                                          "--differences --baseline 50"));
    ASSERT_EQ(differences.status, 0) << differences.err.toStdString();
    const auto rows = csvRows(differences.out);
    EXPECT_EQ(rows.front(), QStringList({"value", "flow", "statistic", "diff_mean", "diff_low", "diff_high", "runs"}));
    EXPECT_EQ(rows[13], QStringList({"50", "1", "mean", "0", "0", "0", "30"}));
    EXPECT_LT(rows[1][4].toDouble(), 0);  // shorter processing, shorter responses

    const Outcome cheapest = run(KESTRIN,
                                 words("--series --seed 4 --runs 30 --orders 5 --holding-cost 1 "
                                       "--shortage-cost 10 --vary threshold:all=0:8:5"));
    ASSERT_EQ(cheapest.status, 0);
    EXPECT_TRUE(cheapest.err.contains("cheapest: ")) << cheapest.err.toStdString();
    EXPECT_EQ(csvRows(cheapest.out)[6][1], "cost");
}

// --output writes the CSV and, beside it, the experiment that makes it again;
// that experiment makes the same bytes, and options given beside it win.
TEST(CommandLineTest, AnOutputFileComesWithItsExperiment)
{
    QTemporaryDir folder;
    const QString csv = folder.filePath("series.csv");
    const Outcome first = run(KESTRIN,
                              words("--series --runs 12 --orders 5 --shortage-cost 2 --vary order:3=4:6:3 "
                                    "--measures l --output")
                                  << csv);
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.isEmpty());
    QFile saved(csv);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const Outcome again = run(KESTRIN, {"--series", "--experiment", folder.filePath("series.json")});
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(again.out.toUtf8(), bytes);
    const Outcome fewer = run(KESTRIN, {"--series", "--experiment", folder.filePath("series.json"), "--runs", "3"});
    EXPECT_TRUE(fewer.out.endsWith(",3\r\n")) << fewer.out.toStdString();
    const Outcome records = run(VELMORA, {"--records", "--experiment", folder.filePath("series.json")});
    EXPECT_EQ(records.status, 2);
    EXPECT_TRUE(records.err.contains("--experiment")) << records.err.toStdString();
}

// Without a desktop session the window cannot open; the program says so, and
// how to run a series instead, and ends with status 1.
TEST(CommandLineTest, WithoutADisplayTheWindowSaysWhatToDoInstead)
{
    for (const char* program : {VELMORA, KESTRIN}) {
        const Outcome outcome = run(program, {});
        EXPECT_EQ(outcome.status, 1) << program;
        EXPECT_TRUE(outcome.err.contains("нет графического сеанса") && outcome.err.contains("--series"))
            << outcome.err.toStdString();
    }
}

TEST(CommandLineTest, HelpAndVersion)
{
    for (const char* program : {VELMORA, KESTRIN}) {
        const Outcome help = run(program, {"--help"});
        EXPECT_EQ(help.status, 0);
        for (const char* option : {"--series", "--runs", "--seed", "--vary", "--threads"})
            EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << program << " " << option;
        const Outcome version = run(program, {"--version"});
        EXPECT_EQ(version.status, 0);
        EXPECT_TRUE(version.out.contains(QStringLiteral(" 1.0"))) << version.out.toStdString();
    }
}

}  // namespace
