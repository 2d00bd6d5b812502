#pragma once
// A line of text on its parent's background. The caption is 8-bit codes and is drawn through
// the display substitute of its font's face (see FontSubstitution.h). A label that does not size
// itself to its text draws it smaller where it is too narrow for it (see FitText.h), and not at
// all where even the smallest size would be cut off.
#include "Classes.h"
#include "TFont.h"

#include <QLabel>

#include <cstdint>
#include <string>

class TLabel : public QLabel, public TFontHolder {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ CaptionText WRITE SetCaptionText)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    explicit TLabel(QWidget* Parent = nullptr);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);
    TAlignment Alignment() const { return AlignmentValue; }
    void SetAlignment(TAlignment Alignment);
    // The label takes the size of its text whenever the text or the font changes.
    bool AutoSize() const { return AutoSizeValue; }
    void SetAutoSize(bool AutoSize);
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool Transparent) { setAutoFillBackground(!Transparent); }

protected:
    void FontChanged() override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void FitCaption();
    QString CaptionText() const;
    void SetCaptionText(const QString& Caption);
    void ShowCaption();

    std::string CaptionValue;
    TAlignment AlignmentValue = taLeftJustify;
    bool AutoSizeValue = false;
    bool CaptionFits = true;
};
