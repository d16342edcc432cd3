#include "model/tracerecord.h"

#include "core/exceptions.h"

#include <cmath>

namespace zarno {

int compareTraceDoubles(double a, double b)
{
    const double d = a - b;
    if (std::fabs(d) <= 1e-5)
        return TAbstractTraceRecordOf::kEqual;
    return d > 0 ? TAbstractTraceRecordOf::kGreater : TAbstractTraceRecordOf::kSmaller;
}

void TTraceRecordOfSomething2function::add(std::unique_ptr<TAbstractValueRecord> record)
{
    if (count() >= kMaxRecords)
        throw ESouteigai(QStringLiteral("TTraceRecordOfSomething2function"),
            { fmtArg(count() + 1) }, QStringLiteral("選択されたshapeが多すぎます。(%d個)"),
            QStringLiteral("add"));
    fRecords.push_back(std::move(record));
}

void TTraceRecordOfSomething2function::pushAll()
{
    for (auto &r : fRecords)
        r->restore();
}

void TTraceRecordOfSomething2function::popAll()
{
    for (auto &r : fRecords)
        r->release();
}

int TTraceRecordOfSomething2function::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfSomething2function &>(other);
    const std::size_t n = std::min(fRecords.size(), o.fRecords.size());
    for (std::size_t i = 0; i < n; ++i)
        if (const int c = fRecords[i]->compare(*o.fRecords[i]); c != kEqual)
            return c;
    if (fRecords.size() == o.fRecords.size())
        return kEqual;
    return fRecords.size() > o.fRecords.size() ? kGreater : kSmaller;
}

QString TTraceRecordOfSomething2function::asText() const
{
    QString t = QStringLiteral("something2function: ");
    for (std::size_t i = 0; i < fRecords.size(); ++i)
        t += QLatin1Char('[') + QString::number(i + 1) + QLatin1Char(':') + fRecords[i]->asText()
            + QLatin1Char(']');
    return t;
}

} // namespace zarno
