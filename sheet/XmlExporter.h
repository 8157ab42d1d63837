#pragma once

#include "sheet/SheetExporter.h"

// XML: a root element ("Sheet" when no name is given) holding one element per data row
// ("Row" when no name is given); each non-empty cell is an element named after its column's
// captions (group and sub-caption joined by "_", made a valid XML name, made unique by a
// "_2", "_3" suffix; "Column<n>" when the column has no caption). Number and percent cells
// hold their exact value ("1234.5"), other cells their text.
class XmlExporter : public SheetExporter
{
public:
    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;
};
