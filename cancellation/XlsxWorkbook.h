#pragma once

#include <QTemporaryDir>

#include <xlsxwriter.h>

class QIODevice;

// A libxlsxwriter workbook built in a temporary folder of its own and handed
// over whole, so that the caller decides where the bytes go (a QSaveFile
// replaces a file only once everything is written). Rows are kept in
// memory only until the next row starts: each sheet must be written top to
// bottom.
class XlsxWorkbook final {
public:
    // Throws std::runtime_error when the temporary folder or the workbook
    // cannot be created.
    XlsxWorkbook();
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook &) = delete;
    XlsxWorkbook &operator=(const XlsxWorkbook &) = delete;

    // Throws std::runtime_error when the library refuses the name.
    lxw_worksheet *addSheet(const QString &name);
    // A cell format with this number format ("dd/mm/yyyy", "#,##0.00"); an
    // empty code keeps the general one.
    lxw_format *addFormat(const QString &numberFormat = {});

    // Turns a refusal of the library (a cell out of the sheet, a text too
    // long) into std::runtime_error.
    static void check(lxw_error error);

    // Finishes the file and writes its bytes to `out`. The workbook takes
    // nothing more afterwards. Throws std::runtime_error when the library
    // cannot finish the file or the device refuses a write.
    void saveTo(QIODevice &out);

private:
    QString filePath() const;

    QTemporaryDir m_folder;
    lxw_workbook *m_workbook = nullptr;
};
