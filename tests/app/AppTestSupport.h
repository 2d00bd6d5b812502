#pragma once
// What the application's unit tests share: the three windows built as the program builds
// them, on a fresh recording backend, and the key events it received in a compact form.
#include "Abox.h"
#include "Input.h"
#include "LumeraGlyphs.h"
#include "Resources.h"
#include "RecordingWindowsCalls.h"
#include "TApplication.h"
#include "Unit1.h"
#include "Unit4.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

class TAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The output chosen in the window's menu is remembered in the test's own settings.
        QStandardPaths::setTestModeEnabled(true);
        LoadKivoResources();
        RegisterDisplayFonts();
        Application->FocusHandOverMilliseconds = 0;
        auto Owned = std::make_unique<TRecordingWindowsCalls>();
        Backend = Owned.get();
        SetWindowsCalls(std::move(Owned));
        MainForm = std::make_unique<TForm1>();
        Form1 = MainForm.get();
        About = std::make_unique<TForm2>();
        Form2 = About.get();
        Instructions = std::make_unique<TForm4>();
        Form4 = Instructions.get();
        MainForm->DoCreate();
        MainForm->show();
        QApplication::processEvents();
        Backend->ClearCalls();
    }

    void TearDown() override
    {
        Instructions.reset();
        About.reset();
        MainForm.reset();
        Form1 = nullptr;
        Form2 = nullptr;
        Form4 = nullptr;
        SetWindowsCalls(nullptr);
        Application->FocusHandOverMilliseconds = TApplication::DefaultFocusHandOverMilliseconds;
    }

    // The key events in order: "+10" is virtual key 0x10 pressed, "-10" released.
    std::string KeyEvents() const
    {
        std::string Result;
        for (const TInputCall& Call : Backend->Calls()) {
            if (Call.Kind != ickKeybdEvent)
                continue;
            char Event[8];
            std::snprintf(Event, sizeof Event, "%c%02X", (Call.Flags & KEYEVENTF_KEYUP) ? '-' : '+', Call.VirtualKey);
            Result += (Result.empty() ? "" : " ") + std::string(Event);
        }
        return Result;
    }

    // Runs Action while Window is shown modally, then Close, and says whether it was modal.
    static void WhileModal(QDialog* Window, const std::function<void()>& Close, bool* WasShown = nullptr)
    {
        QTimer::singleShot(0, Window, [Window, Close, WasShown] {
            if (WasShown)
                *WasShown = Window->isVisible() && Window->isModal();
            Close();
        });
    }

    TRecordingWindowsCalls* Backend = nullptr;
    std::unique_ptr<TForm1> MainForm;
    std::unique_ptr<TForm2> About;
    std::unique_ptr<TForm4> Instructions;
};
