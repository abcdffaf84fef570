#include "PointImport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QString shown(const QString &name)
{
    return QDir::toNativeSeparators(name);
}

// A finite number in C notation ("1", "-2.5e3"), or nothing.
std::optional<double> number(QStringView word)
{
    bool ok = false;
    const double value = word.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString readLines(const QByteArray &text, const QString &name, PointImport::Result &result)
{
    static const QRegularExpression separators("[\\s,;]+");
    const QList<QByteArray> lines = text.split('\n');
    bool seenContent = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList words = line.split(separators, Qt::SkipEmptyParts);
        const auto x = words.size() == 2 ? number(words[0]) : std::nullopt;
        const auto y = words.size() == 2 ? number(words[1]) : std::nullopt;
        const bool header = !seenContent;
        seenContent = true;
        if (x && y) {
            if (result.points.size() == PointImport::maxPoints)
                return QString("%1 holds more than %2 points.").arg(shown(name)).arg(PointImport::maxPoints);
            result.points.emplace_back(*x, *y);
            continue;
        }
        // The first line may name the columns ("x,y") instead.
        if (header && std::none_of(words.begin(), words.end(), [](const QString &w) { return number(w); }))
            continue;
        return QString("Line %1 of %2 is not a point: expected two finite numbers x and y, found \"%3\".")
            .arg(i + 1)
            .arg(shown(name), line.left(40));
    }
    if (result.points.empty())
        return QString("%1 holds no points.").arg(shown(name));
    return {};
}

// Reads SVG path data: commands with their numbers, relative ones added
// to the current point.
class PathReader
{
public:
    explicit PathReader(QStringView data) : data(data) {}

    // Empty on success, else what is wrong.
    QString read(PointImport::Result &result)
    {
        QChar command;
        Vector current;
        bool started = false;
        while (skipSpace(), at < data.size()) {
            if (data[at].isLetter()) {
                command = data[at++];
            } else if (command.isNull()) {
                return QString("the path data does not start with a command");
            }
            const QChar c = command.toUpper();
            const bool relative = command.isLower();
            if (c == 'Z') {
                result.closed = true;
                break; // the first subpath ends here
            }
            if (c == 'M' && started)
                break; // only the first subpath
            const int count = c == 'H' || c == 'V' ? 1 : c == 'C' ? 6 : c == 'S' || c == 'Q' ? 4 : c == 'A' ? 7 : 2;
            if (QString::fromLatin1("MLHVCSQTA").indexOf(c) < 0)
                return QString("the path has an unknown command '%1'").arg(command);
            double v[7];
            for (int k = 0; k < count; ++k) {
                const auto value = next(c == 'A' && (k == 3 || k == 4));
                if (!value)
                    return QString("the path's '%1' lacks a number or has one that is not finite").arg(command);
                v[k] = *value;
            }
            const auto point = [&](double x, double y) {
                return relative ? current + Vector(x, y) : Vector(x, y);
            };
            std::vector<Vector> made;
            if (c == 'H')
                made.push_back({relative ? current.x() + v[0] : v[0], current.y()});
            else if (c == 'V')
                made.push_back({current.x(), relative ? current.y() + v[0] : v[0]});
            else if (c == 'A')
                made.push_back(point(v[5], v[6]));
            else
                for (int k = 0; k + 1 < count; k += 2)
                    made.push_back(point(v[k], v[k + 1]));
            for (const Vector &p : made) {
                if (result.points.size() == PointImport::maxPoints)
                    return QString("the path has more than %1 points").arg(PointImport::maxPoints);
                result.points.push_back(p);
            }
            current = made.back();
            if (c == 'M') {
                started = true;
                command = relative ? QChar('l') : QChar('L'); // further pairs are lines
            }
        }
        return {};
    }

private:
    void skipSpace()
    {
        while (at < data.size() && (data[at].isSpace() || data[at] == ','))
            ++at;
    }

    // The next number; an arc's flags are single digits that may run on.
    std::optional<double> next(bool flag)
    {
        skipSpace();
        if (flag && at < data.size() && (data[at] == '0' || data[at] == '1'))
            return data[at++] == '1' ? 1.0 : 0.0;
        static const QRegularExpression numberPattern("[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?");
        const QRegularExpressionMatch match =
            numberPattern.match(data, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return std::nullopt;
        at += match.capturedLength();
        return number(match.capturedView());
    }

    QStringView data;
    qsizetype at = 0;
};

QString readSvg(const QByteArray &text, const QString &name, PointImport::Result &result)
{
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringView element = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        QString problem;
        if (element == u"path") {
            problem = PathReader(attributes.value("d")).read(result);
        } else if (element == u"polyline" || element == u"polygon") {
            const QString list = attributes.value("points").toString();
            problem = PathReader(QString("M " + list)).read(result);
            result.closed = element == u"polygon";
        } else {
            continue;
        }
        const qint64 line = xml.lineNumber();
        if (problem.isEmpty() && result.points.empty())
            problem = "it names no points";
        if (!problem.isEmpty()) {
            result = {};
            return QString("In %1, the %2 at line %3 cannot be read: %4.")
                .arg(shown(name), element.toString())
                .arg(line)
                .arg(problem);
        }
        // SVG's y grows downwards.
        for (Vector &p : result.points)
            p = Vector(p.x(), -p.y());
        return {};
    }
    if (xml.hasError())
        return QString("%1 is not valid SVG: %2 at line %3.").arg(shown(name), xml.errorString()).arg(xml.lineNumber());
    return QString("%1 has no path, polyline or polygon.").arg(shown(name));
}

} // namespace

QString PointImport::read(const QByteArray &text, const QString &name, Result &result)
{
    Result read;
    const QString problem = text.trimmed().startsWith('<') ? readSvg(text, name, read) : readLines(text, name, read);
    if (problem.isEmpty())
        result = std::move(read);
    return problem;
}

QString PointImport::readFile(const QString &path, Result &result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString("Could not read %1: %2.").arg(shown(path), file.errorString());
    if (file.size() > maxBytes)
        return QString("%1 is too large to import (over %2 MB).").arg(shown(path)).arg(maxBytes >> 20);
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QString("Could not read %1: %2.").arg(shown(path), file.errorString());
    return read(text, path, result);
}

bool PointImport::fitInto(std::vector<Vector> &points, double cx, double cy, double half)
{
    if (points.empty())
        return false;
    double left = points[0].x(), right = left, bottom = points[0].y(), top = bottom;
    for (const Vector &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    }
    if (left >= cx - half && right <= cx + half && bottom >= cy - half && top <= cy + half)
        return false;
    // In halves, so that points near the largest doubles do not overflow.
    const double mx = left / 2 + right / 2, my = bottom / 2 + top / 2;
    const double extent = std::max(right / 2 - left / 2, top / 2 - bottom / 2);
    const double scale = extent > 0 ? 0.9 * half / extent : 1.0;
    for (Vector &p : points)
        p = Vector(cx + (p.x() / 2 - mx / 2) * 2 * scale, cy + (p.y() / 2 - my / 2) * 2 * scale);
    return true;
}
