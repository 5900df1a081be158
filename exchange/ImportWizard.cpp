#include "exchange/ImportWizard.h"

#include "data/Dataset.h"
#include "exchange/ImportPresets.h"

#include <QFile>

ImportWizard::ImportWizard(Dataset &target, TDatadeclaration *dm) : m_target(target), m_dm(dm) {}

ImportWizard::~ImportWizard() = default;

void ImportWizard::setSpecification(const ImportSpecification &spec) {
    if (spec.file != m_spec.file || spec.format != m_spec.format || spec.delimiter != m_spec.delimiter)
        m_reader.reset();
    m_spec = spec;
}

void ImportWizard::usePreset(const QString &table, const QString &modelsFolder) {
    ImportSpecification spec = presetSpecification(table, modelsFolder);
    if (spec.mappings.empty())
        spec.mappings = mappingByOrder();
    setSpecification(spec);
}

void ImportWizard::setFile(const QString &path, SpreadsheetFormat format, char delimiter) {
    m_reader.reset();
    m_spec.file = path;
    m_spec.format = format;
    m_spec.delimiter = delimiter;
    m_spec.sheet = 0;
    m_spec.sheetName.clear();
}

void ImportWizard::setSheet(int sheet) {
    m_spec.sheet = sheet;
    const QStringList names = sheets();
    m_spec.sheetName = sheet >= 0 && sheet < names.size() ? names[sheet] : QString();
}

SpreadsheetReader &ImportWizard::reader() {
    if (!m_reader)
        m_reader = openSpreadsheet(m_spec.file, m_spec.format, m_spec.delimiter);
    return *m_reader;
}

int ImportWizard::sheetIndex() {
    const int byName = static_cast<int>(reader().sheets().indexOf(m_spec.sheetName));
    return !m_spec.sheetName.isEmpty() && byName >= 0 ? byName : m_spec.sheet;
}

QStringList ImportWizard::sheets() {
    return reader().sheets();
}

std::vector<SheetRow> ImportWizard::preview(int rows) {
    return reader().preview(sheetIndex(), rows);
}

QStringList ImportWizard::fields() const {
    QStringList out;
    const RecordLayout &layout = m_target.layout();
    for (int i = 0; i < layout.columnCount(); ++i) {
        const ColumnInfo &c = layout.column(i);
        if (c.relation.compare(m_target.writeTable(), Qt::CaseInsensitive) == 0 && !c.origin.isEmpty())
            out.append(c.name);
    }
    return out;
}

std::vector<ColumnMapping> ImportWizard::mappingByOrder() const {
    std::vector<ColumnMapping> out;
    const QStringList names = fields();
    for (int i = 0; i < names.size(); ++i)
        out.push_back({columnLetters(i), names[i]});
    return out;
}

bool ImportWizard::deleteSpecification(const QString &path) {
    return QFile::remove(path);
}

ImportResult ImportWizard::run(const ImportProgress &progress) {
    m_reader.reset(); // the file may have changed since the preview
    return runImport(m_spec, m_target, m_dm, progress);
}

std::vector<ImportWizard::ShownRow> ImportWizard::readMapped() {
    m_reader.reset();
    std::vector<int> columns;
    for (const ColumnMapping &m : m_spec.mappings)
        columns.push_back(columnIndex(m.source));
    std::vector<ShownRow> out;
    reader().readRows(sheetIndex(), [&](const SheetRow &row) {
        if (m_spec.lastRow > 0 && row.number > m_spec.lastRow)
            return false;
        if (row.number < m_spec.firstRow)
            return true;
        ShownRow shown{row.number, {}};
        for (int c : columns)
            shown.texts << (c >= 0 ? cellText(row.cells.value(c)) : QString());
        out.push_back(std::move(shown));
        return true;
    });
    return out;
}
