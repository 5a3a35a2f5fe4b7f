// The views of the history window's kinds of control: a table of text rows
// under column headings (a Qt model over the rows, so that ten thousand rows
// cost no widget each), and a line chart of values over dates (Qt Charts).
#pragma once

#include "model/control.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <QtCharts/QChartView>

#include <vector>

namespace quilo {

class RowsModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  // Shows these headings and rows; false when they are what it shows already.
  bool show(const QStringList& columns, const std::vector<QStringList>& rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList columns_;
  std::vector<QStringList> rows_;
};

// A read-only table whose rows are picked whole.
class RowsTable : public QTableView {
 public:
  explicit RowsTable(QWidget* parent);
  RowsModel& rows() { return model_; }
  // Shows these rows under these columns and fits the columns to them.
  void show_rows(const QStringList& columns, const std::vector<QStringList>& rows);
  // Marks row `row` as picked (-1: none) without telling anyone.
  void show_picked(int row);

 private:
  // Each column as wide as its heading and its widest text among the first
  // rows (a figure must not be cut short), the room left shared out evenly.
  void fit_columns();

  RowsModel model_{this};
};

// A line chart of the series over a date axis, with a legend.
class SeriesChart : public QChartView {
 public:
  explicit SeriesChart(QWidget* parent);
  // Draws these series; nothing happens when they are what it shows already.
  void show_series(const std::vector<ChartSeries>& series);

 private:
  std::vector<ChartSeries> shown_;
  bool drawn_ = false;
};

}  // namespace quilo
