#pragma once
#include <QCoreApplication>
#include <chrono>
#include <future>

// Runs `travail` on a worker thread and returns its result; meanwhile the windows keep being
// painted (user input stays queued), so a window shown during a slow network call stays alive.
template <typename F>
auto executerEnArrierePlan(F&& travail) -> decltype(travail()) {
    auto futur = std::async(std::launch::async, std::forward<F>(travail));
    while (futur.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return futur.get();
}
