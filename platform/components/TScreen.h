#pragma once
// The screen object: the size of the screen that the windows are placed on.

class TScreen {
public:
    // In device-independent pixels, of the primary screen; 0 before the application exists.
    int Width() const;
    int Height() const;
};

// The process's one screen object.
extern TScreen* Screen;
