#pragma once
// A keypad on screen (offscreen platform) whose events, beeps and linked-control key events are
// written into one log, so that tests can assert their exact order.
#include "Keyboard.h"
#include "SysUtils.h"
#include "TSpeedButton.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using TLog = std::vector<std::string>;

// A key of the grid by row and column, a special key by its slot.
struct TKeyAt {
    int Row = 0; // 0: a special key
    int ColumnOrSlot = 0;
};
constexpr TKeyAt Grid(int Row, int Column) { return { Row, Column }; }
constexpr TKeyAt Slot(int Slot) { return { 0, Slot }; }

inline TSpeedButton* KeyOf(const TKeyboard& Keyboard, TKeyAt Key)
{
    return Key.Row ? Keyboard.Keys(Key.Row, Key.ColumnOrSlot) : Keyboard.SpecialKeys(Key.ColumnOrSlot);
}

inline QList<TSpeedButton*> AllKeys(const TKeyboard& Keyboard) { return Keyboard.findChildren<TSpeedButton*>(); }

// Logs every key event that reaches the widget it watches, as "press:<text code>" entries.
class TKeyEventLogger : public QObject {
public:
    explicit TKeyEventLogger(TLog& Log)
        : Log(Log)
    {
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::KeyPress) {
            const auto* Key = static_cast<QKeyEvent*>(Event);
            const QString Text = Key->text();
            Log.push_back("press:" + (Text.isEmpty() ? std::string("key") + std::to_string(Key->key()) : std::to_string(Text.at(0).unicode())));
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    TLog& Log;
};

class KeyboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        Keyboard = std::make_unique<TKeyboard>();
        Keyboard->SetBorderWidth(1);
        Keyboard->SetBounds(0, 0, 587, 145);
        // The keypad passes itself as Sender, never the key.
        const auto Note = [this](TObject* Sender, std::string Entry) {
            EXPECT_EQ(Sender, Keyboard.get());
            Log.push_back(std::move(Entry));
        };
        Keyboard->OnKey = [Note](TObject* From, char Char) { Note(From, std::string("key:") + Char); };
        Keyboard->OnSpecialKey = [Note](TObject* From, TSpecialKey Key) {
            Note(From, "special:" + std::to_string(Key));
        };
        Keyboard->OnShiftStateChange = [Note](TObject* From, bool On) { Note(From, On ? "shift:on" : "shift:off"); };
        Keyboard->OnCapsStateChange = [Note](TObject* From, bool On) { Note(From, On ? "caps:on" : "caps:off"); };
        SetBeepSink([this] { Log.push_back("beep"); });
        Keyboard->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Keyboard.get()));
    }

    void TearDown() override { SetBeepSink({}); }

    // A real mouse click in the middle of the key, through Qt's event dispatch.
    static void Click(TSpeedButton* Key)
    {
        ASSERT_NE(Key, nullptr);
        QTest::mouseClick(Key, Qt::LeftButton, Qt::NoModifier, QPoint(Key->width() / 2, Key->height() / 2));
    }
    void Click(TKeyAt Key) { Click(KeyOf(*Keyboard, Key)); }

    TLog TakeLog() { return std::exchange(Log, {}); }

    std::unique_ptr<TKeyboard> Keyboard;
    TLog Log;
};

