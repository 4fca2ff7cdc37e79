#include "HeadlessToolkit.h"

#include <map>
#include <ostream>

#include "GridModel.h"
#include "RichTextDocument.h"
#include "Window.h"

namespace qlmib::ui {

class HeadlessToolkit::MemoryClipboard : public Clipboard {
public:
    void Clear() override { texts_.clear(); }
    void SetText(std::string_view text, std::int32_t format) override { texts_[format] = std::string(text); }
    std::string GetText(std::int32_t format) const override {
        const auto it = texts_.find(format);
        return it == texts_.end() ? std::string() : it->second;
    }
    bool GetFormat(std::int32_t format) const override { return texts_.contains(format); }

private:
    std::map<std::int32_t, std::string> texts_;
};

HeadlessToolkit::HeadlessToolkit() : clipboard_(std::make_unique<MemoryClipboard>()) {}

HeadlessToolkit::~HeadlessToolkit() = default;

std::int32_t HeadlessToolkit::MsgBox(std::string_view Prompt, std::int32_t Buttons, std::string_view Title) {
    messages_.push_back({std::string(Prompt), Buttons, std::string(Title.empty() ? getAppTitle() : Title)});
    if (echo_) {
        std::string line(Prompt);
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\r') {
                const bool pair = i + 1 < line.size() && line[i + 1] == '\n';
                line.replace(i, pair ? 2 : 1, "\n");
            }
        }
        *echo_ << line << '\n';
    }
    if (answers_.empty()) return DefaultMsgBoxAnswer(Buttons);
    const auto answer = answers_.front();
    answers_.pop_front();
    return answer;
}

Clipboard& HeadlessToolkit::clipboard() { return *clipboard_; }

void HeadlessToolkit::setMousePointer(std::int16_t pointer) {
    pointer_ = pointer;
    pointerChanges_.push_back(pointer);
}

void HeadlessToolkit::PopupMenu(Menu& menu, float x, float y) { popups_.push_back({&menu, x, y}); }

std::int32_t HeadlessToolkit::StartDrag(Widget& source, const DragData& data) {
    drags_.push_back({&source, data});
    return DropEffectNone;
}

void HeadlessToolkit::ShowWindow(Window& window, bool modal) {
    windowsShown_.push_back({&window, modal});
    open_[&window] = window.Destroying.subscribe([this, w = &window] { open_.erase(w); });
}

void HeadlessToolkit::HideWindow(Window& window) { open_.erase(&window); }

std::vector<Window*> HeadlessToolkit::OpenWindows() const {
    std::vector<Window*> windows;
    for (const auto& [window, subscription] : open_) windows.push_back(window);
    return windows;
}

bool HeadlessToolkit::Print(const PrintJob& job) {
    if (printers_.empty() || !job.PdfFile.empty()) return false;
    PrintRecord record{job.Title, job.Printer.empty() ? printers_.front() : job.Printer, std::string(), job.Preview};
    if (job.Document) {
        record.Content = job.Document->getText();
    } else if (job.Table) {
        for (std::int32_t r = 0; r < job.Table->getRows(); ++r) {
            for (std::int32_t c = 0; c < job.Table->getCols(); ++c) {
                if (c) record.Content += '\t';
                record.Content += job.Table->getTextMatrix(r, c);
            }
            record.Content += "\r\n";
        }
    } else if (job.Image) {
        record.Content = "(picture)";
    }
    printJobs_.push_back(std::move(record));
    return true;
}

}  // namespace qlmib::ui
