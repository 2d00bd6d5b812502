#pragma once
// A tool bar: lays its tool buttons out in rows of equal cells, in the order they were
// created. A row starts Indent pixels from the left edge and ends after a button whose Wrap is
// set; with Wrapable the bar also breaks a row where the next button would not fit.
#include "Classes.h"
#include "TFont.h"

#include <QFrame>

class TToolBar : public QFrame, public TFontHolder {
    Q_OBJECT
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_PROPERTY(bool Wrapable READ Wrapable WRITE SetWrapable)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)

public:
    // The gap above the first row.
    static constexpr int TopMargin = 2;

    explicit TToolBar(QWidget* Parent = nullptr);

    int ButtonWidth() const { return ButtonWidthValue; }
    void SetButtonWidth(int Width);
    int ButtonHeight() const { return ButtonHeightValue; }
    void SetButtonHeight(int Height);
    int Indent() const { return IndentValue; }
    void SetIndent(int Indent);
    bool Wrapable() const { return WrapableValue; }
    void SetWrapable(bool Wrapable);
    bool ShowCaptions() const { return ShowCaptionsValue; }
    void SetShowCaptions(bool Show);

    // Places every tool button; runs on every change of size or of a button's row settings.
    void ArrangeButtons();

protected:
    void FontChanged() override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    int ButtonWidthValue = 23;
    int ButtonHeightValue = 22;
    int IndentValue = 0;
    bool WrapableValue = true;
    bool ShowCaptionsValue = false;
};
