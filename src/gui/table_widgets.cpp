// The table and chart views of the history window.
#include "gui/table_widgets.h"

#include <QRegularExpression>
#include <QtCharts/QAreaSeries>

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
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
  if (index.row() < 0 || index.row() >= int(rows_.size())) return {};
  const QString text = rows_[index.row()].value(index.column());
  // Figures line up on their last digit.
  if (role == Qt::TextAlignmentRole) {
    static const QRegularExpression figure(QStringLiteral("^(-?[0-9][0-9,]*(\\.[0-9]+)?%?|上限超過)$"));
    return QVariant::fromValue(Qt::AlignVCenter |
                               (figure.match(text).hasMatch() ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  return text;
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
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
}

void RowsTable::show_rows(const QStringList& columns, const std::vector<QStringList>& rows) {
  if (model_.show(columns, rows)) fit_columns();
}

void RowsTable::fit_columns() {
  // Measuring the first rows is enough: a column's texts are of one kind, and
  // ten thousand rows would take long to measure.
  constexpr int kMeasuredRows = 200;
  constexpr int kPadding = 12;
  const QFontMetrics text(font());
  const QFontMetrics heading(horizontalHeader()->font());
  const int columns = model_.columnCount();
  if (columns == 0) return;
  std::vector<int> widths(std::size_t(columns), 0);
  int total = 0;
  for (int col = 0; col < columns; ++col) {
    int w = heading.horizontalAdvance(model_.headerData(col, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int row = 0; row < std::min(model_.rowCount(), kMeasuredRows); ++row)
      w = std::max(w, text.horizontalAdvance(model_.index(row, col).data().toString()));
    widths[std::size_t(col)] = w + kPadding;
    total += w + kPadding;
  }
  // The room inside the frame (the viewport may not be laid out yet), less the
  // scroll bar that the rows will need.
  int room = width() - 2 * frameWidth();
  const int rows_height = model_.rowCount() * verticalHeader()->defaultSectionSize();
  if (rows_height > height() - 2 * frameWidth() - horizontalHeader()->sizeHint().height())
    room -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int extra = std::max(0, room - total);
  for (int col = 0; col < columns; ++col) {
    const int share = extra / columns + (col < extra % columns ? 1 : 0);
    horizontalHeader()->resizeSection(col, widths[std::size_t(col)] + share);
  }
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
  auto* y = new QValueAxis;
  y->setLabelFormat(QStringLiteral("%.0f"));
  y->setTitleText(QStringLiteral("収支（円）"));
  c->addAxis(x, Qt::AlignBottom);
  c->addAxis(y, Qt::AlignLeft);

  qint64 first = 0, last = 0;
  double low = 0, high = 0;
  bool any = false;
  for (const ChartSeries& s : series) {
    if (s.bars) {
      // Each day's change as a bar from zero, half a day wide either side.
      auto* upper = new QLineSeries;
      auto* lower = new QLineSeries;
      constexpr qint64 kHalfDay = 12LL * 3600 * 1000 * 8 / 10;
      for (const auto& [date, value] : s.points) {
        const qint64 ms = date.startOfDay().toMSecsSinceEpoch();
        for (const auto& [at, v] : {std::pair{ms - kHalfDay, 0.0},
                                    {ms - kHalfDay, value},
                                    {ms + kHalfDay, value},
                                    {ms + kHalfDay, 0.0}}) {
          upper->append(double(at), v);
          lower->append(double(at), 0.0);
        }
        first = any ? std::min(first, ms) : ms;
        last = any ? std::max(last, ms) : ms;
        low = std::min(low, value);
        high = std::max(high, value);
        any = true;
      }
      auto* area = new QAreaSeries(upper, lower);
      // The area does not own its edges: they go with it as its children.
      upper->setParent(area);
      lower->setParent(area);
      area->setName(s.name);
      area->setColor(QColor(120, 160, 220, 150));
      area->setBorderColor(QColor(70, 110, 180));
      c->addSeries(area);
      area->attachAxis(x);
      area->attachAxis(y);
      continue;
    }
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
  QDateTime start = any ? QDateTime::fromMSecsSinceEpoch(first) : QDate::currentDate().startOfDay();
  QDateTime end = any ? QDateTime::fromMSecsSinceEpoch(last) : start;
  // A single day sits in the middle of three, never on the axis.
  if (end <= start) {
    end = start.addDays(1);
    if (any) start = start.addDays(-1);
  }
  x->setRange(start, end);
  // No more ticks than days, so that no date is written twice.
  x->setTickCount(int(std::clamp<qint64>(start.daysTo(end) + 1, 2, 4)));
  if (high - low < 100) high = low + 100;
  y->setRange(low, high);
  y->applyNiceNumbers();
  c->legend()->setVisible(!series.empty());
}

}  // namespace quilo
