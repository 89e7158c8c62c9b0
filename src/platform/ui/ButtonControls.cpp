// CheckBox, PopupMenu and PushButton.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "platform/ui/Controls.h"
#include "platform/ui/SignalEvent.h"

namespace {
// The control's own properties, then the text style the platform keeps.
PropertyDeclarations WithTextStyle(const PropertyDeclarations& own) {
  return Concat(own, {KeptProperty("Bold", PropertyType::Boolean), KeptProperty("Italic", PropertyType::Boolean),
                      KeptProperty("Underline", PropertyType::Boolean)});
}
}  // namespace

const ClassRecord* CheckBox::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "CheckBox", .superclass = &RectControl::Lookup_, .events = {"Action"}});
  return record;
}

const PropertyDeclarations& CheckBox::Declarations() const {
  static const PropertyDeclarations declarations = WithTextStyle(Concat(RectControl::Declarations(),
                                        {
                                            StringProperty<CheckBox>("Caption", &CheckBox::Caption),
                                            IntegerProperty<CheckBox>("State", &CheckBox::State),
                                            BooleanProperty<CheckBox>("Value", &CheckBox::Value),
                                        }));
  return declarations;
}

static QCheckBox* AsCheck(QWidget* w) { return static_cast<QCheckBox*>(w); }

void CheckBox::Constructor() {
  auto* box = new QCheckBox(ContentArea());
  box->setObjectName("CheckBox");
  RaiseOnSignal(box, &QCheckBox::clicked, Self<CheckBox>(), &CheckBox::Action);
  Adopt(box);
}

std::string CheckBox::Caption() const { return AsCheck(Widget())->text().toStdString(); }
void CheckBox::Caption(const std::string& text) { AsCheck(Widget())->setText(QString::fromStdString(text)); }
bool CheckBox::Value() const { return AsCheck(Widget())->isChecked(); }
void CheckBox::Value(bool ticked) { AsCheck(Widget())->setChecked(ticked); }
// 0 unchecked, 1 checked, 2 indeterminate.
void CheckBox::State(int32_t state) {
  AsCheck(Widget())->setTristate(state == 2);
  AsCheck(Widget())->setCheckState(state == 1 ? Qt::Checked
                                   : state == 2 ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
}

const ClassRecord* PopupMenu::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "PopupMenu", .superclass = &RectControl::Lookup_, .events = {"Change"}});
  return record;
}

const PropertyDeclarations& PopupMenu::Declarations() const {
  static const PropertyDeclarations declarations = WithTextStyle(
      Concat(RectControl::Declarations(),
             {
                 StringProperty<PopupMenu>("InitialValue", &PopupMenu::InitialValue),
                 IntegerProperty<PopupMenu>("ListIndex", &PopupMenu::ListIndex),
             }));
  return declarations;
}

static QComboBox* AsCombo(QWidget* w) { return static_cast<QComboBox*>(w); }

void PopupMenu::Constructor() {
  auto* combo = new QComboBox(ContentArea());
  combo->setObjectName("PopupMenu");
  RaiseOnSignal(combo, &QComboBox::currentIndexChanged, Self<PopupMenu>(), &PopupMenu::Change);
  Adopt(combo);
}

void PopupMenu::InitialValue(const std::string& rows) {
  QComboBox* combo = AsCombo(Widget());
  QSignalBlocker quiet(combo);
  combo->clear();
  combo->addItems(QString::fromStdString(rows).split(QChar('\r')));
  combo->setCurrentIndex(-1);
}

int32_t PopupMenu::ListIndex() const { return AsCombo(Widget())->currentIndex(); }
void PopupMenu::ListIndex(int32_t row) { AsCombo(Widget())->setCurrentIndex(row); }
int32_t PopupMenu::ListCount() const { return AsCombo(Widget())->count(); }
std::string PopupMenu::List(int32_t row) const { return AsCombo(Widget())->itemText(row).toStdString(); }
std::string PopupMenu::Text() const { return AsCombo(Widget())->currentText().toStdString(); }

const ClassRecord* PushButton::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "PushButton", .superclass = &RectControl::Lookup_, .events = {"Action"}});
  return record;
}

const PropertyDeclarations& PushButton::Declarations() const {
  static const PropertyDeclarations declarations = WithTextStyle(
      Concat(RectControl::Declarations(),
             {
                 StringProperty<PushButton>("Caption", &PushButton::Caption),
                 BooleanProperty<PushButton>("Default", &PushButton::Default),
                 KeptProperty("Cancel", PropertyType::Boolean),
                 KeptProperty("ButtonStyle", PropertyType::Integer),
             }));
  return declarations;
}

static QPushButton* AsButton(QWidget* w) { return static_cast<QPushButton*>(w); }

void PushButton::Constructor() {
  auto* button = new QPushButton(ContentArea());
  button->setObjectName("PushButton");
  RaiseOnSignal(button, &QPushButton::clicked, Self<PushButton>(), &PushButton::Action);
  Adopt(button);
}

std::string PushButton::Caption() const { return AsButton(Widget())->text().toStdString(); }
void PushButton::Caption(const std::string& text) { AsButton(Widget())->setText(QString::fromStdString(text)); }
void PushButton::Default(bool value) { AsButton(Widget())->setDefault(value); }
void PushButton::Push() { AsButton(Widget())->click(); }
