#include "AnalyseCommand.h"

#include "analysis/MaskReport.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace {

int failWith(const std::string &message)
{
    std::fprintf(stderr, "%s: --analyse: %s\n", qPrintable(QCoreApplication::applicationName()), message.c_str());
    return 2;
}

} // namespace

int AnalyseCommand::run(const QCommandLineParser &parser, bool parsed)
{
    if (!parsed)
        return failWith(parser.errorText().toStdString());
    if (!parser.positionalArguments().isEmpty())
        return failWith("unexpected argument '" + parser.positionalArguments().constFirst().toStdString() +
                        "': quote the mask as one argument, for example --analyse '2: 1 3 3 1 / 4'");
    const std::string argument = parser.value("analyse").toStdString();
    const std::string u = parser.value("u").toStdString();
    const MaskReport::Answer answer =
        MaskReport::answer(argument, parser.isSet("u") ? std::optional<std::string_view>(u) : std::nullopt);
    if (!answer.error.empty())
        return failWith(answer.error);
    std::fputs(answer.json.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}
