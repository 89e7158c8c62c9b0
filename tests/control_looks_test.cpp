// What the form property lists make visible: both windows and their
// controls, described from the built widgets themselves.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "StartedVamor.h"
#include "platform/ui/WindowWidgets.h"
#include "ui/About.h"

namespace {
using ControlLooksTest = StartedVamor;

std::string Hex(QColor colour) { return colour.name().toStdString(); }

std::string Quoted(const QString& text) { return "\"" + text.toStdString() + "\""; }

std::string Alignment(Qt::Alignment alignment) {
  if (alignment & Qt::AlignHCenter) return "centre";
  if (alignment & Qt::AlignRight) return "right";
  return "left";
}

std::string Colour(const QWidget& w, QPalette::ColorRole role) {
  return Hex(w.palette().color(QPalette::Active, role));
}

// The font against the platform's default for the widget.
std::string Font(const QWidget& w) {
  const QFont font = w.font(), standard = QApplication::font(&w);
  std::string words;
  if (font.bold()) words += ",bold";
  if (font.italic()) words += ",italic";
  if (font.underline()) words += ",underline";
  if (font.family() != standard.family()) words += "," + font.family().toStdString();
  if (font.pointSizeF() != standard.pointSizeF()) words += "," + std::to_string(font.pointSize()) + "pt";
  return "font=" + (words.empty() ? std::string("plain") : words.substr(1));
}

// How many pixels from `from` on, stepping by `step`, have the colour of the first.
int RunLength(const QImage& image, QPoint from, QPoint step) {
  int length = 0;
  for (QPoint at = from; image.rect().contains(at) && image.pixel(at) == image.pixel(from); at += step) ++length;
  return length;
}

std::string Describe(QWidget& w) {
  std::string looks = w.isHidden() ? "hidden" : "shown";
  looks += w.isEnabled() ? " enabled" : " disabled";
  if (!w.toolTip().isEmpty()) looks += " tip=" + Quoted(w.toolTip());
  if (auto* label = qobject_cast<const QLabel*>(&w)) {
    looks += " text=" + Quoted(label->text()) + " align=" + Alignment(label->alignment()) +
             " colour=" + Colour(w, QPalette::WindowText) + (label->wordWrap() ? " wrapped " : " one-line ") + Font(w);
  } else if (auto* edit = qobject_cast<const QLineEdit*>(&w)) {
    looks += " text=" + Quoted(edit->text()) + (edit->echoMode() == QLineEdit::Normal ? " echoed" : " hidden-echo") +
             (edit->hasFrame() ? " framed" : " frameless") + (edit->isReadOnly() ? " read-only" : " editable") +
             " align=" + Alignment(edit->alignment()) + " colour=" + Colour(w, QPalette::Text) +
             " base=" + Colour(w, QPalette::Base) + " cue=" + Quoted(edit->placeholderText()) + " " + Font(w);
  } else if (auto* check = qobject_cast<const QCheckBox*>(&w)) {
    looks += " text=" + Quoted(check->text()) + (check->checkState() == Qt::Unchecked ? " unticked" : " ticked") +
             " " + Font(w);
  } else if (auto* menu = qobject_cast<const QComboBox*>(&w)) {
    looks += " row=" + Quoted(menu->currentText()) + " " + Font(w);
  } else if (auto* button = qobject_cast<const QPushButton*>(&w)) {
    looks += " text=" + Quoted(button->text()) + (button->isDefault() ? " default " : " ") + Font(w);
  } else if (w.objectName() == "Rectangle") {
    const QImage drawn = w.grab().toImage();
    const QPoint last(drawn.width() - 1, drawn.height() - 1);
    looks += " fill=" + Hex(drawn.pixel(drawn.rect().center())) + " frame=" + Hex(drawn.pixel(0, 0)) + "/" +
             Hex(drawn.pixel(last)) + " border=" + std::to_string(RunLength(drawn, {0, drawn.height() / 2}, {1, 0}));
  } else if (w.objectName() == "Line") {
    const QImage drawn = w.grab().toImage();
    looks += " line=" + Hex(drawn.pixel(drawn.width() / 2, 0)) +
             " thickness=" + std::to_string(RunLength(drawn, {drawn.width() / 2, 0}, {0, 1}));
  } else if (w.objectName() == "Canvas") {
    looks += w.acceptDrops() ? " takes-drops" : " no-drops";
  }
  return looks;
}

// The window as drawn: its background where no control covers it, its menu
// bar and its state.
std::string Describe(const Window& window, QPoint bare) {
  const WindowWidgets& widgets = window.Widgets();
  const QImage drawn = widgets.top->grab().toImage();
  const QColor background = drawn.pixel(widgets.content->mapTo(widgets.top, bare));
  std::string looks = widgets.top->isVisible() ? "shown" : "hidden";
  looks += widgets.top->isFullScreen() ? " full-screen" : " windowed";
  looks += " background=" +
           (background == QApplication::palette().color(QPalette::Window) ? std::string("plain") : Hex(background));
  looks += !widgets.menuBar ? " no-menu-bar" : widgets.menuBar->isHidden() ? " hidden-menu-bar" : " menu-bar";
  return looks;
}

TEST_F(ControlLooksTest, TheListsValuesShowOnTheWidgets) {
  struct Looks {
    const char* window;
    const char* control;  // "" for the window itself
    const char* looks;
  };
  const Looks expected[] = {
      {"Window1", "", "shown windowed background=plain menu-bar"},
      {"Window1", "Rectangle1", "shown enabled fill=#ffffff frame=#808080/#808080 border=1"},
      {"Window1", "txtTime", "shown enabled text=\"\" align=right colour=#666666 one-line font=plain"},
      {"Window1", "txtHeight",
       "shown enabled tip=\"Height of each tile, in pixels.\" text=\"100\" echoed framed editable align=left "
       "colour=#000000 base=#ffffff cue=\"\" font=plain"},
      {"Window1", "StaticText2", "shown enabled text=\"Height:\" align=left colour=#000000 one-line font=plain"},
      {"Window1", "StaticText3", "shown enabled text=\"Format:\" align=left colour=#000000 one-line font=plain"},
      {"Window1", "StaticText1", "shown enabled text=\"Width:\" align=left colour=#000000 one-line font=plain"},
      {"Window1", "txtWidth",
       "shown enabled tip=\"Width of each tile, in pixels.\" text=\"100\" echoed framed editable align=left "
       "colour=#000000 base=#ffffff cue=\"\" font=plain"},
      {"Window1", "CustomCheck", "shown enabled text=\"Custom Extension:\" unticked font=plain"},
      {"Window1", "formatMenu", "shown enabled row=\"Joint Photographic Experts Group (.jpg)\" font=plain"},
      {"Window1", "ExtensionText",
       "shown disabled text=\"jpg\" echoed framed editable align=left colour=#000000 base=#ffffff cue=\"\" "
       "font=plain"},
      {"Window1", "QualityText", "shown enabled text=\"Quality:\" align=left colour=#000000 one-line font=plain"},
      {"Window1", "QualityMenu", "shown enabled row=\"80\" font=plain"},
      {"Window1", "SaveButton", "shown disabled text=\"Save Tiles...\" font=plain"},
      {"Window1", "Canvas1", "shown enabled takes-drops"},
      {"Window1", "Line1", "shown enabled line=#ffffff thickness=1"},
      {"About", "", "shown windowed background=plain no-menu-bar"},
      {"About", "StaticText1", "shown enabled text=\"Vamor\" align=centre colour=#000000 one-line font=bold,24pt"},
      {"About", "StaticText2",
       "shown enabled text=\"Korvath Vamor v1.2\" align=centre colour=#666666 one-line font=plain"},
  };
  const std::map<std::string, Ref<Window>> windows = {{"Window1", Main()}, {"About", About()}};
  // A point of each window's content that no control covers.
  const std::map<std::string, QPoint> bare = {{"Window1", {5, 325}}, {"About", {5, 5}}};
  for (const Looks& row : expected) {
    const Ref<Window>& window = windows.at(row.window);
    SCOPED_TRACE(std::string(row.window) + " " + row.control);
    if (*row.control == '\0') {
      EXPECT_EQ(Describe(*window, bare.at(row.window)), row.looks);
    } else {
      Ref<RectControl> control = window->ControlByName_(row.control);
      ASSERT_TRUE(control && control->Widget());
      EXPECT_EQ(Describe(*control->Widget()), row.looks);
    }
  }
}
}  // namespace
