#include "DocumentFile.h"

#include "analysis/MaskAnalysis.h"
#include "curves/Schemes.h"
#include "model/Document.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray boolean(bool value)
{
    return value ? "true" : "false";
}

// "one of "none", "bezier", ... or "proposed"": every scheme's key.
QString keyList()
{
    QString list = "one of ";
    for (int scheme = Schemes::None; scheme <= Schemes::count; ++scheme)
        list += QString(scheme == 0 ? "\"%1\"" : scheme < Schemes::count ? ", \"%1\"" : " or \"%1\"")
                    .arg(QString::fromLatin1(Schemes::row(scheme).key));
    return list;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Reads the members of a parsed file into a document, remembering the
// first fault as a sentence; after a fault every further read is skipped.
class Reader
{
public:
    explicit Reader(const QString &name) : name(name) {}

    bool failed() const { return !problem.isEmpty(); }
    QString problem;

    // An object member; absent gives an empty object.
    QJsonObject object(const QJsonObject &parent, const QString &key, const QString &path)
    {
        const QJsonValue value = parent.value(key);
        if (value.isUndefined() || failed())
            return {};
        if (!value.isObject())
            return wrongType(path, "an object"), QJsonObject();
        return value.toObject();
    }

    void flag(const QJsonObject &parent, const QString &key, const QString &path, bool &out)
    {
        const QJsonValue value = parent.value(key);
        if (value.isUndefined() || failed())
            return;
        if (!value.isBool())
            return wrongType(path, "true or false");
        out = value.toBool();
    }

    void whole(const QJsonObject &parent, const QString &key, const QString &path, int last, int &out)
    {
        const QJsonValue value = parent.value(key);
        if (value.isUndefined() || failed())
            return;
        const double d = value.toDouble();
        if (!value.isDouble() || d != std::floor(d) || !std::isfinite(d))
            return wrongType(path, "a whole number");
        if (d < 0 || d > last)
            return outside(path, d, QString("0..%1").arg(last));
        out = static_cast<int>(d);
    }

    // A number in first..last (rangeText as the message shows it), taken at
    // the nearest slider position by snap.
    void setting(const QJsonObject &parent, const QString &key, const QString &path, double first, double last,
                 const char *rangeText, double (*snap)(double), double &out)
    {
        const QJsonValue value = parent.value(key);
        if (value.isUndefined() || failed())
            return;
        if (!value.isDouble())
            return wrongType(path, "a number");
        const double d = value.toDouble();
        if (!(d >= first && d <= last))
            return outside(path, d, rangeText);
        out = snap(d);
    }

    void points(const QJsonObject &parent, std::vector<Vector> &out)
    {
        const QJsonValue value = parent.value("points");
        if (value.isUndefined() || failed())
            return;
        if (!value.isArray())
            return wrongType("points", "an array of [x, y] pairs");
        const QJsonArray list = value.toArray();
        if (list.size() > Document::maxPoints) {
            problem = QString("%1 holds %2 points, more than the limit of %3.")
                          .arg(shown(name))
                          .arg(list.size())
                          .arg(Document::maxPoints);
            return;
        }
        out.reserve(static_cast<std::size_t>(list.size()));
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QJsonArray pair = list[i].toArray();
            if (!list[i].isArray() || pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
                return fault(QString("point %1 must be a pair of numbers [x, y]").arg(i + 1));
            const double x = pair[0].toDouble(), y = pair[1].toDouble();
            if (!std::isfinite(x) || !std::isfinite(y))
                return fault(QString("point %1 has a coordinate that is not a finite number").arg(i + 1));
            if (std::abs(x) > Document::reach || std::abs(y) > Document::reach)
                return fault(QString("point %1 (%2, %3) lies outside the square -%4..%4 that the view reaches")
                                 .arg(i + 1)
                                 .arg(QString::fromLatin1(number(x)), QString::fromLatin1(number(y)))
                                 .arg(QString::fromLatin1(number(Document::reach))));
            out.emplace_back(x, y);
        }
    }

    // The custom scheme's "arity" and "mask": both or neither (the
    // start-up mask), a mask that Mask takes and that is affine invariant.
    void mask(const QJsonObject &parent, const QString &path, Mask &out)
    {
        const QJsonValue arityValue = parent.value("arity");
        const QJsonValue maskValue = parent.value("mask");
        if (failed() || (arityValue.isUndefined() && maskValue.isUndefined()))
            return;
        const double arity = arityValue.isUndefined() ? 2.0 : arityValue.toDouble();
        if (!arityValue.isUndefined() && (!arityValue.isDouble() || (arity != 2.0 && arity != 3.0)))
            return wrongType(path + "arity", "2 or 3");
        if (maskValue.isUndefined())
            return fault(QString("\"%1mask\" must be given with its arity").arg(path));
        const QJsonArray list = maskValue.toArray();
        std::vector<double> coefficients;
        for (qsizetype i = 0; maskValue.isArray() && i < list.size(); ++i) {
            if (!list[i].isDouble())
                return wrongType(path + "mask", "an array of numbers");
            coefficients.push_back(list[i].toDouble());
        }
        if (!maskValue.isArray())
            return wrongType(path + "mask", "an array of numbers");
        if (const std::string problem = Mask::problem(int(arity), coefficients); !problem.empty())
            return fault(QString("\"%1mask\" is refused: %2").arg(path, QString::fromStdString(problem)));
        const Mask read(int(arity), std::move(coefficients));
        if (const std::string refusal = MaskAnalysis::affineRefusal(read); !refusal.empty())
            return fault(QString("\"%1mask\" is refused: %2").arg(path, QString::fromStdString(refusal)));
        out = read;
    }

    void scheme(const QJsonObject &parent, int &out)
    {
        const QJsonValue value = parent.value("scheme");
        if (value.isUndefined() || failed())
            return;
        if (const int scheme = Schemes::ofKey(value.toString().toStdString()); value.isString() && scheme >= 0) {
            out = scheme;
            return;
        }
        wrongType("scheme", keyList().toLatin1().constData());
    }

private:
    void fault(const QString &text) { problem = QString("In %1, %2.").arg(shown(name), text); }
    void wrongType(const QString &path, const char *what) { fault(QString("\"%1\" must be %2").arg(path, what)); }
    void outside(const QString &path, double value, const QString &range)
    {
        fault(QString("\"%1\" is %2, outside %3").arg(path, QString::fromLatin1(number(value)), range));
    }

    QString name;
};

void readSchemes(Reader &reader, const QJsonObject &root, Document &document)
{
    const QJsonObject schemes = reader.object(root, "schemes", "schemes");
    for (int i = 1; i <= Document::schemeCount; ++i) {
        const QString key = QString::fromLatin1(Schemes::row(i).key);
        const QString path = "schemes." + key + ".";
        const QJsonObject object = reader.object(schemes, key, "schemes." + key);
        Document::SchemeSettings &s = document.settings(i);
        if (i == Schemes::Custom)
            reader.mask(object, path, document.customMask);
        else
            reader.setting(object, "u", path + "u", Document::minU, Document::maxU, "-1.00..0.99",
                           Document::nearestU, s.u);
        if (i == Schemes::Bezier) {
            reader.setting(object, "precision", path + "precision", Document::minPrecision, Document::maxPrecision,
                           "0.05..10", Document::nearestPrecision, s.precision);
            reader.flag(object, "depthColour", path + "depthColour", s.depthColour);
        } else {
            reader.whole(object, "level", path + "level", Document::maxLevel, s.level);
        }
        reader.flag(object, "curvePoints", path + "curvePoints", s.curvePoints);
        if (i != Schemes::Bezier)
            reader.flag(object, "openEnds", path + "openEnds", s.openEnds);
    }
}

// "line L, column C" of a byte offset in text, both counted from 1.
QString position(const QByteArray &text, int offset)
{
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QString("line %1, column %2").arg(before.count('\n') + 1).arg(offset - lineStart + 1);
}

} // namespace

QByteArray DocumentFile::toJson(const Document &document, const QJsonObject &extra)
{
    QByteArray out = "{\"format\": \"ornelle\", \"version\": " + QByteArray::number(version) + ",\n";
    out += " \"closed\": " + boolean(document.closed) + ",\n";
    out += " \"points\": [";
    for (std::size_t i = 0; i < document.points.size(); ++i) {
        const Vector &p = document.points[i];
        out += (i == 0 ? "[" : ",\n            [") + number(p.x()) + ", " + number(p.y()) + "]";
    }
    out += "],\n";
    out += " \"scheme\": \"" + QByteArray(Schemes::row(document.scheme).key) + "\",\n";
    for (int i = 1; i <= Document::schemeCount; ++i) {
        const Document::SchemeSettings &s = document.settings(i);
        out += i == 1 ? " \"schemes\": {" : ",\n             ";
        out += "\"" + QByteArray(Schemes::row(i).key) + "\": {";
        if (i == Schemes::Custom) {
            const Mask &mask = document.customMask;
            out += "\"arity\": " + QByteArray::number(mask.arity()) + ", \"mask\": [";
            for (std::size_t k = 0; k < mask.size(); ++k)
                out += (k == 0 ? "" : ", ") + number(mask.coefficients()[k]);
            out += "]";
        } else {
            out += "\"u\": " + number(s.u);
        }
        if (i == Schemes::Bezier)
            out += ", \"precision\": " + number(s.precision) + ", \"depthColour\": " + boolean(s.depthColour);
        else
            out += ", \"level\": " + QByteArray::number(s.level);
        out += ", \"curvePoints\": " + boolean(s.curvePoints);
        if (i != Schemes::Bezier)
            out += ", \"openEnds\": " + boolean(s.openEnds);
        out += "}";
    }
    out += "},\n";
    out += " \"view\": {\"axis\": " + boolean(document.axis) +
           ", \"gridSpacing\": " + QByteArray::number(document.gridSpacing) + "}";
    for (auto member = extra.begin(); member != extra.end(); ++member) {
        // A member's value as compact JSON: the text of a one-element array
        // without its brackets.
        const QByteArray value = QJsonDocument(QJsonArray{member.value()}).toJson(QJsonDocument::Compact);
        out += ",\n " + QJsonDocument(QJsonArray{member.key()}).toJson(QJsonDocument::Compact).mid(1).chopped(1) +
               ": " + value.mid(1).chopped(1);
    }
    out += "}\n";
    return out;
}

QString DocumentFile::fromJson(const QByteArray &text, const QString &name, Document &document, QJsonObject *rootOut)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        // The parser stands after a number it refuses (1e999, say): point
        // at the number's start instead.
        int offset = error.offset;
        if (error.error == QJsonParseError::IllegalNumber)
            while (offset > 0 && offset <= text.size() && std::strchr("0123456789+-.eE", text[offset - 1]))
                --offset;
        return QString("%1 is not valid JSON: %2 at %3.").arg(shown(name), error.errorString(),
                                                             position(text, offset));
    }
    const QJsonObject root = json.object();
    if (!json.isObject() || root.value("format") != QJsonValue("ornelle"))
        return QString("%1 is not an Ornelle polygon file.").arg(shown(name));

    const QJsonValue versionValue = root.value("version");
    const double fileVersion = versionValue.toDouble();
    if (!versionValue.isDouble() || fileVersion != std::floor(fileVersion))
        return QString("%1 does not give its format version as a whole number.").arg(shown(name));
    if (fileVersion > version)
        return QString("%1 was written by a newer Ornelle (format version %2; this one reads version %3).")
            .arg(shown(name), QString::fromLatin1(number(fileVersion)))
            .arg(version);
    if (fileVersion < 1)
        return QString("%1 has format version %2, which does not exist.")
            .arg(shown(name), QString::fromLatin1(number(fileVersion)));

    Document read;
    Reader reader(name);
    reader.flag(root, "closed", "closed", read.closed);
    reader.points(root, read.points);
    reader.scheme(root, read.scheme);
    readSchemes(reader, root, read);
    const QJsonObject view = reader.object(root, "view", "view");
    reader.flag(view, "axis", "view.axis", read.axis);
    reader.whole(view, "gridSpacing", "view.gridSpacing", Document::maxGridSpacing, read.gridSpacing);
    if (reader.failed())
        return reader.problem;
    document = std::move(read);
    if (rootOut)
        *rootOut = root;
    return {};
}

QString DocumentFile::read(const QString &path, Document &document, QJsonObject *root)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString("Could not read %1: %2.").arg(shown(path), file.errorString());
    if (file.size() > maxFileBytes)
        return QString("%1 is too large for a polygon file (over %2 MB).").arg(shown(path)).arg(maxFileBytes >> 20);
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QString("Could not read %1: %2.").arg(shown(path), file.errorString());
    return fromJson(text, path, document, root);
}

QString DocumentFile::write(const QString &path, const Document &document, const QJsonObject &extra)
{
    // QSaveFile writes a temporary file beside the target and renames it
    // over the target only in commit(), once everything was written.
    // Unbuffered: a write cut short by a full disk returns fewer bytes
    // without setting the device's error, and a buffered tail flushed by
    // commit() could be cut short unnoticed, putting a torn file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QString("Could not save %1: %2.").arg(shown(path), file.errorString());
    const QByteArray text = toJson(document, extra);
    errno = 0;
    if (file.write(text) != text.size()) {
        const int cause = errno;
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                               : cause != 0 ? QString::fromLocal8Bit(std::strerror(cause))
                                            : QString("the file was not written completely");
        file.cancelWriting();
        return QString("Could not save %1: %2.").arg(shown(path), reason);
    }
    if (!file.commit())
        return QString("Could not save %1: %2.").arg(shown(path), file.errorString());
    return {};
}
