#pragma once
// Captions drawn in a space too small for them: a smaller size of the same face, never a larger
// one, so that no text is cut off on a small screen or at a high scale factor. What the program
// stores as the font (TFont) does not change; only what is drawn.
#include <QFont>
#include <QSize>
#include <QString>

// The smallest size, in pixels, that text is shrunk to.
constexpr int SmallestFittedPixelSize = 6;

// True when Text, centred in Room, shows all its characters in Font.
bool ShowsWhole(const QFont& Font, const QString& Text, const QSize& Room);

// Font itself when Text, centred in Room, shows all its characters; else the largest smaller
// pixel size of the face that does, down to SmallestFittedPixelSize. Leading and trailing blanks
// may fall outside Room: they show nothing. An empty Room (a control not laid out yet) keeps Font.
QFont FittedFont(const QFont& Font, const QString& Text, const QSize& Room);
