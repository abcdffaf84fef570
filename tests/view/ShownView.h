#pragma once

#include "app/GLMainWindow.h"
#include "view/GLBox.h"

#include <QPointF>
#include <QTest>

// Shows window, waits until it is active and its view has been laid out
// and painted, and returns the view.
inline GLBox *showAndFindView(GLMainWindow &window)
{
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowActive(&window))
        return nullptr;
    auto *glbox = window.findChild<GLBox *>("glbox");
    QTest::qWait(50);
    return glbox;
}

// The logical widget position of world point (x, y) in a square view.
inline QPointF pixelAt(const GLBox *glbox, double x, double y)
{
    const double side = glbox->width();
    return {(x + 10.0) / 20.0 * side, glbox->height() - (y + 10.0) / 20.0 * side};
}
