#include "view/ExportOptions.h"

#include "curves/Schemes.h"

#include <QFileInfo>

#include <array>

namespace {

constexpr std::array<const char *, ExportOptions::formatCount> suffixes{"eps", "pdf", "svg", "png", "csv", "json"};
constexpr std::array<const char *, ExportOptions::formatCount> typeNames{
    "Encapsulated PostScript", "PDF", "SVG", "PNG image", "Curve points (CSV)", "Curve points (JSON)"};
} // namespace

QString ExportOptions::suffix(Format format)
{
    return QString::fromLatin1(suffixes[static_cast<std::size_t>(format)]);
}

QString ExportOptions::filter(Format format)
{
    return QString("%1 (*.%2)").arg(QString::fromLatin1(typeNames[static_cast<std::size_t>(format)]),
                                    suffix(format));
}

int ExportOptions::formatOfFilter(const QString &text)
{
    for (int f = 0; f < formatCount; ++f)
        if (text == filter(static_cast<Format>(f)))
            return f;
    return -1;
}

int ExportOptions::formatOfName(const QString &path)
{
    const QString ending = QFileInfo(path).suffix();
    for (int f = 0; f < formatCount; ++f)
        if (ending.compare(suffix(static_cast<Format>(f)), Qt::CaseInsensitive) == 0)
            return f;
    return -1;
}

QString ExportOptions::completedName(const QString &path, Format &format)
{
    // A typed suffix says what the user wants better than a file type left
    // as it was: "figure.svg" under PDF is an SVG file, not "figure.svg.pdf".
    if (const int named = formatOfName(path); named >= 0) {
        format = static_cast<Format>(named);
        return path;
    }
    return path + "." + suffix(format);
}

QString ExportOptions::baseName(int scheme, int level)
{
    // The schemes as the polygon files name them; the polygon alone is a
    // polygon. Bezier curves have a precision instead of a level, and the
    // polygon neither.
    if (!Schemes::isScheme(scheme))
        return "polygon";
    const QString name = QString::fromLatin1(Schemes::row(scheme).key);
    return scheme == Schemes::Bezier ? name : QString("%1-level-%2").arg(name).arg(level);
}
