#pragma once
// The toolkit that draws nothing: for tests and the command-line host. It
// records every message box, clipboard text, pointer change, pop-up menu,
// drag, window shown and print job; message boxes answer at once (with the
// next queued answer, else the default button); timers and sockets run in
// a poll(2) loop; fonts have the fixed metrics. There is no printer unless
// one is set.

#include <deque>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "qlmib/ui/PollEventLoop.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib::ui {

class HeadlessToolkit : public Toolkit {
public:
    struct MessageRecord {
        std::string Prompt;
        std::int32_t Buttons;
        std::string Title;
    };
    struct PopupRecord {
        const Menu* menu;
        float x, y;
    };
    struct DragRecord {
        const Widget* source;
        DragData data;
    };
    struct WindowRecord {
        const Window* window;
        bool modal;
    };
    // A print job as text: the document's plain text, the table's cells
    // (TAB between cells, CR LF after rows) or "(picture)".
    struct PrintRecord {
        std::string Title, Printer, Content;
        bool Preview;
    };

    HeadlessToolkit();
    ~HeadlessToolkit() override;

    EventLoop& eventLoop() override { return loop_; }
    std::int32_t MsgBox(std::string_view Prompt, std::int32_t Buttons = MsgBoxOKOnly,
                        std::string_view Title = {}) override;
    Clipboard& clipboard() override;
    std::int16_t getMousePointer() const override { return pointer_; }
    void setMousePointer(std::int16_t pointer) override;
    const FontMetrics& fontMetrics() const override { return FixedFontMetrics::Instance(); }
    void PopupMenu(Menu& menu, float x = -1, float y = -1) override;
    std::int32_t StartDrag(Widget& source, const DragData& data) override;
    void ShowWindow(Window& window, bool modal) override;
    void HideWindow(Window& window) override;
    std::vector<std::string> Printers() const override { return printers_; }
    bool Print(const PrintJob& job) override;

    // Scripting and records.
    void QueueAnswer(std::int32_t answer) { answers_.push_back(answer); }
    // Message boxes are also written to `out` (null: not written).
    void EchoMessagesTo(std::ostream* out) { echo_ = out; }
    void setPrinters(std::vector<std::string> printers) { printers_ = std::move(printers); }
    const std::vector<MessageRecord>& Messages() const { return messages_; }
    const std::vector<std::int16_t>& PointerChanges() const { return pointerChanges_; }
    const std::vector<PopupRecord>& Popups() const { return popups_; }
    const std::vector<DragRecord>& Drags() const { return drags_; }
    const std::vector<WindowRecord>& WindowsShown() const { return windowsShown_; }
    const std::vector<PrintRecord>& PrintJobs() const { return printJobs_; }
    // Windows shown and not hidden or destroyed since.
    std::vector<Window*> OpenWindows() const;

private:
    class MemoryClipboard;

    PollEventLoop loop_;
    std::unique_ptr<MemoryClipboard> clipboard_;
    std::int16_t pointer_ = PointerDefault;
    std::deque<std::int32_t> answers_;
    std::ostream* echo_ = nullptr;
    std::vector<std::string> printers_;
    std::vector<MessageRecord> messages_;
    std::vector<std::int16_t> pointerChanges_;
    std::vector<PopupRecord> popups_;
    std::vector<DragRecord> drags_;
    std::vector<WindowRecord> windowsShown_;
    std::vector<PrintRecord> printJobs_;
    std::map<Window*, Subscription> open_;
};

}  // namespace qlmib::ui
