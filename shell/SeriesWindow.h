// The series window both programs share: how many runs, the seed, what to vary;
// a series run on worker threads while the windows stay responsive; its results
// as a table, a chart for a sweep, and a CSV file.
#pragma once

#include "SeriesJob.h"

#include <QColor>
#include <QDialog>
#include <QFuture>
#include <QFutureWatcher>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QLocale;

namespace shell {

namespace Ui {
class SeriesWindow;
}

// What a sweep varies and over which values, as the window reads it.
struct SweepInput {
    int choice;  // index into SeriesProgram::sweepChoices()
    double from;
    double to;
    int points;
    // Where an error about the range points the user.
    QLineEdit* fromField;
    QLineEdit* toField;
};

// What the series window needs of its program.
class SeriesProgram {
public:
    virtual ~SeriesProgram() = default;
    // What a sweep can vary, named as messages name it.
    virtual QStringList sweepChoices() const = 0;
    // The statistics the sweep's chart can show, its title for each, and the
    // title of its Y axis.
    virtual QStringList chartStatistics() const = 0;
    virtual QString chartTitle(int statistic) const = 0;
    virtual QString chartAxisTitle() const = 0;
    // The series as the program's window shows its settings now. Throws a
    // FieldError naming the field to correct.
    virtual std::unique_ptr<SeriesJob> makeJob(int runs, std::uint64_t seed,
                                               const std::optional<SweepInput>& sweep) const = 0;
};

// A dialog so that Enter presses "Запустить" and Esc closes it; it never blocks
// the main window.
class SeriesWindow : public QDialog {
    Q_OBJECT

public:
    SeriesWindow(const QString& title, std::unique_ptr<SeriesProgram> program, QWidget* parent);
    ~SeriesWindow() override;

    // Reads the sweep's choices again, keeping the chosen one if it is still offered.
    void refreshChoices();

    void startSeries();
    void stopSeries();
    bool running() const;
    // The results as tab-separated text, a row per line, as Ctrl+C copies them.
    QString tableText() const;

protected:
    // However the window goes, its series stops.
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void nameControls();
    void showProgress();
    void finishSeries();
    void showResults();
    void showChart();
    void save() const;
    void enableSettings();

    std::unique_ptr<Ui::SeriesWindow> ui;
    std::unique_ptr<SeriesProgram> program_;
    std::unique_ptr<SeriesJob> job_;
    QThreadPool pool_;
    QFutureWatcher<void> watcher_;
    QTimer progressTimer_;
    QString sweepName_;  // what the last series varied, empty without a sweep
};

// A mean and its interval, "80,062 [80,005; 80,120]": digits enough to tell the
// interval's width to two significant digits, and the mean to three at least.
QString EstimateText(const QLocale& locale, const Estimate& estimate);
// A value as the user typed it, in the locale's format, to 12 significant digits.
QString ValueText(const QLocale& locale, double value);

}  // namespace shell
