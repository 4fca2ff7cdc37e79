#include "QtToolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>

#include "Conversions.h"
#include "QtPrinting.h"
#include "WidgetMirror.h"
#include "qlmib/ui/Menu.h"
#include "qlmib/ui/Window.h"

namespace qlmib::ui::qt {
namespace {

// The buttons of each button set, in the order the default-button flags count them.
const std::vector<QMessageBox::StandardButton>& buttonSet(std::int32_t buttons) {
    static const std::vector<QMessageBox::StandardButton> kSets[] = {
        {QMessageBox::Ok},
        {QMessageBox::Ok, QMessageBox::Cancel},
        {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore},
        {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
        {QMessageBox::Yes, QMessageBox::No},
        {QMessageBox::Retry, QMessageBox::Cancel},
    };
    const std::int32_t set = buttons & 7;
    return kSets[set < 6 ? set : 0];
}

QMessageBox::Icon iconOf(std::int32_t buttons) {
    switch (buttons & 0x70) {
        case MsgBoxCritical: return QMessageBox::Critical;
        case MsgBoxQuestion: return QMessageBox::Question;
        case MsgBoxExclamation: return QMessageBox::Warning;
        case MsgBoxInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

std::int32_t answerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok: return MsgBoxResultOK;
        case QMessageBox::Cancel: return MsgBoxResultCancel;
        case QMessageBox::Abort: return MsgBoxResultAbort;
        case QMessageBox::Retry: return MsgBoxResultRetry;
        case QMessageBox::Ignore: return MsgBoxResultIgnore;
        case QMessageBox::Yes: return MsgBoxResultYes;
        case QMessageBox::No: return MsgBoxResultNo;
        default: return MsgBoxResultCancel;
    }
}

// Line breaks of the original platform (CR LF, CR) as Qt's.
QString promptText(std::string_view prompt) {
    QString text = ToQString(prompt);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// The pointer shown while dragging: an arrow with a page and a plus sign.
QPixmap dragPointer() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    const QPointF arrow[] = {{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}};
    painter.drawPolygon(arrow, 7);
    painter.drawRect(QRectF(14.5, 16.5, 14, 14));
    painter.drawLine(QPointF(21.5, 19.5), QPointF(21.5, 27.5));
    painter.drawLine(QPointF(17.5, 23.5), QPointF(25.5, 23.5));
    return pixmap;
}

Qt::DropActions actionsOf(std::int32_t effects) {
    Qt::DropActions actions;
    if (effects & DropEffectCopy) actions |= Qt::CopyAction;
    if (effects & DropEffectMove) actions |= Qt::MoveAction;
    return actions ? actions : Qt::CopyAction;
}

std::int32_t effectOf(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction: return DropEffectCopy;
        case Qt::MoveAction: return DropEffectMove;
        default: return DropEffectNone;
    }
}

// A window's top-level widget: its close box asks the model, which may refuse.
class WindowFrame : public QWidget {
public:
    explicit WindowFrame(Window& window) : window_(window) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        // Closing goes through the model; a window it accepts is hidden through HideWindow.
        event->ignore();
        window_.Close();
    }

private:
    Window& window_;
};

}  // namespace

const QFontMetrics& QtFontMetrics::metricsOf(const Font& font) const {
    auto key = std::make_tuple(font.Name, font.Size, font.Bold);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.emplace(std::move(key), QFontMetrics(ToQFont(font))).first;
    return it->second;
}

std::int32_t QtFontMetrics::TextWidth(std::string_view text, const Font& font) const {
    return ToTwips(metricsOf(font).horizontalAdvance(ToQString(text)));
}

std::int32_t QtFontMetrics::TextHeight(const Font& font) const { return ToTwips(metricsOf(font).height()); }

struct QtToolkit::ShownWindow {
    QPointer<WindowFrame> frame;
    Subscription changed, destroying;
};

QtToolkit::QtToolkit() {
    // The controls' font of the original platform, on the metric-compatible family.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QtToolkit::~QtToolkit() {
    if (overridden_) QGuiApplication::restoreOverrideCursor();
    for (auto& [window, shown] : windows_)
        if (shown->frame) delete shown->frame.data();
    for (const auto& mirror : mirrors_)
        if (mirror) delete mirror.data();
}

std::int32_t QtToolkit::MsgBox(std::string_view Prompt, std::int32_t Buttons, std::string_view Title) {
    QMessageBox box(iconOf(Buttons), ToQString(Title.empty() ? std::string_view(getAppTitle()) : Title),
                    promptText(Prompt), QMessageBox::NoButton, QApplication::activeWindow());
    const auto& set = buttonSet(Buttons);
    for (auto button : set) box.addButton(button);
    const std::size_t which = (Buttons & MsgBoxDefaultButton3) ? 2 : ((Buttons & MsgBoxDefaultButton2) ? 1 : 0);
    box.setDefaultButton(set[std::min(which, set.size() - 1)]);
    // Escape answers Cancel where there is one, else the only button.
    if (std::find(set.begin(), set.end(), QMessageBox::Cancel) != set.end()) box.setEscapeButton(QMessageBox::Cancel);
    else if (set.size() == 1) box.setEscapeButton(set.front());
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return answerOf(set[std::min(which, set.size() - 1)]);
    return answerOf(box.standardButton(clicked));
}

void QtToolkit::setMousePointer(std::int16_t pointer) {
    pointer_ = pointer;
    if (pointer == PointerDefault) {
        if (overridden_) QGuiApplication::restoreOverrideCursor();
        overridden_ = false;
    } else if (overridden_) {
        QGuiApplication::changeOverrideCursor(QCursor(CursorOf(pointer)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(CursorOf(pointer)));
        overridden_ = true;
    }
}

void QtToolkit::PopupMenu(Menu& menu, float x, float y) {
    QMenu popup;
    for (const auto& entry : menu.Entries()) {
        if (!entry.Visible) continue;
        if (entry.BeginGroup && !popup.isEmpty()) popup.addSeparator();
        QAction* action = popup.addAction(ToQString(entry.Caption));
        action->setEnabled(entry.Enabled);
        action->setCheckable(entry.Checked);
        action->setChecked(entry.Checked);
        action->setData(ToQString(entry.Key));
    }
    const QPoint at = x < 0 || y < 0 ? QCursor::pos() : QPoint(ToPixels(static_cast<std::int32_t>(x)),
                                                                 ToPixels(static_cast<std::int32_t>(y)));
    // The choice runs after the menu has closed, as a click on the model's menu.
    if (QAction* chosen = popup.exec(at)) menu.Choose(ToStd(chosen->data().toString()));
}

std::int32_t QtToolkit::StartDrag(Widget& source, const DragData& data) {
    QObject* origin = viewOf(source);
    auto* drag = new QDrag(origin ? origin : qApp);
    auto* mime = new QMimeData;
    mime->setText(ToQString(data.Text));
    drag->setMimeData(mime);
    const Qt::DropActions actions = actionsOf(data.AllowedEffects);
    if (data.Pointer == PointerCustom) {
        const QPixmap pointer = dragPointer();
        for (auto action : {Qt::CopyAction, Qt::MoveAction})
            if (actions & action) drag->setDragCursor(pointer, action);
    }
    const auto done = drag->exec(actions, actions & Qt::CopyAction ? Qt::CopyAction : Qt::MoveAction);
    drag->deleteLater();
    return effectOf(done);
}

void QtToolkit::ShowWindow(Window& window, bool modal) {
    if (QWidget* host = placedHost(window)) {
        host->show();
        return;
    }
    auto& shown = windows_[&window];
    if (!shown) {
        shown = std::make_unique<ShownWindow>();
        auto* frame = new WindowFrame(window);
        shown->frame = frame;
        mirror(window, *frame);
        auto apply = [this, &window] {
            QWidget* frame = windowOf(window);
            if (!frame) return;
            frame->setWindowTitle(ToQString(window.getCaption()));
            const bool onTop = frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            if (onTop != window.getTopMost()) {
                frame->setWindowFlag(Qt::WindowStaysOnTopHint, window.getTopMost());
                if (window.getVisible()) frame->show();  // changing flags hides a window
            }
        };
        shown->changed = window.Changed.subscribe(apply);
        shown->destroying = window.Destroying.subscribe([this, w = &window] {
            const auto it = windows_.find(w);
            if (it == windows_.end()) return;
            if (it->second->frame) it->second->frame->deleteLater();
            windows_.erase(it);
        });
        apply();
    }
    QPointer<WindowFrame> frame = shown->frame;
    if (!frame) return;
    frame->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    frame->show();
    frame->raise();
    frame->activateWindow();
    if (!modal) return;
    // A modal Show returns when the window has been closed.
    while (frame && frame->isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtToolkit::HideWindow(Window& window) {
    if (QWidget* host = placedHost(window)) host->hide();
    else if (QWidget* frame = windowOf(window)) frame->hide();
}

QWidget* QtToolkit::placedHost(const Window& window) const {
    for (const auto& mirror : mirrors_)
        if (mirror && mirror->root() == &window && !dynamic_cast<WindowFrame*>(mirror->host())) return mirror->host();
    return nullptr;
}

std::vector<std::string> QtToolkit::Printers() const {
    auto* printing = LoadedPrinting();
    return printing ? printing->printers() : std::vector<std::string>{};
}

bool QtToolkit::Print(const PrintJob& job) {
    auto* printing = LoadedPrinting();
    return printing && printing->print(job);
}

WidgetMirror& QtToolkit::mirror(Widget& root, QWidget& host) {
    auto* mirror = new WidgetMirror(root, host, *this);
    mirrors_.erase(std::remove(mirrors_.begin(), mirrors_.end(), nullptr), mirrors_.end());
    mirrors_.push_back(mirror);
    return *mirror;
}

QWidget* QtToolkit::viewOf(const Widget& model) const {
    for (const auto& mirror : mirrors_)
        if (mirror)
            if (QWidget* view = mirror->viewOf(model)) return view;
    return nullptr;
}

QWidget* QtToolkit::windowOf(const Window& window) const {
    const auto it = windows_.find(&window);
    return it == windows_.end() ? nullptr : it->second->frame.data();
}

// Fills a parent without a layout: the parent's resizes reach the host.
class FillParent : public QObject {
public:
    FillParent(QWidget& host, QWidget& parent) : QObject(&host), host_(host) {
        parent.installEventFilter(this);
        host.setGeometry(parent.rect());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) host_.setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget& host_;
};

QWidget* place(Widget& root, QtToolkit& toolkit, QWidget* parent) {
    auto* host = new QWidget(parent);
    host->setObjectName(ToQString(root.getName()));
    if (parent && parent->layout()) parent->layout()->addWidget(host);
    else if (parent) new FillParent(*host, *parent);
    toolkit.mirror(root, *host);
    host->show();
    if (root.Kind() == WidgetKind::Window) {
        auto& window = static_cast<Window&>(root);
        if (!window.getVisible()) window.Show();
    }
    return host;
}

}  // namespace qlmib::ui::qt
