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
      Concat(Concat(RectControl::Declarations(), TextStyleDeclarations()),
             {
                 StringProperty<Label>("Text", &Label::Text),
                 IntegerProperty<Label>("TextAlign", &Label::TextAlign),
                 ColorProperty<Label>("TextColor", &Label::TextColor),
                 BooleanProperty<Label>("MultiLine", &Label::MultiLine),
                 KeptProperty("Selectable", PropertyType::Boolean),
                 KeptProperty("Transparent", PropertyType::Boolean),
             });
  return declarations;
}

void Label::Constructor() {
  auto* label = new QLabel(ContentArea());
  label->setObjectName("Label");
  Adopt(label);
}

static QLabel* AsLabel(QWidget* w) { return static_cast<QLabel*>(w); }

void Label::Text(const std::string& text) {
  text_ = text;
  if (QLabel* label = AsLabel(Widget())) label->setText(QString::fromStdString(text));
}

void Label::TextAlign(int32_t align) {
  align_ = align;
  Qt::Alignment h = align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
  if (QLabel* label = AsLabel(Widget())) label->setAlignment(h | Qt::AlignTop);
}

void Label::TextColor(int32_t rgb) {
  color_ = rgb;
  SetTextColor(Widget(), QPalette::WindowText, rgb);
}

void Label::MultiLine(bool value) {
  if (QLabel* label = AsLabel(Widget())) label->setWordWrap(value);
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
      Concat(Concat(RectControl::Declarations(), TextStyleDeclarations()),
             {
                 BooleanProperty<TextField>("Border", &TextField::Border),
                 BooleanProperty<TextField>("Password", &TextField::Password),
                 ColorProperty<TextField>("TextColor", &TextField::TextColor),
                 ColorProperty<TextField>("BackColor", &TextField::BackColor),
                 StringProperty<TextField>("CueText", &TextField::CueText),
                 StringProperty<TextField>("Text", &TextField::Text),
                 StringProperty<TextField>("Mask", &TextField::Mask),
                 BooleanProperty<TextField>("ReadOnly", &TextField::ReadOnly),
                 IntegerProperty<TextField>("LimitText", &TextField::LimitText),
                 IntegerProperty<TextField>("Alignment", &TextField::Alignment),
             });
  return declarations;
}

static QLineEdit* AsEdit(QWidget* w) { return static_cast<QLineEdit*>(w); }

void TextField::Constructor() {
  auto* edit = new FieldWidget(ContentArea(), Self<TextField>());
  edit->setObjectName("TextField");
  RaiseOnSignal(edit, &QLineEdit::textChanged, Self<TextField>(), &TextField::TextChange);
  // What the widget last showed, for when it is gone.
  OnSignal(edit, &QLineEdit::textChanged, Self<TextField>(),
           [](const Ref<TextField>& field, QLineEdit& shown) { field->text_ = shown.text().toStdString(); });
  OnSignal(edit, &QLineEdit::selectionChanged, Self<TextField>(),
           [](const Ref<TextField>& field, QLineEdit& shown) { field->selText_ = shown.selectedText().toStdString(); });
  Adopt(edit);
}

std::string TextField::Text() const {
  if (TestHooks::trace) RuntimeTrace("Read " + Name() + ".Text");
  QLineEdit* edit = AsEdit(Widget());
  return edit ? edit->text().toStdString() : text_;
}

void TextField::Text(const std::string& text) {
  text_ = text;
  selText_.clear();  // new text has nothing selected
  if (QLineEdit* edit = AsEdit(Widget())) edit->setText(QString::fromStdString(text));
}

void TextField::Mask(const std::string& mask) {
  mask_ = mask;
  UpdateValidator();
}

void TextField::LimitText(int32_t count) {
  limit_ = count;
  if (QLineEdit* edit = AsEdit(Widget())) edit->setMaxLength(count > 0 ? count : 32767);
}

// "#" admits a digit and "a" a letter or digit; the mask's length bounds the
// text unless LimitText does.
void TextField::UpdateValidator() {
  QString pattern;
  for (char c : mask_) pattern += c == '#' ? "[0-9]?" : c == 'a' ? "[A-Za-z0-9]?" : ".?";
  QLineEdit* edit = AsEdit(Widget());
  if (!edit) return;
  delete edit->validator();
  edit->setValidator(mask_.empty() ? nullptr
                                   : new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

void TextField::SelectAll() {
  if (QLineEdit* edit = AsEdit(Widget())) edit->selectAll();
}

std::string TextField::SelText() const {
  QLineEdit* edit = AsEdit(Widget());
  return edit ? edit->selectedText().toStdString() : selText_;
}

void TextField::TextColor(int32_t rgb) { SetTextColor(Widget(), QPalette::Text, rgb); }
void TextField::BackColor(int32_t rgb) { SetTextColor(Widget(), QPalette::Base, rgb); }

void TextField::Border(bool value) {
  if (QLineEdit* edit = AsEdit(Widget())) edit->setFrame(value);
}

void TextField::Password(bool value) {
  if (QLineEdit* edit = AsEdit(Widget())) edit->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TextField::ReadOnly(bool value) {
  if (QLineEdit* edit = AsEdit(Widget())) edit->setReadOnly(value);
}

void TextField::CueText(const std::string& text) {
  if (QLineEdit* edit = AsEdit(Widget())) edit->setPlaceholderText(QString::fromStdString(text));
}

void TextField::Alignment(int32_t alignment) {
  Qt::Alignment h = alignment == 2 ? Qt::AlignHCenter : alignment == 3 ? Qt::AlignRight : Qt::AlignLeft;
  if (QLineEdit* edit = AsEdit(Widget())) edit->setAlignment(h | Qt::AlignVCenter);
}
