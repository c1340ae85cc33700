#include "SavedOptions.h"

#include <QCoreApplication>
#include <QSettings>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {
QString redirectedFile;

std::unique_ptr<QSettings> openStore()
{
    if (!redirectedFile.isEmpty()) {
        return std::make_unique<QSettings>(redirectedFile, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QCoreApplication::organizationName(),
                                       QStringLiteral("opcoes-filtro"));
}

// A set's name is the operator's free text; encoded, a "/" or "=" in it
// cannot be taken for the store's own structure.
QString keyOf(const QString &name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}
} // namespace

namespace SavedOptions {

void setFileName(const QString &file)
{
    redirectedFile = file;
}

QStringList names(const QString &screenCode)
{
    auto store = openStore();
    store->beginGroup(keyOf(screenCode));
    QStringList result;
    for (const QString &key : store->childKeys()) {
        result << QUrl::fromPercentEncoding(key.toLatin1());
    }
    std::sort(result.begin(), result.end());
    return result;
}

void save(const QString &screenCode, const QString &name, const QStringList &lines)
{
    auto store = openStore();
    store->beginGroup(keyOf(screenCode));
    // One text, a line per option: the values are code lists full of commas
    // and quotes, which the settings' own list syntax would mangle.
    store->setValue(keyOf(name), lines.join(QLatin1Char('\n')));
    store->sync();
}

QStringList load(const QString &screenCode, const QString &name)
{
    auto store = openStore();
    store->beginGroup(keyOf(screenCode));
    if (!store->contains(keyOf(name))) {
        throw std::runtime_error(
            QStringLiteral("Não há opções salvas com o nome \"%1\".").arg(name).toStdString());
    }
    const QString text = store->value(keyOf(name)).toString();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace SavedOptions
