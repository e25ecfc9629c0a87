// The series window both programs share: how many runs, the seed, what to vary;
// a series run on worker threads while the windows stay responsive; its results
// as a table, a chart for a sweep, and a CSV file.
#pragma once

#include "ResultsTable.h"
#include "SweepLine.h"

#include "shell/core/SeriesModel.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QLocale;

namespace shell {

namespace Ui {
class SeriesWindow;
}

class SeriesRunner;

// What a sweep can vary: its name, as the window lists it and messages name
// it, and its parameter's key.
struct SweepChoice {
    QString name;
    std::string key;
};

// A finished series as the window shows it.
class SeriesPresentation {
public:
    virtual ~SeriesPresentation() = default;
    // The columns' titles and the rows, a cell a column.
    virtual QStringList tableHeader() const = 0;
    virtual TableRows tableRows() const = 0;
    // The chart of a sweep for one of the program's chart statistics.
    virtual std::vector<SweepLine> sweepLines(int statistic) const = 0;
    // What the command line prints for the same series.
    virtual std::string csv() const = 0;
};

// A presentation of the points a series kept; `writer` writes the file as the
// command line prints it.
class PointsPresentation : public SeriesPresentation {
public:
    using CsvWriter = std::function<std::string(std::span<const SeriesPoint> points)>;
    PointsPresentation(const SeriesModel& model, std::vector<SeriesPoint> points, CsvWriter writer);
    std::string csv() const override { return csv_(points_); }

protected:
    bool swept() const { return swept_; }
    const std::vector<SeriesPoint>& points() const { return points_; }
    // The column of the swept value, if any, before the columns of `titles`.
    QStringList header(const QStringList& titles) const;
    // A row of `point` that begins with its swept value, if any.
    std::vector<TableCell> row(const SeriesPoint& point) const;

private:
    bool swept_;
    std::vector<SeriesPoint> points_;
    CsvWriter csv_;
};

// What the series window needs of its program: the only place that knows both
// the program's windows and its series.
class SeriesProgram {
public:
    virtual ~SeriesProgram() = default;
    virtual std::vector<SweepChoice> sweepChoices() const = 0;
    // A bound of a sweep of `key` as typed; throws Exception for a value that
    // the parameter cannot take. Any number by default.
    virtual double readSweepBound(const std::string& key, std::string_view text) const;
    // Whether only the whole part of the parameter of `key` counts, so that a
    // sweep of it takes whole values. None by default.
    virtual bool wholeSweep(const std::string& key) const;
    // The statistics the sweep's chart can show, its title for each, and the
    // title of its Y axis.
    virtual QStringList chartStatistics() const = 0;
    virtual QString chartTitle(int statistic) const = 0;
    virtual QString chartAxisTitle() const = 0;
    // The series of the main window's settings as they are now. Throws a
    // FieldError naming the field to correct.
    virtual std::shared_ptr<const SeriesModel> makeModel(std::uint64_t seed, std::optional<Sweep> sweep) const = 0;
    // How messages name the parameter of `key`, and the field it is typed in.
    virtual QString parameterName(const std::string& key) const = 0;
    virtual QWidget* parameterField(const std::string& key) const = 0;
    virtual std::unique_ptr<SeriesPresentation> present(const SeriesModel& model,
                                                        std::vector<SeriesPoint> points) const = 0;
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

protected:
    // However the window goes, its series stops.
    void hideEvent(QHideEvent* event) override;

private:
    void connectHandlers();
    void nameControls();
    int readRuns() const;
    std::uint64_t readSeed() const;
    std::optional<Sweep> readSweep() const;
    void clearResults();
    void showProgress();
    void finishSeries();
    // Throws the series' failure as a FieldError of the field to correct.
    void reportFailure(const SeriesModel& model, const SeriesFailure& failure) const;
    void showResults();
    QString statusText(const std::vector<SeriesPoint>& points, int total, int runs) const;
    void showChartPanel();
    void showChart();
    void enableScaleSwitch();
    void save() const;
    void enableSettings();

    std::unique_ptr<Ui::SeriesWindow> ui;
    std::unique_ptr<SeriesProgram> program_;
    std::vector<SweepChoice> choices_;
    std::unique_ptr<SeriesRunner> runner_;
    std::unique_ptr<SeriesPresentation> presentation_;
    ResultsTable* table_ = nullptr;
    QFutureWatcher<void> watcher_;
    QTimer progressTimer_;
    QString sweepName_;       // what the last series varied, empty without a sweep
    QList<int> split_{2, 3};  // the table's and the chart's shares of the results area
};

}  // namespace shell
