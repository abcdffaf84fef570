#include "ShownView.h"

#include "geometry/ControlPoints.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

// A subdivision that runs out of memory, through the real window: the
// program tells the user and keeps the control polygon.
//
// Running out is simulated by refusing every large allocation of this
// process while refuseLarge is set. AddressSanitizer brings its own
// allocator, which this replacement would fight with; there the test skips.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORNELLE_OWN_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORNELLE_OWN_ALLOCATOR 1
#endif

namespace {
std::atomic<bool> refuseLarge{false};
constexpr std::size_t largeBlock = std::size_t{1} << 20;
} // namespace

#ifndef ORNELLE_OWN_ALLOCATOR
void *operator new(std::size_t size)
{
    if (size >= largeBlock && refuseLarge.load(std::memory_order_relaxed))
        throw std::bad_alloc();
    if (void *block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void *block) noexcept
{
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}
#endif

class GLBoxMemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void outOfMemoryKeepsThePolygon();
};

void GLBoxMemoryTest::outOfMemoryKeepsThePolygon()
{
#ifdef ORNELLE_OWN_ALLOCATOR
    QSKIP("the sanitizer's allocator cannot be replaced");
#endif
    GLMainWindow window;
    GLBox *glbox = showAndFindView(window);
    QVERIFY(glbox);
    setPolygon(glbox, {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}}, true);
    auto *schemes = window.findChild<QComboBox *>("curveComboBox");
    schemes->setCurrentIndex(1);
    QTest::keyClick(schemes, Qt::Key_Down);
    auto *level = window.findChild<QSpinBox *>("level");
    auto *final = window.findChild<QGroupBox *>("areaBox")->findChildren<QLabel *>().last();

    // 4 x 2^16 points need blocks of well over a megabyte.
    refuseLarge = true;
    level->setValue(16);
    QTRY_COMPARE(window.statusBar()->currentMessage(), QString("Not enough memory for level 16"));
    refuseLarge = false;

    Curve *chaikin = curveAt(glbox, 2);
    QCOMPARE(chaikin->result, nullptr);
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QVERIFY(glbox->controlPoints->closed);
    QCOMPARE(final->text(), QString("Final = 0.00"));

    // A level that fits brings the curve back.
    level->setValue(3);
    QTRY_VERIFY(chaikin->result && chaikin->result->count == 32u);
    QTRY_VERIFY(final->text() != QString("Final = 0.00"));
}

QTEST_MAIN(GLBoxMemoryTest)
#include "GLBoxMemoryTest.moc"
