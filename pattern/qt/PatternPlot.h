#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

#include "pattern/PatternFile.h"
#include "pattern/PlotAxes.h"

class QPainter;

namespace braxel::qt {

// Where the parts of the plot go inside the area drawn on.
struct PlotLayout {
  QRect profile;  // the profile's frame; 2theta runs along it
  QRect markers;  // the strip of reflection markers under it

  double XOf(double twoTheta, AxisRange range) const;
  double TwoThetaAt(double x, AxisRange range) const;
};

PlotLayout MakePlotLayout(const QRect& area, const QFontMetrics& metrics);

// Draws the pattern over the 2theta range, with both axes, their labels and the markers.
void PaintPattern(QPainter& painter, const QRect& area, const Pattern& pattern, AxisRange range,
                  const QString& title);

// The plot as a picture of the given size.
QImage RenderPattern(const Pattern& pattern, AxisRange range, const QString& title, QSize size);

// The plot on screen: drag across it to zoom into a 2theta range; a double-click or a
// right-click shows the whole range again. A click tells its 2theta, and one 2theta can be
// marked across the plot.
class PatternPlot : public QWidget {
  Q_OBJECT

 public:
  explicit PatternPlot(QWidget* parent = nullptr);

  void SetPattern(const Pattern& pattern, const QString& title);
  // No pattern: the placeholder text is shown instead.
  void Clear();
  void SetPlaceholder(const QString& text);
  bool HasPattern() const { return hasPattern_; }
  const Pattern& CurrentPattern() const { return pattern_; }
  const QString& Title() const { return title_; }
  AxisRange Range() const { return range_; }
  void ShowAll();
  // A line across profile and markers at the 2theta; nothing removes it.
  void MarkTwoTheta(std::optional<double> twoTheta);
  std::optional<double> MarkedTwoTheta() const { return marked_; }

  QSize sizeHint() const override { return {900, 560}; }

 signals:
  // Where the pointer is, as a text for the status bar; empty outside the plot.
  void PointerMoved(const QString& where);
  // A left click (no drag) on the profile or the markers, with the 2theta of a few pixels on
  // either side of it.
  void TwoThetaClicked(double twoTheta, double tolerance);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  PlotLayout Layout() const;

  Pattern pattern_;
  QString title_;
  bool hasPattern_ = false;
  QString placeholder_;
  std::optional<double> marked_;
  AxisRange range_;
  std::optional<int> dragStart_;  // x where the left button went down
  int dragNow_ = 0;
};

}  // namespace braxel::qt
