#include "XlsxWorkbook.h"

#include <QFile>
#include <QIODevice>
#include <QString>

#include <stdexcept>

namespace {

constexpr qint64 chunkBytes = 1 << 20;

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

} // namespace

XlsxWorkbook::XlsxWorkbook()
{
    if (!m_folder.isValid()) {
        fail(QStringLiteral("Não foi possível criar a pasta temporária da planilha: %1").arg(m_folder.errorString()));
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    m_workbook = workbook_new_opt(QFile::encodeName(filePath()).constData(), &options);
    if (!m_workbook) {
        fail(QStringLiteral("Não foi possível criar a planilha em %1.").arg(m_folder.path()));
    }
}

XlsxWorkbook::~XlsxWorkbook()
{
    if (m_workbook) {
        lxw_workbook_free(m_workbook);
    }
}

QString XlsxWorkbook::filePath() const
{
    return m_folder.filePath(QStringLiteral("planilha.xlsx"));
}

lxw_worksheet *XlsxWorkbook::addSheet(const QString &name)
{
    lxw_worksheet *sheet = workbook_add_worksheet(m_workbook, name.toUtf8().constData());
    if (!sheet) {
        fail(QStringLiteral("A planilha não aceitou a aba \"%1\".").arg(name));
    }
    return sheet;
}

lxw_format *XlsxWorkbook::addFormat(const QString &numberFormat)
{
    lxw_format *format = workbook_add_format(m_workbook);
    if (!numberFormat.isEmpty()) {
        format_set_num_format(format, numberFormat.toUtf8().constData());
    }
    return format;
}

void XlsxWorkbook::check(lxw_error error)
{
    if (error != LXW_NO_ERROR) {
        fail(QStringLiteral("A planilha recusou um valor (%1).").arg(QString::fromUtf8(lxw_strerror(error))));
    }
}

void XlsxWorkbook::saveTo(QIODevice &out)
{
    // Closing frees the workbook, whether it could finish the file or not.
    const lxw_error closed = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (closed != LXW_NO_ERROR) {
        fail(QStringLiteral("Não foi possível terminar a planilha na pasta temporária %1; veja se há espaço livre nela (%2).")
                 .arg(m_folder.path(), QString::fromUtf8(lxw_strerror(closed))));
    }
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("Não foi possível ler a planilha terminada: %1").arg(file.errorString()));
    }
    for (QByteArray bytes = file.read(chunkBytes); !bytes.isEmpty(); bytes = file.read(chunkBytes)) {
        if (out.write(bytes) != bytes.size()) {
            fail(out.errorString());
        }
    }
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("Não foi possível ler a planilha terminada: %1").arg(file.errorString()));
    }
}
