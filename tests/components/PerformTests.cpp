// Perform: window messages arriving in real Qt edit widgets as typed keys.
#include "Messages.h"
#include "SysUtils.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

void TypeChars(QWidget* Target, const std::string& Text)
{
    for (const char C : Text)
        Perform(Target, WM_CHAR, static_cast<unsigned char>(C), 0);
}

TEST(Perform, CharactersOfAllEightBitCodesArriveInALineEdit)
{
    QLineEdit Edit;
    TypeChars(&Edit, "Ab 1&\xe9\xfc~");
    EXPECT_EQ(Edit.text(), QString::fromLatin1("Ab 1&\xe9\xfc~"));
}

TEST(Perform, BackspaceDeletesOnceForItsKeyDownAndCharacterPair)
{
    QLineEdit Edit;
    TypeChars(&Edit, "abc");
    EXPECT_EQ(Perform(&Edit, WM_KEYDOWN, 8, 0), 1);
    Perform(&Edit, WM_CHAR, 8, 0);
    EXPECT_EQ(Edit.text(), QStringLiteral("ab"));
    // The character alone inserts no control character either.
    Perform(&Edit, WM_CHAR, 8, 0);
    EXPECT_EQ(Edit.text(), QStringLiteral("ab"));
}

TEST(Perform, ReturnTabAndBackspaceArriveAsTheirKeysInATextEdit)
{
    QPlainTextEdit Edit;
    TypeChars(&Edit, "a\rb\tc");
    EXPECT_EQ(Edit.toPlainText(), QStringLiteral("a\nb\tc"));
    Perform(&Edit, WM_KEYDOWN, 8, 0);
    Perform(&Edit, WM_CHAR, 8, 0);
    EXPECT_EQ(Edit.toPlainText(), QStringLiteral("a\nb\t"));
}

TEST(Perform, KeyDownMovesTheCursorWithoutTyping)
{
    QLineEdit Edit;
    TypeChars(&Edit, "ac");
    Perform(&Edit, WM_KEYDOWN, 0x25, 0); // left
    TypeChars(&Edit, "b");
    Perform(&Edit, WM_KEYDOWN, 'X', 0); // a letter's key down carries no character
    EXPECT_EQ(Edit.text(), QStringLiteral("abc"));
}

TEST(Perform, NothingHappensWithoutAControlOrForOtherMessages)
{
    QLineEdit Edit;
    EXPECT_EQ(Perform(nullptr, WM_CHAR, 'a', 0), 0);
    EXPECT_EQ(Perform(&Edit, 0x0200, 'a', 0), 0);
    EXPECT_TRUE(Edit.text().isEmpty());
}

TEST(Perform, AControlWithAFocusProxyGetsTheKeysThroughIt)
{
    QWidget Box;
    auto* Inner = new QLineEdit(&Box);
    Box.setFocusProxy(Inner);
    TypeChars(&Box, "xy");
    EXPECT_EQ(Inner->text(), QStringLiteral("xy"));
}

} // namespace
