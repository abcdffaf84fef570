#pragma once

#include "app/GLMainWindow.h"
#include "curves/Curve.h"
#include "render/Frame.h"
#include "render/SceneRenderer.h"
#include "view/GLBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointF>
#include <QTest>
#include <QTimer>

#include <functional>

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

// The logical widget position of world point (x, y) in a square view, for
// the view's current zoom and pan.
inline QPointF pixelAt(const GLBox *glbox, double x, double y)
{
    const ViewTransform &v = glbox->viewTransform;
    const double side = glbox->width();
    return {(x - v.left()) / v.side() * side, glbox->height() - (y - v.bottom()) / v.side() * side};
}

// Scheme index (1 Bezier, 2 Chaikin, 3 cubic B-spline, 4 proposed) to the
// view's own curve object.
inline Curve *curveAt(GLBox *glbox, int index)
{
    return glbox->curves.indexNode(static_cast<std::uint32_t>(index))->item;
}

// Replaces the control polygon by points at the given world positions.
inline void setPolygon(GLBox *glbox, const QList<QPointF> &world, bool closed)
{
    glbox->controlPoints->clear();
    for (const QPointF p : world)
        glbox->controlPoints->insertPoint(Vector(p.x(), p.y()));
    glbox->controlPoints->closed = closed;
    glbox->update();
}

// Runs open(), which blocks in a modal message box, reads the box's title
// and text, and closes it with answer (or accepts it when answer is
// NoButton). False when no box appeared.
inline bool answerModalBox(const std::function<void()> &open, QMessageBox::StandardButton answer,
                           QString *title = nullptr, QString *text = nullptr)
{
    bool seen = false;
    QTimer answerer;
    answerer.setInterval(20);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answerer.stop();
        seen = true;
        if (title)
            *title = box->windowTitle();
        if (text)
            *text = box->text();
        if (answer == QMessageBox::NoButton)
            box->accept();
        else
            box->button(answer)->click();
    });
    answerer.start();
    open();
    return seen;
}
