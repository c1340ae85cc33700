#include "FuzzFailure.h"

#include <cstdlib>
#include <unistd.h>

namespace {

void writeAll(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(2, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0) {
            return;
        }
        done += written;
    }
}

} // namespace

void fuzzFailure(const QString &rule, const QByteArray &detail)
{
    // A huge input would bury the rule; its start is enough to see the shape.
    constexpr qsizetype shown = 2000;
    QByteArray text = "\nFUZZ FAILURE: " + rule.toUtf8() + '\n';
    if (!detail.isEmpty()) {
        text += detail.left(shown);
        if (detail.size() > shown) {
            text += "... (" + QByteArray::number(detail.size()) + " bytes)";
        }
        text += '\n';
    }
    writeAll(text);
    std::abort();
}
