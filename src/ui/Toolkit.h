#pragma once
// What a toolkit gives the controls besides the views of their components:
// the event loop and its timers, message boxes, the clipboard, the mouse
// pointer, font metrics, pop-up menus, dragging, windows and printing. A
// control receives the toolkit when it is created and keeps using it; the
// toolkit outlives every control made with it. Thread affinity: the thread
// that created it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/ui/Clipboard.h"
#include "qlmib/ui/EventLoop.h"
#include "qlmib/ui/FontMetrics.h"
#include "qlmib/ui/InputCodes.h"
#include "qlmib/ui/MessageBox.h"

namespace qlmib::ui {

class GridModel;
class Menu;
class RichTextDocument;
class Widget;
class Window;
struct Picture;

// What a drag from a control carries.
struct DragData {
    std::string Text;
    std::int32_t AllowedEffects = DropEffectCopy;
    std::int16_t Pointer = PointerCustom;  // the pointer shown while dragging
};

// One print job: the settings of the export bridge and one object to print.
struct PrintJob {
    std::string ProgramName, ProgramVersion, Title, SubTitle, Paragraph, Footer;
    std::string Printer;  // "" for the default printer
    std::string PdfFile;  // when set, the job is written to this PDF file instead
    std::int32_t Orientation = 1;
    bool Preview = false;
    const RichTextDocument* Document = nullptr;
    const GridModel* Table = nullptr;
    const Picture* Image = nullptr;
};

class Toolkit {
public:
    virtual ~Toolkit();

    virtual EventLoop& eventLoop() = 0;
    std::unique_ptr<Timer> CreateTimer() { return eventLoop().createTimer(); }
    // Lets pending window events, timer ticks and socket answers run.
    void DoEvents() { eventLoop().processEvents(); }

    // Shows a message box and returns the button chosen. An empty Title is
    // the application's title.
    virtual std::int32_t MsgBox(std::string_view Prompt, std::int32_t Buttons = MsgBoxOKOnly,
                                std::string_view Title = {}) = 0;
    virtual Clipboard& clipboard() = 0;
    // The application-wide mouse pointer (PointerHourglass while busy).
    virtual std::int16_t getMousePointer() const = 0;
    virtual void setMousePointer(std::int16_t pointer) = 0;
    virtual const FontMetrics& fontMetrics() const = 0;

    // Shows a pop-up menu at (x, y) twips on the screen (negative: at the
    // mouse); returns after the user chose an entry (its Click is raised
    // inside) or dismissed the menu.
    virtual void PopupMenu(Menu& menu, float x = -1, float y = -1) = 0;
    // Starts dragging from `source`; returns the effect the drop performed.
    virtual std::int32_t StartDrag(Widget& source, const DragData& data) = 0;

    // Called by Window::Show and Window::Hide.
    virtual void ShowWindow(Window& window, bool modal) = 0;
    virtual void HideWindow(Window& window) = 0;
    // Keeps `owner` (usually the object that holds `window`) alive until the
    // window is closed: for windows the library opens on its own.
    void KeepUntilClosed(Window& window, std::shared_ptr<void> owner);
    std::size_t KeptWindowCount() const { return kept_.size(); }

    // The names of the installed printers.
    virtual std::vector<std::string> Printers() const = 0;
    // Prints or previews a job; false when it could not be printed.
    virtual bool Print(const PrintJob& job) = 0;
    // Whether Print writes jobs with a PdfFile.
    virtual bool CanWritePdf() const { return false; }

    const std::string& getAppTitle() const { return appTitle_; }
    void setAppTitle(std::string_view title) { appTitle_.assign(title); }

private:
    struct Kept {
        Window* window;
        std::shared_ptr<void> owner;
        Subscription closed;
    };
    std::vector<std::unique_ptr<Kept>> kept_;
    std::string appTitle_ = "QLMIBTree";
};

// Shows the busy pointer while it lives, then restores the pointer it found.
class BusyPointer {
public:
    explicit BusyPointer(Toolkit& toolkit) : toolkit_(toolkit), previous_(toolkit.getMousePointer()) {
        toolkit_.setMousePointer(PointerHourglass);
    }
    ~BusyPointer() { toolkit_.setMousePointer(previous_); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Toolkit& toolkit_;
    std::int16_t previous_;
};

}  // namespace qlmib::ui
