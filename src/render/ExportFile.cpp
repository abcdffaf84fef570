#include "render/ExportFile.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/types.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writers such as gl2ps write through a stdio stream; this one passes every
// byte straight to the descriptor and keeps the reason of the first failed
// write, which the stream itself would only report as an error flag.
struct Sink
{
    int descriptor;
    int error = 0;
};

ssize_t writeToSink(void *cookie, const char *data, std::size_t size)
{
    auto *sink = static_cast<Sink *>(cookie);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(sink->descriptor, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            sink->error = written < 0 ? errno : EIO;
            return -1;
        }
        done += static_cast<std::size_t>(written);
    }
    return static_cast<ssize_t>(size);
}

} // namespace

ExportFile::Result ExportFile::write(const QString &name, const std::function<QString(std::FILE *)> &write)
{
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly))
        return {QString("Could not create file %1: %2").arg(name, out.errorString()), true};
    Sink sink{out.handle()};
    std::FILE *file = ::fopencookie(&sink, "w", {nullptr, writeToSink, nullptr, nullptr});
    if (!file) {
        out.cancelWriting();
        return {QString("Could not write file %1: %2").arg(name, systemReason(errno))};
    }
    QString failure = write(file);
    // Closing flushes what the stream still holds: the last write, and so
    // often the first to meet a full disk.
    const bool closed = std::fclose(file) == 0;
    if (failure.isEmpty() && sink.error)
        failure = systemReason(sink.error);
    if (failure.isEmpty() && !closed)
        failure = systemReason(EIO);
    if (failure.isEmpty() && !out.commit())
        failure = out.errorString();
    if (!failure.isEmpty()) {
        out.cancelWriting(); // the temporary file goes, the target stays
        return {QString("Could not write file %1: %2").arg(name, failure)};
    }
    return {};
}

ExportFile::Result ExportFile::write(const QString &name, const QByteArray &bytes)
{
    return write(name, [&bytes](std::FILE *file) {
        // A short write is told by the stream's sink, with its reason.
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file);
        return QString();
    });
}
