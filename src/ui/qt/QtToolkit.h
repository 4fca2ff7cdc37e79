#pragma once
// The Qt6 Widgets toolkit: Qt's event loop, QMessageBox, the system
// clipboard, the override cursor, real font metrics, QMenu, QDrag, windows
// as top-level widgets and printing through QPrinter. Controls made with it
// are shown with place() inside a QWidget or, for windows, by their Show:
//
//   qlmib::ui::qt::QtToolkit toolkit;
//   qlmib::MIBTree tree(toolkit);
//   qlmib::ui::qt::place(tree, toolkit, &mainWindow);
//
// Create it after the QApplication and delete it before; thread affinity:
// the GUI thread.

#include <QFontMetrics>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "qlmib/ui/Toolkit.h"
#include "qlmib/ui/qt/QtClipboard.h"
#include "qlmib/ui/qt/QtEventLoop.h"

namespace qlmib::ui::qt {

class WidgetMirror;

// Measures with QFontMetrics; each font's metrics are made once (grids
// measure every cell of a column when they size it).
class QtFontMetrics : public FontMetrics {
public:
    std::int32_t TextWidth(std::string_view text, const Font& font) const override;
    std::int32_t TextHeight(const Font& font) const override;

private:
    const QFontMetrics& metricsOf(const Font& font) const;

    mutable std::map<std::tuple<std::string, std::int16_t, bool>, QFontMetrics> cache_;
};

class QtToolkit : public Toolkit {
public:
    QtToolkit();
    ~QtToolkit() override;

    EventLoop& eventLoop() override { return loop_; }
    std::int32_t MsgBox(std::string_view Prompt, std::int32_t Buttons = MsgBoxOKOnly,
                        std::string_view Title = {}) override;
    Clipboard& clipboard() override { return clipboard_; }
    std::int16_t getMousePointer() const override { return pointer_; }
    void setMousePointer(std::int16_t pointer) override;
    const FontMetrics& fontMetrics() const override { return metrics_; }
    void PopupMenu(Menu& menu, float x = -1, float y = -1) override;
    std::int32_t StartDrag(Widget& source, const DragData& data) override;
    void ShowWindow(Window& window, bool modal) override;
    void HideWindow(Window& window) override;
    std::vector<std::string> Printers() const override;
    bool Print(const PrintJob& job) override;
    bool CanWritePdf() const override { return true; }

    // The view of a model widget placed or shown by this toolkit; nullptr when none.
    QWidget* viewOf(const Widget& model) const;
    // The top-level QWidget of a window shown by this toolkit, or nullptr
    // (also for a window placed in another QWidget).
    QWidget* windowOf(const Window& window) const;

private:
    struct ShownWindow;
    friend QWidget* place(Widget& root, QtToolkit& toolkit, QWidget* parent);

    WidgetMirror& mirror(Widget& root, QWidget& host);
    // The QWidget a window was placed in with place(), or nullptr.
    QWidget* placedHost(const Window& window) const;

    QtEventLoop loop_;
    QtClipboard clipboard_;
    QtFontMetrics metrics_;
    std::int16_t pointer_ = PointerDefault;
    bool overridden_ = false;
    std::vector<QPointer<WidgetMirror>> mirrors_;
    std::map<const Window*, std::unique_ptr<ShownWindow>> windows_;
};

// Shows `root` (any control or window) and the widgets under it inside a
// new QWidget under `parent`, which it fills, or in the parent's layout when
// it has one. The QWidget belongs to `parent`; when the model goes first its
// views go with it. A window placed so is shown (and loaded) there: its
// Show, Hide and Close act on that QWidget.
QWidget* place(Widget& root, QtToolkit& toolkit, QWidget* parent);

}  // namespace qlmib::ui::qt
