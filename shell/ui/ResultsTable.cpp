// The table's items are made anew for each result; a copy reads the kept
// numbers rather than the items' rounded texts.
#include "ResultsTable.h"

#include "Application.h"
#include "NumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTableWidget>

namespace shell {
namespace {

QString cellText(const QLocale& locale, const TableCell& cell)
{
    switch (cell.kind) {
    case TableCell::Kind::Text:
        return cell.text;
    case TableCell::Kind::Number:
        return cell.decimals >= 0 ? locale.toString(cell.number, 'f', cell.decimals)
                                  : locale.toString(cell.number, 'g', cell.digits);
    case TableCell::Kind::Estimate:
        return EstimateText(locale, cell.estimate);
    }
    return {};
}

}  // namespace

ResultsTable::ResultsTable(QTableWidget* table)
    : QObject(table)
    , table_(table)
{
    table_->installEventFilter(this);
}

void ResultsTable::show(const QStringList& header, TableRows rows)
{
    const QLocale locale = NumberLocale();
    header_ = header;
    rows_ = std::move(rows);
    table_->setColumnCount(static_cast<int>(header_.size()));
    table_->setHorizontalHeaderLabels(header_);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        for (std::size_t column = 0; column < rows_[row].size(); ++column)
            table_->setItem(static_cast<int>(row), static_cast<int>(column),
                            new QTableWidgetItem(cellText(locale, rows_[row][column])));
    }
    table_->resizeColumnsToContents();
}

void ResultsTable::clear()
{
    header_.clear();
    rows_.clear();
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
}

QString ResultsTable::text() const
{
    if (header_.isEmpty())
        return {};
    const QLocale locale = NumberLocale();
    const QString lower = QStringLiteral(" — нижняя граница");
    const QString upper = QStringLiteral(" — верхняя граница");
    QStringList lines;
    QStringList cells;
    // A mean's column keeps its title and its bounds get two more.
    for (qsizetype column = 0; column < header_.size(); ++column) {
        const QString title = QString(header_[column]).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const bool estimate =
            !rows_.empty() && rows_.front()[static_cast<std::size_t>(column)].kind == TableCell::Kind::Estimate;
        cells << title;
        if (estimate)
            cells << title + lower << title + upper;
    }
    lines << cells.join(QLatin1Char('\t'));
    const auto number = [&locale](double value) { return locale.toString(value, 'g', 12); };
    for (const std::vector<TableCell>& row : rows_) {
        cells.clear();
        for (const TableCell& cell : row) {
            switch (cell.kind) {
            case TableCell::Kind::Text:
                cells << cell.text;
                break;
            case TableCell::Kind::Number:
                cells << number(cell.number);
                break;
            case TableCell::Kind::Estimate:
                cells << number(cell.estimate.mean) << number(cell.estimate.low) << number(cell.estimate.high);
                break;
            }
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Ctrl+C on the table copies all of it, not the current cell alone.
bool ResultsTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        guarded([this] { QApplication::clipboard()->setText(text()); });
        return true;
    }
    return false;
}

}  // namespace shell
