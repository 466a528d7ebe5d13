#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QSize>
#include <QWidget>
#include <gtest/gtest.h>

namespace lumen::test {

/**
 * A 1280x800 laptop screen less a panel and the title bar: what a window's
 * client area may take.
 */
inline constexpr QSize kSmallScreenClient{1280, 800 - 80};

/**
 * Checks that `window` can be made as small as the small screen's client
 * area and that, cut to it, each of its buttons outside a scrolling area
 * lies whole inside it, where the operator can reach it.
 */
inline void expectFitsSmallScreen(QWidget &window)
{
    window.show();
    QApplication::processEvents();
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(least.width(), kSmallScreenClient.width()) << window.objectName().toStdString();
    EXPECT_LE(least.height(), kSmallScreenClient.height()) << window.objectName().toStdString();
    // As large as it opens, but no larger than the screen.
    window.resize(window.size().boundedTo(kSmallScreenClient).expandedTo(least));
    QApplication::processEvents();
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(&window))
            continue;
        bool scrolls = false;
        for (QWidget *w = button->parentWidget(); w && w != &window; w = w->parentWidget())
            scrolls = scrolls || qobject_cast<QAbstractScrollArea *>(w) != nullptr;
        if (scrolls)
            continue;
        const QRect place(button->mapTo(&window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(window.rect().contains(place))
            << button->objectName().toStdString() << " at " << place.x() << "," << place.y()
            << " outside " << window.width() << "x" << window.height();
    }
}

} // namespace lumen::test
