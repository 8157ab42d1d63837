#include "sheet/XmlExporter.h"

#include "sheet/ExportFile.h"
#include "sheet/SheetCells.h"
#include "sheet/XmlText.h"

#include <QSet>
#include <QXmlStreamWriter>

namespace {

// A valid XML element name for a caption.
QString xmlName(const QString& caption)
{
    QString name;
    for (const QChar ch : caption) {
        if (ch.isLetterOrNumber() || ch == QLatin1Char('_') || ch == QLatin1Char('-') ||
            ch == QLatin1Char('.'))
            name += ch;
        else if (!name.endsWith(QLatin1Char('_')))
            name += QLatin1Char('_');
    }
    while (name.endsWith(QLatin1Char('_')) && name.size() > 1)
        name.chop(1);
    if (!name.isEmpty() && !name.at(0).isLetter() && name.at(0) != QLatin1Char('_'))
        name.prepend(QLatin1Char('_'));
    if (name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive))
        name.prepend(QLatin1Char('_'));
    return name == QLatin1String("_") ? QString() : name;
}

} // namespace

bool XmlExporter::write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
                        QString* error) const
{
    const SheetCells cells(sheet);
    const QList<int>& columns = cells.visibleColumns();
    QStringList names;
    QSet<QString> used;
    for (int c : columns) {
        QString name = xmlName(cells.columnCaption(c, QStringLiteral("_")));
        if (name.isEmpty())
            name = QStringLiteral("Column%1").arg(c);
        QString unique = name;
        for (int n = 2; used.contains(unique); ++n)
            unique = QStringLiteral("%1_%2").arg(name).arg(n);
        used.insert(unique);
        names << unique;
    }
    const QString root =
        xmlName(options.xmlRoot).isEmpty() ? QStringLiteral("Sheet") : xmlName(options.xmlRoot);
    const QString row = xmlName(options.xmlCollection).isEmpty() ? QStringLiteral("Row")
                                                                 : xmlName(options.xmlCollection);

    ExportFile file(path);
    if (!file.begin()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(root);
    for (int r = 1; r <= sheet.maxRows() && !file.failed(); ++r) {
        xml.writeStartElement(row);
        for (int i = 0; i < columns.size(); ++i) {
            const int c = columns[i];
            const QVariant v = sheet.value(r, c);
            if (!v.isValid())
                continue;
            const bool number = v.typeId() == QMetaType::Double;
            xml.writeTextElement(names[i], number ? QString::number(v.toDouble(), 'g', 15)
                                                  : XmlText::clean(sheet.text(r, c)));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (!file.commit()) { // a write that failed fails here, with the system's reason
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
