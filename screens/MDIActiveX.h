#pragma once

class QWidget;

// Makes a screen a child window of the host's main window (its QMdiArea) at the screen's initial
// size in twips; without an MDI area the screen is a top-level window of that size.
//
// Closing a screen closes its child window with it (no empty frame is left behind); the window
// and the screen in it are kept, so that opening the screen again shows it as it was left.
class MDIActiveX
{
public:
    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    void embed(QWidget* screen, int widthTwips, int heightTwips);
    void activate(QWidget* screen);
    // Closes the screen and the child window around it.
    static void close(QWidget* screen);

private:
    int m_mode = 0; // 2: embedded in the host window
};
