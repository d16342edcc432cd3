// Shows the demo field in a window, or writes it to a picture file:
//   zarno_render_demo [--png FILE] [--size WxH] [--antialias]
#include "model/field.h"
#include "platform/bitmap.h"
#include "platform/widgets/bitmapview.h"
#include "render/displayadapter.h"
#include "renderdemo/demofield.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

using namespace zarno;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    const QCommandLineOption png(QStringLiteral("png"),
        QStringLiteral("Write the picture to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("View size WxH."),
        QStringLiteral("WxH"), QStringLiteral("800x600"));
    const QCommandLineOption smooth(QStringLiteral("antialias"), QStringLiteral("Smooth edges."));
    args.addOptions({ png, size, smooth });
    args.process(app);

    const QStringList wh = args.value(size).split(QLatin1Char('x'));
    const QSize viewSize(wh.value(0).toInt(), wh.value(1).toInt());
    if (viewSize.isEmpty()) {
        std::fprintf(stderr, "bad --size\n");
        return 2;
    }

    TField field;
    buildDemoField(field);
    TDrawStatus status;

    if (args.isSet(png)) {
        TFixedDrawingBox box(viewSize);
        TDisplayAdapter screen;
        screen.attachMainWindow(&box);
        screen.setController(&field);
        screen.setAntialiasing(args.isSet(smooth));
        screen.fitToView();
        screen.redraw(field, status);
        return screen.getBitmap().saveToFile(args.value(png)) ? 0 : 1;
    }

    TBitmapView view;
    view.setWindowTitle(QStringLiteral("zarno - drawing surfaces"));
    view.resize(viewSize);
    TDisplayAdapter screen;
    screen.attachMainWindow(&view);
    screen.setController(&field);
    screen.setAntialiasing(args.isSet(smooth));
    view.setResizeHandler([&] {
        if (view.width() > 0 && view.height() > 0) {
            screen.fitToView();
            screen.redraw(field, status);
        }
    });
    view.show();
    const int rc = app.exec();
    screen.attachMainWindow(nullptr);
    return rc;
}
