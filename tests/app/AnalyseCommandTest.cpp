#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

// The real program, as a user runs it: ornelle --analyse ... with no
// display at all, one JSON object on standard output or one line on
// standard error and exit code 2.
namespace {

using Outcome = ProgramRun;

Outcome ornelle(const QStringList &arguments)
{
    const Outcome run = ProgramRun::withoutDisplay(ORNELLE_PROGRAM, arguments, 20000);
    EXPECT_TRUE(run.finished) << arguments.join(' ').toStdString();
    return run;
}

QJsonObject analysis(const QStringList &arguments)
{
    const Outcome run = ornelle(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("nan") || run.out.contains("inf")) << run.out.toStdString();
    return document.object();
}

std::vector<double> numbers(const QJsonValue &value)
{
    std::vector<double> out;
    for (const QJsonValue &v : value.toArray())
        out.push_back(v.toDouble());
    return out;
}

TEST(AnalyseCommandTest, FourPointSchemeAsJson)
{
    const QJsonObject a = analysis({"--analyse", "2: -1 0 9 16 9 0 -1 / 16"});
    EXPECT_EQ(a.value("arity").toInt(), 2);
    EXPECT_EQ(numbers(a.value("mask")), (std::vector<double>{-0.0625, 0, 0.5625, 1, 0.5625, 0, -0.0625}));
    EXPECT_TRUE(a.value("normalised").toBool());
    EXPECT_EQ(a.value("sumRules").toInt(), 4);
    EXPECT_EQ(a.value("smoothness").toInt(), 1);
    const std::vector<double> regularity = numbers(a.value("regularity"));
    ASSERT_EQ(regularity.size(), 2u);
    EXPECT_LE(regularity[0], 2.0);
    EXPECT_NEAR(regularity[1], 2.0, 1e-12);
    EXPECT_EQ(a.value("support").toDouble(), 6.0);
    EXPECT_TRUE(a.value("interpolatory").toBool());
    EXPECT_EQ(numbers(a.value("basisAtIntegers")), (std::vector<double>{0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(a.value("contractionSteps").toInt(), 2);
    EXPECT_GE(a.value("contractionCap").toInt(), 2);
    EXPECT_GE(a.value("notes").toArray().size(), 3);
}

TEST(AnalyseCommandTest, NamedSchemesAtTheirOwnOrAGivenU)
{
    const QJsonObject chaikin = analysis({"--analyse", "chaikin"});
    EXPECT_EQ(chaikin.value("scheme").toString(), "chaikin");
    EXPECT_EQ(chaikin.value("u").toDouble(), 0.75);
    EXPECT_EQ(numbers(chaikin.value("mask")), (std::vector<double>{0.25, 0.75, 0.75, 0.25}));
    EXPECT_EQ(chaikin.value("smoothness").toInt(), 1);

    const QJsonObject bspline = analysis({"--analyse", "bspline", "--u", "0.3"});
    EXPECT_EQ(bspline.value("u").toDouble(), 0.3);
    EXPECT_EQ(bspline.value("sumRules").toInt(), 1);

    const QJsonObject proposed = analysis({"--u", "0.5", "--analyse", "proposed"});
    EXPECT_EQ(proposed.value("arity").toInt(), 3);
    EXPECT_EQ(proposed.value("smoothness").toInt(), 0);

    // Not affine invariant: no regularity, no phi, and a note that says so.
    const QJsonObject unequal = analysis({"--analyse", "2: 1 0.5 0.5"});
    EXPECT_TRUE(unequal.value("regularity").isNull());
    EXPECT_TRUE(unequal.value("basisAtIntegers").isNull());
    EXPECT_EQ(unequal.value("smoothness").toInt(), -1);
    EXPECT_TRUE(unequal.value("notes").toArray().contains(
        QJsonValue("sub-masks sum to 1.5 and 0.5: the scheme is not affine invariant")));
}

TEST(AnalyseCommandTest, OneLineOnStandardErrorAndExitCodeTwo)
{
    const QList<QStringList> cases = {
        {"--analyse", "4: 1 2 1"},      {"--analyse", "2: 1 nan"},         {"--analyse", "2: 1 2 1 / 0"},
        {"--analyse", "2:"},            {"--analyse", "bezier"},           {"--analyse", "spline"},
        {"--analyse", "2:", "1", "1"},  {"--analyse", "chaikin", "--u", "x"}, {"--analyse", "2: 1 1", "--u", "0.5"},
        {"--analyse", "chaikin", "--bogus"},
    };
    for (const QStringList &arguments : cases) {
        const Outcome run = ornelle(arguments);
        const QString said = QString::fromUtf8(run.err);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
        EXPECT_TRUE(said.startsWith("ornelle: --analyse: ")) << said.toStdString();
    }
    EXPECT_TRUE(ornelle({"--analyse", "bezier"}).err.contains("no mask"));
}

} // namespace
