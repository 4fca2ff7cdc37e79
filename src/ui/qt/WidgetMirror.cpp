#include "WidgetMirror.h"

#include <QEvent>
#include <QSplitter>
#include <algorithm>

#include "Conversions.h"
#include "MirrorViews.h"
#include "qlmib/ui/Widget.h"

namespace qlmib::ui::qt {

WidgetMirror::WidgetMirror(Widget& root, QWidget& host, Toolkit& toolkit)
    : QObject(&host), root_(&root), host_(&host), toolkit_(toolkit) {
    addChildren(add(root, &host));
    host.installEventFilter(this);
    // A model that has a size gives it to a host that has none yet.
    if (host.size().isEmpty() && root.getWidth() > 0 && root.getHeight() > 0)
        host.resize(ToPixels(root.getWidth()), ToPixels(root.getHeight()));
    resizeRoot();
}

WidgetMirror::~WidgetMirror() = default;

QWidget* WidgetMirror::viewOf(const Widget& model) const {
    const auto it = nodes_.find(&model);
    return it == nodes_.end() ? nullptr : it->second->view.data();
}

WidgetMirror::Node& WidgetMirror::add(Widget& model, QWidget* view) {
    auto node = std::make_unique<Node>();
    Node& n = *node;
    n.model = &model;
    n.view = view;
    n.changed = model.Changed.subscribe([this, m = &model] {
        // Looked up again: an earlier handler of the same change may have removed it.
        const auto it = nodes_.find(m);
        if (it == nodes_.end()) return;
        syncNode(*it->second);
        syncChildren(*it->second);
    });
    n.destroying = model.Destroying.subscribe([this, m = &model] { remove(*m); });
    nodes_[&model] = std::move(node);
    return n;
}

void WidgetMirror::addChild(Node& parent, Widget& child) {
    QWidget* view = CreateView(child, toolkit_, parent.view);
    if (auto* splitter = qobject_cast<QSplitter*>(parent.view.data())) splitter->addWidget(view);
    Node& added = add(child, view);
    parent.children.push_back(&child);
    syncNode(added);
    addChildren(added);
}

void WidgetMirror::addChildren(Node& node) {
    for (Widget* child : node.model->Children()) addChild(node, *child);
    if (auto* synced = dynamic_cast<SyncedView*>(node.view.data())) synced->sync();
}

void WidgetMirror::remove(Widget& model) {
    const auto it = nodes_.find(&model);
    if (it == nodes_.end()) return;
    for (Widget* child : it->second->children) remove(*child);
    QPointer<QWidget> view = it->second->view;
    nodes_.erase(it);
    if (&model == root_) {
        root_ = nullptr;
        return;  // the host is its owner's to delete
    }
    // Later: the model may go from inside one of its view's own signals.
    if (view) {
        view->hide();
        view->deleteLater();
    }
}

void WidgetMirror::syncChildren(Node& node) {
    const auto& now = node.model->Children();
    std::vector<Widget*> gone;
    for (Widget* child : node.children)
        if (std::find(now.begin(), now.end(), child) == now.end()) gone.push_back(child);
    for (Widget* child : gone) {
        remove(*child);
        node.children.erase(std::find(node.children.begin(), node.children.end(), child));
    }
    for (Widget* child : now)
        if (!nodes_.contains(child)) addChild(node, *child);
}

void WidgetMirror::syncNode(Node& node) {
    QWidget* view = node.view;
    if (!view) return;
    const Widget& model = *node.model;
    if (&model != root_) {
        // A splitter lays out its panes itself.
        if (!qobject_cast<QSplitter*>(view->parentWidget()))
            view->setGeometry(ToPixels(model.getLeft()), ToPixels(model.getTop()), ToPixels(model.getWidth()),
                              ToPixels(model.getHeight()));
        view->setVisible(model.getVisible());
    }
    view->setEnabled(model.getEnabled());
    if (model.getMousePointer() == PointerDefault) view->unsetCursor();
    else view->setCursor(CursorOf(model.getMousePointer()));
    if (auto* synced = dynamic_cast<SyncedView*>(view)) synced->sync();
}

void WidgetMirror::resizeRoot() {
    if (!root_ || !host_) return;
    root_->Move(root_->getLeft(), root_->getTop(), ToTwips(host_->width()), ToTwips(host_->height()));
}

bool WidgetMirror::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) resizeRoot();
    return false;
}

}  // namespace qlmib::ui::qt
