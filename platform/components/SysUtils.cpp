#include "SysUtils.h"

#include "TApplication.h"

#include <QApplication>

#include <cstdio>

namespace {

std::function<void()>& BeepSink()
{
    static std::function<void()> Sink;
    return Sink;
}

std::function<void(std::exception_ptr)>& ExceptionHandler()
{
    static std::function<void(std::exception_ptr)> Handler;
    return Handler;
}

} // namespace

void Beep()
{
    if (BeepSink())
        BeepSink()();
    else
        QApplication::beep();
}

void SetBeepSink(std::function<void()> Sink) { BeepSink() = std::move(Sink); }

void HandleException(std::exception_ptr Error)
{
    if (ExceptionHandler()) {
        ExceptionHandler()(Error);
        return;
    }
    try {
        std::rethrow_exception(Error);
    } catch (const std::exception& Caught) {
        if (Application)
            Application->ShowException(Caught);
        else
            std::fprintf(stderr, "kivo: %s\n", Caught.what());
    } catch (...) {
        std::fprintf(stderr, "kivo: %s\n", qPrintable(QCoreApplication::translate("kivo", "unknown error")));
    }
}

void SetExceptionHandler(std::function<void(std::exception_ptr)> Handler) { ExceptionHandler() = std::move(Handler); }
