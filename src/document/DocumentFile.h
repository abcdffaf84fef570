#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class Document;

// Polygon files: JSON in UTF-8, suffix ".ornelle", one object with the
// members "format" ("ornelle"), "version" (1), "closed", "points",
// "scheme", "schemes" and "view" (the README describes them). Reading
// checks every member and reports the first fault as one sentence naming
// the file; a failed read leaves the target document as it was.
class DocumentFile
{
public:
    // File name suffix, without the dot.
    static constexpr const char *suffix = "ornelle";
    // The format version this program writes and the newest it reads.
    // The custom scheme and open ends only added members, which older
    // readers ignore as every reader ignores unknown members, and the key
    // "custom", which they refuse in a sentence; so a file stays at
    // version 1 and an older program still opens whatever it can show.
    static constexpr int version = 1;
    // Larger files are refused before they are read (a file of maxPoints
    // points takes about 5 MB).
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

    // The file text of document, with every number in the fewest digits
    // that read back to the same double. Stores precision and depthColour
    // for Bezier only, level and openEnds for the other schemes only, and
    // for the custom scheme its mask ("arity", "mask") instead of u: the
    // settings each one uses.
    // extra: further members, written after the document's own (a
    // recovery file names the document's file this way); readers that do
    // not know them ignore them.
    static QByteArray toJson(const Document &document, const QJsonObject &extra = {});
    // Parses text as the contents of the file called name (used only in
    // messages). On success stores the result in document and returns an
    // empty string; otherwise returns one sentence saying what is wrong and
    // leaves document alone. Missing optional members take the start-up
    // values, unknown members are ignored, and u and precision inside their
    // ranges are taken at the nearest slider position (Document::nearestU).
    // A custom mask that Mask refuses, or that is not affine invariant
    // (MaskAnalysis::affineRefusal), makes the file unsound.
    // With root, also gives the file's whole top-level object (on success
    // only), for members other than the document's.
    static QString fromJson(const QByteArray &text, const QString &name, Document &document,
                            QJsonObject *root = nullptr);

    // Reads the file at path into document as fromJson does; empty on
    // success, else one sentence naming the file (also for I/O failures).
    static QString read(const QString &path, Document &document, QJsonObject *root = nullptr);
    // Writes document to path through a new file that replaces the old one
    // only once it is complete, so a failure never loses the old file.
    // Empty on success, else one sentence naming the file and the reason.
    static QString write(const QString &path, const Document &document, const QJsonObject &extra = {});
};
