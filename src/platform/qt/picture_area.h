#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <vector>

#include "platform/image.h"

namespace pellark {

// The window's content below the menu bar. It shows a copy of the last picture handed to it,
// magnified, and the texts drawn over it since. However often the picture changes, it asks Qt
// for at most one repaint per display frame, so a program that redraws tens of thousands of
// times a second pays for a copy of the pixels, not for painting.
class PictureArea : public QWidget {
 public:
  explicit PictureArea(QWidget* parent);

  // The display's refresh rate; 0 or less when unknown, then 60 Hz is assumed.
  void SetRefreshRate(double hertz);
  // Replaces the picture and drops the texts; every image pixel becomes a solid block.
  void ShowPicture(const Image& image, int width, int height);
  // Draws text with its top-left corner at topLeft, glyphs only, until the next picture.
  void AddText(QPoint topLeft, const QString& text, QColor colour);
  // Centred: the picture (and its texts) in the middle of the area, the rest filled with the
  // background colour; otherwise at the top-left corner.
  void SetCentred(bool centred);
  void SetBackground(QColor colour);
  // Where the picture's top-left corner is shown.
  QPoint PictureOrigin() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Text {
    QPoint topLeft;
    QString text;
    QColor colour;
  };

  void ScheduleRepaint();
  void Repaint();

  QImage picture_;
  QSize shownSize_;
  bool centred_ = false;
  QColor background_ = Qt::black;
  std::vector<Text> texts_;
  QTimer repaintTimer_;
  bool repaintScheduled_ = false;
  std::chrono::steady_clock::time_point lastRepaint_;
  std::chrono::nanoseconds frameInterval_;
};

}  // namespace pellark
