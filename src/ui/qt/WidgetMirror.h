#pragma once
// Shows a tree of model widgets as QWidgets inside a host QWidget and keeps
// them in step: a model widget's Changed moves, hides, enables and re-reads
// its view; children added or removed get or lose views; resizing the host
// resizes the root model widget so that the controls lay themselves out.
// The mirror is a child of the host and goes with it; a model widget that
// goes first takes its view with it. Thread affinity: the GUI thread.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <unordered_map>
#include <vector>

#include "qlmib/common/Event.h"

namespace qlmib::ui {
class Toolkit;
class Widget;
}  // namespace qlmib::ui

namespace qlmib::ui::qt {

class WidgetMirror : public QObject {
public:
    WidgetMirror(Widget& root, QWidget& host, Toolkit& toolkit);
    ~WidgetMirror() override;

    // The view of a model widget in this mirror, or nullptr.
    QWidget* viewOf(const Widget& model) const;
    QWidget* host() const { return host_; }
    // The model shown; nullptr once it has gone.
    Widget* root() const { return root_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Node {
        Widget* model;
        QPointer<QWidget> view;
        std::vector<Widget*> children;
        Subscription changed, destroying;
    };

    Node& add(Widget& model, QWidget* view);
    void addChild(Node& parent, Widget& child);
    void addChildren(Node& node);
    void remove(Widget& model);
    void syncChildren(Node& node);
    void syncNode(Node& node);
    void resizeRoot();

    Widget* root_;
    QPointer<QWidget> host_;
    Toolkit& toolkit_;
    std::unordered_map<const Widget*, std::unique_ptr<Node>> nodes_;
};

}  // namespace qlmib::ui::qt
