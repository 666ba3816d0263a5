#include "platform/qt/picture_area.h"

#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstring>

namespace pellark {
namespace {

// Colours are 00BBGGRR; in little-endian memory that is the byte order R, G, B, unused, which
// is what Format_RGBX8888 holds, so pixels are copied as they are.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(Colour) == 4);

constexpr double kUsualRefreshRate = 60.0;

}  // namespace

PictureArea::PictureArea(QWidget* parent) : QWidget(parent) {
  SetRefreshRate(kUsualRefreshRate);
  repaintTimer_.setSingleShot(true);
  repaintTimer_.setTimerType(Qt::PreciseTimer);
  connect(&repaintTimer_, &QTimer::timeout, this, &PictureArea::Repaint);
}

void PictureArea::SetRefreshRate(double hertz) {
  const std::chrono::duration<double> frame(1.0 / (hertz > 0.0 ? hertz : kUsualRefreshRate));
  frameInterval_ = std::chrono::duration_cast<std::chrono::nanoseconds>(frame);
}

void PictureArea::ShowPicture(const Image& image, int width, int height) {
  if (image.Width() != picture_.width() || image.Height() != picture_.height()) {
    picture_ = image.Width() > 0 && image.Height() > 0
                   ? QImage(image.Width(), image.Height(), QImage::Format_RGBX8888)
                   : QImage();
  }
  if (!picture_.isNull()) std::memcpy(picture_.bits(), image.Pixels(), picture_.sizeInBytes());
  shownSize_ = QSize(width, height);
  texts_.clear();
  ScheduleRepaint();
}

void PictureArea::AddText(QPoint topLeft, const QString& text, QColor colour) {
  texts_.push_back({topLeft, text, colour});
  ScheduleRepaint();
}

void PictureArea::SetCentred(bool centred) {
  centred_ = centred;
  update();
}

void PictureArea::SetBackground(QColor colour) {
  if (colour == background_) return;
  background_ = colour;
  if (centred_) ScheduleRepaint();
}

QPoint PictureArea::PictureOrigin() const {
  if (!centred_) return {0, 0};
  return {(width() - shownSize_.width()) / 2, (height() - shownSize_.height()) / 2};
}

void PictureArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (centred_) painter.fillRect(rect(), background_);
  const QPoint origin = PictureOrigin();
  // Without smooth transformation the magnification is nearest-neighbour.
  if (!picture_.isNull() && !shownSize_.isEmpty()) {
    painter.drawImage(QRect(origin, shownSize_), picture_);
  }
  const int ascent = fontMetrics().ascent();
  for (const Text& text : texts_) {
    painter.setPen(text.colour);
    painter.drawText(origin + text.topLeft + QPoint(0, ascent), text.text);
  }
}

void PictureArea::ScheduleRepaint() {
  if (repaintScheduled_) return;
  repaintScheduled_ = true;
  const auto wait = lastRepaint_ + frameInterval_ - std::chrono::steady_clock::now();
  const auto waitMilliseconds = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
  repaintTimer_.start(static_cast<int>(std::max<decltype(waitMilliseconds)>(waitMilliseconds, 0)));
}

void PictureArea::Repaint() {
  repaintScheduled_ = false;
  lastRepaint_ = std::chrono::steady_clock::now();
  update();
}

}  // namespace pellark
