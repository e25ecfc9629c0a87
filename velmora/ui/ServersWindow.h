// velmora's "Серверы" window: what happened inside the network during the last
// press of "Смоделировать": each server's load on the network's diagram, its
// measures in a table, and its queue over time.
#pragma once

#include "velmora/model/Servers.h"

#include "shell/ui/ResultsTable.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace velmora {

namespace Ui {
class ServersWindow;
}

// Asks where to save the task records of `run` and writes them as CSV.
void saveTaskRecords(QWidget* parent, const TRunWorkspace& run);

// Not modal, so that the main window goes on taking presses, which it follows.
class ServersWindow : public QDialog {
    Q_OBJECT

public:
    explicit ServersWindow(QWidget* parent = nullptr);
    ~ServersWindow() override;

    // The tables of the last press; they must stay until the next call. The
    // window reads them at once while it is shown, or else when it is shown
    // again, so that a press costs nothing more while the window is closed.
    void showRun(const TRunWorkspace* run);

    // The table as Ctrl+C copies it: tab-separated, numbers in the locale's format.
    QString tableText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void arrangeParts();
    void connectHandlers();
    void refresh();
    void fillTable(const NetworkMeasures& measures);
    void save();

    std::unique_ptr<Ui::ServersWindow> ui;
    const TRunWorkspace* run_ = nullptr;
    bool stale_ = false;
    std::optional<NetworkMeasures> measures_;
    shell::ResultsTable* table_;
};

}  // namespace velmora
