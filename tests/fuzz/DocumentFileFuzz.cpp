// libFuzzer target: arbitrary bytes read as a polygon file. The loader
// must either refuse them in one sentence naming the file, leaving the
// document as it was, or give a document inside every range the panel can
// produce that writes and reads back to itself.
#include "model/Document.h"
#include "document/DocumentFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>

namespace {

void fail(const char *problem, const QString &detail = {})
{
    std::cerr << problem << (detail.isEmpty() ? "" : ": ") << detail.toStdString() << std::endl;
    std::abort();
}

void checkRanges(const Document &d)
{
    if (d.points.size() > std::size_t(Document::maxPoints))
        fail("too many points");
    for (const Vector &p : d.points)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > Document::reach ||
            std::abs(p.y()) > Document::reach || p.z() != 0.0)
            fail("a point outside the view's reach");
    if (d.scheme < 0 || d.scheme > Document::schemeCount)
        fail("scheme out of range");
    for (const Document::SchemeSettings &s : d.schemes) {
        // Each stored value is one the panel's slider can produce.
        if (!(s.u >= Document::minU && s.u <= Document::maxU) || Document::nearestU(s.u) != s.u)
            fail("u is not a slider value");
        if (!(s.precision >= Document::minPrecision && s.precision <= Document::maxPrecision) ||
            Document::nearestPrecision(s.precision) != s.precision)
            fail("precision is not a slider value");
        if (s.level < 0 || s.level > Document::maxLevel)
            fail("level out of range");
    }
    if (d.gridSpacing < 0 || d.gridSpacing > Document::maxGridSpacing)
        fail("grid spacing out of range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    Document marked;
    marked.gridSpacing = 7; // tells whether a refused file changed the document
    Document d = marked;
    const QString problem = DocumentFile::fromJson(text, "F", d);
    if (!problem.isEmpty()) {
        if (!(d == marked))
            fail("a refused file changed the document", problem);
        if (!(problem.startsWith("F ") || problem.startsWith("In F, ")) || !problem.endsWith('.'))
            fail("the message does not name the file in one sentence", problem);
        return 0;
    }
    checkRanges(d);
    Document again;
    if (const QString p = DocumentFile::fromJson(DocumentFile::toJson(d), "F", again); !p.isEmpty())
        fail("a written document does not read back", p);
    if (!(again == d))
        fail("a written document reads back different");
    return 0;
}
