#include "ui/MDIActiveX.h"

#include "core/ScreenRegistry.h"
#include "framework/HostUi.h"
#include "sheet/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <algorithm>

static QMdiSubWindow* subWindowOf(QWidget* screen)
{
    return qobject_cast<QMdiSubWindow*>(screen->parentWidget());
}

void MDIActiveX::embed(QWidget* screen, int widthTwips, int heightTwips)
{
    if (m_mode != 2)
        m_mode = 2;
    const QSize size(twipsToPixelsX(widthTwips, screen), twipsToPixelsY(heightTwips, screen));
    QMdiArea* area = HostUi::mdiArea();
    if (!area) {
        if (!screen->isVisible())
            screen->resize(size);
        return;
    }
    QMdiSubWindow* sub = subWindowOf(screen);
    if (!sub) {
        sub = area->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        // The frame adds its own margins around the screen's client area.
        sub->resize(size + (sub->size() - sub->contentsRect().size()));
        screen->resize(size);
    }
}

// The area places a window it opens beside the others, which can leave part of it outside the
// workspace (under the edge, behind a scroll bar): it moves in as far as its size allows.
static void keepInside(QMdiSubWindow* sub)
{
    QMdiArea* area = sub->mdiArea();
    if (!area)
        return;
    const QRect room = area->viewport()->rect();
    QRect frame = sub->geometry();
    if (room.contains(frame))
        return;
    frame.moveRight(std::min(frame.right(), room.right()));
    frame.moveBottom(std::min(frame.bottom(), room.bottom()));
    frame.moveLeft(std::max(frame.left(), room.left()));
    frame.moveTop(std::max(frame.top(), room.top()));
    sub->move(frame.topLeft());
}

void MDIActiveX::activate(QWidget* screen)
{
    if (QMdiSubWindow* sub = subWindowOf(screen)) {
        const bool opening = !sub->isVisible();
        screen->show();
        sub->show();
        if (opening)
            keepInside(sub);
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    } else {
        screen->show();
        screen->activateWindow();
    }
}

void MDIActiveX::close(QWidget* screen)
{
    if (QMdiSubWindow* sub = subWindowOf(screen))
        sub->close(); // closes the screen inside it as well
    else
        screen->close();
}

void MDIActiveX::unload(QWidget* screen)
{
    if (!ScreenRegistry::release(screen))
        return;
    if (QMdiSubWindow* sub = subWindowOf(screen))
        sub->deleteLater(); // the screen inside goes with it
    else
        screen->deleteLater();
}
