#pragma once

#include <xlsxwriter.h>

// libxlsxwriter, loaded apart from the rest of the program. It writes its zip through the system's minizip,
// whose zip functions (zipOpen, zipClose...) have the same names as those QuaZip exports with other
// arguments; linked into one program, the first library found serves both, and the other crashes. Loaded
// with RTLD_DEEPBIND, libxlsxwriter binds to its own minizip whatever else the program holds.
struct XlsxWriterLibrary {
    decltype(&workbook_new_opt) workbookNew = nullptr;
    decltype(&workbook_add_worksheet) addWorksheet = nullptr;
    decltype(&workbook_add_format) addFormat = nullptr;
    decltype(&format_set_num_format) setNumFormat = nullptr;
    decltype(&worksheet_write_string) writeString = nullptr;
    decltype(&worksheet_write_number) writeNumber = nullptr;
    decltype(&worksheet_write_datetime) writeDatetime = nullptr;
    decltype(&worksheet_set_column) setColumn = nullptr;
    decltype(&workbook_close) close = nullptr;
    decltype(&lxw_strerror) errorText = nullptr;

    // Loaded once; throws DbError when the library or one of its functions is missing.
    static const XlsxWriterLibrary &get();
};
