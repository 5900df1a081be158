#pragma once

#include "exchange/DatasetImport.h"

#include <memory>

// The import wizard behind its window: bound to a dataset, it holds the import settings being set up (file,
// sheet, first row, mapping, formats), shows the sheets and first rows of the file, saves and loads
// specifications and runs the import. The import only appends rows.
class ImportWizard {
public:
    explicit ImportWizard(Dataset &target, TDatadeclaration *dm = nullptr);
    ~ImportWizard();

    Dataset &target() { return m_target; }
    const ImportSpecification &specification() const { return m_spec; }
    void setSpecification(const ImportSpecification &spec);
    // The preset settings of a table, the annexes' files in the models folder.
    void usePreset(const QString &table, const QString &modelsFolder);

    void setFile(const QString &path, SpreadsheetFormat format = SpreadsheetFormat::Auto, char delimiter = 0);
    void setSheet(int sheet);
    void setFirstRow(int row) { m_spec.firstRow = std::max(1, row); }
    void setLastRow(int row) { m_spec.lastRow = std::max(0, row); }
    void setMappings(std::vector<ColumnMapping> mappings) { m_spec.mappings = std::move(mappings); }
    void setFormats(const ValueFormats &formats) { m_spec.formats = formats; }

    // The file's sheets and first rows; throw SpreadsheetError with the file and place of a fault.
    QStringList sheets();
    std::vector<SheetRow> preview(int rows = 20);
    // The columns of the target that an import can fill, in the dataset's order.
    QStringList fields() const;
    // Column A to the first field, B to the second...: the proposal when no mapping is preset.
    std::vector<ColumnMapping> mappingByOrder() const;

    void saveSpecification(const QString &path) const { m_spec.save(path); }
    void loadSpecification(const QString &path) { setSpecification(ImportSpecification::load(path)); }
    // False when the file could not be removed.
    static bool deleteSpecification(const QString &path);

    ImportResult run(const ImportProgress &progress = {});
    // The rows the import would read, as the texts of the mapped cells in mapping order, without storing
    // anything: what a window shows when it only displays a file. Throws SpreadsheetError.
    struct ShownRow {
        int number = 0; // in the file
        QStringList texts;
    };
    std::vector<ShownRow> readMapped();

private:
    SpreadsheetReader &reader();
    int sheetIndex();
    Dataset &m_target;
    TDatadeclaration *m_dm;
    ImportSpecification m_spec;
    std::unique_ptr<SpreadsheetReader> m_reader;
};
