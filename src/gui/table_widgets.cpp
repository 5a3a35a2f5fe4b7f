// The table and chart views of the history window.
#include "gui/table_widgets.h"

#include <QHeaderView>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace quilo {

bool RowsModel::show(const QStringList& columns, const std::vector<QStringList>& rows) {
  if (columns == columns_ && rows == rows_) return false;
  beginResetModel();
  columns_ = columns;
  rows_ = rows;
  endResetModel();
  return true;
}

int RowsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int RowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  if (index.row() < 0 || index.row() >= int(rows_.size())) return {};
  return rows_[index.row()].value(index.column());
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return columns_.value(section);
}

RowsTable::RowsTable(QWidget* parent) : QTableView(parent) {
  setModel(&model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAlternatingRowColors(true);
  setWordWrap(false);
  verticalHeader()->setVisible(false);
  // Rows of one height: the view lays out ten thousand of them without measuring each.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  horizontalHeader()->setHighlightSections(false);
}

void RowsTable::show_picked(int row) {
  const QSignalBlocker block(selectionModel());
  if (row < 0 || row >= model_.rowCount()) {
    clearSelection();
    return;
  }
  if (currentIndex().row() == row && selectionModel()->isRowSelected(row, {})) return;
  selectionModel()->setCurrentIndex(model_.index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

SeriesChart::SeriesChart(QWidget* parent) : QChartView(parent) {
  setRenderHint(QPainter::Antialiasing);
  chart()->setMargins(QMargins(4, 4, 4, 4));
  chart()->legend()->setAlignment(Qt::AlignBottom);
  chart()->setBackgroundRoundness(0);
}

void SeriesChart::show_series(const std::vector<ChartSeries>& series) {
  if (drawn_ && series == shown_) return;
  drawn_ = true;
  shown_ = series;
  QChart* c = chart();
  c->removeAllSeries();
  for (QAbstractAxis* axis : c->axes()) {
    c->removeAxis(axis);
    delete axis;
  }
  auto* x = new QDateTimeAxis;
  x->setFormat(QStringLiteral("yyyy/MM/dd"));
  x->setTickCount(4);
  auto* y = new QValueAxis;
  y->setLabelFormat(QStringLiteral("%.0f"));
  y->setTitleText(QStringLiteral("収支（円）"));
  c->addAxis(x, Qt::AlignBottom);
  c->addAxis(y, Qt::AlignLeft);

  qint64 first = 0, last = 0;
  double low = 0, high = 0;
  bool any = false;
  for (const ChartSeries& s : series) {
    auto* line = new QLineSeries;
    line->setName(s.name);
    // A balance of a single day is a point, not a line.
    line->setPointsVisible(s.points.size() < 2);
    QList<QPointF> points;
    points.reserve(qsizetype(s.points.size()));
    for (const auto& [date, value] : s.points) {
      const qint64 ms = date.startOfDay().toMSecsSinceEpoch();
      points.append(QPointF(double(ms), value));
      first = any ? std::min(first, ms) : ms;
      last = any ? std::max(last, ms) : ms;
      low = std::min(low, value);
      high = std::max(high, value);
      any = true;
    }
    line->replace(points);
    c->addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
  }
  // An empty chart, or a single day, still gets a readable span.
  const QDateTime start = any ? QDateTime::fromMSecsSinceEpoch(first) : QDate::currentDate().startOfDay();
  QDateTime end = any ? QDateTime::fromMSecsSinceEpoch(last) : start;
  if (end <= start) end = start.addDays(1);
  x->setRange(start, end);
  if (high - low < 100) high = low + 100;
  y->setRange(low, high);
  y->applyNiceNumbers();
  c->legend()->setVisible(!series.empty());
}

}  // namespace quilo
