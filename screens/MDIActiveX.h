#pragma once

class QWidget;

// Makes a screen a child window of the host's main window (its QMdiArea) at the screen's initial
// size in twips; without an MDI area the screen is a top-level window of that size.
class MDIActiveX
{
public:
    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    void embed(QWidget* screen, int widthTwips, int heightTwips);
    void activate(QWidget* screen);

private:
    int m_mode = 0; // 2: embedded in the host window
};
