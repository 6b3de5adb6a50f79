#include "shell/LogRowGrid.h"

#include "support/Cp1252.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace brimlo {

namespace {

std::string Whole(double litres) {
    return std::to_string(static_cast<long long>(std::llround(litres)));
}

} // namespace

std::string LogFieldText(const LogRecord& log, const std::string& field) {
    if (field == "LOGNUM")
        return std::to_string(log.LOGNUM);
    if (field == "SPECIES")
        return log.SPECIES;
    if (field == "CONDCODE")
        return log.CONDCODE;
    if (field == "PRODCODE")
        return log.PRODCODE;
    if (field == "TOPD")
        return std::to_string(log.TOPD);
    if (field == "LENGTH")
        return std::to_string(log.LENGTH);
    if (field == "ACT_LENGTH")
        return std::to_string(log.ACT_LENGTH);
    if (field == "GROSSVOL")
        return Whole(log.GROSSVOL);
    if (field == "BUTTD")
        return std::to_string(log.BUTTD);
    if (field == "DBH")
        return std::to_string(log.DBH);
    if (field == "CULL_TYPE")
        return log.CULL_TYPE;
    if (field == "CULL_METH")
        return log.CULL_METH;
    if (field == "C1")
        return std::to_string(log.C1);
    if (field == "C2")
        return std::to_string(log.C2);
    if (field == "C3")
        return std::to_string(log.C3);
    if (field == "CULLVOL")
        return Whole(log.CULLVOL);
    if (field == "FLAG")
        return log.FLAG;
    return {};
}

LogRowGrid::LogRowGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

void LogRowGrid::setColumns(std::vector<Column> columns) {
    columns_ = std::move(columns);
    update();
}

void LogRowGrid::invalidate(int current) {
    stale_ = true;
    current_ = current;
    placeLive();
    update();
}

const std::vector<LogRecord>& LogRowGrid::logs() {
    if (stale_ && readLogs) {
        logs_ = readLogs();
        stale_ = false;
    }
    return logs_;
}

int LogRowGrid::visibleRows() const {
    return std::max(1, height() / kRowHeight);
}

void LogRowGrid::FitGridRows(int height) {
    resize(width(), std::max(kRowHeight, height));
}

void LogRowGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeLive();
}

// The current row stays in sight with as little scrolling as possible.
void LogRowGrid::placeLive() {
    const int rows = visibleRows();
    const int index = std::max(0, current_ - 1);
    if (index < top_)
        top_ = index;
    else if (index >= top_ + rows)
        top_ = index - rows + 1;
    if (live_) {
        live_->setGeometry(0, (index - top_) * kRowHeight, width(), kRowHeight);
        live_->setVisible(current_ > 0);
    }
}

void LogRowGrid::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    const int position = top_ + event->position().toPoint().y() / kRowHeight + 1;
    if (onRowClicked && position != current_ && position <= static_cast<int>(logs().size()))
        onRowClicked(position);
}

void LogRowGrid::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    const std::vector<LogRecord>& all = logs();
    const int rows = visibleRows();
    for (int i = 0; i < rows; ++i) {
        const int index = top_ + i;
        const int y = i * kRowHeight;
        painter.setPen(palette().mid().color());
        painter.drawLine(0, y + kRowHeight - 1, width(), y + kRowHeight - 1);
        if (index >= static_cast<int>(all.size()) || index == current_ - 1)
            continue;
        painter.setPen(palette().text().color());
        for (const Column& column : columns_) {
            const QRect cell(column.left + 3, y, column.width - 3, kRowHeight);
            painter.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft,
                             FromCp1252(LogFieldText(all[index], column.field)));
        }
    }
}

} // namespace brimlo
