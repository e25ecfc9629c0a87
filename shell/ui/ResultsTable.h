// Tables of results as the windows show them: texts and numbers in the user's
// locale, and the whole table copied by Ctrl+C as tab-separated text that a
// spreadsheet reads.
#pragma once

#include "shell/core/Series.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class QTableWidget;

namespace shell {

// A cell: a text, a number (shown to `digits` significant digits, or with
// `decimals` digits after the point where that is not negative) or a mean with
// its interval.
struct TableCell {
    enum class Kind { Text, Number, Estimate };
    Kind kind;
    QString text;
    double number = 0;
    int digits = 12;
    Estimate estimate{};
    int decimals = -1;

    static TableCell Text(const QString& text) { return {Kind::Text, text}; }
    static TableCell Number(double number, int digits = 12) { return {Kind::Number, {}, number, digits}; }
    static TableCell Fixed(double number, int decimals) { return {Kind::Number, {}, number, 12, {}, decimals}; }
    static TableCell Mean(const Estimate& estimate) { return {Kind::Estimate, {}, 0, 12, estimate}; }
};

using TableRows = std::vector<std::vector<TableCell>>;

// What a QTableWidget shows, kept as numbers so that a copy loses no digits.
class ResultsTable : public QObject {
public:
    explicit ResultsTable(QTableWidget* table);

    // Column titles may break into lines; a copy joins them with spaces.
    void show(const QStringList& header, TableRows rows);
    void clear();

    // The table as Ctrl+C copies it: a row per line, cells separated by tabs,
    // numbers to 12 significant digits with the locale's decimal separator,
    // and a mean's bounds in columns of their own. Empty while it shows nothing.
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* table_;
    QStringList header_;
    TableRows rows_;
};

}  // namespace shell
