#pragma once

#include "core/enums.h"
#include "core/valuetypes.h"

#include <QPoint>
#include <array>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;

// How big a label is drawn and whether it is drawn at all. A plain info has
// no place of its own: the labels of grid intervals are never drawn, they
// only carry a number and the grid's on/off switch. Dialogs keep up to three
// saved states (slots 0..2).
class TWritingInfo
{
public:
    static constexpr int kBackupSlots = 3;
    static constexpr int kDefaultPt = 11;

    TWritingInfo()
        : TWritingInfo(0)
    { }
    virtual ~TWritingInfo() = default;
    TWritingInfo(const TWritingInfo &) = delete;
    TWritingInfo &operator=(const TWritingInfo &) = delete;

    int pt() const { return fPt; }
    void setPt(int pt) { fPt = pt; }
    bool view() const { return fView; }
    void setView(bool view) { fView = view; }
    // 0 for a plain info, 1 for one with an offset and a direction.
    quint8 kind() const { return fKind; }

    // Sizes a label may have: what the dialogs offer and a little more. A
    // document with another size is damaged.
    static constexpr int kMinPt = 1;
    static constexpr int kMaxPt = 200;

    // A plain info has no place: these raise the unexpected-state error.
    virtual void setOffsetMmXy(const TModelPoint &mm);
    virtual void setDirection(T_Direction direction);
    virtual TModelPoint getOffsetMmXy() const;
    virtual T_Direction getDirection() const;

    // "pt" and "view" on one line.
    virtual void save(TAbstractFileWriter &writer) const;
    virtual void load(TAbstractXmlNode &node);
    virtual void store(int slot);
    virtual void restore(int slot);
    virtual bool differsFrom(int slot) const;

    // The pixel vector from the anchor to the top-left corner of a box of
    // w × h pixels: the millimetre offset at the resolution being drawn (y
    // up becomes y down) plus the alignment of the direction.
    virtual QPoint positionViewOffsetXy(int width, int height) const;

protected:
    explicit TWritingInfo(quint8 kind)
        : fKind(kind)
    { }
    static void checkSlot(int slot, const char *method);
    [[noreturn]] void unsupported(const char *method) const;

private:
    struct State
    {
        int pt = kDefaultPt;
        bool view = true;
        bool operator==(const State &) const = default;
    };

    quint8 fKind;
    int fPt = kDefaultPt;
    bool fView = true;
    std::array<State, kBackupSlots> fBackups;
};

// The info of a label with a place: the offset from its anchor in
// millimetres (y up) and the side of the anchor it lies on.
class TWritingOffsetInfo final : public TWritingInfo
{
public:
    TWritingOffsetInfo()
        : TWritingInfo(1)
    { }

    void setOffsetMmXy(const TModelPoint &mm) override { fOffsetMm = mm; }
    void setDirection(T_Direction direction) override { fDirection = direction; }
    TModelPoint getOffsetMmXy() const override { return fOffsetMm; }
    T_Direction getDirection() const override { return fDirection; }

    // The size line, then "offsetMmXy" and "direction" on one line.
    void save(TAbstractFileWriter &writer) const override;
    void load(TAbstractXmlNode &node) override;
    void store(int slot) override;
    void restore(int slot) override;
    bool differsFrom(int slot) const override;
    QPoint positionViewOffsetXy(int width, int height) const override;

private:
    struct Place
    {
        TModelPoint offsetMm { 0.5, -0.5 };
        T_Direction direction = T_Direction::dirSE;
        bool operator==(const Place &) const = default;
    };

    TModelPoint fOffsetMm { 0.5, -0.5 };
    T_Direction fDirection = T_Direction::dirSE;
    std::array<Place, kBackupSlots> fPlaces;
};

} // namespace zarno
