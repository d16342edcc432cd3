// Save and load of a 10,000-shape document: points, lines, circles and
// circumcircles built through the real factory. Reports the save time, the
// load time (digest check, parse, rebuild), the peak memory, and what a
// recovery copy costs: autosave_ms is the longest the window is held up (the
// longest step of the snapshot), autosave_copy_ms the whole copy with its
// sealing and writing.
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "summary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sys/resource.h>

using namespace zarno;

namespace {

TGuidanceNameCreator gCreator;
TShapeFactory gFactory;

TShape *build(TField &field, TFiguretype type, std::initializer_list<TShape *> parents)
{
    TShapeList ps;
    for (TShape *p : parents)
        ps.add(p);
    TShapeStore built = gFactory.createSilently(type, ps);
    TShape *s = built.first();
    field.takeAllFrom(built);
    return s;
}

// 4000 points, 3000 lines and segments, 1500 circles, 1500 circumcircles.
std::unique_ptr<TZarnofile> bigDocument()
{
    auto doc = std::make_unique<TZarnofile>(std::make_unique<TField>());
    TField &f = doc->field();
    std::vector<TShape *> dots;
    for (int i = 0; i < 4000; ++i) {
        TShapeStore built = gFactory.create(TFiguretype::FIG_dotOnField, TShapeList());
        auto *d = static_cast<TShapeDot *>(built.first());
        d->setInitialXY({ (i % 100) * 0.37 - 18, (i / 100) * 0.41 - 8 });
        f.takeAllFrom(built);
        dots.push_back(d);
    }
    for (int i = 0; i < 3000; ++i)
        build(f, i % 2 ? TFiguretype::FIG_line : TFiguretype::FIG_senbun, { dots[i], dots[i + 1] });
    for (int i = 0; i < 1500; ++i)
        build(f, TFiguretype::FIG_circle, { dots[i], dots[i + 7] });
    for (int i = 0; i < 1500; ++i)
        build(f, TFiguretype::FIG_gaisetsuen, { dots[i], dots[i + 1], dots[i + 100] });
    for (TShape *s : f.items())
        if (s->relation())
            s->relation()->calcChildren(nullptr);
    return doc;
}

double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TParents2Children::setGuidanceNameCreator(&gCreator);
    registerModelRelationClasses(gFactory);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.znt"));
    auto doc = bigDocument();
    rusage built {};
    getrusage(RUSAGE_SELF, &built);
    std::printf("peak after building the document: %.1f MB\n", built.ru_maxrss / 1024.0);
    double saveMs = 1e300, loadMs = 1e300;
    const int shapes = doc->field().count();
    for (int run = 0; run < 5; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        TDocumentWriter::write(*doc, path);
        saveMs = std::min(saveMs, msSince(t0));
    }
    // A recovery copy: what holds up the window is the snapshot, taken on the
    // main thread in steps of 20 ms (reading the clock every 16 shapes, as
    // the program does); sealing and writing follow on a worker thread.
    double longestStepMs = 0, wholeSnapshotMs = 1e300, copyMs = 1e300;
    int steps = 0;
    const QString copyPath = dir.filePath(QStringLiteral("copy.znt"));
    for (int run = 0; run < 5; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        TSteppedSnapshot snapshot(*doc);
        double longest = msSince(t0);
        int n = 1;
        for (bool done = false; !done; ++n) {
            const auto stepStart = std::chrono::steady_clock::now();
            int shapes = 0;
            done = snapshot.step([&] { return ++shapes % 16 != 0 || msSince(stepStart) < 20; });
            longest = std::max(longest, msSince(stepStart));
        }
        wholeSnapshotMs = std::min(wholeSnapshotMs, msSince(t0));
        longestStepMs = run == 0 ? longest : std::min(longestStepMs, longest);
        steps = n;
        TDocumentWriter::writeSnapshot(snapshot.take(), copyPath);
        copyMs = std::min(copyMs, msSince(t0));
    }
    std::printf("autosave: %d steps, whole snapshot %.1f ms\n", steps, wholeSnapshotMs);
    rusage saved {};
    getrusage(RUSAGE_SELF, &saved);
    // Opening replaces the document: measure the load on its own first, then
    // (for the timing runs) with the old document still alive, as the
    // program has it until the new one is in place.
    doc.reset();
    for (int run = 0; run < 5; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        auto loaded = TFileReader(path, gFactory).read();
        loadMs = std::min(loadMs, msSince(t0));
        if (loaded->field().count() != shapes)
            return 1;
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("shapes %d, file %lld bytes, peak after saving %.1f MB\n", shapes,
        static_cast<long long>(QFileInfo(path).size()), saved.ru_maxrss / 1024.0);
    printBenchSummary("documents",
        { { "save_ms", saveMs }, { "load_ms", loadMs }, { "peak_mb", usage.ru_maxrss / 1024.0 },
            { "autosave_ms", longestStepMs }, { "autosave_copy_ms", copyMs } });
    return 0;
}
