#pragma once
// The instructions window: the logo, how to use KIVO with the output in force, and a Close
// button. A dialog of the main window, built when first opened.
#include "OutputMode.h"
#include "ui_Unit4.h"

#include <QDialog>
#include <QStringList>

class TForm4 : public QDialog, public Ui::TForm4 {
    Q_OBJECT

public:
    explicit TForm4(QWidget* Parent = nullptr);

    // Shows the instructions for Output: the keypad font's hand-broken lines for omLumera, the
    // paragraphs of Unicode typing for omUnicode.
    void ShowInstructions(TOutputMode Output);

    // The paragraphs of the Unicode instructions: KIVO's own, then those that other parts of
    // the program add with AddUnicodeParagraph, before the window opens. An added paragraph is
    // a function that gives it translated.
    using TParagraph = QString (*)();
    static QStringList UnicodeParagraphs();
    static void AddUnicodeParagraph(TParagraph Paragraph);
};

extern TForm4* Form4;
