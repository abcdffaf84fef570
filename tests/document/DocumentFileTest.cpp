#include "model/Document.h"
#include "document/DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void put(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Every setting away from its start-up value, and coordinates whose
// shortest decimal forms are long or extreme.
Document everythingSet()
{
    Document d;
    d.points = {{0.1 + 0.2, -10.0}, {10.0, 1.0 / 3.0}, {-9.999999999999998, 5e-324}, {2.5e-17, 7.0}};
    d.closed = true;
    d.scheme = Schemes::Custom;
    d.settings(1) = {Document::uFromSlider(-45), Document::precisionFromSlider(3), 0, true, true};
    d.settings(2) = {Document::uFromSlider(29), 0.2, 7, false, true};
    d.settings(3) = {Document::uFromSlider(100), 0.2, 99, false, false};
    d.settings(4) = {Document::uFromSlider(-100), 0.2, 1, false, true, true};
    // The custom scheme keeps its mask instead of a u.
    d.settings(5) = {0.5, 0.2, 4, false, true, true};
    d.customMask = Mask(3, {0.1, 1.0 / 3.0, 0.3, 0.7, 0.5, 0.6, 1 - 0.1 - 0.7, 1 - 1.0 / 3.0 - 0.5, 1 - 0.3 - 0.6});
    d.axis = false;
    d.gridSpacing = 0;
    return d;
}

} // namespace

TEST(DocumentFileTest, RoundTripThroughAFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("figure.ornelle");
    const Document written = everythingSet();
    ASSERT_EQ(DocumentFile::write(path, written), QString());

    Document read;
    ASSERT_EQ(DocumentFile::read(path, read), QString());
    EXPECT_EQ(read, written);
    // Writing what was read gives the same file.
    EXPECT_EQ(DocumentFile::toJson(read), contents(path));
}

TEST(DocumentFileTest, MissingMembersTakeDefaultsAndUnknownOnesAreIgnored)
{
    Document d = everythingSet();
    ASSERT_EQ(DocumentFile::fromJson(R"({"format": "ornelle", "version": 1, "colour": [1, 2],
                                         "schemes": {"chaikin": {"level": 3, "weight": "x"}, "hermite": 1},
                                         "view": {"zoom": 2}})",
                                     "f", d),
              QString());
    Document expected;
    expected.settings(2).level = 3;
    EXPECT_EQ(d, expected);
}

TEST(DocumentFileTest, SettingsBetweenSliderPositionsAreStoredAsTheSliderWould)
{
    Document d;
    ASSERT_EQ(DocumentFile::fromJson(R"({"format": "ornelle", "version": 1,
                                         "schemes": {"bezier": {"u": 0.333, "precision": 0.07},
                                                     "proposed": {"u": 0}}})",
                                     "f", d),
              QString());
    EXPECT_EQ(d.settings(1).u, Document::uFromSlider(33));
    EXPECT_EQ(d.settings(1).precision, 0.05);
    EXPECT_EQ(d.settings(4).u, 0.01);
}

// A save that fails, here on a full disk (a file size limit), reports the
// file and the reason and leaves the old file as it was, with no stray
// temporary file beside it: once for a text the device writes at once and
// once for one small enough to sit in its buffer until the commit.
TEST(DocumentFileTest, FailedSaveKeepsTheOldFile)
{
    struct Case
    {
        std::size_t points;
        rlim_t limit;
    };
    for (const Case c : {Case{Document::maxPoints, 64 * 1024}, Case{200, 2048}}) {
        QTemporaryDir folder;
        const QString path = folder.filePath("kept.ornelle");
        const QByteArray old = DocumentFile::toJson(everythingSet());
        put(path, old);
        Document large;
        large.points.assign(c.points, Vector(0.123456789012345, -0.987654321098765));

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = c.limit;
        setrlimit(RLIMIT_FSIZE, &limited);
        const QString problem = DocumentFile::write(path, large);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_TRUE(problem.startsWith("Could not save " + QDir::toNativeSeparators(path) + ": "))
            << c.points << ": " << problem.toStdString();
        EXPECT_TRUE(problem.endsWith('.'));
        EXPECT_EQ(contents(path), old) << c.points;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.ornelle"});
    }
}

TEST(DocumentFileTest, SaveIntoAMissingFolderIsReported)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("missing/figure.ornelle");
    const QString problem = DocumentFile::write(path, Document());
    EXPECT_TRUE(problem.startsWith("Could not save " + path + ": ")) << problem.toStdString();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}
