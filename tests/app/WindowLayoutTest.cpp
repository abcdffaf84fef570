// The window on the screen it runs on: CTest runs this program on X
// screens of several sizes and scale factors (see CMakeLists.txt).
#include "app/GLMainWindow.h"
#include "app/PanelScrollArea.h"
#include "view/GLBox.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include <memory>

class WindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstSizeFitsTheScreen();
    void everyPanelControlCanBeReached();
    void largeWindowGivesTheViewItsHeight();
    void lectureGivesTheViewTheScreenHeight();
    void presentationWidthsWidenTheViewOnly();

private:
    QRect available() const { return window->screen()->availableGeometry(); }
    // The window's rectangle, frame included, in screen coordinates.
    QRect onScreen(const QWidget *widget) const { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

    std::unique_ptr<GLMainWindow> window;
};

void WindowLayoutTest::init()
{
    window = std::make_unique<GLMainWindow>();
    window->fitToScreen();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void WindowLayoutTest::cleanup()
{
    window.reset();
}

void WindowLayoutTest::firstSizeFitsTheScreen()
{
    QVERIFY2(available().contains(window->frameGeometry()),
             qPrintable(QString("frame %1,%2 %3x%4 on %5x%6")
                            .arg(window->frameGeometry().x())
                            .arg(window->frameGeometry().y())
                            .arg(window->frameGeometry().width())
                            .arg(window->frameGeometry().height())
                            .arg(available().width())
                            .arg(available().height())));
    QVERIFY(window->statusBar()->isVisible());
    QVERIFY(available().contains(onScreen(window->statusBar())));
    // The view takes the height the window has: nothing wide stays empty
    // under it.
    auto *glbox = window->findChild<GLBox *>("glbox");
    const QWidget *frame = window->centralWidget();
    QVERIFY(frame->height() - 20 - glbox->height() <= 1);
    // The panel sits right beside it.
    auto *scroll = window->findChild<PanelScrollArea *>("panelScrollArea");
    QCOMPARE(scroll->geometry().left(), glbox->geometry().right() + 1 + 20);
}

void WindowLayoutTest::everyPanelControlCanBeReached()
{
    auto *scroll = window->findChild<PanelScrollArea *>("panelScrollArea");
    QWidgetList controls;
    for (QWidget *w : scroll->panel()->findChildren<QWidget *>())
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSlider *>(w) ||
            qobject_cast<QSpinBox *>(w) || qobject_cast<QComboBox *>(w))
            controls << w;
    QVERIFY(controls.size() >= 16);
    for (QWidget *control : controls) {
        if (!control->isVisibleTo(scroll->panel()))
            continue;
        scroll->ensureWidgetVisible(control, 0, 0);
        QApplication::processEvents();
        const QPoint centre = control->rect().center();
        // Whatever lies under the control's centre in the window is the
        // control (or a part of it): a click there reaches it.
        QWidget *hit = window->childAt(control->mapTo(window.get(), centre));
        QVERIFY2(hit && (hit == control || control->isAncestorOf(hit)), qPrintable(control->objectName()));
        QVERIFY(available().contains(onScreen(control).center()));
        if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            // A check box answers on its box and text, at its left.
            const QPoint target = qobject_cast<QCheckBox *>(button) ? QPoint(button->height() / 2, centre.y()) : centre;
            QSignalSpy pressed(button, &QAbstractButton::pressed);
            QTest::mousePress(button, Qt::LeftButton, {}, target);
            QTest::mouseRelease(button, Qt::LeftButton, {}, target);
            QVERIFY2(pressed.count() == 1 || !button->isEnabled(), qPrintable(button->objectName()));
        }
    }
}

void WindowLayoutTest::largeWindowGivesTheViewItsHeight()
{
    if (available().width() < 1900 || available().height() < 1040)
        QSKIP("the screen is smaller than 1900 x 1040");
    window->resize(1900, 1040);
    QTRY_COMPARE(window->size(), QSize(1900, 1040));
    auto *glbox = window->findChild<GLBox *>("glbox");
    QTRY_VERIFY(glbox->width() >= 900);
    QCOMPARE(glbox->width(), glbox->height());
    // The panel keeps its own width instead of a share of the window's.
    auto *scroll = window->findChild<PanelScrollArea *>("panelScrollArea");
    QCOMPARE(scroll->width(), scroll->sizeHint().width());
    QCOMPARE(scroll->geometry().left(), glbox->geometry().right() + 1 + 20);
}

void WindowLayoutTest::lectureGivesTheViewTheScreenHeight()
{
    auto *glbox = window->findChild<GLBox *>("glbox");
    auto *scroll = window->findChild<PanelScrollArea *>("panelScrollArea");
    // Ctrl+M and F11, as a lecturer would press them.
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!scroll->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F11);
    QTRY_VERIFY(window->isFullScreen());
    const QRect screen = window->screen()->geometry();
    // The window manager grants it in its own time, slower on a busy machine.
    QTRY_COMPARE_WITH_TIMEOUT(window->geometry(), screen, 20000);
    QVERIFY(!window->menuBar()->isVisible());
    QTRY_COMPARE(glbox->height(), screen.height() - 20);

    // Esc leaves full screen; the panel comes back with Ctrl+M.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!window->isFullScreen(), 20000);
    QVERIFY(window->menuBar()->isVisible());
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(scroll->isVisible());
    QVERIFY(window->findChild<QAction *>("showPanelAction")->isChecked());
}

void WindowLayoutTest::presentationWidthsWidenTheViewOnly()
{
    auto *glbox = window->findChild<GLBox *>("glbox");
    const QImage narrow = glbox->grabFramebuffer();
    const auto background = [](const QImage &image) {
        qsizetype count = 0;
        const QRgb grey = image.pixel(image.width() / 2 + 3, image.height() / 2 + 5);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) != grey;
        return count;
    };
    window->findChild<QAction *>("presentationWidthsAction")->trigger();
    QVERIFY(glbox->presentationWidths());
    const QImage wide = glbox->grabFramebuffer();
    // Grid, border and axes cover about twice as many pixels.
    const double ratio = double(background(wide)) / double(background(narrow));
    QVERIFY2(ratio > 1.6 && ratio < 2.4, qPrintable(QString::number(ratio)));
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
