#pragma once

#include "load/LogRecord.h"

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace brimlo {

// The row grid of the log page: one column of 25-pixel rows, one log a
// row. The current log's row is covered by the live controls; the other
// rows are drawn from the logs as the workspace holds them.
class LogRowGrid : public QWidget {
public:
    static constexpr int kRowHeight = 25;

    struct Column {
        std::string field;
        int left = 0;
        int width = 0;
    };

    explicit LogRowGrid(QWidget* parent);

    // The logs in log-number order, read when a row needs drawing.
    std::function<std::vector<LogRecord>()> readLogs;
    void setColumns(std::vector<Column> columns);
    void setLiveRow(QWidget* row) { live_ = row; }
    // A click on another log's row: its position (1-based).
    std::function<void(int position)> onRowClicked;

    // The logs changed (a post, a move, a cancel); current is the current
    // log's position (1-based, 0 for none).
    void invalidate(int current);
    int visibleRows() const;
    int topPosition() const { return top_ + 1; }
    // Refits the grid to height and shows as many rows as fit.
    void FitGridRows(int height);

    const std::vector<LogRecord>& logs();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLive();

    std::vector<Column> columns_;
    std::vector<LogRecord> logs_;
    bool stale_ = true;
    int current_ = 0;
    int top_ = 0;
    QWidget* live_ = nullptr;
};

// A log field as a row shows it ("" for an empty code).
std::string LogFieldText(const LogRecord& log, const std::string& field);

} // namespace brimlo
