#include "grid/LibXGrid.h"

#include <filesystem>

#include "engine/common/field_type.h"
#include "engine/dataset/field.h"

namespace kashidashi {

TLibXGrid::TLibXGrid(QWidget* parent) : TFixedColDBGrid(parent) {
    ExcelFont = QFont();  // the platform's default face and size
    CsvFileName = DefaultCsvFileName();
}

TLibXGrid::~TLibXGrid() = default;

std::string TLibXGrid::DefaultCsvFileName() {
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    if (std::filesystem::is_directory(folder + "CSV", error)) return folder + "CSV/TMP$$$.CSV";
    return folder + "TMP$$$.CSV";
}

void TLibXGrid::UsingSet(engine::TField& field, const std::string& format) {
    using engine::FieldType;
    switch (field.DataType()) {
        case FieldType::Integer:
        case FieldType::Smallint:
        case FieldType::AutoInc:
        case FieldType::Float:
        case FieldType::Currency:
        case FieldType::Date:
        case FieldType::DateTime:
            field.DisplayFormat = format;
            return;
        default:
            return;  // texts, memos and booleans keep theirs
    }
}

}  // namespace kashidashi
