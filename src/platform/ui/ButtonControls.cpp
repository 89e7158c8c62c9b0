// CheckBox, PopupMenu and PushButton.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "platform/ui/Controls.h"
#include "platform/ui/SignalEvent.h"

const ClassRecord* CheckBox::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "CheckBox", .superclass = &RectControl::Lookup_, .events = {"Action"}});
  return record;
}

const PropertyDeclarations& CheckBox::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(Concat(RectControl::Declarations(), TextStyleDeclarations()),
             {
                 StringProperty<CheckBox>("Caption", &CheckBox::Caption),
                 IntegerProperty<CheckBox>("State", &CheckBox::State),
                 BooleanProperty<CheckBox>("Value", &CheckBox::Value),
             });
  return declarations;
}

static QCheckBox* AsCheck(QWidget* w) { return static_cast<QCheckBox*>(w); }

void CheckBox::Constructor() {
  auto* box = new QCheckBox(ContentArea());
  box->setObjectName("CheckBox");
  RaiseOnSignal(box, &QCheckBox::clicked, Self<CheckBox>(), &CheckBox::Action);
  // What the widget last showed, for when it is gone.
  OnSignal(box, &QCheckBox::stateChanged, Self<CheckBox>(), [](const Ref<CheckBox>& check, QCheckBox& shown) {
    check->state_ = shown.checkState() == Qt::Checked ? 1 : shown.checkState() == Qt::PartiallyChecked ? 2 : 0;
  });
  Adopt(box);
}

void CheckBox::Caption(const std::string& text) {
  caption_ = text;
  if (QCheckBox* box = AsCheck(Widget())) box->setText(QString::fromStdString(text));
}

bool CheckBox::Value() const {
  QCheckBox* box = AsCheck(Widget());
  return box ? box->isChecked() : state_ == 1;
}

void CheckBox::Value(bool ticked) {
  state_ = ticked ? 1 : 0;
  if (QCheckBox* box = AsCheck(Widget())) box->setChecked(ticked);
}

void CheckBox::State(int32_t state) {
  state_ = state;
  QCheckBox* box = AsCheck(Widget());
  if (!box) return;
  box->setTristate(state == 2);
  box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

const ClassRecord* PopupMenu::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "PopupMenu", .superclass = &RectControl::Lookup_, .events = {"Change"}});
  return record;
}

const PropertyDeclarations& PopupMenu::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(Concat(RectControl::Declarations(), TextStyleDeclarations()),
             {
                 StringProperty<PopupMenu>("InitialValue", &PopupMenu::InitialValue),
                 IntegerProperty<PopupMenu>("ListIndex", &PopupMenu::ListIndex),
             });
  return declarations;
}

static QComboBox* AsCombo(QWidget* w) { return static_cast<QComboBox*>(w); }

void PopupMenu::Constructor() {
  auto* combo = new QComboBox(ContentArea());
  combo->setObjectName("PopupMenu");
  RaiseOnSignal(combo, &QComboBox::currentIndexChanged, Self<PopupMenu>(), &PopupMenu::Change);
  // What the widget last showed, for when it is gone.
  OnSignal(combo, &QComboBox::currentIndexChanged, Self<PopupMenu>(),
           [](const Ref<PopupMenu>& menu, QComboBox& shown) { menu->index_ = shown.currentIndex(); });
  Adopt(combo);
}

void PopupMenu::InitialValue(const std::string& rows) {
  rows_.assign(1, "");
  for (char c : rows) {
    if (c == '\r') rows_.emplace_back();
    else rows_.back() += c;
  }
  index_ = -1;
  QComboBox* combo = AsCombo(Widget());
  if (!combo) return;
  QSignalBlocker quiet(combo);
  combo->clear();
  for (const std::string& row : rows_) combo->addItem(QString::fromStdString(row));
  combo->setCurrentIndex(-1);
}

int32_t PopupMenu::ListIndex() const {
  QComboBox* combo = AsCombo(Widget());
  return combo ? combo->currentIndex() : index_;
}

void PopupMenu::ListIndex(int32_t row) {
  if (QComboBox* combo = AsCombo(Widget())) combo->setCurrentIndex(row);
  else index_ = row >= 0 && row < ListCount() ? row : -1;
}

int32_t PopupMenu::ListCount() const { return static_cast<int32_t>(rows_.size()); }

std::string PopupMenu::List(int32_t row) const {
  return row >= 0 && row < ListCount() ? rows_[static_cast<size_t>(row)] : std::string();
}

std::string PopupMenu::Text() const { return List(ListIndex()); }

const ClassRecord* PushButton::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "PushButton", .superclass = &RectControl::Lookup_, .events = {"Action"}});
  return record;
}

const PropertyDeclarations& PushButton::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(Concat(RectControl::Declarations(), TextStyleDeclarations()),
             {
                 StringProperty<PushButton>("Caption", &PushButton::Caption),
                 BooleanProperty<PushButton>("Default", &PushButton::Default),
                 KeptProperty("Cancel", PropertyType::Boolean),
                 KeptProperty("ButtonStyle", PropertyType::Integer),
             });
  return declarations;
}

static QPushButton* AsButton(QWidget* w) { return static_cast<QPushButton*>(w); }

void PushButton::Constructor() {
  auto* button = new QPushButton(ContentArea());
  button->setObjectName("PushButton");
  RaiseOnSignal(button, &QPushButton::clicked, Self<PushButton>(), &PushButton::Action);
  Adopt(button);
}

void PushButton::Caption(const std::string& text) {
  caption_ = text;
  if (QPushButton* button = AsButton(Widget())) button->setText(QString::fromStdString(text));
}

void PushButton::Default(bool value) {
  if (QPushButton* button = AsButton(Widget())) button->setDefault(value);
}

void PushButton::Push() {
  if (QPushButton* button = AsButton(Widget())) button->click();
}
