#include "screens/chart/ChartFile.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace {

const char Magic[] = "VTXCHT";
constexpr int MagicSize = 6;
constexpr qint32 MostItems = 10'000'000; // a count beyond this marks a damaged file

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QDataStream& operator<<(QDataStream& out, const ChartViewState& v)
{
    return out << v.xMin << v.xMax << v.yMin << v.yMax << v.rotation << v.scale << v.dx << v.dy;
}
QDataStream& operator>>(QDataStream& in, ChartViewState& v)
{
    return in >> v.xMin >> v.xMax >> v.yMin >> v.yMax >> v.rotation >> v.scale >> v.dx >> v.dy;
}

template <class T> void writeOptional(QDataStream& out, const std::optional<T>& value)
{
    out << value.has_value();
    if (value)
        out << *value;
}

template <class T> bool readOptional(QDataStream& in, std::optional<T>* value)
{
    bool present = false;
    in >> present;
    value->reset();
    if (present) {
        T v{};
        in >> v;
        *value = v;
    }
    return in.status() == QDataStream::Ok;
}

bool readCount(QDataStream& in, qint32* count)
{
    in >> *count;
    return in.status() == QDataStream::Ok && *count >= 0 && *count <= MostItems;
}

} // namespace

bool ChartFile::save(const Chart2DData& c, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out.writeRawData(Magic, MagicSize);
    out << Version;
    out << qint32(c.type) << c.header << c.headerVisible << c.footer << c.footerVisible
        << c.legendVisible << c.seriesLabels << c.pointLabels;
    out << qint32(c.values.size());
    for (const QList<double>& series : c.values)
        out << series;
    out << qint32(c.labels.size());
    for (const ChartPointLabel& l : c.labels)
        out << qint32(l.series) << qint32(l.point) << l.text;
    writeOptional(out, c.yAxisMax);
    writeOptional(out, c.view);
    if (out.status() != QDataStream::Ok || !file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool ChartFile::load(Chart2DData* chart, const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    char magic[MagicSize];
    if (in.readRawData(magic, MagicSize) != MagicSize || memcmp(magic, Magic, MagicSize) != 0) {
        setError(error, QStringLiteral("not a chart file"));
        return false;
    }
    quint32 version = 0;
    in >> version;
    if (version < 1 || version > Version) {
        setError(error, QStringLiteral("chart file version %1 is not supported").arg(version));
        return false;
    }
    Chart2DData c;
    qint32 type = 0, count = 0;
    in >> type >> c.header >> c.headerVisible >> c.footer >> c.footerVisible >> c.legendVisible >>
        c.seriesLabels >> c.pointLabels;
    c.type = type;
    bool ok = readCount(in, &count);
    for (qint32 i = 0; ok && i < count; ++i) {
        QList<double> series;
        in >> series;
        c.values << series;
        ok = in.status() == QDataStream::Ok;
    }
    ok = ok && readCount(in, &count);
    for (qint32 i = 0; ok && i < count; ++i) {
        qint32 series = 0, point = 0;
        QString text;
        in >> series >> point >> text;
        c.labels << ChartPointLabel{series, point, text};
        ok = in.status() == QDataStream::Ok;
    }
    ok = ok && readOptional(in, &c.yAxisMax) && readOptional(in, &c.view);
    if (!ok || !ChartType::isKnown(c.type)) {
        setError(error, QStringLiteral("the chart file is damaged"));
        return false;
    }
    *chart = c;
    return true;
}
