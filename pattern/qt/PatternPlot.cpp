#include "pattern/qt/PatternPlot.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace braxel::qt {
namespace {

const QColor kProfileLine(28, 58, 140);
const QColor kProfileFill(28, 58, 140, 38);
const QColor kMarker(178, 34, 34);
const QColor kGrid(225, 228, 235);
const QColor kFrame(70, 70, 80);
const QColor kText(30, 30, 35);

constexpr int kMarkerStrip = 26;

QString TickText(double value, int decimals) { return QString::number(value, 'f', decimals); }

// The profile's line through the points inside the 2theta range and one beyond either end.
// Where there are more of them than twice the pixel columns, each column gets only its lowest
// and its highest value, in the order they come, so drawing costs no more than a pixel shows.
struct ProfileLine {
  QPolygonF points;
  bool thinned = false;
};

template <class YOf>
ProfileLine MakeProfileLine(const Pattern& pattern, AxisRange range, const PlotLayout& layout,
                            const YOf& yOf) {
  const auto shown = [&](double angle) {
    return !(angle < range.low - pattern.step || angle > range.high + pattern.step);
  };
  std::size_t count = 0;
  for (std::size_t i = 0; i < pattern.intensities.size(); ++i) {
    if (shown(pattern.TwoThetaAt(i))) ++count;
  }
  ProfileLine line;
  line.thinned = count > 2 * static_cast<std::size_t>(std::max(1, layout.profile.width()));
  bool open = false;  // a column is being gathered
  double column = 0.0;
  int low = 0;
  int high = 0;
  bool lowFirst = true;
  const auto close = [&] {
    const double x = column + 0.5;
    line.points << QPointF(x, yOf(lowFirst ? low : high));
    if (low != high) line.points << QPointF(x, yOf(lowFirst ? high : low));
  };
  for (std::size_t i = 0; i < pattern.intensities.size(); ++i) {
    const double angle = pattern.TwoThetaAt(i);
    if (!shown(angle)) continue;
    const double x = layout.XOf(angle, range);
    const int value = pattern.intensities[i];
    if (!line.thinned) {
      line.points << QPointF(x, yOf(value));
      continue;
    }
    if (open && std::floor(x) == column) {
      if (value < low) {
        low = value;
        lowFirst = false;
      } else if (value > high) {
        high = value;
        lowFirst = true;
      }
      continue;
    }
    if (open) close();
    open = true;
    column = std::floor(x);
    low = high = value;
    lowFirst = true;
  }
  if (open) close();
  return line;
}

}  // namespace

double PlotLayout::XOf(double twoTheta, AxisRange range) const {
  return profile.left() + (twoTheta - range.low) / range.Width() * profile.width();
}

double PlotLayout::TwoThetaAt(double x, AxisRange range) const {
  return range.low + (x - profile.left()) / profile.width() * range.Width();
}

PlotLayout MakePlotLayout(const QRect& area, const QFontMetrics& metrics) {
  const int line = metrics.height();
  const int left = area.left() + line + 8 + metrics.horizontalAdvance("00000") + 10;
  const int right = area.right() - 24;
  const int top = area.top() + line * 2 + 6;
  const int markersBottom = area.bottom() - line * 2 - 16;
  PlotLayout layout;
  layout.markers = QRect(QPoint(left, markersBottom - kMarkerStrip), QPoint(right, markersBottom));
  layout.profile = QRect(QPoint(left, top), QPoint(right, layout.markers.top() - 6));
  return layout;
}

void PaintPattern(QPainter& painter, const QRect& area, const Pattern& pattern, AxisRange range,
                  const QString& title) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const PlotLayout layout = MakePlotLayout(area, metrics);
  const QRect& box = layout.profile;
  const AxisRange intensity = IntensityRange(pattern, range);
  const auto yOf = [&](double value) {
    return box.bottom() - (value - intensity.low) / intensity.Width() * box.height();
  };

  // Grid and tick labels.
  const AxisTicks xTicks = MakeTicks(range, std::max(2, box.width() / 70));
  const AxisTicks yTicks = MakeTicks(intensity, std::max(2, box.height() / 45));
  painter.setPen(QPen(kGrid, 1));
  for (double value : xTicks.values) {
    const double x = layout.XOf(value, range);
    painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
  }
  for (double value : yTicks.values) {
    const double y = yOf(value);
    painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
  }
  painter.setPen(kText);
  for (double value : xTicks.values) {
    const double x = layout.XOf(value, range);
    painter.setPen(QPen(kFrame, 1));
    painter.drawLine(QPointF(x, layout.markers.bottom()), QPointF(x, layout.markers.bottom() + 5));
    painter.setPen(kText);
    const QString text = TickText(value, xTicks.decimals);
    painter.drawText(QRectF(x - 40, layout.markers.bottom() + 7, 80, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, text);
  }
  for (double value : yTicks.values) {
    const double y = yOf(value);
    painter.setPen(QPen(kFrame, 1));
    painter.drawLine(QPointF(box.left() - 5, y), QPointF(box.left(), y));
    painter.setPen(kText);
    painter.drawText(QRectF(area.left(), y - metrics.height() / 2.0, box.left() - 8 - area.left(),
                            metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, TickText(value, yTicks.decimals));
  }

  // The profile, filled below its line, clipped to its frame.
  painter.save();
  painter.setClipRect(box.adjusted(1, 1, 0, 0));
  const ProfileLine profile = MakeProfileLine(pattern, range, layout, yOf);
  const QPolygonF& points = profile.points;
  if (!points.isEmpty()) {
    QPolygonF fill = points;
    fill << QPointF(points.back().x(), yOf(intensity.low))
         << QPointF(points.front().x(), yOf(intensity.low));
    // Thinned, the line is a run of pixel columns: smoothing its fill's edge shows nothing, and
    // the joins of a wider pen would cost more than all the rest of the drawing.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kProfileFill);
    painter.setRenderHint(QPainter::Antialiasing, !profile.thinned);
    painter.drawPolygon(fill);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kProfileLine, profile.thinned ? 1.0 : 1.4, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points);
  }
  painter.restore();

  // Reflection markers in their strip.
  painter.save();
  painter.setClipRect(layout.markers);
  painter.setPen(QPen(kMarker, 1.2));
  for (double angle : pattern.markers) {
    if (angle < range.low || angle > range.high) continue;
    const double x = layout.XOf(angle, range);
    painter.drawLine(QPointF(x, layout.markers.top() + 4), QPointF(x, layout.markers.bottom() - 4));
  }
  painter.restore();

  // Frames, axis labels and title.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kFrame, 1));
  painter.drawRect(box);
  painter.drawRect(layout.markers);
  painter.setPen(kText);
  painter.drawText(
      QRect(box.left(), area.bottom() - metrics.height() - 4, box.width(), metrics.height()),
      Qt::AlignHCenter, QString::fromUtf8("2\u03b8 (deg)"));
  painter.save();
  painter.translate(area.left() + 4, box.center().y());
  painter.rotate(-90);
  painter.drawText(QRect(-box.height() / 2, 0, box.height(), metrics.height()), Qt::AlignHCenter,
                   QStringLiteral("Intensity"));
  painter.restore();
  const QFont normal = painter.font();
  QFont bold = normal;
  bold.setBold(true);
  painter.setFont(bold);
  painter.drawText(QRect(box.left(), area.top() + 6, box.width(), metrics.height() + 4),
                   Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.setFont(normal);
  const QString legend = QStringLiteral("%1 points, %2 reflections")
                             .arg(pattern.intensities.size())
                             .arg(pattern.markers.size());
  painter.drawText(QRect(box.left(), area.top() + 6, box.width(), metrics.height() + 4),
                   Qt::AlignRight | Qt::AlignVCenter, legend);
  painter.restore();
}

QImage RenderPattern(const Pattern& pattern, AxisRange range, const QString& title, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPattern(painter, image.rect(), pattern, range, title);
  return image;
}

PatternPlot::PatternPlot(QWidget* parent)
    : QWidget(parent), placeholder_(tr("No pattern: File > Open...")) {
  setMouseTracking(true);
  setMinimumSize(420, 280);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void PatternPlot::SetPattern(const Pattern& pattern, const QString& title) {
  pattern_ = pattern;
  title_ = title;
  hasPattern_ = true;
  ShowAll();
}

void PatternPlot::Clear() {
  hasPattern_ = false;
  pattern_ = Pattern();
  marked_.reset();
  dragStart_.reset();
  update();
}

void PatternPlot::SetPlaceholder(const QString& text) {
  placeholder_ = text;
  update();
}

void PatternPlot::MarkTwoTheta(std::optional<double> twoTheta) {
  marked_ = twoTheta;
  update();
}

void PatternPlot::ShowAll() {
  range_ = FullTwoThetaRange(pattern_);
  dragStart_.reset();
  update();
}

PlotLayout PatternPlot::Layout() const { return MakePlotLayout(rect(), fontMetrics()); }

void PatternPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!hasPattern_) {
    painter.fillRect(rect(), Qt::white);
    painter.setPen(kText);
    painter.drawText(rect(), Qt::AlignCenter, placeholder_);
    return;
  }
  PaintPattern(painter, rect(), pattern_, range_, title_);
  if (marked_ && marked_ >= range_.low && marked_ <= range_.high) {
    const PlotLayout layout = Layout();
    const double x = layout.XOf(*marked_, range_);
    painter.setPen(QPen(QColor(230, 120, 0), 2));
    painter.drawLine(QPointF(x, layout.profile.top()), QPointF(x, layout.markers.bottom()));
  }
  if (dragStart_) {
    const QRect box = Layout().profile;
    const int left = std::clamp(std::min(*dragStart_, dragNow_), box.left(), box.right());
    const int right = std::clamp(std::max(*dragStart_, dragNow_), box.left(), box.right());
    const QRect band(QPoint(left, box.top()), QPoint(right, box.bottom()));
    painter.fillRect(band, QColor(255, 170, 0, 50));
    painter.setPen(QPen(QColor(220, 130, 0), 1, Qt::DashLine));
    painter.drawRect(band);
  }
}

void PatternPlot::mousePressEvent(QMouseEvent* event) {
  if (!hasPattern_) return;
  if (event->button() == Qt::RightButton) {
    ShowAll();
  } else if (event->button() == Qt::LeftButton) {
    const PlotLayout layout = Layout();
    const QPoint point = event->position().toPoint();
    if (layout.profile.contains(point) || layout.markers.contains(point)) {
      dragStart_ = dragNow_ = point.x();
    }
  }
}

void PatternPlot::mouseMoveEvent(QMouseEvent* event) {
  if (!hasPattern_) return;
  const QPoint point = event->position().toPoint();
  const PlotLayout layout = Layout();
  if (dragStart_) {
    dragNow_ = point.x();
    update();
  }
  if (!layout.profile.contains(point) && !layout.markers.contains(point)) {
    emit PointerMoved(QString());
    return;
  }
  const double angle = layout.TwoThetaAt(point.x(), range_);
  const AxisRange intensity = IntensityRange(pattern_, range_);
  const double value = intensity.low + (layout.profile.bottom() - point.y()) /
                                           static_cast<double>(layout.profile.height()) *
                                           intensity.Width();
  emit PointerMoved(layout.profile.contains(point)
                        ? QString::fromUtf8("2\u03b8 = %1\u00b0   I = %2")
                              .arg(angle, 0, 'f', 3)
                              .arg(value, 0, 'f', 0)
                        : QString::fromUtf8("2\u03b8 = %1\u00b0").arg(angle, 0, 'f', 3));
}

void PatternPlot::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragStart_ || event->button() != Qt::LeftButton) return;
  const PlotLayout layout = Layout();
  const int x = event->position().toPoint().x();
  const double from = layout.TwoThetaAt(*dragStart_, range_);
  const double to = layout.TwoThetaAt(x, range_);
  const bool click = std::abs(x - *dragStart_) <= 3;
  dragStart_.reset();
  // Narrower than a few pixels is a click, and never below two grid steps.
  const double pixel = range_.Width() / layout.profile.width();
  const double minimum = std::max(4 * pixel, 2 * pattern_.step);
  if (const std::optional<AxisRange> zoomed =
          DraggedRange(from, to, FullTwoThetaRange(pattern_), minimum)) {
    range_ = *zoomed;
  } else if (click) {
    emit TwoThetaClicked(to, 6 * pixel);
  }
  update();
}

void PatternPlot::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && hasPattern_) ShowAll();
}

}  // namespace braxel::qt
