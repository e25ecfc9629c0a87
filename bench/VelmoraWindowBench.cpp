// One press of the run button in the simulation window, offscreen: the run, the
// histograms, and Qt Charts taking the points when control returns to the event loop.
#include "MedianReporter.h"

#include "velmora/ui/Unit1.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>

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
    return 0;
}
