// The series window both programs share: how many runs, the seed, what to vary;
// a series run on worker threads while the windows stay responsive; its results
// as a table, a chart for a sweep, and a CSV file.
#pragma once

#include "ResultsTable.h"
#include "SweepLine.h"

#include "shell/core/SeriesModel.h"
#include "shell/headless/Experiment.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QJsonObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
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

// What the table and the chart compare each point with: nothing, or the kept
// point `baseline`, by the chart's statistic.
struct Comparison {
    std::optional<std::size_t> baseline;
    int statistic = 0;
};

// A finished series as the window shows it.
class SeriesPresentation {
public:
    virtual ~SeriesPresentation() = default;
    // The columns' titles and the rows, a cell a column; with a baseline, a
    // column says whether each row differs from it.
    virtual QStringList tableHeader(const Comparison& comparison) const = 0;
    virtual TableRows tableRows(const Comparison& comparison) const = 0;
    // The statistics a sweep's chart can show, its title and Y axis' title for
    // each (the statistic's name by default; the window adds that the chart
    // shows means over the runs), and its lines: the statistic's means, or with
    // a baseline their paired differences from it.
    virtual QStringList chartStatistics() const = 0;
    virtual QString chartTitle(int statistic) const;
    virtual QString chartAxisTitle(int statistic) const;
    virtual std::vector<SweepLine> sweepLines(int statistic, std::optional<std::size_t> baseline) const = 0;
    // What the command line prints for the same series.
    virtual std::string csv() const = 0;
    // What the series tells beyond its table, for the window's status; none by default.
    virtual QString conclusion() const;
    // The statistic a chart shows first: the first by default.
    virtual int defaultStatistic() const;
};

// A presentation of the points a series kept, with their rows; `writer` writes
// the file as the command line prints it.
class PointsPresentation : public SeriesPresentation {
public:
    using CsvWriter = std::function<std::string(std::span<const SeriesPoint> points)>;
    PointsPresentation(const SeriesModel& model, std::vector<SeriesPoint> points, CsvWriter writer);
    std::string csv() const override { return csv_(points_); }

protected:
    bool swept() const { return swept_; }
    const std::vector<SeriesPoint>& points() const { return points_; }
    // The column of the swept value, if any, before the columns of `titles`,
    // and with a baseline the column of the comparison after them.
    QStringList header(const QStringList& titles, const Comparison& comparison) const;
    // Titles of a table's columns with their lines joined: a chart's title and
    // axis have room for one line.
    static QStringList oneLine(QStringList titles);
    // A row of `point` that begins with its swept value, if any.
    std::vector<TableCell> row(const SeriesPoint& point) const;
    // The cell of the comparison of `statistic` at `point` with the baseline:
    // "базовая", "да" when the paired difference's interval leaves out 0, "нет".
    TableCell comparisonCell(std::size_t point, int statistic, const Comparison& comparison) const;
    // A statistic's estimate at a point, or its paired difference from the baseline.
    Estimate estimateAt(std::size_t point, int statistic, std::optional<std::size_t> baseline) const;
    // A line of a statistic over the points, in the chart's terms.
    SweepLine line(const QString& name, const QColor& color, int statistic, std::optional<std::size_t> baseline) const;

private:
    bool swept_;
    int statistics_;
    std::vector<SeriesPoint> points_;
    CsvWriter csv_;
    mutable std::map<std::size_t, std::vector<std::vector<Estimate>>> differences_;  // by baseline
};

// What a sweep's measure can be: its name in the window and its key, as
// --measures names it.
struct MeasureChoice {
    QString name;
    std::string key;
};

// A setting of the program's own beside the runs: its caption and key.
struct ExtraField {
    QString caption;
    std::string key;
};

// What the series window read of its own fields, for the program to make its series of.
struct SeriesRequest {
    std::uint64_t seed;
    std::optional<Sweep> sweep;
    std::string measure;
    std::map<std::string, double> extras;  // the program's own settings, 0 where left empty
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
    virtual std::vector<MeasureChoice> measureChoices() const = 0;
    // Settings of the program's own, under a frame of their own; none by default.
    virtual QString extrasTitle() const;
    virtual std::vector<ExtraField> extraFields() const;
    // Whether a series of `measure` counts the program's own settings; one that
    // does not shows them unavailable. All do by default.
    virtual bool usesExtras(const std::string& measure) const;
    // An extra field's value as typed; throws Exception. Any number by default.
    virtual double readExtra(const std::string& key, std::string_view text) const;
    // The series of the main window's settings as they are now. Throws a
    // FieldError naming the field to correct.
    virtual std::shared_ptr<const SeriesModel> makeModel(const SeriesRequest& request) const = 0;
    // How messages name the parameter of `key`, and the field it is typed in.
    virtual QString parameterName(const std::string& key) const = 0;
    virtual QWidget* parameterField(const std::string& key) const = 0;
    virtual std::unique_ptr<SeriesPresentation> present(const SeriesModel& model,
                                                        std::vector<SeriesPoint> points) const = 0;
    // The main window's settings as an experiment keeps them, with the program's
    // own of the series window; throws a FieldError as makeModel does.
    virtual QJsonObject experimentSettings(const std::map<std::string, double>& extras) const = 0;
};

// A dialog so that Enter presses "Запустить" and Esc closes it; it never blocks
// the main window. It keeps its settings (runs, sweep, measures, precision and
// the program's own) for the next start of the program.
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

    // The settings as an experiment keeps them, and the program's own by key;
    // fields are read as they stand, and a field that holds no number gives
    // its FieldError.
    SeriesSetup setup() const;
    std::map<std::string, double> extras() const;
    // The experiment of both windows' settings as they stand; throws a
    // FieldError for a field that holds no number.
    QByteArray experiment() const;
    // Throws Exception for an experiment's measures that the program does not offer.
    void check(const SeriesSetup& setup) const;
    // Shows the settings of an experiment, once the main window shows its own
    // so that the parameter it varies is offered.
    void apply(const SeriesSetup& setup, const std::map<std::string, double>& extras);

protected:
    // However the window goes, its series stops.
    void hideEvent(QHideEvent* event) override;

private:
    void connectHandlers();
    void nameControls();
    void addExtraFields();
    int readRuns() const;
    std::uint64_t readSeed() const;
    std::optional<double> readPrecision() const;
    std::optional<Sweep> readSweep() const;
    std::string measure() const;
    void clearResults();
    void showProgress();
    void finishSeries();
    // Throws the series' failure as a FieldError of the field to correct.
    void reportFailure(const SeriesModel& model, const SeriesFailure& failure) const;
    void showResults();
    void showTable();
    QString statusText(const std::vector<SeriesPoint>& points, int total, int runs) const;
    QString precisionText(const std::vector<SeriesPoint>& points, int runs) const;
    void showChartPanel();
    void showChart();
    void enableScaleSwitch();
    void save() const;
    void enableSettings();
    void remember() const;
    void recall();

    std::unique_ptr<Ui::SeriesWindow> ui;
    std::unique_ptr<SeriesProgram> program_;
    std::vector<SweepChoice> choices_;
    std::vector<MeasureChoice> measures_;
    std::vector<std::pair<ExtraField, QLineEdit*>> extraFields_;
    std::unique_ptr<SeriesRunner> runner_;
    std::unique_ptr<SeriesPresentation> presentation_;
    std::vector<SeriesPoint> kept_;
    ResultsTable* table_ = nullptr;
    QFutureWatcher<void> watcher_;
    bool running_ = false;
    QTimer progressTimer_;
    QByteArray experiment_;   // the last series' experiment, saved beside its results
    QString sweepName_;       // what the last series varied, empty without a sweep
    QList<int> split_{2, 3};  // the table's and the chart's shares of the results area
};

}  // namespace shell
