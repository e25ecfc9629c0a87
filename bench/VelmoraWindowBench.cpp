// The simulation window offscreen: one press of the run button (the run, the
// histograms, and Qt Charts taking the points when control returns to the event
// loop), alone and with the Серверы window open and painted; and the series
// window during a long series: how often its progress shows, and how soon
// "Остановить" ends the series.
#include "MedianReporter.h"

#include "velmora/ui/Unit1.h"

#include "shell/ui/SeriesWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void PressRunButton(benchmark::State& state)
{
    velmora::TForm1 form;
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    for (auto _ : state) {
        button->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(PressRunButton)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Exponential arrivals and normal processing make long queues, drawn as long lines.
void PressWithServersWindow(benchmark::State& state)
{
    velmora::TForm1 form;
    form.findChild<QRadioButton*>(QStringLiteral("eksp"))->setChecked(true);
    form.findChild<QRadioButton*>(QStringLiteral("norm2"))->setChecked(true);
    form.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("0.01"));
    form.findChild<QLineEdit*>(QStringLiteral("Edit6"))->setText(QStringLiteral("10"));
    form.openServers();
    auto* window = form.findChild<velmora::ServersWindow*>();
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    for (auto _ : state) {
        button->click();
        QCoreApplication::processEvents();
        window->grab();
    }
}
BENCHMARK(PressWithServersWindow)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Starts a series of a million runs in the series window; returns the window.
shell::SeriesWindow* startLongSeries(velmora::TForm1& form)
{
    form.openSeries();
    auto* window = form.findChild<shell::SeriesWindow*>();
    window->findChild<QLineEdit*>(QStringLiteral("RunsEdit"))->setText(QStringLiteral("1000000"));
    window->findChild<QPushButton*>(QStringLiteral("RunButton"))->click();
    return window;
}

// Changes of the progress bar seen during two seconds of a long series.
double progressUpdatesPerSecond()
{
    velmora::TForm1 form;
    shell::SeriesWindow* window = startLongSeries(form);
    auto* progress = window->findChild<QProgressBar*>(QStringLiteral("Progress"));
    int updates = 0;
    int last = progress->value();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (progress->value() != last) {
            ++updates;
            last = progress->value();
        }
    }
    window->stopSeries();
    return updates / 2.0;
}

// From "Остановить" to the series' end, for series stopped after 0.3 s.
std::vector<double> stopTimes(int stops)
{
    std::vector<double> times;
    velmora::TForm1 form;
    for (int i = 0; i < stops; ++i) {
        shell::SeriesWindow* window = startLongSeries(form);
        QTest::qWait(300);
        QElapsedTimer timer;
        timer.start();
        window->findChild<QPushButton*>(QStringLiteral("StopButton"))->click();
        const bool ended = QTest::qWaitFor([window] { return !window->running(); }, 10'000);
        times.push_back(ended ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : 10'000.0);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const MedianReporter reporter = MedianReporter::runAll(argc, argv);
    const double press = reporter.median("PressRunButton");
    if (press > 0)
        std::printf("\nOne press of \"Смоделировать\", median: %.2f ms (target < 16 ms)\n", press);
    const double withServers = reporter.median("PressWithServersWindow");
    if (withServers > 0)
        std::printf("One press with the Серверы window open and painted, median: %.2f ms (target <= 16 ms)\n",
                    withServers);
    std::printf("Series window, progress shown %.1f times a second during a long series (target >= 10)\n",
                progressUpdatesPerSecond());
    std::vector<double> stops = stopTimes(5);
    std::sort(stops.begin(), stops.end());
    std::printf("Series window, \"Остановить\" to the series' end: median %.1f ms, at most %.1f ms over %zu stops "
                "(target <= 100 ms)\n",
                stops[stops.size() / 2], stops.back(), stops.size());
    return 0;
}
