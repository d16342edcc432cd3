#pragma once

#include <memory>

namespace zarno {

class TAutosave;
class TController;
class TDisplayAdapter;
class TFigureActionManager;
class TFormulaDialogs;
class TGuidanceNameCreator;
class TMenuActionManager;
class TModel;
class TShapeFactory;
class TTeXResolution;
class TViewShapeListFacade;
class TfrmMain;

// Typeset rules and radical strokes at the drawing surfaces' resolution and
// an image export's font scale: installed by the program and by the
// command-line exporter.
const TTeXResolution &dpiTeXResolution();

// Creates, wires and finally frees every long-lived object of the program,
// in a fixed order.
class TAppli
{
public:
    explicit TAppli(TfrmMain &window);
    ~TAppli();
    TAppli(const TAppli &) = delete;
    TAppli &operator=(const TAppli &) = delete;

    TController &controller() { return *fController; }
    TModel &model() { return *fModel; }
    TShapeFactory &factory() { return *fFactory; }
    TFigureActionManager &tools() { return *fTools; }
    TMenuActionManager &menus() { return *fMenus; }
    TDisplayAdapter &screen() { return *fScreen; }
    TFormulaDialogs &formulaDialogs() { return *fFormulaDialogs; }
    TViewShapeListFacade &shapeList() { return *fShapeList; }

private:
    TfrmMain &fWindow;
    std::unique_ptr<TGuidanceNameCreator> fGuidance;
    std::unique_ptr<TShapeFactory> fFactory;
    std::unique_ptr<TMenuActionManager> fMenus;
    std::unique_ptr<TFigureActionManager> fTools;
    std::unique_ptr<TModel> fModel;
    std::unique_ptr<TDisplayAdapter> fScreen;
    std::unique_ptr<TController> fController;
    std::unique_ptr<TAutosave> fAutosave;
    std::unique_ptr<TFormulaDialogs> fFormulaDialogs;
    std::unique_ptr<TViewShapeListFacade> fShapeList;
};

} // namespace zarno
