// Label, StaticText and TextField.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "platform/runtime/TestHooks.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/SignalEvent.h"

namespace {
QColor ColorOf(int32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u); }

// A colour from a property list is the control's colour while it is enabled,
// in an active or inactive window; a disabled control keeps the style's
// disabled colours, as every other program's do.
void SetTextColor(QWidget* widget, QPalette::ColorRole role, int32_t rgb) {
  if (!widget) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, role, ColorOf(rgb));
  palette.setColor(QPalette::Inactive, role, ColorOf(rgb));
  widget->setPalette(palette);
}

// A line edit that offers each key to the control's KeyDown event first.
class FieldWidget : public QLineEdit {
 public:
  FieldWidget(QWidget* parent, std::weak_ptr<TextField> owner) : QLineEdit(parent), owner_(owner) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    Ref<TextField> field = owner_.lock();
    bool consumed = field && RuntimeDispatchBool([&] {
                      return field->KeyDown.Raise(field, event->text().toStdString());
                    });
    if (!consumed) QLineEdit::keyPressEvent(event);
  }

 private:
  std::weak_ptr<TextField> owner_;
};
}  // namespace

const ClassRecord* Label::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Label", .superclass = &RectControl::Lookup_});
  return record;
}

const ClassRecord* StaticText::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "StaticText", .superclass = &Label::Lookup_});
  return record;
}

const PropertyDeclarations& Label::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(RectControl::Declarations(),
             {
                 StringProperty<Label>("Text", &Label::Text),
                 IntegerProperty<Label>("TextAlign", &Label::TextAlign),
                 ColorProperty<Label>("TextColor", &Label::TextColor),
                 KeptProperty("MultiLine", PropertyType::Boolean),
                 KeptProperty("Selectable", PropertyType::Boolean),
                 KeptProperty("Transparent", PropertyType::Boolean),
                 StringProperty<Label>("TextFont", &Label::TextFont),
                 BooleanProperty<Label>("Bold", &Label::Bold),
                 BooleanProperty<Label>("Italic", &Label::Italic),
                 BooleanProperty<Label>("Underline", &Label::Underline),
             });
  return declarations;
}

void Label::Constructor() {
  auto* label = new QLabel(ContentArea());
  label->setObjectName("Label");
  Adopt(label);
}

static QLabel* AsLabel(QWidget* w) { return static_cast<QLabel*>(w); }

std::string Label::Text() const { return AsLabel(Widget())->text().toStdString(); }
void Label::Text(const std::string& text) { AsLabel(Widget())->setText(QString::fromStdString(text)); }

void Label::TextAlign(int32_t align) {
  align_ = align;
  Qt::Alignment h = align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
  AsLabel(Widget())->setAlignment(h | Qt::AlignTop);
}

void Label::TextColor(int32_t rgb) {
  color_ = rgb;
  SetTextColor(Widget(), QPalette::WindowText, rgb);
}

void Label::TextFont(const std::string&) { UpdateFont(); }
void Label::TextSize(float size) { size_ = size; UpdateFont(); }
void Label::Bold(bool value) { bold_ = value; UpdateFont(); }
void Label::Italic(bool value) { italic_ = value; UpdateFont(); }
void Label::Underline(bool value) { underline_ = value; UpdateFont(); }

// "System" is the platform's default font; a size of 0 keeps its size.
void Label::UpdateFont() {
  QFont font = Widget()->font();
  if (size_ > 0) font.setPointSizeF(size_);
  font.setBold(bold_);
  font.setItalic(italic_);
  font.setUnderline(underline_);
  Widget()->setFont(font);
}

const ClassRecord* TextField::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "TextField",
      .superclass = &RectControl::Lookup_,
      .events = {"TextChange", "KeyDown", "GotFocus", "LostFocus", "SelChange"},
  });
  return record;
}

const PropertyDeclarations& TextField::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(RectControl::Declarations(),
             {
                 BooleanProperty<TextField>("Border", &TextField::Border),
                 BooleanProperty<TextField>("Password", &TextField::Password),
                 ColorProperty<TextField>("TextColor", &TextField::TextColor),
                 ColorProperty<TextField>("BackColor", &TextField::BackColor),
                 KeptProperty("Bold", PropertyType::Boolean),
                 KeptProperty("Italic", PropertyType::Boolean),
                 KeptProperty("Underline", PropertyType::Boolean),
                 StringProperty<TextField>("CueText", &TextField::CueText),
                 StringProperty<TextField>("Text", &TextField::Text),
                 StringProperty<TextField>("Mask", &TextField::Mask),
                 BooleanProperty<TextField>("ReadOnly", &TextField::ReadOnly),
                 IntegerProperty<TextField>("LimitText", &TextField::LimitText),
             });
  return declarations;
}

static QLineEdit* AsEdit(QWidget* w) { return static_cast<QLineEdit*>(w); }

void TextField::Constructor() {
  auto* edit = new FieldWidget(ContentArea(), Self<TextField>());
  edit->setObjectName("TextField");
  RaiseOnSignal(edit, &QLineEdit::textChanged, Self<TextField>(), &TextField::TextChange);
  Adopt(edit);
}

std::string TextField::Text() const {
  if (TestHooks::trace) RuntimeTrace("Read " + Name() + ".Text");
  return AsEdit(Widget())->text().toStdString();
}
void TextField::Text(const std::string& text) { AsEdit(Widget())->setText(QString::fromStdString(text)); }

void TextField::Mask(const std::string& mask) {
  mask_ = mask;
  UpdateValidator();
}

void TextField::LimitText(int32_t count) {
  limit_ = count;
  AsEdit(Widget())->setMaxLength(count > 0 ? count : 32767);
}

// "#" admits a digit and "a" a letter or digit; the mask's length bounds the
// text unless LimitText does.
void TextField::UpdateValidator() {
  QString pattern;
  for (char c : mask_) pattern += c == '#' ? "[0-9]?" : c == 'a' ? "[A-Za-z0-9]?" : ".?";
  auto* edit = AsEdit(Widget());
  delete edit->validator();
  edit->setValidator(mask_.empty() ? nullptr
                                   : new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

void TextField::SelectAll() { AsEdit(Widget())->selectAll(); }
std::string TextField::SelText() const { return AsEdit(Widget())->selectedText().toStdString(); }
void TextField::TextColor(int32_t rgb) { SetTextColor(Widget(), QPalette::Text, rgb); }
void TextField::BackColor(int32_t rgb) { SetTextColor(Widget(), QPalette::Base, rgb); }
void TextField::Border(bool value) { AsEdit(Widget())->setFrame(value); }
void TextField::Password(bool value) {
  AsEdit(Widget())->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}
void TextField::ReadOnly(bool value) { AsEdit(Widget())->setReadOnly(value); }
void TextField::CueText(const std::string& text) {
  AsEdit(Widget())->setPlaceholderText(QString::fromStdString(text));
}
