#pragma once

#include <functional>
#include <memory>

// Turns a completion into one that may be called on any thread (the engine's worker) and runs
// the original on the user-interface thread. Completions still on their way when the poster
// is destroyed are dropped, so they never reach an owner that is gone: the poster belongs to
// the object the completions call.
class CUiThreadPoster {
public:
    // On the user-interface thread.
    CUiThreadPoster();
    CUiThreadPoster(const CUiThreadPoster&) = delete;
    CUiThreadPoster& operator=(const CUiThreadPoster&) = delete;

    using PostFunction = std::function<void(std::function<void()>)>;

    // Posts a call to the user-interface thread (from any thread); it runs there only while
    // the poster lives.
    PostFunction Poster() const {
        std::weak_ptr<const bool> alive = m_alive;
        return [alive](std::function<void()> call) {
            Post([alive, call = std::move(call)] {
                if (!alive.expired())
                    call();
            });
        };
    }

    template <typename... Args> std::function<void(Args...)> Wrap(std::function<void(Args...)> call) const {
        auto shared = std::make_shared<const std::function<void(Args...)>>(std::move(call));
        return [post = Poster(), shared](Args... args) { post([shared, args...] { (*shared)(args...); }); };
    }

private:
    static void Post(std::function<void()> call);

    std::shared_ptr<const bool> m_alive;
};
