// The choice of platform at start: what the session offers against what the user asked for.
#include "PlatformChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformChoice, NativeOnlyWhereEverythingIsThereAndOneLineWhereNot)
{
    const TPlatformOffer Wlroots { true, true, true, true };
    const TPlatformOffer Kwin { true, true, false, true };
    const TPlatformOffer Gnome { true, false, false, true };
    const TPlatformOffer NoPlugin { true, true, true, false };
    const TPlatformOffer NoWayland {};
    const struct {
        std::optional<TPlatformName> Asked;
        TPlatformOffer Offer;
        TPlatformName Chosen;
        bool Fatal;
        const char* MessageHas;
    } Cases[] = {
        { std::nullopt, Wlroots, pnWayland, false, "" },
        { pnWayland, Wlroots, pnWayland, false, "" },
        { pnX11, Wlroots, pnX11, false, "" },
        { std::nullopt, NoWayland, pnX11, false, "" },
        { std::nullopt, Kwin, pnX11, false, "no virtual keyboard (zwp_virtual_keyboard_manager_v1); typing through X11" },
        { std::nullopt, Gnome, pnX11, false, "no layer shell (zwlr_layer_shell_v1) and no virtual keyboard" },
        { std::nullopt, NoPlugin, pnX11, false, "qt6-wayland" },
        { pnWayland, Kwin, pnX11, true, "--platform=wayland: this Wayland desktop offers no virtual keyboard" },
        { pnWayland, NoWayland, pnX11, true, "no Wayland compositor" },
        { pnX11, NoWayland, pnX11, false, "" },
    };
    for (const auto& Case : Cases) {
        const TPlatformDecision Decision = DecidePlatform(Case.Asked, Case.Offer);
        const std::string Name = std::string(Case.Asked ? (*Case.Asked == pnX11 ? "x11" : "wayland") : "auto") + " " + Case.MessageHas;
        EXPECT_EQ(Decision.Platform, Case.Chosen) << Name;
        EXPECT_EQ(Decision.Fatal, Case.Fatal) << Name;
        const std::string Message = Decision.Message.English();
        EXPECT_NE(Message.find(Case.MessageHas), std::string::npos) << Name << ": " << Message;
        EXPECT_EQ(Message.empty(), *Case.MessageHas == 0) << Name;
        EXPECT_EQ(Message.find('\n'), std::string::npos) << Name;
    }
}

TEST(PlatformChoice, TheCommandLineNamesThePlatform)
{
    const struct {
        QStringList Arguments;
        TCommandLineAction Action;
        std::optional<TPlatformName> Platform;
    } Cases[] = {
        { {}, claRun, std::nullopt },
        { { "--platform=x11" }, claRun, pnX11 },
        { { "--platform", "wayland" }, claRun, pnWayland },
        { { "--platform=mir" }, claError, std::nullopt },
        { { "--platform" }, claError, std::nullopt },
    };
    for (const auto& Case : Cases) {
        const TCommandLine Parsed = ParseCommandLine(QStringList { QStringLiteral("kivo") } + Case.Arguments);
        EXPECT_EQ(Parsed.Action, Case.Action) << Case.Arguments.join(' ').toStdString();
        EXPECT_EQ(Parsed.Platform, Case.Platform) << Case.Arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(ParseCommandLine({ QStringLiteral("kivo"), QStringLiteral("--help") }).Message.contains(QLatin1String("--platform <x11|wayland>")));
}

} // namespace
