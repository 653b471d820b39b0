#pragma once

// A signal that may be raised, connected and disconnected from any thread.
// Raising calls every connected slot synchronously on the raising thread; the
// slot list is copied under the mutex first, so slots may connect or
// disconnect meanwhile. A slot is never called once its disconnect has begun.
//
// Disconnecting waits until calls of the removed slots already under way on
// other threads have returned, so once disconnect returns the slot's object
// may be destroyed. A call under way on the disconnecting thread itself (a
// slot that disconnects itself, or a raise further up the same stack) is not
// waited for, so that cannot deadlock. The flip side: never disconnect while
// holding a lock that one of the slots takes, nor from a thread that a slot
// waits for.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <typeinfo>
#include <utility>
#include <vector>

namespace vexa {
namespace projectfilemgr {

template <typename... Args>
class ThreadSafeSignal
{
public:
    using Id = std::uint64_t;

    ThreadSafeSignal() = default;
    ThreadSafeSignal(const ThreadSafeSignal&) = delete;
    ThreadSafeSignal& operator=(const ThreadSafeSignal&) = delete;

    // Connects a member function to be called on `object`.
    template <typename T, typename R, typename... P>
    Id connect(R (T::*method)(P...), T* object)
    {
        if (!method || !object)
            return 0;
        auto key = std::make_shared<MemberKey<R (T::*)(P...)>>(method, object);
        return add([object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); }, std::move(key));
    }

    // Connects any callable; disconnect it with the returned id.
    Id connect(std::function<void(Args...)> fn)
    {
        if (!fn)
            return 0;
        return add(std::move(fn), nullptr);
    }

    // Removes every slot connected with this member function and object.
    template <typename T, typename R, typename... P>
    void disconnect(R (T::*method)(P...), T* object)
    {
        const MemberKey<R (T::*)(P...)> probe(method, object);
        removeIf([&probe](const Slot& slot) { return slot.key && slot.key->matches(probe); });
    }

    void disconnect(Id id)
    {
        removeIf([id](const Slot& slot) { return slot.id == id; });
    }

    void disconnectAll()
    {
        removeIf([](const Slot&) { return true; });
    }

    std::size_t slotCount() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return slots_.size();
    }

    void operator()(Args... args) const
    {
        std::vector<std::shared_ptr<Slot>> copy;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            copy = slots_;
        }
        const std::thread::id self = std::this_thread::get_id();
        for (const auto& slot : copy) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!slot->connected)
                    continue;
                slot->callers.push_back(self);
            }
            const CallGuard guard{this, slot.get(), self};
            slot->fn(args...);
        }
    }

private:
    struct KeyBase
    {
        virtual ~KeyBase() = default;
        virtual bool matches(const KeyBase& other) const = 0;
    };

    template <typename M>
    struct MemberKey final : KeyBase
    {
        MemberKey(M m, const void* o) : method(m), object(o) {}
        bool matches(const KeyBase& other) const override
        {
            auto* same = dynamic_cast<const MemberKey<M>*>(&other);
            return same && same->method == method && same->object == object;
        }
        M method;
        const void* object;
    };

    struct Slot
    {
        Id id;
        std::function<void(Args...)> fn;
        std::shared_ptr<KeyBase> key;
        // Guarded by the signal's mutex.
        bool connected = true;
        std::vector<std::thread::id> callers; // one entry per call under way
    };

    // Ends one call of a slot, also when the slot throws.
    struct CallGuard
    {
        const ThreadSafeSignal* signal;
        Slot* slot;
        std::thread::id caller;
        ~CallGuard()
        {
            {
                std::lock_guard<std::mutex> lock(signal->mutex_);
                auto& callers = slot->callers;
                callers.erase(std::find(callers.begin(), callers.end(), caller));
            }
            signal->callEnded_.notify_all();
        }
    };

    Id add(std::function<void(Args...)> fn, std::shared_ptr<KeyBase> key)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Id id = ++nextId_;
        auto slot = std::make_shared<Slot>();
        slot->id = id;
        slot->fn = std::move(fn);
        slot->key = std::move(key);
        slots_.push_back(std::move(slot));
        return id;
    }

    template <typename Match>
    void removeIf(Match match)
    {
        const std::thread::id self = std::this_thread::get_id();
        std::unique_lock<std::mutex> lock(mutex_);
        std::vector<std::shared_ptr<Slot>> kept;
        std::vector<std::shared_ptr<Slot>> removed;
        kept.reserve(slots_.size());
        for (auto& slot : slots_) {
            if (match(*slot)) {
                slot->connected = false;
                removed.push_back(slot);
            } else {
                kept.push_back(slot);
            }
        }
        slots_.swap(kept);
        // Calls on this thread are further up our own stack: waiting for them would never end.
        callEnded_.wait(lock, [&removed, self] {
            return std::all_of(removed.begin(), removed.end(), [self](const std::shared_ptr<Slot>& slot) {
                return std::all_of(slot->callers.begin(), slot->callers.end(),
                                   [self](std::thread::id caller) { return caller == self; });
            });
        });
    }

    mutable std::mutex mutex_;
    mutable std::condition_variable callEnded_;
    std::vector<std::shared_ptr<Slot>> slots_;
    Id nextId_ = 0;
};

} // namespace projectfilemgr
} // namespace vexa
