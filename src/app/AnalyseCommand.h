#pragma once

class QCommandLineParser;

// ornelle --analyse MASK, ornelle --analyse chaikin|bspline|proposed
// [--u U]: prints the analysis of the mask as one JSON object on standard
// output (MaskReport) and says what is wrong in one line on standard error
// otherwise. Runs before any application object that would need a
// display exists.
class AnalyseCommand
{
public:
    // Exit code 0 with the JSON printed, 2 after a one-line message on
    // standard error (a bad mask, a bad --u, an unknown option, an extra
    // argument, or the Bezier scheme, which has no mask). parser has
    // parsed the arguments (parse(), not process()) and --analyse is set.
    static int run(const QCommandLineParser &parser, bool parsed);
};
