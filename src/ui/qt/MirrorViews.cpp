#include "MirrorViews.h"

#include <QEvent>
#include <functional>
#include <string>
#include <vector>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>

#include "Conversions.h"
#include "QtGridWidget.h"
#include "RichTextEdit.h"
#include "TabColumnDelegate.h"
#include "qlmib/ui/Button.h"
#include "qlmib/ui/Captioned.h"
#include "qlmib/ui/GridView.h"
#include "qlmib/ui/ListBox.h"
#include "qlmib/ui/RichTextView.h"
#include "qlmib/ui/Splitter.h"
#include "qlmib/ui/TabStrip.h"
#include "qlmib/ui/TextBox.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib::ui::qt {
namespace {

// Labels and panels: a caption; a panel also frames the widgets it holds.
class CaptionView : public QLabel, public SyncedView {
public:
    CaptionView(Captioned& model, QWidget* parent) : QLabel(parent), model_(model) {
        if (model.Kind() == WidgetKind::Panel) {
            setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            setAlignment(Qt::AlignCenter);
        } else {
            setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        sync();
    }
    void sync() override { setText(ToQString(model_.getCaption())); }

private:
    Captioned& model_;
};

class ButtonView : public QPushButton, public SyncedView {
public:
    ButtonView(Button& model, QWidget* parent) : QPushButton(parent), model_(model) {
        connect(this, &QPushButton::clicked, this, [this] { model_.Press(); });
        sync();
    }
    void sync() override {
        setText(ToQString(model_.getCaption()));
        setDefault(model_.getDefault());
    }

private:
    Button& model_;
};

// Typing goes through the model's KeyPress first: a handler may swallow a
// key (KeyAscii 0) or type another one.
class KeyFilter : public QObject {
public:
    KeyFilter(TextBox& model, std::function<void(const QString&)> insert, QObject* parent)
        : QObject(parent), model_(model), insert_(std::move(insert)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const std::int16_t typed = KeyAsciiOf(key->key(), key->modifiers(), key->text());
        if (typed == 0 || (typed < AsciiSpace && typed != AsciiBackspace)) return false;
        const std::int16_t answer = model_.UserKeyPress(typed);
        if (answer == typed) return false;
        if (answer >= AsciiSpace) insert_(QString(QChar(answer)));
        return true;
    }

private:
    TextBox& model_;
    std::function<void(const QString&)> insert_;
};

class LineEditView : public QLineEdit, public SyncedView {
public:
    LineEditView(TextBox& model, QWidget* parent) : QLineEdit(parent), model_(model) {
        installEventFilter(new KeyFilter(model, [this](const QString& text) { insert(text); }, this));
        connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { model_.setText(ToStd(text)); });
        sync();
    }
    void sync() override {
        const QString text = ToQString(model_.getText());
        if (text != this->text()) setText(text);
        setReadOnly(model_.getLocked());
    }

private:
    TextBox& model_;
};

class PlainTextView : public QPlainTextEdit, public SyncedView {
public:
    PlainTextView(TextBox& model, QWidget* parent) : QPlainTextEdit(parent), model_(model) {
        installEventFilter(new KeyFilter(model, [this](const QString& text) { insertPlainText(text); }, this));
        connect(this, &QPlainTextEdit::textChanged, this, [this] {
            if (!syncing_) model_.setText(ToStd(toPlainText()));
        });
        sync();
    }
    void sync() override {
        const QString text = ToQString(model_.getText());
        syncing_ = true;
        if (text != toPlainText()) setPlainText(text);
        syncing_ = false;
        setReadOnly(model_.getLocked());
    }

private:
    TextBox& model_;
    bool syncing_ = false;
};

class ListView : public QListWidget, public SyncedView {
public:
    ListView(ListBox& model, QWidget* parent) : QListWidget(parent), model_(model) {
        setItemDelegate(new TabColumnDelegate(*this));
        connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row != model_.getListIndex()) model_.setListIndex(row);
        });
        connect(this, &QListWidget::itemDoubleClicked, this, [this] { model_.UserDoubleClick(); });
        sync();
    }
    // Rows up to the first difference stay as they are, so a list filled one
    // item at a time neither rebuilds itself per item nor jumps to the top.
    void sync() override {
        const QSignalBlocker quiet(this);
        if (static_cast<int>(shown_.size()) != count()) {
            clear();
            shown_.clear();
        }
        const int total = model_.getListCount();
        int kept = 0;
        while (kept < total && kept < count() && shown_[kept] == model_.getList(kept)) ++kept;
        while (count() > kept) delete takeItem(count() - 1);
        shown_.resize(kept);
        for (int i = kept; i < total; ++i) {
            shown_.push_back(model_.getList(i));
            addItem(ToQString(shown_.back()));
        }
        setCurrentRow(model_.getListIndex());
    }

private:
    ListBox& model_;
    std::vector<std::string> shown_;  // the model's texts as the rows show them
};

class TabView : public QTabBar, public SyncedView {
public:
    TabView(TabStrip& model, QWidget* parent) : QTabBar(parent), model_(model) {
        setExpanding(false);
        setDrawBase(true);
        connect(this, &QTabBar::currentChanged, this, [this](int tab) {
            if (tab >= 0 && tab != model_.getTab()) model_.setTab(tab);
        });
        sync();
    }
    void sync() override {
        const QSignalBlocker quiet(this);
        while (count() > model_.getTabs()) removeTab(count() - 1);
        for (int i = 0; i < model_.getTabs(); ++i) {
            const QString caption = ToQString(model_.getTabCaption(i));
            if (i < count()) setTabText(i, caption);
            else addTab(caption);
        }
        setCurrentIndex(model_.getTab());
    }

private:
    TabStrip& model_;
};

// The panes are the QSplitter's own widgets, in the model's pane order;
// sizes go both ways in twips.
class SplitterView : public QSplitter, public SyncedView {
public:
    SplitterView(Splitter& model, QWidget* parent)
        : QSplitter(model.getOrientation() == Splitter::PanesStacked ? Qt::Vertical : Qt::Horizontal, parent),
          model_(model) {
        setChildrenCollapsible(true);
        setHandleWidth(ToPixels(Splitter::kBarSize));
        resized_ = model_.PanesResized.subscribe([this] { sync(); });
        connect(this, &QSplitter::splitterMoved, this, [this](int, int handle) {
            if (syncing_ || handle < 1 || handle >= model_.PaneCount()) return;
            syncing_ = true;
            model_.UserDragBar(handle - 1, ToTwips(sizes().value(handle - 1)));
            syncing_ = false;
        });
    }
    void sync() override {
        if (syncing_) return;
        QList<int> pixels;
        for (int i = 0; i < model_.PaneCount(); ++i) pixels.append(ToPixels(model_.getPaneSize(model_.PaneName(i))));
        if (pixels.size() == count() && pixels != sizes()) {
            syncing_ = true;
            setSizes(pixels);
            syncing_ = false;
        }
    }

private:
    Splitter& model_;
    bool syncing_ = false;
    Subscription resized_;
};

class RichTextViewWidget : public RichTextEdit, public SyncedView {
public:
    RichTextViewWidget(RichTextView& model, Toolkit& toolkit, QWidget* parent)
        : RichTextEdit(model.document(), toolkit.clipboard(), parent) {}
    void sync() override {}
};

}  // namespace

QWidget* CreateView(Widget& model, Toolkit& toolkit, QWidget* parent) {
    switch (model.Kind()) {
        case WidgetKind::Label:
        case WidgetKind::Panel: return new CaptionView(static_cast<Captioned&>(model), parent);
        case WidgetKind::Button: return new ButtonView(static_cast<Button&>(model), parent);
        case WidgetKind::TextBox: {
            auto& box = static_cast<TextBox&>(model);
            if (box.getMultiLine()) return new PlainTextView(box, parent);
            return new LineEditView(box, parent);
        }
        case WidgetKind::ListBox: return new ListView(static_cast<ListBox&>(model), parent);
        case WidgetKind::TabStrip: return new TabView(static_cast<TabStrip&>(model), parent);
        case WidgetKind::Splitter: return new SplitterView(static_cast<Splitter&>(model), parent);
        case WidgetKind::RichTextView:
            return new RichTextViewWidget(static_cast<RichTextView&>(model), toolkit, parent);
        case WidgetKind::GridView: return new QtGridWidget(static_cast<GridView&>(model), toolkit, parent);
        case WidgetKind::Container:
        case WidgetKind::Window: return new QWidget(parent);
    }
    return nullptr;
}

}  // namespace qlmib::ui::qt
