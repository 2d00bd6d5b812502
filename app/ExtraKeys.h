#pragma once
// The extra keys of Unicode output: a row over the banner text with the punctuation, length
// marks, archaic letters and editorial signs that a Greek text needs beyond the keypad (see
// ExtraKeyTable.h), and a button at the banner's right end that shows and hides it. Whether
// the row is shown is remembered. In Lumera output neither is there: the font has none of them.
//
// It also shows, on the keypad's mark buttons, the marks that wait for their letter (see
// TGreekComposer::WaitingMarks).
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QToolButton;
class QWidget;
class TForm1;

class TExtraKeys : public QObject {
    Q_OBJECT

public:
    // Builds the row and the toggle in Form's banner; hidden until Unicode output is chosen.
    explicit TExtraKeys(TForm1& Form);

    void SetUnicodeOutput(bool Unicode);
    bool RowShown() const { return Shown; }
    // Shows or hides the row, as the toggle does, and remembers it.
    void SetRowShown(bool Show);

    QToolButton* Toggle() const { return ToggleButton; }
    QToolButton* Key(int Index) const { return Keys[static_cast<size_t>(Index)]; }

    // How to type the extra characters and marks before their letter, for the instructions.
    static QString Instructions();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Click(int Index);
    void Arrange();
    void ShowWaiting();

    TForm1& Form;
    QWidget* Row = nullptr;
    QToolButton* ToggleButton = nullptr;
    std::vector<QToolButton*> Keys;
    std::vector<QPointer<QWidget>> WaitingFrames;
    bool Shown = false;
};

