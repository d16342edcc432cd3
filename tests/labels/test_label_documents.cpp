// Documents with labels of every kind and the axes: saved, read and saved
// again byte for byte; records whose parents do not fit are refused.
#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "labels/labelclasses.h"
#include "labels/shapewriting.h"
#include "labels/zahyoujiku.h"
#include "labels_support.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "persist/zarnofile.h"
#include "render/renderclasses.h"
#include "support/guidance_names.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

class LabelDocumentTest : public ::testing::Test
{
protected:
    LabelDocumentTest()
    {
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
        registerLabelRelationClasses(factory);
        registerRenderRelationClasses(factory);
    }

    TShape *build(TField &field, TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.create(type, ps);
        TShape *s = built.last();
        field.takeAllFrom(built);
        return s;
    }
    TShapeDot *point(TField &field, double x, double y)
    {
        auto *d = static_cast<TShapeDot *>(build(field, TFiguretype::FIG_dotOnField, {}));
        d->setInitialXY({ x, y });
        return d;
    }
    TShapeWriting *label(TField &field, TFiguretype type, TShape *parent, const QString &text)
    {
        writingDialog->answers.push_back({ text, 16 });
        return static_cast<TShapeWriting *>(build(field, type, { parent }));
    }
    // A new document's axes and output area, shown and set up, then labels of
    // every kind.
    std::unique_ptr<TZarnofile> sampleDocument()
    {
        auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
        TField &f = doc->field();
        build(f, TFiguretype::FIG_zahyoujiku, {});
        build(f, TFiguretype::FIG_printArea, {});
        auto &axes = static_cast<TShapeZahyoujiku &>(*f.axes());
        axes.axe(0).scaleInterval().setRationalNumberPi(
            QStringLiteral("1"), QStringLiteral("2"), 12);
        axes.axe(0).gridlineInterval().setRationalNumber(
            QStringLiteral("1"), QStringLiteral("4"), 11);
        axes.axe(0).gridlineInterval().setView(true);
        axes.axe(1).scaleInterval().setDegreeNumber(QStringLiteral("30"), 11);
        axes.axe(1).scaleInterval().setOffsetMmXy({ -1, 0 });
        f.setAxesShown(true);
        f.setPrintAreaShown(false);

        TShapeDot *a = point(f, 1.5, 2), *b = point(f, -1, 0.25);
        label(f, TFiguretype::FIG_writing, a, QStringLiteral("\\mathrm{A}_1 <&>"))
            ->setOffsetAndDirection({ 2.5, 1.25 }, T_Direction::dirNE);
        TShape *arrow = build(f, TFiguretype::FIG_arrow, { a, b });
        TShape *arrowLine = build(f, TFiguretype::FIG_arrowLine, { b, a });
        label(f, TFiguretype::FIG_arrow2writing, arrow, QStringLiteral("\\vec{v}"))
            ->penBrush()
            .setPenColor(kColorRed);
        label(f, TFiguretype::FIG_arrow2writing, arrowLine, QStringLiteral("l"));
        build(f, TFiguretype::FIG_dot2zahyou, { b });
        return doc;
    }
    QByteArray readAll(const QString &path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    // The saved sample as text, for editing into a damaged one.
    QString sampleText()
    {
        auto doc = sampleDocument();
        const QString path = dir.filePath(QStringLiteral("sample.znt"));
        TDocumentWriter::write(*doc, path);
        const QByteArray bytes = readAll(path);
        return QString::fromUtf16(
            reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    }
    std::unique_ptr<TZarnofile> readText(const QString &text)
    {
        QByteArray bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return TFileReader(QStringLiteral("edited.znt"), factory).readBytes(bytes, false);
    }

    test::LabelsReady ready;
    test::InstalledGuidanceNames creator;
    TShapeFactory factory;
    QTemporaryDir dir;
    test::ScopedScriptedDialogs dialogs;
    test::ScopedWritingDialog writingDialog;
};

TEST_F(LabelDocumentTest, LabelsOfEveryKindAndTheAxesSaveLoadAndSaveToTheSameBytes)
{
    auto doc = sampleDocument();
    const QString first = dir.filePath(QStringLiteral("first.znt"));
    TDocumentWriter::write(*doc, first);
    auto loaded = TFileReader(first, factory).read();
    ASSERT_EQ(loaded->field().count(), doc->field().count());
    const QString second = dir.filePath(QStringLiteral("second.znt"));
    TDocumentWriter::write(*loaded, second);
    EXPECT_EQ(readAll(first), readAll(second));

    // The axes read back whole: their parts, settings and state.
    auto *axes = dynamic_cast<TShapeZahyoujiku *>(loaded->field().axes());
    ASSERT_NE(axes, nullptr);
    ASSERT_TRUE(axes->hasParts());
    EXPECT_TRUE(loaded->field().isAxesShown());
    EXPECT_FALSE(axes->isHidden());
    EXPECT_TRUE(axes->origin().isFixed());
    EXPECT_FALSE(axes->canDelete());
    EXPECT_EQ(axes->axe(0).scaleInterval().numberMode(), TNumberMode::nmRationalPi);
    EXPECT_EQ(axes->axe(0).scaleInterval().pt(), 12);
    EXPECT_TRUE(axes->axe(0).gridlineInterval().view());
    EXPECT_DOUBLE_EQ(axes->axe(0).gridlineInterval().value(1), 0.25);
    EXPECT_EQ(axes->axe(1).scaleInterval().valueTeXStr(2), QStringLiteral("{60}^\\circ"));
    EXPECT_EQ(axes->axe(1).scaleInterval().getOffsetMmXy(), (TModelPoint { -1, 0 }));
    for (TShape *part : axes->parts().items())
        EXPECT_EQ(part->propertyType(), TPropertyType::Zahyoujiku);
    // The labels draw where they were.
    TField &f = loaded->field();
    test::RecordingScreen screen(f);
    TDrawStatus status;
    f.draw(status, screen);
    int labels = 0;
    for (TShape *s : f.items())
        if (auto *w = dynamic_cast<TShapeWriting *>(s)) {
            ++labels;
            EXPECT_TRUE(w->writing().hasBounds()) << w->writing().text().toStdString();
        }
    EXPECT_EQ(labels, 7);
}

TEST_F(LabelDocumentTest, AxesSavedHiddenReadBackHidden)
{
    auto doc = sampleDocument();
    doc->field().setAxesShown(false);
    const QString path = dir.filePath(QStringLiteral("hidden.znt"));
    TDocumentWriter::write(*doc, path);
    auto loaded = TFileReader(path, factory).read();
    auto &axes = static_cast<TShapeZahyoujiku &>(*loaded->field().axes());
    EXPECT_TRUE(axes.isHidden());
    EXPECT_FALSE(loaded->field().isAxesShown());
}

TEST_F(LabelDocumentTest, TheAxisPartsKeepTheirNamesWhateverTheFileCallsThem)
{
    QString text = sampleText();
    for (const char *name : { "x軸", "y軸の文字", "原点の文字" }) {
        const QString tag
            = QStringLiteral("<guidanceName>%1</guidanceName>").arg(QString::fromUtf8(name));
        ASSERT_TRUE(text.contains(tag)) << name;
        text.replace(tag, QStringLiteral("<guidanceName>別の名前</guidanceName>"));
    }
    auto loaded = readText(text);
    // Names are given when the field is numbered, as the program does with
    // every document it installs.
    loaded->field().renumber();
    auto &axes = static_cast<TShapeZahyoujiku &>(*loaded->field().axes());
    EXPECT_EQ(axes.axis(0).guidanceName(), QStringLiteral("x軸"));
    EXPECT_EQ(axes.label(0).guidanceName(), QStringLiteral("原点の文字"));
    EXPECT_EQ(axes.label(2).guidanceName(), QStringLiteral("y軸の文字"));
}

// Records edited as only a damaged or foreign file has them; each must be
// refused as a whole, never half read.
TEST_F(LabelDocumentTest, RecordsWhoseParentsDoNotFitAreRefused)
{
    const QString text = sampleText();
    struct Edit
    {
        const char *what;
        QString from;
        QString to;
    };
    // The axes record names its six parts on one line; the first label of a
    // point is the first writing listed after them.
    const int axesParent = text.indexOf(QStringLiteral("<id>dot,0</id><id>arrowLine,1</id>"));
    ASSERT_GE(axesParent, 0);
    const Edit edits[] = {
        { "the axes with their axes swapped",
            QStringLiteral("<id>dot,0</id><id>arrowLine,1</id><id>arrowLine,2</id>"),
            QStringLiteral("<id>dot,0</id><id>arrowLine,2</id><id>arrowLine,1</id>") },
        { "the axes with a part missing",
            QStringLiteral("<id>dot,0</id><id>arrowLine,1</id><id>arrowLine,2</id>"),
            QStringLiteral("<id>dot,0</id><id>arrowLine,2</id>") },
        { "an arrow's label on a point",
            QStringLiteral("<figuretype>FIG_arrow2writing</figuretype>"),
            QStringLiteral("<figuretype>FIG_arrow2writing</figuretype>") },
        { "a label without text", QStringLiteral("<str>l</str>"), QStringLiteral("<str></str>") },
        { "a label of no size", QStringLiteral("<pt>16</pt>"), QStringLiteral("<pt>-3</pt>") },
    };
    for (const Edit &e : edits) {
        QString damaged = text;
        if (QString::fromLatin1(e.what) == QLatin1String("an arrow's label on a point")) {
            // The label of the user's arrow points at the user's first point instead.
            const int at = damaged.lastIndexOf(QStringLiteral("<id>arrow,"));
            ASSERT_GE(at, 0);
            const int end = damaged.indexOf(QStringLiteral("</id>"), at);
            damaged.replace(at, end - at, QStringLiteral("<id>dot,1"));
        } else {
            ASSERT_TRUE(damaged.contains(e.from)) << e.what;
            damaged.replace(damaged.indexOf(e.from), e.from.size(), e.to);
        }
        try {
            readText(damaged);
            ADD_FAILURE() << e.what << ": read";
        } catch (const EFileFormatError &) {
        } catch (const EMyException &) { }
    }
}

} // namespace
