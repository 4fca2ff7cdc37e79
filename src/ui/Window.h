#pragma once
// A top-level window: caption, modal or modeless showing, always on top,
// and closing with the chance to refuse it.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Toolkit;

class Window : public Widget {
public:
    explicit Window(Toolkit& toolkit, std::string name = {});

    Toolkit& toolkit() const { return toolkit_; }
    const std::string& getCaption() const { return caption_; }
    void setCaption(std::string_view caption);
    // Stays above other windows.
    bool getTopMost() const { return topMost_; }
    void setTopMost(bool topMost);
    bool getModal() const { return modal_; }

    // Shows the window; the first Show raises Load. A modal Show returns when
    // the window is closed (at once in the headless toolkit).
    void Show(bool Modal = false);
    void Hide();
    // Closes the window, as its close box does: QueryUnload may cancel; then
    // it is hidden and Unload is raised. Returns whether it closed.
    bool Close();
    bool getLoaded() const { return loaded_; }

    Event<> Load;
    Event<bool& /*Cancel*/> QueryUnload;
    Event<> Unload;

private:
    Toolkit& toolkit_;
    std::string caption_;
    bool topMost_ = false, modal_ = false, loaded_ = false;
};

}  // namespace qlmib::ui
