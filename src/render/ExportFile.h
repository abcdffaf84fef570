#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <functional>

// Writes an exported file whole or not at all: the bytes go to a new file
// beside the target, which replaces the target only once every byte of it
// is known to be on disk, so a full disk or any other failure leaves an
// existing file as it was. Failures come back as one sentence naming the
// file and the system's reason.
class ExportFile
{
public:
    // What went wrong, if anything: message is empty on success;
    // notCreated tells that the new file could not even be created
    // ("Could not create file NAME: reason"), otherwise writing it failed
    // ("Could not write file NAME: reason").
    struct Result
    {
        QString message;
        bool notCreated = false;
        bool ok() const { return message.isEmpty(); }
    };

    // Runs write on a stream to the new file beside name; write returns a
    // reason of its own for a failure, or an empty text. name is used as
    // given.
    static Result write(const QString &name, const std::function<QString(std::FILE *)> &write);
    // Writes bytes to name the same way.
    static Result write(const QString &name, const QByteArray &bytes);
};
