#include "gui/kit/CUiThreadPoster.h"

#include "gui/kit/CUiCallQueue.h"

CUiThreadPoster::CUiThreadPoster() : m_alive(std::make_shared<bool>(true)) {
    CUiCallQueue::Instance();
}

void CUiThreadPoster::Post(std::function<void()> call) {
    CUiCallQueue::Instance().Post(std::move(call));
}
