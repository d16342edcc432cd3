#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "graphs/seishiki2kyokuchi.h"
#include "graphs/shapefunction.h"
#include "model/field.h"
#include "model/modelclasses.h"
#include "model/parentnil2dot.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "persist/digest.h"
#include "persist/loadsave.h"
#include "persist/xmltext.h"
#include "persist/zarnofile.h"
#include "render/renderclasses.h"
#include "support/guidance_names.h"
#include "support/scripted_dialogs.h"
#include "support/sealed_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest()
    {
        registerModelRelationClasses(factory);
        registerRenderRelationClasses(factory);
        registerGraphRelationClasses(factory);
    }

    TShape *build(TField &field, TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.create(type, ps);
        TShape *s = built.first();
        field.takeAllFrom(built);
        return s;
    }
    TShapeDot *point(TField &field, double x, double y)
    {
        auto *d = static_cast<TShapeDot *>(build(field, TFiguretype::FIG_dotOnField, {}));
        d->setInitialXY({ x, y });
        return d;
    }
    // A document with every kind of shape built so far.
    std::unique_ptr<TZarnofile> sampleDocument()
    {
        auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
        TField &f = doc->field();
        TShapeDot *a = point(f, 0, 0), *b = point(f, 3, 0.1), *c = point(f, 1.25, 2);
        auto *formula = static_cast<TShapeDot *>(build(f, TFiguretype::FIG_dotOnField, {}));
        auto *rel = static_cast<TParentSomething2dot *>(formula->relation());
        rel->zahyou().setFXfree(false);
        rel->zahyou().setXstr(QStringLiteral("sqrt(2)/2"));
        rel->prepareFormulas();
        for (TFiguretype t : { TFiguretype::FIG_line, TFiguretype::FIG_senbun,
                 TFiguretype::FIG_hanCyokusen, TFiguretype::FIG_arrow, TFiguretype::FIG_arrowLine,
                 TFiguretype::FIG_arrowHanCyokusen, TFiguretype::FIG_circle })
            build(f, t, { a, b });
        TShape *seg = build(f, TFiguretype::FIG_senbun, { b, c });
        build(f, TFiguretype::FIG_line_1tenHeikou, { c, seg });
        build(f, TFiguretype::FIG_line_1tenSuicyoku, { seg, a });
        for (TFiguretype t :
            { TFiguretype::FIG_gaisetsuen, TFiguretype::FIG_arc, TFiguretype::FIG_ellipse })
            build(f, t, { a, b, c });
        // The output area as every new document has it, and graphs of both kinds.
        TShapeStore area = factory.create(TFiguretype::FIG_printArea, TShapeList());
        f.takeAllFrom(area);
        for (auto [type, text] : { std::pair { TFiguretype::FIG_function, QStringLiteral("x^2-2") },
                 std::pair { TFiguretype::FIG_functionY, QStringLiteral("sin(y)") } }) {
            TShapeList origin;
            origin.add(c);
            auto built
                = factory.createSilently(type, origin); // interactive would ask for the formula
            auto *g = static_cast<TShapeFunction *>(built.first());
            f.takeAllFrom(built);
            static_cast<TParentDot2Function *>(g->relation())->setFormula(text);
            g->range().fMinIsInfinity = false;
            g->range().setMinText(QStringLiteral("-pi/2"));
        }
        seg->penBrush().setPenColor(0x123456);
        seg->setCustomMyName(QStringLiteral("底辺 <AB> & 高さ"));
        f.moveCentre(0.5, -0.25);
        f.setFFixField(false);
        return doc;
    }
    QByteArray readAll(const QString &path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    test::InstalledGuidanceNames creator;
    TShapeFactory factory;
    QTemporaryDir dir;
    test::ScopedScriptedDialogs dialogs;
};

// A document with every kind of shape as the first release wrote it: it must
// read and write back byte for byte, so files already on teachers' disks stay
// what they are.
TEST_F(DocumentTest, ADocumentOfTheFirstReleaseReadsAndSavesToTheSameBytes)
{
    const QString old = QStringLiteral(ZARNO_TEST_DATA "/every-kind-0.1.znt");
    const QByteArray original = readAll(old);
    ASSERT_GT(original.size(), 10000);
    auto loaded = TFileReader(old, factory).read();
    EXPECT_GT(loaded->field().count(), 25);
    const QString again = dir.filePath(QStringLiteral("again.znt"));
    TDocumentWriter::write(*loaded, again);
    EXPECT_EQ(readAll(again), original);
}

TEST_F(DocumentTest, SaveLoadSaveGivesTheSameBytes)
{
    auto doc = sampleDocument();
    const QString first = dir.filePath(QStringLiteral("first.znt"));
    TDocumentWriter::write(*doc, first);
    auto loaded = TFileReader(first, factory).read();
    ASSERT_EQ(loaded->field().count(), doc->field().count());
    EXPECT_EQ(loaded->field().getCenterXy(), (TModelPoint { 0.5, -0.25 }));
    EXPECT_FALSE(loaded->field().getFFixField());
    EXPECT_EQ(loaded->fileInfo().applicationName, QStringLiteral("zarno"));
    const QString second = dir.filePath(QStringLiteral("second.znt"));
    TDocumentWriter::write(*loaded, second);
    EXPECT_EQ(readAll(first), readAll(second));

    // The loaded figure is alive: its formula point still computes.
    loaded->field().renumber();
    auto *formula = static_cast<TShapeDot *>(loaded->field().item(3));
    EXPECT_TRUE(formula->relation()->calcChildren(nullptr));
    EXPECT_NEAR(formula->getX(), std::sqrt(2.0) / 2, 1e-12);
    EXPECT_EQ(loaded->field().item(11)->guidanceName(), QStringLiteral("底辺 <AB> & 高さ"));
}

// What drawing does first: every shape recomputed from its parents, in order.
void recompute(TField &field)
{
    for (int i = 0; i < field.count(); ++i)
        if (TAbstractParents2Children *r = field.item(i)->relation())
            r->calcChildren(nullptr);
}

TEST_F(DocumentTest, PolynomialGraphsAndTheirExtremePointsSaveLoadAndSaveToTheSameBytes)
{
    auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
    TField &f = doc->field();
    TShapeDot *a = point(f, -2, 0), *b = point(f, 0, 6), *c = point(f, 1, 0), *d = point(f, 3, 0);
    TShape *cubic = build(f, TFiguretype::FIG_seishiki, { a, b, c, d });
    recompute(f); // the polynomial is known once computed
    build(f, TFiguretype::FIG_seishiki2kyokuchiDots, { cubic });
    TShapeList origin;
    origin.add(b);
    TShapeStore made = factory.createSilently(TFiguretype::FIG_function, origin);
    auto *quartic = static_cast<TShapeFunction *>(made.first());
    f.takeAllFrom(made);
    static_cast<TParentDot2Function *>(quartic->relation())->setFormula(QStringLiteral("x^4-2x^2"));
    build(f, TFiguretype::FIG_seishiki2kyokuchiDots, { quartic });
    recompute(f);
    ASSERT_EQ(f.count(), 4 + 1 + 3 + 1 + 4);

    const QString first = dir.filePath(QStringLiteral("first.znt"));
    TDocumentWriter::write(*doc, first);
    auto loaded = TFileReader(first, factory).read();
    const QString second = dir.filePath(QStringLiteral("second.znt"));
    TDocumentWriter::write(*loaded, second);
    EXPECT_EQ(readAll(first), readAll(second));

    // The loaded figure computes the same points, each from its own index.
    TField &g = loaded->field();
    ASSERT_EQ(g.count(), f.count());
    recompute(g);
    for (int i = 0; i < f.count(); ++i) {
        EXPECT_EQ(g.item(i)->getFigureType(), f.item(i)->getFigureType()) << i;
        EXPECT_EQ(g.item(i)->isDrawable(), f.item(i)->isDrawable()) << i;
        if (f.item(i)->getFigureType() != TFiguretype::FIG_seishiki2kyokuchiDots)
            continue;
        EXPECT_EQ(static_cast<TParentSeishiki2diffIs0dots *>(g.item(i)->relation())->index(),
            static_cast<TParentSeishiki2diffIs0dots *>(f.item(i)->relation())->index());
        EXPECT_EQ(static_cast<TShapeDot *>(g.item(i))->getXY(),
            static_cast<TShapeDot *>(f.item(i))->getXY())
            << i;
    }
    // Two turning points of the cubic and three of the quartic show.
    int shown = 0;
    for (int i = 0; i < g.count(); ++i)
        shown += g.item(i)->getFigureType() == TFiguretype::FIG_seishiki2kyokuchiDots
            && g.item(i)->isDrawable();
    EXPECT_EQ(shown, 5);
    EXPECT_TRUE(
        test::textAfterByteOrderMark(readAll(first)).contains(QStringLiteral("<index>3</index>")));
}

TEST_F(DocumentTest, ASnapshotTakenAShapeAtATimeIsTheDocumentsFile)
{
    auto doc = sampleDocument();
    const QString path = dir.filePath(QStringLiteral("whole.znt"));
    TDocumentWriter::write(*doc, path);
    const QByteArray whole = readAll(path);

    TSteppedSnapshot stepped(*doc);
    int steps = 1;
    while (!stepped.step([] { return false; })) // one shape a step
        ++steps;
    EXPECT_EQ(steps, doc->field().count());
    const QString copy = dir.filePath(QStringLiteral("copy.znt"));
    TDocumentWriter::writeSnapshot(stepped.take(), copy);
    EXPECT_EQ(readAll(copy), whole);
    EXPECT_EQ(TDocumentWriter::snapshot(*doc).bytes, stepped.take().bytes);
}

TEST_F(DocumentTest, TheFileStartsAsDocumentsDo)
{
    auto doc = sampleDocument();
    const QString path = dir.filePath(QStringLiteral("a.znt"));
    TDocumentWriter::write(*doc, path);
    const QByteArray bytes = readAll(path);
    ASSERT_GT(bytes.size(), 2);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));
    const QString text = test::textAfterByteOrderMark(bytes);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("<fileInfo>\r\n\t<encoding>utf-16</encoding>\r\n\t<applicationName>zarno</"
                       "applicationName>\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t<filetype>field</filetype>\r\n\t<digest>")));
    EXPECT_TRUE(text.contains(QStringLiteral(
        "</fileInfo>\r\n<field>\r\n\t<fieldInfo>\r\n\t\t<centerXy>0.5,-0.25</centerXy>")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("\t\t\t<figuretype>FIG_dotOnField</figuretype>\r\n\t\t\t<fXfree>true</"
                       "fXfree><fYfree>true</fYfree>\r\n\t\t\t<xstr>3</xstr><ystr>0.1</ystr>")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\t</figureList>\r\n</field>\r\n")));
}

TEST_F(DocumentTest, EveryChangedCharacterMakesTheLoadFailWithTheDamagedFileMessage)
{
    auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
    TShapeDot *a = point(doc->field(), 0, 0);
    TShapeDot *b = point(doc->field(), 1, 1);
    build(doc->field(), TFiguretype::FIG_senbun, { a, b });
    const QString path = dir.filePath(QStringLiteral("small.znt"));
    TDocumentWriter::write(*doc, path);
    const QByteArray good = readAll(path);
    TLoadSave loadSave(factory);
    int refused = 0;
    const int changed
        = test::forEachSingleCharacterChange(good, u'7', u'8', [&](const QByteArray &bad) {
              try {
                  TFileReader(path, factory).readBytes(bad);
              } catch (const EFileFormatError &) {
                  ++refused;
              }
          });
    EXPECT_GT(changed, 100);
    EXPECT_EQ(refused, changed);

    // Through the load/save object: the message names the file, nothing is returned.
    QByteArray bad = good;
    bad[good.size() - 10] = 'Q';
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bad);
    f.close();
    EXPECT_EQ(loadSave.loadDocument(path), nullptr);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().text,
        QStringLiteral("ファイル ") + path
            + QStringLiteral(" が\r\n破損しているため, 開くことができません。"));
    EXPECT_EQ(dialogs->shown.first().type, TMsgDlgType::mtWarning);
}

// The writer may fill a line up to the limit and the reader must take what
// the writer may write: a document whose longest line is exactly at the limit
// reopens, one character more is damaged even with a sound digest.
TEST_F(DocumentTest, ALineAtTheLimitReopensAndOneCharacterMoreIsDamaged)
{
    const auto fileBytes = [](const QString &text) {
        QByteArray bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return bytes;
    };
    // Writes the text as a file with a digest made for it.
    const auto resealed = [&](QString text, const QString &path) {
        const qsizetype at = test::digestDigitsAt(text);
        text.replace(at, 40, TMyFigProp::placeholderText());
        QByteArray bytes = fileBytes(text);
        TMyFigProp::seal(bytes, 2 + 2 * at);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    // A name just long enough to fill its line exactly.
    QString text;
    qsizetype lineAt = -1;
    for (int n = 900; n <= 1000 && lineAt < 0; ++n) {
        auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
        point(doc->field(), 1, 1)->setCustomMyName(QString(n, QLatin1Char('x')));
        const QString path = dir.filePath(QStringLiteral("limit.znt"));
        TDocumentWriter::write(*doc, path);
        text = test::textAfterByteOrderMark(readAll(path));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (const QString &line : lines)
            ASSERT_LE(line.size(), TXmlText::kMaxLineLength);
        for (qsizetype i = 0, at = 0; i < lines.size(); at += lines[i].size() + 2, ++i)
            if (lines[i].size() == TXmlText::kMaxLineLength) {
                // The name fits whole: no continuation mark.
                EXPECT_TRUE(lines[i].contains(QString(n, QLatin1Char('x'))));
                EXPECT_FALSE(lines[i].contains(QStringLiteral("&+")));
                lineAt = at;
            }
    }
    ASSERT_GE(lineAt, 0) << "no name filled its line exactly";

    TLoadSave loadSave(factory);
    const QString atLimit = dir.filePath(QStringLiteral("at-limit.znt"));
    resealed(text, atLimit);
    const QByteArray written = readAll(atLimit);
    auto doc = loadSave.loadDocument(atLimit);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(dialogs->shown.isEmpty());
    TDocumentWriter::write(*doc, atLimit);
    EXPECT_EQ(readAll(atLimit), written);

    QString longer = text;
    longer.insert(lineAt + 10, QLatin1Char('x'));
    const QString overLimit = dir.filePath(QStringLiteral("over-limit.znt"));
    resealed(longer, overLimit);
    EXPECT_EQ(loadSave.loadDocument(overLimit), nullptr);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown.first().text.contains(QStringLiteral("破損しているため")));
}

TEST_F(DocumentTest, AFileThatCannotBeOpenedIsReportedAsSuchNotAsDamaged)
{
    const QString folder = dir.filePath(QStringLiteral("folder.znt"));
    ASSERT_TRUE(QDir().mkdir(folder));
    TLoadSave loadSave(factory);
    for (const QString &path : { dir.filePath(QStringLiteral("missing.znt")), folder }) {
        dialogs->shown.clear();
        EXPECT_EQ(loadSave.loadDocument(path), nullptr);
        ASSERT_EQ(dialogs->shown.size(), 1);
        EXPECT_EQ(dialogs->shown.first().text.toStdString(),
            (QStringLiteral("ファイル(") + path + QStringLiteral(")を開くことができません。"))
                .toStdString());
        EXPECT_EQ(dialogs->shown.first().type, TMsgDlgType::mtWarning);
    }
}

// Sets an environment variable for the life of a test.
class EnvironmentGuard
{
public:
    EnvironmentGuard(const char *name, const QString &value)
        : fName(name)
        , fWas(qEnvironmentVariableIsSet(name))
        , fOld(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentGuard()
    {
        if (fWas)
            qputenv(fName, fOld);
        else
            qunsetenv(fName);
    }

private:
    const char *fName;
    bool fWas;
    QByteArray fOld;
};

// Records where the file dialogs start and answers with one name.
class StartFolderDialogs : public TFileDialogs
{
public:
    QString openedIn, savedAs, answer;
    QString openDialog(const QString &folder, const QString &) override
    {
        openedIn = folder;
        return answer;
    }
    QString saveDialog(const QString &fileName, const QString &, const QString &) override
    {
        savedAs = fileName;
        return QString();
    }
};

TEST_F(DocumentTest, FileDialogsStartInTheDocumentsFolderThenWhereTheLastDocumentWas)
{
    QTemporaryDir fakeHome;
    const EnvironmentGuard home("HOME", fakeHome.path());
    const EnvironmentGuard config("XDG_CONFIG_HOME", fakeHome.filePath(QStringLiteral("config")));
    auto owned = std::make_unique<StartFolderDialogs>();
    StartFolderDialogs &files = *owned;
    auto previous = TFileDialogs::install(std::move(owned));
    TLoadSave loadSave(factory);
    TZarnofile doc(std::make_unique<TField>());
    auto folderOf = [](const QString &path) { return QFileInfo(path).absolutePath(); };

    // No documents folder: home.
    loadSave.openDocument();
    EXPECT_EQ(files.openedIn.toStdString(), fakeHome.path().toStdString());
    loadSave.saveDocumentAs(doc);
    EXPECT_EQ(files.savedAs.toStdString(),
        QDir(fakeHome.path()).filePath(QStringLiteral("zarnofile1.znt")).toStdString());

    // With one: there.
    const QString documents = fakeHome.filePath(QStringLiteral("Documents"));
    ASSERT_TRUE(QDir().mkdir(documents));
    loadSave.openDocument();
    EXPECT_EQ(files.openedIn.toStdString(), documents.toStdString());
    loadSave.saveDocumentAs(doc);
    EXPECT_EQ(folderOf(files.savedAs).toStdString(), documents.toStdString());

    // Once a document was opened, where it was.
    const QString path = dir.filePath(QStringLiteral("lesson.znt"));
    TDocumentWriter::write(*sampleDocument(), path);
    files.answer = path;
    ASSERT_NE(loadSave.openDocument(), nullptr);
    loadSave.openDocument();
    EXPECT_EQ(files.openedIn.toStdString(), dir.path().toStdString());
    loadSave.saveDocumentAs(doc);
    EXPECT_EQ(folderOf(files.savedAs).toStdString(), dir.path().toStdString());

    TFileDialogs::install(std::move(previous));
}

TEST_F(DocumentTest, DocumentNames)
{
    TZarnofile doc(std::make_unique<TField>());
    EXPECT_EQ(doc.documentFileName(), QStringLiteral("zarnofile1.znt"));
    EXPECT_EQ(doc.imagePath(), QStringLiteral("zarnofile1.jpg"));
    doc.setImagePath(QStringLiteral("/tmp/pics/triangle.jpg"));
    EXPECT_TRUE(doc.isNamed());
    EXPECT_EQ(doc.documentFileName(),
        QStringLiteral("triangle.znt")); // named after the image, without its folder
    doc.setDocumentName(QStringLiteral("/home/t/lesson 3.znt"));
    EXPECT_EQ(doc.documentFileName(), QStringLiteral("/home/t/lesson 3.znt"));
    EXPECT_EQ(doc.documentTitle(), QStringLiteral("lesson 3"));
    EXPECT_EQ(doc.imagePath(),
        QStringLiteral("/tmp/pics/triangle.jpg")); // already named: the image keeps its path
}

// Makes a folder unwritable even for root where the file system allows it.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path)
        : fPath(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (canWrite())
            fImmutable
                = QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("+i"), path }) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (fImmutable)
            QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("-i"), fPath });
        QFile::setPermissions(
            fPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool canWrite() const
    {
        QFile probe(fPath + QStringLiteral("/probe"));
        const bool ok = probe.open(QIODevice::WriteOnly);
        probe.close();
        probe.remove();
        return ok;
    }

private:
    QString fPath;
    bool fImmutable = false;
};

TEST_F(DocumentTest, AFailedSaveIsReportedAndTheOldFileStays)
{
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/lesson.znt");
    auto doc = sampleDocument();
    TDocumentWriter::write(*doc, path);
    const QByteArray before = readAll(path);
    doc->setDocumentName(path);
    point(doc->field(), 9, 9);

    ReadOnlyFolder locked(folder);
    if (locked.canWrite())
        GTEST_SKIP() << "this file system lets every write through";
    TLoadSave loadSave(factory);
    EXPECT_EQ(loadSave.save(*doc), TLoadSave::Saved::Failed);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().caption, QStringLiteral("zarnoファイルを保存"));
    EXPECT_TRUE(dialogs->shown.first().text.startsWith(QStringLiteral("ファイル(") + path));
    EXPECT_EQ(readAll(path), before);
    EXPECT_TRUE(doc->isChanged());
}

TEST_F(DocumentTest, DocumentsWithABadScaleOrUnknownStructureAreDamaged)
{
    // Either axis: a scale of 0 or below would divide by zero or mirror the
    // figure, and no document of ours has one.
    const std::pair<double, double> factors[]
        = { { 0, 1 }, { -1, 1 }, { 1, 0 }, { 1, -1 }, { 1, -0.0 } };
    TLoadSave loadSave(factory);
    int n = 0;
    for (auto [fx, fy] : factors) {
        auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
        point(doc->field(), 1, 1);
        doc->field().multiplyScale(fx, fy);
        const QString path = dir.filePath(QStringLiteral("bad%1.znt").arg(n++));
        TDocumentWriter::write(*doc, path);
        dialogs->shown.clear();
        EXPECT_EQ(loadSave.loadDocument(path), nullptr) << fx << ", " << fy;
        ASSERT_EQ(dialogs->shown.size(), 1) << fx << ", " << fy;
        EXPECT_TRUE(dialogs->shown.first().text.contains(QStringLiteral("破損しているため")))
            << dialogs->shown.first().text.toStdString();
    }
    // The same document with a sound scale reads.
    auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
    point(doc->field(), 1, 1);
    doc->field().multiplyScale(1, 0.5);
    const QString path = dir.filePath(QStringLiteral("good.znt"));
    TDocumentWriter::write(*doc, path);
    EXPECT_NE(loadSave.loadDocument(path), nullptr);
}

} // namespace
