#include "exchange/XlsxWriterLibrary.h"

#include "data/DbError.h"

#include <dlfcn.h>
#include <mutex>

namespace {

template <typename F> void resolve(void *handle, const char *name, F &function, QString *missing) {
    function = reinterpret_cast<F>(dlsym(handle, name));
    if (!function)
        *missing = QString::fromLatin1(name);
}

} // namespace

const XlsxWriterLibrary &XlsxWriterLibrary::get() {
    static XlsxWriterLibrary library;
    static QString error;
    static std::once_flag once;
    std::call_once(once, [] {
        void *handle = nullptr;
        for (const char *name : {TALVANE_XLSXWRITER_PATH, "libxlsxwriter.so.4", "libxlsxwriter.so"})
            if ((handle = dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND)))
                break;
        if (!handle) {
            error = QStringLiteral("La bibliothèque libxlsxwriter est introuvable : %1")
                        .arg(QString::fromLocal8Bit(dlerror()));
            return;
        }
        QString missing;
        resolve(handle, "workbook_new_opt", library.workbookNew, &missing);
        resolve(handle, "workbook_add_worksheet", library.addWorksheet, &missing);
        resolve(handle, "workbook_add_format", library.addFormat, &missing);
        resolve(handle, "format_set_num_format", library.setNumFormat, &missing);
        resolve(handle, "worksheet_write_string", library.writeString, &missing);
        resolve(handle, "worksheet_write_number", library.writeNumber, &missing);
        resolve(handle, "worksheet_write_datetime", library.writeDatetime, &missing);
        resolve(handle, "worksheet_set_column", library.setColumn, &missing);
        resolve(handle, "workbook_close", library.close, &missing);
        resolve(handle, "lxw_strerror", library.errorText, &missing);
        if (!missing.isEmpty())
            error = QStringLiteral("La bibliothèque libxlsxwriter n'a pas la fonction %1.").arg(missing);
    });
    if (!error.isEmpty())
        throw DbError(error);
    return library;
}
