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
#include <vector>

// Logs every key event that reaches the widget it watches, as "press:<text code>" entries.
class TKeyEventLogger : public QObject {
public:
    explicit TKeyEventLogger(std::vector<std::string>& Log)
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
    std::vector<std::string>& Log;
};

class KeyboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        Keyboard = std::make_unique<TKeyboard>();
        Keyboard->SetBorderWidth(1);
        Keyboard->SetBounds(0, 0, 587, 145);
        Keyboard->OnKey = [this](TObject* Sender, char Char) {
            EXPECT_EQ(Sender, Keyboard.get());
            Log.push_back(std::string("key:") + Char);
        };
        Keyboard->OnSpecialKey = [this](TObject* Sender, TSpecialKey Key) {
            EXPECT_EQ(Sender, Keyboard.get());
            Log.push_back("special:" + std::to_string(Key));
        };
        Keyboard->OnShiftStateChange = [this](TObject* Sender, bool On) {
            EXPECT_EQ(Sender, Keyboard.get());
            Log.push_back(std::string("shift:") + (On ? "on" : "off"));
        };
        Keyboard->OnCapsStateChange = [this](TObject* Sender, bool On) {
            EXPECT_EQ(Sender, Keyboard.get());
            Log.push_back(std::string("caps:") + (On ? "on" : "off"));
        };
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
    void ClickGrid(int Row, int Column) { Click(Keyboard->Keys(Row, Column)); }
    void ClickSlot(int Slot) { Click(Keyboard->SpecialKeys(Slot)); }

    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> Taken;
        Taken.swap(Log);
        return Taken;
    }

    std::unique_ptr<TKeyboard> Keyboard;
    std::vector<std::string> Log;
};

using TLog = std::vector<std::string>;

inline QList<TSpeedButton*> AllKeys(const TKeyboard& Keyboard) { return Keyboard.findChildren<TSpeedButton*>(); }
