#pragma once
// Synchronous events: subscribers run in subscription order, inside the call
// that raises the event. Arguments a subscriber may change are declared as
// references (Event<int&>). A subscription ends when its handle is destroyed;
// subscribing or unsubscribing while the event is being raised is safe.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qlmib {

class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() noexcept {
        if (cancel_) std::exchange(cancel_, nullptr)();
    }

private:
    std::function<void()> cancel_;
};

template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    [[nodiscard]] Subscription subscribe(Handler handler) {
        const std::uint64_t id = ++slots_->lastId;
        slots_->entries.push_back({id, std::make_shared<Handler>(std::move(handler))});
        std::weak_ptr<Slots> weak = slots_;
        return Subscription([weak, id] {
            if (auto slots = weak.lock()) {
                auto& e = slots->entries;
                for (auto it = e.begin(); it != e.end(); ++it) {
                    if (it->id == id) {
                        e.erase(it);
                        break;
                    }
                }
            }
        });
    }

    bool hasSubscribers() const { return !slots_->entries.empty(); }

    // Raise the event. The handler list is copied first, so a handler may
    // subscribe or unsubscribe; a handler removed meanwhile is still called once.
    void operator()(Args... args) const {
        if (slots_->entries.empty()) return;
        if (slots_->entries.size() == 1) {
            auto handler = slots_->entries.front().handler;
            (*handler)(args...);
            return;
        }
        auto snapshot = slots_->entries;
        for (auto& entry : snapshot) (*entry.handler)(args...);
    }

private:
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Handler> handler;
    };
    struct Slots {
        std::uint64_t lastId = 0;
        std::vector<Entry> entries;
    };
    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

}  // namespace qlmib
