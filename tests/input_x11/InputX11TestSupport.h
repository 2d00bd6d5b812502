#pragma once
// The fixture of the typing and window tests: a real target, the sender that the program uses,
// and after every test the check that nothing was left held down on the server.
#include "Sendkey.h"
#include "X11Tools.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

class TInputX11Test : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(Server.ModifiersHeld(), "") << "a modifier was left held down";
        EXPECT_TRUE(Server.KeysDown().empty()) << "a key was left held down";
        Server.SetCapsLock(false);
        Server.SetNumLock(false);
        Server.LockGroup(0);
    }

    // Opens the target terminal titled Title, which then has the focus.
    void OpenTarget(const std::string& Title)
    {
        Target.emplace(Title);
        ASSERT_TRUE(Target->Ready());
        ASSERT_TRUE(Target->Focus());
    }

    TXServerProbe Server;
    TSendkeys Sender;
    std::optional<TXtermTarget> Target;
};

