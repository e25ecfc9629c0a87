// Both programs' command lines, run as a user runs them: without a display, the
// exit status, standard output and standard error.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

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
