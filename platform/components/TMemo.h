#pragma once
// A multi-line text. Read-only text can be selected and copied but not changed; each line is
// aligned by Alignment. With ParentColor the memo takes its window's background.
#include "Classes.h"
#include "TFont.h"

#include <QTextEdit>

#include <cstdint>
#include <string>
#include <vector>

class TMemo : public QTextEdit, public TFontHolder {
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

public:
    enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    explicit TMemo(QWidget* Parent = nullptr);

    // The text, one entry per line, as 8-bit strings.
    std::vector<std::string> Lines() const;
    TAlignment Alignment() const { return AlignmentValue; }
    void SetAlignment(TAlignment Alignment);
    bool ParentColor() const { return ParentColorValue; }
    void SetParentColor(bool ParentColor);

protected:
    void FontChanged() override;

private:
    TAlignment AlignmentValue = taLeftJustify;
    bool ParentColorValue = false;
};
