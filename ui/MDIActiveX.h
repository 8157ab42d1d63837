#pragma once

class QWidget;

// Makes a screen a child window of the host's main window (its QMdiArea) at the screen's initial
// size in twips; without an MDI area the screen is a top-level window of that size.
//
// Closing a screen unloads it: its child window closes with it (no empty frame is left behind)
// and both are deleted, so that the next action on it opens a fresh screen in a new frame.
class MDIActiveX
{
public:
    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    void embed(QWidget* screen, int widthTwips, int heightTwips);
    void activate(QWidget* screen);
    // Closes the screen and the child window around it (which unloads the screen).
    static void close(QWidget* screen);
    // Called by a screen that accepted its close: it is forgotten by the action dispatch at
    // once and deleted, with its child window, when control returns to the event loop. A
    // screen the dispatch did not make is left to its maker.
    static void unload(QWidget* screen);

private:
    int m_mode = 0; // 2: embedded in the host window
};
