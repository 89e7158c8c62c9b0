#include "platform/ui/TextStyle.h"

#include <QApplication>
#include <QWidget>

void ShowTextStyle(QWidget* widget, const TextStyle& style) {
  if (!widget) return;
  QFont font = QApplication::font(widget);
  if (!style.font.empty() && style.font != "System") font.setFamily(QString::fromStdString(style.font));
  if (style.size > 0) font.setPointSizeF(style.size);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  widget->setFont(font);
}
