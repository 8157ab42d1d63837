#include "ui/MDIActiveX.h"

#include "core/ScreenRegistry.h"
#include "framework/HostUi.h"
#include "sheet/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

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

void MDIActiveX::activate(QWidget* screen)
{
    if (QMdiSubWindow* sub = subWindowOf(screen)) {
        screen->show();
        sub->show();
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
