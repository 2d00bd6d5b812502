#pragma once
// A watcher of message processing for tests and the fuzz target, with no test framework.
#include "RecordingInputBackend.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Marks the log once per pass of message processing: it keeps one event of its own posted,
// and every delivery notes the moment and posts the next. Qt delivers an event posted while
// posted events are being delivered only in the next pass, so each pass leaves one mark.
class TMessageRecorder : public QObject {
public:
    explicit TMessageRecorder(TRecordingInputBackend& Backend)
        : Backend(Backend)
    {
        Post();
    }
    ~TMessageRecorder() override { QCoreApplication::removePostedEvents(this); }

protected:
    bool event(QEvent* Event) override
    {
        if (Event->type() != MarkType)
            return QObject::event(Event);
        Backend.NoteMessagesProcessed();
        Post();
        return true;
    }

private:
    static constexpr auto MarkType = QEvent::Type(QEvent::User + 17);
    void Post() { QCoreApplication::postEvent(this, new QEvent(MarkType)); }

    TRecordingInputBackend& Backend;
};
