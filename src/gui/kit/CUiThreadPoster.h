#pragma once

#include "gui/kit/CUiCallQueue.h"

#include <functional>
#include <memory>

// Turns a completion into one that may be called on any thread (the engine's worker) and runs
// the original on the user-interface thread. Completions still on their way when the poster
// is destroyed are dropped, so they never reach an owner that is gone: the poster belongs to
// the object the completions call.
class CUiThreadPoster {
public:
    using PostFunction = CUiCallQueue::PostFunction;

    // Posts a call to the user-interface thread (from any thread); it runs there only while
    // the poster lives.
    PostFunction Poster() const { return m_queue.Poster(); }

    template <typename... Args> std::function<void(Args...)> Wrap(std::function<void(Args...)> call) const {
        auto shared = std::make_shared<const std::function<void(Args...)>>(std::move(call));
        return [post = Poster(), shared](Args... args) { post([shared, args...] { (*shared)(args...); }); };
    }

private:
    // Made on the user-interface thread with its owner.
    CUiCallQueue m_queue;
};
