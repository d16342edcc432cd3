#pragma once

namespace zarno {

// The program's commands by identifier.
enum TCommandId : int {
    cmdNewFile = 0,
    cmdOpen = 1,
    cmdSaveAs = 2,
    cmdExit = 4,
    cmdSave = 7,
    cmdSaveGraphicfile = 8,
    cmdDelete = 9,
    cmdHelpContents = 11,
    cmdSplash = 12,
    cmdFigureProperty = 13,
    cmdScale1_1 = 14,
    cmdCenterGenten = 15,
    cmdEraseTrace = 16,
    cmdFigureList = 17,
    cmdPreviewToggle = 18,
    cmdPrintAreaToggle = 19,
    cmdViewScaleToggle = 20,
    cmdZahyoujikuToggle = 21,
    cmdFixFieldToggle = 22,
    cmdSetupToolbar = 23,
};

// Mouse event kinds and modifier bits as the model receives them.
enum TMouseKind : int { mkClick = 0, mkDoubleClick = 1, mkPress = 2, mkMove = 3, mkRelease = 4 };
enum TMouseButton : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
enum TShiftFlag : unsigned { ssShift = 1u << 0, ssAlt = 1u << 1, ssCtrl = 1u << 2 };

} // namespace zarno
