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
#include <fstream>
#include <memory>
#include <new>

#include <unistd.h>

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

// This process's resident memory in megabytes.
double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1048576.0;
}
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
    void memoryGoesBackWithTheLevel();
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

// The highest level stops at the point budget, hundreds of megabytes; back
// at level 3 the process is about as large as before. (The sanitizer's
// allocator holds freed blocks back on purpose.)
void GLBoxMemoryTest::memoryGoesBackWithTheLevel()
{
#ifdef ORNELLE_OWN_ALLOCATOR
    QSKIP("the sanitizer's allocator keeps freed memory in quarantine");
#endif
    GLMainWindow window;
    GLBox *glbox = showAndFindView(window);
    QVERIFY(glbox);
    setPolygon(glbox, {{-8, 0}, {-4, 7}, {4, 7}, {8, 0}, {4, -7}, {-4, -7}}, true);
    glbox->setCurrentCurve(2);
    auto *level = window.findChild<QSpinBox *>("level");
    Curve *chaikin = curveAt(glbox, 2);
    level->setValue(3);
    glbox->grabFramebuffer();
    const double before = residentMegabytes();

    // Twice: after the first large blocks are freed, glibc stops mapping
    // blocks of their size on their own and keeps them in its heap.
    double highest = 0, after = 0;
    int reached = 0;
    for (int round = 0; round < 2; ++round) {
        level->setValue(level->maximum());
        glbox->grabFramebuffer();
        QVERIFY(chaikin->limited);
        highest = residentMegabytes();
        reached = chaikin->reachedLevel;
        while (level->value() > 3) { // down a step at a time, as the arrows do
            level->stepDown();
            glbox->grabFramebuffer();
        }
        QCOMPARE(chaikin->result->count, 48u);
        after = residentMegabytes();
    }
    qInfo("resident: %.0f MB at level 3, %.0f MB at level %d, %.0f MB back at 3", before, highest, reached,
          after);
    QVERIFY(highest > before + 200); // the large result was really there
    QVERIFY(after < before + 100);
}

QTEST_MAIN(GLBoxMemoryTest)
#include "GLBoxMemoryTest.moc"
