// Rectangle and Line: decorations drawn by the platform.
#include <QPainter>
#include <QWidget>

#include "platform/ui/Controls.h"

namespace {
QColor Opaque(int32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u); }

void Repaint(QWidget* widget) {
  if (widget) widget->update();
}

class RectangleWidget : public QWidget {
 public:
  RectangleWidget(QWidget* parent, std::weak_ptr<const Rectangle> owner) : QWidget(parent), owner_(owner) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = owner_.lock();
    if (!owner) return;
    QPainter p(this);
    int b = owner->BorderWidth();
    p.fillRect(rect(), Opaque(owner->FillColor()));
    for (int i = 0; i < b; ++i) {
      p.setPen(Opaque(owner->TopLeftColor()));
      p.drawLine(i, i, width() - 1 - i, i);
      p.drawLine(i, i, i, height() - 1 - i);
      p.setPen(Opaque(owner->BottomRightColor()));
      p.drawLine(i, height() - 1 - i, width() - 1 - i, height() - 1 - i);
      p.drawLine(width() - 1 - i, i, width() - 1 - i, height() - 1 - i);
    }
  }

 private:
  std::weak_ptr<const Rectangle> owner_;
};

// Covers the line's bounding box on the window; lets the mouse through.
class LineWidget : public QWidget {
 public:
  LineWidget(QWidget* parent, std::weak_ptr<const Line> owner) : QWidget(parent), owner_(owner) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = owner_.lock();
    if (!owner) return;
    QPainter p(this);
    p.setPen(QPen(Opaque(owner->LineColor()), owner->BorderWidth()));
    QPoint origin = pos();
    p.drawLine(QPoint(owner->X1(), owner->Y1()) - origin, QPoint(owner->X2(), owner->Y2()) - origin);
  }

 private:
  std::weak_ptr<const Line> owner_;
};
}  // namespace

const ClassRecord* Rectangle::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Rectangle", .superclass = &RectControl::Lookup_});
  return record;
}

const PropertyDeclarations& Rectangle::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(RectControl::Declarations(),
             {
                 ColorProperty<Rectangle>("FillColor", &Rectangle::FillColor),
                 IntegerProperty<Rectangle>("BorderWidth", &Rectangle::BorderWidth),
                 ColorProperty<Rectangle>("TopLeftColor", &Rectangle::TopLeftColor),
                 ColorProperty<Rectangle>("BottomRightColor", &Rectangle::BottomRightColor),
             });
  return declarations;
}

void Rectangle::Constructor() {
  auto* widget = new RectangleWidget(ContentArea(), Self<Rectangle>());
  widget->setObjectName("Rectangle");
  Adopt(widget);
}

void Rectangle::FillColor(int32_t rgb) { fill_ = rgb; Repaint(Widget()); }
void Rectangle::BorderWidth(int32_t width) { border_ = width; Repaint(Widget()); }
void Rectangle::TopLeftColor(int32_t rgb) { topLeft_ = rgb; Repaint(Widget()); }
void Rectangle::BottomRightColor(int32_t rgb) { bottomRight_ = rgb; Repaint(Widget()); }

const ClassRecord* Line::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Line", .superclass = &RectControl::Lookup_});
  return record;
}

const PropertyDeclarations& Line::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(RectControl::Declarations(),
             {
                 IntegerProperty<Line>("X1", &Line::X1),
                 IntegerProperty<Line>("X2", &Line::X2),
                 IntegerProperty<Line>("Y1", &Line::Y1),
                 IntegerProperty<Line>("Y2", &Line::Y2),
                 IntegerProperty<Line>("BorderWidth", &Line::BorderWidth),
                 ColorProperty<Line>("LineColor", &Line::LineColor),
             });
  return declarations;
}

void Line::Constructor() {
  auto* widget = new LineWidget(ContentArea(), Self<Line>());
  widget->setObjectName("Line");
  Adopt(widget);
  Place();
}

// The end points decide where the line is drawn, whatever the bounds say.
void Line::Place() {
  QWidget* widget = Widget();
  if (!widget) return;
  int pad = std::max(1, width_);
  QRect box = QRect(QPoint(std::min(x1_, x2_), std::min(y1_, y2_)),
                    QPoint(std::max(x1_, x2_) + pad - 1, std::max(y1_, y2_) + pad - 1));
  widget->setGeometry(box);
  widget->update();
}

void Line::X1(int32_t v) { x1_ = v; Place(); }
void Line::X2(int32_t v) { x2_ = v; Place(); }
void Line::Y1(int32_t v) { y1_ = v; Place(); }
void Line::Y2(int32_t v) { y2_ = v; Place(); }
void Line::BorderWidth(int32_t v) { width_ = v; Place(); }
void Line::LineColor(int32_t rgb) { color_ = rgb; Repaint(Widget()); }
