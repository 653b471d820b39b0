#pragma once

// A signal that may be raised, connected and disconnected from any thread.
// Raising calls every connected slot synchronously on the raising thread; the
// slot list is copied under the mutex first, so slots may connect or
// disconnect meanwhile (a slot disconnected during a raise may still receive
// that one call).

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
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
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::shared_ptr<Slot>> kept;
        kept.reserve(slots_.size());
        for (auto& slot : slots_) {
            if (!slot->key || !slot->key->matches(probe))
                kept.push_back(slot);
        }
        slots_.swap(kept);
    }

    void disconnect(Id id)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::shared_ptr<Slot>> kept;
        for (auto& slot : slots_) {
            if (slot->id != id)
                kept.push_back(slot);
        }
        slots_.swap(kept);
    }

    void disconnectAll()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_.clear();
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
        for (const auto& slot : copy)
            slot->fn(args...);
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
    };

    Id add(std::function<void(Args...)> fn, std::shared_ptr<KeyBase> key)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Id id = ++nextId_;
        slots_.push_back(std::make_shared<Slot>(Slot{id, std::move(fn), std::move(key)}));
        return id;
    }

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Slot>> slots_;
    Id nextId_ = 0;
};

} // namespace projectfilemgr
} // namespace vexa
