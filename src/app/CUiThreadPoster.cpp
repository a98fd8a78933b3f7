#include "app/CUiThreadPoster.h"

#include "app/CUiCallQueue.h"

void CUiThreadPoster::Post(std::function<void()> call) {
    CUiCallQueue::Instance().Post(std::move(call));
}
