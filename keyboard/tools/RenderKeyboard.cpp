// kivo_render_keyboard OUTPUT_DIR: draws the keypad in each of its four modes, and once with
// shift on, to PNG files in OUTPUT_DIR, without any X server.
#include "Keyboard.h"
#include "TApplication.h"
#include "TSpeedButton.h"

#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct TPicture {
    const char* FileName;
    TKbMode Mode;
    int Width;
    int Height;
    bool ShiftOn;
};

constexpr TPicture Pictures[] = {
    { "keyboard-alphanumeric.png", kbmAlphaNumeric, 587, 145, false },
    { "keyboard-alphanumeric-shift.png", kbmAlphaNumeric, 587, 145, true },
    { "keyboard-function.png", kbmAlphaNumericFunction, 587, 145, false },
    { "keyboard-calculator.png", kbmCalculator, 162, 202, false },
    { "keyboard-numeric.png", kbmNumeric, 122, 162, false },
};

} // namespace

int main(int Argc, char** Argv)
{
    if (Argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", Argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication App(Argc, Argv);
    const QString OutputDir = QString::fromLocal8Bit(Argv[1]);
    if (!QDir().mkpath(OutputDir)) {
        std::fprintf(stderr, "cannot create %s\n", Argv[1]);
        return 1;
    }

    int Failures = 0;
    for (const TPicture& Picture : Pictures) {
        TKeyboard Keyboard;
        QFont KeypadFont(QStringLiteral("DejaVu Sans"));
        KeypadFont.setPixelSize(20);
        KeypadFont.setBold(true);
        Keyboard.setFont(KeypadFont);
        Keyboard.HighlightColor = Qt::red;
        Keyboard.SetOptions({ BoldShiftIndicator });
        Keyboard.SetBorderWidth(1);
        Keyboard.SetKbMode(Picture.Mode);
        Keyboard.SetBounds(0, 0, Picture.Width, Picture.Height);
        Keyboard.show();
        if (Picture.ShiftOn)
            Keyboard.SpecialKeys(LeftShiftSlot)->click();
        App.ProcessMessages();
        const QString Path = QDir(OutputDir).filePath(QString::fromLatin1(Picture.FileName));
        if (Keyboard.grab().save(Path)) {
            std::printf("%s\n", Path.toLocal8Bit().constData());
        } else {
            std::fprintf(stderr, "cannot write %s\n", Path.toLocal8Bit().constData());
            ++Failures;
        }
    }
    return Failures == 0 ? 0 : 1;
}
