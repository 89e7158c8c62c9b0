// A control held after its window has closed and Qt has deleted its widgets:
// its getters give the last known values and its setters keep theirs.
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <sstream>

#include "StartedVamor.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/WindowWidgets.h"

namespace {
using ControlLifetimeTest = StartedVamor;

template <class Control>
void ReadStyle(std::ostream& out, const TextStyled<Control>& c) {
  out << " font=" << c.TextFont() << "/" << c.TextSize() << "/" << c.Bold() << c.Italic() << c.Underline();
}

// Every getter of the control, in one text.
std::string Read(const RectControl& c) {
  std::ostringstream out;
  out << c.Name() << " " << c.Left() << "," << c.Top() << " " << c.Width() << "x" << c.Height()
      << " enabled=" << c.Enabled() << " visible=" << c.Visible() << " tip=" << c.HelpTag() << " tab=" << c.TabIndex()
      << "/" << c.TabStop();
  if (auto* label = dynamic_cast<const Label*>(&c)) {
    out << " text=" << label->Text() << " align=" << label->TextAlign() << " colour=" << label->TextColor();
    ReadStyle(out, *label);
  } else if (auto* field = dynamic_cast<const TextField*>(&c)) {
    out << " text=" << field->Text() << " selected=" << field->SelText() << " mask=" << field->Mask()
        << " limit=" << field->LimitText();
    ReadStyle(out, *field);
  } else if (auto* check = dynamic_cast<const CheckBox*>(&c)) {
    out << " caption=" << check->Caption() << " value=" << check->Value();
    ReadStyle(out, *check);
  } else if (auto* menu = dynamic_cast<const PopupMenu*>(&c)) {
    out << " row=" << menu->ListIndex() << "/" << menu->ListCount() << " text=" << menu->Text()
        << " first=" << menu->List(0);
    ReadStyle(out, *menu);
  } else if (auto* button = dynamic_cast<const PushButton*>(&c)) {
    out << " caption=" << button->Caption();
    ReadStyle(out, *button);
  } else if (auto* canvas = dynamic_cast<const Canvas*>(&c)) {
    out << " backdrop=" << canvas->Backdrop().get() << " drops=" << canvas->AcceptedFileTypes().size();
  } else if (auto* rectangle = dynamic_cast<const Rectangle*>(&c)) {
    out << " fill=" << rectangle->FillColor() << " border=" << rectangle->BorderWidth() << "/"
        << rectangle->TopLeftColor() << "/" << rectangle->BottomRightColor();
  } else if (auto* line = dynamic_cast<const Line*>(&c)) {
    out << " from=" << line->X1() << "," << line->Y1() << " to=" << line->X2() << "," << line->Y2()
        << " width=" << line->BorderWidth() << " colour=" << line->LineColor();
  }
  return out.str();
}

template <class Control>
void ChangeStyle(TextStyled<Control>& c) {
  c.TextFont("Serif");
  c.TextSize(9);
  c.Bold(true);
  c.Italic(true);
  c.Underline(true);
}

// Calls every setter, with values other than those the held controls had.
void Change(RectControl& c, const Ref<Picture>& picture) {
  c.Left(c.Left() + 1);
  c.Top(c.Top() + 2);
  c.Width(c.Width() + 3);
  c.Height(c.Height() + 4);
  c.Enabled(false);
  c.Visible(false);
  c.HelpTag("changed");
  c.TabIndex(c.TabIndex() + 5);
  c.TabStop(false);
  if (auto* label = dynamic_cast<Label*>(&c)) {
    label->Text("changed");
    label->TextAlign(1);
    label->TextColor(0x123456);
    label->MultiLine(true);
    ChangeStyle(*label);
  } else if (auto* field = dynamic_cast<TextField*>(&c)) {
    field->Text("42");
    field->Mask("##");
    field->LimitText(3);
    field->TextColor(0x123456);
    field->BackColor(0x654321);
    field->Border(false);
    field->Password(true);
    field->ReadOnly(true);
    field->CueText("cue");
    field->Alignment(3);
    ChangeStyle(*field);
  } else if (auto* check = dynamic_cast<CheckBox*>(&c)) {
    check->Caption("changed");
    check->State(2);
    check->Value(false);
    ChangeStyle(*check);
  } else if (auto* menu = dynamic_cast<PopupMenu*>(&c)) {
    menu->InitialValue("a\rb\rc");
    menu->ListIndex(2);
    ChangeStyle(*menu);
  } else if (auto* button = dynamic_cast<PushButton*>(&c)) {
    button->Caption("changed");
    button->Default(true);
    ChangeStyle(*button);
  } else if (auto* canvas = dynamic_cast<Canvas*>(&c)) {
    canvas->Backdrop(picture);
    canvas->AcceptFileDrop("image/png;");
  } else if (auto* rectangle = dynamic_cast<Rectangle*>(&c)) {
    rectangle->FillColor(0x123456);
    rectangle->BorderWidth(3);
    rectangle->TopLeftColor(0x111111);
    rectangle->BottomRightColor(0x222222);
  } else if (auto* line = dynamic_cast<Line*>(&c)) {
    line->X1(1);
    line->Y1(2);
    line->X2(3);
    line->Y2(4);
    line->BorderWidth(5);
    line->LineColor(0x123456);
  }
}

TEST_F(ControlLifetimeTest, ControlsOutlivingTheirWidgetsAnswerAsLivingOnesDo) {
  Ref<class Window1> closing = Main();
  // Values the user changed through the widgets, which the controls never set.
  auto* width = static_cast<QLineEdit*>(closing->txtWidth()->Widget());
  QTest::keyClicks(width, "7");
  width->setSelection(1, 2);
  QTest::mouseClick(closing->CustomCheck()->Widget(), Qt::LeftButton);
  closing->formatMenu()->ListIndex(3);

  std::vector<Ref<RectControl>> held = closing->Controls();
  std::vector<std::string> before;
  for (const auto& c : held) before.push_back(Read(*c));
  ASSERT_EQ(closing->txtWidth()->SelText(), "00");
  ASSERT_TRUE(closing->CustomCheck()->Value());

  QPointer<QWidget> top = closing->Widgets().top.data();
  closing->Close();
  closing.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(top.isNull()) << "the window's widgets are deleted";

  for (size_t i = 0; i < held.size(); ++i) {
    SCOPED_TRACE(held[i]->Name());
    EXPECT_EQ(held[i]->Widget(), nullptr);
    EXPECT_EQ(Read(*held[i]), before[i]);
  }

  // The same calls on a held control and on one of a new window give the same answers.
  Ref<class Window1> living = Main();
  ASSERT_EQ(living->Controls().size(), held.size());
  Ref<Picture> picture = NewPicture(3, 2, 32);
  for (size_t i = 0; i < held.size(); ++i) {
    SCOPED_TRACE(held[i]->Name());
    Change(*held[i], picture);
    Change(*living->Controls()[i], picture);
    EXPECT_EQ(Read(*held[i]), Read(*living->Controls()[i]));
    EXPECT_NE(Read(*held[i]), before[i]);
  }
  // Actions on a control without a widget do nothing.
  auto named = [&](const std::string& name) {
    return *std::find_if(held.begin(), held.end(), [&](const auto& c) { return c->Name() == name; });
  };
  std::string field = Read(*named("txtWidth"));
  RuntimeCheckCast<TextField>(named("txtWidth"))->SelectAll();
  RuntimeCheckCast<PushButton>(named("SaveButton"))->Push();
  EXPECT_EQ(Read(*named("txtWidth")), field);
}
}  // namespace
