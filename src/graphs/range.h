#pragma once

#include <QString>
#include <memory>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;
class TCalcFormulaFacade;

// The domain of a graph: each end unbounded or a constant formula. A bound
// whose formula has no value counts as no bound on that side.
class TRange
{
public:
    static constexpr double kUnbounded = 1.7e308;

    TRange();
    ~TRange();

    bool fMinIsInfinity = true;
    bool fMaxIsInfinity = true;
    const QString &minText() const { return fMinText; }
    const QString &maxText() const { return fMaxText; }
    // False, and nothing changed, when the text is not a constant number formula.
    bool setMinText(const QString &text);
    bool setMaxText(const QString &text);

    double lower() const;
    double upper() const;

    void saveToFile(TAbstractFileWriter &writer) const;
    void loadFromFile(TAbstractXmlNode &shapeNode);
    void assign(const TRange &other);

private:
    double valueOf(const QString &text) const;

    QString fMinText = QStringLiteral("-3");
    QString fMaxText = QStringLiteral("3");
    std::unique_ptr<TCalcFormulaFacade> fFacade;
};

} // namespace zarno
