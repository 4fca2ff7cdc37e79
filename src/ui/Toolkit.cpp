#include "Toolkit.h"

#include <algorithm>

#include "Window.h"

namespace qlmib::ui {

Toolkit::~Toolkit() = default;

void Toolkit::KeepUntilClosed(Window& window, std::shared_ptr<void> owner) {
    auto kept = std::make_unique<Kept>();
    Kept* entry = kept.get();
    entry->window = &window;
    entry->owner = std::move(owner);
    // The owner goes from the loop, not from inside the window's own Unload handler.
    entry->closed = window.Unload.subscribe([this, entry] {
        eventLoop().post([this, entry] {
            kept_.erase(std::remove_if(kept_.begin(), kept_.end(), [&](const auto& k) { return k.get() == entry; }),
                        kept_.end());
        });
    });
    kept_.push_back(std::move(kept));
}

}  // namespace qlmib::ui
