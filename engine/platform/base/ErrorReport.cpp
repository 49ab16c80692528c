#include "platform/base/ErrorReport.h"

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// The installed handler is shared with every report in flight, so replacing
// it never destroys a handler that another thread is still running.
// SetErrorReportHandler waits until those reports have finished: a handler
// that captures a test's collector must not run after the test has moved on.
struct HandlerSlot {
    std::mutex mutex;
    std::condition_variable reportFinished;
    std::shared_ptr<const ErrorReportHandler> handler;
};

HandlerSlot& Slot() {
    static HandlerSlot slot;
    return slot;
}

// How many handlers the current thread is running (a handler may report or
// swap handlers itself; it must not then wait for its own call to end).
thread_local int t_handlerDepth = 0;

void WriteToStderr(const std::string& text, const std::string& title) {
    if (title.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

ErrorIcon IconFromStyle(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return ErrorIcon::Error;
    case MB_ICONWARNING:
        return ErrorIcon::Warning;
    default:
        return ErrorIcon::Information;
    }
}

}  // namespace

void ReportError(const std::string& text, const std::string& title, ErrorIcon icon) {
    HandlerSlot& slot = Slot();
    std::shared_ptr<const ErrorReportHandler> handler;
    {
        std::lock_guard<std::mutex> lock(slot.mutex);
        handler = slot.handler;
    }
    if (!handler) {
        WriteToStderr(text, title);
        return;
    }
    // Releases this report's share of the handler even when the handler throws.
    struct InFlight {
        HandlerSlot& slot;
        std::shared_ptr<const ErrorReportHandler>& handler;
        ~InFlight() {
            --t_handlerDepth;
            std::lock_guard<std::mutex> lock(slot.mutex);
            handler.reset();
            slot.reportFinished.notify_all();
        }
    };
    ++t_handlerDepth;
    InFlight inFlight{slot, handler};
    (*handler)(text, title, icon);
}

ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler) {
    HandlerSlot& slot = Slot();
    std::shared_ptr<const ErrorReportHandler> next;
    if (handler)
        next = std::make_shared<const ErrorReportHandler>(std::move(handler));

    std::unique_lock<std::mutex> lock(slot.mutex);
    std::shared_ptr<const ErrorReportHandler> previous = std::exchange(slot.handler, next);
    if (!previous)
        return {};
    if (t_handlerDepth == 0)
        slot.reportFinished.wait(lock, [&] { return previous.use_count() == 1; });
    return *previous;
}

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    ReportError(text ? text : "", caption ? caption : "", IconFromStyle(type));
    return IDOK;
}

int AfxMessageBox(LPCSTR text, UINT type) {
    return MessageBoxA(nullptr, text, nullptr, type);
}
