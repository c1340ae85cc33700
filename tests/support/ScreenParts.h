#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A list or control of a screen, reached by its object name: a screen keeps
// its parts to itself, and a test drives them as the operator would.
// A part that is not there ends the run at once, with its name: every step
// after it would only fail for the same reason.
template <typename T>
T *part(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("%s has no %s named \"%s\"", qPrintable(screen->objectName()), T::staticMetaObject.className(), name);
    }
    return found;
}
