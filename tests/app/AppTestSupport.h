#pragma once
// What the application's unit tests share: the three windows built as the program builds
// them, on a fresh recording backend, and the key events it received in a compact form.
#include "Abox.h"
#include "LumeraGlyphs.h"
#include "Resources.h"
#include "RecordingInputBackend.h"
#include "TApplication.h"
#include "Unit1.h"
#include "Unit4.h"

#include <QApplication>
#include <QRect>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Failure messages in pixels rather than bytes.
inline void PrintTo(const QRect& Rect, std::ostream* Out)
{
    *Out << Rect.x() << "," << Rect.y() << " " << Rect.width() << "x" << Rect.height();
}

class TAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The output chosen in the window's menu is remembered in the test's own settings.
        QStandardPaths::setTestModeEnabled(true);
        LoadKivoResources();
        RegisterDisplayFonts();
        Application->FocusHandOverMilliseconds = 0;
        auto Owned = std::make_unique<TRecordingInputBackend>();
        Backend = Owned.get();
        SetInputBackend(std::move(Owned));
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
        SetInputBackend(nullptr);
        Application->FocusHandOverMilliseconds = TApplication::DefaultFocusHandOverMilliseconds;
    }

    // The key actions in order: "+Shift +A -A -Shift".
    std::string KeyEvents() const { return TextOf(Backend->Felt()); }

    TRecordingInputBackend* Backend = nullptr;
    std::unique_ptr<TForm1> MainForm;
    std::unique_ptr<TForm2> About;
    std::unique_ptr<TForm4> Instructions;
};
