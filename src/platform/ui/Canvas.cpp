// Canvas: backdrop picture, mouse clicks and file drops; DragItem.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "platform/files/FolderItem.h"
#include "platform/graphics/PictureImage.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dispatch.h"

namespace {
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  return paths;
}

// Vamor only reads a dropped file: a drop is taken as a copy, or as a link
// when the source offers no copy, never as a move (a source that honours a
// move deletes its file). Sources that offer neither are refused.
bool TakeWithoutMoving(QDropEvent* event) {
  const Qt::DropActions offered = event->possibleActions();
  if (offered & Qt::CopyAction) event->setDropAction(Qt::CopyAction);
  else if (offered & Qt::LinkAction) event->setDropAction(Qt::LinkAction);
  else return false;
  event->accept();
  return true;
}

class CanvasWidget : public QWidget {
 public:
  CanvasWidget(QWidget* parent, std::weak_ptr<Canvas> owner) : QWidget(parent), owner_(owner) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    Ref<Canvas> canvas = owner_.lock();
    if (!canvas || !canvas->Backdrop()) return;
    QPainter p(this);
    p.drawImage(0, 0, ImageOf(*canvas->Backdrop()));
  }

  void mousePressEvent(QMouseEvent* event) override {
    claimed_ = false;
    Ref<Canvas> canvas = owner_.lock();
    if (!canvas || event->button() != Qt::LeftButton) return;
    QPoint at = event->position().toPoint();
    claimed_ = RuntimeDispatchBool([&] { return canvas->MouseDown.Raise(canvas, at.x(), at.y()); });
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    Ref<Canvas> canvas = owner_.lock();
    if (!canvas || event->button() != Qt::LeftButton || !std::exchange(claimed_, false)) return;
    QPoint at = event->position().toPoint();
    RuntimeDispatch([&] { canvas->MouseUp.Raise(canvas, at.x(), at.y()); });
  }

  void dragEnterEvent(QDragEnterEvent* event) override { Offer(event); }
  void dragMoveEvent(QDragMoveEvent* event) override { Offer(event); }

  void dropEvent(QDropEvent* event) override {
    Ref<Canvas> canvas = owner_.lock();
    std::vector<std::string> files = LocalFiles(event->mimeData());
    if (!canvas || !canvas->AcceptsDrop(files) || !TakeWithoutMoving(event)) {
      event->ignore();
      return;
    }
    // The drop completes for the program it came from once this returns; the
    // load that follows may take a while or ask the user something.
    auto item = std::make_shared<DragItem>(files);
    int32_t action = static_cast<int32_t>(event->dropAction());
    std::weak_ptr<Canvas> weak = canvas;
    QTimer::singleShot(0, this, [weak, item, action] {
      if (Ref<Canvas> target = weak.lock()) RuntimeDispatch([&] { target->DropObject.Raise(target, item, action); });
    });
  }

 private:
  void Offer(QDragMoveEvent* event) {
    Ref<Canvas> canvas = owner_.lock();
    if (canvas && canvas->AcceptsDrop(LocalFiles(event->mimeData())) && TakeWithoutMoving(event)) return;
    event->ignore();
  }

  std::weak_ptr<Canvas> owner_;
  bool claimed_ = false;
};
}  // namespace

const ClassRecord* Canvas::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "Canvas",
      .superclass = &RectControl::Lookup_,
      .events = {"MouseDown", "MouseUp", "MouseDrag", "Paint", "DropObject"},
  });
  return record;
}

const PropertyDeclarations& Canvas::Declarations() const {
  static const PropertyDeclarations declarations =
      Concat(RectControl::Declarations(), {
                                              KeptProperty("AcceptFocus", PropertyType::Boolean),
                                              KeptProperty("DoubleBuffer", PropertyType::Boolean),
                                              KeptProperty("EraseBackground", PropertyType::Boolean),
                                          });
  return declarations;
}

void Canvas::Constructor() {
  auto* widget = new CanvasWidget(ContentArea(), Self<Canvas>());
  widget->setObjectName("Canvas");
  Adopt(widget);
}

void Canvas::RaiseOpen() {
  Ref<Canvas> self = Self<Canvas>();
  Open.Raise(self);
}

void Canvas::Backdrop(const Ref<Picture>& picture) {
  backdrop_ = picture;
  if (QWidget* widget = Widget()) widget->update();
}

void Canvas::AcceptFileDrop(const std::string& typeList) {
  size_t start = 0;
  while (start < typeList.size()) {
    size_t end = typeList.find(';', start);
    if (end == std::string::npos) end = typeList.size();
    if (end > start) accepted_.push_back(typeList.substr(start, end - start));
    start = end + 1;
  }
  if (QWidget* widget = Widget()) widget->setAcceptDrops(!accepted_.empty());
}

bool Canvas::AcceptsDrop(const std::vector<std::string>& paths) const {
  if (paths.empty()) return false;
  for (const std::string& type : accepted_)
    if (type == "special/any") return true;
  return false;
}

const ClassRecord* DragItem::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "DragItem", .superclass = &Object::Lookup_});
  return record;
}

bool DragItem::FolderItemAvailable() const { return !paths_.empty(); }

Ref<FolderItem> DragItem::FolderItem() const {
  return paths_.empty() ? nullptr : std::make_shared<::FolderItem>(paths_.front());
}
