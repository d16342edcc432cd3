#pragma once

#include <QString>
#include <array>
#include <memory>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;

// The coordinate description of a point: each coordinate is either free
// (it keeps the position dragging gives it) or a formula text.
class TZahyou
{
public:
    static std::unique_ptr<TZahyou> createFreeZahyou();
    static std::unique_ptr<TZahyou> createFormulaZahyou();
    TZahyou(const TZahyou &) = delete;
    TZahyou &operator=(const TZahyou &) = delete;

    int formulaFontPt = 14;

    bool canBeFree() const { return fCanBeFree; }
    bool fXfree() const { return fXfreeFlag; }
    bool fYfree() const { return fYfreeFlag; }
    void setFXfree(bool b);
    void setFYfree(bool b);
    const QString &xstr() const { return fXstr; }
    const QString &ystr() const { return fYstr; }
    void setXstr(const QString &s) { fXstr = s; }
    void setYstr(const QString &s) { fYstr = s; }

    // Up to three saved states around dialogs: push before, pop on cancel,
    // clearPushed on OK.
    void pushCurrent();
    void pop();
    void clearPushed();
    int pushedCount() const { return fTop + 1; }

    void saveInfo(TAbstractFileWriter &writer) const;
    void loadInfo(TAbstractXmlNode &node);

private:
    explicit TZahyou(bool canBeFree);

    struct State
    {
        bool canBeFree = false;
        bool xFree = false;
        bool yFree = false;
        QString xstr;
        QString ystr;
    };

    bool fCanBeFree;
    bool fXfreeFlag;
    bool fYfreeFlag;
    QString fXstr = QStringLiteral("0");
    QString fYstr = QStringLiteral("0");
    std::array<State, 3> fSaved;
    int fTop = -1;
};

} // namespace zarno
