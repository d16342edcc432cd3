#include "app/appli.h"

#include "app/axesdialog.h"
#include "app/coorddialogs.h"
#include "app/figureactionmanager.h"
#include "app/logic/autosave.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "app/mainwindow.h"
#include "app/menuactionmanager.h"
#include "app/shapelistwindow.h"
#include "core/appinfo.h"
#include "dialogs/formuladialogs.h"
#include "graphs/dot2function.h"
#include "labels/labelclasses.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/shapefactory.h"
#include "paint/shapepaint.h"
#include "persist/inifile.h"
#include "platform/qtfontcatalog.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "render/renderclasses.h"
#include "trace/shapetracer.h"
#include "trace/traceadapter.h"
#include "typeset/fontmanage.h"
#include "typeset/typesetting.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>

namespace zarno {

namespace {

// Typeset rules and radical strokes follow the drawing surfaces' resolution
// and an image export's font scale.
class TDpiTeXResolution final : public TTeXResolution
{
public:
    double fontScale() const override { return TDpi::fontScale(); }
    int mmToPixels(double mm) const override { return TDpi::mmToPixels(mm); }
};
const TDpiTeXResolution kDpiTeXResolution;

} // namespace

const TTeXResolution &dpiTeXResolution()
{
    return kDpiTeXResolution;
}

namespace {

TIniHash &loadSaveSection(TLoadSave &owner)
{
    return TXmlIniFile::getMyRootHash(
        &owner, QStringLiteral("TLoadSave"), QStringLiteral("loadSave"));
}

void readFolders(TLoadSave &loadSave)
{
    const TIniHash &ini = loadSaveSection(loadSave);
    loadSave.lastDocumentFolder
        = ini.readString(QStringLiteral("zarnofileCurrentDir"), loadSave.lastDocumentFolder);
    loadSave.lastImageFolder
        = ini.readString(QStringLiteral("graphicfileCurrentDir"), loadSave.lastImageFolder);
}

void writeFolders(TLoadSave &loadSave)
{
    TIniHash &ini = loadSaveSection(loadSave);
    ini.writeString(QStringLiteral("zarnofileCurrentDir"), loadSave.lastDocumentFolder);
    ini.writeString(QStringLiteral("graphicfileCurrentDir"), loadSave.lastImageFolder);
}

QList<QRect> workAreas()
{
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen *s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            areas << s->availableGeometry();
    return areas;
}

int captionHeight(const QWidget &window)
{
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

// The main window where it was at the last clean end, on a monitor that
// exists now.
void placeMainWindow(TfrmMain &window)
{
    TIniHash &key = TXmlIniFile::formPositionAndSize(QStringLiteral("main"));
    if (key.isEmpty())
        return; // the first start: the window's own size
    window.setGeometry(TWindowPlacement::bounds(key, workAreas(), captionHeight(window)));
    if (TWindowPlacement::state(key) == TWindowState::wsMaximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void keepMainWindowPlace(const TfrmMain &window)
{
    // A minimised window comes back normal; a maximised one keeps the
    // bounds it had before.
    const TWindowState state
        = window.isMaximized() ? TWindowState::wsMaximized : TWindowState::wsNormal;
    const QRect bounds = window.isMaximized() || window.isMinimized() ? window.normalGeometry()
                                                                      : window.geometry();
    if (bounds.isValid())
        TWindowPlacement::writeMainWindow(
            TXmlIniFile::formPositionAndSize(QStringLiteral("main")), state, bounds);
}

} // namespace

TAppli::TAppli(TfrmMain &window)
    : fWindow(window)
{
    // Per user, where the platform keeps settings: beside the program file
    // is not writable once the program is installed, and is shared.
    const QString settingsFolder
        = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(settingsFolder);
    TXmlIniFile::open(this, QDir(settingsFolder).filePath(QStringLiteral("zarno.zni")));
    TDpi::useScreenResolution();
    TTeXResolution::install(&kDpiTeXResolution);
    // Stops the program when the Japanese font is not installed.
    initializeTypesetting(TQtFontCatalog::instance());

    fGuidance = std::make_unique<TGuidanceNameCreator>();
    TParents2Children::setGuidanceNameCreator(fGuidance.get());
    fFactory = std::make_unique<TShapeFactory>();
    registerModelRelationClasses(*fFactory);
    registerGraphRelationClasses(*fFactory);
    registerLabelRelationClasses(*fFactory);
    registerPaintRelationClasses(*fFactory);
    registerTraceRelationClasses(*fFactory);
    registerRenderRelationClasses(*fFactory);
    fMenus = std::make_unique<TMenuActionManager>();
    fTools = std::make_unique<TFigureActionManager>();
    fModel = std::make_unique<TModel>();
    fScreen = std::make_unique<TDisplayAdapter>();
    fController = std::make_unique<TController>(*fModel, *fFactory, window, *fScreen);

    // Created hidden; the figureList command shows it beside the window.
    fShapeList = std::make_unique<TViewShapeListFacade>(&window);
    fShapeList->setController(fController.get());
    window.setShapeList(fShapeList.get());

    fScreen->attachMainWindow(window.view());
    fModel->setController(fController.get());
    fModel->setFactory(fFactory.get());
    window.setController(fController.get());
    window.setManagers(fMenus.get(), fTools.get());
    fMenus->setController(fController.get());
    fMenus->build(window, *window.menuBar(), *window.commandToolbar(), *window.shapePopup());
    fMenus->buildPopup(*fShapeList->popupMenu());
    fTools->setUp(window, *window.figureToolbar(), *fMenus->figureMenu(), *fFactory, *fController);
    // What the program cannot do yet is shown but not offered.
    if (!fFactory->hasRelation(TFiguretype::FIG_zahyoujiku))
        fMenus->setAvailable(TCommandId::cmdZahyoujikuToggle, false);
    if (!fFactory->hasRelation(TFiguretype::FIG_printArea))
        fMenus->setAvailable(TCommandId::cmdPrintAreaToggle, false);

    // The formula and number dialogs stand behind the graphs', labels' and
    // coordinates' facades until this object goes.
    fFormulaDialogs = std::make_unique<TFormulaDialogs>(&window);
    TZahyoujikuDialogFacade::install(std::make_unique<TZahyoujikuPropertyFacade>(&window));
    TZahyouDialogFacade::install(std::make_unique<TZahyouFacade>(&window));
    TZahyouPropertyDialogFacade::install(std::make_unique<TZahyouPropertyFacade>(&window));
    TValueDialogFacade::install(std::make_unique<TValueLabelFacade>(&window));

    fTools->readSettings();
    readFolders(fController->loadSave());
    placeMainWindow(window);

    fController->startUp();
    // Without a writable place for recovery copies the program runs as before.
    fAutosave = std::make_unique<TAutosave>(TAutosave::defaultRoot());
    if (fAutosave->start())
        fController->setAutosave(fAutosave.get());
}

TAppli::~TAppli()
{
    // What the settings keep is taken while its owners are still there.
    writeFolders(fController->loadSave());
    fTools->writeSettings();
    keepMainWindowPlace(fWindow);
    // The window outlives this object: it must not reach the controller,
    // the managers or the screen once they are gone.
    fWindow.setController(nullptr);
    fWindow.setManagers(nullptr, nullptr);
    fWindow.setShapeList(nullptr);
    fScreen->attachMainWindow(nullptr);
    // The document and the selection go first, then the objects that only
    // refer to them, then the class-wide tables.
    fShapeList.reset(); // keeps its width in the settings
    fController.reset();
    fAutosave.reset(); // a clean end: the recovery copy goes
    fScreen.reset();
    fModel.reset();
    fTools.reset();
    fMenus.reset();
    fFactory.reset();
    TTraceAdapter::release();
    fFormulaDialogs.reset(); // writes the formula sizes while the settings are open
    TZahyoujikuDialogFacade::install(nullptr);
    TZahyouDialogFacade::install(nullptr);
    TZahyouPropertyDialogFacade::install(nullptr);
    TValueDialogFacade::install(nullptr);
    TParents2Children::setGuidanceNameCreator(nullptr);
    TTeXResolution::install(nullptr);
    fGuidance.reset();
    // A clean end: the settings are written once.
    TXmlIniFile::save();
    TXmlIniFile::close(this);
}

} // namespace zarno
