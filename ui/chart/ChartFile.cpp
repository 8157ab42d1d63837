#include "ui/chart/ChartFile.h"

#include "sheet/BoundedStream.h"
#include "sheet/ExportFile.h"

#include <QDataStream>
#include <QFile>

#include <cstring>

namespace {

const char Magic[] = "VTXCHT";
constexpr int MagicSize = 6;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QDataStream& operator<<(QDataStream& out, const ChartViewState& v)
{
    return out << v.xMin << v.xMax << v.yMin << v.yMax << v.rotation << v.scale << v.dx << v.dy;
}

template <class T> void writeOptional(QDataStream& out, const std::optional<T>& value)
{
    out << value.has_value();
    if (value)
        out << *value;
}

bool readView(BoundedStream& r, ChartViewState* v)
{
    // Checked with the values by Chart2DData::problem().
    return r.raw(&v->xMin) && r.raw(&v->xMax) && r.raw(&v->yMin) && r.raw(&v->yMax) &&
           r.raw(&v->rotation) && r.raw(&v->scale) && r.raw(&v->dx) && r.raw(&v->dy);
}

bool readChart(BoundedStream& r, Chart2DData* c)
{
    using namespace ChartLimits;
    qint32 type = 0;
    if (!(r.raw(&type) && r.text(&c->header, MostTextLength) && r.flag(&c->headerVisible) &&
          r.text(&c->footer, MostTextLength) && r.flag(&c->footerVisible) &&
          r.flag(&c->legendVisible) &&
          r.texts(&c->seriesLabels, MostSeries, MostTextLength, "series names") &&
          r.texts(&c->pointLabels, MostPoints, MostTextLength, "point names")))
        return false;
    c->type = type;
    qint64 seriesCount = 0, values = 0;
    if (!r.count(&seriesCount, 4, MostSeries, "series"))
        return false;
    for (qint64 s = 0; s < seriesCount; ++s) {
        qint64 points = 0;
        if (!r.count(&points, 8, MostPoints, "points in a series"))
            return false;
        if ((values += points) > MostValues)
            return r.fail(QStringLiteral("it holds more than %1 values").arg(MostValues));
        QList<double> series;
        series.reserve(points);
        for (qint64 p = 0; p < points; ++p) {
            double v = 0;
            if (!r.raw(&v))
                return false;
            series.append(v);
        }
        c->values.append(series);
    }
    qint64 labels = 0;
    if (!r.count(&labels, 12, MostLabels, "labels"))
        return false;
    c->labels.reserve(labels);
    for (qint64 i = 0; i < labels; ++i) {
        ChartPointLabel l;
        qint32 series = 0, point = 0;
        if (!(r.raw(&series) && r.raw(&point) && r.text(&l.text, MostTextLength)))
            return false;
        l.series = series;
        l.point = point;
        c->labels.append(l);
    }
    bool present = false;
    if (!r.flag(&present))
        return false;
    if (present) {
        double top = 0;
        if (!r.raw(&top))
            return false;
        c->yAxisMax = top;
    }
    if (!r.flag(&present))
        return false;
    if (present) {
        ChartViewState v;
        if (!readView(r, &v))
            return false;
        c->view = v;
    }
    if (r.left() > 0)
        return r.fail(QStringLiteral("it goes on after the chart"));
    // Values, the axis top and the view: finite and within bounds.
    if (const QString why = c->problem(); !why.isEmpty())
        return r.fail(why);
    return true;
}

} // namespace

bool ChartFile::save(const Chart2DData& c, const QString& path, QString* error)
{
    if (const QString why = c.problem(); !why.isEmpty()) { // it could not be opened again
        setError(error, QStringLiteral("the chart cannot be kept in a chart file: %1").arg(why));
        return false;
    }
    ExportFile file(path);
    if (!file.begin()) {
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
    if (!file.commit()) { // a write that failed fails here, with the system's reason
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
    if (file.size() > MostBytes) {
        setError(error, QStringLiteral("the chart file is damaged: it has %1 bytes (at most %2)")
                            .arg(file.size())
                            .arg(MostBytes));
        return false;
    }
    BoundedStream r(&file);
    char magic[MagicSize];
    if (r.stream().readRawData(magic, MagicSize) != MagicSize ||
        memcmp(magic, Magic, MagicSize) != 0) {
        setError(error, QStringLiteral("not a chart file"));
        return false;
    }
    quint32 version = 0;
    r.stream() >> version;
    if (version < 1 || version > Version) {
        setError(error, QStringLiteral("chart file version %1 is not supported").arg(version));
        return false;
    }
    Chart2DData c;
    if (!readChart(r, &c)) {
        setError(error, QStringLiteral("the chart file is damaged: %1").arg(r.problem()));
        return false;
    }
    *chart = c;
    return true;
}
